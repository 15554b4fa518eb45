#pragma once
// Shared drawing types: render spaces, draw requests and debug lines.
#include "engine/Matrix4.h"

#include <string>

namespace Graphics
{
using RenderSpace = int;
constexpr RenderSpace WorldProj = 0;   // "worldProj"
constexpr RenderSpace UiProj = 1;      // "uiProj"
constexpr RenderSpace BkgProj = 2;     // "bkgProj"

RenderSpace SpaceFromName(const std::string& name);   // -1 for any other name

// A line queued for the end of the frame; space 0 is drawn through the camera, 1 and 2 in
// clip-space coordinates.
struct DebugLine
{
    Vec3 from;
    Vec3 to;
    Vec3 color;
    RenderSpace space = WorldProj;
};

void SubmitDebugLine(const DebugLine& line);
} // namespace Graphics
