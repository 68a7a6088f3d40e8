// The loading thread and what the main thread knows of it: started, finished (set by the loading thread),
// acknowledged (by the main thread), and the two progress counters the loading task maintains.
#pragma once

#include <atomic>
#include <thread>

namespace Zestra
{

struct LoadingState
{
    bool mAutoStartLoadingThread = true;
    bool mLoadingStarted = false;
    std::atomic<bool> mLoadingFinished{false};
    bool mLoadingAcknowledged = false;
    bool mThrottleWhileLoading = false;
    std::atomic<int> mLoadingTaskCount{0};
    std::atomic<int> mLoadingTasksDone{0};
    // "-headless": on a virtual clock no update runs while the loading thread works, so the same options give the
    // same run on a fast or a slow machine.
    bool mClockWaitsForLoading = false;
    std::thread mLoadingThread;
};

} // namespace Zestra
