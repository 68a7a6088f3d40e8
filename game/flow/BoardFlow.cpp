// The screen flow: every way from the main menu through the map, the level start and the upgrade shop to a played
// day and its result, and back. Each operation only opens and closes menus through the application's menu stack
// (which alone decides whether the day behind them runs), sets up the board for what comes and fades the music.
#include "game/flow/BoardFlow.h"

#include "game/shopday/Board.h"

#include "framework/graphics/MemoryImage.h"
#include "framework/sound/MusicInterface.h"
#include "framework/widgets/ControlSupport.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/menus/Comic.h"
#include "game/menus/ConfirmTutorialMenu.h"
#include "game/menus/CreditsMenu.h"
#include "game/menus/HighScoresMenu.h"
#include "game/menus/HowToPlayMenu.h"
#include "game/menus/LevelCompleteMenu.h"
#include "game/menus/LevelPanels.h"
#include "game/menus/LevelStartBossMenu.h"
#include "game/menus/LevelStartMenu.h"
#include "game/menus/LoadGameMenu.h"
#include "game/menus/MainMenu.h"
#include "game/menus/MapMenu.h"
#include "game/menus/OpenSignMenu.h"
#include "game/menus/OptionsDialog.h"
#include "game/menus/PlayerSelectMenu.h"
#include "game/minigame/Minigame.h"
#include "game/profile/GameState.h"
#include "game/profile/ProfileTable.h"
#include "game/res/Res.h"
#include "game/ui/MenuHost.h"

#include <memory>
#include <utility>
#include <string>

