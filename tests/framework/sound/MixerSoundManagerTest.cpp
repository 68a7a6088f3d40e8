#include "framework/sound/MixerSoundManager.h"

#include "framework/pak/PakFormat.h"
#include "framework/pak/PakInterface.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/sound/AudioMixer.h"
#include "framework/sound/MusicInterface.h"
#include "framework/sound/SoundFactory.h"
#include "framework/sound/SoundInstance.h"
#include "tests/framework/sound/SoundTestFiles.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Zestra;
using namespace SoundTest;
namespace fs = std::filesystem;

namespace
{

// A manager over a mixer nobody plays out, with a clock the test moves; files are loose files in a scratch folder.
// The effects bus is at unity and the test signals stay under the limiter's knee, so the output shows the
// manager's own rules.
class SoundManagerTest : public ::testing::Test
{
protected:
    SoundManagerTest() : mManager(&mMixer, (mFolder.Path() / "data").string(), [this] { return mNowMs; })
    {
        mMixer.SetBusLevel(AudioMixer::Bus::Effects, 1.0f);
    }

    // A mono 44100 Hz ramp: frame i holds step * i, so output positions show the playback rate.
    void LoadRamp(int id, int frames, int step = 10)
    {
        std::vector<int16_t> samples;
        for (int i = 0; i < frames; ++i)
            samples.push_back(int16_t(i * step));
        WriteFile("ramp" + std::to_string(id) + ".wav", Wav16(1, 44100, samples));
        ASSERT_TRUE(mManager.LoadSound(id, "ramp" + std::to_string(id)));
    }

    void LoadConstant(int id, int frames, int16_t value)
    {
        WriteFile("flat.wav", Wav16(1, 44100, std::vector<int16_t>(size_t(frames), value)));
        ASSERT_TRUE(mManager.LoadSound(id, "flat"));
    }

    ScratchFolder mFolder;
    uint64_t mNowMs = 5000;
    AudioMixer mMixer;
    MixerSoundManager mManager;
};

int16_t Left(const std::vector<int16_t>& out, int frame)
{
    return out[size_t(frame) * 2];
}

int16_t Right(const std::vector<int16_t>& out, int frame)
{
    return out[size_t(frame) * 2 + 1];
}

} // namespace

TEST(SoundLevels, AttenuationRule)
{
    const std::pair<double, int> cases[] = {
        {1.0, 0}, {0.5, -605}, {0.1, -1682}, {0.01, -10000}, {0.0, -10000}, {2.0, 0}, {-5.0, -10000}, {NAN, -10000},
    };
    for (auto [volume, expected] : cases)
        EXPECT_EQ(VolumeToAttenuation(volume), expected) << volume;
}

TEST_F(SoundManagerTest, VolumeAndPanReachTheOutput)
{
    const int full = 16000;
    LoadConstant(0, 4000, full);
    const double halfLevel = full * std::pow(10.0, -605 / 2000.0);
    struct Case
    {
        double volume;
        int pan;
        double left, right;
    };
    const Case cases[] = {
        {1.0, 0, full, full},           {1.0, -10000, full, 0}, {1.0, 10000, 0, full},
        {0.5, 0, halfLevel, halfLevel}, {0.01, 0, 0, 0},        {1.0, -2000, full, full * 0.1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.volume << " " << c.pan);
        SoundInstance* instance = mManager.MakeInstance(0);
        ASSERT_NE(instance, nullptr);
        instance->SetVolume(c.volume);
        instance->SetPan(c.pan);
        ASSERT_TRUE(instance->Play(false, true));
        std::vector<int16_t> out = Pull(mMixer, 100);
        EXPECT_NEAR(Left(out, 50), c.left, 1.0);
        EXPECT_NEAR(Right(out, 50), c.right, 1.0);
        instance->Finish();
    }
}

