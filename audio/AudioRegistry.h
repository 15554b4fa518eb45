#pragma once
// The table of every sound the game plays by name, filled once at start-up from the registry
// file. Order is file order and names are unique: a duplicate, an entry with a bad value or a
// file that does not decode is reported and left out, and the rest load. The table owns its
// clips; pointers into it stay valid until the next entry is added or the table is cleared.
#include "audio/sound/System.h"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// Which channel group an entry plays on; any other value plays on the master group.
namespace SoundBus
{
constexpr int Music = 0;
constexpr int Sfx = 1;
constexpr int Ui = 2;
}   // namespace SoundBus

struct SoundEntry
{
    ::Sound::Clip* Sound = nullptr;   // owned by the table
    std::string Name;
    std::string FileName;   // as the registry spells it
    int Bus = SoundBus::Sfx;
    int OneShot = 1;                // 1 plays once, 0 loops
    int Stream = 0;                 // 1 decoded while it plays, 0 held whole in memory
    ::Sound::Channel LastChannel;   // the channel of the latest play by name
};

class AudioRegistry
{
public:
    static constexpr const char* RegistryFile = "Data/Audio/AudioRegistry.json";

    static std::vector<SoundEntry>& GetInstance();

    static void Load(Sound::System* system);   // the registry file
    // Reads one registry file; false (table untouched) when it is missing or not JSON.
    static bool LoadFile(const std::string& path, Sound::System* system);
    // Replaces the table with the sounds of a parsed registry; source names it in messages.
    static void LoadFromJson(const nlohmann::json& document, Sound::System* system,
                             const std::string& source = RegistryFile);

    static SoundEntry* Find(const std::string& name);   // exact name; null when absent
    // Makes the clip and appends the entry; null (reported) for a duplicate or a file that fails.
    static SoundEntry* CreateSound(Sound::System* system, const std::string& name,
                                   const std::string& fileName, int bus, bool oneShot, bool stream);
    // Releases every clip and empties the table; call it while the system that made them is open.
    static void Clear();
};
