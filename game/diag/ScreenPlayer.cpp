// Where the built-in player clicks on the main menu and the screens around it.
#include "game/diag/ScreenPlayer.h"

#include "framework/widgets/EditWidget.h"
#include "game/ui/Button.h"
#include "game/menus/Comic.h"
#include "game/menus/EnterNameMenu.h"
#include "game/menus/InfoMenu.h"
#include "game/menus/LoadGameMenu.h"
#include "game/menus/MainMenu.h"
#include "game/menus/MainMenuButton.h"
#include "game/menus/PlayerSelectMenu.h"
#include "game/menus/ProfileNameWidget.h"

namespace
{
// The middle of a live control, in screen coordinates.
std::optional<ScreenClick> Middle(const Zestra::Widget* control)
{
    if (control == nullptr || !control->mShown || control->mInactive)
        return std::nullopt;
    return ScreenClick{control->mX + control->mWidth / 2, control->mY + control->mHeight / 2};
}

const Zestra::Widget* ChildWithId(const Menu& menu, int id)
{
    for (const auto& child : menu.children)
    {
        if (auto* button = dynamic_cast<const Zestra::ButtonWidget*>(child.get()); button && button->mButtonId == id)
            return button;
    }
    return nullptr;
}
} // namespace

std::optional<ScreenClick> ChooseScreenClick(const Menu& menu)
{
    if (auto* entry = dynamic_cast<const EnterNameMenu*>(&menu))
        return entry->Name().empty() ? std::nullopt : Middle(entry->okButton);
    if (auto* main = dynamic_cast<const MainMenu*>(&menu))
        return main->IsSettled() ? Middle(main->buttons[0]) : std::nullopt;
    if (auto* question = dynamic_cast<const LoadGameMenu*>(&menu))
        return question->IsSettled() ? Middle(ChildWithId(*question, LoadGameMenu::kLoadGame)) : std::nullopt;
    if (auto* comic = dynamic_cast<const Comic*>(&menu))
        return comic->FadeDone() ? std::optional<ScreenClick>(ScreenClick{400, 300}) : std::nullopt;
    if (auto* players = dynamic_cast<const PlayerSelectMenu*>(&menu))
    {
        if (players->playButton->mShown)
            return Middle(players->playButton);
        for (const ProfileNameWidget* slot : players->slots)
        {
            if (!slot->IsEmpty())
                return Middle(slot);
        }
        return std::nullopt;
    }
    if (auto* info = dynamic_cast<const InfoMenu*>(&menu))
        return Middle(info->backButton);
    return std::nullopt;
}
