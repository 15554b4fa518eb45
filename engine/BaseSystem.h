#pragma once
// The common base of the ten engine systems. A system is a singleton that the engine drives
// through seven operations each run: Init once, then BeginFrame, Update, PostUpdate and
// EndFrame every frame, and Shutdown once. Building a system only stores its name.
#include <string>

class BaseSystem
{
public:
    explicit BaseSystem(std::string displayName) : name(std::move(displayName)) {}
    virtual ~BaseSystem() = default;
    BaseSystem(const BaseSystem&) = delete;
    BaseSystem& operator=(const BaseSystem&) = delete;

    virtual bool Init() { return true; }   // the engine runs a system even when this fails
    virtual void BeginFrame() {}
    virtual void Update(float dt) { (void)dt; }
    virtual void PostUpdate() {}
    virtual void EndFrame() {}
    virtual void Shutdown() {}

    const std::string& GetName() const { return name; }

protected:
    std::string name;
};

// The one no-op that stands for every empty callback.
inline void EmptyFunction() {}
