// The board's input: clicks that give the merchant orders, the drink dragged to a customer, the upgrade shop's
// and the lessons' clicks, the space bar's pause and the skip words typed during a day.
#include "game/shopday/Board.h"

#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/LevelStats.h"
#include "game/audio/GameSound.h"
#include "game/people/Merchant.h"
#include "game/res/Res.h"
#include "game/store/ActiveComponent.h"

#include <algorithm>
#include <cctype>

namespace
{
constexpr size_t kMaxOrders = 6;
constexpr size_t kCheatLength = 8;

int CelWidthOf(const Zestra::Image* image)
{
    return image == nullptr ? 0 : image->GetCelWidth();
}

int CelHeightOf(const Zestra::Image* image)
{
    return image == nullptr ? 0 : image->GetCelHeight();
}
} // namespace

namespace Zestra
{

Point Board::DrinkDropPoint() const
{
    if (!draggedDrink)
        return Point{};
    return Point{draggedDrink->x + CelWidthOf(draggedDrink->image) / 2,
                 draggedDrink->y + CelHeightOf(draggedDrink->image) / 2};
}

void Board::OnMouseMove(int x, int y)
{
    Invalidate();
    if (boardState != BoardState::Playing || pauseCount > 0)
        return;
    bool hand = false;
    const GameState* progress = run.Progress();
    if (mode == BoardMode::Level)
    {
        hand = FindClickableAt(x, y) != nullptr ||
               (progress != nullptr && progress->drinks > 0 && drinkStation && drinkStation->Contains(x, y));
    }
    else if (mode == BoardMode::UpgradeShop)
    {
        // Every item follows the mouse, so a badge left for another one never stays lit; the HUD shows the price
        // of the first badge under the mouse.
        day.goal = 0;
        for (auto& item : shopItems)
            if (item->Contains(x, y) && !hand)
            {
                hand = true;
                day.goal = item->price;
            }
    }
    else if (mode == BoardMode::Tutorial && lesson)
    {
        hand = lesson->HasHotSpotAt(x, y) || (lesson->AllowsDrinks() && progress != nullptr &&
                                              progress->drinks > 0 && drinkStation && drinkStation->Contains(x, y));
        day.goal = lesson->PriceAt(x, y);
    }
    ShowHandCursor(hand);
}

void Board::OnMouseDown(int x, int y, int clickCode)
{
    if (boardState != BoardState::Playing)
        return;
    if (pauseCount > 0)
    {
        SetPaused(false);
        return;
    }
    const GameState* progress = run.Progress();
    if (mode == BoardMode::Tutorial && lesson)
    {
        // Only the lesson decides what a click does: the things its arrows point at, or the next text box.
        if (clickCode > 0 && lesson->AllowsDrinks() && progress != nullptr && progress->drinks > 0 &&
            drinkStation && drinkStation->Contains(x, y))
        {
            draggedDrink = std::make_unique<DraggableComponent>(
                drinkStation->x, drinkStation->y, drinkStation->GetImage(), run.Store()->GetImage("DrinkActive"));
            dragOffsetX = drinkStation->x - x;
            dragOffsetY = drinkStation->y - y;
            lesson->OnDrinkGrabbed();
        }
        else
        {
            lesson->OnMouseDown(x, y, clickCode);
        }
        if (lesson)
            OnMouseMove(x, y);
        return;
    }
    if (mode == BoardMode::UpgradeShop && clickCode >= 1)
    {
        OnMouseMove(x, y);
        if (ShoppingComponent* item = FindShopItemAt(x, y))
            item->OpenPanel(*this);
        return;
    }
    if (mode != BoardMode::Level)
    {
        OnMouseMove(x, y);
        return;
    }
    Merchant* playable = PlayMerchant();
    bool taken = false;
    if (clickCode > 0 && playable != nullptr)
    {
        if (playable->actions.size() >= kMaxOrders)
        {
            OnMouseMove(x, y);
            return;
        }
        if (ActiveComponent* clickable = FindClickableAt(x, y))
        {
            taken = true;
            if (playable->CountOrdersFor(clickable) < clickable->maxOrders)
            {
                if (std::unique_ptr<MerchantAction> order = clickable->CreateMerchantAction(*playable))
                    playable->AddAction(std::move(order));
            }
        }
    }
    else if (clickCode < 0 && playable != nullptr)
    {
        playable->CancelNewest();
        taken = true;
    }
    if (!taken && clickCode > 0 && progress != nullptr && progress->drinks > 0 && drinkStation &&
        drinkStation->Contains(x, y))
    {
        draggedDrink = std::make_unique<DraggableComponent>(drinkStation->x, drinkStation->y, drinkStation->GetImage(),
                                                            run.Store()->GetImage("DrinkActive"));
        dragOffsetX = drinkStation->x - x;
        dragOffsetY = drinkStation->y - y;
    }
    OnMouseMove(x, y);
}

void Board::OnMouseDrag(int x, int y)
{
    if (!draggedDrink)
        return;
    draggedDrink->x = x + dragOffsetX;
    draggedDrink->y = y + dragOffsetY;
    Invalidate();
}

void Board::OnMouseUp(int x, int y, int clickCode)
{
    if (!draggedDrink)
        return;
    Point drop = DrinkDropPoint();
    int centreX = drop.mX;
    int centreY = drop.mY;
    bool given = crowd.GiveDrinkAt(centreX, centreY);
    // The crowd is empty during a lesson; the lesson's own customers take the drink instead.
    if (!given && mode == BoardMode::Tutorial && lesson && lesson->AllowsDrinks())
        given = lesson->DropDrink(centreX, centreY);
    if (given)
    {
        run.UseDrink();
        drinksGiven += 1;
        PlayEvent event;
        event.kind = PlayEventKind::DrinkGiven;
        Feed(event);
    }
    draggedDrink.reset();
    Invalidate();
}

bool Board::SkipLevel(bool wholeStore)
{
    std::optional<DayRecord> record = run.Skip(wholeStore);
    if (!record)
        return false;
    if (recorder != nullptr)
        recorder->RecordDay(*record);
    if (onStoreMap)
        onStoreMap();
    return true;
}

void Board::OnChar(char ch)
{
    if (!run.Active())
        return;
    if (ch == ' ')
    {
        if (boardState == BoardState::Playing)
            SetPaused(pauseCount == 0);
        return;
    }
    if (!std::isalnum(static_cast<unsigned char>(ch)))
        return;
    // A lesson's script holds the floor, the run and the level as it set them up; the debug words would pull
    // them from under it (skipping or ending the day, money in the shop lesson).
    if (lesson)
    {
        cheatBuffer.clear();
        return;
    }
    cheatBuffer.push_back(ch);
    if (cheatBuffer.size() > kCheatLength)
        cheatBuffer.erase(0, cheatBuffer.size() - kCheatLength);
    const StoreInfo* store = run.Store();
    const LevelInfo* level = store != nullptr ? store->GetLevel(run.Progress()->levelIndex) : nullptr;
    bool minigame = level != nullptr && level->isMinigame;
    bool known = true;
    if (cheatBuffer == "qarvontu")
        SkipLevel(false);
    else if (cheatBuffer == "qarvonpe")
        SkipLevel(true);
    else if ((cheatBuffer == "qarvonhi" || cheatBuffer == "qarvonlo") && !minigame)
    {
        day.goal = cheatBuffer == "qarvonhi" ? day.money - 1 : day.money + 1;
        crowd.CloseDoors();
        EndLevel();
    }
    else if (cheatBuffer == "qarvonze")
    {
        if (store != nullptr)
            run.MoveToLastDay(int(store->levels.size()));
        day.goal = day.money - 1;
        crowd.CloseDoors();
        EndLevel();
    }
    else if (cheatBuffer == "qarvonmy")
    {
        run.AddCash(1000.0, 9999.0);
        PlayGameSound(SOUND_CASH_REGISTER);
    }
    else if (cheatBuffer == "qarvonex")
    {
        run.AddLife(9);
    }
    else if (cheatBuffer == "qarvonsc")
        run.AddScore(1000.0);
    else if (cheatBuffer == "qarvonre")
    {
        if (recorder != nullptr)
            recorder->ResetHighScores();
    }
    else
        known = false;
    if (known)
        Invalidate();
}

} // namespace Zestra
