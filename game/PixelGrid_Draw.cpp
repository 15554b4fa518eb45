// The GL side of the terrain: its texture, the upload of changed rows and its draw. Every
// function here does nothing until the graphics system has a context.
#include "game/PixelGrid.h"

#include "graphics/GraphicsSystem.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"

#include <GL/glew.h>
#include <algorithm>

namespace
{
bool HaveContext() { return GraphicsSystem::GetInstance().HasContext(); }
}   // namespace

void PixelGrid::CreateTexture()
{
    if (!HaveContext() || Width <= 0 || Height <= 0)
        return;
    ReleaseGL();
    RefreshWords();
    GLuint id = 0;
    glGenTextures(1, &id);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, Width, Height, 0, GL_RGBA, GL_UNSIGNED_BYTE, UploadBuffer.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    TextureId = id;
    allUnshown = true;
}

void PixelGrid::SendRows(int first, int count)
{
    if (!HaveContext())
        return;
    // A queued draw of the terrain shows the cells as they were when it was asked for.
    GraphicsSystem::GetInstance().IssueQueued();
    if (TextureId == 0)
    {
        // A grid made without a picture (a clone, a test grid) builds its texture from its cells.
        CreateTexture();
        return;
    }
    glBindTexture(GL_TEXTURE_2D, TextureId);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, first, Width, count, GL_RGBA, GL_UNSIGNED_BYTE,
                    UploadBuffer.data() + static_cast<size_t>(first) * static_cast<size_t>(Width));
    glBindTexture(GL_TEXTURE_2D, 0);
}

void PixelGrid::ReleaseGL()
{
    if (TextureId != 0 && HaveContext())
    {
        GraphicsSystem::GetInstance().IssueQueued();
        const GLuint id = TextureId;
        glDeleteTextures(1, &id);
    }
    TextureId = 0;
}

void PixelGrid::Render()
{
    if (!HaveContext() || Width <= 0 || Height <= 0)
        return;
    if (TextureId == 0)
        CreateTexture();
    // The unit plane stretched over the grid: cell (cx, cy) is drawn on [cx, cx + 1) of cell space.
    Matrix4 model =
        Matrix4::Scale({static_cast<float>(Width) / CellSize, static_cast<float>(Height) / CellSize, 1});
    model.At(0, 3) = -Origin.x / CellSize;
    model.At(1, 3) = -Origin.y / CellSize;
    Graphics::DrawRequest request;
    request.name = "PixelGrid";
    request.mesh = MeshLibrary::GetInstance().FindOrLoad("Prim_UnitPlane");
    request.shader = ShaderLibrary::GetInstance().FindOrLoad("Grid");
    request.wrap = 1;
    request.filter = 0;
    request.model = &model;
    // A word's alpha is its low byte.
    const bool hardAlpha = std::all_of(MaterialTable.begin(), MaterialTable.end(), [](const Material& m) {
        const uint32_t alpha = m.colour & 0xFFu;
        return alpha == 0 || alpha == 0xFFu;
    });
    if (request.mesh < 0 || request.shader < 0)
        return;   // the library has said why
    // The changed squares in the unit plane's coordinates, a run of squares in a row as one.
    std::vector<Graphics::Area> changed;
    const int across = TilesAcross();
    // A square's edge in the plane's [0, 1] coordinates, the last square cut at the grid's edge.
    const auto edge = [](int tile, int cells) {
        return static_cast<float>(std::min(tile * KeptTile, cells)) / static_cast<float>(cells);
    };
    const auto unshown = [&](int x, int row) {
        return unshownTiles[static_cast<size_t>(row) * static_cast<size_t>(across) + static_cast<size_t>(x)];
    };
    const int rows = across > 0 ? static_cast<int>(unshownTiles.size()) / across : 0;
    for (int row = 0; !allUnshown && row < rows; ++row)
        for (int x = 0; x < across;)
        {
            if (!unshown(x, row))
            {
                ++x;
                continue;
            }
            int end = x + 1;
            while (end < across && unshown(end, row))
                ++end;
            changed.push_back({edge(x, Width), edge(row, Height), edge(end, Width), edge(row + 1, Height)});
            x = end;
        }
    if (GraphicsSystem::GetInstance().DrawKept(request, TextureId, hardAlpha, changed, allUnshown))
    {
        std::fill(unshownTiles.begin(), unshownTiles.end(), false);
        allUnshown = false;
    }
}
