// The memory game's screen in the application over a minigame day of the game's own content: it opens for the day,
// takes real mouse input through the widget manager (the cursor included), pauses with the application, pays its
// money into the day and ends it through the board; and the built-in player finishes it through the mouse alone.
// Skipped when the build has no content folder.
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/headless/HeadlessPlatform.h"
#include "framework/widgets/WidgetManager.h"
#include "game/app/GameApp.h"
#include "game/data/LevelStats.h"
#include "game/diag/PlayerBot.h"
#include "game/ui/Button.h"
#include "game/minigame/Minigame.h"
#include "game/minigame/MinigameClothing.h"
#include "game/minigame/MinigameMannequin.h"
#include "game/minigame/MinigamePlay.h"
#include "game/shopday/Board.h"

#include "tests/game/LoadedGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

using namespace Zestra;

const std::string kGameDir = VELMORA_BUILD_GAME_DIR;
constexpr int kStore = 1;
constexpr int kMinigameDay = 6;
constexpr int kCursorHand = 1;
constexpr int kCursorDragging = 2;

// One application for the whole suite: loading the content takes a while, and the process holds one at a time.
class MinigameScreen : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { TestSupport::StartLoadedGame("-level=1:0", platform, app); }
    static void TearDownTestSuite() { TestSupport::StopLoadedGame(platform, app); }
    void SetUp() override
    {
        if (app == nullptr || app->GetBoard() == nullptr)
            GTEST_SKIP() << "no content folder in " << kGameDir;
        const StoreInfo* store = GetStoreInfo(kStore);
        ASSERT_TRUE(store != nullptr && store->GetLevel(kMinigameDay) != nullptr &&
                    store->GetLevel(kMinigameDay)->isMinigame);
        std::srand(11);
        ASSERT_TRUE(app->StartLevel(kStore, kMinigameDay));
        game = Board().DayMinigame();
        ASSERT_NE(game, nullptr);
        ASSERT_NE(game->play, nullptr);
    }
    void TearDown() override
    {
        if (app == nullptr)
            return;
        app->CloseAllMenus({});
        app->ProcessDeferredDeletes();
    }

    static Zestra::Board& Board() { return *app->GetBoard(); }
    static WidgetManager& Manager() { return *app->mWidgetManager; }
    static void Updates(int count)
    {
        for (int i = 0; i < count; i++)
        {
            app->RunUpdate();
            app->ProcessDeferredDeletes();
        }
    }
    MinigamePlay& Play() { return *game->play; }
    void UpdateUntil(MinigamePhase phase)
    {
        for (int i = 0; i < 10000 && Play().phase != phase; i++)
            Updates(1);
        ASSERT_EQ(Play().phase, phase);
    }
    // Each mannequin's pieces as seen in the preview, tops first.
    std::vector<std::pair<std::string, size_t>> SeenOutfits()
    {
        std::vector<std::pair<std::string, size_t>> tops, bottoms;
        for (size_t i = 0; i < Play().mannequins.size(); ++i)
        {
            const MinigameMannequin& m = *Play().mannequins[i];
            if (m.topPiece && m.topShown)
                tops.emplace_back(m.topPiece->name, i);
            if (m.bottomPiece && m.bottomShown)
                bottoms.emplace_back(m.bottomPiece->name, i);
        }
        tops.insert(tops.end(), bottoms.begin(), bottoms.end());
        return tops;
    }
    const MinigameClothing* Card(const std::string& name)
    {
        for (const auto& card : Play().cards)
            if (card->name == name)
                return card.get();
        return nullptr;
    }
    // Presses on the card's middle, drags it in steps to the mannequin and lets go there.
    void DragOnto(const std::string& name, size_t mannequin)
    {
        const MinigameClothing* card = Card(name);
        ASSERT_NE(card, nullptr) << name;
        int x = card->x + card->CelWidth() / 2, y = card->y + card->CelHeight() / 2;
        const MinigameMannequin& target = *Play().mannequins[mannequin];
        Manager().PointerMoved(x, y);
        Manager().ButtonDown(x, y, 1);
        Manager().PointerMoved((x + target.CentreX()) / 2, (y + target.y + 100) / 2);
        Manager().PointerMoved(target.CentreX(), target.y + 100);
        Manager().ButtonUp(target.CentreX(), target.y + 100, 1);
    }
    void ClickDone()
    {
        ASSERT_TRUE(game->doneButton->mShown);
        const Button& done = *game->doneButton;
        int x = done.mX + done.mWidth / 2, y = done.mY + done.mHeight / 2;
        Manager().PointerMoved(x, y);
        Manager().ButtonDown(x, y, 1);
        Manager().ButtonUp(x, y, 1);
        app->ProcessDeferredDeletes();
    }

    static HeadlessPlatform* platform;
    static GameApp* app;
    Minigame* game = nullptr;
};

