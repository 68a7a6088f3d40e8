// What the process holds right now, read from /proc/self: resident memory, its high-water mark, open file
// descriptors and threads. For "-memstats": the cost of a long game shows as growth between two readings.
#pragma once

#include <string>

struct ProcessFigures
{
    long rssKb = -1; // -1 when the system does not say
    long hwmKb = -1;
    int fds = -1;
    int threads = -1;
};

ProcessFigures ReadProcessFigures();

// One JSON object (no line end): {"memstats":"<when>","vm_rss_kb":..,"vm_hwm_kb":..,"fds":..,"threads":..}.
std::string FormatProcessFigures(const std::string& when, const ProcessFigures& figures);
