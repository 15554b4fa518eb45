// Every component that reads numbers or vectors refuses a value of the wrong kind with the one
// message of the key reader, and the field keeps its default. Components whose data must go on
// without the value say so in the log and stay; the others throw, so the entity leaves them out.
#include "scene/ComponentRegistry.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
struct Case
{
    const char* type;
    json in;
    std::string refusal;       // the reader's message; the key it names is written as the default's
    std::string keptBy = {};   // empty: thrown; else the log line's start, the component kept
};

json Written(const Component& component)
{
    json out;
    component.Write(out);
    return out;
}
}   // namespace

TEST(ComponentKeys, AWrongTypeIsRefusedWithOneMessageAndTheDefaultKept)
{
    const Case cases[] = {
        {"Transform", {{"Scale", "big"}}, R"("Scale": an array of three numbers was expected, not "big")"},
        {"Transform",
         {{"Rotation", {1, true, 3}}},
         R"("Rotation": an array of three numbers was expected, not [1,true,3])"},
        {"Physics", {{"Mass", true}}, R"("Mass": a number was expected, not true)"},
        {"Physics", {{"Gravity", "down"}}, R"("Gravity": a number was expected, not "down")"},
        {"Physics",
         {{"Velocity", {1, 2}}},
         R"("Velocity": an array of three numbers was expected, not [1,2])"},
        {"ColliderCircle", {{"Radius", true}}, R"("Radius": a number was expected, not true)"},
        {"ColliderCircle", {{"Collision", 1.5}}, R"("Collision": an integer was expected, not 1.5)"},
        {"ColliderLine",
         {{"ResolveCollision", "1"}},
         R"("ResolveCollision": an integer was expected, not "1")"},
        {"ColliderLine",
         {{"Collision Mask", {1, 0, 1}}},
         R"("Collision Mask": an array of true or false values was expected, not [1,0,1])"},
        {"BehaviorMonkey",
         {{"FallDeathThreshold", true}},
         R"("FallDeathThreshold": a number was expected, not true)"},
        {"BehaviorMonkey",
         {{"TunnelSize", {2}}},
         R"("TunnelSize": an array of two numbers was expected, not [2])"},
        {"BehaviorMonkey", {{"Timer", "soon"}}, R"("Timer": a number was expected, not "soon")"},
        {"BehaviorSpawner", {{"SpawnTimer", true}}, R"("SpawnTimer": a number was expected, not true)"},
        {"BehaviorSpawner", {{"SpawnCount", 2.5}}, R"("SpawnCount": an integer was expected, not 2.5)"},
        {"BehaviorSpotlight",
         {{"SpotlightSize", true}},
         R"("SpotlightSize": a number was expected, not true)"},
        {"BehaviorSplashScreen",
         {{"TitleScrollSpeed", "fast"}},
         R"("TitleScrollSpeed": a number was expected, not "fast")"},
        {"BehaviorChangeSpeedButton",
         {{"CurrentSpeedState", true}},
         R"("CurrentSpeedState": a number was expected, not true)"},
        {"BehaviorDestroyByEvent", {{"KeyEvent", "0"}}, R"("KeyEvent": an integer was expected, not "0")"},
        {"Button", {{"Timer", true}}, R"("Timer": a number was expected, not true)"},
        {"EntityKiller", {{"Timer", {1}}}, R"("Timer": a number was expected, not [1])"},
        {"ParticleEmitter",
         {{"Texture", "Dust"}, {"EmitRate", true}},
         R"("EmitRate": a number was expected, not true)"},
        {"ParticleEmitter",
         {{"Texture", "Dust"}, {"Color", {1, 1}}},
         R"("Color": an array of three numbers was expected, not [1,1])"},
        {"Sprite", {{"tint", "red"}}, R"("tint": an array of three numbers was expected, not "red")"},
        {"Sprite", {{"ST scaling", {2}}}, R"("ST scaling": an array of two numbers was expected, not [2])"},
        {"Font", {{"tint", {1, 1}}}, R"("tint": an array of three numbers was expected, not [1,1])"},
        // Kept with a message: their data goes on without the value.
        {"Animation",
         {{"FrameDuration", true}},
         R"("FrameDuration": a number was expected, not true)",
         "COMPONENT: [Animation]"},
        {"Animation",
         {{"FrameCount", 2.5}},
         R"("FrameCount": an integer was expected, not 2.5)",
         "COMPONENT: [Animation]"},
        {"Animation",
         {{"Dimensions", {4}}},
         R"("Dimensions": an array of two numbers was expected, not [4])",
         "COMPONENT: [Animation]"},
        {"MusicPlayer",
         {{"Volume", "loud"}},
         R"("Volume": a number was expected, not "loud")",
         "COMPONENT: [MusicPlayer]"},
        {"BehaviorCountBoard",
         {{"DeadMax", 2.5}},
         R"("DeadMax": an integer was expected, not 2.5)",
         "COUNTBOARD: [BehaviorCountBoard]"},
        {"BehaviorJobButton",
         {{"Hotkey", "A"}},
         R"("Hotkey": an integer was expected, not "A")",
         "COMPONENT: [BehaviorJobButton]"},
        {"BehaviorDestructButton",
         {{"Hotkey", true}},
         R"("Hotkey": an integer was expected, not true)",
         "COMPONENT: [BehaviorDestructButton]"},
        {"PixelGrid",
         {{"Source", "Nowhere"}, {"CellSize", true}},
         R"("CellSize": a number was expected, not true)",
         "TERRAIN: [Nowhere]"},
        {"PixelGrid",
         {{"Source", "Nowhere"}, {"Origin", "here"}},
         R"("Origin": an array of two numbers was expected, not "here")",
         "TERRAIN: [Nowhere]"},
    };
    for (const Case& c : cases)
    {
        const std::string name = std::string(c.type) + " " + c.in.dump();
        const std::string key = c.refusal.substr(1, c.refusal.find('"', 1) - 1);
        std::unique_ptr<Component> fresh(ComponentRegistry::Create(c.type));
        std::unique_ptr<Component> read(ComponentRegistry::Create(c.type));
        ASSERT_TRUE(fresh && read) << name;
        TraceCapture trace;
        std::string thrown;
        try
        {
            read->Read(c.in);
        }
        catch (const DataError& error)
        {
            thrown = error.what();
        }
        if (c.keptBy.empty())
            EXPECT_EQ(thrown, c.refusal) << name;
        else
        {
            EXPECT_EQ(thrown, "") << name;
            EXPECT_TRUE(trace.Contains(c.keptBy + " " + c.refusal + "; kept")) << name << "\n" << trace.All();
        }
        EXPECT_EQ(Written(*read).at(key), Written(*fresh).at(key)) << name;
    }
}

TEST(ComponentKeys, ColliderLinePointsThatAreNoVectorsAreTheOriginAndSaySo)
{
    std::unique_ptr<Component> line(ComponentRegistry::Create("ColliderLine"));
    TraceCapture trace;
    line->Read(json::parse(R"({"LineSegments": [{"Point1": [1, 2], "Point2": [3, 4, 5]}]})"));
    EXPECT_EQ(Written(*line).at("LineSegments"),
              json::parse(R"([{"Point1": [0.0, 0.0, 0.0], "Point2": [3.0, 4.0, 5.0]}])"));
    EXPECT_TRUE(trace.Contains(
        R"(COMPONENT: [ColliderLine] "Point1": an array of three numbers was expected, not [1,2]; kept)"))
        << trace.All();
}
