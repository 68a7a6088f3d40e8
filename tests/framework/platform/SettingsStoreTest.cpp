#include "framework/platform/SettingsStore.h"

#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using TestSupport::ReadFile;
using TestSupport::TempFolder;
using TestSupport::WriteFile;
using Zestra::SettingsStore;

namespace
{

const std::string kKey = "Kestrin\\Velmora Row";

std::unique_ptr<SettingsStore> OpenStore(const TempFolder& root)
{
    auto store = SettingsStore::CreateFileBacked(root.Path());
    store->SetRegistryKey(kKey);
    return store;
}

} // namespace

TEST(SettingsStoreTest, ValuesSurviveARestartThroughTheFile)
{
    TempFolder root;
    const std::string awkward = "Quote \" back\\slash\nnew line \xe9t\xe9 = [x] # ;";
    const std::vector<uint8_t> blob = {0x00, 0xff, 0x10, 0x0a};
    {
        auto store = OpenStore(root);
        EXPECT_TRUE(store->WriteInteger("MusicVolume", 85));
        EXPECT_TRUE(store->WriteInteger("PreferredX", INT32_MIN));
        EXPECT_TRUE(store->WriteBoolean("ScreenMode", true));
        EXPECT_TRUE(store->WriteString("Name", awkward));
        EXPECT_TRUE(store->WriteString("Empty", ""));
        EXPECT_TRUE(store->WriteData("Blob", blob));
        EXPECT_TRUE(store->WriteData("NoBytes", {}));
        EXPECT_TRUE(store->WriteInteger("Profiles\\Slot 1\\Score", -12));
        EXPECT_TRUE(store->WriteString(" odd=name[1] ", "v"));
        EXPECT_FALSE(store->HasFailed()) << store->ErrorText();
    }
    const std::string path = root / "Kestrin/Velmora Row/settings.ini";
    EXPECT_EQ(path, OpenStore(root)->FilePath());
    // The file stays readable by people: plain lines for plain values, sub-keys as sections.
    const std::string text = ReadFile(path);
    EXPECT_NE(std::string::npos, text.find("\nMusicVolume = int 85\n")) << text;
    EXPECT_NE(std::string::npos, text.find("\n[Profiles/Slot 1]\nScore = int -12\n")) << text;

    auto store = OpenStore(root);
    int32_t i = 0;
    bool b = false;
    std::string s;
    std::vector<uint8_t> d = {1};
    EXPECT_TRUE(store->ReadInteger("MusicVolume", i));
    EXPECT_EQ(85, i);
    EXPECT_TRUE(store->ReadInteger("PreferredX", i));
    EXPECT_EQ(INT32_MIN, i);
    EXPECT_TRUE(store->ReadBoolean("ScreenMode", b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(store->ReadString("Name", s));
    EXPECT_EQ(awkward, s);
    EXPECT_TRUE(store->ReadString("Empty", s));
    EXPECT_EQ("", s);
    EXPECT_TRUE(store->ReadData("Blob", d));
    EXPECT_EQ(blob, d);
    EXPECT_TRUE(store->ReadData("NoBytes", d));
    EXPECT_TRUE(d.empty());
    // Sub-key paths and names compare without case, and empty path parts do not matter.
    EXPECT_TRUE(store->ReadInteger("profiles\\SLOT 1\\\\score", i));
    EXPECT_EQ(-12, i);
    EXPECT_TRUE(store->ReadString(" odd=name[1] ", s));
    EXPECT_EQ("v", s);
    EXPECT_FALSE(store->HasFailed()) << store->ErrorText();
}

TEST(SettingsStoreTest, ReadsFollowTheStoredType)
{
    auto store = SettingsStore::CreateInMemory();
    store->SetRegistryKey(kKey);
    store->WriteInteger("Number", 7);
    store->WriteBoolean("Flag", true);
    store->WriteString("Text", "7");

    int32_t i = -1;
    bool b = false;
    std::string s = "kept";
    std::vector<uint8_t> d;
    // Integers and booleans are both 32-bit words.
    EXPECT_TRUE(store->ReadBoolean("Number", b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(store->ReadInteger("Flag", i));
    EXPECT_EQ(1, i);
    // Other mismatches and missing values are "not found" and leave the output alone.
    i = -1;
    EXPECT_FALSE(store->ReadInteger("Text", i));
    EXPECT_FALSE(store->ReadString("Number", s));
    EXPECT_FALSE(store->ReadData("Text", d));
    EXPECT_FALSE(store->ReadInteger("Missing", i));
    EXPECT_EQ(-1, i);
    EXPECT_EQ("kept", s);

    EXPECT_TRUE(store->Erase("Number"));
    EXPECT_FALSE(store->Erase("Number"));
    EXPECT_FALSE(store->ReadInteger("Number", i));
}

TEST(SettingsStoreTest, EverythingFailsWithoutAKeyOrValueName)
{
    auto store = SettingsStore::CreateInMemory();
    int32_t i = 0;
    EXPECT_FALSE(store->WriteInteger("A", 1));
    EXPECT_FALSE(store->ReadInteger("A", i));
    EXPECT_FALSE(store->Erase("A"));
    store->SetRegistryKey("SOFTWARE\\Kestrin\\Velmora Row\\");
    EXPECT_EQ(kKey, store->RegistryKey());
    EXPECT_FALSE(store->WriteInteger("Sub\\", 1)); // a sub-key without a value name
    EXPECT_FALSE(store->WriteInteger("", 1));
    store->SetRegistryKey("");
    EXPECT_FALSE(store->WriteString("A", "x"));
}

TEST(SettingsStoreTest, CorruptFileGivesDefaultsOneWarningAndKeepsTheBadFile)
{
    struct Case
    {
        std::string text;
        const char* where;
    };
    const Case cases[] = {
        {"A = int 1\nB = int 99999999999\n", "settings.ini:2:"},
        {"A = int 1\n[Sub\n", "settings.ini:2:"},
        {"# note\n\nA int 1\n", "settings.ini:3:"},
        {"A = float 1.5\n", "settings.ini:1:"},
        {"A = bool maybe\n", "settings.ini:1:"},
        {"A = str \"open\n", "settings.ini:1:"},
        {"A = str \"bad \\q escape\"\n", "settings.ini:1:"},
        {"A = data abc\n", "settings.ini:1:"},
        {"A = data zz\n", "settings.ini:1:"},
        {std::string("A = int 1\nB\0 = int 2\n", 21), "settings.ini:2:"},
        {"\x89PNG\r\n\x1a\n\x01\x02", "settings.ini:1:"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.where + (" " + c.text));
        TempFolder root;
        std::string folder = root / "Kestrin/Velmora Row";
        std::filesystem::create_directories(folder);
        WriteFile(folder + "/settings.ini", c.text);

        auto store = OpenStore(root);
        ASSERT_TRUE(store->HasFailed());
        EXPECT_NE(std::string::npos, store->ErrorText().find(c.where)) << store->ErrorText();
        int32_t i = 5;
        EXPECT_FALSE(store->ReadInteger("A", i)) << "a corrupt file is not half-read";
        EXPECT_EQ(5, i);

        // The next save moves the bad file aside instead of losing it.
        EXPECT_TRUE(store->WriteInteger("A", 3));
        EXPECT_EQ(c.text, ReadFile(folder + "/settings.ini.bad"));
        EXPECT_TRUE(OpenStore(root)->ReadInteger("A", i));
        EXPECT_EQ(3, i);
    }
}

TEST(SettingsStoreTest, HandEditedFileIsAccepted)
{
    TempFolder root;
    std::string folder = root / "Kestrin/Velmora Row";
    std::filesystem::create_directories(folder);
    WriteFile(folder + "/settings.ini",
              "; by hand\r\n  MusicVolume=int   40  \r\nMuted = bool 1\n\n[ Sub ]\nX = str \"a\"\n");
    auto store = OpenStore(root);
    EXPECT_FALSE(store->HasFailed()) << store->ErrorText();
    int32_t i = 0;
    bool b = false;
    std::string s;
    EXPECT_TRUE(store->ReadInteger("MusicVolume", i));
    EXPECT_EQ(40, i);
    EXPECT_TRUE(store->ReadBoolean("Muted", b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(store->ReadString("Sub\\X", s));
    EXPECT_EQ("a", s);
}

TEST(SettingsStoreTest, MissingFileIsQuietAndSavesAreAtomicAndPrivate)
{
    TempFolder root;
    auto store = OpenStore(root);
    EXPECT_FALSE(store->HasFailed());
    store->BeginBatch();
    store->WriteInteger("A", 1);
    store->WriteInteger("B", 2);
    EXPECT_FALSE(std::filesystem::exists(store->FilePath())) << "a batch saves once, at its end";
    EXPECT_TRUE(store->EndBatch());
    ASSERT_TRUE(std::filesystem::exists(store->FilePath()));

    struct stat st;
    ASSERT_EQ(0, stat(store->FilePath().c_str(), &st));
    EXPECT_EQ(0600u, st.st_mode & 0777u);
    ASSERT_EQ(0, stat((root / "Kestrin").c_str(), &st));
    EXPECT_EQ(0700u, st.st_mode & 0777u);
    // Only the settings file is left: no temporary files beside it.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(root / "Kestrin/Velmora Row"))
    {
        EXPECT_EQ("settings.ini", entry.path().filename().string());
        ++files;
    }
    EXPECT_EQ(1, files);
}

TEST(SettingsStoreTest, UnwritableFolderFailsWithATextInsteadOfCrashing)
{
    TempFolder root;
    WriteFile(root / "Kestrin", "a file where the folder should be");
    auto store = OpenStore(root);
    EXPECT_FALSE(store->WriteInteger("A", 1));
    EXPECT_TRUE(store->HasFailed());
    int32_t i = 0;
    EXPECT_TRUE(store->ReadInteger("A", i)) << "the value stays in memory for this run";
}
