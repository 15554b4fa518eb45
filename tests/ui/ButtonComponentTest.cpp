// The button component's hit test through the camera at a known window size, and its state
// machine driven by the polled mouse button and the cursor.
#include "ui/ButtonComponent.h"

#include "engine/InputSystem.h"
#include "engine/WindowSystem.h"
#include "graphics/Camera.h"
#include "scene/Entity.h"
#include "scene/Transform.h"
#include "tests/common/SceneFlowFixture.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
// The camera looks from (0, 0, 15) at the origin; a 1600 x 900 window has the aspect 16:9. A unit
// quad at (0.5, 0, 0) then spans, in device coordinates, x from exactly 0 to 2.4142134 / (16/9) /
// 15 = 0.0905 and y within +-0.0805: as window fractions x from 0.5 to 0.5453, y 0.4598 to 0.5402.
class ButtonComponentTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Camera::GetInstance().SetTarget(nullptr);
        entity.Name = "Quad";
        transform = new Transform();
        transform->Translation = {0.5f, 0, 0};
        entity.AddComponent(transform);
        button = new ButtonComponent();
        entity.AddComponent(button);
        button->AddCallback(this, [this](ButtonComponent::state s) {
            seen.push_back(s);
            seenBefore.push_back(button->CurrentState);
        });
    }

    bool HitAt(double x, double y)
    {
        flow.Cursor(x, y);
        return button->IsMouseOver();
    }

    // One frame: the mouse button's polled state and the cursor, then the component's update.
    void Step(int mouse, double x)
    {
        InputSystem::GetInstance().state[0] = mouse;
        flow.Cursor(x, 0.5);
        button->Update(0.016f);
    }

    static constexpr double Inside = 0.52, Outside = 0.9;
    SceneFlowFixture flow;
    Entity entity;
    Transform* transform = nullptr;
    ButtonComponent* button = nullptr;
    std::vector<int> seen, seenBefore;
};

TEST_F(ButtonComponentTest, TheHitTestIsStrictAndFollowsTheWindowShape)
{
    struct Case
    {
        double x, y;
        bool inside;
    };
    const Case cases[] = {
        {0.5, 0.5, false},   // exactly on the left edge
        {0.5001, 0.5, true},  {0.545, 0.5, true},  {0.546, 0.5, false},  {0.52, 0.461, true},
        {0.52, 0.459, false}, {0.52, 0.539, true}, {0.52, 0.541, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HitAt(c.x, c.y), c.inside) << c.x << ", " << c.y;

    // A narrower window stretches the quad sideways.
    WindowSystem::GetInstance().width = 800;
    EXPECT_TRUE(HitAt(0.58, 0.5));
    WindowSystem::GetInstance().width = 1600;
    EXPECT_FALSE(HitAt(0.58, 0.5));
}

TEST_F(ButtonComponentTest, MirroredQuadsMissingTransformsAndTheHideKeyNeverHit)
{
    transform->Scale = {-1, 1, 1};
    transform->Dirty = true;
    EXPECT_FALSE(HitAt(Inside, 0.5));
    transform->Scale = {1, 1, 1};
    transform->Dirty = true;
    ASSERT_TRUE(HitAt(Inside, 0.5));

    InputSystem::GetInstance().state[48] = 1;   // the "0" key, this frame
    EXPECT_FALSE(HitAt(Inside, 0.5));
    InputSystem::GetInstance().state[48] = 2;
    EXPECT_TRUE(HitAt(Inside, 0.5));
    InputSystem::GetInstance().state[48] = 0;

    ButtonComponent loose;
    EXPECT_FALSE(loose.IsMouseOver());
    Entity bare;
    ButtonComponent* alone = new ButtonComponent();
    bare.AddComponent(alone);
    for (int mouse : {0, 1, 2, 0})
    {
        InputSystem::GetInstance().state[0] = mouse;
        alone->Update(0.016f);
        EXPECT_EQ(alone->CurrentState, ButtonComponent::Idle);
    }
}

TEST_F(ButtonComponentTest, AClickGoesHoverPressedReleasedAndCallbacksSeeThePreviousState)
{
    Step(0, Outside);
    Step(0, Inside);
    Step(1, Inside);
    Step(2, Inside);
    Step(0, Inside);
    Step(0, Inside);   // stays released while the cursor stays
    Step(0, Outside);
    EXPECT_EQ(seen, (std::vector<int>{ButtonComponent::Hover, ButtonComponent::Pressed,
                                      ButtonComponent::Released, ButtonComponent::Idle}));
    EXPECT_EQ(seenBefore, (std::vector<int>{ButtonComponent::Idle, ButtonComponent::Hover,
                                            ButtonComponent::Pressed, ButtonComponent::Released}));
    EXPECT_EQ(button->CurrentState, ButtonComponent::Idle);
}

TEST_F(ButtonComponentTest, DraggingOutReleasesAndDraggingInHoversFirst)
{
    Step(0, Inside);
    Step(1, Inside);
    Step(2, Outside);   // the press ends as a click on the frame the cursor leaves
    Step(2, Outside);
    EXPECT_EQ(seen, (std::vector<int>{ButtonComponent::Hover, ButtonComponent::Pressed,
                                      ButtonComponent::Released, ButtonComponent::Idle}));

    seen.clear();
    Step(2, Inside);   // held from outside: hover first, pressed on the next frame
    EXPECT_EQ(button->CurrentState, ButtonComponent::Hover);
    Step(2, Inside);
    EXPECT_EQ(button->CurrentState, ButtonComponent::Pressed);

    // The hide key while held reports the cursor outside: the press ends.
    InputSystem::GetInstance().state[48] = 1;
    Step(2, Inside);
    EXPECT_EQ(button->CurrentState, ButtonComponent::Released);
    EXPECT_EQ(seen, (std::vector<int>{ButtonComponent::Hover, ButtonComponent::Pressed,
                                      ButtonComponent::Released}));
}

TEST_F(ButtonComponentTest, ACloneStartsIdleWithoutCallbacks)
{
    Step(0, Inside);
    ASSERT_EQ(button->CurrentState, ButtonComponent::Hover);
    std::unique_ptr<Component> copy(button->Clone());
    const auto* clone = static_cast<const ButtonComponent*>(copy.get());
    EXPECT_EQ(clone->CurrentState, ButtonComponent::Idle);
    EXPECT_TRUE(clone->Callbacks.empty());
    EXPECT_EQ(clone->Parent, nullptr);
}
}   // namespace
