// Every screen by name, for the "-screen=NAME" option and the test that opens and draws each one headless. One
// explicit table; each entry opens its menu over a board that has a day built.
#pragma once

#include <string>
#include <vector>

namespace Zestra
{
class Board;
}
class MenuHost;

struct MenuCatalogEntry
{
    const char* name; // as given to -screen
    void (*open)(Zestra::Board& board, MenuHost& host);
    bool startScreen = false; // a start screen shown over everything, not a menu on the stack
};

const std::vector<MenuCatalogEntry>& MenuCatalog();
// Null for an unknown name.
const MenuCatalogEntry* FindCatalogScreen(const std::string& name);
// The names, comma-separated, for the help text.
std::string CatalogScreenNames();
