// The game's songs: each screen's song is in the sound registry, decodes through the sound
// layer's own decoder to the length the file promises and lasts as long as its screen needs;
// every song's last frame leads into its first no more sharply than its neighbouring frames
// lead into each other, in the file and in the mix the music player makes of it; songs heard
// one after another sit at one level, no effect stands out above the other sounds at the volume
// it is played at, and nothing clips; and moving between menu screens that name the same song
// leaves it playing.
#include "audio/AudioPlayer.h"
#include "audio/AudioRegistry.h"
#include "audio/AudioSystem.h"
#include "audio/sound/Decoder.h"
#include "engine/DataPath.h"
#include "game/MusicPlayer.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"
#include "tests/audio/AudioTestKit.h"
#include "tests/common/SceneFlowFixture.h"
#include "tests/common/TempFolder.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <numeric>

namespace
{
json ReadData(const std::string& file)
{
    std::ifstream in(DataRoot() + "/" + file);
    return json::parse(in, nullptr, false);
}

// The registry entry of a sound name; null when it has none.
json RegistryEntry(const std::string& name)
{
    const json registry = ReadData("Audio/AudioRegistry.json");
    for (const json& sound : registry.value("Sounds", json::array()))
        if (sound.value("Name", "") == name)
            return sound;
    return nullptr;
}

std::vector<std::string> MusicNames()
{
    std::vector<std::string> names;
    for (const json& sound : ReadData("Audio/AudioRegistry.json").value("Sounds", json::array()))
        if (sound.value("SoundBus", "") == "Music")
            names.push_back(sound.value("Name", ""));
    return names;
}

// The song a scene file's music player names; empty when it has none.
std::string SceneSong(const std::string& scene)
{
    for (const json& entity : ReadData(scene).value("Entities", json::array()))
        for (const json& component : entity.value("Components", json::array()))
            if (component.value("Type", "") == "MusicPlayer")
                return component.value("SongName", "");
    return "";
}

struct DecodedSound
{
    bool opened = false;
    int channels = 0;
    int rate = 0;
    int64_t promisedFrames = 0;   // what the file's header says
    std::vector<int16_t> samples;

    int64_t Frames() const { return channels ? static_cast<int64_t>(samples.size()) / channels : 0; }
    double Seconds() const { return rate ? static_cast<double>(Frames()) / rate : 0.0; }
    int Sample(int64_t frame, int channel) const
    {
        return samples[static_cast<size_t>(frame * channels + channel)];
    }
};

// A registry sound decoded whole, read until the decoder stops; decoded once per run.
const DecodedSound& Decoded(const std::string& name)
{
    static std::map<std::string, DecodedSound> songs;
    if (const auto found = songs.find(name); found != songs.end())
        return found->second;
    DecodedSound& song = songs[name];
    const json entry = RegistryEntry(name);
    std::unique_ptr<Sound::Decoder> decoder;
    if (entry.is_null() ||
        Sound::Decoder::Open(ResolveDataPath(entry.value("FileName", "")), decoder) != Sound::Result::Ok)
        return song;
    song.opened = true;
    song.channels = decoder->Channels();
    song.rate = decoder->SampleRate();
    song.promisedFrames = decoder->Frames();
    constexpr int64_t Chunk = 65536;
    for (;;)
    {
        const size_t at = song.samples.size();
        song.samples.resize(at + static_cast<size_t>(Chunk * song.channels));
        const int64_t got = decoder->Read(song.samples.data() + at, Chunk);
        song.samples.resize(at + static_cast<size_t>(std::max<int64_t>(got, 0) * song.channels));
        if (got <= 0)
            return song;
    }
}

// The largest step between neighbouring frames of one channel over [from, to).
template <typename Sample> double LargestStep(Sample sample, int64_t from, int64_t to)
{
    double largest = 0;
    for (int64_t i = from; i + 1 < to; ++i)
        largest = std::max(largest, std::abs(static_cast<double>(sample(i + 1)) - sample(i)));
    return largest;
}

double Db(double value) { return 20 * std::log10(std::max(value, 1e-12)); }
}   // namespace

