// The two settings files of the per-user folder: the bus volumes and the completed levels.
// A file that does not parse is moved aside (name + ".bak", then ".bak2", ...) before anything is
// written in its place; when it cannot be moved, it is not overwritten at all.
// Also the settings screen's write-back into its own scene file.
#include "scene/SceneSystem.h"

#include "audio/AudioPlayer.h"
#include "engine/JsonFile.h"
#include "engine/TraceSystem.h"
#include "scene/LevelProgress.h"

#include <climits>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace
{
struct VolumeKey
{
    const char* key;
    Sound::ChannelGroup* AudioPlayer::*group;
};
constexpr VolumeKey VolumeKeys[] = {
    {"MasterVolume", &AudioPlayer::MasterGroup},
    {"MusicVolume", &AudioPlayer::MusicGroup},
    {"SfxVolume", &AudioPlayer::SfxGroup},
    {"UiVolume", &AudioPlayer::UiGroup},
};

std::string AudioVolumeFile() { return SceneSystem::SettingsFolder() + "/AudioVolume.json"; }
std::string LevelCompletedFile() { return SceneSystem::SettingsFolder() + "/LevelCompleted.json"; }

// The file is there but holds no JSON object.
bool IsDamaged(const std::string& path)
{
    std::error_code error;
    if (!fs::exists(path, error))
        return false;
    std::ifstream in(path, std::ios::binary);
    const json document = json::parse(in, nullptr, false);
    return !document.is_object();
}

// Moves a damaged file out of the way; false when it is damaged and stays where it is.
bool MoveAsideIfDamaged(const std::string& path)
{
    if (!IsDamaged(path))
        return true;
    std::error_code error;
    std::string backup = path + ".bak";
    for (int n = 2; fs::exists(backup, error); ++n)
        backup = path + ".bak" + std::to_string(n);
    fs::rename(path, backup, error);
    if (error)
    {
        Log("SETTINGS: [", path, "] is damaged and could not be kept aside (", error.message(),
            "); it is left as it is");
        return false;
    }
    Log("SETTINGS: [", path, "] is damaged; kept as ", backup, ", defaults used");
    return true;
}

// The settings object of the file, or null when it is missing or damaged (then kept aside).
json ReadSettings(const std::string& path)
{
    std::error_code error;
    if (!fs::exists(path, error))
        return nullptr;
    json document;
    if (ReadJsonFile(path, document) && document.is_object())
        return document;
    MoveAsideIfDamaged(path);
    return nullptr;
}

// The valid level numbers of a "LevelCompleted" value, in file order; bad entries are reported.
std::vector<int> LevelsOf(const json& value, const std::string& path)
{
    std::vector<int> levels;
    if (!value.is_array())
    {
        Log("SETTINGS: [", path, "] \"LevelCompleted\" is not a list of levels; ignored");
        return levels;
    }
    for (const json& element : value)
    {
        if (element.is_number_integer() && element.get<long long>() >= 1 &&
            element.get<long long>() <= INT_MAX)
            levels.push_back(element.get<int>());
        else
            Log("SETTINGS: [", path, "] \"LevelCompleted\" holds ", element.dump(),
                ", not a level number; skipped");
    }
    return levels;
}

// The index-th element of a list that the key names as given (entities by "Name", components by
// "Type"), counting only those; null when there are not so many.
json* NthNamed(json& list, const char* key, const json& name, size_t index)
{
    if (!list.is_array())
        return nullptr;
    for (json& element : list)
        if (element.is_object() && element.contains(key) && element.at(key) == name && index-- == 0)
            return &element;
    return nullptr;
}

size_t CountBefore(const json& list, const char* key, const json& name, size_t end)
{
    size_t count = 0;
    for (size_t i = 0; i < end; ++i)
        if (list[i].is_object() && list[i].contains(key) && list[i].at(key) == name)
            ++count;
    return count;
}

// Into target, what differs between before and after: for objects key by key (but the key that
// holds a list matched by name below), for lists of one length element by element, else the
// value whole. Everything else of target stays as it is.
void CopyChanges(json& target, const json& before, const json& after, const char* list = nullptr)
{
    if (before == after)
        return;
    if (target.is_object() && before.is_object() && after.is_object())
    {
        for (const auto& [key, value] : after.items())
        {
            const auto old = before.find(key);
            if ((list && key == list) || (old != before.end() && *old == value))
                continue;
            if (old == before.end() || !target.contains(key))
                target[key] = value;
            else
                CopyChanges(target[key], *old, value);
        }
        return;
    }
    if (target.is_array() && before.is_array() && after.is_array() && target.size() == after.size() &&
        before.size() == after.size())
    {
        for (size_t i = 0; i < after.size(); ++i)
            CopyChanges(target[i], before[i], after[i]);
        return;
    }
    // A value that came back to what the file holds keeps the file's spelling (1 stays 1, not 1.0).
    if (target != after)
        target = after;
}

// Carries what changed between two written forms of a scene into the scene file's document:
// entities are paired by name and order of that name, components by type and order of that
// type; entities and components on one side only are left alone.
void Patch(json& document, const json& before, const json& after)
{
    CopyChanges(document, before, after, "Entities");
    const auto list = document.find("Entities");
    if (list == document.end())
        return;
    const json& entities = after.value("Entities", json::array());
    json beforeEntities = before.value("Entities", json::array());
    json& documentEntities = *list;
    for (size_t e = 0; e < entities.size(); ++e)
    {
        const json& entity = entities[e];
        if (!entity.is_object() || !entity.contains("Name"))
            continue;   // a spawned entity: not written
        const size_t nth = CountBefore(entities, "Name", entity["Name"], e);
        const json* old = NthNamed(beforeEntities, "Name", entity["Name"], nth);
        json* target = NthNamed(documentEntities, "Name", entity["Name"], nth);
        if (!old || !target)
            continue;
        CopyChanges(*target, *old, entity, "Components");
        const auto targetList = target->find("Components");
        if (targetList == target->end())
            continue;
        const json& components = entity.value("Components", json::array());
        json oldComponents = old->value("Components", json::array());
        json& targetComponents = *targetList;
        for (size_t c = 0; c < components.size(); ++c)
        {
            const json& component = components[c];
            if (!component.is_object() || !component.contains("Type"))
                continue;
            const size_t nthType = CountBefore(components, "Type", component["Type"], c);
            const json* oldComponent = NthNamed(oldComponents, "Type", component["Type"], nthType);
            json* targetComponent = NthNamed(targetComponents, "Type", component["Type"], nthType);
            if (oldComponent && targetComponent)
                CopyChanges(*targetComponent, *oldComponent, component);
        }
    }
}
}   // namespace

