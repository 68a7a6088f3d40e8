// Scratch folders for tests: each is private to one test (mkdtemp, so parallel test runs never share one) and is
// removed with everything in it when the test ends. WorkingFolder also makes its folder the current directory for
// readers that resolve relative paths, and restores the old one before the folder goes away.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace TestSupport
{

class TempFolder
{
public:
    explicit TempFolder(const std::string& prefix = "velmora-test")
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        // A test without its folder would write into the shared temp folder, so failing loudly is the safe choice.
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed for " + pattern);
        mPath = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(mPath, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return mPath; }
    // The full path of a file or folder inside, as the string most readers take.
    std::string operator/(const std::string& name) const { return (mPath / name).string(); }

private:
    std::filesystem::path mPath;
};

class WorkingFolder : public TempFolder
{
public:
    explicit WorkingFolder(const std::string& prefix = "velmora-test")
        : TempFolder(prefix), mPrevious(std::filesystem::current_path())
    {
        std::filesystem::current_path(Path());
    }
    ~WorkingFolder()
    {
        // Leave the folder before it is removed, so later tests never run in a deleted directory.
        std::error_code ignored;
        std::filesystem::current_path(mPrevious, ignored);
    }

private:
    std::filesystem::path mPrevious;
};

} // namespace TestSupport
