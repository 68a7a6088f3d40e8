#include "framework/graphics/MemoryImage.h"

#include "framework/graphics/ImageRegistry.h"
#include "framework/graphics/PixelKernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>

namespace Zestra
{

using namespace Pixels;

namespace
{

enum AlphaClass : uint8_t
{
    CLASS_TRANSPARENT = 0,
    CLASS_OPAQUE = 1,
    CLASS_PARTIAL = 2,
};

inline uint8_t ClassOf(uint32_t pixel)
{
    uint32_t a = pixel >> 24;
    return a == 0 ? CLASS_TRANSPARENT : (a == 255 ? CLASS_OPAQUE : CLASS_PARTIAL);
}

// Per row, each pixel stores the length of the rest of its run (capped at 255), so a blitter that starts anywhere
// in a row knows at once how far the current class goes.
template <typename ClassFn>
std::unique_ptr<uint8_t[]> BuildRuns(int width, int height, ClassFn classOf)
{
    size_t n = size_t(width) * size_t(height);
    auto runs = std::make_unique<uint8_t[]>(n == 0 ? 1 : n);
    for (int y = 0; y < height; ++y)
    {
        uint8_t* row = runs.get() + size_t(y) * size_t(width);
        int count = 0;
        int prevClass = -1;
        for (int x = width - 1; x >= 0; --x)
        {
            int c = classOf(size_t(y) * size_t(width) + size_t(x));
            count = c == prevClass ? count + 1 : 1;
            prevClass = c;
            row[x] = uint8_t(std::min(count, 255));
        }
    }
    return runs;
}

// Reads source pixels from 32-bit bits or through a palette.
struct SourcePixels
{
    const uint32_t* mBits = nullptr;
    const uint8_t* mIndices = nullptr;
    const uint32_t* mTable = nullptr;
    int mWidth = 0;
    int mHeight = 0;

    uint32_t At(int x, int y) const
    {
        size_t i = size_t(y) * size_t(mWidth) + size_t(x);
        return mBits ? mBits[i] : mTable[mIndices[i]];
    }
    // Outside the image reads as transparent.
    uint32_t AtOrClear(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
            return 0;
        return At(x, y);
    }
};

SourcePixels SourceOf(MemoryImage* src)
{
    SourcePixels sp;
    sp.mWidth = src->GetWidth();
    sp.mHeight = src->GetHeight();
    if (src->IsPalettized())
    {
        sp.mIndices = src->GetPaletteIndices();
        sp.mTable = src->GetPaletteTable();
    }
    else
    {
        sp.mBits = src->ReadablePixels();
    }
    return sp;
}

// Bilinear sample at a fractional position in source pixels (pixel centres at +0.5), weighting colours by alpha so
// transparent neighbours do not darken edges. Neighbours outside limit repeat its edge, so a scaled opaque picture
// keeps hard, opaque borders (callers decide separately which destination pixels the source covers).
uint32_t SampleBilinear(const SourcePixels& sp, const Rect& limit, double fx, double fy)
{
    fx -= 0.5;
    fy -= 0.5;
    int x0 = int(std::floor(fx));
    int y0 = int(std::floor(fy));
    int wx = int((fx - x0) * 256.0);
    int wy = int((fy - y0) * 256.0);
    uint32_t p[4];
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i)
        {
            int sx = std::clamp(x0 + i, limit.mX, limit.mX + limit.mWidth - 1);
            int sy = std::clamp(y0 + j, limit.mY, limit.mY + limit.mHeight - 1);
            p[j * 2 + i] = sp.At(sx, sy);
        }
    int w[4] = {(256 - wx) * (256 - wy), wx * (256 - wy), (256 - wx) * wy, wx * wy};
    int64_t a = 0, r = 0, g = 0, b = 0;
    for (int k = 0; k < 4; ++k)
    {
        int64_t pa = int64_t(p[k] >> 24) * w[k];
        a += pa;
        r += int64_t((p[k] >> 16) & 0xFF) * pa;
        g += int64_t((p[k] >> 8) & 0xFF) * pa;
        b += int64_t(p[k] & 0xFF) * pa;
    }
    if (a == 0)
        return 0;
    uint32_t ra = uint32_t((a + 32768) >> 16);
    uint32_t rr = uint32_t(std::min<int64_t>(255, r / a));
    uint32_t rg = uint32_t(std::min<int64_t>(255, g / a));
    uint32_t rb = uint32_t(std::min<int64_t>(255, b / a));
    return (std::min<uint32_t>(255, ra) << 24) | (rr << 16) | (rg << 8) | rb;
}

} // namespace

MemoryImage::MemoryImage(ImageRegistry* registry) : mRegistry(registry)
{
    mHasClearPixels = true;
    mHasPartialAlpha = true;
    if (mRegistry)
        mRegistry->AddMemoryImage(this);
}

MemoryImage::MemoryImage(int width, int height, ImageRegistry* registry) : MemoryImage(registry)
{
    Allocate(std::max(0, width), std::max(0, height));
}

MemoryImage::MemoryImage(const MemoryImage& other) : Image(other), mRegistry(other.mRegistry)
{
    size_t n = size_t(mWidth) * size_t(mHeight);
    if (other.mBits)
    {
        mBits = std::make_unique<uint32_t[]>(n + 1);
        std::memcpy(mBits.get(), other.mBits.get(), n * sizeof(uint32_t));
        mBits[n] = GUARD_WORD;
    }
    if (other.mPaletteIndices)
    {
        mPaletteIndices = std::make_unique<uint8_t[]>(n == 0 ? 1 : n);
        std::memcpy(mPaletteIndices.get(), other.mPaletteIndices.get(), n);
        mPaletteTable = std::make_unique<uint32_t[]>(256);
        std::memcpy(mPaletteTable.get(), other.mPaletteTable.get(), 256 * sizeof(uint32_t));
    }
    if (other.mNativePremultiplied && !other.mBits && !other.mPaletteIndices)
    {
        mNativePremultiplied = std::make_unique<uint32_t[]>(n == 0 ? 1 : n);
        std::memcpy(mNativePremultiplied.get(), other.mNativePremultiplied.get(), n * sizeof(uint32_t));
        mNativeFormat = other.mNativeFormat;
    }
    mFlagsStale = other.mFlagsStale;
    mPinnedMode = other.mPinnedMode;
    mHasClearPixels = other.mHasClearPixels;
    mHasPartialAlpha = other.mHasPartialAlpha;
    mVolatile = other.mVolatile;
    mWantPalette = other.mWantPalette;
    mDropBitsAfterUpload = other.mDropBitsAfterUpload;
    if (mRegistry)
        mRegistry->AddMemoryImage(this);
}

