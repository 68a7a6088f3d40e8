#include "framework/pak/PakFormat.h"
#include "framework/pak/PakInterface.h"
#include "tests/framework/pak/PakTestUtil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace Zestra;
using PakTest::RawPak;
using PakTest::TempFolder;

namespace
{

struct RunResult
{
    int status = -1;
    std::string output; // stdout and stderr together
};

RunResult RunTool(const std::string& arguments)
{
    RunResult result;
    std::string command = std::string("'") + VELMORA_PAK_TOOL + "' " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    char chunk[512];
    size_t n;
    while ((n = fread(chunk, 1, sizeof(chunk), pipe)) > 0)
        result.output.append(chunk, n);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string Quote(const std::string& path)
{
    return "'" + path + "'";
}

} // namespace

TEST(VelmoraPak, CreatedArchiveReadsBackThroughTheGame)
{
    TempFolder dir;
    const std::vector<std::pair<std::string, std::string>> files = {
        {"properties/Resources.xml", "<ResourceManifest/>\r\n"},
        {"images/Store1/Shirt.png", std::string("\x89PNG\0\xF7\x08\xFF", 8)},
        {"empty.txt", ""},
        {"deep/a/b/c/d.txt", std::string(70000, 'z')},
    };
    for (const auto& [name, content] : files)
        PakTest::WriteFile(dir / ("src/" + name), content);
    struct timespec times[2] = {{1500000000, 0}, {1500000000, 0}};
    utimensat(AT_FDCWD, (dir / "src/empty.txt").c_str(), times, 0);

    RunResult create = RunTool("create " + Quote(dir / "main.pak") + " " + Quote(dir / "src"));
    ASSERT_EQ(create.status, 0) << create.output;
    RunResult verify = RunTool("verify " + Quote(dir / "main.pak"));
    EXPECT_EQ(verify.status, 0) << verify.output;
    EXPECT_NE(verify.output.find("OK, 4 entries"), std::string::npos) << verify.output;
    RunResult list = RunTool("list " + Quote(dir / "main.pak"));
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.output.find("2017-07-14 02:40:00  empty.txt"), std::string::npos) << list.output;
    EXPECT_NE(list.output.find("70000"), std::string::npos) << list.output;

    {
        PakInterface pak;
        ASSERT_TRUE(pak.MountArchive(dir / "main.pak")) << pak.ErrorText();
        for (const auto& [name, content] : files)
        {
            std::string text;
            ASSERT_TRUE(ArchiveFileReadAll(name, text)) << name;
            EXPECT_EQ(text, content) << name;
            EXPECT_NE(pak.FindEntry(name), nullptr) << name; // served by the archive, not the disk
        }
        uint64_t time = 0;
        ASSERT_TRUE(ArchiveFileTime("EMPTY.TXT", time));
        EXPECT_EQ(FileTimeToUnix(time), 1500000000);
    }

    RunResult extract = RunTool("extract " + Quote(dir / "main.pak") + " " + Quote(dir / "out"));
    ASSERT_EQ(extract.status, 0) << extract.output;
    for (const auto& [name, content] : files)
        EXPECT_EQ(PakTest::ReadFile(dir / ("out/" + name)), content) << name;
    struct stat info;
    ASSERT_EQ(stat((dir / "out/empty.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, 1500000000);
}

TEST(VelmoraPak, VerifyExplainsWhatIsWrong)
{
    struct Case
    {
        const char* what;
        RawPak pak;
        const char* message;
    };
    std::vector<Case> cases;
    cases.push_back({"magic", RawPak().Header(0xDEADBEEF).EndTable(), "wrong magic"});
    cases.push_back({"version", RawPak().Header(kPakMagic, 3).EndTable(), "unsupported archive version 3"});
    cases.push_back({"truncated", RawPak().Header().Record("abc", 1).Cut(14), "truncated in record 1"});
    cases.push_back({"past end", RawPak().Header().Record("a", 2).Record("b", 50).EndTable().Data("abc"),
                     "entry 'b' lies past the end"});
    cases.push_back({"empty name", RawPak().Header().Record("", 0).EndTable(), "unusable name ''"});
    cases.push_back({"climbing", RawPak().Header().Record("a\\..\\..\\x", 0).EndTable(), "unusable name"});
    cases.push_back({"duplicate", RawPak().Header().Record("A\\b", 0).Record("a/B", 0).EndTable(), "duplicate name"});

    TempFolder dir;
    for (const Case& c : cases)
    {
        c.pak.WriteTo(dir / "bad.pak");
        RunResult verify = RunTool("verify " + Quote(dir / "bad.pak"));
        EXPECT_EQ(verify.status, 1) << c.what;
        EXPECT_NE(verify.output.find(c.message), std::string::npos) << c.what << ": " << verify.output;
    }
    RunResult missing = RunTool("verify " + Quote(dir / "none.pak"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find("cannot open"), std::string::npos);
}

TEST(VelmoraPak, ExtractNeverWritesOutsideItsFolder)
{
    TempFolder dir;
    RawPak()
        .Header()
        .Record("..\\escaped.txt", 1)
        .Record("sub\\..\\..\\escaped2.txt", 1)
        .Record("\\tmp\\rooted.txt", 1)
        .Record("good\\kept.txt", 2)
        .EndTable()
        .Data("xyzok")
        .WriteTo(dir / "evil.pak");
    std::filesystem::create_directories(dir.Path() / "inner");
    RunResult extract = RunTool("extract " + Quote(dir / "evil.pak") + " " + Quote(dir / "inner/out"));
    EXPECT_EQ(extract.status, 1) << extract.output;
    EXPECT_EQ(PakTest::ReadFile(dir / "inner/out/good/kept.txt"), "ok");
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "inner/escaped.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "escaped2.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "inner/escaped2.txt"));
    EXPECT_FALSE(std::filesystem::exists("/tmp/rooted.txt"));
}

TEST(VelmoraPak, HelpAndUsage)
{
    struct Case
    {
        const char* arguments;
        int status;
        const char* text;
    };
    const Case cases[] = {
        {"-help", 0, "create OUT.pak DIR"}, {"create -help", 0, "modification time"},
        {"list -help", 0, "velmora-pak list PAK"}, {"extract -help", 0, "skipped"},
        {"verify -help", 0, "every entry lies inside"}, {"", 2, "usage"}, {"frobnicate", 2, "unknown command"},
        {"create onlyone", 2, "expected OUT.pak DIR"}, {"create x.pak /no/such/dir", 1, "not a folder"},
    };
    for (const Case& c : cases)
    {
        RunResult run = RunTool(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_NE(run.output.find(c.text), std::string::npos) << c.arguments << ": " << run.output;
    }
}
