// The table of screens that can be opened by name.
#include "game/flow/MenuCatalog.h"

#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/menus/AchievementsMenu.h"
#include "game/menus/CharacterMenu.h"
#include "game/menus/Comic.h"
#include "game/menus/ConfirmQuitMenu.h"
#include "game/menus/CreditsMenu.h"
#include "game/menus/EnterNameMenu.h"
#include "game/menus/HighScoresMenu.h"
#include "game/menus/HowToPlayMenu.h"
#include "game/menus/LevelCompleteMenu.h"
#include "game/menus/LevelStartBossMenu.h"
#include "game/menus/LevelStartMenu.h"
#include "game/menus/LoadGameMenu.h"
#include "game/menus/MainMenu.h"
#include "game/menus/MapMenu.h"
#include "game/ui/MenuHost.h"
#include "game/menus/NoticeMenu.h"
#include "game/menus/OpenSignMenu.h"
#include "game/menus/OptionsDialog.h"
#include "game/menus/PlayerSelectMenu.h"
#include "game/menus/StatisticsMenu.h"
#include "game/minigame/Minigame.h"
#include "game/minigame/MinigamePlay.h"
#include "game/profile/GameState.h"
#include "game/shop/ShopItems.h"
#include "game/shopday/Board.h"

#include <algorithm>
#include <memory>
#include <string>

namespace
{

void OpenConfirmQuit(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<ConfirmQuitMenu>(&board));
}

void OpenNotice(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<NoticeMenu>(&board, "3d_recommended", "3d_recommended_msg"));
}

// Held once turned over, so the screen still shows the sign however long it is looked at.
void OpenOpenSign(Zestra::Board& board, MenuHost& host)
{
    static_cast<OpenSignMenu*>(host.AddMenu(std::make_unique<OpenSignMenu>(&board)))->holdTurned = true;
}

// The upgrade shop before the day: a first day becomes the second (the first has no shop), with money to spend.
void OpenShop(Zestra::Board& board, MenuHost&)
{
    if (board.run.Progress() == nullptr)
        return;
    GameState shopping = *board.run.Progress();
    if (shopping.levelIndex == 0)
        shopping.levelIndex = 1;
    shopping.cash = std::max(shopping.cash, 500.0);
    board.run.ReplaceWorkingCopy(shopping);
    board.flow->AfterLevelStart(true);
}

// The panel of the shop's first item (the changing room when one is offered).
void OpenShopPanel(Zestra::Board& board, MenuHost& host)
{
    OpenShop(board, host);
    ShoppingComponent* chosen = nullptr;
    for (auto& item : board.shopItems)
        if (chosen == nullptr || dynamic_cast<ShopChangingRoom*>(item.get()) != nullptr)
            chosen = item.get();
    if (chosen != nullptr)
        chosen->OpenPanel(board);
}

// The memory game of the board's store, or of the first store that has one; null when the content has none.
Minigame* OpenMinigameOf(Zestra::Board& board, MenuHost& host)
{
    int first = board.run.Progress() ? board.run.Progress()->storeNumber : 1;
    for (int n = 0; n < StoreCount(); ++n)
    {
        int number = (first - 1 + n) % StoreCount() + 1;
        const StoreInfo* store = GetStoreInfo(number);
        for (size_t level = 0; store != nullptr && level < store->levels.size(); ++level)
            if (store->levels[level].isMinigame)
                return static_cast<Minigame*>(host.AddMenu(std::make_unique<Minigame>(&board, number, int(level))));
    }
    return nullptr;
}

// The first stage showing the dressed mannequins.
void OpenMinigame(Zestra::Board& board, MenuHost& host)
{
    if (Minigame* game = OpenMinigameOf(board, host))
        game->StartStage();
}

// The first stage once the windows have opened again: the tray of cards to drag.
void OpenMinigameTray(Zestra::Board& board, MenuHost& host)
{
    Minigame* game = OpenMinigameOf(board, host);
    if (game == nullptr)
        return;
    game->StartStage();
    while (game->play && game->play->phase != MinigamePhase::Solving)
        game->play->Update();
}

// The store and day the board has built (the first day of the first store without one).
int ShownStore(const Zestra::Board& board)
{
    return board.run.Progress() ? board.run.Progress()->storeNumber : 1;
}

