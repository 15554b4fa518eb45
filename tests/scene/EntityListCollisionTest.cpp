#include "engine/WindowSystem.h"
#include "game/ColliderCircle.h"
#include "game/ColliderLine.h"
#include "game/Physics.h"
#include "game/PixelGrid.h"
#include "graphics/GraphicsSystem.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/Transform.h"
#include "tests/common/AsciiGrid.h"
#include "tests/game/ProbeRecorder.h"

#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <tuple>

namespace
{
// A stand-in for the bot: busy or not, it takes a squeeze the way a bot does.
class SqueezeStandIn : public ProbeRecorder
{
public:
    Component* Clone() const override { return new SqueezeStandIn(*this); }
    bool Busy = false;
};

bool StandInSqueezed(Entity* e)
{
    SqueezeStandIn* bot = e->GetComponent<SqueezeStandIn>();
    if (!bot)
        return false;
    if (!bot->Busy)
    {
        bot->Busy = true;
        bot->StateNext = 1;
    }
    return true;
}

class CollisionPass : public testing::Test
{
protected:
    void SetUp() override { Frame(0); }
    void TearDown() override
    {
        EntityList::OnSqueezed = nullptr;
        WindowSystem::GetInstance().frameCounter = 0;
        GraphicsSystem::GetInstance().DrawDebugLines();
    }
    static void Frame(int n) { WindowSystem::GetInstance().frameCounter = n; }

    // A unit box at (x, y) with a line collider (every mask flag, as read without a mask).
    Entity* Box(const std::string& name, float x, float y, int resolve = -1)
    {
        Entity* e = new Entity();
        e->Name = name;
        ColliderLine* line = new ColliderLine();
        line->Read({{"ResolveCollision", resolve}});
        e->AddComponent(line);
        e->AddComponent(new Physics());
        Transform* t = new Transform();
        t->Translation = {x, y, 0};
        e->AddComponent(t);
        line->Update(0);
        list.Add(e);
        return e;
    }
    static ColliderLine* Line(Entity* e) { return e->GetComponent<ColliderLine>(); }

    EntityList list;
};

int calls = 0;
void Count(Entity*, Entity*, int) { ++calls; }
}   // namespace

TEST_F(CollisionPass, PairsFollowMasksAndNames)
{
    const struct
    {
        const char* name;
        const char* nameA;
        const char* nameB;
        unsigned maskA, maskB;   // bit i = flag i
        bool tested;
    } cases[] = {
        {"different names", "a", "b", 0b001, 0b000, true},
        {"neither takes part", "a", "b", 0b110, 0b110, false},
        {"same names", "Monkey", "Monkey", 0b001, 0b001, false},
        {"same empty names", "", "", 0b001, 0b001, false},
        {"same names, one asks for them", "Monkey", "Monkey", 0b001, 0b100, true},
        {"same names, flag 2 without flag 0", "Monkey", "Monkey", 0b100, 0b100, false},
    };
    for (const auto& c : cases)
    {
        list.Clear();
        Entity* a = Box(c.nameA, 0, 0);
        Entity* b = Box(c.nameB, 0.5f, 0);
        Line(a)->CollisionMask = c.maskA;
        Line(b)->CollisionMask = c.maskB;
        Line(a)->Callback = Count;
        calls = 0;
        list.CheckCollisions(0.016f);
        EXPECT_EQ(calls, c.tested ? 1 : 0) << c.name;
    }
}

TEST_F(CollisionPass, OnlyTheFirstColliderOfEachEntityTakesPart)
{
    Entity* a = Box("a", 0, 0);
    Entity* b = Box("b", 5, 0);
    // b's second collider lies on a, its first one far away.
    ColliderCircle* second = new ColliderCircle();
    second->CollisionMask.set();
    second->Callback = Count;
    b->AddComponent(second);
    Line(a)->Callback = Count;
    calls = 0;
    list.CheckCollisions(0.016f);
    EXPECT_EQ(calls, 0);
}

TEST_F(CollisionPass, BoxesThatOnlyTouchAreStillTested)
{
    // The boxes share the edge x = 0.5 exactly: the segments cross there.
    Entity* a = Box("a", 0, 0);
    Box("b", 1, 0);
    Line(a)->Callback = Count;
    calls = 0;
    list.CheckCollisions(0.016f);
    EXPECT_EQ(calls, 1);
}

