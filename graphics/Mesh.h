#pragma once
// A triangle list read from an "xobj" text file: vertices with position, colour, normal and
// texture coordinates, and three indices per triangle, counter-clockwise seen from the front.
// A mesh is either loaded whole or left empty: a file that is missing or malformed in any way
// gives one message naming the file (and the line) and no vertices. It holds no GL object: the
// draw path uploads it into the shared buffers.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One vertex as the shared vertex layout reads it: eleven floats, 44 bytes.
struct MeshVertex
{
    float position[3] = {0, 0, 0};
    float color[3] = {1, 1, 1};
    float normal[3] = {0, 0, 0};
    float texCoord[2] = {0, 0};
};
static_assert(sizeof(MeshVertex) == 44, "the vertex layout reads eleven packed floats");

class Mesh
{
public:
    Mesh() = default;
    Mesh(const std::string& name,
         const std::string& extension);   // reads "./Data/Parts/" + name + "." + extension

    // Replaces the content with the file's; false (and an empty mesh) when it cannot be used.
    bool LoadFromFile(const std::string& path);
    // Parses xobj text; `source` names it in messages. False (and an empty mesh) on any fault.
    bool Parse(std::string_view text, const std::string& source);

    // Sends vertices and indices into the buffers bound to GL_ARRAY_BUFFER and
    // GL_ELEMENT_ARRAY_BUFFER. Needs a current GL context.
    void Upload() const;

    bool IsEmpty() const { return indices.empty(); }

    // A flat quad in one colour, two triangles over its four corners, whose texture coordinates
    // run over [0, 1] x [0, 1] in step with its positions: any part of it in texture coordinates
    // is again such a quad. Its vertices at (0, 0), (1, 0) and (0, 1) then, else -1.
    int quadCorners[3] = {-1, -1, -1};
    bool IsQuad() const { return quadCorners[0] >= 0; }

    std::vector<MeshVertex> vertices;
    std::vector<uint32_t> indices;
    std::string name;         // the name it was requested by
    std::string objectName;   // the word of the file's "o" line, empty without one

private:
    void FindQuadCorners();
};
