// The table of screens that can be opened by name.
#include "game/menus/MenuCatalog.h"

#include "game/menus/ConfirmQuitMenu.h"
#include "game/menus/MenuHost.h"
#include "game/menus/NoticeMenu.h"
#include "game/menus/OpenSignMenu.h"

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

} // namespace

const std::vector<MenuCatalogEntry>& MenuCatalog()
{
    static const std::vector<MenuCatalogEntry> kCatalog = {
        {"confirm-quit", OpenConfirmQuit},
        {"notice", OpenNotice},
        {"open-sign", OpenOpenSign},
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
