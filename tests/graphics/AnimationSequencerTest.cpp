#include "graphics/AnimationSequencer.h"

#include "graphics/Animation.h"
#include "graphics/MeshLibrary.h"
#include "graphics/Sprite.h"
#include "graphics/TextureLibrary.h"
#include "scene/ComponentRegistry.h"
#include "scene/Entity.h"
#include "tests/common/TestDataFolder.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

namespace
{
// A data folder of state files and an entity with a sprite, an animation and a sequencer read
// from a "States" list.
class SequencerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        data.Write("Anims/Walk.json", R"({"name": "Walk", "Texture": "Black", "FrameCount": 8,
            "FrameDuration": 0.1, "isLooping": true, "Dimensions": [8, 1]})");
        // Listed as "Dig" but named "Digging" inside.
        data.Write("Anims/Dig.json", R"({"name": "Digging", "Mesh": "Prim_Cube", "FrameCount": 6,
            "FrameDuration": 0.05, "Dimensions": [3, 2]})");
        data.Write("Anims/DigLate.json", R"({"name": "Digging", "FrameCount": 4, "FrameDuration": 0.2,
            "Dimensions": [4, 1]})");
        data.Write("Anims/Broken.json", R"({"name": "Broken", "FrameCount": )");
    }

    // Components as an entity file lists them.
    void Build(const std::string& states)
    {
        entity.Read(json::parse(R"({"Name": "Bot", "Components": [
            {"Type": "Sprite", "Texture": "White"},
            {"Type": "Animation", "FrameCount": 2, "FrameDuration": 1.0, "Dimensions": [2, 1]},
            {"Type": "AnimationSequencer", "States": )" +
                                states + "}]}"));
        sequencer = entity.GetComponent<AnimationSequencer>();
        animation = entity.GetComponent<Animation>();
        sprite = entity.GetComponent<Sprite>();
        ASSERT_TRUE(sequencer && animation && sprite);
    }

    TestDataFolder data;
    Entity entity;
    AnimationSequencer* sequencer = nullptr;
    Animation* animation = nullptr;
    Sprite* sprite = nullptr;
};
}   // namespace

TEST_F(SequencerTest, SwitchingCopiesTheSheetIntoTheAnimationAndTheLookIntoTheSprite)
{
    Build(R"(["Walk", "Dig"])");
    ASSERT_EQ(sequencer->States.size(), 2u);

    EXPECT_TRUE(sequencer->SetState("Walk"));
    EXPECT_EQ(sequencer->CurrentState, "Walk");
    EXPECT_EQ(animation->FrameCount, 8);
    EXPECT_EQ(animation->FrameDuration, 0.1f);
    EXPECT_EQ(animation->Columns, 8);
    EXPECT_EQ(animation->Rows, 1);
    EXPECT_TRUE(animation->Running);
    EXPECT_EQ(sprite->request->texture, TextureLibrary::GetInstance().FindOrLoad("Black"));
    EXPECT_EQ(sprite->request->mesh, MeshLibrary::GetInstance().FindOrLoad("Prim_Plane"));
    EXPECT_EQ(sprite->uv[0], 0.125f);

    // The looping flag of a state is not taken: the animation keeps its own.
    EXPECT_FALSE(animation->Looping);

    // A state is found by the name inside its file, not by the name listed.
    EXPECT_TRUE(sequencer->SetState("Digging"));
    EXPECT_EQ(animation->Columns, 3);
    EXPECT_EQ(animation->Rows, 2);
    EXPECT_EQ(sprite->request->mesh, MeshLibrary::GetInstance().FindOrLoad("Prim_Cube"));
    EXPECT_EQ(sprite->request->texture, 0);   // no "Texture": texture 0
}

TEST_F(SequencerTest, TheSameStateAgainChangesNothingAndDoesNotRestart)
{
    Build(R"(["Walk"])");
    ASSERT_TRUE(sequencer->SetState("Walk"));
    animation->Update(0.1f);
    animation->Update(0.1f);
    ASSERT_EQ(animation->CurrentFrame, 2);
    EXPECT_FALSE(sequencer->SetState("Walk"));
    EXPECT_EQ(animation->CurrentFrame, 2);
}

TEST_F(SequencerTest, OfSeveralStatesWithOneNameTheLastWins)
{
    Build(R"(["Dig", "DigLate"])");
    ASSERT_TRUE(sequencer->SetState("Digging"));
    EXPECT_EQ(animation->FrameCount, 4);
    EXPECT_EQ(animation->FrameDuration, 0.2f);
    EXPECT_EQ(animation->Columns, 4);
}

TEST_F(SequencerTest, AStateItDoesNotHaveRestartsTheCurrentSheetAtItsFirstFrameWithAMessage)
{
    Build(R"(["Walk"])");
    ASSERT_TRUE(sequencer->SetState("Walk"));
    animation->Update(0.1f);
    TraceCapture trace;
    EXPECT_TRUE(sequencer->SetState("Swim"));
    EXPECT_EQ(sequencer->CurrentState, "Swim");
    EXPECT_EQ(animation->CurrentFrame, 0);
    EXPECT_EQ(animation->Columns, 8);   // the previous sheet stays
    EXPECT_EQ(sprite->uv[6], 0.0f);
    EXPECT_TRUE(trace.Contains("ANIMATION: [Bot] has no state \"Swim\"")) << trace.All();
}

