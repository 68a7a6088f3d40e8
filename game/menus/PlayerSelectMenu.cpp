// Slots, choice and buttons of the player-select screen.
#include "game/menus/PlayerSelectMenu.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "game/data/Localization.h"
#include "game/ui/Button.h"
#include "game/menus/ConfirmDeleteMenu.h"
#include "game/ui/MenuHost.h"
#include "game/menus/ProfileNameWidget.h"
#include "game/profile/ProfileTable.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"

#include <memory>

using namespace Zestra;

namespace
{
constexpr int kButtonsTop = 500;
constexpr int kCancelCentreX = 150;
constexpr int kDeleteCentreX = 400;
constexpr int kPlayCentreX = 650;
constexpr int kSlotCentreX = 547;
constexpr int kSlotOkCentreX = 727;
constexpr int kSlotTop = 128; // below the panel's stitched border
constexpr int kSlotStep = 42;
constexpr int kTitleX = 369;
constexpr int kTitleY = 30;
constexpr int kPopupX = 361;
constexpr int kPopupY = 102;
constexpr int kTitleBaseline = 50; // without a title picture
constexpr int kTitleInset = 40;    // the ribbon's folded ends
constexpr int kTitleRaise = 4;     // the ribbon's band sits above the picture's middle
} // namespace

PlayerSelectMenu::PlayerSelectMenu(Board* board) : Menu(board, IMAGE_MENU_BACKGROUND_3.get(), false, false, true)
{
    cancelButton = AddMenuButton(GetText("player_select_cancel"), kCancelCentreX, kButtonsTop, kCancel);
    deleteButton = AddMenuButton(GetText("player_select_delete"), kDeleteCentreX, kButtonsTop, kDelete);
    playButton = AddMenuButton(GetText("player_select_play"), kPlayCentreX, kButtonsTop, kPlay);
    for (int i = 0; i < kProfileSlots; i++)
    {
        int top = kSlotTop + kSlotStep * i;
        slots[size_t(i)] = AddChild(std::make_unique<ProfileNameWidget>(kSlotCentreX, top, i, this, kFirstSlot + i));
        Button* ok = AddButton(GetText("player_select_ok"), kSlotOkCentreX, top,
                               IMAGE_MENU_PROFILE_BUTTON_OK_NORMAL.get(), IMAGE_MENU_PROFILE_BUTTON_OK_SELECTED.get(),
                               IMAGE_MENU_PROFILE_BUTTON_OK_OVER.get(), kFirstSlotOk + i);
        ok->SetShown(false);
        okButtons[size_t(i)] = ok;
    }
    confirmControl = playButton;
    cancelControl = cancelButton;

    const Profile* selected = GetProfile(GetSelectedProfile());
    if (selected != nullptr && !selected->IsFree())
    {
        selectedSlot = GetSelectedProfile();
        slots[size_t(selectedSlot)]->Select();
    }
    ApplySelection();
}

void PlayerSelectMenu::ApplySelection()
{
    ProfileNameWidget* slot = selectedSlot >= 0 ? slots[size_t(selectedSlot)] : nullptr;
    bool someone = slot != nullptr && !slot->IsEmpty();
    if (someone)
    {
        const Profile* profile = GetProfile(selectedSlot);
        bool changed = profile == nullptr || profile->name != slot->Text() || GetSelectedProfile() != selectedSlot;
        SetProfileName(selectedSlot, slot->Text());
        SelectProfile(selectedSlot);
        if (changed)
            SaveProfiles();
    }
    else
    {
        bool changed = GetSelectedProfile() != -1;
        if (slot != nullptr)
        {
            const Profile* profile = GetProfile(selectedSlot);
            changed = changed || (profile != nullptr && !profile->IsFree());
            SetProfileName(selectedSlot, std::string());
        }
        SelectProfile(-1);
        if (changed)
            SaveProfiles();
    }
    for (Button* button : {cancelButton, deleteButton, playButton})
        button->SetShown(someone);
}

void PlayerSelectMenu::FinishEditing()
{
    if (selectedSlot < 0)
        return;
    okButtons[size_t(selectedSlot)]->SetShown(false);
    if (mManager != nullptr)
        mManager->FocusWidget(this);
    ApplySelection();
    if (slots[size_t(selectedSlot)]->IsEmpty())
    {
        slots[size_t(selectedSlot)]->Deselect();
        selectedSlot = -1;
    }
}

void PlayerSelectMenu::ChooseSlot(int slot)
{
    if (slot < 0 || slot >= kProfileSlots || slot == selectedSlot)
        return;
    if (selectedSlot >= 0)
    {
        slots[size_t(selectedSlot)]->Deselect();
        FinishEditing();
    }
    selectedSlot = slot;
    ProfileNameWidget* chosen = slots[size_t(slot)];
    chosen->Select();
    if (chosen->IsEmpty())
    {
        okButtons[size_t(slot)]->SetShown(true);
        if (mManager != nullptr)
            mManager->FocusWidget(chosen);
    }
    else if (mManager != nullptr)
    {
        mManager->FocusWidget(this);
    }
    ApplySelection();
}

void PlayerSelectMenu::DeleteSelected()
{
    if (selectedSlot < 0)
        return;
    ProfileNameWidget* slot = slots[size_t(selectedSlot)];
    slot->MarkEmpty();
    slot->Deselect();
    ApplySelection();
    selectedSlot = -1;
}

void PlayerSelectMenu::ButtonPressed(int id)
{
    if (id >= kFirstSlot && id < kFirstSlot + kProfileSlots)
    {
        ChooseSlot(id - kFirstSlot);
        return;
    }
    if (id >= kFirstSlotOk && id < kFirstSlotOk + kProfileSlots)
    {
        FinishEditing();
        return;
    }
    switch (id)
    {
    case kCancel:
        Close();
        if (board != nullptr)
            board->flow->ShowMainMenu();
        break;
    case kDelete:
        if (selectedSlot >= 0)
        {
            if (MenuHost* host = Host())
                host->AddMenu(std::make_unique<ConfirmDeleteMenu>(board, slots[size_t(selectedSlot)]->Text(),
                                                                  [this] { DeleteSelected(); }));
        }
        break;
    case kPlay:
        if (board != nullptr)
            board->flow->Play(this);
        break;
    default:
        break;
    }
}

void PlayerSelectMenu::Paint(Graphics& g)
{
    Menu::Paint(g);
    Image* title = IMAGE_MENU_PROFILE_TITLE.get();
    if (title != nullptr)
        g.Blit(title, kTitleX, kTitleY);
    if (IMAGE_MENU_PROFILE_POPUP)
        g.Blit(IMAGE_MENU_PROFILE_POPUP.get(), kPopupX, kPopupY);
    const std::string& text = GetText("select_profile");
    Font* font = FONT_LARGE_DARK;
    if (font == nullptr || text.empty())
        return;
    // Written on the title ribbon: centred on it, and in the smaller font when the large one would overhang it.
    int centreX = kTitleX, baseline = kTitleBaseline, room = 0;
    if (title != nullptr)
    {
        centreX = kTitleX + title->GetWidth() / 2;
        room = title->GetWidth() - 2 * kTitleInset;
        if (font->TextWidth(text) > room && FONT_MEDIUM_DARK != nullptr)
            font = FONT_MEDIUM_DARK;
        baseline = kTitleY + title->GetHeight() / 2 + font->Ascent() / 2 - kTitleRaise;
    }
    g.SetTypeface(font);
    g.SetInk(Color::White);
    g.PrintText(text, centreX - font->TextWidth(text) / 2, baseline);
}
