#pragma once
// Lets the bots into a level. After the player presses Space it builds one bot from the
// "Monkey" archetype every SpawnDuration seconds at its own position, up to
// MonkeySpawnCountMax, and adds each to the current scene; the first bot leaves on the frame
// Space is pressed. Its Read also carries settings every bot shares (the turn wait, the exit
// speed). The level's spawner is the first entity named "Spawner" with this behaviour; the
// count queries ask that one.
#include "scene/Behavior.h"

#include <cstdint>

class Entity;
class Scene;

class BehaviorSpawner : public Behavior
{
public:
    BehaviorSpawner();
    // The state fields, Started, SpawnTimer, SpawnDuration and SpawnCount; the copy's total is
    // the default and it does not reset its total.
    BehaviorSpawner(const BehaviorSpawner& other);

    Component* Clone() const override { return new BehaviorSpawner(*this); }
    void Write(json& out) const override;
    void Read(const json& in) override;   // also sets the shared statics; LastSpawnTotal = the total

    std::string GetName() const override { return "BehaviorSpawner"; }
    void OnInit() override;
    void OnUpdate(float dt) override;
    void OnExit() override {}

    // A new bot built from the "Monkey" archetype, placed at the spawner's position when one is
    // given, with a walking picture and an animation when the archetype lacks them. Not yet in
    // any scene: the caller adds it, or deletes it. Never null.
    static Entity* SpawnBot(const BehaviorSpawner* spawner);

    // The first entity named exactly "Spawner" carrying a spawner, in the scene or the current
    // scene; null when there is none.
    static BehaviorSpawner* FindLevelSpawner(Scene* scene);
    static BehaviorSpawner* FindLevelSpawner();

    // Bots the level's spawner has released so far, and will release in all; 0 without one.
    static int32_t GetSpawnedCount();
    static int32_t GetSpawnTotal();

    bool Started = false;                // "Spawn"
    float SpawnTimer = 0;                // seconds until the next bot
    float SpawnDuration = 1.0f;          // seconds between bots
    bool ResetSpawnCount = false;        // OnInit takes its total from the spawner read last
    int32_t SpawnCount = 0;              // bots spawned so far
    int32_t MonkeySpawnCountMax = 100;   // bots to spawn in all; a negative count reads as 0

    static float MonkeyWaitDuration;    // every bot's turn wait, seconds
    static float ExitOutSpeed;          // speed of a bot walking into an exit
    static int32_t RayCastJumpLength;   // stored only
    static float MaxJumpHeight;         // stored only
    static int32_t LastSpawnTotal;      // MonkeySpawnCountMax of the spawner read last
};
