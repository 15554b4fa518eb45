#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "engine/WindowSystem.h"
#include "graphics/Graphics.h"
#include "graphics/GraphicsSystem.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace
{
class InputTest : public testing::Test
{
protected:
    void SetUp() override
    {
        input.Reset();
        MessagingSystem::GetInstance().Clear();
        WindowSystem::GetInstance().width = 1440;
        WindowSystem::GetInstance().height = 810;
    }
    void TearDown() override
    {
        input.Reset();
        MessagingSystem::GetInstance().Clear();
    }

    std::vector<std::string> Delivered(int type)
    {
        std::vector<std::string> texts;
        MessagingSystem::GetInstance().Subscribe(type, "test",
                                                 [&](std::string t) { return texts.push_back(t), false; });
        MessagingSystem::GetInstance().EndFrame();
        return texts;
    }

    InputSystem& input = InputSystem::GetInstance();
};
}   // namespace

TEST_F(InputTest, StateGoesDownThenHeldThenUp)
{
    std::set<int> down = {65, 0};
    const auto poll = [&] { input.Poll([&](int code) { return down.count(code) > 0; }); };
    std::vector<int> key, button;
    for (int frame = 0; frame < 3; ++frame)
    {
        poll();
        key.push_back(input.state[65]);
        button.push_back(input.state[0]);
    }
    down.clear();
    poll();
    key.push_back(input.state[65]);
    button.push_back(input.state[0]);
    EXPECT_EQ(key, (std::vector<int>{1, 2, 2, 0}));
    EXPECT_EQ(button, key);
    EXPECT_EQ(input.state[20], 0);   // codes 8..31 are never written
}

// Presses and releases as the window's callbacks report them, between polls that see the code
// up or down: however short a tap, it reads 1 for one frame and then 0, whatever the frame rate.
TEST_F(InputTest, NoTapBetweenTwoPollsIsLost)
{
    constexpr int Press = 1, Release = 0;   // the window library's actions
    struct Step
    {
        std::vector<int> events;   // actions reported before the poll
        bool down;                 // what the poll reads
        int state;
    };
    struct Case
    {
        const char* what;
        std::vector<Step> steps;
    } cases[] = {
        {"a tap inside one frame", {{{Press, Release}, false, 1}, {{}, false, 0}, {{}, false, 0}}},
        {"held across frames",
         {{{Press}, true, 1}, {{}, true, 2}, {{}, true, 2}, {{Release}, false, 0}, {{}, false, 0}}},
        {"released and pressed again inside one frame",
         {{{Press}, true, 1}, {{}, true, 2}, {{Release, Press}, true, 1}, {{}, true, 2}}},
        {"two taps in two frames",
         {{{Press, Release}, false, 1}, {{Press, Release}, false, 1}, {{}, false, 0}}},
        {"a tap during a hold's last frame",
         {{{Press}, true, 1}, {{Release, Press, Release}, false, 1}, {{}, false, 0}}},
    };
    for (const Case& c : cases)
        for (int code : {65, 0})
        {
            SCOPED_TRACE(testing::Message() << c.what << ", code " << code);
            input.Reset();
            std::vector<int> states, expected;
            for (const Step& step : c.steps)
            {
                for (int action : step.events)
                    code < InputSystem::MouseButtons ? InputSystem::OnMouseButton(nullptr, code, action, 0)
                                                     : InputSystem::OnKey(nullptr, code, 0, action, 0);
                input.Poll([&](int polled) { return polled == code && step.down; });
                states.push_back(input.state[code]);
                expected.push_back(step.state);
            }
            EXPECT_EQ(states, expected);
        }
    // Events of codes that have no state change nothing.
    input.Reset();
    InputSystem::OnKey(nullptr, -1, 0, Press, 0);
    InputSystem::OnKey(nullptr, 20, 0, Press, 0);
    InputSystem::OnMouseButton(nullptr, 9, Press, 0);
    input.Poll([](int) { return false; });
    EXPECT_TRUE(std::all_of(std::begin(input.state), std::end(input.state), [](int s) { return s == 0; }));
}

