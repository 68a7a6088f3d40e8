// The game's application: product settings, the voices' own sound manager, the start-up (the small resource
// groups at once, then the data tables and the large groups on the loading thread with a progress count), the
// start screens (studio logo, two splash pictures, title screen) and the one Board that stays in the widget tree
// from the title screen's Play to the end of the run. The loading thread only writes the tables, the large
// groups and the progress counters; the main thread reads them after it has acknowledged the end of loading.
#pragma once

#include "framework/app/ZestraAppBase.h"
#include "game/ui/VoiceHost.h"
#include "game/ui/MenuHost.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>

class FrameworkParserHost;
class DayRecorder;
class ShopItemFactory;

namespace Zestra
{

class Board;
class DistributorScreen;
class LogoScreen;
class TitleScreen;

// Options of our own, for diagnostics and balancing.
struct GameOptions
{
    bool levelGiven = false; // "-level=S:L": skip the start screens and play that day of a new run
    int store = 1;
    int level = 0;
    bool autoplay = false;       // "-autoplay": the built-in player plays the day
    bool novice = false;         // "-autoplay=novice": the built-in newcomer plays it instead
    bool noDraw = false;         // "-nodraw": skip drawing (with -headless), for simulation speed
    bool quitAfterLevel = false; // "-quit-after-level": one line of JSON on stdout, then exit 0
    bool timings = false;        // "-timings": one line of JSON with the start-up figures once loaded, then quit
    std::string screen;          // "-screen=NAME": skip the start screens and show that screen over a day
    bool memStats = false;       // "-memstats": memory, descriptors and threads on stderr as JSON lines
    bool panels = false;         // "-panels": each result panel's figures as a JSON line after the day's
    std::string drive;           // "-drive=FILE": the built-in player's mouse events go out as lines ("-": stdout)
    int idleStore = 0;           // "-idle-day=S:L": the built-in player leaves that day alone the first time
    int idleLevel = 0;
};

// Start-up figures in milliseconds since the process started; negative while not reached.
struct StartupTimings
{
    double firstLogoFrameMs = -1;
    double loadingFinishedMs = -1;
    long peakMemoryKb = -1; // resident set high-water mark once loading has finished
    std::string display;    // how the screen is presented
};

class GameApp : public ZestraAppBase, public MenuHost, public VoiceHost
{
public:
    static constexpr int kBadLevelExitCode = 2;
    static constexpr double kDefaultVoiceVolume = 0.6;

    explicit GameApp(Platform& platform);
    ~GameApp() override;

    void Initialize() override;
    void RunLoadingTask() override;
    void OnLoadingFinished() override;
    void RunUpdate() override;
    // Writes the profiles once the loop has ended, so a failed save still decides the exit code.
    void OnMainLoopExit() override;
    bool DrawIfDirty() override;
    void PresentScreen() override;
    void OnFocusLost() override;
    void OnFocusGained() override;
    // Also takes a closed menu off the open menus and sets the board's state anew.
    bool RemoveDialog(int id) override;
    using ZestraAppBase::RemoveDialog;

    // The stack of open menus: only these open and close them, and only UpdateBoardPause sets the board's state.
    Menu* AddMenu(std::unique_ptr<Menu> menu) override;
    void CloseMenu(int dialogId) override;
    void CloseAllMenus(const std::function<void()>& openNext) override;
    void QuitGame() override { Quit(); }
    MusicInterface* Music() const override { return mMusicInterface.get(); }
    VoiceHost& Voices() override { return *this; }
    // The board plays with no menu open; it is covered (and darkened when a menu asks) while every open menu shows
    // it, else hidden. The board gets the keyboard back unless an open menu keeps it.
    void UpdateBoardPause();
    // In opening order; the application owns them (as dialogs).
    const std::list<Menu*>& OpenMenus() const { return mOpenMenus; }
    void LoadSettings() override;
    void SaveSettings() override;
    void Mute(bool automatic) override;
    void Unmute(bool automatic) override;

    // People's voices play through their own manager, so their level is set apart from the effects.
    void SetVoiceVolume(double volume) override;
    double GetVoiceVolume() const override { return mVoiceVolume; }
    void PlayVoice(VoiceId voice) override;
    SoundManager* VoiceManager() const { return mVoiceManager.get(); }

    // The start screens hand over to each other through these (each is called by the screen that ends).
    void ShowFirstSplash();
    void ShowNextSplash();
    // Title screen Play (after the name entry on a first run): the board replaces the title screen and opens the
    // main menu.
    void StartGame();
    // "logo", "splash" or "title" over whatever is shown ("-screen"); false for other names.
    bool ShowStartScreen(const std::string& name) override;
    // Takes every start screen off the screen (they are deleted once the loop has unwound).
    void CloseStartScreens();

