// The board's screen flow.
//
// STAND-INS: these bodies only hold the places of the flow operations that the confirmation dialogs call; the
// start-up and screen-flow work replaces this file with the real operations (main menu, new game, level start,
// tutorial). Until then each does nothing, so a confirmation still closes itself and leaves the board as it was.
#include "game/shopday/Board.h"

namespace Zestra
{

void Board::ShowMainMenu() {}

void Board::StartNewGame(bool) {}

void Board::ShowLevelStart(bool) {}

void Board::StartTutorial() {}

} // namespace Zestra
