#pragma once
// The base of every piece of state or behaviour an entity owns. A component is made by the
// registry from its type name, filled by Read before it joins its entity, post-created once the
// entity is complete, then updated and rendered every frame until its entity is deleted.
// Whatever a component subscribed to on the message bus ends with it.
#include "engine/JsonFile.h"
#include "engine/Matrix4.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

class Entity;
using json = nlohmann::json;

// Thrown by a component's Read for a value it cannot use; the text names the key. The entity
// being read leaves that component out whole and says so.
class DataError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The one refusal of a value of the wrong kind: "\"key\": <expected> was expected, not <value>",
// the value as its short summary (JsonSummary).
DataError KeyRefusal(const char* key, const char* expected, const json& value);

// A number from a file as T when T holds it: an integer type takes any number whose whole part
// fits (a fraction is cut toward zero), float takes numbers up to its largest. Nothing for
// anything else: a conversion out of range is never made.
template <typename T> std::optional<T> NumberAs(const json& value)
{
    static_assert(std::is_arithmetic_v<T> && !std::is_same_v<T, bool>);
    if constexpr (std::is_integral_v<T>)
    {
        if (value.is_number_unsigned())
        {
            const uint64_t number = value.get<uint64_t>();
            return std::in_range<T>(number) ? std::optional<T>(static_cast<T>(number)) : std::nullopt;
        }
        if (value.is_number_integer())
        {
            const int64_t number = value.get<int64_t>();
            return std::in_range<T>(number) ? std::optional<T>(static_cast<T>(number)) : std::nullopt;
        }
        if (!value.is_number_float())
            return std::nullopt;
        // Bounds one past each end, exact in a double for every integer type up to 32 bits, and
        // on the safe side for 64 bits (2^63 is exact).
        const double number = value.get<double>();
        const double below = static_cast<double>(std::numeric_limits<T>::min()) - 1.0;
        const double above = static_cast<double>(std::numeric_limits<T>::max()) + 1.0;
        if (!(number > below && number < above))
            return std::nullopt;
        return static_cast<T>(number);
    }
    else
    {
        if (!value.is_number())
            return std::nullopt;
        const double number = value.get<double>();
        if (!(std::abs(number) <= static_cast<double>(std::numeric_limits<T>::max())))
            return std::nullopt;
        return static_cast<T>(number);
    }
}

// The range an arithmetic field takes, for a refusal: "an integer from 0 to 255".
template <typename T> std::string RangeOf()
{
    if constexpr (std::is_integral_v<T>)
        return "an integer from " + std::to_string(std::numeric_limits<T>::min()) + " to " +
               std::to_string(std::numeric_limits<T>::max());
    else
    {
        char text[64];
        std::snprintf(text, sizeof text, "a number from %.1e to %.1e",
                      static_cast<double>(std::numeric_limits<T>::lowest()),
                      static_cast<double>(std::numeric_limits<T>::max()));
        return text;
    }
}

// When in holds key, reads its value into field; a value of the wrong kind, or a number out of
// the field's range, throws KeyRefusal with field unchanged. An absent key leaves field
// unchanged. A number field wants a number (an integer field an integer), a flag true or false,
// a text a string.
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
    else if constexpr (std::is_arithmetic_v<T>)
    {
        if (std::is_integral_v<T> ? !found->is_number_integer() : !found->is_number())
            throw KeyRefusal(key, std::is_integral_v<T> ? "an integer" : "a number", *found);
        const std::optional<T> number = NumberAs<T>(*found);
        if (!number)
            throw KeyRefusal(key, RangeOf<T>().c_str(), *found);
        field = *number;
        return;
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
        throw DataError(std::string("\"") + key + "\": " + JsonErrorText(error));
    }
}
// Vectors: an array of at least two (three) numbers; further elements are not read.
void ReadKey(const json& in, const char* key, Vec2& field);
void ReadKey(const json& in, const char* key, Vec3& field);
// Two numbers whose whole parts fit an int (a fraction is cut toward zero): [columns, rows].
void ReadKey(const json& in, const char* key, std::array<int, 2>& field);

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

    const int32_t TypeId;       // fixed for the component's life: Entity::GetComponent relies on it
    Entity* Parent = nullptr;   // not owned
};
