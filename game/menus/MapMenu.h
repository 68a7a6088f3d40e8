// The store map between days: every store as an icon (locked ones greyed, the current one highlighted), the
// store's own art along the bottom, a row of month icons with the heroine's marker on the day to play next, and the
// store and day titles. A newly unlocked store is first shown being built; with 3D on, the map opens through a
// growing iris. In choose mode (no run in progress, several stores unlocked) the player picks a store first. A
// click once the countdown is over continues into the store.
#pragma once

#include "game/menus/MapRules.h"
#include "game/ui/Menu.h"
#include "game/menus/MapStoreIcon.h"

#include <memory>
#include <string>
#include <vector>

class Component;

class MapMenu : public Menu
{
public:
    // The map of a run in progress, standing at that store and day.
    MapMenu(Zestra::Board* board, int storeNumber, int levelIndex);
    // The map that asks which store to play (no run in progress).
    explicit MapMenu(Zestra::Board* board);
    ~MapMenu() override;

    void ShowStore(int storeNumber, int levelIndex, bool construct);
    // The icon of that store, or null when the store has no icon on the map.
    MapStoreIcon* FindStore(int storeNumber) const;

    // The iris (and the waiting) is over: a click continues, or chooses in choose mode.
    bool IsSettled() const override { return !snapshot && (chooseMode || countdown == 0); }

    // Starts the map's music and, with 3D, keeps a picture of the screen for the iris to open.
    void OnAttachedToManager(Zestra::WidgetManager* manager) override;
    void Paint(Zestra::Graphics& g) override;
    void Tick() override;
    void OnMouseMove(int x, int y) override;
    void OnMouseDown(int x, int y, int button, int clickCount) override;
    using Menu::OnMouseDown;

    bool chooseMode = false;
    bool startedFromChooseMode = false;
    int countdown = 0;
    std::vector<std::unique_ptr<MapStoreIcon>> stores; // only stores with a map icon, in store order
    std::unique_ptr<Component> bottomPanel;
    std::vector<std::unique_ptr<Component>> levelIcons;
    std::unique_ptr<Component> marker;
    int storeNumber = 0;
    int levelIndex = 0;
    std::string storeTitle;
    std::string dayTitle;
    double irisSize = 0;
    int irisCount = 0; // updates since the iris began

private:
    void CommonSetUp();
    void UpdateIris();
};
