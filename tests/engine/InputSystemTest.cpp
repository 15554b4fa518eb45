#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "engine/WindowSystem.h"
#include "graphics/Graphics.h"
#include "graphics/GraphicsSystem.h"

#include <gtest/gtest.h>
#include <set>

namespace
{
class InputTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::fill(std::begin(input.state), std::end(input.state), 0);
        MessagingSystem::GetInstance().Clear();
        WindowSystem::GetInstance().width = 1440;
        WindowSystem::GetInstance().height = 810;
    }
    void TearDown() override { MessagingSystem::GetInstance().Clear(); }

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
}
