#pragma once
// The maths of transforms, the camera and draw requests: small float vectors and a 4x4 matrix
// stored column by column (element (row r, column c) is m[4 * c + r]). Vectors are columns and
// a point p is transformed as M * p, so a translation lives in the fourth column.
#include <array>

struct Vec2
{
    float x = 0, y = 0;
};

struct Vec3
{
    float x = 0, y = 0, z = 0;
};

struct Vec4
{
    float x = 0, y = 0, z = 0, w = 0;
};

struct Matrix4
{
    std::array<float, 16> m{};

    static Matrix4 Identity();
    static Matrix4 Zero() { return Matrix4{}; }
    static Matrix4 Translation(const Vec3& t);
    static Matrix4 Scale(const Vec3& s);
    static Matrix4 Rotation(float degrees, Vec3 axis);   // the axis is normalised first

    // The ordinary product a * b: column j of the result is a applied to column j of b.
    static Matrix4 Multiply(const Matrix4& a, const Matrix4& b);

    float& At(int row, int column) { return m[4 * column + row]; }
    float At(int row, int column) const { return m[4 * column + row]; }

    // M * v, each row summed from the first column to the last, as GLSL's matrix times vector
    // is: the four rows side by side, column after column.
    Vec4 Transform(const Vec4& v) const
    {
        const float in[4] = {v.x, v.y, v.z, v.w};
        float sum[4];
        for (int row = 0; row < 4; ++row)
            sum[row] = m[row] * in[0];
        for (int column = 1; column < 4; ++column)
            for (int row = 0; row < 4; ++row)
                sum[row] += m[4 * column + row] * in[column];
        return {sum[0], sum[1], sum[2], sum[3]};
    }
    Vec3 TransformPoint(const Vec3& p) const;   // w = 1, no perspective divide
    const float* Data() const { return m.data(); }
};