TEST_F(SoundManagerTest, ManagerDefaultsAndMasterLevelScaleInstances)
{
    LoadConstant(7, 4000, 16000);
    ASSERT_TRUE(mManager.SetDefaultVolume(7, 0.5));
    ASSERT_TRUE(mManager.SetDefaultPan(7, 10000));
    SoundInstance* instance = mManager.MakeInstance(7);
    ASSERT_NE(instance, nullptr);
    instance->Play(true, false);
    const double half = 16000 * std::pow(10.0, -605 / 2000.0);
    std::vector<int16_t> out = Pull(mMixer, 10);
    EXPECT_EQ(Left(out, 5), 0);
    EXPECT_NEAR(Right(out, 5), half, 1.0);

    // The caller's pan adds to the default one; the manager's volume multiplies into every live instance.
    instance->SetPan(-10000);
    mManager.SetVolume(0.0);
    out = Pull(mMixer, 10);
    EXPECT_EQ(Right(out, 5), 0);
    mManager.SetVolume(1.0);
    out = Pull(mMixer, 10);
    EXPECT_NEAR(Left(out, 5), half, 1.0);
    EXPECT_NEAR(Right(out, 5), half, 1.0);

    mManager.SetSystemVolume(0.25);
    EXPECT_NEAR(mManager.GetSystemVolume(), 0.25, 1.0 / 65535);
    out = Pull(mMixer, 10);
    EXPECT_NEAR(Left(out, 5), half * 0.25, 1.0);
}

TEST_F(SoundManagerTest, PitchShiftResamples)
{
    LoadRamp(1, 2000);
    struct Case
    {
        double semitones;
        double framesPerOutputFrame;
    };
    for (const Case& c : {Case{12, 2.0}, Case{-12, 0.5}, Case{0, 1.0}, Case{7, std::pow(2.0, 7 / 12.0)}})
    {
        SCOPED_TRACE(c.semitones);
        SoundInstance* instance = mManager.MakeInstance(1);
        instance->ShiftPitch(c.semitones);
        instance->Play(false, false);
        std::vector<int16_t> out = Pull(mMixer, 400);
        // The ramp rises by 10 per source frame; linear interpolation keeps that exact between frames.
        EXPECT_NEAR(Left(out, 300) - Left(out, 200), 100 * 10 * c.framesPerOutputFrame, 2.0);
        instance->Finish();
    }
}

TEST_F(SoundManagerTest, OctaveUpEndsInHalfTheTime)
{
    LoadRamp(1, 1000);
    SoundInstance* instance = mManager.MakeInstance(1);
    instance->ShiftPitch(12);
    instance->Play(false, true);
    Pull(mMixer, 495);
    EXPECT_TRUE(instance->IsPlaying());
    Pull(mMixer, 10);
    EXPECT_FALSE(instance->IsPlaying());
    EXPECT_TRUE(instance->IsFinished());
}

TEST_F(SoundManagerTest, LoopingWrapsAndOneShotsStop)
{
    LoadRamp(2, 100);
    SoundInstance* loop = mManager.MakeInstance(2);
    loop->Play(true, false);
    std::vector<int16_t> out = Pull(mMixer, 250);
    EXPECT_EQ(Left(out, 150), Left(out, 50));
    EXPECT_EQ(Left(out, 249), 490);
    EXPECT_TRUE(loop->IsPlaying());

    loop->Stop();
    EXPECT_FALSE(loop->IsPlaying());
    loop->Play(false, false);
    out = Pull(mMixer, 150);
    EXPECT_EQ(Left(out, 0), 0); // Play rewinds
    EXPECT_EQ(Left(out, 120), 0);
    EXPECT_FALSE(loop->IsPlaying());
    EXPECT_FALSE(loop->IsFinished()); // not auto-free: it keeps its slot
}

