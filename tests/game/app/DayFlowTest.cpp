// The way around a day on the game's own content, through the board's screen flow and the real panels: what the
// end of a day decides (pass at the goal, expert, a lost life, the end of a run), what the result panel offers,
// what the profile file holds afterwards, and where each button leads (the map, the comic and the run's high
// scores, into the next store, or back to the main menu after a lost run). Skipped when the build has no content
// folder.
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/widgets/KeyCodes.h"
#include "framework/widgets/WidgetManager.h"
#include "game/app/GameApp.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/menus/Comic.h"
#include "game/menus/ConfirmTutorialMenu.h"
#include "game/menus/HighScoresMenu.h"
#include "game/menus/LevelCompleteMenu.h"
#include "game/menus/LevelStartMenu.h"
#include "game/menus/LoadGameMenu.h"
#include "game/menus/MainMenu.h"
#include "game/menus/MainMenuButton.h"
#include "game/menus/MapMenu.h"
#include "game/minigame/Minigame.h"
#include "game/minigame/MinigamePlay.h"
#include "game/profile/GameState.h"
#include "game/profile/ProfileTable.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"
#include "game/shopday/Hud.h"
#include "game/ui/Button.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

namespace
{

using namespace Zestra;

const std::string kGameDir = VELMORA_BUILD_GAME_DIR;

// One application for the whole suite (loading the content takes a while), started as a player would reach the
// board; every test begins with a fresh player and no menu open.
class DayFlow : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (!std::filesystem::exists(kGameDir + "/properties/resources.xml"))
            return;
        platform = new HeadlessPlatform();
        app = new GameApp(*platform);
        std::string dir = "-changedir=" + kGameDir;
        const char* argv[] = {"velmora", dir.c_str()};
        app->SetCommandLine(2, argv);
        app->Initialize();
        app->RunLoadingTask();
        app->Loading().mLoadingFinished = true;
        app->TryRunUpdate();
        app->StartGame();
        app->CloseStartScreens();
    }
    static void TearDownTestSuite()
    {
        delete app;
        delete platform;
        app = nullptr;
        platform = nullptr;
    }
    void SetUp() override
    {
        if (app == nullptr || app->GetBoard() == nullptr)
            GTEST_SKIP() << "no content folder in " << kGameDir;
        app->CloseAllMenus({});
        app->ProcessDeferredDeletes();
        for (int slot = 0; slot < 8; ++slot)
            SetProfileName(slot, "");
        CreateProfile("Tess");
    }
    void TearDown() override
    {
        if (app == nullptr)
            return;
        app->CloseAllMenus({});
        app->ProcessDeferredDeletes();
    }

    static Board& TheBoard() { return *app->GetBoard(); }
    static Menu* Top() { return app->OpenMenus().empty() ? nullptr : app->OpenMenus().back(); }
    template <class M> static M* TopAs() { return dynamic_cast<M*>(Top()); }
    static void Updates(int count)
    {
        for (int i = 0; i < count; i++)
        {
            app->RunUpdate();
            app->RunFractionalUpdate(1.0);
            app->ProcessDeferredDeletes();
        }
    }
    static void Click(int x, int y)
    {
        WidgetManager& manager = *app->mWidgetManager;
        manager.PointerMoved(x, y);
        manager.ButtonDown(x, y, 1);
        manager.ButtonUp(x, y, 1);
        app->ProcessDeferredDeletes();
    }
    // Waits for the top menu to settle, then clicks the middle of the widget (or of the screen).
    static void SettleAndClick(const Widget* widget)
    {
        Menu* top = Top();
        for (int i = 0; i < 1000 && top != nullptr && !top->IsSettled(); ++i)
            Updates(1);
        ASSERT_TRUE(top != nullptr && top->IsSettled());
        if (widget != nullptr)
            Click(widget->mX + widget->mWidth / 2, widget->mY + widget->mHeight / 2);
        else
            Click(400, 300);
    }
    static std::string ProfileFile()
    {
        std::ifstream in(GetProfilePath());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Plays nothing: opens the day's start panel (which marks the day started and builds it), takes it away, and
    // ends the day with these takings.
    static void EndDay(int storeNumber, int level, int lives, double money, double score = 0)
    {
        Board& board = TheBoard();
        const StoreInfo* store = GetStoreInfo(storeNumber);
        GameState run = NewGameState(store);
        run.levelIndex = level;
        run.lives = lives;
        run.score = score;
        board.run.StartDay(store, run, run);
        board.flow->ShowLevelStart(false);
        app->CloseAllMenus({});
        app->ProcessDeferredDeletes();
        board.day.money = money;
        board.day.cash = money;
        board.day.tips = 0;
        board.EndLevel();
    }
    static const LevelInfo& Level(int storeNumber, int level) { return *GetStoreInfo(storeNumber)->GetLevel(level); }
    // The last regular day of store 1 and a regular day in the middle of it.
    static int LastDay() { return int(GetStoreInfo(1)->levels.size()) - 1; }
    static constexpr int kMiddleDay = 4;

    static HeadlessPlatform* platform;
    static GameApp* app;
};