MemoryImage::~MemoryImage()
{
    if (mWatcher != nullptr)
        mWatcher->StopWatching(this);
    if (mRegistry)
        mRegistry->RemoveMemoryImage(this);
}

uint32_t MemoryImage::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
        return 0;
    size_t i = size_t(y) * size_t(mWidth) + size_t(x);
    if (mBits)
        return mBits[i];
    if (mPaletteIndices)
        return mPaletteTable[mPaletteIndices[i]];
    return 0;
}

bool MemoryImage::GuardIntact() const
{
    return mBits && mBits[size_t(mWidth) * size_t(mHeight)] == GUARD_WORD;
}

void MemoryImage::FreeBits()
{
    mBits.reset();
}

void MemoryImage::FreePalette()
{
    mPaletteIndices.reset();
    mPaletteTable.reset();
}

void MemoryImage::FreeRunCaches()
{
    mAlphaRunData.reset();
    mAdditiveRunData.reset();
    if (mBlitSpansValid)
    {
        mBlitSpans.clear();
        mBlitSpanRows.clear();
        mBlitSpansValid = false;
    }
}

namespace
{

// Transparent runs at least this long are skipped and opaque runs at least this long copied; anything shorter
// is cheaper to blend together with its neighbours than to branch over.
constexpr int kSkipRun = 16;
constexpr int kCopyRun = 16;

} // namespace

void MemoryImage::BuildBlitSpans()
{
    const uint8_t* runs = AlphaRuns();
    const uint32_t* bits = mBits ? mBits.get() : PixelData();
    mBlitSpans.clear();
    mBlitSpanRows.assign(size_t(mHeight) + 1, 0);
    for (int y = 0; y < mHeight; ++y)
    {
        mBlitSpanRows[size_t(y)] = uint32_t(mBlitSpans.size());
        const uint8_t* r = runs + size_t(y) * size_t(mWidth);
        const uint32_t* s = bits + size_t(y) * size_t(mWidth);
        int spanStart = -1;
        const size_t rowStart = mBlitSpans.size();
        auto push = [this, rowStart](int x, int length, bool copy) {
            if (copy && !mBlitSpans.empty() && mBlitSpans.back().mCopy &&
                mBlitSpans.back().mX + mBlitSpans.back().mLength == x && mBlitSpans.size() > rowStart)
            {
                mBlitSpans.back().mLength = uint16_t(mBlitSpans.back().mLength + length);
                return;
            }
            mBlitSpans.push_back(BlitSpan{uint16_t(x), uint16_t(length), uint16_t(copy ? 1 : 0)});
        };
        int x = 0;
        while (x < mWidth)
        {
            int run = r[x];
            uint32_t a = s[x] >> 24;
            if ((a == 0 && run >= kSkipRun) || (a == 255 && run >= kCopyRun))
            {
                if (spanStart >= 0)
                {
                    push(spanStart, x - spanStart, false);
                    spanStart = -1;
                }
                if (a == 255)
                    push(x, run, true);
            }
            else if (spanStart < 0)
                spanStart = x;
            x += run;
        }
        if (spanStart >= 0)
            push(spanStart, mWidth - spanStart, false);
    }
    mBlitSpanRows[size_t(mHeight)] = uint32_t(mBlitSpans.size());
    mBlitSpansValid = true;
}

uint32_t* MemoryImage::PixelData()
{
    // Whoever asks for the writable pixels may be about to change them.
    NotifyWatcherOfChange();
    if (mBits)
        return mBits.get();
    size_t n = size_t(mWidth) * size_t(mHeight);
    auto bits = std::make_unique<uint32_t[]>(n + 1);
    if (mPaletteIndices)
    {
        for (size_t i = 0; i < n; ++i)
            bits[i] = mPaletteTable[mPaletteIndices[i]];
        FreePalette();
        mNativePremultiplied.reset();
    }
    else if (mNativePremultiplied)
    {
        const NativeFormat& f = mNativeFormat;
        for (size_t i = 0; i < n; ++i)
        {
            uint32_t p = mNativePremultiplied[i];
            uint32_t a = p >> 24;
            uint32_t r = ((p & f.mRedMask) >> f.mRedShift) * 256 / (a + 1);
            uint32_t g = ((p & f.mGreenMask) >> f.mGreenShift) * 256 / (a + 1);
            uint32_t b = ((p & f.mBlueMask) >> f.mBlueShift) * 256 / (a + 1);
            bits[i] = (a << 24) | (std::min(r, 255u) << 16) | (std::min(g, 255u) << 8) | std::min(b, 255u);
        }
    }
    else
    {
        std::memset(bits.get(), 0, n * sizeof(uint32_t));
    }
    bits[n] = GUARD_WORD;
    mBits = std::move(bits);
    return mBits.get();
}

const uint32_t* MemoryImage::ReadablePixels()
{
    return mBits ? mBits.get() : PixelData();
}

void MemoryImage::MarkPixelsChanged()
{
    NotifyWatcherOfChange();
    ++mPixelVersion;
    mFlagsStale = true;
    mNativePremultiplied.reset();
    FreeRunCaches();
}

void MemoryImage::RefreshTransparencyFlags()
{
    if (!mFlagsStale || mPinnedMode)
        return;
    mHasClearPixels = false;
    mHasPartialAlpha = false;
    auto classify = [this](uint32_t p) {
        uint32_t a = p >> 24;
        if (a < 255)
        {
            mHasClearPixels = true;
            if (a > 0)
                mHasPartialAlpha = true;
        }
    };
    if (mBits)
    {
        size_t n = size_t(mWidth) * size_t(mHeight);
        const uint32_t* p = mBits.get();
        for (size_t i = 0; i < n && !mHasPartialAlpha; ++i)
            classify(p[i]);
    }
    else if (mPaletteTable)
    {
        for (int i = 0; i < 256; ++i)
            classify(mPaletteTable[i]);
    }
    else
    {
        mHasClearPixels = true;
        mHasPartialAlpha = true;
    }
    mFlagsStale = false;
}

