#include "ui/BehaviorSliderButton.h"

#include "audio/AudioPlayer.h"
#include "engine/InputSystem.h"
#include "engine/WindowSystem.h"
#include "graphics/Camera.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"
#include "tests/audio/OfflineAudioTest.h"
#include "tests/common/LevelFixture.h"
#include "tests/common/ScopedPauseOverlay.h"
#include "tests/common/TraceCapture.h"
#include "ui/BehaviorThumb.h"
#include "ui/ButtonComponent.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{
using json = nlohmann::json;

// A bar 4 wide at (0, 1), the middle of the view, seen by the default camera in a 16:9 window.
json SliderEntity(const std::string& name, json settings = json::object())
{
    settings["Type"] = "BehaviorSliderButton";
    settings["ThumbName"] = name + "Thumb";
    return {{"Name", name},
            {"Components",
             {settings,
              {{"Type", "Transform"}, {"Translation", {0, 1, 0}}, {"Scale", {4, 0.5, 1}}},
              {{"Type", "Sprite"}},
              {{"Type", "ButtonComponent"}}}}};
}

json ThumbEntity(const std::string& name)
{
    return {{"Name", name}, {"Components", {{{"Type", "BehaviorThumb"}}, {{"Type", "Transform"}}}}};
}

// Puts the cursor over a world x, at the height and depth where the slider solves it.
void CursorAt(float worldX, float y, float z)
{
    Camera& camera = Camera::GetInstance();
    const Matrix4 clip = Matrix4::Multiply(camera.GetProjectionMatrix(), camera.GetViewMatrix());
    const Vec4 at = clip.Transform({worldX, y, z, 1});
    InputSystem::GetInstance().cursorX = (at.x / at.w + 1) / 2;
    InputSystem::GetInstance().cursorY = 0.5;
}

class SliderTest : public testing::Test
{
protected:
    SliderTest()
    {
        WindowSystem::GetInstance().width = 1600;
        WindowSystem::GetInstance().height = 900;
        Camera::GetInstance().SetTarget(nullptr);
        BehaviorSliderButton::SliderTable.clear();
    }
    ~SliderTest() override
    {
        WindowSystem::GetInstance().width = WindowSystem::GetInstance().height = 0;
        BehaviorSliderButton::SliderTable.clear();
    }
    BehaviorSliderButton* Slider(Entity* e) { return e->GetComponent<BehaviorSliderButton>(); }
    Vec3 ThumbOf(const std::string& slider) { return BehaviorSliderButton::SliderTable.at(slider + "Thumb"); }

    LevelFixture level;
};
}   // namespace

