#include "scene/ComponentRegistry.h"

#include "scene/Behavior.h"
#include "scene/Transform.h"
#include "tests/common/TraceCapture.h"
#include "ui/ButtonComponent.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>
#include <typeinfo>

TEST(ComponentRegistry, RegisteredNamesMakeNewDefaultComponentsOfTheirClass)
{
    struct Case
    {
        const char* name;
        const std::type_info& type;
        int32_t typeId;
    } cases[] = {{"Transform", typeid(Transform), 9}, {"ButtonComponent", typeid(ButtonComponent), 10}};
    for (const Case& c : cases)
    {
        std::unique_ptr<Component> first(ComponentRegistry::Create(c.name));
        std::unique_ptr<Component> second(ComponentRegistry::Create(c.name));
        ASSERT_TRUE(first && second) << c.name;
        EXPECT_EQ(typeid(*first), c.type) << c.name;
        EXPECT_EQ(first->TypeId, c.typeId) << c.name;
        EXPECT_EQ(first->Parent, nullptr) << c.name;
        EXPECT_NE(first.get(), second.get()) << c.name;
        // The registered name is the one the component writes back as its "Type".
        json out;
        first->Write(out);
        EXPECT_EQ(out.value("Type", ""), c.name);
    }
}

TEST(ComponentRegistry, UnknownNamesGiveNullAndBothMessages)
{
    for (const std::string name : {"transform", "", "Transform ", "NoSuchComponent"})
    {
        TraceCapture trace;
        EXPECT_EQ(ComponentRegistry::Create(name), nullptr) << '"' << name << '"';
        EXPECT_EQ(trace.lines,
                  (std::vector<std::string>{"ERROR: " + name + " NOT FOUND in registry!", "ERROR:" + name}));
    }
}

TEST(ComponentRegistry, RegisteringANameAgainReplacesItsFactory)
{
    int made = 0;
    ComponentRegistry::Register("RegistryTestReplaced", [] { return new Transform(); });
    ComponentRegistry::Register("RegistryTestReplaced", [&] { return ++made, new ButtonComponent(); });
    std::unique_ptr<Component> c(ComponentRegistry::Create("RegistryTestReplaced"));
    EXPECT_EQ(made, 1);
    EXPECT_EQ(c->TypeId, ComponentType::ButtonComponent);
    EXPECT_TRUE(ComponentRegistry::Has("RegistryTestReplaced"));
    ComponentRegistry::Register("RegistryTestReplaced", nullptr);   // an empty factory counts as unknown
    TraceCapture trace;
    EXPECT_EQ(ComponentRegistry::Create("RegistryTestReplaced"), nullptr);
    EXPECT_TRUE(trace.Contains("RegistryTestReplaced NOT FOUND in registry!"));
}

namespace
{
// Each number of a saved form, however deep, moved: 0 to 1 (some whole numbers are flags),
// other whole numbers up by two (so no -1 "none" becomes 0, the left mouse button of a hotkey),
// the others up by a half. The fixed behaviour states stay as they are.
json Bumped(const json& saved)
{
    json out = saved;
    for (auto& [key, value] : out.items())
        if (key == "StateCurrent" || key == "StateNext")
            continue;
        else if (value.is_number_integer())
            value = value.get<int64_t>() == 0 ? 1 : value.get<int64_t>() + 2;
        else if (value.is_number())
            value = value.get<float>() + 0.5f;   // in float steps, as the fields hold them
        else if (value.is_structured())
            value = Bumped(value);
    return out;
}
}   // namespace

TEST(ComponentRegistry, EveryGameNameMakesItsOwnClassThatRoundTrips)
{
    // Names that test fixtures register for themselves.
    const std::set<std::string> testNames = {"TestPart4", "TestPart6", "TestProbe", "FrameCounter",
                                             "RegistryTestReplaced"};
    // Behaviours whose own name differs from their registered one on purpose.
    const std::map<std::string, std::string> ownNames = {{"BehaviorSceneButton", "SceneChangeButton"}};
    // Components that read their other keys only once they have a picture.
    // Keys written for the reader's sake and never read back.
    const std::map<std::string, std::string> writtenOnly = {{"BehaviorLadder", "CollideSide"}};
    const std::map<std::string, json> readsMoreWith = {
        {"ParticleEmitter", {{"Texture", "White"}}},
        {"PixelGrid", {{"Source", "Nowhere"}, {"palette", "debug"}}}};
    size_t checked = 0;
    for (const std::string& name : ComponentRegistry::Names())
    {
        if (testNames.count(name))
            continue;
        ++checked;
        std::unique_ptr<Component> made(ComponentRegistry::Create(name));
        ASSERT_TRUE(made) << name;
        if (const Behavior* behaviour = dynamic_cast<const Behavior*>(made.get()))
        {
            const auto own = ownNames.find(name);
            EXPECT_EQ(behaviour->GetName(), own == ownNames.end() ? name : own->second);
        }
        json first;
        made->Write(first);
        EXPECT_EQ(first.value("Type", ""), name) << "a name registered with another class";

        // Every saved number moved off its default, so a key that Read and Write spell
        // differently shows.
        json changed = Bumped(first);
        if (const auto needs = readsMoreWith.find(name); needs != readsMoreWith.end())
            changed.update(needs->second);
        if (const auto kept = writtenOnly.find(name); kept != writtenOnly.end())
            changed[kept->second] = first.at(kept->second);
        std::unique_ptr<Component> again(ComponentRegistry::Create(name));
        again->Read(changed);
        json second;
        again->Write(second);
        EXPECT_EQ(second, changed) << name;
    }
    EXPECT_GE(checked, 30u) << "every component class of the game is registered";
}
