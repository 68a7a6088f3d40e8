// The lessons on the game's own content: the arrow blink, the text box rules, the scripted steps with their
// shortcuts and waits, and each lesson played to its end by the built-in player. Skipped without built content.
#include "../diag/ShopContent.h"
#include "../store/FloorContent.h"

#include "game/diag/HeadlessDay.h"
#include "game/people/Merchant.h"
#include "game/shopday/Board.h"
#include "game/store/ActiveComponent.h"
#include "game/store/ChangingRoom.h"
#include "game/tutorial/TutorialLessons.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <memory>

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
        board->lessonMaker = MakeLesson;
        EXPECT_TRUE(board->BeginLesson());
        auto* lesson = dynamic_cast<Lesson*>(board->lesson.get());
        EXPECT_NE(lesson, nullptr);
        return *lesson;
    }

    std::unique_ptr<Zestra::Board> board;
};

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
        std::srand(5);
        board = std::make_unique<Zestra::Board>();
        board->LoadWalkGrid(FloorContentFolder() + "/properties/grid.txt");
        ASSERT_TRUE(board->OpenDay(day.store, day.level));
        board->lessonMaker = MakeLesson;
        ASSERT_TRUE(board->BeginLesson());
        ASSERT_EQ(board->mode, 2);
        EXPECT_TRUE(board->crowd.customers.empty());
        auto* lesson = dynamic_cast<Tutorial*>(board->lesson.get());
        ASSERT_NE(lesson, nullptr);
        int lastStep = -1;
        std::ostringstream steps;
        HeadlessDay player(*board);
        int ticks = 0;
        while (board->lesson != nullptr && ticks < 60000)
        {
            if (lesson->step != lastStep)
            {
                lastStep = lesson->step;
                steps << ' ' << lastStep << '@' << ticks;
            }
            int used = player.PlayLesson(nullptr, 1);
            ticks += 1;
            if (used >= 0)
                break;
        }
        std::printf("store %d day %d:%s, %d ticks\n", day.store, day.level, steps.str().c_str(), ticks);
        EXPECT_EQ(board->lesson, nullptr) << "stuck in step " << lastStep;
        EXPECT_FALSE(board->tutorialRunning);
    }
}

} // namespace
