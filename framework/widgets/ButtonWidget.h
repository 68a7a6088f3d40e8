// A push button reporting to a ButtonListener. It draws either from pictures (separate images, or cells cut from
// the face image) with an optional fading hover picture, or as a raised or sunken frame; a caption is drawn over
// either. The observer and the images are not owned; the caption font is an owned clone.
#pragma once

#include "framework/graphics/Rect.h"
#include "framework/widgets/Widget.h"

#include <memory>
#include <string>

namespace Zestra
{

class ButtonListener;
class Font;
class Image;

class ButtonWidget : public Widget
{
public:
    ButtonWidget(int id, ButtonListener* listener);
    ~ButtonWidget() override;

    // The cell of mFaceImage when the cell has a width, else the whole image, at (x, y).
    virtual void DrawFacePart(Graphics& g, Image* image, const Rect& cell, int x, int y);
    // Stores a clone; null removes the font.
    virtual void SetCaptionFont(Font* font);
    virtual bool IsHeldDown() const;

    void Tick() override;
    bool TakesKeyFocus() const override { return true; }
    void SetKeySelected(bool selected) override { mKeySelected = selected; }
    // What a click does: pressed, then released over the button.
    void Activate() override;
    void Paint(Graphics& g) override;
    void SetInactive(bool inactive) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    void OnMouseMove(int x, int y) override;
    void OnMouseDown(int x, int y, int button, int clickCount) override;
    using Widget::OnMouseDown;
    void OnMouseUp(int x, int y, int button, int clickCount) override;
    using Widget::OnMouseUp;

    bool HasFacePicture() const { return mFaceImage != nullptr || mFaceRect.mWidth != 0; }
    bool HasHoverPicture() const { return mHoverImage != nullptr || mHoverRect.mWidth != 0; }
    bool HasPressPicture() const { return mPressImage != nullptr || mPressRect.mWidth != 0; }
    bool HasDisabledPicture() const { return mDisabledImage != nullptr || mDisabledRect.mWidth != 0; }
    // Hovered for drawing: under the pointer, or chosen with the keyboard.
    bool LooksHovered() const { return mHovered || mKeySelected; }

    int mButtonId = 0;
    std::string mCaption;
    int mCaptionAlign = 0; // 0 centred, 1 right-aligned, anything else left-aligned
    std::unique_ptr<Font> mCaptionFont;
    Image* mFaceImage = nullptr;
    Image* mHoverImage = nullptr;
    Image* mPressImage = nullptr;
    Image* mDisabledImage = nullptr;
    Rect mFaceRect;
    Rect mHoverRect;
    Rect mPressRect;
    Rect mDisabledRect;
    bool mSwapPressed = false;
    bool mHideFace = false;
    bool mHideFrame = false;
    ButtonListener* mButtonObserver = nullptr;
    double mHoverFade = 0;        // 0..1 opacity of the hover picture
    double mHoverFadeOutStep = 0; // per update; 0 = no fading
    double mHoverFadeInStep = 0;  // per update; 0 = no fading
    bool mKeySelected = false;    // the keyboard has chosen it (Tab in a menu): drawn as under the pointer

protected:
    // The caption font, created on demand when there is a caption to draw.
    Font* CaptionFont(int defaultPointSize);
    // Invalidates when the look depends on hovering (the rule shared by enter and leave).
    void InvalidateForHover();
    // Draws the caption with the font in the palette entry, at (x, y) (y the baseline).
    void DrawCaption(Graphics& g, Font* font, int paletteIndex, int x, int y);
};

} // namespace Zestra
