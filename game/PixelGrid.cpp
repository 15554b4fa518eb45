#include "game/PixelGrid.h"

#include "engine/DataPath.h"
#include "engine/InputSystem.h"
#include "engine/JsonFile.h"
#include "engine/TraceSystem.h"
#include "game/ColliderLine.h"
#include "game/PixelContact.h"
#include "graphics/Image.h"
#include "scene/Behavior.h"
#include "scene/Entity.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
// Cell coordinates are kept well inside int: a position this far out is simply outside.
constexpr float FarCell = 1.0e9f;

float Bounded(float c)
{
    if (!(c > -FarCell))   // also NaN
        return -FarCell;
    return c < FarCell ? c : FarCell;
}

std::string LevelLabel(const std::string& source) { return source.empty() ? "terrain" : source; }
}   // namespace

bool PixelContact::IsSolid(Probe probe) const
{
    return Grid && Grid->MaterialTable[Probes[probe].Material].solid;
}
bool PixelContact::IsDiggable(Probe probe) const
{
    return Grid && Grid->MaterialTable[Probes[probe].Material].diggable;
}
bool PixelContact::IsLethal(Probe probe) const
{
    return Grid && Grid->MaterialTable[Probes[probe].Material].lethal;
}

PixelGrid::PixelGrid() : Component(ComponentType::PixelGrid) { ResetMaterials(); }

// The copy shares nothing with the original: cells, materials and placement are copied, the
// picture and the GL objects are not (the copy builds its own texture from its cells).
PixelGrid::PixelGrid(const PixelGrid& other)
    : Component(other), ColourToMaterial(other.ColourToMaterial), MaterialTable(other.MaterialTable),
      Source(other.Source), Width(other.Width), Height(other.Height), palette(other.palette),
      Cells(other.Cells), Origin(other.Origin), CellSize(other.CellSize)
{
    SetCells(Width, Height, Cells);
}

Component* PixelGrid::Clone() const { return new PixelGrid(*this); }

PixelGrid::~PixelGrid() { ReleaseGL(); }

void PixelGrid::ResetMaterials()
{
    ColourToMaterial.clear();
    MaterialTable.fill(Material{});
    MaterialTable[Empty] = {false, false, false, EmptyColour};
    MaterialTable[Bridge] = {true, true, false, BridgeColour};
    ColourToMaterial[EmptyColour] = Empty;
    ColourToMaterial[BridgeColour] = Bridge;
    MarkAllDirty();
}

bool PixelGrid::LoadMaterials(const json& file, std::string& why)
{
    const auto list = file.is_object() ? file.find("Materials") : file.end();
    if (!file.is_object() || list == file.end())
        return true;   // no materials: the built-ins only
    if (!list->is_array())
    {
        why = "\"Materials\" is not a list";
        return false;
    }
    struct Entry
    {
        size_t id;
        Material material;
    };
    std::vector<Entry> entries;
    size_t counter = 2;
    for (size_t i = 0; i < list->size(); ++i, ++counter)
    {
        const json& element = (*list)[i];
        const std::string where = "material " + std::to_string(i);
        if (!element.is_object())
        {
            why = where + " is not an object";
            return false;
        }
        const auto name = element.find("name");
        if (name != element.end() && !name->is_string())
        {
            why = where + ": \"name\" is not a text";
            return false;
        }
        const bool isBridge = name != element.end() && name->get<std::string>() == "Bridge";
        const auto colour = element.find("color");
        if (colour == element.end() || !colour->is_number_integer() || colour->get<int64_t>() < 0 ||
            colour->get<int64_t>() > 0xFFFFFFFFll)
        {
            why = where + ": \"color\" is not a packed colour (0 to 4294967295)";
            return false;
        }
        Material material;
        material.colour = static_cast<uint32_t>(colour->get<int64_t>());
        for (auto [key, flag] : {std::pair{"solid", &material.solid},
                                 {"diggable", &material.diggable},
                                 {"lethal", &material.lethal}})
        {
            const auto value = element.find(key);
            if (value == element.end() || !value->is_boolean())
            {
                why = where + ": \"" + key + "\" is not true or false";
                return false;
            }
            *flag = value->get<bool>();
        }
        // Ids are bytes: the built-in empty and bridge entries must never be overwritten by a
        // counter that wrapped.
        if (!isBridge && counter > 255)
        {
            why = std::to_string(list->size()) + " materials are more than the 254 ids hold";
            return false;
        }
        entries.push_back({isBridge ? size_t{Bridge} : counter, material});
    }
    for (const Entry& entry : entries)
    {
        MaterialTable[entry.id] = entry.material;
        ColourToMaterial[entry.material.colour] = static_cast<uint8_t>(entry.id);
    }
    if (!entries.empty())
        MarkAllDirty();   // cells of a changed material take its new colour
    return true;
}

