#include "graphics/AnimationSequencer.h"

#include "engine/DataPath.h"
#include "engine/TraceSystem.h"
#include "graphics/Animation.h"
#include "graphics/Graphics.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"
#include "graphics/Sprite.h"
#include "graphics/TextureLibrary.h"
#include "scene/Entity.h"

#include <fstream>

namespace
{
const char* const AnimFolder = "Data/Anims/";

std::string TextOr(const json& in, const char* key, const char* fallback)
{
    const auto v = in.find(key);
    return v != in.end() && v->is_string() ? v->get<std::string>() : fallback;
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
        state.frameDuration = v->get<float>();
    if (const auto v = in.find("FrameCount"); v != in.end() && v->is_number_integer())
        state.frameCount = v->get<int>();
    if (const auto v = in.find("isLooping"); v != in.end() && v->is_boolean())
        state.looping = v->get<bool>();
    if (const auto v = in.find("Dimensions");
        v != in.end() && v->is_array() && v->size() == 2 && (*v)[0].is_number() && (*v)[1].is_number())
    {
        state.columns = (*v)[0].get<int>();
        state.rows = (*v)[1].get<int>();
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
                state.tint[i] = (*v)[i].get<float>();
    state.wrap = TextOr(in, "Wrap_Mode", "") == "clamp" ? 1 : 0;
    state.filter = TextOr(in, "Filter_Mode", "") == "linear" ? 1 : 0;
    if (const auto v = in.find("ST scaling");
        v != in.end() && v->is_array() && v->size() >= 2 && (*v)[0].is_number() && (*v)[1].is_number())
    {
        const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        std::copy(std::begin(identity), std::end(identity), state.uv);
        state.uv[0] = (*v)[0].get<float>();
        state.uv[4] = (*v)[1].get<float>();
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
        std::ifstream file(ResolveDataPath(path));
        if (!file.is_open())
        {
            Log("ANIMATION: [", path, "] state file not found; skipped");
            continue;
        }
        try
        {
            States.push_back(ReadAnimState(json::parse(file)));
        }
        catch (const std::exception& error)
        {
            Log("ANIMATION: [", path, "] not a valid state file; skipped");
            Log(error.what());
        }
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
