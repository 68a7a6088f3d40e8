// The stepping machine's timing on a virtual clock, dialogs, deferred deletion and muting.
#include "framework/app/ZestraAppBase.h"

#include "AppTestSupport.h"
#include "framework/widgets/Dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace Zestra;
using namespace ZestraTest;

namespace
{

class AppLoopTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mApp.Initialize();
        mApp.mWidgetManager->AttachChild(&mProbe);
        // What Run does before its loop.
        mApp.ResetClock();
        mApp.Clock().mVSyncCheckStartMs = mPlatform.NowMs();
        mApp.mRunning = true;
    }
    void TearDown() override { mApp.mWidgetManager->DetachChild(&mProbe); }

    // Steps until the given number of updates has run (or a step budget is spent).
    void StepUpdates(int updates)
    {
        int target = mApp.Clock().mUpdateCount + updates;
        for (int i = 0; i < 100000 && mApp.Clock().mUpdateCount < target; i++)
            mApp.StepApp(nullptr);
    }
    // Steps until the loop sleeps: it has caught up with the clock.
    void StepUntilSleep()
    {
        int sleeps = mApp.Clock().mSleepCount;
        for (int i = 0; i < 100000 && mApp.Clock().mSleepCount == sleeps; i++)
            mApp.StepApp(nullptr);
    }

    HeadlessPlatform mPlatform;
    TestApp mApp{mPlatform};
    LoopProbe mProbe;
};

} // namespace

TEST_F(AppLoopTest, ClockPacedLoopRunsOneHundredUpdatesPerSecondAndCapsAStall)
{
    StepUpdates(200);
    uint64_t start = mPlatform.NowMs();
    StepUpdates(100);
    EXPECT_NEAR(1000.0, double(mPlatform.NowMs() - start), 20.0);

    // A stall of five seconds is caught up by at most 20 updates, never more than 10 without a paint.
    StepUntilSleep();
    mProbe.mEvents.clear();
    mPlatform.AdvanceMs(5000);
    StepUntilSleep();
    int updates = int(std::count(mProbe.mEvents.begin(), mProbe.mEvents.end(), 'U'));
    EXPECT_LE(updates, 20);
    EXPECT_GE(updates, 19);
    EXPECT_LE(LongestUpdateRun(mProbe.mEvents), 10);
    EXPECT_EQ('D', mProbe.mEvents.back());
}

TEST_F(AppLoopTest, IdleLoopSleepsAndDrawsNothing)
{
    mProbe.mAlwaysDirty = false;
    StepUpdates(50);
    int draws = mApp.Clock().mDrawCount;
    int sleeps = mApp.Clock().mSleepCount;
    StepUpdates(50);
    // With nothing dirty only the once-a-second present remains; the loop sleeps between updates.
    EXPECT_LE(mApp.Clock().mDrawCount - draws, 1);
    EXPECT_GE(mApp.Clock().mSleepCount - sleeps, 45);
}

TEST_F(AppLoopTest, RefreshPacingAtSixtyHertzRunsFiveUpdatesPerThreeFrames)
{
    mApp.Clock().mRefreshPacing = true;
    mApp.Clock().mRefreshRate = 60;
    mApp.Clock().mWaitForVSync = true;
    mApp.Clock().mWaitOutRefresh = false;
    // The headless display presents at once; a 60 Hz display takes a refresh period per frame.
    mProbe.mOnPaint = [this]() { mPlatform.AdvanceMs(mPlatform.NowMs() % 3 == 0 ? 17 : 16); };
    StepUpdates(30);
    mProbe.mEvents.clear();
    mProbe.mSteps.clear();
    StepUpdates(300);

    ASSERT_FALSE(mProbe.mSteps.empty());
    EXPECT_NEAR(1.6667, mProbe.mSteps.front(), 1e-4);
    // Updates per frame: one or two, five in every three frames on average.
    std::vector<int> perFrame;
    int run = 0;
    for (char c : mProbe.mEvents)
    {
        if (c == 'U')
            run++;
        else
        {
            perFrame.push_back(run);
            run = 0;
        }
    }
    ASSERT_GE(perFrame.size(), 150u);
    int frames = int(perFrame.size()) - 1;
    int updates = 0;
    for (int i = 1; i <= frames; i++)
    {
        EXPECT_TRUE(perFrame[size_t(i)] == 1 || perFrame[size_t(i)] == 2) << i;
        updates += perFrame[size_t(i)];
    }
    EXPECT_NEAR(frames * 5.0 / 3.0, updates, 2.0);
    EXPECT_FALSE(mApp.Clock().mRefreshPacingFailed);
}

