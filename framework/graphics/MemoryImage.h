// The software image: 32-bit 0xAARRGGBB pixels (straight alpha) or 8-bit indices into a 256-colour table, with
// lazily built caches (transparency flags, run-length alpha and additive data, native premultiplied pixels) that
// make drawing fast, and software versions of every primitive.
#pragma once

#include "framework/graphics/Image.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Zestra
{

class ImageRegistry;
class MemoryImage;

// Told before a watched image's pixels change, and when the image goes away or another watcher takes it over, so
// that drawing noted from it and not yet carried out can be finished first, and pictures made from it redone.
class ImageWatcher
{
public:
    virtual void BeforeImageChange(MemoryImage* image) = 0;
    virtual void StopWatching(MemoryImage* image) = 0;

protected:
    ~ImageWatcher() = default;
};

// Channel layout of the display's native pixels; the default is the framework's own 0xAARRGGBB.
struct NativeFormat
{
    uint32_t mRedMask = 0x00FF0000;
    uint32_t mGreenMask = 0x0000FF00;
    uint32_t mBlueMask = 0x000000FF;
    int mRedShift = 16;
    int mGreenShift = 8;
    int mBlueShift = 0;

    bool operator==(const NativeFormat&) const = default;
};

class MemoryImage : public Image
{
public:
    static constexpr uint32_t GUARD_WORD = 0x4BEEFADE;

    explicit MemoryImage(ImageRegistry* registry = nullptr);
    MemoryImage(int width, int height, ImageRegistry* registry = nullptr);
    // A copy registers with the same registry; caches are rebuilt on demand.
    MemoryImage(const MemoryImage& other);
    MemoryImage& operator=(const MemoryImage&) = delete;
    ~MemoryImage() override;

    MemoryImage* AsMemoryImage() override { return this; }
    const MemoryImage* AsMemoryImage() const override { return this; }

    ImageRegistry* GetRegistry() const { return mRegistry; }

    // Pixels, created when absent (palette, native data or zeros). Writers call MarkPixelsChanged afterwards.
    uint32_t* GetBits() { return PixelData(); }
    // Pixels as they stand, or null when the image holds only a palette or nothing.
    const uint32_t* PeekBits() const { return mBits.get(); }
    // The pixel at (x, y), read through the palette when there is one; 0 outside or without pixels.
    uint32_t GetPixel(int x, int y) const;
    bool HasBits() const { return mBits != nullptr; }
    bool IsPalettized() const { return mPaletteIndices != nullptr; }
    const uint32_t* GetPaletteTable() const { return mPaletteTable.get(); }
    const uint8_t* GetPaletteIndices() const { return mPaletteIndices.get(); }
    // True while the word after the last pixel still holds GUARD_WORD (false without pixels).
    bool GuardIntact() const;

    int GetPixelVersion() const { return mPixelVersion; }
    bool HasClearPixels() const { return mHasClearPixels; }
    bool HasPartialAlpha() const { return mHasPartialAlpha; }
    bool IsVolatile() const { return mVolatile; }
    bool WantsPalette() const { return mWantPalette; }
    // Whether the transparency flags were set by hand (ForceTransparencyFlags) rather than read from the pixels.
    bool FlagsPinned() const { return mPinnedMode; }
    bool DropsBitsAfterUpload() const { return mDropBitsAfterUpload; }

    // Primitives (see Image).
    void FillRectangle(const Rect& rect, const Color& color, int mode) override;
    void ClearRectangle(const Rect& rect) override;
    void DrawSegment(double x1, double y1, double x2, double y2, const Color& color, int mode) override;
    void DrawSmoothSegment(double x1, double y1, double x2, double y2, const Color& color, int mode) override;
    void FillSpansWithCoverage(const Span* spans, int count, const Color& color, const uint8_t* coverage,
                               int mode) override;
    void BlitImage(Image* src, int x, int y, const Rect& srcRect, const Color& color, int mode) override;
    void BlitImageAt(Image* src, double x, double y, const Rect& srcRect, const Rect& clip, const Color& color,
                     int mode) override;
    void BlitRotatedImage(Image* src, double x, double y, const Rect& srcRect, const Rect& clip, const Color& color,
                          int mode, double angle, double centerX, double centerY) override;
    void BlitStretchedImage(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                            const Color& color, int mode, bool quick) override;
    void BlitMatrixImage(Image* src, double x, double y, const Matrix3& matrix, const Rect& clip, const Color& color,
                         int mode, const Rect& srcRect, bool smooth) override;
    void BlitTrianglesImage(Image* src, const Triangle* triangles, int count, const Rect& clip, const Color& color,
                            int mode, double x, double y, bool smooth) override;

    // Caches.
    virtual const uint32_t* NativePremultiplied(const NativeFormat& format = NativeFormat());
    virtual const uint8_t* AlphaRuns();
    virtual const uint8_t* AdditiveRuns(const NativeFormat& format = NativeFormat());
    virtual void DropBits();
    virtual void DropSoftwareCaches();
    virtual void DropDisplayCopy();
    virtual void DropAllCaches();
    virtual void Restore();
    virtual void MarkPixelsChanged();
    virtual void RefreshTransparencyFlags();
    virtual void DropNativeCaches();
    virtual void ClearAll();
    virtual void AssignPixels(const uint32_t* bits, int width, int height, bool commit);
    virtual void Allocate(int width, int height);
    virtual uint32_t* PixelData();
    virtual void ForceTransparencyFlags(bool hasTrans, bool hasAlpha);
    virtual void MarkVolatile(bool on);
    virtual bool ToPalette();
    // The 32-bit pixels for reading (made from the palette when there is one); no change is announced.
    virtual const uint32_t* ReadablePixels();

    // Bytes held by the pixels and caches (for the image memory report).
    size_t MemoryBytes() const;

    // One watcher per image (the screen that draws it); null for none.
    void SetWatcher(ImageWatcher* watcher) { mWatcher = watcher; }
    ImageWatcher* GetWatcher() const { return mWatcher; }
    // A number the watcher keeps with the image for its own bookkeeping.
    void SetWatcherTag(uint64_t tag) { mWatcherTag = tag; }
    uint64_t GetWatcherTag() const { return mWatcherTag; }

    // The box a matrix blit may write to before clipping (see BlitMatrixImage); empty when the matrix is singular.
    static Rect MatrixBlitBox(double x, double y, const Matrix3& matrix, const Rect& srcRect);

protected:
    // Primitives write only inside this rectangle (in image coordinates) while it is set; every pixel inside gets
    // exactly the value the unlimited primitive would give it.
    void SetWriteLimit(const Rect& limit)
    {
        mWriteLimit = limit;
        mWriteLimited = true;
    }
    void ClearWriteLimit() { mWriteLimited = false; }
    Rect WritableArea() const { return mWriteLimited ? GetRect().Intersection(mWriteLimit) : GetRect(); }

    void NotifyWatcherOfChange()
    {
        if (mWatcher != nullptr)
            mWatcher->BeforeImageChange(this);
    }

    // Called with the rectangle (in this image) that a primitive may have changed, before MarkPixelsChanged;
    // the screen image collects these for presentation.
    virtual void OnRegionChanged(const Rect& rect) {}

    // The shared pixel core used by the screen image's mirrored blits.
    void BlitImageInternal(MemoryImage* src, int x, int y, const Rect& srcRect, const Color& color, int mode,
                           bool mirror);
    void BlitStretchedInternal(MemoryImage* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                               const Color& color, int mode, bool quick, bool mirror);

private:
    // A row's drawing plan for blits onto opaque destinations, derived from the run-length alpha data: long
    // opaque runs to copy and the stretches between them to blend; long transparent runs are left out.
    struct BlitSpan
    {
        uint16_t mX = 0;
        uint16_t mLength = 0;
        uint16_t mCopy = 0;
    };
    void BuildBlitSpans();

    void FreeBits();
    void FreePalette();
    void FreeRunCaches();
    bool DestinationOpaque();
    void EndOpaqueKeepingWrite(const Rect& changed, bool opaqueBefore);
    void BlendPixelNormal(uint32_t& dest, uint32_t src);

    ImageRegistry* mRegistry = nullptr;
    ImageWatcher* mWatcher = nullptr;
    uint64_t mWatcherTag = 0;
    Rect mWriteLimit;
    bool mWriteLimited = false;
    std::unique_ptr<uint32_t[]> mBits;
    std::unique_ptr<uint32_t[]> mPaletteTable;
    std::unique_ptr<uint8_t[]> mPaletteIndices;
    int mPixelVersion = 0;
    bool mFlagsStale = false;
    bool mPinnedMode = false;
    bool mHasClearPixels = false;
    bool mHasPartialAlpha = false;
    bool mVolatile = false;
    bool mDropBitsAfterUpload = false;
    bool mWantPalette = false;
    std::unique_ptr<uint32_t[]> mNativePremultiplied;
    NativeFormat mNativeFormat;
    std::unique_ptr<uint8_t[]> mAlphaRunData;
    std::unique_ptr<uint8_t[]> mAdditiveRunData;
    std::vector<BlitSpan> mBlitSpans;
    std::vector<uint32_t> mBlitSpanRows; // first span of each row, height + 1 entries
    bool mBlitSpansValid = false;
};

} // namespace Zestra
