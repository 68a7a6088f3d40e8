// The table of screens that can be opened by name.
#include "game/menus/MenuCatalog.h"

#include "game/data/LevelStats.h"
#include "game/menus/CharacterMenu.h"
#include "game/menus/Comic.h"
#include "game/menus/ConfirmQuitMenu.h"
#include "game/menus/CreditsMenu.h"
#include "game/menus/EnterNameMenu.h"
#include "game/menus/HighScoresMenu.h"
#include "game/menus/HowToPlayMenu.h"
#include "game/menus/LoadGameMenu.h"
#include "game/menus/MainMenu.h"
#include "game/menus/MenuHost.h"
#include "game/menus/NoticeMenu.h"
#include "game/menus/OpenSignMenu.h"
#include "game/menus/OptionsDialog.h"
#include "game/menus/PlayerSelectMenu.h"
#include "game/minigame/Minigame.h"
#include "game/minigame/MinigamePlay.h"
#include "game/profile/GameState.h"
#include "game/shop/ShopItems.h"
#include "game/shopday/Board.h"

#include <algorithm>
#include <memory>

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

void OpenOpenSign(Zestra::Board& board, MenuHost& host)
{
    host.AddMenu(std::make_unique<OpenSignMenu>(&board));
}

// The upgrade shop before the day: a first day becomes the second (the first has no shop), with money to spend.
void OpenShop(Zestra::Board& board, MenuHost&)
{
    if (board.progress == nullptr)
        return;
    if (board.progress->levelIndex == 0)
        board.progress->levelIndex = 1;
    board.progress->cash = std::max(board.progress->cash, 500.0);
    board.AfterLevelStart(true);
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
    int first = board.progress ? board.progress->storeNumber : 1;
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
    int storeNumber = board.store != nullptr ? board.store->number : 1;
    int levelIndex = board.progress ? board.progress->levelIndex : 0;
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
        {"logo", OpenLogo, true},
        {"splash", OpenSplash, true},
        {"title", OpenTitle, true},
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
