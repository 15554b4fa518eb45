#include "graphics/KeptFrame.h"

#include "engine/TraceSystem.h"

#include <GL/glew.h>
#include <algorithm>
#include <utility>

namespace
{
// Pairs the draws of two frames in order by their notes, and calls `unpaired` with each draw of
// either frame left without a partner. After a difference it looks a few draws ahead in each
// frame for the next pair, so that one draw more or less does not unpair all that follow.
template <typename Unpaired> void PairDraws(const std::vector<KeptFrame::Drawn>& a,
                                            const std::vector<KeptFrame::Drawn>& b, const Unpaired& unpaired)
{
    constexpr size_t LookAhead = 8;
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size())
    {
        if (a[i].notes == b[j].notes)
        {
            ++i, ++j;
            continue;
        }
        size_t skipA = 0, skipB = 0;
        for (size_t k = 1; k <= LookAhead && skipA + skipB == 0; ++k)
        {
            if (j + k < b.size() && a[i].notes == b[j + k].notes)
                skipB = k;
            else if (i + k < a.size() && a[i + k].notes == b[j].notes)
                skipA = k;
        }
        if (skipA + skipB == 0)
            skipA = skipB = 1;
        for (; skipA > 0; --skipA)
            unpaired(a[i++]);
        for (; skipB > 0; --skipB)
            unpaired(b[j++]);
    }
    for (; i < a.size(); ++i)
        unpaired(a[i]);
    for (; j < b.size(); ++j)
        unpaired(b[j]);
}
}   // namespace

std::vector<Graphics::PixelRect> KeptFrame::Changes(const std::vector<Drawn>& kept,
                                                    const std::vector<Drawn>& now,
                                                    const std::vector<Graphics::PixelRect>& also, int width,
                                                    int height)
{
    if (width <= 0 || height <= 0)
        return {};
    const int across = (width + Tile - 1) / Tile, up = (height + Tile - 1) / Tile;
    std::vector<char> tiles(static_cast<size_t>(across) * static_cast<size_t>(up), 0);
    int marked = 0;
    const auto mark = [&](const Graphics::PixelRect& r) {
        const int x0 = std::max(r.x0, 0), y0 = std::max(r.y0, 0);
        const int x1 = std::min(r.x1, width), y1 = std::min(r.y1, height);
        if (x1 <= x0 || y1 <= y0)
            return;
        for (int ty = y0 / Tile; ty <= (y1 - 1) / Tile; ++ty)
            for (int tx = x0 / Tile; tx <= (x1 - 1) / Tile; ++tx)
            {
                char& tile =
                    tiles[static_cast<size_t>(ty) * static_cast<size_t>(across) + static_cast<size_t>(tx)];
                marked += tile == 0;
                tile = 1;
            }
    };
    for (const Graphics::PixelRect& r : also)
        mark(r);
    PairDraws(kept, now, [&](const Drawn& d) { mark(d.pixels); });
    if (marked == 0)
        return {};
    // Past two thirds of the window, one pass over all of it costs less than many.
    if (3 * marked > 2 * across * up)
        return {{0, 0, width, height}};

    // Runs of marked squares along each row; a run over the same columns as one in the row
    // below lengthens that run's rectangle.
    std::vector<Graphics::PixelRect> areas;
    std::vector<std::pair<int, size_t>> below, here;   // (first column, index into areas)
    for (int ty = 0; ty < up; ++ty)
    {
        here.clear();
        const char* row = &tiles[static_cast<size_t>(ty) * static_cast<size_t>(across)];
        for (int tx = 0; tx < across;)
        {
            if (!row[tx])
            {
                ++tx;
                continue;
            }
            const int first = tx;
            while (tx < across && row[tx])
                ++tx;
            const int x0 = first * Tile, x1 = std::min(tx * Tile, width);
            const int y1 = std::min((ty + 1) * Tile, height);
            const auto same = std::find_if(below.begin(), below.end(), [&](const std::pair<int, size_t>& b) {
                return b.first == first && areas[b.second].x1 == x1;
            });
            if (same != below.end())
            {
                areas[same->second].y1 = y1;
                here.emplace_back(first, same->second);
            }
            else
            {
                here.emplace_back(first, areas.size());
                areas.push_back({x0, ty * Tile, x1, y1});
            }
        }
        std::swap(below, here);
    }
    return areas;
}

void KeptFrame::TurnOff(const char* why)
{
    Log("GRAPHICS: [kept frame] off: ", why, "; frames are drawn straight into the window");
    Delete();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    usable = false;
}

bool KeptFrame::Create(int w, int h)
{
    Delete();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    if (samples > 0)
        return TurnOff("the window is multisampled"), false;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    // Rows stored as the window stores its own, so that ties between pixels round alike.
    if (GLEW_MESA_framebuffer_flip_y)
        glFramebufferParameteri(GL_FRAMEBUFFER, GL_FRAMEBUFFER_FLIP_Y_MESA, GL_TRUE);
    // Eight bits a channel in the window's own byte order (blue first), with an unsized format
    // so that the driver may take the order from the data: a target laid out as the window is
    // reaches it by a plain copy, where one of another order is drawn over it pixel by pixel.
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGenTextures(1, &colour);
    glBindTexture(GL_TEXTURE_2D, colour);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
    // Depth of 24 bits, as a window's. A texture, so that parts of it can be cleared without a draw.
    glGenTextures(1, &depth);
    glBindTexture(GL_TEXTURE_2D, depth);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, w, h, 0, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT,
                 nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, depth, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        return TurnOff("its target is incomplete"), false;
    width = w;
    height = h;
    return true;
}

bool KeptFrame::Bind(int w, int h)
{
    if (!usable || w <= 0 || h <= 0)
        return false;
    if (framebuffer == 0 || w != width || h != height)
        return Create(w, h);   // bound, holding nothing yet
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    return true;
}

void KeptFrame::Clear(const Graphics::PixelRect& area, const float (&colour)[4])
{
    const int x0 = std::max(area.x0, 0), x1 = std::min(area.x1, width);
    const int y0 = std::max(area.y0, 0), y1 = std::min(area.y1, height);
    if (x1 <= x0 || y1 <= y0)
        return;
    if (!GLEW_ARB_clear_texture)
    {
        glEnable(GL_SCISSOR_TEST);
        glScissor(x0, y0, x1 - x0, y1 - y0);
        glClearColor(colour[0], colour[1], colour[2], colour[3]);
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    // Stored top row first, as the window's rows are: window row y is texel row height - 1 - y.
    const float farthest = 1.0f;
    glClearTexSubImage(this->colour, 0, x0, height - y1, 0, x1 - x0, y1 - y0, 1, GL_RGBA, GL_FLOAT, colour);
    glClearTexSubImage(depth, 0, x0, height - y1, 0, x1 - x0, y1 - y0, 1, GL_DEPTH_COMPONENT, GL_FLOAT,
                       &farthest);
}

void KeptFrame::CopyColourToFrame() { CopyColourToFrame({{0, 0, width, height}}); }

void KeptFrame::CopyColourToFrame(const std::vector<Graphics::PixelRect>& areas)
{
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    for (const Graphics::PixelRect& a : areas)
        glBlitFramebuffer(a.x0, a.y0, a.x1, a.y1, a.x0, a.y0, a.x1, a.y1, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void KeptFrame::Delete()
{
    if (framebuffer != 0)
        glDeleteFramebuffers(1, &framebuffer);
    if (colour != 0)
        glDeleteTextures(1, &colour);
    if (depth != 0)
        glDeleteTextures(1, &depth);
    framebuffer = colour = depth = 0;
    width = height = 0;
    Forget();
}
