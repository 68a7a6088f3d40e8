#include "framework/graphics/ScreenImage.h"

#include <cmath>
#include <cstring>

namespace Zestra
{

namespace
{

// Order matters: the same primitives in another order give another picture, so the tile hash folds them in turn
// (each step a bijection of the running value).
inline uint64_t Mix(uint64_t h, uint64_t v)
{
    h = (h ^ v) * 0x9E3779B97F4A7C15ull;
    return (h << 27) | (h >> 37);
}

class Hasher
{
public:
    void Add(uint64_t v) { mHash = Mix(mHash, v); }
    void Add(int v) { Add(uint64_t(uint32_t(v))); }
    void Add(double v)
    {
        uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof(bits));
        Add(bits);
    }
    void Add(const Rect& r)
    {
        Add((uint64_t(uint32_t(r.mX)) << 32) | uint32_t(r.mY));
        Add((uint64_t(uint32_t(r.mWidth)) << 32) | uint32_t(r.mHeight));
    }
    void Add(const Color& c) { Add((uint64_t(uint32_t(c.mRed)) << 32) | uint32_t(c.mGreen)); Add((uint64_t(uint32_t(c.mBlue)) << 32) | uint32_t(c.mAlpha)); }
    void AddBytes(const void* data, size_t size)
    {
        const auto* p = static_cast<const uint8_t*>(data);
        while (size >= 8)
        {
            uint64_t v = 0;
            std::memcpy(&v, p, 8);
            Add(v);
            p += 8;
            size -= 8;
        }
        uint64_t rest = 0;
        std::memcpy(&rest, p, size);
        Add(rest ^ (uint64_t(size) << 56));
    }
    uint64_t Value() const
    {
        uint64_t h = mHash;
        h ^= h >> 31;
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 29;
        return h;
    }

private:
    uint64_t mHash = 0x6A09E667F3BCC909ull;
};

// A box around a segment or a shape given in fractional coordinates, with room for rounding on every side.
Rect LooseBox(double x1, double y1, double x2, double y2, int margin)
{
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2) ||
        std::fabs(x1) > 1e8 || std::fabs(y1) > 1e8 || std::fabs(x2) > 1e8 || std::fabs(y2) > 1e8)
        return Rect(-(1 << 28), -(1 << 28), 1 << 29, 1 << 29);
    int left = int(std::floor(std::min(x1, x2))) - margin;
    int top = int(std::floor(std::min(y1, y2))) - margin;
    int right = int(std::ceil(std::max(x1, x2))) + margin;
    int bottom = int(std::ceil(std::max(y1, y2))) + margin;
    return Rect(left, top, right - left + 1, bottom - top + 1);
}

} // namespace

ScreenImage::ScreenImage(int width, int height, ImageRegistry* registry) : MemoryImage(width, height, registry)
{
    MemoryImage::PixelData();
    mTilesX = (mWidth + TILE_SIZE - 1) / TILE_SIZE;
    mTilesY = (mHeight + TILE_SIZE - 1) / TILE_SIZE;
    const size_t tiles = size_t(mTilesX) * size_t(mTilesY);
    mShown.assign(tiles, UnknownTile());
    mForced.assign(tiles, 0);
}

ScreenImage::~ScreenImage()
{
    for (MemoryImage* image : mWatched)
        image->SetWatcher(nullptr);
}

// ---- Noting primitives ----

void ScreenImage::FillRectangle(const Rect& rect, const Color& color, int mode)
{
    if (!Noting())
        return MemoryImage::FillRectangle(rect, color, mode);
    if (color.mAlpha <= 0)
        return;
    Command c;
    c.mKind = Kind::Fill;
    c.mRect = rect;
    c.mColor = color;
    c.mMode = mode;
    c.mBounds = rect;
    c.mSetsPixels = color.mAlpha >= 255;
    Note(c);
}

void ScreenImage::ClearRectangle(const Rect& rect)
{
    if (!Noting())
        return MemoryImage::ClearRectangle(rect);
    Command c;
    c.mKind = Kind::Clear;
    c.mRect = rect;
    c.mBounds = rect;
    c.mSetsPixels = true;
    Note(c);
}