TEST(MusicData, EveryScreenSongIsRegisteredDecodesAndLastsLongEnough)
{
    struct Case
    {
        const char* scene;
        double minimumSeconds;
    };
    const Case cases[] = {
        {"Scenes/MainMenuScene.json", 45}, {"Scenes/LevelLoaderScene.json", 45},
        {"Scenes/LevelScene1.json", 60},   {"Scenes/LevelScene2.json", 60},
        {"Scenes/LevelScene3.json", 60},   {"Scenes/LevelScene4.json", 60},
        {"Scenes/LevelScene5.json", 60},   {"Scenes/GameEndScene.json", 15},
    };
    std::vector<std::string> levelSongs;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.scene);
        const std::string song = SceneSong(c.scene);
        ASSERT_FALSE(song.empty()) << "the screen names no song";
        if (std::string(c.scene).find("LevelScene") != std::string::npos)
            levelSongs.push_back(song);
        const json entry = RegistryEntry(song);
        ASSERT_FALSE(entry.is_null()) << song << " is not in the sound registry";
        EXPECT_EQ(entry.value("SoundBus", ""), "Music") << song;
        EXPECT_EQ(entry.value("LoopType", ""), "Loop") << song;
        EXPECT_EQ(entry.value("ModeType", ""), "Stream") << song << ": songs are streamed, not held decoded";

        const DecodedSound& decoded = Decoded(song);
        ASSERT_TRUE(decoded.opened) << song << " does not decode";
        EXPECT_EQ(decoded.channels, 2) << song;
        EXPECT_EQ(decoded.Frames(), decoded.promisedFrames)
            << song << ": the decoded length is not the written one";
        EXPECT_GE(decoded.Seconds(), c.minimumSeconds) << song;
    }
    std::sort(levelSongs.begin(), levelSongs.end());
    EXPECT_EQ(std::unique(levelSongs.begin(), levelSongs.end()) - levelSongs.begin(), 5)
        << "each level its own song";
    EXPECT_EQ(SceneSong("Scenes/MainMenuScene.json"), SceneSong("Scenes/LevelLoaderScene.json"))
        << "the level selection goes on with the main menu's song";
}

TEST(MusicData, SongsLoopSmoothlySitAtOneLevelAndNeverClip)
{
    const std::vector<std::string> songs = MusicNames();
    ASSERT_GE(songs.size(), 7u);
    std::vector<double> levels;
    for (const std::string& name : songs)
    {
        SCOPED_TRACE(name);
        const DecodedSound& song = Decoded(name);
        ASSERT_TRUE(song.opened && song.Frames() > song.rate);
        const int64_t frames = song.Frames();
        const int64_t near = song.rate / 10;
        for (int channel = 0; channel < song.channels; ++channel)
        {
            // The song played twice in a row, around the point where the second time begins.
            const auto looped = [&](int64_t i) { return song.Sample((i + frames) % frames, channel); };
            const double seam = std::abs(looped(0) - looped(-1));
            const double nearby = std::max(LargestStep(looped, -near, -1), LargestStep(looped, 0, near));
            EXPECT_LE(seam, nearby) << "channel " << channel << ": a click where the song starts over";
        }
        double sum = 0;
        int peak = 0;
        for (int16_t s : song.samples)
        {
            sum += static_cast<double>(s) * s;
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        }
        levels.push_back(Db(std::sqrt(sum / static_cast<double>(song.samples.size())) / 32768));
        EXPECT_LE(Db(peak / 32768.0), -1.0) << "peak";
    }
    const double mean =
        std::accumulate(levels.begin(), levels.end(), 0.0) / static_cast<double>(levels.size());
    for (size_t i = 0; i < songs.size(); ++i)
        EXPECT_NEAR(levels[i], mean, 1.5) << songs[i] << " RMS in dBFS";
}

