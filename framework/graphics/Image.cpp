#include "framework/graphics/Image.h"

#include <algorithm>

namespace Zestra
{

void AnimationInfo::Compute(int celCount, int firstDelay, int lastDelay)
{
    mCelCount = std::clamp(celCount, 1, kMaxFrames);
    mFrameDelay = std::clamp(mFrameDelay, 1, kMaxDelay);
    firstDelay = std::min(firstDelay, kMaxDelay);
    lastDelay = std::min(lastDelay, kMaxDelay);
    if (mCelMap.size() > size_t(kMaxFrames))
        mCelMap.resize(size_t(kMaxFrames));
    if (mPerCelDelay.size() > size_t(kMaxFrames))
        mPerCelDelay.resize(size_t(kMaxFrames));
    if (mKind == PingPong && mCelCount > 1)
    {
        // There and back again: 2n - 2 frames, which must stay within the bound too.
        mCelCount = std::min(mCelCount, kMaxFrames / 2 + 1);
        mCelMap.clear();
        for (int i = 0; i < mCelCount; ++i)
            mCelMap.push_back(i);
        for (int i = mCelCount - 2; i >= 1; --i)
            mCelMap.push_back(i);
    }
    if (!mCelMap.empty())
        mCelCount = int(mCelMap.size());
    if (firstDelay > 0)
    {
        if (mPerCelDelay.empty())
            mPerCelDelay.resize(1, 0);
        mPerCelDelay[0] = firstDelay;
    }
    if (lastDelay > 0)
    {
        if (int(mPerCelDelay.size()) < mCelCount)
            mPerCelDelay.resize(size_t(mCelCount), 0);
        mPerCelDelay[size_t(mCelCount - 1)] = lastDelay;
    }
    if (!mPerCelDelay.empty())
    {
        mPerCelDelay.resize(size_t(mCelCount), 0);
        mTotalTime = 0;
        for (int& d : mPerCelDelay)
        {
            if (d < 1)
                d = mFrameDelay;
            d = std::min(d, kMaxDelay);
            mTotalTime += d;
        }
    }
    else
    {
        mTotalTime = mCelCount * mFrameDelay;
    }
    if (!mCelMap.empty())
        mCelMap.resize(size_t(mCelCount), 0);
}

int AnimationInfo::FrameDelay(int frame) const
{
    if (frame >= 0 && frame < int(mPerCelDelay.size()))
        return mPerCelDelay[size_t(frame)];
    return mFrameDelay;
}

int AnimationInfo::CelOfFrame(int frame) const
{
    if (frame >= 0 && frame < int(mCelMap.size()))
        return mCelMap[size_t(frame)];
    return frame;
}

int AnimationInfo::CelAtTime(int time) const
{
    if (mKind == None || mCelCount <= 1 || mTotalTime <= 0)
        return CelOfFrame(0);
    if (time < 0)
        time = 0;
    if (mKind == Once && time >= mTotalTime)
        return CelOfFrame(mCelCount - 1);
    time %= mTotalTime;
    if (mPerCelDelay.empty())
        return CelOfFrame(std::min(mCelCount - 1, time / mFrameDelay));
    for (int frame = 0; frame < mCelCount; ++frame)
    {
        time -= FrameDelay(frame);
        if (time < 0)
            return CelOfFrame(frame);
    }
    return CelOfFrame(mCelCount - 1);
}

Image::Image(const Image& other)
    : mUsed(other.mUsed), mSourcePath(other.mSourcePath), mWidth(other.mWidth), mHeight(other.mHeight),
      mCelRows(other.mCelRows), mCelCols(other.mCelCols),
      mAnimation(other.mAnimation ? std::make_unique<AnimationInfo>(*other.mAnimation) : nullptr)
{
}

Image& Image::operator=(const Image& other)
{
    if (this == &other)
        return *this;
    mUsed = other.mUsed;
    mSourcePath = other.mSourcePath;
    mWidth = other.mWidth;
    mHeight = other.mHeight;
    mCelRows = other.mCelRows;
    mCelCols = other.mCelCols;
    mAnimation = other.mAnimation ? std::make_unique<AnimationInfo>(*other.mAnimation) : nullptr;
    return *this;
}

Image::~Image() = default;

void Image::SetCelGrid(int rows, int cols)
{
    mCelRows = std::max(1, rows);
    mCelCols = std::max(1, cols);
}

Rect Image::GetCelRect(int cel) const
{
    return GetCelRect(cel % mCelCols, cel / mCelCols);
}

Rect Image::GetCelRect(int column, int row) const
{
    int w = GetCelWidth();
    int h = GetCelHeight();
    return Rect(column * w, row * h, w, h);
}

bool Image::FillPolygon(const Point*, int, const Rect&, const Color&, int)
{
    return false;
}

void Image::FillRectangle(const Rect&, const Color&, int) {}

void Image::OutlineRectangle(const Rect& rect, const Color& color, int mode)
{
    FillRectangle(Rect(rect.mX, rect.mY, rect.mWidth + 1, 1), color, mode);
    FillRectangle(Rect(rect.mX, rect.mY + rect.mHeight, rect.mWidth + 1, 1), color, mode);
    FillRectangle(Rect(rect.mX, rect.mY + 1, 1, rect.mHeight - 1), color, mode);
    FillRectangle(Rect(rect.mX + rect.mWidth, rect.mY + 1, 1, rect.mHeight - 1), color, mode);
}

void Image::ClearRectangle(const Rect&) {}
void Image::DrawSegment(double, double, double, double, const Color&, int) {}
void Image::DrawSmoothSegment(double, double, double, double, const Color&, int) {}

void Image::FillSpans(const Span* spans, int count, const Color& color, int mode)
{
    for (int i = 0; i < count; ++i)
        FillRectangle(Rect(spans[i].mX, spans[i].mY, spans[i].mWidth, 1), color, mode);
}

void Image::FillSpansWithCoverage(const Span*, int, const Color&, const uint8_t*, int) {}
void Image::BlitImage(Image*, int, int, const Rect&, const Color&, int) {}
void Image::BlitImageAt(Image*, double, double, const Rect&, const Rect&, const Color&, int) {}
void Image::BlitRotatedImage(Image*, double, double, const Rect&, const Rect&, const Color&, int, double, double,
                             double)
{
}
void Image::BlitStretchedImage(Image*, const Rect&, const Rect&, const Rect&, const Color&, int, bool) {}
void Image::BlitMatrixImage(Image*, double, double, const Matrix3&, const Rect&, const Color&, int, const Rect&, bool)
{
}
void Image::BlitTrianglesImage(Image*, const Triangle*, int, const Rect&, const Color&, int, double, double, bool) {}
void Image::BlitMirroredImage(Image*, int, int, const Rect&, const Color&, int) {}
void Image::BlitStretchedMirroredImage(Image*, const Rect&, const Rect&, const Rect&, const Color&, int, bool) {}

} // namespace Zestra
