#pragma once
// Components that exist only in the tests: they write what happens to them into one journal, so
// a test can see the order of reads, post-creations, updates, transitions and deletions.
//  - TestPart4 / TestPart6: plain components with type id 4 or 6;
//  - TestProbe: a behaviour (type id 2) that records its transitions.
// Keys they read: "Tag" (their name in the journal), "Listens" (PostCreate subscribes to
// payload messages), "AddsPart" (PostCreate adds a TestPart6), "Silent" (Write writes nothing),
// "NoClone" (Clone gives no object).
#include "engine/MessagingSystem.h"
#include "scene/Behavior.h"
#include "scene/ComponentRegistry.h"
#include "scene/Entity.h"

#include <functional>
#include <string>
#include <vector>

namespace TestData
{
inline std::vector<std::string>& Journal()
{
    static std::vector<std::string> journal;
    return journal;
}
inline void Note(const std::string& line) { Journal().push_back(line); }

// The keys every test component shares.
struct Traits
{
    std::string Tag;
    bool Listens = false, AddsPart = false, Silent = false, NoClone = false;

    void Read(const json& in)
    {
        ReadKey(in, "Tag", Tag);
        ReadKey(in, "Listens", Listens);
        ReadKey(in, "AddsPart", AddsPart);
        ReadKey(in, "Silent", Silent);
        ReadKey(in, "NoClone", NoClone);
    }
    void Write(json& out) const
    {
        out["Tag"] = Tag;
        if (Listens)
            out["Listens"] = true;
    }
    void PostCreate(Component* self)
    {
        Note(Tag + " PostCreate" + (self->Parent ? "" : " without parent"));
        if (Listens)
            MessagingSystem::GetInstance().SubscribeWithPayload(
                "", [tag = Tag](std::string, Msg::MessagePayload*) { return Note(tag + " heard"), false; },
                self);
        if (AddsPart)
            self->Parent->AddComponent(MakePart6("added by " + Tag));
    }
    static Component* MakePart6(const std::string& tag);
};

class TestPart : public Component
{
public:
    explicit TestPart(int32_t typeId) : Component(typeId) {}
    TestPart(const TestPart& other) = default;
    ~TestPart() override { Note(traits.Tag + " destroyed"); }

    Component* Clone() const override { return traits.NoClone ? nullptr : new TestPart(*this); }
    void Update(float dt) override { Note(traits.Tag + " Update " + std::to_string(dt)); }
    void Render() override { Note(traits.Tag + " Render"); }
    void Write(json& out) const override
    {
        if (traits.Silent)
            return;
        out["Type"] = "TestPart" + std::to_string(TypeId);
        traits.Write(out);
    }
    void Read(const json& in) override
    {
        traits.Read(in);
        Note(traits.Tag + " Read" + (Parent ? " with parent" : ""));
    }
    void PostCreate() override { traits.PostCreate(this); }

    Traits traits;
};

inline Component* Traits::MakePart6(const std::string& tag)
{
    TestPart* part = new TestPart(6);
    part->traits.Tag = tag;
    return part;
}

class TestProbe : public Behavior
{
public:
    TestProbe() = default;
    TestProbe(const TestProbe& other) = default;
    ~TestProbe() override { Note(traits.Tag + " destroyed"); }

    Component* Clone() const override { return new TestProbe(*this); }
    void Write(json& out) const override
    {
        out["Type"] = "TestProbe";
        Behavior::Write(out);
        traits.Write(out);
    }
    void Read(const json& in) override
    {
        Behavior::Read(in);
        traits.Read(in);
        Note(traits.Tag + " Read" + (Parent ? " with parent" : ""));
    }
    void PostCreate() override { traits.PostCreate(this); }
    std::string GetName() const override { return "TestProbe"; }
    void OnInit() override { Note(traits.Tag + " OnInit " + std::to_string(StateCurrent)); }
    void OnUpdate(float) override
    {
        Note(traits.Tag + " OnUpdate " + std::to_string(StateCurrent));
        if (onUpdate)
            onUpdate(*this);
    }
    void OnExit() override { Note(traits.Tag + " OnExit " + std::to_string(StateCurrent)); }

    Traits traits;
    std::function<void(TestProbe&)> onUpdate;   // set by tests that act during an update
};

// Adds the test classes to the registry; safe to call again.
inline void RegisterTestComponents()
{
    ComponentRegistry::Register("TestPart4", [] { return new TestPart(4); });
    ComponentRegistry::Register("TestPart6", [] { return new TestPart(6); });
    ComponentRegistry::Register("TestProbe", [] { return new TestProbe(); });
}

// The tags of an entity's components, in list order.
inline std::vector<std::string> Tags(const Entity& entity)
{
    std::vector<std::string> tags;
    for (const Component* c : entity.components)
        if (const auto* part = dynamic_cast<const TestPart*>(c))
            tags.push_back(part->traits.Tag);
        else if (const auto* probe = dynamic_cast<const TestProbe*>(c))
            tags.push_back(probe->traits.Tag);
        else
            tags.push_back(c->TypeId == ComponentType::Transform ? "Transform" : "?");
    return tags;
}
}   // namespace TestData
