#include "tests/audio/AudioTestKit.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sndfile.h>

namespace AudioTestKit
{
void WriteWav(const std::string& path, int rate, int channels, const std::vector<int16_t>& samples)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << "cannot write " << path;
    const auto frames = static_cast<sf_count_t>(samples.size() / static_cast<size_t>(channels));
    EXPECT_EQ(sf_writef_short(file, samples.data(), frames), frames);
    sf_close(file);
}

void WriteTone(const std::string& path, double seconds, float peak)
{
    std::vector<int16_t> samples(static_cast<size_t>(std::lround(seconds * ToneRate)));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] =
            static_cast<int16_t>(std::lround(peak * 32767.0 * std::sin(2.0 * M_PI * ToneHz * i / ToneRate)));
    WriteWav(path, ToneRate, 1, samples);
}

double Rms(const std::vector<float>& stereo)
{
    const size_t frames = stereo.size() / 2;
    if (frames == 0)
        return 0.0;
    double sum = 0.0;
    for (size_t i = 0; i < frames; ++i)
        sum += static_cast<double>(stereo[2 * i]) * stereo[2 * i];
    return std::sqrt(sum / static_cast<double>(frames));
}

OfflineSystem::OfflineSystem()
{
    EXPECT_EQ(Sound::System::Create(&system), Sound::Result::Ok);
    EXPECT_EQ(system->Init(64, Sound::OutputChoice::OfflineOnly), Sound::Result::Ok);
}

OfflineSystem::~OfflineSystem() { system->Release(); }

std::vector<float> OfflineSystem::Render(double seconds)
{
    std::vector<float> stereo(2 * static_cast<size_t>(std::lround(seconds * system->GetOutputRate())));
    EXPECT_EQ(system->Render(stereo.data(), static_cast<int>(stereo.size() / 2)), Sound::Result::Ok);
    return stereo;
}

std::vector<double> OfflineSystem::RenderChunks(int chunks, double secondsEach, bool update)
{
    std::vector<double> levels;
    for (int i = 0; i < chunks; ++i)
    {
        levels.push_back(RenderRms(secondsEach));
        if (update)
        {
            EXPECT_EQ(system->Update(), Sound::Result::Ok);
        }
    }
    return levels;
}

Sound::ChannelGroup* OfflineSystem::Master()
{
    Sound::ChannelGroup* master = nullptr;
    EXPECT_EQ(system->GetMasterChannelGroup(&master), Sound::Result::Ok);
    return master;
}

Sound::Clip* OfflineSystem::Load(const std::string& path, Sound::Storage storage, Sound::Loop loop)
{
    Sound::Clip* clip = nullptr;
    EXPECT_EQ(system->CreateSound(path, storage, loop, &clip), Sound::Result::Ok) << path;
    return clip;
}

Sound::Channel OfflineSystem::Play(Sound::Clip* clip, Sound::ChannelGroup* group, bool paused)
{
    Sound::Channel channel;
    EXPECT_EQ(system->PlaySound(clip, group, paused, &channel), Sound::Result::Ok);
    return channel;
}

bool IsPlaying(const Sound::Channel& channel)
{
    bool playing = false;
    return channel.IsPlaying(&playing) == Sound::Result::Ok && playing;
}
bool IsPaused(const Sound::Channel& channel)
{
    bool paused = false;
    return channel.GetPaused(&paused) == Sound::Result::Ok && paused;
}

}   // namespace AudioTestKit
