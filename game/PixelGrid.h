#pragma once
// The destructible terrain of a level: a grid of one-byte material cells read from a level
// picture ("Levels/" + Source + ".png" in the image folder), one pixel a cell, each pixel's
// colour naming a material of the level's materials file ("./Data/Levels/" + palette + ".json").
// Row 0 is the bottom row. Cell (cx, cy) lies at world ((cx - Origin.x) / CellSize,
// (cy - Origin.y) / CellSize): CellSize counts cells per world unit.
//
// Promises: every position outside the grid reads as material 0 and is never written; the
// texture is re-sent only for the rows whose cells changed since the last upload; a clone owns
// its own cells and buffers. Bad level data (a missing or unreadable picture, a picture that is
// not RGB or RGBA, a CellSize that is not above 0, a broken or overfull materials file) gives one
// log line and a safe grid, never a crash. All GL work waits until a context exists, so the
// grid's logic runs without a window.
#include "engine/Matrix4.h"
#include "scene/Component.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class Collider;
class Image;

class PixelGrid : public Component
{
public:
    struct Material
    {
        bool solid = false;
        bool diggable = false;
        bool lethal = false;
        uint32_t colour = 0;   // packed R<<24 | G<<16 | B<<8 | A
    };

    static constexpr uint8_t Empty = 0;    // also every colour no material claims
    static constexpr uint8_t Bridge = 1;   // the bots' bridge cells
    static constexpr uint32_t EmptyColour = 0x000000FF;
    static constexpr uint32_t BridgeColour = 0xAC3232FF;

    static uint32_t PackColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a)
    {
        return uint32_t(r) << 24 | uint32_t(g) << 16 | uint32_t(b) << 8 | uint32_t(a);
    }

    static constexpr int32_t ClassTypeId = ComponentType::PixelGrid;   // see Entity::GetComponent
    PixelGrid();
    ~PixelGrid() override;   // releases the texture and the grid's shader program

    Component* Clone() const override;   // same cells, placement and materials; its own buffers
    void Update(float dt) override;      // the edit keys, then the texture upload of changed rows
    void Render() override;
    void Write(json& out) const override;   // "Type", "Source", "Origin", "CellSize", "palette"
    void Read(const json& in) override;     // everything but "Source" only when Source is not empty

    // Queries. Outside the grid a cell is material 0.
    bool IsInside(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    uint8_t GetCell(int x, int y) const
    {
        return IsInside(x, y)
                   ? Cells[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)]
                   : Empty;
    }
    const Material& MaterialAt(int x, int y) const { return MaterialTable[GetCell(x, y)]; }

    // Stores the material (its low 8 bits) when the cell lies inside and differs; marks the
    // cell's row for upload. Outside the grid it does nothing.
    void SetCell(int x, int y, int id);
    // Replaces size and cells (Width * Height ids, row 0 first) and marks everything for upload.
    void SetCells(int width, int height, std::vector<uint8_t> cells);
    // Marks every row for upload: for code that wrote Cells directly.
    void MarkAllDirty();

    // World to cell, halves rounded away from zero; the cell is written in either case, and
    // true comes back when it lies inside. Positions too far away (or not numbers) come out as
    // far-away cells, never as wrapped integers.
    bool WorldToCell(const Vec3& world, int& x, int& y) const;
    // The world position of cell coordinates.
    Vec2 CellToWorld(float cx, float cy) const;
    Matrix4 CellToWorldMatrix() const;

    // Probes the cells under a line collider's box and reports them to the first behaviour of
    // the collider's entity, on every call, solid or not. Other colliders, and lines without
    // segments, are not tested.
    void CollideLine(Collider* collider);

    // Adds the materials of a parsed materials file ("Materials": [{"name", "color", "solid",
    // "diggable", "lethal"}, ...]) on top of the current ones: "Bridge" takes id 1, the others
    // ids from 2 on in order (an id is skipped after "Bridge"). The whole list is checked first:
    // a malformed entry, or more than the 254 ids hold, changes nothing and sets why.
    bool LoadMaterials(const json& file, std::string& why);
    // Back to the built-in empty and bridge materials only.
    void ResetMaterials();

    std::unordered_map<uint32_t, uint8_t> ColourToMaterial;
    std::array<Material, 256> MaterialTable;
    std::string Source;
    std::unique_ptr<Image> LevelImage;   // the picture read last: its path and size (pixels let go)
    int Width = 0;
    int Height = 0;
    std::string palette;
    std::vector<uint8_t> Cells;           // Width * Height, index y * Width + x
    std::vector<uint32_t> UploadBuffer;   // the texture's words: the material colour, 0 for empty
    bool Dirty = true;                    // cells changed since the last upload
    Vec2 Origin{0, 0};
    float CellSize = 1.0f;
    int DebugIndex = 0;   // the edit keys' cell cursor

    unsigned TextureId = 0;   // GL texture "constructedImage"; 0 until a context exists
    int UploadedRows = 0;     // rows sent by the last upload (for tests and benchmarks)

private:
    PixelGrid(const PixelGrid& other);
    bool LoadLevelFile(const std::string& paletteName);
    bool LoadPicture(const std::string& source);
    void DebugKeys();
    uint32_t WordOf(uint8_t id) const { return id == Empty ? 0u : MaterialTable[id].colour; }
    void RefreshWords();   // every UploadBuffer word from its cell
    void UploadChangedRows();
    // GL side (PixelGrid_Draw.cpp); each does nothing without a context.
    void CreateTexture();
    void SendRows(int first, int count);
    void ReleaseGL();

    std::vector<bool> dirtyRows;   // rows to send at the next upload
    bool anyDirtyRow = false;

    // The terrain tells the graphics system's kept frame which squares of KeptTile x KeptTile
    // cells changed since the kept frame last showed them: a square is unsent until its rows
    // are uploaded, then unshown until a draw that the kept frame takes in.
    static constexpr int KeptTile = 8;
    int TilesAcross() const { return (Width + KeptTile - 1) / KeptTile; }
    std::vector<bool> unsentTiles, unshownTiles;
    bool allUnshown = true;
};
