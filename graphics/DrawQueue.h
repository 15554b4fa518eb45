#pragma once
// Draw requests gathered and issued as few instanced draws, with the pixels that drawing each
// request at once would give. Requests in a row that share program, mesh, texture, texture modes
// and camera form one batch; batches go out in the order they started and instances in the
// order they came, so blended and depth-tested draws land exactly as one by one. The queue is
// issued (Flush) before anything else touches the frame buffer or a texture a queued draw reads.
//
// Instanced shaders read the per-draw values as vertex attributes instead of uniforms:
// 4 "iModel" (mat4, locations 4-7), 8 "iUv" (mat3, 8-10), 11 "iTint" (vec3); "wTc", "time" and
// "baseColor" stay uniforms, set once per batch. Every library mesh lives in one pair of buffers,
// sent again only when the mesh library grows or is emptied. Blending is on while the queue is
// idle and off only for the batches that do not need it.
#include "engine/Matrix4.h"

#include <cstddef>

#include <unordered_map>
#include <vector>

class DrawQueue
{
public:
    static constexpr int ModelLocation = 4, UvLocation = 8, TintLocation = 11;
    static bool IsInstanced(unsigned int program);   // reads "iModel" at location 4

    void Init();       // needs a GL context
    void Shutdown();   // deletes its GL objects; whatever is queued is dropped

    struct Look
    {
        unsigned int program = 0;
        int worldToClipUniform = -1, timeUniform = -1;
        bool samplesTexture = false;   // the program has "baseColor"
        int mesh = -1;                 // library index, not -1
        unsigned int texture = 0;      // bound on unit 0 when the shader samples "baseColor"
        int wrap = 0, filter = 0;      // GL values of the texture modes
        bool blend = true;             // false where blending would leave the shader's output unchanged
        Matrix4 worldToClip;
    };
    void Add(const Look& look, const Matrix4& model, const float* uv, const float* tint);
    void Flush();   // issues every queued draw; leaves no program, array or texture bound
    bool IsEmpty() const { return batches.empty(); }
    size_t IssuedDraws() const { return issuedDraws; }   // instanced draws since Init

    // The texture modes last set on each texture: set again only when they change. Emptied at the
    // start of every frame, so that a texture id used again after deletion starts afresh.
    void ForgetTextureModes() { textureModes.clear(); }
    void ForgetMeshes() { meshRanges.clear(); }   // sent again before the next draw

private:
    struct Instance
    {
        float model[16];
        float uv[9];
        float tint[3];
    };
    struct Batch
    {
        Look look;
        int firstInstance = 0;
        int count = 0;
    };
    struct MeshRange
    {
        int baseVertex = 0;
        int firstIndex = 0, indexCount = 0;
    };
    static bool SameLook(const Look& a, const Look& b);
    void SendMeshes();

    unsigned int vertexArray = 0, meshVertices = 0, meshIndices = 0, instanceBuffer = 0;
    std::vector<Batch> batches;
    std::vector<Instance> instances;
    std::vector<MeshRange> meshRanges;   // one per library mesh sent
    std::unordered_map<unsigned int, std::pair<int, int>> textureModes;
    size_t issuedDraws = 0;
};
