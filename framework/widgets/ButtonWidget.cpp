// Drawing, hover fading and event reporting of the push button.
#include "framework/widgets/ButtonWidget.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/ControlSupport.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>

namespace Zestra
{

namespace
{
constexpr int kDefaultCaptionPoints = 12;
// Fades are stepped in doubles; a remainder this small is the end of the fade, not one more update.
constexpr double kFadeEpsilon = 1e-9;
} // namespace

ButtonWidget::ButtonWidget(int id, ButtonListener* listener) : mButtonId(id), mButtonObserver(listener)
{
    mTranslucent = true;
    static constexpr int kPalette[6][3] = {{0, 0, 0},       {0, 0, 0},       {0, 0, 0},
                                           {255, 255, 255}, {132, 132, 132}, {212, 212, 212}};
    SetPalette(kPalette, 6);
}

ButtonWidget::~ButtonWidget() = default;

void ButtonWidget::DrawFacePart(Graphics& g, Image* image, const Rect& cell, int x, int y)
{
    if (cell.mWidth != 0)
    {
        if (mFaceImage != nullptr)
            g.Blit(mFaceImage, x, y, cell);
    }
    else if (image != nullptr)
    {
        g.Blit(image, x, y);
    }
}

void ButtonWidget::SetCaptionFont(Font* font)
{
    mCaptionFont = CloneFont(font);
    Invalidate();
}

bool ButtonWidget::IsHeldDown() const
{
    return mPressed && mHovered && !mInactive;
}

Font* ButtonWidget::CaptionFont(int defaultPointSize)
{
    if (mCaption.empty())
        return mCaptionFont.get();
    return EnsureFont(mCaptionFont, defaultPointSize);
}

void ButtonWidget::DrawCaption(Graphics& g, Font* font, int paletteIndex, int x, int y)
{
    if (font == nullptr || mCaption.empty())
        return;
    g.SetTypeface(font);
    g.SetInk(PaletteEntry(paletteIndex));
    g.PrintText(mCaption, x, y);
}

void ButtonWidget::Paint(Graphics& g)
{
    if (mHideFace)
        return;
    bool down = IsHeldDown() != mSwapPressed;
    Font* font = CaptionFont(kDefaultCaptionPoints);
    int x = 0;
    int y = 0;
    if (font != nullptr)
    {
        int textWidth = font->TextWidth(mCaption);
        x = mCaptionAlign == 0 ? (mWidth - textWidth) / 2 : (mCaptionAlign == 1 ? mWidth - textWidth : 0);
        y = (font->Ascent() + mHeight - font->Ascent() / 6 - 1) / 2;
    }
    if (mFaceImage != nullptr || mPressImage != nullptr)
    {
        if (!down)
        {
            if (mInactive && HasDisabledPicture())
            {
                DrawFacePart(g, mDisabledImage, mDisabledRect, 0, 0);
            }
            else if (mHoverFade > 0 && HasHoverPicture())
            {
                if (mHoverFade < 1 && HasFacePicture())
                    DrawFacePart(g, mFaceImage, mFaceRect, 0, 0);
                Graphics tinted(g);
                tinted.SetTintImages(true);
                tinted.SetInk(Color(255, 255, 255, int(mHoverFade * 255)));
                DrawFacePart(tinted, mHoverImage, mHoverRect, 0, 0);
            }
            else if ((LooksHovered() || mPressed) && HasHoverPicture())
            {
                DrawFacePart(g, mHoverImage, mHoverRect, 0, 0);
            }
            else if (HasFacePicture())
            {
                DrawFacePart(g, mFaceImage, mFaceRect, 0, 0);
            }
            DrawCaption(g, font, LooksHovered() ? 1 : 0, x, y);
        }
        else
        {
            if (HasPressPicture())
                DrawFacePart(g, mPressImage, mPressRect, 0, 0);
            else if (HasHoverPicture())
                DrawFacePart(g, mHoverImage, mHoverRect, 1, 1);
            else
                DrawFacePart(g, mFaceImage, mFaceRect, 1, 1);
            DrawCaption(g, font, 1, x + 1, y + 1);
        }
        return;
    }

    const int w = mWidth;
    const int h = mHeight;
    if (!mHideFrame)
    {
        g.SetInk(PaletteEntry(5));
        g.FillBox(0, 0, w, h);
        // Light edges top-left and dark ones bottom-right for a raised button, the other way round when down.
        g.SetInk(PaletteEntry(down ? 2 : 3));
        g.FillBox(0, 0, w - 1, 1);
        g.FillBox(0, 0, 1, h - 1);
        g.SetInk(PaletteEntry(down ? 3 : 2));
        g.FillBox(0, h - 1, w, 1);
        g.FillBox(w - 1, 0, 1, h);
        g.SetInk(PaletteEntry(4));
        if (down)
        {
            g.FillBox(1, 1, w - 3, 1);
            g.FillBox(1, 1, 1, h - 3);
        }
        else
        {
            g.FillBox(1, h - 2, w - 2, 1);
            g.FillBox(w - 2, 1, 1, h - 2);
        }
    }
    if (down)
        DrawCaption(g, font, 1, x + 1, y + 1);
    else
        DrawCaption(g, font, LooksHovered() ? 1 : 0, x, y);
}

void ButtonWidget::Tick()
{
    Widget::Tick();
    if (mPressed && mHovered && mButtonObserver != nullptr)
        mButtonObserver->ButtonHeld(mButtonId);
    if (!mPressed && !mHovered && mHoverFade > 0)
    {
        mHoverFade = mHoverFadeOutStep > 0 ? std::max(0.0, mHoverFade - mHoverFadeOutStep) : 0.0;
        if (mHoverFade < kFadeEpsilon)
            mHoverFade = 0;
        Invalidate();
    }
    else if (mHovered && mHoverFadeInStep > 0 && mHoverFade < 1)
    {
        mHoverFade = std::min(1.0, mHoverFade + mHoverFadeInStep);
        if (mHoverFade > 1 - kFadeEpsilon)
            mHoverFade = 1;
        Invalidate();
    }
}

void ButtonWidget::SetInactive(bool inactive)
{
    Widget::SetInactive(inactive);
    if (HasDisabledPicture())
        Invalidate();
}

void ButtonWidget::InvalidateForHover()
{
    if (mPressed || HasHoverPicture() || PaletteEntry(0) != PaletteEntry(1))
        Invalidate();
}

void ButtonWidget::OnMouseEnter()
{
    if (mHoverFadeInStep == 0 && mHoverFade > 0)
        mHoverFade = 0;
    InvalidateForHover();
    if (mButtonObserver != nullptr)
        mButtonObserver->ButtonMouseEntered(mButtonId);
}

void ButtonWidget::OnMouseLeave()
{
    if (mHoverFadeOutStep == 0 && mHoverFade > 0)
        mHoverFade = 0;
    else if (mHoverFadeOutStep > 0 && mHoverFade == 0)
        mHoverFade = 1; // the fade-out starts from full
    InvalidateForHover();
    if (mButtonObserver != nullptr)
        mButtonObserver->ButtonMouseLeft(mButtonId);
}

void ButtonWidget::OnMouseMove(int x, int y)
{
    if (mButtonObserver != nullptr)
        mButtonObserver->ButtonMouseMoved(mButtonId, x, y);
}

void ButtonWidget::OnMouseDown(int, int, int, int clickCount)
{
    if (mButtonObserver != nullptr)
        mButtonObserver->ButtonPressed(mButtonId, clickCount);
    Invalidate();
}

void ButtonWidget::OnMouseUp(int, int, int, int)
{
    bool appHasFocus = mManager == nullptr || mManager->mAppHasFocus;
    if (mHovered && appHasFocus && mButtonObserver != nullptr)
        mButtonObserver->ButtonReleased(mButtonId);
    Invalidate();
}

void ButtonWidget::Activate()
{
    if (mButtonObserver == nullptr)
        return;
    // The listener may close the button's menu: keep what it needs first.
    ButtonListener* listener = mButtonObserver;
    int id = mButtonId;
    listener->ButtonPressed(id, 1);
    listener->ButtonReleased(id);
}

} // namespace Zestra
