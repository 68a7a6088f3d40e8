// The lessons by name, for "-screen=NAME": each opens its day and starts the lesson at its first step. Lessons
// are not menus, so they keep their own table beside the screen catalogue.
#pragma once

#include <string>

namespace Zestra
{
class Board;
}

struct LessonScreen
{
    const char* name;
    int store;
    int level;
};

const LessonScreen* FindLessonScreen(const std::string& name);
// The names, comma-separated, for the help text.
std::string LessonScreenNames();
// Builds the lesson's day on the board and runs the lesson; false when the day or its lesson does not exist.
bool OpenLessonScreen(Zestra::Board& board, const LessonScreen& screen);
