// Test support for the data readers: a host that serves images of chosen sizes from memory and records every
// load and report, and a scratch game folder that the readers see as the current directory.
#pragma once

#include "framework/graphics/MemoryImage.h"
#include "game/data/DataTables.h"
#include "game/data/ParserHost.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

struct ReportedIssue
{
    DataSeverity severity;
    std::string file;
    int line;
    std::string what;
};

class FakeHost : public ParserHost
{
public:
    // Images that "exist": full path (no extension) to size.
    std::map<std::string, std::pair<int, int>> images;
    std::set<std::string> songs;  // paths that load
    std::set<std::string> voices; // paths that load
    std::map<std::string, int> imageLoads; // how often each path was decoded
    std::vector<std::pair<int, std::string>> loadedMusic;
    std::vector<int> unloadedMusic;
    std::vector<int> releasedVoices;
    std::vector<ReportedIssue> issues;
    int steps = 0;

    std::unique_ptr<Zestra::Image> LoadDataImage(const std::string& path) override
    {
        ++imageLoads[path];
        auto it = images.find(path);
        if (it == images.end())
            return nullptr;
        return std::make_unique<Zestra::MemoryImage>(it->second.first, it->second.second);
    }
    bool LoadMusic(int id, const std::string& path) override
    {
        if (!songs.count(path))
            return false;
        loadedMusic.emplace_back(id, path);
        return true;
    }
    void UnloadMusic(int id) override { unloadedMusic.push_back(id); }
    bool LoadVoice(int id, const std::string& path) override { return voices.count(path) != 0; }
    void ReleaseVoice(int id) override { releasedVoices.push_back(id); }
    void OnLoadingStep() override { ++steps; }
    void ReportDataIssue(DataSeverity severity, const std::string& file, int line, const std::string& what) override
    {
        issues.push_back({severity, file, line, what});
    }

    int Count(DataSeverity severity) const
    {
        int n = 0;
        for (const ReportedIssue& issue : issues)
            n += issue.severity == severity;
        return n;
    }
    // The first issue whose text contains the fragment, or null.
    const ReportedIssue* Find(const std::string& fragment) const
    {
        for (const ReportedIssue& issue : issues)
            if (issue.what.find(fragment) != std::string::npos)
                return &issue;
        return nullptr;
    }
    // Gives every one of the 23 store images of a store folder a size (the door strip gets doorWidth).
    void AddStoreImages(const std::string& store, int doorWidth = 408);
};

// A fresh folder as the current directory for one test; the data tables and media caches are freed on both ends
// so every test starts from empty tables.
class ScratchGameFolder
{
public:
    ScratchGameFolder();
    ~ScratchGameFolder();
    void Write(const std::string& relativePath, const std::string& text);

private:
    TestSupport::WorkingFolder mFolder;
};
