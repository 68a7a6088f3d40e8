// The table of screens that can be opened by name.
#include "game/menus/MenuCatalog.h"

#include "game/menus/ConfirmQuitMenu.h"
#include "game/menus/MenuHost.h"
#include "game/menus/NoticeMenu.h"
#include "game/menus/OpenSignMenu.h"
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

} // namespace

const std::vector<MenuCatalogEntry>& MenuCatalog()
{
    static const std::vector<MenuCatalogEntry> kCatalog = {
        {"confirm-quit", OpenConfirmQuit},
        {"notice", OpenNotice},
        {"open-sign", OpenOpenSign},
        {"shop", OpenShop},
        {"shop-panel", OpenShopPanel},
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
