#include "tools/contentgen/audio/AudioGenerator.h"

#include "tools/contentgen/audio/EffectRenderer.h"
#include "tools/contentgen/audio/OggEncoder.h"
#include "tools/contentgen/audio/SongRenderer.h"
#include "tools/contentgen/audio/VoiceRenderer.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace AudioGen
{

namespace
{

bool ReadText(const fs::path& path, std::string& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    out = ss.str();
    return true;
}

// Names become file names: keep them to letters, digits and underscores.
bool SafeName(const std::string& name)
{
    return !name.empty() &&
           std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) || c == '_'; });
}

} // namespace

bool AudioGenerator::ReadRecipes(const std::string& audioDir)
{
    mRecipes = AudioRecipes{};
    mProblems.clear();
    const fs::path dir(audioDir);
    std::string text;
    const fs::path sounds = dir / "sounds.txt", voices = dir / "voices.txt";
    if (ReadText(sounds, text))
        ReadEffects(text, sounds.string(), mRecipes.effects, mProblems);
    else
        mProblems.push_back(sounds.string() + ": cannot be read");
    if (ReadText(voices, text))
        ReadVoices(text, voices.string(), mRecipes.voices, mProblems);
    else
        mProblems.push_back(voices.string() + ": cannot be read");

    std::vector<fs::path> songFiles;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir / "songs", ec))
    {
        if (entry.path().extension() == ".txt")
            songFiles.push_back(entry.path());
    }
    if (ec)
        mProblems.push_back((dir / "songs").string() + ": cannot be listed");
    // Directory order is up to the file system; sort so runs are repeatable.
    std::sort(songFiles.begin(), songFiles.end());
    for (const auto& path : songFiles)
    {
        if (ReadText(path, text))
            ReadSong(text, path.string(), mRecipes.songs, mProblems);
        else
            mProblems.push_back(path.string() + ": cannot be read");
    }

    std::set<std::string> seen;
    auto unique = [&](const std::string& kind, const std::string& name, const std::string& file, int line)
    {
        const std::string where = file + ":" + std::to_string(line) + ": ";
        if (!SafeName(name))
            mProblems.push_back(where + kind + " name '" + name + "' may only use letters, digits and '_'");
        if (!seen.insert(kind + "/" + name).second)
            mProblems.push_back(where + kind + " '" + name + "' is defined twice");
    };
    for (const auto& e : mRecipes.effects)
    {
        unique("sound", e.name, sounds.string(), e.line);
        if (e.layers.empty())
            mProblems.push_back(sounds.string() + ":" + std::to_string(e.line) + ": sound '" + e.name +
                                "' has no layers");
    }
    for (const auto& v : mRecipes.voices)
        unique("voice", v.person, voices.string(), v.line);
    for (const auto& s : mRecipes.songs)
        unique("song", s.name, s.file, s.line);
    return mProblems.empty();
}

bool AudioGenerator::WriteOgg(const std::string& path, const std::vector<float>& left, const std::vector<float>& right,
                              float quality)
{
    std::string error;
    const std::vector<uint8_t> bytes =
        EncodeOgg(left, right, quality, SerialFor(fs::path(path).filename().string()), error);
    if (bytes.empty())
    {
        mProblems.push_back(path + ": " + error);
        return false;
    }
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    // Unchanged files are left alone so their times do not trigger later build steps.
    std::string old;
    if (ReadText(path, old) && old.size() == bytes.size() &&
        std::equal(bytes.begin(), bytes.end(), old.begin(),
                   [](uint8_t a, char b) { return a == static_cast<uint8_t>(b); }))
    {
        mBytes += bytes.size();
        ++mFiles;
        return true;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
    {
        mProblems.push_back(path + ": cannot be written");
        return false;
    }
    mBytes += bytes.size();
    ++mFiles;
    return true;
}

bool AudioGenerator::WriteAll(const std::string& gameDir)
{
    const fs::path root(gameDir);
    bool ok = true;
    for (const auto& e : mRecipes.effects)
        ok &= WriteOgg((root / "sounds" / (e.name + ".ogg")).string(), RenderEffect(e), {}, 0.4f);
    for (const auto& v : mRecipes.voices)
    {
        for (Mood mood : {Mood::Hello, Mood::Happy, Mood::Angry})
        {
            const fs::path path = root / "sounds" / "people" / v.person / (std::string(MoodFileName(mood)) + ".ogg");
            ok &= WriteOgg(path.string(), RenderVoice(v, mood), {}, 0.3f);
        }
    }
    // Songs take most of the time: render them on a few threads, each into its own slot, and write them in
    // recipe order afterwards, so the output does not depend on which thread finished first.
    std::vector<StereoBuffer> songs(mRecipes.songs.size());
    std::atomic<size_t> next{0};
    auto worker = [&]
    {
        for (size_t i = next++; i < songs.size(); i = next++)
            songs[i] = RenderSong(mRecipes.songs[i]);
    };
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t)
        pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool)
        t.join();
    for (size_t i = 0; i < songs.size(); ++i)
    {
        const fs::path path = root / "music" / (mRecipes.songs[i].name + ".ogg");
        ok &= WriteOgg(path.string(), songs[i].left, songs[i].right, 0.25f);
    }
    return ok;
}

} // namespace AudioGen
