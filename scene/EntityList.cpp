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

// What the collision pass looks up once per entity: its first collider, its first terrain and,
// for a line collider on an entity without terrain, the box around its segments. Segments
// change only in Update, so a box holds for the whole pass.
struct CollisionBody
{
    Entity* entity;
    Collider* collider;
    PixelGrid* grid;
    bool hasBox;
    float minX, minY, maxX, maxY;
};

struct CollisionScratch
{
    std::vector<CollisionBody> bodies;
    std::vector<std::pair<uint64_t, uint32_t>> squares;   // (grid square, body) for every square a box covers
    std::vector<uint32_t> unboxed;   // bodies without a box, in list order: paired with everyone
    std::vector<uint64_t> close;     // (i << 32 | k), i < k: boxed pairs whose boxes meet, sorted
};

namespace
{
CollisionBody MakeBody(Entity* e)
{
    CollisionBody body{e, nullptr, nullptr, false, 0, 0, 0, 0};
    for (Component* c : e->components)
    {
        if (!body.collider)
            body.collider = dynamic_cast<Collider*>(c);
        if (!body.grid)
            body.grid = dynamic_cast<PixelGrid*>(c);
    }
    const ColliderLine* line = dynamic_cast<const ColliderLine*>(body.collider);
    if (line && !body.grid && line->ColliderType == Collider::TypeLine && !line->Segments.empty())
    {
        // Widened a little, so rounding in the segment test can never cross a box edge.
        constexpr float slack = 1e-3f;
        body.hasBox = true;
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
    }
    return body;
}

// Drops the boxes into a uniform grid of squares about a box wide and keeps the pairs of
// boxes that share a square and meet, sorted by the earlier body and then the later one: the
// order in which the list walk visits pairs. A box far larger than the others (a world bound)
// would fill many squares; it is treated as having no box and meets everyone.
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
    const double square = boxed > 0 ? std::max(extent / static_cast<double>(boxed), 1e-3) : 1.0;
    constexpr double limit = 1 << 30;   // squares are numbered well inside int
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
                s.squares.push_back(
                    {static_cast<uint64_t>(y + (1ll << 31)) << 32 | static_cast<uint64_t>(x + (1ll << 31)),
                     i});
    }
    std::sort(s.squares.begin(), s.squares.end());
    for (size_t run = 0; run < s.squares.size();)
    {
        size_t end = run + 1;
        while (end < s.squares.size() && s.squares[end].first == s.squares[run].first)
            ++end;
        for (size_t p = run; p < end; ++p)
            for (size_t q = p + 1; q < end; ++q)
            {
                const uint32_t i = s.squares[p].second, k = s.squares[q].second;   // i < k: sorted
                const CollisionBody& a = s.bodies[i];
                const CollisionBody& b = s.bodies[k];
                if (a.maxX < b.minX || b.maxX < a.minX || a.maxY < b.minY || b.maxY < a.minY)
                    continue;
                s.close.push_back(uint64_t{i} << 32 | k);
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
void VisitPair(const CollisionBody& bi, const CollisionBody& bk)
{
    Collider* ci = bi.collider;
    Collider* ck = bk.collider;
    if (ci && ck)
    {
        using M = Collider::MaskFlag;
        if (!ci->CollisionMask[M::MaskPaired] && !ck->CollisionMask[M::MaskPaired])
            return;
        if (!ci->CollisionMask[M::MaskSameName] && !ck->CollisionMask[M::MaskSameName] &&
            bi.entity->Name == bk.entity->Name)
            return;
        Collider::CheckPair(ci, ck);
    }
    if (ck && bi.grid && ck->PixelGridCollider)
        bi.grid->CollideLine(ck);
    else if (ci && bk.grid && ci->PixelGridCollider)
        bk.grid->CollideLine(ci);
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
    delete doomed;
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
    std::vector<CollisionBody>& bodies = scratch->bodies;
    bodies.clear();
    for (Entity* e : entities)
        if (e)
            if (CollisionBody body = MakeBody(e); body.collider || body.grid)
                bodies.push_back(body);

    // On odd frames the previous pass's contacts stay and this pass adds to them.
    if (WindowSystem::GetInstance().frameCounter % 2 == 0)
        for (const CollisionBody& body : bodies)
            if (body.collider)
            {
                body.collider->Pushed = false;
                body.collider->Contacts.clear();
            }

    FindClosePairs(*scratch);
    const std::vector<uint64_t>& close = scratch->close;
    const std::vector<uint32_t>& unboxed = scratch->unboxed;
    std::vector<Entity*> squeezed;
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
            squeezed.push_back(bi.entity);
        if (ColliderLine* line = dynamic_cast<ColliderLine*>(ci))
            line->PaintContacts();
    }

    for (Entity* e : squeezed)
        if (!OnSqueezed || !OnSqueezed(e))
            e->IsDestroyed = true;
}
