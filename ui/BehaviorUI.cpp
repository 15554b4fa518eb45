#include "ui/BehaviorUI.h"

#include "engine/TraceSystem.h"
#include "scene/Archetypes.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"

#include <memory>

namespace
{
// The scene the entity is part of; one that stands alone (being built) joins the shown scene.
Scene* HomeOf(const Entity* entity)
{
    const SceneSystem& scenes = SceneSystem::GetInstance();
    if (MainScene* home = scenes.SceneOf(entity))
        return home;
    return scenes.ShownScene();
}
}   // namespace

BehaviorUI::~BehaviorUI()
{
    for (const EntityRef<Entity>& created : CreatedEntities)
        if (Entity* element = created.Get())
        {
            element->IsDestroyed = true;
            if (Transform* transform = element->GetComponent<Transform>())
                transform->ParentEntity = nullptr;
        }
}

void BehaviorUI::Write(json& out) const
{
    Behavior::Write(out);
    out["Type"] = "BehaviorUI";
    out[UIElementsKey] = UIElements;
}

void BehaviorUI::Read(const json& in)
{
    Behavior::Read(in);
    if (in.is_object())
        ReadKey(in, UIElementsKey.c_str(), UIElements);
}

void BehaviorUI::OnInit()
{
    if (!Parent)
        return;
    Scene* scene = HomeOf(Parent);
    if (!scene)
    {
        Log("BehaviorUI: [", Parent->Name, "] no scene to build the interface in");
        return;
    }
    for (const std::string& name : UIElements)
    {
        auto element = std::make_unique<Entity>();
        if (!FactoryBuild(*element, name))
        {
            Log("BehaviorUI: [", Parent->Name, "] no archetype \"", name, "\"; element skipped");
            continue;
        }
        element->IsSpawned = true;
        if (Transform* transform = element->GetComponent<Transform>())
            transform->SetParentEntity(Parent);
        CreatedEntities.emplace_back(element.get());
        scene->AddEntity(element.release());
    }
    if (Transform* own = Parent->GetComponent<Transform>())
        own->SetParentEntity(scene->entities.FindByName("MainCamera"));
}