void ScreenImage::DrawSegment(double x1, double y1, double x2, double y2, const Color& color, int mode)
{
    if (!Noting())
        return MemoryImage::DrawSegment(x1, y1, x2, y2, color, mode);
    Command c;
    c.mKind = Kind::Segment;
    c.mX1 = x1;
    c.mY1 = y1;
    c.mX2 = x2;
    c.mY2 = y2;
    c.mColor = color;
    c.mMode = mode;
    c.mBounds = LooseBox(x1, y1, x2, y2, 1);
    Note(c);
}

void ScreenImage::DrawSmoothSegment(double x1, double y1, double x2, double y2, const Color& color, int mode)
{
    if (!Noting())
        return MemoryImage::DrawSmoothSegment(x1, y1, x2, y2, color, mode);
    Command c;
    c.mKind = Kind::SmoothSegment;
    c.mX1 = x1;
    c.mY1 = y1;
    c.mX2 = x2;
    c.mY2 = y2;
    c.mColor = color;
    c.mMode = mode;
    // The smooth line plots a second pixel beside the ideal one and may overshoot its end by one step.
    c.mBounds = LooseBox(x1, y1, x2, y2, 3);
    Note(c);
}

void ScreenImage::FillSpansWithCoverage(const Span* spans, int count, const Color& color, const uint8_t* coverage,
                                        int mode)
{
    if (!Noting())
        return MemoryImage::FillSpansWithCoverage(spans, count, color, coverage, mode);
    if (count <= 0)
        return;
    Command c;
    c.mKind = Kind::CoverageSpans;
    c.mColor = color;
    c.mMode = mode;
    c.mFirst = mSpanPool.size();
    c.mCount = size_t(count);
    c.mFirstCoverage = mCoveragePool.size();
    size_t covered = 0;
    for (int i = 0; i < count; ++i)
    {
        mSpanPool.push_back(spans[i]);
        c.mBounds = c.mBounds.Union(Rect(spans[i].mX, spans[i].mY, spans[i].mWidth, 1));
        covered += size_t(std::max(0, spans[i].mWidth));
    }
    mCoveragePool.insert(mCoveragePool.end(), coverage, coverage + covered);
    Note(c);
}

void ScreenImage::BlitImage(Image* src, int x, int y, const Rect& srcRect, const Color& color, int mode)
{
    MemoryImage* source = src ? src->AsMemoryImage() : nullptr;
    if (source == this && Noting())
        FinishNotedNow();
    if (!Noting())
        return MemoryImage::BlitImage(src, x, y, srcRect, color, mode);
    if (source == nullptr)
        return;
    source->SetUsed(true);
    if (color.mAlpha <= 0 && mode != DRAWMODE_ADDITIVE)
        return;
    Command c;
    c.mKind = Kind::Blit;
    c.mSource = source;
    c.mX = x;
    c.mY = y;
    c.mSrcRect = srcRect;
    c.mColor = color;
    c.mMode = mode;
    Rect cut = srcRect.Intersection(source->GetRect());
    c.mBounds = Rect(x + (cut.mX - srcRect.mX), y + (cut.mY - srcRect.mY), cut.mWidth, cut.mHeight);
    Note(c);
}

void ScreenImage::BlitMirroredImage(Image* src, int x, int y, const Rect& srcRect, const Color& color, int mode)
{
    MemoryImage* source = src ? src->AsMemoryImage() : nullptr;
    if (source == this && Noting())
        FinishNotedNow();
    if (!Noting())
    {
        if (source != nullptr)
            BlitImageInternal(source, x, y, srcRect, color, mode, true);
        return;
    }
    if (source == nullptr)
        return;
    source->SetUsed(true);
    if (color.mAlpha <= 0 && mode != DRAWMODE_ADDITIVE)
        return;
    Command c;
    c.mKind = Kind::BlitMirrored;
    c.mSource = source;
    c.mX = x;
    c.mY = y;
    c.mSrcRect = srcRect;
    c.mColor = color;
    c.mMode = mode;
    Rect cut = srcRect.Intersection(source->GetRect());
    int dx = x + (srcRect.mX + srcRect.mWidth) - (cut.mX + cut.mWidth);
    c.mBounds = Rect(dx, y + (cut.mY - srcRect.mY), cut.mWidth, cut.mHeight);
    Note(c);
}

