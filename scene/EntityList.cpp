#include "scene/EntityList.h"

#include "engine/WindowSystem.h"
#include "game/ColliderLine.h"
#include "game/PixelGrid.h"
#include "graphics/Camera.h"
#include "scene/Entity.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <unordered_map>

// What the collision pass looks up once per entity: its first collider, its first terrain, its
// name as a number and its collider's mask flags, and, for a line collider on an entity without
// terrain, the box around its segments. Segments change only in Update, so a box holds for the
// whole pass. An entity deleted during the pass loses its pointers here and takes no further part.
struct CollisionBody
{
    Entity* entity;
    Collider* collider;
    PixelGrid* grid;
    uint32_t name;
    bool paired, sameName;
    bool hasBox;
    float minX, minY, maxX, maxY;
};

// A body in one grid square: the square's row and column and the group the body pairs by (see
// Group) packed into one number, high bits first, so that sorting by it gathers each square's
// bodies group by group.
struct SquareEntry
{
    uint64_t key;
    uint32_t body;
    bool operator<(const SquareEntry& o) const { return key < o.key; }
};

struct CollisionScratch
{
    std::vector<CollisionBody> bodies;
    std::vector<SquareEntry> squares;   // every square a box covers
    std::vector<uint32_t> unboxed;      // bodies without a box, in list order: paired with everyone
    std::vector<uint64_t> close;        // (i << 32 | k), i < k: boxed pairs that may be tested, sorted
    std::vector<Entity*> squeezed;
    // Entity name -> number, kept across passes, and the last name asked for with its number
    // (bots of one name often stand in a row). The empty name is always number 0.
    std::unordered_map<std::string, uint32_t> names{{"", 0}};
    std::string lastName;
    uint32_t lastNumber = 0;
    bool running = false;
};

