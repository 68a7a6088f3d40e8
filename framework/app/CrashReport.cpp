// The crash report's live state and its signal handler. Normal code grows and publishes buffers; the handler reads
// what was last published and writes it with open/write/close alone (no allocation, no stdio, no locks).
#include "framework/app/CrashReport.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#ifndef __EMSCRIPTEN__
#include <execinfo.h>
#endif
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// Sanitizers install fault handlers with better reports of their own; the browser has no signals.
#if defined(__SANITIZE_ADDRESS__) || defined(__EMSCRIPTEN__)
#define VELMORA_NO_CRASH_HANDLER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
#define VELMORA_NO_CRASH_HANDLER 1
#endif
#endif

namespace Zestra::CrashReport
{

namespace
{

// Text that grows in normal code and is read whole by the handler. A new block is filled before it is published
// and the old one is freed only after, so whatever the handler sees (pointer, then size) is complete text.
class LiveText
{
public:
    void Append(const char* text, size_t size)
    {
        const size_t used = mSize.load(std::memory_order_relaxed);
        if (used + size > mCapacity)
        {
            size_t capacity = std::max<size_t>(mCapacity * 2, 64 * 1024);
            while (capacity < used + size)
                capacity *= 2;
            auto block = std::make_unique<char[]>(capacity);
            if (used > 0)
                std::memcpy(block.get(), mBlock.get(), used);
            mData.store(block.get(), std::memory_order_release);
            mRetired = std::move(mBlock); // freed at the next growth, long after the handler could still hold it
            mBlock = std::move(block);
            mCapacity = capacity;
        }
        std::memcpy(mBlock.get() + used, text, size);
        mSize.store(used + size, std::memory_order_release);
    }
    void Clear()
    {
        mSize.store(0, std::memory_order_release);
    }
    // For the handler.
    const char* Data() const { return mData.load(std::memory_order_acquire); }
    size_t Size() const { return mSize.load(std::memory_order_acquire); }

private:
    std::unique_ptr<char[]> mBlock;
    std::unique_ptr<char[]> mRetired;
    size_t mCapacity = 0;
    std::atomic<char*> mData{nullptr};
    std::atomic<size_t> mSize{0};
};

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr size_t kPathMax = 4096;

// Prepared by Arm; read by the handler.
char gFolder[kPathMax];       // the reports' folder
char gReportFolder[kPathMax]; // this run's report: gFolder/crash-DATE-TIME-PID
LiveText gHeader;             // report.txt's fixed lines
LiveText gDemoHeader;
LiveText gDemo;  // demo lines after the header
LiveText gNotes; // lines added by NoteText
std::atomic<int> gUpdate{0};
std::atomic<const uint32_t*> gFramePixels{nullptr};
std::atomic<int> gFrameWidth{0};
std::atomic<int> gFrameHeight{0};
bool gArmed = false;
volatile sig_atomic_t gHandling = 0;
// The handler's own stack, so a stack overflow can still be reported.
alignas(16) char gAltStack[64 * 1024];

// ---- async-signal-safe helpers -------------------------------------------------------------------------------

void WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0)
    {
        const ssize_t done = write(fd, data, size);
        if (done <= 0)
            return;
        data += done;
        size -= size_t(done);
    }
}

void WriteText(int fd, const char* text)
{
    WriteAll(fd, text, std::strlen(text));
}

void WriteNumber(int fd, long long value)
{
    char digits[24];
    size_t at = sizeof digits;
    const bool negative = value < 0;
    unsigned long long rest = negative ? 0ull - static_cast<unsigned long long>(value) : value;
    do
    {
        digits[--at] = char('0' + rest % 10);
        rest /= 10;
    } while (rest > 0 && at > 1);
    if (negative)
        digits[--at] = '-';
    WriteAll(fd, digits + at, sizeof digits - at);
}

// path + "/" + name into out; false when it does not fit.
bool JoinPath(char* out, const char* path, const char* name)
{
    const size_t a = std::strlen(path);
    const size_t b = std::strlen(name);
    if (a + 1 + b + 1 > kPathMax)
        return false;
    std::memcpy(out, path, a);
    out[a] = '/';
    std::memcpy(out + a + 1, name, b + 1);
    return true;
}