void ScreenImage::BlitStretchedImage(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                                     const Color& color, int mode, bool quick)
{
    MemoryImage* source = src ? src->AsMemoryImage() : nullptr;
    if (source == this && Noting())
        FinishNotedNow();
    if (!Noting())
        return MemoryImage::BlitStretchedImage(src, destRect, srcRect, clip, color, mode, quick);
    if (source == nullptr)
        return;
    source->SetUsed(true);
    Command c;
    c.mKind = Kind::Stretched;
    c.mSource = source;
    c.mRect = destRect;
    c.mSrcRect = srcRect;
    c.mClip = clip;
    c.mColor = color;
    c.mMode = mode;
    c.mFlag = quick;
    c.mBounds = destRect.Intersection(clip);
    Note(c);
}

void ScreenImage::BlitStretchedMirroredImage(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                                             const Color& color, int mode, bool quick)
{
    MemoryImage* source = src ? src->AsMemoryImage() : nullptr;
    if (source == this && Noting())
        FinishNotedNow();
    if (!Noting())
    {
        if (source != nullptr)
            BlitStretchedInternal(source, destRect, srcRect, clip, color, mode, quick, true);
        return;
    }
    if (source == nullptr)
        return;
    source->SetUsed(true);
    Command c;
    c.mKind = Kind::StretchedMirrored;
    c.mSource = source;
    c.mRect = destRect;
    c.mSrcRect = srcRect;
    c.mClip = clip;
    c.mColor = color;
    c.mMode = mode;
    c.mFlag = quick;
    c.mBounds = destRect.Intersection(clip);
    Note(c);
}

void ScreenImage::BlitMatrixImage(Image* src, double x, double y, const Matrix3& matrix, const Rect& clip,
                                  const Color& color, int mode, const Rect& srcRect, bool smooth)
{
    MemoryImage* source = src ? src->AsMemoryImage() : nullptr;
    if (source == this && Noting())
        FinishNotedNow();
    if (!Noting())
        return MemoryImage::BlitMatrixImage(src, x, y, matrix, clip, color, mode, srcRect, smooth);
    if (source == nullptr)
        return;
    source->SetUsed(true);
    Rect cut = srcRect.Intersection(source->GetRect());
    if (cut.IsEmpty())
        return;
    Command c;
    c.mKind = Kind::Matrix;
    c.mSource = source;
    c.mX1 = x;
    c.mY1 = y;
    c.mMatrix = matrix;
    c.mClip = clip;
    c.mColor = color;
    c.mMode = mode;
    c.mSrcRect = srcRect;
    c.mFlag = smooth;
    c.mBounds = MatrixBlitBox(x, y, matrix, cut).Intersection(clip);
    Note(c);
}

void ScreenImage::BlitTrianglesImage(Image* src, const Triangle* triangles, int count, const Rect& clip,
                                     const Color& color, int mode, double x, double y, bool smooth)
{
    MemoryImage* source = src ? src->AsMemoryImage() : nullptr;
    if (source == this && Noting())
        FinishNotedNow();
    if (!Noting())
        return MemoryImage::BlitTrianglesImage(src, triangles, count, clip, color, mode, x, y, smooth);
    if (source == nullptr || count <= 0 || source->GetRect().IsEmpty())
        return;
    source->SetUsed(true);
    Command c;
    c.mKind = Kind::Triangles;
    c.mSource = source;
    c.mClip = clip;
    c.mColor = color;
    c.mMode = mode;
    c.mX1 = x;
    c.mY1 = y;
    c.mFlag = smooth;
    c.mFirst = mTrianglePool.size();
    c.mCount = size_t(count);
    for (int t = 0; t < count; ++t)
    {
        const TriVertex* v = triangles[t].mVertex;
        mTrianglePool.push_back(triangles[t]);
        double minX = std::min({double(v[0].mX), double(v[1].mX), double(v[2].mX)}) + x;
        double maxX = std::max({double(v[0].mX), double(v[1].mX), double(v[2].mX)}) + x;
        double minY = std::min({double(v[0].mY), double(v[1].mY), double(v[2].mY)}) + y;
        double maxY = std::max({double(v[0].mY), double(v[1].mY), double(v[2].mY)}) + y;
        c.mBounds = c.mBounds.Union(LooseBox(minX, minY, maxX, maxY, 1));
    }
    c.mBounds = c.mBounds.Intersection(clip);
    Note(c);
}

