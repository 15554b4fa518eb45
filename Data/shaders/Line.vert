#version 430 core
// Debug lines: points in world units through the camera, or in clip space (wTc the identity).
layout(location = 0) in vec3 aPosition;

uniform mat4 wTc;

void main()
{
    gl_Position = wTc * vec4(aPosition, 1.0);
}
