#include "framework/platform/headless/HeadlessPlatform.h"

#include "framework/platform/SettingsStore.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

using TestSupport::TempFolder;
using Zestra::HeadlessPlatform;
using Zestra::PlatformEvent;
using Type = Zestra::PlatformEvent::Type;

TEST(HeadlessPlatformTest, VirtualClockMovesOnlyWhenToldOrSleeping)
{
    HeadlessPlatform platform;
    EXPECT_EQ(0u, platform.NowMs());
    EXPECT_EQ(0u, platform.NowMs());
    platform.SleepMs(10);
    EXPECT_EQ(10u, platform.NowMs());
    platform.SleepMs(-5); // a negative sleep is no sleep
    platform.SleepMs(0);
    platform.AdvanceMs(5000);
    EXPECT_EQ(5010u, platform.NowMs());
    // Far beyond 32 bits of milliseconds the clock keeps counting.
    platform.AdvanceMs(uint64_t(1) << 33);
    EXPECT_EQ((uint64_t(1) << 33) + 5010u, platform.NowMs());
}

TEST(HeadlessPlatformTest, RealClockNeverGoesBackAndIgnoresAdvance)
{
    HeadlessPlatform platform(true);
    uint64_t first = platform.NowMs();
    platform.AdvanceMs(1000000);
    EXPECT_LT(platform.NowMs(), first + 1000000);
    EXPECT_GE(platform.NowMs(), first);
}

TEST(HeadlessPlatformTest, EventsComeOutOldestFirstWithTheirCodes)
{
    HeadlessPlatform platform;
    platform.PushClick(10, 20, 2);
    platform.PushClick(30, 40, -2);
    platform.PushKey(65, false, true);
    platform.PushChar(3);
    platform.PushClose();

    struct Expected
    {
        Type type;
        int x, y, code, key;
    };
    const Expected expected[] = {
        {Type::MouseMove, 10, 20, 0, 0}, {Type::MouseDown, 10, 20, 2, 0},  {Type::MouseUp, 10, 20, 1, 0},
        {Type::MouseMove, 30, 40, 0, 0}, {Type::MouseDown, 30, 40, -2, 0}, {Type::MouseUp, 30, 40, -1, 0},
        {Type::KeyDown, 0, 0, 0, 65},    {Type::KeyUp, 0, 0, 0, 65},       {Type::Char, 0, 0, 0, 0},
        {Type::Close, 0, 0, 0, 0},
    };
    EXPECT_EQ(std::size(expected), platform.PendingEvents());
    for (const Expected& e : expected)
    {
        PlatformEvent event;
        ASSERT_TRUE(platform.PollEvent(event));
        EXPECT_EQ(e.type, event.mType);
        EXPECT_EQ(e.x, event.mX);
        EXPECT_EQ(e.y, event.mY);
        EXPECT_EQ(e.code, event.mClickCode);
        EXPECT_EQ(e.key, event.mKey);
        if (event.mType == Type::KeyDown)
        {
            EXPECT_TRUE(event.mCtrl);
        }
        if (event.mType == Type::Char)
        {
            EXPECT_EQ(3, event.mChar);
        }
    }
    PlatformEvent none;
    EXPECT_FALSE(platform.PollEvent(none));
}

TEST(HeadlessPlatformTest, PresentKeepsACopyOfTheLastFrame)
{
    HeadlessPlatform platform;
    std::vector<uint32_t> pixels(4 * 3, 0xff000000u); // pitch 4, width 3: the fourth column is not part of the image
    pixels[1 * 4 + 2] = 0xff112233u;
    pixels[1 * 4 + 3] = 0xffffffffu;
    Zestra::PixelView view{pixels.data(), 3, 3, 4};

    EXPECT_FALSE(platform.Present(view, {})) << "nothing is presented before the window exists";
    std::string error;
    ASSERT_EQ(Zestra::DisplayResult::Ok, platform.CreateMainWindow(Zestra::WindowSpec{"T", 3, 3}, error));
    EXPECT_TRUE(platform.Present(view, {Zestra::Rect(2, 1, 1, 1)}));
    pixels[1 * 4 + 2] = 0; // later changes to the caller's image do not reach the kept copy
    EXPECT_EQ(1u, platform.PresentCount());
    EXPECT_EQ(3, platform.LastFrameWidth());
    EXPECT_EQ(9u, platform.LastFrame().size());
    EXPECT_EQ(0xff112233u, platform.PixelAt(2, 1));
    EXPECT_EQ(0xff000000u, platform.PixelAt(0, 2));
    EXPECT_EQ(0u, platform.PixelAt(3, 1));
    ASSERT_EQ(1u, platform.LastDirty().size());
    EXPECT_EQ(Zestra::Rect(2, 1, 1, 1), platform.LastDirty()[0]);

    // Like a display, later frames take over only the rectangles named as changed (an empty list: all of it).
    pixels[2 * 4 + 0] = 0xff445566u;
    EXPECT_TRUE(platform.Present(view, {Zestra::Rect(2, 1, 5, 5)}));
    EXPECT_EQ(0u, platform.PixelAt(2, 1));
    EXPECT_EQ(0xff000000u, platform.PixelAt(0, 2)) << "a change outside the named rectangles stays unseen";
    EXPECT_TRUE(platform.Present(view, {}));
    EXPECT_EQ(0xff445566u, platform.PixelAt(0, 2));

    // A window made anew starts blank: a changed rectangle shows alone on it.
    ASSERT_EQ(Zestra::DisplayResult::Ok, platform.CreateMainWindow(Zestra::WindowSpec{"T", 3, 3}, error));
    EXPECT_EQ(0u, platform.PixelAt(0, 2));
    EXPECT_TRUE(platform.Present(view, {Zestra::Rect(0, 2, 1, 1)}));
    EXPECT_EQ(0xff445566u, platform.PixelAt(0, 2));
    EXPECT_EQ(0u, platform.PixelAt(1, 1));
}