namespace
{
// Bodies whose pairs are decided by their names alone (they take part in pair tests and are not
// tested against their own name) group by name; every other body is in the last group.
constexpr int GroupBits = 21, SquareBits = 21;
constexpr uint32_t Special = (1u << GroupBits) - 1;   // names numbered this high are treated alike
uint32_t Group(const CollisionBody& b)
{
    return b.paired && !b.sameName ? std::min(b.name, Special) : Special;
}
uint64_t SquareGroup(const SquareEntry& e) { return e.key & Special; }
uint64_t SquareOnly(const SquareEntry& e) { return e.key >> GroupBits; }

// Whether the pair reaches the collider test: masks and names, as read at the start of the pass.
bool Tested(const CollisionBody& a, const CollisionBody& b)
{
    return (a.paired || b.paired) && (a.sameName || b.sameName || a.name != b.name);
}

uint32_t NameNumber(CollisionScratch& s, const std::string& name)
{
    if (name != s.lastName)
    {
        s.lastName = name;
        s.lastNumber = s.names.try_emplace(name, static_cast<uint32_t>(s.names.size())).first->second;
    }
    return s.lastNumber;
}

CollisionBody MakeBody(Entity* e, CollisionScratch& s)
{
    CollisionBody body{e, nullptr, nullptr, 0, false, false, false, 0, 0, 0, 0};
    // Components of these type ids are always of these classes (their constructors set them).
    for (Component* c : e->components)
    {
        if (!body.collider && c && c->TypeId == ComponentType::Collider)
            body.collider = static_cast<Collider*>(c);
        if (!body.grid && c && c->TypeId == ComponentType::PixelGrid)
            body.grid = static_cast<PixelGrid*>(c);
    }
    if (!body.collider && !body.grid)
        return body;
    body.name = NameNumber(s, e->Name);
    if (!body.collider)
        return body;
    body.paired = body.collider->CollisionMask[Collider::MaskPaired];
    body.sameName = body.collider->CollisionMask[Collider::MaskSameName];
    if (body.grid || body.collider->ColliderType != Collider::TypeLine)
        return body;
    const ColliderLine* line = static_cast<const ColliderLine*>(body.collider);
    if (line->Segments.empty())
        return body;
    // Widened a little, so rounding in the segment test can never cross a box edge.
    constexpr float slack = 1e-3f;
    body.minX = body.minY = std::numeric_limits<float>::max();
    body.maxX = body.maxY = std::numeric_limits<float>::lowest();
    for (const LineSegment& s : line->Segments)
        for (const Vec3& p : {s.Point1, s.Point2})
        {
            body.minX = std::min(body.minX, p.x - slack), body.maxX = std::max(body.maxX, p.x + slack);
            body.minY = std::min(body.minY, p.y - slack), body.maxY = std::max(body.maxY, p.y + slack);
        }
    // A box that is not a number in every corner could not be swept; it meets everyone.
    body.hasBox = std::isfinite(body.minX) && std::isfinite(body.maxX) && std::isfinite(body.minY) &&
                  std::isfinite(body.maxY);
    return body;
}

bool BoxesMeet(const CollisionBody& a, const CollisionBody& b)
{
    return !(a.maxX < b.minX || b.maxX < a.minX || a.maxY < b.minY || b.maxY < a.minY);
}

// Drops the boxes into a uniform grid of squares about two boxes wide and keeps the pairs of boxes
// that share a square, meet and would be tested, sorted by the earlier body and then the later
// one: the order in which the list walk visits pairs. Pairs that masks or names rule out are
// never collected: within a square, bodies that pair by name alone meet only the other names'
// groups. A box far larger than the others (a world bound) would fill many squares; it is treated
// as having no box and meets everyone.
void FindClosePairs(CollisionScratch& s)
{
    s.unboxed.clear();
    s.squares.clear();
    s.close.clear();
    double extent = 0;
    size_t boxed = 0;
    for (const CollisionBody& b : s.bodies)
        if (b.hasBox)
            extent += std::max(b.maxX - b.minX, b.maxY - b.minY), ++boxed;
    const double square = boxed > 0 ? std::max(2 * extent / static_cast<double>(boxed), 1e-3) : 1.0;
    // Squares beyond the numbers a key holds share the outermost ones: more pairs to look at
    // out there, never fewer.
    constexpr double limit = (1 << (SquareBits - 1)) - 1;
    const auto squareOf = [&](float v) {
        return static_cast<int64_t>(std::floor(std::clamp(v / square, -limit, limit)));
    };
    constexpr int64_t mostSquares = 64;

    for (uint32_t i = 0; i < s.bodies.size(); ++i)
    {
        CollisionBody& b = s.bodies[i];
        if (!b.hasBox)
        {
            s.unboxed.push_back(i);
            continue;
        }
        const int64_t x0 = squareOf(b.minX), x1 = squareOf(b.maxX), y0 = squareOf(b.minY),
                      y1 = squareOf(b.maxY);
        if ((x1 - x0 + 1) * (y1 - y0 + 1) > mostSquares)
        {
            b.hasBox = false;
            s.unboxed.push_back(i);
            continue;
        }
        for (int64_t y = y0; y <= y1; ++y)
            for (int64_t x = x0; x <= x1; ++x)
            {
                const uint64_t row = static_cast<uint64_t>(y + (1 << (SquareBits - 1)));
                const uint64_t column = static_cast<uint64_t>(x + (1 << (SquareBits - 1)));
                s.squares.push_back({(row << SquareBits | column) << GroupBits | Group(b), i});
            }
    }
    std::sort(s.squares.begin(), s.squares.end());
    const auto keep = [&](uint32_t p, uint32_t q) {
        const uint32_t i = std::min(p, q), k = std::max(p, q);
        if (BoxesMeet(s.bodies[i], s.bodies[k]))
            s.close.push_back(uint64_t{i} << 32 | k);
    };
    for (size_t run = 0; run < s.squares.size();)
    {
        size_t end = run + 1;
        while (end < s.squares.size() && SquareOnly(s.squares[end]) == SquareOnly(s.squares[run]))
            ++end;
        // Each group of the square against the later groups; the last group (bodies that do not
        // pair by name alone) among itself. A pair with a body of the last group is asked.
        for (size_t group = run; group < end;)
        {
            const uint64_t id = SquareGroup(s.squares[group]);
            size_t groupEnd = group + 1;
            while (groupEnd < end && SquareGroup(s.squares[groupEnd]) == id)
                ++groupEnd;
            for (size_t p = group; p < groupEnd; ++p)
            {
                const uint32_t a = s.squares[p].body;
                for (size_t q = id == Special ? p + 1 : groupEnd; q < end; ++q)
                {
                    const uint32_t b = s.squares[q].body;
                    if (SquareGroup(s.squares[q]) != Special || Tested(s.bodies[a], s.bodies[b]))
                        keep(a, b);
                }
            }
            group = groupEnd;
        }
        run = end;
    }
    std::sort(s.close.begin(), s.close.end());
    s.close.erase(std::unique(s.close.begin(), s.close.end()), s.close.end());
}

bool HasOpposites(const std::vector<int>& contacts)
{
    const auto has = [&](int kind) {
        return std::find(contacts.begin(), contacts.end(), kind) != contacts.end();
    };
    return (has(Collider::ContactTop) && has(Collider::ContactBottom)) ||
           (has(Collider::ContactLeft) && has(Collider::ContactRight));
}

// One pair of the walk: the collider pair test, masks and names permitting, then the terrain.
// The bodies are read again after the pair test: its callbacks may have deleted either entity.
void VisitPair(const CollisionBody& bi, const CollisionBody& bk)
{
    if (bi.collider && bk.collider)
    {
        if (!Tested(bi, bk))
            return;
        Collider::CheckPair(bi.collider, bk.collider);
    }
    if (bk.collider && bi.grid && bk.collider->PixelGridCollider)
        bi.grid->CollideLine(bk.collider);
    else if (bi.collider && bk.grid && bi.collider->PixelGridCollider)
        bk.grid->CollideLine(bi.collider);
}
}   // namespace

