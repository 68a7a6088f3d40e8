// Song rendering: exact loop length, and a seam without a click even when notes ring across it.

#include "tools/contentgen/audio/SongRenderer.h"

#include <gtest/gtest.h>

using namespace AudioGen;

namespace
{

// Low notes held to the loop end, plus an echo: the worst case for the seam, since low notes change
// little from frame to frame. The tempo keeps the notes from ending on a whole cycle by luck.
SongRecipe RingingSong()
{
    std::vector<SongRecipe> songs;
    std::vector<std::string> problems;
    ReadSong("song ring tempo=100\n"
             "lead wave=sine gain=0.5 attack=0.01 decay=2 release=0.5 echo=0.4 octave=-1\n"
             "bass wave=sine gain=0.4 decay=2 release=0.4 pattern=x-------\n"
             "form A\nsection A\nchords C | G\n"
             "melody C4 - - - E4 - - - | G4 - - - - - - -\n",
             "ring.txt", songs, problems);
    EXPECT_TRUE(problems.empty());
    return songs.at(0);
}

} // namespace

TEST(SongRenderer, LoopLengthIsTheFormExactly)
{
    const StereoBuffer song = RenderSong(RingingSong());
    // Two bars of four beats at 100 per minute: 4.8 seconds.
    EXPECT_EQ(song.Frames(), static_cast<size_t>(4.8 * kSampleRate));
    EXPECT_EQ(song.left.size(), song.right.size());
}

TEST(SongRenderer, SongWithoutBarsRendersNothing)
{
    SongRecipe empty = RingingSong();
    empty.form.clear();
    const StereoBuffer song = RenderSong(empty);
    EXPECT_EQ(song.Frames(), 0u);
    EXPECT_EQ(SeamStep(song), 0.0);
}

TEST(SongRenderer, FoldedTailHidesTheSeam)
{
    const StereoBuffer folded = RenderSong(RingingSong(), true);
    const StereoBuffer cut = RenderSong(RingingSong(), false);
    const double typical = MeanStep(folded);
    ASSERT_GT(typical, 0.0);
    // Cut off, the held notes and the echo stop dead at the loop end: a jump far above the usual steps.
    EXPECT_GT(SeamStep(cut), 4 * MeanStep(cut));
    EXPECT_GT(SeamStep(cut), LargestStep(cut, false));
    // Folded, the last frame flows into the first like any two neighbouring frames.
    EXPECT_LT(SeamStep(folded), 4 * typical);
    EXPECT_LE(LargestStep(folded, true), LargestStep(folded, false) * 1.0001);
}

TEST(SongRenderer, SameRecipeSameSamples)
{
    const StereoBuffer a = RenderSong(RingingSong());
    const StereoBuffer b = RenderSong(RingingSong());
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);
}
