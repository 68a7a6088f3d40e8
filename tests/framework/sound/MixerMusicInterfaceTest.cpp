#include "framework/sound/MixerMusicInterface.h"

#include "framework/sound/AudioMixer.h"
#include "tests/framework/sound/SoundTestFiles.h"

#include <gtest/gtest.h>

using namespace Zestra;
using namespace SoundTest;

namespace
{

class MusicTest : public ::testing::Test
{
protected:
    // Song 1: a stereo 44100 Hz WAV whose left channel counts frames (value = frame index) and right is constant.
    // The music bus is at unity, so the output shows the player's own levels.
    void SetUp() override
    {
        mMixer.SetBusLevel(AudioMixer::Bus::Music, 1.0f);
        std::vector<int16_t> samples;
        for (int i = 0; i < kSongFrames; ++i)
        {
            samples.push_back(int16_t(i));
            samples.push_back(10000);
        }
        WriteFile("music/count.wav", Wav16(2, 44100, samples));
        ASSERT_TRUE(mMusic.LoadMusic(1, "music/count.wav"));
    }

    // Pulls frames the way the program does: the main thread refills between audio callbacks.
    std::vector<int16_t> Play(int frames)
    {
        std::vector<int16_t> all;
        while (frames > 0)
        {
            int n = std::min(frames, 441);
            mMusic.Update();
            std::vector<int16_t> part = Pull(mMixer, n);
            all.insert(all.end(), part.begin(), part.end());
            frames -= n;
        }
        return all;
    }

    static constexpr int kSongFrames = 3000;
    ScratchFolder mFolder;
    AudioMixer mMixer;
    MixerMusicInterface mMusic{mMixer};
};

} // namespace

TEST_F(MusicTest, StreamsLoopsAndStopsAtTheEnd)
{
    mMusic.PlaySong(1, 0, false);
    EXPECT_TRUE(mMusic.IsSongPlaying(1));
    std::vector<int16_t> out = Play(kSongFrames + 500);
    EXPECT_EQ(out[2 * 100], 100);
    EXPECT_EQ(out[2 * 100 + 1], 10000);
    EXPECT_EQ(out[2 * (kSongFrames + 20)], 20); // wrapped
    EXPECT_TRUE(mMusic.IsSongPlaying(1));

    mMusic.PlaySong(1, 0, true);
    Play(kSongFrames + 10);
    EXPECT_FALSE(mMusic.IsSongPlaying(1));
}

TEST_F(MusicTest, OffsetsPauseAndResume)
{
    mMusic.PlaySong(1, 4 * 1000, false); // a byte position in the 16-bit stereo stream
    EXPECT_EQ(Play(10)[0], 1000);

    mMusic.PauseSong(1);
    EXPECT_FALSE(mMusic.IsSongPlaying(1));
    EXPECT_EQ(Play(10)[0], 0);
    mMusic.ResumeSong(1);
    EXPECT_EQ(Play(10)[0], 1010);

    // Stopped, then played with offset -1: it continues where it stopped.
    mMusic.StopSong(1);
    EXPECT_EQ(mMusic.GetSongLevel(1), 0.0);
    mMusic.PlaySong(1, -1, false);
    EXPECT_EQ(Play(10)[0], 1020);
    mMusic.PlaySong(1, 0, false);
    EXPECT_EQ(Play(10)[0], 0);

    mMusic.PauseAllSongs();
    EXPECT_FALSE(mMusic.IsSongPlaying(1));
    mMusic.ResumeAllSongs();
    EXPECT_TRUE(mMusic.IsSongPlaying(1));
}

TEST_F(MusicTest, FadeOutTakes250UpdatesAndStopsWhenAsked)
{
    mMusic.PlaySong(1, 0, false);
    mMusic.FadeAllOut(true, 0.004);
    for (int i = 0; i < 249; ++i)
        mMusic.Update();
    EXPECT_GT(mMusic.GetSongLevel(1), 0.0);
    EXPECT_TRUE(mMusic.IsSongPlaying(1));
    mMusic.Update();
    EXPECT_EQ(mMusic.GetSongLevel(1), 0.0);
    EXPECT_FALSE(mMusic.IsSongPlaying(1));

    // Fading back in from 0 reaches the cap after 500 updates at 0.002.
    mMusic.FadeSongIn(1, -1, 0.002, false);
    EXPECT_TRUE(mMusic.IsSongPlaying(1));
    for (int i = 0; i < 499; ++i)
        mMusic.Update();
    EXPECT_LT(mMusic.GetSongLevel(1), 1.0);
    mMusic.Update();
    EXPECT_EQ(mMusic.GetSongLevel(1), 1.0);
}

