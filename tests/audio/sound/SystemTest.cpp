// The system's life: nothing works before Init or after Close, and it opens again cleanly.
#include "tests/audio/AudioTestKit.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

using namespace AudioTestKit;
using Sound::Result;

TEST(SoundSystem, CallsOutsideInitAndCloseAreRefused)
{
    TempFolder folder;
    WriteTone(folder / "tone.wav", 0.2);
    Sound::System* system = nullptr;
    ASSERT_EQ(Sound::System::Create(&system), Result::Ok);
    EXPECT_EQ(Sound::System::Create(nullptr), Result::InvalidParam);

    const auto expectClosed = [&](const char* when) {
        SCOPED_TRACE(when);
        Sound::ChannelGroup* group = nullptr;
        Sound::Clip* clip = nullptr;
        Sound::Channel channel;
        float frame[2] = {};
        EXPECT_FALSE(system->IsOpen());
        EXPECT_STREQ(system->GetOutputName(), "none");
        EXPECT_EQ(system->GetOutputRate(), 0);
        EXPECT_EQ(system->GetMasterChannelGroup(&group), Result::NotInitialised);
        EXPECT_EQ(system->CreateChannelGroup("Music", &group), Result::NotInitialised);
        EXPECT_EQ(system->CreateSound(folder / "tone.wav", Sound::Storage::Sample, Sound::Loop::Off, &clip),
                  Result::NotInitialised);
        EXPECT_EQ(system->PlaySound(nullptr, nullptr, false, &channel), Result::NotInitialised);
        EXPECT_EQ(system->Update(), Result::NotInitialised);
        EXPECT_EQ(system->Render(frame, 1), Result::NotInitialised);
        EXPECT_EQ(system->Close(), Result::NotInitialised);
        EXPECT_EQ(group, nullptr);
        EXPECT_EQ(clip, nullptr);
        EXPECT_TRUE(channel.IsNull());
    };
    expectClosed("before Init");
    EXPECT_EQ(system->Init(0, Sound::OutputChoice::OfflineOnly), Result::InvalidParam);
    expectClosed("after a refused Init");

    for (int round = 0; round < 2; ++round)
    {
        ASSERT_EQ(system->Init(64, Sound::OutputChoice::OfflineOnly), Result::Ok);
        EXPECT_EQ(system->Init(64, Sound::OutputChoice::OfflineOnly), Result::AlreadyInitialised);
        EXPECT_TRUE(system->IsOffline());
        EXPECT_STREQ(system->GetOutputName(), "offline mixer");
        EXPECT_EQ(system->GetOutputRate(), 44100);
        Sound::Clip* clip = nullptr;
        ASSERT_EQ(
            system->CreateSound(folder / "tone.wav", Sound::Storage::Sample, Sound::Loop::Normal, &clip),
            Result::Ok);
        Sound::Channel channel;
        ASSERT_EQ(system->PlaySound(clip, nullptr, false, &channel), Result::Ok);
        std::vector<float> mix(2 * 4410);
        EXPECT_EQ(system->Render(mix.data(), 4410), Result::Ok);
        EXPECT_GT(Rms(mix), 0.1) << "round " << round;
        EXPECT_EQ(system->Render(nullptr, 10), Result::InvalidParam);
        EXPECT_EQ(system->Render(mix.data(), -1), Result::InvalidParam);
        ASSERT_EQ(system->Close(), Result::Ok);
        expectClosed("after Close");
        EXPECT_FALSE(IsPlaying(channel));
    }
    EXPECT_EQ(system->Release(), Result::Ok);
}

TEST(SoundSystem, PlayRefusesClipsAndGroupsOfAnotherSystem)
{
    TempFolder folder;
    WriteTone(folder / "tone.wav", 0.2);
    OfflineSystem one;
    OfflineSystem two;
    Sound::Clip* clip = one.Load(folder / "tone.wav", Sound::Storage::Sample, Sound::Loop::Off);
    Sound::Channel channel;
    EXPECT_EQ(two->PlaySound(clip, nullptr, false, &channel), Result::InvalidParam);
    EXPECT_EQ(one->PlaySound(clip, two.Master(), false, &channel), Result::InvalidParam);
    EXPECT_EQ(one->PlaySound(nullptr, nullptr, false, &channel), Result::InvalidParam);
    EXPECT_TRUE(channel.IsNull());
    // Two systems mix apart: what plays in one is not heard in the other.
    EXPECT_EQ(one->PlaySound(clip, nullptr, false, &channel), Result::Ok);
    EXPECT_GT(one.RenderRms(0.1), 0.1);
    EXPECT_LT(two.RenderRms(0.1), 1e-6);
}
