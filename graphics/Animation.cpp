#include "graphics/Animation.h"

#include "engine/TraceSystem.h"
#include "graphics/Sprite.h"
#include "scene/Entity.h"

bool Animation::WriteFrameUV(float uv[9], int frame, int columns, int rows, int8_t uSign, int8_t vSign)
{
    const bool onSheet = columns > 0 && rows > 0 && frame >= 0 && frame / columns < rows;
    if (!onSheet)
    {
        frame = 0;
        columns = columns > 0 ? columns : 1;
        rows = rows > 0 ? rows : 1;
    }
    uv[0] = static_cast<float>(uSign) / static_cast<float>(columns);
    uv[4] = static_cast<float>(vSign) / static_cast<float>(rows);
    uv[8] = 1.0f;
    // A negative scale reads its cell from the far edge, so the offset moves to that edge:
    // the mirrored frame covers the same cell instead of its neighbour.
    const int column = frame % columns + (uSign < 0 ? 1 : 0);
    const int row = frame / columns + (vSign < 0 ? 1 : 0);
    uv[6] = static_cast<float>(column) / static_cast<float>(columns);
    uv[7] = static_cast<float>(row) / static_cast<float>(rows);
    return onSheet;
}

void Animation::ShowCurrentFrame()
{
    Sprite* sprite = Parent ? Parent->GetComponent<Sprite>() : nullptr;
    if (!sprite)
        return;
    if (!WriteFrameUV(sprite->uv, CurrentFrame, Columns, Rows, USign, VSign) && !reportedBadFrame)
    {
        reportedBadFrame = true;
        Log("ANIMATION: [", Parent->Name, "] a sheet of ", Columns, " x ", Rows, " has no frame ",
            CurrentFrame, "; showing the first frame");
    }
}

void Animation::Play()
{
    CurrentFrame = 0;
    Timer = FrameDuration;
    Running = true;
    Done = false;
    ShowCurrentFrame();
}

void Animation::Update(float dt)
{
    if (!Parent || !Parent->GetComponent<Sprite>())
        return;
    Done = false;
    if (!Running)
        return;
    Timer -= dt;
    if (Timer > 0)
        return;
    ++CurrentFrame;
    if (CurrentFrame >= FrameCount)
    {
        if (Looping)
            CurrentFrame = 0;
        else
        {
            Running = false;
            CurrentFrame = FrameCount > 0 ? FrameCount - 1 : 0;
        }
        Done = true;
        if (!Running)
        {
            Timer = 0;
            return;
        }
    }
    ShowCurrentFrame();
    Timer += FrameDuration;
}

void Animation::Write(json& out) const
{
    out["Type"] = "Animation";
    out["FrameCount"] = FrameCount;
    out["FrameDuration"] = FrameDuration;
    out["isRunning"] = Running;
    out["isLooping"] = Looping;
    out["Dimensions"] = json::array({Columns, Rows});
}

void Animation::Read(const json& in)
{
    // A value of another type is reported and leaves its field as it was; the animation stays.
    const std::string where = "COMPONENT: [Animation]";
    ReadKeyOrKeep(in, "FrameCount", FrameCount, where);
    ReadKeyOrKeep(in, "FrameDuration", FrameDuration, where);
    ReadKeyOrKeep(in, "isRunning", Running, where);
    ReadKeyOrKeep(in, "isLooping", Looping, where);
    if (std::array<int, 2> dimensions; ReadKeyOrKeep(in, "Dimensions", dimensions, where))
    {
        Columns = dimensions[0];
        Rows = dimensions[1];
    }
}
