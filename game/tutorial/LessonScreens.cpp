#include "game/tutorial/LessonScreens.h"

#include "game/shopday/Board.h"
#include "game/tutorial/TutorialLessons.h"

namespace
{
constexpr LessonScreen kLessons[] = {
    {"tutorial1", 1, 0},
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
    if (!board.lessonMaker)
        board.lessonMaker = MakeLesson;
    return board.BeginLesson();
}
