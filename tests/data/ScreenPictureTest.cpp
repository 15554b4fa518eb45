// What a player sees, whole: the main menu and every level drawn from the game's own data in a
// 1440 x 810 window, a few frames after each loads (before any hatch opens), compared pixel by
// pixel with pictures kept under tests/data/screens. The drawing code may change how it draws
// (order of submission, batching, state changes) but not what lands on the screen.
//
// To take the pictures again after a deliberate change of art or layout, run this test with
// ZOVERAV_WRITE_SCREENS set: it writes the pictures instead of comparing, and says so.
#include "engine/EditorState.h"
#include "engine/InputSystem.h"
#include "graphics/GraphicsSystem.h"
#include "scene/SceneSystem.h"
#include "tests/common/GlWindow.h"
#include "tests/common/SceneFlowFixture.h"

#include <GL/glew.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <stb_image.h>
#include <stb_image_write.h>
#include <vector>

namespace
{
const std::string ScreensFolder = ZOVERAV_SOURCE_DIR "/tests/data/screens/";

// A channel may differ by this much: blends computed in another order or precision land there.
constexpr int ChannelTolerance = 2;

struct Picture
{
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;   // rows from the top
};

Picture ReadBack(int width, int height)
{
    GraphicsSystem::GetInstance().Flush();
    glFinish();
    std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    Picture picture{width, height, std::vector<unsigned char>(static_cast<size_t>(width) * height * 3)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                picture.rgb[(static_cast<size_t>(height - 1 - y) * width + x) * 3 + c] =
                    rgba[(static_cast<size_t>(y) * width + x) * 4 + c];
    return picture;
}

bool Load(const std::string& path, Picture& picture)
{
    int channels = 0;
    stbi_set_flip_vertically_on_load(0);
    unsigned char* data = stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 3);
    if (!data)
        return false;
    picture.rgb.assign(data, data + static_cast<size_t>(picture.width) * picture.height * 3);
    stbi_image_free(data);
    return true;
}

bool Save(const std::string& path, const Picture& picture)
{
    return stbi_write_png(path.c_str(), picture.width, picture.height, 3, picture.rgb.data(),
                          picture.width * 3) != 0;
}

// Pixels whose channels differ by more than the tolerance, where they lie, and a picture of them:
// the expected picture dimmed, every differing pixel in magenta.
struct Difference
{
    int count = 0;
    int left = 0, top = 0, right = -1, bottom = -1;
    int largest = 0;
    Picture map;
};

Difference Compare(const Picture& expected, const Picture& actual)
{
    Difference d;
    d.map = expected;
    d.left = expected.width;
    d.top = expected.height;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
        {
            const size_t at = (static_cast<size_t>(y) * expected.width + x) * 3;
            int worst = 0;
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(expected.rgb[at + c] - actual.rgb[at + c]));
            for (int c = 0; c < 3; ++c)
                d.map.rgb[at + c] = static_cast<unsigned char>(d.map.rgb[at + c] / 4);
            if (worst <= ChannelTolerance)
                continue;
            ++d.count;
            d.largest = std::max(d.largest, worst);
            d.left = std::min(d.left, x), d.right = std::max(d.right, x);
            d.top = std::min(d.top, y), d.bottom = std::max(d.bottom, y);
            d.map.rgb[at] = 255, d.map.rgb[at + 1] = 0, d.map.rgb[at + 2] = 255;
        }
    return d;
}

class ScreenPictureTest : public GlWindowTest
{
protected:
    ScreenPictureTest() : GlWindowTest(1440, 810) {}

    void TearDown() override
    {
        DebugDrawing = false;
        GlWindowTest::TearDown();
    }

    // The scene loaded as the game loads it, then a few frames.
    Picture Show(const std::string& scene)
    {
        EXPECT_TRUE(SceneSystem::GetInstance().LoadScene(scene)) << scene;
        return Run(3);
    }

    // Frames in the engine's order (clear, systems, debug lines over everything), then the last
    // one read back.
    Picture Run(int frames)
    {
        GraphicsSystem& graphics = GraphicsSystem::GetInstance();
        for (int i = 0; i < frames; ++i)
        {
            graphics.BeginFrame();
            SceneFlowFixture::Frame();
            graphics.debugDrawing = DebugDrawing;
            graphics.DrawDebugLines();
        }
        return ReadBack(width, height);
    }

    void Check(const std::string& name, const Picture& actual)
    {
        const std::string path = ScreensFolder + name + ".png";
        if (std::getenv("ZOVERAV_WRITE_SCREENS"))
        {
            ASSERT_TRUE(Save(path, actual)) << path;
            std::cout << "wrote " << path << "\n";
            return;
        }
        Picture expected;
        ASSERT_TRUE(Load(path, expected)) << "cannot read " << path;
        ASSERT_EQ(expected.width, actual.width) << path;
        ASSERT_EQ(expected.height, actual.height) << path;
        const Difference d = Compare(expected, actual);
        if (d.count == 0)
            return;
        const std::string out = testing::TempDir() + "zoverav-screen-" + name;
        Save(out + "-actual.png", actual);
        Save(out + "-difference.png", d.map);
        ADD_FAILURE() << name << ": " << d.count << " pixels differ by more than " << ChannelTolerance
                      << " (at most " << d.largest << "), within x " << d.left << ".." << d.right << ", y "
                      << d.top << ".." << d.bottom << " from the top left; see " << out
                      << "-actual.png and -difference.png";
    }

    SceneFlowFixture flow{SceneFlowFixture::GameData};
};
}   // namespace

TEST_F(ScreenPictureTest, MenuAndLevelsLookAsTheyDid)
{
    Check("MainMenu", Show("Data/Scenes/MainMenuScene.json"));
    for (int level = 1; level <= 5; ++level)
    {
        const std::string number = std::to_string(level);
        Check("Level" + number, Show("Data/Scenes/LevelScene" + number + ".json"));
    }
}

TEST_F(ScreenPictureTest, DebugLinesLieOverTheLevel)
{
    DebugDrawing = true;
    Check("Level1DebugLines", Show("Data/Scenes/LevelScene1.json"));
}

TEST_F(ScreenPictureTest, BotsWalkOutOfTheOpenHatch)
{
    // Two seconds after the hatch opens: the first bots are out, walking and overlapping.
    Show("Data/Scenes/LevelScene1.json");
    flow.Tap(Key::Space);
    Check("Level1BotsOut", Run(120));
}
