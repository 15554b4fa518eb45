// Sounds by name: each plays on its registry bus with the volume asked for; stop, stop-all and
// pause queries reach the latest channel of a name.
#include "audio/AudioPlayer.h"
#include "audio/AudioRegistry.h"
#include "audio/AudioSystem.h"
#include "tests/audio/OfflineAudioTest.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>
#include <limits>

using namespace AudioTestKit;

namespace
{
class AudioPlayerTest : public OfflineAudioTest
{
protected:
    AudioPlayer* player = AudioPlayer::GetInstance();
    std::vector<Sound::Channel>& Playing() { return AudioSystem::GetInstance().PlayingChannels; }
};
}   // namespace

TEST_F(AudioPlayerTest, EachSoundPlaysOnItsBusAtTheVolumeAsked)
{
    // A bus number outside the three plays on the master group itself.
    AudioRegistry::CreateSound(player->System, "OnMaster", "Data/Audio/Tone.wav", 7, false, false);
    const struct
    {
        const char* name;
        Sound::ChannelGroup* group;
    } routes[] = {{"Tone", player->SfxGroup},
                  {"ToneUi", player->UiGroup},
                  {"ToneMusic", player->MusicGroup},
                  {"OnMaster", player->MasterGroup}};
    double full = 0;
    for (const auto& route : routes)
    {
        SCOPED_TRACE(route.name);
        player->PlaySound(route.name, false, 1.0f);
        const double level = Level();
        ASSERT_GT(level, 0.1);
        if (full == 0)
            full = level;
        EXPECT_NEAR(level, full, 0.01 * full) << "every test tone has one level";
        // Silencing every other group changes nothing; its own group silences it.
        for (Sound::ChannelGroup* other : {player->MusicGroup, player->SfxGroup, player->UiGroup})
        {
            if (other != route.group)
            {
                ASSERT_TRUE(player->SetVolume(other, 0.0f));
            }
        }
        EXPECT_NEAR(Level(), level, 0.01 * level);
        ASSERT_TRUE(player->SetVolume(route.group, 0.0f));
        EXPECT_LT(Level(), 1e-6);
        for (Sound::ChannelGroup* group :
             {player->MasterGroup, player->MusicGroup, player->SfxGroup, player->UiGroup})
            ASSERT_TRUE(player->SetVolume(group, 1.0f));
        player->StopAll();
    }

    player->PlaySound("Tone", false, 0.5f);
    EXPECT_NEAR(Level(), 0.5 * full, 0.005 * full) << "the volume passed is the channel's volume";
    ASSERT_TRUE(player->SetVolume(player->MasterGroup, 0.5f));
    EXPECT_NEAR(Level(), 0.25 * full, 0.005 * full);
}

TEST_F(AudioPlayerTest, StopSoundStopsOnlyTheLatestChannelOfItsName)
{
    player->PlaySound("Tone", false, 1.0f);
    player->PlaySound("Tone", false, 1.0f);
    ASSERT_EQ(Playing().size(), 2u);
    const Sound::Channel first = Playing()[0];
    const Sound::Channel second = Playing()[1];
    EXPECT_TRUE(AudioRegistry::Find("Tone")->LastChannel == second);

    player->StopSound("Tone");
    EXPECT_TRUE(IsPlaying(first));
    EXPECT_FALSE(IsPlaying(second));

    TraceCapture trace;
    player->StopSound("Tone");      // its latest channel already stopped
    player->StopSound("ToneUi");    // never played
    player->StopSound("Nothing");   // not in the registry
    EXPECT_TRUE(IsPlaying(first));
    EXPECT_TRUE(trace.lines.empty()) << "nothing to stop is not a failure:\n" << trace.All();
}

