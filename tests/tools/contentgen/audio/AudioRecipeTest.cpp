// Recipe reading: note and chord names, and that every mistake is reported with its file and line.

#include "tools/contentgen/audio/AudioRecipe.h"

#include <gtest/gtest.h>

using namespace AudioGen;

namespace
{

bool Mentions(const std::vector<std::string>& problems, const std::string& text)
{
    for (const auto& p : problems)
        if (p.find(text) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(AudioRecipe, NoteNames)
{
    const struct
    {
        const char* name;
        bool ok;
        int midi;
    } cases[] = {{"C4", true, 60}, {"A4", true, 69}, {"F#3", true, 54}, {"Bb5", true, 82}, {"C-1", true, 0},
                 {"H4", false, 0}, {"C", false, 0},  {"C44", false, 0}, {"c#4", true, 61}, {"", false, 0}};
    for (const auto& c : cases)
    {
        int midi = -1;
        EXPECT_EQ(NoteToMidi(c.name, midi), c.ok) << c.name;
        if (c.ok)
        {
            EXPECT_EQ(midi, c.midi) << c.name;
        }
    }
    double hz = 0;
    ASSERT_TRUE(NoteToHz("A4", hz));
    EXPECT_DOUBLE_EQ(hz, 440.0);
}

TEST(AudioRecipe, ChordNames)
{
    const struct
    {
        const char* name;
        bool ok;
        int root;
        std::vector<int> intervals;
    } cases[] = {{"C", true, 48, {0, 4, 7}},
                 {"Am", true, 57, {0, 3, 7}},
                 {"F#m7", true, 54, {0, 3, 7, 10}},
                 {"Bbmaj7", true, 58, {0, 4, 7, 11}},
                 {"Cb", true, 59, {0, 4, 7}},
                 {"Edim", true, 52, {0, 3, 6}},
                 {"Hm", false, 0, {}},
                 {"Cmaj9", false, 0, {}},
                 {"", false, 0, {}}};
    for (const auto& c : cases)
    {
        Chord chord;
        EXPECT_EQ(ParseChord(c.name, chord), c.ok) << c.name;
        if (c.ok)
        {
            EXPECT_EQ(chord.root, c.root) << c.name;
            EXPECT_EQ(chord.intervals, c.intervals) << c.name;
        }
    }
}

TEST(AudioRecipe, EffectsReadLayersAndRepeats)
{
    std::vector<EffectRecipe> effects;
    std::vector<std::string> problems;
    ReadEffects("# comment\nsound ding length=0.5 peak=0.6\n  bell f=880 decay=0.2\n"
                "  tone at=0.1 len=0.05 f=440 wave=square repeat=3 every=0.1 step=2\n",
                "fx.txt", effects, problems);
    EXPECT_TRUE(problems.empty()) << problems.front();
    ASSERT_EQ(effects.size(), 1u);
    EXPECT_EQ(effects[0].name, "ding");
    EXPECT_DOUBLE_EQ(effects[0].length, 0.5);
    ASSERT_EQ(effects[0].layers.size(), 2u);
    EXPECT_EQ(effects[0].layers[0].kind, LayerKind::Bell);
    EXPECT_EQ(effects[0].layers[1].wave, Wave::Square);
    EXPECT_EQ(effects[0].layers[1].repeat, 3);
}

TEST(AudioRecipe, EffectMistakesNameFileAndLine)
{
    const struct
    {
        const char* text;
        const char* problem;
    } cases[] = {
        {"tone f=440\n", "fx.txt:1: 'tone' before any 'sound'"},
        {"sound a\n  tone f=loud\n", "fx.txt:2: 'f' needs a number"},
        {"sound a\n  tone f=5\n", "fx.txt:2: 'f' is 5, outside"},
        {"sound a\n  tone wave=organ\n", "fx.txt:2: unknown wave 'organ'"},
        {"sound a\n  tone colour=red\n", "fx.txt:2: unknown setting 'colour'"},
        {"sound a\n  hum f=100\n", "fx.txt:2: unknown line 'hum'"},
        {"sound\n", "fx.txt:1: 'sound' needs exactly one name"},
    };
    for (const auto& c : cases)
    {
        std::vector<EffectRecipe> effects;
        std::vector<std::string> problems;
        ReadEffects(c.text, "fx.txt", effects, problems);
        EXPECT_TRUE(Mentions(problems, c.problem))
            << c.text << " gave " << (problems.empty() ? "nothing" : problems[0]);
    }
}

TEST(AudioRecipe, SongMistakesNameFileAndLine)
{
    const std::string head = "song s tempo=120\nlead wave=sine\n";
    const struct
    {
        std::string text;
        const char* problem;
    } cases[] = {
        {head + "form A\nsection A\nchords C\nmelody C5 - - - - - - |\n", "s.txt:6: a bar needs eight steps, found 7"},
        {head + "form A\nsection A\nchords C G\nmelody C5 - - - - - - -\n", "section A has 8 melody steps for 2 bars"},
        {head + "form A B\nsection A\nchords C\nmelody C5 - - - - - - -\n", "form names the unknown section 'B'"},
        {head + "form A\nsection A\nchords Q\nmelody C5 - - - - - - -\n", "s.txt:5: 'Q' is not a chord"},
        {head + "form A\nsection A\nchords C\nmelody C5 - Z9 - - - - -\n", "s.txt:6: 'Z9' is not a note"},
        {head + "bass pattern=x.x\nform A\nsection A\nchords C\nmelody C5 - - - - - - -\n",
         "s.txt:3: bass needs a pattern of eight steps"},
        {"lead wave=sine\n", "s.txt:1: a song file starts with 'song <name>'"},
        {head + "section A\nchords C\nmelody C5 - - - - - - -\n", "song s has no 'form'"},
    };
    for (const auto& c : cases)
    {
        std::vector<SongRecipe> songs;
        std::vector<std::string> problems;
        ReadSong(c.text, "s.txt", songs, problems);
        EXPECT_TRUE(Mentions(problems, c.problem))
            << c.text << " gave " << (problems.empty() ? "nothing" : problems[0]);
    }
}

TEST(AudioRecipe, SongLengthFollowsFormAndTempo)
{
    std::vector<SongRecipe> songs;
    std::vector<std::string> problems;
    ReadSong("song s tempo=120\nlead wave=sine\nform A A B\nsection A\nchords C | G\n"
             "melody C5 - - - - - - - | D5 - - - - - - -\nsection B\nchords F\nmelody A5 - - - . . . .\n",
             "s.txt", songs, problems);
    ASSERT_TRUE(problems.empty()) << problems.front();
    ASSERT_EQ(songs.size(), 1u);
    EXPECT_EQ(songs[0].Bars(), 5);
    EXPECT_DOUBLE_EQ(songs[0].Seconds(), 10.0);
}