TEST_F(InputTest, CodesOutsideTheStateReadAsNeverPressed)
{
    input.Poll([](int) { return true; });
    EXPECT_EQ(input.GetState(348), 1);
    EXPECT_EQ(input.GetState(-1), 0);
    EXPECT_EQ(input.GetState(349), 0);
    EXPECT_EQ(input.GetState(100000), 0);
}

TEST_F(InputTest, KeyAndMouseEventsArePostedAsText)
{
    InputSystem::OnKey(nullptr, 65, 0, 1, 0);
    InputSystem::OnKey(nullptr, 65, 0, 0, 0);
    InputSystem::OnKey(nullptr, 65, 0, 2, 0);
    InputSystem::OnMouseButton(nullptr, 1, 1, 0);
    EXPECT_EQ(Delivered(1), (std::vector<std::string>{"65, 1", "65, 0", "65, 2"}));
}

TEST_F(InputTest, MouseButtonEventsAreTypeThree)
{
    InputSystem::OnMouseButton(nullptr, 1, 1, 0);
    EXPECT_EQ(Delivered(3), std::vector<std::string>{"1, 1"});
}

TEST_F(InputTest, CursorEventsGiveDeviceCoordinatesAndAMarker)
{
    input.onCursorMoved = Graphics::SubmitCursorMarker;
    const size_t before = GraphicsSystem::GetInstance().QueuedDebugLines();
    InputSystem::OnCursorPos(nullptr, 720, 405);
    EXPECT_DOUBLE_EQ(input.cursorX, 0.0);
    EXPECT_DOUBLE_EQ(input.cursorY, 0.0);
    EXPECT_EQ(GraphicsSystem::GetInstance().QueuedDebugLines(), before + 4);
    InputSystem::OnCursorPos(nullptr, 0, 810);
    EXPECT_DOUBLE_EQ(input.cursorX, -1.0);
    EXPECT_DOUBLE_EQ(input.cursorY, -1.0);
    EXPECT_EQ(Delivered(2), (std::vector<std::string>{"0.000000, 0.000000", "-1.000000, -1.000000"}));
    input.onCursorMoved = nullptr;
}

TEST_F(InputTest, WhatAnOverlayHoldsReadsUpForTheGameUntilReleased)
{
    std::set<int> down;
    const auto poll = [&] { input.Poll([&](int code) { return down.count(code) > 0; }); };
    for (const bool keyboard : {true, false})
    {
        SCOPED_TRACE(keyboard ? "keyboard" : "mouse");
        const int code = keyboard ? 65 : 0, other = keyboard ? 0 : 65;
        bool& overlayHasIt = keyboard ? input.overlayHasKeyboard : input.overlayHasMouse;
        overlayHasIt = true;
        down = {code, other};
        poll();
        EXPECT_EQ(input.state[code], 0);
        EXPECT_EQ(input.state[other], 1) << "the other device stays the game's";
        overlayHasIt = false;
        poll();
        EXPECT_EQ(input.state[code], 0) << "pressed for the overlay, held on: still not the game's";
        down.clear();
        poll();
        down = {code};
        poll();
        EXPECT_EQ(input.state[code], 1) << "a fresh press is the game's";
        down.clear();
        poll();
    }
    // A tap inside one frame is the overlay's while it has the device, the game's once it has not.
    for (const bool overlayHasIt : {true, false})
    {
        input.overlayHasMouse = overlayHasIt;
        InputSystem::OnMouseButton(nullptr, 0, 1, 0);
        InputSystem::OnMouseButton(nullptr, 0, 0, 0);
        poll();
        EXPECT_EQ(input.state[0], overlayHasIt ? 0 : 1);
        poll();
        EXPECT_EQ(input.state[0], 0);
    }
}
