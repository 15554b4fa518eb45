#pragma once
// An off-screen target that frames are drawn into and copied to the window from, and that keeps
// the picture of a frame's first draws (all it draws before anything but queued draws reaches
// the frame) from one frame to the next, with the notes and pixels of the draws that gave it,
// so that the next frame draws again only where its own draws differ. Its colour and depth have
// the precision of the window's and it rasterises as the window does, so its pixels are those
// that drawing into the window would give; its colour is copied to the window, whole or in parts.
//
// What differs (Changes): the draws of the two frames are paired in order by their notes, two
// draws with the same notes giving the same pixels. A pixel that no unpaired draw of either
// frame may touch is covered by the same draws in the same order in both, so it keeps its
// colour and depth; every other pixel, and any the caller adds (parts of a texture that
// changed), is drawn again. Those pixels are gathered into squares of Tile pixels a side and
// handed back as a few rectangles: all of the window when most of it changed.
//
// Off where the window is multisampled or the target cannot be made; IsUsable tells. Needs a GL
// context for Bind, CopyColourToFrame and Delete.
#include "graphics/Graphics.h"

#include <cstdint>
#include <utility>
#include <vector>

class KeptFrame
{
public:
    struct Drawn
    {
        uint64_t notes = 0;
        Graphics::PixelRect pixels;   // the window pixels it may touch
    };
    static constexpr int Tile = 32;
    // What to draw again over a target that holds `kept`, for it to show `now` and `also`.
    static std::vector<Graphics::PixelRect> Changes(const std::vector<Drawn>& kept,
                                                    const std::vector<Drawn>& now,
                                                    const std::vector<Graphics::PixelRect>& also, int width,
                                                    int height);

    // Makes the target (again, when the window's size changed: it then holds nothing) and binds
    // it for drawing, leaving reads to the window; false, with the window's framebuffer bound,
    // when it cannot be made.
    bool Bind(int width, int height);
    // Clears `area` of the bound target to `colour` and the farthest depth, without a draw
    // where the driver can.
    void Clear(const Graphics::PixelRect& area, const float (&colour)[4]);
    // The target's colour over the whole window framebuffer, or over `areas` of it, which is
    // left bound.
    void CopyColourToFrame();
    void CopyColourToFrame(const std::vector<Graphics::PixelRect>& areas);
    void Delete();   // its GL objects go; it holds nothing

    bool IsUsable() const { return usable; }
    // Whether it holds the picture of some draws at this window size.
    bool Holds(int w, int h) const { return holding && w == width && h == height; }
    const std::vector<Drawn>& Held() const { return held; }
    void Keep(std::vector<Drawn> drawn) { held = std::move(drawn), holding = true; }   // what it now shows
    void Forget() { holding = false, held.clear(); }   // its pixels are no longer known

private:
    bool Create(int w, int h);
    void TurnOff(const char* why);

    unsigned int framebuffer = 0, colour = 0, depth = 0;
    int width = 0, height = 0;
    bool usable = true;
    bool holding = false;
    std::vector<Drawn> held;
};
