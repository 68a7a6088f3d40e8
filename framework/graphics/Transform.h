// A small 2D transform that stays a cheap description (translations, scale, rotation) while it is simple and falls
// back to a full matrix once operations no longer fit that description.
#pragma once

#include "framework/graphics/Matrix3.h"

namespace Zestra
{

class Transform
{
public:
    Transform() = default;

    void Reset() { *this = Transform(); }
    void Translate(float x, float y);
    void RotateRad(float angle);
    void RotateDeg(float angle);
    void Scale(float sx, float sy);

    // The full matrix, recomputed from the simple description when needed.
    const Matrix3& Matrix() const;

    bool IsComplex() const { return mComplex; }
    bool HasRotation() const { return mHaveRot; }
    bool HasScale() const { return mHaveScale; }

    float mTransX1 = 0; // translation before
    float mTransY1 = 0;
    float mTransX2 = 0; // translation after
    float mTransY2 = 0;
    float mScaleX = 1;
    float mScaleY = 1;
    float mRot = 0;

private:
    mutable Matrix3 mMatrix;
    mutable bool mNeedCalcMatrix = true;
    bool mComplex = false;
    bool mHaveRot = false;
    bool mHaveScale = false;
};

} // namespace Zestra
