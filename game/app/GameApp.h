// The game's application: reads the settings, loads the resource groups and every data table on the loading
// thread, and keeps the one Board in the widget tree for the whole run. Until the menus exist it opens a shop day
// as soon as loading has finished: the one asked for with "-level", or the first day of the first store.
#pragma once

#include "framework/app/ZestraAppBase.h"

#include <functional>
#include <memory>
#include <string>

class FrameworkParserHost;

namespace Zestra
{

class Board;

// Options of our own, for diagnostics and balancing.
struct GameOptions
{
    bool levelGiven = false; // "-level=S:L"
    int store = 1;
    int level = 0;
    bool autoplay = false;       // "-autoplay": the built-in player plays the day
    bool noDraw = false;         // "-nodraw": skip drawing (with -headless), for simulation speed
    bool quitAfterLevel = false; // "-quit-after-level": one line of JSON on stdout, then exit 0
};

class GameApp : public ZestraAppBase
{
public:
    static constexpr int kBadLevelExitCode = 2;

    explicit GameApp(Platform& platform);
    ~GameApp() override;

    void Initialize() override;
    void RunLoadingTask() override;
    void OnLoadingFinished() override;
    void RunUpdate() override;
    bool DrawIfDirty() override;
    void PresentScreen() override;
    void OnFocusLost() override;
    void OnFocusGained() override;
    void LoadSettings() override;
    void SaveSettings() override;
    void Mute(bool automatic) override;
    void Unmute(bool automatic) override;

    // People's voices play through their own manager, so their level is set apart from the effects.
    void SetVoiceVolume(double volume);
    double GetVoiceVolume() const { return mVoiceVolume; }
    void PlayVoice(int id);

protected:
    // With "-level", "-ticks" counts the updates of the day, so a picture taken shows the day and not loading.
    int UpdatesTowardQuit() const override;

public:

    // Builds and opens day `level` (0-based) of store `store` in a new run. False for an unknown store or level.
    bool StartLevel(int store, int level);
    Board* GetBoard() const { return mBoard.get(); }
    // Updates run since the current day began.
    int LevelTicks() const { return mUpdateCount - mLevelStartUpdate; }
    int UpdateCount() const { return mUpdateCount; }

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

private:
    // Our options, added to the framework's table so "-help" lists them.
    void AddGameOptions();

    std::unique_ptr<SoundManager> mVoiceManager;     // shares the effects' mixer
    double mVoiceVolume = 0.85;
    std::unique_ptr<FrameworkParserHost> mDataHost; // made by the loading task; freed after the tables
    std::unique_ptr<Board> mBoard;
    int mLevelStartUpdate = 0;
    bool mDayStarted = false;
    Timing mTiming;
    double mPresenting = 0; // presenting time inside the current draw
};

// Parses "S:L" (store from 1, level from 0); false when the text is not two non-negative integers.
bool ParseLevelOption(const std::string& text, int& store, int& level);

} // namespace Zestra
