#include "game/PixelGrid.h"
#include "engine/InputSystem.h"
#include "game/ColliderCircle.h"
#include "game/ColliderLine.h"
#include "scene/Entity.h"
#include "scene/Transform.h"
#include "tests/common/AsciiGrid.h"
#include "tests/game/ProbeRecorder.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace
{
json MaterialList(const std::vector<std::string>& names)
{
    json list = json::array();
    uint32_t colour = 0x10203000;
    for (const std::string& name : names)
        list.push_back(
            {{"name", name}, {"color", colour++}, {"solid", true}, {"diggable", false}, {"lethal", false}});
    return {{"Materials", list}};
}

// An entity whose line collider is the box from (x0, y0) to (x1, y1), reporting to a recorder.
struct Probe
{
    Probe(float x0, float y0, float x1, float y1)
    {
        entity.AddComponent(recorder = new ProbeRecorder());
        entity.AddComponent(line = new ColliderLine());
        line->SetBoxSegments({Vec3{x1, y0, 0}, Vec3{x1, y1, 0}, Vec3{x0, y1, 0}, Vec3{x0, y0, 0}});
    }
    Entity entity;
    ProbeRecorder* recorder;
    ColliderLine* line;
};
}   // namespace

TEST(PixelGridMaterials, BuiltInsAndColourPacking)
{
    PixelGrid grid;
    EXPECT_EQ(PixelGrid::PackColour(0xAC, 0x32, 0x32, 0xFF), 0xAC3232FFu);
    EXPECT_EQ(PixelGrid::PackColour(1, 2, 3, 4), 0x01020304u);
    const PixelGrid::Material& empty = grid.MaterialTable[0];
    const PixelGrid::Material& bridge = grid.MaterialTable[1];
    EXPECT_FALSE(empty.solid || empty.diggable || empty.lethal);
    EXPECT_EQ(empty.colour, 0x000000FFu);
    EXPECT_TRUE(bridge.solid && bridge.diggable && !bridge.lethal);
    EXPECT_EQ(bridge.colour, 0xAC3232FFu);
    EXPECT_EQ(grid.ColourToMaterial.size(), 2u);
    EXPECT_EQ(grid.ColourToMaterial.at(0x000000FF), 0);
    EXPECT_EQ(grid.ColourToMaterial.at(0xAC3232FF), 1);
    EXPECT_EQ(grid.MaterialTable[2].colour, 0u);   // the rest start zeroed
}

TEST(PixelGridMaterials, IdsFollowTheListAndSkipOneAfterBridge)
{
    PixelGrid grid;
    std::string why;
    json file = MaterialList({"A", "Bridge", "B"});
    file["Materials"][2]["color"] = file["Materials"][0]["color"];   // B takes A's colour
    file["Materials"][2]["lethal"] = true;
    ASSERT_TRUE(grid.LoadMaterials(file, why)) << why;
    EXPECT_EQ(grid.MaterialTable[1].colour, 0x10203001u);   // "Bridge" replaced the built-in record
    EXPECT_FALSE(grid.MaterialTable[2].lethal);             // A at 2
    EXPECT_TRUE(grid.MaterialTable[4].lethal);              // B at 4, 3 skipped
    EXPECT_EQ(grid.MaterialTable[3].colour, 0u);
    EXPECT_EQ(grid.ColourToMaterial.at(0x10203000), 4);   // the later material wins the colour
    EXPECT_EQ(grid.ColourToMaterial.at(0x000000FF), 0);

    PixelGrid none;
    ASSERT_TRUE(none.LoadMaterials(json::object(), why));   // no "Materials": built-ins only
    EXPECT_EQ(none.ColourToMaterial.size(), 2u);
}

