#include "ui/BehaviorDestructButton.h"

#include "engine/MessagingSystem.h"
#include "engine/TraceSystem.h"
#include "game/BehaviorMonkey.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "ui/ButtonComponent.h"

#include <algorithm>
#include <memory>
#include <vector>

bool BehaviorDestructButton::Armed = false;

namespace
{
std::vector<const Button*>& LiveButtons()
{
    static std::vector<const Button*> live;
    return live;
}

// Any bot can be picked, also one at work: bots carry their job in their name ("MonkeyBlocker").
bool IsPickableBot(const Entity& entity) { return entity.Name.find("Monkey") != std::string::npos; }
}   // namespace

BehaviorDestructButton::BehaviorDestructButton() { LiveButtons().push_back(this); }

BehaviorDestructButton::BehaviorDestructButton(const BehaviorDestructButton& other)
    : Button(other), DestroyOnlyBlockers(other.DestroyOnlyBlockers), Hotkey(other.Hotkey)
{
    LiveButtons().push_back(this);
}

BehaviorDestructButton::~BehaviorDestructButton()
{
    auto& live = LiveButtons();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

bool BehaviorDestructButton::IsDestructButton(const Button* button)
{
    const auto& live = LiveButtons();
    return button && std::find(live.begin(), live.end(), button) != live.end();
}

void BehaviorDestructButton::Write(json& out) const
{
    Button::Write(out);
    out["Type"] = "BehaviorDestructButton";
    out["DestroyOnlyBlockers"] = DestroyOnlyBlockers;
    out["Hotkey"] = Hotkey;
}

void BehaviorDestructButton::Read(const json& in)
{
    Button::Read(in);
    ReadKey(in, "DestroyOnlyBlockers", DestroyOnlyBlockers);
    ReadKeyHotkey(in, "BehaviorDestructButton", Hotkey, NoHotkey);
}

void BehaviorDestructButton::PostCreate()
{
    Button::PostCreate();
    // A mode armed in the scene before would destroy the first bot pressed here unseen.
    Armed = false;
    MessagingSystem::GetInstance().SubscribeWithPayload(
        "",
        [this](std::string, Msg::MessagePayload* payload) {
            if (!payload || payload->TypeId != ButtonClickedMessage::TypeHash())
                return true;
            if (IsDestructButton(static_cast<ButtonClickedMessage*>(payload)->ClickedButton))
                return true;
            ApplyNormalTint();
            Armed = false;
            return true;
        },
        this);
}

void BehaviorDestructButton::OnReleased()
{
    const bool wasArmed = Armed;
    Armed = !Armed;
    if (wasArmed)
        ApplyNormalTint();
    else
        MessagingSystem::GetInstance().PostButtonClicked("", std::make_unique<ButtonClickedMessage>(this));
}

void BehaviorDestructButton::OnUpdate(float)
{
    ClickOnHotkey(Hotkey);
    if (!Armed)
        return;
    const Scene* scene = SceneSystem::GetInstance().CurrentScene();
    if (!scene)
        return;

    // Every bot pressed in this frame goes, not only the first.
    for (Entity* entity : scene->entities.GetEntities())
    {
        if (!entity || !IsPickableBot(*entity))
            continue;
        const ButtonComponent* button = entity->GetComponent<ButtonComponent>();
        if (!button || button->CurrentState != ButtonComponent::Pressed)
            continue;
        BehaviorMonkey* bot = entity->GetComponent<BehaviorMonkey>();
        if (!bot)
            continue;
        bot->StateNext = 1;
        TraceMessage("Successfully destroyed monkey");
        ApplyNormalTint();
        Armed = false;
    }
}
