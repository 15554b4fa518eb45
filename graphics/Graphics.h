#pragma once
// Shared drawing types: render spaces, draw requests and debug lines.
#include "engine/Matrix4.h"

#include <cstdint>
#include <string>

namespace Graphics
{
using RenderSpace = int;
constexpr RenderSpace WorldProj = 0;   // "worldProj"
constexpr RenderSpace UiProj = 1;      // "uiProj"
constexpr RenderSpace BkgProj = 2;     // "bkgProj"

RenderSpace SpaceFromName(const std::string& name);   // -1 for any other name
const char* SpaceName(RenderSpace space);             // "invalid" for any other space

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
// The square of half-size 0.1 around a cursor position (device coordinates), in screen space.
void SubmitCursorMarker(float x, float y);

// A rectangle of a mesh's model space at z 0: [left, right] x [bottom, top].
struct Area
{
    float left = 0, bottom = 0, right = 0, top = 0;
};

// Window pixels [x0, x1) x [y0, y1), rows counted from the bottom as GL counts them.
struct PixelRect
{
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool Overlaps(const PixelRect& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};
// The pixels of a window of `width` x `height` that a shape reaching from (left, bottom) to
// (right, top) in device coordinates may touch: a pixel wider on every side against rounding,
// within the window.
inline PixelRect WindowPixels(float left, float bottom, float right, float top, int width, int height)
{
    // Clamped to [-1, size + 1], v + 1 is never negative: truncating it is rounding down. The
    // first pixel is floor(v) - 1, the end floor(v) + 2 (one more than needed where v is whole).
    const auto pixel = [](float device, int size) {
        const float v = (device * 0.5f + 0.5f) * static_cast<float>(size);
        const float clamped = v < -1.0f                             ? -1.0f
                              : v > static_cast<float>(size) + 1.0f ? static_cast<float>(size) + 1.0f
                                                                    : v;
        return static_cast<int>(clamped + 1.0f);
    };
    const int x0 = pixel(left, width) - 2, y0 = pixel(bottom, height) - 2;
    const int x1 = pixel(right, width) + 1, y1 = pixel(top, height) + 1;
    const auto within = [](int v, int size) { return v < 0 ? 0 : v > size ? size : v; };
    return {within(x0, width), within(y0, height), within(x1, width), within(y1, height)};
}

// One immediate draw: mesh, shader and texture by index into their libraries (-1: no mesh, the
// first shader, the first texture "White"), wrap and filter modes, a tint, and the model and
// texture-coordinate matrices it points at (not owned; null is identity).
struct DrawRequest
{
    RenderSpace space = WorldProj;
    const char* name = "no";   // label for the draw-failure diagnostic; must outlive the request
    int32_t mesh = -1;
    int32_t shader = -1;
    int32_t reserved = -1;
    int32_t texture = -1;
    int32_t wrap = 0;     // 0 repeat, 1 clamp
    int32_t filter = 0;   // 0 nearest, 1 linear
    float tint[3] = {1, 1, 1};
    const Matrix4* model = nullptr;
    const float* uv = nullptr;   // 3x3, column-major
};
}   // namespace Graphics