TEST_F(MusicTest, FadeOutWithoutStopKeepsPlaying)
{
    mMusic.PlaySong(1, 0, false);
    mMusic.FadeSongOut(1, false, 0.5);
    mMusic.Update();
    mMusic.Update();
    EXPECT_EQ(mMusic.GetSongLevel(1), 0.0);
    EXPECT_TRUE(mMusic.IsSongPlaying(1));
}

TEST_F(MusicTest, FadeOutOfASilentSongStartsNoFadeButFadeAllOutStops)
{
    mMusic.PlaySong(1, 0, false);
    mMusic.SetSongLevel(1, 0.0);
    mMusic.FadeSongOut(1, true, 0.01);
    mMusic.Update();
    EXPECT_TRUE(mMusic.IsSongPlaying(1));
    mMusic.FadeAllOut(true, 0.01);
    mMusic.Update();
    EXPECT_FALSE(mMusic.IsSongPlaying(1));
}

TEST_F(MusicTest, LevelsCapVolumeAndAmplifyScaleTheOutput)
{
    mMusic.PlaySong(1, 0, false);
    struct Case
    {
        const char* name;
        double level, cap, volume, amplify;
        double expectedRight;
    };
    const Case cases[] = {
        {"full", 1.0, 1.0, 1.0, 0.5, 10000},    {"level", 0.5, 1.0, 1.0, 0.5, 5000},
        {"cap", 1.0, 0.3, 1.0, 0.5, 3000},      {"global volume", 1.0, 1.0, 0.25, 0.5, 2500},
        {"amplify", 0.5, 1.0, 1.0, 1.0, 10000}, {"silent", 1.0, 1.0, 0.0, 0.5, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        mMusic.SetSongLevelCap(1, 1.0);
        mMusic.SetSongLevel(1, c.level);
        mMusic.SetSongLevelCap(1, c.cap);
        mMusic.SetVolume(c.volume);
        mMusic.SetSongAmplify(1, c.amplify);
        EXPECT_NEAR(Play(10)[1], c.expectedRight, 1.0);
    }
}

TEST_F(MusicTest, OggSongsStreamAtTheirOwnRate)
{
    WriteFile("music/tone.ogg", EncodeOgg(1, 22050, Sine(1, 22050, 22050, 220, 10000)));
    ASSERT_TRUE(mMusic.LoadMusic(2, "music/tone.ogg"));
    mMusic.PlaySong(2, 0, true);
    // One second of 22050 Hz audio lasts one second at the 44100 Hz output.
    std::vector<int16_t> out = Play(44100 - 200);
    EXPECT_TRUE(mMusic.IsSongPlaying(2));
    int16_t peak = 0;
    for (size_t i = 0; i < out.size(); i += 2)
        peak = std::max<int16_t>(peak, out[i]);
    EXPECT_NEAR(peak, 10000, 600);
    Play(400);
    EXPECT_FALSE(mMusic.IsSongPlaying(2));
}

TEST_F(MusicTest, LoadFailuresLeaveNoEntry)
{
    WriteFile("music/bad.ogg", Bytes{'O', 'g', 'g', 'S', 1, 2, 3});
    WriteFile("music/tune.mod", Bytes(100, 1));
    EXPECT_FALSE(mMusic.LoadMusic(3, "music/missing.ogg"));
    EXPECT_FALSE(mMusic.LoadMusic(3, "music/bad.ogg"));
    EXPECT_FALSE(mMusic.LoadMusic(3, "music/tune.mod"));
    EXPECT_EQ(mMusic.GetSongLevel(3), -1.0);
    // An id already loaded keeps its song.
    EXPECT_FALSE(mMusic.LoadMusic(1, "music/count.wav"));
    mMusic.PlaySong(1, 0, false);
    mMusic.UnloadSong(1);
    EXPECT_FALSE(mMusic.IsSongPlaying(1));
    mMusic.PlaySong(1, 0, false); // a missing id does nothing
    mMusic.PlaySong(-1, 0, false);
    EXPECT_EQ(mMixer.CountActiveVoices(), 0);
}

TEST(SilentMusic, AnswersFalse)
{
    MusicInterface music;
    EXPECT_FALSE(music.LoadMusic(1, "music/x.ogg"));
    music.PlaySong(1, 0, false);
    music.Update();
    EXPECT_FALSE(music.IsSongPlaying(1));
}
