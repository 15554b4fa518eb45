#include "graphics/KeptLayer.h"

#include "engine/TraceSystem.h"

#include <GL/glew.h>

namespace
{
const GLenum NoMatch = GL_INVALID_ENUM;

// The depth format with the precision of the window's depth buffer, which a copy needs to give
// the same values; 0 when the window has none.
GLenum WindowDepthFormat()
{
    GLint depthBits = 0, stencilBits = 0, type = GL_NONE;
    glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE,
                                          &depthBits);
    if (depthBits == 0)
        return 0;
    glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, GL_DEPTH,
                                          GL_FRAMEBUFFER_ATTACHMENT_COMPONENT_TYPE, &type);
    glGetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, GL_STENCIL,
                                          GL_FRAMEBUFFER_ATTACHMENT_STENCIL_SIZE, &stencilBits);
    if (type == GL_FLOAT)
        return depthBits == 32 ? (stencilBits > 0 ? GL_DEPTH32F_STENCIL8 : GL_DEPTH_COMPONENT32F) : NoMatch;
    switch (depthBits)
    {
    case 16:
        return GL_DEPTH_COMPONENT16;
    case 24:
        return stencilBits > 0 ? GL_DEPTH24_STENCIL8 : GL_DEPTH_COMPONENT24;
    case 32:
        return GL_DEPTH_COMPONENT32;
    default:
        return NoMatch;
    }
}

GLuint NewRenderbuffer(GLenum format, int w, int h)
{
    GLuint id = 0;
    glGenRenderbuffers(1, &id);
    glBindRenderbuffer(GL_RENDERBUFFER, id);
    glRenderbufferStorage(GL_RENDERBUFFER, format, w, h);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    return id;
}
}   // namespace

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
    const GLenum depthFormat = WindowDepthFormat();
    if (samples > 0 || depthFormat == NoMatch)
        return TurnOff("the window's buffers have no match off screen"), false;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    if (GLEW_MESA_framebuffer_flip_y)
        glFramebufferParameteri(GL_FRAMEBUFFER, GL_FRAMEBUFFER_FLIP_Y_MESA, GL_TRUE);
    colour = NewRenderbuffer(GL_RGBA8, w, h);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    if (depthFormat != 0)
    {
        depth = NewRenderbuffer(depthFormat, w, h);
        const bool stencil = depthFormat == GL_DEPTH24_STENCIL8 || depthFormat == GL_DEPTH32F_STENCIL8;
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
                                  GL_RENDERBUFFER, depth);
    }
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
    for (GLuint* buffer : {&colour, &depth})
        if (*buffer != 0)
            glDeleteRenderbuffers(1, buffer);
    framebuffer = colour = depth = 0;
    width = height = 0;
    holding = false;
}
