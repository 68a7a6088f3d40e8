#include "game/tutorial/LessonScreens.h"

#include "game/data/LevelStats.h"
#include "game/shopday/Board.h"
#include "game/tutorial/TutorialLessons.h"

#include <algorithm>

namespace
{
constexpr LessonScreen kLessons[] = {
    {"tutorial1", 1, 0},
    {"tutorial-shop", 1, 1},
    {"tutorial13", 1, 2},
    {"tutorial2", 2, 0},
    {"tutorial3", 3, 0},
};
} // namespace

const LessonScreen* FindLessonScreen(const std::string& name)
{
    for (const LessonScreen& lesson : kLessons)
    {
        if (name == lesson.name)
            return &lesson;
    }
    return nullptr;
}

std::string LessonScreenNames()
{
    std::string names;
    for (const LessonScreen& lesson : kLessons)
        names += (names.empty() ? "" : ", ") + std::string(lesson.name);
    return names;
}

bool OpenLessonScreen(Zestra::Board& board, const LessonScreen& screen)
{
    if (!board.OpenDay(screen.store, screen.level))
        return false;
    // A run reaches the shop's day with at least the first day's goal earned: the shop lesson has that to spend.
    const LevelInfo* firstDay = board.run.Store() != nullptr ? board.run.Store()->GetLevel(0) : nullptr;
    if (board.LessonInShop() && firstDay != nullptr)
    {
        board.run.GrantCash(double(firstDay->minGoal));
    }
    if (!board.HasLessonMaker())
        board.SetLessonMaker(MakeLesson);
    return board.BeginLesson();
}
