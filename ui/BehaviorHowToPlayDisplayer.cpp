#include "ui/BehaviorHowToPlayDisplayer.h"

#include "engine/TraceSystem.h"
#include "graphics/Sprite.h"
#include "graphics/TextureLibrary.h"
#include "scene/Entity.h"

void BehaviorHowToPlayDisplayer::Write(json& out) const
{
    out["Type"] = "BehaviorHowToPlayDisplayer";
    out["SpritePathMap"] = SpritePathMap;
    out["FirstActionName"] = FirstActionName;
}

void BehaviorHowToPlayDisplayer::Read(const json& in)
{
    ReadKey(in, "FirstActionName", FirstActionName);
    if (!in.contains("SpritePathMap"))
        return;
    ReadKey(in, "SpritePathMap", SpritePathMap);
    if (SpritePathMap.empty())
        return;
    const auto first = SpritePathMap.find(FirstActionName);
    const auto chosen = first != SpritePathMap.end() ? first : SpritePathMap.begin();
    SetCurrentAction(chosen->first);
    PageCount = chosen->second.size();
}

void BehaviorHowToPlayDisplayer::OnUpdate(float)
{
    if (!Changed)
        return;
    Changed = false;
    Sprite* sprite = Parent ? Parent->GetComponent<Sprite>() : nullptr;
    const auto action = SpritePathMap.find(CurrentAction);
    if (!sprite || action == SpritePathMap.end())
        return;
    const std::vector<std::string>& pages = action->second;
    PageCount = pages.size();
    if (CurrentPage >= PageCount)
    {
        TraceMessage("Path index out of range for action: %s", CurrentAction.c_str());
        Log("BehaviorHowToPlayDisplayer: [", Parent->Name, "] page ", CurrentPage + 1, " of \"",
            CurrentAction, "\", which has ", PageCount,
            pages.empty() ? "; nothing shown" : "; its last page shown");
        if (pages.empty())
            return;
        CurrentPage = PageCount - 1;
    }
    sprite->request->texture = TextureLibrary::GetInstance().FindOrLoad(pages[CurrentPage]);
    Log("HOWTOPLAY: [", Parent->Name, "] page ", CurrentPage + 1, " of ", PageCount, " of \"", CurrentAction,
        "\": ", pages[CurrentPage]);
}

void BehaviorHowToPlayDisplayer::OnExit() { Log("BehaviorHowToPlayDisplayer: Shutting down"); }
