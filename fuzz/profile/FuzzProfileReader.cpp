// Feeds one input to the profile reader as a profiles file, against a small store table read once at start. Nothing
// in the file may crash or hang the reader, and whatever it keeps must be stable: saved, it reads back without a
// complaint into the very same file, which stays within the reader's size limit. Then the table operations run on
// the result. The store files are written to a scratch folder that becomes the current directory.
#include "framework/graphics/Image.h"
#include "game/data/LevelStats.h"
#include "game/data/ParserHost.h"
#include "game/profile/ProfileFile.h"
#include "game/profile/ProfileManager.h"
#include "game/profile/ProfileTable.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{

class CountingHost : public ParserHost
{
public:
    int issues = 0;
    std::unique_ptr<Zestra::Image> LoadDataImage(const std::string&) override { return nullptr; }
    bool LoadMusic(int, const std::string&) override { return false; }
    void UnloadMusic(int) override {}
    bool LoadVoice(int, const std::string&) override { return false; }
    void ReleaseVoice(int) override {}
    void ReportDataIssue(DataSeverity, const std::string&, int, const std::string&) override { ++issues; }
};

// Three stores, the last without levels: 3 merchant levels, 1 + 2 changing rooms, two floor spots of 3 and 1 steps.
bool ReadStores()
{
    const auto folder = std::filesystem::temp_directory_path() / ("velmora-fuzz-profile-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "properties");
    std::filesystem::current_path(folder);
    std::string stores = "<stores>";
    std::string levels = "<levels>";
    for (int s = 1; s <= 3; ++s)
    {
        stores += "<store name=\"S" + std::to_string(s) +
                  "\"><merchant speed=\"100\"/><merchant speed=\"120\"/><merchant speed=\"140\"/>"
                  "<changing-rooms init=\"1\"/><changing-room price=\"5\"/><changing-room price=\"9\"/>"
                  "<drink init=\"2\" max=\"3\"/><def-furniture type=\"r\"/><layout/>"
                  "<furniture type=\"r\" price=\"0\" clothing=\"a\"/><furniture type=\"r\" price=\"4\" clothing=\"b\"/>"
                  "<furniture type=\"r\" price=\"6\" clothing=\"c\"/><layout/>"
                  "<furniture type=\"r\" price=\"3\" clothing=\"d\"/><mannequin top=\"a\" bottom=\"d\"/></store>";
        levels += s < 3 ? "<store><level/><level/><minigame/><level/></store>" : "<store/>";
    }
    std::ofstream(folder / "properties/stores.xml") << stores << "</stores>";
    std::ofstream(folder / "properties/levels.xml") << levels << "</levels>";
    CountingHost host;
    LevelStats reader(host, false);
    return StoreCount() == 3;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool storesRead = ReadStores();
    if (!storesRead)
        __builtin_trap();

    CountingHost host;
    ProfileManager reader(host);
    ProfileSet set;
    if (!reader.ReadText(std::string(reinterpret_cast<const char*>(data), size), "profiles.xml", set).empty())
        return 0;

    const std::string saved = FormatProfiles(set);
    CountingHost again;
    ProfileManager rereader(again);
    ProfileSet reread;
    if (saved.size() > kMaxProfileFileBytes || !rereader.ReadText(saved, "saved.xml", reread).empty() ||
        again.issues != 0 || FormatProfiles(reread) != saved)
        __builtin_trap();

    FillDefaultHighScores(reread);
    InstallProfiles(std::move(reread), "unused", true);
    for (int slot = -1; slot <= kProfileSlots; ++slot)
    {
        SelectProfile(slot);
        (void)HasSavedGame();
        (void)GetSavedGame();
        (void)GetUnlockedStores();
        for (int store = 0; store <= 4; ++store)
            for (int level = -1; level <= 4; ++level)
                (void)WasLevelStarted(store, level);
    }
    for (int store = 0; store <= HighScoreTableCount() + 1; ++store)
        (void)GetHighScoreTable(store);
    CreateProfile("Fuzz");
    MarkLevelStarted(1, 0);
    SetSavedGame(nullptr);
    FreeProfiles();
    return 0;
}