void MemoryImage::ForceTransparencyFlags(bool hasTrans, bool hasAlpha)
{
    NotifyWatcherOfChange();
    mHasClearPixels = hasTrans;
    mHasPartialAlpha = hasAlpha;
    mPinnedMode = true;
    mFlagsStale = false;
}

void MemoryImage::MarkVolatile(bool on)
{
    mVolatile = on;
}

void MemoryImage::Allocate(int width, int height)
{
    NotifyWatcherOfChange();
    FreeBits();
    FreePalette();
    mWidth = std::max(0, width);
    mHeight = std::max(0, height);
    mHasClearPixels = true;
    mHasPartialAlpha = true;
    MarkPixelsChanged();
}

void MemoryImage::AssignPixels(const uint32_t* bits, int width, int height, bool commit)
{
    if (bits != nullptr && bits == mBits.get())
        return;
    NotifyWatcherOfChange();
    FreePalette();
    width = std::max(0, width);
    height = std::max(0, height);
    size_t n = size_t(width) * size_t(height);
    if (!mBits || width != mWidth || height != mHeight)
        mBits = std::make_unique<uint32_t[]>(n + 1);
    mWidth = width;
    mHeight = height;
    if (bits)
        std::memcpy(mBits.get(), bits, n * sizeof(uint32_t));
    else
        std::memset(mBits.get(), 0, n * sizeof(uint32_t));
    mBits[n] = GUARD_WORD;
    MarkPixelsChanged();
    if (commit)
        RefreshTransparencyFlags();
}

void MemoryImage::ClearAll()
{
    uint32_t* bits = PixelData();
    std::memset(bits, 0, size_t(mWidth) * size_t(mHeight) * sizeof(uint32_t));
    OnRegionChanged(GetRect());
    MarkPixelsChanged();
}

const uint32_t* MemoryImage::NativePremultiplied(const NativeFormat& format)
{
    if (mNativePremultiplied && mNativeFormat == format)
        return mNativePremultiplied.get();
    if (!mBits && !mPaletteIndices && mNativePremultiplied)
        PixelData(); // convert back before converting to another layout
    mNativeFormat = format;
    auto convert = [&format](uint32_t p) {
        uint32_t a = p >> 24;
        uint32_t r = ((p >> 16) & 0xFF) * (a + 1) / 256;
        uint32_t g = ((p >> 8) & 0xFF) * (a + 1) / 256;
        uint32_t b = (p & 0xFF) * (a + 1) / 256;
        return (a << 24) | ((r << format.mRedShift) & format.mRedMask) |
               ((g << format.mGreenShift) & format.mGreenMask) | ((b << format.mBlueShift) & format.mBlueMask);
    };
    if (mPaletteIndices)
    {
        mNativePremultiplied = std::make_unique<uint32_t[]>(256);
        for (int i = 0; i < 256; ++i)
            mNativePremultiplied[i] = convert(mPaletteTable[i]);
        return mNativePremultiplied.get();
    }
    const uint32_t* bits = mBits ? mBits.get() : PixelData();
    size_t n = size_t(mWidth) * size_t(mHeight);
    mNativePremultiplied = std::make_unique<uint32_t[]>(n == 0 ? 1 : n);
    for (size_t i = 0; i < n; ++i)
        mNativePremultiplied[i] = convert(bits[i]);
    return mNativePremultiplied.get();
}

const uint8_t* MemoryImage::AlphaRuns()
{
    if (mAlphaRunData)
        return mAlphaRunData.get();
    if (mPaletteIndices)
    {
        const uint8_t* idx = mPaletteIndices.get();
        const uint32_t* table = mPaletteTable.get();
        mAlphaRunData = BuildRuns(mWidth, mHeight, [&](size_t i) { return ClassOf(table[idx[i]]); });
    }
    else
    {
        const uint32_t* bits = mBits ? mBits.get() : PixelData();
        mAlphaRunData = BuildRuns(mWidth, mHeight, [&](size_t i) { return ClassOf(bits[i]); });
    }
    return mAlphaRunData.get();
}

const uint8_t* MemoryImage::AdditiveRuns(const NativeFormat& format)
{
    if (mAdditiveRunData && mNativePremultiplied && mNativeFormat == format)
        return mAdditiveRunData.get();
    const uint32_t* native = NativePremultiplied(format);
    uint32_t colorMask = format.mRedMask | format.mGreenMask | format.mBlueMask;
    if (mPaletteIndices)
    {
        const uint8_t* idx = mPaletteIndices.get();
        mAdditiveRunData = BuildRuns(mWidth, mHeight, [&](size_t i) { return (native[idx[i]] & colorMask) != 0; });
    }
    else
    {
        mAdditiveRunData = BuildRuns(mWidth, mHeight, [&](size_t i) { return (native[i] & colorMask) != 0; });
    }
    return mAdditiveRunData.get();
}

void MemoryImage::DropBits()
{
    mDropBitsAfterUpload = true;
    if (!mBits && !mPaletteIndices)
        return;
    // The premultiplied copy does not give every pixel back exactly.
    NotifyWatcherOfChange();
    NativePremultiplied(mNativeFormat);
    if (mBits)
    {
        FreeBits();
        mAlphaRunData.reset();
    }
}

void MemoryImage::DropSoftwareCaches()
{
    PixelData();
    mNativePremultiplied.reset();
    FreeRunCaches();
}

void MemoryImage::DropDisplayCopy() {}

void MemoryImage::DropAllCaches()
{
    DropSoftwareCaches();
    DropDisplayCopy();
}

void MemoryImage::Restore()
{
    if (mWantPalette)
        ToPalette();
    if (mDropBitsAfterUpload)
        DropBits();
}