TEST(HeadlessPlatformTest, WindowFailureAndDialogAnswersCanBeScripted)
{
    HeadlessPlatform platform;
    std::string error;
    platform.SetCreateWindowResult(Zestra::DisplayResult::ExclusiveFail, "no exclusive mode");
    EXPECT_EQ(Zestra::DisplayResult::ExclusiveFail, platform.CreateMainWindow(Zestra::WindowSpec{}, error));
    EXPECT_EQ("no exclusive mode", error);
    EXPECT_FALSE(platform.HasMainWindow());

    EXPECT_EQ(Zestra::ANSWER_OK, platform.ShowMessageBox("text", "caption", Zestra::MB_OK_ONLY));
    EXPECT_EQ(Zestra::ANSWER_YES, platform.ShowMessageBox("sure?", "caption", Zestra::MB_YES_NO));
    platform.SetMessageBoxAnswer(Zestra::ANSWER_NO);
    EXPECT_EQ(Zestra::ANSWER_NO, platform.ShowMessageBox("sure?", "caption", Zestra::MB_YES_NO));
    EXPECT_EQ(3u, platform.MessageBoxTexts().size());

    EXPECT_TRUE(platform.OpenUrl("https://example.org/"));
    platform.SetUrlOpenFails(true);
    EXPECT_FALSE(platform.OpenUrl("https://example.org/"));
    EXPECT_EQ(1u, platform.OpenedUrls().size());
}

TEST(HeadlessPlatformTest, AudioIsAbsentUnlessAskedForThenPulledOnDemand)
{
    HeadlessPlatform platform;
    auto fill = [](int16_t* out, int frames)
    {
        for (int i = 0; i < frames * 2; ++i)
            out[i] = static_cast<int16_t>(i);
    };
    EXPECT_FALSE(platform.OpenAudio(44100, fill));
    EXPECT_TRUE(platform.PullAudio(4).empty());
    platform.SetAudioAvailable(true);
    ASSERT_TRUE(platform.OpenAudio(44100, fill));
    std::vector<int16_t> samples = platform.PullAudio(4);
    ASSERT_EQ(8u, samples.size());
    EXPECT_EQ(7, samples[7]);
    platform.CloseAudio();
    EXPECT_TRUE(platform.PullAudio(4).empty());
}

TEST(HeadlessPlatformTest, DataFolderIsPrivateTemporaryOrTheGivenOne)
{
    std::string temporary;
    {
        HeadlessPlatform platform;
        temporary = platform.UserDataFolder();
        ASSERT_FALSE(temporary.empty());
        EXPECT_EQ('/', temporary.back());
        EXPECT_TRUE(std::filesystem::is_directory(temporary));
        EXPECT_EQ(temporary, platform.UserDataFolder());
    }
    EXPECT_FALSE(std::filesystem::exists(temporary)) << "the temporary folder goes with the platform";

    TempFolder given;
    {
        HeadlessPlatform platform(false, given / "data");
        EXPECT_EQ(given / "data/", platform.UserDataFolder());
        EXPECT_TRUE(std::filesystem::is_directory(given / "data"));
        platform.ReleaseBeforeQuickExit();
    }
    EXPECT_TRUE(std::filesystem::is_directory(given / "data")) << "a given folder is never removed";

    HeadlessPlatform platform;
    platform.Settings().SetRegistryKey("Kestrin\\Velmora Row");
    EXPECT_TRUE(platform.Settings().WriteInteger("A", 1));
    EXPECT_EQ("", platform.Settings().FilePath()) << "headless settings stay in memory";
}

TEST(HeadlessPlatformTest, AnInterruptBecomesOneCloseEventAheadOfQueuedInput)
{
    HeadlessPlatform platform;
    platform.PushMouseMove(3, 4);
    HeadlessPlatform::CloseOnInterrupt();
    std::raise(SIGINT);

    PlatformEvent event;
    ASSERT_TRUE(platform.PollEvent(event));
    EXPECT_EQ(PlatformEvent::Type::Close, event.mType);
    ASSERT_TRUE(platform.PollEvent(event));
    EXPECT_EQ(PlatformEvent::Type::MouseMove, event.mType);
    EXPECT_FALSE(platform.PollEvent(event)) << "the interrupt is told once";

    // The handler is one-shot: the test's own process must still stop on a later Ctrl+C.
    struct sigaction now = {};
    sigaction(SIGINT, nullptr, &now);
    EXPECT_EQ(SIG_DFL, now.sa_handler);
    signal(SIGTERM, SIG_DFL);
}
