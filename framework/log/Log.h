// The one path of the program's diagnostics: every message becomes one line on stderr (a missing line end is
// added). Detail lines, such as timings and statistics, show only when the environment variable VELMORA_DEBUG is
// set. Safe to call from any thread: each line is written in one piece.
#pragma once

#include <string>

namespace Zestra
{

void Log(const std::string& text);
void LogFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogDetail(const std::string& text);

} // namespace Zestra
