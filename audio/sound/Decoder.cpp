#include "audio/sound/Decoder.h"

#include <filesystem>
#include <sndfile.h>

namespace Sound
{
Decoder::~Decoder()
{
    if (file)
        sf_close(file);
}

Result Decoder::Open(const std::string& path, std::unique_ptr<Decoder>& out)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return Result::FileNotFound;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return Result::FileUnreadable;
    std::unique_ptr<Decoder> decoder(new Decoder());
    decoder->file = file;
    decoder->channels = info.channels;
    decoder->sampleRate = info.samplerate;
    decoder->frames = info.frames;
    if (info.channels < 1 || info.samplerate <= 0 || info.frames <= 0)
        return Result::FileUnreadable;
    if (info.channels > 2)
        return Result::FormatUnsupported;
    out = std::move(decoder);
    return Result::Ok;
}

int64_t Decoder::Read(int16_t* samples, int64_t count)
{
    if (count <= 0)
        return 0;
    const sf_count_t got = sf_readf_short(file, samples, count);
    return got > 0 ? got : 0;
}

bool Decoder::Rewind() { return sf_seek(file, 0, SEEK_SET) == 0; }
}   // namespace Sound