    LogoScreen* GetLogoScreen() const { return mLogoScreen.get(); }
    DistributorScreen* GetFirstSplash() const { return mFirstSplash.get(); }
    DistributorScreen* GetSecondSplash() const { return mSecondSplash.get(); }
    TitleScreen* GetTitleScreen() const { return mTitleScreen.get(); }
    // Set on the main thread once the end of loading has been acknowledged (and loading did not fail).
    bool IsGameLoaded() const { return mGameLoaded; }
    bool LoadingFailed() const { return mLoadingFailed.load(std::memory_order_acquire); }
    // What the process should return: 0, or non-zero after a failed start that ended through Quit.
    // 1 also when the run went well but a file it had to write (a demo, the profiles) could not be written.
    int ExitCode() const { return mExitCode != 0 ? mExitCode : mWriteFailed ? 1 : 0; }
    const StartupTimings& Timings() const { return mTimings; }
    // The start-up figures as one JSON object (no line end).
    std::string StartupReport() const;
    // Milliseconds since the process started, by the real clock. The program's entry tells when that was;
    // otherwise the count starts with the application.
    double ProcessMs() const;
    void SetProcessStart(std::chrono::steady_clock::time_point start);

protected:
    // With "-level", "-ticks" counts the updates of the day, so a picture taken shows the day and not loading.
    int UpdatesTowardQuit() const override;
    // A demo carries the profiles file the run starts from; the digest covers the board, the run and the profiles.
    std::vector<std::string> DemoStartFiles() const override;
    std::vector<std::string> DemoRunOptions() const override { return {"-level", "-screen"}; }
    std::string StateDigestText() override;

public:
    // Builds and opens day `level` (0-based) of store `store` in a new run. False for an unknown store or level.
    bool StartLevel(int store, int level);
    Board* GetBoard() const { return mBoard.get(); }
    // Updates run since the current day began.
    int LevelTicks() const { return UpdateCount() - mLevelStartUpdate; }

    // Real time spent (seconds) since the day began: updates, drawing (presenting excluded) and presenting.
    struct Timing
    {
        double update = 0;
        double draw = 0;
        double present = 0;
    };
    const Timing& DayTiming() const { return mTiming; }

    GameOptions options;
    std::function<void()> onUpdate;     // after every fixed update (the diagnostics and the built-in player)
    std::function<void()> onLevelEnded; // after EndLevel of a shop day
    std::function<void()> onDayStarted; // once a day has been built and opened

protected:
    // One step of the loading task done; the title screen reads the count when it next updates. A task run in
    // slices yields here.
    void LoadingStep()
    {
        Loading().mLoadingTasksDone.fetch_add(1, std::memory_order_relaxed);
        GetPlatform().YieldSlicedTask();
    }
    // Loading thread: records a failed load for the main thread, which reports it once loading has ended.
    void FailLoading(const std::string& error);
    // The voices' own sound manager, made once at start-up; it shares the effects' mixer.
    virtual std::unique_ptr<SoundManager> MakeVoiceManager();

private:
    // Our options, added to the framework's table so "-help" lists them.
    void AddGameOptions();
    // "-level" and "-screen" go straight into a day.
    bool SkipsStartScreens() const { return options.levelGiven || !options.screen.empty(); }
    // Loads a large group one resource per step and binds it; false after a failure or when shutting down.
    bool LoadGroupInSteps(const char* group);
    // A failed start: the message on the main thread, then an orderly end with a non-zero code.
    void FailStart(const std::string& error);
    void CreateBoard();
    // A day's floor is built and about to run: its ticks and timings count from here.
    void NoteDayStarted();
    // Removes a start screen from the widget tree and hands it to the deferred deletion.
    template <class Screen> void RetireScreen(std::unique_ptr<Screen>& screen);

    std::unique_ptr<SoundManager> mVoiceManager;    // shares the effects' mixer
    std::unique_ptr<FrameworkParserHost> mDataHost; // made by the loading task; freed after the tables
    std::unique_ptr<Board> mBoard;
    std::unique_ptr<ShopItemFactory> mShopItems; // the upgrade shop's items on the board's floor
    std::list<Menu*> mOpenMenus;    // borrowed from the dialog table, in opening order
    std::list<Menu*> mClosingMenus; // handed over by CloseAllMenus until what follows is open
    std::unique_ptr<DayRecorder> mProfileRecorder; // the board's end-of-day records go to the profiles
    std::unique_ptr<LogoScreen> mLogoScreen;
    std::unique_ptr<DistributorScreen> mFirstSplash;
    std::unique_ptr<DistributorScreen> mSecondSplash;
    std::unique_ptr<TitleScreen> mTitleScreen;
    bool mGameLoaded = false;
    // Written by the loading thread before it announces its end; read by the main thread after acknowledging it.
    std::atomic<bool> mLoadingFailed{false};
    std::string mLoadingError;
    double mVoiceVolume = kDefaultVoiceVolume;
    int mExitCode = 0;
    bool mProfilesWrittenAtExit = false;
    int mLevelStartUpdate = 0;
    bool mDayStarted = false;
    Timing mTiming;
    double mPresenting = 0; // presenting time inside the current draw
    StartupTimings mTimings;
    std::chrono::steady_clock::time_point mProcessStart = std::chrono::steady_clock::now();
};

// Parses "S:L" (store from 1, level from 0); false when the text is not two non-negative integers.
bool ParseLevelOption(const std::string& text, int& store, int& level);

} // namespace Zestra
