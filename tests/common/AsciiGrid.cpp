#include "tests/common/AsciiGrid.h"

#include "game/PixelGrid.h"

#include <cassert>
#include <stdexcept>

namespace
{
struct LegendEntry
{
    char symbol;
    const char* name;
    unsigned id;
};
constexpr LegendEntry Legend[] = {
    {'.', "Empty", PixelGrid::Empty}, {'=', "Bridge", PixelGrid::Bridge}, {'#', "Ground", AsciiGrid::Ground},
    {'R', "Rock", AsciiGrid::Rock},   {'~', "Acid", AsciiGrid::Acid},
};

const nlohmann::json& Materials()
{
    static const nlohmann::json materials = nlohmann::json::parse(R"({"Materials": [
        {"name": "Ground", "color": 2052206847, "solid": true,  "diggable": true,  "lethal": false},
        {"name": "Rock",   "color": 1852733695, "solid": true,  "diggable": false, "lethal": false},
        {"name": "Acid",   "color": 1289764095, "solid": false, "diggable": false, "lethal": true}
    ]})");
    return materials;
}

unsigned char IdOf(char symbol)
{
    for (const LegendEntry& entry : Legend)
        if (entry.symbol == symbol)
            return static_cast<unsigned char>(entry.id);
    throw std::invalid_argument(std::string("no terrain legend entry for '") + symbol + "'");
}

std::unique_ptr<PixelGrid> WithMaterials()
{
    auto grid = std::make_unique<PixelGrid>();
    std::string why;
    const bool loaded = grid->LoadMaterials(Materials(), why);
    assert(loaded && "the fixture's own materials must load");
    (void)loaded;
    return grid;
}
}   // namespace

std::unique_ptr<PixelGrid> AsciiGrid::Make(const std::vector<std::string>& rows, float cellSize, Vec2 origin)
{
    auto grid = WithMaterials();
    const int height = static_cast<int>(rows.size());
    const int width = height > 0 ? static_cast<int>(rows[0].size()) : 0;
    std::vector<uint8_t> cells(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
    {
        // The page's last row is the grid's row 0.
        const std::string& row = rows[static_cast<size_t>(height - 1 - y)];
        if (static_cast<int>(row.size()) != width)
            throw std::invalid_argument("terrain map rows differ in length");
        for (int x = 0; x < width; ++x)
            cells[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                IdOf(row[static_cast<size_t>(x)]);
    }
    grid->CellSize = cellSize;
    grid->Origin = origin;
    grid->SetCells(width, height, std::move(cells));
    return grid;
}

std::unique_ptr<PixelGrid> AsciiGrid::Filled(int width, int height, char cell)
{
    auto grid = WithMaterials();
    grid->SetCells(
        width, height,
        std::vector<uint8_t>(static_cast<size_t>(width) * static_cast<size_t>(height), IdOf(cell)));
    return grid;
}

std::vector<std::string> AsciiGrid::Draw(const PixelGrid& grid)
{
    std::vector<std::string> rows;
    for (int y = grid.Height - 1; y >= 0; --y)
    {
        std::string row;
        for (int x = 0; x < grid.Width; ++x)
        {
            char symbol = '?';
            for (const LegendEntry& entry : Legend)
                if (entry.id == grid.GetCell(x, y))
                    symbol = entry.symbol;
            row += symbol;
        }
        rows.push_back(row);
    }
    return rows;
}
