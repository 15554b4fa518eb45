#include "tests/common/BotFixture.h"

#include "audio/AudioPlayer.h"
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorMonkey.h"
#include "game/BehaviorSpawner.h"
#include "game/PixelGrid.h"
#include "graphics/GraphicsSystem.h"
#include "scene/Archetypes.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"
#include "tests/common/AsciiGrid.h"

#include <memory>

namespace
{
void ResetShared()
{
    BehaviorCountBoard::ResetStatics();
    BehaviorSpawner::MonkeyWaitDuration = 0.2f;
    BehaviorSpawner::ExitOutSpeed = 1.0f;
    if (ArchetypeCache)
        ArchetypeCache->Clear();
}

MainScene& FreshScene()
{
    SceneSystem::GetInstance().currentScene = std::make_unique<MainScene>();
    return *SceneSystem::GetInstance().currentScene;
}

json Place(const Vec3& at, const Vec3& scale)
{
    return {
        {"Type", "Transform"}, {"Translation", {at.x, at.y, at.z}}, {"Scale", {scale.x, scale.y, scale.z}}};
}
}   // namespace

BotFixture::BotFixture() : scene((ResetShared(), FreshScene()))
{
    AudioPlayer::GetInstance()->SetListener([this](const std::string& name, bool, float volume) {
        sounds.push_back({name, volume});
    });
}

BotFixture::~BotFixture()
{
    AudioPlayer::GetInstance()->SetListener(nullptr);
    SceneSystem::GetInstance().currentScene.reset();
    ResetShared();
}

PixelGrid& BotFixture::Terrain(const std::vector<std::string>& rows, float cellSize, Vec2 origin)
{
    Entity* terrain = new Entity();
    terrain->Name = "Terrain";
    grid = AsciiGrid::Make(rows, cellSize, origin).release();
    terrain->AddComponent(grid);
    scene.AddEntity(terrain);
    return *grid;
}

PixelGrid& BotFixture::LevelTerrain(int level)
{
    const std::string name = "Level" + std::to_string(level);
    const json description = {{"Name", "Terrain"},
                              {"Components",
                               {{{"Type", "PixelGrid"},
                                 {"Source", name},
                                 {"palette", name},
                                 {"Origin", {88, 48}},
                                 {"CellSize", 8}}}}};
    Entity* terrain = Entity::CreateFromJSON(description);
    grid = terrain->GetComponent<PixelGrid>();
    scene.AddEntity(terrain);
    return *grid;
}

BehaviorMonkey& BotFixture::AddBot(const Vec3& at, int direction, const BotShape& shape)
{
    const json description = {
        {"Name", "Monkey"},
        {"Components",
         {Place(at, shape.scale),
          {{"Type", "Physics"},
           {"Acceleration", {shape.walkAcceleration, 0, 0}},
           {"Velocity", {0, shape.startFall, 0}},
           {"MaxVelocity", {shape.maxSpeed, 20, 0}},
           {"Gravity", shape.gravity}},
          {{"Type", "ColliderLine"},
           {"PixelGridCollider", true},
           {"ResolveCollision", 1},
           {"Collision Mask", {true, false, false}}},
          {{"Type", "BehaviorMonkey"}},
          {{"Type", "Sprite"}, {"Mesh", "Prim_Plane"}, {"Shader", "alpha"}, {"Texture", "White"}},
          {{"Type", "Animation"},
           {"FrameCount", 8},
           {"FrameDuration", 0.1},
           {"isRunning", true},
           {"isLooping", true},
           {"Dimensions", {8, 1}}},
          {{"Type", "AnimationSequencer"},
           {"States",
            {"Animation_Walk", "Animation_Block", "Animation_Dig", "Animation_Bridge", "Animation_Tunnel",
             "Animation_Umbrella"}}},
          {{"Type", "ButtonComponent"}}}}};
    Entity* bot = Entity::CreateFromJSON(description);
    bot->IsSpawned = true;
    BehaviorMonkey* behaviour = bot->GetComponent<BehaviorMonkey>();
    behaviour->Direction = direction;
    scene.AddEntity(bot);
    return *behaviour;
}

Entity& BotFixture::AddBox(const std::string& name, const Vec3& at, const Vec3& scale, int resolve)
{
    const json description = {{"Name", name},
                              {"Components",
                               {Place(at, scale),
                                {{"Type", "ColliderLine"},
                                 {"ResolveCollision", resolve},
                                 {"Collision Mask", {true, false, false}}}}}};
    Entity* box = Entity::CreateFromJSON(description);
    scene.AddEntity(box);
    return *box;
}

void BotFixture::Run(int frames)
{
    for (int i = 0; i < frames; ++i)
    {
        scene.GetEntityList().Update(dt);
        scene.GetEntityList().CheckCollisions(dt);
        // The frame's debug lines (collider edges) are drawn, or without a window dropped,
        // as the editor does at the end of every frame.
        GraphicsSystem::GetInstance().DrawDebugLines();
    }
}

std::vector<std::string> BotFixture::Map() const
{
    return grid ? AsciiGrid::Draw(*grid) : std::vector<std::string>{};
}

int BotFixture::Sounds(const std::string& name) const
{
    int count = 0;
    for (const Sound& s : sounds)
        count += s.name == name;
    return count;
}

float BotFixture::LastVolume(const std::string& name) const
{
    float volume = -1;
    for (const Sound& s : sounds)
        if (s.name == name)
            volume = s.volume;
    return volume;
}
