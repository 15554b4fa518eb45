#pragma once
// The base of every piece of state or behaviour an entity owns. A component is made by the
// registry from its type name, filled by Read before it joins its entity, post-created once the
// entity is complete, then updated and rendered every frame until its entity is deleted.
// Whatever a component subscribed to on the message bus ends with it.
#include "engine/Matrix4.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <type_traits>

class Entity;
using json = nlohmann::json;

// Thrown by a component's Read for a value it cannot use; the text names the key. The entity
// being read leaves that component out whole and says so.
class DataError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The one refusal of a value of the wrong kind: "\"key\": <expected> was expected, not <value>".
DataError KeyRefusal(const char* key, const char* expected, const json& value);

// When in holds key, reads its value into field; a value of the wrong kind throws KeyRefusal,
// with field unchanged. An absent key leaves field unchanged. A number field wants a number (an
// integer field an integer), a flag true or false, a text a string.
template <typename T> void ReadKey(const json& in, const char* key, T& field)
{
    const auto found = in.find(key);
    if (found == in.end())
        return;
    if constexpr (std::is_same_v<T, bool>)
    {
        if (!found->is_boolean())
            throw KeyRefusal(key, "true or false", *found);
    }
    else if constexpr (std::is_integral_v<T>)
    {
        if (!found->is_number_integer())
            throw KeyRefusal(key, "an integer", *found);
    }
    else if constexpr (std::is_arithmetic_v<T>)
    {
        if (!found->is_number())
            throw KeyRefusal(key, "a number", *found);
    }
    else if constexpr (std::is_same_v<T, std::string>)
    {
        if (!found->is_string())
            throw KeyRefusal(key, "a text", *found);
    }
    try
    {
        field = found->template get<T>();
    }
    catch (const json::exception& error)
    {
        // The library's text starts with its own tag ("[json.exception.type_error.302] ").
        const std::string what = error.what();
        const size_t tag = what.starts_with('[') ? what.find("] ") : std::string::npos;
        throw DataError(std::string("\"") + key +
                        "\": " + (tag == std::string::npos ? what : what.substr(tag + 2)));
    }
}
// Vectors: an array of at least two (three) numbers; further elements are not read.
void ReadKey(const json& in, const char* key, Vec2& field);
void ReadKey(const json& in, const char* key, Vec3& field);

// ReadKey for data that goes on without the value: the refusal is logged as
// "<where> <refusal>; kept" and field stays as it was. True when the value was taken.
void LogKeptKey(const std::string& where, const DataError& refusal);
template <typename T> bool ReadKeyOrKeep(const json& in, const char* key, T& field, const std::string& where)
{
    try
    {
        ReadKey(in, key, field);
        return in.contains(key);
    }
    catch (const DataError& error)
    {
        LogKeptKey(where, error);
        return false;
    }
}

// Type ids fix the order of an entity's components: update, drawing and post-creation.
namespace ComponentType
{
constexpr int32_t AnimationSequencer = 0;
constexpr int32_t Animation = 1;
constexpr int32_t Behavior = 2;   // every behaviour and the count displays
constexpr int32_t Collider = 3;
constexpr int32_t Physics = 4;
constexpr int32_t PixelGrid = 5;
constexpr int32_t Sprite = 6;   // and Font
constexpr int32_t ParticleEmitter = 7;
constexpr int32_t Transform = 9;
constexpr int32_t ButtonComponent = 10;
}   // namespace ComponentType

class Component
{
public:
    explicit Component(int32_t typeId) : TypeId(typeId) {}
    Component(const Component& other) : TypeId(other.TypeId) {}   // a copy joins no entity
    Component& operator=(const Component&) = delete;

    virtual Component* Clone() const = 0;   // a new heap copy, owned by the caller, without parent
    virtual void Update(float dt) { (void)dt; }
    virtual ~Component();
    virtual void Render() {}
    virtual void Write(json& out) const = 0;   // the saved form, beginning with "Type"
    virtual void Read(const json& in) = 0;     // absent keys leave fields unchanged
    virtual void PostCreate() {}               // once the entity's components are all read and sorted

    // The owning entity. Asked of a null component it says so and gives null.
    static Entity* GetParent(const Component* component);
    Entity* GetParent() const { return Parent; }

    int32_t TypeId;
    Entity* Parent = nullptr;   // not owned
};
