#include "audio/AudioRegistry.h"

#include "audio/SoundReport.h"
#include "engine/DataPath.h"
#include "engine/JsonFile.h"
#include "engine/TraceSystem.h"

#include <filesystem>
#include <optional>
#include <sstream>

namespace
{
struct EntryFields
{
    std::string name;
    std::string fileName;
    int bus = SoundBus::Sfx;
    bool oneShot = true;
    bool stream = false;
};

// An optional text key that must hold one of the listed words; the word's index, or none.
std::optional<size_t> ReadChoice(const nlohmann::json& entry, const char* key,
                                 std::initializer_list<const char*> words, size_t fallback,
                                 std::string& problem)
{
    const auto found = entry.find(key);
    if (found == entry.end())
        return fallback;
    if (found->is_string())
    {
        size_t index = 0;
        for (const char* word : words)
        {
            if (found->get<std::string>() == word)
                return index;
            ++index;
        }
    }
    std::ostringstream text;
    text << '"' << key << "\" is not one of";
    for (const char* word : words)
        text << " \"" << word << '"';
    problem = text.str();
    return std::nullopt;
}

bool ReadText(const nlohmann::json& entry, const char* key, std::string& out)
{
    const auto found = entry.find(key);
    if (found == entry.end() || !found->is_string() || found->get<std::string>().empty())
        return false;
    out = found->get<std::string>();
    return true;
}

bool ReadEntry(const nlohmann::json& entry, EntryFields& fields, std::string& problem)
{
    if (!entry.is_object())
        return problem = "is not an object", false;
    if (!ReadText(entry, "Name", fields.name))
        return problem = "has no \"Name\" text", false;
    if (!ReadText(entry, "FileName", fields.fileName))
        return problem = "has no \"FileName\" text", false;
    const auto bus = ReadChoice(entry, "SoundBus", {"Music", "SFX", "UI"}, SoundBus::Sfx, problem);
    const auto loop = ReadChoice(entry, "LoopType", {"Oneshot", "Loop"}, 0, problem);
    const auto mode = ReadChoice(entry, "ModeType", {"Sample", "Stream"}, 0, problem);
    if (!bus || !loop || !mode)
        return false;
    fields.bus = static_cast<int>(*bus);
    fields.oneShot = *loop == 0;
    fields.stream = *mode == 1;
    return true;
}
}   // namespace

std::vector<SoundEntry>& AudioRegistry::GetInstance()
{
    static std::vector<SoundEntry> table;
    return table;
}

void AudioRegistry::Load(Sound::System* system) { LoadFile(RegistryFile, system); }

bool AudioRegistry::LoadFile(const std::string& path, Sound::System* system)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(ResolveDataPath(path), error))
    {
        Log("AUDIO: [", path, "] sound registry not found; no sound will play");
        return false;
    }
    nlohmann::json document;
    if (!ReadJsonFile(path, document))
    {
        Log("AUDIO: [", path, "] sound registry is not valid JSON; no sound will play");
        return false;
    }
    LoadFromJson(document, system, path);
    return true;
}

void AudioRegistry::LoadFromJson(const nlohmann::json& document, Sound::System* system,
                                 const std::string& source)
{
    Clear();
    const auto sounds = document.is_object() ? document.find("Sounds") : document.end();
    if (!document.is_object() || sounds == document.end())
    {
        Log("AUDIO: [", source, "] has no \"Sounds\"; no sound will play");
        return;
    }
    if (!sounds->is_array() && !sounds->is_object())
    {
        Log("AUDIO: [", source, "] \"Sounds\" is neither a list nor an object; no sound will play");
        return;
    }
    size_t position = 0;
    for (const nlohmann::json& entry : *sounds)
    {
        ++position;
        EntryFields fields;
        std::string problem;
        if (!ReadEntry(entry, fields, problem))
        {
            if (fields.name.empty())
                Log("AUDIO: [", source, "] sound #", position, " ", problem, "; left out");
            else
                Log("AUDIO: [", source, "] sound \"", fields.name, "\" ", problem, "; left out");
            continue;
        }
        CreateSound(system, fields.name, fields.fileName, fields.bus, fields.oneShot, fields.stream);
    }
}

SoundEntry* AudioRegistry::Find(const std::string& name)
{
    for (SoundEntry& entry : GetInstance())
        if (entry.Name == name)
            return &entry;
    return nullptr;
}

SoundEntry* AudioRegistry::CreateSound(Sound::System* system, const std::string& name,
                                       const std::string& fileName, int bus, bool oneShot, bool stream)
{
    if (!system)
        return nullptr;
    if (Find(name))
    {
        TraceMessage("AudioRegistry CreateSound: Duplicate sound name '%s'.", name.c_str());
        Log("AUDIO: [", fileName, "] left out: the first sound named \"", name, "\" stays");
        return nullptr;
    }
    Sound::Clip* clip = nullptr;
    const Sound::Result made = system->CreateSound(ResolveDataPath(fileName),
                                                   stream ? Sound::Storage::Stream : Sound::Storage::Sample,
                                                   oneShot ? Sound::Loop::Off : Sound::Loop::Normal, &clip);
    if (made != Sound::Result::Ok || !clip)
    {
        TraceMessage("AudioRegistry CreateSound: Failed to load %s", fileName.c_str());
        Log("AUDIO: [", fileName, "] sound \"", name, "\" left out: ", Sound::ResultText(made));
        return nullptr;
    }
    SoundEntry entry;
    entry.Sound = clip;
    entry.Name = name;
    entry.FileName = fileName;
    entry.Bus = bus;
    entry.OneShot = oneShot ? 1 : 0;
    entry.Stream = stream ? 1 : 0;
    GetInstance().push_back(std::move(entry));
    return &GetInstance().back();
}

void AudioRegistry::Clear()
{
    for (SoundEntry& entry : GetInstance())
        if (entry.Sound)
            SoundOk(entry.Sound->Release(), entry.Name);
    GetInstance().clear();
}
