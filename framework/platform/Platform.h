// The narrow seam between the framework and the operating system. The application receives one Platform at
// construction and reaches the window, the clock, input, presentation, audio output and the settings store only
// through it. SDL lives behind zestra_sdl; zestra_headless runs everything without a display or sound device.
#pragma once

#include "framework/graphics/PixelView.h"
#include "framework/graphics/Rect.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Zestra
{

class SettingsStore;

// One input or window event, already in the framework's codes: Windows virtual-key numbers for keys, typed
// characters as Latin-1 bytes, click codes 1 left, 2 left double, -1 right, -2 right double, 3 middle.
struct PlatformEvent
{
    enum class Type
    {
        None,
        Close,          // the user asked to close the main window
        MouseMove,      // mX, mY in logical screen pixels (may lie outside the screen)
        MouseDown,      // mX, mY, mClickCode
        MouseUp,        // mX, mY, mClickCode (1, -1 or 3)
        MouseWheel,     // mWheel: signed notches (one notch = 1)
        MouseLeave,     // the pointer left the client area
        KeyDown,        // mKey; mSystemKey when Alt was held (Alt+Enter arrives as a system key down of 13)
        KeyUp,          // mKey
        Char,           // mChar
        Activate,       // mActive: the application became active or inactive
        Minimize,       // mMinimized: the window was minimised or restored
        Maximize,       // the window was maximised (switches to full screen)
        Move,           // mX, mY: new windowed position of the window
        DisplayChange,  // desktop mode or colours changed
        InstanceNotify, // a second start of the program asked this one to come to the front
        Timer,          // periodic tick of the window timer (mUpdatePeriodMs)
    };

    Type mType = Type::None;
    int mX = 0;
    int mY = 0;
    int mClickCode = 0;
    int mWheel = 0;
    int mKey = 0;
    uint8_t mChar = 0;
    bool mSystemKey = false;
    bool mShift = false;
    bool mCtrl = false;
    bool mAlt = false;
    bool mActive = false;
    bool mMinimized = false;
};

// How the screen image reaches the window: "3D" presents through the accelerated renderer (with vsync where the
// display offers it); without it only the changed rectangles are copied to the window. Automatic takes 3D only
// when the accelerated renderer is real hardware and not a software emulation of it.
enum class Display3D
{
    Off,
    On,
    Automatic,
};

// Whether presenting through the accelerated renderer is worth offering: impossible (no such renderer), possible
// but not recommended (the renderer draws on the processor), or recommended (real graphics hardware).
enum class Support3D
{
    Impossible,
    NotRecommended,
    Recommended,
};

// What the application asks of the main window.
struct WindowSpec
{
    std::string mTitle;
    int mWidth = 800; // logical screen size; the window scales it preserving the aspect ratio
    int mHeight = 600;
    bool mWindowed = true; // false: full screen on the desktop's own mode, letterboxed
    bool mAllowResize = true;
    int mX = -1; // -1: centred
    int mY = -1;
    int mTimerPeriodMs = 10; // period of Timer events while the window exists; 0: none
    Display3D mDisplay3D = Display3D::Off;
};

// Results of CreateMainWindow, in the numbering the application reports.
enum class DisplayResult
{
    Ok = 0,
    Fail = 1,
    CreateFail = 2,
    SurfaceFail = 3,
    ExclusiveFail = 4,
    DisplayChangeFail = 5,
    InvalidColorDepth = 6,
    Fail3D = 7,
};

// Message box flags and answers, as the application uses them.
enum MessageBoxFlags
{
    MB_OK_ONLY = 0,
    MB_YES_NO = 4,
    MB_ICON_ERROR = 16,
};
enum MessageBoxAnswer
{
    ANSWER_OK = 1,
    ANSWER_YES = 6,
    ANSWER_NO = 7,
};

// Pulls interleaved 16-bit stereo frames from the mixer; runs on the audio thread.
using AudioFillFn = std::function<void(int16_t* out, int frames)>;

class Platform : public PixelSink
{
public:
    virtual ~Platform() = default;

    // Clock and sleeping. Every time read of the program goes through NowMs, so a virtual clock drives it all.
    virtual uint64_t NowMs() = 0;
    virtual void SleepMs(int ms) = 0;
    // True when time moves only by SleepMs (a virtual clock), so anything that takes real time takes none on it.
    virtual bool HasVirtualClock() const { return false; }

    // Window. CreateMainWindow replaces an existing window; errorText explains a failure.
    virtual DisplayResult CreateMainWindow(const WindowSpec& request, std::string& errorText) = 0;
    virtual void DestroyMainWindow() = 0;
    virtual bool HasMainWindow() const = 0;
    virtual void ShowMainWindow() = 0;
    virtual void HideMainWindow() = 0;
    virtual void BringToFront() = 0;
    virtual bool IsWindowed() const = 0;
    virtual Rect DesktopWorkArea() const = 0;

    // Events, oldest first; false when none is pending.
    virtual bool PollEvent(PlatformEvent& event) = 0;

    // Presents the screen image; dirty lists the changed rectangles (empty: the whole image changed).
    bool Present(const PixelView& screen, const std::vector<Rect>& dirty) override = 0;
    // Whether the window presents through the accelerated renderer (the choice made by CreateMainWindow).
    virtual bool Is3D() const { return false; }
    // What the accelerated renderer would be on this machine (the options dialog's 3D choice asks before it is
    // applied). Platforms without a display to ask take a request as granted.
    virtual Support3D Query3DSupport() { return Support3D::Recommended; }
    // Whether presenting waits for the display's refresh, so frames can pace the updates. Platforms that know
    // their presentation never waits (a plain window surface) say false.
    virtual bool PresentsAtRefresh() const { return true; }
    // The display's refresh rate in Hz; 0 when there is no display to ask.
    virtual int RefreshRate() const { return 0; }
    // How frames are presented, for diagnostics (renderer and, where known, the graphics driver).
    virtual std::string DisplayDescription() const { return "none"; }

    // Cursors: kinds 0..12 (0 arrow, 1 hand, 2 dragging hand, 3 text beam, 11 hidden, 12 custom).
    virtual void SetCursorKind(int kind) = 0;
    // Shows a picture as the cursor (the custom cursors of the game); hot spot in image pixels. Replaces the kind's
    // cursor until the next SetCursorKind or SetCursorImage.
    virtual void SetCursorImage(const PixelView& pixels, int hotX, int hotY) = 0;
    // Captures the mouse while a button is held so releases outside the window still arrive.
    virtual void CaptureMouse(bool capture) = 0;

    virtual std::string GetClipboardText() = 0;
    virtual void SetClipboardText(const std::string& text) = 0;

    // A blocking message box; headless platforms answer at once (OK or yes) and print the text.
    virtual int ShowMessageBox(const std::string& text, const std::string& caption, int flags) = 0;

    // Hands a URL to the desktop's opener; false when it could not be started.
    virtual bool OpenUrl(const std::string& url) = 0;

    virtual void InhibitScreenSaver(bool inhibit) = 0;

    // Single instance per user: true when this is the first; otherwise the first instance is notified.
    virtual bool AcquireSingleInstance(const std::string& name) = 0;

    // Audio output: 44100 Hz, 16-bit stereo, fed by fill on the audio thread. false when there is no device.
    virtual bool OpenAudio(int rate, AudioFillFn fill) = 0;
    virtual void CloseAudio() = 0;
    virtual void LockAudio() = 0;
    virtual void UnlockAudio() = 0;

    // The loading task's line of work beside the main loop. With threads (the default) it gets a thread of its
    // own. A platform without threads runs it in slices on the main thread instead: StartSlicedTask takes it, the
    // platform's SleepMs spends the main loop's idle time on it, and the task calls YieldSlicedTask at its step
    // boundaries so that the main loop gets its turn back.
    virtual bool RunsTasksInSlices() const { return false; }
    virtual void StartSlicedTask(std::function<void()> task) { task(); }
    virtual void YieldSlicedTask() {}

    // Per-user settings store and folders.
    virtual SettingsStore& Settings() = 0;
    virtual std::string UserDataFolder() = 0; // per-user data folder, created on demand, ends in '/'
    virtual std::string ExecutableFolder() = 0;
    // The process is about to end without running destructors: remove what the platform made for this run alone.
    virtual void ReleaseBeforeQuickExit() {}
};

} // namespace Zestra
