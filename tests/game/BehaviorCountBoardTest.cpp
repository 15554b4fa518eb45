#include "game/BehaviorCountBoard.h"

#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

namespace
{
using Verdict = BehaviorCountBoard::Verdict;

class CountBoardTest : public testing::Test
{
protected:
    void SetUp() override { BehaviorCountBoard::ResetStatics(); }
    void TearDown() override { BehaviorCountBoard::ResetStatics(); }
};

const char* Name(Verdict v) { return v == Verdict::Lost ? "lost" : v == Verdict::Won ? "won" : "undecided"; }
}   // namespace

TEST_F(CountBoardTest, DecidesLossBeforeWinFromTheCounts)
{
    struct Case
    {
        const char* what;
        int32_t spawnTotal, deadMax, exitMax, dead, exited;
        Verdict expected;
    };
    const Case cases[] = {
        {"nothing happened yet", 10, 10, 5, 0, 0, Verdict::Undecided},
        {"four dead, six left to make five", 10, 10, 5, 4, 0, Verdict::Undecided},
        {"five dead: the five left do not exceed five", 10, 10, 5, 5, 0, Verdict::Lost},
        {"the third death reaches DeadMax 3", 10, 3, 5, 3, 0, Verdict::Lost},
        {"two deaths under DeadMax 3", 10, 3, 5, 2, 0, Verdict::Undecided},
        {"five out, four dead", 10, 10, 5, 4, 5, Verdict::Won},
        {"five out, none dead", 10, 10, 5, 0, 5, Verdict::Won},
        {"more out than needed", 10, 10, 5, 0, 7, Verdict::Won},
        {"five out but no margin left: loss wins the tie", 10, 10, 5, 5, 5, Verdict::Lost},
        {"the last needed bot out while DeadMax is reached", 10, 3, 5, 3, 5, Verdict::Lost},
        {"no spawner: nothing can exit", 0, 10, 5, 0, 0, Verdict::Lost},
        {"more deaths than bots never wraps into a win", 10, 20, 0, 12, 0, Verdict::Lost},
        {"ExitMax 0 with bots left is won at once", 10, 10, 0, 0, 0, Verdict::Won},
    };
    for (const Case& c : cases)
    {
        BehaviorCountBoard::DeadMax = c.deadMax;
        BehaviorCountBoard::ExitMax = c.exitMax;
        BehaviorCountBoard::DeadCount = c.dead;
        BehaviorCountBoard::ExitedCount = c.exited;
        const Verdict got = BehaviorCountBoard::Decide(c.spawnTotal);
        EXPECT_EQ(got, c.expected) << c.what << ": got " << Name(got);
    }
}

TEST_F(CountBoardTest, StoresOnlyTheSharedLimits)
{
    BehaviorCountBoard first;
    first.Read(json{{"DeadMax", 4}, {"ExitMax", 6}, {"StateNext", 1}, {"Timer", 3.0}});
    EXPECT_EQ(BehaviorCountBoard::DeadMax, 4);
    EXPECT_EQ(BehaviorCountBoard::ExitMax, 6);
    EXPECT_EQ(first.StateNext, 0) << "the behaviour keys are not read";
    EXPECT_EQ(first.Timer, 0);

    // The board read last sets the limits for every board; absent keys keep them.
    BehaviorCountBoard second;
    second.Read(json{{"ExitMax", 2}});
    EXPECT_EQ(BehaviorCountBoard::DeadMax, 4);
    json written;
    first.Write(written);
    EXPECT_EQ(written, (json{{"Type", "BehaviorCountBoard"}, {"DeadMax", 4}, {"ExitMax", 2}}));
}

TEST_F(CountBoardTest, LimitsThatAreNotCountsAreReportedAndKept)
{
    BehaviorCountBoard::DeadMax = 3;
    BehaviorCountBoard::ExitMax = 5;
    const json bad[] = {
        {{"DeadMax", -1}},         {{"DeadMax", "four"}},  {{"DeadMax", 2.5}},
        {{"ExitMax", 4294967296}}, {{"ExitMax", nullptr}}, {{"ExitMax", json::array({1})}},
    };
    for (const json& value : bad)
    {
        TraceCapture trace;
        BehaviorCountBoard board;
        board.Read(value);
        EXPECT_EQ(BehaviorCountBoard::DeadMax, 3) << value.dump();
        EXPECT_EQ(BehaviorCountBoard::ExitMax, 5) << value.dump();
        EXPECT_TRUE(trace.Contains("COUNTBOARD: [")) << value.dump() << "\n" << trace.All();
    }
}

TEST_F(CountBoardTest, CloneKeepsTheVerdictAndTheStates)
{
    BehaviorCountBoard board;
    board.Decided = true;
    board.StateCurrent = 0;
    board.StateNext = 0;
    board.Timer = 2.5f;
    std::unique_ptr<Component> copy(board.Clone());
    const auto* clone = dynamic_cast<BehaviorCountBoard*>(copy.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_TRUE(clone->Decided);
    EXPECT_EQ(clone->StateCurrent, 0);
    EXPECT_EQ(clone->Timer, 2.5f);
    EXPECT_EQ(clone->Parent, nullptr);
}
