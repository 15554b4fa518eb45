#pragma once
// What the terrain tells a behaviour about a line collider touching it: five probes at the
// corners and the bottom centre of the collider's box, each with its cell, that cell's world
// position and its material, and the grid they were read from.
#include "engine/Matrix4.h"

#include <array>
#include <cstdint>

class PixelGrid;

struct PixelProbe
{
    Vec2 World;             // the world position of the cell's coordinates
    Vec2 Cell;              // cell coordinates (whole numbers) as floats
    uint8_t Material = 0;   // the cell's material id; 0 outside the grid
};

struct PixelContact
{
    enum Probe : size_t
    {
        BottomLeft = 0,
        BottomRight = 1,
        TopRight = 2,
        TopLeft = 3,
        BottomCentre = 4,
    };

    // The flags of a probe's material in the grid's table; false without a grid.
    bool IsSolid(Probe probe) const;
    bool IsDiggable(Probe probe) const;
    bool IsLethal(Probe probe) const;

    std::array<PixelProbe, 5> Probes;
    PixelGrid* Grid = nullptr;   // not owned
};
