#include "ui/BehaviorCredits.h"

#include "engine/InputSystem.h"
#include "game/Physics.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"
#include "tests/common/LevelFixture.h"

#include <gtest/gtest.h>

namespace
{
using json = nlohmann::json;

json CreditsEntity(float y)
{
    return {{"Name", "Credits"},
            {"Components",
             {{{"Type", "BehaviorCredits"}},
              {{"Type", "Physics"}, {"MaxVelocity", {0, 10, 0}}},
              {{"Type", "Transform"}, {"Translation", {0, y, 0}}}}}};
}

// The credits overlay over a scene of the given file, as the credits button opens it.
class CreditsTest : public testing::Test
{
protected:
    explicit CreditsTest(const std::string& below = "Data/Scenes/MainMenuScene.json") : level(below)
    {
        Scenes().pauseKind = SceneSystem::CreditsPause;
    }
    static SceneSystem& Scenes() { return SceneSystem::GetInstance(); }
    Entity* Credits(float y)
    {
        Entity* credits = level.Add(CreditsEntity(y));
        credits->GetComponent<BehaviorCredits>()->Read(json::object());
        return credits;
    }
    static float Y(Entity* e) { return e->GetComponent<Transform>()->Translation.y; }
    static float Rise(Entity* e) { return e->GetComponent<Physics>()->Velocity.y; }
    bool Left() const { return Scenes().pauseKind == SceneSystem::NotPaused && BehaviorCredits::Leaving; }

    LevelFixture level;
};
}   // namespace

TEST_F(CreditsTest, TheyRiseFasterWithSpaceHeldStandAtTheEndAndThenLeave)
{
    Entity* credits = Credits(30);
    level.Frame(0.1f);
    EXPECT_FLOAT_EQ(Rise(credits), BehaviorCredits::Speed);
    level.Hold(Key::Space);
    level.Frame(0.1f);   // pressed this frame: not yet held
    EXPECT_FLOAT_EQ(Rise(credits), BehaviorCredits::Speed);
    level.Frame(0.1f);
    EXPECT_FLOAT_EQ(Rise(credits), BehaviorCredits::FastSpeed);
    level.Release(Key::Space);
    level.Frame(0.1f);
    EXPECT_FLOAT_EQ(Rise(credits), BehaviorCredits::Speed) << "back to 1 the frame after";

    for (int frame = 0; frame < 200 && !BehaviorCredits::ReachedEnd; ++frame)
        level.Frame(0.1f);
    ASSERT_TRUE(BehaviorCredits::ReachedEnd);
    EXPECT_GE(Y(credits), BehaviorCredits::EndY);
    EXPECT_LT(Y(credits), BehaviorCredits::EndY + 0.2f);
    level.Frame(0.1f);
    EXPECT_FLOAT_EQ(Rise(credits), 0.0f) << "they stand";
    const float end = Y(credits);
    for (int frame = 0; frame < 27; ++frame)
        level.Frame(0.1f);
    EXPECT_FALSE(Left()) << "still standing for the rest of the three seconds";
    level.Frame(0.1f);
    level.Frame(0.1f);
    EXPECT_TRUE(Left());
    EXPECT_EQ(Y(credits), end);
    // The main menu written with forward slashes is not the scene system's own spelling.
    EXPECT_EQ(Scenes().CurrentScene()->NextScene, "Data/Scenes/MainMenuScene.json");
    EXPECT_TRUE(Scenes().CurrentScene()->IsComplete);
}

TEST_F(CreditsTest, EscapeLeavesAtOnceOnceAndAStoppedClockStopsEverything)
{
    Entity* credits = Credits(0);
    level.Tap(Key::Escape);
    level.Frame(0.0f);
    EXPECT_FALSE(Left()) << "no update while the frame time is 0";
    EXPECT_EQ(Y(credits), 0.0f);

    level.Tap(Key::Escape);
    level.Frame(0.1f);
    EXPECT_TRUE(Left());
    Scenes().pauseKind = SceneSystem::CreditsPause;
    level.Tap(Key::Escape);
    level.Frame(0.1f);
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::CreditsPause) << "a second Escape does nothing more";

    // Reading the credits again starts them afresh; without a Physics they cannot scroll.
    Entity* still = level.Add(
        {{"Name", "Still"}, {"Components", {{{"Type", "BehaviorCredits"}}, {{"Type", "Transform"}}}}});
    still->GetComponent<BehaviorCredits>()->Read(json::object());
    EXPECT_FALSE(BehaviorCredits::Leaving);
    credits->IsDestroyed = true;
    level.Frame(5.0f);
    EXPECT_FALSE(Left());
}

namespace
{
class CreditsOverTheMainMenuTest : public CreditsTest
{
protected:
    CreditsOverTheMainMenuTest() : CreditsTest("Data\\Scenes\\MainMenuScene.json") {}
};
}   // namespace

TEST_F(CreditsOverTheMainMenuTest, LeavingOnlyClosesTheOverlay)
{
    Credits(0);
    level.Tap(Key::Escape);
    level.Frame(0.1f);
    EXPECT_TRUE(Left());
    EXPECT_TRUE(Scenes().closePauseRequested);
    EXPECT_FALSE(Scenes().CurrentScene()->IsComplete);
    EXPECT_EQ(Scenes().CurrentScene()->NextScene, "");
}
