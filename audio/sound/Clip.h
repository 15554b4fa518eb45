#pragma once
// A sound made by the system from one file: decoded whole into memory (a sample, for short
// effects) or decoded piece by piece while it plays (a stream, for songs), played once or
// looping. Any number of channels may play one clip at once. The system owns it: the pointer
// stays valid until Release or until the system closes.
#include "audio/sound/Result.h"

#include <cstdint>
#include <string>

namespace Sound
{
enum class Storage
{
    Sample,
    Stream,
};

enum class Loop
{
    Off,
    Normal,
};

namespace Detail
{
class Mixer;
}   // namespace Detail

class Clip
{
public:
    ~Clip();
    Clip(const Clip&) = delete;
    Clip& operator=(const Clip&) = delete;

    Result Release();   // stops every channel playing it and frees it

    const std::string& GetPath() const { return path; }
    Storage GetStorage() const { return storage; }
    Loop GetLoop() const { return loop; }
    int GetChannels() const { return channels; }
    int GetSampleRate() const { return sampleRate; }
    double GetLength() const
    {
        return sampleRate > 0 ? static_cast<double>(frames) / sampleRate : 0.0;
    }   // seconds

private:
    friend class Detail::Mixer;
    Clip(Detail::Mixer* mixer, std::string path, Storage storage, Loop loop)
        : mixer(mixer), path(std::move(path)), storage(storage), loop(loop)
    {
    }

    Detail::Mixer* mixer;
    std::string path;
    Storage storage;
    Loop loop;
    int channels = 0;
    int sampleRate = 0;
    int64_t frames = 0;
    unsigned int buffer = 0;   // the whole sound, for a sample
};
}   // namespace Sound
