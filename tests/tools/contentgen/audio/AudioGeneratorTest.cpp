// The shipped audio pack: every sound, voice and song the game names exists, songs loop cleanly, the
// output is byte-identical from run to run and decodes back to the samples' length; recipe mistakes
// are all reported with their lines.

#include "tools/contentgen/audio/AudioGenerator.h"
#include "tools/contentgen/audio/EffectRenderer.h"
#include "tools/contentgen/audio/OggEncoder.h"
#include "tools/contentgen/audio/SongRenderer.h"
#include "tools/contentgen/audio/VoiceRenderer.h"

#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;
using namespace AudioGen;

namespace
{

const std::string kContent = VELMORA_CONTENT_DIR;

using TestSupport::ReadFile;

std::set<std::string> AttributeValues(const std::string& text, const std::string& attribute)
{
    std::set<std::string> values;
    const std::string key = " " + attribute + "=\"";
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1))
    {
        const size_t start = at + key.size(), end = text.find('"', start);
        if (end != std::string::npos)
            values.insert(text.substr(start, end - start));
    }
    return values;
}

struct Pack
{
    AudioGenerator generator;
    bool ok = false;
    Pack() { ok = generator.ReadRecipes(kContent + "/audio"); }
};

const Pack& ShippedPack()
{
    static const Pack pack;
    return pack;
}

// Decodes Ogg Vorbis bytes: the number of frames, the channel count and, when asked, the samples (the
// last channel goes to `right`, so a mono file gives two equal halves).
bool Decode(const std::vector<uint8_t>& bytes, long& frames, int& channels, StereoBuffer* samples = nullptr)
{
    // A private folder: ctest runs the tests of this file as parallel processes, and vorbisfile wants a path.
    TestSupport::TempFolder folder("velmora-audiogen");
    const fs::path path = folder.Path() / "decode.ogg";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    OggVorbis_File vf;
    if (ov_fopen(path.string().c_str(), &vf) != 0)
        return false;
    frames = static_cast<long>(ov_pcm_total(&vf, -1));
    channels = ov_info(&vf, -1)->channels;
    float** pcm = nullptr;
    int section = 0;
    long n = 0;
    while (samples && (n = ov_read_float(&vf, &pcm, 4096, &section)) > 0)
    {
        samples->left.insert(samples->left.end(), pcm[0], pcm[0] + n);
        samples->right.insert(samples->right.end(), pcm[channels - 1], pcm[channels - 1] + n);
    }
    ov_clear(&vf);
    return true;
}

} // namespace

TEST(AudioPack, ShippedRecipesReadCleanly)
{
    const Pack& pack = ShippedPack();
    EXPECT_TRUE(pack.ok);
    for (const auto& p : pack.generator.Problems())
        ADD_FAILURE() << p;
}

TEST(AudioPack, EverySoundTheGameLoadsHasARecipe)
{
    // One file per sound id of the resource manifest: SOUND_X lives at sounds/<x in lower case>.ogg.
    const char* required[] = {"button",           "logo_bounce",    "logo_land",    "logo_whoosh",   "applause",
                              "cash_register",    "changing_room",  "construction", "correct",       "customer_angry",
                              "customer_explode", "expert_goal",    "gift_wrap",    "goal_reached",  "highlight",
                              "incorrect",        "lost",           "pick_up",      "put_down",      "shuffling",
                              "start_day",        "start_round",    "store_built",  "thunder_cloud"};
    std::set<std::string> have;
    for (const auto& e : ShippedPack().generator.Recipes().effects)
        have.insert(e.name);
    for (const char* name : required)
        EXPECT_TRUE(have.count(name)) << "no recipe for sounds/" << name << ".ogg";
}

