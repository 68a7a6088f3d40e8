// The window side: the argument tokenizer and options, settings through the store, platform events (focus and
// automatic muting, Alt+Enter, close), screenshots and a whole headless run.
#include "framework/app/ZestraAppBase.h"

#include "AppTestSupport.h"
#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/SettingsStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <thread>

using namespace Zestra;
using namespace ZestraTest;

namespace
{

class ArgumentRecorder : public TestApp
{
public:
    using TestApp::TestApp;
    void HandleArgument(const std::string& name, const std::string& value) override
    {
        mArguments.push_back(name + "|" + value);
    }
    std::vector<std::string> mArguments;
};

PlatformEvent MakeEvent(PlatformEvent::Type type)
{
    PlatformEvent event;
    event.mType = type;
    return event;
}

} // namespace

TEST(ZestraAppWindowTest, ArgumentStringTokenizer)
{
    struct Case
    {
        const char* text;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"", {}},
        {"   ", {}},
        {"-windowed", {"-windowed|"}},
        {"-seed=42   -ticks=3", {"-seed|42", "-ticks|3"}},
        {"-changedir=\"C:\\My Games\\Velmora Row\"", {"-changedir|C:\\My Games\\Velmora Row"}},
        {"\"-name with blank\"=x", {"-name with blank|x"}},
        {"-a=b=c", {"-a|b=c"}},
        {"-shot=\"a b\"c -x", {"-shot|a bc", "-x|"}},
        {"-open=\"unterminated value", {"-open|unterminated value"}},
        {"-empty= -next", {"-empty|", "-next|"}},
        {"\t-tab\t-x=1\t", {"-tab|", "-x|1"}},
    };
    for (const Case& c : cases)
    {
        HeadlessPlatform platform;
        ArgumentRecorder app(platform);
        app.ParseArgumentString(c.text);
        EXPECT_EQ(c.expected, app.mArguments) << c.text;
    }
}

TEST(ZestraAppWindowTest, OwnOptionsAreReadAndBadOnesEndTheRun)
{
    HeadlessPlatform platform;
    TestApp app(platform);
    const char* argv[] = {"velmora", "-FullScreen", "-seed=7", "-ticks=12", "-shot=out.png", "-headless"};
    app.SetCommandLine(6, argv);
    app.ParseCommandLine();
    EXPECT_FALSE(app.Window().mWindowed);
    EXPECT_EQ(7u, app.Config().mRandSeed);
    EXPECT_EQ(12, app.Config().mQuitAfterUpdates);
    EXPECT_TRUE(std::filesystem::path(app.Config().mShotPath).is_absolute());

    EXPECT_EXIT(app.HandleArgument("-bogus", ""), ::testing::ExitedWithCode(2),
                "Invalid command line parameter: -bogus");
    EXPECT_EXIT(app.HandleArgument("-ticks", "soon"), ::testing::ExitedWithCode(2), "-ticks");
    EXPECT_EXIT(app.HandleArgument("-windowed", "yes"), ::testing::ExitedWithCode(2), "-windowed");
    EXPECT_EXIT(app.HandleArgument("-help", ""), ::testing::ExitedWithCode(0), "");
}

