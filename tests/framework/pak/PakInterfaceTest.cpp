#include "framework/pak/PakInterface.h"

#include "framework/pak/PakFormat.h"
#include "tests/framework/pak/PakTestUtil.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Zestra;
using PakTest::RawPak;
using PakTest::TempFolder;

namespace
{

std::string ReadAllThrough(PakInterface& pak, const std::string& path)
{
    PFILE* file = pak.Open(path, "rb");
    if (file == nullptr)
        return "<missing>";
    std::string text;
    char chunk[7];
    size_t n;
    while ((n = pak.Read(chunk, 1, sizeof(chunk), file)) > 0)
        text.append(chunk, n);
    pak.Close(file);
    return text;
}

} // namespace

TEST(PakPath, NormalisesSeparatorsCaseAndParents)
{
    struct Case
    {
        const char* input;
        const char* expected;
    };
    const Case cases[] = {
        {"images/Logo.png", "IMAGES\\LOGO.PNG"},
        {"a//b\\\\c", "A\\B\\C"},
        {"a/b/../c", "A\\C"},
        {"../x", "X"},           // nothing above the root to climb to
        {"./a", ".\\A"},         // a single dot is an ordinary character
        {"a/..b", "A\\..B"},     // only a whole ".." component climbs
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalizePakPath(c.input), c.expected) << c.input;
}

TEST(PakInterface, FindsEntriesByAnySpellingAndReadsTheirBytes)
{
    TempFolder dir;
    PakTest::WritePak(dir / "main.pak", {{"Properties\\Resources.XML", "<x/>"}, {"images\\a.bin", "0123456789"}});
    PakInterface pak;
    ASSERT_TRUE(pak.MountArchive(dir / "main.pak")) << pak.ErrorText();
    EXPECT_EQ(ReadAllThrough(pak, "properties/resources.xml"), "<x/>");
    EXPECT_EQ(ReadAllThrough(pak, "PROPERTIES\\\\RESOURCES.XML"), "<x/>");
    EXPECT_EQ(ReadAllThrough(pak, "images/../images/A.BIN"), "0123456789");
    EXPECT_EQ(pak.Open("images/missing.bin", "rb"), nullptr);
    // The archive is itself reachable as an entry holding its raw bytes.
    EXPECT_NE(pak.FindEntry(dir / "main.pak"), nullptr);
}

TEST(PakInterface, SeekClampsToTheEntry)
{
    TempFolder dir;
    PakTest::WritePak(dir / "p.pak", {{"f", "0123456789"}});
    PakInterface pak;
    ASSERT_TRUE(pak.MountArchive(dir / "p.pak"));
    struct Case
    {
        int64_t start;
        int64_t offset;
        int origin;
        int64_t expected;
    };
    const Case cases[] = {
        {0, 5, 2, 10}, {0, -5, 2, 5}, {0, -100, 0, 0}, {4, 3, 1, 7}, {4, -9, 1, 0}, {0, 99, 0, 10},
        {3, INT64_MAX, 1, 10}, {3, INT64_MIN, 1, 0},
    };
    PFILE* file = pak.Open("F", "r");
    ASSERT_NE(file, nullptr);
    for (const Case& c : cases)
    {
        pak.Seek(file, c.start, 0);
        EXPECT_EQ(pak.Seek(file, c.offset, c.origin), 0);
        EXPECT_EQ(pak.Tell(file), c.expected) << c.start << " " << c.offset << " " << c.origin;
    }
    pak.Close(file);
}

TEST(PakInterface, CharacterAndLineReadsSkipCarriageReturns)
{
    TempFolder dir;
    const std::string content = "ab\r\ncd\r\nlast";
    PakTest::WritePak(dir / "p.pak", {{"t.txt", content}});
    PakTest::WriteFile(dir / "loose.txt", content);
    PakInterface pak;
    ASSERT_TRUE(pak.MountArchive(dir / "p.pak"));
    // An archive entry and a loose file must read alike.
    for (const std::string& path : {std::string("t.txt"), dir / "loose.txt"})
    {
        PFILE* file = pak.Open(path, "rt");
        ASSERT_NE(file, nullptr) << path;
        EXPECT_EQ(pak.GetChar(file), 'a');
        EXPECT_EQ(pak.UngetChar('a', file), 'a');
        char line[16];
        ASSERT_NE(pak.GetLine(line, sizeof(line), file), nullptr);
        EXPECT_STREQ(line, "ab\n");
        ASSERT_NE(pak.GetLine(line, 3, file), nullptr); // length - 1 characters at most
        EXPECT_STREQ(line, "cd");
        EXPECT_EQ(pak.GetChar(file), '\n');
        ASSERT_NE(pak.GetLine(line, sizeof(line), file), nullptr);
        EXPECT_STREQ(line, "last");
        EXPECT_TRUE(pak.AtEnd(file)) << path;
        EXPECT_EQ(pak.GetLine(line, sizeof(line), file), nullptr);
        EXPECT_EQ(pak.GetChar(file), -1);

        // Whole items only, but the position moves past a partial one.
        pak.Seek(file, 0, 0);
        char items[64] = {};
        EXPECT_EQ(pak.Read(items, 5, 10, file), 2u) << path; // 12 bytes: 2 whole items
        EXPECT_EQ(pak.Tell(file), 12);
        EXPECT_EQ(std::string(items, 12), content);
        EXPECT_EQ(pak.Read(items, 0, 10, file), 0u);
        pak.Close(file);
    }
}