void ScreenImage::Note(Command& c)
{
    c.mBounds = c.mBounds.Intersection(GetRect());
    if (c.mBounds.IsEmpty())
        return;
    if (c.mSource != nullptr)
    {
        WatchSource(c.mSource, c.mBounds);
        // Only whole pictures known opaque set pixels outright; a tint keeps that as long as it keeps full alpha.
        if ((c.mKind == Kind::Blit || c.mKind == Kind::BlitMirrored) && c.mMode == DRAWMODE_NORMAL &&
            c.mColor.mAlpha >= 255 && c.mBounds.mWidth >= TILE_SIZE && c.mBounds.mHeight >= TILE_SIZE)
        {
            c.mSource->RefreshTransparencyFlags();
            c.mSetsPixels = !c.mSource->FlagsPinned() && !c.mSource->HasClearPixels() &&
                            !c.mSource->HasPartialAlpha();
        }
    }
    Hasher h;
    h.Add(int(c.mKind) | (c.mFlag ? 0x100 : 0) | (c.mMode << 9));
    h.Add(uint64_t(reinterpret_cast<uintptr_t>(c.mSource)));
    h.Add(c.mColor);
    h.Add(c.mRect);
    h.Add(c.mSrcRect);
    h.Add(c.mClip);
    h.Add((uint64_t(uint32_t(c.mX)) << 32) | uint32_t(c.mY));
    h.Add(c.mX1);
    h.Add(c.mY1);
    h.Add(c.mX2);
    h.Add(c.mY2);
    if (c.mKind == Kind::Matrix)
        h.AddBytes(&c.mMatrix.m[0][0], sizeof(c.mMatrix.m));
    if (c.mKind == Kind::CoverageSpans)
    {
        h.AddBytes(mSpanPool.data() + c.mFirst, c.mCount * sizeof(Span));
        h.AddBytes(mCoveragePool.data() + c.mFirstCoverage, mCoveragePool.size() - c.mFirstCoverage);
    }
    if (c.mKind == Kind::Triangles)
        h.AddBytes(mTrianglePool.data() + c.mFirst, c.mCount * sizeof(Triangle));
    c.mHash = h.Value();
    mCommands.push_back(c);
}

void ScreenImage::WatchSource(MemoryImage* source, const Rect& area)
{
    if (DrawnThisFrame(source))
    {
        SourceArea& known = mFrameSources[size_t(source->GetWatcherTag() & 0xFFFFFFFFu)];
        known.mArea = known.mArea.Union(area);
        return;
    }
    ImageWatcher* current = source->GetWatcher();
    if (current != this)
    {
        if (current != nullptr)
            current->StopWatching(source);
        source->SetWatcher(this);
        mWatched.insert(source);
    }
    source->SetWatcherTag((uint64_t(mFrameSerial) << 32) | uint64_t(mFrameSources.size()));
    mFrameSources.push_back(SourceArea{source, area});
}

bool ScreenImage::DrawnThisFrame(MemoryImage* image) const
{
    const uint64_t tag = image->GetWatcherTag();
    const size_t index = size_t(tag & 0xFFFFFFFFu);
    return image->GetWatcher() == this && uint32_t(tag >> 32) == mFrameSerial && index < mFrameSources.size() &&
           mFrameSources[index].mImage == image;
}

void ScreenImage::ClearFrameNotes()
{
    mCommands.clear();
    mSpanPool.clear();
    mCoveragePool.clear();
    mTrianglePool.clear();
    mFrameSources.clear();
    ++mFrameSerial;
}

// ---- Frames ----

