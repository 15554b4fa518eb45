#version 430 core
// Meshes through the model matrix and the camera; texture coordinates through the 3x3 UV matrix.
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aColor;
layout(location = 2) in vec3 aNormal;
layout(location = 3) in vec2 aTexCoord;

uniform mat4 mTw;
uniform mat4 wTc;
uniform mat3 uvT;

out vec3 vColor;
out vec2 vTexCoord;

void main()
{
    vColor = aColor;
    vTexCoord = (uvT * vec3(aTexCoord, 1.0)).xy;
    gl_Position = wTc * mTw * vec4(aPosition, 1.0);
}
