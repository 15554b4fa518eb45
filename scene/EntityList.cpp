#include "scene/EntityList.h"

#include "engine/WindowSystem.h"
#include "game/ColliderLine.h"
#include "game/PixelGrid.h"
#include "graphics/Camera.h"
#include "scene/Entity.h"

#include <algorithm>
#include <limits>

// What the collision pass looks up once per entity: its first collider, its first terrain and,
// for a line collider, the box around its segments (segments change only in Update, so the box
// holds for the whole pass).
struct CollisionBody
{
    Entity* entity;
    Collider* collider;
    PixelGrid* grid;
    bool hasBox;
    float minX, minY, maxX, maxY;
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
    if (line && line->ColliderType == Collider::TypeLine && !line->Segments.empty())
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
    }
    return body;
}

// Two line colliders whose boxes are apart cannot cross: the pair test would do nothing.
bool BoxesApart(const CollisionBody& a, const CollisionBody& b)
{
    return a.hasBox && b.hasBox &&
           (a.maxX < b.minX || b.maxX < a.minX || a.maxY < b.minY || b.maxY < a.minY);
}

bool HasOpposites(const std::vector<int>& contacts)
{
    const auto has = [&](int kind) { return std::find(contacts.begin(), contacts.end(), kind) != contacts.end(); };
    return (has(Collider::ContactTop) && has(Collider::ContactBottom)) ||
           (has(Collider::ContactLeft) && has(Collider::ContactRight));
}
} // namespace

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

    std::vector<Entity*> squeezed;
    for (size_t i = 0; i < bodies.size(); ++i)
    {
        const CollisionBody& bi = bodies[i];
        Collider* ci = bi.collider;
        for (size_t k = i + 1; k < bodies.size(); ++k)
        {
            const CollisionBody& bk = bodies[k];
            Collider* ck = bk.collider;
            if (ci && ck)
            {
                using M = Collider::MaskFlag;
                if (!ci->CollisionMask[M::MaskPaired] && !ck->CollisionMask[M::MaskPaired])
                    continue;
                if (!ci->CollisionMask[M::MaskSameName] && !ck->CollisionMask[M::MaskSameName] &&
                    bi.entity->Name == bk.entity->Name)
                    continue;
                if (!BoxesApart(bi, bk))
                    Collider::CheckPair(ci, ck);
            }
            if (ck && bi.grid && ck->PixelGridCollider)
                bi.grid->CollideLine(ck);
            else if (ci && bk.grid && ci->PixelGridCollider)
                bk.grid->CollideLine(ci);
        }
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