TEST(PixelGridMaterials, TheIdRangeHoldsTwoHundredFiftyFour)
{
    const auto names = [](size_t count, size_t bridgeAt) {
        std::vector<std::string> list;
        for (size_t i = 0; i < count; ++i)
        {
            std::string name = "M";
            name += std::to_string(i);
            list.push_back(i == bridgeAt ? "Bridge" : name);
        }
        return list;
    };
    const size_t noBridge = std::numeric_limits<size_t>::max();
    const struct
    {
        size_t count, bridgeAt;
        bool fits;
    } cases[] = {
        {254, noBridge, true},    // ids 2..255
        {255, noBridge, false},   // the 255th would wrap onto the built-in empty id
        {255, 254, true},         // a bridge last needs no new id
        {255, 0, false},          // a bridge first pushes the others one id further
    };
    for (const auto& c : cases)
    {
        PixelGrid grid;
        std::string why;
        EXPECT_EQ(grid.LoadMaterials(MaterialList(names(c.count, c.bridgeAt)), why), c.fits)
            << c.count << " materials, bridge at " << c.bridgeAt;
        if (c.fits)
            EXPECT_NE(grid.MaterialTable[255].colour, 0u);
        else
        {
            EXPECT_NE(why.find("more than the 254 ids"), std::string::npos) << why;
            EXPECT_EQ(grid.ColourToMaterial.size(), 2u);   // nothing half-loaded
            EXPECT_EQ(grid.MaterialTable[0].colour, PixelGrid::EmptyColour);
        }
    }
}

TEST(PixelGridMaterials, MalformedEntriesChangeNothing)
{
    const struct
    {
        const char* entry;
        const char* why;
    } cases[] = {
        {R"(5)", "material 1 is not an object"},
        {R"({"name": 3, "color": 1, "solid": true, "diggable": true, "lethal": true})",
         "\"name\" is not a text"},
        {R"({"name": "X", "color": -1, "solid": true, "diggable": true, "lethal": true})", "\"color\""},
        {R"({"name": "X", "color": "red", "solid": true, "diggable": true, "lethal": true})", "\"color\""},
        {R"({"name": "X", "color": 4294967296, "solid": true, "diggable": true, "lethal": true})",
         "\"color\""},
        {R"({"name": "X", "color": 1, "solid": "yes", "diggable": true, "lethal": true})", "\"solid\""},
        {R"({"name": "X", "color": 1, "solid": true, "lethal": true})", "\"diggable\""},
    };
    for (const auto& c : cases)
    {
        PixelGrid grid;
        json file = MaterialList({"Good"});
        file["Materials"].push_back(json::parse(c.entry));
        std::string why;
        EXPECT_FALSE(grid.LoadMaterials(file, why)) << c.entry;
        EXPECT_NE(why.find(c.why), std::string::npos) << c.entry << " gave: " << why;
        EXPECT_EQ(grid.ColourToMaterial.count(0x10203000), 0u) << "the good entry before it was applied";
    }
    PixelGrid grid;
    std::string why;
    EXPECT_FALSE(grid.LoadMaterials({{"Materials", "many"}}, why));
    EXPECT_EQ(why, "\"Materials\" is not a list");
}