TEST_F(CollisionPass, ContactsClearOnEvenFramesOnly)
{
    // A falls onto B and is pushed out upwards: one ContactBottom per pass.
    Entity* a = Box("a", 0, 0.9f, 2);
    Entity* b = Box("b", 0, 0, 1);
    a->GetComponent<Physics>()->Velocity = {0, 0, 0};   // standing still: not moved, contact each pass
    const std::vector<int> one = {Collider::ContactBottom};
    const std::vector<int> two = {Collider::ContactBottom, Collider::ContactBottom};

    list.CheckCollisions(0.016f);
    EXPECT_EQ(Line(a)->Contacts, one);
    Frame(1);
    list.CheckCollisions(0.016f);
    EXPECT_EQ(Line(a)->Contacts, two) << "odd frames append";
    Frame(2);
    list.CheckCollisions(0);
    EXPECT_EQ(Line(a)->Contacts, two) << "no time, no pass, not even the clearing";
    Line(a)->Pushed = true;
    list.CheckCollisions(0.016f);
    EXPECT_EQ(Line(a)->Contacts, one) << "even frames clear first";
    EXPECT_FALSE(Line(a)->Pushed);
    EXPECT_TRUE(Line(b)->Contacts.empty());

    // The edges show the contacts of the pass: only the bottom one.
    EXPECT_TRUE(Line(a)->EdgeColors[ColliderLine::EdgeBottom].x == 1);
    EXPECT_EQ(Line(a)->EdgeColors[ColliderLine::EdgeTop].x, 0);
    EXPECT_EQ(Line(b)->EdgeColors[ColliderLine::EdgeTop].x, 0);
}

TEST_F(CollisionPass, TerrainIsProbedWhicheverEntityComesFirst)
{
    for (bool terrainFirst : {true, false})
    {
        list.Clear();
        Entity* terrain = new Entity();
        terrain->Name = "Terrain";
        terrain->AddComponent(AsciiGrid::Make({"....", "####"}).release());
        if (terrainFirst)
            list.Add(terrain);
        Entity* bot = Box("Monkey", 1.5f, 1.4f);   // its bottom edge in row 0
        Entity* other = Box("Monkey", 1.5f, 1.5f);
        Line(bot)->PixelGridCollider = true;
        ProbeRecorder* botProbes = new ProbeRecorder();
        ProbeRecorder* otherProbes = new ProbeRecorder();
        bot->AddComponent(botProbes);
        other->AddComponent(otherProbes);
        if (!terrainFirst)
            list.Add(terrain);
        list.CheckCollisions(0.016f);
        ASSERT_EQ(botProbes->contacts.size(), 1u) << (terrainFirst ? "terrain first" : "terrain last");
        EXPECT_TRUE(botProbes->contacts[0].IsSolid(PixelContact::BottomCentre));
        EXPECT_TRUE(otherProbes->contacts.empty()) << "no PixelGridCollider, no probes";
    }
}

TEST_F(CollisionPass, SqueezedBodies)
{
    const struct
    {
        const char* name;
        std::vector<int> contacts;
        bool withBot, busy;
        bool destroyed, dying;
    } cases[] = {
        {"left and right", {Collider::ContactLeft, Collider::ContactRight}, false, false, true, false},
        {"bottom then top", {Collider::ContactBottom, Collider::ContactTop}, false, false, true, false},
        {"top and left", {Collider::ContactTop, Collider::ContactLeft}, false, false, false, false},
        {"the same side twice", {Collider::ContactRight, Collider::ContactRight}, false, false, false, false},
        {"a bot starts dying", {Collider::ContactRight, Collider::ContactLeft}, true, false, false, true},
        {"a busy bot is left alone",
         {Collider::ContactRight, Collider::ContactLeft},
         true,
         true,
         false,
         false},
    };
    for (const auto& c : cases)
    {
        list.Clear();
        EntityList::OnSqueezed = StandInSqueezed;
        Frame(1);   // odd: the contacts below stay and the pass adds to them
        Entity* body = Box("body", 0, 0);
        Box("elsewhere", 10, 0);
        Line(body)->Contacts = c.contacts;
        SqueezeStandIn* bot = nullptr;
        if (c.withBot)
        {
            bot = new SqueezeStandIn();
            bot->Busy = c.busy;
            body->AddComponent(bot);
        }
        list.CheckCollisions(0.016f);
        EXPECT_EQ(body->IsDestroyed, c.destroyed) << c.name;
        if (bot)
        {
            EXPECT_TRUE(bot->Busy) << c.name;
            EXPECT_EQ(bot->StateNext, c.dying ? 1 : 0) << c.name;
        }
    }

    // Without a handler nothing can take the squeeze: the body goes.
    list.Clear();
    EntityList::OnSqueezed = nullptr;
    Entity* body = Box("body", 0, 0);
    body->AddComponent(new SqueezeStandIn());
    Line(body)->Contacts = {Collider::ContactTop, Collider::ContactBottom};
    list.CheckCollisions(0.016f);
    EXPECT_TRUE(body->IsDestroyed);
}

