// Drawing and pointer handling of the slider. Degenerate sizes (a track narrower than three pixels, a widget no
// wider than its thumb) draw or move nothing instead of dividing by zero.
#include "framework/widgets/Slider.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/ControlSupport.h"
#include "framework/widgets/SliderListener.h"

#include <algorithm>

namespace Zestra
{

namespace
{
constexpr int kCursorArrow = 0;
constexpr int kCursorDragging = 2;
} // namespace

Slider::Slider(Image* trackImage, Image* thumbImage, int id, SliderListener* listener)
    : mSliderObserver(listener), mSliderId(id), mTrackImage(trackImage), mThumbImage(thumbImage)
{
}

void Slider::SetValue(double value)
{
    mValue = std::clamp(value, 0.0, 1.0);
    InvalidateArea();
}

void Slider::ArrowKey(int direction)
{
    constexpr double kKeyStep = 0.05;
    SetValue(mValue + direction * kKeyStep);
    if (mSliderObserver != nullptr)
        mSliderObserver->SliderMoved(mSliderId, mValue);
}

Rect Slider::ThumbRect() const
{
    if (mThumbImage == nullptr)
        return Rect();
    int tw = mThumbImage->GetWidth();
    int th = mThumbImage->GetHeight();
    if (mHorizontal)
        return Rect(int((mWidth - tw) * mValue), (mHeight - th) / 2, tw, th);
    return Rect((mWidth - tw) / 2, int((mHeight - th) * mValue), tw, th);
}

void Slider::Paint(Graphics& g)
{
    const int w = mWidth;
    const int h = mHeight;
    if (mTrackImage != nullptr)
    {
        if (mHorizontal)
        {
            int c = mTrackImage->GetWidth() / 3;
            int t = mTrackImage->GetHeight();
            if (c > 0)
            {
                int top = (h - t) / 2;
                g.Blit(mTrackImage, 0, top, Rect(0, 0, c, t));
                Graphics middle(g);
                middle.RestrictClip(c, top, w - 2 * c, t);
                int count = (w - c - 1) / c;
                for (int i = 1; i <= count; i++)
                    middle.Blit(mTrackImage, i * c, top, Rect(c, 0, c, t));
                g.Blit(mTrackImage, w - c, top, Rect(2 * c, 0, c, t));
            }
        }
        else
        {
            int c = mTrackImage->GetHeight() / 3;
            int t = mTrackImage->GetWidth();
            if (c > 0)
            {
                g.Blit(mTrackImage, 0, 0, Rect(0, 0, t, c));
                Graphics middle(g);
                middle.RestrictClip(0, c, t, h - 2 * c);
                int count = (h - c - 1) / c;
                for (int i = 1; i <= count; i++)
                    middle.Blit(mTrackImage, 0, i * c, Rect(0, c, t, c));
                g.Blit(mTrackImage, 0, h - c, Rect(0, 2 * c, t, c));
            }
        }
    }
    if (mThumbImage != nullptr)
    {
        Rect thumb = ThumbRect();
        g.Blit(mThumbImage, thumb.mX, thumb.mY);
    }
}

void Slider::OnMouseMove(int x, int y)
{
    SetAppCursor(*this, ThumbRect().Contains(x, y) ? kCursorDragging : kCursorArrow);
}

void Slider::OnMouseLeave()
{
    if (!mDragging)
        SetAppCursor(*this, kCursorArrow);
}

void Slider::OnMouseDown(int x, int y, int)
{
    Rect thumb = ThumbRect();
    if (thumb.Contains(x, y))
    {
        SetAppCursor(*this, kCursorDragging);
        mDragging = true;
        mGrabX = x - thumb.mX;
        mGrabY = y - thumb.mY;
        return;
    }
    // A jump: the listener hears of it at the release.
    int length = mHorizontal ? mWidth : mHeight;
    if (length > 0)
        SetValue(double(mHorizontal ? x : y) / length);
}

void Slider::OnMouseDrag(int x, int y)
{
    if (!mDragging)
        return;
    Rect thumb = ThumbRect();
    int room = mHorizontal ? mWidth - thumb.mWidth : mHeight - thumb.mHeight;
    if (room <= 0)
        return;
    double value = std::clamp(double(mHorizontal ? x - mGrabX : y - mGrabY) / room, 0.0, 1.0);
    if (value == mValue)
        return;
    mValue = value;
    if (mSliderObserver != nullptr)
        mSliderObserver->SliderMoved(mSliderId, mValue);
    InvalidateArea();
}

void Slider::OnMouseUp(int, int)
{
    mDragging = false;
    SetAppCursor(*this, kCursorArrow);
    if (mSliderObserver != nullptr)
        mSliderObserver->SliderMoved(mSliderId, mValue);
}

} // namespace Zestra