int ShownLevel(const Zestra::Board& board)
{
    return board.run.Progress() ? board.run.Progress()->levelIndex : 0;
}

// The first day of the store whose text has that entry (the rival's days), or the board's day when none has.
int DayWithText(const Zestra::Board& board, const std::string& key)
{
    int storeNumber = ShownStore(board);
    const StoreInfo* store = GetStoreInfo(storeNumber);
    int count = store != nullptr ? int(store->levels.size()) : 0;
    for (int level = 0; level < count; ++level)
        if (!GetLevelText(storeNumber, level).GetText(key).empty())
            return level;
    return ShownLevel(board);
}

void OpenLevelStart(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<LevelStartMenu>(&board, ShownStore(board), ShownLevel(board), nullptr));
}

void OpenLevelBoss(Zestra::Board& board, MenuHost& host)
{
    int storeNumber = ShownStore(board);
    const StoreInfo* store = GetStoreInfo(storeNumber);
    Zestra::Image* startScreen = store != nullptr ? store->GetImage("StartScreen") : nullptr;
    host.AddMenu(
        std::make_unique<LevelStartBossMenu>(&board, startScreen, storeNumber, DayWithText(board, "bossbegin")));
}

// The end of the first stage with its figures all shown: six right cards, 19 seconds to spare.
void OpenMinigameResult(Zestra::Board& board, MenuHost& host)
{
    Minigame* game = OpenMinigameOf(board, host);
    if (game == nullptr)
        return;
    game->StartStage();
    if (!game->play)
        return;
    game->play->EndStage();
    game->play->matches = 6;
    game->play->extraSeconds = 19;
    game->play->score = 445.50;
    while (game->play->timer > 0)
        game->play->Update();
}

// The day's figures shown on the result screens.
constexpr double kCash = 612.50;
constexpr double kTips = 48.25;
constexpr int kLostCustomers = 2;
constexpr double kCashToSpend = 860.75;

void OpenResult(Zestra::Board& board, MenuHost& host, LevelResult kind, bool more, int level)
{
    ResultFigures figures{kCash, kTips, kLostCustomers, std::nullopt};
    if (more)
        figures.cashToSpend = kCashToSpend;
    host.AddMenu(std::make_unique<LevelCompleteMenu>(&board, int(kind), more, ShownStore(board), level, figures));
}

void OpenResultFail(Zestra::Board& board, MenuHost& host)
{
    OpenResult(board, host, LevelResult::Failed, true, ShownLevel(board));
}

void OpenResultPass(Zestra::Board& board, MenuHost& host)
{
    OpenResult(board, host, LevelResult::Passed, true, ShownLevel(board));
}

void OpenResultExpert(Zestra::Board& board, MenuHost& host)
{
    OpenResult(board, host, LevelResult::Expert, true, ShownLevel(board));
}

void OpenResultRival(Zestra::Board& board, MenuHost& host)
{
    OpenResult(board, host, LevelResult::Passed, false, DayWithText(board, "dorviecomplete"));
}

void OpenGameOver(Zestra::Board& board, MenuHost& host)
{
    OpenResult(board, host, LevelResult::Failed, false, ShownLevel(board));
}

// A store in progress: the fourth day of the board's store.
void OpenMap(Zestra::Board& board, MenuHost& host)
{
    const StoreInfo* store = GetStoreInfo(ShownStore(board));
    int level = store != nullptr ? std::min(3, int(store->levels.size()) - 1) : 0;
    host.AddMenu(std::make_unique<MapMenu>(&board, ShownStore(board), std::max(level, 0)));
}

void OpenMapChoose(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<MapMenu>(&board));
}

// The second store just unlocked, being built, whatever the player on this machine has reached.
void OpenMapBuild(Zestra::Board& board, MenuHost& host)
{
    const int storeNumber = std::min(2, StoreCount());
    auto map = std::make_unique<MapMenu>(&board, storeNumber, 0);
    const StoreInfo* store = GetStoreInfo(storeNumber);
    for (auto& icon : map->stores)
    {
        if (icon->storeNumber != storeNumber || store == nullptr)
            continue;
        icon = std::make_unique<MapStoreIcon>(*store, true);
        icon->StartConstruction();
    }
    host.AddMenu(std::move(map));
}