HeadlessPlatform* DayFlow::platform = nullptr;
GameApp* DayFlow::app = nullptr;

TEST_F(DayFlow, TakingsEqualToTheGoalPassAndAboveTheExpertGoalPassWithExpert)
{
    ASSERT_FALSE(Level(1, kMiddleDay).isMinigame);
    const double goal = Level(1, kMiddleDay).minGoal;
    EndDay(1, kMiddleDay, 4, goal);
    auto* result = TopAs<LevelCompleteMenu>();
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(TheBoard().lastDay.levelResult, DayResult::Passed);
    EXPECT_EQ(result->form.titleKey, "level_complete");
    EXPECT_EQ(GetLevelState(1, kMiddleDay), 2);
    // The profile file is written at the end of the day: the level passed, the run saved one day further on.
    const std::string file = ProfileFile();
    EXPECT_NE(file.find("<level number=\"" + std::to_string(kMiddleDay) + "\" state=\"2\"/>"), std::string::npos);
    EXPECT_NE(file.find("<state store=\"1\" level=\"" + std::to_string(kMiddleDay + 1) + "\""), std::string::npos);
    // OK leads to the map at the next day.
    ASSERT_NE(result->quitButton, nullptr);
    SettleAndClick(result->okButton);
    auto* map = TopAs<MapMenu>();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->storeNumber, 1);
    EXPECT_EQ(map->levelIndex, kMiddleDay + 1);

    app->CloseAllMenus({});
    EndDay(1, kMiddleDay, 4, Level(1, kMiddleDay).expertGoal + 10);
    result = TopAs<LevelCompleteMenu>();
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(TheBoard().lastDay.levelResult, DayResult::Expert);
    EXPECT_EQ(result->form.titleKey, "level_expert_complete");
    EXPECT_EQ(GetLevelState(1, kMiddleDay), 3);
}

TEST_F(DayFlow, FailingWithThreeLivesLeavesTwoAndOffersARetryThroughTheMap)
{
    EndDay(1, kMiddleDay, 3, 0);
    auto* result = TopAs<LevelCompleteMenu>();
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(TheBoard().lastDay.levelResult, DayResult::Failed);
    EXPECT_EQ(result->form.okKey, "level_fail_ok");
    ASSERT_NE(result->quitButton, nullptr);
    ASSERT_TRUE(HasSavedGame());
    EXPECT_EQ(GetSavedGame()->lives, 2);
    EXPECT_NE(ProfileFile().find("lives=\"2\""), std::string::npos);
    SettleAndClick(result->okButton);
    auto* map = TopAs<MapMenu>();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->levelIndex, kMiddleDay); // the same day again
    ASSERT_NE(TheBoard().run.Progress(), nullptr);
    EXPECT_EQ(TheBoard().run.Progress()->lives, 2);
}

