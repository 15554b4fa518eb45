#include "ui/BehaviorFontChange.h"

#include "engine/TraceSystem.h"
#include "engine/WindowSystem.h"
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorSpawner.h"
#include "graphics/Font.h"
#include "scene/Entity.h"
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"
#include "ui/BehaviorHowToPlayDisplayer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

std::string BehaviorFontChange::ClockText(float seconds)
{
    const long long whole = std::isfinite(seconds) && seconds > 0 ? static_cast<long long>(seconds) : 0;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld", whole / 60, whole % 60);
    return text;
}

namespace
{
std::string PageText()
{
    using Pages = BehaviorHowToPlayDisplayer;
    if (Pages::PageCount == 0)
        return "";
    const uint64_t page = std::min(Pages::CurrentPage, Pages::PageCount - 1) + 1;
    return std::to_string(page) + "/" + std::to_string(Pages::PageCount);
}

std::string ScoreText()
{
    const int64_t total = BehaviorSpawner::GetSpawnTotal();
    return std::to_string(total - BehaviorCountBoard::DeadCount) + "/" + std::to_string(total);
}
}   // namespace

void BehaviorFontChange::OnUpdate(float)
{
    Font* font = Parent ? Parent->GetComponent<Font>() : nullptr;
    if (!font)
        return;
    const std::string& name = Parent->Name;
    if (RefreshOnce)
    {
        if (name == "LevelNameText")
            font->Text = LevelNumberFromScene(SceneSystem::GetInstance().CurrentScene());
        else if (name == "ScoreText")
            font->Text = ScoreText();
        RefreshOnce = false;
    }
    if (name == "LevelTime")
        font->Text = ClockText(SceneSystem::GetInstance().levelTimer);
    else if (name == "HowToPlayPageText")
        font->Text = PageText();
    else if (name == "ScreenSizeButtonText")
        font->Text = WindowSystem::GetInstance().fullscreen ? " Windowed " : "Fullscreen";
}

void BehaviorFontChange::OnExit() { Log("BehaviorFontChange: Shutting down"); }
