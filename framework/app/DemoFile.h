// Input demos: every input event the application handled, keyed to the number of updates that had run when it was
// handled, with what a run needs to start the same way (program version, random seed, the data files the game
// state starts from, the update at which loading was acknowledged). Replaying the events at the same update
// numbers into a fresh run on the same version reaches the same state, on any clock and any display.
//
// The file is plain text, one record per line, fields separated by single spaces:
//   zestra-demo 1              first line: the format and its revision
//   version TEXT               the program version that recorded it (the rest of the line)
//   seed N                     the random seed of the run
//   option -NAME[=VALUE]       an option that shaped the run (where it starts: a day, a screen); a replay applies
//                              it, and refuses a command line that gives the same option another value
//   file NAME SIZE             a data file the run started from, its bytes follow as "data HEX" lines
//   data HEX                   up to 64 bytes of the file above, as lower-case hex digits
//   nofile NAME                the data file did not exist when the recording started
//   loaded U                   loading was acknowledged before update U + 1
//   ev U KIND ARGS...          an event handled after U updates (KIND and its arguments below)
//   end U                      the run ended after U updates; a file without it is incomplete
// Event kinds: "move X Y", "down X Y CODE", "up X Y CODE", "wheel N", "leave", "keydown KEY MODS",
// "keyup KEY MODS", "char C", "active 0|1", "minimize 0|1", "maximize", "window X Y", "display", "close".
// MODS is a bit set: 1 Shift, 2 Ctrl, 4 Alt, 8 system key. Events stand in the order they were handled, their
// update numbers never decrease, and every line ends with a line feed.
#pragma once

#include "framework/platform/Platform.h"
#include "framework/platform/SafeOutput.h"

#include <cstdio>
#include <string>
#include <vector>

namespace Zestra
{

struct DemoEvent
{
    int update = 0;
    PlatformEvent event;
};

struct DemoStartFile
{
    std::string name;
    bool exists = false;
    std::string bytes;
};

struct DemoScript
{
    std::string version;
    unsigned seed = 0;
    std::vector<std::string> options; // as "-name" or "-name=value"; none in demos of older programs
    std::vector<DemoStartFile> files;
    int loadedAt = -1; // -1: loading was never acknowledged
    std::vector<DemoEvent> events;
    int endUpdate = 0;
};

// Whether the event kind is input the game receives (timers and instance notes are not recorded).
bool IsDemoEvent(const PlatformEvent& event);
// The event's "KIND ARGS" text.
std::string FormatDemoEvent(const PlatformEvent& event);

// Reads a demo file; false with errorText naming the file and the line at fault. A file recorded by another
// version is refused (expectedVersion is compared with the "version" line).
bool ReadDemoFile(const std::string& path, const std::string& expectedVersion, DemoScript& script,
                  std::string& errorText);
// The same from text already read (path only names it in messages).
bool ParseDemoText(const std::string& text, const std::string& path, const std::string& expectedVersion,
                   DemoScript& script, std::string& errorText);

// The header lines of a demo (every line ended by a line feed), up to the first event.
std::string DemoHeaderText(const std::string& version, unsigned seed, const std::vector<std::string>& options,
                           const std::vector<DemoStartFile>& files);

// Writes a demo as it happens: the header at once, each event as it is handled (flushed, so a crash leaves what
// happened up to it), the end line last.
// Writes through SafeOutput: the demo replaces its target only once it is complete, so a failed or interrupted
// recording never leaves a cut file (or a replaced link or device) behind.
class DemoRecorder
{
public:
    // False with errorText when the target is refused or cannot be created.
    bool Open(const std::string& path, std::string& errorText);
    void WriteHeader(const std::string& version, unsigned seed, const std::vector<std::string>& options,
                     const std::vector<DemoStartFile>& files);
    void WriteLoaded(int update);
    void WriteEvent(int update, const PlatformEvent& event);
    // Writes the end line and puts the file in place; false with errorText when any write failed (the target is
    // then as it was). Later calls do nothing and succeed.
    bool Finish(int update, std::string& errorText);
    bool IsOpen() const { return mOpen; }

private:
    void Line(const std::string& text);
    SafeOutput mOut;
    bool mOpen = false;
};

// The 64-bit FNV-1a hash of the text as 16 lower-case hex digits: the state digest printed by -record and -play.
std::string DigestText(const std::string& text);

} // namespace Zestra
