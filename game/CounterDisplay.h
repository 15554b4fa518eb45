#pragma once
// The base of the level's count displays: every frame it writes its text into the Font of its
// own entity (nothing happens without one). A display has no settings; it is saved as its type
// name alone, so a level written back keeps it.
#include "scene/Component.h"

#include <cstdint>
#include <string>

class CounterDisplay : public Component
{
public:
    CounterDisplay() : Component(ComponentType::Behavior) {}

    void Update(float dt) override;
    void Write(json& out) const override { out["Type"] = TypeName(); }
    void Read(const json&) override {}

    virtual const char* TypeName() const = 0;   // the registered name
    virtual std::string Compose() const = 0;    // the text shown now

    // A count in plain decimal; a count below one shows as 0.
    static std::string Count(int64_t n) { return std::to_string(n > 0 ? n : 0); }
};