void ScreenImage::SetRetainedDrawing(bool on)
{
    if (mInFrame)
        FinishNotedNow();
    mRetained = on;
    if (!on)
        ForgetPreviousFrame();
}

void ScreenImage::BeginFrame()
{
    if (mInFrame)
        EndFrame();
    mInFrame = mRetained;
    mImmediate = false;
}

void ScreenImage::EndFrame()
{
    if (!mInFrame)
        return;
    mInFrame = false;
    if (mImmediate)
    {
        // Part of the frame was painted as it came; nothing of it can be compared next time.
        mImmediate = false;
        ForgetPreviousFrame();
        mLastPaintedPixels = int64_t(mWidth) * mHeight;
        return;
    }
    if (mCommands.empty())
    {
        ClearFrameNotes();
        mLastPaintedPixels = 0;
        return;
    }
    BuildDamage();
    mReplaying = true;
    for (const Command& c : mCommands)
    {
        for (const Rect& area : mDamage)
        {
            if (!area.Intersects(c.mBounds))
                continue;
            SetWriteLimit(area);
            Execute(c);
        }
    }
    ClearWriteLimit();
    mReplaying = false;
    ClearFrameNotes();
}

void ScreenImage::BuildDamage()
{
    const size_t tiles = mShown.size();
    mCurrent.assign(tiles, TileState{});
    for (const Command& c : mCommands)
    {
        const Rect& b = c.mBounds;
        const int tx0 = b.mX / TILE_SIZE, tx1 = (b.mX + b.mWidth - 1) / TILE_SIZE;
        const int ty0 = b.mY / TILE_SIZE, ty1 = (b.mY + b.mHeight - 1) / TILE_SIZE;
        // The tiles lying wholly inside the bounds (a tile at the screen's edge ends there): whatever lay below
        // them is gone when the primitive sets its pixels, and their picture starts again from it.
        int cx0 = 0, cx1 = -1, cy0 = 0, cy1 = -1;
        if (c.mSetsPixels)
        {
            cx0 = (b.mX + TILE_SIZE - 1) / TILE_SIZE;
            cx1 = b.mX + b.mWidth == mWidth ? mTilesX - 1 : (b.mX + b.mWidth) / TILE_SIZE - 1;
            cy0 = (b.mY + TILE_SIZE - 1) / TILE_SIZE;
            cy1 = b.mY + b.mHeight == mHeight ? mTilesY - 1 : (b.mY + b.mHeight) / TILE_SIZE - 1;
        }
        const uint64_t fresh = Mix(0, c.mHash);
        for (int ty = ty0; ty <= ty1; ++ty)
        {
            TileState* row = mCurrent.data() + size_t(ty) * size_t(mTilesX);
            const bool coveredRow = ty >= cy0 && ty <= cy1;
            const int from = coveredRow ? std::max(cx0, tx0) : tx1 + 1;
            const int to = coveredRow ? std::min(cx1, tx1) : tx1;
            for (int tx = tx0; tx < std::min(from, tx1 + 1); ++tx)
            {
                row[tx].mHash = Mix(row[tx].mHash, c.mHash);
                row[tx].mAny = true;
            }
            for (int tx = from; tx <= to; ++tx)
                row[tx] = TileState{fresh, true, true};
            for (int tx = std::max(from, to + 1); tx <= tx1; ++tx)
            {
                row[tx].mHash = Mix(row[tx].mHash, c.mHash);
                row[tx].mAny = true;
            }
        }
    }

    // A tile nobody paints keeps its pixels and what they were made of; any other is repainted unless it was
    // made of the same as before, on a clean start.
    bool everyTile = true;
    mDamage.clear();
    struct Run
    {
        int mX0, mX1, mIndex;
    };
    std::vector<Run> above, row;
    int64_t painted = 0;
    for (int ty = 0; ty < mTilesY; ++ty)
    {
        row.clear();
        int runStart = -1;
        for (int tx = 0; tx <= mTilesX; ++tx)
        {
            bool damaged = false;
            if (tx < mTilesX)
            {
                const size_t i = size_t(ty) * size_t(mTilesX) + size_t(tx);
                const TileState& now = mCurrent[i];
                if (!now.mAny)
                {
                    everyTile = false;
                    if (mForced[i])
                        mShown[i] = UnknownTile();
                }
                else
                {
                    damaged = mForced[i] || !now.mCovered || !(now == mShown[i]);
                    mShown[i] = now;
                }
                mForced[i] = 0;
            }
            if (damaged && runStart < 0)
                runStart = tx;
            else if (!damaged && runStart >= 0)
            {
                // Runs that continue one of the row above with the same columns grow it downwards.
                int index = -1;
                for (const Run& r : above)
                    if (r.mX0 == runStart && r.mX1 == tx)
                        index = r.mIndex;
                const int top = ty * TILE_SIZE, height = std::min(TILE_SIZE, mHeight - top);
                const int left = runStart * TILE_SIZE, width = std::min(tx * TILE_SIZE, mWidth) - left;
                if (index >= 0)
                    mDamage[size_t(index)].mHeight += height;
                else
                {
                    index = int(mDamage.size());
                    mDamage.push_back(Rect(left, top, width, height));
                }
                row.push_back(Run{runStart, tx, index});
                painted += int64_t(width) * height;
                runStart = -1;
            }
        }
        above.swap(row);
    }
    mLastPaintedPixels = painted;

    if (everyTile)
        mShownSources.clear();
    for (const SourceArea& source : mFrameSources)
    {
        Rect& area = mShownSources[source.mImage];
        area = area.Union(source.mArea);
    }
}

