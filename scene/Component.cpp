#include "scene/Component.h"

#include "engine/MessagingSystem.h"
#include "engine/TraceSystem.h"

Component::~Component() { MessagingSystem::GetInstance().Unsubscribe(this); }

Entity* Component::GetParent(const Component* component)
{
    if (!component)
    {
        Log("CRITICAL: GetParent() called on NULL component!");
        return nullptr;
    }
    return component->Parent;
}

DataError KeyRefusal(const char* key, const char* expected, const json& value)
{
    // Long values are cut: the message names the key, the value only shows what stood there.
    std::string shown = value.dump();
    if (shown.size() > 40)
        shown = shown.substr(0, 37) + "...";
    return DataError(std::string("\"") + key + "\": " + expected + " was expected, not " + shown);
}

namespace
{
// Reads the first n numbers of the key's array into out; false when the key is absent. Refuses
// anything but an array that starts with n numbers.
bool ReadNumbers(const json& in, const char* key, float* out, size_t n, const char* expected)
{
    const auto found = in.find(key);
    if (found == in.end())
        return false;
    if (!found->is_array() || found->size() < n)
        throw KeyRefusal(key, expected, *found);
    for (size_t i = 0; i < n; ++i)
        if (!(*found)[i].is_number())
            throw KeyRefusal(key, expected, *found);
    for (size_t i = 0; i < n; ++i)
        out[i] = (*found)[i].get<float>();
    return true;
}
}   // namespace

void ReadKey(const json& in, const char* key, Vec2& field)
{
    if (float v[2]; ReadNumbers(in, key, v, 2, "an array of two numbers"))
        field = {v[0], v[1]};
}

void ReadKey(const json& in, const char* key, Vec3& field)
{
    if (float v[3]; ReadNumbers(in, key, v, 3, "an array of three numbers"))
        field = {v[0], v[1], v[2]};
}

void LogKeptKey(const std::string& where, const DataError& refusal)
{
    Log(where, " ", refusal.what(), "; kept");
}
