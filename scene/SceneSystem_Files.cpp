// The scene files of "Data/Scenes": listing, renaming the current one and creating new ones.
// Scene paths stay in the data folder's own spelling ("Data/Scenes/X.json"); the files behind
// them are reached through the data root.
#include "scene/SceneSystem.h"

#include "engine/DataPath.h"
#include "engine/JsonFile.h"
#include "engine/TraceSystem.h"

#include <algorithm>
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

bool SceneSystem::RenameScene(const std::string& newName)
{
    if (!currentScene || pendingScenePath.empty())
        return false;
    const fs::path name(newName);
    if (newName.empty() || name.has_parent_path() || newName.find('\\') != std::string::npos ||
        newName == "." || newName == "..")
    {
        Log("SCENE: [", pendingScenePath, "] not renamed: \"", newName, "\" is not a plain file name");
        return false;
    }
    const fs::path old(pendingScenePath);
    fs::path target = old.parent_path() / name;
    if (target.extension() != ".json")
        target.replace_extension(".json");
    const std::string targetPath = target.generic_string();
    if (SamePath(targetPath, pendingScenePath))
        return true;
    // A rename over an existing file would silently delete that scene.
    if (Exists(targetPath))
    {
        Log("SCENE: [", pendingScenePath, "] not renamed: ", targetPath, " already exists");
        return false;
    }
    std::error_code error;
    fs::rename(ResolveDataPath(pendingScenePath), ResolveDataPath(targetPath), error);
    if (error)
    {
        TraceMessage("Scene System: Failed to rename scene: %s", error.message().c_str());
        return false;
    }
    pendingScenePath = targetPath;
    currentScene->SceneFile = targetPath;
    ScanSceneFiles();
    TraceMessage("Scene System: Renamed scene file to %s", targetPath.c_str());
    return true;
}

void SceneSystem::CreateNewScene()
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
        return;
    }
    ScanSceneFiles();
    LoadScene(path);
}
