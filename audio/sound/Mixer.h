#pragma once
// The sound system's insides, private to the sound layer: the output, one OpenAL source per
// channel slot, the group tree and the clips. The public classes forward here; channel calls
// arrive by slot and generation and are refused when the generation moved on.
#include "audio/sound/Channel.h"
#include "audio/sound/ChannelGroup.h"
#include "audio/sound/Clip.h"
#include "audio/sound/Decoder.h"
#include "audio/sound/Output.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Sound
{
enum class OutputChoice;

namespace Detail
{
class Mixer : public std::enable_shared_from_this<Mixer>
{
public:
    static constexpr int StreamBuffers = 4;
    static constexpr int StreamChunkFrames = 8192;

    Mixer() = default;
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    Result Init(int maxChannels, OutputChoice choice);
    Result Close();
    Result Update();
    Result Render(float* stereo, int frames);
    bool IsOpen() const { return output != nullptr; }
    const Output* GetOutput() const { return output.get(); }
    int MaxChannels() const { return static_cast<int>(voices.size()); }

    ChannelGroup* Master() const { return groups.empty() ? nullptr : groups.front().get(); }
    Result CreateGroup(const std::string& name, ChannelGroup** out);
    Result CreateClip(const std::string& path, Storage storage, Loop loop, Clip** out);
    Result Play(Clip* clip, ChannelGroup* group, bool paused, Channel* out);

    // Channel calls by slot and generation.
    Result SetVolume(int slot, uint32_t generation, float volume);
    Result GetVolume(int slot, uint32_t generation, float* volume);
    Result SetPaused(int slot, uint32_t generation, bool paused);
    Result GetPaused(int slot, uint32_t generation, bool* paused);
    Result IsPlaying(int slot, uint32_t generation, bool* playing);
    Result Stop(int slot, uint32_t generation);

    // Group and clip calls.
    Result ApplyGroup(ChannelGroup* group);   // after a volume or pause change
    Result StopGroup(ChannelGroup* group);
    Result MoveGroup(ChannelGroup* parent, ChannelGroup* child);
    Result ReleaseGroup(ChannelGroup* group);
    Result ReleaseClip(Clip* clip);

private:
    struct Voice
    {
        unsigned int source = 0;
        std::array<unsigned int, StreamBuffers> buffers{};
        uint32_t generation = 1;
        bool active = false;
        bool paused = false;
        float volume = 1.0f;
        Clip* clip = nullptr;
        ChannelGroup* group = nullptr;
        uint64_t order = 0;   // when it started: the smallest is stolen first
        std::unique_ptr<Decoder> decoder;
        bool decoderDone = false;
    };

    template <typename T> Result ReadField(int slot, uint32_t generation, T Voice::*field, T* out);
    template <typename T> Result WriteField(int slot, uint32_t generation, T Voice::*field, T value);
    template <typename Action> Result ForEachVoiceWithin(ChannelGroup* group, Action action);
    void Attach(ChannelGroup* parent, ChannelGroup* child);   // moves child from its old parent
    void MakeCurrent();
    Voice* Find(int slot, uint32_t generation);   // the live voice of a handle, ended ones retired
    void Refresh(Voice& voice);                   // retires the voice if its sound ended
    void Apply(Voice& voice);                     // gain and pause from the voice and its groups
    void Finish(Voice& voice);                    // stops and frees the slot; old handles go stale
    Voice& TakeVoice();
    bool FillBuffer(Voice& voice, unsigned int buffer);
    void FeedStream(Voice& voice);
    bool Owns(const ChannelGroup* group) const;
    bool Owns(const Clip* clip) const;
    Result AlStatus();

    std::unique_ptr<Output> output;
    std::vector<Voice> voices;
    std::vector<std::unique_ptr<ChannelGroup>> groups;   // the master first
    std::vector<std::unique_ptr<Clip>> clips;
    std::vector<int16_t> scratch;
    uint64_t playCount = 0;
};
}   // namespace Detail
}   // namespace Sound
