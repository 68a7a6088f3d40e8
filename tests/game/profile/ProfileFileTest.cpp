#include "ProfileTestSupport.h"

#include "game/data/LevelStats.h"
#include "game/profile/ProfileFile.h"

#include <algorithm>
#include <cfloat>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <locale>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

unsigned Mode(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? unsigned(st.st_mode & 07777) : 0xFFFFu;
}

// A player with a run, so the file holds every kind of element.
void MakePlayer(const std::string& name, double cash)
{
    CreateProfile(name);
    MarkLevelPassed(1, 0, true);
    GameState run = NewGameState(GetStoreInfo(1));
    run.cash = cash;
    SetSavedGame(&run);
}

class CommaDecimals : public std::numpunct<char>
{
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

} // namespace

TEST_F(ProfileTest, SavesKeepThePreviousFileAsBackupForTheUserAlone)
{
    // The data folder is made on the way, private to the user.
    const std::string folder = data / "deep/er";
    ProfileManager first(host, folder);
    EXPECT_EQ(GetProfilePath(), folder + "/profiles.xml");
    EXPECT_EQ(Mode(folder) & 077u, 0u);

    MakePlayer("Ann", 10);
    ASSERT_TRUE(SaveProfiles());
    const std::string one = TestSupport::ReadFile(GetProfilePath());
    EXPECT_FALSE(std::filesystem::exists(GetProfilePath() + ".bak"));
    MakePlayer("Bo", 20);
    ASSERT_TRUE(SaveProfiles());
    EXPECT_EQ(TestSupport::ReadFile(GetProfilePath() + ".bak"), one);
    EXPECT_EQ(TestSupport::ReadFile(GetProfilePath()), FormatProfiles(GetProfiles()));
    for (const std::string& path : {GetProfilePath(), GetProfilePath() + ".bak"})
        EXPECT_EQ(Mode(path), 0600u) << path;
    EXPECT_FALSE(std::filesystem::exists(GetProfilePath() + ".tmp"));

    // A file an older copy left readable and writable by everyone is not carried over.
    chmod(GetProfilePath().c_str(), 0666);
    ASSERT_TRUE(SaveProfiles());
    EXPECT_EQ(Mode(GetProfilePath()), 0600u);
    EXPECT_EQ(Mode(GetProfilePath() + ".bak"), 0600u);
}

// A write that fails after N bytes (the file-size limit stands in for a full disk) leaves the old file and its
// backup exactly as they were, and the save reports the failure.
TEST_F(ProfileTest, FailedWritesLeaveTheOldFileByteIdentical)
{
    Load();
    MakePlayer("Ann", 10);
    ASSERT_TRUE(SaveProfiles());
    MakePlayer("Bo", 20);
    ASSERT_TRUE(SaveProfiles());
    const std::string oldMain = ReadMain();
    const std::string oldBackup = TestSupport::ReadFile(BackupPath());
    MakePlayer("Cy", 30);
    const size_t newSize = FormatProfiles(GetProfiles()).size();

    for (size_t limit : {size_t(0), size_t(1), size_t(100), newSize / 2, newSize - 1})
    {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit cap{rlim_t(limit), RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &cap);
            std::string error;
            const bool saved = SaveProfiles(&error);
            _exit(!saved && error.find("File too large") != std::string::npos ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "limit " << limit;
        EXPECT_EQ(ReadMain(), oldMain) << "limit " << limit;
        EXPECT_EQ(TestSupport::ReadFile(BackupPath()), oldBackup) << "limit " << limit;
        EXPECT_FALSE(std::filesystem::exists(MainPath() + ".tmp")) << "limit " << limit;
    }
    ASSERT_TRUE(SaveProfiles()) << "without the limit the same save goes through";
    EXPECT_EQ(TestSupport::ReadFile(BackupPath()), oldMain);
}

TEST_F(ProfileTest, SavesThatCannotReplaceTheFileReportFalseOnce)
{
    Load();
    MakePlayer("Ann", 10);
    ASSERT_TRUE(SaveProfiles());
    const std::string old = ReadMain();
    MakePlayer("Bo", 20);

    // The temporary name is taken by a folder that cannot be removed.
    std::filesystem::create_directories(MainPath() + ".tmp/x");
    testing::internal::CaptureStderr();
    std::string error;
    EXPECT_FALSE(SaveProfiles(&error));
    std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(error.find("profiles.xml.tmp"), std::string::npos) << error;
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    EXPECT_NE(printed.find(MainPath()), std::string::npos) << printed;
    EXPECT_EQ(ReadMain(), old);
    std::filesystem::remove_all(MainPath() + ".tmp");

    // The file itself has become a folder: the rename fails and the temporary file is cleaned up.
    std::filesystem::remove(MainPath());
    std::filesystem::create_directories(MainPath() + "/keep");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveProfiles(&error));
    printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    EXPECT_FALSE(std::filesystem::exists(MainPath() + ".tmp"));
    EXPECT_TRUE(std::filesystem::exists(MainPath() + "/keep"));
    std::filesystem::remove_all(MainPath());

    // A read-only folder (root may write anyway, so only checked for other users).
    if (geteuid() != 0)
    {
        WriteMain(old);
        chmod(data.Path().c_str(), 0500);
        EXPECT_FALSE(SaveProfiles(&error));
        chmod(data.Path().c_str(), 0700);
        EXPECT_EQ(ReadMain(), old);
    }
    EXPECT_TRUE(SaveProfiles());
}

