// The audio system over the offline mixer: the group tree, the registry, the clock that follows
// the game's frame time and the list of playing channels.
#include "audio/AudioSystem.h"
#include "audio/AudioPlayer.h"
#include "audio/AudioRegistry.h"
#include "engine/DataPath.h"
#include "tests/audio/OfflineAudioTest.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

using namespace AudioTestKit;

namespace
{
using AudioSystemTest = OfflineAudioTest;
AudioSystem& Audio() { return AudioSystem::GetInstance(); }
}   // namespace

TEST_F(AudioSystemTest, InitHangsThreeGroupsUnderTheMasterAndHandsThemToThePlayer)
{
    ASSERT_NE(Audio().MasterGroup, nullptr);
    const std::pair<Sound::ChannelGroup*, const char*> groups[] = {
        {Audio().MusicGroup, "Music"}, {Audio().SfxGroup, "SFX"}, {Audio().UiGroup, "UI"}};
    for (const auto& [group, name] : groups)
    {
        ASSERT_NE(group, nullptr) << name;
        EXPECT_EQ(group->GetName(), name);
        EXPECT_EQ(group->GetParent(), Audio().MasterGroup) << name;
    }
    AudioPlayer* player = AudioPlayer::GetInstance();
    EXPECT_EQ(player->System, Audio().System);
    EXPECT_EQ(player->MasterGroup, Audio().MasterGroup);
    EXPECT_EQ(player->MusicGroup, Audio().MusicGroup);
    EXPECT_EQ(player->SfxGroup, Audio().SfxGroup);
    EXPECT_EQ(player->UiGroup, Audio().UiGroup);
    EXPECT_TRUE(Audio().Init()) << "a second Init keeps what is open";
    EXPECT_EQ(player->MasterGroup, Audio().MasterGroup);

    Audio().Shutdown();
    EXPECT_EQ(Audio().System, nullptr);
    EXPECT_TRUE(AudioRegistry::GetInstance().empty());
    for (Sound::ChannelGroup* handle :
         {player->MasterGroup, player->MusicGroup, player->SfxGroup, player->UiGroup})
        EXPECT_EQ(handle, nullptr) << "no stale group handle is left behind";
    // After Shutdown every call by name or group is a quiet no-op.
    player->PlaySound("Tone", false, 1.0f);
    player->StopSound("Tone");
    player->StopAll();
    EXPECT_FALSE(player->IsPaused("Tone"));
    EXPECT_FALSE(player->SetVolume(player->MusicGroup, 0.5f));
    Audio().Update(0.1f);
    Audio().EndFrame();
    EXPECT_TRUE(Audio().PlayingChannels.empty());
}

TEST_F(AudioSystemTest, OfflineClockFollowsTheFrameTimeAndEndedChannelsLeaveTheList)
{
    AudioPlayer* player = AudioPlayer::GetInstance();
    player->PlaySound("Blip", false, 1.0f);   // 0.1 s
    player->PlaySound("ToneMusic", false, 1.0f);
    ASSERT_EQ(Audio().PlayingChannels.size(), 2u);
    const Sound::Channel blip = Audio().PlayingChannels[0];

    for (int frame = 0; frame < 5; ++frame)   // 83 ms
        Frame(1.0f / 60);
    EXPECT_TRUE(IsPlaying(blip));
    EXPECT_EQ(Audio().PlayingChannels.size(), 2u);
    Frame(0.0f);
    EXPECT_TRUE(IsPlaying(blip)) << "a zero frame time mixes nothing";
    for (int frame = 0; frame < 2; ++frame)   // past 0.1 s
        Frame(1.0f / 60);
    EXPECT_FALSE(IsPlaying(blip));
    ASSERT_EQ(Audio().PlayingChannels.size(), 1u);
    EXPECT_FALSE(Audio().PlayingChannels[0] == blip);

    // Many seconds of frames: the looping stream is kept fed by the same updates.
    for (int frame = 0; frame < 600; ++frame)
        Frame(1.0f / 60);
    EXPECT_EQ(Audio().PlayingChannels.size(), 1u);
    EXPECT_GT(Level(), 0.1);
}

TEST_F(AudioSystemTest, WithoutARegistryTheGroupsStillExistAndNothingPlays)
{
    Audio().Shutdown();
    TempFolder empty;
    SetDataRoot(empty.Path().string());
    TraceCapture trace;
    ASSERT_TRUE(Audio().Init());
    EXPECT_TRUE(trace.Contains("[Data/Audio/AudioRegistry.json] sound registry not found")) << trace.All();
    EXPECT_NE(Audio().MusicGroup, nullptr);
    EXPECT_TRUE(AudioRegistry::GetInstance().empty());
    AudioPlayer::GetInstance()->PlaySound("Click", false, 1.0f);
    EXPECT_TRUE(Audio().PlayingChannels.empty());
    EXPECT_TRUE(AudioPlayer::GetInstance()->SetVolume(AudioPlayer::GetInstance()->MusicGroup, 0.5f));
}

TEST_F(AudioSystemTest, EnvironmentAsksForTheOfflineMixer)
{
    Audio().Shutdown();
    Audio().Output = Sound::OutputChoice::DeviceOrOffline;
    ScopedEnv offline("ZOVERAV_AUDIO", "offline");
    TraceCapture trace;
    ASSERT_TRUE(Audio().Init());
    EXPECT_TRUE(Audio().System->IsOffline());
    EXPECT_FALSE(trace.Contains("no sound device")) << "offline by request is not a missing device";
}
