#include "game/profile/GameState.h"
#include "game/shopday/Board.h"
#include "game/tutorial/TutorialLessons.h"
#include "game/tutorial/TutorialShopping.h"

std::unique_ptr<BoardLesson> MakeLesson(Zestra::Board& board)
{
    if (board.run.Progress() == nullptr)
        return nullptr;
    int store = board.run.Progress()->storeNumber;
    int level = board.run.Progress()->levelIndex;
    if (store == 1 && level == 0)
        return std::make_unique<TutorialPlaying1>(board);
    if (store == 1 && level == 1)
        return std::make_unique<TutorialShopping>(board);
    if (store == 1 && level == 2)
        return std::make_unique<TutorialPlaying13>(board);
    if (store == 2 && level == 0)
        return std::make_unique<TutorialPlaying2>(board);
    if (store == 3 && level == 0)
        return std::make_unique<TutorialPlaying3>(board);
    return nullptr;
}
