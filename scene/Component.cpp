#include "scene/Component.h"

#include "engine/MessagingSystem.h"
#include "engine/TraceSystem.h"
#include "scene/ReadingFile.h"

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
    // The message names the key; the value only shows what stood there.
    return DataError(std::string("\"") + key + "\": " + expected + " was expected, not " +
                     JsonSummary(value));
}

namespace
{
// Reads the first n numbers of the key's array into out; false when the key is absent. Refuses
// anything but an array that starts with n numbers (shape names them: "an array of two
// numbers"), and numbers that T does not hold.
template <typename T> bool ReadNumbers(const json& in, const char* key, T* out, size_t n, const char* shape)
{
    const auto found = in.find(key);
    if (found == in.end())
        return false;
    if (!found->is_array() || found->size() < n)
        throw KeyRefusal(key, shape, *found);
    for (size_t i = 0; i < n; ++i)
        if (!(*found)[i].is_number())
            throw KeyRefusal(key, shape, *found);
    for (size_t i = 0; i < n; ++i)
    {
        const std::optional<T> number = NumberAs<T>((*found)[i]);
        if (!number)
        {
            std::string range = RangeOf<T>();
            range = std::string(shape) + range.substr(range.find(" from "));
            throw KeyRefusal(key, range.c_str(), *found);
        }
        out[i] = *number;
    }
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

void ReadKey(const json& in, const char* key, std::array<int, 2>& field)
{
    if (int v[2]; ReadNumbers(in, key, v, 2, "an array of two numbers"))
        field = {v[0], v[1]};
}

void LogKeptKey(const std::string& where, const DataError& refusal)
{
    // The file is named once: where may name it already.
    const std::string& file = ReadingFile::Current();
    if (file.empty() || where.find(file) != std::string::npos)
        Log(where, " ", refusal.what(), "; kept");
    else
        Log(where, " ", refusal.what(), "; kept (", file, ")");
}
