// Volumes multiply down the group tree, pausing is hierarchical while a channel keeps its own
// flag, and a group stop ends what plays under it without breaking the group.
#include "tests/audio/AudioTestKit.h"
#include "tests/common/TempFolder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <iostream>
#include <limits>

using namespace AudioTestKit;
using Sound::Result;

namespace
{
constexpr double Settle = 0.05;   // seconds left to the mixer's gain ramps
constexpr double Measure = 0.25;

class ChannelGroupTest : public testing::Test
{
protected:
    void SetUp() override
    {
        WriteTone(folder / "tone.wav", 1.0);
        tone = system.Load(folder / "tone.wav", Sound::Storage::Sample, Sound::Loop::Normal);
        master = system.Master();
    }

    Sound::ChannelGroup* NewGroup(const std::string& name)
    {
        Sound::ChannelGroup* group = nullptr;
        EXPECT_EQ(system->CreateChannelGroup(name, &group), Result::Ok);
        return group;
    }

    double Level()
    {
        system.Render(Settle);
        return system.RenderRms(Measure);
    }

    TempFolder folder;
    OfflineSystem system;
    Sound::Clip* tone = nullptr;
    Sound::ChannelGroup* master = nullptr;
};
}   // namespace

TEST_F(ChannelGroupTest, RenderedLevelIsChannelTimesGroupTimesMasterVolume)
{
    Sound::ChannelGroup* music = NewGroup("Music");
    Sound::Channel channel = system.Play(tone, music);
    const double full = Level();
    ASSERT_GT(full, 0.1) << "a half-scale tone should be clearly heard";

    struct Case
    {
        float channel, group, master;
    };
    const Case cases[] = {{0.5f, 1, 1},       {1, 0.5f, 1},  {1, 1, 0.5f},
                          {0.5f, 0.5f, 0.5f}, {0.25f, 1, 1}, {1, 0, 1}};
    std::cout << "full-volume RMS " << full << "\n";
    for (const Case& c : cases)
    {
        ASSERT_EQ(channel.SetVolume(c.channel), Result::Ok);
        ASSERT_EQ(music->SetVolume(c.group), Result::Ok);
        ASSERT_EQ(master->SetVolume(c.master), Result::Ok);
        const double expected = full * c.channel * c.group * c.master;
        const double measured = Level();
        std::cout << "channel " << c.channel << " group " << c.group << " master " << c.master << ": RMS "
                  << measured << " (ratio " << measured / full << ")\n";
        EXPECT_NEAR(measured, expected, 0.005 * full + 1e-6)
            << "channel " << c.channel << ", group " << c.group << ", master " << c.master;
    }
}

TEST_F(ChannelGroupTest, NestedGroupsMultiplyAndMovingAGroupChangesWhatItHears)
{
    Sound::ChannelGroup* outer = NewGroup("Outer");
    Sound::ChannelGroup* inner = NewGroup("Inner");
    Sound::ChannelGroup* other = NewGroup("Other");
    ASSERT_EQ(outer->AddGroup(inner), Result::Ok);
    system.Play(tone, inner);
    const double full = Level();
    ASSERT_EQ(outer->SetVolume(0.5f), Result::Ok);
    ASSERT_EQ(inner->SetVolume(0.5f), Result::Ok);
    EXPECT_NEAR(Level(), 0.25 * full, 0.005 * full);

    ASSERT_EQ(other->AddGroup(inner), Result::Ok);   // away from the halving outer group
    EXPECT_EQ(inner->GetParent(), other);
    EXPECT_NEAR(Level(), 0.5 * full, 0.005 * full);
}

TEST_F(ChannelGroupTest, TreeRefusesLoopsAndBadVolumes)
{
    Sound::ChannelGroup* parent = NewGroup("Parent");
    Sound::ChannelGroup* child = NewGroup("Child");
    ASSERT_EQ(parent->AddGroup(child), Result::Ok);
    EXPECT_EQ(child->AddGroup(parent), Result::InvalidParam);
    EXPECT_EQ(child->AddGroup(child), Result::InvalidParam);
    EXPECT_EQ(child->AddGroup(master), Result::InvalidParam);
    EXPECT_EQ(parent->AddGroup(nullptr), Result::InvalidParam);
    EXPECT_EQ(child->GetParent(), parent);
    EXPECT_EQ(master->Release(), Result::InvalidParam);

    ASSERT_EQ(parent->SetVolume(0.75f), Result::Ok);
    for (float bad : {-0.5f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()})
        EXPECT_EQ(parent->SetVolume(bad), Result::InvalidParam) << bad;
    float volume = 0;
    EXPECT_EQ(parent->GetVolume(&volume), Result::Ok);
    EXPECT_EQ(volume, 0.75f);
    EXPECT_EQ(parent->GetVolume(nullptr), Result::InvalidParam);
}