// The parser and "-help" read one table: an option added by the game is accepted and listed, one line each, and
// an option listed is one the parser accepts.
TEST(ZestraAppWindowTest, HelpListsEveryOptionTheParserAccepts)
{
    HeadlessPlatform platform;
    TestApp app(platform);
    int difficulty = 0;
    app.AddCommandLineOption({"-difficulty", "N", "how hard the game is",
                              [&](const std::string& value) { difficulty = std::stoi(value); }});
    app.HandleArgument("-Difficulty", "3");
    EXPECT_EQ(3, difficulty);

    const std::vector<CommandLineOption>& options = app.GetCommandLineOptions().All();
    std::string help = app.GetCommandLineOptions().HelpText("Test");
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = help.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(help.substr(start, end - start));
    ASSERT_EQ(options.size() + 1, lines.size()) << help;
    EXPECT_EQ("Options of Test:", lines[0]);
    for (size_t i = 0; i < options.size(); i++)
    {
        const CommandLineOption& option = options[i];
        std::string usage = option.value.empty() ? option.name : option.name + "=" + option.value;
        EXPECT_EQ(0u, lines[i + 1].find("  " + usage + " ")) << lines[i + 1];
        EXPECT_NE(std::string::npos, lines[i + 1].find(option.help)) << lines[i + 1];
        EXPECT_EQ(&option, app.GetCommandLineOptions().Find(option.name)) << option.name;
    }
    EXPECT_NE(std::string::npos, help.find("  -difficulty=N  "));
    // The help column lines up under the longest option.
    size_t column = lines[1].find(options[0].help);
    for (size_t i = 0; i < options.size(); i++)
        EXPECT_EQ(column, lines[i + 1].find(options[i].help)) << lines[i + 1];
}

TEST(ZestraAppWindowTest, SettingsAreClampedOnReadAndSurviveARoundTrip)
{
    HeadlessPlatform platform;
    {
        TestApp app(platform);
        app.Config().mRegistryKey = "Kestrin\\Velmora Row";
        // Without a key nothing is read or written.
        TestApp keyless(platform);
        EXPECT_FALSE(keyless.SettingWriteInteger("MusicVolume", 10));

        ASSERT_TRUE(app.SettingWriteInteger("MusicVolume", -500));
        app.SettingWriteInteger("SfxVolume", 900);
        app.SettingWriteInteger("Muted", 7);
        app.SettingWriteInteger("ScreenMode", 1);
        app.SettingWriteInteger("InProgress", 1);
        app.LoadSettings();
        EXPECT_DOUBLE_EQ(0.0, app.Volumes().mMusicVolume);
        EXPECT_DOUBLE_EQ(1.0, app.Volumes().mEffectsVolume);
        EXPECT_EQ(1, app.Volumes().mMuteLevel);
        EXPECT_FALSE(app.Window().mWindowed);
        EXPECT_FALSE(app.Config().mLastRunClean);
        EXPECT_EQ(-1, app.Window().mPreferredX); // missing values keep their defaults
        int inProgress = 0;
        EXPECT_TRUE(app.SettingReadInteger("InProgress", inProgress));
        EXPECT_EQ(1, inProgress);

        app.Volumes().mMusicVolume = 0.85;
        app.Volumes().mEffectsVolume = 0.29;
        app.Window().mWindowed = true;
        app.Window().mPreferredX = 40;
        app.Mute(true); // an automatic mute is not stored
        app.Volumes().mMuteLevel = 1;
        app.Volumes().mAutoMuteLevel = 1;
        app.SaveSettings();
    }
    TestApp reread(platform);
    reread.Config().mRegistryKey = "Kestrin\\Velmora Row";
    reread.LoadSettings();
    EXPECT_DOUBLE_EQ(0.85, reread.Volumes().mMusicVolume);
    EXPECT_DOUBLE_EQ(0.29, reread.Volumes().mEffectsVolume);
    EXPECT_EQ(0, reread.Volumes().mMuteLevel);
    EXPECT_TRUE(reread.Window().mWindowed);
    EXPECT_EQ(40, reread.Window().mPreferredX);
    EXPECT_TRUE(reread.Config().mLastRunClean);
}

