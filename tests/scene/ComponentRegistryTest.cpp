#include "scene/ComponentRegistry.h"

#include "scene/Transform.h"
#include "tests/common/TraceCapture.h"
#include "ui/ButtonComponent.h"

#include <gtest/gtest.h>
#include <memory>
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
