#pragma once
// The level's referee. Its counters and limits are statics shared by the whole program: bots
// add their deaths and exits, scene loading and the editor reset them, the cheat keys and the
// inspector set the limits. When asked (EvaluateRequested once, or AlwaysEvaluate every frame)
// the board decides the level at most once: a loss is tested before a win, and a loss opens the
// lose overlay while a win unlocks the next level and opens the win overlay.
//
// All counts are signed: more deaths than bots is a plain negative margin, never a wrapped
// number that would leave the level undecided.
#include "scene/Behavior.h"

#include <cstdint>

class BehaviorCountBoard : public Behavior
{
public:
    enum class Verdict
    {
        Undecided,
        Lost,
        Won
    };

    BehaviorCountBoard() = default;
    BehaviorCountBoard(const BehaviorCountBoard& other);   // the state fields and Decided

    Component* Clone() const override { return new BehaviorCountBoard(*this); }
    void Write(json& out) const override;   // "Type", "DeadMax", "ExitMax" only: the static limits
    void Read(const json& in) override;     // a present limit replaces the static one

    std::string GetName() const override { return "BehaviorCountBoard"; }
    void OnInit() override;   // resets both counters and takes the spawn total
    void OnUpdate(float dt) override;
    void OnExit() override;

    // The verdict the counters give for a level releasing spawnTotal bots: lost when the dead
    // count reached DeadMax or the bots not dead can no longer exceed ExitMax; else won when
    // ExitMax bots are out; else undecided.
    static Verdict Decide(int32_t spawnTotal);

    // Puts every shared counter, limit and flag back to its start value.
    static void ResetStatics();

    static int32_t DeadCount;        // bots dead plus bots turned blocker in this level
    static int32_t ExitedCount;      // bots through the exit
    static int32_t DeadMax;          // dead count at which the level is lost
    static int32_t ExitMax;          // exits needed to win
    static int32_t SpawnTotal;       // the spawner's total as taken at OnInit
    static bool EvaluateRequested;   // one-shot: evaluate at the next update
    static bool AlwaysEvaluate;      // evaluate every frame (developer cheats)

    bool Decided = false;   // this board has won or lost its level
};