TEST(ZestraAppWindowTest, FocusLossMutesAndReleasesInput)
{
    HeadlessPlatform platform;
    TestApp app(platform);
    app.Initialize();
    LoopProbe probe;
    probe.mAcceptsFocus = true;
    app.mWidgetManager->AttachChild(&probe);
    app.mWidgetManager->FocusWidget(&probe);

    struct Step
    {
        PlatformEvent::Type type;
        bool flag;
        int muteLevel;
        bool focused;
    };
    for (const Step& s :
         {Step{PlatformEvent::Type::Activate, false, 1, false}, Step{PlatformEvent::Type::Minimize, true, 2, false},
          Step{PlatformEvent::Type::Activate, true, 2, false}, Step{PlatformEvent::Type::Minimize, false, 0, true}})
    {
        PlatformEvent event = MakeEvent(s.type);
        event.mActive = s.flag;
        event.mMinimized = s.flag;
        app.QueuePlatformEvent(event);
        app.HandleDeferredMessage(app.Window().mDeferredMessages.front());
        app.Window().mDeferredMessages.pop_front();
        EXPECT_EQ(s.muteLevel, app.Volumes().mMuteLevel);
        EXPECT_EQ(s.muteLevel, app.Volumes().mAutoMuteLevel);
        EXPECT_EQ(s.focused, probe.mFocused);
    }
    app.mWidgetManager->DetachChild(&probe);
}

TEST(ZestraAppWindowTest, CursorPicturesReplaceSystemCursorsOnlyWhenEnabled)
{
    HeadlessPlatform platform;
    TestApp app(platform);
    app.Initialize();
    MemoryImage hand(32, 32);
    app.SetCursorImage(1, &hand);
    app.SetCursor(1);
    EXPECT_FALSE(platform.CursorImageShown()) << "custom cursors are off by default";
    EXPECT_EQ(1, platform.CursorKind());

    app.SetCustomCursorsEnabled(true);
    EXPECT_TRUE(platform.CursorImageShown());
    EXPECT_EQ((Point{11, 4}), platform.CursorHotSpot());

    app.SetCursor(11); // no picture for the hidden cursor: the kind itself is shown
    EXPECT_FALSE(platform.CursorImageShown());
    EXPECT_EQ(11, platform.CursorKind());
    app.SetCursorImage(1, nullptr);
}

TEST(ZestraAppWindowTest, WindowEventsToggleModeAndCloseQuitsOnce)
{
    HeadlessPlatform platform;
    TestApp app(platform);
    app.Initialize();
    ASSERT_TRUE(app.Window().mWindowed);

    PlatformEvent altEnter = MakeEvent(PlatformEvent::Type::KeyDown);
    altEnter.mKey = 13;
    altEnter.mSystemKey = true;
    altEnter.mAlt = true;
    app.HandleDeferredMessage(altEnter);
    EXPECT_FALSE(app.Window().mWindowed);
    EXPECT_FALSE(platform.LastWindowSpec().mWindowed);
    EXPECT_FALSE(app.mWidgetManager->IsKeyDown(13));
    app.HandleDeferredMessage(altEnter);
    EXPECT_TRUE(app.Window().mWindowed);

    // A second close while one is queued is dropped; handling it quits.
    app.QueuePlatformEvent(MakeEvent(PlatformEvent::Type::Close));
    app.QueuePlatformEvent(MakeEvent(PlatformEvent::Type::Close));
    app.QueuePlatformEvent(MakeEvent(PlatformEvent::Type::Timer));
    app.QueuePlatformEvent(MakeEvent(PlatformEvent::Type::Timer));
    EXPECT_EQ(2u, app.Window().mDeferredMessages.size());
    app.StepApp(nullptr);
    EXPECT_TRUE(app.mQuitting);
    EXPECT_FALSE(app.StepApp(nullptr));
}