TEST_F(SliderTest, TheThumbStandsAtTheValuesShareOfTheBarAndTheDragSetsTheValue)
{
    struct Case
    {
        const char* what;
        float min, max, index;
        float thumbX;             // where the thumb stands before the drag
        float cursorX, dragged;   // the cursor's world x in the drag, and the value it gives
    };
    const Case cases[] = {
        {"the middle", 0, 1, 0.5f, 0, 0, 0.5f},
        {"the left end", 0, 1, 0, -2, -2, 0},
        {"the right end", 0, 1, 1, 2, 2, 1},
        {"a quarter", 0, 1, 0.5f, 0, -1, 0.25f},
        {"beyond the left end", 0, 1, 0.5f, 0, -5, 0},
        {"beyond the right end", 0, 1, 0.5f, 0, 5, 1},
        {"a read value beyond the end is clamped", 0, 1, 7, 2, 1, 0.75f},
        {"another range", 10, 20, 15, 0, -1, 12.5f},
        {"a reversed range", 1, 0, 0.25f, 1, -1, 0.75f},
        {"equal ends: no division by zero", 0.5f, 0.5f, 0.5f, -2, 1, 0.5f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Entity* e =
            level.Add(SliderEntity("Slider", {{"MinIndex", c.min}, {"MaxIndex", c.max}, {"Index", c.index}}));
        level.Frame();
        const Vec3 thumb = ThumbOf("Slider");
        EXPECT_FLOAT_EQ(thumb.x, c.thumbX);
        EXPECT_FLOAT_EQ(thumb.y, 1.25f) << "a quarter unit above the bar's middle";
        EXPECT_FLOAT_EQ(thumb.z, 0);

        e->GetComponent<ButtonComponent>()->NotifyState(ButtonComponent::Pressed);
        CursorAt(c.cursorX, thumb.y, thumb.z);
        level.Frame();
        EXPECT_NEAR(Slider(e)->Index, c.dragged, 1e-4);
        EXPECT_FALSE(std::isnan(ThumbOf("Slider").x));
        e->GetComponent<ButtonComponent>()->NotifyState(ButtonComponent::Released);
        CursorAt(0, thumb.y, thumb.z);
        level.Frame();
        EXPECT_NEAR(Slider(e)->Index, c.dragged, 1e-4) << "released: the cursor no longer moves it";
        e->IsDestroyed = true;
        level.Frame();
    }
}

TEST_F(SliderTest, AThumbStandsWhereItsSliderPutItOrAtTheOriginWithoutOne)
{
    Entity* slider = level.Add(SliderEntity("Slider", {{"Index", 1}}));
    Entity* thumb = level.Add(ThumbEntity("SliderThumb"));
    Entity* stray = level.Add(ThumbEntity("NoSlidersThumb"));
    stray->GetComponent<Transform>()->Translation = {5, 5, 5};
    level.Frame();
    const Vec3 at = thumb->GetComponent<Transform>()->Translation;
    EXPECT_FLOAT_EQ(at.x, 2);
    EXPECT_FLOAT_EQ(at.y, 1.25f);
    const Vec3 origin = stray->GetComponent<Transform>()->Translation;
    EXPECT_EQ(origin.x + origin.y + origin.z, 0.0f);
    EXPECT_EQ(BehaviorSliderButton::SliderTable.count("NoSlidersThumb"), 0u) << "a thumb adds no entry";
    (void)slider;

    json saved;
    thumb->GetComponent<BehaviorThumb>()->Write(saved);
    EXPECT_EQ(saved, json({{"Type", "BehaviorThumb"}}));
}

TEST_F(SliderTest, ValuesThatAreNoFiniteNumbersAreRefusedAndTheRestRoundTrips)
{
    BehaviorSliderButton slider;
    TraceCapture trace;
    slider.Read({{"MinIndex", "low"}, {"MaxIndex", nullptr}, {"Index", 1e300}, {"ThumbName", "Knob"}});
    EXPECT_EQ(slider.MinIndex, 0.0f);
    EXPECT_EQ(slider.MaxIndex, 1.0f);
    EXPECT_EQ(slider.Index, 0.5f);
    EXPECT_EQ(slider.ThumbName, "Knob");
    for (const char* key : {"\"MinIndex\" is \"low\"", "\"MaxIndex\" is null", "\"Index\" is 1e+300"})
        EXPECT_TRUE(trace.Contains(key)) << key << "\n" << trace.All();

    slider.Read({{"MinIndex", 0.25}, {"MaxIndex", 0.75}, {"Index", 0.5}, {"Enabled", false}});
    std::unique_ptr<Component> copy(slider.Clone());
    json written, again;
    slider.Write(written);
    copy->Write(again);
    EXPECT_EQ(written, again);
    EXPECT_EQ(written["Type"], "BehaviorSliderButton");
    EXPECT_EQ(written["MinIndex"], 0.25);
    EXPECT_EQ(written["ThumbName"], "Knob");
    EXPECT_EQ(written["Enabled"], false);
}

namespace
{
// The same sliders with the sound system up, so the buses answer.
class SliderWithSoundTest : public AudioTestKit::OfflineAudioTest
{
protected:
    void SetUp() override
    {
        OfflineAudioTest::SetUp();
        WindowSystem::GetInstance().width = 1600;
        WindowSystem::GetInstance().height = 900;
        Camera::GetInstance().SetTarget(nullptr);
    }
    void TearDown() override
    {
        WindowSystem::GetInstance().width = WindowSystem::GetInstance().height = 0;
        BehaviorSliderButton::SliderTable.clear();
        OfflineAudioTest::TearDown();
    }
    static float Volume(Sound::ChannelGroup* group)
    {
        float volume = -1;
        AudioPlayer::GetInstance()->GetVolume(group, volume);
        return volume;
    }
    void Drag(Entity* e, float worldX)
    {
        e->GetComponent<ButtonComponent>()->NotifyState(ButtonComponent::Pressed);
        const Vec3 thumb = BehaviorSliderButton::SliderTable.at(e->Name + "Thumb");
        CursorAt(worldX, thumb.y, thumb.z);
        level.Frame();
        e->GetComponent<ButtonComponent>()->NotifyState(ButtonComponent::Released);
    }

    LevelFixture level;
};
}   // namespace

TEST_F(SliderWithSoundTest, EachSliderSetsItsBusAtOnceAndShowsItsVolumeWhenItOpens)
{
    AudioPlayer* player = AudioPlayer::GetInstance();
    ASSERT_TRUE(player->SetVolume(player->SfxGroup, 0.3f));
    const struct
    {
        const char* name;
        Sound::ChannelGroup* group;
    } buses[] = {{"MasterVolumeSlider", player->MasterGroup},
                 {"MusicVolumeSlider", player->MusicGroup},
                 {"SfxVolumeSlider", player->SfxGroup},
                 {"UiVolumeSlider", player->UiGroup}};
    for (const auto& bus : buses)
    {
        SCOPED_TRACE(bus.name);
        Entity* e = level.Add(SliderEntity(bus.name, {{"Index", 0.9}}));
        level.Frame();
        EXPECT_FLOAT_EQ(e->GetComponent<BehaviorSliderButton>()->Index, Volume(bus.group))
            << "the thumb shows the volume heard, not the value the file kept";
        Drag(e, -1);
        EXPECT_NEAR(Volume(bus.group), 0.25f, 1e-4);
        Drag(e, 9);
        EXPECT_FLOAT_EQ(Volume(bus.group), 1.0f);
    }

    // A range beyond [0, 1] gives the bus no more than full volume; another name sets no bus.
    Entity* wide = level.Add(SliderEntity("MusicVolumeSlider", {{"MaxIndex", 4}}));
    level.Frame();
    Drag(wide, 2);
    EXPECT_FLOAT_EQ(wide->GetComponent<BehaviorSliderButton>()->Index, 4);
    EXPECT_FLOAT_EQ(Volume(player->MusicGroup), 1.0f);
    Entity* other = level.Add(SliderEntity("LoudnessSlider"));
    level.Frame();
    Drag(other, -2);
    EXPECT_EQ(other->GetComponent<BehaviorSliderButton>()->Index, 0.0f);
    EXPECT_FLOAT_EQ(Volume(player->MusicGroup), 1.0f);
}

TEST_F(SliderWithSoundTest, ResetVolumesPutsEveryBusAndTheScreensSlidersAtHalf)
{
    AudioPlayer* player = AudioPlayer::GetInstance();
    ScopedPauseOverlay overlay;
    Entity* music = Entity::CreateFromJSON(SliderEntity("MusicVolumeSlider", {{"Index", 0.1}}));
    Entity* other = Entity::CreateFromJSON(SliderEntity("LoudnessSlider", {{"Index", 0.1}}));
    overlay->AddEntity(music);
    overlay->AddEntity(other);
    for (Sound::ChannelGroup* group :
         {player->MasterGroup, player->MusicGroup, player->SfxGroup, player->UiGroup})
        ASSERT_TRUE(player->SetVolume(group, 0.1f));
    overlay->entities.Update(1.0f / 60);

    BehaviorSliderButton::ResetVolumes();
    for (Sound::ChannelGroup* group :
         {player->MasterGroup, player->MusicGroup, player->SfxGroup, player->UiGroup})
        EXPECT_FLOAT_EQ(Volume(group), 0.5f);
    EXPECT_FLOAT_EQ(music->GetComponent<BehaviorSliderButton>()->Index, 0.5f);
    EXPECT_FLOAT_EQ(other->GetComponent<BehaviorSliderButton>()->Index, 0.5f);
    EXPECT_FLOAT_EQ(BehaviorSliderButton::SliderTable.at("MusicVolumeSliderThumb").x, 0.5f);
    overlay->entities.Update(1.0f / 60);
    EXPECT_FLOAT_EQ(BehaviorSliderButton::SliderTable.at("MusicVolumeSliderThumb").x, 0)
        << "the next update puts the thumb in the bar's middle";
}
