// The drawing context handed to every Paint: a target image plus translation, clip, colour, font, draw mode and a
// few switches. Calls in widget coordinates become clipped calls of the target's primitives. Copying a Graphics
// copies the state but not the stack of saved states.
#pragma once

#include "framework/graphics/Color.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/Rect.h"
#include "framework/graphics/Transform.h"

#include <memory>
#include <string>
#include <vector>

namespace Zestra
{

class Font;
class TextObserver;

class GraphicsState
{
public:
    Image* mTarget = nullptr;
    float mOffsetX = 0;
    float mOffsetY = 0;
    float mZoomX = 1.0f;
    float mZoomY = 1.0f;
    float mZoomOriginX = 0;
    float mZoomOriginY = 0;
    Rect mClip;
    Color mInk = Color(0, 0, 0, 255);
    Font* mTypeface = nullptr;
    int mBlendMode = DRAWMODE_NORMAL;
    bool mTintImages = false;
    bool mQuickScaling = false;
    bool mColorCodes = true;
    bool mSmoothBlending = false;
    bool mAccelerated = false;
    TextObserver* mTextObserver = nullptr; // not owned; copies and saved states keep it
};

class Graphics : public GraphicsState
{
public:
    // Without an image the context draws into an empty image that ignores everything (for measuring).
    Graphics();
    explicit Graphics(Image* target);
    Graphics(const Graphics& other);
    Graphics& operator=(const Graphics& other);
    virtual ~Graphics();

    Graphics* Clone() const;

    void SaveState();
    void RestoreState();

    Image* GetTarget() const { return mTarget; }
    void SetTypeface(Font* font) { mTypeface = font; }
    Font* GetTypeface() const { return mTypeface; }
    void SetInk(const Color& color) { mInk = color; }
    const Color& GetInk() const { return mInk; }
    void SetBlendMode(int mode) { mBlendMode = mode; }
    int GetBlendMode() const { return mBlendMode; }
    void SetTintImages(bool on) { mTintImages = on; }
    bool GetTintImages() const { return mTintImages; }
    void SetQuickScaling(bool on) { mQuickScaling = on; }
    bool GetQuickScaling() const { return mQuickScaling; }
    void SetSmoothBlending(bool on) { mSmoothBlending = on; }
    bool GetSmoothBlending() const { return mSmoothBlending; }
    void SetColorCodes(bool on) { mColorCodes = on; }
    bool GetColorCodes() const { return mColorCodes; }
    void SetZoom(float zoomX, float zoomY, float originX = 0, float originY = 0);

    void Offset(float dx, float dy);
    void SetOffset(float x, float y);
    float GetOffsetX() const { return mOffsetX; }
    float GetOffsetY() const { return mOffsetY; }

    // The clip in target coordinates.
    const Rect& GetClip() const { return mClip; }
    // Replaces the clip by the rectangle moved by the translation, limited to the target.
    void SetClip(int x, int y, int w, int h);
    void SetClip(const Rect& rect) { SetClip(rect.mX, rect.mY, rect.mWidth, rect.mHeight); }
    // The clip becomes its intersection with the rectangle moved by the translation; (0, 0, 0, 0) when empty.
    void RestrictClip(int x, int y, int w, int h);
    void RestrictClip(const Rect& rect) { RestrictClip(rect.mX, rect.mY, rect.mWidth, rect.mHeight); }
    // Clip back to the whole target.
    void ClearClip();

    void FillBox(int x, int y, int w, int h);
    void FillBox(const Rect& rect) { FillBox(rect.mX, rect.mY, rect.mWidth, rect.mHeight); }
    void OutlineBox(int x, int y, int w, int h);
    void OutlineBox(const Rect& rect) { OutlineBox(rect.mX, rect.mY, rect.mWidth, rect.mHeight); }
    void ClearBox(int x, int y, int w, int h);
    void StrokeLine(int x1, int y1, int x2, int y2);
    void StrokeSmoothLine(int x1, int y1, int x2, int y2);
    // Fills a polygon given in widget coordinates (even-odd rule); false when the target cannot.
    bool FillPolygon(const Point* points, int count);

    void Blit(Image* img, int x, int y);
    void Blit(Image* img, int x, int y, const Rect& src);
    void BlitScaled(Image* img, int x, int y, int w, int h);
    void BlitScaled(Image* img, const Rect& dest, const Rect& src);
    void BlitFlipped(Image* img, int x, int y, const Rect& src, bool mirror);
    void BlitFlipped(Image* img, int x, int y, bool mirror);
    void BlitFlipped(Image* img, const Rect& dest, const Rect& src, bool mirror);
    void BlitCell(Image* img, int x, int y, int cel);
    void BlitCell(Image* img, int x, int y, int column, int row);
    void BlitCellFlipped(Image* img, int x, int y, int cel, bool mirror);
    void BlitRotated(Image* img, int x, int y, double angle, double centerX, double centerY);
    void BlitRotated(Image* img, int x, int y, double angle, double centerX, double centerY, const Rect& src);
    void BlitRotatedAt(Image* img, double x, double y, double angle, double centerX, double centerY,
                       const Rect& src);
    void BlitMatrix(Image* img, const Matrix3& matrix, const Rect& src, double x, double y);
    void BlitMatrix(Image* img, const Matrix3& matrix, double x, double y);
    void BlitTriangles(Image* img, const Triangle* triangles, int count);
    void BlitTransformed(Image* img, const Transform& transform, double x, double y);
    void BlitNinePart(const Rect& dest, Image* img);
    void BlitNinePart(const Rect& src, const Rect& dest, Image* img);

    // Text with the current font; y is the baseline.
    void PrintText(const std::string& text, int x, int y);
    // One line with colour codes; justify -1 left (and measuring), 0 centre, 1 right. Returns the width.
    int PrintColored(const std::string& text, int x, int y, int width = -1, int justify = -1, bool draw = true,
                     int offset = 0, int length = -1, int oldColor = -1);
    // Word-wrapped text inside rect; returns the height used.
    int PrintWrapped(const Rect& rect, const std::string& text, int lineSpacing = -1, int justify = -1,
                     int* maxWidth = nullptr, int length = -1, int* lastWidth = nullptr);
    int MeasureWrapped(int width, const std::string& text, int lineSpacing = -1, int* maxWidth = nullptr);

    // The colour images are drawn with: the ink when tinting, else white.
    Color ImageColor() const { return mTintImages ? mInk : Color::White; }

private:
    // Every run of text goes through here, so an observer sees all of them.
    void DrawRun(Font* font, int x, int y, const std::string& text);
    void BeginPrint();
    void EndPrint() { --mPrintDepth; }
    int WrapText(const Rect& rect, const std::string& text, int lineSpacing, int justify, int* maxWidth, int length,
                 int* lastWidth, bool draw);
    void BlitStretchedClipped(Image* img, const Rect& dest, const Rect& src, bool mirror);
    void TileInto(Image* img, const Rect& src, const Rect& area, const Rect& clip, bool tileX, bool tileY);

    std::vector<GraphicsState> mSavedStates;
    std::shared_ptr<Image> mEmptyTarget;
    int mPrintDepth = 0;  // print calls under way on this context (wrapping prints lines)
    int mRunsInPrint = 0; // runs drawn by the outermost of them
};

} // namespace Zestra
