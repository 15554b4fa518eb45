// Which draws after the kept layer need its depth, judged without a window: a terrain plane at
// z 0 and a background at z -1 kept, seen by the default camera in a 160 x 90 window.
#include "graphics/KeptDepth.h"
#include "engine/WindowSystem.h"
#include "graphics/Camera.h"
#include "graphics/Mesh.h"

#include <gtest/gtest.h>

namespace
{
Mesh Box(float depth)
{
    Mesh mesh;
    for (int corner = 0; corner < 8; ++corner)
    {
        MeshVertex v;
        v.position[0] = corner & 1 ? 0.5f : -0.5f;
        v.position[1] = corner & 2 ? 0.5f : -0.5f;
        v.position[2] = corner & 4 ? depth / 2 : -depth / 2;
        mesh.vertices.push_back(v);
    }
    return mesh;
}

class KeptDepthTest : public testing::Test
{
protected:
    void SetUp() override
    {
        WindowSystem& windows = WindowSystem::GetInstance();
        savedWidth = windows.width, savedHeight = windows.height;
        windows.width = Width, windows.height = Height;
        Camera& camera = Camera::GetInstance();
        camera.SetTarget(nullptr);
        worldToClip = Matrix4::Multiply(camera.GetProjectionMatrix(), camera.GetViewMatrix());
        needs.AddKept(Of(plane, Placed({0, 0, 0}, 10)));
        needs.AddKept(Of(plane, Placed({0, 0, -1}, 30)));
        needs.BeginNeeds(Width, Height);
    }
    void TearDown() override
    {
        WindowSystem& windows = WindowSystem::GetInstance();
        windows.width = savedWidth, windows.height = savedHeight;
    }
    static Matrix4 Placed(Vec3 at, float size)
    {
        return Matrix4::Multiply(Matrix4::Translation(at), Matrix4::Scale({size, size, size}));
    }
    KeptDepth::Span Of(const Mesh& mesh, const Matrix4& model) const
    {
        return KeptDepth::Of(mesh, model, worldToClip, Width, Height);
    }
    // Whether the needed rectangles cover a pixel.
    bool Covers(int x, int y) const
    {
        for (const std::array<int, 4>& r : needs.Needed())
            if (x >= r[0] && x < r[0] + r[2] && y >= r[1] && y < r[1] + r[3])
                return true;
        return false;
    }

    static constexpr int Width = 160, Height = 90;
    const Mesh plane = Box(0), cube = Box(1);
    Matrix4 worldToClip;
    KeptDepth needs;
    int savedWidth = 0, savedHeight = 0;
};
}   // namespace

TEST_F(KeptDepthTest, OnlyDrawsThatMayLieBehindTheKeptLayerNeedItsDepth)
{
    // World (x, y, 0) lands on pixel (80 + 7.24 x, 45 + 7.24 y).
    const struct
    {
        const char* what;
        bool cubic;
        Matrix4 model;
        bool needs;
    } cases[] = {
        {"in front", false, Placed({-6, 3, 0.3f}, 1), false},
        {"level with the terrain, facing the eye", false, Placed({-3, 3, 0}, 1), false},
        {"level but tilted", false, Matrix4::Multiply(Placed({0, 3, 0}, 1), Matrix4::Rotation(30, {1, 0, 0})),
         true},
        {"a hair in front, closer than rounding", false, Placed({3, 3, 1e-6f}, 1), true},
        {"behind the terrain", false, Placed({-6, -3, -0.5f}, 1), true},
        {"a box through the terrain", true, Placed({3, -3, 0}, 1), true},
    };
    for (const auto& c : cases)
    {
        needs.BeginNeeds(Width, Height);
        EXPECT_EQ(needs.Need(Of(c.cubic ? cube : plane, c.model)), c.needs) << c.what;
        const int x = static_cast<int>(80 + 7.2436f * c.model.At(0, 3));
        const int y = static_cast<int>(45 + 7.2436f * c.model.At(1, 3));
        EXPECT_EQ(Covers(x, y), c.needs) << c.what;
        EXPECT_FALSE(Covers(x + 2 * KeptDepth::Tile, y)) << c.what << ": only under the draw";
    }
}

TEST_F(KeptDepthTest, ADrawReachingBehindTheEyeNeedsTheDepthEverywhere)
{
    EXPECT_TRUE(needs.Need(Of(plane, Placed({0, 0, 20}, 1))));
    long area = 0;
    for (const std::array<int, 4>& r : needs.Needed())
        area += static_cast<long>(r[2]) * r[3];
    EXPECT_GE(area, long{Width} * Height);
    EXPECT_TRUE(Covers(0, 0));
    EXPECT_TRUE(Covers(Width - 1, Height - 1));
}
