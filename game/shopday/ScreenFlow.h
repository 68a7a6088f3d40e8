// The way from screen to screen around the shop days, as the board and the screens built on it ask for it: the
// main menu, the map, a day's start, the upgrade shop, the day and its result. The board owns the flow but does
// not know the screens it opens; the application gives it one (game/flow), as it gives the board its lessons.
#pragma once

class Menu;

class ScreenFlow
{
public:
    virtual ~ScreenFlow() = default;

    virtual void ShowMainMenu() = 0;
    // Main menu Play: the saved-game question when the player has a saved run, else a new run (closing caller).
    virtual void Play(const Menu* caller) = 0;
    // A new run (resume: the profile's saved one) and what follows it: the map or the first comic.
    virtual void StartNewGame(bool resume) = 0;
    // The store map for the run (a new run of the first store on a first start), or the choice of store.
    virtual void ShowMap() = 0;
    // A store was chosen on the map: the second comic before the very first day, else PrepareLevel.
    virtual void EnterStore() = 0;
    // The chosen day: its pictures, then its lesson (tutorial days) or its start panel.
    virtual void PrepareLevel() = 0;
    // The level's start panel (the boss's when checkBoss and the level has a boss text). Marks the day started.
    virtual void ShowLevelStart(bool checkBoss) = 0;
    // Level start OK (startNow) or the upgrade shop's leaving: the shop when it has offers, else OpenStore.
    virtual void AfterLevelStart(bool startNow) = 0;
    // The day's floor (rebuilt when asked), its song and the open sign; the day runs once the sign has closed.
    virtual void OpenStore(bool rebuild) = 0;
    // After the day ended: the result panel of the day.
    virtual void ShowLevelResult() = 0;
    // Leaving the result panel: the main menu when asked, else the map, the store's last comic or the scores.
    virtual void AfterResult(bool toMainMenu) = 0;
    virtual void ShowPlayerSelect() = 0;
    virtual void ShowHighScores() = 0;
    virtual void ShowHowToPlay() = 0;
    virtual void ShowCredits() = 0;
    // The options dialog; in game it offers going back to the day or to the main menu.
    virtual void ShowOptions(bool inGame) = 0;
    // The lesson of the current level.
    virtual void StartTutorial() = 0;
    // Opens the memory game of the current day (a minigame level) as its menu; its first stage waits for the
    // level-start panel.
    virtual void OpenMinigame() = 0;
};
