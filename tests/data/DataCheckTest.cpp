// The data check: every JSON file under the data folder parses, every component "Type" in it
// resolves in the registry, every scene it names ("NextScene", "WinScene", "LoseScene") exists,
// and every archetype file's "Name" is its file name. Every other name a data file gives is
// looked up too: pictures ("Texture"), meshes ("Mesh"), shader pairs ("Shader"), a terrain's
// picture ("Source") and materials file ("palette"), an animation sequencer's states, a music
// player's song in the sound registry, the registry's own sound files, a button's hover
// compositions, an interface's archetypes and the how-to-play pages; an animation file's "name"
// is its file name. It knows no file by name, so it keeps checking whatever is added to
// Data/; an empty or missing folder passes.
#include "engine/DataPath.h"
#include "engine/JsonFile.h"
#include "scene/ComponentRegistry.h"
#include "scene/Scene.h"
#include "tests/common/ScopedDataRoot.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <sstream>

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
        const json doc = Parse(file);
        if (doc.is_discarded())
            return Report(file, "does not parse");
        Walk(file, doc);
        const fs::path folder = fs::path(file).parent_path();
        if (folder == "Entities")
            CheckOwnName(file, doc, "Name", "archetype");
        if (folder == "Anims")
            CheckOwnName(file, doc, "name", "animation");
        if (file == RegistryFile)
            CheckSoundFiles(doc);
    }

    json Parse(const std::string& file) const
    {
        std::ifstream in(root / file);
        return json::parse(in, nullptr, false);
    }

    void CheckOwnName(const std::string& file, const json& doc, const char* key, const char* what)
    {
        const auto name = doc.is_object() ? doc.find(key) : doc.end();
        if (name == doc.end() || !name->is_string() || name->get<std::string>() != FileStem(file))
            Report(file, std::string(what) + " \"" + key + "\" " +
                             (name == doc.end() ? "missing" : name->dump()) + " is not its file name \"" +
                             FileStem(file) + "\"");
    }

    void CheckSoundFiles(const json& registry)
    {
        const auto sounds = registry.is_object() ? registry.find("Sounds") : registry.end();
        if (sounds == registry.end() || !sounds->is_structured())
            return Report(RegistryFile, "has no list of \"Sounds\"");
        for (const json& sound : *sounds)
        {
            const std::string fileName = TextAt(sound, "FileName");
            if (!fs::is_regular_file(ResolveDataPath(fileName)))
                Report(RegistryFile,
                       "sound " + TextAt(sound, "Name") + " names a file that does not exist: " + fileName);
        }
    }

    // The names of the sound registry, read once; none without a registry.
    const std::set<std::string>& SoundNames()
    {
        if (!soundNames)
        {
            soundNames.emplace();
            const json registry = fs::is_regular_file(root / RegistryFile) ? Parse(RegistryFile) : json();
            const auto sounds = registry.is_object() ? registry.find("Sounds") : registry.end();
            if (sounds != registry.end() && sounds->is_structured())
                for (const json& sound : *sounds)
                    soundNames->insert(TextAt(sound, "Name"));
        }
        return *soundNames;
    }

    static std::string TextAt(const json& object, const char* key)
    {
        const auto value = object.is_object() ? object.find(key) : object.end();
        return value != object.end() && value->is_string() ? value->get<std::string>() : "";
    }

    // A name that must be a file: "<folder>/<name><extension>" under the data folder.
    void CheckNamed(const std::string& file, const std::string& key, const json& value,
                    const std::string& folder, const std::string& extension)
    {
        std::ostringstream what;
        what << '"' << key << "\" ";
        if (!value.is_string())
            what << "is not a text: " << value.dump();
        else if (const std::string name = folder + "/" + value.get<std::string>() + extension;
                 !fs::is_regular_file(root / name))
            what << "names " << name << ", which does not exist";
        else
            return;
        Report(file, what.str());
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
            // Pictures, meshes and shaders are named the same way by every drawing component
            // and by the animation files.
            if (key == "Texture" && !(member.is_string() && member.get<std::string>().empty()))
                CheckNamed(file, "Texture", member, "Textures", ".png");
            if (key == "Mesh")
                CheckNamed(file, "Mesh", member, "Parts", ".xobj");
            if (key == "Shader")
            {
                CheckNamed(file, "Shader", member, "shaders", ".vert");
                CheckNamed(file, "Shader", member, "shaders", ".frag");
            }
            Walk(file, member);
        }
    }

    void CheckTypeKeys(const std::string& file, const std::string& type, const json& component)
    {
        if (type == "PixelGrid" && !TextAt(component, "Source").empty())
        {
            // A grid without "palette" takes the debug materials.
            const auto palette = component.find("palette");
            const json paletteName = palette != component.end() ? *palette : json("debug");
            CheckNamed(file, "Source", component.at("Source"), "Levels", ".png");
            CheckNamed(file, "palette", paletteName, "Levels", ".json");
            const std::string materials = "Levels/" + TextAt(json{{"p", paletteName}}, "p") + ".json";
            if (fs::is_regular_file(root / materials))
            {
                const json doc = Parse(materials);
                if (!doc.is_object() || !doc.contains("Materials") || !doc["Materials"].is_array())
                    Report(file, "\"palette\" names " + materials + ", which has no list of \"Materials\"");
            }
        }
        if (type == "AnimationSequencer")
            if (const auto states = component.find("States"); states != component.end() && states->is_array())
                for (const json& state : *states)
                    CheckNamed(file, "States", state, "Anims", ".json");
        // Lists of names: a button's compositions, an interface's archetypes, the pages of the
        // how-to-play actions.
        const auto each = [&](const char* key, const json& list, const char* folder, const char* extension) {
            if (list.is_structured())
                for (const json& name : list)
                    if (!(name.is_string() && name.get<std::string>().empty()))
                        CheckNamed(file, key, name, folder, extension);
        };
        if (type == "HoverResponse" && component.contains("Children"))
            each("Children", component.at("Children"), "Compositions", ".json");
        if (type == "BehaviorUI" && component.contains("UIElements"))
            each("UIElements", component.at("UIElements"), "Entities", ".json");
        if (type == "BehaviorHowToPlayDisplayer" && component.contains("SpritePathMap"))
            for (const json& pages : component.at("SpritePathMap"))
                each("SpritePathMap", pages, "Textures", ".png");
        if (type == "MusicPlayer")
        {
            const std::string song =
                component.contains("SongName") ? TextAt(component, "SongName") : TextAt(component, "Name");
            if (!SoundNames().count(song))
                Report(file, "song \"" + song + "\" is not in the sound registry");
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
        CheckTypeKeys(file, type->get<std::string>(), component);
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

    static constexpr const char* RegistryFile = "Audio/AudioRegistry.json";

    fs::path root;
    Lines problems;
    std::optional<std::set<std::string>> soundNames;
};

std::string Joined(const Lines& lines)
{
    std::string all;
    for (const std::string& line : lines)
        all += line + "\n";
    return all;
}
}   // namespace

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
                     "Scenes/Level.json: \"WinScene\" names a scene file that does not exist: "
                     "Data/Scenes/Missing.json",
                     "Scenes/Lose.json: \"NextScene\" is not a text"}));
}