TEST_F(CollisionPass, AWalkerBetweenTwoWallsIsSqueezed)
{
    // Two walls close in from both sides in the same pass.
    Entity* walker = Box("walker", 0, 0, 2);
    Entity* left = Box("left", -0.8f, 0, 1);
    Entity* right = Box("right", 0.8f, 0, 1);
    left->GetComponent<Physics>()->Velocity = {1, 0, 0};
    right->GetComponent<Physics>()->Velocity = {-1, 0, 0};
    list.CheckCollisions(0.016f);
    EXPECT_EQ(Line(walker)->Contacts, (std::vector<int>{Collider::ContactLeft, Collider::ContactRight}));
    EXPECT_TRUE(Line(walker)->Pushed);
    EXPECT_TRUE(walker->IsDestroyed);
    EXPECT_FALSE(left->IsDestroyed || right->IsDestroyed);
}

namespace
{
// Every callback of a pass, in order, as (own entity, other entity, contact).
std::vector<std::tuple<std::string, std::string, int>> heard;
void Hear(Entity* own, Entity* other, int contact) { heard.emplace_back(own->Name, other->Name, contact); }

// A random crowd: line boxes of all sizes (a few far larger than the rest), circles, a terrain
// entity with and without a collider of its own, names that repeat, every mask, resolve value
// and speed. Entity names are unique ("<kind>#<n>") apart from a shared family part that the
// name rule compares, so the callbacks say who met whom.
void Crowd(EntityList& list, uint32_t seed)
{
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
    const auto uniform = [&](float lo, float hi) {
        return std::uniform_real_distribution<float>(lo, hi)(random);
    };
    for (int n = 0; n < 80; ++n)
    {
        Entity* e = new Entity();
        e->Name = std::string(1, static_cast<char>('a' + pick(3)));   // a, b or c: equal names are common
        Collider* collider = nullptr;
        const int kind = pick(10);
        if (kind < 7)
        {
            ColliderLine* line = new ColliderLine();
            line->PixelGridCollider = pick(2) == 0;
            collider = line;
        }
        else if (kind < 9)
        {
            ColliderCircle* circle = new ColliderCircle();
            circle->Radius = uniform(0.1f, 1.5f);
            collider = circle;
        }
        if (collider)
        {
            collider->CollisionMask = static_cast<unsigned long>(pick(8));
            collider->ResolveCollision = pick(4) - 1;
            collider->Callback = Hear;
            e->AddComponent(collider);
        }
        if (n % 25 == 3)
            e->AddComponent(AsciiGrid::Make({"#..#.", "##.##", "#####"}, 0.5f, {3, 2}).release());
        if (pick(4) != 0)
        {
            Physics* physics = new Physics();
            physics->Velocity = {uniform(-2, 2), uniform(-2, 2), 0};
            physics->MaxVelocity = {3, 3, 0};
            e->AddComponent(physics);
        }
        Transform* t = new Transform();
        t->Translation = {uniform(-8, 8), uniform(-5, 5), 0};
        const float size = pick(15) == 0 ? uniform(10, 30) : uniform(0.2f, 2.5f);
        t->Scale = {size, pick(2) ? size : uniform(0.2f, 2.5f), 1};
        e->AddComponent(t);
        ProbeRecorder* probes = new ProbeRecorder();
        e->components.insert(e->components.begin(), probes);
        probes->Parent = e;
        list.Add(e);
    }
}

// A crowd of bots as a level has them, packed close: a terrain entity first, then mostly walkers
// (one name, paired, not tested against their own name) among diggers, blockers and exits, a few
// bodies that are tested against their own name or take no part in pair tests, circles and world
// bounds far larger than the rest. Every name repeats, so the callbacks say only what met what;
// the outcome tells the bodies apart by their places.
void BotCrowd(EntityList& list, uint32_t seed, int count)
{
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
    const auto uniform = [&](float lo, float hi) {
        return std::uniform_real_distribution<float>(lo, hi)(random);
    };
    Entity* terrain = new Entity();
    terrain->Name = "Terrain";
    terrain->AddComponent(
        AsciiGrid::Make({"#...#...#.", "##.###.###", "##########"}, 0.5f, {5, 3}).release());
    terrain->AddComponent(new Transform());
    terrain->components.insert(terrain->components.begin(), new ProbeRecorder());
    terrain->components.front()->Parent = terrain;
    list.Add(terrain);
    for (int n = 0; n < count; ++n)
    {
        const int kind = pick(100);
        Entity* e = new Entity();
        e->Name = kind < 80 ? "Monkey" : kind < 86 ? "MonkeyDig" : kind < 90 ? "MonkeyBlocker" : "Exit";
        Collider* collider = nullptr;
        if (kind == 99)
        {
            ColliderCircle* circle = new ColliderCircle();
            circle->Radius = uniform(0.2f, 1.0f);
            collider = circle;
        }
        else
        {
            ColliderLine* line = new ColliderLine();
            line->PixelGridCollider = kind < 90;
            collider = line;
        }
        collider->CollisionMask = kind >= 94 && kind < 96 ? 0b101 : kind >= 96 && kind < 98 ? 0b000 : 0b001;
        collider->ResolveCollision = e->Name == "Exit" ? -1 : e->Name == "MonkeyBlocker" ? 2 : 1;
        collider->Callback = Hear;
        e->AddComponent(collider);
        Physics* physics = new Physics();
        physics->Velocity = {uniform(-1, 1), uniform(-2, 0.5f), 0};
        physics->MaxVelocity = {3, 3, 0};
        e->AddComponent(physics);
        Transform* t = new Transform();
        // Now and then a bot that has fallen out of the world, among others far out there.
        const float far = pick(50) == 0 ? 3e7f : 0.0f;
        t->Translation = {far + uniform(-6, 6), -far + uniform(-2, 2), 0};
        t->Scale =
            kind == 98 ? Vec3{uniform(12, 30), 0.4f, 1} : Vec3{uniform(0.5f, 1.2f), uniform(0.5f, 1.2f), 1};
        e->AddComponent(t);
        ProbeRecorder* probes = new ProbeRecorder();
        e->components.insert(e->components.begin(), probes);
        probes->Parent = e;
        list.Add(e);
    }
}

// While set, every seventh callback deletes the other entity from this list (unless it is the
// terrain): the rest of the pass must leave it out.
EntityList* removingFrom = nullptr;
void HearAndRemove(Entity* own, Entity* other, int contact)
{
    Hear(own, other, contact);
    if (removingFrom && heard.size() % 7 == 0 && other->Name != "Terrain")
        removingFrom->Remove(other);
}

// The pass as the list walk defines it, every pair visited: what the fast pass must match. An
// entity deleted by a callback takes no further part.
void PlainPass(EntityList& list)
{
    const std::vector<Entity*> all = list.GetEntities();
    std::vector<uint64_t> serials;
    for (Entity* e : all)
        serials.push_back(e->Serial);
    const auto alive = [&](size_t i) { return Entity::Living(serials[i]) == all[i]; };
    const auto first = [](Entity* e) { return e->GetComponent<Collider>(); };
    if (WindowSystem::GetInstance().frameCounter % 2 == 0)
        for (Entity* e : all)
            if (Collider* c = first(e))
                c->Contacts.clear(), c->Pushed = false;
    for (size_t i = 0; i < all.size(); ++i)
    {
        for (size_t k = i + 1; k < all.size() && alive(i); ++k)
        {
            if (!alive(k))
                continue;
            Collider* ci = first(all[i]);
            PixelGrid* gi = all[i]->GetComponent<PixelGrid>();
            Collider* ck = first(all[k]);
            PixelGrid* gk = all[k]->GetComponent<PixelGrid>();
            if (ci && ck)
            {
                if (!ci->CollisionMask[0] && !ck->CollisionMask[0])
                    continue;
                if (!ci->CollisionMask[2] && !ck->CollisionMask[2] && all[i]->Name == all[k]->Name)
                    continue;
                Collider::CheckPair(ci, ck);
                if (!alive(i) || !alive(k))
                    continue;
            }
            if (ck && gi && ck->PixelGridCollider)
                gi->CollideLine(ck);
            else if (ci && gk && ci->PixelGridCollider)
                gk->CollideLine(ci);
        }
        if (!alive(i))
            continue;
        if (ColliderLine* line = dynamic_cast<ColliderLine*>(first(all[i])))
            line->PaintContacts();
    }
}

// Everything a pass leaves behind, as text.
std::string Outcome(EntityList& list)
{
    std::ostringstream out;
    for (const auto& [own, other, contact] : heard)
        out << own << ">" << other << ":" << contact << " ";
    out << "\n";
    for (Entity* e : list.GetEntities())
    {
        const Transform* t = e->GetComponent<Transform>();
        out << e->Name << " at " << t->Translation.x << "," << t->Translation.y;
        if (const Collider* c = e->GetComponent<Collider>())
        {
            out << " contacts";
            for (int k : c->Contacts)
                out << " " << k;
            out << (c->Pushed ? " pushed" : "");
        }
        if (const ColliderLine* line = e->GetComponent<ColliderLine>())
            for (const Vec3& colour : line->EdgeColors)
                out << " " << colour.x;
        out << " probes " << e->GetComponent<ProbeRecorder>()->contacts.size() << "\n";
    }
    return out.str();
}

void Move(EntityList& list)
{
    for (Entity* e : list.GetEntities())
        for (Component* c : e->components)
            if (dynamic_cast<Physics*>(c) || dynamic_cast<ColliderLine*>(c))
                c->Update(0.1f);
}
}   // namespace

