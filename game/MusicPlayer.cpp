#include "game/MusicPlayer.h"

#include "audio/AudioPlayer.h"
#include "audio/SoundReport.h"

MusicPlayer::MusicPlayer(const MusicPlayer& other)
    : Behavior(other), SongName(other.SongName), Volume(other.Volume)
{
}

MusicPlayer::~MusicPlayer() { StopSong(); }

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
