// What opens and closes the game's menus: the application, the one owner of the stack of open menus. Menus and
// the board reach it through the application their widget manager belongs to (see HostOf).
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace Zestra
{
class Widget;
}
class Menu;

class MenuHost
{
public:
    virtual ~MenuHost() = default;
    // Opens the menu over everything open so far; the host owns it from now on. Returns it.
    virtual Menu* AddMenu(std::unique_ptr<Menu> menu) = 0;
    // Closes every open menu, but only after openNext has opened what follows, so the board never runs between.
    // (A single menu closes with the application's RemoveDialog of its id.)
    virtual void CloseAllMenus(const std::function<void()>& openNext) = 0;
    // Shows one of the start screens ("logo", "splash", "title") over everything; false for other names.
    virtual bool ShowStartScreen(const std::string& name) { return false; }
};

// The host of the application a widget's manager belongs to; null while the widget is not attached.
MenuHost* HostOf(const Zestra::Widget& widget);
