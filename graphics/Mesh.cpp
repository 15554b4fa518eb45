#include "graphics/Mesh.h"

#include "engine/DataPath.h"
#include "engine/TraceSystem.h"
#include "graphics/GraphicsSystem.h"

#include <GL/glew.h>
#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace
{
// Reads whitespace-separated numbers from the rest of a line; false on anything that is not a
// finite number.
bool ReadFloats(std::string_view text, std::vector<float>& out)
{
    out.clear();
    std::string buffer(text);
    const char* p = buffer.c_str();
    for (;;)
    {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (*p == '\0')
            return true;
        char* end = nullptr;
        errno = 0;
        const float value = std::strtof(p, &end);
        if (end == p || errno == ERANGE || !std::isfinite(value) ||
            (*end != '\0' && *end != ' ' && *end != '\t'))
            return false;
        out.push_back(value);
        p = end;
    }
}

// One face corner "v/t/n", each a 1-based decimal number.
bool ReadCorner(std::string_view word, long (&numbers)[3])
{
    std::string buffer(word);
    const char* p = buffer.c_str();
    for (int i = 0; i < 3; ++i)
    {
        if (*p < '0' || *p > '9')
            return false;
        char* end = nullptr;
        errno = 0;
        numbers[i] = std::strtol(p, &end, 10);
        if (errno == ERANGE)
            return false;
        p = end;
        if (i < 2)
        {
            if (*p != '/')
                return false;
            ++p;
        }
    }
    return *p == '\0';
}

std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < text.size())
    {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        const size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t')
            ++i;
        if (i > start)
            words.push_back(text.substr(start, i - start));
    }
    return words;
}
}   // namespace

Mesh::Mesh(const std::string& meshName, const std::string& extension) : name(meshName)
{
    LoadFromFile("./Data/Parts/" + meshName + "." + extension);
}

