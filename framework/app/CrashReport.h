// The crash report: on a fault signal (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT) the handler writes a folder with
// report.txt (version, signal, update, options, backtrace), demo.dmo (the run's input so far, ending at the fault)
// and frame.bmp (the last frame drawn), then leaves a note that the next start reads. The handler only writes:
// everything it needs is prepared in normal code, so it calls nothing but async-signal-safe functions.
//
// Process-wide by nature: a signal handler has no object to reach, so the live state sits in CrashReport.cpp.
#pragma once

#include <cstdint>
#include <string>

namespace Zestra::CrashReport
{

struct Setup
{
    std::string folder;      // where reports go ($XDG_STATE_HOME/...), without a trailing '/'
    std::string version;     // the program version
    std::string commandLine; // the run's options, one line
    std::string demoHeader;  // the demo's header lines (format, version, seed, options, start files)
};

// Whether this build writes reports: sanitizer builds keep their own fault handlers and reports.
bool Supported();
// Installs the handlers and prepares the report's fixed parts. Later calls replace the setup.
void Arm(const Setup& setup);
bool Armed();

// The run so far, kept for the handler. Each call is cheap and leaves the handler a consistent view.
void AppendDemoLine(const std::string& line); // without its line feed
void NoteUpdate(int update);
// The screen's pixels as 0xAARRGGBB, row after row; they must stay valid until the next call (or NoteFrame(nullptr)).
void NoteFrame(const uint32_t* pixels, int width, int height);
// A line added to report.txt (a deliberate crash says at which update and digest it happens).
void NoteText(const std::string& line);

// Ends the process through a write to address zero, as a real fault would.
[[noreturn]] void CrashNow();

// The note a crashed run left in folder: one line saying where its report is, or "" when there is none. The note
// is removed, so each report is announced once.
std::string TakeNotice(const std::string& folder);

} // namespace Zestra::CrashReport
