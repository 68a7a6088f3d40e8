#include "framework/graphics/Transform.h"

#include <cmath>

namespace Zestra
{

void Transform::Translate(float x, float y)
{
    if (!mComplex)
    {
        mNeedCalcMatrix = true;
        if (mHaveRot || mHaveScale)
        {
            mTransX2 += x;
            mTransY2 += y;
        }
        else
        {
            mTransX1 += x;
            mTransY1 += y;
        }
        return;
    }
    mMatrix = Matrix3::Translation(x, y) * Matrix();
}

void Transform::RotateRad(float angle)
{
    if (!mComplex)
    {
        if (mHaveScale)
        {
            // A rotation after a scale no longer fits the simple description.
            Matrix3 current = Matrix();
            mComplex = true;
            mMatrix = current;
        }
        else
        {
            mNeedCalcMatrix = true;
            mHaveRot = true;
            mRot += angle;
            return;
        }
    }
    float c = std::cos(angle), s = std::sin(angle);
    Matrix3 r;
    r.m[0][0] = c;
    r.m[0][1] = s;
    r.m[1][0] = -s;
    r.m[1][1] = c;
    mMatrix = r * mMatrix;
}

void Transform::RotateDeg(float angle)
{
    RotateRad(angle * 3.14159265358979f / 180.0f);
}

void Transform::Scale(float sx, float sy)
{
    if (!mComplex && !mHaveRot && mTransX1 == 0 && mTransY1 == 0 && (sx >= 0 || sx * mScaleX == -1) && sy >= 0)
    {
        mNeedCalcMatrix = true;
        mScaleX *= sx;
        mScaleY *= sy;
        mHaveScale = mScaleX != 1.0f || mScaleY != 1.0f;
        return;
    }
    if (!mComplex)
    {
        Matrix3 current = Matrix();
        mComplex = true;
        mMatrix = current;
    }
    mMatrix = Matrix3::Scaling(sx, sy) * mMatrix;
}

const Matrix3& Transform::Matrix() const
{
    if (mComplex || !mNeedCalcMatrix)
        return mMatrix;
    mNeedCalcMatrix = false;
    Matrix3 m = Matrix3::Translation(mTransX1, mTransY1);
    if (mHaveScale)
        m = Matrix3::Scaling(mScaleX, mScaleY) * m;
    else if (mHaveRot)
    {
        float c = std::cos(mRot), s = std::sin(mRot);
        Matrix3 r;
        r.m[0][0] = c;
        r.m[0][1] = s;
        r.m[1][0] = -s;
        r.m[1][1] = c;
        m = r * m;
    }
    if (mTransX2 != 0 || mTransY2 != 0)
        m = Matrix3::Translation(mTransX2, mTransY2) * m;
    mMatrix = m;
    return mMatrix;
}

} // namespace Zestra
