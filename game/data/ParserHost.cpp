// Default reporting of data problems: one "file:line: severity: what" line on stderr.
#include "framework/log/Log.h"
#include "game/data/ParserHost.h"

#include <cstdio>
#include <string>

void ParserHost::ReportDataIssue(DataSeverity severity, const std::string& file, int line, const std::string& what)
{
    Zestra::LogFormat("%s:%d: %s: %s\n", file.c_str(), line, severity == DataSeverity::Error ? "error" : "warning",
                 what.c_str());
}

void ParserHost::ReportDamagedFile(const std::string& file, int line, const std::string& what)
{
    ReportDataIssue(DataSeverity::Error, file, line, what);
    if (mFirstDamage.empty())
        mFirstDamage = file + ":" + std::to_string(line) + ": " + what;
}
