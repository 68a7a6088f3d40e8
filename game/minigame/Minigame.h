// The memory minigame's screen: a full-screen menu over the store's minigame background that draws the game of
// MinigamePlay (mannequins, windows, tray, drop results, the results panel) and turns the mouse into its grabs,
// drags and drops. The board opens it for a minigame day; the level-start panel starts the first stage; the done
// button pays the stage's money into the day and then starts the second stage or ends the day.
#pragma once

#include "game/ui/Menu.h"

#include <memory>

class Button;
class MinigamePlay;
struct LevelInfo;
struct StoreInfo;

class Minigame : public Menu
{
public:
    // An unknown store or a level that is not a minigame gives a screen whose done button only ends the day.
    Minigame(Zestra::Board* board, int storeNumber, int levelIndex);
    ~Minigame() override;

    // The next stage begins with its preview (the first from the level-start panel, the second from done).
    void StartStage();

    void Tick() override;
    void Paint(Zestra::Graphics& g) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseDown(int x, int y, int button, int clickCount) override;
    using Menu::OnMouseDown;
    void OnMouseDrag(int x, int y) override;
    void OnMouseUp(int x, int y, int button, int clickCount) override;
    using Menu::OnMouseUp;
    void ButtonPressed(int id) override;
    using Menu::ButtonPressed;

    const LevelInfo* info = nullptr; // not owned; null when the level is not a minigame
    int storeNumber = 0;
    int levelIndex = 0;
    std::unique_ptr<MinigamePlay> play; // null without a minigame level
    Button* doneButton = nullptr;       // owned by the menu's children

private:
    void PaintTexts(Zestra::Graphics& g);
    void PaintResults(Zestra::Graphics& g);
    void UpdateCursor(int x, int y);
};
