#include "framework/platform/Desktop.h"

#include "framework/platform/Paths.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

using TestSupport::TempFolder;
using Zestra::SingleInstance;

TEST(SingleInstanceTest, SecondStartNotifiesTheFirstAndTheLockDiesWithItsHolder)
{
    TempFolder folder;
    auto first = std::make_unique<SingleInstance>(folder.Path());
    ASSERT_TRUE(first->Acquire("Velmora Row"));
    EXPECT_TRUE(first->IsHeld());
    EXPECT_FALSE(first->PollNotify());

    SingleInstance second(folder.Path());
    EXPECT_FALSE(second.Acquire("Velmora Row"));
    EXPECT_FALSE(second.IsHeld());
    EXPECT_TRUE(first->PollNotify());
    EXPECT_FALSE(first->PollNotify()) << "one knock, one notification";

    SingleInstance other(folder.Path());
    EXPECT_TRUE(other.Acquire("Another Game")) << "different names do not block each other";

    first.reset();
    SingleInstance third(folder.Path());
    EXPECT_TRUE(third.Acquire("Velmora Row"));
}

TEST(LaunchTest, ReportsProgramsThatCannotStart)
{
    std::string error;
    EXPECT_TRUE(Zestra::LaunchDetached({"true"}, error)) << error;
    EXPECT_FALSE(Zestra::LaunchDetached({"velmora-no-such-program-here"}, error));
    EXPECT_NE(std::string::npos, error.find("velmora-no-such-program-here")) << error;
    EXPECT_FALSE(Zestra::LaunchDetached({}, error));
    // An opener would take a leading '-' as one of its options.
    EXPECT_FALSE(Zestra::OpenUrlWithDesktop("--help", error));
    EXPECT_FALSE(Zestra::OpenUrlWithDesktop("", error));
}

TEST(PathsTest, XdgVariablesDecideTheFoldersAndRelativeOnesAreIgnored)
{
    struct Case
    {
        const char* variable;
        const char* value; // nullptr: unset
        std::string (*folder)();
        std::string expected;
    };
    const std::string home = "/home/tester";
    const Case cases[] = {
        {"XDG_CONFIG_HOME", "/cfg/", &Zestra::ConfigRoot, "/cfg"},
        {"XDG_CONFIG_HOME", nullptr, &Zestra::ConfigRoot, home + "/.config"},
        {"XDG_CONFIG_HOME", "relative/cfg", &Zestra::ConfigRoot, home + "/.config"},
        {"XDG_DATA_HOME", "/data", &Zestra::DataRoot, "/data"},
        {"XDG_DATA_HOME", "", &Zestra::DataRoot, home + "/.local/share"},
        {"XDG_RUNTIME_DIR", "/run/user/77", &Zestra::RuntimeFolder, "/run/user/77"},
        {"XDG_RUNTIME_DIR", nullptr, &Zestra::RuntimeFolder, "/tmp/velmora-" + std::to_string(getuid())},
    };
    std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", home.c_str(), 1);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.variable) + "=" + (c.value ? c.value : "(unset)"));
        const char* old = std::getenv(c.variable);
        std::string saved = old ? old : "";
        if (c.value)
            setenv(c.variable, c.value, 1);
        else
            unsetenv(c.variable);
        EXPECT_EQ(c.expected, c.folder());
        if (old)
            setenv(c.variable, saved.c_str(), 1);
        else
            unsetenv(c.variable);
    }
    setenv("HOME", savedHome.c_str(), 1);
}

TEST(PathsTest, MakeFoldersCreatesPrivateParents)
{
    TempFolder root;
    std::string error;
    ASSERT_TRUE(Zestra::MakeFolders(root / "a/b c/d", 0700, error)) << error;
    struct stat st;
    ASSERT_EQ(0, stat((root / "a/b c").c_str(), &st));
    EXPECT_EQ(0700u, st.st_mode & 0777u);
    EXPECT_TRUE(Zestra::MakeFolders(root / "a/b c/d", 0700, error)) << "existing folders are fine";
    ASSERT_TRUE(Zestra::WriteFileAtomically(root / "a/file", "x", error)) << error;
    EXPECT_FALSE(Zestra::MakeFolders(root / "a/file/sub", 0700, error));
    EXPECT_FALSE(error.empty());
}
