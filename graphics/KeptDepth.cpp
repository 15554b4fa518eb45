#include "graphics/KeptDepth.h"

#include "graphics/Mesh.h"

#include <algorithm>
#include <cmath>

KeptDepth::Span KeptDepth::Of(const Mesh& mesh, const Matrix4& model, const Matrix4& worldToClip, int width,
                              int height)
{
    Span span;
    if (mesh.vertices.empty())
        return span;
    float low[3], high[3];
    for (int axis = 0; axis < 3; ++axis)
        low[axis] = high[axis] = mesh.vertices.front().position[axis];
    for (const MeshVertex& v : mesh.vertices)
        for (int axis = 0; axis < 3; ++axis)
        {
            low[axis] = std::min(low[axis], v.position[axis]);
            high[axis] = std::max(high[axis], v.position[axis]);
        }
    const Matrix4 toClip = Matrix4::Multiply(worldToClip, model);
    span.nearest = 1;
    span.farthest = 0;
    span.pixels = {1e30f, 1e30f, -1e30f, -1e30f};
    for (int corner = 0; corner < 8; ++corner)
    {
        const Vec4 clip = toClip.Transform(
            {corner & 1 ? high[0] : low[0], corner & 2 ? high[1] : low[1], corner & 4 ? high[2] : low[2], 1});
        if (!(clip.w > 1e-6f) || !std::isfinite(clip.x) || !std::isfinite(clip.y) || !std::isfinite(clip.z))
            return Span{};
        const float depth = clip.z / clip.w * 0.5f + 0.5f;
        span.nearest = std::min(span.nearest, depth);
        span.farthest = std::max(span.farthest, depth);
        const float x = (clip.x / clip.w * 0.5f + 0.5f) * static_cast<float>(width);
        const float y = (clip.y / clip.w * 0.5f + 0.5f) * static_cast<float>(height);
        span.pixels = {std::min(span.pixels[0], x), std::min(span.pixels[1], y), std::max(span.pixels[2], x),
                       std::max(span.pixels[3], y)};
    }
    span.known = true;
    // World height is m23 exactly when the plane's own z is 0 and x, y do not reach it; the
    // camera then turns that one height into one depth, whatever the pixel.
    const bool straight = worldToClip.At(2, 0) == 0 && worldToClip.At(2, 1) == 0 &&
                          worldToClip.At(3, 0) == 0 && worldToClip.At(3, 1) == 0;
    span.flat = straight && low[2] == 0 && high[2] == 0 && model.At(2, 0) == 0 && model.At(2, 1) == 0;
    span.height = model.At(2, 3);
    return span;
}

void KeptDepth::BeginNeeds(int width, int height)
{
    across = (width + Tile - 1) / Tile;
    up = (height + Tile - 1) / Tile;
    tiles.assign(static_cast<size_t>(across) * static_cast<size_t>(up), false);
}

bool KeptDepth::Passes(const Span& later) const
{
    if (!later.known)
        return false;
    return std::all_of(kept.begin(), kept.end(), [&later](const Span& k) {
        return k.known &&
               (later.farthest < k.nearest - Margin || (later.flat && k.flat && later.height == k.height));
    });
}

bool KeptDepth::Need(const Span& span)
{
    if (Passes(span))
        return false;
    // A pixel wider on every side against rounding; everywhere when the box is not known.
    const auto tile = [](float pixel, int limit) {
        return std::clamp(static_cast<int>(std::floor(pixel / Tile)), 0, limit - 1);
    };
    const bool known = span.known;
    const int x0 = known ? tile(span.pixels[0] - 1, across) : 0;
    const int y0 = known ? tile(span.pixels[1] - 1, up) : 0;
    const int x1 = known ? tile(span.pixels[2] + 1, across) : across - 1;
    const int y1 = known ? tile(span.pixels[3] + 1, up) : up - 1;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            tiles[static_cast<size_t>(y) * static_cast<size_t>(across) + static_cast<size_t>(x)] = true;
    return true;
}

std::vector<std::array<int, 4>> KeptDepth::Needed() const
{
    std::vector<std::array<int, 4>> rectangles;
    for (int y = 0; y < up; ++y)
        for (int x = 0; x < across;)
        {
            const auto at = [&](int tx) {
                return tiles[static_cast<size_t>(y) * static_cast<size_t>(across) + static_cast<size_t>(tx)];
            };
            if (!at(x))
            {
                ++x;
                continue;
            }
            int end = x + 1;
            while (end < across && at(end))
                ++end;
            rectangles.push_back({x * Tile, y * Tile, (end - x) * Tile, Tile});
            x = end;
        }
    return rectangles;
}