TEST_F(DayFlow, FailingTheLastLifeEndsTheRunWithTheGameOverPanelAndAHighScore)
{
    const double previousScore = 987654;
    EndDay(1, kMiddleDay, 1, 25, previousScore);
    auto* result = TopAs<LevelCompleteMenu>();
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->form.titleKey, "level_fail_game_over");
    EXPECT_EQ(result->quitButton, nullptr); // one continue button
    EXPECT_FALSE(HasSavedGame());
    EXPECT_EQ(TheBoard().run.Saved(), nullptr);
    // The store's table holds the run total (the score so far and the failed day's takings).
    EXPECT_EQ(TheBoard().lastDay.highScoreRank, 0);
    const HighScoreTable* table = GetHighScoreTable(1);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->entries.front().name, "Tess");
    EXPECT_EQ(table->entries.front().score, int(previousScore + 25));
    EXPECT_EQ(ProfileFile().find("<state "), std::string::npos);
    SettleAndClick(result->okButton);
    auto* scores = TopAs<HighScoresMenu>();
    ASSERT_NE(scores, nullptr);
    EXPECT_EQ(scores->storeNumber, 1);
    EXPECT_EQ(scores->highlightedRow, 0);
    // A lost run's table leads back to the main menu.
    SettleAndClick(scores->backButton);
    EXPECT_NE(TopAs<MainMenu>(), nullptr);
    ResetHighScores();
}

TEST_F(DayFlow, PassingTheFirstStoreShowsTheComicThenItsScoresThenTheMapWithTheSecondStoreBeingBuilt)
{
    EndDay(1, LastDay(), 4, Level(1, LastDay()).minGoal);
    EXPECT_TRUE(TheBoard().lastDay.storeCompleted);
    EXPECT_EQ(GetUnlockedStores(), 2);
    auto* result = TopAs<LevelCompleteMenu>();
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->form.rival); // the store's last day has the rival's words
    EXPECT_EQ(result->quitButton, nullptr);
    SettleAndClick(result->okButton);
    auto* comic = TopAs<Comic>();
    ASSERT_NE(comic, nullptr);
    EXPECT_EQ(comic->kind, Comic::kToHighScores);
    for (int i = 0; i < 1000 && !comic->FadeDone(); ++i)
        Updates(1);
    Click(400, 300);
    auto* scores = TopAs<HighScoresMenu>();
    ASSERT_NE(scores, nullptr);
    EXPECT_EQ(scores->storeNumber, 1);
    EXPECT_TRUE(scores->fromResult);
    SettleAndClick(scores->backButton);
    auto* map = TopAs<MapMenu>();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->storeNumber, 2);
    EXPECT_EQ(map->levelIndex, 0);
    ASSERT_NE(map->FindStore(2), nullptr);
    EXPECT_TRUE(map->FindStore(2)->IsBuilding());
    ResetHighScores();
}

TEST_F(DayFlow, ABonusDayNeverOpensTheResultPanel)
{
    const StoreInfo* store = GetStoreInfo(1);
    int bonus = -1;
    for (int i = 0; i < int(store->levels.size()) && bonus < 0; ++i)
        if (store->levels[size_t(i)].isMinigame)
            bonus = i;
    ASSERT_GE(bonus, 0);
    Board& board = TheBoard();
    GameState run = NewGameState(store);
    run.levelIndex = bonus;
    board.run.StartDay(store, run, run);
    board.flow->PrepareLevel();
    auto* start = TopAs<LevelStartMenu>();
    ASSERT_NE(start, nullptr);
    ASSERT_NE(start->minigame, nullptr);
    EXPECT_EQ(start->handbookButton, nullptr);
    Minigame* game = start->minigame;
    SettleAndClick(start->okButton);
    // The memory game starts with the panel's OK; when it is done, the map follows at once, at the next day.
    ASSERT_EQ(Top(), game);
    ASSERT_NE(game->play, nullptr);
    EXPECT_NE(game->play->phase, MinigamePhase::Created);
    // Nothing dragged: the time runs out and the results offer done.
    for (int i = 0; i < 100000 && !game->doneButton->mShown; ++i)
        Updates(1);
    ASSERT_TRUE(game->doneButton->mShown);
    SettleAndClick(game->doneButton);
    for (Menu* menu : app->OpenMenus())
        EXPECT_EQ(dynamic_cast<LevelCompleteMenu*>(menu), nullptr);
    auto* map = TopAs<MapMenu>();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->levelIndex, bonus + 1);
}

