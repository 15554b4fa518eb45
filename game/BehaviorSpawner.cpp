#include "game/BehaviorSpawner.h"

#include "audio/AudioPlayer.h"
#include "engine/InputSystem.h"
#include "engine/TraceSystem.h"
#include "game/BehaviorMonkey.h"
#include "graphics/Animation.h"
#include "graphics/Sprite.h"
#include "graphics/TextureLibrary.h"
#include "scene/Archetypes.h"
#include "scene/Entity.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"

float BehaviorSpawner::MonkeyWaitDuration = 0.2f;
float BehaviorSpawner::ExitOutSpeed = 1.0f;
int32_t BehaviorSpawner::RayCastJumpLength = 1;
float BehaviorSpawner::MaxJumpHeight = 0;
int32_t BehaviorSpawner::LastSpawnTotal = 0;

namespace
{
// The scene being played; none until the scene system holds one.
Scene* CurrentScene() { return SceneSystem::GetInstance().CurrentScene(); }

// A count below zero means no bots.
void ReadCount(const json& in, const char* key, int32_t& count)
{
    ReadKey(in, key, count);
    if (count < 0)
    {
        Log("SPAWNER: [", key, "] is negative; read as 0");
        count = 0;
    }
}
}   // namespace

BehaviorSpawner::BehaviorSpawner() { RayCastJumpLength = 1; }

BehaviorSpawner::BehaviorSpawner(const BehaviorSpawner& other)
    : Behavior(other), Started(other.Started), SpawnTimer(other.SpawnTimer),
      SpawnDuration(other.SpawnDuration), SpawnCount(other.SpawnCount)
{
    RayCastJumpLength = 1;
}

void BehaviorSpawner::Write(json& out) const
{
    Behavior::Write(out);
    out["Type"] = "BehaviorSpawner";
    out["SpawnCount"] = SpawnCount;
    out["MonkeySpawnCountMax"] = MonkeySpawnCountMax;
    out["Spawn"] = Started;
    out["SpawnTimer"] = SpawnTimer;
    out["SpawnDuration"] = SpawnDuration;
    out["MonkeyWaitDuration"] = MonkeyWaitDuration;
    out["ResetSpawnCount"] = ResetSpawnCount;
    out["RayCastJumpLength"] = RayCastJumpLength;
    out["MaxJumpHeight"] = MaxJumpHeight;
    out["ExitOutSpeed"] = ExitOutSpeed;
}

void BehaviorSpawner::Read(const json& in)
{
    Behavior::Read(in);
    ReadCount(in, "SpawnCount", SpawnCount);
    ReadCount(in, "MonkeySpawnCountMax", MonkeySpawnCountMax);
    ReadKey(in, "Spawn", Started);
    ReadKey(in, "SpawnTimer", SpawnTimer);
    ReadKey(in, "SpawnDuration", SpawnDuration);
    ReadKey(in, "MonkeyWaitDuration", MonkeyWaitDuration);
    ReadKey(in, "ResetSpawnCount", ResetSpawnCount);
    ReadKey(in, "RayCastJumpLength", RayCastJumpLength);
    ReadKey(in, "MaxJumpHeight", MaxJumpHeight);
    ReadKey(in, "ExitOutSpeed", ExitOutSpeed);
    LastSpawnTotal = MonkeySpawnCountMax;
}

void BehaviorSpawner::OnInit()
{
    SpawnCount = 0;
    if (ResetSpawnCount)
        MonkeySpawnCountMax = LastSpawnTotal;
}

void BehaviorSpawner::OnUpdate(float dt)
{
    if (dt <= 0)
        return;
    if (!Started && InputSystem::GetInstance().GetState(Key::Space) == 1)
    {
        Started = true;
        SpawnTimer = 0;
    }
    if (!Started || SpawnCount >= MonkeySpawnCountMax)
        return;
    SpawnTimer -= dt;
    if (SpawnTimer > 0)
        return;

    Entity* bot = SpawnBot(this);
    bot->IsSpawned = true;
    if (BehaviorMonkey* walker = bot->GetComponent<BehaviorMonkey>();
        walker && walker->Direction == MonkeyDirection::Unset)
        walker->Direction = MonkeyDirection::Right;   // a new bot walks right
    if (Scene* scene = CurrentScene())
    {
        AudioPlayer::GetInstance()->PlaySound("Spawn", false, 0.05f);
        scene->AddEntity(bot);
    }
    else
    {
        // Nobody would own it.
        delete bot;
    }
    ++SpawnCount;
    SpawnTimer = SpawnDuration;
}

Entity* BehaviorSpawner::SpawnBot(const BehaviorSpawner* spawner)
{
    Entity* bot = new Entity();
    if (!FactoryBuild(*bot, "Monkey"))
    {
        Log("SPAWNER: [Data/Entities/Monkey.json] no bot archetype; the bot is an empty entity");
        bot->Name = "Monkey";
    }
    Transform* at = bot->GetComponent<Transform>();
    const Entity* home = spawner ? spawner->GetParent() : nullptr;
    const Transform* from = home ? home->GetComponent<Transform>() : nullptr;
    if (at && from)
    {
        at->Translation = from->Translation;
        at->Dirty = true;
    }
    if (!bot->GetComponent<Sprite>())
    {
        auto* sprite = new Sprite("Prim_Plane", "alpha", "White");
        sprite->request->texture = TextureLibrary::GetInstance().FindOrLoad("ZINDLE_walk");
        if (TextureLibrary::GetInstance().IsFallback(sprite->request->texture))
            Log("SPAWNER: [Textures/ZINDLE_walk.png] missing; the bot is drawn plain white");
        bot->AddComponent(sprite);
    }
    if (!bot->GetComponent<Animation>())
    {
        auto* animation = new Animation();
        bot->AddComponent(animation);
        animation->Play();
    }
    return bot;
}

BehaviorSpawner* BehaviorSpawner::FindLevelSpawner(Scene* scene)
{
    if (!scene)
        return nullptr;
    for (Entity* e : scene->GetEntityList().GetEntities())
        if (e && e->Name == "Spawner")
            if (BehaviorSpawner* spawner = e->GetComponent<BehaviorSpawner>())
                return spawner;
    return nullptr;
}

BehaviorSpawner* BehaviorSpawner::FindLevelSpawner() { return FindLevelSpawner(CurrentScene()); }

int32_t BehaviorSpawner::GetSpawnedCount()
{
    const BehaviorSpawner* spawner = FindLevelSpawner();
    return spawner ? spawner->SpawnCount : 0;
}

int32_t BehaviorSpawner::GetSpawnTotal()
{
    const BehaviorSpawner* spawner = FindLevelSpawner();
    return spawner ? spawner->MonkeySpawnCountMax : 0;
}