TEST_F(ChannelGroupTest, MasterPauseSilencesEverythingAndLeavesEachChannelsOwnFlag)
{
    Sound::ChannelGroup* sfx = NewGroup("SFX");
    Sound::Channel inGroup = system.Play(tone, sfx);
    Sound::Channel onMaster = system.Play(tone);
    Sound::Channel pausedItself = system.Play(tone, sfx, true);
    const double both = Level();
    ASSERT_GT(both, 0.1);

    ASSERT_EQ(master->SetPaused(true), Result::Ok);
    EXPECT_LT(Level(), 1e-6);
    for (const Sound::Channel* channel : {&inGroup, &onMaster})
    {
        bool paused = true;
        EXPECT_EQ(channel->GetPaused(&paused), Result::Ok);
        EXPECT_FALSE(paused) << "a group's pause is not the channel's own";
        EXPECT_TRUE(IsPlaying(*channel)) << "a paused channel is still playing";
    }
    bool groupPaused = true;
    EXPECT_EQ(sfx->GetPaused(&groupPaused), Result::Ok);
    EXPECT_FALSE(groupPaused);

    // Resuming the master brings back exactly the channels that were not paused themselves.
    ASSERT_EQ(master->SetPaused(false), Result::Ok);
    EXPECT_NEAR(Level(), both, 0.005 * both);
    bool paused = false;
    EXPECT_EQ(pausedItself.GetPaused(&paused), Result::Ok);
    EXPECT_TRUE(paused);
    ASSERT_EQ(inGroup.Stop(), Result::Ok);
    ASSERT_EQ(onMaster.Stop(), Result::Ok);
    EXPECT_LT(Level(), 1e-6);
    ASSERT_EQ(pausedItself.SetPaused(false), Result::Ok);
    EXPECT_NEAR(Level(), 0.5 * both, 0.005 * both) << "the two started together, in phase";
}

TEST_F(ChannelGroupTest, GroupStopEndsItsChannelsAndThoseBelowAndTheGroupStaysUsable)
{
    Sound::ChannelGroup* music = NewGroup("Music");
    Sound::ChannelGroup* below = NewGroup("Below");
    Sound::ChannelGroup* ui = NewGroup("UI");
    ASSERT_EQ(music->AddGroup(below), Result::Ok);
    ASSERT_EQ(music->SetVolume(0.5f), Result::Ok);
    const Sound::Channel song = system.Play(tone, music);
    const Sound::Channel under = system.Play(tone, below, true);
    const Sound::Channel click = system.Play(tone, ui);

    ASSERT_EQ(music->Stop(), Result::Ok);
    EXPECT_FALSE(IsPlaying(song));
    EXPECT_FALSE(IsPlaying(under));
    EXPECT_TRUE(IsPlaying(click));
    const double afterStop = Level();
    ASSERT_EQ(ui->Stop(), Result::Ok);
    EXPECT_LT(Level(), 1e-6);

    // Stopped, not paused: a new song plays at once, at the volume the group kept.
    const Sound::Channel again = system.Play(tone, music);
    EXPECT_TRUE(IsPlaying(again));
    EXPECT_NEAR(Level(), 0.5 * afterStop, 0.005 * afterStop);
}

TEST_F(ChannelGroupTest, ReleasingAGroupStopsItsChannelsAndHandsItsChildrenUp)
{
    Sound::ChannelGroup* parent = NewGroup("Parent");
    Sound::ChannelGroup* doomed = NewGroup("Doomed");
    Sound::ChannelGroup* child = NewGroup("Child");
    ASSERT_EQ(parent->AddGroup(doomed), Result::Ok);
    ASSERT_EQ(doomed->AddGroup(child), Result::Ok);
    ASSERT_EQ(doomed->SetVolume(0.5f), Result::Ok);
    const Sound::Channel own = system.Play(tone, doomed);
    const Sound::Channel below = system.Play(tone, child);
    system.Render(Settle);

    ASSERT_EQ(doomed->Release(), Result::Ok);
    EXPECT_FALSE(IsPlaying(own));
    EXPECT_TRUE(IsPlaying(below));
    EXPECT_EQ(child->GetParent(), parent);
    // No longer under the halving group: the child's channel is heard whole.
    const double alone = Level();
    ASSERT_EQ(parent->SetVolume(0.5f), Result::Ok);
    EXPECT_NEAR(Level(), 0.5 * alone, 0.005 * alone);
}