void SceneSystem::WriteBackSettingsScreen(Scene& overlay)
{
    if (settingsAsReadDue)
        return;   // closed before its first update: nothing was changed on it
    json now = json::object();
    overlay.Write(now);
    if (now == settingsAsRead)
        return;   // untouched: the file stays as it is, byte for byte
    json document;
    if (!ReadJsonFile(overlay.SceneFile, document) || !document.is_object())
    {
        Log("SCENE: [", overlay.SceneFile, "] not written back: the file cannot be read as a scene");
        return;
    }
    const json asFound = document;
    Patch(document, settingsAsRead, now);
    settingsAsRead = std::move(now);
    if (document == asFound)
        return;   // what changed came back to what the file holds
    if (!WriteJsonFile(overlay.SceneFile, document) && !settingsUnwritableSaid)
    {
        settingsUnwritableSaid = true;
        Log("SCENE: [", overlay.SceneFile,
            "] cannot be written; the settings screen keeps its state only until the game ends");
    }
}

std::string SceneSystem::SettingsFolder()
{
    return fs::path(TraceSystem::EnsureLogFolder()).parent_path().string();
}

void SceneSystem::LoadAudioVolume()
{
    const std::string path = AudioVolumeFile();
    const json document = ReadSettings(path);
    if (!document.is_object())
        return;
    AudioPlayer* player = AudioPlayer::GetInstance();
    for (size_t i = 0; i < std::size(VolumeKeys); ++i)
    {
        const auto value = document.find(VolumeKeys[i].key);
        if (value == document.end())
            continue;
        if (!value->is_number() || value->get<double>() < 0)
        {
            Log("SETTINGS: [", path, "] \"", VolumeKeys[i].key, "\" is ", value->dump(),
                ", not a volume; ignored");
            continue;
        }
        loadedVolumes[i] = value->get<float>();
        player->SetVolume(player->*VolumeKeys[i].group, *loadedVolumes[i]);
    }
}

void SceneSystem::SaveAudioVolume()
{
    const std::string path = AudioVolumeFile();
    AudioPlayer* player = AudioPlayer::GetInstance();
    json document = json::object();
    for (size_t i = 0; i < std::size(VolumeKeys); ++i)
    {
        float volume = -1.0f;
        if (player->GetVolume(player->*VolumeKeys[i].group, volume) && volume >= 0)
            document[VolumeKeys[i].key] = volume;
        else if (loadedVolumes[i])
            document[VolumeKeys[i].key] = *loadedVolumes[i];   // the group could not say; keep the file's
    }
    if (document.empty())
        return;   // nothing known: whatever the file holds stays
    if (MoveAsideIfDamaged(path))
        WriteJsonFile(path, document);
}

void SceneSystem::LoadLevelCompleted()
{
    const std::string path = LevelCompletedFile();
    const json document = ReadSettings(path);
    if (!document.is_object() || !document.contains("LevelCompleted"))
        return;
    for (int level : LevelsOf(document.at("LevelCompleted"), path))
        AddUnlockedLevel(level);
}

void SceneSystem::SaveLevelCompleted()
{
    // The list in memory started from the file and holds every change of this run since, the
    // developer's reset to the first level included: it is what is written, whole.
    const std::string path = LevelCompletedFile();
    if (MoveAsideIfDamaged(path))
        WriteJsonFile(path, json{{"LevelCompleted", LevelCompleted}});
}

void SceneSystem::SaveSettings()
{
    SaveAudioVolume();
    SaveLevelCompleted();
}
