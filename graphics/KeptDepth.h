#pragma once
// Where a frame still needs the kept layer's depth. The kept layer's colour is copied over the
// frame without its depth, which stays cleared; a draw that comes after it (until the next
// depth clear) passes the depth test over cleared depth exactly where it would over the kept
// depth when each of its fragments lies nearer than every kept draw, by a margin larger than
// rounding, or when both are planes facing the eye at the very same height (equal depths pass).
// Any other draw needs the kept depth under the pixels it may touch, and only there, before
// any draw after the kept layer reaches the frame (the graphics system draws it there again).
//
// Depths are judged from each mesh's bounding box through its model matrix and the camera; a
// box that reaches behind the eye needs the depth everywhere.
#include "engine/Matrix4.h"

#include <array>
#include <vector>

class Mesh;

class KeptDepth
{
public:
    // The depths one draw may give (window depth, 0 near to 1 far).
    struct Span
    {
        float nearest = 0, farthest = 1;
        bool known = false;              // false: the box reaches behind the eye
        bool flat = false;               // a plane facing the eye at world height `height`, whose depth
        float height = 0;                // is the same float at every pixel
        std::array<float, 4> pixels{};   // x0, y0, x1, y1 of the window it may touch
    };
    static Span Of(const Mesh& mesh, const Matrix4& model, const Matrix4& worldToClip, int width, int height);

    void BeginKept() { kept.clear(); }   // a frame's kept layer starts
    void AddKept(const Span& span) { kept.push_back(span); }
    // Whether every fragment of a draw passes the depth test over the kept draws so far exactly
    // as it would over cleared depth.
    bool Passes(const Span& later) const;

    // The kept layer's colour was copied over a frame of the given size; nothing needs its depth yet.
    void BeginNeeds(int width, int height);
    // Marks the pixels of a later draw that needs the kept depth; false when it needs none.
    bool Need(const Span& span);
    // The rectangles (x, y, width, height) that need the kept depth, a run of tiles in a row as one.
    std::vector<std::array<int, 4>> Needed() const;

    static constexpr int Tile = 32;   // pixels a side of the squares the needs are kept in
    // Window depth apart that no rounding of a draw's depth bridges (a few steps of 24 bits).
    static constexpr float Margin = 2e-6f;

private:
    std::vector<Span> kept;
    std::vector<bool> tiles;
    int across = 0, up = 0;
};