TEST_F(AppLoopTest, RefreshPacingThatRunsTooFastFallsBackToTheClock)
{
    mApp.Clock().mRefreshPacing = true;
    mApp.Clock().mRefreshRate = 60;
    mApp.Clock().mWaitForVSync = true;
    mApp.Clock().mWaitOutRefresh = false;
    // Frames take no time at all: the first two checked seconds are only suspicious, the third gives up.
    StepUpdates(250);
    EXPECT_FALSE(mApp.Clock().mRefreshPacingFailed);
    EXPECT_EQ(0u, mPlatform.NowMs());
    StepUpdates(400);
    EXPECT_TRUE(mApp.Clock().mRefreshPacingFailed);

    // From now on the clock paces the updates: about one hundred per second.
    StepUpdates(10);
    uint64_t start = mPlatform.NowMs();
    StepUpdates(100);
    EXPECT_NEAR(1000.0, double(mPlatform.NowMs() - start), 40.0);
}

TEST_F(AppLoopTest, DeferredDeletionWaitsForTheNestedLoopToReturn)
{
    struct Tracked : public LoopProbe
    {
        explicit Tracked(bool* deleted) : mDeleted(deleted) {}
        ~Tracked() override { *mDeleted = true; }
        bool* mDeleted;
    };
    bool deleted = false;
    bool deletedInsideNestedLoop = false;
    auto* doomed = new Tracked(&deleted);
    doomed->mAlwaysDirty = false;
    mApp.mWidgetManager->AttachChild(doomed);
    bool fired = false;
    doomed->mOnTick = [&]()
    {
        if (fired)
            return;
        fired = true;
        mApp.DeferDelete(doomed);
        // A modal loop run from inside the update: the widget is still on the outer call stack.
        for (int i = 0; i < 200; i++)
            mApp.StepApp(nullptr);
        deletedInsideNestedLoop = deleted;
    };
    StepUpdates(3);
    EXPECT_FALSE(deletedInsideNestedLoop);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(0u, mApp.PendingDeferredDeletes());
}

TEST_F(AppLoopTest, DialogRemovedByItsOwnButtonWhileAwaitedSurvivesTheWait)
{
    auto* dialog = new Dialog(nullptr, nullptr, 7, true, "Title", "Message", "", 2);
    mApp.AddDialog(dialog);
    int depth = mApp.mNestingDepth;
    mApp.NoteAwaitingWidget(dialog, depth);
    mApp.mNestingDepth = depth + 1; // inside the awaiting loop
    dialog->ButtonReleased(Dialog::REJECT_BUTTON_ID);
    EXPECT_TRUE(mApp.RemoveDialog(7));
    mApp.ProcessDeferredDeletes();
    EXPECT_EQ(1u, mApp.PendingDeferredDeletes()); // still readable by the waiting code
    EXPECT_EQ(Dialog::REJECT_BUTTON_ID, dialog->mResult);
    mApp.mNestingDepth = depth;
    mApp.ForgetAwaitingWidget(dialog);
    mApp.ProcessDeferredDeletes();
    EXPECT_EQ(0u, mApp.PendingDeferredDeletes());
}

TEST_F(AppLoopTest, SpeedAndHaltStopUpdating)
{
    mApp.Clock().mHalted = true;
    int count = mApp.Clock().mUpdateCount;
    for (int i = 0; i < 50; i++)
        mApp.StepApp(nullptr);
    EXPECT_EQ(count, mApp.Clock().mUpdateCount);
    mApp.Clock().mHalted = false;
    mApp.Clock().mSpeed = 0;
    uint64_t start = mPlatform.NowMs();
    for (int i = 0; i < 50; i++)
        mApp.StepApp(nullptr);
    EXPECT_EQ(count, mApp.Clock().mUpdateCount);
    // A stopped loop rests instead of spinning, and still hears the close button.
    EXPECT_GE(mPlatform.NowMs() - start, 200u);
    mPlatform.PushClose();
    for (int i = 0; i < 10; i++)
        mApp.StepApp(nullptr);
    EXPECT_TRUE(mApp.mQuitting);
}

TEST(ZestraAppBaseTest, DialogsAreSizedPlacedAndRemovedById)
{
    HeadlessPlatform platform;
    TestApp app(platform);
    app.Initialize();
    ASSERT_EQ(640, app.mWidth);

    auto* dialog = new Dialog(nullptr, nullptr, 5, true, "Title", "Text", "", 2);
    app.AddDialog(dialog);
    EXPECT_EQ(Rect(160, 96, 320, dialog->PreferredHeight(320)), dialog->Bounds());
    EXPECT_EQ(dialog, app.FindDialog(5));
    EXPECT_EQ(1, app.DialogCount());
    EXPECT_EQ(dialog, app.mWidgetManager->mModalBase);
    EXPECT_EQ(&app, dialog->mDialogObserver);

    EXPECT_FALSE(app.RemoveDialog(6)); // not open: nothing changes
    EXPECT_EQ(1, app.DialogCount());

    // A dialog with a width keeps its own place; adding under an open id replaces the old one.
    auto* sized = new Dialog(nullptr, nullptr, 5, false, "", "", "", 0);
    sized->SetBounds(10, 20, 100, 50);
    app.AddDialog(sized);
    EXPECT_EQ(0, dialog->mResult); // closed without a button
    EXPECT_EQ(Rect(10, 20, 100, 50), sized->Bounds());
    EXPECT_EQ(nullptr, app.mWidgetManager->mModalBase);
    EXPECT_EQ(1, app.DialogCount());
    EXPECT_TRUE(app.RemoveDialog(sized));
    EXPECT_EQ(0, app.DialogCount());
    app.ProcessDeferredDeletes();
    EXPECT_EQ(0u, app.PendingDeferredDeletes());
}