namespace Zestra
{

namespace
{
// Tutorial days: the first day of the first three stores and the second and third of the first store.
// The result panel shows a day that ended; one that did not counts as failed.
int ResultKind(DayResult result)
{
    return result == DayResult::None ? 0 : int(result);
}

bool IsTutorialLevel(int storeNumber, int levelIndex)
{
    return (levelIndex == 0 && storeNumber >= 1 && storeNumber <= 3) ||
           (storeNumber == 1 && (levelIndex == 1 || levelIndex == 2));
}
} // namespace

BoardFlow::BoardFlow(Board& board, MenuHost& host) : board(board), host(host) {}

// ---------------------------------------------------------------------------------------------------------------
// Helpers

Menu* BoardFlow::Open(std::unique_ptr<Menu> menu)
{
    return host.AddMenu(std::move(menu));
}

void BoardFlow::CloseMenu(const Menu* menu)
{
    if (menu != nullptr)
        host.CloseMenu(menu->mDialogId);
}

// ---------------------------------------------------------------------------------------------------------------
// Main menu and the player's screens

void BoardFlow::ShowMainMenu()
{
    host.PlaySongAlone(MainMenuSong());
    Open(std::make_unique<MainMenu>(&board));
}

void BoardFlow::Play(const Menu* caller)
{
    if (!HasSavedGame())
    {
        StartNewGame(false);
        CloseMenu(caller);
        return;
    }
    Open(std::make_unique<LoadGameMenu>(&board, caller != nullptr ? caller->mDialogId : -1));
}

void BoardFlow::StartNewGame(bool resume)
{
    resumedRun = resume;
    if (resume)
    {
        board.run.Resume(GetSavedGame());
    }
    else
    {
        board.run.GiveUp();
        SetSavedGame(nullptr);
    }
    board.ClearPauses();
    if (WasLevelStarted(1, 0) || resume || GetUnlockedStores() > 1)
    {
        ShowMap();
        return;
    }
    Open(std::make_unique<Comic>(&board, true));
}

void BoardFlow::ShowPlayerSelect()
{
    Open(std::make_unique<PlayerSelectMenu>(&board));
}

void BoardFlow::ShowHighScores()
{
    Open(std::make_unique<HighScoresMenu>(&board));
}

void BoardFlow::ShowHowToPlay()
{
    Open(std::make_unique<HowToPlayMenu>(&board));
}

void BoardFlow::ShowCredits()
{
    Open(std::make_unique<CreditsMenu>(&board));
}

void BoardFlow::ShowOptions(bool inGame)
{
    Open(std::make_unique<OptionsDialog>(&board, inGame));
}

// ---------------------------------------------------------------------------------------------------------------
// The map and the way into a day

void BoardFlow::ShowMap()
{
    board.run.GoOn();
    if (!board.run.Saved() && GetUnlockedStores() == 1 && !WasLevelStarted(1, 0))
    {
        if (const StoreInfo* first = GetStoreInfo(1))
            board.run.StartStore(first);
    }
    board.LeaveLesson();
    // Without a run the player chooses the store of a new one on the map itself.
    if (const GameState* progress = board.run.Progress())
        Open(std::make_unique<MapMenu>(&board, progress->storeNumber, progress->levelIndex));
    else
        Open(std::make_unique<MapMenu>(&board));
}

void BoardFlow::EnterStore()
{
    if (board.run.Progress() && board.run.Progress()->storeNumber == 1 && board.run.Progress()->levelIndex == 0)
    {
        Open(std::make_unique<Comic>(&board, false));
        return;
    }
    PrepareLevel();
}

void BoardFlow::PrepareLevel()
{
    if (!board.run.Progress() || board.run.Store() == nullptr)
        return;
    board.DressForStore();
    const int storeNumber = board.run.Progress()->storeNumber;
    const int levelIndex = board.run.Progress()->levelIndex;
    if (IsTutorialLevel(storeNumber, levelIndex))
    {
        board.LoadLevel(false);
        board.ClearGoal();
        board.SetTutorialPlayed(false);
        const bool resumed = std::exchange(resumedRun, false);
        if (!WasLevelStarted(storeNumber, levelIndex))
            StartTutorial();
        else if (resumed)
            ShowLevelStart(true);
        else
            Open(std::make_unique<ConfirmTutorialMenu>(&board));
        return;
    }
    resumedRun = false;
    const LevelInfo* level = board.run.Store()->GetLevel(levelIndex);
    if (level != nullptr && level->isMinigame)
        OpenMinigame();
    else
        board.AttachMinigame(nullptr);
    ShowLevelStart(true);
}

void BoardFlow::StartTutorial()
{
    board.SetTutorialPlayed(true);
    // The lesson builds its own floor and runs in mode 2; when it is over the tick opens the level start.
    if (!board.BeginLesson())
        ShowLevelStart(true);
    board.ClearGoal();
}

void BoardFlow::ShowLevelStart(bool checkBoss)
{
    if (!board.run.Progress() || board.run.Store() == nullptr)
        return;
    const int storeNumber = board.run.Progress()->storeNumber;
    const int levelIndex = board.run.Progress()->levelIndex;
    MarkLevelStarted(storeNumber, levelIndex);
    board.LoadLevel(false);
    const LevelText& text = GetLevelText(storeNumber, levelIndex);
    const LevelInfo* level = board.run.Store()->GetLevel(levelIndex);
    const bool minigameDay = level != nullptr && level->isMinigame;
    if (checkBoss && !text.GetText("bossbegin").empty())
    {
        Open(std::make_unique<LevelStartBossMenu>(&board, board.run.Store()->GetImage("StartScreen"), storeNumber,
                                                  levelIndex));
        return;
    }
    // A memory game day: its game waits under the panel, whose OK starts the first stage.
    Open(std::make_unique<LevelStartMenu>(&board, storeNumber, levelIndex, minigameDay ? board.DayMinigame() : nullptr,
                                          board.TakePracticeMoney()));
}

void BoardFlow::AfterLevelStart(bool startNow)
{
    // startNow: the level start's OK builds the shop view; otherwise (after a purchase) the shop as it stands.
    const bool offers = startNow ? board.LoadLevel(true) : !board.shopItems.empty();
    // A panel the shop lesson opened has closed: the lesson goes on over the shop view.
    if (board.lesson && board.lesson->InShop())
    {
        board.SetMode(BoardMode::Tutorial);
        board.lesson->OnPanelClosed();
        board.UpdateButtons();
        return;
    }
    const GameState* progress = board.run.Progress();
    const bool shopDayAfterLesson =
        progress != nullptr && progress->storeNumber == 1 && progress->levelIndex == 1 && board.TutorialPlayed();
    if (progress == nullptr || (startNow && !offers) || progress->levelIndex == 0 || shopDayAfterLesson)
    {
        OpenStore(true);
        return;
    }
    // The upgrade shop: the player buys on the floor and leaves with the HUD's done button.
    board.SetMode(BoardMode::UpgradeShop);
    board.UpdateButtons();
}

void BoardFlow::OpenStore(bool rebuild)
{
    if (rebuild)
        board.LoadLevel(false);
    board.StartShopDay();
    const StoreInfo* store = board.run.Store();
    const LevelInfo* level =
        store != nullptr && board.run.Progress() ? store->GetLevel(board.run.Progress()->levelIndex) : nullptr;
    host.PlaySongAlone(level != nullptr ? level->music : -1);
    board.SetMode(BoardMode::Level);
    board.NoteDayOpened();
    // The day runs once the sign has closed itself: the menu stack then lets the board play.
    Open(std::make_unique<OpenSignMenu>(&board));
}

// ---------------------------------------------------------------------------------------------------------------
// After a day

void BoardFlow::ShowLevelResult()
{
    const StoreInfo* played = GetStoreInfo(board.lastDay.storePlayed);
    const LevelInfo* level = played != nullptr ? played->GetLevel(board.lastDay.levelPlayed) : nullptr;
    if (level != nullptr && level->isMinigame)
    {
        // The memory game has shown its own results: the way on follows at once.
        AfterResult(false);
        return;
    }
    const bool passed = IsPassed(board.lastDay.levelResult);
    const bool more =
        passed ? !board.lastDay.storeCompleted : (board.run.Saved() != nullptr && board.run.Saved()->lives > 0);
    ResultFigures figures{board.day.cash, board.day.tips, board.day.lostCustomers, std::nullopt};
    // The cash the next shop opens with; a finished store's run starts the next store with nothing to show here.
    if (board.run.Saved() != nullptr && !board.lastDay.storeCompleted)
        figures.cashToSpend = board.run.Saved()->cash;
    Open(std::make_unique<LevelCompleteMenu>(&board, ResultKind(board.lastDay.levelResult), more,
                                             board.lastDay.storePlayed, board.lastDay.levelPlayed, figures));
}

void BoardFlow::AfterResult(bool toMainMenu)
{
    switch (RouteAfterResult(toMainMenu, board.lastDay.highScoreRank, board.lastDay.storeCompleted, board.lastDay.storePlayed,
                             board.run.Saved() != nullptr))
    {
    case ResultRoute::MainMenu:
        ShowMainMenu();
        return;
    case ResultRoute::Map:
        ShowMap();
        return;
    case ResultRoute::Comic:
        Open(std::make_unique<Comic>(&board, board.lastDay.storePlayed, board.lastDay.runTotal, *board.lastDay.highScoreRank));
        return;
    case ResultRoute::HighScores:
        // After a lost run the table leads back to the main menu; after a finished store, on to the map.
        Open(std::make_unique<HighScoresMenu>(&board, board.lastDay.storePlayed, board.lastDay.runTotal, *board.lastDay.highScoreRank,
                                              board.lastDay.storeCompleted));
        return;
    }
}

void BoardFlow::OpenMinigame()
{
    if (!board.run.Progress())
        return;
    // The memory game is the whole day: nothing of the day before counts in its figures.
    board.ClearDayFigures();
    const GameState& progress = *board.run.Progress();
    board.AttachMinigame(static_cast<Minigame*>(
        host.AddMenu(std::make_unique<Minigame>(&board, progress.storeNumber, progress.levelIndex))));
}

} // namespace Zestra
