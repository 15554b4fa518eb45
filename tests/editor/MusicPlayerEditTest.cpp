// The music player from the editor, with sound: its song chosen among the registry's music, and
// a player deleted from the outliner stopping only the song it started itself.
#include "audio/AudioPlayer.h"
#include "audio/AudioSystem.h"
#include "editor/EditorPanels.h"
#include "editor/EditorPanels_Shared.h"
#include "engine/EditorState.h"
#include "game/MusicPlayer.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "tests/audio/OfflineAudioTest.h"
#include "tests/common/HeadlessImGui.h"
#include "tests/common/QuietStdout.h"
#include "tests/editor/EditorFixture.h"

using namespace AudioTestKit;

namespace
{
class MusicPlayerEditTest : public OfflineAudioTest
{
protected:
    void SetUp() override
    {
        OfflineAudioTest::SetUp();
        ui.body = [] { DrawEditorColumns(Host); };
        SceneSystem::GetInstance().currentScene = std::make_unique<MainScene>();
        for (const char* name : {"Music", "Music2"})
            Scene().AddEntity(Entity::CreateFromJSON(json::parse(std::string(R"({"Name": ")") + name +
                                                                 R"(", "Components": [
                {"Type": "MusicPlayer", "SongName": "ToneMusic"}]})")));
    }
    void TearDown() override
    {
        SelectedEntity = nullptr;
        HasUnsavedChanges = false;
        SelectedSongIndex = -1;
        SceneSystem::GetInstance().currentScene.reset();
        OfflineAudioTest::TearDown();
    }

    static MainScene& Scene() { return *SceneSystem::GetInstance().CurrentScene(); }
    static MusicPlayer* Player(const std::string& name)
    {
        Entity* entity = Scene().entities.FindByName(name);
        return entity ? entity->GetComponent<MusicPlayer>() : nullptr;
    }
    void SceneFrame()
    {
        Scene().entities.Update(1.0f / 60);
        Frame(1.0f / 60);
    }

    static constexpr const char* Host = "Editor Columns";
    static ImGuiWindow* Outliner() { return HeadlessImGui::ChildWindow(Host, "OutlinerPanel"); }
    static ImGuiWindow* Inspector() { return HeadlessImGui::ChildWindow(Host, "InspectorPanel"); }

    QuietStdout quiet;
    HeadlessImGui ui;
};
}   // namespace

TEST_F(MusicPlayerEditTest, ADeletedPlayerStopsOnlyTheSongItStarted)
{
    SceneFrame();
    const Sound::Channel first = Player("Music")->Song();
    const Sound::Channel second = Player("Music2")->Song();
    const Sound::Channel foreign = AudioPlayer::GetInstance()->StartSound("ToneMusic", true, 1.0f);
    SceneFrame();
    ASSERT_TRUE(IsPlaying(first) && IsPlaying(second) && IsPlaying(foreign));

    ui.Frame();
    ASSERT_TRUE(ui.ClickItem(Outliner(), {0, "Music##row"}, 1));
    ASSERT_NE(HeadlessImGui::TopPopup(), nullptr);
    ASSERT_TRUE(ui.ClickItem(HeadlessImGui::TopPopup(), {"Delete"}));
    EXPECT_EQ(Scene().entities.FindByName("Music"), nullptr);
    EXPECT_FALSE(IsPlaying(first));
    EXPECT_TRUE(IsPlaying(second)) << "another player's song of the same name plays on";
    EXPECT_TRUE(IsPlaying(foreign)) << "a song someone else started plays on";
    ASSERT_EQ(Sound::Channel(foreign).Stop(), Sound::Result::Ok);
}

TEST_F(MusicPlayerEditTest, TheSongIsChosenAmongTheRegistrysMusicAndTakenAtTheNextStart)
{
    SceneFrame();
    MusicPlayer* player = Player("Music2");
    const Sound::Channel playing = player->Song();
    player->SongName.clear();
    ui.Frame();
    ASSERT_TRUE(ui.ClickItem(Outliner(), {1, "Music2##row"}));
    ImGuiWindow* inspector = Inspector();
    ASSERT_TRUE(ui.Open(inspector, {"Behaviors"}));
    EXPECT_FALSE(ui.ItemRect(inspector, {0, "Tone"})) << "effects are no songs";
    EXPECT_FALSE(ui.ItemRect(inspector, {1, "ToneUi"}));
    ASSERT_TRUE(ui.ClickItem(inspector, {2, "ToneMusic"}));
    EXPECT_EQ(player->SongName, "ToneMusic");
    EXPECT_EQ(SelectedSongIndex, 2);
    EXPECT_TRUE(HasUnsavedChanges);
    EXPECT_TRUE(player->Song() == playing) << "the song playing is not changed";

    ASSERT_TRUE(ui.EnterText(inspector, {"Volume", ""}, "0.25"));
    EXPECT_FLOAT_EQ(player->Volume, 0.25f);
}
