// The lessons on the game's own content: the arrow blink, the text box rules, the scripted steps with their
// shortcuts and waits, and each lesson played to its end by the built-in player. Skipped without built content.
#include "../diag/ShopContent.h"
#include "../store/FloorContent.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/ImageFont.h"
#include "framework/graphics/MemoryImage.h"
#include "game/diag/HeadlessDay.h"
#include "game/diag/PlayerBot.h"
#include "game/people/Merchant.h"
#include "game/people/WaitingLines.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"
#include "game/store/ActiveComponent.h"
#include "game/store/ChangingRoom.h"
#include "game/tutorial/TutorialLessons.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <memory>
#include <vector>

namespace
{

class Lessons : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        if (!LoadShopContent(&error))
            GTEST_SKIP() << error;
    }
    void TearDown() override { FreeShopContent(); }

    // The board of the day with its lesson running at the first step.
    template <typename Lesson>
    Lesson& Start(int store, int level)
    {
        std::srand(11);
        board = std::make_unique<Zestra::Board>();
        board->LoadWalkGrid(FloorContentFolder() + "/properties/grid.txt");
        EXPECT_TRUE(board->OpenDay(store, level));
        board->SetLessonMaker(MakeLesson);
        EXPECT_TRUE(board->BeginLesson());
        auto* lesson = dynamic_cast<Lesson*>(board->lesson.get());
        EXPECT_NE(lesson, nullptr);
        return *lesson;
    }

    std::unique_ptr<Zestra::Board> board;
};

TEST(TutorialBox, SizeByLineCountAndPlaceInsideTheBoard)
{
    struct Case
    {
        int lines;
        bool clickToContinue;
        bool big;
    };
    for (Case c : {Case{4, true, true}, Case{4, false, false}, Case{3, true, false}, Case{5, false, true},
                   Case{1, false, false}})
        EXPECT_EQ(Tutorial::NeedsBigBox(c.lines, c.clickToContinue), c.big) << c.lines << " " << c.clickToContinue;
    EXPECT_EQ(Tutorial::BoxLeft(265, 800, 400), 265);
    EXPECT_EQ(Tutorial::BoxLeft(525, 800, 400), 400); // would reach past the right edge
    EXPECT_EQ(Tutorial::BoxLeft(400, 800, 400), 400); // ends exactly at the edge
}