bool PixelGrid::LoadLevelFile(const std::string& paletteName)
{
    const std::string path = "./Data/Levels/" + paletteName + ".json";
    json file;
    if (!ReadJsonFile(path, file))
    {
        Log("TERRAIN: [", path, "] cannot be read; the terrain has only empty and bridge cells");
        return false;
    }
    std::string why;
    if (!LoadMaterials(file, why))
    {
        Log("TERRAIN: [", path, "] ", why, "; the terrain has only empty and bridge cells");
        return false;
    }
    return true;
}

bool PixelGrid::LoadPicture(const std::string& source)
{
    auto image = std::make_unique<Image>("Levels/" + source, ".png");
    const auto reject = [&](const std::string& why) {
        Log("TERRAIN: [", image->Path(), "] ", why, "; the terrain has no cells");
        SetCells(0, 0, {});
        LevelImage.reset();
        return false;
    };
    if (!image->IsLoaded())
        return reject("cannot be read: " + image->Reason());
    if (image->channels != 3 && image->channels != 4)
        return reject("is not an RGB or RGBA picture (" + std::to_string(image->channels) + " channels)");

    // An RGB picture is read as opaque RGBA.
    const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
    const size_t stride = static_cast<size_t>(image->channels);
    std::vector<uint8_t> cells(count, Empty);
    for (size_t i = 0; i < count; ++i)
    {
        const unsigned char* p = image->pixels + i * stride;
        const auto found = ColourToMaterial.find(PackColour(p[0], p[1], p[2], stride == 4 ? p[3] : 255));
        if (found != ColourToMaterial.end())
            cells[i] = found->second;
    }
    SetCells(image->width, image->height, std::move(cells));
    image->Free();   // the cells hold all the grid needs of the pixels
    LevelImage = std::move(image);
    return true;
}

void PixelGrid::Read(const json& in)
{
    // Each value is checked before it is used: bad data give a message and keep the field.
    ReadKeyOrKeep(in, "Source", Source, "TERRAIN: [" + LevelLabel(Source) + "]");
    if (Source.empty())
        return;
    const std::string where = "TERRAIN: [" + Source + "]";
    ReadKeyOrKeep(in, "Origin", Origin, where);
    if (float size = CellSize; ReadKeyOrKeep(in, "CellSize", size, where))
    {
        if (size > 0 && std::isfinite(size))
            CellSize = size;
        else
            Log(where, " \"CellSize\" must be a number above 0; kept ", CellSize);
    }
    palette = "debug";
    ReadKeyOrKeep(in, "palette", palette, where);
    if (palette.empty())
        palette = "debug";

    // The grid's materials are its palette's: a grid read again forgets the old ones.
    ResetMaterials();
    LoadLevelFile(palette);
    if (LoadPicture(Source))
        CreateTexture();
    else
        ReleaseGL();
}

void PixelGrid::Write(json& out) const
{
    out["Type"] = "PixelGrid";
    out["Source"] = Source;
    out["Origin"] = json::array({Origin.x, Origin.y});
    out["CellSize"] = CellSize;
    out["palette"] = palette;
}

