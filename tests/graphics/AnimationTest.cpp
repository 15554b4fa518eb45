#include "graphics/Animation.h"

#include "graphics/Sprite.h"
#include "scene/Entity.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

namespace
{
// An entity with a sprite and an animation on it, as a bot or a particle carries them.
struct Animated
{
    explicit Animated(int frames, float duration, int columns, int rows, bool looping = true)
    {
        entity.Name = "Animated";
        entity.AddComponent(animation = new Animation());
        entity.AddComponent(sprite = new Sprite("Prim_Plane", "base", "White"));
        animation->FrameCount = frames;
        animation->FrameDuration = duration;
        animation->Columns = columns;
        animation->Rows = rows;
        animation->Looping = looping;
    }
    Entity entity;
    Animation* animation;
    Sprite* sprite;
};
}   // namespace

TEST(AnimationTest, FrameScaleAndOffsetFollowTheSheet)
{
    struct Case
    {
        int frame, columns, rows, uSign, vSign;
        float uScale, vScale, uOffset, vOffset;
        bool onSheet;
    } cases[] = {
        {5, 4, 2, 1, 1, 0.25f, 0.5f, 0.25f, 0.5f, true},   // second row counts upward
        {0, 8, 1, 1, 1, 0.125f, 1.0f, 0.0f, 0.0f, true},
        {7, 8, 1, 1, 1, 0.125f, 1.0f, 0.875f, 0.0f, true},
        // Mirrored: the frame's own cell, read from its far edge.
        {0, 8, 1, -1, 1, -0.125f, 1.0f, 0.125f, 0.0f, true},
        {5, 4, 2, -1, 1, -0.25f, 0.5f, 0.5f, 0.5f, true},
        {5, 4, 2, 1, -1, 0.25f, -0.5f, 0.25f, 1.0f, true},
        // Nothing on the sheet to show: the first frame, never a division by zero.
        {0, 0, 0, 1, 1, 1.0f, 1.0f, 0.0f, 0.0f, false},
        {3, 0, 2, 1, 1, 1.0f, 0.5f, 0.0f, 0.0f, false},
        {8, 4, 2, 1, 1, 0.25f, 0.5f, 0.0f, 0.0f, false},
        {-1, 4, 2, 1, 1, 0.25f, 0.5f, 0.0f, 0.0f, false},
    };
    for (const Case& c : cases)
    {
        float uv[9] = {9, 9, 9, 9, 9, 9, 9, 9, 9};
        const bool onSheet = Animation::WriteFrameUV(
            uv, c.frame, c.columns, c.rows, static_cast<int8_t>(c.uSign), static_cast<int8_t>(c.vSign));
        SCOPED_TRACE(testing::Message() << "frame " << c.frame << " of " << c.columns << " x " << c.rows
                                        << " signs " << c.uSign << ", " << c.vSign);
        EXPECT_EQ(onSheet, c.onSheet);
        EXPECT_EQ(uv[0], c.uScale);
        EXPECT_EQ(uv[4], c.vScale);
        EXPECT_EQ(uv[6], c.uOffset);
        EXPECT_EQ(uv[7], c.vOffset);
        EXPECT_EQ(uv[8], 1.0f);
        for (int untouched : {1, 2, 3, 5})
            EXPECT_EQ(uv[untouched], 9.0f) << "entry " << untouched;
    }
}

TEST(AnimationTest, OneFrameAdvancesPerUpdateAndTheOvershootCarriesOver)
{
    Animated a(8, 0.125f, 8, 1);
    a.animation->Play();
    EXPECT_EQ(a.animation->Timer, 0.125f);
    EXPECT_EQ(a.sprite->uv[6], 0.0f);

    // Each update is longer than a frame: still only one frame, and the timer runs behind.
    a.animation->Update(0.3125f);
    EXPECT_EQ(a.animation->CurrentFrame, 1);
    EXPECT_EQ(a.animation->Timer, -0.0625f);
    EXPECT_EQ(a.sprite->uv[6], 0.125f);
    a.animation->Update(0.3125f);
    EXPECT_EQ(a.animation->CurrentFrame, 2);
    EXPECT_EQ(a.animation->Timer, -0.25f);

    // Shorter updates: a frame every second update.
    Animated b(8, 0.25f, 8, 1);
    b.animation->Play();
    const int expected[] = {0, 1, 1, 2, 2, 3};
    for (int frame : expected)
    {
        b.animation->Update(0.125f);
        EXPECT_EQ(b.animation->CurrentFrame, frame);
    }
}

