#pragma once
// A level without a window, for the bots: a terrain drawn as text on the scene's first entity,
// bots and boxes (exits, blocks, world bounds) built in code, frames of a fixed 1/64 s run as
// the scene system runs them (update, then the collision pass), and every sound asked for
// recorded. The scene is the scene system's current scene while the fixture lives. The shared
// counters, the spawner's settings and the archetype cache are put back at both ends. What the
// file reader prints is held back unless the test fails.
#include "engine/Matrix4.h"
#include "tests/common/QuietStdout.h"

#include <string>
#include <vector>

class BehaviorMonkey;
class Entity;
class MainScene;
class PixelGrid;

class BotFixture
{
public:
    static constexpr float Dt = 1.0f / 64.0f;

    BotFixture();
    ~BotFixture();
    BotFixture(const BotFixture&) = delete;
    BotFixture& operator=(const BotFixture&) = delete;

    // The terrain (legend of AsciiGrid: '.' empty, '#' ground, 'R' rock, '~' acid, '=' bridge),
    // top row first, on an entity "Terrain" placed first in the scene.
    PixelGrid& Terrain(const std::vector<std::string>& rows, float cellSize = 1.0f, Vec2 origin = {0, 0});
    // The terrain of a level of the game as its scene places it: "Data/Levels/Level<n>.png" with
    // its materials, 8 cells to a world unit, centred on the origin.
    PixelGrid& LevelTerrain(int level);

    // How a bot is built: its box, its walking acceleration and speed limit, its gravity.
    struct BotShape
    {
        Vec3 scale{1, 1, 1};
        float walkAcceleration = 8.0f;
        float maxSpeed = 1.0f;
        float gravity = 10.0f;
        float startFall = -1.5f;   // the velocity it arrives with: it lands, then walks
    };
    // A bot named "Monkey" centred at `at`, walking left (direction 0) or right (1), with a
    // sprite, an animation and the game's animation states.
    BehaviorMonkey& AddBot(const Vec3& at, int direction, const BotShape& shape);
    BehaviorMonkey& AddBot(const Vec3& at, int direction) { return AddBot(at, direction, BotShape{}); }
    // A box with a line collider; `resolve` is its ResolveCollision (-1 never resolves).
    Entity& AddBox(const std::string& name, const Vec3& at, const Vec3& scale, int resolve);

    void Run(int frames);   // each frame ends with the debug-line queue drawn and emptied
    float dt = Dt;          // the frame time Run uses
    // Runs until the condition holds or the frames are used up; the frames it took, or -1.
    template <typename Condition> int RunUntil(int limit, Condition done)
    {
        for (int frame = 1; frame <= limit; ++frame)
        {
            Run(1);
            if (done())
                return frame;
        }
        return -1;
    }

    std::vector<std::string> Map() const;   // the terrain drawn back, top row first
    int Sounds(const std::string& name) const;
    float LastVolume(const std::string& name) const;   // -1 when never played

    QuietStdout quiet;
    MainScene& scene;
    PixelGrid* grid = nullptr;

    struct Sound
    {
        std::string name;
        float volume;
    };
    std::vector<Sound> sounds;
};
