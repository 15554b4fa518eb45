#version 430 core
// The DrawQueue's stream: vertices already through the model matrix and the camera, texture
// coordinates already through the request's 3x3 UV matrix, and the request's tint.
layout(location = 0) in vec4 aClipPosition;
layout(location = 1) in vec3 aColor;
layout(location = 2) in vec2 aTexCoord;
layout(location = 3) in vec3 aTint;

out vec3 vColor;
out vec2 vTexCoord;
flat out vec3 vTint;

void main()
{
    vColor = aColor;
    vTint = aTint;
    vTexCoord = aTexCoord;
    gl_Position = aClipPosition;
}
