#include "audio/sound/System.h"

#include "audio/sound/Mixer.h"

namespace Sound
{
System::System() : mixer(std::make_shared<Detail::Mixer>()) {}

System::~System() = default;

Result System::Create(System** out)
{
    if (!out)
        return Result::InvalidParam;
    *out = new System();
    return Result::Ok;
}

Result System::Init(int maxChannels, OutputChoice choice) { return mixer->Init(maxChannels, choice); }

Result System::Update() { return mixer->Update(); }

Result System::Close() { return mixer->Close(); }

Result System::Release()
{
    if (mixer->IsOpen())
        mixer->Close();
    delete this;
    return Result::Ok;
}

Result System::GetMasterChannelGroup(ChannelGroup** out)
{
    if (!mixer->IsOpen())
        return Result::NotInitialised;
    if (!out)
        return Result::InvalidParam;
    *out = mixer->Master();
    return Result::Ok;
}

Result System::CreateChannelGroup(const std::string& name, ChannelGroup** out)
{
    return mixer->CreateGroup(name, out);
}

Result System::CreateSound(const std::string& path, Storage storage, Loop loop, Clip** out)
{
    return mixer->CreateClip(path, storage, loop, out);
}

Result System::PlaySound(Clip* clip, ChannelGroup* group, bool paused, Channel* out)
{
    return mixer->Play(clip, group, paused, out);
}

bool System::IsOpen() const { return mixer->IsOpen(); }

bool System::IsOffline() const { return mixer->IsOpen() && mixer->GetOutput()->IsOffline(); }

const char* System::GetOutputName() const { return mixer->IsOpen() ? mixer->GetOutput()->Name() : "none"; }

int System::GetOutputRate() const { return mixer->IsOpen() ? mixer->GetOutput()->SampleRate() : 0; }

int System::GetMaxChannels() const { return mixer->MaxChannels(); }

Result System::Render(float* stereo, int frames) { return mixer->Render(stereo, frames); }
}   // namespace Sound
