// A demo being recorded or replayed in this run ("-record" writes every input event handled, "-play" replays
// one; see DemoFile.h), and the end-of-run bookkeeping around it.
#pragma once

#include "framework/app/DemoFile.h"

#include <cstddef>
#include <memory>
#include <string>

namespace Zestra
{

struct DemoSession
{
    std::string mDemoFile;
    std::string mDemoRecordPath;
    std::string mDemoPlayPath;
    bool mDemoRecordRequested = false;
    bool mDemoPlayRequested = false;
    bool mPrintDigest = false; // "-digest"; a demo run prints it too
    // Crash reports (CrashReport.h) carry the run's input as a demo: the program turns them on; test programs leave
    // their own faults alone.
    bool mCrashReportsEnabled = false;
    int mCrashAtUpdate = -1; // "-crash=N": a deliberate fault after update N (0: as soon as the run has started)
    std::unique_ptr<DemoRecorder> mDemoRecorder;
    std::unique_ptr<DemoScript> mDemoScript;
    size_t mDemoCursor = 0;
    std::string mDemoFolder; // the private data folder a replay starts from; removed at exit
    bool mRunFinished = false;
};

} // namespace Zestra
