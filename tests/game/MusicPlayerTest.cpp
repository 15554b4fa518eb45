// The music player: its saved form, and its song's life across scene changes, zero frame
// times and other players of the same song.
#include "game/MusicPlayer.h"
#include "audio/AudioPlayer.h"
#include "audio/AudioSystem.h"
#include "scene/ComponentRegistry.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "tests/audio/OfflineAudioTest.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>
#include <memory>

using namespace AudioTestKit;

TEST(MusicPlayerData, ReadsSongNameOrNameAndVolumeAndWritesThemBack)
{
    struct Case
    {
        const char* text;
        std::string song;
        float volume;
    };
    const Case cases[] = {
        {R"({"Type": "MusicPlayer", "SongName": "MenuSong", "Volume": 0.2})", "MenuSong", 0.2f},
        {R"({"Name": "LevelSong1"})", "LevelSong1", 0.5f},
        {R"({"SongName": "MenuSong", "Name": "LevelSong1"})", "MenuSong", 0.5f},
        {R"({"SongName": 5, "Name": "LevelSong1", "Volume": 1})", "LevelSong1", 1.0f},
        {R"({"SongName": null, "Volume": "loud"})", "Kept", 0.5f},
        {R"({"Volume": 2})", "Kept", 2.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        std::unique_ptr<Component> made(ComponentRegistry::Create("MusicPlayer"));
        auto* player = dynamic_cast<MusicPlayer*>(made.get());
        ASSERT_NE(player, nullptr) << "registered under its name";
        player->SongName = "Kept";
        player->Volume = 0.5f;
        player->Read(json::parse(c.text));
        EXPECT_EQ(player->SongName, c.song);
        EXPECT_FLOAT_EQ(player->Volume, c.volume);

        json written;
        player->Write(written);
        EXPECT_EQ(written.at("Type"), "MusicPlayer");
        EXPECT_EQ(written.at("SongName"), c.song);
        EXPECT_FLOAT_EQ(written.at("Volume").get<float>(), c.volume);
        EXPECT_TRUE(written.contains("StateCurrent") && written.contains("StateNext") &&
                    written.contains("Timer"));

        std::unique_ptr<Component> copy(player->Clone());
        auto* clone = dynamic_cast<MusicPlayer*>(copy.get());
        ASSERT_NE(clone, nullptr);
        EXPECT_EQ(clone->SongName, c.song);
        EXPECT_EQ(clone->Volume, player->Volume);
        EXPECT_EQ(clone->Parent, nullptr);
        EXPECT_TRUE(clone->Song().IsNull()) << "a copy starts nothing";
    }
}

TEST(MusicPlayerData, ReadingTheStateItWasInMakesItStartAgain)
{
    MusicPlayer player;
    player.Read(json::parse(R"({"StateCurrent": 0})"));   // current 0 = next 0, the default
    EXPECT_EQ(player.StateCurrent, -1);
    player.Read(json::parse(R"({"StateCurrent": 0, "StateNext": 1})"));
    EXPECT_EQ(player.StateCurrent, 0);
}

namespace
{
class MusicPlayerTest : public OfflineAudioTest
{
protected:
    // An entity as a scene file gives it: a music player reading its song.
    static Entity* MusicEntity(const std::string& song)
    {
        return Entity::CreateFromJSON(json::parse(R"({"Name": "Music", "Components": [
            {"Type": "MusicPlayer", "SongName": ")" +
                                                  song + R"("}]})"));
    }
    static MusicPlayer* PlayerOf(Entity* entity) { return entity->GetComponent<MusicPlayer>(); }

    // One frame of a scene: its entities updated, then the audio system's frame.
    void SceneFrame(EntityList& scene, float dt)
    {
        scene.Update(dt);
        Frame(dt);
    }
};
}   // namespace