TEST(DataCheck, FindsEveryKindOfMissingNamedFile)
{
    const ScopedDataRoot root(ScopedDataRoot::TestData("datarefs"));
    Lines problems = DataChecker(DataRoot()).Run();
    // The fixture's component types may or may not be registered yet; only the names count here.
    std::erase_if(problems, [](const std::string& line) { return line.ends_with("is not in the registry"); });
    EXPECT_EQ(
        problems,
        (Lines{"Anims/Run.json: \"Texture\" names Textures/Gone.png, which does not exist",
               "Anims/Run.json: animation \"name\" \"Sprint\" is not its file name \"Run\"",
               "Audio/AudioRegistry.json: sound Gone names a file that does not exist: Data/Audio/Gone.wav",
               "Scenes/Level.json: \"Mesh\" names Parts/Flat.xobj, which does not exist",
               "Scenes/Level.json: \"Shader\" names shaders/Half.frag, which does not exist",
               "Scenes/Level.json: \"Texture\" names Textures/Nowhere.png, which does not exist",
               "Scenes/Level.json: \"Texture\" is not a text: 7",
               "Scenes/Level.json: \"Source\" names Levels/Sea.png, which does not exist",
               "Scenes/Level.json: \"palette\" names Levels/debug.json, which does not exist",
               "Scenes/Level.json: \"palette\" names Levels/NoList.json, which has no list of \"Materials\"",
               "Scenes/Level.json: \"States\" names Anims/Jump.json, which does not exist",
               "Scenes/Level.json: song \"Silence\" is not in the sound registry",
               "Scenes/Level.json: \"Children\" names Compositions/Shine.json, which does not exist",
               "Scenes/Level.json: \"UIElements\" names Entities/Counter.json, which does not exist",
               "Scenes/Level.json: \"SpritePathMap\" names Textures/PageGone.png, which does not exist"}))
        << Joined(problems);
}