TEST(AudioPack, EveryPersonHasAVoiceAndEverySongNamedExists)
{
    std::set<std::string> voices, songs;
    for (const auto& v : ShippedPack().generator.Recipes().voices)
        voices.insert(v.person);
    for (const auto& s : ShippedPack().generator.Recipes().songs)
        songs.insert(s.name);
    const std::string people = ReadFile(kContent + "/properties/people.xml");
    for (const auto& person : AttributeValues(people, "name"))
    {
        // Animation names share the attribute; persons are the ones with a sheet of their own.
        if (people.find("<person name=\"" + person + "\"") != std::string::npos)
        {
            EXPECT_TRUE(voices.count(person)) << "no voice for " << person;
        }
    }
    std::set<std::string> named;
    const std::string stores = ReadFile(kContent + "/properties/stores.xml");
    const std::string levels = ReadFile(kContent + "/properties/levels.xml");
    for (const char* attribute : {"main-menu-music", "map-music"})
        for (const auto& s : AttributeValues(stores, attribute))
            named.insert(s);
    for (const auto& s : AttributeValues(levels, "music"))
        named.insert(s);
    EXPECT_FALSE(named.empty());
    for (const auto& song : named)
        EXPECT_TRUE(songs.count(song)) << "no song recipe for music/" << song << ".ogg";
}

TEST(AudioPack, ShippedSongsLastHalfAMinuteToAMinuteAndLoopCleanly)
{
    const auto& songs = ShippedPack().generator.Recipes().songs;
    EXPECT_GE(songs.size(), 7u);
    for (const auto& recipe : songs)
    {
        EXPECT_GE(recipe.Seconds(), 30.0) << recipe.name;
        EXPECT_LE(recipe.Seconds(), 60.0) << recipe.name;
        const StereoBuffer song = RenderSong(recipe);
        EXPECT_LT(SeamStep(song), 4 * MeanStep(song)) << recipe.name;
    }
}

TEST(AudioPack, EncodedSongStillLoopsCleanly)
{
    // The encoder must neither pad nor trim: a shifted loop end would click even though the render did not.
    const auto& songs = ShippedPack().generator.Recipes().songs;
    ASSERT_FALSE(songs.empty());
    const StereoBuffer song = RenderSong(songs.front());
    std::string error;
    const auto bytes = EncodeOgg(song.left, song.right, 0.25f, 9, error);
    StereoBuffer decoded;
    long frames = 0;
    int channels = 0;
    ASSERT_TRUE(Decode(bytes, frames, channels, &decoded));
    ASSERT_EQ(decoded.Frames(), song.Frames());
    EXPECT_LT(SeamStep(decoded), 4 * MeanStep(decoded));
}

TEST(AudioPack, EffectsAndVoicesStartAndEndWithoutAClick)
{
    auto check = [](const std::string& name, const std::vector<float>& samples, double peak)
    {
        ASSERT_GT(samples.size(), 100u) << name;
        float top = 0;
        for (float s : samples)
            top = std::max(top, std::fabs(s));
        EXPECT_NEAR(top, peak, 1e-4) << name;
        EXPECT_LT(std::fabs(samples.front()), 0.01) << name;
        EXPECT_LT(std::fabs(samples.back()), 0.01) << name;
    };
    for (const auto& e : ShippedPack().generator.Recipes().effects)
        check(e.name, RenderEffect(e), e.peak);
    for (const auto& v : ShippedPack().generator.Recipes().voices)
    {
        for (Mood mood : {Mood::Hello, Mood::Happy, Mood::Angry})
            check(v.person + "/" + MoodFileName(mood), RenderVoice(v, mood), mood == Mood::Angry ? 0.9 : 0.8);
    }
}

