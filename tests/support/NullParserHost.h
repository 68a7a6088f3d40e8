// A parser host that loads no media and stays quiet: for tests and benchmarks that need only the data tables.
#pragma once

#include "framework/graphics/Image.h"
#include "game/data/ParserHost.h"

#include <memory>
#include <string>

namespace TestSupport
{

class NullParserHost : public ParserHost
{
public:
    std::unique_ptr<Zestra::Image> LoadDataImage(const std::string&) override { return nullptr; }
    bool LoadMusic(int, const std::string&) override { return false; }
    void UnloadMusic(int) override {}
    bool LoadVoice(int, const std::string&) override { return false; }
    void ReleaseVoice(int) override {}
    void ReportDataIssue(DataSeverity, const std::string&, int, const std::string&) override {}
};

} // namespace TestSupport
