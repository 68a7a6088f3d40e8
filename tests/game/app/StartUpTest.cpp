// The way from launch to the game, run headless on the game's own content: the studio logo, the two splash
// pictures, the title screen with its loading bar and Play, the failure path, the voice volume and the "-level"
// shortcut. Skipped when the build has no content folder.
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/platform/SettingsStore.h"
#include "framework/sound/MixerSoundManager.h"
#include "framework/widgets/Widget.h"
#include "game/app/DistributorScreen.h"
#include "game/app/GameApp.h"
#include "game/app/LogoScreen.h"
#include "game/app/TitleScreen.h"
#include "game/ui/Button.h"
#include "game/menus/LevelCompleteMenu.h"
#include "game/menus/LevelStartMenu.h"
#include "game/menus/MapMenu.h"
#include "game/menus/OpenSignMenu.h"
#include "framework/widgets/EditWidget.h"
#include "game/menus/Comic.h"
#include "game/menus/EnterNameMenu.h"
#include "game/menus/MainMenu.h"
#include "game/menus/OptionsDialog.h"
#include "game/profile/ProfileTable.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;
using Zestra::GameApp;
using Zestra::HeadlessPlatform;

const std::string kGameDir = VELMORA_BUILD_GAME_DIR;

// A loader that loads nothing: it waits until the test lets it finish, and can fail instead.
class FakeLoaderApp : public GameApp
{
public:
    using GameApp::GameApp;
    void RunLoadingTask() override
    {
        while (!release.load() && !mQuitting)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (!failure.empty())
            FailLoading(failure);
    }
    std::atomic<bool> release{false};
    std::string failure;
};

class StartUp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!fs::exists(kGameDir + "/properties/resources.xml"))
            GTEST_SKIP() << "no content folder in " << kGameDir;
        platform = std::make_unique<HeadlessPlatform>();
    }

    template <class App> std::unique_ptr<App> MakeApp(std::vector<std::string> args, const std::string& dir = kGameDir)
    {
        args.insert(args.begin(), {"velmora", "-changedir=" + dir});
        std::vector<const char*> argv;
        for (const std::string& arg : args)
            argv.push_back(arg.c_str());
        auto app = std::make_unique<App>(*platform);
        app->SetCommandLine(int(argv.size()), argv.data());
        app->Initialize();
        return app;
    }

    // Runs the loop, calling script after every update until it returns false (then the app quits) or a real-time
    // limit passes (a failure).
    static void RunScript(GameApp& app, std::function<bool()> script)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
        app.onUpdate = [&]
        {
            bool more = script();
            if (std::chrono::steady_clock::now() > deadline)
            {
                ADD_FAILURE() << "the script did not finish in time";
                more = false;
            }
            if (!more)
                app.Quit();
        };
        app.Run();
        app.onUpdate = nullptr;
    }

    std::unique_ptr<HeadlessPlatform> platform;
};

