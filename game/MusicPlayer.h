#pragma once
// Gives a scene its background song: when its behaviour starts it starts the registry sound
// named by SongName, paused; the first update with time running (dt > 0) lets it play, and any
// later one resumes it should it be paused; destroying the component stops it. The player
// touches only the channel it started, so two players of one song each stop their own, and a
// song started by someone else is never stopped here. One exception keeps a song going across a
// scene change: a player destroyed while another one of the same song waits to start (the next
// scene, loaded before the old one goes) hands its channel over instead of stopping it, and
// that player goes on with it rather than starting the song afresh. The master group's pause
// is not its business: it never undoes it. Volume is kept and saved; the music group sets the
// loudness.
#include "audio/sound/Channel.h"
#include "scene/Behavior.h"

#include <string>

class MusicPlayer : public Behavior
{
public:
    MusicPlayer();
    MusicPlayer(const MusicPlayer& other);   // same song and volume; starts nothing
    ~MusicPlayer() override;                 // stops its own song, or hands it over (above)
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    Component* Clone() const override;
    void Write(json& out) const override;   // the behaviour keys, "Type", "SongName", "Volume"
    void Read(const json& in) override;     // "SongName" (else "Name") if a text; "Volume" if a number

    std::string GetName() const override { return "MusicPlayer"; }
    void OnInit() override;
    void OnUpdate(float dt) override;
    void OnExit() override {}

    const Sound::Channel& Song() const { return song; }   // the channel it started, if any

    std::string SongName;
    float Volume = 1.0f;

private:
    void StopSong();
    MusicPlayer* WaitingHeir() const;   // a player of the same song yet to start, if any

    Sound::Channel song;
    bool inherited = false;   // song came from a player of the scene before
};
