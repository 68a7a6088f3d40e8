// A platform without display or sound device, for tests and "-headless" runs. Its clock is virtual by default:
// SleepMs advances time at once, so the loop runs as fast as the processor allows and every run is repeatable.
// Tests push input events into a queue, and each presented frame is kept for inspection.
#pragma once

#include "framework/platform/Platform.h"

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Zestra
{

class HeadlessPlatform : public Platform
{
public:
    // realTime: use the steady clock and really sleep ("-realtime"). userDataFolder: "" makes a private temporary
    // folder that is removed again with the platform.
    explicit HeadlessPlatform(bool realTime = false, const std::string& userDataFolder = std::string());
    ~HeadlessPlatform() override;
    HeadlessPlatform(const HeadlessPlatform&) = delete;
    HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

    // For a headless program run: the first SIGINT or SIGTERM becomes a close event, so an interrupted run shuts
    // down as a closed window would (profiles written, private folder removed); a second one ends it at once.
    static void CloseOnInterrupt();

    // --- test controls -------------------------------------------------------------------------------------
    // Moves the virtual clock forward (ignored with the real clock).
    void AdvanceMs(uint64_t ms);
    bool IsRealTime() const { return mRealTime; }

    void PushEvent(const PlatformEvent& event);
    void PushMouseMove(int x, int y);
    // A press and a release at (x, y); code 1 left, 2 left double, -1 right, -2 right double, 3 middle.
    void PushClick(int x, int y, int clickCode = 1);
    void PushKey(int key, bool shift = false, bool ctrl = false, bool alt = false); // key down then key up
    void PushChar(uint8_t c);
    void PushClose();
    size_t PendingEvents() const;

    // Presented frames: how many, and a copy of the last one (0xAARRGGBB, tightly packed rows).
    uint64_t PresentCount() const { return mPresentCount; }
    const std::vector<uint32_t>& LastFrame() const { return mLastFrame; }
    int LastFrameWidth() const { return mLastFrameWidth; }
    int LastFrameHeight() const { return mLastFrameHeight; }
    const std::vector<Rect>& LastDirty() const { return mLastDirty; }
    uint32_t PixelAt(int x, int y) const; // 0 outside the last frame

    const WindowSpec& LastWindowSpec() const { return mWindowSpec; }
    bool IsWindowShown() const { return mWindowShown; }
    int CursorKind() const { return mCursorKind; }
    bool IsMouseCaptured() const { return mMouseCaptured; }
    bool IsScreenSaverInhibited() const { return mScreenSaverInhibited; }
    int BringToFrontCount() const { return mBringToFrontCount; }
    const std::vector<std::string>& MessageBoxTexts() const { return mMessageBoxTexts; }
    const std::vector<std::string>& OpenedUrls() const { return mOpenedUrls; }

    // The next message boxes answer with this (0: OK for plain boxes, yes for yes/no boxes).
    void SetMessageBoxAnswer(int answer) { mMessageBoxAnswer = answer; }
    // Makes CreateMainWindow fail with this result and text (Ok restores success).
    void SetCreateWindowResult(DisplayResult result, const std::string& text = std::string());
    // Makes OpenUrl fail (as when no opener is installed).
    void SetUrlOpenFails(bool fails) { mUrlOpenFails = fails; }
    // Pretends an audio device exists: OpenAudio succeeds and PullAudio runs the fill function on demand.
    void SetAudioAvailable(bool available) { mAudioAvailable = available; }
    // Runs the audio fill function for frames stereo frames (empty when audio is closed).
    std::vector<int16_t> PullAudio(int frames);
    bool IsAudioOpen() const { return static_cast<bool>(mAudioFill); }
    // Whether AcquireSingleInstance reports a first copy (headless runs never lock: parallel test runs are fine).
    void SetSingleInstanceResult(bool first) { mSingleInstanceFirst = first; }

    // --- Platform ------------------------------------------------------------------------------------------
    uint64_t NowMs() override;
    void SleepMs(int ms) override;
    bool HasVirtualClock() const override { return !mRealTime; }

    DisplayResult CreateMainWindow(const WindowSpec& request, std::string& errorText) override;
    void DestroyMainWindow() override;
    bool HasMainWindow() const override { return mHasWindow; }
    void ShowMainWindow() override { mWindowShown = mHasWindow; }
    void HideMainWindow() override { mWindowShown = false; }
    void BringToFront() override { ++mBringToFrontCount; }
    bool IsWindowed() const override { return mWindowSpec.mWindowed; }
    Rect DesktopWorkArea() const override { return Rect(0, 0, 1920, 1080); }

    bool PollEvent(PlatformEvent& event) override;
    bool Present(const PixelView& screen, const std::vector<Rect>& dirty) override;
    // No hardware here: the automatic choice stays off, an explicit request is taken as granted.
    bool Is3D() const override { return mHasWindow && mWindowSpec.mDisplay3D == Display3D::On; }
    std::string DisplayDescription() const override { return "headless"; }
    Support3D Query3DSupport() override { return mSupport3D; }
    void SetSupport3D(Support3D support) { mSupport3D = support; }

    void SetCursorKind(int kind) override
    {
        mCursorKind = kind;
        mCursorImageShown = false;
    }
    void SetCursorImage(const PixelView&, int hotX, int hotY) override
    {
        mCursorImageShown = true;
        mCursorHot = Point{hotX, hotY};
    }
    bool CursorImageShown() const { return mCursorImageShown; }
    Point CursorHotSpot() const { return mCursorHot; }
    void CaptureMouse(bool capture) override { mMouseCaptured = capture; }

    std::string GetClipboardText() override { return mClipboard; }
    void SetClipboardText(const std::string& text) override { mClipboard = text; }

    int ShowMessageBox(const std::string& text, const std::string& caption, int flags) override;
    bool OpenUrl(const std::string& url) override;
    void InhibitScreenSaver(bool inhibit) override { mScreenSaverInhibited = inhibit; }
    bool AcquireSingleInstance(const std::string& name) override { return mSingleInstanceFirst; }

    bool OpenAudio(int rate, AudioFillFn fill) override;
    void CloseAudio() override;
    void LockAudio() override { mAudioMutex.lock(); }
    void UnlockAudio() override { mAudioMutex.unlock(); }

    SettingsStore& Settings() override { return *mSettings; }
    std::string UserDataFolder() override;
    void ReleaseBeforeQuickExit() override;
    std::string ExecutableFolder() override;

private:
    bool mRealTime = false;
    std::atomic<uint64_t> mVirtualMs{0};
    uint64_t mRealStartNs = 0;

    mutable std::mutex mEventMutex;
    std::deque<PlatformEvent> mEvents;

    uint64_t mPresentCount = 0;
    std::vector<uint32_t> mLastFrame;
    int mLastFrameWidth = 0;
    int mLastFrameHeight = 0;
    std::vector<Rect> mLastDirty;

    WindowSpec mWindowSpec;
    bool mHasWindow = false;
    bool mWindowShown = false;
    DisplayResult mCreateResult = DisplayResult::Ok;
    std::string mCreateErrorText;
    int mCursorKind = 0;
    bool mCursorImageShown = false;
    Point mCursorHot;
    bool mMouseCaptured = false;
    bool mScreenSaverInhibited = false;
    int mBringToFrontCount = 0;
    std::string mClipboard;
    int mMessageBoxAnswer = 0;
    std::vector<std::string> mMessageBoxTexts;
    bool mUrlOpenFails = false;
    Support3D mSupport3D = Support3D::Recommended; // what Query3DSupport answers
    std::vector<std::string> mOpenedUrls;
    bool mSingleInstanceFirst = true;

    bool mAudioAvailable = false;
    std::mutex mAudioMutex;
    AudioFillFn mAudioFill;

    std::unique_ptr<SettingsStore> mSettings;
    std::string mUserDataFolder;
    bool mOwnsUserDataFolder = false;
};

} // namespace Zestra
