// Look and typing of a player slot.
#include "game/menus/ProfileNameWidget.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/KeyCodes.h"
#include "game/data/Localization.h"
#include "game/menus/PlayerSelectMenu.h"
#include "game/profile/Profile.h"
#include "game/profile/ProfileTable.h"
#include "game/res/Res.h"

namespace
{
const Zestra::Color kLabelColour{255, 255, 255};
constexpr int kCaptionMargin = 8;
} // namespace

ProfileNameWidget::ProfileNameWidget(int centreX, int top, int slot, PlayerSelectMenu* owner, int id)
    : Button(owner, id), slot(slot), owner(owner)
{
    SetImages(IMAGE_MENU_PROFILE_BUTTON_NORMAL.get(), IMAGE_MENU_PROFILE_BUTTON_OVER.get(),
              IMAGE_MENU_PROFILE_BUTTON_SELECTED.get());
    SetPaletteEntry(0, kLabelColour);
    SetPaletteEntry(1, kLabelColour);
    mHandCursor = true;
    mX = centreX - mWidth / 2;
    mY = top;
    if (const Profile* profile = GetProfile(slot))
        mText = profile->name;
    ShowLabel();
}

void ProfileNameWidget::ShowLabel()
{
    if (!mText.empty())
        mCaption = mText;
    else
        mCaption = GetText(mSelected ? "enter_name" : "no_profile");
    // A caption wider than the slot takes the small font rather than running over the edges.
    Zestra::Font* font = FONT_MEDIUM_LIGHT;
    if (font != nullptr && FONT_SMALL != nullptr && font->TextWidth(mCaption) > mWidth - 2 * kCaptionMargin)
        font = FONT_SMALL;
    SetCaptionFont(font);
    Invalidate();
}

void ProfileNameWidget::Select()
{
    mSelected = true;
    Zestra::Image* chosen = IMAGE_MENU_PROFILE_BUTTON_SELECTED.get();
    SetImages(chosen, chosen, chosen);
    ShowLabel();
}

void ProfileNameWidget::Deselect()
{
    mSelected = false;
    SetImages(IMAGE_MENU_PROFILE_BUTTON_NORMAL.get(), IMAGE_MENU_PROFILE_BUTTON_OVER.get(),
              IMAGE_MENU_PROFILE_BUTTON_SELECTED.get());
    ShowLabel();
}

void ProfileNameWidget::MarkEmpty()
{
    mText.clear();
    ShowLabel();
}

void ProfileNameWidget::OnChar(char ch)
{
    // Typing replaces the prompt; the name rule decides what is taken.
    if (NameAcceptsChar(mText, ch))
    {
        mText += ch;
        ShowLabel();
    }
}

void ProfileNameWidget::OnKeyDown(int key)
{
    switch (key)
    {
    case Zestra::KEY_BACKSPACE:
        if (!mText.empty())
        {
            mText.pop_back();
            ShowLabel();
        }
        break;
    case Zestra::KEY_RETURN:
        if (owner != nullptr)
            owner->FinishEditing();
        break;
    case Zestra::KEY_ESCAPE:
    case Zestra::KEY_TAB:
        // The menu's own keys (back out, walk the controls) still work while a slot has the keyboard.
        if (owner != nullptr)
            owner->OnKeyDown(key);
        break;
    default:
        Button::OnKeyDown(key);
    }
}