TEST(ZestraAppWindowTest, AModeSwitchDuringAPressWaitsForTheRelease)
{
    // A press that switches the mode (a dialog's button) must not lose its release with the old window: the
    // display would then drop the next press as a repeat of the one it still thinks is down.
    for (bool releasedByFocusLoss : {false, true})
    {
        HeadlessPlatform platform;
        TestApp app(platform);
        app.Initialize();
        ASSERT_TRUE(platform.LastWindowSpec().mWindowed);
        PlatformEvent press = MakeEvent(PlatformEvent::Type::MouseDown);
        press.mX = 10;
        press.mY = 10;
        press.mClickCode = 1;
        app.HandleDeferredMessage(press);

        app.SetScreenMode(false);
        EXPECT_FALSE(app.Window().mWindowed) << "the choice is taken at once";
        EXPECT_TRUE(platform.LastWindowSpec().mWindowed) << "the window stays while the button is down";

        PlatformEvent end = MakeEvent(releasedByFocusLoss ? PlatformEvent::Type::Activate : PlatformEvent::Type::MouseUp);
        end.mX = 10;
        end.mY = 10;
        end.mClickCode = 1;
        end.mActive = false;
        if (releasedByFocusLoss)
            app.Window().mAppActive = false; // as the display's notice does before it is handled
        app.HandleDeferredMessage(end);
        EXPECT_FALSE(platform.LastWindowSpec().mWindowed) << releasedByFocusLoss;
    }
}

TEST(ZestraAppWindowTest, ScreenshotsAreNumberedInTheDataFolder)
{
    HeadlessPlatform platform;
    TestApp app(platform);
    app.Initialize();
    app.Config().mDebugKeysEnabled = true;
    std::string folder = platform.UserDataFolder() + "_screenshots/";
    std::filesystem::create_directories(folder);
    std::FILE* existing = std::fopen((folder + "image7.png").c_str(), "w");
    ASSERT_NE(nullptr, existing);
    std::fclose(existing);
    EXPECT_TRUE(app.HandleDebugKey(122));
    EXPECT_TRUE(std::filesystem::exists(folder + "image8.png"));
    EXPECT_TRUE(app.HandleDebugKey(122));
    EXPECT_TRUE(std::filesystem::exists(folder + "image9.png"));
}

TEST(ZestraAppWindowTest, TicksAndShotEndAHeadlessRun)
{
    HeadlessPlatform platform;
    TestApp app(platform);
    LoopProbe probe;
    std::string shot = platform.UserDataFolder() + "shot.png";
    const char* argv[] = {"velmora", "-ticks=30", nullptr};
    std::string shotArg = "-shot=" + shot;
    argv[2] = shotArg.c_str();
    app.SetCommandLine(3, argv);
    app.Loading().mAutoStartLoadingThread = true;
    app.Initialize();
    app.mWidgetManager->AttachChild(&probe);
    app.Run();
    app.mWidgetManager->DetachChild(&probe);

    EXPECT_EQ(30, app.Clock().mUpdateCount);
    EXPECT_TRUE(app.Loading().mLoadingFinished);
    EXPECT_GT(platform.PresentCount(), 0u);
    std::unique_ptr<MemoryImage> image = ImageLoader::GetImage(shot, false);
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(640, image->GetWidth());
    EXPECT_EQ(480, image->GetHeight());
}

TEST(ZestraAppWindowTest, UrlOpeningCompletesOnDeactivationOrTimesOut)
{
    HeadlessPlatform platform;
    TestApp app(platform);
    app.Initialize();
    app.mRunning = true;

    platform.SetUrlOpenFails(true);
    EXPECT_FALSE(app.OpenUrl("https://example.invalid/a", false));
    EXPECT_TRUE(app.Window().mPendingUrl.empty());
    platform.SetUrlOpenFails(false);

    // Still active after twelve seconds of steady timer ticks: the opener never came up.
    ASSERT_TRUE(app.OpenUrl("https://example.invalid/b", false));
    EXPECT_TRUE(app.OpenUrl("https://example.invalid/b", false)); // already pending
    for (int i = 0; i < 130 && !app.Window().mPendingUrl.empty(); i++)
    {
        platform.AdvanceMs(100);
        app.HandleDeferredMessage(MakeEvent(PlatformEvent::Type::Timer));
    }
    EXPECT_TRUE(app.Window().mPendingUrl.empty());
    EXPECT_FALSE(app.mQuitting);
    EXPECT_GE(platform.NowMs(), 12000u);

    // Losing the activation means the browser came up; quit-after-open then quits.
    ASSERT_TRUE(app.OpenUrl("https://example.invalid/c", true));
    PlatformEvent inactive = MakeEvent(PlatformEvent::Type::Activate);
    inactive.mActive = false;
    app.QueuePlatformEvent(inactive);
    app.HandleDeferredMessage(app.Window().mDeferredMessages.back());
    EXPECT_TRUE(app.Window().mPendingUrl.empty());
    EXPECT_TRUE(app.mQuitting);
    EXPECT_EQ(2u, platform.OpenedUrls().size()); // the refused one never reached the opener
}

