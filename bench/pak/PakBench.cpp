// Archive throughput: a 1 MB data file read through the XML reader from the archive and from a loose file, the
// same file read raw both ways, and mounting an archive of 5,000 entries.
#include "framework/pak/PakFormat.h"
#include "framework/pak/PakInterface.h"
#include "framework/xml/XMLParser.h"
#include "tests/support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace Zestra;

namespace
{

std::string MakeDocument(size_t bytes)
{
    std::string text = "<?xml version=\"1.0\"?>\n<items>\n";
    for (int i = 0; text.size() < bytes; ++i)
        text += "  <item id=\"" + std::to_string(i) + "\" name=\"Shirt &amp; tie " + std::to_string(i) +
                "\" price=\"12\">  some    descriptive text  </item>\n";
    text += "</items>\n";
    return text;
}

// A scratch folder holding "data.xml" loose and inside "data.pak", plus a 5,000-entry archive.
struct Fixture
{
    Fixture()
    {
        document = MakeDocument(1 << 20);
        std::ofstream(folder + "/data.xml", std::ios::binary) << document;

        PakSourceFile file;
        file.mName = "properties\\data.xml";
        file.mData.assign(document.begin(), document.end());
        WritePak(folder + "/data.pak", {file});

        std::vector<PakSourceFile> many;
        for (int i = 0; i < 5000; ++i)
        {
            PakSourceFile entry;
            entry.mName = "images\\store" + std::to_string(i % 12) + "\\picture_" + std::to_string(i) + ".png";
            entry.mData.assign(64, uint8_t(i));
            many.push_back(std::move(entry));
        }
        WritePak(folder + "/many.pak", many);
    }
    static void WritePak(const std::string& path, const std::vector<PakSourceFile>& files)
    {
        std::vector<uint8_t> bytes;
        std::string error;
        BuildPak(files, bytes, error);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    std::streamsize(bytes.size()));
    }

    TestSupport::TempFolder scratch{"velmora-bench"};
    std::string folder = scratch.Path().string();
    std::string document;
};

Fixture& Data()
{
    static Fixture fixture; // built once for every benchmark of the run
    return fixture;
}

void ParseAll(benchmark::State& state, const std::string& path)
{
    size_t elements = 0;
    for (auto _ : state)
    {
        XMLParser reader;
        if (!reader.Open(path))
        {
            state.SkipWithError("cannot open");
            return;
        }
        ParsedElement element;
        while (reader.ReadNext(element))
            ++elements;
        benchmark::DoNotOptimize(elements);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Data().document.size()));
}

void BM_XmlReaderLooseFile(benchmark::State& state)
{
    ParseAll(state, Data().folder + "/data.xml");
}

void BM_XmlReaderFromArchive(benchmark::State& state)
{
    PakInterface pak;
    pak.MountArchive(Data().folder + "/data.pak");
    ParseAll(state, "properties/data.xml");
}

void ReadRaw(benchmark::State& state, const std::string& path)
{
    std::vector<uint8_t> bytes;
    for (auto _ : state)
    {
        ArchiveFileReadAll(path, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Data().document.size()));
}

void BM_RawReadLooseFile(benchmark::State& state)
{
    ReadRaw(state, Data().folder + "/data.xml");
}

void BM_RawReadFromArchive(benchmark::State& state)
{
    PakInterface pak;
    pak.MountArchive(Data().folder + "/data.pak");
    ReadRaw(state, "properties/data.xml");
}

void BM_Mount5000Entries(benchmark::State& state)
{
    for (auto _ : state)
    {
        PakInterface pak;
        if (!pak.MountArchive(Data().folder + "/many.pak"))
            state.SkipWithError("mount failed");
        benchmark::DoNotOptimize(pak.EntryCount());
    }
}

} // namespace

BENCHMARK(BM_XmlReaderLooseFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlReaderFromArchive)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawReadLooseFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawReadFromArchive)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Mount5000Entries)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
