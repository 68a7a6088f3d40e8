// The window side of the application object: platform events turned into widget-manager input (queued and
// handled one per message step), focus and automatic muting, screen mode, cursors, the settings store, the
// command line, debug keys and URL opening.
#include "framework/app/ZestraAppBase.h"

#include "framework/app/CrashReport.h"
#include "framework/app/ExitCodes.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/log/Log.h"
#include "framework/platform/Paths.h"
#include "framework/platform/Platform.h"
#include "framework/platform/SafeOutput.h"
#include "framework/platform/SettingsStore.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <unistd.h>
#include <system_error>

namespace Zestra
{

namespace
{

constexpr int KEY_RETURN = 13;
constexpr int KEY_F3 = 114;
constexpr int KEY_F8 = 119;
constexpr int KEY_F10 = 121;
constexpr int KEY_F11 = 122;
constexpr int KEY_D = 68;
constexpr int KEY_R = 82;

// Whole decimal number of int range; false for anything else.
bool ParseInt(const std::string& text, long long minValue, long long maxValue, int& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == nullptr || *end != '\0' || value < minValue || value > maxValue)
        return false;
    out = int(value);
    return true;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------
// Command line

void ZestraAppBase::AddFrameworkOptions()
{
    auto flag = [this](const char* name, const char* help, std::function<void()> action)
    { AddCommandLineOption({name, "", help, [action](const std::string&) { action(); }}); };
    auto valued = [this](const char* name, const char* value, const char* help,
                         std::function<void(const std::string&)> action)
    { AddCommandLineOption({name, value, help, std::move(action)}); };

    flag("-help", "print this list of options and exit (exit codes: 0 success, 1 the run failed: data, save, "
                  "write, or another copy running; 2 a bad command line)",
         [this]
         {
             std::fputs(mCommandLineOptions.HelpText(mConfig.mWindowTitle).c_str(), stdout);
             std::fflush(stdout);
             std::_Exit(0);
         });
    flag("-windowed", "run in a window (overrides the ScreenMode setting for this run)",
         [this]
         {
             mWindow.mWindowed = true;
             mWindow.mWindowedOverride = 1;
         });
    flag("-fullscreen", "run full screen (overrides the ScreenMode setting for this run)",
         [this]
         {
             mWindow.mWindowed = false;
             mWindow.mWindowedOverride = 0;
         });
    // The program's entry chooses the platform before the application exists.
    flag("-headless", "run without window or sound on a virtual clock (loading takes none of its time)",
         [this] { mLoading.mClockWaitsForLoading = true; });
    flag("-realtime", "with -headless: use the real clock", [] {});
    valued("-datafolder", "DIR",
           "with -headless: keep the player's data (profiles) in DIR instead of a private folder removed at exit; "
           "a relative DIR is taken from the folder the game was started in, and one that cannot be written is "
           "refused before play (exit code 2)",
           [this](const std::string&) { mConfig.mDataFolderGiven = true; });
    valued("-seed", "N", "seed both random generators with N for a reproducible run",
           [this](const std::string& value)
           {
               int seed = 0;
               if (!ParseInt(value, INT32_MIN, UINT32_MAX, seed))
                   ReportBadOptionValue("-seed", value);
               mConfig.mRandSeed = unsigned(seed);
               mConfig.mSeedGiven = true;
               mRandom.seed(mConfig.mRandSeed);
               std::srand(mConfig.mRandSeed);
           });
    valued("-ticks", "N", "quit after N updates",
           [this](const std::string& value)
           {
               int ticks = 0;
               if (!ParseInt(value, 1, INT32_MAX, ticks))
                   ReportBadOptionValue("-ticks", value);
               mConfig.mQuitAfterUpdates = ticks;
           });
    valued("-shot", "FILE", "with -ticks: write the screen image as PNG to FILE just before quitting",
           [this](const std::string& value)
           {
               if (value.empty())
                   ReportBadOptionValue("-shot", value);
               // Resolved now: start-up changes the working folder to the program's own.
               std::error_code error;
               std::filesystem::path absolute = std::filesystem::absolute(value, error);
               mConfig.mShotPath = error ? value : absolute.string();
               // A folder or a device is refused now rather than after the whole run.
               std::string target;
               std::string refusal;
               if (!ResolveOutputTarget(mConfig.mShotPath, target, refusal))
               {
                   ShowFatalMessage("Cannot write the screen image to " + refusal);
                   ExitWithCode(kExitFailure);
               }
           });
    valued("-changedir", "DIR", "use DIR as the working folder", [this](const std::string& value) { mConfig.mStartDir = value; });
    flag("-screensaver", "screen-saver mode", [this] { mWindow.mScreenSaverMode = true; });
    valued("-demofile", "FILE", "demo file name (relative names go to the data folder)",
           [this](const std::string& value)
           {
               // A relative demo file lives in the per-user data folder.
               mDemo.mDemoFile = (!value.empty() && value[0] != '/') ? mPlatform.UserDataFolder() + value : value;
           });
    // Resolved now: start-up changes the working folder to the program's own.
    auto demoPath = [](const std::string& value)
    {
        std::error_code error;
        std::filesystem::path absolute = std::filesystem::absolute(value, error);
        return error ? value : absolute.string();
    };
    valued("-record", "FILE",
           "record every input event to the demo FILE (bare -record: the -demofile name, else demo.dmo)",
           [this, demoPath](const std::string& value)
           {
               mDemo.mDemoRecordRequested = true;
               mDemo.mDemoRecordPath = value.empty() ? std::string() : demoPath(value);
           });
    valued("-play", "FILE", "replay the demo FILE into this run (bare -play: the -demofile name, else demo.dmo)",
           [this, demoPath](const std::string& value)
           {
               mDemo.mDemoPlayRequested = true;
               mDemo.mDemoPlayPath = value.empty() ? std::string() : demoPath(value);
           });
    flag("-digest", "print the state digest (\"digest\" and 16 hex digits) on standard output at exit",
         [this] { mDemo.mPrintDigest = true; });
    valued("-crash", "N",
           "crash on purpose after update N (bare -crash: at once), leaving a crash report in the user's state "
           "folder",
           [this](const std::string& value)
           {
               int update = 0;
               if (!value.empty() && !ParseInt(value, 1, INT32_MAX, update))
                   ReportBadOptionValue("-crash", value);
               mDemo.mCrashAtUpdate = update;
           });
}

void ZestraAppBase::AddCommandLineOption(CommandLineOption option)
{
    mCommandLineOptions.Add(std::move(option));
}

void ZestraAppBase::ReportBadOptionValue(const std::string& name, const std::string& value)
{
    ShowFatalMessage("Invalid value for " + name + ": \"" + value + "\"");
    ExitWithCode(kExitUsage);
}

void ZestraAppBase::ParseCommandLine()
{
    mConfig.mCommandLineParsed = true;
    // The arguments arrive already split by the shell, so each one is a whole token: only the name and value
    // are separated here, at the first equals sign.
    for (size_t i = 1; i < mConfig.mCommandLine.size(); i++)
    {
        const std::string& arg = mConfig.mCommandLine[i];
        if (arg.empty())
            continue;
        size_t eq = arg.find('=');
        if (eq == std::string::npos)
            HandleArgument(arg, std::string());
        else
            HandleArgument(arg.substr(0, eq), arg.substr(eq + 1));
    }
}

void ZestraAppBase::ParseArgumentString(const std::string& text)
{
    std::string name;
    std::string value;
    bool inValue = false;
    bool inQuote = false;
    bool started = false;
    auto emit = [&]()
    {
        if (started)
            HandleArgument(name, value);
        name.clear();
        value.clear();
        inValue = false;
        started = false;
    };
    for (char ch : text)
    {
        if (ch == '"')
        {
            inQuote = !inQuote;
            started = true;
        }
        else if ((ch == ' ' || ch == '\t') && !inQuote)
        {
            emit();
        }
        else if (ch == '=' && !inValue && !inQuote)
        {
            inValue = true;
            started = true;
        }
        else
        {
            (inValue ? value : name) += ch;
            started = true;
        }
    }
    emit();
}

void ZestraAppBase::HandleArgument(const std::string& name, const std::string& value)
{
    const CommandLineOption* option = mCommandLineOptions.Find(name);
    if (option == nullptr)
    {
        ShowFatalMessage(GetString("INVALID_COMMANDLINE_PARAM", "Invalid command line parameter: ") + name +
                         " (-help lists the options)");
        ExitWithCode(kExitUsage);
    }
    if (option->value.empty() && !value.empty())
        ReportBadOptionValue(name, value);
    option->handle(value);
}

// ---------------------------------------------------------------------------------------------------------------
// Settings store

namespace
{

// Selects the application's key in the store; false while there is none.
bool SelectKey(SettingsStore& store, const std::string& registryKey)
{
    if (registryKey.empty())
        return false;
    if (store.RegistryKey() != registryKey)
        store.SetRegistryKey(registryKey);
    return true;
}

} // namespace

bool ZestraAppBase::SettingWriteString(const std::string& name, const std::string& value)
{
    SettingsStore& store = mPlatform.Settings();
    return SelectKey(store, mConfig.mRegistryKey) && store.WriteString(name, value);
}

bool ZestraAppBase::SettingWriteInteger(const std::string& name, int value)
{
    SettingsStore& store = mPlatform.Settings();
    return SelectKey(store, mConfig.mRegistryKey) && store.WriteInteger(name, value);
}

bool ZestraAppBase::SettingWriteBoolean(const std::string& name, bool value)
{
    SettingsStore& store = mPlatform.Settings();
    return SelectKey(store, mConfig.mRegistryKey) && store.WriteBoolean(name, value);
}

bool ZestraAppBase::SettingWriteData(const std::string& name, const std::vector<uint8_t>& value)
{
    SettingsStore& store = mPlatform.Settings();
    return SelectKey(store, mConfig.mRegistryKey) && store.WriteData(name, value);
}

bool ZestraAppBase::SettingReadString(const std::string& name, std::string& value)
{
    SettingsStore& store = mPlatform.Settings();
    return SelectKey(store, mConfig.mRegistryKey) && store.ReadString(name, value);
}

bool ZestraAppBase::SettingReadInteger(const std::string& name, int& value)
{
    SettingsStore& store = mPlatform.Settings();
    int32_t read = 0;
    if (!SelectKey(store, mConfig.mRegistryKey) || !store.ReadInteger(name, read))
        return false;
    value = read;
    return true;
}

bool ZestraAppBase::SettingReadBoolean(const std::string& name, bool& value)
{
    SettingsStore& store = mPlatform.Settings();
    return SelectKey(store, mConfig.mRegistryKey) && store.ReadBoolean(name, value);
}

bool ZestraAppBase::SettingReadData(const std::string& name, std::vector<uint8_t>& value)
{
    SettingsStore& store = mPlatform.Settings();
    return SelectKey(store, mConfig.mRegistryKey) && store.ReadData(name, value);
}

bool ZestraAppBase::SettingErase(const std::string& name)
{
    SettingsStore& store = mPlatform.Settings();
    return SelectKey(store, mConfig.mRegistryKey) && store.Erase(name);
}

void ZestraAppBase::LoadSettings()
{
    mConfig.mRegistryKey = GetString("RegistryKey", mConfig.mRegistryKey);
    if (mConfig.mRegistryKey.empty())
        return;
    mConfig.mSettingsLoaded = true;
    // Values come from a file a user may edit: each is clamped to what the program can work with.
    int value = 0;
    if (SettingReadInteger("MusicVolume", value))
        mVolumes.mMusicVolume = std::clamp(value / 100.0, 0.0, 1.0);
    if (SettingReadInteger("SfxVolume", value))
        mVolumes.mEffectsVolume = std::clamp(value / 100.0, 0.0, 1.0);
    if (SettingReadInteger("Muted", value))
        mVolumes.mMuteLevel = value != 0 ? 1 : 0;
    if (SettingReadInteger("ScreenMode", value))
        mWindow.mWindowed = value == 0;
    if (SettingReadInteger("PreferredX", value))
        mWindow.mPreferredX = value;
    if (SettingReadInteger("PreferredY", value))
        mWindow.mPreferredY = value;
    if (SettingReadInteger("CustomCursors", value))
        SetCustomCursorsEnabled(value != 0);
    if (SettingReadInteger("WaitForVSync", value))
        mClock.mWaitForVSync = value != 0;
    if (SettingReadInteger("InProgress", value))
        mConfig.mLastRunClean = value == 0;
    if (!mWindow.mScreenSaverMode)
        SettingWriteInteger("InProgress", 1);
}

void ZestraAppBase::SaveSettings()
{
    if (mConfig.mRegistryKey.empty())
        return;
    SettingsStore& store = mPlatform.Settings();
    if (!SelectKey(store, mConfig.mRegistryKey))
        return;
    store.BeginBatch();
    // Rounded, not truncated: 0.85 * 100 is 84.999..., which would lose a percent on every run.
    SettingWriteInteger("MusicVolume", int(std::lround(mVolumes.mMusicVolume * 100)));
    SettingWriteInteger("SfxVolume", int(std::lround(mVolumes.mEffectsVolume * 100)));
    SettingWriteInteger("Muted", mVolumes.mMuteLevel - mVolumes.mAutoMuteLevel > 0 ? 1 : 0);
    SettingWriteInteger("ScreenMode", mWindow.mWindowed ? 0 : 1);
    SettingWriteInteger("PreferredX", mWindow.mPreferredX);
    SettingWriteInteger("PreferredY", mWindow.mPreferredY);
    SettingWriteInteger("CustomCursors", mWindow.mCustomCursorsEnabled ? 1 : 0);
    SettingWriteInteger("WaitForVSync", mClock.mWaitForVSync ? 1 : 0);
    SettingWriteInteger("InProgress", 0);
    if (!store.EndBatch())
        Zestra::LogFormat("Settings could not be saved: %s\n", store.ErrorText().c_str());
}

// ---------------------------------------------------------------------------------------------------------------
// Platform events

void ZestraAppBase::QueuePlatformEvent(const PlatformEvent& event)
{
    using Type = PlatformEvent::Type;
    // A replay takes its input from the demo alone; only closing the window still ends it.
    if (mDemo.mDemoScript != nullptr && event.mType != Type::Close)
        return;
    switch (event.mType)
    {
    case Type::None:
        return;
    case Type::InstanceNotify:
        OnInstanceNotify(0, 0);
        return;
    case Type::Activate:
        mWindow.mAppActive = event.mActive;
        break;
    case Type::KeyDown:
        mWindow.mCtrlDown = event.mCtrl;
        mWindow.mAltDown = event.mAlt;
        mWindow.mShiftDown = event.mShift;
        if (HandleDebugKeyImmediate(event.mKey, event.mCtrl, event.mAlt))
            return;
        break;
    default:
        break;
    }
    if (!mWindow.mDeferMessages)
    {
        HandleDeferredMessage(event);
        return;
    }
    if (!mWindow.mDeferredMessages.empty())
    {
        Type last = mWindow.mDeferredMessages.back().mType;
        if (event.mType == Type::Close && last == Type::Close)
            return;
        if (event.mType == Type::Timer && last == Type::Timer)
            return;
        if (event.mType == Type::DisplayChange)
        {
            for (const PlatformEvent& queued : mWindow.mDeferredMessages)
            {
                if (queued.mType == Type::DisplayChange)
                    return;
            }
        }
    }
    mWindow.mDeferredMessages.push_back(event);
    if (event.mType == Type::Close)
        OnCloseRequested();
}

void ZestraAppBase::HandleDeferredMessage(const PlatformEvent& event)
{
    using Type = PlatformEvent::Type;
    if (mDemo.mDemoRecorder != nullptr)
        mDemo.mDemoRecorder->WriteEvent(mClock.mUpdateCount, event);
    if (CrashReport::Armed() && IsDemoEvent(event))
        CrashReport::AppendDemoLine("ev " + std::to_string(mClock.mUpdateCount) + " " + FormatDemoEvent(event));
    if (onEventHandled)
        onEventHandled(event);
    WidgetManager& manager = *mWidgetManager;
    switch (event.mType)
    {
    case Type::Timer:
    {
        if (!mRunning)
            break;
        uint64_t now = mPlatform.NowMs();
        if (mClock.mLastTimerTick == 0 || now - mClock.mLastTimerTick > 500)
            mClock.mTimerActiveSince = now;
        mClock.mLastTimerTick = now;
        if (!mWindow.mPendingUrl.empty() && now - mClock.mTimerActiveSince >= 5000)
        {
            uint64_t waited = now - mWindow.mPendingUrlTime;
            if (waited >= 8000 && !mWindow.mAppActive)
                OnUrlOpened(mWindow.mPendingUrl);
            else if (waited >= 12000 && mWindow.mAppActive)
                OnUrlOpenFailed(mWindow.mPendingUrl);
        }
        break;
    }
    case Type::KeyDown:
    {
        mWindow.mCtrlDown = event.mCtrl;
        mWindow.mAltDown = event.mAlt;
        mWindow.mShiftDown = event.mShift;
        if (event.mSystemKey && event.mKey == KEY_RETURN)
        {
            if (!mWindow.mFullscreenOnly && !mWindow.mTriedWindowedFallback)
                SetScreenMode(!mWindow.mWindowed);
            manager.mKeysDown.fill(false);
            break;
        }
        if (event.mCtrl && event.mAlt && event.mKey == KEY_D)
        {
            mConfig.mDebugKeysEnabled = !mConfig.mDebugKeysEnabled;
            break;
        }
        if (mConfig.mDebugKeysEnabled && HandleDebugKey(event.mKey))
            break;
        manager.KeyPressed(event.mKey);
        break;
    }
    case Type::KeyUp:
        manager.KeyReleased(event.mKey);
        break;
    case Type::Char:
        manager.CharTyped(char(event.mChar));
        break;
    case Type::MouseMove:
    case Type::MouseDown:
    case Type::MouseUp:
    {
        Point p = manager.MapMouse(event.mX, event.mY);
        manager.PointerMoved(p.mX, p.mY);
        if (!mWindow.mMouseInWindow)
        {
            mWindow.mMouseInWindow = true;
            ApplyCursor();
        }
        if (event.mType == Type::MouseDown)
        {
            mPlatform.CaptureMouse(true);
            manager.ButtonDown(p.mX, p.mY, event.mClickCode);
        }
        else if (event.mType == Type::MouseUp)
        {
            manager.ButtonUp(p.mX, p.mY, event.mClickCode);
            if (manager.mRawHeldButtons == 0)
            {
                mPlatform.CaptureMouse(false);
                if (mWindow.mWindowAwaitsRelease)
                    RemakeMainWindow();
            }
        }
        break;
    }
    case Type::MouseWheel:
        manager.WheelMoved(event.mWheel);
        break;
    case Type::MouseLeave:
        if (mWindow.mMouseInWindow)
        {
            mWindow.mMouseInWindow = false;
            manager.PointerLeft();
            ApplyCursor();
        }
        break;
    case Type::Move:
        if (mWindow.mPhysWindowed && !mWindow.mWindowMinimized)
        {
            mWindow.mPreferredX = event.mX;
            mWindow.mPreferredY = event.mY;
        }
        break;
    case Type::Minimize:
        if (mWindow.mWindowMinimized != event.mMinimized)
        {
            mWindow.mWindowMinimized = event.mMinimized;
            if (mVolumes.mMuteOnFocusLoss)
            {
                if (mWindow.mWindowMinimized)
                {
                    Mute(true);
                }
                else
                {
                    Unmute(true);
                    manager.InvalidateAll();
                }
            }
        }
        ReevaluateFocus();
        break;
    case Type::Maximize:
        SetScreenMode(false);
        break;
    case Type::DisplayChange:
        manager.SystemColorsChangedTree();
        manager.InvalidateAll();
        break;
    case Type::Activate:
        ReevaluateFocus();
        if (mWindow.mAppActive && !mWindow.mPhysWindowed)
            manager.InvalidateAll();
        if (!mWindow.mAppActive && !mWindow.mPendingUrl.empty())
            OnUrlOpened(mWindow.mPendingUrl);
        break;
    case Type::Close:
        Quit();
        break;
    case Type::InstanceNotify:
        OnInstanceNotify(0, 0);
        break;
    case Type::None:
        break;
    }
}

void ZestraAppBase::ReevaluateFocus()
{
    bool focus = mWindow.mAppActive && !mWindow.mWindowMinimized;
    if (focus == mWindow.mHasFocus)
        return;
    mWindow.mHasFocus = focus;
    if (focus)
    {
        if (mVolumes.mMuteOnFocusLoss)
            Unmute(true);
        mWidgetManager->OnAppFocusGained();
        OnFocusGained();
    }
    else
    {
        if (mVolumes.mMuteOnFocusLoss)
            Mute(true);
        mWidgetManager->OnAppFocusLost();
        OnFocusLost();
        mPlatform.CaptureMouse(false);
        mWidgetManager->ReleaseMouseButtons();
        // The release may never come to us now; the new window is not kept waiting for it.
        if (mWindow.mWindowAwaitsRelease)
            RemakeMainWindow();
    }
}

void ZestraAppBase::OnFocusGained() {}
void ZestraAppBase::OnFocusLost() {}

void ZestraAppBase::OnCloseRequested() {}

bool ZestraAppBase::AllowsRestore() const
{
    return !mWindow.mWindowDisabled;
}

void ZestraAppBase::OnInstanceNotify(int wparam, int)
{
    if (wparam == 0)
        mPlatform.BringToFront();
}

void ZestraAppBase::OnSecondInstance()
{
    if (!mWindow.mSingleInstance)
        return;
    // The platform has already asked the first copy to come to the front. This run played nothing, so a script
    // must not read it as a run that went well.
    Zestra::Log(mConfig.mProductName + " is already running: the running copy was asked to come to the front");
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(kExitFailure);
}

// ---------------------------------------------------------------------------------------------------------------
// Screen mode and cursors

void ZestraAppBase::SetScreenMode(bool windowed, bool use3D, bool force)
{
    if (windowed && mWindow.mFullscreenOnly)
        windowed = false;
    if (!force && windowed == mWindow.mWindowed && use3D == mWindow.mIs3D && mPlatform.HasMainWindow() && windowed == mWindow.mPhysWindowed)
        return;
    bool changed3D = use3D != mWindow.mIs3D;
    mWindow.mWindowed = windowed;
    mWindow.mIs3D = use3D;
    if (changed3D)
        SettingWriteBoolean("Is3D", use3D);
    if (!mInitialized)
        return;
    if (mWidgetManager->mRawHeldButtons != 0)
    {
        mWindow.mWindowAwaitsRelease = true;
        return;
    }
    RemakeMainWindow();
}

void ZestraAppBase::RemakeMainWindow()
{
    mWindow.mWindowAwaitsRelease = false;
    CreateMainWindow();
    mPlatform.ShowMainWindow();
    ResetClock();
}

void ZestraAppBase::SetScreenMode(bool windowed)
{
    SetScreenMode(windowed, mWindow.mIs3D, false);
}

void ZestraAppBase::ReapplyScreenMode()
{
    SetScreenMode(mWindow.mWindowed, mWindow.mIs3D, true);
}

void ZestraAppBase::SetCursor(int kind)
{
    mWindow.mCursor = kind;
    ApplyCursor();
}

void ZestraAppBase::SetCursorImage(int kind, Image* image)
{
    if (kind < 0 || kind >= int(mWindow.mCursorImages.size()))
        return;
    mWindow.mCursorImages[size_t(kind)] = image;
    ApplyCursor();
}

void ZestraAppBase::SetCustomCursorsEnabled(bool on)
{
    mWindow.mCustomCursorsEnabled = on;
    ApplyCursor();
}

void ZestraAppBase::ApplyCursor()
{
    int kind = mWindow.mCursor;
    if (kind < 0 || kind > 12)
        kind = 0;
    // A picture replaces the kind's system cursor when custom cursors are on; kind 12 always uses its picture.
    MemoryImage* picture = dynamic_cast<MemoryImage*>(mWindow.mCursorImages[size_t(kind)]);
    if (picture != nullptr && (mWindow.mCustomCursorsEnabled || kind == 12) && picture->GetWidth() > 0)
    {
        PixelView view{picture->GetBits(), picture->GetWidth(), picture->GetHeight(), picture->GetWidth()};
        Point hot = CursorHotSpot(kind, picture->GetWidth(), picture->GetHeight());
        mPlatform.SetCursorImage(view, hot.mX, hot.mY);
        return;
    }
    mPlatform.SetCursorKind(kind);
}

Point ZestraAppBase::CursorHotSpot(int kind, int width, int height)
{
    // Where the pictures point: the tip of the arrow, the finger of the hands, the middle of the text beam.
    switch (kind)
    {
    case 1:
        return Point{std::min(11, width - 1), std::min(4, height - 1)};
    case 2:
        return Point{std::min(15, width - 1), std::min(10, height - 1)};
    case 3:
    case 12:
        return Point{width / 2, height / 2};
    default:
        return Point{1, 1};
    }
}

std::string ZestraAppBase::GetClipboardText()
{
    return mPlatform.GetClipboardText();
}

void ZestraAppBase::SetClipboardText(const std::string& text)
{
    mPlatform.SetClipboardText(text);
}

// ---------------------------------------------------------------------------------------------------------------
// Debug keys and URL opening

bool ZestraAppBase::SwallowsAltKey(int ch)
{
    return ch == '\r' || ch == 'r' || ch == 'R';
}

bool ZestraAppBase::HandleDebugKeyImmediate(int, bool, bool)
{
    return false;
}

bool ZestraAppBase::HandleDebugKey(int key)
{
    switch (key)
    {
    case KEY_F3:
        if (mWindow.mShiftDown)
        {
            mWindow.mShowOverlay = true;
            mWindow.mOverlayMode = (mWindow.mOverlayMode + 1) % 2;
        }
        else
        {
            mWindow.mShowOverlay = !mWindow.mShowOverlay;
        }
        mWidgetManager->InvalidateAll();
        return true;
    case KEY_F8:
    {
        char text[160];
        std::snprintf(text, sizeof(text), "Screen: %dx%d %s\nUpdates: %d\nDraws: %d\nFPS: %d", mWidth, mHeight,
                      mWindow.mPhysWindowed ? "windowed" : "full screen", mClock.mUpdateCount, mClock.mDrawCount, mClock.mFps);
        ShowMessageBox(text, "Video Stats", MB_OK_ONLY);
        return true;
    }
    case KEY_F10:
        if (mWindow.mCtrlDown)
        {
            mClock.mSpeed = mClock.mSpeed == 1.0 ? 0.25 : 1.0;
        }
        else if (mWindow.mShiftDown)
        {
            mClock.mStepMode = false;
            mClock.mStepFrozen = false;
        }
        else
        {
            mClock.mStepMode = true;
            mClock.mStepFrozen = false;
        }
        return true;
    case KEY_F11:
        if (!mWindow.mShiftDown)
            WriteNextScreenshot();
        return true;
    case KEY_R:
        return mWindow.mAltDown;
    default:
        return false;
    }
}

bool ZestraAppBase::OpenUrl(const std::string& url, bool quitAfterOpen)
{
    if (!mWindow.mPendingUrl.empty() && url == mWindow.mPendingUrl)
        return true;
    mWindow.mPendingUrl = url;
    mWindow.mPendingUrlQuit = quitAfterOpen;
    mWindow.mPendingUrlTime = mPlatform.NowMs();
    if (!mPlatform.OpenUrl(url))
    {
        OnUrlOpenFailed(url);
        return false;
    }
    return true;
}

void ZestraAppBase::OnUrlOpenFailed(const std::string&)
{
    mWindow.mPendingUrl.clear();
    mWindow.mPendingUrlQuit = false;
}

void ZestraAppBase::OnUrlOpened(const std::string&)
{
    bool quit = mWindow.mPendingUrlQuit;
    mWindow.mPendingUrl.clear();
    mWindow.mPendingUrlQuit = false;
    if (quit)
        Quit();
}

} // namespace Zestra

namespace Zestra
{

// ---------------------------------------------------------------------------------------------------------------
// Demos

void ZestraAppBase::StartDemo()
{
    if (!mDemo.mDemoRecordRequested && !mDemo.mDemoPlayRequested)
        return;
    if (mDemo.mDemoRecordRequested && mDemo.mDemoPlayRequested)
    {
        ShowFatalMessage("-record and -play cannot be used together: a replay is already exact");
        ExitWithCode(kExitUsage);
    }
    auto defaultPath = [this](const std::string& given)
    { return !given.empty() ? given : !mDemo.mDemoFile.empty() ? mDemo.mDemoFile : mConfig.mDataFolder + "demo.dmo"; };
    if (mDemo.mDemoPlayRequested)
    {
        mDemo.mDemoPlayPath = defaultPath(mDemo.mDemoPlayPath);
        auto script = std::make_unique<DemoScript>();
        std::string error;
        if (!ReadDemoFile(mDemo.mDemoPlayPath, mConfig.mVersionText, *script, error))
        {
            ShowFatalMessage(error);
            ExitWithCode(1);
        }
        mConfig.mRandSeed = script->seed;
        mConfig.mSeedGiven = true;
        ApplyDemoOptions(script->options);
        // The replay starts from the recording's data files in a folder of its own, so it neither depends on nor
        // changes the player's own files.
        std::error_code fsError;
        std::string base = std::filesystem::temp_directory_path(fsError).string();
        std::string pattern = (fsError || base.empty() ? std::string("/tmp") : base) + "/zestra-demo-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data()) == nullptr)
        {
            ShowFatalMessage("Cannot make a folder for the demo's data files: " + std::string(std::strerror(errno)));
            ExitWithCode(1);
        }
        mDemo.mDemoFolder = std::string(buffer.data()) + "/";
        for (const DemoStartFile& file : script->files)
        {
            if (!file.exists)
                continue;
            std::FILE* out = std::fopen((mDemo.mDemoFolder + file.name).c_str(), "wb");
            bool written = out != nullptr && std::fwrite(file.bytes.data(), 1, file.bytes.size(), out) ==
                                                 file.bytes.size();
            if (out != nullptr && std::fclose(out) != 0)
                written = false;
            if (!written)
            {
                RemoveDemoFolder();
                ShowFatalMessage("Cannot write the demo's " + file.name + " to " + mDemo.mDemoFolder);
                ExitWithCode(1);
            }
        }
        mConfig.mDataFolder = mDemo.mDemoFolder;
        mDemo.mDemoScript = std::move(script);
        mDemo.mDemoCursor = 0;
        mDemo.mPrintDigest = true;
        return;
    }
    mDemo.mDemoRecordPath = defaultPath(mDemo.mDemoRecordPath);
    std::vector<DemoStartFile> files;
    for (const std::string& name : DemoStartFiles())
    {
        DemoStartFile file;
        file.name = name;
        std::ifstream in(mConfig.mDataFolder + name, std::ios::binary);
        if (in)
        {
            file.exists = true;
            file.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        files.push_back(std::move(file));
    }
    auto recorder = std::make_unique<DemoRecorder>();
    std::string error;
    if (!recorder->Open(mDemo.mDemoRecordPath, error))
    {
        ShowFatalMessage(error);
        ExitWithCode(1);
    }
    recorder->WriteHeader(mConfig.mVersionText, mConfig.mRandSeed, GivenRunOptions(), files);
    mDemo.mDemoRecorder = std::move(recorder);
    mDemo.mPrintDigest = true;
}

namespace
{

// "-Name=value" split at its first "=", the name lower-cased as the parser matches names.
std::pair<std::string, std::string> SplitOption(const std::string& text)
{
    const size_t eq = text.find('=');
    std::string name = text.substr(0, eq);
    for (char& c : name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return {name, eq == std::string::npos ? std::string() : text.substr(eq + 1)};
}

} // namespace

std::vector<std::string> ZestraAppBase::GivenRunOptions() const
{
    std::vector<std::string> given;
    const std::vector<std::string> shaping = DemoRunOptions();
    for (size_t i = 1; i < mConfig.mCommandLine.size(); ++i)
    {
        const auto [name, value] = SplitOption(mConfig.mCommandLine[i]);
        if (std::find(shaping.begin(), shaping.end(), name) != shaping.end() &&
            value.find_first_of(" \t\r\n") == std::string::npos)
            given.push_back(value.empty() ? name : name + "=" + value);
    }
    return given;
}

void ZestraAppBase::ApplyDemoOptions(const std::vector<std::string>& recorded)
{
    for (const std::string& option : recorded)
    {
        const auto [name, value] = SplitOption(option);
        bool given = false;
        for (size_t i = 1; i < mConfig.mCommandLine.size(); ++i)
        {
            const auto [givenName, givenValue] = SplitOption(mConfig.mCommandLine[i]);
            if (givenName != name)
                continue;
            given = true;
            if (givenValue != value)
            {
                ShowFatalMessage("The demo " + mDemo.mDemoPlayPath + " was recorded with " + option +
                                 "; the command line's " + mConfig.mCommandLine[i] + " would replay another run");
                ExitWithCode(kExitUsage);
            }
        }
        // Only options this program knows: an option a later version dropped must not end the replay here.
        if (!given && mCommandLineOptions.Find(name) != nullptr)
            HandleArgument(name, value);
    }
}

bool ZestraAppBase::DeliverDemoEvents()
{
    const std::vector<DemoEvent>& events = mDemo.mDemoScript->events;
    while (mDemo.mDemoCursor < events.size() && events[mDemo.mDemoCursor].update <= mClock.mUpdateCount && !mQuitting)
    {
        // Taken before it is handled: a handler may run a nested loop that delivers the next ones.
        const PlatformEvent event = events[mDemo.mDemoCursor++].event;
        if (event.mType == PlatformEvent::Type::Activate)
            mWindow.mAppActive = event.mActive;
        HandleDeferredMessage(event);
    }
    if (mClock.mUpdateCount >= mDemo.mDemoScript->endUpdate && !mQuitting)
        Quit();
    return !mQuitting;
}

void ZestraAppBase::FinishRun()
{
    if (mDemo.mRunFinished)
        return;
    mDemo.mRunFinished = true;
    if (mDemo.mDemoRecorder != nullptr)
    {
        std::string error;
        if (mDemo.mDemoRecorder->Finish(mClock.mUpdateCount, error))
            Zestra::LogFormat("Demo recorded to %s (%d updates)\n", mDemo.mDemoRecordPath.c_str(), mClock.mUpdateCount);
        else
        {
            Zestra::Log(error);
            mWriteFailed = true;
        }
    }
    if (mDemo.mDemoScript != nullptr && mClock.mUpdateCount < mDemo.mDemoScript->endUpdate)
        Zestra::LogFormat("The replay of %s stopped after %d of its %d updates\n", mDemo.mDemoPlayPath.c_str(),
                     mClock.mUpdateCount, mDemo.mDemoScript->endUpdate);
    if (mDemo.mPrintDigest)
    {
        std::printf("digest %s\n", StateDigest().c_str());
        std::fflush(stdout);
    }
}

void ZestraAppBase::StartCrashReport()
{
    if (!mDemo.mCrashReportsEnabled || !CrashReport::Supported())
    {
        if (mDemo.mCrashAtUpdate == 0)
            CrashReport::CrashNow();
        return;
    }
    std::string folder = StateRoot() + "/";
    for (char c : mConfig.mRegistryKey.empty() ? std::string("Zestra") : mConfig.mRegistryKey)
        folder += (c == '\\') ? '/' : c;
    const std::string notice = CrashReport::TakeNotice(folder);
    if (!notice.empty())
        Zestra::Log(notice);

    CrashReport::Setup setup;
    setup.folder = folder;
    setup.version = mConfig.mVersionText;
    for (size_t i = 1; i < mConfig.mCommandLine.size(); ++i)
        setup.commandLine += (i > 1 ? " " : "") + mConfig.mCommandLine[i];
    if (mDemo.mDemoScript != nullptr)
    {
        // A replay that crashes reports the demo it was replaying, as far as it got.
        setup.demoHeader = DemoHeaderText(mDemo.mDemoScript->version, mDemo.mDemoScript->seed, mDemo.mDemoScript->options,
                                          mDemo.mDemoScript->files);
    }
    else
    {
        std::vector<DemoStartFile> files;
        for (const std::string& name : DemoStartFiles())
        {
            DemoStartFile file;
            file.name = name;
            std::ifstream in(mConfig.mDataFolder + name, std::ios::binary);
            if (in)
            {
                file.exists = true;
                file.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            }
            files.push_back(std::move(file));
        }
        setup.demoHeader = DemoHeaderText(mConfig.mVersionText, mConfig.mRandSeed, GivenRunOptions(), files);
    }
    CrashReport::Arm(setup);
    if (mDemo.mCrashAtUpdate == 0)
        CrashReport::CrashNow();
}

void ZestraAppBase::RemoveDemoFolder()
{
    if (mDemo.mDemoFolder.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(mDemo.mDemoFolder, ignored);
    mDemo.mDemoFolder.clear();
}

} // namespace Zestra
