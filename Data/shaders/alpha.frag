#version 430 core
#pragma alpha(one)
#pragma clear(discard)
// Cut-out: texels at least half opaque are drawn solid, the rest are dropped, so overlapping
// animated figures keep crisp edges and correct depth.
in vec3 vColor;
in vec2 vTexCoord;

uniform sampler2D baseColor;
flat in vec3 vTint;

out vec4 fragColor;

void main()
{
    vec4 texel = texture(baseColor, vTexCoord);
    if (texel.a < 0.5)
        discard;
    fragColor = vec4(texel.rgb * vTint * vColor, 1.0);
}
