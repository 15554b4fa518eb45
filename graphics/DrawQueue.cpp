#include "graphics/DrawQueue.h"

#include "engine/WindowSystem.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/Mesh.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace
{
constexpr float IdentityUv[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
constexpr size_t MinimumStore = 4096;   // vertices: a thousand sprites before the store first grows
}   // namespace

bool DrawQueue::IsBatched(unsigned int program)
{
    return program != 0 && glGetAttribLocation(program, "aTint") == TintLocation;
}

void DrawQueue::Init()
{
    CreateArray();
    textureModes.clear();
    issuedDraws = 0;
}

void DrawQueue::CreateArray()
{
    Graphics::CreateVertexArray(vertexArray, vertexBuffer, indexBuffer, sizeof(StreamVertex),
                                {{ClipPositionLocation, 4, offsetof(StreamVertex, clipPosition)},
                                 {ColorLocation, 3, offsetof(StreamVertex, color)},
                                 {TexCoordLocation, 2, offsetof(StreamVertex, texCoord)},
                                 {TintLocation, 3, offsetof(StreamVertex, tint)}});
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    storeSize = 0;
}

void DrawQueue::Shutdown()
{
    Drop();
    textureModes.clear();
    // Deleting the buffer unmaps it.
    mapped = nullptr;
    capacity = vertexCount = storeSize = 0;
    if (vertexArray == 0)
        return;
    glDeleteVertexArrays(1, &vertexArray);
    for (GLuint* buffer : {&vertexBuffer, &indexBuffer})
        glDeleteBuffers(1, buffer);
    vertexArray = vertexBuffer = indexBuffer = 0;
}

bool DrawQueue::SameLook(const Look& a, const Look& b)
{
    return a.program == b.program && a.texture == b.texture && a.wrap == b.wrap && a.filter == b.filter &&
           a.blend == b.blend;
}

void DrawQueue::Add(const Look& look, const Mesh& source, const Matrix4& worldToClip, const Matrix4& model,
                    const float* uv, const float* tint, uint64_t notes, const float* part)
{
    if (part && !source.IsQuad())
        part = nullptr;
    if (vertexCount + source.vertices.size() > capacity && !MapVertices(vertexCount + source.vertices.size()))
        return;   // no memory for it
    if (batches.empty() || !SameLook(batches.back().look, look))
        batches.push_back({look, static_cast<uint32_t>(vertexCount), 0, indices.size(), 0});
    Batch& batch = batches.back();
    const auto base = static_cast<uint32_t>(vertexCount);
    const float* t = uv ? uv : IdentityUv;
    // The vertices' reach in device coordinates: those that share the first vertex's w are
    // gathered in clip space and divided once at the end (a division by one w keeps the order of
    // the values), the others one by one.
    float low[3] = {1e30f, 1e30f, 1e30f}, high[3] = {-1e30f, -1e30f, -1e30f};
    float lowAtFirstW[3] = {1e30f, 1e30f, 1e30f}, highAtFirstW[3] = {-1e30f, -1e30f, -1e30f};
    float firstZ = 0, firstW = 0;
    bool behindEye = false, level = true;
    for (const MeshVertex& from : source.vertices)
    {
        StreamVertex& to = mapped[vertexCount++];
        float s = from.texCoord[0], r = from.texCoord[1];
        Vec4 point = {from.position[0], from.position[1], from.position[2], 1.0f};
        if (part)
        {
            // The corner moves to the part's corner, along the quad's sides.
            s = part[s == 0 ? 0 : 2], r = part[r == 0 ? 1 : 3];
            const MeshVertex& origin = source.vertices[static_cast<size_t>(source.quadCorners[0])];
            const MeshVertex& alongS = source.vertices[static_cast<size_t>(source.quadCorners[1])];
            const MeshVertex& alongR = source.vertices[static_cast<size_t>(source.quadCorners[2])];
            const auto along = [&](int k) {
                return origin.position[k] + s * (alongS.position[k] - origin.position[k]) +
                       r * (alongR.position[k] - origin.position[k]);
            };
            point = {along(0), along(1), along(2), 1.0f};
        }
        // worldToClip * (model * p): GLSL's compiler turns (worldToClip * model) * p into this.
        const Vec4 c = worldToClip.Transform(model.Transform(point));
        to.clipPosition[0] = c.x, to.clipPosition[1] = c.y, to.clipPosition[2] = c.z,
        to.clipPosition[3] = c.w;
        const float* clip = to.clipPosition;
        if (!(clip[3] > 1e-6f))
            behindEye = true;
        if (vertexCount - 1 == base)
            firstZ = clip[2], firstW = clip[3];
        if (clip[3] == firstW)
            for (int k = 0; k < 3; ++k)
                lowAtFirstW[k] = std::min(lowAtFirstW[k], clip[k]),
                highAtFirstW[k] = std::max(highAtFirstW[k], clip[k]);
        else
        {
            const float toDevice = 1.0f / clip[3];
            for (int k = 0; k < 3; ++k)
                low[k] = std::min(low[k], clip[k] * toDevice),
                high[k] = std::max(high[k], clip[k] * toDevice);
        }
        level = level && clip[2] == firstZ && clip[3] == firstW;
        std::memcpy(to.color, from.color, sizeof(to.color));
        // (uv * vec3(s, r, 1)).xy as the rasteriser's compiled GLSL sums it: the constant term second.
        to.texCoord[0] = t[0] * s + t[6] + t[3] * r;
        to.texCoord[1] = t[1] * s + t[7] + t[4] * r;
        std::memcpy(to.tint, tint, sizeof(to.tint));
    }
    Request& request = requests.emplace_back();
    request.notes = notes;
    request.batch = static_cast<uint32_t>(batches.size() - 1);
    request.firstIndex = static_cast<uint32_t>(indices.size());
    request.indexCount = static_cast<uint32_t>(source.indices.size());
    request.firstVertex = base;
    request.lastVertex = static_cast<uint32_t>(vertexCount) - 1;
    const WindowSystem& window = WindowSystem::GetInstance();
    if (behindEye)
        request.pixels = {0, 0, window.width, window.height};
    else
    {
        const float toDevice = 1.0f / firstW;
        for (int k = 0; k < 3; ++k)
            low[k] = std::min(low[k], lowAtFirstW[k] * toDevice),
            high[k] = std::max(high[k], highAtFirstW[k] * toDevice);
        request.pixels =
            Graphics::WindowPixels(low[0], low[1], high[0], high[1], window.width, window.height);
        request.nearest = low[2], request.farthest = high[2];
        request.level = level;
        request.clipZ = firstZ, request.clipW = firstW;
    }
    const size_t at = indices.size();
    indices.resize(at + source.indices.size());
    uint32_t* out = indices.data() + at;
    for (const uint32_t index : source.indices)
        *out++ = base + index;
    batch.lastVertex = static_cast<uint32_t>(vertexCount) - 1;
    batch.indexCount += source.indices.size();
}

bool DrawQueue::MapVertices(size_t needed)
{
    // The queued vertices move to a larger store: the queue still draws them in one go. The new
    // store is a buffer of its own, with an array of its own, so that they go from the old
    // mapping straight into the new one.
    const GLuint oldArray = vertexArray, oldBuffers[2] = {vertexBuffer, indexBuffer};
    StreamVertex* const queued = mapped;
    if (queued)
        CreateArray();
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    if (needed > storeSize)
    {
        // A quarter to spare rather than twice the old: the driver clears a new store whole, and
        // a move holds the old and the new at once.
        storeSize = std::max(needed + needed / 4, MinimumStore);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(storeSize * sizeof(StreamVertex)), nullptr,
                     GL_STREAM_DRAW);
    }
    // Invalidated: draws still in flight keep the old contents.
    mapped = static_cast<StreamVertex*>(
        glMapBufferRange(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(storeSize * sizeof(StreamVertex)),
                         GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT));
    capacity = mapped ? storeSize : 0;
    if (queued)
    {
        if (mapped)
            std::copy(queued, queued + vertexCount, mapped);
        glBindBuffer(GL_ARRAY_BUFFER, oldBuffers[0]);
        const bool lost = glUnmapBuffer(GL_ARRAY_BUFFER) != GL_TRUE;
        glDeleteVertexArrays(1, &oldArray);
        glDeleteBuffers(2, oldBuffers);
        if (lost)
            Drop();
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    if (!mapped)
    {
        Drop();
        return false;
    }
    return true;
}

void DrawQueue::Issue()
{
    scratchRanges.clear();
    for (size_t i = 0; i < batches.size(); ++i)
    {
        const Batch& b = batches[i];
        scratchRanges.push_back({i, b.firstIndex, b.indexCount, b.firstVertex, b.lastVertex});
    }
    Run(indices, scratchRanges, {}, nullptr);
}

void DrawQueue::IssueWithin(const std::vector<Graphics::PixelRect>& areas,
                            const std::function<void(const Graphics::PixelRect&)>& before)
{
    scratchIndices.clear();
    scratchRanges.clear();
    std::vector<size_t> starts;
    for (const Graphics::PixelRect& area : areas)
    {
        starts.push_back(scratchRanges.size());
        scratchUnder.clear();
        for (const Request& r : requests)
            if (r.pixels.Overlaps(area))
                scratchUnder.push_back(&r);
        const size_t run = LastFirstRun(scratchUnder);
        std::reverse(scratchUnder.begin() + static_cast<std::ptrdiff_t>(run), scratchUnder.end());
        for (size_t k = 0; k < scratchUnder.size(); ++k)
        {
            const Request& r = *scratchUnder[k];
            const bool lastFirst = k >= run;
            // Requests of one batch that follow each other under the area go out as one draw.
            if (scratchRanges.size() > starts.back() && scratchRanges.back().batch == r.batch &&
                scratchRanges.back().lastFirst == lastFirst)
            {
                Range& range = scratchRanges.back();
                range.indexCount += r.indexCount;
                range.firstVertex = std::min(range.firstVertex, r.firstVertex);
                range.lastVertex = std::max(range.lastVertex, r.lastVertex);
            }
            else
                scratchRanges.push_back(
                    {r.batch, scratchIndices.size(), r.indexCount, r.firstVertex, r.lastVertex, lastFirst});
            scratchIndices.insert(scratchIndices.end(),
                                  indices.begin() + static_cast<std::ptrdiff_t>(r.firstIndex),
                                  indices.begin() + static_cast<std::ptrdiff_t>(r.firstIndex + r.indexCount));
        }
    }
    Run(scratchIndices, scratchRanges, starts, [&](size_t k) { before(areas[k]); });
}

size_t DrawQueue::LastFirstRun(const std::vector<const Request*>& under) const
{
    size_t run = under.size();
    if (run == 0)
        return run;
    const Request& last = *under.back();
    const auto joins = [&](const Request& r) {
        return r.level && !batches[r.batch].look.blend && r.clipZ == last.clipZ && r.clipW == last.clipW;
    };
    while (run > 0 && joins(*under[run - 1]))
        --run;
    if (under.size() - run < 2)
        return under.size();
    // A step of depth is 2^-24 of the window's depth range, 2^-23 of device z: nothing drawn
    // before may lie within a few steps nearer.
    constexpr float Steps = 16.0f / (1 << 23);
    const float z = last.nearest;
    for (size_t k = 0; k < run; ++k)
        if (under[k]->farthest >= z - Steps && under[k]->nearest < z)
            return under.size();
    return run;
}

void DrawQueue::Run(const std::vector<uint32_t>& indexData, const std::vector<Range>& ranges,
                    const std::vector<size_t>& starts, const std::function<void(size_t)>& before)
{
    if (mapped)
    {
        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
        // A store lost while mapped (GL_FALSE) holds nothing worth drawing.
        const bool lost = glUnmapBuffer(GL_ARRAY_BUFFER) != GL_TRUE;
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        mapped = nullptr;
        capacity = vertexCount = 0;
        if (lost)
        {
            Drop();
            return;
        }
    }
    if (ranges.empty() && starts.empty())
        return;
    if (onIssue)
        onIssue();
    glBindVertexArray(vertexArray);
    // A fresh store each time: the draws still in flight keep reading the old one.
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indexData.size() * sizeof(uint32_t)),
                 indexData.data(), GL_STREAM_DRAW);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glActiveTexture(GL_TEXTURE0);
    const float time = WindowSystem::GetInstance().totalTime * 100.0f;
    unsigned int program = 0, texture = 0;
    bool blending = true, lastFirst = false;
    glPolygonOffset(0, -1);
    size_t nextStart = 0;
    for (size_t i = 0; i <= ranges.size(); ++i)
    {
        while (nextStart < starts.size() && starts[nextStart] == i)
            before(nextStart++);
        if (i == ranges.size())
            break;
        const Range& range = ranges[i];
        const Look& look = batches[range.batch].look;
        if (look.blend != blending)
        {
            blending = look.blend;
            blending ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
        }
        if (look.program != program)
        {
            program = look.program;
            glUseProgram(program);
        }
        if (look.samplesTexture && look.texture != texture)
        {
            texture = look.texture;
            glBindTexture(GL_TEXTURE_2D, texture);
        }
        // Modes belong to the texture object: the bound one takes them (texture 0 when the shader
        // samples nothing, as a draw of such a shader always did).
        auto [modes, fresh] = textureModes.try_emplace(texture, look.wrap, look.filter);
        if (fresh || modes->second != std::pair{look.wrap, look.filter})
        {
            modes->second = {look.wrap, look.filter};
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, look.wrap);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, look.wrap);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, look.filter);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, look.filter);
        }
        if (range.lastFirst != lastFirst)
        {
            lastFirst = range.lastFirst;
            glDepthFunc(lastFirst ? GL_LESS : GL_LEQUAL);
            lastFirst ? glEnable(GL_POLYGON_OFFSET_FILL) : glDisable(GL_POLYGON_OFFSET_FILL);
        }
        glUniform1f(look.timeUniform, time);
        glDrawRangeElements(GL_TRIANGLES, range.firstVertex, range.lastVertex,
                            static_cast<GLsizei>(range.indexCount), GL_UNSIGNED_INT,
                            reinterpret_cast<const void*>(range.firstIndex * sizeof(uint32_t)));
        ++issuedDraws;
    }
    if (!blending)
        glEnable(GL_BLEND);
    if (lastFirst)
    {
        glDepthFunc(GL_LEQUAL);
        glDisable(GL_POLYGON_OFFSET_FILL);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
    glUseProgram(0);
}
