// Level 3 won on the real game with the real mouse, as a player wins it: the bridge job armed by
// clicking its button, each builder picked by the mouse held where the first bot will walk in
// a few steps before a chasm, each bridge seen drawn across its chasm, then the rest played out
// at 4x speed until the level is won and level 4 is unlocked in the saved progress.
#include "tests/common/GameHarness.h"
#include "tests/common/TempFolder.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <thread>

using namespace std::chrono_literals;

namespace
{
// Where a button of a level's interface shows, read from the game's copy of the scene file: the
// place of the interface slot that holds it (the slot hangs from the camera at its own x and y).
std::optional<ScreenPoint> ButtonOnScreen(const std::filesystem::path& sceneFile, const std::string& name)
{
    std::ifstream in(sceneFile);
    const nlohmann::json scene = nlohmann::json::parse(in, nullptr, false);
    if (!scene.is_object())
        return std::nullopt;
    for (const nlohmann::json& entity : scene.value("Entities", nlohmann::json::array()))
    {
        bool holds = entity.value("Name", "") == name;
        std::optional<ScreenPoint> at;
        for (const nlohmann::json& component : entity.value("Components", nlohmann::json::array()))
        {
            const auto elements = component.value("UIElements", std::vector<std::string>{});
            holds = holds || std::find(elements.begin(), elements.end(), name) != elements.end();
            if (component.value("Type", "") == "Transform")
            {
                const auto place = component.value("Translation", std::vector<double>{0, 0, 0});
                at = WorldOnScreen(place.at(0), place.at(1));
            }
        }
        if (holds && at)
            return at;
    }
    return std::nullopt;
}

// The colour of the level's bridge cells, from its materials file.
Screenshot::Rgb BridgeColour(const std::filesystem::path& materialsFile)
{
    std::ifstream in(materialsFile);
    const nlohmann::json doc = nlohmann::json::parse(in, nullptr, false);
    if (doc.is_object())
        for (const nlohmann::json& material : doc.value("Materials", nlohmann::json::array()))
            if (material.value("name", "") == "Bridge")
            {
                const uint32_t c = material.value("color", 0u);
                return {int(c >> 24 & 0xFF), int(c >> 16 & 0xFF), int(c >> 8 & 0xFF)};
            }
    return {};
}

bool Same(const Screenshot::Rgb& a, const Screenshot::Rgb& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// Level 3's floor: its top row is 39, 8 cells to a unit, the grid centred on cell (88, 48). A
// bot standing on it has its centre half a unit above y = -1.
constexpr double BotY = -0.5;
double CellX(double cell) { return (cell - 88) / 8; }
constexpr double BridgeY = -1.125;   // the middle of the bridge's two rows (38 and 39)
}   // namespace

TEST(LevelPlayE2E, LevelThreeIsWonWithTheMouseBuildingBothBridges)
{
    GameSession game;
    game.WriteSetting("LevelCompleted.json", R"({"LevelCompleted": [1, 2, 3]})");
    ASSERT_EQ(game.StartToMenu(), "");
    const std::string& display = game.Display();
    ASSERT_TRUE(game.ClickFor(0, 0.0, "SCENE: [Data/Scenes/LevelLoaderScene.json] loaded"))
        << game.log.Tail();
    ASSERT_TRUE(game.ClickFor(0, 3.6 - 3 * 1.2, "SCENE: [Data/Scenes/LevelScene3.json] loaded"))
        << game.log.Tail();

    const auto bridgeButton =
        ButtonOnScreen(game.work.Path() / "Data/Scenes/LevelScene3.json", "MonkeyBridgeButton");
    ASSERT_TRUE(bridgeButton);
    const Screenshot::Rgb bridge = BridgeColour(game.work.Path() / "Data/Levels/Level3.json");

    // The chasms span cells 60 to 83 and 112 to 127. The first bot to walk into the held cursor
    // takes the job: two cells before the first chasm, two before the second.
    struct Chasm
    {
        double pickAt;   // cell column of the cursor
        double middle;   // cell column in the middle of the chasm
    } chasms[] = {{58, 72}, {110, 120}};
    const auto brightness = [&](const Screenshot& shot) {
        const Screenshot::Rgb p = shot.At(bridgeButton->x, bridgeButton->y);
        return p.r + p.g + p.b;
    };
    const auto normal = Screenshot::Take(display);
    ASSERT_TRUE(normal);
    bool hatchOpen = false;
    for (const Chasm& chasm : chasms)
    {
        SCOPED_TRACE(chasm.middle);
        // Armed, the button keeps its pressed look; a click a slow frame missed is made again.
        const ScreenPoint pick = WorldOnScreen(CellX(chasm.pickAt), BotY);
        bool armed = false;
        for (int attempt = 0; attempt < 3 && !armed; ++attempt)
        {
            ClickAt(display, bridgeButton->x, bridgeButton->y);
            std::this_thread::sleep_for(250ms);
            Xdotool(display, "mousemove " + std::to_string(pick.x) + " " + std::to_string(pick.y));
            for (auto end = std::chrono::steady_clock::now() + 3s;
                 !armed && std::chrono::steady_clock::now() < end;)
            {
                std::this_thread::sleep_for(100ms);
                const auto shot = Screenshot::Take(display);
                armed = shot && brightness(*shot) * 3 < brightness(*normal) * 2;
            }
        }
        ASSERT_TRUE(armed) << "the bridge button did not take the click\n" << game.log.Tail();
        Xdotool(display, "mousedown 1");
        if (!hatchOpen)
        {
            PressKey(display, "space");
            hatchOpen = true;
        }
        // Held until the bridge shows across the chasm (a loaded machine runs the game slowly).
        const ScreenPoint middle = WorldOnScreen(CellX(chasm.middle), BridgeY);
        bool built = false;
        for (auto end = std::chrono::steady_clock::now() + 60s;
             !built && std::chrono::steady_clock::now() < end;)
        {
            std::this_thread::sleep_for(200ms);
            const auto shot = Screenshot::Take(display);
            built = shot && Same(shot->At(middle.x, middle.y), bridge);
        }
        Xdotool(display, "mouseup 1");
        ASSERT_TRUE(built) << "no bridge across the chasm\n" << game.log.Tail();
    }

    PressKey(display, "g");   // 4x
    ASSERT_TRUE(game.log.WaitFor("SCENE: [Data/Scenes/WinScene.json] loaded as the pause overlay", 120s))
        << game.log.Tail();
    const std::string saved = TempFolder::ReadFile(game.SettingsFolder() + "/LevelCompleted.json");
    const nlohmann::json progress = nlohmann::json::parse(saved, nullptr, false);
    ASSERT_TRUE(progress.is_object()) << saved;
    const auto levels = progress.value("LevelCompleted", std::vector<int>{});
    EXPECT_NE(std::find(levels.begin(), levels.end(), 4), levels.end()) << saved;

    PressKey(display, "End");
    EXPECT_TRUE(game.WaitForExit(20s)) << "the game did not close on End";
}