TEST(PixelGridCoordinates, WorldToCellRoundsHalvesAwayFromZeroAndChecksBounds)
{
    auto grid = AsciiGrid::Filled(4, 3, '#');
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        float cellSize;
        Vec2 origin;
        Vec3 world;
        int x, y;
        bool inside;
    } cases[] = {
        {1, {0, 0}, {0.5f, 0.5f, 0}, 1, 1, true},   {1, {0, 0}, {0.49f, 1.5f, 0}, 0, 2, true},
        {1, {0, 0}, {-0.5f, 0, 0}, -1, 0, false},   // left of the grid: negative and false
        {1, {0, 0}, {-0.49f, 0, 0}, 0, 0, true},    {1, {0, 0}, {3.49f, 2.49f, 0}, 3, 2, true},
        {1, {0, 0}, {3.5f, 0, 0}, 4, 0, false},     {1, {0, 0}, {0, 2.5f, 0}, 0, 3, false},
        {2, {1, 0}, {0.25f, 0.75f, 0}, 2, 2, true},   // c = w * CellSize + Origin
        {2, {1, 0}, {-0.75f, 0, 0}, -1, 0, false},  {0.5f, {-1, -1}, {7.0f, 5.0f, 0}, 3, 2, true},
    };
    for (const auto& c : cases)
    {
        grid->CellSize = c.cellSize;
        grid->Origin = c.origin;
        int x = 99, y = 99;
        EXPECT_EQ(grid->WorldToCell(c.world, x, y), c.inside) << c.world.x << ", " << c.world.y;
        EXPECT_EQ(x, c.x) << c.world.x << ", " << c.world.y << " at size " << c.cellSize;
        EXPECT_EQ(y, c.y) << c.world.x << ", " << c.world.y << " at size " << c.cellSize;
        // Back again: the cell's own coordinates lie where the cell is.
        const Vec2 back = grid->CellToWorld(static_cast<float>(c.x), static_cast<float>(c.y));
        const Vec3 corner = grid->CellToWorldMatrix().TransformPoint({float(c.x), float(c.y), 0});
        EXPECT_FLOAT_EQ(back.x, corner.x);
        EXPECT_FLOAT_EQ(back.y, corner.y);
        int bx, by;
        grid->WorldToCell({back.x, back.y, 0}, bx, by);
        EXPECT_EQ(bx, c.x);
        EXPECT_EQ(by, c.y);
    }

    // Positions that are not numbers or lie absurdly far away are outside, never wrapped ints.
    grid->CellSize = 1;
    grid->Origin = {0, 0};
    for (Vec3 far : {Vec3{nan, 1, 0}, Vec3{1, nan, 0}, Vec3{1e30f, 1, 0}, Vec3{-1e30f, 1, 0},
                     Vec3{std::numeric_limits<float>::infinity(), 0, 0}})
    {
        int x = 0, y = 0;
        EXPECT_FALSE(grid->WorldToCell(far, x, y));
        EXPECT_FALSE(grid->IsInside(x, y));
        EXPECT_EQ(grid->GetCell(x, y), PixelGrid::Empty);
    }
}

TEST(PixelGridContact, FiveProbesAtTheColliderBoxCorners)
{
    // Each probe cell holds another material, so a probe read from the wrong cell shows.
    auto grid = AsciiGrid::Make(
        {
            "......",
            ".R..~.",
            "......",
            ".#.=..",
            "RRRRRR",
        },
        2.0f, {0.5f, 0.5f});
    // World x 0.35..2.1 is cell x 1.2..4.7; world y 0.3..1.7 is cell y 1.1..3.9.
    Probe probe(0.35f, 0.3f, 2.1f, 1.7f);
    grid->CollideLine(probe.line);
    ASSERT_EQ(probe.recorder->contacts.size(), 1u);
    const PixelContact& contact = probe.recorder->contacts[0];
    EXPECT_EQ(contact.Grid, grid.get());
    const struct
    {
        PixelContact::Probe probe;
        int cx, cy;
        uint8_t material;
    } expected[] = {
        {PixelContact::BottomLeft, 1, 1, AsciiGrid::Ground},
        {PixelContact::BottomRight, 4, 1, PixelGrid::Empty},
        {PixelContact::TopRight, 4, 3, AsciiGrid::Acid},
        {PixelContact::TopLeft, 1, 3, AsciiGrid::Rock},
        {PixelContact::BottomCentre, 3, 1, PixelGrid::Bridge},   // round((1 + 4) / 2) = 3
    };
    for (const auto& e : expected)
    {
        const PixelProbe& p = contact.Probes[e.probe];
        EXPECT_EQ(p.Cell.x, float(e.cx)) << "probe " << e.probe;
        EXPECT_EQ(p.Cell.y, float(e.cy)) << "probe " << e.probe;
        EXPECT_EQ(p.Material, e.material) << "probe " << e.probe;
        EXPECT_FLOAT_EQ(p.World.x, (e.cx - 0.5f) / 2.0f) << "probe " << e.probe;
        EXPECT_FLOAT_EQ(p.World.y, (e.cy - 0.5f) / 2.0f) << "probe " << e.probe;
    }
    EXPECT_TRUE(contact.IsSolid(PixelContact::BottomLeft));
    EXPECT_TRUE(contact.IsDiggable(PixelContact::BottomLeft));
    EXPECT_FALSE(contact.IsDiggable(PixelContact::TopLeft));
    EXPECT_TRUE(contact.IsLethal(PixelContact::TopRight));
    EXPECT_FALSE(contact.IsSolid(PixelContact::TopRight));
    EXPECT_TRUE(contact.IsSolid(PixelContact::BottomCentre));
}

