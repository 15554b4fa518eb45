#pragma once
// Helpers for tests that listen to the offline mixer: small sound files written on the spot,
// an offline sound system that frees itself, and level measurements of the rendered mix.
#include "audio/sound/System.h"

#include <cstdint>
#include <string>
#include <vector>

namespace AudioTestKit
{
constexpr int ToneRate = 22050;
constexpr double ToneHz = 441.0;   // exactly 50 samples a cycle at ToneRate

// A 16-bit WAV of interleaved samples.
void WriteWav(const std::string& path, int rate, int channels, const std::vector<int16_t>& samples);
// A mono 16-bit WAV of a sine at ToneHz with the given peak.
void WriteTone(const std::string& path, double seconds, float peak = 0.5f);

// The RMS of one stereo render's left channel.
double Rms(const std::vector<float>& stereo);

// An offline system with 64 channels, opened in the constructor and released at the end.
class OfflineSystem
{
public:
    OfflineSystem();
    ~OfflineSystem();
    OfflineSystem(const OfflineSystem&) = delete;
    OfflineSystem& operator=(const OfflineSystem&) = delete;

    Sound::System* operator->() const { return system; }
    Sound::System* Get() const { return system; }

    std::vector<float> Render(double seconds);   // interleaved stereo
    double RenderRms(double seconds) { return Rms(Render(seconds)); }
    // Renders in chunks with an Update after each and gives the RMS of every chunk.
    std::vector<double> RenderChunks(int chunks, double secondsEach, bool update = true);

    Sound::ChannelGroup* Master();
    Sound::Clip* Load(const std::string& path, Sound::Storage storage, Sound::Loop loop);
    Sound::Channel Play(Sound::Clip* clip, Sound::ChannelGroup* group = nullptr, bool paused = false);

private:
    Sound::System* system = nullptr;
};

bool IsPlaying(const Sound::Channel& channel);   // false on any failure
bool IsPaused(const Sound::Channel& channel);    // the channel's own flag; false on any failure

}   // namespace AudioTestKit
