#pragma once
// One process-wide table from a component's type name (the JSON key "Type", compared exactly)
// to a factory that makes a default instance. Every component class is registered in
// ComponentRegistry.cpp, beside Create, before main runs.
#include "scene/Component.h"

#include <functional>
#include <string>
#include <vector>

using ComponentFactory = std::function<Component*()>;

class ComponentRegistry
{
public:
    static void Register(const std::string& name,
                         ComponentFactory factory);   // replaces an entry of that name
    // A new default component owned by the caller; null (with a message) for an unknown name.
    static Component* Create(const std::string& name);
    static bool Has(const std::string& name);   // Create would make one
    static std::vector<std::string> Names();    // sorted
};
