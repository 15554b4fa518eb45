#include "engine/WindowSystem.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace
{
// The window system without a window, on a clock the test sets.
class WindowTimingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        saved.forceDT = w.forceDT;
        saved.framePeriod = w.framePeriod;
        saved.sleep = w.sleep;
        w.clock = [this] { return now; };
        w.lastTime = 0;
        w.totalTime = 0;
        w.frameCounter = 0;
        w.forceDT = 1;
        w.framePeriod = 0.008333334f;
        w.closeRequested = false;
    }
    void TearDown() override
    {
        w.clock = [] { return 0.0; };
        w.sleep = saved.sleep;
        w.forceDT = saved.forceDT;
        w.framePeriod = saved.framePeriod;
        w.fullscreen = true;
        w.closeRequested = false;
    }

    WindowSystem& w = WindowSystem::GetInstance();
    double now = 0;
    struct
    {
        float forceDT, framePeriod;
        std::function<void(double)> sleep;
    } saved{};
};
}   // namespace

TEST_F(WindowTimingTest, FrameTimeIsCappedAtOneFifteenthTimesForceDT)
{
    struct Case
    {
        double elapsed;
        float forceDT;
        float expected;
    } cases[] = {{0.010, 1, 0.010f}, {0.5, 1, 0.06666667f}, {0.5, 2, 0.13333334f}, {0.02, 0, 0.0f}};
    for (const Case& c : cases)
    {
        w.lastTime = 10;
        now = 10 + c.elapsed;
        w.forceDT = c.forceDT;
        const float before = w.totalTime;
        w.MeasureFrameTime();
        EXPECT_NEAR(w.dt, c.expected, 1e-6) << c.elapsed << " x " << c.forceDT;
        EXPECT_NEAR(w.totalTime - before, c.expected, 1e-6);
        EXPECT_FLOAT_EQ(w.lastTime, static_cast<float>(now));
    }
}

TEST_F(WindowTimingTest, WindowCommandsAndTheirResults)
{
    EXPECT_TRUE(w.OnWindowMessage("forceDT: 0"));
    EXPECT_EQ(w.forceDT, 0.0f);
    w.lastTime = 1;
    now = 1.5;
    w.MeasureFrameTime();
    EXPECT_EQ(w.dt, 0.0f);
    EXPECT_TRUE(w.OnWindowMessage("forceDT: 1"));
    EXPECT_EQ(w.forceDT, 1.0f);

    EXPECT_TRUE(w.OnWindowMessage("framerate: 60"));
    EXPECT_FLOAT_EQ(w.framePeriod, 1.0f / 60.0f);
    EXPECT_FALSE(w.OnWindowMessage("framerate: 0"));
    EXPECT_FALSE(w.OnWindowMessage("framerate: -5"));
    EXPECT_FLOAT_EQ(w.framePeriod, 1.0f / 60.0f);

    EXPECT_FALSE(w.OnWindowMessage("fullscreen"));
    EXPECT_FALSE(w.fullscreen);
    EXPECT_FALSE(w.OnWindowMessage("fullscreen"));
    EXPECT_TRUE(w.fullscreen);

    EXPECT_FALSE(w.OnWindowMessage("framerate 60"));   // the colon is part of the word
    EXPECT_FALSE(w.OnWindowMessage(std::string(40, 'x') + " 3"));
    EXPECT_FALSE(w.OnWindowMessage(""));
    EXPECT_FALSE(w.closeRequested);
    EXPECT_TRUE(w.OnWindowMessage("shutdown"));
    EXPECT_TRUE(w.closeRequested);
    EXPECT_TRUE(w.ShouldClose());
}

TEST_F(WindowTimingTest, AConfirmationHookCanCallOffAClose)
{
    int asked = 0;
    bool allow = false;
    w.confirmClose = [&] { return ++asked, allow; };
    w.RequestClose();
    EXPECT_FALSE(w.ShouldClose());
    EXPECT_FALSE(w.closeRequested) << "called off, not left pending";
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(w.ShouldClose()) << "without a window, nothing left to keep open";
    EXPECT_EQ(asked, 1) << "asked only when a close was requested";
    allow = true;
    w.RequestClose();
    EXPECT_TRUE(w.ShouldClose());
    EXPECT_EQ(asked, 2);
    w.confirmClose = nullptr;
}

TEST_F(WindowTimingTest, WindowedSizeIsThreeQuartersOfTheMonitorAt16By9)
{
    w.modeWidth = 1920;
    w.modeHeight = 1080;
    w.fullscreen = true;
    w.ToggleFullscreen();
    EXPECT_FALSE(w.fullscreen);
    EXPECT_EQ(w.width, 1440);
    EXPECT_EQ(w.height, 810);
    EXPECT_EQ(w.width / 4, 360);
    EXPECT_EQ(w.height / 4, 202);
    w.ToggleFullscreen();
    EXPECT_TRUE(w.fullscreen);
    EXPECT_EQ(w.width, 1920);
    EXPECT_EQ(w.height, 1080);
}

TEST_F(WindowTimingTest, LimiterHoldsTheFramePeriodAndCountsFrames)
{
    // A real clock here: the limiter must not return before the period has passed.
    const auto start = std::chrono::steady_clock::now();
    w.clock = [start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    EXPECT_TRUE(w.OnWindowMessage("framerate: 60"));
    for (int frame = 0; frame < 3; ++frame)
    {
        w.lastTime = static_cast<float>(w.clock());
        w.LimitFrame();
        EXPECT_GE(w.clock() - w.lastTime, 1.0 / 60.0 - 1e-6);
    }
    EXPECT_EQ(w.frameCounter, 3);
}

TEST_F(WindowTimingTest, LimiterSleepsWhatIsLeftOfThePeriodAndNeverSpins)
{
    // The clock moves a microsecond at each reading, and by what a sleep lasted: the first
    // sleep of a frame wakes `early` seconds before its time, later ones on time. A limiter
    // that waited without sleeping would read the clock thousands of times.
    const double period = 1.0 / 120.0;
    struct Case
    {
        double elapsed, early;
        std::vector<double> asked;   // the sleeps, in seconds
    } cases[] = {{0.0, 0, {period}},
                 {0.005, 0, {period - 0.005}},
                 {0.0, 0.002, {period, 0.002}},
                 {0.010, 0, {}}};   // past its period already: no wait at all
    for (const Case& c : cases)
    {
        int readings = 0;
        w.clock = [&] { return ++readings, now += 1e-6; };
        std::vector<double> asked;
        w.sleep = [&](double seconds) {
            asked.push_back(seconds);
            now += seconds - (asked.size() == 1 ? c.early : 0);
        };
        w.lastTime = 10;
        now = 10 + c.elapsed;
        const int frames = w.frameCounter;
        w.LimitFrame();
        ASSERT_EQ(asked.size(), c.asked.size()) << c.elapsed << " " << c.early;
        for (size_t i = 0; i < asked.size(); ++i)
            EXPECT_NEAR(asked[i], c.asked[i], 2e-5) << c.elapsed << " " << c.early << " sleep " << i;
        EXPECT_LE(readings, static_cast<int>(asked.size()) + 1) << "one reading after each sleep";
        EXPECT_EQ(w.frameCounter, frames + 1);
    }
}

TEST(WindowSystemWithoutWindow, CountsAsClosed)
{
    WindowSystem& w = WindowSystem::GetInstance();
    ASSERT_EQ(w.window, nullptr);
    EXPECT_TRUE(w.ShouldClose());
}
