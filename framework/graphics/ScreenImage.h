// The image the widget manager paints into and the display presents. On top of the memory image it draws
// mirrored (people walking left) and collects the rectangles that changed, so presentation uploads only those.
//
// A frame painted between BeginFrame and EndFrame is first only noted, primitive by primitive. EndFrame compares
// the notes with the previous frame's, tile by tile, and carries the primitives out only over the tiles whose
// picture can differ, each limited to those tiles. Every pixel ends up exactly as painting the whole frame would
// leave it: a tile is left alone only when the same primitives with the same sources fall on it in the same order
// as last time, after something that sets its pixels outright (an opaque picture or fill), so repainting it would
// give what it already holds.
#pragma once

#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/PixelView.h"

#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace Zestra
{

class ScreenImage : public MemoryImage, private ImageWatcher
{
public:
    ScreenImage(int width, int height, ImageRegistry* registry = nullptr);
    ~ScreenImage() override;
    ScreenImage(const ScreenImage&) = delete;
    ScreenImage& operator=(const ScreenImage&) = delete;

    void FillRectangle(const Rect& rect, const Color& color, int mode) override;
    void ClearRectangle(const Rect& rect) override;
    void DrawSegment(double x1, double y1, double x2, double y2, const Color& color, int mode) override;
    void DrawSmoothSegment(double x1, double y1, double x2, double y2, const Color& color, int mode) override;
    void FillSpansWithCoverage(const Span* spans, int count, const Color& color, const uint8_t* coverage,
                               int mode) override;
    void BlitImage(Image* src, int x, int y, const Rect& srcRect, const Color& color, int mode) override;
    void BlitMirroredImage(Image* src, int x, int y, const Rect& srcRect, const Color& color, int mode) override;
    void BlitStretchedImage(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                            const Color& color, int mode, bool quick) override;
    void BlitStretchedMirroredImage(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                                    const Color& color, int mode, bool quick) override;
    void BlitMatrixImage(Image* src, double x, double y, const Matrix3& matrix, const Rect& clip, const Color& color,
                         int mode, const Rect& srcRect, bool smooth) override;
    void BlitTrianglesImage(Image* src, const Triangle* triangles, int count, const Rect& clip, const Color& color,
                            int mode, double x, double y, bool smooth) override;

    // Someone reaching for the pixels in the middle of a noted frame gets them with the frame so far painted.
    uint32_t* PixelData() override;
    const uint32_t* ReadablePixels() override;

    // Frames (see above). Without retained drawing, or outside a frame, every primitive paints at once.
    void BeginFrame();
    void EndFrame();
    void SetRetainedDrawing(bool on);
    bool RetainedDrawing() const { return mRetained; }
    // Pixels the last frame repainted (all of the frame's area when it painted everything).
    int64_t LastFramePaintedPixels() const { return mLastPaintedPixels; }

    // Changed rectangles since the last TakeDirtyRects, merged where they overlap; the whole screen once they
    // would cover most of it anyway.
    const std::vector<Rect>& GetDirtyRects() const { return mDirty; }
    bool HasChanges() const { return !mDirty.empty(); }
    void MarkAllDirty();
    std::vector<Rect> TakeDirtyRects();

    PixelView GetPixelView();
    // Hands the pixels and what changed to the display; an empty list there means the whole image.
    bool PresentTo(PixelSink& display);

    // Limit on separate rectangles before they are merged into their union.
    static constexpr size_t MAX_DIRTY_RECTS = 32;
    // Side of the square tiles frames are compared by.
    static constexpr int TILE_SIZE = 16;

protected:
    void OnRegionChanged(const Rect& rect) override;

private:
    enum class Kind : uint8_t
    {
        Fill,
        Clear,
        Segment,
        SmoothSegment,
        CoverageSpans,
        Blit,
        BlitMirrored,
        Stretched,
        StretchedMirrored,
        Matrix,
        Triangles,
    };

    // One noted primitive with everything it reads; the spans, coverage bytes and triangles it was given are kept
    // in the frame's pools.
    struct Command
    {
        Kind mKind = Kind::Fill;
        bool mFlag = false; // quick or smooth
        int mMode = 0;
        MemoryImage* mSource = nullptr;
        Color mColor;
        Rect mRect; // fill, clear and stretch destination
        Rect mSrcRect;
        Rect mClip;
        int mX = 0;
        int mY = 0;
        double mX1 = 0, mY1 = 0, mX2 = 0, mY2 = 0; // segment ends; blit position for matrices and triangles
        Matrix3 mMatrix;
        size_t mFirst = 0; // first span or triangle in the pools
        size_t mCount = 0;
        size_t mFirstCoverage = 0;
        Rect mBounds;     // every pixel the primitive may write lies inside
        bool mSetsPixels = false; // writes every pixel of its bounds without reading it
        uint64_t mHash = 0;
    };

    struct TileState
    {
        uint64_t mHash = 0;
        bool mAny = false;     // something painted on it
        bool mCovered = false; // something set all of its pixels outright
        bool operator==(const TileState&) const = default;
    };

    // What a tile holds when it is not known what made it: never taken as unchanged.
    static TileState UnknownTile()
    {
        TileState t;
        t.mAny = true;
        return t;
    }

    bool Noting() const { return mInFrame && !mImmediate && !mReplaying; }
    void Note(Command& command);
    void WatchSource(MemoryImage* source, const Rect& area);
    bool DrawnThisFrame(MemoryImage* image) const;
    void ClearFrameNotes();
    void Execute(const Command& command);
    void FinishNotedNow();
    void ForgetPreviousFrame();
    void ForceArea(const Rect& rect);
    void BuildDamage();

    void BeforeImageChange(MemoryImage* image) override;
    void StopWatching(MemoryImage* image) override;

    std::vector<Rect> mDirty;
    bool mAllDirty = true;

    bool mRetained = true;
    bool mInFrame = false;
    bool mImmediate = false; // the frame so far was painted as it came
    bool mReplaying = false;
    std::vector<Command> mCommands;
    std::vector<Span> mSpanPool;
    std::vector<uint8_t> mCoveragePool;
    std::vector<Triangle> mTrianglePool;
    // The images this frame's notes draw from, with the area they cover; each image's watcher tag holds the
    // frame's serial number and its place here.
    struct SourceArea
    {
        MemoryImage* mImage;
        Rect mArea;
    };
    std::vector<SourceArea> mFrameSources;
    uint32_t mFrameSerial = 1;
    // Images the tiles' last painting came from, with the area they were drawn over.
    std::unordered_map<MemoryImage*, Rect> mShownSources;
    std::unordered_set<MemoryImage*> mWatched;

    int mTilesX = 0;
    int mTilesY = 0;
    std::vector<TileState> mShown;   // per tile: what the last painting noted there
    std::vector<TileState> mCurrent; // per tile: what this frame notes there
    std::vector<uint8_t> mForced;    // per tile: changed by painting that was not noted
    std::vector<Rect> mDamage;
    int64_t mLastPaintedPixels = 0;
};

} // namespace Zestra
