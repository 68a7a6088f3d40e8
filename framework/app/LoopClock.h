// The main loop's clock and counters: the update period and its pacing (platform clock or display refresh), the
// time owed to updates, where the next loop step resumes, and the counts of updates, draws and sleeps.
// All times are platform-clock milliseconds; nothing here reads a clock itself.
#pragma once

#include <cstdint>

namespace Zestra
{

struct LoopClock
{
    // Where the next loop step resumes: read messages, then wait for the update that is due, then catch up on
    // owed updates; Done starts the next frame at its messages.
    enum class StepState
    {
        Messages,
        Update,
        CatchUp,
        Done
    };

    int mUpdatePeriodMs = 10;
    int mRefreshRate = 100;
    bool mRefreshPacing = false;
    bool mWaitForVSync = false;
    bool mWaitOutRefresh = true;
    bool mRefreshPacingFailed = false;
    double mSpeed = 1.0;
    bool mHalted = false;
    bool mSuspended = false; // updating and drawing stopped (screen-saver watch)
    int mUpdateCount = 0;
    int mDrawCount = 0;
    int mSleepCount = 0;
    int mDirtyUpdates = 0; // updates after which something needed repainting
    int64_t mDrawTime = 0;
    int64_t mPresentTime = 0;
    StepState mStepState = StepState::Messages;
    double mElapsedMs = 0;
    uint64_t mLastTimeMs = 0;
    bool mClockStarted = false; // the first reading after a reset only stores the time
    double mUpdateFraction = 0;
    int mUpdatesSinceDraw = 0;
    bool mUpdatedSinceDraw = true;
    bool mLastDrawSkipped = false;
    uint64_t mLastDrawTick = 0;
    uint64_t mNextDrawTick = 0;
    uint64_t mLastPresentTick = 0;
    uint64_t mStartTime = 0;
    uint64_t mTimerActiveSince = 0;
    uint64_t mLastTimerTick = 0;

    // Vsync sanity check.
    int mVSyncCheckUpdates = 0;
    int mVSyncFastSeconds = 0;
    uint64_t mVSyncCheckStartMs = 0;

    // Frame-rate overlay and single stepping (debug keys).
    int mFramesThisSecond = 0;
    int mFps = 0;
    uint64_t mFpsSecondStart = 0;
    bool mStepMode = false; // F10 requested a single step
    bool mStepFrozen = false;
};

} // namespace Zestra
