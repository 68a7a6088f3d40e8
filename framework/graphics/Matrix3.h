// A 3 x 3 float matrix for 2D affine (and projective) transforms of points given as column vectors (x, y, 1).
#pragma once

namespace Zestra
{

struct Matrix3
{
    float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

    static Matrix3 Identity() { return Matrix3(); }
    static Matrix3 Translation(float x, float y)
    {
        Matrix3 r;
        r.m[0][2] = x;
        r.m[1][2] = y;
        return r;
    }
    static Matrix3 Scaling(float x, float y)
    {
        Matrix3 r;
        r.m[0][0] = x;
        r.m[1][1] = y;
        return r;
    }

    Matrix3 operator*(const Matrix3& o) const
    {
        Matrix3 r;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                r.m[i][j] = m[i][0] * o.m[0][j] + m[i][1] * o.m[1][j] + m[i][2] * o.m[2][j];
        return r;
    }

    // Maps (x, y); the projective divide is applied when the last row is not (0, 0, 1).
    void Apply(float x, float y, float& outX, float& outY) const
    {
        float w = m[2][0] * x + m[2][1] * y + m[2][2];
        if (w == 0.0f)
            w = 1.0f;
        outX = (m[0][0] * x + m[0][1] * y + m[0][2]) / w;
        outY = (m[1][0] * x + m[1][1] * y + m[1][2]) / w;
    }

    // The inverse; false (and identity) when the matrix is singular.
    bool Inverse(Matrix3& out) const;
};

inline bool Matrix3::Inverse(Matrix3& out) const
{
    const float (&a)[3][3] = m;
    float c00 = a[1][1] * a[2][2] - a[1][2] * a[2][1];
    float c01 = a[1][2] * a[2][0] - a[1][0] * a[2][2];
    float c02 = a[1][0] * a[2][1] - a[1][1] * a[2][0];
    float det = a[0][0] * c00 + a[0][1] * c01 + a[0][2] * c02;
    if (det == 0.0f)
    {
        out = Matrix3();
        return false;
    }
    float inv = 1.0f / det;
    out.m[0][0] = c00 * inv;
    out.m[0][1] = (a[0][2] * a[2][1] - a[0][1] * a[2][2]) * inv;
    out.m[0][2] = (a[0][1] * a[1][2] - a[0][2] * a[1][1]) * inv;
    out.m[1][0] = c01 * inv;
    out.m[1][1] = (a[0][0] * a[2][2] - a[0][2] * a[2][0]) * inv;
    out.m[1][2] = (a[0][2] * a[1][0] - a[0][0] * a[1][2]) * inv;
    out.m[2][0] = c02 * inv;
    out.m[2][1] = (a[0][1] * a[2][0] - a[0][0] * a[2][1]) * inv;
    out.m[2][2] = (a[0][0] * a[1][1] - a[0][1] * a[1][0]) * inv;
    return true;
}

} // namespace Zestra