TEST(SoundLevels, NoEffectStandsOutAboveTheOthersOrTheMusicAtItsVolume)
{
    // The channel volume each effect is played at; heard loudness = file RMS + volume in dB.
    struct Effect
    {
        const char* name;
        float volume;
    };
    const Effect effects[] = {
        {"Select", 1.0f},   {"Click", 1.0f},       {"Pause", 0.75f},  {"Locked", 1.0f},   {"Cheer", 1.0f},
        {"Trombone", 1.0f}, {"FinishLine", 0.75f}, {"Explode", 1.0f}, {"Jetpack", 0.25f}, {"Block", 0.4f},
        {"Dig", 0.1f},      {"LayBridge", 1.0f},   {"Tunnel", 1.0f},  {"Spawn", 0.05f},
    };
    const auto rmsDb = [](const DecodedSound& sound) {
        double sum = 0;
        for (int16_t s : sound.samples)
            sum += static_cast<double>(s) * s;
        return Db(std::sqrt(sum / static_cast<double>(sound.samples.size())) / 32768);
    };
    std::vector<double> heard;
    for (const Effect& effect : effects)
    {
        const DecodedSound& sound = Decoded(effect.name);
        ASSERT_TRUE(sound.opened) << effect.name;
        heard.push_back(rmsDb(sound) + Db(effect.volume));
        const int16_t peak =
            *std::max_element(sound.samples.begin(), sound.samples.end(),
                              [](int16_t a, int16_t b) { return std::abs(a) < std::abs(b); });
        EXPECT_LE(Db(std::abs(peak) / 32768.0), -1.0) << effect.name << " peak";
    }
    for (const std::string& song : MusicNames())
        heard.push_back(rmsDb(Decoded(song)));
    std::vector<double> sorted = heard;
    std::sort(sorted.begin(), sorted.end());
    const double typical = sorted[sorted.size() / 2];
    for (size_t i = 0; i < std::size(effects); ++i)
        EXPECT_LE(heard[i], typical + 6.0)
            << effects[i].name << " heard at " << heard[i] << " dB, the sounds' median " << typical << " dB";
}

namespace
{
// The sound system on the offline mixer over the game's own registry.
class OfflineGameAudio
{
public:
    OfflineGameAudio()
    {
        AudioSystem::GetInstance().Output = Sound::OutputChoice::OfflineOnly;
        opened = AudioSystem::GetInstance().Init();
    }
    ~OfflineGameAudio()
    {
        AudioSystem::GetInstance().Shutdown();
        AudioSystem::GetInstance().Output = Sound::OutputChoice::DeviceOrOffline;
    }
    OfflineGameAudio(const OfflineGameAudio&) = delete;
    OfflineGameAudio& operator=(const OfflineGameAudio&) = delete;

    static void Frame(float dt)
    {
        AudioSystem::GetInstance().Update(dt);
        AudioSystem::GetInstance().EndFrame();
    }

    // Renders seconds of the mix a game frame at a time, appending interleaved stereo. The
    // sound layer is updated after each frame as the audio system does, but without the audio
    // system's own offline clock, which would mix (and drop) frames of its own.
    static void Render(double seconds, std::vector<float>& out)
    {
        Sound::System* system = AudioSystem::GetInstance().System;
        const int step = system->GetOutputRate() / 60;
        for (int64_t left = std::lround(seconds * system->GetOutputRate()); left > 0; left -= step)
        {
            const size_t at = out.size();
            const int frames = static_cast<int>(std::min<int64_t>(left, step));
            out.resize(at + 2 * static_cast<size_t>(frames));
            ASSERT_EQ(system->Render(out.data() + at, frames), Sound::Result::Ok);
            ASSERT_EQ(system->Update(), Sound::Result::Ok);
            AudioSystem::GetInstance().EndFrame();
        }
    }

    bool opened = false;
};
}   // namespace

