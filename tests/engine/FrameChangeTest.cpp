#include "engine/FrameChange.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

namespace
{
// Runs frames written as one character each: 'A' and 'B' note two different pictures, '?' a
// frame whose drawing cannot be noted, '+' picture A noted in more notes than a still screen
// takes; '!' is not a frame but the screen losing its picture before the next one. Gives 'D'
// for each frame drawn and presented, 'r' for each frame rehearsed and not presented.
std::string Frames(FrameChange& change, const std::string& frames)
{
    std::string result;
    for (char f : frames)
    {
        if (f == '!')
        {
            change.Invalidate();
            continue;
        }
        change.BeginFrame();
        const bool drawing = change.Drawing();
        if (f == '?')
            change.NoteUnknown();
        else if (f == '+')
            for (int i = 0; i <= FrameChange::MostNotes; ++i)
                change.Note('A');
        else
            change.Note(f == 'A' ? 1.5f : 2.5f);
        const bool presented = change.EndFrame();
        EXPECT_EQ(presented, drawing) << "a frame is presented exactly when it was drawn";
        result += presented ? 'D' : 'r';
    }
    return result;
}
}   // namespace

TEST(FrameChangeTest, AStillPictureIsRehearsedAndAChangeIsDrawnTheFrameAfter)
{
    struct Case
    {
        const char* frames;
        const char* expected;
        const char* why;
    } cases[] = {
        {"AAAA", "DDrr", "twice the same picture: the frames after it are rehearsed"},
        {"AAABB", "DDrrD", "a rehearsal that finds a change has the next frame drawn"},
        {"AAABBBB", "DDrrDDr", "the change is drawn, then drawn again before it counts as still"},
        {"AAABAA", "DDrrDr", "a change found is drawn the frame after, even when gone again"},
        {"AAA!AA", "DDrDr", "a screen that lost its picture is drawn again"},
        {"???", "DDD", "frames that cannot be noted are always drawn"},
        {"AA?AA", "DDrDr", "a rehearsal that cannot be noted has the next frame drawn"},
        {"+++", "DDD", "a busy frame stops noting and is drawn"},
        {"A?A", "DDD", "a drawn frame that could not be noted is no picture to compare with"},
    };
    for (const Case& c : cases)
    {
        FrameChange change;
        EXPECT_EQ(Frames(change, c.frames), c.expected) << c.frames << ": " << c.why;
    }
}

TEST(FrameChangeTest, ResetDrawsTheNextFrame)
{
    FrameChange change;
    EXPECT_EQ(Frames(change, "AAA"), "DDr");
    change.Reset();
    change.BeginFrame();
    EXPECT_TRUE(change.Drawing());
}

TEST(FrameChangeTest, DigestsNotedTellTheirValuesAndTheirOrder)
{
    const auto notesOf = [](std::initializer_list<uint64_t> digests) {
        FrameChange change;
        change.BeginFrame();
        for (const uint64_t d : digests)
            change.NoteDigest(d);
        return change.Notes();
    };
    const uint64_t a = FrameChange::Digest("a", 1, 0), b = FrameChange::Digest("b", 1, 0);
    EXPECT_EQ(notesOf({a, b}), notesOf({a, b}));
    EXPECT_NE(notesOf({a, b}), notesOf({b, a}));
    EXPECT_NE(notesOf({a, b}), notesOf({a, a}));
    EXPECT_NE(notesOf({a}), notesOf({a, a})) << "a digest noted twice is not noted once";
    EXPECT_NE(notesOf({0}), notesOf({})) << "a zero digest is still a note";
}
