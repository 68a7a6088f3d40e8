// Base of everything that can be drawn or drawn onto: size, cel grid, source path, animation description, and the
// virtual drawing primitives that Graphics calls after translating and clipping. The base primitives draw nothing.
#pragma once

#include "framework/graphics/Color.h"
#include "framework/graphics/Matrix3.h"
#include "framework/graphics/Rect.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Zestra
{

class MemoryImage;

// How the cels of an image animate (filled from the resource manifest).
struct AnimationInfo
{
    enum Kind
    {
        None = 0,
        Once = 1,
        PingPong = 2,
        Loop = 3,
    };

    // Bounds the readers check before anything is made: frames (cel grid side, map or delay list) and delays in
    // updates. kMaxFrames delays of kMaxDelay each still add up within an int.
    static constexpr int kMaxFrames = 4096;
    static constexpr int kMaxDelay = 360000;

    int mKind = None;
    int mFrameDelay = 1;            // default delay per cel, in updates
    int mCelCount = 1;              // number of animation frames
    std::vector<int> mPerCelDelay;  // delay of each frame when set
    std::vector<int> mCelMap;       // frame to cel mapping when set
    int mTotalTime = 0;             // sum of the delays

    // Fills in the frame count, the ping-pong map and the total time. Counts beyond kMaxFrames and delays beyond
    // kMaxDelay are cut to those bounds.
    void Compute(int celCount, int firstDelay = 0, int lastDelay = 0);

    // Delay of one frame (the default delay when no per-frame list is set or the frame is outside it).
    int FrameDelay(int frame) const;
    // Cel shown by a frame: through the map when there is one, else the frame itself.
    int CelOfFrame(int frame) const;
    // Cel shown at a time in updates since the start, honouring the kind (once stops on the last frame).
    int CelAtTime(int time) const;
};

// One span of a filled shape: row y, from x, width pixels.
struct Span
{
    int mY = 0;
    int mX = 0;
    int mWidth = 0;
};

// One corner of a textured triangle: destination position and source position in source pixels.
struct TriVertex
{
    float mX = 0;
    float mY = 0;
    float mU = 0;
    float mV = 0;
};

struct Triangle
{
    TriVertex mVertex[3];
};

// Draw modes of every primitive.
enum DrawMode
{
    DRAWMODE_NORMAL = 0,
    DRAWMODE_ADDITIVE = 1,
};

class Image
{
public:
    Image() = default;
    Image(const Image& other);
    Image& operator=(const Image& other);
    virtual ~Image();

    int GetWidth() const { return mWidth; }
    int GetHeight() const { return mHeight; }
    Rect GetRect() const { return Rect(0, 0, mWidth, mHeight); }

    int GetCelRows() const { return mCelRows; }
    int GetCelCols() const { return mCelCols; }
    // Rows and columns below 1 are taken as 1, so a bad grid never divides by zero.
    void SetCelGrid(int rows, int cols);
    int GetCelWidth() const { return mWidth / mCelCols; }
    int GetCelHeight() const { return mHeight / mCelRows; }
    int GetCelCount() const { return mCelRows * mCelCols; }
    // Cel index = row * columns + column.
    Rect GetCelRect(int cel) const;
    Rect GetCelRect(int column, int row) const;

    const std::string& GetSourcePath() const { return mSourcePath; }
    void SetSourcePath(const std::string& path) { mSourcePath = path; }

    bool IsUsed() const { return mUsed; }
    void SetUsed(bool used) { mUsed = used; }

    const AnimationInfo* GetAnimation() const { return mAnimation.get(); }
    AnimationInfo* GetAnimation() { return mAnimation.get(); }
    void SetAnimation(std::unique_ptr<AnimationInfo> animation) { mAnimation = std::move(animation); }

    // The software image behind this one, when it is one (drawing code reads pixels through it).
    virtual MemoryImage* AsMemoryImage() { return nullptr; }
    virtual const MemoryImage* AsMemoryImage() const { return nullptr; }

    // Primitives, in target coordinates; callers have clipped rectangles to the image already.
    virtual bool FillPolygon(const Point* points, int count, const Rect& clip, const Color& color, int mode);
    virtual void FillRectangle(const Rect& rect, const Color& color, int mode);
    virtual void OutlineRectangle(const Rect& rect, const Color& color, int mode);
    virtual void ClearRectangle(const Rect& rect);
    virtual void DrawSegment(double x1, double y1, double x2, double y2, const Color& color, int mode);
    virtual void DrawSmoothSegment(double x1, double y1, double x2, double y2, const Color& color, int mode);
    virtual void FillSpans(const Span* spans, int count, const Color& color, int mode);
    // coverage holds one byte per pixel of the spans, in span order.
    virtual void FillSpansWithCoverage(const Span* spans, int count, const Color& color, const uint8_t* coverage,
                                       int mode);
    virtual void BlitImage(Image* src, int x, int y, const Rect& srcRect, const Color& color, int mode);
    virtual void BlitImageAt(Image* src, double x, double y, const Rect& srcRect, const Rect& clip,
                             const Color& color, int mode);
    virtual void BlitRotatedImage(Image* src, double x, double y, const Rect& srcRect, const Rect& clip,
                                  const Color& color, int mode, double angle, double centerX, double centerY);
    virtual void BlitStretchedImage(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                                    const Color& color, int mode, bool quick);
    // The matrix maps source points, relative to the centre of srcRect, to offsets from (x, y).
    virtual void BlitMatrixImage(Image* src, double x, double y, const Matrix3& matrix, const Rect& clip,
                                 const Color& color, int mode, const Rect& srcRect, bool smooth);
    virtual void BlitTrianglesImage(Image* src, const Triangle* triangles, int count, const Rect& clip,
                                    const Color& color, int mode, double x, double y, bool smooth);
    virtual void BlitMirroredImage(Image* src, int x, int y, const Rect& srcRect, const Color& color, int mode);
    virtual void BlitStretchedMirroredImage(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                                            const Color& color, int mode, bool quick);

protected:
    bool mUsed = false;
    std::string mSourcePath;
    int mWidth = 0;
    int mHeight = 0;
    int mCelRows = 1;
    int mCelCols = 1;
    std::unique_ptr<AnimationInfo> mAnimation;
};

} // namespace Zestra