TEST_F(StartUp, LogoSplashesAndTitleFollowEachOtherAndPlayAppearsOnceLoaded)
{
    auto app = MakeApp<GameApp>({});
    ASSERT_NE(app->GetLogoScreen(), nullptr);
    EXPECT_EQ(app->Window().mCursorImages[0], static_cast<Zestra::Image*>(IMAGE_CUSTOM_POINTER.get()));
    EXPECT_EQ(app->Window().mCursorImages[3], static_cast<Zestra::Image*>(IMAGE_CUSTOM_TEXT.get()));
    int update = 0;
    int splashStart = -1;
    int secondSplashStart = -1;
    int titleStart = -1;
    bool clickedLogo = false;
    bool clickedPlay = false;
    bool playBeforeLoaded = false;
    RunScript(*app,
              [&]
              {
                  ++update;
                  if (auto* logo = app->GetLogoScreen())
                  {
                      // A click before the first letter has come down ends the logo at once.
                      if (!clickedLogo)
                      {
                          EXPECT_LT(logo->Letter(0).y, 300);
                          platform->PushClick(400, 300);
                          clickedLogo = true;
                      }
                      return true;
                  }
                  if (app->GetFirstSplash() != nullptr)
                  {
                      if (splashStart < 0)
                      {
                          splashStart = update;
                          platform->PushClick(10, 10);
                      }
                      return true;
                  }
                  if (app->GetSecondSplash() != nullptr)
                  {
                      if (secondSplashStart < 0)
                          secondSplashStart = update;
                      return true;
                  }
                  if (Zestra::TitleScreen* title = app->GetTitleScreen(); title != nullptr && app->OpenMenus().empty())
                  {
                      if (titleStart < 0)
                          titleStart = update;
                      playBeforeLoaded |= title->IsPlayShown() && !app->IsGameLoaded();
                      if (title->IsPlayShown() && !clickedPlay)
                      {
                          Zestra::Widget* play = title->PlayButton();
                          platform->PushClick(play->mX + play->mWidth / 2, play->mY + play->mHeight / 2);
                          clickedPlay = true;
                      }
                      return true;
                  }
                  // A first run asks for the player's name before the game starts.
                  if (auto* entry = app->OpenMenus().empty()
                                        ? nullptr
                                        : dynamic_cast<EnterNameMenu*>(app->OpenMenus().back()))
                  {
                      entry->nameField->SetContent("Bea", false);
                      entry->Submit();
                  }
                  return app->GetBoard() == nullptr && update < 1000000;
              });
    EXPECT_TRUE(clickedLogo);
    EXPECT_LE(splashStart, 5) << "the click ended the logo";
    EXPECT_LE(secondSplashStart - splashStart, 5) << "the click ended the first splash";
    // Left alone, a splash shows for 400 updates and ends on its 401st.
    EXPECT_GE(titleStart - secondSplashStart, 400);
    EXPECT_LE(titleStart - secondSplashStart, 403);
    EXPECT_FALSE(playBeforeLoaded);
    EXPECT_TRUE(clickedPlay);
    ASSERT_NE(app->GetBoard(), nullptr);
    EXPECT_EQ(app->GetTitleScreen(), nullptr);
    EXPECT_EQ(app->ExitCode(), 0);
}

TEST_F(StartUp, AMissingSecondSplashGoesStraightToTheTitle)
{
    // The loose files without the archive (which holds both splash pictures) and without "splash2".
    TestSupport::TempFolder folder;
    for (const auto& entry : fs::directory_iterator(kGameDir))
        if (entry.path().filename() != "main.pak" && entry.path().filename().string().rfind("splash2", 0) != 0)
            fs::create_symlink(entry.path(), folder.Path() / entry.path().filename());
    auto app = MakeApp<FakeLoaderApp>({}, folder.Path().string());
    int update = 0;
    int splashEnd = -1;
    int titleStart = -1;
    RunScript(*app,
              [&]
              {
                  ++update;
                  if (app->GetLogoScreen() != nullptr || (app->GetFirstSplash() != nullptr && update == 3))
                      platform->PushClick(1, 1);
                  if (app->GetFirstSplash() == nullptr && app->GetLogoScreen() == nullptr && splashEnd < 0)
                      splashEnd = update;
                  if (app->GetTitleScreen() != nullptr)
                  {
                      titleStart = update;
                      return false;
                  }
                  return update < 5000;
              });
    ASSERT_GE(titleStart, 0);
    EXPECT_LE(titleStart - splashEnd, 2);
    app->release = true;
}