TEST(TutorialBox, PlacedWhereItCoversNeitherArrowNorTarget)
{
    using R = Zestra::Rect;
    struct Case
    {
        const char* what;
        R wanted;
        std::vector<R> keepClear;
        R placed;
    };
    const Case cases[] = {
        {"free where the script puts it", R{265, 300, 400, 150}, {R{0, 0, 100, 100}}, R{265, 300, 400, 150}},
        {"kept inside the board", R{500, 520, 400, 150}, {}, R{400, 450, 400, 150}},
        // The arrow's picture lies inside the box: the nearest free place is just right of it.
        {"moved off an arrow", R{265, 300, 400, 150}, {R{300, 320, 40, 70}}, R{340, 300, 400, 150}},
        {"beside the target, not over the arrow", R{100, 100, 400, 150}, {R{80, 120, 60, 40}, R{150, 160, 30, 30}},
         R{180, 100, 400, 150}},
        // Every place covers some of a rectangle as large as the board but one strip: the least covering wins.
        {"nothing free: least covered", R{0, 0, 400, 150}, {R{0, 0, 800, 560}}, R{0, 450, 400, 150}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const R placed = Tutorial::PlaceBox(c.wanted, c.keepClear, 800, 600);
        EXPECT_EQ(placed, c.placed) << placed.mX << "," << placed.mY;
    }
}

TEST_F(Lessons, NoTextBoxCoversAnArrowOrWhatItPointsAt)
{
    // The boxes are measured with the game's own small font, as they are drawn.
    Zestra::ImageFont font(FloorContentFolder() + "/fonts/small.txt");
    ASSERT_TRUE(font.IsLoaded());
    Zestra::Font* oldFont = FONT_SMALL;
    FONT_SMALL = &font;
    Zestra::MemoryImage screen(800, 600);
    Zestra::Graphics g(&screen);
    struct Day
    {
        int store;
        int level;
    };
    for (Day day : {Day{1, 0}, Day{1, 2}, Day{2, 0}, Day{3, 0}})
    {
        SCOPED_TRACE(testing::Message() << "store " << day.store << " day " << day.level);
        Start<Tutorial>(day.store, day.level);
        HeadlessDay hands(*board);
        PlayerBot player(*board, [&hands](const Zestra::PlatformEvent& event) { hands.Deliver(event); });
        std::map<int, std::string> covered; // step -> the first box that covered something in it
        int boxesChecked = 0;
        for (int tick = 0; tick < 30000 && board->lesson != nullptr; ++tick)
        {
            auto* lesson = dynamic_cast<Tutorial*>(board->lesson.get());
            ASSERT_NE(lesson, nullptr);
            const StepBox step = lesson->CurrentBox();
            const Zestra::Rect box = lesson->BoxRect(g, step);
            if (!box.IsEmpty())
            {
                ++boxesChecked;
                for (const Zestra::Rect& keep : lesson->KeepClearRects())
                    if (box.Intersects(keep) && !covered.count(lesson->step))
                        covered[lesson->step] = std::string(step.key) + " covers " + std::to_string(keep.mX) + "," +
                                                std::to_string(keep.mY) + " " + std::to_string(keep.mWidth) + "x" +
                                                std::to_string(keep.mHeight);
            }
            board->PlayTick();
            if (board->lesson != nullptr)
                player.Update();
        }
        EXPECT_EQ(board->lesson, nullptr) << "the lesson did not end";
        EXPECT_GT(boxesChecked, 0);
        for (const auto& [step, what] : covered)
            ADD_FAILURE() << "step " << step << ": " << what;
    }
    FONT_SMALL = oldFont;
}

TEST_F(Lessons, AClickTheStepDoesNotTakeMakesTheArrowsBounce)
{
    auto& lesson = Start<TutorialPlaying1>(1, 0);
    Merchant& merchant = *board->PlayMerchant();
    board->OnMouseDown(400, 300, 1);
    board->OnMouseDown(400, 300, 1);
    ASSERT_EQ(lesson.step, 2);
    ASSERT_EQ(lesson.arrows.size(), 1u);
    EXPECT_EQ(lesson.PulseOffset(), 0);
    board->OnMouseDown(42, 383, 1); // the register: not what the arrow shows
    EXPECT_EQ(lesson.pulseTicks, Tutorial::kPulseTicks);
    // The arrows stay in sight while they bounce, even in the blink's dark half, and come to rest.
    int furthest = 0;
    for (int update = 0; update < Tutorial::kPulseTicks; ++update)
    {
        lesson.blinkCounter = 60;
        EXPECT_TRUE(!lesson.ArrowsShown());
        furthest = std::max(furthest, lesson.PulseOffset());
        lesson.Update();
    }
    EXPECT_GE(furthest, 8);
    EXPECT_EQ(lesson.PulseOffset(), 0);
    EXPECT_EQ(lesson.pulseTicks, 0);

    // A click the step takes (the arrow's target) gives its order and no bounce; a right click is no click at all.
    board->OnMouseDown(708, 98, -1);
    EXPECT_EQ(lesson.pulseTicks, 0);
    board->OnMouseDown(708, 98, 1);
    EXPECT_EQ(merchant.actions.size(), 1u);
    EXPECT_EQ(lesson.pulseTicks, 0);
    // With no arrow left there is nothing to point out.
    board->OnMouseDown(42, 383, 1);
    EXPECT_EQ(lesson.pulseTicks, 0);
}

TEST_F(Lessons, ArrowsAppearFiveUpdatesAfterAStepThenBlinkFortyOnFortyOff)
{
    auto& lesson = Start<TutorialPlaying1>(1, 0);
    lesson.OnClick(400, 300, board->PlayMerchant());
    lesson.OnClick(400, 300, board->PlayMerchant());
    ASSERT_EQ(lesson.step, 2);
    ASSERT_EQ(lesson.arrows.size(), 1u);
    std::string shown;
    for (int update = 0; update < 170; ++update)
    {
        shown += lesson.ArrowsShown() ? '#' : '.';
        lesson.Update();
    }
    std::string expected = std::string(5, '.') + std::string(40, '#') + std::string(35, '.');
    expected += expected;
    expected += std::string(5, '.') + std::string(5, '#');
    EXPECT_EQ(shown, expected);
}

TEST_F(Lessons, FirstLessonGoesStraightToCleaningUpWhenTheTryOnIsAlreadyOver)
{
    auto& lesson = Start<TutorialPlaying1>(1, 0);
    lesson.GoTo(4);
    lesson.OnClick(400, 300, board->PlayMerchant());
    ASSERT_EQ(lesson.step, 5);
    ASSERT_EQ(lesson.people.size(), 1u);
    lesson.GoTo(7);
    lesson.OnTryOnFinished(*lesson.people[0]);
    EXPECT_EQ(lesson.step, 7);
    lesson.GoTo(8);
    lesson.OnClick(400, 300, board->PlayMerchant());
    EXPECT_EQ(lesson.step, 10);
    ASSERT_EQ(lesson.arrows.size(), 1u);
    EXPECT_NE(dynamic_cast<ChangingRoom*>(lesson.arrows[0].target), nullptr);
    EXPECT_EQ(lesson.arrows[0].x, 70);

    // Without the try-on over, the click only leaves the tip and the lesson waits for it.
    auto& waiting = Start<TutorialPlaying1>(1, 0);
    waiting.GoTo(8);
    waiting.OnClick(400, 300, board->PlayMerchant());
    EXPECT_EQ(waiting.step, 9);
    EXPECT_TRUE(waiting.arrows.empty());
}

TEST_F(Lessons, FirstLessonEndsAtOnceOnlyWhenACustomerHasAlreadyLeft)
{
    auto& left = Start<TutorialPlaying1>(1, 0);
    left.OnCustomerLeft();
    left.GoTo(26);
    left.OnClick(400, 300, board->PlayMerchant());
    EXPECT_TRUE(left.IsFinished());

    auto& stays = Start<TutorialPlaying1>(1, 0);
    stays.GoTo(26);
    stays.OnClick(400, 300, board->PlayMerchant());
    EXPECT_EQ(stays.step, 27);
    stays.OnCustomerLeft();
    EXPECT_TRUE(stays.IsFinished());
}

TEST_F(Lessons, PairStepsWaitUntilNoArrowIsLeftAndNoOrderWaits)
{
    auto& lesson = Start<TutorialPlaying1>(1, 0);
    Merchant& merchant = *board->PlayMerchant();
    ActiveComponent* rack = board->FindClickableAt(580, 220);
    ASSERT_NE(rack, nullptr);
    for (int step : {17, 18, 20})
    {
        SCOPED_TRACE(step);
        lesson.GoTo(step);
        lesson.AddArrow(42, 383, 24, 290, 0, true);
        lesson.OnActionFinished(merchant);
        EXPECT_EQ(lesson.step, step) << "an arrow is still shown";
        lesson.arrows.clear();
        merchant.AddAction(rack->CreateMerchantAction(merchant));
        lesson.OnActionFinished(merchant);
        EXPECT_EQ(lesson.step, step) << "an order still waits";
        merchant.actions.clear();
        lesson.OnActionFinished(merchant);
        EXPECT_GT(lesson.step, step);
    }
}

TEST_F(Lessons, DoubleClickLessonShowsAPretendNumberThenGivesTwoOrders)
{
    auto& lesson = Start<TutorialPlaying13>(1, 2);
    Merchant& merchant = *board->PlayMerchant();
    board->OnMouseDown(400, 300, 1);
    board->OnMouseDown(400, 300, 1);
    ASSERT_EQ(lesson.step, 2);
    auto* mannequinButton = dynamic_cast<ActiveComponent*>(lesson.arrows.at(0).target);
    ASSERT_NE(mannequinButton, nullptr);
    board->OnMouseDown(400, 300, 1); // not on the target: nothing
    EXPECT_EQ(lesson.step, 2);
    board->OnMouseDown(708, 98, 1);
    EXPECT_EQ(lesson.step, 3);
    EXPECT_TRUE(merchant.actions.empty());
    Zestra::Point spot = mannequinButton->GetNumberPosition(0);
    EXPECT_EQ(lesson.markerX, spot.mX);
    EXPECT_EQ(lesson.markerY, spot.mY);
    board->OnMouseDown(708, 98, 1);
    EXPECT_EQ(lesson.step, 4);
    EXPECT_EQ(merchant.actions.size(), 2u);
    EXPECT_TRUE(lesson.arrows.empty());
}

TEST_F(Lessons, DrinksCanBeGrabbedOnlyInTheCoffeeStep)
{
    auto& lesson = Start<TutorialPlaying2>(2, 0);
    ASSERT_TRUE(board->DrinkStation());
    ASSERT_GT(board->run.Progress()->drinks, 0);
    const Component& station = *board->DrinkStation();
    int grabX = station.x + 5;
    int grabY = station.y + 5;
    ASSERT_TRUE(station.Contains(grabX, grabY));
    for (int step = 0; step <= TutorialPlaying2::kLastStep; ++step)
    {
        lesson.GoTo(step);
        board->OnMouseDown(grabX, grabY, 1);
        EXPECT_EQ(board->DraggedDrink() != nullptr, step == TutorialPlaying2::kDrinkStep) << "step " << step;
        board->OnMouseUp(grabX, grabY, 1); // dropped on nobody: not used up
        board->DropDraggedDrink();
    }
    EXPECT_GT(board->run.Progress()->drinks, 0);
}

TEST_F(Lessons, GiftWrapLessonJumpsToPayingWhenTheCustomerReachesTheRegisterFirst)
{
    auto& lesson = Start<TutorialPlaying3>(3, 0);
    lesson.OnCustomerServiceHead();
    ASSERT_EQ(lesson.step, 2);
    lesson.OnCashRegisterHead(*lesson.people.at(0));
    EXPECT_EQ(lesson.step, 4);
    ASSERT_EQ(lesson.arrows.size(), 1u);
    EXPECT_EQ(lesson.arrows[0].target, board->FindClickableAt(42, 383));
}

TEST_F(Lessons, ClicksOffTheArrowsGiveNoOrders)
{
    auto& lesson = Start<TutorialPlaying1>(1, 0);
    Merchant& merchant = *board->PlayMerchant();
    lesson.GoTo(2);
    lesson.AddArrow(708, 98, 729, 88, -1, true);
    board->OnMouseDown(42, 383, 1); // the register is clickable, but no arrow points at it
    board->OnMouseDown(708, 98, -1); // right button
    EXPECT_TRUE(merchant.actions.empty());
    EXPECT_EQ(lesson.arrows.size(), 1u);
    board->OnMouseDown(708, 98, 1);
    EXPECT_EQ(merchant.actions.size(), 1u);
    EXPECT_TRUE(lesson.arrows.empty());
}

TEST_F(Lessons, AnEndedLessonLeavesNoCustomerOfItsOwnInTheLines)
{
    // The gift wrap customer queues at the desk; the lesson ends (the level is about to be built again) with her
    // still in the line, which outlives the lesson.
    auto& lesson = Start<TutorialPlaying3>(3, 0);
    lesson.OnClick(400, 300, board->PlayMerchant());
    for (int tick = 0; tick < 5000 && lesson.step < 2; ++tick)
        board->PlayTick();
    ASSERT_EQ(lesson.step, 2);
    ASSERT_FALSE(board->ServiceLine()->Empty());
    board->EndLesson();
    EXPECT_TRUE(board->ServiceLine()->Empty());
    EXPECT_TRUE(board->CashLine()->Empty());
    EXPECT_TRUE(board->people.empty());
    for (int tick = 0; tick < 200; ++tick)
        board->PlayTick(); // the lines are left alone; nothing may reach a deleted customer
}

TEST_F(Lessons, DebugWordsDoNothingWhileALessonRuns)
{
    auto& lesson = Start<TutorialPlaying1>(1, 0);
    lesson.OnClick(400, 300, board->PlayMerchant());
    const double cash = board->run.Progress()->cash;
    // Skip the day, end it won, end it lost, add money: each would pull the scripted day from under the lesson.
    for (const char* word : {"qarvontu", "qarvonhi", "qarvonlo", "qarvonze", "qarvonmy"})
    {
        SCOPED_TRACE(word);
        for (const char* c = word; *c != '\0'; ++c)
            board->OnChar(*c);
        EXPECT_EQ(board->lesson.get(), &lesson);
        EXPECT_EQ(board->Mode(), BoardMode::Tutorial);
        EXPECT_EQ(lesson.step, 1);
        EXPECT_EQ(board->run.Progress()->levelIndex, 0);
        EXPECT_EQ(board->lastDay.levelResult, DayResult::None);
        EXPECT_EQ(board->run.Progress()->cash, cash);
    }
    // A word begun during the lesson is not finished after it; a whole one then acts again.
    for (char c : std::string("qarvo"))
        board->OnChar(c);
    board->EndLesson();
    board->OnChar('n');
    board->OnChar('m');
    board->OnChar('y');
    EXPECT_EQ(board->run.Progress()->cash, cash);
    for (char c : std::string("qarvonmy"))
        board->OnChar(c);
    EXPECT_GT(board->run.Progress()->cash, cash);
}

TEST_F(Lessons, EachLessonIsPlayedToItsEndByTheBuiltInPlayer)
{
    struct Day
    {
        int store;
        int level;
    };
    for (Day day : {Day{1, 0}, Day{1, 2}, Day{2, 0}, Day{3, 0}})
    {
        SCOPED_TRACE(testing::Message() << "store " << day.store << " day " << day.level);
        auto& lesson = Start<Tutorial>(day.store, day.level);
        ASSERT_EQ(board->Mode(), BoardMode::Tutorial);
        EXPECT_TRUE(board->crowd.customers.empty());
        EXPECT_FALSE(board->HudShowsShop()) << "no cash or prices on the day's floor";
        EXPECT_EQ(lesson.step, 0);
        HeadlessDay player(*board);
        int ticks = player.PlayLesson(nullptr, 30000);
        EXPECT_GT(ticks, 0) << "the lesson did not end";
        EXPECT_EQ(board->lesson, nullptr);
        EXPECT_FALSE(board->TutorialRunning());
        // The level start that follows builds the floor again; whichever merchant stands there reports to nobody.
        Merchant* merchant = board->PlayMerchant();
        EXPECT_TRUE(merchant == nullptr || merchant->listener == nullptr);
    }
}

} // namespace
