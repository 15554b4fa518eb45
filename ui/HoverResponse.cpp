#include "ui/HoverResponse.h"

#include "engine/JsonFile.h"
#include "engine/TraceSystem.h"
#include "graphics/Animation.h"
#include "scene/ReadingFile.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"
#include "ui/Button.h"

#include <memory>

HoverResponse::HoverResponse(const HoverResponse& other) : Behavior(other), ChildCount(other.ChildCount)
{
    for (int i = 0; i < MaxChildren; ++i)
        Children[i].ChildName = other.Children[i].ChildName;
}

HoverResponse::~HoverResponse()
{
    for (const Child& child : Children)
        if (Entity* built = child.ChildEntity.Get())
        {
            built->IsDestroyed = true;
            if (Transform* transform = built->GetComponent<Transform>())
                transform->ParentEntity = nullptr;
        }
}

void HoverResponse::Write(json& out) const
{
    json names = json::array();
    for (const Child& child : Children)
        names.push_back(child.ChildName);
    out["Children"] = std::move(names);
    out["Type"] = "HoverResponse";
}

void HoverResponse::Read(const json& in)
{
    const auto found = in.find("Children");
    if (found == in.end())
        return;
    const auto take = [this](const json& value) {
        if (!value.is_string())
            throw DataError(std::string("\"Children\": type must be string, but is ") + value.type_name());
        if (ChildCount < MaxChildren)
            Children[ChildCount++].ChildName = value.get<std::string>();
    };
    if (found->is_structured())
        for (const json& value : *found)
            take(value);
    else
        take(*found);
}

void HoverResponse::PostCreate()
{
    if (ButtonComponent* button = Parent ? Parent->GetComponent<ButtonComponent>() : nullptr)
        button->AddCallback(this, [this](ButtonComponent::state state) { Respond(state); });
}

void HoverResponse::OnInit()
{
    if (!Parent)
        return;
    SceneSystem& scenes = SceneSystem::GetInstance();
    Scene* home = scenes.SceneOf(Parent);
    if (!home)
        home = scenes.ShownScene();
    for (Child& child : Children)
    {
        if (child.ChildName.empty())
            continue;
        const std::string path = "Data/Compositions/" + child.ChildName + ".json";
        json document;
        if (!ReadJsonFile(path, document))
        {
            Log("Invalid Object attempted to be built");
            Log("HoverResponse: [", Parent->Name, "] no composition ", path,
                "; it and the ones after it are left out");
            return;
        }
        auto built = std::make_unique<Entity>();
        {
            const ReadingFile reading(path);
            built->Read(document);
        }
        if (Transform* transform = built->GetComponent<Transform>())
            transform->SetParentEntity(Parent);
        built->IsSpawned = true;
        child.ChildEntity = built.get();
        if (home)
            home->AddEntity(built.release());
    }
}

Entity* HoverResponse::ChildNamed(const std::string& name) const
{
    for (const Child& child : Children)
        if (child.ChildName == name)
            return child.ChildEntity.Get();
    return nullptr;
}

void HoverResponse::Respond(ButtonComponent::state state)
{
    for (const Child& child : Children)
    {
        Entity* built = child.ChildEntity.Get();
        if (!built)
            continue;
        if (Animation* animation = built->GetComponent<Animation>())
        {
            if (state == ButtonComponent::Pressed || state == ButtonComponent::Hover)
                animation->Play();
        }
        else if (state == ButtonComponent::Pressed)
            TintSprite(built, HeldShade, HeldShade, HeldShade);
        else if (state == ButtonComponent::Released)
            TintSprite(built, 1, 1, 1);
    }
}
