// The scene files of "Data/Scenes": listing, renaming the current one and creating new ones.
// Scene paths stay in the data folder's own spelling ("Data/Scenes/X.json"); the files behind
// them are reached through the data root.
#include "scene/SceneSystem.h"

#include "engine/DataPath.h"
#include "engine/JsonFile.h"
#include "engine/Platform.h"
#include "engine/TraceSystem.h"
#include "scene/LevelProgress.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace
{
constexpr const char* ScenesFolder = "Data/Scenes";

bool Exists(const std::string& scenePath)
{
    std::error_code error;
    return fs::exists(ResolveDataPath(scenePath), error);
}
}   // namespace

void SceneSystem::ScanSceneFiles()
{
    sceneFiles.clear();
    const fs::path folder = ResolveDataPath(ScenesFolder);
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    {
        std::error_code statusError;
        if (it->is_regular_file(statusError) && it->path().extension() == ".json")
        {
            sceneFiles.push_back(it->path().filename().string());
            TraceLevelMessage(2, "Scene System: Found scene file %s", sceneFiles.back().c_str());
        }
    }
    if (error)
        Log("SCENE: [", ScenesFolder, "] could not be listed whole: ", error.message());
    // Directory order differs between file systems; the list must not.
    std::sort(sceneFiles.begin(), sceneFiles.end());
}

std::string SceneSystem::RenameTarget(const std::string& newName, std::string& why) const
{
    if (!currentScene || pendingScenePath.empty())
        why = "No active scene";
    else
        IsPlainFileName(newName, &why);
    if (!why.empty())
        return "";
    // The folder of the file the scene was read from, however its path was spelled.
    const std::string file = Scene::ScenePath(pendingScenePath);
    std::string target = file.substr(0, file.size() - FileNameOf(file).size()) + newName;
    if (!newName.ends_with(".json"))
        target += ".json";
    return target;
}

bool SceneSystem::CheckRename(const std::string& newName, std::string* why) const
{
    std::string reason;
    const std::string target = RenameTarget(newName, reason);
    if (!target.empty() && !SamePath(target, Scene::ScenePath(pendingScenePath)) && Exists(target))
        reason = std::string(FileNameOf(target)) + " already exists";
    if (why)
        *why = reason;
    return reason.empty();
}

bool SceneSystem::RenameScene(const std::string& newName, std::string* why)
{
    std::string reason;
    const std::string target = RenameTarget(newName, reason);
    const std::string old = currentScene ? Scene::ScenePath(pendingScenePath) : "";
    if (!target.empty() && SamePath(target, old))
        return true;
    if (!target.empty())
    {
        const int error = Platform::RenameNoReplace(ResolveDataPath(old), ResolveDataPath(target));
        if (error == 0)
        {
            pendingScenePath = target;
            currentScene->SceneFile = target;
            ScanSceneFiles();
            TraceMessage("Scene System: Renamed scene file to %s", target.c_str());
            Log("SCENE: [", old, "] renamed to ", target);
            return true;
        }
        TraceMessage("Scene System: Failed to rename scene: %s", std::strerror(error));
        reason = error == EEXIST
                     ? std::string(FileNameOf(target)) + " already exists"
                     : "Could not rename " + std::string(FileNameOf(old)) + ": " + std::strerror(error);
    }
    Log("SCENE: [", pendingScenePath, "] not renamed to \"", newName, "\": ", reason);
    if (why)
        *why = reason;
    return false;
}

bool SceneSystem::CreateNewScene()
{
    std::error_code error;
    fs::create_directories(ResolveDataPath(ScenesFolder), error);
    std::string path = std::string(ScenesFolder) + "/Untitled.json";
    for (int n = 2; Exists(path); ++n)
        path = std::string(ScenesFolder) + "/Untitled(" + std::to_string(n) + ").json";
    const json document = {
        {"SceneFile", path}, {"SceneName", fs::path(path).stem().string()}, {"Entities", json::array()}};
    if (!WriteJsonFile(path, document))
    {
        TraceMessage("Failed to create new scene file: %s", path.c_str());
        return false;
    }
    ScanSceneFiles();
    return LoadScene(path);
}