TEST(MusicMix, EverySongPlaysOnThroughItsLoopPointAsThoughItWereWrittenTwice)
{
    // The music player's loop, mixed across the point where the song starts over, against the
    // same song written out twice in a row and played straight through: any gap, skipped or
    // repeated frame, or click the looping adds shows as a difference. That the song written
    // twice has no click of its own is the seam test on the decoded files.
    OfflineGameAudio audio;
    ASSERT_TRUE(audio.opened);
    TempFolder folder;
    Sound::System* system = AudioSystem::GetInstance().System;
    const int rate = system->GetOutputRate();
    for (const std::string& name : MusicNames())
    {
        SCOPED_TRACE(name);
        const DecodedSound& song = Decoded(name);
        ASSERT_TRUE(song.opened);
        const double seconds = song.Seconds() + 0.3;

        std::vector<float> looped;
        {
            EntityList scene;
            scene.Add(Entity::CreateFromJSON(
                json{{"Name", "Music"},
                     {"Components", json::array({{{"Type", "MusicPlayer"}, {"SongName", name}}})}}));
            scene.Update(1.0f / 60);   // starts the song and lets it play
            OfflineGameAudio::Render(seconds, looped);
        }

        std::vector<int16_t> twice = song.samples;
        twice.insert(twice.end(), song.samples.begin(), song.samples.begin() + song.channels * song.rate);
        const std::string path = folder / (name + "Twice.wav");
        AudioTestKit::WriteWav(path, song.rate, song.channels, twice);
        Sound::Clip* clip = nullptr;
        ASSERT_EQ(system->CreateSound(path, Sound::Storage::Stream, Sound::Loop::Off, &clip),
                  Sound::Result::Ok);
        Sound::Channel straight;
        ASSERT_EQ(system->PlaySound(clip, AudioPlayer::GetInstance()->MusicGroup, false, &straight),
                  Sound::Result::Ok);
        std::vector<float> reference;
        OfflineGameAudio::Render(seconds, reference);
        ASSERT_EQ(clip->Release(), Sound::Result::Ok);

        ASSERT_EQ(looped.size(), reference.size());
        const int64_t seamAt = std::lround(song.Seconds() * rate);
        double largest = 0;
        int64_t where = 0;
        for (size_t i = 0; i < looped.size(); ++i)
            if (const double difference = std::abs(looped[i] - reference[i]); difference > largest)
                largest = difference, where = static_cast<int64_t>(i / 2);
        EXPECT_LT(largest, 1e-4) << "at " << where << " of " << looped.size() / 2
                                 << " frames; the loop point is " << seamAt;
        EXPECT_GT(AudioTestKit::Rms(std::vector<float>(looped.end() - 2 * rate / 10, looped.end())), 0.01)
            << "heard after the loop point";
    }
    OfflineGameAudio::Frame(1.0f / 60);
}

TEST(MusicAcrossScenes, MenuSongGoesOnIntoTheLevelSelectionAndGivesWayToTheLevelSong)
{
    SceneFlowFixture flow{SceneFlowFixture::GameData};
    OfflineGameAudio audio;
    ASSERT_TRUE(audio.opened);
    SceneSystem& scenes = SceneSystem::GetInstance();
    const auto playerSong = [&] {
        Entity* music = flow.Find("Music");
        MusicPlayer* player = music ? music->GetComponent<MusicPlayer>() : nullptr;
        return player ? player->Song() : Sound::Channel();
    };
    const auto frame = [&] {
        SceneFlowFixture::Frame();
        OfflineGameAudio::Frame(1.0f / 60);
    };
    std::vector<float> mix;

    ASSERT_TRUE(scenes.LoadScene("Data/Scenes/MainMenuScene.json"));
    frame();
    const Sound::Channel menuSong = playerSong();
    ASSERT_TRUE(AudioTestKit::IsPlaying(menuSong));
    OfflineGameAudio::Render(0.5, mix);

    ASSERT_TRUE(flow.Click("LoadButton"));
    frame();
    ASSERT_EQ(flow.Current(), "Data/Scenes/LevelLoaderScene.json");
    EXPECT_TRUE(playerSong() == menuSong) << "the level selection took the menu's song over";
    EXPECT_TRUE(AudioTestKit::IsPlaying(menuSong));
    EXPECT_FALSE(AudioTestKit::IsPaused(menuSong));
    EXPECT_TRUE(AudioRegistry::Find("MenuSong")->LastChannel == menuSong) << "the song was not started again";
    mix.clear();
    OfflineGameAudio::Render(0.2, mix);
    EXPECT_GT(AudioTestKit::Rms(mix), 0.01) << "still heard";

    ASSERT_TRUE(flow.Click("BackButton"));
    frame();
    ASSERT_EQ(flow.Current(), "Data/Scenes/MainMenuScene.json");
    EXPECT_TRUE(playerSong() == menuSong) << "and back to the main menu, still the same song";

    ASSERT_TRUE(flow.Click("LoadLevelScene1Button"));
    frame();
    ASSERT_EQ(flow.Current(), "Data/Scenes/LevelScene1.json");
    EXPECT_FALSE(AudioTestKit::IsPlaying(menuSong)) << "a level has a song of its own";
    const Sound::Channel levelSong = playerSong();
    EXPECT_TRUE(AudioTestKit::IsPlaying(levelSong));
    EXPECT_TRUE(AudioRegistry::Find("LevelSong1")->LastChannel == levelSong);
}