TEST(ZestraAppWindowTest, SingleStepRunsOneUpdateThenFreezes)
{
    HeadlessPlatform platform;
    TestApp app(platform);
    app.Initialize();
    app.ResetClock();
    app.Config().mDebugKeysEnabled = true;
    auto stepMany = [&]()
    {
        for (int i = 0; i < 100; i++)
            app.StepApp(nullptr);
    };
    stepMany();
    EXPECT_TRUE(app.HandleDebugKey(121)); // F10
    int before = app.Clock().mUpdateCount;
    stepMany();
    EXPECT_EQ(before + 1, app.Clock().mUpdateCount);
    app.HandleDebugKey(121);
    stepMany();
    EXPECT_EQ(before + 2, app.Clock().mUpdateCount);
    app.Window().mShiftDown = true; // Shift+F10 resumes
    app.HandleDebugKey(121);
    stepMany();
    EXPECT_GT(app.Clock().mUpdateCount, before + 10);
}

TEST(ZestraAppWindowTest, QuitFromAnotherThreadWaitsForTheMainLoop)
{
    HeadlessPlatform platform;
    TestApp app(platform);
    app.Initialize();
    std::thread other([&app]() { app.Quit(); });
    other.join();
    EXPECT_FALSE(app.mQuitting);
    app.ProcessFrame(true);
    EXPECT_TRUE(app.mQuitting);
}

TEST(ZestraAppWindowTest, FrameRateOverlayIsDrawnInTheBottomRightCorner)
{
    HeadlessPlatform platform;
    TestApp app(platform);
    app.Initialize();
    LoopProbe probe;
    app.mWidgetManager->AttachChild(&probe);
    app.Config().mDebugKeysEnabled = true;
    EXPECT_TRUE(app.HandleDebugKey(114)); // F3
    app.ResetClock();
    for (int i = 0; i < 300; i++)
        app.StepApp(nullptr);
    app.mWidgetManager->DetachChild(&probe);
    // The overlay box ends 10 pixels from the right and bottom edges of the 640 x 480 screen.
    EXPECT_NE(0u, platform.PixelAt(628, 468));
    EXPECT_EQ(0u, platform.PixelAt(634, 474));
}

namespace
{

// Fails the first window creation with a given result and text, then behaves normally.
class FailingOnce : public HeadlessPlatform
{
public:
    FailingOnce(DisplayResult result, std::string text) : mResult(result), mText(std::move(text)) {}
    DisplayResult CreateMainWindow(const WindowSpec& request, std::string& errorText) override
    {
        mRequests.push_back(request.mWindowed);
        if (mRequests.size() == 1)
        {
            errorText = mText;
            return mResult;
        }
        return HeadlessPlatform::CreateMainWindow(request, errorText);
    }
    DisplayResult mResult;
    std::string mText;
    std::vector<bool> mRequests;
};

} // namespace