HeadlessPlatform* MinigameScreen::platform = nullptr;
GameApp* MinigameScreen::app = nullptr;

TEST_F(MinigameScreen, TheDayOpensTheGameFullScreenOverAHiddenBoard)
{
    EXPECT_EQ(app->OpenMenus(), (std::list<Menu*>{game}));
    EXPECT_EQ(Board().State(), BoardState::Hidden);
    EXPECT_EQ(game->mWidth, 800);
    EXPECT_EQ(game->mHeight, 600);
    EXPECT_EQ(Play().stage, 1);
    EXPECT_EQ(Play().phase, MinigamePhase::Preview);
    EXPECT_FALSE(game->doneButton->mShown);
    // Stage one leaves out the second-round mannequins.
    const LevelInfo& level = *GetStoreInfo(kStore)->GetLevel(kMinigameDay);
    size_t firstRound = size_t(std::count_if(level.minigameMannequins.begin(), level.minigameMannequins.end(),
                                             [](const MinigameMannequinInfo& m) { return !m.secondRound; }));
    EXPECT_EQ(Play().mannequins.size(), firstRound);
    UpdateUntil(MinigamePhase::Solving);
    EXPECT_EQ(Play().timer, level.solveTime * int(firstRound));
}

TEST_F(MinigameScreen, AMemoryGameDayStartsItsFiguresFromNothing)
{
    // As the flow opens it after a finished shop day.
    app->CloseAllMenus({});
    app->ProcessDeferredDeletes();
    Board().lastDay.levelResult = DayResult::Passed;
    Board().day.money = Board().day.cash = 250;
    Board().day.tips = 20;
    Board().day.customersServed = 9;
    Board().day.lostCustomers = 2;
    Board().flow->OpenMinigame();
    game = Board().DayMinigame();
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(Board().lastDay.levelResult, DayResult::None);
    EXPECT_EQ(Board().day.money + Board().day.cash + Board().day.tips, 0);
    EXPECT_EQ(Board().day.customersServed + Board().day.lostCustomers, 0);
    EXPECT_EQ(game->play->phase, MinigamePhase::Created);
}

TEST_F(MinigameScreen, DraggingACardShowsTheDraggingHandAndDressesTheMannequin)
{
    auto seen = SeenOutfits();
    ASSERT_FALSE(seen.empty());
    UpdateUntil(MinigamePhase::Solving);
    const MinigameClothing* card = Card(seen[0].first);
    ASSERT_NE(card, nullptr);
    int x = card->x + card->CelWidth() / 2, y = card->y + card->CelHeight() / 2;
    Manager().PointerMoved(x, y);
    EXPECT_EQ(app->Window().mCursor, kCursorHand);
    Manager().ButtonDown(x, y, 1);
    ASSERT_NE(Play().draggedCard, nullptr);
    EXPECT_EQ(app->Window().mCursor, kCursorDragging);
    const MinigameMannequin& target = *Play().mannequins[seen[0].second];
    Manager().PointerMoved(target.CentreX(), target.y + 100);
    EXPECT_EQ(app->Window().mCursor, kCursorDragging);
    EXPECT_EQ(Play().draggedCard->x + Play().draggedCard->CelWidth() / 2, target.CentreX());
    Manager().ButtonUp(target.CentreX(), target.y + 100, 1);
    EXPECT_EQ(Play().draggedCard, nullptr);
    EXPECT_EQ(Play().matches, 1);
    EXPECT_EQ(app->Window().mCursor, 0);
    // A right mouse button grabs nothing.
    const MinigameClothing* other = Play().cards.front().get();
    Manager().ButtonDown(other->x + 2, other->y + 2, -1);
    Manager().ButtonUp(other->x + 2, other->y + 2, -1);
    EXPECT_EQ(Play().draggedCard, nullptr);
}

