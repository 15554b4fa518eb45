#include "engine/Matrix4.h"

#include <cmath>

Matrix4 Matrix4::Identity()
{
    Matrix4 r;
    r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1.0f;
    return r;
}

Matrix4 Matrix4::Translation(const Vec3& t)
{
    Matrix4 r = Identity();
    r.m[12] = t.x;
    r.m[13] = t.y;
    r.m[14] = t.z;
    return r;
}

Matrix4 Matrix4::Scale(const Vec3& s)
{
    Matrix4 r = Identity();
    r.m[0] = s.x;
    r.m[5] = s.y;
    r.m[10] = s.z;
    return r;
}

Matrix4 Matrix4::Rotation(float degrees, Vec3 axis)
{
    const float length = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
    if (length > 0.0f)
    {
        axis.x /= length;
        axis.y /= length;
        axis.z /= length;
    }
    const float a = degrees * 0.017453292f;
    const float c = std::cos(a), s = std::sin(a), t = 1.0f - c;
    const float x = axis.x, y = axis.y, z = axis.z;
    Matrix4 r = Identity();
    r.m[0] = t * x * x + c;
    r.m[1] = t * x * y + s * z;
    r.m[2] = t * x * z - s * y;
    r.m[4] = t * x * y - s * z;
    r.m[5] = t * y * y + c;
    r.m[6] = t * y * z + s * x;
    r.m[8] = t * x * z + s * y;
    r.m[9] = t * y * z - s * x;
    r.m[10] = t * z * z + c;
    return r;
}

Matrix4 Matrix4::Multiply(const Matrix4& a, const Matrix4& b)
{
    Matrix4 r;
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
        {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a.At(row, k) * b.At(k, column);
            r.At(row, column) = sum;
        }
    return r;
}

Vec3 Matrix4::TransformPoint(const Vec3& p) const
{
    const Vec4 r = Transform({p.x, p.y, p.z, 1.0f});
    return {r.x, r.y, r.z};
}
