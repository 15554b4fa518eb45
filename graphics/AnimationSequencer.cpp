#include "graphics/AnimationSequencer.h"

#include "engine/JsonFile.h"
#include "engine/TraceSystem.h"
#include "graphics/Animation.h"
#include "graphics/Graphics.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"
#include "graphics/Sprite.h"
#include "graphics/TextureLibrary.h"
#include "scene/Entity.h"
#include "scene/ReadingFile.h"

#include <optional>

namespace
{
const char* const AnimFolder = "Data/Anims/";

std::string TextOr(const json& in, const char* key, const char* fallback)
{
    const auto v = in.find(key);
    return v != in.end() && v->is_string() ? v->get<std::string>() : fallback;
}

// The number as T; one out of T's range is said, naming the file being read and the key, and
// gives nothing, so the field keeps its default.
template <typename T> std::optional<T> Number(const json& value, const char* key)
{
    const std::optional<T> number = NumberAs<T>(value);
    if (!number)
        Log("ANIMATION: [", ReadingFile::Current(), "] \"", key, "\" ", JsonSummary(value),
            " is out of range; the default is kept");
    return number;
}
}   // namespace

AnimState ReadAnimState(const json& in)
{
    AnimState state;
    if (!in.is_object())
        return state;
    if (const auto v = in.find("name"); v != in.end() && v->is_string())
        state.name = v->get<std::string>();
    if (const auto v = in.find("FrameDuration"); v != in.end() && v->is_number())
        state.frameDuration = Number<float>(*v, "FrameDuration").value_or(state.frameDuration);
    if (const auto v = in.find("FrameCount"); v != in.end() && v->is_number_integer())
        state.frameCount = Number<int>(*v, "FrameCount").value_or(state.frameCount);
    if (const auto v = in.find("isLooping"); v != in.end() && v->is_boolean())
        state.looping = v->get<bool>();
    if (const auto v = in.find("Dimensions");
        v != in.end() && v->is_array() && v->size() == 2 && (*v)[0].is_number() && (*v)[1].is_number())
    {
        const std::optional<int> columns = Number<int>((*v)[0], "Dimensions");
        const std::optional<int> rows = Number<int>((*v)[1], "Dimensions");
        if (columns && rows)
        {
            state.columns = *columns;
            state.rows = *rows;
        }
    }
    state.mesh = MeshLibrary::GetInstance().FindOrLoad(TextOr(in, "Mesh", "Prim_Plane"));
    state.shader = ShaderLibrary::GetInstance().FindOrLoad(TextOr(in, "Shader", "base"));
    if (const auto v = in.find("Texture"); v != in.end() && v->is_string())
        state.texture = TextureLibrary::GetInstance().FindOrLoad(v->get<std::string>());
    if (const auto v = in.find("space"); v != in.end() && v->is_string())
        state.space = Graphics::SpaceFromName(v->get<std::string>());
    if (const auto v = in.find("tint"); v != in.end() && v->is_array() && v->size() >= 3)
        for (int i = 0; i < 3; ++i)
            if ((*v)[i].is_number())
                state.tint[i] = Number<float>((*v)[i], "tint").value_or(state.tint[i]);
    state.wrap = TextOr(in, "Wrap_Mode", "") == "clamp" ? 1 : 0;
    state.filter = TextOr(in, "Filter_Mode", "") == "linear" ? 1 : 0;
    if (const auto v = in.find("ST scaling");
        v != in.end() && v->is_array() && v->size() >= 2 && (*v)[0].is_number() && (*v)[1].is_number())
    {
        const std::optional<float> s = Number<float>((*v)[0], "ST scaling");
        const std::optional<float> t = Number<float>((*v)[1], "ST scaling");
        if (s && t)
        {
            const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
            std::copy(std::begin(identity), std::end(identity), state.uv);
            state.uv[0] = *s;
            state.uv[4] = *t;
        }
    }
    return state;
}

void AnimationSequencer::Write(json& out) const
{
    out["Type"] = "AnimationSequencer";
    out["States"] = StateNames;
}

void AnimationSequencer::Read(const json& in)
{
    const auto list = in.find("States");
    if (list == in.end())
        return;
    if (!list->is_array())
    {
        Log("ANIMATION: \"States\" is not a list of state names; no states read");
        return;
    }
    for (const json& entry : *list)
    {
        if (!entry.is_string())
        {
            Log("ANIMATION: a state name in \"States\" is not a text; skipped");
            continue;
        }
        const std::string name = entry.get<std::string>();
        StateNames.push_back(name);
        const std::string path = AnimFolder + name + ".json";
        const ReadingFile reading(path);
        json document;
        if (JsonFault fault; !ReadJsonFile(path, document, &fault))
        {
            if (fault.kind == JsonFault::Missing)
                Log("ANIMATION: [", path, "] state file not found; skipped");
            else
            {
                Log("ANIMATION: [", path, "] not a valid state file; skipped");
                Log(fault.why);
            }
            continue;
        }
        States.push_back(ReadAnimState(document));
    }
}

bool AnimationSequencer::SetState(const std::string& name)
{
    Sprite* sprite = Parent ? Parent->GetComponent<Sprite>() : nullptr;
    Animation* animation = Parent ? Parent->GetComponent<Animation>() : nullptr;
    if (!sprite || !animation)
    {
        Log("ANIMATION: [", Parent ? Parent->Name : std::string(), "] cannot switch to \"", name,
            "\" without a Sprite and an Animation");
        return false;
    }
    if (name == CurrentState)
        return false;
    bool found = false;
    for (const AnimState& state : States)
        if (state.name == name)
        {
            // Several states of one name: the last one wins.
            found = true;
            animation->Columns = state.columns;
            animation->Rows = state.rows;
            animation->FrameCount = state.frameCount;
            animation->FrameDuration = state.frameDuration;
            sprite->request->mesh = state.mesh;
            sprite->request->texture = state.texture;
        }
    if (!found)
        Log("ANIMATION: [", Parent->Name, "] has no state \"", name, "\"; the current sheet restarts");
    CurrentState = name;
    animation->Play();
    return true;
}
