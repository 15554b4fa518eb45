#version 430 core
// Meshes through the model matrix and the camera; texture coordinates through the 3x3 UV matrix.
// Model matrix, UV matrix and tint come per instance: one draw shows many requests.
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aColor;
layout(location = 2) in vec3 aNormal;
layout(location = 3) in vec2 aTexCoord;
layout(location = 4) in mat4 iModel;
layout(location = 8) in mat3 iUv;
layout(location = 11) in vec3 iTint;

uniform mat4 wTc;

out vec3 vColor;
out vec2 vTexCoord;
flat out vec3 vTint;

void main()
{
    vColor = aColor;
    vTint = iTint;
    vTexCoord = (iUv * vec3(aTexCoord, 1.0)).xy;
    gl_Position = wTc * iModel * vec4(aPosition, 1.0);
}