// A state file's number too large for its field keeps the field's default, said with the file
// and the key; the rest of the state is read.
TEST_F(SequencerTest, NumbersOutOfRangeInAStateFileKeepTheirDefaults)
{
    data.Write("Anims/Huge.json", R"({"name": "Huge", "FrameCount": 99999999999, "FrameDuration": 1e300,
        "Dimensions": [2, 22222222222222222222], "tint": [1e39, 0.5, 0.5], "ST scaling": [1e39, 1],
        "isLooping": true})");
    data.Write("Anims/Deep.json", std::string(100, '[') + std::string(100, ']'));
    TraceCapture trace;
    Build(R"(["Huge", "Deep"])");
    ASSERT_EQ(sequencer->States.size(), 1u);
    const AnimState& state = sequencer->States[0];
    EXPECT_EQ(state.name, "Huge");
    EXPECT_EQ(state.frameCount, 0);
    EXPECT_EQ(state.frameDuration, 0.0f);
    EXPECT_EQ(state.columns, 0);
    EXPECT_EQ(state.rows, 0);
    EXPECT_EQ(state.tint[0], 1.0f);
    EXPECT_EQ(state.tint[1], 0.5f);
    EXPECT_EQ(state.uv[0], 0.0f) << "no scaling taken";
    EXPECT_TRUE(state.looping);
    for (const char* key : {"\"FrameCount\" 99999999999", "\"FrameDuration\" 1e+300", "\"Dimensions\" 2.2",
                            "\"tint\" 1e+39", "\"ST scaling\" 1e+39"})
        EXPECT_TRUE(trace.Contains(std::string("ANIMATION: [Data/Anims/Huge.json] ") + key)) << key << "\n"
                                                                                             << trace.All();
    EXPECT_TRUE(trace.Contains("ANIMATION: [Data/Anims/Deep.json] not a valid state file")) << trace.All();
    EXPECT_TRUE(trace.Contains("nested deeper than 64 levels")) << trace.All();
}

TEST_F(SequencerTest, MissingAndBrokenStateFilesAreSkippedWithAMessageAndStillSaved)
{
    TraceCapture trace;
    Build(R"(["Walk", "Nowhere", "Broken", 7, "Dig"])");
    EXPECT_EQ(sequencer->States.size(), 2u);
    EXPECT_TRUE(trace.Contains("ANIMATION: [Data/Anims/Nowhere.json] state file not found")) << trace.All();
    EXPECT_TRUE(trace.Contains("ANIMATION: [Data/Anims/Broken.json] not a valid state file")) << trace.All();
    EXPECT_TRUE(trace.Contains("is not a text")) << trace.All();

    // The listed names are what a saved scene keeps, loadable or not.
    json saved;
    sequencer->Write(saved);
    EXPECT_EQ(saved, json::parse(R"({"Type": "AnimationSequencer",
                                     "States": ["Walk", "Nowhere", "Broken", "Dig"]})"));
    Entity copy;
    copy.Read(json::parse(R"({"Name": "Copy", "Components": [)" + saved.dump() + "]}"));
    ASSERT_NE(copy.GetComponent<AnimationSequencer>(), nullptr);
    EXPECT_EQ(copy.GetComponent<AnimationSequencer>()->StateNames, sequencer->StateNames);
    EXPECT_EQ(copy.GetComponent<AnimationSequencer>()->States.size(), 2u);
}

TEST_F(SequencerTest, StatesThatAreNotAListReadNothing)
{
    TraceCapture trace;
    Build(R"("Walk")");
    EXPECT_TRUE(sequencer->States.empty());
    EXPECT_TRUE(trace.Contains("\"States\" is not a list")) << trace.All();
}

TEST_F(SequencerTest, WithoutAnAnimationTheSwitchIsRefused)
{
    Entity bare;
    bare.Name = "Bare";
    AnimationSequencer* lone = new AnimationSequencer();
    bare.AddComponent(lone);
    TraceCapture trace;
    EXPECT_FALSE(lone->SetState("Walk"));
    EXPECT_TRUE(lone->CurrentState.empty());
    EXPECT_TRUE(trace.Contains("without a Sprite and an Animation")) << trace.All();
}

TEST(AnimStateTest, AbsentAndMistypedKeysKeepTheDefaults)
{
    const AnimState defaults = ReadAnimState(json::object());
    EXPECT_EQ(defaults.name, "");
    EXPECT_EQ(defaults.frameCount, 0);
    EXPECT_EQ(defaults.mesh, MeshLibrary::GetInstance().FindOrLoad("Prim_Plane"));
    EXPECT_EQ(defaults.texture, 0);
    EXPECT_EQ(defaults.tint[0], 1.0f);
    for (float entry : defaults.uv)
        EXPECT_EQ(entry, 0.0f);

    const AnimState odd = ReadAnimState(json::parse(R"({"name": 3, "FrameCount": 2.5, "isLooping": "yes",
        "Dimensions": [1, 2, 3], "Wrap_Mode": "Clamp", "Filter_Mode": "linear", "ST scaling": [2, 3],
        "tint": [0.5, 0.25, 1], "space": "uiProj"})"));
    EXPECT_EQ(odd.name, "");
    EXPECT_EQ(odd.frameCount, 0);
    EXPECT_FALSE(odd.looping);
    EXPECT_EQ(odd.columns, 0);   // only exactly two entries count
    EXPECT_EQ(odd.wrap, 0);      // "clamp" only in lower case
    EXPECT_EQ(odd.filter, 1);
    EXPECT_EQ(odd.uv[0], 2.0f);
    EXPECT_EQ(odd.uv[4], 3.0f);
    EXPECT_EQ(odd.uv[8], 1.0f);
    EXPECT_EQ(odd.tint[1], 0.25f);
    EXPECT_EQ(odd.space, 1);
}
