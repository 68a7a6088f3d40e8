// Running a lesson on the board: the floor of the lesson's day without a crowd, the merchant reporting to the
// lesson, and the hand-over to the level start once the lesson is over.
#include "game/shopday/Board.h"

#include "game/people/Merchant.h"

namespace Zestra
{

bool Board::LessonInShop() const
{
    const GameState* progress = run.Progress();
    return progress != nullptr && progress->storeNumber == 1 && progress->levelIndex == 1;
}

bool Board::BeginLesson()
{
    EndLesson();
    if (!lessonMaker || run.Store() == nullptr || !run.Active())
        return false;
    LoadLevel(LessonInShop());
    StartShopDay();
    crowd.Clear();
    people.clear();
    std::unique_ptr<BoardLesson> made = lessonMaker(*this);
    if (!made)
        return false;
    lesson = std::move(made);
    mode = BoardMode::Tutorial;
    day.goal = 0; // a lesson has no goal; the shop lesson shows prices there
    tutorialRunning = true;
    if (Merchant* playable = PlayMerchant())
        playable->listener = lesson->MerchantListener();
    SyncPeople();
    SetBoardState(BoardState::Playing, false);
    return true;
}

void Board::EndLesson()
{
    if (!lesson)
        return;
    // The merchant outlives the lesson until the level is built again; it must not report to a deleted lesson.
    if (merchant != nullptr && merchant->listener == lesson->MerchantListener())
        merchant->listener = nullptr;
    people.clear();
    draggedDrink.reset();
    lesson.reset();
    tutorialRunning = false;
}

} // namespace Zestra
