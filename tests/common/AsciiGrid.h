#pragma once
// Small terrains drawn as text, for tests and benchmarks. Rows are given top row first, as they
// read on the page; every row must be as long as the first. The legend:
//   '.' empty   '#' ground (solid, diggable)   'R' rock (solid, not diggable)
//   '~' acid (lethal, not solid)   '=' bridge (id 1)
// The materials go through the grid's own materials loader, in this order: ground id 2, rock
// id 3, acid id 4 (bridge keeps id 1).
#include "engine/Matrix4.h"

#include <memory>
#include <string>
#include <vector>

class PixelGrid;

namespace AsciiGrid
{
constexpr unsigned char Ground = 2;
constexpr unsigned char Rock = 3;
constexpr unsigned char Acid = 4;

// A grid of the map's cells, not yet on an entity.
std::unique_ptr<PixelGrid> Make(const std::vector<std::string>& rows, float cellSize = 1.0f,
                                Vec2 origin = {0, 0});

// A grid of width x height cells filled with one legend character.
std::unique_ptr<PixelGrid> Filled(int width, int height, char cell);

// The grid's cells drawn back in the legend, top row first ('?' for other ids).
std::vector<std::string> Draw(const PixelGrid& grid);
}   // namespace AsciiGrid
