#include "ui/BehaviorJobButton.h"

#include "audio/AudioPlayer.h"
#include "engine/MessagingSystem.h"
#include "engine/TraceSystem.h"
#include "game/BehaviorMonkey.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"

#include <memory>

namespace
{
// The job each job button's entity name stands for; the umbrella button gives no job number.
struct JobOfButton
{
    const char* button;
    int job;
};
const JobOfButton JobButtons[] = {
    {"MonkeyBlockerButton", MonkeyJob::Blocker},
    {"MonkeyDigButton", MonkeyJob::Dig},
    {"MonkeyBridgeButton", MonkeyJob::Bridge},
    {"MonkeyTunnelButton", MonkeyJob::Tunnel},
};
const char* const UmbrellaButton = "MonkeyUmbrellaButton";
}   // namespace

void BehaviorJobButton::Write(json& out) const
{
    Button::Write(out);
    out["Type"] = "BehaviorJobButton";
    out["Hotkey"] = Hotkey;
}

void BehaviorJobButton::Read(const json& in)
{
    Button::Read(in);
    ReadHotkey(in, "BehaviorJobButton", Hotkey);
}

void BehaviorJobButton::PostCreate()
{
    Button::PostCreate();
    MessagingSystem::GetInstance().SubscribeWithPayload(
        "",
        [this](std::string, Msg::MessagePayload* payload) {
            if (!payload || payload->TypeId != ButtonClickedMessage::TypeHash())
                return true;
            if (static_cast<ButtonClickedMessage*>(payload)->ClickedButton == this)
                return true;
            ApplyNormalTint();
            JobSelected = false;
            return true;
        },
        this);
}

void BehaviorJobButton::OnReleased()
{
    Button::OnReleased();
    const bool wasSelected = JobSelected;
    JobSelected = !JobSelected;
    if (wasSelected)
        ApplyNormalTint();
    MessagingSystem::GetInstance().PostButtonClicked("", std::make_unique<ButtonClickedMessage>(this));
}

BehaviorJobButton::Handout BehaviorJobButton::GiveJob(BehaviorMonkey& bot) const
{
    const std::string& name = Parent ? Parent->Name : std::string();
    if (name == UmbrellaButton)
    {
        if (bot.Umbrella)
            return Handout::AlreadyHas;
        bot.Umbrella = true;
        return Handout::Given;
    }
    for (const JobOfButton& entry : JobButtons)
        if (name == entry.button)
        {
            if (bot.Job == entry.job)
                return Handout::AlreadyHas;
            bot.Job = entry.job;
            return Handout::Given;
        }
    return Handout::NoJob;
}

void BehaviorJobButton::OnUpdate(float)
{
    ClickOnHotkey(Hotkey);
    if (!JobSelected)
        return;
    const Scene* scene = SceneSystem::GetInstance().CurrentScene();
    if (!scene)
        return;

    for (Entity* entity : scene->entities.GetEntities())
    {
        if (!entity || entity->Name != "Monkey")
            continue;
        BehaviorMonkey* bot = entity->GetComponent<BehaviorMonkey>();
        if (!bot || !bot->IsButtonPressed())
            continue;
        AudioPlayer::GetInstance()->PlaySound("Click", false, 1.0f);
        if (GiveJob(*bot) == Handout::AlreadyHas)
            continue;
        JobSelected = false;
        ApplyNormalTint();
        return;
    }
}
