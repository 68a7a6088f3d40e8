// The board's screen flow.
//
// STAND-INS: these bodies only hold the places of the flow operations that the confirmation dialogs call; the
// start-up and screen-flow work replaces this file with the real operations (main menu, new game, level start,
// tutorial). Until then each does nothing, so a confirmation still closes itself and leaves the board as it was.
#include "game/shopday/Board.h"

#include "game/menus/MenuHost.h"
#include "game/menus/OpenSignMenu.h"
#include "game/minigame/Minigame.h"
#include "game/profile/GameState.h"

#include <memory>

namespace Zestra
{

void Board::ShowMainMenu() {}

void Board::StartNewGame(bool) {}

void Board::ShowLevelStart(bool) {}

void Board::StartTutorial() {}

void Board::AfterLevelStart(bool startNow)
{
    const bool offers = startNow ? LoadLevel(true) : !shopItems.empty();
    if (progress == nullptr || (startNow && !offers) || progress->levelIndex == 0)
    {
        OpenStore(true);
        return;
    }
    mode = 1;
    UpdateButtons();
}

void Board::OpenStore(bool rebuild)
{
    if (rebuild)
        LoadLevel(false);
    StartShopDay();
    mode = 0;
    if (MenuHost* host = HostOf(*this))
        host->AddMenu(std::make_unique<OpenSignMenu>(this));
}

void Board::OpenMinigame()
{
    MenuHost* host = HostOf(*this);
    if (host == nullptr || !progress)
        return;
    minigame = static_cast<Minigame*>(
        host->AddMenu(std::make_unique<Minigame>(this, progress->storeNumber, progress->levelIndex)));
}

} // namespace Zestra
