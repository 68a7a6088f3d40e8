// The application object: one per process, reachable through the pointer its constructor sets. It owns the
// widget manager, the resource manager, the sound manager and music player, the screen image, the open dialogs
// and the deferred deletions, and runs the fixed-rate loop: 10 ms updates paced by the platform clock (or by the
// display refresh), separate drawing of what is dirty, and sleeping whenever the loop is ahead of time.
// Every clock reading goes through Platform::NowMs, so a virtual clock drives the whole loop in tests.
#pragma once

#include "framework/app/AppConfig.h"
#include "framework/app/CommandLineOptions.h"
#include "framework/app/DemoSession.h"
#include "framework/app/LoadingState.h"
#include "framework/app/LoopClock.h"
#include "framework/app/WindowState.h"
#include "framework/graphics/ImageRegistry.h"
#include "framework/platform/Platform.h"
#include "framework/resources/ResourceManager.h"
#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/DialogListener.h"
#include "framework/widgets/WidgetHost.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace Zestra
{

class AudioMixer;
class Dialog;
class Graphics;
class Image;
class MemoryImage;
class MusicInterface;
class PakInterface;
class ResourceManager;
class SoundManager;
class Widget;
class WidgetManager;

// A counted reference to a cached shared image; the cache drops entries nobody else holds at its next cleanup.
using SharedImageRef = std::shared_ptr<MemoryImage>;

class ZestraAppBase : public ButtonListener, public DialogListener, public WidgetHost
{
public:
    explicit ZestraAppBase(Platform& platform);
    ~ZestraAppBase() override;
    ZestraAppBase(const ZestraAppBase&) = delete;
    ZestraAppBase& operator=(const ZestraAppBase&) = delete;

    // ButtonListener: the application itself does nothing with button events.
    void ButtonPressed(int id, int clickCount) override;
    void ButtonPressed(int id) override;
    void ButtonReleased(int id) override;
    void ButtonHeld(int id) override;
    void ButtonMouseEntered(int id) override;
    void ButtonMouseLeft(int id) override;
    void ButtonMouseMoved(int id, int x, int y) override;

    // The timing core; false when it would have slept and allowSleep is false.
    virtual bool ProcessFrame(bool allowSleep);
    virtual void RunUpdate();
    // Acknowledges the end of loading first; false while updating is suspended.
    virtual bool TryRunUpdate();
    virtual void RunFractionalUpdate(double step);
    virtual void CreateMainWindow();
    // Makes the window again for a changed screen mode, and starts the clock afresh.
    void RemakeMainWindow();
    virtual void ApplyCursor();
    virtual void RestoreImagesAfterDisplayChange();
    virtual void DropImageCaches();
    virtual void DropImageDisplayData();
    virtual void OnLoadingFinished();
    virtual std::unique_ptr<MusicInterface> CreateMusicPlayer();
    virtual void OnInitFinished();
    virtual void OnShutdownBegin();
    virtual void OnMainLoopExit();
    // Runs on the loading thread; maintains mLoadingTaskCount and mLoadingTasksDone.
    virtual void RunLoadingTask();
    virtual void SaveSettings();
    virtual void LoadSettings();
    virtual Dialog* CreateDialog(int id, bool isModal, const std::string& header, const std::string& lines,
                                 const std::string& footer, int buttonMode);
    virtual void OnBeforeLayout();
    virtual void EnterSystemPopup();
    virtual void LeaveSystemPopup();
    virtual int ShowMessageBox(const std::wstring& text, const std::wstring& caption, int flags);
    virtual int ShowMessageBox(const std::string& text, const std::string& caption, int flags);
    // Shows the message; callers follow it with ExitWithCode.
    virtual void ShowFatalMessage(const std::wstring& text);
    virtual void ShowFatalMessage(const std::string& text);
    virtual void AppendScreenSaverLog(const std::string& text);
    // Deletes the widget once the loop has unwound to the current nesting depth (not owned until then: the
    // caller hands its ownership over).
    virtual void DeferDelete(Widget* widget);
    virtual void OnUrlOpenFailed(const std::string& url);
    virtual void OnUrlOpened(const std::string& url);
    virtual bool OpenUrl(const std::string& url, bool quitAfterOpen);
    virtual std::string ReadProductVersion(const std::string& path);
    virtual void Quit();
    virtual void ParseCommandLine();
    virtual void ParseArgumentString(const std::string& text);
    virtual void HandleArgument(const std::string& name, const std::string& value);
    virtual void OnInstanceNotify(int wparam, int lparam);
    virtual void OnSecondInstance();
    virtual void Run();
    virtual void Initialize();
    virtual void OnBeforeDisplayInit();
    virtual void OnAfterDisplayInit();
    virtual bool OverrideChangeDir(const std::string& dir);
    virtual void PlaySound(int id, int pan);
    virtual void PlaySound(int id);
    virtual void StopAllSounds();
    virtual double GetMusicVolume() const;
    virtual double GetEffectsVolume() const;
    virtual bool IsMuted() const;
    virtual void SetMasterVolume(double volume);
    virtual void SetMusicVolume(double volume);
    virtual void SetEffectsVolume(double volume);
    // Automatic requests (focus loss, minimise) are counted in both levels.
    virtual void Mute(bool automatic);
    virtual void Unmute(bool automatic);
    virtual double GetLoadingProgress() const;
    virtual std::unique_ptr<MemoryImage> GetImage(const std::string& path, bool keepBits);
    // Both parts of the key compare without case; a file name starting with "!" gives a blank image.
    virtual SharedImageRef AcquireSharedImage(const std::string& file, const std::string& variant, bool* created);
    SharedImageRef AcquireSharedImage(const std::string& file, const std::string& variant, const Color& alphaCompose,
                                      bool* created);
    virtual void SetScreenMode(bool windowed, bool use3D, bool force);
    virtual void SetScreenMode(bool windowed);
    virtual void ReapplyScreenMode();
    virtual Dialog* ShowDialog(int id, bool isModal, const std::string& header, const std::string& lines,
                               const std::string& footer, int buttonMode);
    virtual Dialog* FindDialog(int id) const;
    // The application takes ownership of an added dialog: removing it with destroy hands it to DeferDelete.
    virtual void AddDialog(Dialog* dialog);
    virtual void AddDialog(int id, Dialog* dialog);
    virtual bool RemoveDialog(Dialog* dialog);
    bool RemoveDialog(int id) override;
    virtual bool RemoveDialog(int id, bool detach, bool destroy);
    virtual int DialogCount() const;
    virtual void OnModalOpened();
    virtual void OnModalClosed();
    virtual void OnFocusGained();
    virtual void OnFocusLost();
    virtual bool SwallowsAltKey(int ch);
    virtual bool HandleDebugKey(int key);
    virtual bool HandleDebugKeyImmediate(int key, bool ctrl, bool alt);
    virtual void OnCloseRequested();
    virtual bool DrawIfDirty();
    virtual void PresentScreen();
    virtual void OnBeforeInit();
    virtual void RunMainLoop();
    bool StepApp(bool* updated) override;
    virtual bool StepUntilUpdate();
    virtual bool AllowsRestore() const;

    // DialogListener: accept and reject buttons of dialog d become button ids d + 2000 and d + 3000.
    void DialogButtonPressed(int dialogId, int buttonId) override;
    void DialogButtonReleased(int dialogId, int buttonId) override;

    // Reads the resource manifest; a failure is fatal.
    void LoadManifest();
    // Registry of live memory images, guarded by the display lock.
    void AddMemoryImage(MemoryImage* image);
    void RemoveMemoryImage(MemoryImage* image);
    std::string GetString(const std::string& id, const std::string& defaultText) const;
    std::wstring GetWideString(const std::string& id, const std::wstring& defaultText) const;
    void SetString(const std::string& id, const std::wstring& text);
    // Ends the process with the code after the normal shutdown.
    [[noreturn]] void ExitWithCode(int code);

    // Cursors: kinds 0..12; larger kinds are ignored by SetCursorImage.
    void SetCursor(int kind) override;
    void SetCursorImage(int kind, Image* image);
    // The hot spot of a cursor picture of the kind, in its pixels; games with other pictures override it.
    virtual Point CursorHotSpot(int kind, int width, int height);
    void SetCustomCursorsEnabled(bool on);

    // The per-user settings store below "SOFTWARE\" + mRegistryKey; every operation fails while the key is
    // empty. A value name may carry a sub-key before its last backslash.
    bool SettingWriteString(const std::string& name, const std::string& value);
    bool SettingWriteInteger(const std::string& name, int value);
    bool SettingWriteBoolean(const std::string& name, bool value);
    bool SettingWriteData(const std::string& name, const std::vector<uint8_t>& value);
    bool SettingReadString(const std::string& name, std::string& value);
    bool SettingReadInteger(const std::string& name, int& value);
    bool SettingReadBoolean(const std::string& name, bool& value);
    bool SettingReadData(const std::string& name, std::vector<uint8_t>& value);
    bool SettingErase(const std::string& name);

    std::string GetClipboardText() override;
    void SetClipboardText(const std::string& text) override;
    bool AcceptsHighCharacters() const override { return mConfig.mAcceptHighCharacters; }

    // Platform events are queued here (as the deferred messages) and handled one per state-0 step.
    void QueuePlatformEvent(const PlatformEvent& event);
    void HandleDeferredMessage(const PlatformEvent& event);
    // Told of every input event as it is handled, at the point a demo records it.
    std::function<void(const PlatformEvent&)> onEventHandled;
    // Deletes every deferred widget recorded at or below the current nesting depth.
    void ProcessDeferredDeletes();
    // Forgets the time accumulated so far, so a blocked stretch is not caught up.
    void ResetClock();
    // The screen image the widget tree paints into; created by CreateMainWindow.
    MemoryImage* GetScreenImage() const;
    // Writes the screen image as PNG through SafeOutput; false with the reason in errorText (when given).
    bool WriteScreenshot(const std::string& path, std::string* errorText = nullptr);
    // Measurement hook: one fixed update and one full repaint of every shown widget, without presenting.
    void RunUpdateAndFullDraw();
    Platform& GetPlatform() { return mPlatform; }
    // The process arguments, program name first; ParseCommandLine reads them.
    void SetCommandLine(int argc, const char* const* argv);
    // A dialog waiting in a nested loop (AwaitResult) is still read by the waiting code after the nested loop
    // returns: while noted, its deferred deletion is recorded at the waiting depth instead of the current one.
    void NoteAwaitingWidget(Widget* widget, int depth) override;
    void ForgetAwaitingWidget(Widget* widget) override;
    // Asks the next update to drop the shared images nobody holds any more.
    void RequestSharedImageCleanup() { mCleanSharedImages = true; }
    // Widget deletions still waiting for the loop to unwind.
    size_t PendingDeferredDeletes() const { return mDeferredDeletes.size(); }
    // The random generator seeded with mRandSeed ("-seed" makes runs reproducible).
    std::mt19937& Random() { return mRandom; }
    bool Is3D() const override { return mWindow.mIs3D; }

    // The options HandleArgument accepts and "-help" lists: the framework's, then whatever the game adds (an
    // option of a name already there replaces it).
    void AddCommandLineOption(CommandLineOption option);
    const CommandLineOptions& GetCommandLineOptions() const { return mCommandLineOptions; }
    // Shows "Invalid value for NAME" and ends the run with code 1.
    [[noreturn]] void ReportBadOptionValue(const std::string& name, const std::string& value);

    // The parts of the application's state, each grouped by what it serves.
    LoopClock& Clock() { return mClock; }
    const LoopClock& Clock() const { return mClock; }
    WindowState& Window() { return mWindow; }
    const WindowState& Window() const { return mWindow; }
    AppConfig& Config() { return mConfig; }
    const AppConfig& Config() const { return mConfig; }
    SoundLevels& Volumes() { return mVolumes; }
    const SoundLevels& Volumes() const { return mVolumes; }
    LoadingState& Loading() { return mLoading; }
    const LoadingState& Loading() const { return mLoading; }
    DemoSession& Demo() { return mDemo; }
    const DemoSession& Demo() const { return mDemo; }
    int UpdateCount() const { return mClock.mUpdateCount; }
    // How deep the loop is nested (a dialog waiting for its answer runs a loop of its own).
    int NestingDepth() const override { return mNestingDepth; }

    // The updates that count toward "-ticks": all of them here; a game may count from the start of its play.
    virtual int UpdatesTowardQuit() const { return mClock.mUpdateCount; }
    // While a demo is recorded or replayed, the game's state must follow from the update count and the events
    // alone: each update is followed by a whole fractional step instead of the display-paced ones. A planned crash
    // runs the same way, so the demo in its report replays to it.
    bool DemoActive() const
    {
        return mDemo.mDemoRecorder != nullptr || mDemo.mDemoScript != nullptr || mDemo.mCrashAtUpdate > 0;
    }
    // The data files (names in the data folder) the game's state starts from; a demo carries them.
    virtual std::vector<std::string> DemoStartFiles() const { return {}; }
    // The options (lower-case names with their dash) that decide how a run starts; a demo records those given and
    // its replay applies them.
    virtual std::vector<std::string> DemoRunOptions() const { return {}; }
    // Those of the command line, as "-name" or "-name=value".
    std::vector<std::string> GivenRunOptions() const;
    // A replay takes the recorded options; one the command line gives another value is refused (exit code 2).
    void ApplyDemoOptions(const std::vector<std::string>& recorded);
    // The text the state digest hashes: what must be equal after a recording and its replay.
    virtual std::string StateDigestText() { return std::string(); }
    // The digest of StateDigestText, 16 hex digits.
    std::string StateDigest() { return DigestText(StateDigestText()); }

    Platform& mPlatform;
    // Declared in dependency order: the mixer outlives the players made over it, the registry every image.
    class Registry : public ImageRegistry, public ResourceImageHost
    {
    public:
        explicit Registry(ZestraAppBase& app) : mApp(app) {}
        void AddMemoryImage(MemoryImage* image) override;
        void RemoveMemoryImage(MemoryImage* image) override;
        ResImageRef AcquireSharedImage(const std::string& path, const std::string& variant, const Color& alphaCompose,
                                       bool& created) override;
        std::unique_ptr<MemoryImage> LoadImageFile(const std::string& path, bool lookForAlpha) override;
        bool Is3DMode() const override { return mApp.mWindow.mIs3D; }

    private:
        ZestraAppBase& mApp;
    };
    Registry mImageRegistry{*this};
    std::unique_ptr<PakInterface> mPakInterface;
    std::unique_ptr<AudioMixer> mAudioMixer;
    std::unique_ptr<WidgetManager> mWidgetManager;
    std::unique_ptr<SoundManager> mSoundManager;
    std::unique_ptr<MusicInterface> mMusicInterface;
    std::unique_ptr<ResourceManager> mResourceManager;

    // The screen size in pixels.
    int mWidth = 640;
    int mHeight = 480;
    bool mInitialized = false;
    bool mRunning = false;
    std::atomic<bool> mQuitting{false};
    bool mBreakNestedLoops = false;
    // A file the run had to write (a demo, the profiles) could not be written: the run ends with exit code 1.
    bool mWriteFailed = false;

protected:
    void AddFrameworkOptions();
    // Reads the demo to play (seed, start files) or opens the one to record; a bad demo is fatal.
    void StartDemo();
    // Hands the replay's events due at this update to the widgets; false once the demo has ended.
    bool DeliverDemoEvents();
    // Once, at the end of the run: the demo's end line, the replay's completeness and the digest.
    void FinishRun();
    void RemoveDemoFolder();
    // Says where a crashed run's report is, then arms the handler with this run's header and demo start.
    void StartCrashReport();
    void AccumulateTime(uint64_t now);
    void StartLoadingThread();
    void ReevaluateFocus();
    void UpdateOverlayFps(uint64_t now);
    void PaintOverlay(Graphics& g);
    bool WriteNextScreenshot();
    void DebugOutput(const std::string& text) const;

    int mNestingDepth = 0;

private:
    using StepState = LoopClock::StepState;

    LoopClock mClock;
    WindowState mWindow;
    AppConfig mConfig;
    SoundLevels mVolumes;
    LoadingState mLoading;
    DemoSession mDemo;

    // Dialogs and deferred deletion.
    std::map<int, Dialog*> mDialogs; // owned (see AddDialog)
    std::list<Dialog*> mDialogOrder;
    std::list<std::pair<int, Widget*>> mDeferredDeletes; // owned: (depth, widget)
    std::map<Widget*, int> mAwaitingWidgets;

    // Images.
    std::set<MemoryImage*> mMemoryImages;                                        // guarded by mDisplayLock
    std::map<std::pair<std::string, std::string>, SharedImageRef> mSharedImages; // keys lower-cased
    bool mCleanSharedImages = false;
    // The display lock; recursive because a shared image made under it registers itself under it.
    std::recursive_mutex mDisplayLock;
    std::unique_ptr<MemoryImage> mScreenImage;

    std::map<std::string, std::wstring> mStringTable;
    CommandLineOptions mCommandLineOptions;
    std::mt19937 mRandom;
    bool mMainThreadKnown = false;
    std::thread::id mMainThreadId;
    std::atomic<bool> mQuitRequested{false};
};

// The one application of the process; set by the constructor, cleared by the destructor.
extern ZestraAppBase* gZestraApp;

// The application whose widget tree holds the widget; null while it is not attached, or attached to a tree that
// another host runs.
ZestraAppBase* AppOf(const Widget& widget);

} // namespace Zestra
