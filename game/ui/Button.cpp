// Sounds and the greyed look of the game's button.
#include "game/ui/Button.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/res/Res.h"
#include "game/ui/MenuIds.h"
#include "game/audio/GameSound.h"

namespace
{
constexpr Zestra::Color kGreyTint{128, 128, 128};
} // namespace

Button::Button(Zestra::ButtonListener* listener, int id) : ButtonWidget(id == kNextId ? TakeMenuId() : id, listener) {}

void Button::SetImages(Zestra::Image* normal, Zestra::Image* over, Zestra::Image* down)
{
    mFaceImage = normal;
    mHoverImage = over;
    mPressImage = down;
    if (normal != nullptr)
    {
        mWidth = normal->GetWidth();
        mHeight = normal->GetHeight();
    }
    Invalidate();
}

void Button::PlayClickSound() const
{
    if (sounds && !mInactive)
        PlayGameSound(SOUND_BUTTON);
}

void Button::Paint(Zestra::Graphics& g)
{
    if (!greyed)
    {
        ButtonWidget::Paint(g);
        return;
    }
    Zestra::Graphics grey(g);
    grey.SetTintImages(true);
    grey.SetInk(kGreyTint);
    ButtonWidget::Paint(grey);
}

void Button::OnMouseDown(int x, int y, int button, int clickCount)
{
    ButtonWidget::OnMouseDown(x, y, button, clickCount);
    PlayClickSound();
}

void Button::OnMouseEnter()
{
    ButtonWidget::OnMouseEnter();
    if (sounds && !mInactive)
        PlayGameSound(SOUND_HIGHLIGHT);
}

void Button::Activate()
{
    PlayClickSound();
    ButtonWidget::Activate();
}