void ScreenImage::Execute(const Command& c)
{
    switch (c.mKind)
    {
    case Kind::Fill:
        MemoryImage::FillRectangle(c.mRect, c.mColor, c.mMode);
        break;
    case Kind::Clear:
        MemoryImage::ClearRectangle(c.mRect);
        break;
    case Kind::Segment:
        MemoryImage::DrawSegment(c.mX1, c.mY1, c.mX2, c.mY2, c.mColor, c.mMode);
        break;
    case Kind::SmoothSegment:
        MemoryImage::DrawSmoothSegment(c.mX1, c.mY1, c.mX2, c.mY2, c.mColor, c.mMode);
        break;
    case Kind::CoverageSpans:
        MemoryImage::FillSpansWithCoverage(mSpanPool.data() + c.mFirst, int(c.mCount), c.mColor,
                                           mCoveragePool.data() + c.mFirstCoverage, c.mMode);
        break;
    case Kind::Blit:
        MemoryImage::BlitImage(c.mSource, c.mX, c.mY, c.mSrcRect, c.mColor, c.mMode);
        break;
    case Kind::BlitMirrored:
        BlitImageInternal(c.mSource, c.mX, c.mY, c.mSrcRect, c.mColor, c.mMode, true);
        break;
    case Kind::Stretched:
        MemoryImage::BlitStretchedImage(c.mSource, c.mRect, c.mSrcRect, c.mClip, c.mColor, c.mMode, c.mFlag);
        break;
    case Kind::StretchedMirrored:
        BlitStretchedInternal(c.mSource, c.mRect, c.mSrcRect, c.mClip, c.mColor, c.mMode, c.mFlag, true);
        break;
    case Kind::Matrix:
        MemoryImage::BlitMatrixImage(c.mSource, c.mX1, c.mY1, c.mMatrix, c.mClip, c.mColor, c.mMode, c.mSrcRect,
                                     c.mFlag);
        break;
    case Kind::Triangles:
        MemoryImage::BlitTrianglesImage(c.mSource, mTrianglePool.data() + c.mFirst, int(c.mCount), c.mClip,
                                        c.mColor, c.mMode, c.mX1, c.mY1, c.mFlag);
        break;
    }
}

// Paints what was noted so far in full, in order, and the rest of the frame as it comes.
void ScreenImage::FinishNotedNow()
{
    if (!mInFrame || mImmediate)
        return;
    mReplaying = true;
    for (const Command& c : mCommands)
        Execute(c);
    mReplaying = false;
    ClearFrameNotes();
    mImmediate = true;
}

