// SafeOutput against the targets a careless or hostile command line names: links are written through to their
// target, folders and devices are refused without being touched, and every failure on the way (a full disk here,
// through a file size limit) leaves the old file in place and no temporary file behind.
#include "framework/platform/SafeOutput.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

namespace fs = std::filesystem;
using Zestra::SafeOutput;
using Zestra::WriteWholeFile;

bool NoTemporaryFiles(const fs::path& folder)
{
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        if (entry.path().filename().string().find(".tmp") != std::string::npos)
            return false;
    return true;
}

TEST(SafeOutput, LinksAreWrittenThroughToTheirTargetAndStayLinks)
{
    TestSupport::TempFolder folder("velmora-output");
    fs::create_directories(folder.Path() / "real");
    TestSupport::WriteFile(folder.Path() / "real/old.png", "old");
    fs::create_symlink("real/old.png", folder.Path() / "relative");
    fs::create_symlink(folder.Path() / "relative", folder.Path() / "chain");
    fs::create_symlink(folder.Path() / "real/new.png", folder.Path() / "dangling");

    std::string error;
    ASSERT_TRUE(WriteWholeFile(folder / "chain", "through two links", 0644, error)) << error;
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "chain"));
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "relative"));
    EXPECT_EQ(TestSupport::ReadFile(folder.Path() / "real/old.png"), "through two links");

    ASSERT_TRUE(WriteWholeFile(folder / "dangling", "a new file", 0644, error)) << error;
    EXPECT_TRUE(fs::is_symlink(folder.Path() / "dangling"));
    EXPECT_EQ(TestSupport::ReadFile(folder.Path() / "real/new.png"), "a new file");
    EXPECT_TRUE(NoTemporaryFiles(folder.Path()));
}

TEST(SafeOutput, ARefusedTargetIsNamedAndLeftAlone)
{
    TestSupport::TempFolder folder("velmora-output");
    fs::create_directories(folder.Path() / "a folder/inside");
    fs::create_symlink(folder.Path() / "a folder", folder.Path() / "link to folder");
    fs::create_symlink(folder.Path() / "loop2", folder.Path() / "loop1");
    fs::create_symlink(folder.Path() / "loop1", folder.Path() / "loop2");
    ASSERT_EQ(0, mkfifo((folder / "pipe").c_str(), 0600));
    struct Case
    {
        std::string path;
        std::string fragment;
    };
    const Case cases[] = {
        {folder / "a folder", "is a folder"},
        {folder / "link to folder", "is a folder"},
        {folder / "pipe", "not a regular file"},
        {"/dev/null", "not a regular file"},
        {"/dev/full", "not a regular file"},
        {folder / "missing/x.png", "does not exist"},
        {folder / "loop1", "symbolic links"},
        {"", "no file name"},
    };
    for (const Case& c : cases)
    {
        std::string error;
        EXPECT_FALSE(WriteWholeFile(c.path, "bytes", 0644, error)) << c.path;
        EXPECT_NE(error.find(c.fragment), std::string::npos) << c.path << ": " << error;
        if (!c.path.empty() && c.path != "/dev/null" && c.path != "/dev/full")
        {
            EXPECT_NE(error.find(c.path.substr(c.path.rfind('/') + 1)), std::string::npos) << error;
        }
    }
    EXPECT_TRUE(fs::is_directory(folder.Path() / "a folder/inside"));
    EXPECT_TRUE(fs::is_fifo(folder.Path() / "pipe"));
    struct stat st;
    ASSERT_EQ(0, stat("/dev/null", &st));
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_FALSE(fs::exists("/dev/null.tmp"));
    EXPECT_TRUE(NoTemporaryFiles(folder.Path()));
}

// A disk that fills up at any point of the write: the file size limit makes every write beyond it fail as a full
// disk would, in a child process so the limit does not outlive the case.
TEST(SafeOutput, AFailedWriteAtAnyPointKeepsTheOldFileAndRemovesItsOwn)
{
    TestSupport::TempFolder folder("velmora-output");
    const std::string path = folder / "demo.dmo";
    TestSupport::WriteFile(path, "the old demo");
    const std::string big(200000, 'x');
    for (size_t limit : {size_t(0), size_t(1), size_t(4096), big.size() - 1})
    {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit cap{rlim_t(limit), RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &cap);
            SafeOutput out;
            std::string error;
            if (!out.Open(path, 0644, error))
                _exit(2);
            out.Write(big);
            const bool committed = out.Commit(error);
            _exit(!committed && error.find("demo.dmo") != std::string::npos &&
                          error.find("File too large") != std::string::npos
                      ? 0
                      : 1);
        }
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "limit " << limit;
        EXPECT_EQ(TestSupport::ReadFile(path), "the old demo") << "limit " << limit;
        EXPECT_TRUE(NoTemporaryFiles(folder.Path())) << "limit " << limit;
    }
    std::string error;
    ASSERT_TRUE(WriteWholeFile(path, big, 0644, error)) << error;
    EXPECT_EQ(TestSupport::ReadFile(path), big);
}

TEST(SafeOutput, AReplacedFileKeepsItsPermissionsAndANewOneGetsTheGivenOnes)
{
    TestSupport::TempFolder folder("velmora-output");
    const std::string shared = folder / "shared.png";
    TestSupport::WriteFile(shared, "x");
    ASSERT_EQ(0, chmod(shared.c_str(), 0664));
    std::string error;
    ASSERT_TRUE(WriteWholeFile(shared, "y", 0600, error)) << error;
    ASSERT_TRUE(WriteWholeFile(folder / "fresh", "z", 0600, error)) << error;
    struct stat st;
    ASSERT_EQ(0, stat(shared.c_str(), &st));
    EXPECT_EQ(st.st_mode & 0777, 0664u);
    ASSERT_EQ(0, stat((folder / "fresh").c_str(), &st));
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // An abandoned output leaves the target as it was.
    {
        SafeOutput out;
        ASSERT_TRUE(out.Open(shared, 0644, error)) << error;
        out.Write("never");
    }
    EXPECT_EQ(TestSupport::ReadFile(shared), "y");
    EXPECT_TRUE(NoTemporaryFiles(folder.Path()));
}

} // namespace