TEST(PixelGridContact, ReportedEveryCallToTheFirstBehaviourOnly)
{
    auto grid = AsciiGrid::Filled(4, 4, '#');
    // Entirely outside: five empty probes, still reported, every time.
    Probe outside(10, 10, 11, 11);
    grid->CollideLine(outside.line);
    grid->CollideLine(outside.line);
    ASSERT_EQ(outside.recorder->contacts.size(), 2u);
    for (const PixelProbe& p : outside.recorder->contacts[1].Probes)
        EXPECT_EQ(p.Material, PixelGrid::Empty);
    EXPECT_FALSE(outside.recorder->contacts[1].IsSolid(PixelContact::BottomCentre));

    Probe inside(0.1f, 0.1f, 1.9f, 1.9f);
    ProbeRecorder* second = new ProbeRecorder();
    inside.entity.AddComponent(second);
    grid->CollideLine(inside.line);
    EXPECT_EQ(inside.recorder->contacts.size(), 1u);
    EXPECT_TRUE(second->contacts.empty());

    // Only line colliders with segments are probed; a collider without entity is refused.
    inside.line->Segments.clear();
    grid->CollideLine(inside.line);
    ColliderCircle* circle = new ColliderCircle();
    inside.entity.AddComponent(circle);
    grid->CollideLine(circle);
    grid->CollideLine(nullptr);
    ColliderLine loose;
    grid->CollideLine(&loose);
    EXPECT_EQ(inside.recorder->contacts.size(), 1u);
}

TEST(PixelGridCells, SetCellWritesOnlyInsideAndMarksRows)
{
    auto grid = AsciiGrid::Make({
        "....",
        "....",
        "####",
    });
    grid->Update(0);   // the first upload sends everything
    EXPECT_EQ(grid->UploadedRows, 3);
    EXPECT_FALSE(grid->Dirty);

    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {std::numeric_limits<int>::min(), 0}})
        grid->SetCell(x, y, AsciiGrid::Rock);
    grid->SetCell(0, 0, AsciiGrid::Ground);   // unchanged
    EXPECT_FALSE(grid->Dirty);

    grid->SetCell(1, 0, 256 + PixelGrid::Bridge);   // low 8 bits
    grid->SetCell(2, 2, AsciiGrid::Rock);
    EXPECT_TRUE(grid->Dirty);
    EXPECT_EQ(AsciiGrid::Draw(*grid), (std::vector<std::string>{"..R.", "....", "#=##"}));
    grid->Update(0);
    EXPECT_EQ(grid->UploadedRows, 2);   // rows 0 and 2, not row 1
    EXPECT_FALSE(grid->Dirty);
    grid->Update(0);
    EXPECT_EQ(grid->UploadedRows, 2) << "no upload without a change";

    // Code that wrote the cells directly asks for everything.
    grid->Cells[5] = AsciiGrid::Acid;
    grid->MarkAllDirty();
    grid->SetCell(0, 2, AsciiGrid::Rock);
    grid->Update(0);
    EXPECT_EQ(grid->UploadedRows, 3);
}

TEST(PixelGridCells, UploadWordsAreMaterialColoursAndEmptyIsClear)
{
    auto grid = AsciiGrid::Make({"#=.R"});
    grid->Update(0);
    ASSERT_EQ(grid->UploadBuffer.size(), 4u);
    EXPECT_EQ(grid->UploadBuffer[0], 0x7A5230FFu);
    EXPECT_EQ(grid->UploadBuffer[1], PixelGrid::BridgeColour);
    EXPECT_EQ(grid->UploadBuffer[2], 0u);   // empty cells draw nothing
    EXPECT_EQ(grid->UploadBuffer[3], 0x6E6E78FFu);
    // A native word: the bytes the texture receives are A, B, G, R of the packed colour.
    unsigned char bytes[4];
    std::memcpy(bytes, &grid->UploadBuffer[0], 4);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0x30);
    EXPECT_EQ(bytes[2], 0x52);
    EXPECT_EQ(bytes[3], 0x7A);

    grid->SetCell(0, 0, PixelGrid::Empty);
    grid->Update(0);
    EXPECT_EQ(grid->UploadBuffer[0], 0u);

    // New materials recolour the cells already there.
    std::string why;
    ASSERT_TRUE(grid->LoadMaterials(MaterialList({"Repainted", "Also"}), why));
    grid->Update(0);
    EXPECT_EQ(grid->UploadedRows, 1);
    EXPECT_EQ(grid->UploadBuffer[3], 0x10203001u);   // rock, id 3, is now "Also"
}

