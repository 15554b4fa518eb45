#include "graphics/Mesh.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/MeshLibrary.h"
#include "tests/common/TestDataFolder.h"
#include "tests/common/TraceCapture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace
{
const std::string MalformedFolder = ZOVERAV_SOURCE_DIR "/tests/data/meshes";

struct Corner
{
    float position[3], color[3], normal[3], texCoord[2];
};

void ExpectVertex(const MeshVertex& v, const Corner& c, const std::string& where)
{
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_FLOAT_EQ(v.position[i], c.position[i]) << where << " position " << i;
        EXPECT_FLOAT_EQ(v.color[i], c.color[i]) << where << " colour " << i;
        EXPECT_FLOAT_EQ(v.normal[i], c.normal[i]) << where << " normal " << i;
    }
    for (int i = 0; i < 2; ++i)
        EXPECT_FLOAT_EQ(v.texCoord[i], c.texCoord[i]) << where << " uv " << i;
}
}   // namespace

TEST(MeshParse, GoodFilesGiveTheirVerticesIndicesAndName)
{
    struct Case
    {
        const char* what;
        const char* text;
        std::vector<uint32_t> indices;
        std::vector<Corner> vertices;
        const char* objectName;
    } cases[] = {
        {"a triangle with comments, unknown records and Windows line ends",
         "# made by hand\r\no Tri\r\nmtllib none\r\nv 0 0 0 1 0 0\r\nv 1 0 0 0 1 0\r\nv 0 1 0 0 0 1\r\n\r\n"
         "vt 0 0\r\nvt 1 0\r\nvt 0 1\r\nvn 0 0 1\r\ns off\r\nf 1/1/1 2/2/1 3/3/1\r\n",
         {0, 1, 2},
         {{{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, 0}},
          {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0}},
          {{0, 1, 0}, {0, 0, 1}, {0, 0, 1}, {0, 1}}},
         "Tri"},
        {"plain positions become white vertices; no name line, no name",
         "v -1 -1 0\nv 1 -1 0\nv 0 1 0\nvt 0.5 0.25\nvn 0 0 -1\nf 3/1/1 2/1/1 1/1/1",
         {2, 1, 0},
         {{{-1, -1, 0}, {1, 1, 1}, {0, 0, -1}, {0.5f, 0.25f}},
          {{1, -1, 0}, {1, 1, 1}, {0, 0, -1}, {0.5f, 0.25f}},
          {{0, 1, 0}, {1, 1, 1}, {0, 0, -1}, {0.5f, 0.25f}}},
         ""},
        {"a vertex named by two faces keeps the later face's attributes",
         "v 0 0 0 1 1 1\nv 1 0 0 1 1 1\nv 1 1 0 1 1 1\nv 0 1 0 1 1 1\nvt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt 0.5 "
         "0.5\n"
         "vn 0 0 1\nvn 1 0 0\nf 1/1/1 2/2/1 3/3/1\nf 1/5/2 3/3/2 4/4/2\n",
         {0, 1, 2, 0, 2, 3},
         {{{0, 0, 0}, {1, 1, 1}, {1, 0, 0}, {0.5f, 0.5f}},
          {{1, 0, 0}, {1, 1, 1}, {0, 0, 1}, {1, 0}},
          {{1, 1, 0}, {1, 1, 1}, {1, 0, 0}, {1, 1}},
          {{0, 1, 0}, {1, 1, 1}, {1, 0, 0}, {0, 1}}},
         ""},
    };
    for (const Case& c : cases)
    {
        Mesh mesh;
        ASSERT_TRUE(mesh.Parse(c.text, "test.xobj")) << c.what;
        EXPECT_EQ(mesh.indices, c.indices) << c.what;
        EXPECT_EQ(mesh.objectName, c.objectName) << c.what;
        ASSERT_EQ(mesh.vertices.size(), c.vertices.size()) << c.what;
        for (size_t i = 0; i < c.vertices.size(); ++i)
            ExpectVertex(mesh.vertices[i], c.vertices[i],
                         std::string(c.what) + ", vertex " + std::to_string(i));
    }
}

