// People's voices play through the voices' own sound manager at the voice volume, never as sound effects. Skipped
// without a content folder.
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/sound/SoundInstance.h"
#include "framework/sound/SoundManager.h"
#include "game/app/GameApp.h"
#include "game/data/LevelStats.h"
#include "game/data/PersonStats.h"
#include "game/people/Customer.h"
#include "game/res/Res.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

struct PlayedVoice
{
    int id;
    double managerVolume;
};

class RecordingInstance : public Zestra::SoundInstance
{
public:
    RecordingInstance(std::vector<PlayedVoice>* played, int id, double managerVolume)
        : mPlayed(played), mVoice{id, managerVolume}
    {
    }
    void Finish() override {}
    void SetDefaultVolume(double) override {}
    void SetDefaultPan(int) override {}
    void ShiftPitch(double) override {}
    void SetVolume(double) override {}
    void SetPan(int) override {}
    bool Play(bool, bool) override
    {
        mPlayed->push_back(mVoice);
        return true;
    }
    void Stop() override {}
    bool IsPlaying() override { return false; }
    bool IsFinished() override { return true; }
    double GetVolume() override { return 1.0; }

private:
    std::vector<PlayedVoice>* mPlayed;
    PlayedVoice mVoice;
};

// Takes every voice and writes down which ones play, at what volume of the manager.
class RecordingVoices : public Zestra::SoundManager
{
public:
    explicit RecordingVoices(std::vector<PlayedVoice>* played) : mPlayed(played) {}
    bool HasDevice() override { return true; }
    int FindOrLoadSound(const std::string&) override { return -1; }
    bool LoadSound(int, const std::string&) override { return true; }
    void UnloadSound(int) override {}
    void SetVolume(double volume) override { mVolume = volume; }
    bool SetDefaultVolume(int, double) override { return true; }
    bool SetDefaultPan(int, int) override { return true; }
    Zestra::SoundInstance* MakeInstance(int id) override
    {
        mInstances.push_back(std::make_unique<RecordingInstance>(mPlayed, id, mVolume));
        return mInstances.back().get();
    }
    void UnloadAllSounds() override {}
    void DeleteAllInstances() override { mInstances.clear(); }
    double GetSystemVolume() override { return 1.0; }
    void SetSystemVolume(double) override {}
    void Idle() override {}
    void BindWindow(Zestra::Platform*, bool) override {}
    void StopAllSounds() override {}
    int FindFreeId() override { return 0; }
    int CountSounds() override { return 0; }

private:
    std::vector<PlayedVoice>* mPlayed;
    std::vector<std::unique_ptr<Zestra::SoundInstance>> mInstances;
    double mVolume = 1.0;
};

class VoiceLoggingApp : public Zestra::GameApp
{
public:
    using GameApp::GameApp;
    std::unique_ptr<Zestra::SoundManager> MakeVoiceManager() override
    {
        return std::make_unique<RecordingVoices>(&voices);
    }
    using GameApp::PlaySound;
    void PlaySound(int id) override
    {
        effects.push_back(id);
        GameApp::PlaySound(id);
    }
    std::vector<PlayedVoice> voices;
    std::vector<int> effects;
};

TEST(Voices, ACustomersVoiceReachesTheVoiceManagerAtTheVoiceVolumeAndOnlyTheAngryCueIsAnEffect)
{
    if (!fs::exists(VELMORA_BUILD_GAME_DIR "/properties/resources.xml"))
        GTEST_SKIP() << "no content folder in " VELMORA_BUILD_GAME_DIR;
    const fs::path oldFolder = fs::current_path();
    Zestra::HeadlessPlatform platform;
    VoiceLoggingApp app(platform);
    const char* argv[] = {"velmora", "-headless", "-level=1:0", "-ticks=5", "-changedir=" VELMORA_BUILD_GAME_DIR};
    app.SetCommandLine(5, argv);
    app.Initialize();
    app.Run();
    fs::current_path(oldFolder);

    const StoreInfo* store = GetStoreInfo(1);
    ASSERT_TRUE(store != nullptr && !store->levels.empty() && !store->levels[0].arrivals.empty());
    const std::string key = store->levels[0].arrivals[0].customerKey;
    Customer customer(key, 1.0f, {}, nullptr);
    const VoiceId angry = customer.definition->angryVoice;
    ASSERT_TRUE(angry.IsValid()) << key << " has no angry voice in the content";

    app.SetVoiceVolume(0.4);
    app.voices.clear();
    app.effects.clear();
    customer.MakeAngry();
    ASSERT_EQ(app.voices.size(), 1u);
    EXPECT_EQ(app.voices[0].id, angry.value);
    EXPECT_DOUBLE_EQ(app.voices[0].managerVolume, 0.4);
    ASSERT_GE(SOUND_CUSTOMER_ANGRY, 0) << "the angry cue is not bound";
    EXPECT_EQ(app.effects, std::vector<int>{SOUND_CUSTOMER_ANGRY}) << "a voice went to the sound effects as well";

    // Already angry: the voice again, but the cue marks only the turn.
    app.effects.clear();
    customer.patienceLeft = 1000;
    customer.MakeAngry();
    EXPECT_EQ(app.voices.size(), 2u);
    EXPECT_TRUE(app.effects.empty());

    // Muted, the voice still goes to its manager, which plays it silently.
    app.Mute(false);
    customer.profile.hearts = 3;
    customer.MakeAngry();
    ASSERT_EQ(app.voices.size(), 3u);
    EXPECT_EQ(app.voices[2].managerVolume, 0.0);
}

} // namespace