void MemoryImage::DropNativeCaches()
{
    PixelData();
    mNativePremultiplied.reset();
    mAdditiveRunData.reset();
}

bool MemoryImage::ToPalette()
{
    if (mPaletteIndices)
        return true;
    const uint32_t* bits = PixelData();
    size_t n = size_t(mWidth) * size_t(mHeight);
    auto table = std::make_unique<uint32_t[]>(256);
    auto indices = std::make_unique<uint8_t[]>(n == 0 ? 1 : n);
    std::unordered_map<uint32_t, uint8_t> seen;
    int count = 0;
    uint32_t last = 0;
    uint8_t lastIndex = 0;
    bool haveLast = false;
    for (size_t i = 0; i < n; ++i)
    {
        uint32_t p = bits[i];
        if (haveLast && p == last)
        {
            indices[i] = lastIndex;
            continue;
        }
        auto it = seen.find(p);
        if (it == seen.end())
        {
            if (count == 256)
            {
                mWantPalette = false;
                return false;
            }
            table[size_t(count)] = p;
            it = seen.emplace(p, uint8_t(count)).first;
            ++count;
        }
        indices[i] = it->second;
        last = p;
        lastIndex = it->second;
        haveLast = true;
    }
    mPaletteTable = std::move(table);
    mPaletteIndices = std::move(indices);
    FreeBits();
    mNativePremultiplied.reset();
    mAdditiveRunData.reset();
    mWantPalette = true;
    return true;
}

size_t MemoryImage::MemoryBytes() const
{
    size_t n = size_t(mWidth) * size_t(mHeight);
    size_t bytes = 0;
    if (mBits)
        bytes += (n + 1) * 4;
    if (mPaletteIndices)
        bytes += n + 1024;
    if (mNativePremultiplied)
        bytes += mPaletteIndices ? 1024 : n * 4;
    if (mAlphaRunData)
        bytes += n;
    if (mAdditiveRunData)
        bytes += n;
    return bytes;
}

bool MemoryImage::DestinationOpaque()
{
    RefreshTransparencyFlags();
    return !mHasClearPixels && !mHasPartialAlpha;
}

// Blending onto opaque pixels leaves them opaque, so flags known to be opaque before such a write stay valid;
// the screen image is blended onto all frame long and must not be rescanned after every line.
void MemoryImage::EndOpaqueKeepingWrite(const Rect& changed, bool opaqueBefore)
{
    OnRegionChanged(changed);
    MarkPixelsChanged();
    if (opaqueBefore && !mPinnedMode)
    {
        mHasClearPixels = mHasPartialAlpha = false;
        mFlagsStale = false;
    }
}

void MemoryImage::BlendPixelNormal(uint32_t& dest, uint32_t src)
{
    dest = BlendNormal(dest, src);
}

// ---- Primitives ----

void MemoryImage::FillRectangle(const Rect& rect, const Color& color, int mode)
{
    Rect r = rect.Intersection(WritableArea());
    if (r.IsEmpty() || color.mAlpha <= 0)
        return;
    bool opaqueBefore = DestinationOpaque();
    uint32_t* bits = PixelData();
    uint32_t argb = color.ToArgb();
    for (int y = r.mY; y < r.mY + r.mHeight; ++y)
    {
        uint32_t* row = bits + size_t(y) * size_t(mWidth) + size_t(r.mX);
        if (color.mAlpha >= 255)
            std::fill(row, row + r.mWidth, argb);
        else if (opaqueBefore)
            BestFillRow()(row, argb, r.mWidth);
        else
            for (int x = 0; x < r.mWidth; ++x)
                row[x] = BlendNormal(row[x], argb);
    }
    OnRegionChanged(r);
    MarkPixelsChanged();
    // What was opaque stays opaque; an opaque fill of everything makes it so.
    if (!mPinnedMode && (opaqueBefore || (color.mAlpha >= 255 && r == GetRect())))
    {
        mHasClearPixels = mHasPartialAlpha = false;
        mFlagsStale = false;
    }
}

void MemoryImage::ClearRectangle(const Rect& rect)
{
    Rect r = rect.Intersection(WritableArea());
    if (r.IsEmpty())
        return;
    uint32_t* bits = PixelData();
    for (int y = r.mY; y < r.mY + r.mHeight; ++y)
        std::fill(bits + size_t(y) * size_t(mWidth) + size_t(r.mX),
                  bits + size_t(y) * size_t(mWidth) + size_t(r.mX + r.mWidth), 0u);
    OnRegionChanged(r);
    MarkPixelsChanged();
}

void MemoryImage::DrawSegment(double x1, double y1, double x2, double y2, const Color& color, int mode)
{
    int ix1 = int(x1), iy1 = int(y1), ix2 = int(x2), iy2 = int(y2);
    if (iy1 == iy2 || ix1 == ix2)
    {
        Rect span(std::min(ix1, ix2), std::min(iy1, iy2), std::abs(ix2 - ix1) + 1, std::abs(iy2 - iy1) + 1);
        FillRectangle(span, color, mode);
        return;
    }
    if (color.mAlpha <= 0 && mode != DRAWMODE_ADDITIVE)
        return;
    bool opaqueBefore = !mFlagsStale && !mHasClearPixels && !mHasPartialAlpha;
    uint32_t* bits = PixelData();
    uint32_t argb = color.ToArgb();
    int dx = std::abs(ix2 - ix1), dy = -std::abs(iy2 - iy1);
    int sx = ix1 < ix2 ? 1 : -1, sy = iy1 < iy2 ? 1 : -1;
    int err = dx + dy;
    int x = ix1, y = iy1;
    Rect bounds = WritableArea();
    while (true)
    {
        if (bounds.Contains(x, y))
        {
            uint32_t& d = bits[size_t(y) * size_t(mWidth) + size_t(x)];
            d = mode == DRAWMODE_ADDITIVE ? BlendAdditive(d, argb, color.mAlpha < 255) : BlendNormal(d, argb);
        }
        if (x == ix2 && y == iy2)
            break;
        int e2 = 2 * err;
        if (e2 >= dy)
        {
            err += dy;
            x += sx;
        }
        if (e2 <= dx)
        {
            err += dx;
            y += sy;
        }
    }
    EndOpaqueKeepingWrite(Rect(std::min(ix1, ix2), std::min(iy1, iy2), dx + 1, -dy + 1).Intersection(bounds),
                          opaqueBefore);
}

