#include "scene/LevelProgress.h"

#include "scene/Scene.h"
#include "scene/SceneSystem.h"

#include <algorithm>
#include <charconv>
#include <climits>

std::vector<int> LevelCompleted = {1};
const std::vector<int> LevelList = {1, 2, 3, 4, 5};
bool LastLevelWon = false;

std::optional<int> FirstNumberIn(std::string_view text)
{
    const size_t first = text.find_first_of("0123456789");
    if (first == std::string_view::npos)
        return std::nullopt;
    int value = 0;
    const char* begin = text.data() + first;
    const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
    if (error != std::errc())
        return std::nullopt;
    return value;
}

std::string_view FileNameOf(std::string_view path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string LevelNumberFromScene(const Scene* scene)
{
    if (!scene)
        return "error";
    const std::string& file = scene->SceneFile;
    const size_t slash = file.find_last_of("/\\");
    const size_t dot = file.find_last_of('.');
    if (slash == std::string::npos || dot == std::string::npos || dot < slash)
        return "error";
    const std::string stem = file.substr(slash + 1, dot - slash - 1);
    const std::string prefix = "LevelScene";
    if (!stem.starts_with(prefix))
        return "error";
    return "Level " + stem.substr(prefix.size());
}

bool IsLevelUnlocked(int level)
{
    return std::find(LevelCompleted.begin(), LevelCompleted.end(), level) != LevelCompleted.end();
}

bool IsLevelCompleted(int level)
{
    if (!LevelList.empty() && level == LevelList.back())
        return LastLevelWon;
    return level < INT_MAX && IsLevelUnlocked(level + 1);
}

bool AddUnlockedLevel(int level)
{
    if (IsLevelUnlocked(level))
        return false;
    LevelCompleted.push_back(level);
    return true;
}

void UnlockNextLevel()
{
    SceneSystem& scenes = SceneSystem::GetInstance();
    scenes.TogglePause(SceneSystem::WinPause);
    const Scene* scene = scenes.CurrentScene();
    if (!scene)
        return;
    // Only the file name counts: digits in a folder name say nothing about the level.
    const int won = FirstNumberIn(FileNameOf(scene->SceneFile)).value_or(0);
    if (won == INT_MAX)
        return;
    // Only levels of the game are stored: the last level unlocks nothing and is remembered apart.
    if (std::find(LevelList.begin(), LevelList.end(), won + 1) != LevelList.end())
    {
        if (AddUnlockedLevel(won + 1))
            scenes.SaveLevelCompleted();
    }
    else if (!LevelList.empty() && won == LevelList.back() && !LastLevelWon)
    {
        LastLevelWon = true;
        scenes.SaveLevelCompleted();
    }
}