// mkdir -p, one component at a time, on a copy of the path.
void MakeFolders(const char* path)
{
    char copy[kPathMax];
    const size_t length = std::strlen(path);
    if (length + 1 > sizeof copy)
        return;
    std::memcpy(copy, path, length + 1);
    for (size_t i = 1; i < length; ++i)
    {
        if (copy[i] != '/')
            continue;
        copy[i] = '\0';
        mkdir(copy, 0700);
        copy[i] = '/';
    }
    mkdir(copy, 0700);
}

int CreateFile(const char* folder, const char* name)
{
    char path[kPathMax];
    if (!JoinPath(path, folder, name))
        return -1;
    return open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
}

const char* SignalName(int signal)
{
    switch (signal)
    {
    case SIGSEGV:
        return "SIGSEGV (invalid memory access)";
    case SIGBUS:
        return "SIGBUS (bus error)";
    case SIGFPE:
        return "SIGFPE (arithmetic fault)";
    case SIGILL:
        return "SIGILL (illegal instruction)";
    case SIGABRT:
        return "SIGABRT (abort)";
    default:
        return "signal";
    }
}

void WriteLive(int fd, const LiveText& text)
{
    const size_t size = text.Size();
    const char* data = text.Data();
    if (data != nullptr && size > 0)
        WriteAll(fd, data, size);
}

void PutLittle(unsigned char* at, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

// A 32-bit top-down BMP: its pixel order (blue, green, red, alpha bytes) is 0xAARRGGBB in little-endian memory, so
// the screen is written as it is.
void WriteFrame(int fd, const uint32_t* pixels, int width, int height)
{
    unsigned char header[54] = {'B', 'M'};
    const uint32_t bytes = uint32_t(width) * uint32_t(height) * 4;
    PutLittle(header + 2, 54 + bytes, 4);
    PutLittle(header + 10, 54, 4);
    PutLittle(header + 14, 40, 4);
    PutLittle(header + 18, uint32_t(width), 4);
    PutLittle(header + 22, uint32_t(-height), 4);
    PutLittle(header + 26, 1, 2);
    PutLittle(header + 28, 32, 2);
    PutLittle(header + 34, bytes, 4);
    WriteAll(fd, reinterpret_cast<const char*>(header), sizeof header);
    WriteAll(fd, reinterpret_cast<const char*>(pixels), bytes);
}

void WriteReport(int signal)
{
    MakeFolders(gReportFolder);
    const int update = gUpdate.load(std::memory_order_relaxed);

    int fd = CreateFile(gReportFolder, "report.txt");
    if (fd >= 0)
    {
        WriteLive(fd, gHeader);
        WriteText(fd, "signal ");
        WriteNumber(fd, signal);
        WriteText(fd, " ");
        WriteText(fd, SignalName(signal));
        WriteText(fd, "\nupdate ");
        WriteNumber(fd, update);
        WriteText(fd, "\n");
        WriteLive(fd, gNotes);
        WriteText(fd, "backtrace:\n");
#ifndef __EMSCRIPTEN__
        void* frames[64];
        const int count = backtrace(frames, 64);
        backtrace_symbols_fd(frames, count, fd);
#endif
        close(fd);
    }

    if (gDemoHeader.Size() > 0 && (fd = CreateFile(gReportFolder, "demo.dmo")) >= 0)
    {
        WriteLive(fd, gDemoHeader);
        WriteLive(fd, gDemo);
        WriteText(fd, "end ");
        WriteNumber(fd, update);
        WriteText(fd, "\n");
        close(fd);
    }

    const uint32_t* pixels = gFramePixels.load(std::memory_order_acquire);
    const int width = gFrameWidth.load(std::memory_order_relaxed);
    const int height = gFrameHeight.load(std::memory_order_relaxed);
    if (pixels != nullptr && width > 0 && height > 0 && (fd = CreateFile(gReportFolder, "frame.bmp")) >= 0)
    {
        WriteFrame(fd, pixels, width, height);
        close(fd);
    }

    // The note the next start reads: written under another name and renamed, so it is never read half written.
    char notePath[kPathMax];
    char tempPath[kPathMax];
    if (JoinPath(notePath, gFolder, "last-crash") && JoinPath(tempPath, gFolder, "last-crash.new") &&
        (fd = open(tempPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600)) >= 0)
    {
        WriteText(fd, gReportFolder);
        WriteText(fd, "\n");
        close(fd);
        rename(tempPath, notePath);
    }

    WriteText(STDERR_FILENO, "The game crashed (");
    WriteText(STDERR_FILENO, SignalName(signal));
    WriteText(STDERR_FILENO, "); a report is in ");
    WriteText(STDERR_FILENO, gReportFolder);
    WriteText(STDERR_FILENO, "\n");
}

void Handle(int signal)
{
    if (gHandling == 0)
    {
        gHandling = 1;
        WriteReport(signal);
    }
    // Ends the process as the fault would have, so its exit status still says which signal it was.
    std::signal(signal, SIG_DFL);
    raise(signal);
}

void CopyInto(char* out, const std::string& text)
{
    const size_t length = std::min(text.size(), kPathMax - 1);
    std::memcpy(out, text.data(), length);
    out[length] = '\0';
}

void Reset(LiveText& text, const std::string& value)
{
    text.Clear();
    text.Append(value.data(), value.size());
}

} // namespace