TEST(AudioPack, EncodingIsRepeatableAndKeepsTheLength)
{
    const auto& recipes = ShippedPack().generator.Recipes();
    ASSERT_FALSE(recipes.effects.empty());
    ASSERT_FALSE(recipes.voices.empty());
    const std::vector<float> effect = RenderEffect(recipes.effects.front());
    const std::vector<float> voice = RenderVoice(recipes.voices.front(), Mood::Angry);
    std::string error;
    const auto a = EncodeOgg(effect, {}, 0.4f, SerialFor("a.ogg"), error);
    const auto b = EncodeOgg(effect, {}, 0.4f, SerialFor("a.ogg"), error);
    ASSERT_FALSE(a.empty()) << error;
    EXPECT_EQ(a, b);
    EXPECT_NE(SerialFor("a.ogg"), SerialFor("b.ogg"));
    EXPECT_EQ(RenderVoice(recipes.voices.front(), Mood::Angry), voice);

    const std::vector<float> right(effect.rbegin(), effect.rend());
    const struct
    {
        std::vector<float> left, right;
        int channels;
    } cases[] = {{effect, {}, 1}, {effect, right, 2}, {voice, {}, 1}};
    for (const auto& c : cases)
    {
        const auto bytes = EncodeOgg(c.left, c.right, 0.3f, 7, error);
        long frames = 0;
        int channels = 0;
        ASSERT_TRUE(Decode(bytes, frames, channels));
        EXPECT_EQ(frames, static_cast<long>(c.left.size()));
        EXPECT_EQ(channels, c.channels);
    }
    EXPECT_TRUE(EncodeOgg(effect, std::vector<float>(3), 0.3f, 7, error).empty());
    EXPECT_FALSE(error.empty());
}

TEST(AudioPack, RecipeMistakesAreAllReported)
{
    TestSupport::TempFolder folder("velmora-audiogen");
    const fs::path& dir = folder.Path();
    fs::create_directories(dir / "audio" / "songs");
    std::ofstream(dir / "audio" / "sounds.txt") << "sound ok length=0.1\n  tone f=440\nsound ok\n  tone f=9\n";
    std::ofstream(dir / "audio" / "voices.txt") << "voice Ann pitch=200\n";
    AudioGenerator generator;
    EXPECT_FALSE(generator.ReadRecipes((dir / "audio").string()));
    bool twice = false, range = false;
    for (const auto& p : generator.Problems())
    {
        twice |= p.find("sounds.txt:3: sound 'ok' is defined twice") != std::string::npos;
        range |= p.find("sounds.txt:4: 'f' is 9") != std::string::npos;
    }
    EXPECT_TRUE(twice);
    EXPECT_TRUE(range);
}

TEST(AudioPack, WritesTheGameFolderLayoutAndLeavesUnchangedFilesAlone)
{
    TestSupport::TempFolder folder("velmora-audiogen");
    const fs::path& dir = folder.Path();
    fs::create_directories(dir / "audio" / "songs");
    std::ofstream(dir / "audio" / "sounds.txt") << "sound ding length=0.2\n  bell f=880 decay=0.1\n";
    std::ofstream(dir / "audio" / "voices.txt") << "voice Ann pitch=220 seed=3\n";
    std::ofstream(dir / "audio" / "songs" / "tiny.txt")
        << "song tiny tempo=120\nlead wave=sine\nform A\nsection A\nchords C\nmelody C5 - E5 - G5 - . .\n";
    const fs::path game = dir / "game";
    const fs::path files[] = {game / "sounds" / "ding.ogg", game / "sounds" / "people" / "Ann" / "Hello.ogg",
                              game / "sounds" / "people" / "Ann" / "Happy.ogg",
                              game / "sounds" / "people" / "Ann" / "Angry.ogg", game / "music" / "tiny.ogg"};

    AudioGenerator first;
    ASSERT_TRUE(first.ReadRecipes((dir / "audio").string()));
    ASSERT_TRUE(first.WriteAll(game.string()));
    EXPECT_EQ(first.FilesWritten(), 5);
    std::vector<std::string> bytes;
    std::vector<fs::file_time_type> times;
    for (const fs::path& f : files)
    {
        ASSERT_TRUE(fs::exists(f)) << f;
        bytes.push_back(ReadFile(f));
        times.push_back(fs::last_write_time(f));
    }
    // Age the files so a rewrite would show in their times.
    for (const fs::path& f : files)
        fs::last_write_time(f, fs::last_write_time(f) - std::chrono::hours(1));

    AudioGenerator second;
    ASSERT_TRUE(second.ReadRecipes((dir / "audio").string()));
    ASSERT_TRUE(second.WriteAll(game.string()));
    for (size_t i = 0; i < std::size(files); ++i)
    {
        EXPECT_EQ(ReadFile(files[i]), bytes[i]) << files[i];
        EXPECT_EQ(fs::last_write_time(files[i]), times[i] - std::chrono::hours(1)) << files[i];
    }
}
