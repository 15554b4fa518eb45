#include "tests/fuzz/FuzzKit.h"

#include "audio/AudioRegistry.h"
#include "audio/AudioSystem.h"
#include "engine/TraceSystem.h"
#include "engine/WindowSystem.h"
#include "scene/SceneSystem.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace FuzzKit
{
TestDataFolder& Setup()
{
    static TestDataFolder folder;
    static const bool ready = [] {
        std::fflush(stdout);
        if (!std::freopen("/dev/null", "w", stdout))
            std::perror("fuzz: the standard output stays open");
        ::setenv("XDG_DATA_HOME", (folder / "Home").c_str(), 1);
        // Lines written while no log is open are kept until the buffer for them is full; filled
        // now, it no longer grows with each input, which would make libFuzzer look for leaks after
        // every input and run a hundred times slower.
        for (int line = 0; line < 10000; ++line)
            TraceSystem::GetInstance().Write("fuzz: no log is written");
        // The camera of a scene needs a window size; there is no window.
        WindowSystem::GetInstance().width = 1600;
        WindowSystem::GetInstance().height = 900;
        return true;
    }();
    (void)ready;
    return folder;
}

std::string Text(const uint8_t* data, size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

std::string EmptySettingsFolder()
{
    Setup();
    const std::string folder = SceneSystem::SettingsFolder();
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        fs::remove_all(entry.path(), error);
    return folder;
}

void OpenOfflineAudio()
{
    static const bool opened = [] {
        Setup();
        // The registry loaded by Init is the game's: emptied, so a target sees only its own sounds.
        AudioSystem::GetInstance().Output = Sound::OutputChoice::OfflineOnly;
        const bool ok = AudioSystem::GetInstance().Init();
        AudioRegistry::Clear();
        return ok;
    }();
    if (!opened)
        std::fprintf(stderr, "fuzz: the offline sound system did not open\n");
}
}   // namespace FuzzKit