// Writing and reading give the same file whatever the process locale says about decimal points: under the C++
// global locale with decimal commas and, where the system has one, a C locale with decimal commas.
TEST_F(ProfileTest, NumbersIgnoreTheLocale)
{
    Load();
    MakePlayer("Ann", 1234.5);
    const std::string expected = FormatProfiles(GetProfiles());
    ASSERT_NE(expected.find("cash=\"1234.50\""), std::string::npos);

    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimals));
    const std::string previousC = std::setlocale(LC_ALL, nullptr);
    bool commaLocale = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8", "ru_RU.UTF-8"})
        if (std::setlocale(LC_ALL, name) != nullptr)
        {
            char probe[16];
            std::snprintf(probe, sizeof probe, "%.1f", 0.5);
            commaLocale = std::string(probe) == "0,5";
            break;
        }
    ASSERT_TRUE(SaveProfiles());
    const std::string written = ReadMain();
    Load();
    const std::string reread = FormatProfiles(GetProfiles());
    std::setlocale(LC_ALL, previousC.c_str());
    std::locale::global(previous);

    EXPECT_EQ(written, expected);
    EXPECT_EQ(reread, expected);
    ASSERT_TRUE(GetProfile(0)->savedGame);
    EXPECT_EQ(GetProfile(0)->savedGame->cash, 1234.5);
    if (!commaLocale)
        std::printf("note: no decimal-comma C locale on this system; the C++ global locale was checked\n");
}

// The file's money text is what printf("%0.2f") makes of the value narrowed to a float (checked here in the C
// locale), including the rounding of ties and values at the float range's end.
TEST(ProfileFileFormat, MoneyIsAFloatWithTwoDecimals)
{
    for (double value : {12.75, 0.0, 0.005, 0.125, 2.675, 1234567.88, 99999.995, -2.5, 1e300, -1e300})
    {
        const float narrowed = float(std::clamp(value, -double(FLT_MAX), double(FLT_MAX)));
        char expected[128];
        std::snprintf(expected, sizeof expected, "%0.2f", double(narrowed));
        EXPECT_EQ(FormatFileMoney(value), expected) << value;
    }
    EXPECT_EQ(FormatFileMoney(12.75), "12.75");
    EXPECT_EQ(FormatFileMoney(std::numeric_limits<double>::quiet_NaN()), "0.00");
    EXPECT_EQ(FormatFileMoney(std::numeric_limits<double>::infinity()), "0.00");
}
