// The board's screen flow: every way from the main menu through the map, the level start and the upgrade shop to
// a played day and its result, and back. Each operation only opens and closes menus through the application's
// menu stack (which alone decides whether the day behind them runs) and fades the music.
//
// STAND-INS: the screens that later work builds (map, level start, result) are opened here as plainly marked
// StandInMenu screens with one button per way on. Each real screen replaces its stand-in at the one place below that opens it; the
// flow around it stays. The lessons and the memory game are the real ones.
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
#include "game/menus/LevelPanels.h"
#include "game/menus/LoadGameMenu.h"
#include "game/menus/MainMenu.h"
#include "game/menus/MenuHost.h"
#include "game/menus/OpenSignMenu.h"
#include "game/menus/OptionsDialog.h"
#include "game/menus/PlayerSelectMenu.h"
#include "game/menus/StandInMenu.h"
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

std::string TextOr(const std::string& key, const std::string& fallback)
{
    const std::string& text = GetText(key);
    return text.empty() ? fallback : text;
}

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

StandInMenu* Board::OpenStandIn(const std::string& name, bool showsBoard, Image* image)
{
    return static_cast<StandInMenu*>(Open(std::make_unique<StandInMenu>(this, name, showsBoard, image)));
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
    StandInMenu* map = OpenStandIn("Store map", false, IMAGE_MENU_MAP.get());
    if (map == nullptr)
        return;
    if (progress)
    {
        map->lines.push_back("Store " + std::to_string(progress->storeNumber) + ", day " +
                             std::to_string(progress->levelIndex + 1) + ": " +
                             GetLevelText(progress->storeNumber, progress->levelIndex).month);
        map->AddAction(TextOr("map_click_to_continue", "Enter the store"), [this, map] {
            EnterStore();
            CloseMenu(map);
        });
    }
    else
    {
        // No run: the player picks one of the stores open to them for a new run.
        map->lines.push_back(TextOr("map_choose_store", "Choose a store"));
        for (int number = 1; number <= GetUnlockedStores() && number <= StoreCount(); ++number)
        {
            map->AddAction("Store " + std::to_string(number), [this, map, number] {
                if (const StoreInfo* chosen = GetStoreInfo(number))
                {
                    savedProgress = std::make_unique<GameState>(NewGameState(chosen));
                    progress = std::make_unique<GameState>(*savedProgress);
                    store = chosen;
                }
                EnterStore();
                CloseMenu(map);
            });
        }
    }
    map->AddAction(TextOr("back_to_menu", "Main menu"), [this, map] {
        ShowMainMenu();
        CloseMenu(map);
    });
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
    hudImage = store->GetImage("Hud");
    const int storeNumber = progress->storeNumber;
    const int levelIndex = progress->levelIndex;
    if (IsTutorialLevel(storeNumber, levelIndex))
    {
        LoadLevel(false);
        goal = 0;
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
    goal = 0;
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
        StandInMenu* boss = OpenStandIn("The rival's visit", true, store->GetImage("StartScreen"));
        if (boss == nullptr)
            return;
        boss->lines.push_back(text.GetText("bossbegin"));
        boss->AddAction(TextOr("level_boss_start_ok", "OK"), [this, boss] {
            ShowLevelStart(false);
            CloseMenu(boss);
        });
        return;
    }
    StandInMenu* start = OpenStandIn("Level start", true, IMAGE_MENU_LEVEL_BEGIN.get());
    if (start == nullptr)
        return;
    start->lines.push_back(LevelStartTitle(text, minigameDay));
    start->lines.push_back(LevelStartBody(text, level, minigameDay));
    start->AddAction(TextOr("level_start_ok", "OK"), [this, start] {
        if (minigame != nullptr)
            minigame->StartStage();
        else
            AfterLevelStart(true);
        CloseMenu(start);
    });
    start->AddAction(TextOr("level_status_quit", "Quit"), [this, start] {
        if (minigame != nullptr)
        {
            CloseMenu(minigame);
            minigame = nullptr;
        }
        ShowMainMenu();
        CloseMenu(start);
    });
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
    const LevelResult kind = static_cast<LevelResult>(std::clamp(levelResult, 0, 2));
    const bool passed = kind != LevelResult::Failed;
    const bool more = passed ? !storeCompleted : (savedProgress != nullptr && savedProgress->lives > 0);
    const LevelText& text = GetLevelText(storePlayed, levelPlayed);
    ResultForm form = MakeResultForm(kind, more, text, cash, tips, lostCustomers);
    Image* panel = passed ? IMAGE_MENU_LEVEL_COMPLETE.get() : IMAGE_MENU_LEVEL_FAIL.get();
    StandInMenu* result = OpenStandIn("Result of the day", true, panel);
    if (result == nullptr)
        return;
    result->lines.push_back(TextOr(form.titleKey, passed ? "Day complete" : "Day failed"));
    std::string body = form.body;
    for (size_t start = 0; start < body.size();)
    {
        size_t end = body.find('\n', start);
        result->lines.push_back(body.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? body.size() : end + 1;
    }
    result->AddAction(TextOr(form.okKey, "Continue"), [this, result] {
        AfterResult(false);
        CloseMenu(result);
    });
    if (form.twoButtons)
        result->AddAction(TextOr("level_status_quit", "Quit"), [this, result] {
            AfterResult(true);
            CloseMenu(result);
        });
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
        Open(std::make_unique<Comic>(this, storePlayed, int(money), highScoreRank));
        return;
    case ResultRoute::HighScores:
        Open(std::make_unique<HighScoresMenu>(this, storePlayed, int(money), highScoreRank, true));
        return;
    }
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