TEST(ZestraAppWindowTest, DisplayFailuresFallBackOrEndTheStart)
{
    struct Case
    {
        bool windowed;
        DisplayResult result;
        std::vector<bool> requests; // windowed flag of each creation request; empty: the start fails
        const char* platformText;
        std::string message; // the whole line the failed start shows (a regular expression without specials)
    };
    // Worded for the player on this system: what could not be opened and what to do, never the names of
    // another system's display interfaces.
    const std::string advice = "; run it in a graphical session, or with -headless to run without a window";
    const char* const noSession = "no display available, no DISPLAY; run it in a graphical session or with -headless";
    const Case cases[] = {
        {false, DisplayResult::ExclusiveFail, {false, true}, "", ""},
        {false, DisplayResult::DisplayChangeFail, {false, true}, "", ""},
        {true, DisplayResult::InvalidColorDepth, {true, false}, "", ""},
        {true, DisplayResult::Fail3D, {true, true}, "", ""},
        {true, DisplayResult::CreateFail, {}, noSession, std::string("Cannot open the game window: ") + noSession},
        {false, DisplayResult::Fail, {}, "cannot create a renderer",
         "Cannot open the game window: cannot create a renderer" + advice},
        {false, DisplayResult::Fail, {}, "", "Cannot open the game window: the display failed" + advice},
    };
    for (const Case& c : cases)
    {
        FailingOnce platform(c.result, c.platformText);
        TestApp app(platform);
        app.Window().mWindowed = c.windowed;
        if (c.requests.empty())
        {
            EXPECT_EXIT(app.Initialize(), ::testing::ExitedWithCode(1), "FATAL ERROR: " + c.message + "\n")
                << int(c.result);
            continue;
        }
        app.Initialize();
        EXPECT_EQ(c.requests, platform.mRequests) << int(c.result);
        EXPECT_EQ(c.requests.back(), app.Window().mPhysWindowed) << int(c.result);
        EXPECT_NE(nullptr, app.GetScreenImage());
    }
}

TEST(ZestraAppWindowTest, QuickExitLeavesNoPrivateDataFolderBehind)
{
    HeadlessPlatform platform;
    TestApp app(platform);
    const std::string folder = platform.UserDataFolder();
    ASSERT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EXIT(app.ExitWithCode(3), ::testing::ExitedWithCode(3), "");
    EXPECT_FALSE(std::filesystem::exists(folder)) << "an exit without destructors still removes the run's folder";
}

TEST(ZestraAppWindowTest, SecondInstanceSaysSoInOneLineAndEndsAsARunThatFailed)
{
    HeadlessPlatform platform;
    platform.SetSingleInstanceResult(false);
    TestApp app(platform);
    app.Config().mProductName = "Velmora Row";
    // Nothing was played: a script must not read it as a run that went well.
    EXPECT_EXIT(app.Initialize(), ::testing::ExitedWithCode(1), "^Velmora Row is already running[^\n]*\n$");
}

TEST(ZestraAppWindowTest, ThreeDIsChosenAutomaticallyOnlyWhileNoSettingIsStored)
{
    struct Case
    {
        bool auto3D;
        int stored; // -1: no "Is3D" setting
        Display3D asked;
    };
    const Case cases[] = {
        {true, -1, Display3D::Automatic},
        {true, 0, Display3D::Off},
        {true, 1, Display3D::On},
        {false, -1, Display3D::Off},
    };
    for (const Case& c : cases)
    {
        HeadlessPlatform platform;
        TestApp app(platform);
        app.Config().mRegistryKey = "Test\\Auto3D";
        app.Window().mAuto3D = c.auto3D;
        if (c.stored >= 0)
            app.SettingWriteBoolean("Is3D", c.stored == 1);
        app.Initialize();
        EXPECT_EQ(c.asked, platform.LastWindowSpec().mDisplay3D) << c.auto3D << " " << c.stored;
        // The choice the display made is the one the application reports; the headless display grants only an
        // explicit request.
        EXPECT_EQ(c.asked == Display3D::On, app.Is3D());
        // A later window (Alt+Enter) keeps the choice instead of asking again.
        app.SetScreenMode(!app.Window().mWindowed);
        EXPECT_NE(Display3D::Automatic, platform.LastWindowSpec().mDisplay3D);
    }
}
