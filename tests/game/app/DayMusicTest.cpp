// A day opened straight away with "-level" sounds like one opened from the map: whatever played fades out and the
// level's song fades in, looping. Skipped without a content folder.
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/sound/MusicInterface.h"
#include "game/app/GameApp.h"
#include "game/data/LevelStats.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

const std::string kGameDir = VELMORA_BUILD_GAME_DIR;

// Takes every song and writes down what it is told to do with them.
class RecordingMusic : public Zestra::MusicInterface
{
public:
    explicit RecordingMusic(std::vector<std::string>* log) : mLog(log) {}
    bool IsSilent() const override { return false; }
    bool LoadMusic(int, const std::string&) override { return true; }
    void PlaySong(int id, int offset, bool noLoop) override
    {
        mLog->push_back("play " + std::to_string(id) + " " + std::to_string(offset) + (noLoop ? " once" : " loop"));
    }
    void FadeSongIn(int id, int offset, double speed, bool noLoop) override
    {
        mLog->push_back("fade in " + std::to_string(id) + " " + std::to_string(offset) + " " + Speed(speed) +
                        (noLoop ? " once" : " loop"));
    }
    void FadeAllOut(bool stopWhenFaded, double speed) override
    {
        mLog->push_back("fade all out " + Speed(speed) + (stopWhenFaded ? " stop" : " keep"));
    }

private:
    static std::string Speed(double speed) { return std::to_string(int(speed * 1000 + 0.5)) + "/1000"; }
    std::vector<std::string>* mLog;
};

class MusicLoggingApp : public Zestra::GameApp
{
public:
    using GameApp::GameApp;
    std::unique_ptr<Zestra::MusicInterface> CreateMusicPlayer() override
    {
        return std::make_unique<RecordingMusic>(&log);
    }
    std::vector<std::string> log;
};

TEST(DayMusic, ADayOpenedWithTheLevelOptionFadesItsSongIn)
{
    if (!fs::exists(kGameDir + "/properties/resources.xml"))
        GTEST_SKIP() << "no content folder in " << kGameDir;
    struct Case
    {
        int store;
        int level;
    };
    for (const Case& c : {Case{1, 0}, Case{2, 3}})
    {
        const fs::path oldFolder = fs::current_path();
        Zestra::HeadlessPlatform platform;
        MusicLoggingApp app(platform);
        const std::string level = "-level=" + std::to_string(c.store) + ":" + std::to_string(c.level);
        const char* argv[] = {"velmora", "-headless", level.c_str(), "-ticks=5", "-changedir=" VELMORA_BUILD_GAME_DIR};
        app.SetCommandLine(5, argv);
        app.Initialize();
        app.Run();
        fs::current_path(oldFolder);
        const LevelInfo* info = GetStoreInfo(c.store) != nullptr ? GetStoreInfo(c.store)->GetLevel(c.level) : nullptr;
        ASSERT_NE(info, nullptr) << level;
        ASSERT_GE(info->music, 0) << level << ": the content gives the day a song";
        const std::vector<std::string> expected = {"fade all out 4/1000 stop",
                                                   "fade in " + std::to_string(info->music) + " -1 2/1000 loop"};
        EXPECT_EQ(app.log, expected) << level;
    }
}

} // namespace