TEST(ZestraAppBaseTest, DialogButtonsBecomeApplicationButtonIds)
{
    struct Recorder : public TestApp
    {
        using TestApp::TestApp;
        void ButtonPressed(int id) override { mPressed.push_back(id); }
        void ButtonReleased(int id) override { mReleased.push_back(id); }
        std::vector<int> mPressed;
        std::vector<int> mReleased;
    };
    HeadlessPlatform platform;
    Recorder app(platform);
    Dialog dialog(nullptr, nullptr, 7, false, "", "", "", 1);
    dialog.mDialogObserver = &app;
    for (int button : {1000, 1001, 1002})
    {
        dialog.ButtonPressed(button);
        dialog.ButtonReleased(button);
    }
    EXPECT_EQ((std::vector<int>{2007, 3007}), app.mPressed);
    EXPECT_EQ((std::vector<int>{2007, 3007}), app.mReleased);
    EXPECT_EQ(1001, dialog.mResult);
}

TEST(ZestraAppBaseTest, MuteCountsNestAndVolumesAreReapplied)
{
    HeadlessPlatform platform;
    TestApp app(platform);
    std::vector<double> volumes;
    app.mMusicInterface = std::make_unique<RecordingMusic>(&volumes);

    app.Unmute(false); // nothing to undo: counts stay, volumes are applied again
    EXPECT_EQ(0, app.Volumes().mMuteLevel);
    EXPECT_EQ((std::vector<double>{0.85}), volumes);

    struct Step
    {
        bool mute;
        bool automatic;
        int level;
        int autoLevel;
        double music;
    };
    for (const Step& s : {Step{true, true, 1, 1, 0.0}, Step{true, false, 2, 1, 0.0}, Step{false, true, 1, 0, 0.0},
                          Step{false, true, 0, 0, 0.85}, Step{false, false, 0, 0, 0.85}})
    {
        volumes.clear();
        if (s.mute)
            app.Mute(s.automatic);
        else
            app.Unmute(s.automatic);
        EXPECT_EQ(s.level, app.Volumes().mMuteLevel);
        EXPECT_EQ(s.autoLevel, app.Volumes().mAutoMuteLevel);
        ASSERT_EQ(1u, volumes.size());
        EXPECT_DOUBLE_EQ(s.music, volumes[0]);
    }
    app.mMusicInterface.reset();
}

TEST(ZestraAppBaseTest, SharedImagesAreCachedWithoutCaseAndDroppedWhenUnused)
{
    HeadlessPlatform platform;
    TestApp app(platform);
    bool created = false;
    SharedImageRef first = app.AcquireSharedImage("!Blank", "Variant", &created);
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(created);
    SharedImageRef again = app.AcquireSharedImage("!blank", "VARIANT", &created);
    EXPECT_FALSE(created);
    EXPECT_EQ(first.get(), again.get());
    EXPECT_EQ(nullptr, app.AcquireSharedImage("no/such/picture.png", "", &created));
    EXPECT_FALSE(created);

    first.reset();
    again.reset();
    app.RequestSharedImageCleanup();
    app.RunUpdate();
    app.AcquireSharedImage("!blank", "variant", &created);
    EXPECT_TRUE(created);
}

// A display whose presenting never waits for the refresh (a plain window surface).
class NoVSyncPlatform : public HeadlessPlatform
{
public:
    bool PresentsAtRefresh() const override { return false; }
};

TEST(AppLoopPacingTest, FullScreenWithoutVSyncIsPacedByTheClockNotByFrames)
{
    NoVSyncPlatform platform;
    TestApp app(platform);
    app.Window().mWindowed = false;
    app.Initialize();
    LoopProbe probe;
    app.mWidgetManager->AttachChild(&probe);
    app.Clock().mRefreshPacing = true;
    app.Clock().mRefreshRate = 60;
    app.ResetClock();
    app.Clock().mVSyncCheckStartMs = platform.NowMs();
    app.mRunning = true;
    ASSERT_FALSE(app.Window().mPhysWindowed);
    // Frames take no time: paced by frames, the game would run as fast as the processor allows.
    for (int i = 0; i < 100000 && app.Clock().mUpdateCount < 500; i++)
        app.StepApp(nullptr);
    EXPECT_NEAR(5000.0, double(platform.NowMs()), 100.0) << "one hundred updates per second of the clock";
    EXPECT_FALSE(app.Clock().mRefreshPacingFailed) << "nothing ran too fast, so nothing had to be given up";
    app.mWidgetManager->DetachChild(&probe);
}
