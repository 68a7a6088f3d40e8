// What the game's screens ask of the application they run in: it opens and closes the menus (the one owner of the
// stack of open menus), quits, plays the music and the people's voices. The host hands itself to every menu it
// opens (Menu::OpenedBy) and to the flow and shop items it makes; nobody looks it up.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace Zestra
{
class MusicInterface;
}
class Menu;
class VoiceHost;

class MenuHost
{
public:
    virtual ~MenuHost() = default;
    // Opens the menu over everything open so far; the host owns it from now on. Returns it.
    virtual Menu* AddMenu(std::unique_ptr<Menu> menu) = 0;
    // Closes the open menu with that dialog id; it is deleted once the loop has unwound. Unknown ids do nothing.
    virtual void CloseMenu(int dialogId) = 0;
    // Closes every open menu, but only after openNext has opened what follows, so the board never runs between.
    virtual void CloseAllMenus(const std::function<void()>& openNext) = 0;
    // Shows one of the start screens ("logo", "splash", "title") over everything; false for other names.
    virtual bool ShowStartScreen(const std::string& name) { return false; }
    // Ends the game as closing the window does.
    virtual void QuitGame() = 0;
    // The music player; null when there is none.
    virtual Zestra::MusicInterface* Music() const = 0;
    virtual VoiceHost& Voices() = 0;

    // Fades whatever plays out and song (a music id; below 0 none) in.
    void PlaySongAlone(int song);
};
