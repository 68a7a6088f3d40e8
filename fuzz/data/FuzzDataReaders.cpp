// Feeds one input, split at NUL bytes, to the game's readers as stores.xml, levels.xml, people.xml,
// customers.xml and localization.xml (in that order), with pictures of sizes derived from their paths, then
// exercises the lookups and a new run in every store. Nothing in a data file may crash or hang the game.
// The readers open "properties/..." relative to the current directory, so the fuzzer moves into a scratch folder:
// pass the corpus as an absolute path.
#include "framework/graphics/MemoryImage.h"
#include "game/data/CustomerStats.h"
#include "game/data/DataTables.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/data/ParserHost.h"
#include "game/data/PersonStats.h"
#include "game/profile/GameState.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

namespace
{

class FuzzHost : public ParserHost
{
public:
    std::unique_ptr<Zestra::Image> LoadDataImage(const std::string& path) override
    {
        const size_t h = std::hash<std::string>()(path);
        if (h % 5 == 0)
            return nullptr;
        return std::make_unique<Zestra::MemoryImage>(static_cast<int>(h % 700), static_cast<int>((h >> 10) % 500));
    }
    bool LoadMusic(int id, const std::string& path) override { return path.size() % 3 != 0; }
    void UnloadMusic(int) override {}
    bool LoadVoice(int id, const std::string& path) override { return path.size() % 4 != 0; }
    void ReleaseVoice(int) override {}
    void ReportDataIssue(DataSeverity, const std::string&, int, const std::string&) override {}
};

const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder = [] {
        auto dir = std::filesystem::temp_directory_path() / ("velmora-fuzz-data-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir / "properties");
        std::filesystem::current_path(dir);
        return dir;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const char* const kFiles[] = {"stores.xml", "levels.xml", "people.xml", "customers.xml",
                                         "localization.xml"};
    const std::string input(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    for (const char* file : kFiles)
    {
        const size_t end = std::min(input.find('\0', start), input.size());
        std::ofstream(Folder() / "properties" / file, std::ios::binary | std::ios::trunc)
            << input.substr(start, end - start);
        start = std::min(end + 1, input.size());
    }

    FuzzHost host;
    {
        LevelStats stores(host, false);
    }
    {
        PersonStats people(host, false);
    }
    {
        CustomerStats customers(host);
    }
    {
        Localization texts(host);
    }
    for (int store = 0; store <= StoreCount() + 1; ++store)
    {
        GameState state = NewGameState(GetStoreInfo(store));
        for (size_t spot = 0; spot < state.furnitureLevels.size(); ++spot)
            state.UpgradeFurniture(static_cast<int>(spot));
        (void)state.AllSpotsFurnished();
        (void)GetLevelText(store, 0);
    }
    (void)FormatMoney(12.0);
    (void)FormatMoney(12.5);
    FreeDataTables();
    return 0;
}
