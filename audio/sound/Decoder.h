#pragma once
// Reads a sound file as 16-bit frames through libsndfile. Implements WAV, OGG/Vorbis, FLAC and
// whatever else libsndfile reads, mono or stereo; a file without a single frame does not open.
#include "audio/sound/Result.h"

#include <cstdint>
#include <memory>
#include <string>

typedef struct sf_private_tag SNDFILE;

namespace Sound
{
class Decoder
{
public:
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    // A decoder at the file's first frame, or the reason there is none (out untouched).
    static Result Open(const std::string& path, std::unique_ptr<Decoder>& out);

    int Channels() const { return channels; }
    int SampleRate() const { return sampleRate; }
    int64_t Frames() const { return frames; }

    // Reads up to count frames of interleaved samples; 0 at the end of the file.
    int64_t Read(int16_t* samples, int64_t count);
    bool Rewind();

private:
    Decoder() = default;

    SNDFILE* file = nullptr;
    int channels = 0;
    int sampleRate = 0;
    int64_t frames = 0;
};
}   // namespace Sound
