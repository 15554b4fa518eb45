// Writes the rendering's own data: the primitive meshes under Data/Parts/ (the plain "White" and
// "Black" pictures come from tools/art/make_art.py). Run from the repository root:
//   c++ -std=c++20 tools/MakeRenderData.cpp -o /tmp/make-render-data
//   /tmp/make-render-data Data
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace
{
struct V3
{
    float x, y, z;
};
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 Add(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 Scale(V3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }

std::string Number(float value)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%g", value == 0.0f ? 0.0f : value);
    return text;
}

// A square face of side 1 whose centre lies at `centre`, facing `normal`, with `up` along its
// v axis; corners counter-clockwise seen from the side the normal points to.
struct Face
{
    V3 centre, normal, up;
};

void WriteMesh(const std::string& path, const std::string& name, const std::vector<Face>& faces)
{
    std::ofstream out(path, std::ios::binary);
    out << "# " << name << ": " << faces.size() * 2 << " triangles, counter-clockwise from the front\n";
    out << "o " << name << "\n";
    for (const Face& f : faces)
    {
        const V3 right = Cross(f.up, f.normal);   // right x up = normal
        const float corner[4][2] = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}};
        for (const auto& c : corner)
        {
            const V3 p = Add(f.centre, Add(Scale(right, c[0]), Scale(f.up, c[1])));
            out << "v " << Number(p.x) << " " << Number(p.y) << " " << Number(p.z) << " 1 1 1\n";
        }
    }
    out << "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n";
    for (const Face& f : faces)
        out << "vn " << Number(f.normal.x) << " " << Number(f.normal.y) << " " << Number(f.normal.z) << "\n";
    for (size_t i = 0; i < faces.size(); ++i)
    {
        const size_t v = i * 4 + 1, n = i + 1;
        const auto corner = [&](size_t k) {
            return std::to_string(v + k) + "/" + std::to_string(k + 1) + "/" + std::to_string(n);
        };
        out << "f " << corner(0) << " " << corner(1) << " " << corner(2) << "\n";
        out << "f " << corner(0) << " " << corner(2) << " " << corner(3) << "\n";
    }
}

}   // namespace

int main(int argc, char** argv)
{
    const std::string data = argc > 1 ? argv[1] : "Data";
    const V3 x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1}, nx{-1, 0, 0}, ny{0, -1, 0}, nz{0, 0, -1};
    // The unit quad around the origin, and the unit plane spanning 0..1 (the terrain's).
    WriteMesh(data + "/Parts/Prim_Plane.xobj", "Prim_Plane", {{{0, 0, 0}, z, y}});
    WriteMesh(data + "/Parts/Prim_UnitPlane.xobj", "Prim_UnitPlane", {{{0.5f, 0.5f, 0}, z, y}});
    WriteMesh(data + "/Parts/Prim_Cube.xobj", "Prim_Cube",
              {{Scale(z, 0.5f), z, y},
               {Scale(nz, 0.5f), nz, y},
               {Scale(x, 0.5f), x, y},
               {Scale(nx, 0.5f), nx, y},
               {Scale(y, 0.5f), y, nz},
               {Scale(ny, 0.5f), ny, z}});
    return 0;
}
