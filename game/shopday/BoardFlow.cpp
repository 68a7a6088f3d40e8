// The board's screen flow: every way from the main menu through the map, the level start and the upgrade shop to
// a played day and its result, and back. Each operation only opens and closes menus through the application's
// menu stack (which alone decides whether the day behind them runs) and fades the music.
#include "game/shopday/Board.h"

#include "framework/app/ZestraAppBase.h"
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
#include "game/menus/MapMenu.h"
#include "game/menus/LoadGameMenu.h"
#include "game/menus/MainMenu.h"
#include "game/menus/MenuHost.h"
#include "game/menus/OpenSignMenu.h"
#include "game/menus/OptionsDialog.h"
#include "game/menus/PlayerSelectMenu.h"
#include "game/minigame/Minigame.h"
#include "game/profile/GameState.h"
#include "game/profile/ProfileTable.h"
#include "game/res/Res.h"

#include <memory>
#include <string>

namespace Zestra
{

namespace
{
constexpr double kFadeOutSpeed = 0.004;
constexpr double kFadeInSpeed = 0.002;

// Tutorial days: the first day of the first three stores and the second and third of the first store.
bool IsTutorialLevel(int storeNumber, int levelIndex)
{
    return (levelIndex == 0 && storeNumber >= 1 && storeNumber <= 3) ||
           (storeNumber == 1 && (levelIndex == 1 || levelIndex == 2));
}
} // namespace

// ---------------------------------------------------------------------------------------------------------------
// Helpers

MenuHost* Board::Host() const
{
    return HostOf(*this);
}

Menu* Board::Open(std::unique_ptr<Menu> menu)
{
    MenuHost* host = Host();
    return host != nullptr ? host->AddMenu(std::move(menu)) : nullptr;
}

void Board::CloseMenu(const Menu* menu)
{
    if (menu == nullptr)
        return;
    if (ZestraAppBase* app = AppOf(*this))
        app->RemoveDialog(menu->mDialogId);
}

void Board::PlaySongAlone(int song)
{
    ZestraAppBase* app = AppOf(*this);
    if (app == nullptr || app->mMusicInterface == nullptr)
        return;
    app->mMusicInterface->FadeAllOut(true, kFadeOutSpeed);
    if (song >= 0)
        app->mMusicInterface->FadeSongIn(song, -1, kFadeInSpeed, false);
}

// ---------------------------------------------------------------------------------------------------------------
// Main menu and the player's screens

void Board::ShowMainMenu()
{
    PlaySongAlone(MainMenuSong());
    Open(std::make_unique<MainMenu>(this));
}

void Board::Play(const Menu* caller)
{
    if (!HasSavedGame())
    {
        StartNewGame(false);
        CloseMenu(caller);
        return;
    }
    Open(std::make_unique<LoadGameMenu>(this, caller != nullptr ? caller->mDialogId : -1));
}

void Board::StartNewGame(bool resume)
{
    savedProgress.reset();
    if (resume)
    {
        savedProgress = GetSavedGame();
        if (savedProgress)
            store = GetStoreInfo(savedProgress->storeNumber);
    }
    else
    {
        SetSavedGame(nullptr);
    }
    pauseCount = 0;
    if (WasLevelStarted(1, 0) || resume || GetUnlockedStores() > 1)
    {
        ShowMap();
        return;
    }
    Open(std::make_unique<Comic>(this, true));
}

void Board::ShowPlayerSelect()
{
    Open(std::make_unique<PlayerSelectMenu>(this));
}

void Board::ShowHighScores()
{
    Open(std::make_unique<HighScoresMenu>(this));
}

void Board::ShowHowToPlay()
{
    Open(std::make_unique<HowToPlayMenu>(this));
}

void Board::ShowCredits()
{
    Open(std::make_unique<CreditsMenu>(this));
}

void Board::ShowOptions(bool inGame)
{
    Open(std::make_unique<OptionsDialog>(this, inGame));
}

// ---------------------------------------------------------------------------------------------------------------
// The map and the way into a day

void Board::ShowMap()
{
    progress = savedProgress ? std::make_unique<GameState>(*savedProgress) : nullptr;
    if (!savedProgress && GetUnlockedStores() == 1 && !WasLevelStarted(1, 0))
    {
        if (const StoreInfo* first = GetStoreInfo(1))
        {
            savedProgress = std::make_unique<GameState>(NewGameState(first));
            progress = std::make_unique<GameState>(*savedProgress);
        }
    }
    if (progress)
        store = GetStoreInfo(progress->storeNumber);
    tutorialRunning = false;
    mode = BoardMode::Level;
    // Without a run the player chooses the store of a new one on the map itself.
    if (progress)
        Open(std::make_unique<MapMenu>(this, progress->storeNumber, progress->levelIndex));
    else
        Open(std::make_unique<MapMenu>(this));
}

void Board::EnterStore()
{
    if (progress && progress->storeNumber == 1 && progress->levelIndex == 0)
    {
        Open(std::make_unique<Comic>(this, false));
        return;
    }
    PrepareLevel();
}

void Board::PrepareLevel()
{
    if (!progress || store == nullptr)
        return;
    background = store->GetImage("Background");
    hud.image = store->GetImage("Hud");
    const int storeNumber = progress->storeNumber;
    const int levelIndex = progress->levelIndex;
    if (IsTutorialLevel(storeNumber, levelIndex))
    {
        LoadLevel(false);
        day.goal = 0;
        tutorialPlayed = false;
        if (WasLevelStarted(storeNumber, levelIndex))
            Open(std::make_unique<ConfirmTutorialMenu>(this));
        else
            StartTutorial();
        return;
    }
    const LevelInfo* level = store->GetLevel(levelIndex);
    if (level != nullptr && level->isMinigame)
        OpenMinigame();
    else
        minigame = nullptr;
    ShowLevelStart(true);
}

void Board::StartTutorial()
{
    tutorialPlayed = true;
    // The lesson builds its own floor and runs in mode 2; when it is over the tick opens the level start.
    if (!BeginLesson())
        ShowLevelStart(true);
    day.goal = 0;
}

void Board::ShowLevelStart(bool checkBoss)
{
    if (!progress || store == nullptr)
        return;
    const int storeNumber = progress->storeNumber;
    const int levelIndex = progress->levelIndex;
    MarkLevelStarted(storeNumber, levelIndex);
    LoadLevel(false);
    const LevelText& text = GetLevelText(storeNumber, levelIndex);
    const LevelInfo* level = store->GetLevel(levelIndex);
    const bool minigameDay = level != nullptr && level->isMinigame;
    if (checkBoss && !text.GetText("bossbegin").empty())
    {
        Open(std::make_unique<LevelStartBossMenu>(this, store->GetImage("StartScreen"), storeNumber, levelIndex));
        return;
    }
    // A memory game day: its game waits under the panel, whose OK starts the first stage.
    Open(std::make_unique<LevelStartMenu>(this, storeNumber, levelIndex, minigameDay ? minigame : nullptr));
}

void Board::AfterLevelStart(bool startNow)
{
    // startNow: the level start's OK builds the shop view; otherwise (after a purchase) the shop as it stands.
    const bool offers = startNow ? LoadLevel(true) : !shopItems.empty();
    const bool shopDayAfterLesson =
        progress != nullptr && progress->storeNumber == 1 && progress->levelIndex == 1 && tutorialPlayed;
    if (progress == nullptr || (startNow && !offers) || progress->levelIndex == 0 || shopDayAfterLesson)
    {
        OpenStore(true);
        return;
    }
    // The upgrade shop: the player buys on the floor and leaves with the HUD's done button.
    mode = BoardMode::UpgradeShop;
    UpdateButtons();
}

void Board::OpenStore(bool rebuild)
{
    if (rebuild)
        LoadLevel(false);
    StartShopDay();
    const LevelInfo* level = store != nullptr && progress ? store->GetLevel(progress->levelIndex) : nullptr;
    PlaySongAlone(level != nullptr ? level->music : -1);
    mode = BoardMode::Level;
    if (onDayOpened)
        onDayOpened();
    // The day runs once the sign has closed itself: the menu stack then lets the board play.
    Open(std::make_unique<OpenSignMenu>(this));
}

// ---------------------------------------------------------------------------------------------------------------
// After a day

void Board::ShowLevelResult()
{
    const StoreInfo* played = GetStoreInfo(storePlayed);
    const LevelInfo* level = played != nullptr ? played->GetLevel(levelPlayed) : nullptr;
    if (level != nullptr && level->isMinigame)
    {
        // The memory game has shown its own results: the way on follows at once.
        AfterResult(false);
        return;
    }
    const bool passed = levelResult > 0;
    const bool more = passed ? !storeCompleted : (savedProgress != nullptr && savedProgress->lives > 0);
    Open(std::make_unique<LevelCompleteMenu>(this, std::clamp(levelResult, 0, 2), more, storePlayed, levelPlayed,
                                             day.cash, day.tips, day.lostCustomers));
}

void Board::AfterResult(bool toMainMenu)
{
    switch (RouteAfterResult(toMainMenu, highScoreRank, storeCompleted, storePlayed, savedProgress != nullptr))
    {
    case ResultRoute::MainMenu:
        ShowMainMenu();
        return;
    case ResultRoute::Map:
        ShowMap();
        return;
    case ResultRoute::Comic:
        Open(std::make_unique<Comic>(this, storePlayed, int(day.money), highScoreRank));
        return;
    case ResultRoute::HighScores:
        // After a lost run the table leads back to the main menu; after a finished store, on to the map.
        Open(std::make_unique<HighScoresMenu>(this, storePlayed, int(day.money), highScoreRank, storeCompleted));
        return;
    }
}

void Board::OpenMinigame()
{
    MenuHost* host = HostOf(*this);
    if (host == nullptr || !progress)
        return;
    // The memory game is the whole day: nothing of the day before counts in its figures.
    levelResult = -1;
    day.money = day.cash = day.tips = 0.0;
    day.customersServed = 0;
    day.lostCustomers = 0;
    minigame = static_cast<Minigame*>(
        host->AddMenu(std::make_unique<Minigame>(this, progress->storeNumber, progress->levelIndex)));
}

} // namespace Zestra
