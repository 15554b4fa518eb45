// The opening sequence: its steps in order with their timing and placements, the skip inputs,
// and the stand-still of a frozen frame. The fixture's splash scene starts the sound credit and
// the title 2 units below the centre, rising at 2 units per second.
#include "ui/BehaviorSplashScreen.h"

#include "engine/InputSystem.h"
#include "game/Physics.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"
#include "tests/common/SceneFlowFixture.h"

#include <gtest/gtest.h>
#include <map>

namespace
{
constexpr float Dt = 0.125f;   // exact in binary: the step times add up without rounding
constexpr const char* Splash = "Data/Scenes/SplashScreen.json";
constexpr const char* Menu = "Data/Scenes/MainMenuScene.json";

SceneSystem& Scenes() { return SceneSystem::GetInstance(); }

class BehaviorSplashScreenTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(Scenes().LoadScene(Splash)); }
    BehaviorSplashScreen* Director() const
    {
        const Entity* director = flow.Find("SplashDirector");
        return director ? director->GetComponent<BehaviorSplashScreen>() : nullptr;
    }
    Vec3 At(const char* name) const { return flow.Find(name)->GetComponent<Transform>()->Translation; }
    float Rise(const char* name) const { return flow.Find(name)->GetComponent<Physics>()->Velocity.y; }

    SceneFlowFixture flow;
};

TEST_F(BehaviorSplashScreenTest, TheStepsRunInOrderWithTheirTimesAndPlacements)
{
    std::map<int, int> framesIn;   // frames spent in each step
    int frames = 0;
    bool titleSeenRising = false, creditHeld = false;
    while (flow.Current() == Splash && frames < 2000)
    {
        BehaviorSplashScreen* director = Director();
        if (director)
            ++framesIn[director->Phase];   // the step this frame's update runs in
        if (director && director->Phase == 1 && At("FMODLogo").y == 0 && Rise("FMODLogo") == 0)
            creditHeld = true;
        if (director && director->Phase == 2)
            titleSeenRising |= Rise("GameTitle") == 2.0f;
        if (director && director->Phase == 3 && framesIn[3] == 1)
        {
            EXPECT_EQ(At("GameTitle").y, 0);
            EXPECT_EQ(At("PresentsText").y, -2.0f);
            EXPECT_EQ(Rise("GameTitle"), 0);
            EXPECT_EQ(Rise("VostrelLogo"), 0);
        }
        if (director && director->Phase == 4 && framesIn[4] == 1)
        {
            EXPECT_EQ(At("GameLogo").y, 0);
            EXPECT_EQ(At("GameLogo").z, 4.0f);
            EXPECT_EQ(At("GameTitle").y, -12.0f);
            EXPECT_EQ(At("PresentsText").x, -2.0f);
        }
        flow.Frame(Dt);
        ++frames;
    }
    EXPECT_EQ(flow.Current(), Menu);
    // The maker's logo stands its minimum of 2 s although the file asks for 0.5.
    EXPECT_EQ(framesIn[0], 16);
    EXPECT_TRUE(creditHeld);
    EXPECT_TRUE(titleSeenRising);
    EXPECT_EQ(framesIn[3], 20);   // 2.5 s
    EXPECT_EQ(framesIn[4], 32);   // 4 s
    EXPECT_EQ(framesIn[5], 30);   // the last half second counts 1/60 per update, whatever the frame time
}

TEST_F(BehaviorSplashScreenTest, SkipInputsPressedThisFrameGoToTheMainMenu)
{
    for (int code : {0, 1, Key::Enter, Key::Space, Key::Escape})
    {
        ASSERT_TRUE(Scenes().LoadScene(Splash));
        flow.Frame(Dt);
        InputSystem::GetInstance().state[code] = 2;   // held from before: no skip
        flow.Frame(Dt);
        EXPECT_EQ(flow.Current(), Splash) << code;
        InputSystem::GetInstance().state[code] = 1;
        flow.Frame(0);   // a frozen frame takes no input
        EXPECT_EQ(flow.Current(), Splash) << code;
        flow.Frame(Dt);
        EXPECT_EQ(flow.Current(), Menu) << code;
        InputSystem::GetInstance().state[code] = 0;
    }
    ASSERT_TRUE(Scenes().LoadScene(Splash));
    flow.Tap('A');
    EXPECT_EQ(flow.Current(), Splash);
}

TEST_F(BehaviorSplashScreenTest, AFrozenFrameAdvancesNothing)
{
    flow.Frame(Dt);
    for (int i = 0; i < 100; ++i)
        flow.Frame(0);
    EXPECT_EQ(Director()->Phase, 0);
    EXPECT_EQ(Director()->PhaseTime, Dt);
}

TEST_F(BehaviorSplashScreenTest, ATitleAlreadyMovingKeepsItsSpeedAndTheMenuIsAskedForOnce)
{
    flow.Frame(Dt);
    BehaviorSplashScreen* director = Director();
    flow.Find("GameTitle")->GetComponent<Physics>()->Velocity.y = 5;
    director->Phase = 1;
    director->PhaseTime = director->FMODDisplayDuration;
    flow.Find("FMODLogo")->GetComponent<Transform>()->Translation.y = 1.5f;
    flow.Frame(Dt);
    EXPECT_EQ(director->Phase, 2);
    EXPECT_EQ(Rise("GameTitle"), 5);
    EXPECT_EQ(Rise("PresentsText"), 2);

    director->Phase = 5;
    director->Done = true;
    flow.Frame(Dt);
    EXPECT_FALSE(Scenes().queuedLoadRequested);
    EXPECT_EQ(flow.Current(), Splash);
}

TEST(BehaviorSplashScreen, ReadRaisesShortDisplaysAndWritesItsFourKeys)
{
    BehaviorSplashScreen splash;
    splash.Phase = 3;
    splash.Done = true;
    splash.Read(
        json::parse(R"({"VostrelDisplayDuration": 0.5, "FMODDisplayDuration": 3.5, "TitleScrollSpeed": 4})"));
    EXPECT_EQ(splash.VostrelDisplayDuration, 2.0f);
    EXPECT_EQ(splash.FMODDisplayDuration, 3.5f);
    EXPECT_EQ(splash.TitleScrollSpeed, 4.0f);
    EXPECT_EQ(splash.Phase, 0);
    EXPECT_FALSE(splash.Done);
    json saved;
    splash.Write(saved);
    EXPECT_EQ(saved, json::parse(R"({"Type": "BehaviorSplashScreen", "VostrelDisplayDuration": 2.0,
        "FMODDisplayDuration": 3.5, "TitleScrollSpeed": 4.0, "GameLogoDisplayDuration": 1.5})"));
}
}   // namespace