void MemoryImage::DrawSmoothSegment(double x1, double y1, double x2, double y2, const Color& color, int mode)
{
    if (int(y1) == int(y2) || int(x1) == int(x2))
    {
        DrawSegment(x1, y1, x2, y2, color, mode);
        return;
    }
    bool opaqueBefore = !mFlagsStale && !mHasClearPixels && !mHasPartialAlpha;
    uint32_t* bits = PixelData();
    Rect bounds = WritableArea();
    auto plot = [&](int x, int y, double coverage) {
        if (!bounds.Contains(x, y))
            return;
        int a = int(color.mAlpha * coverage);
        if (a <= 0)
            return;
        uint32_t src = (uint32_t(std::min(a, 255)) << 24) | (color.ToArgb() & 0xFFFFFF);
        uint32_t& d = bits[size_t(y) * size_t(mWidth) + size_t(x)];
        d = BlendNormal(d, src);
    };
    // Wu's line: two pixels per step weighted by the distance to the ideal line.
    bool steep = std::abs(y2 - y1) > std::abs(x2 - x1);
    if (steep)
    {
        std::swap(x1, y1);
        std::swap(x2, y2);
    }
    if (x1 > x2)
    {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    double gradient = (y2 - y1) / (x2 - x1);
    double y = y1;
    for (int x = int(std::round(x1)); x <= int(std::round(x2)); ++x)
    {
        int iy = int(std::floor(y));
        double frac = y - iy;
        if (steep)
        {
            plot(iy, x, 1.0 - frac);
            plot(iy + 1, x, frac);
        }
        else
        {
            plot(x, iy, 1.0 - frac);
            plot(x, iy + 1, frac);
        }
        y += gradient;
    }
    int minX = int(std::floor(std::min(x1, x2))), maxX = int(std::ceil(std::max(x1, x2)));
    int minY = int(std::floor(std::min(y1, y2))), maxY = int(std::ceil(std::max(y1, y2))) + 1;
    Rect changed = steep ? Rect(minY, minX, maxY - minY + 1, maxX - minX + 1)
                         : Rect(minX, minY, maxX - minX + 1, maxY - minY + 1);
    EndOpaqueKeepingWrite(changed.Intersection(bounds), opaqueBefore);
}

void MemoryImage::FillSpansWithCoverage(const Span* spans, int count, const Color& color, const uint8_t* coverage,
                                        int mode)
{
    if (count <= 0)
        return;
    bool opaqueBefore = !mFlagsStale && !mHasClearPixels && !mHasPartialAlpha;
    uint32_t* bits = PixelData();
    Rect bounds = WritableArea();
    Rect changed;
    uint32_t rgb = color.ToArgb() & 0xFFFFFF;
    const uint8_t* cov = coverage;
    for (int i = 0; i < count; ++i)
    {
        const Span& s = spans[i];
        for (int k = 0; k < s.mWidth; ++k, ++cov)
        {
            int x = s.mX + k;
            if (!bounds.Contains(x, s.mY))
                continue;
            uint32_t a = uint32_t(color.mAlpha) * uint32_t(*cov) / 255;
            uint32_t& d = bits[size_t(s.mY) * size_t(mWidth) + size_t(x)];
            d = mode == DRAWMODE_ADDITIVE ? BlendAdditive(d, (a << 24) | rgb, true) : BlendNormal(d, (a << 24) | rgb);
        }
        changed = changed.Union(Rect(s.mX, s.mY, s.mWidth, 1));
    }
    EndOpaqueKeepingWrite(changed.Intersection(bounds), opaqueBefore);
}

void MemoryImage::BlitImage(Image* src, int x, int y, const Rect& srcRect, const Color& color, int mode)
{
    MemoryImage* source = src ? src->AsMemoryImage() : nullptr;
    if (source)
        BlitImageInternal(source, x, y, srcRect, color, mode, false);
}

namespace
{

// The rows one blit writes: destination row r starts at bits + (dest.mY + r) * width + dest.mX and shows source
// row sy0 + r; runs are the source's alpha runs (srcW to a row).
struct BlitRows
{
    uint32_t* bits;
    int width;
    Rect dest;
    int sy0;
    int srcW;
    const uint8_t* runs;
};

// Mirrored: walking the source row forwards (the destination backwards) lets the alpha runs skip the transparent
// stretches and copy or blend the rest in bulk; every pixel gets what the pixel-by-pixel rule gives. Destination
// pixel i of a row shows source column last - i.
void BlitMirroredRows(const BlitRows& rows, const SourcePixels& sp, int last, const Color& color, bool untinted,
                      bool opaqueBefore)
{
    BlendRowFn blendRow = BestBlendRow();
    const bool bulk = untinted && opaqueBefore;
    uint32_t rowBuf[256];
    const Rect& dest = rows.dest;
    const int first = last - (dest.mWidth - 1);
    for (int row = 0; row < dest.mHeight; ++row)
    {
        int sy = rows.sy0 + row;
        uint32_t* d = rows.bits + size_t(dest.mY + row) * size_t(rows.width) + size_t(dest.mX);
        const uint8_t* r = rows.runs + size_t(sy) * size_t(rows.srcW);
        for (int sx = first; sx <= last;)
        {
            const int run = std::min<int>(r[sx], last + 1 - sx);
            const uint32_t a = sp.At(sx, sy) >> 24;
            if (a != 0)
            {
                uint32_t* out = d + (last - (sx + run - 1)); // the run's leftmost destination pixel
                if (bulk && a == 255)
                    for (int k = 0; k < run; ++k)
                        out[k] = sp.At(sx + run - 1 - k, sy);
                else if (bulk)
                {
                    for (int k = 0; k < run; ++k)
                        rowBuf[k] = sp.At(sx + run - 1 - k, sy);
                    blendRow(out, rowBuf, run);
                }
                else
                    for (int k = 0; k < run; ++k)
                    {
                        uint32_t s = sp.At(sx + run - 1 - k, sy);
                        if (!untinted)
                            s = Tint(s, color);
                        out[k] = opaqueBefore ? BlendOntoOpaque(out[k], s) : BlendNormal(out[k], s);
                    }
            }
            sx += run;
        }
    }
}

// Tinted or onto transparency: pixel by pixel, still skipping transparent runs (text is mostly transparent), and
// with the cheaper rule when the destination is opaque. Destination pixel i of a row shows source column
// sxStart + i.
void BlitRowsPixelByPixel(const BlitRows& rows, const SourcePixels& sp, int sxStart, const Color& color,
                          bool untinted, bool opaqueBefore)
{
    const Rect& dest = rows.dest;
    for (int row = 0; row < dest.mHeight; ++row)
    {
        int sy = rows.sy0 + row;
        uint32_t* d = rows.bits + size_t(dest.mY + row) * size_t(rows.width) + size_t(dest.mX);
        for (int i = 0; i < dest.mWidth;)
        {
            int sx = sxStart + i;
            uint32_t s = sp.At(sx, sy);
            if ((s >> 24) == 0)
            {
                i += rows.runs[size_t(sy) * size_t(rows.srcW) + size_t(sx)];
                continue;
            }
            if (!untinted)
                s = Tint(s, color);
            d[i] = opaqueBefore ? BlendOntoOpaque(d[i], s) : BlendNormal(d[i], s);
            ++i;
        }
    }
}

} // namespace

void MemoryImage::BlitImageInternal(MemoryImage* src, int x, int y, const Rect& srcRectIn, const Color& color,
                                    int mode, bool mirror)
{
    src->SetUsed(true);
    Rect srcRect = srcRectIn.Intersection(src->GetRect());
    // Cut the destination to this image, moving the source edge along (mirrored: the opposite edge).
    int dx = x + (srcRect.mX - srcRectIn.mX), dy = y + (srcRect.mY - srcRectIn.mY);
    if (mirror)
        dx = x + (srcRectIn.mX + srcRectIn.mWidth) - (srcRect.mX + srcRect.mWidth);
    Rect dest = Rect(dx, dy, srcRect.mWidth, srcRect.mHeight).Intersection(WritableArea());
    if (dest.IsEmpty() || srcRect.IsEmpty())
        return;
    int sy0 = srcRect.mY + (dest.mY - dy);
    if (color.mAlpha <= 0 && mode != DRAWMODE_ADDITIVE)
        return;

    src->RefreshTransparencyFlags();
    bool srcOpaque = !src->HasClearPixels() && !src->HasPartialAlpha();
    bool untinted = IsWhite(color);
    bool opaqueBefore = DestinationOpaque();
    uint32_t* bits = PixelData();
    SourcePixels sp = SourceOf(src);
    int srcW = src->GetWidth();

    if (mode == DRAWMODE_ADDITIVE)
    {
        bool useAlpha = src->HasPartialAlpha() || color.mAlpha < 255;
        const uint8_t* runs = (untinted && !mirror && !src->IsVolatile()) ? src->AdditiveRuns() : nullptr;
        const uint32_t* native = runs ? src->NativePremultiplied() : nullptr;
        uint32_t colorMask = 0x00FFFFFF;
        for (int row = 0; row < dest.mHeight; ++row)
        {
            int sy = sy0 + row;
            uint32_t* d = bits + size_t(dest.mY + row) * size_t(mWidth) + size_t(dest.mX);
            if (runs)
            {
                int sx = srcRect.mX + (dest.mX - dx);
                size_t base = size_t(sy) * size_t(srcW);
                int i = 0;
                while (i < dest.mWidth)
                {
                    size_t si = base + size_t(sx + i);
                    int run = std::min<int>(runs[si], dest.mWidth - i);
                    uint32_t nat = sp.mBits ? native[si] : native[sp.mIndices[si]];
                    if ((nat & colorMask) != 0)
                        for (int k = 0; k < run; ++k)
                            d[i + k] = BlendAdditive(d[i + k], sp.At(sx + i + k, sy), useAlpha);
                    i += run;
                }
            }
            else
            {
                for (int i = 0; i < dest.mWidth; ++i)
                {
                    int sx = mirror ? srcRect.mX + srcRect.mWidth - 1 - (dest.mX - dx) - i
                                    : srcRect.mX + (dest.mX - dx) + i;
                    uint32_t s = sp.At(sx, sy);
                    if (!untinted)
                        s = Tint(s, color);
                    d[i] = BlendAdditive(d[i], s, useAlpha);
                }
            }
        }
        OnRegionChanged(dest);
        bool keep = opaqueBefore;
        MarkPixelsChanged();
        if (keep && !mPinnedMode)
            mFlagsStale = false;
        return;
    }

    if (untinted && !mirror && opaqueBefore)
    {
        // The fast path: opaque runs are copied, transparent runs skipped, partial runs blended in bulk.
        const uint8_t* runs = src->AlphaRuns();
        BlendRowFn blendRow = BestBlendRow();
        CopyRowFn copyRow = BestCopyRow();
        if (sp.mBits && !src->mBlitSpansValid)
            src->BuildBlitSpans();
        uint32_t rowBuf[256];
        for (int row = 0; row < dest.mHeight; ++row)
        {
            int sy = sy0 + row;
            int sx = srcRect.mX + (dest.mX - dx);
            size_t base = size_t(sy) * size_t(srcW) + size_t(sx);
            uint32_t* d = bits + size_t(dest.mY + row) * size_t(mWidth) + size_t(dest.mX);
            const uint8_t* r = runs + base;
            int i = 0;
            if (sp.mBits)
            {
                // The source's row plan: copy the long opaque stretches, blend everything between them (edges,
                // shadows, short runs), which on an opaque destination gives the same pixels as the run-by-run
                // rule with far fewer branches.
                const uint32_t* srcRow = sp.mBits + size_t(sy) * size_t(srcW);
                int x0 = sx, x1 = sx + dest.mWidth;
                uint32_t* dRow = d - x0;
                for (uint32_t k = src->mBlitSpanRows[size_t(sy)]; k < src->mBlitSpanRows[size_t(sy) + 1]; ++k)
                {
                    const BlitSpan& span = src->mBlitSpans[k];
                    int s0 = std::max<int>(span.mX, x0), s1 = std::min<int>(span.mX + span.mLength, x1);
                    if (s1 <= s0)
                        continue;
                    if (span.mCopy)
                        copyRow(dRow + s0, srcRow + s0, s1 - s0);
                    else
                        blendRow(dRow + s0, srcRow + s0, s1 - s0);
                }
            }
            else
            {
                const uint8_t* idx = sp.mIndices + base;
                while (i < dest.mWidth)
                {
                    int run = std::min<int>(r[i], dest.mWidth - i);
                    uint32_t a = sp.mTable[idx[i]] >> 24;
                    if (a == 255)
                        for (int k = 0; k < run; ++k)
                            d[i + k] = sp.mTable[idx[i + k]];
                    else if (a != 0)
                    {
                        for (int k = 0; k < run; ++k)
                            rowBuf[k] = sp.mTable[idx[i + k]];
                        blendRow(d + i, rowBuf, run);
                    }
                    i += run;
                }
            }
        }
    }
    else
    {
        const BlitRows rows{bits, mWidth, dest, sy0, srcW, src->AlphaRuns()};
        if (mirror)
            BlitMirroredRows(rows, sp, srcRect.mX + srcRect.mWidth - 1 - (dest.mX - dx), color, untinted, opaqueBefore);
        else
            BlitRowsPixelByPixel(rows, sp, srcRect.mX + (dest.mX - dx), color, untinted, opaqueBefore);
    }
    OnRegionChanged(dest);
    MarkPixelsChanged();
    bool coversAll = dest == GetRect() && srcOpaque && color.mAlpha >= 255;
    if (!mPinnedMode && (opaqueBefore || coversAll))
    {
        mHasClearPixels = mHasPartialAlpha = false;
        mFlagsStale = false;
    }
}

void MemoryImage::BlitStretchedImage(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                                     const Color& color, int mode, bool quick)
{
    MemoryImage* source = src ? src->AsMemoryImage() : nullptr;
    if (source)
        BlitStretchedInternal(source, destRect, srcRect, clip, color, mode, quick, false);
}

void MemoryImage::BlitStretchedInternal(MemoryImage* src, const Rect& destRect, const Rect& srcRectIn,
                                        const Rect& clip, const Color& color, int mode, bool quick, bool mirror)
{
    src->SetUsed(true);
    Rect srcRect = srcRectIn.Intersection(src->GetRect());
    if (srcRect.IsEmpty() || destRect.IsEmpty() || srcRect != srcRectIn)
        return;
    Rect dest = destRect.Intersection(clip).Intersection(WritableArea());
    if (dest.IsEmpty())
        return;
    src->RefreshTransparencyFlags();
    bool untinted = IsWhite(color);
    bool useAlpha = src->HasPartialAlpha() || color.mAlpha < 255;
    bool opaqueBefore = DestinationOpaque();
    uint32_t* bits = PixelData();
    SourcePixels sp = SourceOf(src);
    double stepX = double(srcRect.mWidth) / destRect.mWidth;
    double stepY = double(srcRect.mHeight) / destRect.mHeight;
    bool nearest = quick && untinted;
    for (int y = dest.mY; y < dest.mY + dest.mHeight; ++y)
    {
        uint32_t* d = bits + size_t(y) * size_t(mWidth);
        double fy = srcRect.mY + (y - destRect.mY + 0.5) * stepY;
        int sy = srcRect.mY + Pixels::QuickScaleStep(y - destRect.mY, srcRect.mHeight, destRect.mHeight);
        for (int x = dest.mX; x < dest.mX + dest.mWidth; ++x)
        {
            int dxi = x - destRect.mX;
            if (mirror)
                dxi = destRect.mWidth - 1 - dxi;
            uint32_t s;
            if (nearest)
            {
                s = sp.At(srcRect.mX + Pixels::QuickScaleStep(dxi, srcRect.mWidth, destRect.mWidth), sy);
            }
            else
            {
                double fx = srcRect.mX + (dxi + 0.5) * stepX;
                s = SampleBilinear(sp, srcRect, fx, fy);
                if (!untinted)
                    s = Tint(s, color);
            }
            d[x] = mode == DRAWMODE_ADDITIVE ? BlendAdditive(d[x], s, useAlpha) : BlendNormal(d[x], s);
        }
    }
    EndOpaqueKeepingWrite(dest, opaqueBefore);
}

void MemoryImage::BlitImageAt(Image* src, double x, double y, const Rect& srcRect, const Rect& clip,
                              const Color& color, int mode)
{
    BlitRotatedImage(src, x, y, srcRect, clip, color, mode, 0.0, 0.0, 0.0);
}

void MemoryImage::BlitRotatedImage(Image* src, double x, double y, const Rect& srcRect, const Rect& clip,
                                   const Color& color, int mode, double angle, double centerX, double centerY)
{
    // dest = (x, y) + c + R (p - c) for p in source-rectangle coordinates, written relative to the source centre
    // as the matrix blit expects: dest = (x, y) + R q + t with q = p - h, t = R (h - c) + c.
    double c = std::cos(angle), s = std::sin(angle);
    double hx = srcRect.mWidth / 2.0, hy = srcRect.mHeight / 2.0;
    Matrix3 m;
    m.m[0][0] = float(c);
    m.m[0][1] = float(s);
    m.m[1][0] = float(-s);
    m.m[1][1] = float(c);
    m.m[0][2] = float(c * (hx - centerX) + s * (hy - centerY) + centerX);
    m.m[1][2] = float(-s * (hx - centerX) + c * (hy - centerY) + centerY);
    BlitMatrixImage(src, x, y, m, clip, color, mode, srcRect, true);
}

void MemoryImage::BlitMatrixImage(Image* src, double x, double y, const Matrix3& matrix, const Rect& clip,
                                  const Color& color, int mode, const Rect& srcRectIn, bool smooth)
{
    MemoryImage* source = src ? src->AsMemoryImage() : nullptr;
    if (!source)
        return;
    source->SetUsed(true);
    Rect srcRect = srcRectIn.Intersection(source->GetRect());
    if (srcRect.IsEmpty())
        return;
    Matrix3 full = Matrix3::Translation(float(x), float(y)) * matrix *
                   Matrix3::Translation(-srcRect.mWidth / 2.0f, -srcRect.mHeight / 2.0f);
    Matrix3 inverse;
    if (!full.Inverse(inverse))
        return;
    Rect dest = MatrixBlitBox(x, y, matrix, srcRect).Intersection(clip).Intersection(WritableArea());
    if (dest.IsEmpty())
        return;
    source->RefreshTransparencyFlags();
    bool untinted = IsWhite(color);
    bool useAlpha = source->HasPartialAlpha() || color.mAlpha < 255;
    bool opaqueBefore = DestinationOpaque();
    uint32_t* bits = PixelData();
    SourcePixels sp = SourceOf(source);
    for (int py = dest.mY; py < dest.mY + dest.mHeight; ++py)
    {
        uint32_t* d = bits + size_t(py) * size_t(mWidth);
        for (int px = dest.mX; px < dest.mX + dest.mWidth; ++px)
        {
            float u, v;
            inverse.Apply(px + 0.5f, py + 0.5f, u, v);
            if (u < 0 || v < 0 || u >= srcRect.mWidth || v >= srcRect.mHeight)
                continue;
            uint32_t s = smooth ? SampleBilinear(sp, srcRect, srcRect.mX + u, srcRect.mY + v)
                                : sp.At(srcRect.mX + int(u), srcRect.mY + int(v));
            if (!untinted)
                s = Tint(s, color);
            d[px] = mode == DRAWMODE_ADDITIVE ? BlendAdditive(d[px], s, useAlpha) : BlendNormal(d[px], s);
        }
    }
    EndOpaqueKeepingWrite(dest, opaqueBefore);
}

Rect MemoryImage::MatrixBlitBox(double x, double y, const Matrix3& matrix, const Rect& srcRect)
{
    Matrix3 full = Matrix3::Translation(float(x), float(y)) * matrix *
                   Matrix3::Translation(-srcRect.mWidth / 2.0f, -srcRect.mHeight / 2.0f);
    Matrix3 inverse;
    if (!full.Inverse(inverse))
        return Rect();
    float cx[4], cy[4];
    float corners[4][2] = {{0, 0}, {float(srcRect.mWidth), 0}, {0, float(srcRect.mHeight)},
                           {float(srcRect.mWidth), float(srcRect.mHeight)}};
    for (int i = 0; i < 4; ++i)
        full.Apply(corners[i][0], corners[i][1], cx[i], cy[i]);
    float minX = *std::min_element(cx, cx + 4), maxX = *std::max_element(cx, cx + 4);
    float minY = *std::min_element(cy, cy + 4), maxY = *std::max_element(cy, cy + 4);
    return Rect(int(std::floor(minX)), int(std::floor(minY)), int(std::ceil(maxX)) - int(std::floor(minX)) + 1,
                int(std::ceil(maxY)) - int(std::floor(minY)) + 1);
}

void MemoryImage::BlitTrianglesImage(Image* src, const Triangle* triangles, int count, const Rect& clip,
                                     const Color& color, int mode, double x, double y, bool smooth)
{
    MemoryImage* source = src ? src->AsMemoryImage() : nullptr;
    if (!source || count <= 0 || source->GetRect().IsEmpty())
        return;
    source->SetUsed(true);
    source->RefreshTransparencyFlags();
    bool untinted = IsWhite(color);
    bool useAlpha = source->HasPartialAlpha() || color.mAlpha < 255;
    bool opaqueBefore = DestinationOpaque();
    uint32_t* bits = PixelData();
    SourcePixels sp = SourceOf(source);
    Rect limit = clip.Intersection(WritableArea());
    Rect changed;
    for (int t = 0; t < count; ++t)
    {
        const TriVertex* v = triangles[t].mVertex;
        double x0 = v[0].mX + x, y0 = v[0].mY + y, x1 = v[1].mX + x, y1 = v[1].mY + y, x2 = v[2].mX + x,
               y2 = v[2].mY + y;
        double area = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
        if (area == 0)
            continue;
        Rect box(int(std::floor(std::min({x0, x1, x2}))), int(std::floor(std::min({y0, y1, y2}))), 0, 0);
        box.mWidth = int(std::ceil(std::max({x0, x1, x2}))) - box.mX + 1;
        box.mHeight = int(std::ceil(std::max({y0, y1, y2}))) - box.mY + 1;
        box = box.Intersection(limit);
        if (box.IsEmpty())
            continue;
        changed = changed.Union(box);
        for (int py = box.mY; py < box.mY + box.mHeight; ++py)
            for (int px = box.mX; px < box.mX + box.mWidth; ++px)
            {
                double cxp = px + 0.5, cyp = py + 0.5;
                double w0 = ((x1 - cxp) * (y2 - cyp) - (x2 - cxp) * (y1 - cyp)) / area;
                double w1 = ((x2 - cxp) * (y0 - cyp) - (x0 - cxp) * (y2 - cyp)) / area;
                double w2 = 1.0 - w0 - w1;
                if (w0 < 0 || w1 < 0 || w2 < 0)
                    continue;
                double u = w0 * v[0].mU + w1 * v[1].mU + w2 * v[2].mU;
                double vv = w0 * v[0].mV + w1 * v[1].mV + w2 * v[2].mV;
                uint32_t s = smooth ? SampleBilinear(sp, source->GetRect(), u, vv)
                                    : sp.AtOrClear(int(std::floor(u)), int(std::floor(vv)));
                if (!untinted)
                    s = Tint(s, color);
                uint32_t& d = bits[size_t(py) * size_t(mWidth) + size_t(px)];
                d = mode == DRAWMODE_ADDITIVE ? BlendAdditive(d, s, useAlpha) : BlendNormal(d, s);
            }
    }
    if (changed.IsEmpty())
        return;
    EndOpaqueKeepingWrite(changed, opaqueBefore);
}

} // namespace Zestra
