#include "graphics/KeptLayer.h"

#include "engine/TraceSystem.h"

#include <GL/glew.h>

void KeptLayer::TurnOff(const char* why)
{
    Log("GRAPHICS: [kept layer] off: ", why);
    Delete();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    usable = false;
}

bool KeptLayer::Create(int w, int h)
{
    Delete();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    if (samples > 0)
        return TurnOff("the window is multisampled"), false;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
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
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        return TurnOff("its target is incomplete"), false;
    width = w;
    height = h;
    return true;
}

bool KeptLayer::Bind(int w, int h)
{
    if (!usable || w <= 0 || h <= 0)
        return false;
    if (framebuffer == 0 || w != width || h != height)
        return Create(w, h);   // bound, holding nothing yet
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    return true;
}

void KeptLayer::CopyColourToFrame()
{
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void KeptLayer::Delete()
{
    if (framebuffer != 0)
        glDeleteFramebuffers(1, &framebuffer);
    if (colour != 0)
        glDeleteTextures(1, &colour);
    framebuffer = colour = 0;
    width = height = 0;
    holding = false;
}