TEST(PakInterface, WriteModesAndUnarchivedPathsUseTheFileSystem)
{
    TempFolder dir;
    PakTest::WritePak(dir / "p.pak", {{"save.txt", "archived"}});
    PakTest::WriteFile(dir / "Loose/Data.TXT", "loose");
    PakInterface pak;
    ASSERT_TRUE(pak.MountArchive(dir / "p.pak"));

    // The archive holds "save.txt" relative to the current folder; writing there goes to disk all the same.
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    PFILE* out = pak.Open("save.txt", "wb");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->mEntry, nullptr);
    EXPECT_EQ(ArchiveFileWrite("new", 1, 3, out), 3u);
    pak.Close(out);
    EXPECT_EQ(ReadAllThrough(pak, "save.txt"), "archived"); // reading still prefers the archive
    std::filesystem::current_path(previous);
    EXPECT_EQ(PakTest::ReadFile(dir / "save.txt"), "new");

    // Loose paths written with backslashes and another letter case still find the file on disk.
    EXPECT_EQ(ReadAllThrough(pak, dir / "loose\\data.txt"), "loose");
    EXPECT_EQ(ReadAllThrough(pak, dir / "LOOSE/DATA.txt"), "loose");
    EXPECT_EQ(pak.Open(dir / "loose/none.txt", "rb"), nullptr);
    EXPECT_EQ(pak.Open(dir / "loose", "rb"), nullptr); // a folder is not an empty file
    // Folder listings are cached; a file written later under its own name is still found.
    PakTest::WriteFile(dir / "Loose/Later.txt", "later");
    EXPECT_EQ(ReadAllThrough(pak, dir / "Loose\\Later.txt"), "later");
}

TEST(PakInterface, LaterArchiveOverridesEarlierEntries)
{
    TempFolder dir;
    PakTest::WritePak(dir / "one.pak", {{"a.txt", "first"}, {"only1.txt", "1"}});
    PakTest::WritePak(dir / "two.pak", {{"A.TXT", "second"}});
    PakInterface pak;
    ASSERT_TRUE(pak.MountArchive(dir / "one.pak"));
    ASSERT_TRUE(pak.MountArchive(dir / "two.pak"));
    EXPECT_EQ(ReadAllThrough(pak, "a.txt"), "second");
    EXPECT_EQ(ReadAllThrough(pak, "only1.txt"), "1");
}

TEST(PakInterface, DamagedArchivesAreRefusedOrLoseOnlyTheirBadEntries)
{
    struct Case
    {
        const char* what;
        RawPak pak;
        bool mounts;
        const char* readable; // an entry that must read "ok" when mounted
    };
    std::vector<Case> cases;
    cases.push_back({"wrong magic", RawPak().Header(0x12345678).EndTable(), false, nullptr});
    cases.push_back({"wrong version", RawPak().Header(kPakMagic, 1).EndTable(), false, nullptr});
    cases.push_back({"short header", RawPak().Header().Cut(5), false, nullptr});
    cases.push_back({"no end marker", RawPak().Header().Record("a", 0), false, nullptr});
    cases.push_back({"record cut in its name", RawPak().Header().Record("abcdef", 2).Cut(12), false, nullptr});
    cases.push_back({"record cut in its time", RawPak().Header().Record("a", 2).Cut(20), false, nullptr});
    cases.push_back({"data past the end", RawPak().Header().Record("a", 100).EndTable().Data("short"), false, nullptr});
    cases.push_back({"huge size", RawPak().Header().Record("a", 0xFFFFFFFF).Record("b", 0xFFFFFFFF).EndTable(), false,
                     nullptr});
    cases.push_back({"empty name", RawPak().Header().Record("", 1).Record("g", 2).EndTable().Data("xok"), true, "g"});
    cases.push_back({"climbing name", RawPak().Header().Record("..\\evil", 1).Record("g", 2).EndTable().Data("xok"),
                     true, "g"});
    cases.push_back({"rooted name", RawPak().Header().Record("\\etc\\x", 1).Record("g", 2).EndTable().Data("xok"),
                     true, "g"});

    TempFolder dir;
    for (const Case& c : cases)
    {
        std::string path = dir / "bad.pak";
        c.pak.WriteTo(path);
        PakInterface pak;
        // Mounting stays quiet: what was left out is kept for the caller (tools and fuzzing mount thousands).
        ::testing::internal::CaptureStderr();
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(pak.MountArchive(path), c.mounts) << c.what << ": " << pak.ErrorText();
        EXPECT_EQ("", ::testing::internal::GetCapturedStdout()) << c.what;
        EXPECT_EQ("", ::testing::internal::GetCapturedStderr()) << c.what;
        // Exactly the records with a bad name are reported, each naming the archive.
        EXPECT_EQ(pak.Warnings().size(), c.readable != nullptr ? 1u : 0u) << c.what;
        for (const std::string& warning : pak.Warnings())
            EXPECT_EQ(0u, warning.find(path + ": record 1 ")) << warning;
        if (!c.mounts)
        {
            EXPECT_FALSE(pak.ErrorText().empty()) << c.what;
            EXPECT_EQ(pak.EntryCount(), 0u) << c.what;
        }
        if (c.readable != nullptr)
        {
            EXPECT_EQ(ReadAllThrough(pak, c.readable), "ok") << c.what;
            EXPECT_EQ(pak.EntryCount(), 2u) << c.what; // the good entry and the archive itself
        }
    }
    PakInterface pak;
    EXPECT_FALSE(pak.MountArchive(dir / "missing.pak"));
}

