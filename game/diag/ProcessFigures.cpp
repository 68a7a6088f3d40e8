#include "game/diag/ProcessFigures.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace
{
// The number after "Name:" on a line of /proc/self/status, when the line is that one.
bool ReadStatusField(const std::string& line, const char* name, long& value)
{
    const size_t length = std::strlen(name);
    if (line.compare(0, length, name) != 0 || line.size() <= length || line[length] != ':')
        return false;
    value = std::strtol(line.c_str() + length + 1, nullptr, 10);
    return true;
}

int CountEntries(const char* folder)
{
    std::error_code error;
    int count = 0;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        ++count;
    return error ? -1 : count;
}
} // namespace

ProcessFigures ReadProcessFigures()
{
    ProcessFigures figures;
    std::ifstream status("/proc/self/status");
    long threads = -1;
    for (std::string line; std::getline(status, line);)
        ReadStatusField(line, "VmRSS", figures.rssKb) || ReadStatusField(line, "VmHWM", figures.hwmKb) ||
            ReadStatusField(line, "Threads", threads);
    figures.threads = int(threads);
    // The listing holds the descriptor of the folder being read: it is not one the program keeps.
    const int fds = CountEntries("/proc/self/fd");
    figures.fds = fds > 0 ? fds - 1 : fds;
    return figures;
}

std::string FormatProcessFigures(const std::string& when, const ProcessFigures& figures)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "{\"memstats\":\"%s\",\"vm_rss_kb\":%ld,\"vm_hwm_kb\":%ld,\"fds\":%d,\"threads\":%d}", when.c_str(),
                  figures.rssKb, figures.hwmKb, figures.fds, figures.threads);
    return text;
}