TEST_F(StartUp, AFailedLoadShowsTheErrorOffersNoPlayAndEndsWithAFailureCode)
{
    auto app = MakeApp<FakeLoaderApp>({});
    app->failure = "Cannot load the resource group Game: Failed to load image: images/x.png";
    app->release = true;
    bool playShown = false;
    RunScript(*app,
              [&]
              {
                  if (app->GetLogoScreen() != nullptr || app->GetFirstSplash() || app->GetSecondSplash())
                      platform->PushClick(1, 1);
                  if (app->GetTitleScreen() != nullptr)
                      playShown |= app->GetTitleScreen()->IsPlayShown();
                  return true;
              });
    EXPECT_FALSE(playShown);
    EXPECT_FALSE(app->IsGameLoaded());
    EXPECT_TRUE(app->LoadingFailed());
    EXPECT_EQ(app->ExitCode(), 1);
    ASSERT_FALSE(platform->MessageBoxTexts().empty());
    EXPECT_NE(platform->MessageBoxTexts().back().find("images/x.png"), std::string::npos);
}

TEST_F(StartUp, VoiceVolumeIsStoredInHundredthsAndMutingSilencesVoicesOnly)
{
    {
        auto app = MakeApp<FakeLoaderApp>({});
        EXPECT_DOUBLE_EQ(app->GetVoiceVolume(), GameApp::kDefaultVoiceVolume);
        auto* voices = dynamic_cast<Zestra::MixerSoundManager*>(app->VoiceManager());
        ASSERT_NE(voices, nullptr);
        app->SetVoiceVolume(0.55);
        EXPECT_DOUBLE_EQ(voices->GetVolume(), 0.55);
        app->Mute(false);
        EXPECT_EQ(voices->GetVolume(), 0.0);
        EXPECT_DOUBLE_EQ(app->GetVoiceVolume(), 0.55);
        app->Unmute(false);
        EXPECT_DOUBLE_EQ(voices->GetVolume(), 0.55);
        app->SaveSettings();
        int stored = 0;
        ASSERT_TRUE(app->SettingReadInteger("VoiceVolume", stored));
        EXPECT_EQ(stored, 55);
        app->release = true;
    }
    auto again = MakeApp<FakeLoaderApp>({});
    EXPECT_DOUBLE_EQ(again->GetVoiceVolume(), 0.55);
    again->release = true;
}

TEST_F(StartUp, LevelOptionSkipsTheStartScreensAndFocusLossPausesTheDay)
{
    auto app = MakeApp<GameApp>({"-level=1:1"});
    EXPECT_EQ(app->GetLogoScreen(), nullptr);
    int phase = 0;
    RunScript(*app,
              [&]
              {
                  EXPECT_EQ(app->GetLogoScreen(), nullptr);
                  EXPECT_EQ(app->GetTitleScreen(), nullptr);
                  Zestra::Board* board = app->GetBoard();
                  if (board == nullptr || app->LevelTicks() < 10)
                      return true;
                  Zestra::PlatformEvent focus;
                  focus.mType = Zestra::PlatformEvent::Type::Activate;
                  if (phase == 0)
                  {
                      EXPECT_EQ(board->lastDay.storePlayed == 0 ? 1 : board->lastDay.storePlayed, 1);
                      EXPECT_EQ(board->PauseCount(), 0);
                      focus.mActive = false;
                      platform->PushEvent(focus);
                      phase = 1;
                  }
                  else if (phase == 1 && board->PauseCount() > 0)
                  {
                      focus.mActive = true;
                      platform->PushEvent(focus);
                      phase = 2;
                  }
                  else if (phase == 2 && board->PauseCount() == 0)
                  {
                      phase = 3;
                  }
                  return phase < 3 && app->LevelTicks() < 100000;
              });
    EXPECT_EQ(phase, 3) << "focus loss paused the day and focus gain let it run again";
}

TEST(TitleScreenBar, NeverFillsBeyondItsBase)
{
    struct Case
    {
        double progress;
        int fill;
    };
    const Case cases[] = {{0.0, 0}, {-0.5, 0}, {0.5, 210}, {0.999, 419}, {1.0, 420}, {1.7, 420},
                          {std::numeric_limits<double>::quiet_NaN(), 0}};
    for (const Case& c : cases)
        EXPECT_EQ(Zestra::TitleScreen::BarFillWidth(c.progress, 420), c.fill) << c.progress;
}

} // namespace