TEST_F(DayFlow, TheHudButtonsLeaveTheClockTheMonthAndTheLivesFree)
{
    const Rect screen(0, 0, 800, 600);
    const Rect lives = HudLivesArea(IMAGE_HUD_LIVES.get());
    for (const ResImage* button :
         {&IMAGE_HUD_OPTIONS_NORMAL, &IMAGE_HUD_OPTIONS_HOVER, &IMAGE_HUD_DONE_NORMAL, &IMAGE_HUD_DONE_HOVER})
    {
        ASSERT_NE(button->get(), nullptr);
        const Rect area = HudButtonArea(button->get());
        EXPECT_EQ(area.Intersection(screen), area) << "a HUD button reaches off the screen";
        EXPECT_FALSE(area.Intersects(lives)) << "a HUD button covers the lives";
        for (const ResImage* month :
             {&IMAGE_HUD_JAN, &IMAGE_HUD_FEB, &IMAGE_HUD_MAR, &IMAGE_HUD_APR, &IMAGE_HUD_MAY, &IMAGE_HUD_JUN,
              &IMAGE_HUD_JUL, &IMAGE_HUD_AUG, &IMAGE_HUD_SEP, &IMAGE_HUD_OCT, &IMAGE_HUD_NOV, &IMAGE_HUD_DEC})
        {
            const Rect clock = HudClockArea(IMAGE_HUD_CLOCK.get(), month->get());
            EXPECT_FALSE(area.Intersects(clock)) << "a HUD button covers the clock or its month";
        }
    }
    // The board's buttons take the places measured here.
    const Button& options = *TheBoard().hud.optionsButton;
    EXPECT_EQ(Rect(options.mX, options.mY, options.mWidth, options.mHeight),
              HudButtonArea(IMAGE_HUD_OPTIONS_NORMAL.get()));
}

TEST_F(DayFlow, EscapeLeavesTheOptionsAsTheirButtonsWouldAndLeadsOnFromAComic)
{
    enum class Then
    {
        MainMenu, // the main menu alone
        Nothing,  // back to what was under the screen: here no menu at all
        Map,
    };
    struct Case
    {
        const char* name;
        std::function<void(Board&)> open;
        Then then;
    };
    const Case cases[] = {
        {"options over the main menu",
         [](Board& board)
         {
             board.flow->ShowMainMenu();
             board.flow->ShowOptions(false);
         },
         Then::MainMenu},
        {"options during a day", [](Board& board) { board.flow->ShowOptions(true); }, Then::Nothing},
        {"first comic", [](Board& board) { app->AddMenu(std::make_unique<Comic>(&board, true)); }, Then::Map},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        app->CloseAllMenus({});
        app->ProcessDeferredDeletes();
        c.open(TheBoard());
        Menu* top = Top();
        ASSERT_NE(top, nullptr);
        auto* comic = dynamic_cast<Comic*>(top);
        for (int i = 0; i < 1000 && !(top->IsSettled() && (comic == nullptr || comic->FadeDone())); ++i)
            Updates(1);
        app->mWidgetManager->KeyPressed(KEY_ESCAPE);
        app->mWidgetManager->KeyReleased(KEY_ESCAPE);
        app->ProcessDeferredDeletes();
        switch (c.then)
        {
        case Then::MainMenu:
            EXPECT_NE(TopAs<MainMenu>(), nullptr);
            EXPECT_EQ(app->OpenMenus().size(), 1u);
            break;
        case Then::Nothing:
            EXPECT_TRUE(app->OpenMenus().empty());
            break;
        case Then::Map:
            EXPECT_NE(TopAs<MapMenu>(), nullptr);
            break;
        }
    }
}