TEST(AnimationTest, TheLastFrameReportsDoneForOneUpdateAndStopsOrWraps)
{
    Animated once(4, 0.1f, 4, 1, false);
    once.animation->Play();
    for (int i = 0; i < 3; ++i)
    {
        once.animation->Update(0.1f);
        EXPECT_FALSE(once.animation->Done);
    }
    EXPECT_EQ(once.animation->CurrentFrame, 3);
    once.animation->Update(0.1f);
    EXPECT_TRUE(once.animation->Done);
    EXPECT_FALSE(once.animation->Running);
    EXPECT_EQ(once.animation->CurrentFrame, 3);
    EXPECT_EQ(once.animation->Timer, 0.0f);
    EXPECT_EQ(once.sprite->uv[6], 0.75f);   // still showing the last frame
    once.animation->Update(0.1f);
    EXPECT_FALSE(once.animation->Done);
    EXPECT_EQ(once.animation->CurrentFrame, 3);

    Animated looping(4, 0.1f, 2, 2, true);
    looping.animation->Play();
    for (int i = 0; i < 3; ++i)
        looping.animation->Update(0.1f);
    EXPECT_EQ(looping.sprite->uv[6], 0.5f);
    EXPECT_EQ(looping.sprite->uv[7], 0.5f);
    looping.animation->Update(0.1f);
    EXPECT_TRUE(looping.animation->Done);
    EXPECT_TRUE(looping.animation->Running);
    EXPECT_EQ(looping.animation->CurrentFrame, 0);
    EXPECT_EQ(looping.sprite->uv[6], 0.0f);
    EXPECT_EQ(looping.sprite->uv[7], 0.0f);
    looping.animation->Update(0.1f);
    EXPECT_FALSE(looping.animation->Done);
}

TEST(AnimationTest, AnAnimationReadRunningStepsOnItsFirstUpdate)
{
    Animated a(0, 0, 0, 0);
    a.animation->Read(json::parse(R"({"FrameCount": 6, "FrameDuration": 0.5, "isRunning": true,
                                      "isLooping": true, "Dimensions": [3, 2]})"));
    EXPECT_EQ(a.animation->Timer, 0.0f);
    a.animation->Update(0.01f);
    EXPECT_EQ(a.animation->CurrentFrame, 1);
    EXPECT_EQ(a.sprite->uv[0], 1.0f / 3.0f);
    EXPECT_EQ(a.sprite->uv[6], 1.0f / 3.0f);
}

TEST(AnimationTest, WithoutASpriteNothingMoves)
{
    Entity bare;
    Animation* animation = new Animation();
    bare.AddComponent(animation);
    animation->FrameCount = 4;
    animation->Running = true;
    animation->Done = true;
    animation->Update(1.0f);
    EXPECT_EQ(animation->CurrentFrame, 0);
    EXPECT_TRUE(animation->Done);
    animation->Play();   // nothing to show it on; the animation still restarts
    EXPECT_TRUE(animation->Running);
}

TEST(AnimationTest, ASheetWithoutColumnsShowsTheFirstFrameAndSaysSoOnce)
{
    TraceCapture trace;
    Animated a(4, 0.1f, 0, 0);
    a.animation->Play();
    a.animation->Update(0.1f);
    a.animation->Update(0.1f);
    EXPECT_EQ(a.animation->CurrentFrame, 2);
    EXPECT_EQ(a.sprite->uv[0], 1.0f);
    EXPECT_EQ(a.sprite->uv[6], 0.0f);
    const auto said = std::count_if(trace.lines.begin(), trace.lines.end(), [](const std::string& l) {
        return l.find("ANIMATION: [Animated]") == 0;
    });
    EXPECT_EQ(said, 1) << trace.All();
}

TEST(AnimationTest, KeysOfAnotherTypeLeaveFieldsAndWrittenFormReadsBack)
{
    Animation a;
    a.FrameCount = 5;
    a.FrameDuration = 0.2f;
    a.Columns = 5;
    a.Rows = 1;
    a.Read(json::parse(R"({"FrameCount": 2.5, "FrameDuration": "fast", "isRunning": 1,
                           "isLooping": "yes", "Dimensions": "5x1"})"));
    EXPECT_EQ(a.FrameCount, 5);
    EXPECT_EQ(a.FrameDuration, 0.2f);
    EXPECT_FALSE(a.Running);
    EXPECT_FALSE(a.Looping);
    EXPECT_EQ(a.Columns, 5);

    a.Running = true;
    a.Looping = true;
    json saved;
    a.Write(saved);
    EXPECT_EQ(saved["Type"], "Animation");
    Animation back;
    back.Read(saved);
    EXPECT_EQ(back.FrameCount, 5);
    EXPECT_EQ(back.FrameDuration, 0.2f);
    EXPECT_TRUE(back.Running);
    EXPECT_TRUE(back.Looping);
    EXPECT_EQ(back.Columns, 5);
    EXPECT_EQ(back.Rows, 1);
}
