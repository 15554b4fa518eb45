#include "audio/sound/Mixer.h"

#include "audio/sound/DeviceOutput.h"
#include "audio/sound/OfflineOutput.h"
#include "audio/sound/System.h"

#include <AL/al.h>
#include <algorithm>
#include <cmath>

namespace Sound::Detail
{
namespace
{
bool IsValidVolume(float volume) { return std::isfinite(volume) && volume >= 0.0f; }

ALenum FormatFor(int channels) { return channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16; }

ALint SourceState(unsigned int source)
{
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

// Every start takes a new number from this one counter, so a number names one sound only,
// whichever slot and whichever system it played in.
uint32_t NextGeneration()
{
    static uint32_t counter = 0;
    if (++counter == 0)
        ++counter;
    return counter;
}
}   // namespace

Mixer::~Mixer()
{
    if (output)
        Close();
}

void Mixer::MakeCurrent()
{
    if (output && alcGetCurrentContext() != output->Context())
        alcMakeContextCurrent(output->Context());
}

Result Mixer::AlStatus() { return alGetError() == AL_NO_ERROR ? Result::Ok : Result::BackendFailure; }

Result Mixer::Init(int maxChannels, OutputChoice choice)
{
    if (output)
        return Result::AlreadyInitialised;
    if (maxChannels < 1 || maxChannels > 4096)
        return Result::InvalidParam;
    std::unique_ptr<Output> opened;
    if (choice == OutputChoice::DeviceOrOffline)
    {
        opened = std::make_unique<DeviceOutput>();
        if (opened->Open() != Result::Ok)
            opened.reset();
    }
    if (!opened)
    {
        opened = std::make_unique<OfflineOutput>();
        if (opened->Open() != Result::Ok)
            return Result::NoOutput;
    }
    output = std::move(opened);
    MakeCurrent();
    alGetError();
    // Every sound is flat: no distance, no position, no listener movement.
    alDistanceModel(AL_NONE);
    voices.resize(static_cast<size_t>(maxChannels));
    size_t made = 0;
    for (; made < voices.size(); ++made)
    {
        Voice& voice = voices[made];
        alGenSources(1, &voice.source);
        if (alGetError() != AL_NO_ERROR)
            break;
        alGenBuffers(StreamBuffers, voice.buffers.data());
        if (alGetError() != AL_NO_ERROR)
        {
            alDeleteSources(1, &voice.source);
            break;
        }
        alSourcei(voice.source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(voice.source, AL_POSITION, 0.0f, 0.0f, 0.0f);
        alSourcef(voice.source, AL_MAX_GAIN, 16.0f);
    }
    // The device may give fewer sources than asked; the table is as long as it allows.
    voices.resize(made);
    alGetError();
    groups.push_back(std::unique_ptr<ChannelGroup>(new ChannelGroup(this, "Master", nullptr)));
    if (voices.empty())
    {
        Close();
        return Result::BackendFailure;
    }
    return Result::Ok;
}

Result Mixer::Close()
{
    if (!output)
        return Result::NotInitialised;
    MakeCurrent();
    for (Voice& voice : voices)
    {
        Finish(voice);
        alDeleteSources(1, &voice.source);
        alDeleteBuffers(StreamBuffers, voice.buffers.data());
    }
    voices.clear();
    for (const auto& clip : clips)
        if (clip->buffer)
            alDeleteBuffers(1, &clip->buffer);
    clips.clear();
    groups.clear();
    alGetError();
    output.reset();
    return Result::Ok;
}

Result Mixer::Render(float* stereo, int frames)
{
    if (!output)
        return Result::NotInitialised;
    return output->Render(stereo, frames);
}

Result Mixer::Update()
{
    if (!output)
        return Result::NotInitialised;
    MakeCurrent();
    for (Voice& voice : voices)
    {
        Refresh(voice);
        if (!voice.active || voice.clip->storage != Storage::Stream)
            continue;
        FeedStream(voice);
        // A stream that ran dry between two updates stopped by itself: start it again.
        if (voice.active && SourceState(voice.source) == AL_STOPPED)
            Apply(voice);
    }
    return AlStatus();
}

bool Mixer::Owns(const ChannelGroup* group) const
{
    return group &&
           std::any_of(groups.begin(), groups.end(), [&](const auto& g) { return g.get() == group; });
}

bool Mixer::Owns(const Clip* clip) const
{
    return clip && std::any_of(clips.begin(), clips.end(), [&](const auto& c) { return c.get() == clip; });
}

Result Mixer::CreateGroup(const std::string& name, ChannelGroup** out)
{
    if (!output)
        return Result::NotInitialised;
    if (!out)
        return Result::InvalidParam;
    groups.push_back(std::unique_ptr<ChannelGroup>(new ChannelGroup(this, name, nullptr)));
    Attach(Master(), groups.back().get());
    *out = groups.back().get();
    return Result::Ok;
}

Result Mixer::CreateClip(const std::string& path, Storage storage, Loop loop, Clip** out)
{
    if (!output)
        return Result::NotInitialised;
    if (!out)
        return Result::InvalidParam;
    std::unique_ptr<Decoder> decoder;
    if (const Result opened = Decoder::Open(path, decoder); opened != Result::Ok)
        return opened;
    std::unique_ptr<Clip> clip(new Clip(this, path, storage, loop));
    clip->channels = decoder->Channels();
    clip->sampleRate = decoder->SampleRate();
    clip->frames = decoder->Frames();
    if (storage == Storage::Sample)
    {
        // The frame count in a header is a promise only: read until the decoder stops.
        std::vector<int16_t> samples;
        int64_t frames = 0;
        for (;;)
        {
            samples.resize(static_cast<size_t>((frames + StreamChunkFrames) * clip->channels));
            const int64_t got = decoder->Read(samples.data() + frames * clip->channels, StreamChunkFrames);
            if (got <= 0)
                break;
            frames += got;
        }
        if (frames == 0)
            return Result::FileUnreadable;
        MakeCurrent();
        alGetError();
        alGenBuffers(1, &clip->buffer);
        alBufferData(clip->buffer, FormatFor(clip->channels), samples.data(),
                     static_cast<ALsizei>(frames * clip->channels * sizeof(int16_t)), clip->sampleRate);
        if (AlStatus() != Result::Ok)
        {
            alDeleteBuffers(1, &clip->buffer);
            alGetError();
            return Result::BackendFailure;
        }
        clip->frames = frames;
    }
    clips.push_back(std::move(clip));
    *out = clips.back().get();
    return Result::Ok;
}

Result Mixer::ReleaseClip(Clip* clip)
{
    if (!Owns(clip))
        return Result::InvalidParam;
    MakeCurrent();
    for (Voice& voice : voices)
        if (voice.active && voice.clip == clip)
            Finish(voice);
    if (clip->buffer)
        alDeleteBuffers(1, &clip->buffer);
    clips.erase(std::find_if(clips.begin(), clips.end(), [&](const auto& c) { return c.get() == clip; }));
    return AlStatus();
}

Mixer::Voice& Mixer::TakeVoice()
{
    Voice* oldest = nullptr;
    for (Voice& voice : voices)
    {
        Refresh(voice);
        if (!voice.active)
            return voice;
        if (!oldest || voice.order < oldest->order)
            oldest = &voice;
    }
    Finish(*oldest);
    return *oldest;
}

Result Mixer::Play(Clip* clip, ChannelGroup* group, bool paused, Channel* out)
{
    if (!output)
        return Result::NotInitialised;
    if (!Owns(clip) || (group && !Owns(group)))
        return Result::InvalidParam;
    if (!group)
        group = Master();
    std::unique_ptr<Decoder> decoder;
    if (clip->storage == Storage::Stream)
        if (const Result opened = Decoder::Open(clip->path, decoder); opened != Result::Ok)
            return opened;
    MakeCurrent();
    alGetError();
    Voice& voice = TakeVoice();
    alSourceRewind(voice.source);   // back to the initial state: not started, not ended
    alSourcei(voice.source, AL_LOOPING,
              clip->storage == Storage::Sample && clip->loop == Loop::Normal ? AL_TRUE : AL_FALSE);
    voice.active = true;
    voice.generation = NextGeneration();
    voice.order = ++playCount;
    voice.paused = paused;
    voice.volume = 1.0f;
    voice.clip = clip;
    voice.group = group;
    voice.decoder = std::move(decoder);
    voice.decoderDone = false;
    if (clip->storage == Storage::Sample)
        alSourcei(voice.source, AL_BUFFER, static_cast<ALint>(clip->buffer));
    else
        for (unsigned int buffer : voice.buffers)
            if (FillBuffer(voice, buffer))
                alSourceQueueBuffers(voice.source, 1, &buffer);
    Result status = AlStatus();
    ALint queued = 0;
    alGetSourcei(voice.source, AL_BUFFERS_QUEUED, &queued);
    if (status == Result::Ok && queued == 0)
        status = Result::FileUnreadable;
    if (status != Result::Ok)
    {
        Finish(voice);
        return status;
    }
    Apply(voice);
    if (out)
        *out = Channel(weak_from_this(), static_cast<int>(&voice - voices.data()), voice.generation);
    return AlStatus();
}

Mixer::Voice* Mixer::Find(int slot, uint32_t generation)
{
    if (!output || slot < 0 || slot >= static_cast<int>(voices.size()))
        return nullptr;
    Voice& voice = voices[static_cast<size_t>(slot)];
    if (!voice.active || voice.generation != generation)
        return nullptr;
    MakeCurrent();
    Refresh(voice);
    return voice.active ? &voice : nullptr;
}

void Mixer::Refresh(Voice& voice)
{
    if (!voice.active || SourceState(voice.source) != AL_STOPPED)
        return;
    // A stream that ran dry but has more to give is only waiting for the next update.
    if (voice.clip->storage == Storage::Stream && !voice.decoderDone)
        return;
    Finish(voice);
}

void Mixer::Apply(Voice& voice)
{
    alSourcef(voice.source, AL_GAIN, voice.volume * voice.group->AudibleVolume());
    const ALint state = SourceState(voice.source);
    if (voice.paused || voice.group->IsSilenced())
    {
        if (state == AL_PLAYING)
            alSourcePause(voice.source);
        return;
    }
    if (state == AL_PLAYING)
        return;
    if (state == AL_STOPPED)
    {
        // Only a starved stream is still active while stopped: refill it before it restarts.
        FeedStream(voice);
        if (!voice.active)
            return;
    }
    alSourcePlay(voice.source);
}

void Mixer::Finish(Voice& voice)
{
    if (!voice.active)
        return;
    alSourceStop(voice.source);
    alSourcei(voice.source, AL_BUFFER, 0);
    voice.active = false;
    voice.clip = nullptr;
    voice.group = nullptr;
    voice.decoder.reset();
    voice.decoderDone = false;
}

bool Mixer::FillBuffer(Voice& voice, unsigned int buffer)
{
    const int channels = voice.clip->channels;
    scratch.resize(static_cast<size_t>(StreamChunkFrames * channels));
    int64_t got = 0;
    bool rewound = false;
    while (got < StreamChunkFrames && !voice.decoderDone)
    {
        const int64_t read = voice.decoder->Read(scratch.data() + got * channels, StreamChunkFrames - got);
        if (read > 0)
        {
            got += read;
            rewound = false;
        }
        else if (voice.clip->loop == Loop::Normal && !rewound && voice.decoder->Rewind())
            rewound = true;   // a second empty read right after a rewind means an empty file
        else
            voice.decoderDone = true;
    }
    if (got == 0)
        return false;
    alBufferData(buffer, FormatFor(channels), scratch.data(),
                 static_cast<ALsizei>(got * channels * sizeof(int16_t)), voice.clip->sampleRate);
    return true;
}

void Mixer::FeedStream(Voice& voice)
{
    ALint processed = 0;
    alGetSourcei(voice.source, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed)
    {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(voice.source, 1, &buffer);
        if (FillBuffer(voice, buffer))
            alSourceQueueBuffers(voice.source, 1, &buffer);
    }
    ALint queued = 0;
    alGetSourcei(voice.source, AL_BUFFERS_QUEUED, &queued);
    if (queued == 0)
        Finish(voice);
}

template <typename T> Result Mixer::ReadField(int slot, uint32_t generation, T Voice::*field, T* out)
{
    if (!out)
        return Result::InvalidParam;
    const Voice* voice = Find(slot, generation);
    if (!voice)
        return Result::InvalidHandle;
    *out = voice->*field;
    return Result::Ok;
}

template <typename T> Result Mixer::WriteField(int slot, uint32_t generation, T Voice::*field, T value)
{
    Voice* voice = Find(slot, generation);
    if (!voice)
        return Result::InvalidHandle;
    voice->*field = value;
    Apply(*voice);
    return AlStatus();
}

Result Mixer::SetVolume(int slot, uint32_t generation, float volume)
{
    return IsValidVolume(volume) ? WriteField(slot, generation, &Voice::volume, volume)
                                 : Result::InvalidParam;
}

Result Mixer::GetVolume(int slot, uint32_t generation, float* volume)
{
    return ReadField(slot, generation, &Voice::volume, volume);
}

Result Mixer::SetPaused(int slot, uint32_t generation, bool paused)
{
    return WriteField(slot, generation, &Voice::paused, paused);
}

Result Mixer::GetPaused(int slot, uint32_t generation, bool* paused)
{
    return ReadField(slot, generation, &Voice::paused, paused);
}

Result Mixer::IsPlaying(int slot, uint32_t generation, bool* playing)
{
    if (!playing)
        return Result::InvalidParam;
    *playing = Find(slot, generation) != nullptr;
    return Result::Ok;
}

Result Mixer::Stop(int slot, uint32_t generation)
{
    Voice* voice = Find(slot, generation);
    if (!voice)
        return Result::InvalidHandle;
    Finish(*voice);
    return AlStatus();
}

template <typename Action> Result Mixer::ForEachVoiceWithin(ChannelGroup* group, Action action)
{
    if (!output || !Owns(group))
        return Result::InvalidHandle;
    MakeCurrent();
    for (Voice& voice : voices)
    {
        Refresh(voice);
        if (voice.active && voice.group->IsWithin(group))
            action(voice);
    }
    return AlStatus();
}

Result Mixer::ApplyGroup(ChannelGroup* group)
{
    return ForEachVoiceWithin(group, [this](Voice& voice) { Apply(voice); });
}

Result Mixer::StopGroup(ChannelGroup* group)
{
    return ForEachVoiceWithin(group, [this](Voice& voice) { Finish(voice); });
}

void Mixer::Attach(ChannelGroup* parent, ChannelGroup* child)
{
    if (child->parent)
    {
        auto& siblings = child->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), child), siblings.end());
    }
    child->parent = parent;
    if (parent)
        parent->children.push_back(child);
}

Result Mixer::MoveGroup(ChannelGroup* parent, ChannelGroup* child)
{
    if (!Owns(parent) || !Owns(child) || child == Master() || parent->IsWithin(child))
        return Result::InvalidParam;
    Attach(parent, child);
    return ApplyGroup(child);
}

Result Mixer::ReleaseGroup(ChannelGroup* group)
{
    if (!Owns(group) || group == Master())
        return Result::InvalidParam;
    MakeCurrent();
    for (Voice& voice : voices)
        if (voice.active && voice.group == group)
            Finish(voice);
    ChannelGroup* parent = group->parent;
    Attach(nullptr, group);
    const std::vector<ChannelGroup*> orphans = group->children;
    for (ChannelGroup* child : orphans)
        Attach(parent, child);
    groups.erase(std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.get() == group; }));
    Result status = Result::Ok;
    for (ChannelGroup* child : orphans)
        if (const Result applied = ApplyGroup(child); applied != Result::Ok)
            status = applied;
    return status;
}
}   // namespace Sound::Detail