TEST_F(DayFlow, PlayAsksAboutASavedRunAndOtherwiseStartsANewGameAtOnce)
{
    enum class Answer
    {
        None,     // no saved run: nothing is asked
        Continue, // the question's load button
        NewGame,  // the question's new-game button, then its confirmation
    };
    struct Case
    {
        const char* name;
        bool savedRun;
        Answer answer;
    };
    const Case cases[] = {
        {"no saved run", false, Answer::None},
        {"continue the saved run", true, Answer::Continue},
        {"a new game over the saved run", true, Answer::NewGame},
    };
    // The saved run: store 2, its fourth day, one life lost.
    constexpr int kSavedStore = 2;
    constexpr int kSavedDay = 3;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        app->CloseAllMenus({});
        app->ProcessDeferredDeletes();
        SetProfileName(0, "");
        CreateProfile("Tess");
        TheBoard().run.Forget();
        if (c.savedRun)
        {
            UnlockStore(kSavedStore);
            MarkLevelStarted(1, 0);
            GameState run = NewGameState(GetStoreInfo(kSavedStore));
            run.levelIndex = kSavedDay;
            run.lives = 3;
            SetSavedGame(&run);
        }
        TheBoard().flow->ShowMainMenu();
        auto* main = TopAs<MainMenu>();
        ASSERT_NE(main, nullptr);
        SettleAndClick(main->buttons[0]);
        if (c.answer == Answer::None)
        {
            // At once the first comic of a new run; the main menu has gone and nothing was asked.
            auto* comic = TopAs<Comic>();
            ASSERT_NE(comic, nullptr);
            EXPECT_EQ(comic->kind, Comic::kToMap);
            EXPECT_EQ(app->OpenMenus().size(), 1u);
            EXPECT_FALSE(HasSavedGame());
            continue;
        }
        auto* question = TopAs<LoadGameMenu>();
        ASSERT_NE(question, nullptr);
        ASSERT_EQ(app->OpenMenus().size(), 2u) << "the main menu stays under the question";
        if (c.answer == Answer::Continue)
        {
            SettleAndClick(question->loadButton);
            auto* map = TopAs<MapMenu>();
            ASSERT_NE(map, nullptr);
            EXPECT_EQ(app->OpenMenus().size(), 1u);
            EXPECT_FALSE(map->chooseMode);
            EXPECT_EQ(map->storeNumber, kSavedStore);
            EXPECT_EQ(map->levelIndex, kSavedDay);
            ASSERT_NE(TheBoard().run.Progress(), nullptr);
            EXPECT_EQ(TheBoard().run.Progress()->lives, 3);
            EXPECT_TRUE(HasSavedGame()) << "continuing keeps the saved run";
            continue;
        }
        SettleAndClick(question->newGameButton);
        Menu* confirm = Top();
        ASSERT_NE(confirm, question);
        for (int i = 0; i < 1000 && !confirm->IsSettled(); ++i)
            Updates(1);
        app->mWidgetManager->KeyPressed(KEY_RETURN); // the confirmation's yes
        app->mWidgetManager->KeyReleased(KEY_RETURN);
        app->ProcessDeferredDeletes();
        // The saved run is gone and, with two stores open, the map lets the player choose where to start.
        EXPECT_FALSE(HasSavedGame());
        auto* map = TopAs<MapMenu>();
        ASSERT_NE(map, nullptr);
        EXPECT_TRUE(map->chooseMode);
        EXPECT_EQ(app->OpenMenus().size(), 1u) << "the question and the main menu have closed";
    }
}

TEST_F(DayFlow, ContinuingIntoADayAlreadyBegunSkipsTheLessonOfferWhichAReplayStillGets)
{
    // The run was saved on the second store's lesson day, which the player had begun.
    UnlockStore(2);
    MarkLevelStarted(1, 0);
    MarkLevelStarted(2, 0);
    GameState run = NewGameState(GetStoreInfo(2));
    run.levelIndex = 0;
    SetSavedGame(&run);
    TheBoard().flow->StartNewGame(true);
    ASSERT_NE(TopAs<MapMenu>(), nullptr);
    app->CloseAllMenus({});
    app->ProcessDeferredDeletes();
    TheBoard().flow->EnterStore();
    ASSERT_NE(Top(), nullptr);
    EXPECT_EQ(TopAs<ConfirmTutorialMenu>(), nullptr) << "the lesson is not offered again after Continue";

    // Coming to the same day again in the same sitting (a retry) still offers the lesson.
    app->CloseAllMenus({});
    app->ProcessDeferredDeletes();
    TheBoard().flow->EnterStore();
    EXPECT_NE(TopAs<ConfirmTutorialMenu>(), nullptr);
}

TEST_F(DayFlow, TheMainMenuWelcomesANewPlayerAndWelcomesBackOneWhoHasPlayed)
{
    ASSERT_NE(GetText("welcome_new"), GetText("welcome"));
    TheBoard().flow->ShowMainMenu();
    auto* main = TopAs<MainMenu>();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->greeting, GetText("welcome_new"));
    app->CloseAllMenus({});
    app->ProcessDeferredDeletes();

    MarkLevelStarted(1, 0);
    TheBoard().flow->ShowMainMenu();
    main = TopAs<MainMenu>();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->greeting, GetText("welcome"));
}

} // namespace
