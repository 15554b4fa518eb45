#pragma once
// Draw requests gathered and issued as few draws, with the pixels that drawing each request at
// once would give. Requests in a row that share program, texture, texture modes and blending form
// one batch, whatever their meshes; batches go out in the order they started and the requests of
// a batch in the order they came, so blended and depth-tested draws land exactly as one by one.
// The queue is issued (Flush) before anything else touches the frame buffer or a texture a queued
// draw reads.
//
// Add writes the request's mesh out at once, vertex by vertex: positions through the model matrix
// and then the camera (clip space), texture coordinates through the 3x3 UV matrix, every sum in the
// order and with the rounding of the same GLSL run by the rasteriser, so the pixels stay those of
// the shader doing it, straight into the mapped vertex buffer; a queue that outgrows the buffer
// moves into a larger one. A batch is then one plain indexed draw: a software rasteriser
// runs its whole vertex stage once per instance of an instanced draw, which costs more than the
// work itself.
// Batched shaders read StreamVertex records: 0 "aClipPosition" (vec4), 1 "aColor" (vec3),
// 2 "aTexCoord" (vec2), 3 "aTint" (vec3, the request's tint); "time" and "baseColor" stay
// uniforms, set once per batch. Blending is on while the queue is idle and off only for the
// batches that do not need it.
//
// Every queued request keeps the window pixels it may touch (a pixel wider on every side than
// its vertices reach, the whole window when a vertex lies at or behind the eye) and the notes
// its caller gave it, so that a part of the window can be drawn again from the requests that
// reach it alone (IssueWithin).
#include "engine/Matrix4.h"
#include "graphics/Graphics.h"

#include <cstddef>
#include <cstdint>
#include <functional>

#include <unordered_map>
#include <vector>

class Mesh;

class DrawQueue
{
public:
    static constexpr int ClipPositionLocation = 0, ColorLocation = 1, TexCoordLocation = 2, TintLocation = 3;
    static bool IsBatched(unsigned int program);   // reads "aTint" at location 3

    void Init();       // needs a GL context
    void Shutdown();   // deletes its GL objects; whatever is queued is dropped

    struct Look
    {
        unsigned int program = 0;
        int timeUniform = -1;
        bool samplesTexture = false;   // the program has "baseColor"
        unsigned int texture = 0;      // bound on unit 0 when the shader samples "baseColor"
        int wrap = 0, filter = 0;      // GL values of the texture modes
        bool blend = true;             // false where blending would leave the shader's output unchanged
    };
    // `mesh` has triangles; `uv` null for the identity. `notes` is kept with the request for
    // whoever compares queues (Requests). `part`, for a quad mesh (Mesh::IsQuad), is the part of
    // it drawn: {s0, r0, s1, r1} in its texture coordinates.
    void Add(const Look& look, const Mesh& mesh, const Matrix4& worldToClip, const Matrix4& model,
             const float* uv, const float* tint, uint64_t notes = 0, const float* part = nullptr);
    void Flush() { Issue(), Drop(); }   // issues every queued draw and empties the queue
    // Issues every queued draw and keeps them queued, to be issued again (under another scissor
    // or into another target); leaves no program, array or texture bound.
    void Issue();
    // For each area in turn: calls `before(area)`, then issues the queued requests that may
    // touch it, with the pixels of issuing them in their order. Keeps them queued, as Issue does.
    //
    // The requests that end an area's list, drawn without blending at one depth, level with the
    // camera, go out last first, so that the rasteriser skips what the later ones hide: a pixel
    // takes the first of them that reaches it, which is the one that would have been drawn over
    // it last, tested against what lies below them as before. They are tested with the depth
    // one step nearer (a polygon offset) against that, so that they still pass where it lies
    // level with them, and strictly against each other. The depth they leave is that step
    // nearer: the caller reads nothing of it afterwards but over areas it clears first. Not done
    // where something drawn before them may lie just that step nearer.
    void IssueWithin(const std::vector<Graphics::PixelRect>& areas,
                     const std::function<void(const Graphics::PixelRect&)>& before);
    // Forgets every queued draw unissued.
    void Drop() { batches.clear(), indices.clear(), requests.clear(), vertexCount = 0; }

    struct Request
    {
        uint64_t notes = 0;
        Graphics::PixelRect pixels;   // what it may touch
        uint32_t batch = 0, firstIndex = 0, indexCount = 0, firstVertex = 0, lastVertex = 0;
        // The depth its vertices reach (device z), the whole range when one lies at or behind
        // the eye; `level` when they all share one clip z and w, as a sprite facing the camera.
        float nearest = -1e30f, farthest = 1e30f;
        bool level = false;
        float clipZ = 0, clipW = 0;
    };
    const std::vector<Request>& Requests() const { return requests; }   // as queued
    // Called whenever queued draws are about to reach the bound framebuffer.
    std::function<void()> onIssue;
    bool IsEmpty() const { return batches.empty(); }
    size_t IssuedDraws() const { return issuedDraws; }   // draws since Init

    // The texture modes last set on each texture: set again only when they change. Emptied at the
    // start of every frame, so that a texture id used again after deletion starts afresh.
    void ForgetTextureModes() { textureModes.clear(); }

private:
    struct StreamVertex
    {
        float clipPosition[4];
        float color[3];
        float texCoord[2];
        float tint[3];
    };
    struct Batch
    {
        Look look;
        uint32_t firstVertex = 0, lastVertex = 0;
        size_t firstIndex = 0, indexCount = 0;
    };
    // A run of queued indices drawn with one batch's look.
    struct Range
    {
        size_t batch = 0, firstIndex = 0, indexCount = 0;
        uint32_t firstVertex = 0, lastVertex = 0;
        bool lastFirst = false;   // one of the requests that go out last first
    };
    // The requests at the end of `under` that may go out last first: where they begin.
    size_t LastFirstRun(const std::vector<const Request*>& under) const;
    static bool SameLook(const Look& a, const Look& b);
    // Draws `ranges` of `indexData`; `starts[k]` is where the k-th call of `before` comes.
    void Run(const std::vector<uint32_t>& indexData, const std::vector<Range>& ranges,
             const std::vector<size_t>& starts, const std::function<void(size_t)>& before);
    void CreateArray();   // a new vertex array over new buffers, with no store yet
    // Maps a store of at least `needed` vertices holding those queued; false, with the queue
    // dropped, when GL cannot.
    bool MapVertices(size_t needed);

    unsigned int vertexArray = 0, vertexBuffer = 0, indexBuffer = 0;
    std::vector<Batch> batches;
    // Every queued request's vertices, in order, written straight into the mapped vertex buffer.
    StreamVertex* mapped = nullptr;
    size_t vertexCount = 0, capacity = 0;   // capacity 0 while nothing is mapped
    size_t storeSize = 0;                   // vertices the buffer's store holds
    std::vector<uint32_t> indices;          // into the mapped vertices
    std::vector<Request> requests;
    std::vector<uint32_t> scratchIndices;   // the requests under each area, for IssueWithin
    std::vector<const Request*> scratchUnder;
    std::vector<Range> scratchRanges;
    std::unordered_map<unsigned int, std::pair<int, int>> textureModes;
    size_t issuedDraws = 0;
};
