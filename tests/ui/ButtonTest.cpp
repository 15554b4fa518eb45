// The button base: its ButtonComponent, the standard tints through the state machine, the
// "Select" sound, and its saved form.
#include "ui/Button.h"

#include "audio/AudioPlayer.h"
#include "engine/InputSystem.h"
#include "graphics/Sprite.h"
#include "scene/Entity.h"
#include "scene/Transform.h"
#include "tests/common/SceneFlowFixture.h"
#include "tests/common/TraceCapture.h"
#include "ui/ButtonComponent.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
using Tint = std::array<float, 3>;

// An entity with a unit quad at (0.5, 0, 0), a sprite and the button under test; the cursor at
// window fraction 0.52 is over it (see ButtonComponentTest).
class ButtonTest : public testing::Test
{
protected:
    void Build(Button* behaviour, bool withSprite = true)
    {
        button = behaviour;
        Transform* transform = new Transform();
        transform->Translation = {0.5f, 0, 0};
        entity.AddComponent(button);
        if (withSprite)
            entity.AddComponent(MakeDefaultPlaneSprite());
        entity.AddComponent(transform);
        button->PostCreate();
        sounds.clear();
        AudioPlayer::GetInstance()->SetListener(
            [this](const std::string& name, bool, float) { sounds.push_back(name); });
    }
    ~ButtonTest() override { AudioPlayer::GetInstance()->SetListener(nullptr); }

    // One frame of the entity with the mouse button state and the cursor over or off the quad.
    Tint Step(int mouse, bool over)
    {
        InputSystem::GetInstance().state[0] = mouse;
        flow.Cursor(over ? 0.52 : 0.9, 0.5);
        for (Component* c : entity.components)
            c->Update(0.016f);
        const auto tint = SpriteTint(&entity);
        return tint ? *tint : Tint{-1, -1, -1};
    }

    SceneFlowFixture flow;
    Entity entity;
    Button* button = nullptr;
    std::vector<std::string> sounds;
};

const Tint Normal{1, 1, 1}, Hovered{0.75f, 0.75f, 0.75f}, Pressed{0.5f, 0.5f, 0.5f};

TEST_F(ButtonTest, AClickTintsHoverPressedAndNormalAndPlaysSelectOnPress)
{
    Build(new Button());
    EXPECT_EQ(Step(0, true), Hovered);
    EXPECT_TRUE(sounds.empty());
    EXPECT_EQ(Step(1, true), Pressed);
    EXPECT_EQ(sounds, std::vector<std::string>{"Select"});
    EXPECT_EQ(Step(2, true), Pressed);
    EXPECT_EQ(Step(0, true), Normal);   // released: the click
    EXPECT_EQ(Step(0, false), Normal);
    EXPECT_EQ(Step(0, true), Hovered);
    EXPECT_EQ(Step(0, false), Normal);
    EXPECT_EQ(sounds.size(), 1u);
}

TEST_F(ButtonTest, APerpetualButtonKeepsThePressedTint)
{
    Build(new Button());
    button->Perpetual = true;
    EXPECT_EQ(Step(0, true), Normal);
    EXPECT_EQ(Step(1, true), Pressed);
    EXPECT_EQ(Step(0, true), Pressed);
    EXPECT_EQ(Step(0, false), Pressed);
    EXPECT_EQ(Step(0, true), Pressed);
}

TEST_F(ButtonTest, ADisabledButtonNeverTintsButStillSoundsAndReports)
{
    Build(new Button());
    button->Enabled = false;
    TintSprite(&entity, 0.3f, 0.3f, 0.3f);
    EXPECT_EQ(Step(0, true), (Tint{0.3f, 0.3f, 0.3f}));
    EXPECT_EQ(Step(1, true), (Tint{0.3f, 0.3f, 0.3f}));
    EXPECT_EQ(sounds, std::vector<std::string>{"Select"});
    EXPECT_EQ(button->GetButtonComponent()->CurrentState, ButtonComponent::Pressed);
}

TEST_F(ButtonTest, WithoutASpriteTheButtonStillWorks)
{
    Build(new Button(), false);
    Step(0, true);
    Step(1, true);
    Step(0, true);
    EXPECT_EQ(button->GetButtonComponent()->CurrentState, ButtonComponent::Released);
    EXPECT_EQ(sounds, std::vector<std::string>{"Select"});
}

TEST_F(ButtonTest, PostCreateKeepsAListedComponentAndAddsOneOtherwise)
{
    ButtonComponent* listed = new ButtonComponent();
    entity.AddComponent(listed);
    Build(new Button());
    EXPECT_EQ(button->GetButtonComponent(), listed);
    int components = 0;
    for (const Component* c : entity.components)
        components += dynamic_cast<const ButtonComponent*>(c) != nullptr;
    EXPECT_EQ(components, 1);
    EXPECT_EQ(listed->Callbacks.size(), 1u);

    Entity bare;
    Button* alone = new Button();
    bare.AddComponent(alone);
    alone->PostCreate();
    ASSERT_NE(alone->GetButtonComponent(), nullptr);
    EXPECT_EQ(alone->GetButtonComponent()->Parent, &bare);
    EXPECT_EQ(alone->GetButtonComponent()->Callbacks.size(), 1u);
}

TEST_F(ButtonTest, AButtonTakenOffALiveEntityLeavesNoCallbackOnTheButtonThatStays)
{
    Build(new Button());
    ButtonComponent* clicks = button->GetButtonComponent();
    bool otherHeard = false;
    int owner = 0;
    clicks->AddCallback(&owner, [&](ButtonComponent::state) { otherHeard = true; });
    ASSERT_EQ(clicks->Callbacks.size(), 2u);

    std::erase(entity.components, static_cast<Component*>(button));
    delete button;
    button = nullptr;
    ASSERT_EQ(clicks->Callbacks.size(), 1u) << "only the callback of another owner is left";
    EXPECT_EQ(clicks->Callbacks[0].owner, &owner);
    Step(0, true);   // a hover reaches the remaining callback alone
    EXPECT_TRUE(otherHeard);
}

TEST_F(ButtonTest, SavedFormKeepsTheFlagsAndMissingKeysKeepTheDefaults)
{
    Button original;
    original.Enabled = false;
    original.Perpetual = true;
    json saved;
    original.Write(saved);
    EXPECT_EQ(saved.at("Type"), "Button");
    Button read;
    read.Read(saved);
    EXPECT_FALSE(read.Enabled);
    EXPECT_TRUE(read.Perpetual);

    Button defaults;
    defaults.Read(json::parse(R"({"Type": "Button"})"));
    EXPECT_TRUE(defaults.Enabled);
    EXPECT_FALSE(defaults.Perpetual);

    // A button entry with a value of the wrong kind leaves the button out, with a line naming the key.
    TraceCapture trace;
    std::unique_ptr<Entity> entity(Entity::CreateFromJSON(
        json::parse(R"({"Name": "B", "Components": [{"Type": "Button", "Enabled": "yes"}]})")));
    ASSERT_TRUE(entity);
    EXPECT_EQ(entity->GetComponent<Button>(), nullptr);
    EXPECT_TRUE(trace.Contains("\"Enabled\"")) << trace.All();

    std::unique_ptr<Component> copy(original.Clone());
    EXPECT_FALSE(static_cast<Button*>(copy.get())->Enabled);
    EXPECT_TRUE(static_cast<Button*>(copy.get())->Perpetual);
}
}   // namespace
