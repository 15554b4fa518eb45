#include "tests/audio/OfflineAudioTest.h"

#include "audio/AudioPlayer.h"
#include "audio/AudioRegistry.h"
#include "audio/AudioSystem.h"
#include "engine/DataPath.h"

#include <cmath>
#include <filesystem>

namespace AudioTestKit
{
void OfflineAudioTest::SetUp()
{
    savedDataRoot = DataRoot();
    std::filesystem::create_directories(folder.Path() / "Audio");
    WriteTone(folder / "Audio/Tone.wav", 1.0);
    WriteTone(folder / "Audio/Blip.wav", 0.1);
    TempFolder::WriteFile(folder / "Audio/AudioRegistry.json", R"({"Sounds": [
        {"Name": "Tone", "FileName": "Data/Audio/Tone.wav", "LoopType": "Loop"},
        {"Name": "ToneUi", "FileName": "Data/Audio/Tone.wav", "SoundBus": "UI", "LoopType": "Loop"},
        {"Name": "ToneMusic", "FileName": "Data/Audio/Tone.wav", "SoundBus": "Music", "LoopType": "Loop",
         "ModeType": "Stream"},
        {"Name": "Blip", "FileName": "Data/Audio/Blip.wav"}]})");
    SetDataRoot(folder.Path().string());
    AudioSystem::GetInstance().Output = Sound::OutputChoice::OfflineOnly;
    ASSERT_TRUE(AudioSystem::GetInstance().Init());
    ASSERT_EQ(AudioRegistry::GetInstance().size(), 4u);
}

void OfflineAudioTest::TearDown()
{
    AudioSystem::GetInstance().Shutdown();
    AudioSystem::GetInstance().Output = Sound::OutputChoice::DeviceOrOffline;
    AudioPlayer::GetInstance()->SetListener(nullptr);
    SetDataRoot(savedDataRoot);
}

std::vector<float> OfflineAudioTest::Render(double seconds)
{
    Sound::System* system = AudioSystem::GetInstance().System;
    std::vector<float> stereo(2 * static_cast<size_t>(std::lround(seconds * system->GetOutputRate())));
    EXPECT_EQ(system->Render(stereo.data(), static_cast<int>(stereo.size() / 2)), Sound::Result::Ok);
    return stereo;
}

double OfflineAudioTest::Level()
{
    Render(0.05);
    return Rms(Render(0.2));
}

void OfflineAudioTest::Frame(float dt)
{
    AudioSystem::GetInstance().Update(dt);
    AudioSystem::GetInstance().EndFrame();
}
}   // namespace AudioTestKit
