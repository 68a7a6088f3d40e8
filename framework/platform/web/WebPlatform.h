// The browser platform over emscripten's HTML5 API: the screen image drawn into the page's canvas (scaled by the
// page with crisp pixels and letterboxed), mouse and keyboard from the canvas and the window, focus loss as
// deactivation, full screen through the browser, our mixer pulled by Web Audio once the player first clicks, and
// settings and profiles in a folder the page keeps in IndexedDB. There are no threads: the main loop yields to the
// browser while it sleeps (asyncify), and the loading task runs in slices as a fiber during that sleep.
// This is the only code of the program that includes emscripten headers.
#pragma once

#include "framework/platform/Platform.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Zestra
{

// Windows virtual-key code for a browser key event's keyCode (the same numbers for the keys we use), 0 for none.
int VirtualKeyFromBrowser(int keyCode);
// The Latin-1 byte a browser "key" value types (one character, UTF-8), or 0 for names such as "Enter".
uint8_t TypedLatin1(const char* key);

class WebPlatform : public Platform
{
public:
    // Where the page mounts its persistent folder (IndexedDB) and preloads the game's data.
    static constexpr const char* kPersistentFolder = "/persist/";
    static constexpr const char* kGameFolder = "/game/";

    WebPlatform();
    ~WebPlatform() override;
    WebPlatform(const WebPlatform&) = delete;
    WebPlatform& operator=(const WebPlatform&) = delete;

    uint64_t NowMs() override;
    void SleepMs(int ms) override;

    DisplayResult CreateMainWindow(const WindowSpec& request, std::string& errorText) override;
    void DestroyMainWindow() override;
    bool HasMainWindow() const override { return mHasWindow; }
    void ShowMainWindow() override {}
    void HideMainWindow() override {}
    void BringToFront() override {}
    bool IsWindowed() const override { return mWindowed; }
    Rect DesktopWorkArea() const override { return Rect(); }

    bool PollEvent(PlatformEvent& event) override;
    bool Present(const PixelView& screen, const std::vector<Rect>& dirty) override;
    // The browser composes the canvas at its own refresh; our present only hands the pixels over.
    bool PresentsAtRefresh() const override { return false; }
    std::string DisplayDescription() const override { return "canvas 2D"; }

    void SetCursorKind(int kind) override;
    void SetCursorImage(const PixelView& pixels, int hotX, int hotY) override;
    void CaptureMouse(bool) override {}

    std::string GetClipboardText() override { return mClipboard; }
    void SetClipboardText(const std::string& text) override { mClipboard = text; }

    int ShowMessageBox(const std::string& text, const std::string& caption, int flags) override;
    bool OpenUrl(const std::string& url) override;
    void InhibitScreenSaver(bool) override {}
    bool AcquireSingleInstance(const std::string&) override { return true; }

    bool OpenAudio(int rate, AudioFillFn fill) override;
    void CloseAudio() override;
    void LockAudio() override {}
    void UnlockAudio() override {}

    bool RunsTasksInSlices() const override { return true; }
    void StartSlicedTask(std::function<void()> task) override;
    void YieldSlicedTask() override;

    SettingsStore& Settings() override { return *mSettings; }
    std::string UserDataFolder() override;
    std::string ExecutableFolder() override { return kGameFolder; }

    // Called by the browser's event handlers (file-local callbacks) and the audio callback.
    void Push(const PlatformEvent& event) { mEvents.push_back(event); }
    void MapToScreen(double cssX, double cssY, int& x, int& y) const;
    int ClickCode(int button, bool down, double now, int x, int y);
    int16_t* FillAudio(int frames);

private:
    // Hands the processor to the browser (and to the loading task) when it has not had it for a while.
    void YieldToBrowserIfDue();
    void RunTaskFor(int ms);
    static void TaskEntry(void* self);

    std::unique_ptr<SettingsStore> mSettings;
    bool mHasWindow = false;
    bool mWindowed = true;
    int mWidth = 800;
    int mHeight = 600;
    std::vector<uint8_t> mRgba; // the canvas's pixels, which the page's ImageData views in place
    std::deque<PlatformEvent> mEvents;
    std::string mClipboard;
    double mLastYieldMs = 0;
    // Double clicks: the browser's click count is not in emscripten's event, so the pair is recognised here.
    int mLastDownButton = -1;
    double mLastDownMs = -1e9;
    int mLastDownX = 0;
    int mLastDownY = 0;
    bool mLastWasDouble = false;
    AudioFillFn mAudioFill;
    std::vector<int16_t> mAudioBuffer;

    struct Fibers;
    std::unique_ptr<Fibers> mFibers; // the loading task's fiber and the main loop's, while the task runs
    std::function<void()> mTask;
    bool mTaskRunning = false;
    bool mInTask = false; // the task's fiber is the one running
    double mSliceEndMs = 0;
};

} // namespace Zestra