void ScreenImage::ForgetPreviousFrame()
{
    std::fill(mShown.begin(), mShown.end(), UnknownTile());
    mShownSources.clear();
}

void ScreenImage::ForceArea(const Rect& rectIn)
{
    Rect rect = rectIn.Intersection(GetRect());
    if (rect.IsEmpty())
        return;
    const int tx0 = rect.mX / TILE_SIZE, tx1 = (rect.mX + rect.mWidth - 1) / TILE_SIZE;
    const int ty0 = rect.mY / TILE_SIZE, ty1 = (rect.mY + rect.mHeight - 1) / TILE_SIZE;
    for (int ty = ty0; ty <= ty1; ++ty)
        std::fill(mForced.begin() + ptrdiff_t(ty) * mTilesX + tx0, mForced.begin() + ptrdiff_t(ty) * mTilesX + tx1 + 1,
                  uint8_t(1));
}

void ScreenImage::BeforeImageChange(MemoryImage* image)
{
    if (mReplaying)
        return;
    if (Noting() && DrawnThisFrame(image))
        FinishNotedNow();
    auto shown = mShownSources.find(image);
    if (shown != mShownSources.end())
    {
        ForceArea(shown->second);
        mShownSources.erase(shown);
    }
}

void ScreenImage::StopWatching(MemoryImage* image)
{
    BeforeImageChange(image);
    // Once unwatched, a change would go unannounced: whatever was drawn from it is redone next time.
    auto shown = mShownSources.find(image);
    if (shown != mShownSources.end())
    {
        ForceArea(shown->second);
        mShownSources.erase(shown);
    }
    mWatched.erase(image);
    if (image->GetWatcher() == this)
        image->SetWatcher(nullptr);
}

uint32_t* ScreenImage::PixelData()
{
    if (Noting())
        FinishNotedNow();
    return MemoryImage::PixelData();
}

const uint32_t* ScreenImage::ReadablePixels()
{
    if (Noting())
        FinishNotedNow();
    return MemoryImage::ReadablePixels();
}

// ---- Presentation ----

void ScreenImage::OnRegionChanged(const Rect& rectIn)
{
    // Painting that was not noted leaves pixels no note describes.
    if (!mReplaying)
        ForceArea(rectIn);
    if (mAllDirty)
        return;
    Rect rect = rectIn.Intersection(GetRect());
    if (rect.IsEmpty())
        return;
    // Overlapping rectangles merge, so repeated drawing in one place stays one upload.
    for (size_t i = 0; i < mDirty.size(); ++i)
    {
        if (mDirty[i].Intersects(rect))
        {
            rect = rect.Union(mDirty[i]);
            mDirty[i] = mDirty.back();
            mDirty.pop_back();
            i = size_t(-1);
        }
    }
    mDirty.push_back(rect);
    if (mDirty.size() > MAX_DIRTY_RECTS)
    {
        Rect all;
        for (const Rect& r : mDirty)
            all = all.Union(r);
        mDirty.assign(1, all);
    }
    int64_t area = 0;
    for (const Rect& r : mDirty)
        area += int64_t(r.mWidth) * r.mHeight;
    if (area * 4 >= int64_t(mWidth) * mHeight * 3)
        MarkAllDirty();
}

void ScreenImage::MarkAllDirty()
{
    mAllDirty = true;
    mDirty.assign(1, GetRect());
}

std::vector<Rect> ScreenImage::TakeDirtyRects()
{
    std::vector<Rect> result;
    result.swap(mDirty);
    mAllDirty = false;
    return result;
}

PixelView ScreenImage::GetPixelView()
{
    PixelView view;
    view.mPixels = MemoryImage::PixelData();
    view.mWidth = mWidth;
    view.mHeight = mHeight;
    view.mPitch = mWidth;
    return view;
}

bool ScreenImage::PresentTo(PixelSink& display)
{
    bool all = mAllDirty;
    std::vector<Rect> dirty = TakeDirtyRects();
    if (all)
        dirty.clear(); // the platform reads an empty list as the whole image
    else if (dirty.empty())
        return true;
    return display.Present(GetPixelView(), dirty);
}

} // namespace Zestra