bool Supported()
{
#ifdef VELMORA_NO_CRASH_HANDLER
    return false;
#else
    return true;
#endif
}

void Arm(const Setup& setup)
{
    if (!Supported())
        return;
    CopyInto(gFolder, setup.folder);
    char name[64];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::snprintf(name, sizeof name, "crash-%s-%d", stamp, int(getpid()));
    CopyInto(gReportFolder, setup.folder + "/" + name);
    Reset(gHeader, "Velmora Row crash report\nversion " + setup.version + "\noptions " + setup.commandLine + "\n");
    Reset(gDemoHeader, setup.demoHeader);
    gDemo.Clear();
    gNotes.Clear();
    if (gArmed)
        return;
    gArmed = true;
    // The first backtrace loads the unwinder, which allocates: done here, never for the first time in the handler.
#ifndef __EMSCRIPTEN__
    void* frames[4];
    backtrace(frames, 4);
#endif
    stack_t stack{};
    stack.ss_sp = gAltStack;
    stack.ss_size = sizeof gAltStack;
    sigaltstack(&stack, nullptr);
    struct sigaction action{};
    action.sa_handler = Handle;
    action.sa_flags = SA_ONSTACK | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals)
        sigaction(signal, &action, nullptr);
}

bool Armed()
{
    return gArmed;
}

void AppendDemoLine(const std::string& line)
{
    if (!gArmed)
        return;
    gDemo.Append(line.data(), line.size());
    gDemo.Append("\n", 1);
}

void NoteUpdate(int update)
{
    gUpdate.store(update, std::memory_order_relaxed);
}

void NoteFrame(const uint32_t* pixels, int width, int height)
{
    gFramePixels.store(nullptr, std::memory_order_release);
    gFrameWidth.store(width, std::memory_order_relaxed);
    gFrameHeight.store(height, std::memory_order_relaxed);
    gFramePixels.store(pixels, std::memory_order_release);
}

void NoteText(const std::string& line)
{
    if (!gArmed)
        return;
    gNotes.Append(line.data(), line.size());
    gNotes.Append("\n", 1);
}

namespace
{
// Volatile, so the compiler keeps the write as a write instead of proving it undefined and dropping it.
int* volatile gNowhere = nullptr;
} // namespace

void CrashNow()
{
    *gNowhere = 1;
    std::abort(); // not reached: the write faults
}

std::string TakeNotice(const std::string& folder)
{
    const std::string notePath = folder + "/last-crash";
    std::ifstream in(notePath);
    if (!in)
        return std::string();
    std::string report;
    std::getline(in, report);
    in.close();
    std::remove(notePath.c_str());
    if (report.empty())
        return std::string();
    return "The last run crashed; its report is in " + report;
}

} // namespace Zestra::CrashReport