EntityList::EntityList() = default;

EntityList::~EntityList() { Clear(); }

void EntityList::Clear()
{
    std::vector<Entity*> doomed;
    doomed.swap(entities);
    Camera = nullptr;
    for (Entity* e : doomed)
        LeavePass(e);
    for (Entity* e : doomed)
        delete e;
}

bool EntityList::Add(Entity* entity)
{
    if (!entity)
        return false;
    if (entity->Name == "MainCamera")
        Camera = entity;
    entities.push_back(entity);
    return true;
}

Entity* EntityList::FindByName(const std::string& name) const
{
    for (Entity* e : entities)
        if (e && e->Name == name)
            return e;
    return nullptr;
}

bool EntityList::Remove(const Entity* entity)
{
    const auto at = std::find(entities.begin(), entities.end(), entity);
    if (!entity || at == entities.end())
        return false;
    Erase(static_cast<size_t>(at - entities.begin()));
    return true;
}

bool EntityList::Contains(const Entity* entity) const
{
    return entity && std::find(entities.begin(), entities.end(), entity) != entities.end();
}

void EntityList::Erase(size_t index)
{
    Entity* doomed = entities[index];
    entities.erase(entities.begin() + static_cast<std::ptrdiff_t>(index));
    if (doomed == Camera)
        Camera = nullptr;
    LeavePass(doomed);
    delete doomed;
}

void EntityList::LeavePass(const Entity* doomed)
{
    if (!scratch || !scratch->running)
        return;
    for (CollisionBody& body : scratch->bodies)
        if (body.entity == doomed)
            body = CollisionBody{nullptr, nullptr, nullptr, body.name, false, false, false, 0, 0, 0, 0};
    std::vector<Entity*>& squeezed = scratch->squeezed;
    squeezed.erase(std::remove(squeezed.begin(), squeezed.end(), doomed), squeezed.end());
}

void EntityList::RemoveByName(const std::string& name)
{
    for (size_t i = 0; i < entities.size(); ++i)
        if (entities[i] && entities[i]->Name == name)
        {
            Erase(i);
            return;
        }
}