TEST(PakInterface, EntrySearchListsArchiveMatchesThenFiles)
{
    TempFolder dir;
    std::string folder = (dir.Path() / "imgs").string();
    PakTest::WriteFile(folder + "/disk.png", "d");
    PakTest::WriteFile(folder + "/skip.jpg", "d");
    PakTest::WritePak(dir / "p.pak", {{"Pics\\b.png", "1"}, {"Pics\\a.png", "22"}, {"Pics\\c.jpg", "3"},
                                      {"Pics\\Sub\\d.png", "4"}});
    PakInterface pak;
    ASSERT_TRUE(pak.MountArchive(dir / "p.pak"));

    auto list = [&pak](const std::string& pattern) {
        std::vector<std::string> names;
        PakFindData data;
        PakSearch* search = pak.FindFirstEntry(pattern, data);
        if (search == nullptr)
            return names;
        do
            names.push_back(data.mFileName + (data.mAttributes & kPakAttrDirectory ? "/" : ""));
        while (pak.FindNextEntry(search, data));
        pak.EndFind(search);
        return names;
    };
    EXPECT_EQ(list("pics/*.png"), (std::vector<std::string>{"a.png", "b.png", "d.png/"}));
    EXPECT_EQ(list("pics/*.*"), (std::vector<std::string>{"a.png", "b.png", "c.jpg", "d.png/"}));
    EXPECT_EQ(list(folder + "/*.png"), (std::vector<std::string>{"disk.png"}));
    EXPECT_TRUE(list("nothing/*.png").empty());
}

TEST(ArchiveFileFunctions, UseTheProcessWideInterfaceOrTheFileSystem)
{
    TempFolder dir;
    PakTest::WriteFile(dir / "plain.txt", "on disk");
    PakTest::WritePak(dir / "p.pak", {{"inside.txt", "in pak"}});
    std::string text;

    EXPECT_EQ(GetPakInterface(), nullptr);
    EXPECT_TRUE(ArchiveFileReadAll(dir / "plain.txt", text));
    EXPECT_EQ(text, "on disk");
    EXPECT_FALSE(ArchiveFileReadAll("inside.txt", text));
    {
        PakInterface first;
        PakInterface second; // only the first one takes the slot
        EXPECT_EQ(GetPakInterface(), &first);
        ASSERT_TRUE(first.MountArchive(dir / "p.pak"));
        EXPECT_TRUE(ArchiveFileReadAll("INSIDE.TXT", text));
        EXPECT_EQ(text, "in pak");
        EXPECT_TRUE(ArchiveFileExists("inside.txt"));
        EXPECT_EQ(ArchiveFileLabel("Inside.txt"), dir / "p.pak" + ": Inside.txt");
        EXPECT_EQ(ArchiveFileLabel(dir / "plain.txt"), dir / "plain.txt");
        uint64_t time = 0;
        EXPECT_TRUE(ArchiveFileTime("inside.txt", time));
        EXPECT_EQ(time, 0x01D0000000000000ull);
        EXPECT_TRUE(ArchiveFileTime(dir / "plain.txt", time));
        EXPECT_GT(time, UnixToFileTime(0));
    }
    EXPECT_EQ(GetPakInterface(), nullptr);
    EXPECT_FALSE(ArchiveFileExists("inside.txt"));
    EXPECT_EQ(ArchiveFileLabel("inside.txt"), "inside.txt");
}
