// Drawing of the dialog's own button.
#include "framework/widgets/DialogButton.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"

namespace Zestra
{

DialogButton::DialogButton(int id, Image* skinImage, ButtonListener* listener)
    : ButtonWidget(id, listener), mSkinImage(skinImage)
{
    mHandCursor = true;
    static constexpr int kPalette[6][3] = {{255, 255, 255}, {255, 255, 255}, {0, 0, 0},
                                           {255, 255, 255}, {132, 132, 132}, {212, 212, 212}};
    SetPalette(kPalette, 6);
}

void DialogButton::Paint(Graphics& g)
{
    if (mSkinImage == nullptr)
    {
        ButtonWidget::Paint(g);
        return;
    }
    Font* font = CaptionFont(12);
    bool down = IsHeldDown();
    Rect whole(0, 0, mWidth, mHeight);
    int shiftX = 0;
    int shiftY = 0;
    if (mFaceRect.mWidth != 0)
    {
        if (mInactive && mDisabledRect.mWidth > 0 && mDisabledRect.mHeight > 0)
        {
            g.BlitNinePart(mDisabledRect, whole, mSkinImage);
        }
        else if (down)
        {
            g.BlitNinePart(mPressRect, whole, mSkinImage);
        }
        else if (mHoverFade > 0)
        {
            if (mHoverFade < 1)
                g.BlitNinePart(mFaceRect, whole, mSkinImage);
            Graphics tinted(g);
            tinted.SetTintImages(true);
            tinted.SetInk(Color(255, 255, 255, int(mHoverFade * 255)));
            tinted.BlitNinePart(mHoverRect, whole, mSkinImage);
        }
        else
        {
            g.BlitNinePart(LooksHovered() ? mHoverRect : mFaceRect, whole, mSkinImage);
        }
        if (down)
        {
            shiftX = mPressShiftX;
            shiftY = mPressShiftY;
        }
        g.Offset(float(shiftX), float(shiftY));
    }
    else
    {
        // Without cells the whole skin moves with the caption when pressed.
        if (down)
        {
            shiftX = mPressShiftX;
            shiftY = mPressShiftY;
        }
        g.Offset(float(shiftX), float(shiftY));
        g.BlitNinePart(whole, mSkinImage);
    }
    if (font != nullptr)
    {
        int x = (mWidth - font->TextWidth(mCaption)) / 2 + mCaptionShiftX;
        int y = mCaptionShiftY + (font->Ascent() + mHeight - font->Ascent() / 6 - font->AscentPadding() - 1) / 2;
        DrawCaption(g, font, LooksHovered() ? 1 : 0, x, y);
    }
    g.Offset(float(-shiftX), float(-shiftY));
}

} // namespace Zestra