// Only a flat quad in one colour whose texture coordinates follow its positions may be drawn in
// part; the corners it names are those at texture coordinates (0, 0), (1, 0) and (0, 1).
TEST(MeshParse, QuadsAreKnownByTheirCornersAndTextureCoordinates)
{
    const std::string corners = "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n";
    struct Case
    {
        const char* what;
        std::string text;
        int corners[3];
    } cases[] = {
        {"the game's plane",
         "v -0.5 -0.5 0\nv 0.5 -0.5 0\nv 0.5 0.5 0\nv -0.5 0.5 0\n" + corners +
             "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n",
         {0, 1, 3}},
        {"turned and sheared, split along the other diagonal, corners in another order",
         "v 2 1 0\nv 3 3 1\nv 0 2 0\nv 1 4 1\nvt 0 0\nvt 1 0\nvt 0 1\nvt 1 1\nvn 0 0 1\n"
         "f 1/1/1 2/2/1 4/4/1\nf 1/1/1 4/4/1 3/3/1\n",
         {0, 1, 2}},
        {"corners in two colours",
         "v 0 0 0 1 1 1\nv 1 0 0 1 0 0\nv 1 1 0 1 1 1\nv 0 1 0 1 1 1\n" + corners +
             "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n",
         {-1, -1, -1}},
        {"texture coordinates not at the corners",
         "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 0.5 0\n"
         "vt 1 1\nvt 0 1\nvn 0 0 1\n"
         "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n",
         {-1, -1, -1}},
        {"a corner out of the plane of the others",
         "v 0 0 0\nv 1 0 0\nv 1 1 0.5\nv 0 1 0\n" + corners + "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n",
         {-1, -1, -1}},
        {"two triangles along a side, not a diagonal",
         "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n" + corners + "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 2/2/1 4/4/1\n",
         {-1, -1, -1}},
        {"one triangle", "v 0 0 0\nv 1 0 0\nv 0 1 0\n" + corners + "f 1/1/1 2/2/1 3/4/1\n", {-1, -1, -1}},
    };
    for (const Case& c : cases)
    {
        Mesh mesh;
        ASSERT_TRUE(mesh.Parse(c.text, "test.xobj")) << c.what;
        EXPECT_EQ(mesh.IsQuad(), c.corners[0] >= 0) << c.what;
        EXPECT_EQ(std::vector<int>(mesh.quadCorners, mesh.quadCorners + 3),
                  std::vector<int>(c.corners, c.corners + 3))
            << c.what;
    }
    // A mesh loaded again as something else forgets that it was a quad.
    Mesh mesh;
    ASSERT_TRUE(mesh.Parse(cases[0].text, "test.xobj"));
    EXPECT_FALSE(mesh.Parse("v 0 0 0\n", "test.xobj"));
    EXPECT_FALSE(mesh.IsQuad());
}

TEST(MeshParse, MalformedFilesAreRejectedNamingFileAndLine)
{
    // Line 0: the fault belongs to the file as a whole.
    const std::map<std::string, int> expectedLine = {
        {"empty.xobj", 0},
        {"face-before-vertices.xobj", 3},
        {"face-four-corners.xobj", 7},
        {"face-negative.xobj", 6},
        {"face-past-normals.xobj", 6},
        {"face-past-texcoords.xobj", 6},
        {"face-past-vertices.xobj", 6},
        {"face-two-corners.xobj", 6},
        {"face-vertex-zero.xobj", 6},
        {"face-without-normal.xobj", 6},
        {"name-two-words.xobj", 1},
        {"no-faces.xobj", 0},
        {"normal-two-numbers.xobj", 6},
        {"texcoord-three-numbers.xobj", 6},
        {"vertex-five-numbers.xobj", 6},
        {"vertex-infinite.xobj", 6},
        {"vertex-not-a-number.xobj", 6},
        {"vertex-two-numbers.xobj", 1},
    };
    std::set<std::string> seen;
    for (const auto& entry : std::filesystem::directory_iterator(MalformedFolder))
    {
        const std::string file = entry.path().filename().string();
        seen.insert(file);
        ASSERT_TRUE(expectedLine.count(file)) << file << " has no expected line in this table";
        const int line = expectedLine.at(file);

        TraceCapture trace;
        Mesh mesh;
        mesh.vertices.resize(2);   // a previous content must not survive a failed load
        EXPECT_FALSE(mesh.LoadFromFile(entry.path().string())) << file;
        EXPECT_TRUE(mesh.vertices.empty() && mesh.indices.empty()) << file;
        const std::string where = line ? file + ":" + std::to_string(line) + "]" : file + "]";
        EXPECT_TRUE(trace.Contains("MESH: [") && trace.Contains(where)) << file << " gave:\n" << trace.All();
        EXPECT_EQ(trace.lines.size(), 1u) << trace.All();
    }
    EXPECT_EQ(seen.size(), expectedLine.size())
        << "a fixture listed here is missing from " << MalformedFolder;
}

class MeshLibraryTest : public testing::Test
{
protected:
    void SetUp() override { GraphicsSystem::GetInstance().Shutdown(); }
    void TearDown() override { GraphicsSystem::GetInstance().Shutdown(); }
    MeshLibrary& meshes = MeshLibrary::GetInstance();
};

