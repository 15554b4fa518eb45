#version 430 core
#pragma alpha(texel)
#pragma clear(discard)
// The picture times the tint and the vertex colour, blended by its alpha. Fully transparent
// texels are dropped so that they leave the depth buffer alone.
in vec3 vColor;
in vec2 vTexCoord;

uniform sampler2D baseColor;
flat in vec3 vTint;

out vec4 fragColor;

void main()
{
    vec4 texel = texture(baseColor, vTexCoord);
    if (texel.a < 1.0 / 255.0)
        discard;
    fragColor = vec4(texel.rgb * vTint * vColor, texel.a);
}
