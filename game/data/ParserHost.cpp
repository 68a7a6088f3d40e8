// Default reporting of data problems: one "file:line: severity: what" line on stderr.
#include "framework/log/Log.h"
#include "game/data/ParserHost.h"

#include <cstdio>

void ParserHost::ReportDataIssue(DataSeverity severity, const std::string& file, int line, const std::string& what)
{
    Zestra::LogFormat("%s:%d: %s: %s\n", file.c_str(), line, severity == DataSeverity::Error ? "error" : "warning",
                 what.c_str());
}
