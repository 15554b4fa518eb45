#include "game/MusicPlayer.h"

#include "audio/AudioPlayer.h"
#include "audio/SoundReport.h"

#include <algorithm>
#include <vector>

namespace
{
// Every music player alive, so one that goes can find the one that takes its song on. Never
// freed: a player held by another static may be destroyed after this list would have been.
std::vector<MusicPlayer*>& LivePlayers()
{
    static auto* players = new std::vector<MusicPlayer*>();
    return *players;
}
}   // namespace

MusicPlayer::MusicPlayer() { LivePlayers().push_back(this); }

MusicPlayer::MusicPlayer(const MusicPlayer& other)
    : Behavior(other), SongName(other.SongName), Volume(other.Volume)
{
    LivePlayers().push_back(this);
}

MusicPlayer::~MusicPlayer()
{
    auto& players = LivePlayers();
    players.erase(std::remove(players.begin(), players.end(), this), players.end());
    bool playing = false;
    MusicPlayer* heir = song.IsNull() ? nullptr : WaitingHeir();
    if (heir && song.IsPlaying(&playing) == Sound::Result::Ok && playing)
    {
        heir->song = song;
        heir->inherited = true;
        song = {};
    }
    StopSong();
}

MusicPlayer* MusicPlayer::WaitingHeir() const
{
    // Only a player on an entity whose behaviour has not started yet: a copy standing outside
    // any scene, or one already playing, never takes a song over.
    for (MusicPlayer* other : LivePlayers())
        if (other != this && other->Parent && other->StateCurrent == -1 && other->song.IsNull() &&
            !SongName.empty() && other->SongName == SongName)
            return other;
    return nullptr;
}

Component* MusicPlayer::Clone() const { return new MusicPlayer(*this); }

void MusicPlayer::Write(json& out) const
{
    Behavior::Write(out);
    out["Type"] = "MusicPlayer";
    out["SongName"] = SongName;
    out["Volume"] = Volume;
}

void MusicPlayer::Read(const json& in)
{
    Behavior::Read(in);
    // A value of another type is reported and leaves its field as it was; "Name" is the older
    // key of the song, read when "SongName" gives none.
    const std::string where = "COMPONENT: [MusicPlayer]";
    if (!ReadKeyOrKeep(in, "SongName", SongName, where))
        ReadKeyOrKeep(in, "Name", SongName, where);
    ReadKeyOrKeep(in, "Volume", Volume, where);
    // Entering the saved state afresh replays OnInit, which starts the song.
    if (StateCurrent == StateNext)
        StateCurrent = -1;
}

void MusicPlayer::OnInit()
{
    bool playing = false;
    const bool goesOn = inherited && song.IsPlaying(&playing) == Sound::Result::Ok && playing;
    inherited = false;
    if (goesOn)
        return;
    // Should the behaviour start over, the song it already started must not be left behind.
    StopSong();
    if (!SongName.empty())
        song = AudioPlayer::GetInstance()->StartSound(SongName, true, 1.0f);
}

void MusicPlayer::OnUpdate(float)
{
    bool paused = false;
    if (song.GetPaused(&paused) == Sound::Result::Ok && paused)
        SoundOk(song.SetPaused(false), "resume song " + SongName);
}

void MusicPlayer::StopSong()
{
    // A song that already ended (or a system already closed) has nothing left to stop.
    const Sound::Result stopped = song.Stop();
    if (stopped != Sound::Result::InvalidHandle)
        SoundOk(stopped, "stop song " + SongName);
    song = {};
}
