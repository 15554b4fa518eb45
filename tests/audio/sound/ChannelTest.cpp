// A channel handle answers for its own sound only: paused still counts as playing, an ended,
// stopped or stolen sound leaves a stale handle that is refused everywhere, even once its slot
// plays something else.
#include "tests/audio/AudioTestKit.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>
#include <limits>

using namespace AudioTestKit;
using Sound::Result;

namespace
{
class ChannelTest : public testing::Test
{
protected:
    void SetUp() override
    {
        WriteTone(folder / "short.wav", 0.1);
        WriteTone(folder / "long.wav", 1.0);
        shortTone = system.Load(folder / "short.wav", Sound::Storage::Sample, Sound::Loop::Off);
        loopTone = system.Load(folder / "long.wav", Sound::Storage::Sample, Sound::Loop::Normal);
    }

    // Every call a stale handle must refuse, and IsPlaying answering false.
    static void ExpectStale(Sound::Channel& channel, const char* why)
    {
        SCOPED_TRACE(why);
        float volume = 0.25f;
        bool paused = true;
        EXPECT_FALSE(IsPlaying(channel));
        EXPECT_EQ(channel.SetVolume(0.0f), Result::InvalidHandle);
        EXPECT_EQ(channel.GetVolume(&volume), Result::InvalidHandle);
        EXPECT_EQ(channel.SetPaused(true), Result::InvalidHandle);
        EXPECT_EQ(channel.GetPaused(&paused), Result::InvalidHandle);
        EXPECT_EQ(channel.Stop(), Result::InvalidHandle);
        EXPECT_EQ(volume, 0.25f) << "a refused call leaves its out-value";
        EXPECT_TRUE(paused);
    }

    TempFolder folder;
    OfflineSystem system;
    Sound::Clip* shortTone = nullptr;
    Sound::Clip* loopTone = nullptr;
};
}   // namespace

TEST_F(ChannelTest, IsPlayingForPausedEndedAndStoppedChannels)
{
    Sound::Channel paused = system.Play(shortTone, nullptr, true);
    Sound::Channel ended = system.Play(shortTone);
    Sound::Channel stopped = system.Play(loopTone);
    Sound::Channel looping = system.Play(loopTone);
    ASSERT_EQ(stopped.Stop(), Result::Ok);
    system.Render(0.5);   // five times the short tone

    EXPECT_TRUE(IsPlaying(paused)) << "a paused channel is still playing, even never started";
    EXPECT_FALSE(IsPlaying(ended)) << "a one-shot ends with its sound, without an update";
    EXPECT_FALSE(IsPlaying(stopped));
    EXPECT_TRUE(IsPlaying(looping));

    // The paused one was held at its start: released now, it plays its 0.1 s and ends.
    ASSERT_EQ(looping.Stop(), Result::Ok);
    ASSERT_EQ(paused.SetPaused(false), Result::Ok);
    EXPECT_GT(system.RenderRms(0.05), 0.1);
    EXPECT_TRUE(IsPlaying(paused));
    system.Render(0.1);
    EXPECT_FALSE(IsPlaying(paused));
    EXPECT_LT(system.RenderRms(0.05), 1e-6);
}

TEST_F(ChannelTest, StaleHandleIsRefusedEvenAfterItsSlotPlaysAgain)
{
    Sound::Channel first = system.Play(shortTone);
    system.Render(0.2);
    ExpectStale(first, "ended");

    // The freed slot is the first one taken again; the old handle must not reach the newcomer.
    Sound::Channel second = system.Play(loopTone);
    ExpectStale(first, "slot reused");
    EXPECT_FALSE(first == second);
    float volume = 0;
    EXPECT_EQ(second.GetVolume(&volume), Result::Ok);
    EXPECT_EQ(volume, 1.0f);
    EXPECT_TRUE(IsPlaying(second));
    EXPECT_GT(system.RenderRms(0.1), 0.1);

    Sound::Channel null;
    ExpectStale(null, "null handle");
    bool playing = true;
    EXPECT_EQ(null.IsPlaying(&playing), Result::InvalidHandle);
    EXPECT_FALSE(playing);
}

TEST_F(ChannelTest, AllSlotsBusyStealsTheOldestSound)
{
    ASSERT_EQ(system->GetMaxChannels(), 64);
    std::vector<Sound::Channel> channels;
    for (int i = 0; i < 64; ++i)
        channels.push_back(system.Play(loopTone));
    for (const Sound::Channel& channel : channels)
        ASSERT_TRUE(IsPlaying(channel));

    Sound::Channel newcomer = system.Play(loopTone);
    EXPECT_TRUE(IsPlaying(newcomer));
    ExpectStale(channels[0], "stolen");
    for (size_t i = 1; i < channels.size(); ++i)
        EXPECT_TRUE(IsPlaying(channels[i])) << "channel " << i;

    // The next steal takes the next oldest, not the newcomer.
    Sound::Channel another = system.Play(loopTone);
    ExpectStale(channels[1], "second steal");
    EXPECT_TRUE(IsPlaying(newcomer));
    EXPECT_TRUE(IsPlaying(another));

    // A slot freed by a stop is taken before anything is stolen.
    ASSERT_EQ(channels[40].Stop(), Result::Ok);
    system.Play(loopTone);
    EXPECT_TRUE(IsPlaying(channels[2]));
}

TEST_F(ChannelTest, HandlesOutliveTheirSystem)
{
    Sound::Channel survivor;
    {
        OfflineSystem other;
        WriteTone(folder / "other.wav", 0.5);
        survivor = other.Play(other.Load(folder / "other.wav", Sound::Storage::Sample, Sound::Loop::Normal));
        ASSERT_TRUE(IsPlaying(survivor));
        ASSERT_EQ(other->Close(), Result::Ok);
        ExpectStale(survivor, "system closed");
        ASSERT_EQ(other->Init(64, Sound::OutputChoice::OfflineOnly), Result::Ok);
        other.Play(other.Load(folder / "other.wav", Sound::Storage::Sample, Sound::Loop::Normal));
        ExpectStale(survivor, "system reopened, slot 0 busy again");
    }
    bool playing = true;
    EXPECT_EQ(survivor.IsPlaying(&playing), Result::InvalidHandle);
    EXPECT_FALSE(playing);
    EXPECT_EQ(survivor.Stop(), Result::InvalidHandle);
}

TEST_F(ChannelTest, BadArgumentsAreRefusedAndChangeNothing)
{
    Sound::Channel channel = system.Play(loopTone);
    ASSERT_EQ(channel.SetVolume(0.5f), Result::Ok);
    for (float bad :
         {-1.0f, std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::infinity()})
        EXPECT_EQ(channel.SetVolume(bad), Result::InvalidParam) << bad;
    float volume = 0;
    EXPECT_EQ(channel.GetVolume(&volume), Result::Ok);
    EXPECT_EQ(volume, 0.5f);
    EXPECT_EQ(channel.GetVolume(nullptr), Result::InvalidParam);
    EXPECT_EQ(channel.GetPaused(nullptr), Result::InvalidParam);
    EXPECT_EQ(channel.IsPlaying(nullptr), Result::InvalidParam);
}
