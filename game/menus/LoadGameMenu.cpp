// Buttons of the continue-or-new-game question.
#include "game/menus/LoadGameMenu.h"

#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/ControlSupport.h"
#include "game/data/Localization.h"
#include "game/ui/Button.h"
#include "game/menus/ConfirmNewGameMenu.h"
#include "game/ui/MenuHost.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"

#include <memory>

namespace
{
// The run in progress is what a returning player most likely wants, so it comes first.
constexpr int kLoadGameTop = 100;
constexpr int kNewGameTop = 172;
constexpr int kCancelTop = 244;
} // namespace

LoadGameMenu::LoadGameMenu(Zestra::Board* board, int openerId)
    : DialogMenu(board, IMAGE_MENU_DIALOG_BOX_4.get(), GetText("start_game_title")), openerId(openerId)
{
    loadButton = AddMenuButton(GetText("load_game"), mWidth / 2, kLoadGameTop, kLoadGame);
    newGameButton = AddMenuButton(GetText("new_game"), mWidth / 2, kNewGameTop, kNewGame);
    confirmControl = loadButton;
    cancelControl = AddMenuButton(GetText("cancel_game"), mWidth / 2, kCancelTop, kCancel);
}

void LoadGameMenu::ButtonPressed(int id)
{
    switch (id)
    {
    case kNewGame:
        if (MenuHost* host = Host())
            host->AddMenu(std::make_unique<ConfirmNewGameMenu>(board, mDialogId, openerId));
        break;
    case kLoadGame:
    {
        MenuHost* host = Host();
        if (board != nullptr)
            board->flow->StartNewGame(true);
        if (host != nullptr && openerId >= 0)
            host->CloseMenu(openerId);
        Close();
        break;
    }
    case kCancel:
        Close();
        break;
    default:
        break;
    }
}