void EntityList::Update(float dt)
{
    if (Camera)
        Camera::GetInstance().SetTarget(Camera);
    // The size is read again at every step: entities added during the pass update in it too.
    for (size_t i = 0; i < entities.size();)
    {
        Entity* e = entities[i];
        if (!e)
        {
            entities.erase(entities.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        if (e->IsDestroyed)
        {
            Erase(i);
            continue;
        }
        // By index: a component may add components to its own entity while it updates.
        for (size_t c = 0; c < e->components.size(); ++c)
            if (Component* component = e->components[c])
                component->Update(dt);
        // The update may have removed entities before this one: find it again by pointer. When
        // it is gone, whatever now stands at i has not been updated yet.
        if (i >= entities.size() || entities[i] != e)
        {
            const auto at = std::find(entities.begin(), entities.end(), e);
            if (at == entities.end())
                continue;
            i = static_cast<size_t>(at - entities.begin());
        }
        if (e->IsDestroyed)
        {
            Erase(i);
            continue;
        }
        ++i;
    }
}

void EntityList::Render()
{
    if (Camera)
        Camera::GetInstance().SetTarget(Camera);
    for (size_t i = 0; i < entities.size(); ++i)
        if (Entity* e = entities[i])
            for (size_t c = 0; c < e->components.size(); ++c)
                if (Component* component = e->components[c])
                    component->Render();
}

void EntityList::CheckCollisions(float dt)
{
    if (!(dt > 0))
        return;
    if (!scratch)
        scratch = std::make_unique<CollisionScratch>();
    CollisionScratch& s = *scratch;
    std::vector<CollisionBody>& bodies = s.bodies;
    bodies.clear();
    // Name numbers only need to agree within a pass: a table grown large from names that come
    // and go starts again.
    if (s.names.size() > 4096)
    {
        s.names = {{"", 0}};
        s.lastName.clear();
        s.lastNumber = 0;
    }
    for (Entity* e : entities)
        if (e)
            if (CollisionBody body = MakeBody(e, s); body.collider || body.grid)
                bodies.push_back(body);

    // On odd frames the previous pass's contacts stay and this pass adds to them.
    if (WindowSystem::GetInstance().frameCounter % 2 == 0)
        for (const CollisionBody& body : bodies)
            if (body.collider)
            {
                body.collider->Pushed = false;
                body.collider->Contacts.clear();
            }

    FindClosePairs(s);
    const std::vector<uint64_t>& close = s.close;
    const std::vector<uint32_t>& unboxed = s.unboxed;
    s.squeezed.clear();
    s.running = true;
    size_t nextClose = 0;
    for (uint32_t i = 0; i < bodies.size(); ++i)
    {
        const CollisionBody& bi = bodies[i];
        if (!bi.hasBox)
            for (size_t k = i + 1; k < bodies.size(); ++k)
                VisitPair(bi, bodies[k]);
        else
        {
            // The later bodies this one can meet, in list order: its close pairs merged with
            // every body that has no box.
            auto other = std::upper_bound(unboxed.begin(), unboxed.end(), i);
            while (nextClose < close.size() && (close[nextClose] >> 32) < i)
                ++nextClose;
            for (;;)
            {
                const bool haveClose = nextClose < close.size() && (close[nextClose] >> 32) == i;
                const bool haveOther = other != unboxed.end();
                if (!haveClose && !haveOther)
                    break;
                const uint32_t closeK =
                    haveClose ? static_cast<uint32_t>(close[nextClose] & 0xFFFFFFFFu) : UINT32_MAX;
                const uint32_t otherK = haveOther ? *other : UINT32_MAX;
                if (closeK < otherK)
                    ++nextClose;
                else
                    ++other;
                VisitPair(bi, bodies[std::min(closeK, otherK)]);
            }
        }
        Collider* ci = bi.collider;
        if (!ci)
            continue;
        if (HasOpposites(ci->Contacts))
            s.squeezed.push_back(bi.entity);
        if (ci->ColliderType == Collider::TypeLine)
            static_cast<ColliderLine*>(ci)->PaintContacts();
    }
    s.running = false;

    // By serial: a handler may delete another squeezed entity.
    std::vector<uint64_t> squeezed;
    for (const Entity* e : s.squeezed)
        squeezed.push_back(e->Serial);
    for (uint64_t serial : squeezed)
        if (Entity* e = Entity::Living(serial); e && (!OnSqueezed || !OnSqueezed(e)))
            e->IsDestroyed = true;
}
