// The collision pass of a level with N bots on a 1440 x 810-cell terrain (14.4 cells a world
// unit, 100 x 56 world units), every tenth bot on a job (named otherwise, so it is paired with
// the walkers around it), plus the level's exit and world bounds. One iteration is one pass;
// the bots stay where the pushes leave them. Two layouts:
//  - crowded: five bands along the ground, so more bots stand closer (each one touches about
//    N / 500 others): the pairs that touch grow with N squared;
//  - spread: bands of 100 bots one world unit apart up the level, so each bot has the same few
//    neighbours whatever N is.
#include "engine/WindowSystem.h"
#include "game/ColliderLine.h"
#include "game/Physics.h"
#include "game/PixelGrid.h"
#include "scene/Behavior.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/Transform.h"

#include <benchmark/benchmark.h>

namespace
{
// The bot's place in the pass: it hears the terrain and does nothing with it.
class Listener : public Behavior
{
public:
    Component* Clone() const override { return new Listener(*this); }
    std::string GetName() const override { return "Listener"; }
    void OnInit() override {}
    void OnUpdate(float) override {}
    void OnExit() override {}
    void OnPixelCollision(const PixelContact&) override { ++heard; }
    static inline long heard = 0;
};

Entity* Body(const std::string& name, Vec3 at, Vec3 scale, int resolve, bool terrain, bool listens)
{
    Entity* e = new Entity();
    e->Name = name;
    if (listens)
        e->AddComponent(new Listener());
    ColliderLine* line = new ColliderLine();
    line->Read({{"ResolveCollision", resolve},
                {"PixelGridCollider", terrain},
                {"Collision Mask", {true, false, false}}});
    e->AddComponent(line);
    Physics* physics = new Physics();
    physics->Velocity = {1, -0.5f, 0};
    e->AddComponent(physics);
    Transform* t = new Transform();
    t->Translation = at;
    t->Scale = scale;
    e->AddComponent(t);
    line->Update(0);
    return e;
}

enum class Layout
{
    Crowded,
    Spread,
};

void BuildLevel(EntityList& list, int bots, Layout layout)
{
    constexpr int width = 1440, height = 810, groundRows = 300;
    constexpr float cellSize = 14.4f;
    Entity* terrain = new Entity();
    terrain->Name = "Terrain";
    PixelGrid* grid = new PixelGrid();
    std::vector<uint8_t> cells(size_t{width} * height, PixelGrid::Empty);
    std::fill(cells.begin(), cells.begin() + size_t{width} * groundRows, PixelGrid::Bridge);
    grid->CellSize = cellSize;
    grid->SetCells(width, height, std::move(cells));
    terrain->AddComponent(grid);
    list.Add(terrain);

    const float ground = groundRows / cellSize;
    const int bands = layout == Layout::Crowded ? 5 : (bots + 99) / 100;
    const float bandStep = layout == Layout::Crowded ? 6.0f : 1.0f;
    for (int i = 0; i < bots; ++i)
    {
        const int band = i % bands;
        const float x = 1.0f + 98.0f * static_cast<float>(i / bands) / static_cast<float>(bots / bands + 1);
        const float y = ground + 0.24f + bandStep * static_cast<float>(band);
        list.Add(Body(i % 10 == 9 ? "MonkeyDig" : "Monkey", {x, y, 0}, {0.5f, 0.5f, 1}, 1, true, true));
    }
    list.Add(Body("Exit", {95, ground + 0.5f, 0}, {1, 1, 1}, -1, false, false));
    list.Add(Body("WorldBound", {50, -2, 0}, {120, 1, 1}, -1, false, false));
}
}   // namespace

static void BM_CollisionPass(benchmark::State& state, Layout layout)
{
    WindowSystem::GetInstance().frameCounter = 0;   // contacts are cleared every pass
    EntityList list;
    BuildLevel(list, static_cast<int>(state.range(0)), layout);
    for (auto _ : state)
        list.CheckCollisions(1.0f / 60.0f);
    benchmark::DoNotOptimize(Listener::heard);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK_CAPTURE(BM_CollisionPass, crowded, Layout::Crowded)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CollisionPass, spread, Layout::Spread)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMicrosecond);