namespace
{

// The top open menu, or null.
Menu* TopMenu(GameApp& app)
{
    return app.OpenMenus().empty() ? nullptr : app.OpenMenus().back();
}

// What the walk records of a screen.
std::string ScreenName(const Menu& menu)
{
    if (dynamic_cast<const MapMenu*>(&menu) != nullptr)
        return "Store map";
    if (dynamic_cast<const LevelStartMenu*>(&menu) != nullptr)
        return "Level start";
    if (dynamic_cast<const LevelCompleteMenu*>(&menu) != nullptr)
        return "Result of the day";
    if (dynamic_cast<const MainMenu*>(&menu) != nullptr)
        return "Main menu";
    if (auto* comic = dynamic_cast<const Comic*>(&menu))
        return "Comic " + std::to_string(comic->kind);
    if (dynamic_cast<const OptionsDialog*>(&menu) != nullptr)
        return "Options";
    return "?";
}

// Leads on from the screen as its first way on would: the main menu's Play, a comic's click once its fade has
// ended, a click on the map once it waits for one, the OK of a day's panel once it has settled. False while the
// screen is not ready.
bool GoOn(Menu& menu)
{
    if (auto* map = dynamic_cast<MapMenu*>(&menu))
    {
        if (!map->IsSettled())
            return false;
        map->OnMouseDown(400, 300, 0, 1);
        return true;
    }
    if (auto* start = dynamic_cast<LevelStartMenu*>(&menu))
    {
        if (!start->IsSettled())
            return false;
        start->ButtonPressed(start->okButton->mButtonId);
        return true;
    }
    if (auto* result = dynamic_cast<LevelCompleteMenu*>(&menu))
    {
        if (!result->IsSettled())
            return false;
        result->ButtonPressed(result->okButton->mButtonId);
        return true;
    }
    if (auto* main = dynamic_cast<MainMenu*>(&menu))
    {
        if (!main->IsSettled())
            return false;
        main->ButtonPressed(MainMenu::kPlay);
        return true;
    }
    if (auto* comic = dynamic_cast<Comic*>(&menu))
        return comic->Continue();
    if (auto* options = dynamic_cast<OptionsDialog*>(&menu))
    {
        options->ButtonPressed(OptionsDialog::kClose);
        return true;
    }
    return false;
}

TEST_F(StartUp, AFirstRunGoesFromTheNameEntryThroughTheMenusIntoADayAndOnToTheMap)
{
    auto app = MakeApp<GameApp>({});
    enum Step
    {
        ToTitle,
        NameEntry,
        MainMenu,
        FirstComic,
        Map,
        SecondComic,
        Lesson,
        LevelStart,
        OpenSign,
        Playing,
        Covered,
        Result,
        Done
    };
    Step step = ToTitle;
    std::vector<std::string> seen;
    int coveredClock = 0;
    RunScript(*app,
              [&]
              {
                  Zestra::Board* board = app->GetBoard();
                  Menu* top = TopMenu(*app);
                  switch (step)
                  {
                  case ToTitle:
                      if (app->GetLogoScreen() || app->GetFirstSplash() || app->GetSecondSplash())
                          platform->PushClick(1, 1);
                      else if (app->GetTitleScreen() != nullptr && app->GetTitleScreen()->IsPlayShown())
                      {
                          Zestra::Widget* play = app->GetTitleScreen()->PlayButton();
                          platform->PushClick(play->mX + play->mWidth / 2, play->mY + play->mHeight / 2);
                          step = NameEntry;
                      }
                      return true;
                  case NameEntry:
                      if (dynamic_cast<EnterNameMenu*>(top) != nullptr)
                      {
                          EXPECT_EQ(board, nullptr) << "the name comes before the game";
                          // Typed as a player would: the field has the keyboard, Return confirms.
                          for (char ch : std::string("Ada"))
                              platform->PushChar(uint8_t(ch));
                          platform->PushKey(13);
                          step = MainMenu;
                      }
                      return true;
                  case MainMenu:
                      if (top == nullptr || board == nullptr)
                          return true;
                      if (!GoOn(*top)) // Play, once the buttons have landed
                          return true;
                      seen.push_back(ScreenName(*top));
                      EXPECT_EQ(app->GetTitleScreen(), nullptr);
                      EXPECT_TRUE(dynamic_cast<::MainMenu*>(top) != nullptr &&
                                  dynamic_cast<::MainMenu*>(top)->playerName == "Ada")
                          << "the main menu greets the new player";
                      EXPECT_EQ(board->State(), BoardState::Hidden) << "the full-screen main menu hides the board";
                      step = FirstComic;
                      return true;
                  case Lesson:
                      // The first day's lesson runs on the floor in mode 2; its end opens the level start, as the
                      // tick does when the lesson reports itself finished.
                      if (board->lesson == nullptr)
                          return true;
                      EXPECT_EQ(board->Mode(), BoardMode::Tutorial);
                      EXPECT_EQ(board->State(), BoardState::Playing) << "a lesson plays with no menu open";
                      seen.push_back("Lesson");
                      board->EndLesson();
                      board->flow->ShowLevelStart(true);
                      step = LevelStart;
                      return true;
                  case FirstComic:
                  case Map:
                  case SecondComic:
                      if (top == nullptr || !GoOn(*top))
                          return true;
                      seen.push_back(ScreenName(*top));
                      step = Step(step + 1);
                      return true;
                  case LevelStart:
                      if (top == nullptr || !top->IsSettled())
                          return true;
                      seen.push_back(ScreenName(*top));
                      EXPECT_EQ(board->State(), BoardState::Covered) << "the level start panel shows the store behind it";
                      EXPECT_TRUE(board->Dimmed());
                      GoOn(*top); // OK
                      step = OpenSign;
                      return true;
                  case OpenSign:
                      if (app->OpenMenus().empty())
                      {
                          EXPECT_EQ(board->State(), BoardState::Playing) << "the day runs once the sign has closed";
                          step = Playing;
                      }
                      else
                      {
                          EXPECT_NE(dynamic_cast<OpenSignMenu*>(app->OpenMenus().back()), nullptr);
                          EXPECT_FALSE(board->Dimmed()) << "the sign leaves the shop undarkened";
                          EXPECT_EQ(board->State(), BoardState::Covered);
                      }
                      return true;
                  case Playing:
                      if (app->LevelTicks() < 300)
                          return true;
                      board->flow->ShowOptions(true);
                      coveredClock = board->day.clockTicks;
                      step = Covered;
                      return true;
                  case Covered:
                      EXPECT_EQ(board->State(), BoardState::Covered);
                      EXPECT_TRUE(board->Dimmed()) << "the day is darkened behind the options";
                      EXPECT_EQ(board->day.clockTicks, coveredClock) << "and does not run";
                      if (app->LevelTicks() > 500)
                      {
                          GoOn(*top); // return to the game
                          board->EndLevel();
                          step = Result;
                      }
                      return true;
                  case Result:
                      if (top == nullptr || !GoOn(*top)) // continue, once the panel has landed
                          return true;
                      seen.push_back(ScreenName(*top));
                      step = Done;
                      return true;
                  case Done:
                      if (top != nullptr)
                          seen.push_back(ScreenName(*top));
                      return false;
                  }
                  return false;
              });
    EXPECT_EQ(step, Done);
    const std::vector<std::string> expected = {"Main menu", "Comic 1",     "Store map",         "Comic 2",
                                               "Lesson",    "Level start", "Result of the day", "Store map"};
    EXPECT_EQ(seen, expected);
    ASSERT_NE(GetProfile(GetSelectedProfile()), nullptr);
    EXPECT_EQ(GetProfile(GetSelectedProfile())->name, "Ada");
    EXPECT_TRUE(WasLevelStarted(1, 0));
}

} // namespace
