// The data check: every JSON file under the data folder parses, every component "Type" in it
// resolves in the registry, every scene it names ("NextScene", "WinScene", "LoseScene") exists,
// and every archetype file's "Name" is its file name. It knows no file by name, so it keeps
// checking whatever is added to Data/; an empty or missing folder passes.
#include "engine/DataPath.h"
#include "scene/ComponentRegistry.h"
#include "scene/JsonFile.h"
#include "scene/Scene.h"
#include "tests/common/ScopedDataRoot.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

namespace
{
class DataChecker
{
public:
    explicit DataChecker(const fs::path& root) : root(root) {}

    // Every problem found, as "file: what", in file order.
    Lines Run()
    {
        std::error_code error;
        if (!fs::is_directory(root, error))
            return problems;
        Lines files;
        for (const auto& entry : fs::recursive_directory_iterator(root, error))
            if (entry.is_regular_file() && entry.path().extension() == ".json")
                files.push_back(fs::relative(entry.path(), root).generic_string());
        std::sort(files.begin(), files.end());
        for (const std::string& file : files)
            CheckFile(file);
        return problems;
    }

private:
    void CheckFile(const std::string& file)
    {
        std::ifstream in(root / file);
        const json doc = json::parse(in, nullptr, false);
        if (doc.is_discarded())
            return Report(file, "does not parse");
        Walk(file, doc);
        if (fs::path(file).parent_path() == "Entities")
        {
            const auto name = doc.is_object() ? doc.find("Name") : doc.end();
            if (name == doc.end() || !name->is_string() || name->get<std::string>() != FileStem(file))
                Report(file, "archetype \"Name\" " + (name == doc.end() ? "missing" : name->dump()) +
                                 " is not its file name \"" + FileStem(file) + "\"");
        }
    }

    void Walk(const std::string& file, const json& value)
    {
        if (value.is_array())
            for (const json& element : value)
                Walk(file, element);
        if (!value.is_object())
            return;
        for (const auto& [key, member] : value.items())
        {
            if (key == "Components" && member.is_array())
                for (const json& component : member)
                    CheckComponent(file, component);
            if (key == "NextScene" || key == "WinScene" || key == "LoseScene")
                CheckSceneReference(file, key, member);
            Walk(file, member);
        }
    }

    void CheckComponent(const std::string& file, const json& component)
    {
        if (component.is_null())
            return;   // a component that saves nothing
        const auto type = component.is_object() ? component.find("Type") : component.end();
        if (type == component.end() || !type->is_string())
            return Report(file, "a component without a \"Type\" text: " + component.dump());
        if (!ComponentRegistry::Has(type->get<std::string>()))
            Report(file, "\"Type\" \"" + type->get<std::string>() + "\" is not in the registry");
    }

    void CheckSceneReference(const std::string& file, const std::string& key, const json& value)
    {
        if (!value.is_string())
            return Report(file, "\"" + key + "\" is not a text");
        const std::string scene = value.get<std::string>();
        if (scene.empty())
            return;   // no following scene
        if (!fs::is_regular_file(ResolveDataPath(Scene::ScenePath(scene))))
            Report(file, "\"" + key + "\" names a scene file that does not exist: " + scene);
    }

    void Report(const std::string& file, const std::string& what) { problems.push_back(file + ": " + what); }

    fs::path root;
    Lines problems;
};

std::string Joined(const Lines& lines)
{
    std::string all;
    for (const std::string& line : lines)
        all += line + "\n";
    return all;
}
} // namespace

TEST(DataCheck, EveryNameInTheDataFolderResolves)
{
    const Lines problems = DataChecker(DataRoot()).Run();
    EXPECT_TRUE(problems.empty()) << "Under " << DataRoot() << ":\n" << Joined(problems);
}

TEST(DataCheck, FindsEveryKindOfUnresolvedName)
{
    const ScopedDataRoot root(ScopedDataRoot::TestData("datacheck"));
    EXPECT_EQ(DataChecker(DataRoot()).Run(),
              (Lines{"Compositions/Popup.json: does not parse",
                     "Entities/Bot.json: archetype \"Name\" \"Robot\" is not its file name \"Bot\"",
                     "Entities/Good.json: \"Type\" \"AlsoMissing\" is not in the registry",
                     "Scenes/Level.json: \"Type\" \"NoSuchComponent\" is not in the registry",
                     "Scenes/Level.json: a component without a \"Type\" text: {\"Type\":5}",
                     "Scenes/Level.json: \"WinScene\" names a scene file that does not exist: Data/Scenes/Missing.json",
                     "Scenes/Lose.json: \"NextScene\" is not a text"}));
}