TEST_F(MinigameScreen, LosingTheFocusPausesTheGameBehindABlackScreen)
{
    Updates(10);
    int timer = Play().timer;
    app->OnFocusLost();
    Updates(50);
    EXPECT_EQ(Play().timer, timer);
    app->RunUpdateAndFullDraw();
    const MemoryImage& screen = *app->GetScreenImage();
    int black = 0;
    for (int y = 0; y < 600; y += 10)
        for (int x = 0; x < 800; x += 10)
            black += (screen.GetPixel(x, y) & 0xFFFFFF) == 0;
    EXPECT_GT(black, 4500); // all but the word "paused"
    app->OnFocusGained();
    Updates(50);
    EXPECT_LT(Play().timer, timer);
}

TEST_F(MinigameScreen, APerfectStageLeadsToTheSecondAndDonePaysBothIntoTheDay)
{
    auto seen = SeenOutfits();
    UpdateUntil(MinigamePhase::Solving);
    for (const auto& [name, mannequin] : seen)
        DragOnto(name, mannequin);
    ASSERT_EQ(Play().phase, MinigamePhase::Results);
    EXPECT_EQ(Play().misses, 0);
    EXPECT_GT(Play().extraSeconds, 0);
    double first = Play().score;
    Updates(MinigamePlay::kResultTicks);
    EXPECT_EQ(Play().timer, 0);
    ClickDone();
    EXPECT_EQ(Play().stage, 2);
    EXPECT_DOUBLE_EQ(Board().day.money, first);
    EXPECT_EQ(Board().lastDay.levelResult, DayResult::None);
    EXPECT_GT(Play().mannequins.size(), seen.size() / 2);

    // The second stage: one right card, then the time runs out.
    auto second = SeenOutfits();
    UpdateUntil(MinigamePhase::Solving);
    DragOnto(second[0].first, second[0].second);
    Play().timer = 1;
    Updates(1 + MinigamePlay::kResultTicks);
    EXPECT_EQ(Play().extraSeconds, 0);
    double last = Play().score;
    ClickDone();
    EXPECT_TRUE(IsPassed(Board().lastDay.levelResult));
    EXPECT_DOUBLE_EQ(Board().lastDay.levelMoney, first + last);
    // The HUD's box goes on showing the day's takings, cents and all, not the run's whole-dollar score.
    EXPECT_DOUBLE_EQ(Board().day.money, first + last);
    EXPECT_EQ(Board().DayMinigame(), nullptr);
    EXPECT_TRUE(app->OpenMenus().empty());
    game = nullptr;
}

TEST_F(MinigameScreen, TheBuiltInPlayerWithPerfectMemoryReachesTheSecondStageAndEndsTheDay)
{
    bool pressed = false;
    PlayerBot bot(Board(), [&](const PlatformEvent& e) {
        switch (e.mType)
        {
        case PlatformEvent::Type::MouseMove:
            Manager().PointerMoved(e.mX, e.mY);
            break;
        case PlatformEvent::Type::MouseDown:
            pressed = true;
            Manager().ButtonDown(e.mX, e.mY, e.mClickCode);
            break;
        case PlatformEvent::Type::MouseUp:
            pressed = false;
            Manager().ButtonUp(e.mX, e.mY, e.mClickCode);
            break;
        default:
            break;
        }
    });
    int reachedStage = 0;
    for (int i = 0; i < 60000 && Board().lastDay.levelResult == DayResult::None; i++)
    {
        Updates(1);
        if (Board().DayMinigame() != nullptr && Board().DayMinigame()->play)
            reachedStage = std::max(reachedStage, Board().DayMinigame()->play->stage);
        bot.Update();
    }
    EXPECT_FALSE(pressed);
    EXPECT_EQ(reachedStage, 2);
    EXPECT_TRUE(IsPassed(Board().lastDay.levelResult));
    EXPECT_GT(Board().lastDay.levelMoney, 0);
    app->ProcessDeferredDeletes();
    EXPECT_EQ(Board().DayMinigame(), nullptr);
    game = nullptr;
}

} // namespace
