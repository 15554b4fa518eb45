// The two settings files of the per-user folder: the bus volumes and the completed levels.
// A file that does not parse is moved aside (name + ".bak", then ".bak2", ...) before anything is
// written in its place; when it cannot be moved, it is not overwritten at all. One that cannot
// be read (permissions, a folder) is left as it is for the whole run. One that parses but holds
// values that were not taken as they stand is copied to a backup before it is written over.
// Also the settings screen's write-back into its own scene file.
#include "scene/SceneSystem.h"

#include "audio/AudioPlayer.h"
#include "engine/JsonFile.h"
#include "engine/TraceSystem.h"
#include "scene/LevelProgress.h"

#include <algorithm>
#include <climits>
#include <filesystem>

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

// The free name for a backup of path: name + ".bak", else ".bak2", ".bak3", ...
std::string BackupName(const std::string& path)
{
    std::error_code error;
    std::string backup = path + ".bak";
    for (int n = 2; fs::exists(backup, error); ++n)
        backup = path + ".bak" + std::to_string(n);
    return backup;
}

// Moves a damaged file out of the way; false when it stays where it is.
bool MoveAside(const std::string& path)
{
    std::error_code error;
    const std::string backup = BackupName(path);
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

// Reads a settings file: its object, or null when it is missing, cannot be read (then it is left
// alone for the run) or is damaged (then kept aside).
json ReadSettings(const std::string& path, SceneSystem::SettingsFile& state)
{
    json document;
    JsonFault fault;
    if (ReadJsonFile(path, document, &fault) && document.is_object())
        return document;
    if (fault.kind == JsonFault::Unreadable)
    {
        state.leftAlone = true;
        Log("SETTINGS: [", path, "] cannot be read (", fault.why,
            "); defaults used, and the file is left as it is and not written this run");
    }
    else if (fault.kind != JsonFault::Missing)
    {
        if (fault.kind == JsonFault::None)
            Log("SETTINGS: [", path, "] holds ", JsonSummary(document), ", not an object");
        else
            Log("SETTINGS: [", path, "] is not JSON this game reads: ", fault.why);
        state.leftAlone = !MoveAside(path);
    }
    return nullptr;
}

// Writes a settings file whole, unless its load left it alone; one whose values were not all
// taken is first copied to a backup, and one found damaged now is kept aside. A failed save
// says why.
void SaveSettingsFile(const std::string& path, const json& document, SceneSystem::SettingsFile& state)
{
    if (state.leftAlone)
        return;
    json found;
    JsonFault fault;
    if (!ReadJsonFile(path, found, &fault) && fault.kind == JsonFault::Unreadable)
    {
        Log("SETTINGS: [", path, "] cannot be read (", fault.why, "); not saved, the file is left as it is");
        return;
    }
    if ((fault.kind == JsonFault::Malformed || (fault.kind == JsonFault::None && !found.is_object())) &&
        !MoveAside(path))
        return;
    if (state.backupDue && fault.kind == JsonFault::None && found.is_object())
    {
        std::error_code error;
        const std::string backup = BackupName(path);
        if (!fs::copy_file(path, backup, error))
        {
            Log("SETTINGS: [", path, "] could not be backed up (", error.message(), "); not saved");
            return;
        }
        Log("SETTINGS: [", path, "] held values that were not used; kept as ", backup);
    }
    state.backupDue = false;
    if (std::string why; !WriteJsonFile(path, document, &why))
        Log("SETTINGS: [", path, "] could not be saved (", why, "); the file is left as it was");
}

// The level numbers of a "LevelCompleted" value that are levels of the game, in file order;
// the number after the last level, how older files kept a win of the last level, sets
// LastLevelWon; anything else is reported and marks the file for a backup.
std::vector<int> LevelsOf(const json& value, const std::string& path, bool& backupDue)
{
    std::vector<int> levels;
    if (!value.is_array())
    {
        Log("SETTINGS: [", path, "] \"LevelCompleted\" is ", JsonSummary(value),
            ", not a list of levels; ignored");
        backupDue = true;
        return levels;
    }
    for (const json& element : value)
    {
        const std::optional<int> level =
            element.is_number_integer() ? NumberAs<int>(element) : std::optional<int>();
        if (level && std::find(LevelList.begin(), LevelList.end(), *level) != LevelList.end())
            levels.push_back(*level);
        else if (level && !LevelList.empty() && *level == LevelList.back() + 1)
            LastLevelWon = true;   // how older files said the last level was won
        else
        {
            Log("SETTINGS: [", path, "] \"LevelCompleted\" holds ", JsonSummary(element),
                ", not a level of the game; skipped");
            backupDue = true;
        }
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
    const json document = ReadSettings(path, volumeFile);
    if (!document.is_object())
        return;
    AudioPlayer* player = AudioPlayer::GetInstance();
    for (size_t i = 0; i < std::size(VolumeKeys); ++i)
    {
        const auto value = document.find(VolumeKeys[i].key);
        if (value == document.end())
            continue;
        // A volume is a gain from silence to full: beyond full is clamped, below silence (-1 is
        // "unknown") and what no float holds are refused.
        const std::optional<float> volume = NumberAs<float>(*value);
        if (!volume || *volume < 0)
        {
            Log("SETTINGS: [", path, "] \"", VolumeKeys[i].key, "\" is ", JsonSummary(*value),
                ", not a volume; ignored");
            volumeFile.backupDue = true;
            continue;
        }
        if (*volume > 1)
        {
            Log("SETTINGS: [", path, "] \"", VolumeKeys[i].key, "\" is ", JsonSummary(*value),
                ", above full volume; 1 used");
            volumeFile.backupDue = true;
        }
        loadedVolumes[i] = std::min(*volume, 1.0f);
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
            document[VolumeKeys[i].key] = std::min(volume, 1.0f);
        else if (loadedVolumes[i])
            document[VolumeKeys[i].key] = *loadedVolumes[i];   // the group could not say; keep the file's
    }
    if (document.empty())
        return;   // nothing known: whatever the file holds stays
    SaveSettingsFile(path, document, volumeFile);
}

void SceneSystem::LoadLevelCompleted()
{
    const std::string path = LevelCompletedFile();
    const json document = ReadSettings(path, levelFile);
    if (!document.is_object() || !document.contains("LevelCompleted"))
        return;
    for (int level : LevelsOf(document.at("LevelCompleted"), path, levelFile.backupDue))
        AddUnlockedLevel(level);
    if (const auto won = document.find("LastLevelWon"); won != document.end())
    {
        if (won->is_boolean())
            LastLevelWon = LastLevelWon || won->get<bool>();
        else
        {
            Log("SETTINGS: [", path, "] \"LastLevelWon\" is ", JsonSummary(*won),
                ", not true or false; ignored");
            levelFile.backupDue = true;
        }
    }
}

void SceneSystem::SaveLevelCompleted()
{
    // The list in memory started from the file and holds every change of this run since, the
    // developer's reset to the first level included: it is what is written, whole.
    json document{{"LevelCompleted", LevelCompleted}};
    if (LastLevelWon)
        document["LastLevelWon"] = true;
    SaveSettingsFile(LevelCompletedFile(), document, levelFile);
}

void SceneSystem::SaveSettings()
{
    SaveAudioVolume();
    SaveLevelCompleted();
}
