// The data checker behind velmora-lint: reads a whole game folder (loose files, or with its main.pak) through the
// game's own readers and reports, as "file:line: error|warning: what", everything that is malformed or would
// silently show or play nothing. Errors make the check fail; warnings are legal but suspicious.
#pragma once

#include "game/data/ParserHost.h"

#include <iosfwd>
#include <string>
#include <vector>

struct LintIssue
{
    DataSeverity severity = DataSeverity::Error;
    std::string file;
    int line = 0;
    std::string what;
};

// Decodes images with the game's image loader and finds sounds the way the sound manager and the music player
// look for them, without playing anything. Collects every reported issue once.
class LintHost : public ParserHost
{
public:
    std::unique_ptr<Zestra::Image> LoadDataImage(const std::string& path) override;
    bool LoadMusic(int id, const std::string& path) override;
    void UnloadMusic(int id) override {}
    bool LoadVoice(int id, const std::string& path) override;
    void ReleaseVoice(int id) override {}
    void ReportDataIssue(DataSeverity severity, const std::string& file, int line, const std::string& what) override;

    const std::vector<LintIssue>& Issues() const { return mIssues; }

private:
    std::vector<LintIssue> mIssues;
};

// Checks the game folder. Every issue goes to out, followed by a summary line; returns the exit status:
// 0 clean (warnings allowed), 1 with errors. The current directory is restored before returning.
int RunDataLint(const std::string& gameFolder, std::ostream& out);
