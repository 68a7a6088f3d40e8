#include "framework/graphics/Graphics.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/TextObserver.h"

#include <algorithm>
#include <cmath>

namespace Zestra
{

namespace
{

inline int Trunc(float v)
{
    return int(v);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A colour code "^RRGGBB^" or "^oldclr^" starting at pos; rgb is -1 for the old colour.
bool ParseColorCode(const std::string& text, size_t pos, size_t end, int& rgb)
{
    if (pos + 8 > end || text[pos] != '^' || text[pos + 7] != '^')
        return false;
    if (text.compare(pos + 1, 6, "oldclr") == 0)
    {
        rgb = -1;
        return true;
    }
    int value = 0;
    for (size_t i = pos + 1; i < pos + 7; ++i)
    {
        int d = HexDigit(text[i]);
        if (d < 0)
            return false;
        value = value * 16 + d;
    }
    rgb = value;
    return true;
}

} // namespace

Graphics::Graphics() : mEmptyTarget(std::make_shared<Image>())
{
    mTarget = mEmptyTarget.get();
    mClip = Rect(0, 0, 0, 0);
}

Graphics::Graphics(Image* target)
{
    if (!target)
    {
        mEmptyTarget = std::make_shared<Image>();
        target = mEmptyTarget.get();
    }
    mTarget = target;
    mClip = Rect(0, 0, target->GetWidth(), target->GetHeight());
}

Graphics::Graphics(const Graphics& other) : GraphicsState(other), mEmptyTarget(other.mEmptyTarget) {}

Graphics& Graphics::operator=(const Graphics& other)
{
    if (this != &other)
    {
        GraphicsState::operator=(other);
        mEmptyTarget = other.mEmptyTarget;
    }
    return *this;
}

Graphics::~Graphics() = default;

Graphics* Graphics::Clone() const
{
    return new Graphics(*this);
}

void Graphics::SaveState()
{
    mSavedStates.push_back(static_cast<const GraphicsState&>(*this));
}

void Graphics::RestoreState()
{
    if (mSavedStates.empty())
        return;
    GraphicsState::operator=(mSavedStates.back());
    mSavedStates.pop_back();
}

void Graphics::SetZoom(float zoomX, float zoomY, float originX, float originY)
{
    mZoomX = zoomX;
    mZoomY = zoomY;
    mZoomOriginX = originX;
    mZoomOriginY = originY;
}

void Graphics::Offset(float dx, float dy)
{
    mOffsetX += dx;
    mOffsetY += dy;
}

void Graphics::SetOffset(float x, float y)
{
    mOffsetX = x;
    mOffsetY = y;
}

void Graphics::SetClip(int x, int y, int w, int h)
{
    Rect r(Trunc(x + mOffsetX), Trunc(y + mOffsetY), w, h);
    mClip = r.Intersection(Rect(0, 0, mTarget->GetWidth(), mTarget->GetHeight()));
    if (mClip.IsEmpty())
        mClip = Rect(0, 0, 0, 0);
}

void Graphics::RestrictClip(int x, int y, int w, int h)
{
    Rect r(Trunc(x + mOffsetX), Trunc(y + mOffsetY), w, h);
    mClip = mClip.Intersection(r);
    if (mClip.IsEmpty())
        mClip = Rect(0, 0, 0, 0);
}

void Graphics::ClearClip()
{
    mClip = Rect(0, 0, mTarget->GetWidth(), mTarget->GetHeight());
}

void Graphics::FillBox(int x, int y, int w, int h)
{
    if (mInk.mAlpha == 0)
        return;
    Rect r = Rect(Trunc(x + mOffsetX), Trunc(y + mOffsetY), w, h).Intersection(mClip);
    if (r.IsEmpty())
        return;
    mTarget->FillRectangle(r, mInk, mBlendMode);
}

void Graphics::ClearBox(int x, int y, int w, int h)
{
    Rect r = Rect(Trunc(x + mOffsetX), Trunc(y + mOffsetY), w, h).Intersection(mClip);
    if (!r.IsEmpty())
        mTarget->ClearRectangle(r);
}

void Graphics::OutlineBox(int x, int y, int w, int h)
{
    if (mInk.mAlpha == 0)
        return;
    int tx = Trunc(x + mOffsetX), ty = Trunc(y + mOffsetY);
    Rect outer(tx, ty, w + 1, h + 1);
    if (outer.Intersection(mClip) == outer && !outer.IsEmpty())
    {
        mTarget->OutlineRectangle(Rect(tx, ty, w, h), mInk, mBlendMode);
        return;
    }
    const Rect parts[4] = {Rect(tx, ty, w + 1, 1), Rect(tx, ty + h, w + 1, 1), Rect(tx, ty + 1, 1, h - 1),
                           Rect(tx + w, ty + 1, 1, h - 1)};
    for (const Rect& p : parts)
    {
        Rect r = p.Intersection(mClip);
        if (!r.IsEmpty())
            mTarget->FillRectangle(r, mInk, mBlendMode);
    }
}

namespace
{

// Clips the segment to [left, right] x [top, bottom] by interpolation; false when nothing remains.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double left, double top, double right, double bottom)
{
    auto clipAxis = [](double& a1, double& b1, double& a2, double& b2, double lo, double hi) {
        if (a1 > a2)
        {
            std::swap(a1, a2);
            std::swap(b1, b2);
        }
        if (a2 < lo || a1 > hi)
            return false;
        if (a1 < lo)
        {
            b1 = b1 + (b2 - b1) * (lo - a1) / (a2 - a1);
            a1 = lo;
        }
        if (a2 > hi)
        {
            b2 = b1 + (b2 - b1) * (hi - a1) / (a2 - a1);
            a2 = hi;
        }
        return true;
    };
    if (!clipAxis(x1, y1, x2, y2, left, right))
        return false;
    return clipAxis(y1, x1, y2, x2, top, bottom);
}

} // namespace

void Graphics::StrokeLine(int x1, int y1, int x2, int y2)
{
    double ax = x1 + double(mOffsetX), ay = y1 + double(mOffsetY), bx = x2 + double(mOffsetX),
           by = y2 + double(mOffsetY);
    if (mClip.IsEmpty() || !ClipSegment(ax, ay, bx, by, mClip.mX, mClip.mY, mClip.mX + mClip.mWidth - 1,
                                        mClip.mY + mClip.mHeight - 1))
        return;
    mTarget->DrawSegment(ax, ay, bx, by, mInk, mBlendMode);
}

void Graphics::StrokeSmoothLine(int x1, int y1, int x2, int y2)
{
    double ax = x1 + double(mOffsetX), ay = y1 + double(mOffsetY), bx = x2 + double(mOffsetX),
           by = y2 + double(mOffsetY);
    if (mClip.IsEmpty() || !ClipSegment(ax, ay, bx, by, mClip.mX, mClip.mY, mClip.mX + mClip.mWidth - 1,
                                        mClip.mY + mClip.mHeight - 1))
        return;
    mTarget->DrawSmoothSegment(ax, ay, bx, by, mInk, mBlendMode);
}

bool Graphics::FillPolygon(const Point* points, int count)
{
    if (count < 3 || mInk.mAlpha == 0)
        return count >= 3;
    std::vector<Point> pts(points, points + count);
    for (Point& p : pts)
    {
        p.mX = Trunc(p.mX + mOffsetX);
        p.mY = Trunc(p.mY + mOffsetY);
    }
    if (mTarget->FillPolygon(pts.data(), count, mClip, mInk, mBlendMode))
        return true;
    // Scanline fill at pixel centres, even-odd, clipped.
    int minY = pts[0].mY, maxY = pts[0].mY;
    for (const Point& p : pts)
    {
        minY = std::min(minY, p.mY);
        maxY = std::max(maxY, p.mY);
    }
    minY = std::max(minY, mClip.mY);
    maxY = std::min(maxY, mClip.mY + mClip.mHeight - 1);
    std::vector<Span> spans;
    std::vector<double> xs;
    for (int y = minY; y <= maxY; ++y)
    {
        double cy = y + 0.5;
        xs.clear();
        for (int i = 0; i < count; ++i)
        {
            const Point& a = pts[size_t(i)];
            const Point& b = pts[size_t((i + 1) % count)];
            if ((a.mY <= cy && b.mY > cy) || (b.mY <= cy && a.mY > cy))
                xs.push_back(a.mX + (cy - a.mY) * (b.mX - a.mX) / double(b.mY - a.mY));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2)
        {
            int x0 = std::max(mClip.mX, int(std::ceil(xs[i] - 0.5)));
            int x1 = std::min(mClip.mX + mClip.mWidth, int(std::ceil(xs[i + 1] - 0.5)));
            if (x1 > x0)
                spans.push_back(Span{y, x0, x1 - x0});
        }
    }
    if (!spans.empty())
        mTarget->FillSpans(spans.data(), int(spans.size()), mInk, mBlendMode);
    return true;
}

void Graphics::Blit(Image* img, int x, int y)
{
    if (!img)
        return;
    if (mZoomX != 1.0f || mZoomY != 1.0f)
    {
        Blit(img, x, y, img->GetRect());
        return;
    }
    int tx = Trunc(x + mOffsetX), ty = Trunc(y + mOffsetY);
    Rect dest = Rect(tx, ty, img->GetWidth(), img->GetHeight()).Intersection(mClip);
    if (dest.IsEmpty())
        return;
    Rect src(dest.mX - tx, dest.mY - ty, dest.mWidth, dest.mHeight);
    mTarget->BlitImage(img, dest.mX, dest.mY, src, ImageColor(), mBlendMode);
}

void Graphics::Blit(Image* img, int x, int y, const Rect& src)
{
    if (!img || src.mX < 0 || src.mY < 0 || src.mX + src.mWidth > img->GetWidth() ||
        src.mY + src.mHeight > img->GetHeight())
        return;
    if (mZoomX != 1.0f || mZoomY != 1.0f)
    {
        int w = int(std::ceil(src.mWidth * mZoomX));
        int h = int(std::ceil(src.mHeight * mZoomY));
        int dx = int(std::floor((Trunc(x + mOffsetX) - mZoomOriginX) * mZoomX + mZoomOriginX));
        int dy = int(std::floor((Trunc(y + mOffsetY) - mZoomOriginY) * mZoomY + mZoomOriginY));
        Rect dest(dx, dy, w, h);
        if (dest.Intersection(mClip).IsEmpty())
            return;
        mTarget->BlitStretchedImage(img, dest, src, mClip, ImageColor(), mBlendMode, mQuickScaling);
        return;
    }
    int tx = Trunc(x + mOffsetX), ty = Trunc(y + mOffsetY);
    Rect dest = Rect(tx, ty, src.mWidth, src.mHeight).Intersection(mClip);
    if (dest.IsEmpty())
        return;
    Rect cut(src.mX + dest.mX - tx, src.mY + dest.mY - ty, dest.mWidth, dest.mHeight);
    mTarget->BlitImage(img, dest.mX, dest.mY, cut, ImageColor(), mBlendMode);
}

void Graphics::BlitScaled(Image* img, int x, int y, int w, int h)
{
    if (!img)
        return;
    BlitScaled(img, Rect(x, y, w, h), img->GetRect());
}

void Graphics::BlitScaled(Image* img, const Rect& dest, const Rect& src)
{
    BlitStretchedClipped(img, dest, src, false);
}

void Graphics::BlitStretchedClipped(Image* img, const Rect& destIn, const Rect& src, bool mirror)
{
    if (!img || src.IsEmpty() || destIn.IsEmpty())
        return;
    Rect dest(Trunc(destIn.mX + mOffsetX), Trunc(destIn.mY + mOffsetY), destIn.mWidth, destIn.mHeight);
    if (dest.Intersection(mClip).IsEmpty())
        return;
    if (mirror)
        mTarget->BlitStretchedMirroredImage(img, dest, src, mClip, ImageColor(), mBlendMode, mQuickScaling);
    else
        mTarget->BlitStretchedImage(img, dest, src, mClip, ImageColor(), mBlendMode, mQuickScaling);
}

void Graphics::BlitFlipped(Image* img, int x, int y, bool mirror)
{
    if (img)
        BlitFlipped(img, x, y, img->GetRect(), mirror);
}

void Graphics::BlitFlipped(Image* img, int x, int y, const Rect& src, bool mirror)
{
    if (!mirror)
    {
        Blit(img, x, y, src);
        return;
    }
    if (!img || src.mX < 0 || src.mY < 0 || src.mX + src.mWidth > img->GetWidth() ||
        src.mY + src.mHeight > img->GetHeight())
        return;
    if (mZoomX != 1.0f || mZoomY != 1.0f)
    {
        BlitFlipped(img, Rect(x, y, int(std::ceil(src.mWidth * mZoomX)), int(std::ceil(src.mHeight * mZoomY))), src,
                    true);
        return;
    }
    int tx = Trunc(x + mOffsetX), ty = Trunc(y + mOffsetY);
    Rect dest = Rect(tx, ty, src.mWidth, src.mHeight).Intersection(mClip);
    if (dest.IsEmpty())
        return;
    Rect cut(src.mX + src.mWidth + tx - dest.mX - dest.mWidth, src.mY + dest.mY - ty, dest.mWidth, dest.mHeight);
    mTarget->BlitMirroredImage(img, dest.mX, dest.mY, cut, ImageColor(), mBlendMode);
}

void Graphics::BlitFlipped(Image* img, const Rect& dest, const Rect& src, bool mirror)
{
    BlitStretchedClipped(img, dest, src, mirror);
}

void Graphics::BlitCell(Image* img, int x, int y, int cel)
{
    if (!img || cel < 0)
        return;
    BlitCell(img, x, y, cel % img->GetCelCols(), cel / img->GetCelCols());
}

void Graphics::BlitCell(Image* img, int x, int y, int column, int row)
{
    if (!img || row < 0 || column < 0 || row >= img->GetCelRows() || column >= img->GetCelCols())
        return;
    Blit(img, x, y, img->GetCelRect(column, row));
}

void Graphics::BlitCellFlipped(Image* img, int x, int y, int cel, bool mirror)
{
    if (!img || cel < 0 || cel >= img->GetCelCount())
        return;
    BlitFlipped(img, x, y, img->GetCelRect(cel), mirror);
}

void Graphics::BlitRotated(Image* img, int x, int y, double angle, double centerX, double centerY)
{
    if (img)
        BlitRotated(img, x, y, angle, centerX, centerY, img->GetRect());
}

void Graphics::BlitRotated(Image* img, int x, int y, double angle, double centerX, double centerY, const Rect& src)
{
    BlitRotatedAt(img, x, y, angle, centerX, centerY, src);
}

void Graphics::BlitRotatedAt(Image* img, double x, double y, double angle, double centerX, double centerY,
                             const Rect& src)
{
    if (!img || mClip.IsEmpty())
        return;
    mTarget->BlitRotatedImage(img, x + mOffsetX, y + mOffsetY, src, mClip, ImageColor(), mBlendMode, angle, centerX,
                              centerY);
}

void Graphics::BlitMatrix(Image* img, const Matrix3& matrix, const Rect& src, double x, double y)
{
    if (!img || mClip.IsEmpty())
        return;
    mTarget->BlitMatrixImage(img, x + mOffsetX, y + mOffsetY, matrix, mClip, ImageColor(), mBlendMode, src,
                             mSmoothBlending);
}

void Graphics::BlitMatrix(Image* img, const Matrix3& matrix, double x, double y)
{
    if (img)
        BlitMatrix(img, matrix, img->GetRect(), x, y);
}

void Graphics::BlitTriangles(Image* img, const Triangle* triangles, int count)
{
    if (!img || mClip.IsEmpty() || count <= 0)
        return;
    mTarget->BlitTrianglesImage(img, triangles, count, mClip, ImageColor(), mBlendMode, mOffsetX, mOffsetY,
                                mSmoothBlending);
}

void Graphics::BlitTransformed(Image* img, const Transform& t, double x, double y)
{
    if (!img)
        return;
    Rect src = img->GetRect();
    double w2 = src.mWidth / 2, h2 = src.mHeight / 2;
    if (t.IsComplex())
    {
        BlitMatrix(img, t.Matrix(), src, x, y);
    }
    else if (t.HasRotation())
    {
        BlitRotatedAt(img, x + t.mTransX2 - (w2 - t.mTransX1) + 0.5, y + t.mTransY2 - (h2 - t.mTransY1) + 0.5,
                      t.mRot, w2 - t.mTransX1, h2 - t.mTransY1, src);
    }
    else
    {
        int px = int(x + t.mTransX1 + t.mTransX2 - w2 + 0.5);
        int py = int(y + t.mTransY1 + t.mTransY2 - h2 + 0.5);
        if (!t.HasScale())
            Blit(img, px, py, src);
        else if (t.mScaleX == -1.0f && t.mScaleY == 1.0f)
            BlitFlipped(img, px, py, src, true);
        else
        {
            double dw = w2 * t.mScaleX, dh = h2 * t.mScaleY;
            Rect dest(int(x + t.mTransX2 - dw), int(y + t.mTransY2 - dh), int(2 * dw), int(2 * dh));
            BlitScaled(img, dest, src);
        }
    }
}

void Graphics::BlitNinePart(const Rect& dest, Image* img)
{
    if (img)
        BlitNinePart(img->GetRect(), dest, img);
}

void Graphics::TileInto(Image* img, const Rect& src, const Rect& area, const Rect& clip, bool tileX, bool tileY)
{
    if (src.IsEmpty() || area.IsEmpty())
        return;
    Graphics g(*this);
    g.RestrictClip(clip);
    int nx = tileX ? (area.mWidth + src.mWidth - 1) / src.mWidth : 1;
    int ny = tileY ? (area.mHeight + src.mHeight - 1) / src.mHeight : 1;
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i)
            g.Blit(img, area.mX + i * src.mWidth, area.mY + j * src.mHeight, src);
}

void Graphics::BlitNinePart(const Rect& src, const Rect& dest, Image* img)
{
    if (!img || src.IsEmpty())
        return;
    int cw = src.mWidth / 3, ch = src.mHeight / 3;
    int mw = src.mWidth - 2 * cw, mh = src.mHeight - 2 * ch;
    int right = dest.mX + dest.mWidth - cw, bottom = dest.mY + dest.mHeight - ch;
    // Corners.
    Blit(img, dest.mX, dest.mY, Rect(src.mX, src.mY, cw, ch));
    Blit(img, right, dest.mY, Rect(src.mX + cw + mw, src.mY, cw, ch));
    Blit(img, dest.mX, bottom, Rect(src.mX, src.mY + ch + mh, cw, ch));
    Blit(img, right, bottom, Rect(src.mX + cw + mw, src.mY + ch + mh, cw, ch));
    if (mw > 0)
    {
        Rect band(dest.mX + cw, dest.mY, dest.mWidth - 2 * cw, dest.mHeight);
        TileInto(img, Rect(src.mX + cw, src.mY, mw, ch), Rect(band.mX, dest.mY, band.mWidth, ch), band, true, false);
        TileInto(img, Rect(src.mX + cw, src.mY + ch + mh, mw, ch), Rect(band.mX, bottom, band.mWidth, ch), band,
                 true, false);
    }
    if (mh > 0)
    {
        Rect band(dest.mX, dest.mY + ch, dest.mWidth, dest.mHeight - 2 * ch);
        TileInto(img, Rect(src.mX, src.mY + ch, cw, mh), Rect(dest.mX, band.mY, cw, band.mHeight), band, false,
                 true);
        TileInto(img, Rect(src.mX + cw + mw, src.mY + ch, cw, mh), Rect(right, band.mY, cw, band.mHeight), band,
                 false, true);
    }
    if (mw > 0 && mh > 0)
    {
        Rect inner(dest.mX + cw, dest.mY + ch, dest.mWidth - 2 * cw, dest.mHeight - 2 * ch);
        TileInto(img, Rect(src.mX + cw, src.mY + ch, mw, mh), inner, inner, true, true);
    }
}

void Graphics::DrawRun(Font* font, int x, int y, const std::string& text)
{
    if (mTextObserver != nullptr)
    {
        // A line's band as the font stacks lines: line spacing high, ending at the descent.
        const int band = std::min(font->LineSpacing(), font->Height());
        Rect extent(Trunc(x + mOffsetX), Trunc(y + mOffsetY) + font->Descent() - band, font->TextWidth(text), band);
        mTextObserver->TextDrawn(text, extent, mClip, mPrintDepth > 0 && mRunsInPrint > 0);
    }
    ++mRunsInPrint;
    font->DrawText(*this, x, y, text, mInk, mClip);
}

void Graphics::BeginPrint()
{
    if (mPrintDepth++ == 0)
        mRunsInPrint = 0;
}

void Graphics::PrintText(const std::string& text, int x, int y)
{
    if (mTypeface)
        DrawRun(mTypeface, x, y, text);
}

int Graphics::PrintColored(const std::string& text, int x, int y, int width, int justify, bool draw, int offset,
                           int length, int oldColor)
{
    Font* font = mTypeface;
    if (!font)
        return 0;
    BeginPrint();
    Color old = mInk;
    if (oldColor != -1)
        old = Color((oldColor >> 16) & 0xFF, (oldColor >> 8) & 0xFF, oldColor & 0xFF, mInk.mAlpha);
    if (draw && (justify == 0 || justify == 1))
    {
        Color ink = mInk;
        int measured = PrintColored(text, x, y, width, -1, false, offset, length, oldColor);
        mInk = ink;
        x += justify == 0 ? (width - measured) / 2 : width - measured;
    }
    size_t begin = size_t(std::clamp(offset, 0, int(text.size())));
    size_t end = (length < 0 || begin + size_t(length) > text.size()) ? text.size() : begin + size_t(length);
    std::string segment;
    int total = 0;
    auto flush = [&]() {
        if (segment.empty())
            return;
        if (draw)
            DrawRun(font, x + total, y, segment);
        total += font->TextWidth(segment);
        segment.clear();
    };
    for (size_t i = begin; i < end;)
    {
        char ch = text[i];
        if (ch == '^' && mColorCodes)
        {
            if (i + 1 < end && text[i + 1] == '^')
            {
                segment += '^';
                i += 2;
                continue;
            }
            if (i + 8 > end)
                break;
            int rgb = 0;
            if (ParseColorCode(text, i, end, rgb))
            {
                flush();
                if (rgb == -1)
                    mInk = Color(old.mRed, old.mGreen, old.mBlue, mInk.mAlpha);
                else
                    mInk = Color((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF, mInk.mAlpha);
                i += 8;
                continue;
            }
        }
        segment += ch;
        ++i;
    }
    flush();
    EndPrint();
    return total;
}

int Graphics::PrintWrapped(const Rect& rect, const std::string& text, int lineSpacing, int justify, int* maxWidth,
                           int length, int* lastWidth)
{
    return WrapText(rect, text, lineSpacing, justify, maxWidth, length, lastWidth, true);
}

int Graphics::MeasureWrapped(int width, const std::string& text, int lineSpacing, int* maxWidth)
{
    Graphics measure;
    measure.mTypeface = mTypeface;
    measure.mColorCodes = mColorCodes;
    return measure.WrapText(Rect(0, 0, width, 0), text, lineSpacing, -1, maxWidth, -1, nullptr, false);
}

int Graphics::WrapText(const Rect& rect, const std::string& text, int lineSpacing, int justify, int* maxWidth,
                       int length, int* lastWidth, bool draw)
{
    Font* font = mTypeface;
    if (!font)
        return 0;
    if (lineSpacing == -1)
        lineSpacing = font->LineSpacing();
    BeginPrint();
    Color startInk = mInk;
    int oldColor = int(startInk.ToArgb() & 0xFFFFFF);
    size_t n = (length < 0 || size_t(length) > text.size()) ? text.size() : size_t(length);
    int y = rect.mY + font->Ascent() - font->AscentPadding();
    int firstIndent = lastWidth ? *lastWidth : 0;
    int widest = 0;
    int lineWidth = 0;
    int lines = 0;

    auto writeLine = [&](size_t from, size_t to) {
        int lineX = rect.mX + (lines == 0 ? firstIndent : 0);
        int baseline = Trunc(y + mOffsetY);
        bool visible = draw && baseline >= mClip.mY && baseline < mClip.mY + mClip.mHeight + lineSpacing;
        int w = PrintColored(text, lineX, y, rect.mWidth, justify, visible, int(from), int(to - from), oldColor);
        lineWidth = w + (lines == 0 ? firstIndent : 0);
        widest = std::max(widest, lineWidth);
        ++lines;
        y += lineSpacing;
    };

    size_t lineStart = 0;
    size_t breakPos = std::string::npos;
    int width = firstIndent;
    char prev = 0;
    size_t i = 0;
    while (i < n)
    {
        char ch = text[i];
        size_t step = 1;
        if (ch == '^' && mColorCodes)
        {
            if (i + 1 < n && text[i + 1] == '^')
                step = 2;
            else
            {
                int rgb = 0;
                if (ParseColorCode(text, i, n, rgb))
                {
                    i += 8;
                    continue;
                }
            }
        }
        if (ch == '\n')
        {
            writeLine(lineStart, i);
            lineStart = i + 1;
            breakPos = std::string::npos;
            width = 0;
            prev = 0;
            ++i;
            continue;
        }
        if (ch == ' ')
            breakPos = i;
        int advance = font->GlyphAdvance(ch, prev);
        if (width + advance > rect.mWidth)
        {
            if (breakPos != std::string::npos && breakPos > lineStart)
            {
                writeLine(lineStart, breakPos);
                size_t j = breakPos;
                while (j < n && text[j] == ' ')
                    ++j;
                i = j;
            }
            else
            {
                size_t cut = i > lineStart ? i : i + step;
                writeLine(lineStart, cut);
                i = cut;
            }
            lineStart = i;
            breakPos = std::string::npos;
            width = 0;
            prev = 0;
            continue;
        }
        width += advance;
        prev = ch;
        i += step;
    }
    if (lineStart < n || lines == 0 || text[n - 1] == '\n')
        writeLine(lineStart, n);
    if (maxWidth)
        *maxWidth = widest;
    if (lastWidth)
        *lastWidth = lineWidth;
    mInk = startInk;
    EndPrint();
    return font->Height() - font->AscentPadding() + (lines - 1) * lineSpacing;
}

} // namespace Zestra
