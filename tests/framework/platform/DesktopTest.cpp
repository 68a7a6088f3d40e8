#include "framework/platform/Desktop.h"

#include "framework/platform/Paths.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
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

TEST(PathsTest, DataFolderIsBesideTheProgramOrWhereAnInstallationPutIt)
{
    // One tree holding every layout: a build folder, a package (usr/games + usr/share/games/...), a prefix install
    // (bin + share/...), and a program whose data is nowhere to be found.
    TempFolder root;
    std::string error;
    for (const char* folder : {"build/game/properties", "usr/games", "usr/share/games/velmora-row", "pre/bin",
                               "pre/share/velmora-row/properties", "lost/bin", "both/bin/properties",
                               "both/share/velmora-row/properties"})
        ASSERT_TRUE(Zestra::MakeFolders(root / folder, 0700, error)) << error;
    for (const char* file : {"build/game/properties/resources.xml", "usr/share/games/velmora-row/main.pak",
                             "pre/share/velmora-row/properties/resources.xml", "both/bin/properties/resources.xml",
                             "both/share/velmora-row/properties/resources.xml"})
        ASSERT_TRUE(Zestra::WriteFileAtomically(root / file, "x", error)) << error;

    const std::vector<std::string> candidates = {"../share/games/velmora-row", "../share/velmora-row"};
    const std::vector<std::string> markers = {"main.pak", "properties/resources.xml"};
    struct Case
    {
        std::string program;
        std::string expected;
    };
    const Case cases[] = {
        {root / "build/game/", root / "build/game/"},
        {root / "build/game", root / "build/game/"},
        {root / "usr/games/", root / "usr/games/../share/games/velmora-row/"},
        {root / "pre/bin/", root / "pre/bin/../share/velmora-row/"},
        {root / "lost/bin/", root / "lost/bin/"},
        // Data beside the program wins, so a build tree never reads an older installation's files.
        {root / "both/bin/", root / "both/bin/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Zestra::FindDataFolder(c.program, candidates, markers)) << c.program;
    EXPECT_EQ("./", Zestra::FindDataFolder("", {}, markers));
}

namespace
{

// Whether the process is gone (or only a zombie nobody reaps, which holds no files).
bool ProcessGone(pid_t pid)
{
    std::FILE* stat = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
    if (stat == nullptr)
        return true;
    int ignoredPid = 0;
    char name[256] = {};
    char state = '?';
    const int got = std::fscanf(stat, "%d %255s %c", &ignoredPid, name, &state);
    std::fclose(stat);
    return got == 3 && (state == 'Z' || state == 'X');
}

} // namespace

// A message box shown by a forked child of the game (as the display library does): when the game is killed, the
// box must neither keep the one-copy lock nor live on, or every later start would quietly give up.
TEST(SingleInstanceTest, AForkedMessageBoxNeitherKeepsTheLockNorOutlivesTheGame)
{
    TempFolder folder;
    int pipeFds[2];
    ASSERT_EQ(0, pipe(pipeFds));
    const pid_t game = fork();
    ASSERT_GE(game, 0);
    if (game == 0)
    {
        close(pipeFds[0]);
        SingleInstance lock(folder.Path());
        if (!lock.Acquire("Velmora Row"))
            _exit(3);
        Zestra::ForkedChildGuard guard(lock.LockDescriptor());
        const pid_t box = fork();
        if (box == 0)
        {
            pause(); // the box waits for a click that never comes
            _exit(0);
        }
        ssize_t sent = write(pipeFds[1], &box, sizeof box);
        (void)sent;
        pause();
        _exit(0);
    }
    close(pipeFds[1]);
    pid_t box = -1;
    ASSERT_EQ(ssize_t(sizeof box), read(pipeFds[0], &box, sizeof box));
    close(pipeFds[0]);
    {
        SingleInstance later(folder.Path());
        EXPECT_FALSE(later.Acquire("Velmora Row")) << "the game itself holds the lock";
    }
    kill(game, SIGKILL);
    int status = 0;
    ASSERT_EQ(game, waitpid(game, &status, 0));
    bool gone = false;
    for (int i = 0; i < 200 && !gone; ++i)
    {
        gone = ProcessGone(box);
        if (!gone)
            usleep(10000);
    }
    EXPECT_TRUE(gone) << "the message box outlived the game";
    if (!gone)
        kill(box, SIGKILL);
    SingleInstance later(folder.Path());
    EXPECT_TRUE(later.Acquire("Velmora Row")) << "the lock outlived the game";
}