TEST_F(MusicPlayerTest, SongStartsPausedPlaysWithTimeAndEndsWithItsScene)
{
    EntityList menu;
    menu.Add(MusicEntity("ToneMusic"));
    MusicPlayer* player = PlayerOf(menu.FindByName("Music"));
    EXPECT_TRUE(player->Song().IsNull()) << "nothing starts before the first update";

    SceneFrame(menu, 1.0f / 60);
    const Sound::Channel first = player->Song();
    EXPECT_TRUE(IsPlaying(first));
    EXPECT_FALSE(IsPaused(first));
    const double level = Level();
    EXPECT_GT(level, 0.1);

    // Leaving the scene stops the song; the next scene with the same song starts it anew.
    menu.Clear();
    EXPECT_FALSE(IsPlaying(first));
    EXPECT_LT(Level(), 1e-6);
    EntityList level1;
    level1.Add(MusicEntity("ToneMusic"));
    SceneFrame(level1, 1.0f / 60);
    const Sound::Channel second = PlayerOf(level1.FindByName("Music"))->Song();
    EXPECT_TRUE(IsPlaying(second));
    EXPECT_FALSE(second == first);
    EXPECT_NEAR(Level(), level, 0.01 * level);
}

TEST_F(MusicPlayerTest, NextSceneWithTheSameSongLetsItPlayOn)
{
    struct Case
    {
        const char* nextSong;
        bool onEntity;   // else a loose copy of a player, in no scene
        bool goesOn;
    };
    const Case cases[] = {
        {"ToneMusic", true, true},
        {"Tone", true, false},
        {"ToneMusic", false, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.nextSong) + (c.onEntity ? " on an entity" : " loose"));
        EntityList old;
        old.Add(MusicEntity("ToneMusic"));
        SceneFrame(old, 1.0f / 60);
        const Sound::Channel first = PlayerOf(old.FindByName("Music"))->Song();
        ASSERT_TRUE(IsPlaying(first));

        // As a scene change does it: the next scene is read before the old one goes.
        EntityList next;
        std::unique_ptr<MusicPlayer> loose;
        if (c.onEntity)
            next.Add(MusicEntity(c.nextSong));
        else
        {
            loose = std::make_unique<MusicPlayer>();
            loose->SongName = c.nextSong;
        }
        old.Clear();
        EXPECT_EQ(IsPlaying(first), c.goesOn);
        SceneFrame(next, 1.0f / 60);
        if (c.onEntity)
        {
            const Sound::Channel now = PlayerOf(next.FindByName("Music"))->Song();
            EXPECT_TRUE(IsPlaying(now));
            EXPECT_FALSE(IsPaused(now));
            EXPECT_EQ(now == first, c.goesOn);
        }
        next.Clear();
        loose.reset();
        EXPECT_FALSE(IsPlaying(first)) << "the song ends with the last player that had it";
        Frame(0.0f);
        EXPECT_TRUE(AudioSystem::GetInstance().PlayingChannels.empty());
    }
}

TEST_F(MusicPlayerTest, ZeroFrameTimeHoldsAnUnstartedSongAndNeverPausesAPlayingOne)
{
    EntityList scene;
    scene.Add(MusicEntity("ToneMusic"));
    MusicPlayer* player = PlayerOf(scene.FindByName("Music"));
    for (int frame = 0; frame < 10; ++frame)
        SceneFrame(scene, 0.0f);
    EXPECT_TRUE(IsPlaying(player->Song()));
    EXPECT_TRUE(IsPaused(player->Song())) << "time stood still from the first frame";
    EXPECT_LT(Level(), 1e-6);

    SceneFrame(scene, 1.0f / 60);
    EXPECT_FALSE(IsPaused(player->Song()));
    const double level = Level();
    EXPECT_GT(level, 0.1);
    for (int frame = 0; frame < 10; ++frame)
        SceneFrame(scene, 0.0f);
    EXPECT_FALSE(IsPaused(player->Song())) << "the editor's pause does not pause the song";
    EXPECT_NEAR(Level(), level, 0.01 * level);
}