bool Mesh::LoadFromFile(const std::string& path)
{
    vertices.clear();
    indices.clear();
    objectName.clear();
    FindQuadCorners();
    const std::string resolved = ResolveDataPath(path);
    std::ifstream file(resolved, std::ios::binary);
    if (!file)
    {
        Log("Failed to open mesh file ", resolved);
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (!Parse(content.str(), resolved))
        return false;
    Log("Loaded mesh from OBJ", " Vertices: ", vertices.size(), ", Indices: ", indices.size());
    return true;
}

bool Mesh::Parse(std::string_view text, const std::string& source)
{
    std::vector<MeshVertex> readVertices;
    std::vector<uint32_t> readIndices;
    std::vector<std::array<float, 3>> normals;
    std::vector<std::array<float, 2>> texCoords;
    std::string readName;
    std::vector<float> numbers;

    vertices.clear();
    indices.clear();
    objectName.clear();
    FindQuadCorners();
    int lineNumber = 0;
    const auto reject = [&](const std::string& why) {
        Log("MESH: [", source, ":", lineNumber, "] ", why, "; mesh not loaded");
        return false;
    };

    size_t start = 0;
    while (start <= text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        if (line.starts_with("v "))
        {
            // Position and colour; a plain "v x y z" gets a white vertex.
            if (!ReadFloats(line.substr(2), numbers) || (numbers.size() != 3 && numbers.size() != 6))
                return reject("a vertex needs three or six numbers");
            MeshVertex v;
            for (int i = 0; i < 3; ++i)
                v.position[i] = numbers[i];
            if (numbers.size() == 6)
                for (int i = 0; i < 3; ++i)
                    v.color[i] = numbers[3 + i];
            readVertices.push_back(v);
        }
        else if (line.starts_with("vn "))
        {
            if (!ReadFloats(line.substr(3), numbers) || numbers.size() != 3)
                return reject("a normal needs three numbers");
            normals.push_back({numbers[0], numbers[1], numbers[2]});
        }
        else if (line.starts_with("vt "))
        {
            if (!ReadFloats(line.substr(3), numbers) || numbers.size() != 2)
                return reject("a texture coordinate needs two numbers");
            texCoords.push_back({numbers[0], numbers[1]});
        }
        else if (line.starts_with("f "))
        {
            const std::vector<std::string_view> corners = Words(line.substr(2));
            if (corners.size() != 3)
                return reject("a face needs three corners of vertex/texture/normal numbers");
            long corner[3][3];
            for (int c = 0; c < 3; ++c)
                if (!ReadCorner(corners[c], corner[c]))
                    return reject("a face corner is not vertex/texture/normal numbers");
            for (int c = 0; c < 3; ++c)
            {
                const long v = corner[c][0], t = corner[c][1], n = corner[c][2];
                if (v < 1 || v > static_cast<long>(readVertices.size()))
                    return reject("face refers to vertex " + std::to_string(v) + " of " +
                                  std::to_string(readVertices.size()));
                if (t < 1 || t > static_cast<long>(texCoords.size()))
                    return reject("face refers to texture coordinate " + std::to_string(t) + " of " +
                                  std::to_string(texCoords.size()));
                if (n < 1 || n > static_cast<long>(normals.size()))
                    return reject("face refers to normal " + std::to_string(n) + " of " +
                                  std::to_string(normals.size()));
            }
            // Attributes live on the vertex: a vertex named by several corners keeps the last.
            for (int c = 0; c < 3; ++c)
            {
                MeshVertex& v = readVertices[corner[c][0] - 1];
                const auto& uv = texCoords[corner[c][1] - 1];
                const auto& normal = normals[corner[c][2] - 1];
                v.texCoord[0] = uv[0];
                v.texCoord[1] = uv[1];
                for (int i = 0; i < 3; ++i)
                    v.normal[i] = normal[i];
                readIndices.push_back(static_cast<uint32_t>(corner[c][0] - 1));
            }
        }
        else if (line.starts_with("o "))
        {
            const std::vector<std::string_view> words = Words(line.substr(2));
            if (words.size() != 1)
                return reject("an object name is one word");
            readName = std::string(words[0]);
        }
        // Comments, empty lines and records this format does not use are skipped.
    }
    if (readIndices.empty())
    {
        Log("MESH: [", source, "] has no faces; mesh not loaded");
        return false;
    }
    vertices = std::move(readVertices);
    indices = std::move(readIndices);
    objectName = std::move(readName);
    FindQuadCorners();
    return true;
}

void Mesh::FindQuadCorners()
{
    std::fill(std::begin(quadCorners), std::end(quadCorners), -1);
    if (vertices.size() != 4 || indices.size() != 6)
        return;
    // The corner at texture coordinates (s, r), each 0 or 1, is at[s + 2 r].
    int at[4] = {-1, -1, -1, -1};
    for (int i = 0; i < 4; ++i)
    {
        const MeshVertex& v = vertices[static_cast<size_t>(i)];
        const float s = v.texCoord[0], r = v.texCoord[1];
        if ((s != 0 && s != 1) || (r != 0 && r != 1) ||
            at[static_cast<int>(s) + 2 * static_cast<int>(r)] >= 0)
            return;
        at[static_cast<int>(s) + 2 * static_cast<int>(r)] = i;
        if (!std::equal(std::begin(v.color), std::end(v.color), std::begin(vertices[0].color)))
            return;
    }
    // The fourth corner where the other three put it.
    const MeshVertex &origin = vertices[static_cast<size_t>(at[0])],
                     &alongS = vertices[static_cast<size_t>(at[1])],
                     &alongR = vertices[static_cast<size_t>(at[2])],
                     &far = vertices[static_cast<size_t>(at[3])];
    for (int k = 0; k < 3; ++k)
    {
        const float expected = alongS.position[k] + alongR.position[k] - origin.position[k];
        if (std::fabs(far.position[k] - expected) > 1e-6f * (1 + std::fabs(expected)))
            return;
    }
    // Two triangles of three corners each that share a diagonal: the corners left out of the one
    // are opposite those left out of the other.
    int missing[2] = {0, 0};
    for (int t = 0; t < 2; ++t)
    {
        int seen = 0;
        for (int c = 0; c < 3; ++c)
            if (const uint32_t index = indices[static_cast<size_t>(3 * t + c)]; index < 4)
                seen |= 1 << index;
        if (std::popcount(static_cast<unsigned>(seen)) != 3)
            return;
        missing[t] = std::countr_zero(static_cast<unsigned>(~seen & 0xf));
    }
    const MeshVertex &a = vertices[static_cast<size_t>(missing[0])],
                     &b = vertices[static_cast<size_t>(missing[1])];
    if (a.texCoord[0] + b.texCoord[0] != 1 || a.texCoord[1] + b.texCoord[1] != 1)
        return;
    std::copy(at, at + 3, quadCorners);
}

void Mesh::Upload() const
{
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(MeshVertex)),
                 vertices.data(), GL_STATIC_DRAW);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint32_t)),
                 indices.data(), GL_STATIC_DRAW);
    // Whatever the shared buffers held before is gone.
    GraphicsSystem::GetInstance().ForgetUploadedMesh();
}
