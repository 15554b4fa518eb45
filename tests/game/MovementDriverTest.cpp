// The movement driver: held keys move the entity at the speeds given, through its Physics
// velocity or straight on its Transform, kept inside its box limits when they are on.
#include "game/MovementDriver.h"

#include "engine/InputSystem.h"
#include "game/Physics.h"
#include "scene/ComponentRegistry.h"
#include "scene/Entity.h"
#include "scene/Transform.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
constexpr int Left = 263, Right = 262, Up = 265, Down = 264, PageUp = 266, PageDown = 267;

const json Bindings = {{"KeyBinds_X-Axis", {Left, Right}},
                       {"KeyBinds_Y-Axis", {Up, Down}},
                       {"KeyBinds_Z-Axis", {PageDown, PageUp}},
                       {"Speed", {2, 3, 4}}};

struct Driven
{
    explicit Driven(const json& settings, bool physics)
    {
        driver = new MovementDriver();
        driver->Read(settings);
        entity.AddComponent(driver);
        entity.AddComponent(transform = new Transform());
        if (physics)
            entity.AddComponent(body = new Physics());
    }
    ~Driven() { InputSystem::GetInstance().Reset(); }

    // One running frame with these codes held (state 2) and these pressed this frame (state 1).
    void Frame(std::initializer_list<int> held, std::initializer_list<int> pressed = {}, float dt = 0.5f)
    {
        InputSystem& input = InputSystem::GetInstance();
        input.Reset();
        for (int code : held)
            input.state[code] = 2;
        for (int code : pressed)
            input.state[code] = 1;
        driver->Update(dt);
    }

    Entity entity;
    MovementDriver* driver = nullptr;
    Transform* transform = nullptr;
    Physics* body = nullptr;
};

void ExpectVec(const Vec3& actual, const Vec3& expected)
{
    EXPECT_FLOAT_EQ(actual.x, expected.x);
    EXPECT_FLOAT_EQ(actual.y, expected.y);
    EXPECT_FLOAT_EQ(actual.z, expected.z);
}
}   // namespace

TEST(MovementDriver, HeldKeysSetTheVelocityOrMoveTheTransform)
{
    struct Case
    {
        const char* what;
        std::initializer_list<int> held, pressed;
        Vec3 velocity;
    } cases[] = {
        {"nothing held", {}, {}, {0, 0, 0}},
        {"left, up and far", {Left, Up, PageDown}, {}, {-2, 3, -4}},
        {"right, down and near", {Right, Down, PageUp}, {}, {2, -3, 4}},
        {"both keys of a pair: the first wins", {Left, Right, Up, Down, PageDown, PageUp}, {}, {-2, 3, -4}},
        {"the frame of a press does not count", {}, {Left, Up, PageUp}, {0, 0, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Driven withBody(Bindings, true);
        withBody.body->Velocity = {9, 9, 9};
        withBody.Frame(c.held, c.pressed);
        ExpectVec(withBody.body->Velocity, c.velocity);
        ExpectVec(withBody.transform->Translation, {0, 0, 0});   // Physics moves it, not the driver

        Driven alone(Bindings, false);
        alone.Frame(c.held, c.pressed, 0.5f);
        ExpectVec(alone.transform->Translation,
                  {c.velocity.x * 0.5f, c.velocity.y * 0.5f, c.velocity.z * 0.5f});
    }
    // Letting go stops a body: the velocity is set every frame.
    Driven body(Bindings, true);
    body.Frame({Right});
    body.Frame({});
    ExpectVec(body.body->Velocity, {0, 0, 0});
}

TEST(MovementDriver, LimitsClampThePositionOnlyWhenEnabled)
{
    json settings = Bindings;
    settings["+Limits"] = {1, 1, 1};
    settings["-Limits"] = {-1, -2, 5};   // z: a lower limit above the upper one, the upper wins
    {
        Driven off(settings, false);
        for (int i = 0; i < 4; ++i)
            off.Frame({Right, Down});
        ExpectVec(off.transform->Translation, {4, -6, 0});
    }
    settings["Enable Limits"] = true;
    for (bool physics : {false, true})
    {
        SCOPED_TRACE(physics ? "with Physics" : "without Physics");
        Driven on(settings, physics);
        for (int i = 0; i < 4; ++i)
        {
            on.Frame({Right, Down});
            if (on.body)   // the body moves by its velocity; the driver clamps the next frame
                on.transform->Translation.x += on.body->Velocity.x,
                    on.transform->Translation.y += on.body->Velocity.y;
        }
        on.Frame({});
        ExpectVec(on.transform->Translation, {1, -2, 1});
        EXPECT_TRUE(on.transform->Dirty);
    }
}

TEST(MovementDriver, SavedFormRoundTripsAndBadBindingsAreRefusedOrNeverHeld)
{
    std::unique_ptr<Component> made(ComponentRegistry::Create("MovementDriver"));
    ASSERT_NE(dynamic_cast<MovementDriver*>(made.get()), nullptr);
    json saved;
    made->Write(saved);
    EXPECT_EQ(saved, json::parse(R"({"Type": "MovementDriver", "Speed": [1, 1, 1],
        "KeyBinds_Y-Axis": [0, 0], "KeyBinds_X-Axis": [0, 0], "KeyBinds_Z-Axis": [0, 0],
        "Enable Limits": false, "+Limits": [0, 0, 0], "-Limits": [0, 0, 0]})"));

    json settings = Bindings;
    settings["Enable Limits"] = true;
    settings["+Limits"] = {1, 2, 3};
    MovementDriver read;
    read.Read(settings);
    json written;
    read.Write(written);
    for (const auto& [key, value] : settings.items())
        EXPECT_EQ(written.at(key), value) << key;
    // "Enable Limits" absent turns the limits off.
    read.Read(json::object());
    EXPECT_FALSE(read.EnableLimits);

    // Not a pair of codes: refused, nothing changed.
    for (const char* bad :
         {R"({"KeyBinds_X-Axis": [1]})", R"({"KeyBinds_X-Axis": "left"})", R"({"KeyBinds_X-Axis": [1.5, 2]})",
          R"({"Speed": [1, 2], "KeyBinds_X-Axis": [3, 4]})"})
    {
        MovementDriver driver;
        driver.KeyBindsX = {Left, Right};
        EXPECT_THROW(driver.Read(json::parse(bad)), DataError) << bad;
        EXPECT_EQ(driver.KeyBindsX, (std::array<int, 2>{Left, Right})) << bad;
    }
    // Codes no input has are kept, said, and never held, whatever the input holds.
    TraceCapture trace;
    Driven odd(
        {{"KeyBinds_X-Axis", {-5, 100000}}, {"KeyBinds_Y-Axis", {20, 349}}, {"KeyBinds_Z-Axis", {8, 31}}},
        true);
    EXPECT_TRUE(trace.Contains("\"KeyBinds_X-Axis\" holds 100000")) << trace.All();
    InputSystem& input = InputSystem::GetInstance();
    std::fill(std::begin(input.state), std::end(input.state), 2);
    odd.driver->Update(0.5f);
    ExpectVec(odd.body->Velocity, {0, 0, 0});
}
