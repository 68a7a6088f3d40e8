// The application object: start-up, the stepping machine and its timing, drawing and presenting, dialogs,
// deferred deletion, the shared-image cache, volumes and shutdown.
#include "framework/app/ZestraAppBase.h"

#include "framework/app/CrashReport.h"
#include "framework/app/ExitCodes.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/ScreenImage.h"
#include "framework/log/Log.h"
#include "framework/pak/PakInterface.h"
#include "framework/platform/Paths.h"
#include "framework/platform/Platform.h"
#include "framework/platform/SafeOutput.h"
#include "framework/platform/SettingsStore.h"
#include "framework/sound/AudioMixer.h"
#include "framework/sound/MusicInterface.h"
#include "framework/sound/SoundFactory.h"
#include "framework/sound/SoundInstance.h"
#include "framework/sound/SoundManager.h"
#include "framework/widgets/ControlSupport.h"
#include "framework/widgets/Dialog.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace Zestra
{

ZestraAppBase* gZestraApp = nullptr;

ZestraAppBase* AppOf(const Widget& widget)
{
    WidgetHost* host = HostOfWidget(widget);
    return host != nullptr && gZestraApp != nullptr && host == static_cast<WidgetHost*>(gZestraApp) ? gZestraApp
                                                                                                     : nullptr;
}

namespace
{

std::string Lower(const std::string& text)
{
    std::string out = text;
    for (char& ch : out)
    {
        if (ch >= 'A' && ch <= 'Z')
            ch = char(ch - 'A' + 'a');
    }
    return out;
}

// Text is Latin-1 throughout: wide characters up to 0xFF keep their byte, others become '?'.
std::string Narrow(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t ch : text)
        out += (ch >= 0 && ch <= 0xFF) ? char(static_cast<unsigned char>(ch)) : '?';
    return out;
}

double Clamp01(double value)
{
    if (!(value >= 0.0))
        return 0.0;
    return std::min(value, 1.0);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------
// Image registry and resource image host

void ZestraAppBase::Registry::AddMemoryImage(MemoryImage* image)
{
    mApp.AddMemoryImage(image);
}

void ZestraAppBase::Registry::RemoveMemoryImage(MemoryImage* image)
{
    mApp.RemoveMemoryImage(image);
}

ResImageRef ZestraAppBase::Registry::AcquireSharedImage(const std::string& path, const std::string& variant,
                                                        const Color& alphaCompose, bool& created)
{
    return mApp.AcquireSharedImage(path, variant, alphaCompose, &created);
}

std::unique_ptr<MemoryImage> ZestraAppBase::Registry::LoadImageFile(const std::string& path, bool lookForAlpha)
{
    return ImageLoader::GetImage(path, lookForAlpha, Color::White, this);
}

// ---------------------------------------------------------------------------------------------------------------
// Construction and destruction

ZestraAppBase::ZestraAppBase(Platform& platform) : mPlatform(platform)
{
    gZestraApp = this;
    mWidgetManager = std::make_unique<WidgetManager>(this);
    mConfig.mStartDir = mPlatform.ExecutableFolder();
    mClock.mStartTime = mPlatform.NowMs();
    mClock.mLastDrawTick = mClock.mStartTime;
    mClock.mNextDrawTick = mClock.mStartTime;
    mClock.mLastPresentTick = mClock.mStartTime;
    mConfig.mRandSeed = unsigned(mClock.mStartTime);
    mRandom.seed(mConfig.mRandSeed);
    mMainThreadId = std::this_thread::get_id();
    AddFrameworkOptions();
    SetString("DIALOG_BUTTON_OK", L"OK");
    SetString("DIALOG_BUTTON_CANCEL", L"CANCEL");
    SetString("UPDATE_CHECK_TITLE", L"Update Check");
    SetString("UPDATE_CHECK_BODY", L"Checking for updates...");
    SetString("UP_TO_DATE_TITLE", L"Up to Date");
    SetString("UP_TO_DATE_BODY", L"There are no updates available at this time.");
    SetString("NEW_VERSION_TITLE", L"New Version");
    SetString("NEW_VERSION_BODY", L"There is an update available. Would you like to download it now?");
}

ZestraAppBase::~ZestraAppBase()
{
    Quit();
    if (mLoading.mLoadingThread.joinable())
        mLoading.mLoadingThread.join();
    // Dialogs and deferred widgets go first, while the manager they are linked to still exists.
    std::list<Dialog*> dialogs = mDialogOrder;
    mDialogs.clear();
    mDialogOrder.clear();
    for (Dialog* dialog : dialogs)
    {
        if (dialog->mParent != nullptr)
            dialog->mParent->DetachChild(dialog);
        mAwaitingWidgets.erase(dialog);
        if (std::none_of(mDeferredDeletes.begin(), mDeferredDeletes.end(),
                         [dialog](const auto& entry) { return entry.second == dialog; }))
            delete dialog;
    }
    mAwaitingWidgets.clear();
    int savedDepth = mNestingDepth;
    mNestingDepth = INT_MIN;
    ProcessDeferredDeletes();
    mNestingDepth = savedDepth;
    mWidgetManager.reset();
    // Everything holding images or sounds goes before the registry, the mixer and the archive.
    mResourceManager.reset();
    {
        std::lock_guard<std::recursive_mutex> lock(mDisplayLock);
        mSharedImages.clear();
    }
    mScreenImage.reset();
    mMusicInterface.reset();
    mSoundManager.reset();
    mAudioMixer.reset();
    mPakInterface.reset();
    RemoveDemoFolder();
    if (gZestraApp == this)
        gZestraApp = nullptr;
}

// ---------------------------------------------------------------------------------------------------------------
// ButtonListener and DialogListener

void ZestraAppBase::ButtonPressed(int id, int clickCount)
{
    ButtonPressed(id);
}

void ZestraAppBase::ButtonPressed(int) {}
void ZestraAppBase::ButtonReleased(int) {}
void ZestraAppBase::ButtonHeld(int) {}
void ZestraAppBase::ButtonMouseEntered(int) {}
void ZestraAppBase::ButtonMouseLeft(int) {}
void ZestraAppBase::ButtonMouseMoved(int, int, int) {}

void ZestraAppBase::DialogButtonPressed(int dialogId, int buttonId)
{
    if (buttonId == Dialog::ACCEPT_BUTTON_ID)
        ButtonPressed(dialogId + 2000);
    else if (buttonId == Dialog::REJECT_BUTTON_ID)
        ButtonPressed(dialogId + 3000);
}

void ZestraAppBase::DialogButtonReleased(int dialogId, int buttonId)
{
    if (buttonId == Dialog::ACCEPT_BUTTON_ID)
        ButtonReleased(dialogId + 2000);
    else if (buttonId == Dialog::REJECT_BUTTON_ID)
        ButtonReleased(dialogId + 3000);
}

// ---------------------------------------------------------------------------------------------------------------
// Start-up

void ZestraAppBase::SetCommandLine(int argc, const char* const* argv)
{
    mConfig.mCommandLine.clear();
    for (int i = 0; i < argc; i++)
        mConfig.mCommandLine.emplace_back(argv[i] != nullptr ? argv[i] : "");
}

void ZestraAppBase::Initialize()
{
    mMainThreadId = std::this_thread::get_id();
    mMainThreadKnown = true;
    OnBeforeInit();
    LoadSettings();
    mConfig.mDataFolder = mPlatform.UserDataFolder();
    if (!mConfig.mCommandLineParsed)
        ParseCommandLine();
    // Refused before anything is played: a run that cannot save would lose its day at the end.
    std::string folderError;
    if (!CheckWritableFolder(mConfig.mDataFolder, folderError))
    {
        ShowFatalMessage("Cannot keep the player's data in " + mConfig.mDataFolder + ": " + folderError);
        ExitWithCode(mConfig.mDataFolderGiven ? kExitUsage : kExitFailure);
    }
    if (mWindow.mWindowedOverride >= 0)
        mWindow.mWindowed = mWindow.mWindowedOverride == 1;
    if (mWindow.mScreenSaverMode)
        mWindow.mSingleInstance = false;
    if (!OverrideChangeDir(mConfig.mStartDir) && !mConfig.mStartDir.empty())
    {
        std::error_code error;
        std::filesystem::current_path(mConfig.mStartDir, error);
        if (error)
        {
            // Every data file would then be looked for in the wrong place and reported missing one by one.
            ShowFatalMessage("Cannot use the game folder " + mConfig.mStartDir + " given by -changedir: " + error.message());
            ExitWithCode(kExitUsage);
        }
    }
    // The archive is optional: without it every file is read loose from the folders.
    mPakInterface = std::make_unique<PakInterface>();
    // A damaged archive is fatal rather than skipped: its files would be reported missing one by one, never the
    // archive that holds them.
    if (!mPakInterface->MountArchive("main.pak") && access("main.pak", F_OK) == 0)
    {
        ShowFatalMessage("The game archive is damaged: " + mPakInterface->ErrorText());
        ExitWithCode(kExitFailure);
    }
    for (const std::string& warning : mPakInterface->Warnings())
        Zestra::Log(warning);

    if (mWindow.mSingleInstance && !mPlatform.AcquireSingleInstance(mConfig.mProductName))
        OnSecondInstance();

    if (mDemo.mDemoPlayRequested)
        StartDemo();
    if (!mConfig.mSeedGiven)
        mConfig.mRandSeed = unsigned(mPlatform.NowMs());
    mRandom.seed(mConfig.mRandSeed);
    std::srand(mConfig.mRandSeed);
    if (mDemo.mDemoRecordRequested)
        StartDemo();
    StartCrashReport();

    OnBeforeLayout();
    mWidgetManager->SetScreenArea(Rect(0, 0, mWidth, mHeight), Rect(0, 0, mWidth, mHeight));

    Rect desktop = mPlatform.DesktopWorkArea();
    if (mWindow.mWindowed && !mWindow.mFullscreenWindow && !desktop.IsEmpty() &&
        (mWidth >= desktop.mWidth || mHeight >= desktop.mHeight))
    {
        mWindow.mWindowed = false;
        mWindow.mFullscreenOnly = true;
    }

    CreateMainWindow();

    mAudioMixer = mConfig.mSilent ? nullptr : OpenAudioMixer(&mPlatform);
    mSoundManager = CreateSoundManager(mAudioMixer.get(), &mPlatform, mConfig.mDataFolder);
    SetEffectsVolume(mVolumes.mEffectsVolume);
    mMusicInterface = CreateMusicPlayer();
    SetMusicVolume(mVolumes.mMusicVolume);
    mResourceManager = std::make_unique<ResourceManager>(&mImageRegistry, mSoundManager.get());

    if (mWindow.mScreenSaverMode)
        SetCursor(11);
    OnInitFinished();
    mInitialized = true;
}

void ZestraAppBase::LoadManifest()
{
    if (mResourceManager == nullptr)
        mResourceManager = std::make_unique<ResourceManager>(&mImageRegistry, mSoundManager.get());
    if (mResourceManager->ReadManifest("properties/resources.xml"))
        return;
    ShowFatalMessage(mResourceManager->ErrorText());
    // A start without its resources is a failure, whatever the old exit code said.
    ExitWithCode(1);
}

void ZestraAppBase::CreateMainWindow()
{
    // What went wrong, for the player, when the platform gives no words of its own.
    static constexpr const char* kResultTexts[] = {"",
                                                   "the display failed",
                                                   "the display could not be opened",
                                                   "no screen image could be made",
                                                   "full screen is not available",
                                                   "the screen mode could not be changed",
                                                   "the desktop's colour depth is not supported",
                                                   "hardware drawing is not available"};
    auto failureText = [this](DisplayResult result, const std::string& errorText)
    {
        int code = int(result);
        std::string detail = !errorText.empty() ? errorText
                             : code > 0 && code < 8 ? std::string(kResultTexts[code])
                                                    : "the display failed";
        if (detail.find("-headless") == std::string::npos)
            detail += "; run it in a graphical session, or with -headless to run without a window";
        return GetString("FAILED_INIT_DIRECTDRAW", "Cannot open the game window: ") + detail;
    };
    if (!mWindow.mDisplayCreated)
    {
        mWindow.mDisplayCreated = true;
        bool is3D = false;
        if (SettingReadBoolean("Is3D", is3D))
            mWindow.mIs3D = is3D;
        else
            mWindow.mChoose3DAutomatically = mWindow.mAuto3D;
    }
    // Each fallback changes the mode or the 3D choice; a handful of tries covers every chain of them.
    for (int attempt = 0; attempt < 8; attempt++)
    {
        if (mPlatform.HasMainWindow())
            mPlatform.DestroyMainWindow();
        WindowSpec request;
        request.mTitle = mConfig.mWindowTitle;
        request.mWidth = mWidth;
        request.mHeight = mHeight;
        request.mWindowed = mWindow.mWindowed && !mWindow.mFullscreenWindow;
        request.mAllowResize = true;
        request.mX = mWindow.mPreferredX;
        request.mY = mWindow.mPreferredY;
        request.mTimerPeriodMs = mClock.mUpdatePeriodMs;
        request.mDisplay3D = mWindow.mChoose3DAutomatically ? Display3D::Automatic : mWindow.mIs3D ? Display3D::On : Display3D::Off;
        std::string errorText;
        DisplayResult result = mPlatform.CreateMainWindow(request, errorText);
        if (result == DisplayResult::Ok)
        {
            // The automatic choice is made once per run, with the first window; later windows keep it.
            mWindow.mChoose3DAutomatically = false;
            mWindow.mIs3D = mPlatform.Is3D();
            if (mPlatform.RefreshRate() > 0)
                mClock.mRefreshRate = mPlatform.RefreshRate();
            mWindow.mPhysWindowed = mPlatform.IsWindowed();
            if (mScreenImage == nullptr || mScreenImage->GetWidth() != mWidth || mScreenImage->GetHeight() != mHeight)
            {
                mWidgetManager->mScreenImage = nullptr;
                mScreenImage = std::make_unique<ScreenImage>(mWidth, mHeight, &mImageRegistry);
            }
            mWindow.mAppActive = true;
            if (mWindow.mWindowMinimized)
            {
                mWindow.mWindowMinimized = false;
                if (mVolumes.mMuteOnFocusLoss)
                    Unmute(true);
            }
            ReevaluateFocus();
            RestoreImagesAfterDisplayChange();
            mWidgetManager->mScreenImage = mScreenImage.get();
            mWidgetManager->InvalidateAll();
            // The new window holds nothing yet: the next frame goes to it whole, not only where it changed.
            if (auto* screen = dynamic_cast<ScreenImage*>(mScreenImage.get()))
                screen->MarkAllDirty();
            mWindow.mDisplayLost = false;
            return;
        }
        if (request.mWindowed && result == DisplayResult::InvalidColorDepth)
        {
            if (mWindow.mTriedWindowedFallback)
            {
                ShowFatalMessage(GetString("PLEASE_SET_COLOR_DEPTH", "Please set your desktop color depth to 16 bit."));
                ExitWithCode(1);
            }
            mWindow.mFullscreenOnly = true;
            mWindow.mWindowed = false;
            continue;
        }
        if (!request.mWindowed && (result == DisplayResult::ExclusiveFail || result == DisplayResult::DisplayChangeFail) &&
            !mWindow.mTriedWindowedFallback)
        {
            mWindow.mTriedWindowedFallback = true;
            mWindow.mWindowed = true;
            continue;
        }
        if (result == DisplayResult::Fail3D || mWindow.mIs3D || mWindow.mChoose3DAutomatically)
        {
            mWindow.mIs3D = false;
            mWindow.mChoose3DAutomatically = false;
            continue;
        }
        ShowFatalMessage(failureText(result, errorText));
        ExitWithCode(1);
    }
    ShowFatalMessage(failureText(DisplayResult::Fail, ""));
    ExitWithCode(1);
}

std::unique_ptr<MusicInterface> ZestraAppBase::CreateMusicPlayer()
{
    return Zestra::CreateMusicPlayer(mConfig.mSilent ? nullptr : mAudioMixer.get());
}

void ZestraAppBase::OnInitFinished() {}
void ZestraAppBase::OnShutdownBegin() {}
void ZestraAppBase::OnMainLoopExit() {}
void ZestraAppBase::RunLoadingTask() {}
void ZestraAppBase::OnLoadingFinished() {}
void ZestraAppBase::OnBeforeLayout() {}
void ZestraAppBase::OnBeforeInit() {}
void ZestraAppBase::OnBeforeDisplayInit() {}
void ZestraAppBase::OnAfterDisplayInit() {}

bool ZestraAppBase::OverrideChangeDir(const std::string&)
{
    return false;
}

std::string ZestraAppBase::ReadProductVersion(const std::string&)
{
    // There is no version resource in an ELF file; the build's own version stands in.
    return mConfig.mVersionText;
}

// ---------------------------------------------------------------------------------------------------------------
// Run, loading thread and shutdown

void ZestraAppBase::StartLoadingThread()
{
    if (mLoading.mLoadingStarted)
        return;
    mLoading.mLoadingStarted = true;
    auto task = [this]()
    {
        RunLoadingTask();
        DebugOutput("Resource Loading Time: " + std::to_string(mPlatform.NowMs() - mClock.mStartTime) + "\r\n");
        mLoading.mLoadingFinished.store(true, std::memory_order_release);
    };
    // Sliced loading runs only while the main loop sleeps, so the loop has nothing to leave it by pausing.
    mLoading.mThrottleWhileLoading = !mPlatform.RunsTasksInSlices();
    if (mPlatform.RunsTasksInSlices())
        mPlatform.StartSlicedTask(std::move(task));
    else
        mLoading.mLoadingThread = std::thread(std::move(task));
}

void ZestraAppBase::Run()
{
    if (mQuitting)
        return;
    if (!mMainThreadKnown)
    {
        mMainThreadId = std::this_thread::get_id();
        mMainThreadKnown = true;
    }
    if (mLoading.mAutoStartLoadingThread)
        StartLoadingThread();
    mPlatform.ShowMainWindow();
    mPlatform.InhibitScreenSaver(true);
    ResetClock();
    mClock.mVSyncCheckStartMs = mPlatform.NowMs();
    uint64_t runStart = mPlatform.NowMs();
    mRunning = true;
    RunMainLoop();
    FinishRun();
    ProcessDeferredDeletes();
    mRunning = false;
    if (mLoading.mLoadingThread.joinable())
        mLoading.mLoadingThread.join();
    mPlatform.InhibitScreenSaver(false);

    uint64_t seconds = mPlatform.NowMs() - runStart;
    char line[128];
    std::snprintf(line, sizeof(line), "Seconds       = %g\r\n", double(seconds) / 1000.0);
    std::string stats = line;
    std::snprintf(line, sizeof(line), "Sleep Count   = %d\r\n", mClock.mSleepCount);
    stats += line;
    std::snprintf(line, sizeof(line), "Update Count  = %d\r\n", mClock.mUpdateCount);
    stats += line;
    std::snprintf(line, sizeof(line), "Draw Count    = %d\r\n", mClock.mDrawCount);
    stats += line;
    std::snprintf(line, sizeof(line), "Draw Time     = %lld\r\n", static_cast<long long>(mClock.mDrawTime));
    stats += line;
    std::snprintf(line, sizeof(line), "Screen Blt    = %lld\r\n", static_cast<long long>(mClock.mPresentTime));
    stats += line;
    int64_t drawAndPresent = mClock.mDrawTime + mClock.mPresentTime;
    if (drawAndPresent > 0)
    {
        std::snprintf(line, sizeof(line), "Avg FPS       = %lld\r\n",
                      static_cast<long long>(int64_t(mClock.mDrawCount) * 1000 / drawAndPresent));
        stats += line;
    }
    DebugOutput(stats);

    OnMainLoopExit();
    SaveSettings();
}

void ZestraAppBase::Quit()
{
    // Only the main thread shuts down; another thread leaves the request for the next frame.
    if (mMainThreadKnown && std::this_thread::get_id() != mMainThreadId)
    {
        mQuitRequested = true;
        return;
    }
    if (mQuitting)
        return;
    mBreakNestedLoops = true;
    mQuitting = true;
    OnShutdownBegin();
    if (mMusicInterface != nullptr)
        mMusicInterface->StopAllSongs();
    mPlatform.HideMainWindow();
    if (mConfig.mSettingsLoaded)
        SaveSettings();
}

void ZestraAppBase::ExitWithCode(int code)
{
    Quit();
    if (mRunning)
        FinishRun();
    RemoveDemoFolder();
    mPlatform.ReleaseBeforeQuickExit();
    std::fflush(stdout);
    std::fflush(stderr);
    // A loading thread may still be running: leave without running destructors under its feet.
    std::_Exit(code);
}

// ---------------------------------------------------------------------------------------------------------------
// The stepping machine

void ZestraAppBase::RunMainLoop()
{
    while (!mQuitting)
    {
        mBreakNestedLoops = false;
        StepUntilUpdate();
    }
}

bool ZestraAppBase::StepUntilUpdate()
{
    bool updated = false;
    while (!updated)
    {
        if (!StepApp(&updated))
            return false;
    }
    return true;
}

bool ZestraAppBase::StepApp(bool* updated)
{
    if (updated != nullptr)
        *updated = false;
    if (mBreakNestedLoops)
        return false;
    if (mClock.mStepState == StepState::Done)
        mClock.mStepState = StepState::Messages;
    mNestingDepth++;
    if (mClock.mStepState == StepState::Messages)
    {
        PlatformEvent event;
        while (!mQuitting && mPlatform.PollEvent(event))
            QueuePlatformEvent(event);
        if (!mWindow.mDeferredMessages.empty())
        {
            PlatformEvent next = mWindow.mDeferredMessages.front();
            mWindow.mDeferredMessages.pop_front();
            HandleDeferredMessage(next);
        }
        if (mWindow.mDeferredMessages.empty())
            mClock.mStepState = StepState::Update;
    }
    else if (mClock.mStepFrozen)
    {
        mPlatform.SleepMs(mClock.mUpdatePeriodMs);
        mClock.mStepState = StepState::Done;
    }
    else if (mClock.mStepMode)
    {
        // One update and one draw, then the loop freezes until the next single-step request.
        mClock.mStepFrozen = true;
        int oldCount = mClock.mUpdateCount;
        TryRunUpdate();
        RunFractionalUpdate(1.0);
        DrawIfDirty();
        ProcessDeferredDeletes();
        mClock.mStepState = StepState::Done;
        if (updated != nullptr)
            *updated = mClock.mUpdateCount != oldCount;
    }
    else
    {
        int oldCount = mClock.mUpdateCount;
        ProcessFrame(true);
        if (updated != nullptr)
            *updated = mClock.mUpdateCount != oldCount;
    }
    mNestingDepth--;
    return true;
}

void ZestraAppBase::AccumulateTime(uint64_t now)
{
    if (!mClock.mClockStarted)
    {
        mClock.mClockStarted = true;
        mClock.mLastTimeMs = now;
        return;
    }
    // A stall is not caught up beyond 200 ms: at most 20 updates are owed.
    uint64_t delta = now >= mClock.mLastTimeMs ? now - mClock.mLastTimeMs : 0;
    mClock.mElapsedMs = std::min(mClock.mElapsedMs + double(delta), 200.0);
    mClock.mLastTimeMs = now;
}

void ZestraAppBase::ResetClock()
{
    mClock.mClockStarted = true;
    mClock.mLastTimeMs = mPlatform.NowMs();
    mClock.mElapsedMs = 0;
}

bool ZestraAppBase::ProcessFrame(bool allowSleep)
{
    if (mQuitRequested.exchange(false))
        Quit();
    // On a virtual clock the loop would race through its updates while the loading thread reads, and what a run
    // shows would depend on how fast the machine loads. A "-headless" run lets loading take no time on that clock.
    if (mLoading.mClockWaitsForLoading && mPlatform.HasVirtualClock() && mLoading.mLoadingThread.joinable() &&
        !mLoading.mLoadingFinished.load(std::memory_order_acquire))
        mLoading.mLoadingThread.join();

    // Frames pace the updates only where presenting really waits for the display; otherwise the loop would run
    // the game too fast until the sanity check below noticed.
    const bool vsyncPacing = mClock.mRefreshPacing && !mClock.mLastDrawSkipped && !mClock.mRefreshPacingFailed &&
                             mPlatform.PresentsAtRefresh() && (!mWindow.mPhysWindowed || (mClock.mWaitForVSync && !mClock.mWaitOutRefresh));
    double interval = 0;
    double step = 1.0;
    if (mClock.mRefreshPacing && mClock.mRefreshRate > 0)
    {
        interval = (1000.0 / mClock.mRefreshRate) / mClock.mSpeed;
        step = double(float(1000.0 / (double(mClock.mUpdatePeriodMs) * mClock.mRefreshRate)));
    }
    else
    {
        interval = mClock.mUpdatePeriodMs / mClock.mSpeed;
    }

    if (mClock.mHalted || mClock.mSpeed <= 0)
    {
        ProcessDeferredDeletes();
        // Back to the message step, resting an update period: a halted loop must still hear the close button
        // and must not spin.
        mClock.mStepState = StepState::Done;
        if (!allowSleep)
            return false;
        mClock.mSleepCount++;
        mPlatform.SleepMs(mClock.mUpdatePeriodMs);
        return true;
    }

    const uint64_t now = mPlatform.NowMs();
    if (!vsyncPacing)
        AccumulateTime(now);

    bool didUpdate = false;
    if (mClock.mStepState == StepState::Update)
    {
        mClock.mUpdatesSinceDraw++;
        const bool loaded = mLoading.mLoadingAcknowledged || !mLoading.mLoadingStarted;
        if (!loaded || mClock.mUpdatesSinceDraw < int(std::ceil(mClock.mSpeed * 10)))
        {
            bool doUpdate = false;
            if (vsyncPacing)
                doUpdate = !mClock.mUpdatedSinceDraw || mClock.mElapsedMs >= int(interval * 0.75);
            else
                doUpdate = mClock.mElapsedMs >= interval;
            if (doUpdate)
            {
                if (mClock.mSpeed == 1.0)
                {
                    // A display that claims vsync but lets frames through faster than real time would run the
                    // game too fast; after three such seconds the clock paces the updates instead.
                    mClock.mVSyncCheckUpdates++;
                    if (mClock.mVSyncCheckUpdates >= (mClock.mUpdatePeriodMs + 999) / mClock.mUpdatePeriodMs)
                    {
                        uint64_t checkNow = mPlatform.NowMs();
                        if (checkNow - mClock.mVSyncCheckStartMs <= 800)
                        {
                            if (++mClock.mVSyncFastSeconds >= 3)
                                mClock.mRefreshPacingFailed = true;
                        }
                        else
                        {
                            mClock.mVSyncFastSeconds = 0;
                        }
                        mClock.mVSyncCheckStartMs = checkNow;
                        mClock.mVSyncCheckUpdates = 0;
                    }
                }
                if (TryRunUpdate())
                    mClock.mStepState = StepState::CatchUp;
                mClock.mUpdatedSinceDraw = true;
                didUpdate = true;
            }
        }
    }
    else if (mClock.mStepState == StepState::CatchUp)
    {
        mClock.mStepState = StepState::Done;
        mClock.mUpdateFraction += step - 1.0;
        ProcessDeferredDeletes();
        while (mClock.mUpdateFraction >= 1.0)
        {
            mClock.mUpdatesSinceDraw++;
            if (!TryRunUpdate())
                break;
            ProcessDeferredDeletes();
            mClock.mUpdateFraction -= 1.0;
        }
        RunFractionalUpdate(step);
        ProcessDeferredDeletes();
        if (vsyncPacing)
            mClock.mElapsedMs = std::max(mClock.mElapsedMs - interval - double(0.2f), 0.0);
        else
            mClock.mElapsedMs -= interval;
        didUpdate = true;
    }

    int64_t slept = 0;
    if (!didUpdate)
    {
        mClock.mStepState = StepState::Done;
        mClock.mUpdatesSinceDraw = 0;
        if (mClock.mUpdatedSinceDraw)
        {
            DrawIfDirty();
        }
        else
        {
            // Rounded up: with a fractional frame interval a truncated sleep of 0 ms would spin without the
            // clock ever reaching the next update.
            int sleepMs = int(std::ceil(interval - mClock.mElapsedMs));
            if (sleepMs >= 1)
            {
                if (!allowSleep)
                    return false;
                mClock.mSleepCount++;
                mPlatform.SleepMs(sleepMs);
                slept = sleepMs;
            }
        }
    }

    if (mLoading.mThrottleWhileLoading)
    {
        // Leave most of the processor to the loading thread: pause about twice as long as this frame worked.
        int64_t busy = int64_t(mPlatform.NowMs() - now) - slept;
        int64_t pause = std::min<int64_t>(2 * busy - slept, 250);
        if (pause >= 0)
        {
            if (!allowSleep)
                return false;
            mPlatform.SleepMs(int(pause));
        }
    }

    ProcessDeferredDeletes();
    return true;
}

void ZestraAppBase::RunUpdate()
{
    if (mDemo.mDemoScript != nullptr)
    {
        const int before = mClock.mUpdateCount;
        if (!DeliverDemoEvents())
            return;
        // An event that ran a loop of its own (a modal wait) already ran the updates that followed it.
        if (mClock.mUpdateCount != before)
            return;
    }
    mClock.mUpdateCount++;
    CrashReport::NoteUpdate(mClock.mUpdateCount);
    if (mWidgetManager->TickAll())
        mClock.mDirtyUpdates++;
    if (DemoActive())
        mWidgetManager->TickAllFraction(1.0);
    if (mClock.mUpdateCount == mDemo.mCrashAtUpdate)
    {
        // The digest goes into the report and on stderr first, so a replay can show it reached the same state.
        const std::string line = "deliberate crash after update " + std::to_string(mClock.mUpdateCount) + ", digest " +
                                 StateDigest();
        CrashReport::NoteText(line);
        Zestra::Log(line);
        CrashReport::CrashNow();
    }
    if (mMusicInterface != nullptr)
        mMusicInterface->Update();
    if (mCleanSharedImages)
    {
        mCleanSharedImages = false;
        std::lock_guard<std::recursive_mutex> lock(mDisplayLock);
        for (auto it = mSharedImages.begin(); it != mSharedImages.end();)
        {
            if (it->second.use_count() <= 1)
                it = mSharedImages.erase(it);
            else
                ++it;
        }
    }
    if (mConfig.mQuitAfterUpdates > 0 && UpdatesTowardQuit() >= mConfig.mQuitAfterUpdates && !mQuitting)
    {
        if (!mConfig.mShotPath.empty())
        {
            std::string error;
            if (!WriteScreenshot(mConfig.mShotPath, &error))
            {
                ShowFatalMessage("Cannot write the screen image: " + (error.empty() ? mConfig.mShotPath : error));
                ExitWithCode(1);
            }
        }
        Quit();
    }
}

bool ZestraAppBase::TryRunUpdate()
{
    bool loaded = mLoading.mLoadingFinished.load(std::memory_order_acquire);
    if (mDemo.mDemoScript != nullptr && !mLoading.mLoadingAcknowledged)
    {
        // A replay sees loading end at the update the recording saw it end, however fast this machine loads.
        if (mDemo.mDemoScript->loadedAt < 0 || mClock.mUpdateCount < mDemo.mDemoScript->loadedAt)
            loaded = false;
        else if (!loaded && mLoading.mLoadingThread.joinable())
        {
            mLoading.mLoadingThread.join();
            loaded = true;
        }
    }
    if (loaded && !mLoading.mLoadingAcknowledged)
    {
        mLoading.mLoadingAcknowledged = true;
        mLoading.mThrottleWhileLoading = false;
        if (mLoading.mLoadingThread.joinable())
            mLoading.mLoadingThread.join();
        if (mDemo.mDemoRecorder != nullptr)
            mDemo.mDemoRecorder->WriteLoaded(mClock.mUpdateCount);
        CrashReport::AppendDemoLine("loaded " + std::to_string(mClock.mUpdateCount));
        OnLoadingFinished();
    }
    if (mClock.mSuspended)
        return false;
    RunUpdate();
    return true;
}

void ZestraAppBase::RunFractionalUpdate(double step)
{
    if (DemoActive())
        return;
    if (mClock.mRefreshPacing && !mWindow.mWindowMinimized)
        mWidgetManager->TickAllFraction(step);
}

// ---------------------------------------------------------------------------------------------------------------
// Drawing and presenting

bool ZestraAppBase::DrawIfDirty()
{
    if (mWindow.mDisplayLost)
    {
        PresentScreen();
        return false;
    }
    if (mClock.mSuspended)
        return false;
    const uint64_t start = mPlatform.NowMs();
    UpdateOverlayFps(start);
    mWindow.mDrawing = true;
    // The screen compares the frame with the last one and repaints only where the picture can differ.
    auto* screen = dynamic_cast<ScreenImage*>(mScreenImage.get());
    if (screen != nullptr)
        screen->BeginFrame();
    bool drawn = mWidgetManager->DrawDirty();
    if (screen != nullptr)
        screen->EndFrame();
    mWindow.mDrawing = false;
    const uint64_t now = mPlatform.NowMs();
    if ((drawn || now - mClock.mLastPresentTick > 999) && now >= mClock.mNextDrawTick)
    {
        mClock.mDrawCount++;
        mClock.mFramesThisSecond++;
        mClock.mDrawTime += int64_t(now - start);
        if (mWindow.mShowOverlay && mScreenImage != nullptr)
        {
            Graphics g(mScreenImage.get());
            PaintOverlay(g);
        }
        if (mWindow.mPhysWindowed && mClock.mWaitForVSync && mClock.mWaitOutRefresh && mClock.mRefreshRate > 0)
        {
            uint64_t period = uint64_t(1000 / mClock.mRefreshRate);
            uint64_t since = mPlatform.NowMs() - mClock.mLastDrawTick;
            if (since < period)
                mPlatform.SleepMs(int(period - since));
        }
        mClock.mLastDrawTick = mPlatform.NowMs();
        const uint64_t presentStart = mClock.mLastDrawTick;
        PresentScreen();
        if (mScreenImage != nullptr && mScreenImage->HasBits())
            CrashReport::NoteFrame(mScreenImage->PeekBits(), mScreenImage->GetWidth(), mScreenImage->GetHeight());
        AccumulateTime(mPlatform.NowMs());
        mClock.mPresentTime = int64_t(mPlatform.NowMs() - presentStart);
        mClock.mLastPresentTick = now;
        const uint64_t end = mPlatform.NowMs();
        if (mLoading.mLoadingStarted && !mLoading.mLoadingFinished.load(std::memory_order_acquire))
        {
            // While loading, frames are spaced out so the loading thread gets the processor.
            uint64_t duration = end - start;
            uint64_t next = mClock.mNextDrawTick + std::max<uint64_t>(duration, 15) + 35;
            mClock.mNextDrawTick = next < end ? end : next;
        }
        else
        {
            mClock.mNextDrawTick = end;
        }
        mClock.mUpdatedSinceDraw = false;
        mClock.mLastDrawSkipped = false;
        return true;
    }
    mClock.mUpdatedSinceDraw = false;
    mClock.mLastDrawSkipped = true;
    return false;
}

void ZestraAppBase::PresentScreen()
{
    if (mWindow.mDrawing || mQuitting || mClock.mSuspended)
        return;
    ScreenImage* screen = dynamic_cast<ScreenImage*>(mScreenImage.get());
    if (screen == nullptr)
        return;
    if (mWindow.mDisplayLost)
    {
        // Recovery is tried at most once per second, and not while minimised.
        uint64_t now = mPlatform.NowMs();
        if (mWindow.mWindowMinimized || now - mWindow.mLastRecoveryTry < 1000)
            return;
        mWindow.mLastRecoveryTry = now;
        screen->MarkAllDirty();
        if (!screen->PresentTo(mPlatform))
            return;
        mWindow.mDisplayLost = false;
        RestoreImagesAfterDisplayChange();
        mWidgetManager->InvalidateAll();
        ResetClock();
        return;
    }
    if (!screen->PresentTo(mPlatform))
        mWindow.mDisplayLost = true;
}

MemoryImage* ZestraAppBase::GetScreenImage() const
{
    return mScreenImage.get();
}

void ZestraAppBase::RunUpdateAndFullDraw()
{
    RunUpdate();
    if (mScreenImage == nullptr)
        return;
    Graphics g(mScreenImage.get());
    mWidgetManager->RedrawInto(g);
}

bool ZestraAppBase::WriteScreenshot(const std::string& path, std::string* errorText)
{
    if (mScreenImage == nullptr)
        return false;
    // The picture must show the latest state even when the last frame skipped drawing.
    Graphics g(mScreenImage.get());
    mWidgetManager->RedrawInto(g);
    std::string bytes;
    std::string error;
    if (!EncodePNG(*mScreenImage, bytes))
        error = "the picture cannot be encoded";
    else if (WriteWholeFile(path, bytes, 0644, error))
        return true;
    if (errorText != nullptr)
        *errorText = error;
    return false;
}

bool ZestraAppBase::WriteNextScreenshot()
{
    namespace fs = std::filesystem;
    std::string folder = mPlatform.UserDataFolder() + "_screenshots/";
    std::error_code error;
    fs::create_directories(folder, error);
    int largest = 0;
    for (const auto& entry : fs::directory_iterator(folder, error))
    {
        std::string name = entry.path().filename().string();
        if (name.size() > 9 && name.compare(0, 5, "image") == 0 && name.compare(name.size() - 4, 4, ".png") == 0)
        {
            std::string digits = name.substr(5, name.size() - 9);
            if (!digits.empty() &&
                std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
                digits.size() < 9)
                largest = std::max(largest, std::atoi(digits.c_str()));
        }
    }
    std::string path = folder + "image" + std::to_string(largest + 1) + ".png";
    std::string bytes;
    std::string failure;
    bool ok = mScreenImage != nullptr && EncodePNG(*mScreenImage, bytes) && WriteWholeFile(path, bytes, 0644, failure);
    DebugOutput((ok ? "Screenshot written: " : "Screenshot failed: ") + path + (failure.empty() ? "" : " (" + failure + ")") + "\n");
    return ok;
}

void ZestraAppBase::UpdateOverlayFps(uint64_t now)
{
    if (now - mClock.mFpsSecondStart >= 1000)
    {
        mClock.mFps = mClock.mFramesThisSecond;
        mClock.mFramesThisSecond = 0;
        mClock.mFpsSecondStart = now;
        if (mWindow.mShowOverlay)
            mWidgetManager->InvalidateAll();
    }
}

namespace
{

// A 3x5 pixel font for the diagnostics overlay, which must work before any font has been loaded.
constexpr uint16_t kOverlayGlyphs[12] = {
    0x7B6F, // 0
    0x2C97, // 1
    0x73E7, // 2
    0x73CF, // 3
    0x5BC9, // 4
    0x79CF, // 5
    0x79EF, // 6
    0x7249, // 7
    0x7BEF, // 8
    0x7BCF, // 9
    0x0410, // ,
    0x0000, // blank
};

int OverlayGlyphIndex(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    return ch == ',' ? 10 : 11;
}

} // namespace

void ZestraAppBase::PaintOverlay(Graphics& g)
{
    std::string text = mWindow.mOverlayMode == 0 ? std::to_string(mClock.mFps)
                                         : std::to_string(mWidgetManager->mLastMouseX) + "," +
                                               std::to_string(mWidgetManager->mLastMouseY);
    constexpr int kScale = 2;
    int width = int(text.size()) * 4 * kScale + 4;
    int height = 5 * kScale + 4;
    int x0 = mWidth - 10 - width;
    int y0 = mHeight - 10 - height;
    g.SetInk(Color(0, 0, 0, 160));
    g.FillBox(x0, y0, width, height);
    g.SetInk(Color(255, 255, 0));
    for (size_t i = 0; i < text.size(); i++)
    {
        uint16_t bits = kOverlayGlyphs[OverlayGlyphIndex(text[i])];
        for (int row = 0; row < 5; row++)
        {
            for (int col = 0; col < 3; col++)
            {
                if (bits & (1 << (14 - (row * 3 + col))))
                    g.FillBox(x0 + 2 + int(i) * 4 * kScale + col * kScale, y0 + 2 + row * kScale, kScale, kScale);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Images

void ZestraAppBase::AddMemoryImage(MemoryImage* image)
{
    std::lock_guard<std::recursive_mutex> lock(mDisplayLock);
    mMemoryImages.insert(image);
}

void ZestraAppBase::RemoveMemoryImage(MemoryImage* image)
{
    std::lock_guard<std::recursive_mutex> lock(mDisplayLock);
    mMemoryImages.erase(image);
}

void ZestraAppBase::RestoreImagesAfterDisplayChange()
{
    std::lock_guard<std::recursive_mutex> lock(mDisplayLock);
    for (MemoryImage* image : mMemoryImages)
        image->Restore();
}

void ZestraAppBase::DropImageCaches()
{
    std::lock_guard<std::recursive_mutex> lock(mDisplayLock);
    for (MemoryImage* image : mMemoryImages)
        image->DropNativeCaches();
}

void ZestraAppBase::DropImageDisplayData()
{
    std::lock_guard<std::recursive_mutex> lock(mDisplayLock);
    for (MemoryImage* image : mMemoryImages)
        image->DropAllCaches();
}

std::unique_ptr<MemoryImage> ZestraAppBase::GetImage(const std::string& path, bool keepBits)
{
    (void)keepBits; // software images always keep their pixels
    return ImageLoader::GetImage(path, true, Color::White, &mImageRegistry);
}

SharedImageRef ZestraAppBase::AcquireSharedImage(const std::string& file, const std::string& variant, bool* created)
{
    return AcquireSharedImage(file, variant, Color::White, created);
}

SharedImageRef ZestraAppBase::AcquireSharedImage(const std::string& file, const std::string& variant,
                                                 const Color& alphaCompose, bool* created)
{
    std::lock_guard<std::recursive_mutex> lock(mDisplayLock);
    if (created != nullptr)
        *created = false;
    auto key = std::make_pair(Lower(file), Lower(variant));
    auto it = mSharedImages.find(key);
    if (it != mSharedImages.end())
        return it->second;
    SharedImageRef image;
    if (!file.empty() && file[0] == '!')
        image = std::make_shared<MemoryImage>(&mImageRegistry);
    else if (alphaCompose == Color::White)
        image = GetImage(file, false);
    else
        image = ImageLoader::GetImage(file, true, alphaCompose, &mImageRegistry);
    // A picture that cannot be read is not cached, so a later request may find it.
    if (image == nullptr)
        return nullptr;
    mSharedImages.emplace(key, image);
    if (created != nullptr)
        *created = true;
    return image;
}

// ---------------------------------------------------------------------------------------------------------------
// Dialogs and deferred deletion

Dialog* ZestraAppBase::CreateDialog(int id, bool isModal, const std::string& header, const std::string& lines,
                                    const std::string& footer, int buttonMode)
{
    return new Dialog(nullptr, nullptr, id, isModal, header, lines, footer, buttonMode);
}

Dialog* ZestraAppBase::ShowDialog(int id, bool isModal, const std::string& header, const std::string& lines,
                                  const std::string& footer, int buttonMode)
{
    RemoveDialog(id);
    Dialog* dialog = CreateDialog(id, isModal, header, lines, footer, buttonMode);
    AddDialog(id, dialog);
    return dialog;
}

Dialog* ZestraAppBase::FindDialog(int id) const
{
    auto it = mDialogs.find(id);
    return it == mDialogs.end() ? nullptr : it->second;
}

void ZestraAppBase::AddDialog(Dialog* dialog)
{
    if (dialog != nullptr)
        AddDialog(dialog->mDialogId, dialog);
}

void ZestraAppBase::AddDialog(int id, Dialog* dialog)
{
    if (dialog == nullptr)
        return;
    RemoveDialog(id);
    if (dialog->mWidth == 0)
    {
        int width = mWidth / 2;
        int height = dialog->PreferredHeight(width);
        dialog->SetBounds((mWidth - width) / 2, mHeight / 5, width, height);
    }
    if (dialog->mDialogObserver == nullptr)
        dialog->mDialogObserver = this;
    mDialogs[id] = dialog;
    mDialogOrder.push_back(dialog);
    mWidgetManager->AttachChild(dialog);
    if (dialog->IsModal())
    {
        mWidgetManager->PushModal(dialog);
        OnModalOpened();
    }
}

bool ZestraAppBase::RemoveDialog(Dialog* dialog)
{
    return dialog != nullptr && RemoveDialog(dialog->mDialogId);
}

bool ZestraAppBase::RemoveDialog(int id)
{
    return RemoveDialog(id, true, true);
}

bool ZestraAppBase::RemoveDialog(int id, bool detach, bool destroy)
{
    auto it = mDialogs.find(id);
    if (it == mDialogs.end())
        return false;
    Dialog* dialog = it->second;
    if (dialog->mResult == Dialog::NO_RESULT)
        dialog->mResult = 0;
    mDialogs.erase(it);
    mDialogOrder.remove(dialog);
    if ((detach || destroy) && dialog->mParent != nullptr)
        dialog->mParent->DetachChild(dialog);
    if (dialog->IsModal())
    {
        OnModalClosed();
        mWidgetManager->PopModal(dialog);
    }
    if (destroy)
        DeferDelete(dialog);
    return true;
}

int ZestraAppBase::DialogCount() const
{
    return int(mDialogs.size());
}

void ZestraAppBase::OnModalOpened() {}
void ZestraAppBase::OnModalClosed() {}

void ZestraAppBase::DeferDelete(Widget* widget)
{
    if (widget == nullptr)
        return;
    for (const auto& entry : mDeferredDeletes)
    {
        if (entry.second == widget)
            return;
    }
    auto awaiting = mAwaitingWidgets.find(widget);
    int depth = awaiting != mAwaitingWidgets.end() ? std::min(awaiting->second, mNestingDepth) : mNestingDepth;
    mDeferredDeletes.emplace_back(depth, widget);
}

void ZestraAppBase::NoteAwaitingWidget(Widget* widget, int depth)
{
    mAwaitingWidgets[widget] = depth;
}

void ZestraAppBase::ForgetAwaitingWidget(Widget* widget)
{
    mAwaitingWidgets.erase(widget);
    // Already deferred while awaited: it stays recorded at the waiting depth, which has now been reached.
}

void ZestraAppBase::ProcessDeferredDeletes()
{
    // Deleting a widget may defer others; restart the walk after each deletion.
    bool again = true;
    while (again)
    {
        again = false;
        for (auto it = mDeferredDeletes.begin(); it != mDeferredDeletes.end(); ++it)
        {
            if (it->first < mNestingDepth)
                continue;
            std::unique_ptr<Widget> widget(it->second);
            mDeferredDeletes.erase(it);
            mAwaitingWidgets.erase(widget.get());
            if (widget->mParent != nullptr)
                widget->mParent->DetachChild(widget.get());
            widget.reset();
            again = true;
            break;
        }
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Sound

void ZestraAppBase::PlaySound(int id, int pan)
{
    if (mSoundManager == nullptr)
        return;
    if (SoundInstance* instance = mSoundManager->MakeInstance(id))
    {
        instance->SetPan(pan);
        instance->Play(false, true);
    }
}

void ZestraAppBase::PlaySound(int id)
{
    if (mSoundManager == nullptr)
        return;
    if (SoundInstance* instance = mSoundManager->MakeInstance(id))
        instance->Play(false, true);
}

void ZestraAppBase::StopAllSounds()
{
    if (mSoundManager != nullptr)
        mSoundManager->StopAllSounds();
}

double ZestraAppBase::GetMusicVolume() const
{
    return mVolumes.mMusicVolume;
}

double ZestraAppBase::GetEffectsVolume() const
{
    return mVolumes.mEffectsVolume;
}

bool ZestraAppBase::IsMuted() const
{
    return mVolumes.mMuteLevel > 0;
}

void ZestraAppBase::SetMasterVolume(double volume)
{
    mVolumes.mEffectsVolume = Clamp01(volume);
    if (mSoundManager != nullptr)
        mSoundManager->SetSystemVolume(mVolumes.mEffectsVolume);
}

void ZestraAppBase::SetMusicVolume(double volume)
{
    mVolumes.mMusicVolume = Clamp01(volume);
    if (mMusicInterface != nullptr)
        mMusicInterface->SetVolume(IsMuted() ? 0.0 : mVolumes.mMusicVolume);
}

void ZestraAppBase::SetEffectsVolume(double volume)
{
    mVolumes.mEffectsVolume = Clamp01(volume);
    if (mSoundManager != nullptr)
        mSoundManager->SetVolume(IsMuted() ? 0.0 : mVolumes.mEffectsVolume);
}

void ZestraAppBase::Mute(bool automatic)
{
    mVolumes.mMuteLevel++;
    if (automatic)
        mVolumes.mAutoMuteLevel++;
    SetMusicVolume(mVolumes.mMusicVolume);
    SetEffectsVolume(mVolumes.mEffectsVolume);
}

void ZestraAppBase::Unmute(bool automatic)
{
    if (mVolumes.mMuteLevel > 0)
    {
        mVolumes.mMuteLevel--;
        if (automatic && mVolumes.mAutoMuteLevel > 0)
            mVolumes.mAutoMuteLevel--;
    }
    SetMusicVolume(mVolumes.mMusicVolume);
    SetEffectsVolume(mVolumes.mEffectsVolume);
}

double ZestraAppBase::GetLoadingProgress() const
{
    if (mLoading.mLoadingFinished.load(std::memory_order_acquire))
        return 1.0;
    if (!mLoading.mLoadingStarted)
        return 0.0;
    int count = mLoading.mLoadingTaskCount.load();
    if (count <= 0)
        return 0.0;
    return std::min(double(mLoading.mLoadingTasksDone.load()) / count, 1.0);
}

// ---------------------------------------------------------------------------------------------------------------
// String table, message boxes and diagnostics

std::string ZestraAppBase::GetString(const std::string& id, const std::string& defaultText) const
{
    auto it = mStringTable.find(id);
    return it == mStringTable.end() ? defaultText : Narrow(it->second);
}

std::wstring ZestraAppBase::GetWideString(const std::string& id, const std::wstring& defaultText) const
{
    auto it = mStringTable.find(id);
    return it == mStringTable.end() ? defaultText : it->second;
}

void ZestraAppBase::SetString(const std::string& id, const std::wstring& text)
{
    mStringTable[id] = text;
}

int ZestraAppBase::ShowMessageBox(const std::wstring& text, const std::wstring& caption, int flags)
{
    return ShowMessageBox(Narrow(text), Narrow(caption), flags);
}

int ZestraAppBase::ShowMessageBox(const std::string& text, const std::string& caption, int flags)
{
    if (mWindow.mScreenSaverMode)
    {
        AppendScreenSaverLog(text);
        return ANSWER_OK;
    }
    EnterSystemPopup();
    int answer = mPlatform.ShowMessageBox(text, caption, flags);
    LeaveSystemPopup();
    return answer;
}

void ZestraAppBase::ShowFatalMessage(const std::wstring& text)
{
    ShowFatalMessage(Narrow(text));
}

void ZestraAppBase::ShowFatalMessage(const std::string& text)
{
    // The platforms echo every message box to stderr; where no box is shown the text still has to reach it.
    if (mWindow.mScreenSaverMode)
    {
        Zestra::Log(text);
        AppendScreenSaverLog(text);
        return;
    }
    if (!mQuitting)
    {
        EnterSystemPopup();
        mPlatform.ShowMessageBox(text, GetString("FATAL_ERROR", "FATAL ERROR"), MB_OK_ONLY | MB_ICON_ERROR);
    }
    else
    {
        Zestra::Log(text);
    }
    LeaveSystemPopup();
}

void ZestraAppBase::AppendScreenSaverLog(const std::string& text)
{
    std::string path = mPlatform.UserDataFolder() + "ScrError.txt";
    std::FILE* file = std::fopen(path.c_str(), mConfig.mScreenSaverLogStarted ? "a" : "w");
    if (file == nullptr)
        return;
    mConfig.mScreenSaverLogStarted = true;
    std::time_t now = std::time(nullptr);
    char clock[32] = "";
    if (std::tm* local = std::localtime(&now))
        std::strftime(clock, sizeof(clock), "%H:%M:%S", local);
    std::fprintf(file, "%s %s %llu\n", text.c_str(), clock, static_cast<unsigned long long>(mPlatform.NowMs()));
    std::fclose(file);
}

void ZestraAppBase::DebugOutput(const std::string& text) const
{
    LogDetail(text);
}

void ZestraAppBase::EnterSystemPopup()
{
    if (!mWindow.mPhysWindowed)
        mWindow.mDeferMessages = false;
}

void ZestraAppBase::LeaveSystemPopup()
{
    mWindow.mDeferMessages = true;
    ResetClock();
    mWidgetManager->mKeysDown.fill(false);
    if (mWidgetManager->mRawHeldButtons != 0)
    {
        mPlatform.CaptureMouse(false);
        mWidgetManager->ReleaseMouseButtons();
        mWidgetManager->mRawHeldButtons = 0;
    }
}

} // namespace Zestra