TEST_F(SoundManagerTest, ThirtyThreeInstancesReuseOrRefuse)
{
    LoadRamp(3, 10);
    struct Case
    {
        const char* name;
        bool autoFree;
        bool drain;
        bool expectAnother;
    };
    const Case cases[] = {
        {"playing one-shots hold their slots", true, false, false},
        {"finished one-shots free their slots at once", true, true, true},
        {"instances without autoFree keep their slots", false, true, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        mManager.DeleteAllInstances();
        for (int i = 0; i < SoundManager::kMaxInstances; ++i)
        {
            SoundInstance* instance = mManager.MakeInstance(3);
            ASSERT_NE(instance, nullptr) << i;
            instance->Play(false, c.autoFree);
        }
        if (c.drain)
            Pull(mMixer, 20);
        EXPECT_EQ(mManager.MakeInstance(3) != nullptr, c.expectAnother);
    }
}

TEST_F(SoundManagerTest, StoppedOneShotsStayCollectable)
{
    LoadRamp(3, 10);
    SoundInstance* oneShot = mManager.MakeInstance(3);
    oneShot->Play(false, true);
    SoundInstance* kept = mManager.MakeInstance(3);
    kept->Play(true, false);
    // StopAllSounds keeps autoFree, so a stopped one-shot is collected like one that ran out; a plain Stop does not.
    mManager.StopAllSounds();
    EXPECT_TRUE(oneShot->IsFinished());
    EXPECT_FALSE(kept->IsFinished());
    kept->Play(false, true);
    kept->Stop();
    EXPECT_FALSE(kept->IsFinished());
}

TEST_F(SoundManagerTest, IdsOutsideTheTableAreIgnored)
{
    LoadRamp(0, 10);
    for (int id : {-1, 256, 100000, -100000})
    {
        SCOPED_TRACE(id);
        EXPECT_EQ(mManager.MakeInstance(id), nullptr);
        EXPECT_FALSE(mManager.SetDefaultVolume(id, 0.5));
        EXPECT_FALSE(mManager.SetDefaultPan(id, 5));
        EXPECT_FALSE(mManager.LoadSound(id, "ramp0"));
        mManager.UnloadSound(id);
    }
    EXPECT_EQ(mManager.MakeInstance(5), nullptr); // an empty id with a device
    EXPECT_EQ(mManager.CountSounds(), 1);
}

TEST_F(SoundManagerTest, FindOrLoadSoundAndFreeIds)
{
    WriteFile("a.wav", Wav16(1, 8000, {1, 2}));
    WriteFile("b.wav", Wav16(1, 8000, {3, 4}));
    EXPECT_EQ(mManager.FindOrLoadSound("a"), 255);
    EXPECT_EQ(mManager.FindOrLoadSound("a"), 255);
    EXPECT_EQ(mManager.FindOrLoadSound("b"), 254);
    EXPECT_EQ(mManager.FindOrLoadSound("missing"), -1);
    EXPECT_EQ(mManager.FindFreeId(), 0);
    for (int id = 0; id < 254; ++id)
        ASSERT_TRUE(mManager.LoadSound(id, "a"));
    EXPECT_EQ(mManager.CountSounds(), 256);
    EXPECT_EQ(mManager.FindFreeId(), -1);
    mManager.UnloadSound(17);
    EXPECT_EQ(mManager.FindFreeId(), 17);
}

TEST_F(SoundManagerTest, UnloadingKeepsPlayingInstancesSafe)
{
    LoadConstant(4, 1000, 1000);
    SoundInstance* instance = mManager.MakeInstance(4);
    instance->Play(true, false);
    mManager.UnloadSound(4);
    mManager.LoadSound(4, "missing");
    std::vector<int16_t> out = Pull(mMixer, 10);
    EXPECT_EQ(Left(out, 5), 1000);
    EXPECT_EQ(mManager.CountSounds(), 0);
}

TEST(SilentSoundManager, AcceptsEverythingAndPlaysNothing)
{
    MixerSoundManager manager(nullptr, "", {});
    EXPECT_FALSE(manager.HasDevice());
    EXPECT_TRUE(manager.LoadSound(3, "nothing/here"));
    EXPECT_FALSE(manager.LoadSound(-1, "nothing/here"));
    SoundInstance* instance = manager.MakeInstance(3);
    ASSERT_NE(instance, nullptr);
    instance->SetVolume(0.3);
    instance->ShiftPitch(5);
    EXPECT_FALSE(instance->Play(false, true));
    EXPECT_FALSE(instance->IsPlaying());
    EXPECT_TRUE(instance->IsFinished());
    EXPECT_EQ(manager.MakeInstance(-1), nullptr);
}

// Cache files: decoded Ogg and AU sounds are written as WAV below "<data folder>/cached/" and read back while the
// source's time is unchanged.
class SoundCacheTest : public SoundManagerTest
{
protected:
    fs::path CacheFile(const std::string& path) { return mFolder.Path() / "data" / "cached" / (path + ".wav"); }

    static uint64_t DepTime(const Bytes& cache, size_t nameLength)
    {
        uint64_t time = 0;
        for (int i = 7; i >= 0; --i)
            time = time << 8 | cache[46 + nameLength + size_t(i)];
        return time;
    }

    MixerSoundManager Another() { return MixerSoundManager(&mMixer, (mFolder.Path() / "data").string(), {}); }
};

TEST_F(SoundCacheTest, OggSourceIsCachedReadBackAndRefreshedWhenItChanges)
{
    Bytes first = EncodeOgg(1, 22050, Sine(1, 22050, 3000, 500, 9000));
    WriteFile("sounds/tone.ogg", first);
    const auto originalTime = fs::last_write_time("sounds/tone.ogg");
    ASSERT_TRUE(mManager.LoadSound(10, "sounds/tone"));
    ASSERT_TRUE(fs::exists(CacheFile("sounds/tone")));
    Bytes cache = ReadFile(CacheFile("sounds/tone"));
    EXPECT_EQ(std::string(cache.begin() + 46, cache.begin() + 46 + 15), "sounds/tone.ogg");
    EXPECT_EQ(cache.size(), 71 + 15 + 3000 * 2u);

    // Unreadable source with its old time: the load can only have come from the cache.
    WriteFile("sounds/tone.ogg", Bytes{'j', 'u', 'n', 'k'});
    fs::last_write_time("sounds/tone.ogg", originalTime);
    EXPECT_TRUE(Another().LoadSound(10, "sounds/tone"));

    // A new time makes the cache stale: the source is decoded again and the cache rewritten.
    WriteFile("sounds/tone.ogg", EncodeOgg(1, 22050, Sine(1, 22050, 5000, 500, 9000)));
    fs::last_write_time("sounds/tone.ogg", originalTime + std::chrono::seconds(60));
    EXPECT_TRUE(Another().LoadSound(10, "sounds/tone"));
    EXPECT_EQ(ReadFile(CacheFile("sounds/tone")).size(), 71 + 15 + 5000 * 2u);
}

TEST_F(SoundCacheTest, AuSourceIsCachedButWavIsNot)
{
    WriteFile("beep.au", Au(24, 4, 1, 8000, 1, {0x81, 0x01, 0xFF, 0x90}));
    WriteFile("plain.wav", Wav16(1, 8000, {5, 6}));
    ASSERT_TRUE(mManager.LoadSound(1, "beep"));
    ASSERT_TRUE(mManager.LoadSound(2, "plain"));
    EXPECT_TRUE(fs::exists(CacheFile("beep")));
    EXPECT_FALSE(fs::exists(CacheFile("plain")));
}

TEST_F(SoundCacheTest, NameWrittenWithItsExtensionMeansTheSameFile)
{
    WriteFile("beep.au", Au(24, 4, 1, 8000, 1, {0x81, 0x01, 0xFF, 0x90}));
    WriteFile("plain.wav", Wav16(1, 8000, {5, 6}));
    EXPECT_TRUE(mManager.LoadSound(1, "beep.AU"));
    EXPECT_TRUE(mManager.LoadSound(2, "plain.wav"));
    EXPECT_TRUE(fs::exists(CacheFile("beep"))) << "one cache file, whichever way the name was written";
    EXPECT_FALSE(fs::exists(CacheFile("beep.AU")));
}

TEST_F(SoundCacheTest, PathsThatCouldEscapeGetNoCache)
{
    Bytes ogg = EncodeOgg(1, 22050, Sine(1, 22050, 1000, 500, 9000));
    fs::create_directories("deep/er");
    WriteFile("deep/x.ogg", ogg);
    WriteFile("y.ogg", ogg);
    fs::current_path("deep/er");
    EXPECT_TRUE(mManager.LoadSound(1, "../x"));
    EXPECT_TRUE(mManager.LoadSound(2, "../../y"));
    fs::current_path(mFolder.Path());
    EXPECT_TRUE(mManager.LoadSound(3, (mFolder.Path() / "y").string()));
    EXPECT_EQ(mManager.CountSounds(), 3);
    // Nothing was written anywhere but below cached/, and nothing there either.
    EXPECT_FALSE(fs::exists(mFolder.Path() / "data" / "x.wav"));
    EXPECT_FALSE(fs::exists(mFolder.Path() / "y.wav"));
    EXPECT_FALSE(fs::exists(mFolder.Path() / "deep" / "x.wav"));
    EXPECT_TRUE(!fs::exists(mFolder.Path() / "data" / "cached") || fs::is_empty(mFolder.Path() / "data" / "cached"));
    EXPECT_EQ(mManager.CachePath("C:/sounds/x"), "");
    EXPECT_EQ(mManager.CachePath("ab"), "");
}

TEST_F(SoundCacheTest, ArchiveEntryTimeDrivesTheDependency)
{
    Bytes ogg = EncodeOgg(1, 22050, Sine(1, 22050, 2000, 500, 9000));
    auto mount = [&](uint64_t time)
    {
        Bytes pak;
        std::string error;
        EXPECT_TRUE(BuildPak({{"sounds\\packed.ogg", time, ogg}}, pak, error)) << error;
        WriteFile("main.pak", pak);
        auto archive = std::make_unique<PakInterface>();
        EXPECT_TRUE(archive->MountArchive("main.pak")) << archive->ErrorText();
        return archive;
    };
    const uint64_t firstTime = UnixToFileTime(1700000000);
    {
        auto archive = mount(firstTime);
        ASSERT_TRUE(mManager.LoadSound(1, "sounds/packed"));
    }
    EXPECT_EQ(DepTime(ReadFile(CacheFile("sounds/packed")), 17), firstTime);
    {
        auto archive = mount(firstTime + 10000000);
        ASSERT_TRUE(mManager.LoadSound(1, "sounds/packed"));
    }
    EXPECT_EQ(DepTime(ReadFile(CacheFile("sounds/packed")), 17), firstTime + 10000000);
}

TEST(SoundFactory, OneMixerFeedsThePlatformOutputOrEverythingIsSilent)
{
    ScratchFolder folder;
    WriteFile("beep.wav", Wav16(1, 44100, std::vector<int16_t>(100, 12000)));
    for (bool device : {true, false})
    {
        SCOPED_TRACE(device);
        HeadlessPlatform platform;
        platform.SetAudioAvailable(device);
        std::unique_ptr<AudioMixer> mixer = OpenAudioMixer(&platform);
        EXPECT_EQ(mixer != nullptr, device);
        std::unique_ptr<SoundManager> sounds = CreateSoundManager(mixer.get(), &platform, "");
        std::unique_ptr<MusicInterface> music = CreateMusicPlayer(mixer.get());
        EXPECT_EQ(sounds->HasDevice(), device);
        EXPECT_TRUE(sounds->LoadSound(0, "beep"));
        SoundInstance* beep = sounds->MakeInstance(0);
        ASSERT_NE(beep, nullptr);
        EXPECT_EQ(beep->Play(false, true), device);
        if (device)
        {
            EXPECT_NEAR(platform.PullAudio(10)[1], 12000 * AudioMixer::kDefaultBusLevels[0], 1.0); // on the effects bus
        }
        // The sweep of finished one-shots runs on the platform's clock.
        platform.PullAudio(200);
        platform.AdvanceMs(1500);
        EXPECT_NE(sounds->MakeInstance(0), nullptr);
        music.reset();
        sounds.reset();
        mixer.reset();
        EXPECT_FALSE(platform.IsAudioOpen());
    }
}