TEST_F(CollisionPass, MatchesTheWalkOverEveryPair)
{
    EntityList::OnSqueezed = [](Entity*) {
        return true;
    };   // the squeezed stay, so both runs keep the same bodies
    const struct
    {
        const char* name;
        void (*build)(EntityList&, uint32_t seed);
        uint32_t seeds;
        bool removes;
        int frames;
        bool renames;   // every pass, bodies two by two take names never seen before
    } crowds[] = {
        {"mixed", Crowd, 12, false, 4, false},
        {"bots", [](EntityList& list, uint32_t seed) { BotCrowd(list, seed, 400); }, 6, false, 4, false},
        {"bots, callbacks delete bodies", [](EntityList& list, uint32_t seed) { BotCrowd(list, seed, 400); },
         6, true, 4, false},
        {"bots under ever new names", [](EntityList& list, uint32_t seed) { BotCrowd(list, seed, 400); }, 1,
         false, 24, true},
    };
    int fresh = 0;
    for (const auto& crowd : crowds)
        for (uint32_t seed = 1; seed <= crowd.seeds; ++seed)
        {
            EntityList fast, plain;
            crowd.build(fast, seed);
            crowd.build(plain, seed);
            for (EntityList* list : {&fast, &plain})
                for (Entity* e : list->GetEntities())
                    if (Collider* c = e->GetComponent<Collider>(); c && crowd.removes)
                        c->Callback = HearAndRemove;
            for (int frame = 0; frame < crowd.frames; ++frame)
            {
                Frame(frame);
                if (crowd.renames)
                {
                    // More names than the pass keeps numbers for: its table starts again.
                    const std::vector<Entity*> a = fast.GetEntities(), b = plain.GetEntities();
                    for (size_t n = 1; n < a.size(); ++n, ++fresh)   // the terrain keeps its name
                        a[n]->Name = b[n]->Name = std::to_string(fresh / 2);
                }
                Move(fast);
                Move(plain);
                heard.clear();
                removingFrom = crowd.removes ? &fast : nullptr;
                fast.CheckCollisions(0.1f);
                const std::string fastOutcome = Outcome(fast);
                heard.clear();
                removingFrom = crowd.removes ? &plain : nullptr;
                PlainPass(plain);
                removingFrom = nullptr;
                const std::string plainOutcome = Outcome(plain);
                ASSERT_EQ(fastOutcome, plainOutcome)
                    << crowd.name << ", seed " << seed << ", frame " << frame;
            }
            if (crowd.removes)
            {
                EXPECT_LT(fast.Size(), 401u) << crowd.name << ": the callbacks deleted nothing";
            }
        }
    heard.clear();
}
