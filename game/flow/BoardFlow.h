// The screen flow of the game: every way from the main menu through the map, the level start and the upgrade shop
// to a played day and its result, and back. It stands above the screens it opens, which are built on the board it
// leads; the board and those screens reach it through the board's ScreenFlow.
#pragma once

#include "game/shopday/ScreenFlow.h"

#include <memory>

class Menu;
class MenuHost;

namespace Zestra
{
class Board;

class BoardFlow final : public ScreenFlow
{
public:
    // The host opens and closes every screen of the flow; both outlive it.
    BoardFlow(Board& board, MenuHost& host);

    void ShowMainMenu() override;
    void Play(const Menu* caller) override;
    void StartNewGame(bool resume) override;
    void ShowMap() override;
    void EnterStore() override;
    void PrepareLevel() override;
    void ShowLevelStart(bool checkBoss) override;
    void AfterLevelStart(bool startNow) override;
    void OpenStore(bool rebuild) override;
    void ShowLevelResult() override;
    void AfterResult(bool toMainMenu) override;
    void ShowPlayerSelect() override;
    void ShowHighScores() override;
    void ShowHowToPlay() override;
    void ShowCredits() override;
    void ShowOptions(bool inGame) override;
    void StartTutorial() override;
    void OpenMinigame() override;

private:
    Menu* Open(std::unique_ptr<Menu> menu);
    void CloseMenu(const Menu* menu);

    Board& board;
    MenuHost& host;
    // Set by Continue until the first day is prepared: a player who comes back to a day already begun has seen
    // its lesson, so the offer to repeat it is not made.
    bool resumedRun = false;
};

} // namespace Zestra
