// Clips from files: what does not decode is refused with its reason, samples and streams play
// the same sound, and a looping stream keeps sounding across refills and loop points.
#include "audio/sound/Mixer.h"
#include "tests/audio/AudioTestKit.h"
#include "tests/common/TempFolder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sndfile.h>

using namespace AudioTestKit;
using Sound::Result;

namespace
{
// Seconds of sound one stream keeps queued ahead of the mix.
constexpr double StreamAhead =
    static_cast<double>(Sound::Detail::Mixer::StreamBuffers * Sound::Detail::Mixer::StreamChunkFrames) /
    ToneRate;

void WriteSilentWav(const std::string& path, int channels, int frames)
{
    SF_INFO info{};
    info.samplerate = ToneRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    std::vector<short> samples(static_cast<size_t>(channels * frames), 0);
    sf_writef_short(file, samples.data(), frames);
    sf_close(file);
}

class ClipTest : public testing::Test
{
protected:
    TempFolder folder;
    OfflineSystem system;
};
}   // namespace

TEST_F(ClipTest, FilesThatDoNotDecodeAreRefusedWithTheirReason)
{
    TempFolder::WriteFile(folder / "text.wav", "this is not a sound");
    TempFolder::WriteFile(folder / "truncated.wav", "RIFF\x24\x00\x00\x00WAVEfmt ");
    WriteSilentWav(folder / "empty.wav", 1, 0);
    WriteSilentWav(folder / "surround.wav", 6, 100);
    WriteTone(folder / "good.wav", 0.1);
    struct Case
    {
        const char* file;
        Result expected;
    };
    const Case cases[] = {
        {"missing.wav", Result::FileNotFound},
        {"text.wav", Result::FileUnreadable},
        {"truncated.wav", Result::FileUnreadable},
        {"empty.wav", Result::FileUnreadable},
        {"surround.wav", Result::FormatUnsupported},
        {"good.wav", Result::Ok},
        {"", Result::FileNotFound},
    };
    for (const Case& c : cases)
        for (Sound::Storage storage : {Sound::Storage::Sample, Sound::Storage::Stream})
        {
            Sound::Clip* clip = nullptr;
            EXPECT_EQ(system->CreateSound(folder / c.file, storage, Sound::Loop::Off, &clip), c.expected)
                << c.file << (storage == Sound::Storage::Stream ? " as a stream" : " as a sample");
            if (c.expected != Result::Ok)
                EXPECT_EQ(clip, nullptr) << c.file;
            else
                EXPECT_NEAR(clip->GetLength(), 0.1, 1e-4);
        }
}

TEST_F(ClipTest, StreamAndSampleOfOneFileSoundAlike)
{
    WriteTone(folder / "tone.wav", 1.0);
    Sound::Channel sample =
        system.Play(system.Load(folder / "tone.wav", Sound::Storage::Sample, Sound::Loop::Off));
    system.Render(0.05);
    const double sampleLevel = system.RenderRms(0.5);
    ASSERT_EQ(sample.Stop(), Result::Ok);

    system.Play(system.Load(folder / "tone.wav", Sound::Storage::Stream, Sound::Loop::Off));
    system.Render(0.05);
    EXPECT_NEAR(system.RenderRms(0.5), sampleLevel, 0.005 * sampleLevel);
}

TEST_F(ClipTest, LoopingStreamKeepsPlayingAcrossRefillsAndLoopPoints)
{
    // 200 whole cycles: the loop point falls on a zero crossing, the level stays flat.
    WriteTone(folder / "song.wav", 10000.0 / ToneRate);
    Sound::Clip* song = system.Load(folder / "song.wav", Sound::Storage::Stream, Sound::Loop::Normal);
    const Sound::Channel channel = system.Play(song);
    system.Render(0.05);
    const double level = system.RenderRms(0.2);
    ASSERT_GT(level, 0.1);

    // Ten times the song and four times what one fill holds, an update every game frame.
    const std::vector<double> chunks = system.RenderChunks(static_cast<int>(4 * StreamAhead * 60), 1.0 / 60);
    for (size_t i = 0; i < chunks.size(); ++i)
        ASSERT_NEAR(chunks[i], level, 0.03 * level) << "frame " << i << " of the looping stream";
    EXPECT_TRUE(IsPlaying(channel));
}

TEST_F(ClipTest, StreamThatRanDryResumesAtTheNextUpdate)
{
    WriteTone(folder / "song.wav", 1.0);
    const Sound::Channel channel =
        system.Play(system.Load(folder / "song.wav", Sound::Storage::Stream, Sound::Loop::Normal));
    system.Render(0.05);
    const double level = system.RenderRms(0.2);

    // A long hitch with no update: the queue runs out and the stream falls silent...
    system.Render(StreamAhead + 0.5);
    EXPECT_LT(system.RenderRms(0.1), 1e-6);
    EXPECT_TRUE(IsPlaying(channel)) << "a starved stream still has more to give";
    // ...and the next update feeds it and starts it again.
    ASSERT_EQ(system->Update(), Result::Ok);
    system.Render(0.05);
    EXPECT_NEAR(system.RenderRms(0.2), level, 0.03 * level);
}

TEST_F(ClipTest, OneShotStreamEndsAndFreesItsChannel)
{
    WriteTone(folder / "jingle.wav", 0.5);
    const Sound::Channel channel =
        system.Play(system.Load(folder / "jingle.wav", Sound::Storage::Stream, Sound::Loop::Off));
    const std::vector<double> chunks = system.RenderChunks(60, 1.0 / 60);   // one second
    EXPECT_GT(chunks[10], 0.1);
    EXPECT_LT(chunks.back(), 1e-6);
    EXPECT_FALSE(IsPlaying(channel));
}

TEST_F(ClipTest, ReleasingAClipStopsItsChannels)
{
    WriteTone(folder / "tone.wav", 1.0);
    Sound::Clip* clip = system.Load(folder / "tone.wav", Sound::Storage::Sample, Sound::Loop::Normal);
    Sound::Clip* other = system.Load(folder / "tone.wav", Sound::Storage::Stream, Sound::Loop::Normal);
    const Sound::Channel a = system.Play(clip);
    const Sound::Channel b = system.Play(clip, nullptr, true);
    const Sound::Channel c = system.Play(other);
    ASSERT_EQ(clip->Release(), Result::Ok);
    EXPECT_FALSE(IsPlaying(a));
    EXPECT_FALSE(IsPlaying(b));
    EXPECT_TRUE(IsPlaying(c));
    Sound::Channel none;
    EXPECT_EQ(system->PlaySound(clip, nullptr, false, &none), Result::InvalidParam)
        << "released clips are refused";
    EXPECT_TRUE(none.IsNull());
}
