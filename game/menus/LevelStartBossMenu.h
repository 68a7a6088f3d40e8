// The panel that opens a boss day before the normal level-start panel: the store's start-screen picture with the
// rival's introduction zooms in from the centre of the screen over 40 updates, then its OK button appears.
#pragma once

#include "game/ui/Menu.h"

#include <memory>

namespace Zestra
{
class MemoryImage;
}

class LevelStartBossMenu : public Menu
{
public:
    static constexpr int kZoomUpdates = 40;

    // startScreen: the store's "StartScreen" picture; not owned.
    LevelStartBossMenu(Zestra::Board* board, Zestra::Image* startScreen, int storeNumber, int levelIndex);
    ~LevelStartBossMenu() override;

    bool IsSettled() const override { return zoom >= kZoomUpdates; }

    void Paint(Zestra::Graphics& g) override;
    void Tick() override;
    void ButtonPressed(int id) override;
    using Menu::ButtonPressed;

    Button* okButton = nullptr;
    int zoom = 0; // updates since the panel opened, up to kZoomUpdates; it opens the moment it is made
    std::unique_ptr<Zestra::MemoryImage> panel;
};
