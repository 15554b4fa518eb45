#version 430 core
#pragma alpha(texel)
// The terrain: each texel holds a material's packed colour word (R<<24 | G<<16 | B<<8 | A)
// as stored in memory on a little-endian machine, so its bytes arrive as A, B, G, R. Black
// (the empty material) and fully transparent cells are not drawn: what lies behind shows.
in vec3 vColor;
in vec2 vTexCoord;

uniform sampler2D baseColor;
flat in vec3 vTint;

out vec4 fragColor;

void main()
{
    vec4 colour = texture(baseColor, vTexCoord).abgr;
    if (colour.a < 1.0 / 255.0 || colour.rgb == vec3(0.0))
        discard;
    fragColor = vec4(colour.rgb * vTint * vColor, colour.a);
}