TEST_F(MusicPlayerTest, PlayerTouchesOnlyTheSongItStarted)
{
    AudioPlayer* audio = AudioPlayer::GetInstance();
    EntityList scene;
    scene.Add(MusicEntity("ToneMusic"));
    Entity* second = MusicEntity("ToneMusic");
    second->Name = "Music2";
    scene.Add(second);
    SceneFrame(scene, 1.0f / 60);
    const Sound::Channel first = PlayerOf(scene.FindByName("Music"))->Song();
    const Sound::Channel other = PlayerOf(second)->Song();
    ASSERT_FALSE(first == other);
    ASSERT_TRUE(IsPlaying(first) && IsPlaying(other));

    // Someone else's paused copy of the song stays paused and outlives both players.
    const Sound::Channel foreign = audio->StartSound("ToneMusic", true, 1.0f);
    SceneFrame(scene, 1.0f / 60);
    EXPECT_TRUE(IsPaused(foreign));

    scene.RemoveByName("Music");
    EXPECT_FALSE(IsPlaying(first));
    EXPECT_TRUE(IsPlaying(other)) << "the other player's song plays on";
    scene.RemoveByName("Music2");
    EXPECT_FALSE(IsPlaying(other)) << "no loop is left that nothing can stop";
    EXPECT_TRUE(IsPlaying(foreign));
    ASSERT_EQ(Sound::Channel(foreign).Stop(), Sound::Result::Ok);
    Frame(0.0f);
    EXPECT_TRUE(AudioSystem::GetInstance().PlayingChannels.empty());
}

TEST_F(MusicPlayerTest, RestartingTheBehaviourReplacesItsSong)
{
    EntityList scene;
    scene.Add(MusicEntity("ToneMusic"));
    MusicPlayer* player = PlayerOf(scene.FindByName("Music"));
    SceneFrame(scene, 1.0f / 60);
    const Sound::Channel before = player->Song();
    player->StateCurrent = -1;   // the behaviour enters its state again
    SceneFrame(scene, 1.0f / 60);
    EXPECT_FALSE(IsPlaying(before));
    EXPECT_TRUE(IsPlaying(player->Song()));
    EXPECT_EQ(AudioSystem::GetInstance().PlayingChannels.size(), 1u);
}

TEST_F(MusicPlayerTest, MasterPauseIsNotUndoneByThePlayer)
{
    EntityList scene;
    scene.Add(MusicEntity("ToneMusic"));
    SceneFrame(scene, 1.0f / 60);
    AudioPlayer* audio = AudioPlayer::GetInstance();
    ASSERT_TRUE(audio->SetPaused(audio->MasterGroup, true));   // the window lost focus
    for (int frame = 0; frame < 5; ++frame)
        SceneFrame(scene, 1.0f / 60);
    EXPECT_LT(Level(), 1e-6);
    ASSERT_TRUE(audio->SetPaused(audio->MasterGroup, false));
    EXPECT_GT(Level(), 0.1);
}

TEST_F(MusicPlayerTest, NoSongOrAnUnknownSongPlaysNothingQuietly)
{
    std::vector<std::string> requests;
    AudioPlayer::GetInstance()->SetListener(
        [&](const std::string& name, bool, float) { requests.push_back(name); });
    TraceCapture trace;
    for (const char* song : {"", "NotASong"})
    {
        EntityList scene;
        scene.Add(MusicEntity(song));
        for (int frame = 0; frame < 3; ++frame)
            SceneFrame(scene, 1.0f / 60);
        EXPECT_TRUE(PlayerOf(scene.FindByName("Music"))->Song().IsNull()) << song;
    }
    EXPECT_EQ(requests, std::vector<std::string>{"NotASong"}) << "an empty name asks for nothing";
    EXPECT_TRUE(AudioSystem::GetInstance().PlayingChannels.empty());
    EXPECT_FALSE(trace.Contains("AUDIO")) << trace.All();
}