void OpenLogo(Zestra::Board&, MenuHost& host)
{
    host.ShowStartScreen("logo");
}

void OpenSplash(Zestra::Board&, MenuHost& host)
{
    host.ShowStartScreen("splash");
}

void OpenTitle(Zestra::Board&, MenuHost& host)
{
    host.ShowStartScreen("title");
}

void OpenMainMenu(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<MainMenu>(&board));
}

void OpenPlayerSelect(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<PlayerSelectMenu>(&board));
}

void OpenEnterName(Zestra::Board&, MenuHost& host)
{
    host.AddMenu(std::make_unique<EnterNameMenu>(nullptr));
}

void OpenLoadGame(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<LoadGameMenu>(&board, -1));
}

void OpenOptions(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<OptionsDialog>(&board, false));
}

void OpenOptionsInGame(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<OptionsDialog>(&board, true));
}

void OpenHighScores(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<HighScoresMenu>(&board));
}

void OpenHighScoresAfterRun(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<HighScoresMenu>(&board, 1, 12345, 0, true));
}

void OpenAchievements(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<AchievementsMenu>(&board));
}

void OpenStatistics(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<StatisticsMenu>(&board));
}

void OpenCredits(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<CreditsMenu>(&board));
}

void OpenHowToPlay(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<HowToPlayMenu>(&board));
}

void OpenComic1(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<Comic>(&board, true));
}

void OpenComic2(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<Comic>(&board, false));
}

void OpenComic3(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<Comic>(&board, 1, 12345, 0));
}

void OpenComic4(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<Comic>(&board, 2, 12345, 0));
}

void OpenHandbook(Zestra::Board& board, MenuHost& host)
{
    int storeNumber = board.run.Store() != nullptr ? board.run.Store()->number : 1;
    int levelIndex = board.run.Progress() ? board.run.Progress()->levelIndex : 0;
    host.AddMenu(std::make_unique<CharacterMenu>(&board, storeNumber, levelIndex));
}

} // namespace

const std::vector<MenuCatalogEntry>& MenuCatalog()
{
    static const std::vector<MenuCatalogEntry> kCatalog = {
        {"main", OpenMainMenu},
        {"players", OpenPlayerSelect},
        {"enter-name", OpenEnterName},
        {"load-game", OpenLoadGame},
        {"options", OpenOptions},
        {"options-ingame", OpenOptionsInGame},
        {"highscores", OpenHighScores},
        {"highscores-result", OpenHighScoresAfterRun},
        {"achievements", OpenAchievements},
        {"statistics", OpenStatistics},
        {"credits", OpenCredits},
        {"howto", OpenHowToPlay},
        {"comic1", OpenComic1},
        {"comic2", OpenComic2},
        {"comic3", OpenComic3},
        {"comic4", OpenComic4},
        {"handbook", OpenHandbook},
        {"confirm-quit", OpenConfirmQuit},
        {"notice", OpenNotice},
        {"open-sign", OpenOpenSign},
        {"shop", OpenShop},
        {"shop-panel", OpenShopPanel},
        {"minigame", OpenMinigame},
        {"minigame-tray", OpenMinigameTray},
        {"minigame-result", OpenMinigameResult},
        {"logo", OpenLogo, true},
        {"splash", OpenSplash, true},
        {"title", OpenTitle, true},
        {"level-start", OpenLevelStart},
        {"level-boss", OpenLevelBoss},
        {"result-fail", OpenResultFail},
        {"result-pass", OpenResultPass},
        {"result-expert", OpenResultExpert},
        {"result-rival", OpenResultRival},
        {"game-over", OpenGameOver},
        {"map", OpenMap},
        {"map-choose", OpenMapChoose},
        {"map-build", OpenMapBuild},
    };
    return kCatalog;
}

const MenuCatalogEntry* FindCatalogScreen(const std::string& name)
{
    for (const MenuCatalogEntry& entry : MenuCatalog())
    {
        if (name == entry.name)
            return &entry;
    }
    return nullptr;
}

std::string CatalogScreenNames()
{
    std::string names;
    for (const MenuCatalogEntry& entry : MenuCatalog())
        names += (names.empty() ? "" : ", ") + std::string(entry.name);
    return names;
}