TEST(PixelGridCells, EditKeysMoveTheCursorAndWriteWhileHeld)
{
    InputSystem& input = InputSystem::GetInstance();
    const struct
    {
        std::vector<int> held;
        int start;
        int cursor;
        const char* row0;   // bottom row afterwards
        const char* row1;
    } cases[] = {
        {{Key::Left, Key::Enter}, 0, 7, "####", "...="},   // holding Left at 0 writes the last cell
        {{Key::Right, Key::Enter}, 7, 0, "=###", "...."},
        {{Key::Up, Key::Enter}, 1, 5, "####", ".=.."},
        {{Key::Down, Key::Backspace}, 5, 1, "#.##", "...."},
        {{Key::Right, Key::Left, Key::Up, Key::Down}, 2, 2, "####", "...."},
        {{Key::Enter, Key::Backspace}, 4, 4, "####", "...."},   // bridge, then empty again
    };
    for (const auto& c : cases)
    {
        auto grid = AsciiGrid::Make({"....", "####"});
        grid->DebugIndex = c.start;
        std::fill(std::begin(input.state), std::end(input.state), 0);
        for (int key : c.held)
            input.state[key] = 2;
        grid->Update(0.016f);
        EXPECT_EQ(grid->DebugIndex, c.cursor) << "from " << c.start;
        EXPECT_EQ(AsciiGrid::Draw(*grid), (std::vector<std::string>{c.row1, c.row0})) << "from " << c.start;
    }

    // A key that went down this frame does not act yet; a grid without cells ignores the keys.
    auto grid = AsciiGrid::Make({"....", "####"});
    std::fill(std::begin(input.state), std::end(input.state), 0);
    input.state[Key::Enter] = 1;
    input.state[Key::Right] = 1;
    grid->Update(0.016f);
    EXPECT_EQ(grid->DebugIndex, 0);
    EXPECT_EQ(grid->GetCell(0, 0), AsciiGrid::Ground);
    PixelGrid empty;
    input.state[Key::Enter] = 2;
    input.state[Key::Left] = 2;
    empty.Update(0.016f);
    EXPECT_TRUE(empty.Cells.empty());
    std::fill(std::begin(input.state), std::end(input.state), 0);
}

TEST(PixelGridCells, CloneOwnsItsCellsAndKeepsItsMaterials)
{
    auto grid = AsciiGrid::Make({"~.", "#R"}, 4.0f, {1, 2});
    grid->palette = "debug";
    grid->Source = "Somewhere";
    std::unique_ptr<PixelGrid> copy(static_cast<PixelGrid*>(grid->Clone()));
    EXPECT_EQ(copy->Parent, nullptr);
    EXPECT_EQ(AsciiGrid::Draw(*copy), AsciiGrid::Draw(*grid));
    EXPECT_EQ(copy->UploadBuffer.size(), 4u);
    EXPECT_NE(copy->UploadBuffer.data(), grid->UploadBuffer.data());
    EXPECT_TRUE(copy->Dirty);
    EXPECT_TRUE(copy->MaterialAt(0, 1).lethal);
    EXPECT_FALSE(copy->MaterialAt(1, 0).diggable);
    json original, cloned;
    grid->Write(original);
    copy->Write(cloned);
    EXPECT_EQ(cloned, original);

    copy->SetCell(0, 0, PixelGrid::Empty);
    copy->Update(0);
    EXPECT_EQ(grid->GetCell(0, 0), AsciiGrid::Ground);
    EXPECT_EQ(copy->UploadBuffer[0], 0u);
}