TEST_F(MeshLibraryTest, EntriesAreFoundByTheNameTheyWereAskedFor)
{
    TestDataFolder data;
    // The file's own object name differs from its file name.
    data.Write("Parts/Renamed.xobj", "o SomethingElse\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n"
                                     "f 1/1/1 2/1/1 3/1/1\n");
    const int plane = meshes.FindOrLoad("Prim_Plane");
    const int renamed = meshes.FindOrLoad("Renamed");
    ASSERT_EQ(plane, 0);
    ASSERT_EQ(renamed, 1);
    EXPECT_EQ(meshes.FindOrLoad("Renamed"), renamed);
    EXPECT_EQ(meshes.FindOrLoad("Prim_Plane"), plane);
    EXPECT_EQ(meshes.Size(), 2);
    EXPECT_EQ(meshes.GetName(renamed), "Renamed");
    EXPECT_EQ(meshes.Get(renamed)->objectName, "SomethingElse");
    EXPECT_EQ(meshes.FindOrLoad("prim_plane"), -1) << "names are matched exactly";
}

TEST_F(MeshLibraryTest, MissingOrMalformedMeshesAreReportedOnceAndAnswerMinusOne)
{
    TestDataFolder data;
    data.Write("Parts/Broken.xobj", "v 0 0 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 1/1/1 2/1/1\n");
    for (const char* name : {"NoSuchMesh", "Broken"})
    {
        TraceCapture trace;
        EXPECT_EQ(meshes.FindOrLoad(name), -1) << name;
        EXPECT_EQ(meshes.FindOrLoad(name), -1) << name;
        EXPECT_EQ(meshes.Size(), 0) << name;
        ASSERT_EQ(trace.lines.size(), 1u) << trace.All();
        EXPECT_TRUE(trace.Contains(std::string(name) + ".xobj")) << trace.All();
    }
    EXPECT_TRUE(meshes.FindOrLoad("Prim_Plane") >= 0) << "a failure does not spoil later requests";
}

TEST_F(MeshLibraryTest, EmptyNamesAndIndicesOutsideTheLibrary)
{
    TraceCapture trace;
    EXPECT_EQ(meshes.FindOrLoad(""), -1);
    EXPECT_TRUE(trace.lines.empty()) << "nothing is loaded for an empty name";
    meshes.FindOrLoad("Prim_Plane");
    for (int index : {-1, meshes.Size(), 1000})
    {
        EXPECT_EQ(meshes.GetName(index), "") << index;
        EXPECT_EQ(meshes.Get(index), nullptr) << index;
    }
}

TEST_F(MeshLibraryTest, AuthoredPrimitivesTurnTheirFrontsOutward)
{
    // Each triangle is counter-clockwise seen from the side its normal points to, and the
    // cube's normals point away from its centre (back faces are culled).
    for (const char* name : {"Prim_Plane", "Prim_UnitPlane", "Prim_Cube"})
    {
        const Mesh* mesh = meshes.Get(meshes.FindOrLoad(name));
        ASSERT_NE(mesh, nullptr) << name;
        ASSERT_EQ(mesh->indices.size() % 3, 0u) << name;
        for (size_t t = 0; t < mesh->indices.size(); t += 3)
        {
            const float* a = mesh->vertices[mesh->indices[t]].position;
            const float* b = mesh->vertices[mesh->indices[t + 1]].position;
            const float* c = mesh->vertices[mesh->indices[t + 2]].position;
            const float* n = mesh->vertices[mesh->indices[t]].normal;
            const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
            const float v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
            const float cross[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                                    u[0] * v[1] - u[1] * v[0]};
            EXPECT_GT(cross[0] * n[0] + cross[1] * n[1] + cross[2] * n[2], 0.0f)
                << name << " triangle " << t / 3;
            if (std::string(name) == "Prim_Cube")
            {
                EXPECT_GT(a[0] * n[0] + a[1] * n[1] + a[2] * n[2], 0.0f) << "cube triangle " << t / 3;
            }
        }
    }
    const Mesh* unit = meshes.Get(meshes.FindOrLoad("Prim_UnitPlane"));
    for (const MeshVertex& v : unit->vertices)
    {
        EXPECT_TRUE(v.position[0] == 0 || v.position[0] == 1);
        EXPECT_TRUE(v.position[1] == 0 || v.position[1] == 1);
        EXPECT_EQ(v.texCoord[0], v.position[0]) << "texture coordinates follow the plane";
        EXPECT_EQ(v.texCoord[1], v.position[1]);
    }
}
