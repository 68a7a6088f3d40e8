// Full load of a game folder's data as the loading thread does it: both counting passes, every reader, every
// image and voice decoded and every song read into memory (as the music player keeps it), from loose files and
// from a main.pak built from the same files. The folder is $VELMORA_GAME_DIR or the build's game folder.
#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/pak/PakFormat.h"
#include "framework/pak/PakInterface.h"
#include "framework/sound/ByteSource.h"
#include "framework/sound/PcmData.h"
#include "framework/sound/SoundDecoders.h"
#include "game/data/CustomerStats.h"
#include "game/data/DataTables.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/data/ParserHost.h"
#include "game/data/PersonStats.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <map>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

class DecodingHost : public ParserHost
{
public:
    std::unique_ptr<Zestra::Image> LoadDataImage(const std::string& path) override
    {
        return Zestra::ImageLoader::GetImage(path, true);
    }
    bool LoadMusic(int id, const std::string& path) override
    {
        std::vector<uint8_t> data;
        if (!Zestra::ArchiveFileReadAll(path, data))
            return false;
        mSongs[id] = std::move(data);
        return true;
    }
    void UnloadMusic(int id) override { mSongs.erase(id); }
    bool LoadVoice(int id, const std::string& path) override
    {
        std::vector<uint8_t> data;
        if (!Zestra::ArchiveFileReadAll(path + ".ogg", data))
            return false;
        Zestra::MemoryByteSource source(data);
        Zestra::PcmData pcm;
        if (!Zestra::DecodeOgg(source, pcm))
            return false;
        mVoices[id] = std::move(pcm);
        return true;
    }
    void ReleaseVoice(int id) override { mVoices.erase(id); }
    void ReportDataIssue(DataSeverity, const std::string&, int, const std::string&) override { ++issues; }

    int issues = 0;

private:
    std::map<int, std::vector<uint8_t>> mSongs;
    std::map<int, Zestra::PcmData> mVoices;
};

fs::path GameFolder()
{
    const char* env = std::getenv("VELMORA_GAME_DIR");
    return fs::path(env ? env : VELMORA_DEFAULT_GAME_DIR);
}

size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

double PeakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void LoadEverything(DecodingHost& host)
{
    LevelStats countStores(host, true);
    PersonStats countPeople(host, true);
    benchmark::DoNotOptimize(countStores.ImageTotal() + countPeople.Count());
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
    PublishDataTables();
}

void RunLoad(benchmark::State& state, const fs::path& folder)
{
    const fs::path old = fs::current_path();
    fs::current_path(folder);
    size_t heapAfterLoad = 0;
    for (auto _ : state)
    {
        DecodingHost host;
        const size_t before = HeapInUse();
        LoadEverything(host);
        heapAfterLoad = HeapInUse() - before;
        state.PauseTiming();
        state.counters["images"] = static_cast<double>(Parser::SharedImageCount());
        state.counters["stores"] = StoreCount();
        state.counters["dataIssues"] = host.issues;
        FreeDataTables();
        state.ResumeTiming();
    }
    state.counters["heapMB"] = static_cast<double>(heapAfterLoad) / (1024.0 * 1024.0);
    state.counters["peakRssMB"] = PeakRssMb();
    fs::current_path(old);
}

void BM_LoadGameDataLoose(benchmark::State& state)
{
    const fs::path folder = GameFolder();
    if (!fs::exists(folder / "properties/stores.xml"))
    {
        state.SkipWithError("no game folder (build the content or set VELMORA_GAME_DIR)");
        return;
    }
    // The game always has its archive interface, even without a main.pak; loose lookups go through it.
    Zestra::PakInterface pak;
    RunLoad(state, folder);
}

// Packs every data and media file of the game folder into a scratch main.pak, the way a release ships it.
bool MakePak(const fs::path& game, const fs::path& target)
{
    std::vector<Zestra::PakSourceFile> files;
    for (const char* top : {"properties", "images", "sounds", "music"})
    {
        if (!fs::exists(game / top))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(game / top, fs::directory_options::follow_directory_symlink))
        {
            if (!entry.is_regular_file())
                continue;
            Zestra::PakSourceFile file;
            file.mName = entry.path().lexically_relative(game).generic_string();
            std::ifstream in(entry.path(), std::ios::binary);
            file.mData.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            files.push_back(std::move(file));
        }
    }
    std::vector<uint8_t> pak;
    std::string error;
    if (!Zestra::BuildPak(files, pak, error))
    {
        std::fprintf(stderr, "main.pak: %s\n", error.c_str());
        return false;
    }
    fs::create_directories(target);
    std::ofstream(target / "main.pak", std::ios::binary).write(reinterpret_cast<const char*>(pak.data()),
                                                               static_cast<std::streamsize>(pak.size()));
    return true;
}

void BM_LoadGameDataPak(benchmark::State& state)
{
    const fs::path game = GameFolder();
    const fs::path scratch = fs::temp_directory_path() / ("velmora-bench-pak-" + std::to_string(getpid()));
    if (!fs::exists(game / "properties/stores.xml") || !MakePak(game, scratch))
    {
        state.SkipWithError("no game folder to pack (build the content or set VELMORA_GAME_DIR)");
        return;
    }
    {
        Zestra::PakInterface pak;
        if (!pak.MountArchive((scratch / "main.pak").string()))
            state.SkipWithError("the scratch main.pak does not mount");
        else
            RunLoad(state, scratch); // nothing loose there: every read comes from the archive
    }
    fs::remove_all(scratch);
}

} // namespace

BENCHMARK(BM_LoadGameDataLoose)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_LoadGameDataPak)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_MAIN();
