#pragma once
// An off-screen colour target of the window's size that keeps the first draws of a frame (the
// still layers under everything else) from one frame to the next; its colour is copied over the
// whole frame. It has the precision of the window's colour buffer and rasterises as the window
// does, so the copy gives the very colours that drawing into the frame would have given. It has
// no depth buffer: the draws kept in it each lie over those before them. It records the notes of
// what it holds; whoever draws into it decides when those are still true.
//
// Off where the window is multisampled or the target cannot be made; IsUsable tells. Needs a GL
// context for everything but Holds, Keep and Forget.
#include <cstdint>

class KeptLayer
{
public:
    // Makes the target (again, when the window's size changed) and binds it for drawing;
    // false, with the window's framebuffer bound, when it cannot be made.
    bool Bind(int width, int height);
    // The target's colour over the whole window framebuffer, which is left bound; the frame's
    // depth is left as it was.
    void CopyColourToFrame();
    void Delete();   // its GL objects go; it holds nothing

    bool IsUsable() const { return usable; }
    bool Holds(uint64_t notes, int w, int h) const
    {
        return holding && notes == held && w == width && h == height;
    }
    void Keep(uint64_t notes) { held = notes, holding = true; }   // what was just drawn into it
    void Forget() { holding = false; }                            // its pixels are no longer known

private:
    bool Create(int w, int h);
    void TurnOff(const char* why);

    unsigned int framebuffer = 0, colour = 0;
    int width = 0, height = 0;
    bool usable = true;
    bool holding = false;
    uint64_t held = 0;
};