void PixelGrid::SetCells(int width, int height, std::vector<uint8_t> cells)
{
    if (width <= 0 || height <= 0 || cells.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
        width = height = 0, cells.clear();
    ReleaseGL();   // the next upload builds a texture of the new size
    Width = width;
    Height = height;
    Cells = std::move(cells);
    UploadBuffer.assign(Cells.size(), 0);
    dirtyRows.assign(static_cast<size_t>(Height), false);
    const size_t tiles =
        static_cast<size_t>(TilesAcross()) * static_cast<size_t>((Height + KeptTile - 1) / KeptTile);
    unsentTiles.assign(tiles, false);
    unshownTiles.assign(tiles, false);
    allUnshown = true;
    DebugIndex = 0;
    MarkAllDirty();
}

void PixelGrid::MarkAllDirty()
{
    Dirty = true;
    anyDirtyRow = false;   // no row list: the whole picture goes
}

void PixelGrid::SetCell(int x, int y, int id)
{
    if (!IsInside(x, y))
        return;
    uint8_t& cell = Cells[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
    const uint8_t value = static_cast<uint8_t>(id & 0xFF);
    if (cell == value)
        return;
    cell = value;
    // The word is ready at once, so an upload only sends the rows.
    UploadBuffer[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)] =
        WordOf(value);
    if (!Dirty || anyDirtyRow)
    {
        dirtyRows[static_cast<size_t>(y)] = true;
        anyDirtyRow = true;
    }
    Dirty = true;
    const size_t tile = static_cast<size_t>(y / KeptTile) * static_cast<size_t>(TilesAcross()) +
                        static_cast<size_t>(x / KeptTile);
    if (tile < unsentTiles.size())
        unsentTiles[tile] = true;
}

bool PixelGrid::WorldToCell(const Vec3& world, int& x, int& y) const
{
    x = static_cast<int>(std::round(Bounded(world.x * CellSize + Origin.x)));
    y = static_cast<int>(std::round(Bounded(world.y * CellSize + Origin.y)));
    return IsInside(x, y);
}

Vec2 PixelGrid::CellToWorld(float cx, float cy) const
{
    return {(cx - Origin.x) / CellSize, (cy - Origin.y) / CellSize};
}

Matrix4 PixelGrid::CellToWorldMatrix() const
{
    Matrix4 m = Matrix4::Scale({1 / CellSize, 1 / CellSize, 1});
    m.At(0, 3) = -Origin.x / CellSize;
    m.At(1, 3) = -Origin.y / CellSize;
    return m;
}

void PixelGrid::CollideLine(Collider* collider)
{
    // A collider's kind always matches its class.
    const ColliderLine* line = collider && collider->ColliderType == Collider::TypeLine
                                   ? static_cast<const ColliderLine*>(collider)
                                   : nullptr;
    if (!line || line->Segments.empty())
        return;
    Entity* owner = GetParent(collider);
    if (!owner)
        return;

    float minX = std::numeric_limits<float>::max(), minY = minX;
    float maxX = std::numeric_limits<float>::lowest(), maxY = maxX;
    for (const LineSegment& s : line->Segments)
        for (const Vec3& p : {s.Point1, s.Point2})
        {
            minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        }
    const auto floorCell = [](float world, float size, float origin) {
        return static_cast<int>(std::floor(Bounded(world * size + origin)));
    };
    const int left = floorCell(minX, CellSize, Origin.x), right = floorCell(maxX, CellSize, Origin.x);
    const int bottom = floorCell(minY, CellSize, Origin.y), top = floorCell(maxY, CellSize, Origin.y);
    const int middle = static_cast<int>(std::lround((double(left) + double(right)) / 2.0));

    PixelContact contact;
    contact.Grid = this;
    const std::array<std::pair<int, int>, 5> cells = {
        {{left, bottom}, {right, bottom}, {right, top}, {left, top}, {middle, bottom}}};
    for (size_t i = 0; i < cells.size(); ++i)
    {
        const auto [cx, cy] = cells[i];
        PixelProbe& probe = contact.Probes[i];
        probe.Cell = {static_cast<float>(cx), static_cast<float>(cy)};
        probe.World = CellToWorld(probe.Cell.x, probe.Cell.y);
        probe.Material = GetCell(cx, cy);
    }
    if (Behavior* behavior = owner->GetComponent<Behavior>())
        behavior->OnPixelCollision(contact);
}

void PixelGrid::DebugKeys()
{
    const InputSystem& input = InputSystem::GetInstance();
    const auto held = [&](int key) { return input.GetState(key) == 2; };
    const int64_t n = static_cast<int64_t>(Cells.size());
    int64_t index = DebugIndex;
    if (held(Key::Left))
        index -= 1;
    if (held(Key::Right))
        index += 1;
    if (held(Key::Up))
        index += Width;
    if (held(Key::Down))
        index -= Width;
    // The cursor wraps around the grid, so holding a key never runs it off the int range.
    if (n > 0)
        index = ((index % n) + n) % n;
    DebugIndex = static_cast<int>(index);
    if (n == 0)
        return;
    const int x = DebugIndex % Width, y = DebugIndex / Width;
    if (held(Key::Enter))
        SetCell(x, y, Bridge);
    if (held(Key::Backspace))
        SetCell(x, y, Empty);
}

void PixelGrid::RefreshWords()
{
    for (size_t i = 0; i < Cells.size(); ++i)
        UploadBuffer[i] = WordOf(Cells[i]);
}

void PixelGrid::UploadChangedRows()
{
    UploadedRows = 0;
    for (size_t i = 0; i < unsentTiles.size(); ++i)
        if (unsentTiles[i])
            unshownTiles[i] = true, unsentTiles[i] = false;
    if (Height > 0 && !anyDirtyRow)
    {
        allUnshown = true;
        std::fill(dirtyRows.begin(), dirtyRows.end(), false);
        RefreshWords();
        SendRows(0, Height);
        UploadedRows = Height;
    }
    else
        // Runs of changed rows go up together.
        for (int y = 0; y < Height;)
        {
            if (!dirtyRows[static_cast<size_t>(y)])
            {
                ++y;
                continue;
            }
            int end = y;
            while (end < Height && dirtyRows[static_cast<size_t>(end)])
                dirtyRows[static_cast<size_t>(end++)] = false;
            SendRows(y, end - y);
            UploadedRows += end - y;
            y = end;
        }
    anyDirtyRow = false;
    Dirty = false;
}

void PixelGrid::Update(float)
{
    DebugKeys();
    if (Dirty)
        UploadChangedRows();
}
