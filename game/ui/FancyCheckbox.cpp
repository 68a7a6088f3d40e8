// Pictures and sounds of the game's check box.
#include "game/ui/FancyCheckbox.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/res/Res.h"
#include "game/ui/MenuIds.h"
#include "game/audio/GameSound.h"

FancyCheckbox::FancyCheckbox(Zestra::CheckboxListener* listener, int id)
    : Checkbox(IMAGE_MENU_CHECKBOX.get(), IMAGE_MENU_CHECKBOX_CHECKED.get(), id == kNextId ? TakeMenuId() : id,
               listener)
{
    if (mOffImage != nullptr)
    {
        mWidth = mOffImage->GetWidth();
        mHeight = mOffImage->GetHeight();
    }
}

void FancyCheckbox::Paint(Zestra::Graphics& g)
{
    // Chosen with the keyboard it is lit as under the pointer.
    if (mKeySelected && !mHovered)
    {
        Zestra::Image* lit = mChecked ? IMAGE_MENU_CHECKBOX_CHECKED_HOVER.get() : IMAGE_MENU_CHECKBOX_HOVER.get();
        if (lit != nullptr)
        {
            g.Blit(lit, 0, 0);
            return;
        }
    }
    Checkbox::Paint(g);
}

void FancyCheckbox::OnMouseEnter()
{
    mOffImage = IMAGE_MENU_CHECKBOX_HOVER.get();
    mOnImage = IMAGE_MENU_CHECKBOX_CHECKED_HOVER.get();
    Invalidate();
    PlayGameSound(SOUND_HIGHLIGHT);
}

void FancyCheckbox::OnMouseLeave()
{
    mOffImage = IMAGE_MENU_CHECKBOX.get();
    mOnImage = IMAGE_MENU_CHECKBOX_CHECKED.get();
    Invalidate();
}

void FancyCheckbox::OnMouseDown(int x, int y, int button, int clickCount)
{
    bool was = mChecked;
    Checkbox::OnMouseDown(x, y, button, clickCount);
    if (mChecked != was)
        PlayGameSound(SOUND_BUTTON);
}

void FancyCheckbox::Activate()
{
    Checkbox::Activate();
    PlayGameSound(SOUND_BUTTON);
}