TEST_F(AudioPlayerTest, IsPausedAnswersForTheLatestChannelsOwnFlag)
{
    EXPECT_FALSE(player->IsPaused("Tone")) << "never played";
    EXPECT_FALSE(player->IsPaused("Nothing"));
    player->PlaySound("Tone", true, 1.0f);
    EXPECT_TRUE(player->IsPaused("Tone"));
    EXPECT_LT(Level(), 1e-6);
    player->PlaySound("Tone", false, 1.0f);
    EXPECT_FALSE(player->IsPaused("Tone")) << "the latest channel counts";

    ASSERT_TRUE(player->SetPaused(player->MasterGroup, true));
    EXPECT_FALSE(player->IsPaused("Tone")) << "the master's pause is not the channel's";
    EXPECT_LT(Level(), 1e-6);
    ASSERT_TRUE(player->SetPaused(player->MasterGroup, false));

    player->PlaySound("Blip", true, 1.0f);
    ASSERT_TRUE(player->IsPaused("Blip"));
    ASSERT_EQ(AudioRegistry::Find("Blip")->LastChannel.SetPaused(false), Sound::Result::Ok);
    Render(0.2);
    TraceCapture trace;
    EXPECT_FALSE(player->IsPaused("Blip")) << "a sound that ended is not paused";
    EXPECT_TRUE(trace.lines.empty()) << trace.All();
}

TEST_F(AudioPlayerTest, StopAllEndsEveryGroupAndLaterSoundsPlayNormally)
{
    for (const char* name : {"Tone", "ToneUi", "ToneMusic"})
        player->PlaySound(name, false, 1.0f);
    AudioRegistry::CreateSound(player->System, "OnMaster", "Data/Audio/Tone.wav", 7, false, false);
    player->PlaySound("OnMaster", false, 1.0f);
    const std::vector<Sound::Channel> before = Playing();
    player->StopAll();
    for (const Sound::Channel& channel : before)
        EXPECT_FALSE(IsPlaying(channel));
    EXPECT_LT(Level(), 1e-6);

    player->PlaySound("Tone", false, 1.0f);
    EXPECT_TRUE(IsPlaying(Playing().back()));
    EXPECT_GT(Level(), 0.1) << "stopped, not paused";
}

TEST_F(AudioPlayerTest, ListenerHearsEveryRequestHeardOrNot)
{
    std::vector<std::string> heard;
    player->SetListener([&](const std::string& name, bool paused, float volume) {
        heard.push_back(name + (paused ? " paused " : " ") + std::to_string(volume).substr(0, 4));
    });
    player->PlaySound("Tone", false, 0.75f);
    player->PlaySound("NotInTheRegistry", true, 1.0f);
    AudioSystem::GetInstance().Shutdown();
    player->PlaySound("Tone", false, 0.05f);
    EXPECT_EQ(heard, (std::vector<std::string>{"Tone 0.75", "NotInTheRegistry paused 1.00", "Tone 0.05"}));
}

TEST_F(AudioPlayerTest, GroupCallsAnswerFalseWhenNothingHappened)
{
    float volume = 0.3f;
    EXPECT_FALSE(player->SetVolume(nullptr, 0.5f));
    EXPECT_FALSE(player->GetVolume(nullptr, volume));
    EXPECT_FALSE(player->SetPaused(nullptr, true));
    EXPECT_EQ(volume, 0.3f) << "a failed read leaves the value as it was";

    ASSERT_TRUE(player->SetVolume(player->MusicGroup, 0.6f));
    TraceCapture trace;
    for (float bad : {-0.1f, std::numeric_limits<float>::quiet_NaN()})
        EXPECT_FALSE(player->SetVolume(player->MusicGroup, bad)) << bad;
    EXPECT_TRUE(trace.Contains("AUDIO: [volume of group Music]")) << trace.All();
    ASSERT_TRUE(player->GetVolume(player->MusicGroup, volume));
    EXPECT_FLOAT_EQ(volume, 0.6f);

    // A bad volume for one sound is reported; the sound still plays, at full volume.
    player->PlaySound("Tone", false, -1.0f);
    EXPECT_TRUE(trace.Contains("AUDIO: [volume of Tone]")) << trace.All();
    ASSERT_TRUE(player->GetVolume(player->SfxGroup, volume));
    float channelVolume = 0;
    EXPECT_EQ(Playing().back().GetVolume(&channelVolume), Sound::Result::Ok);
    EXPECT_EQ(channelVolume, 1.0f);
}
