// The board's play of a shop day: the tick, the fractional update, the picture, pause and board state, the HUD's
// buttons, and the preparation of the lines, the merchant and the crowd once the floor has been
// built.
#include "game/shopday/Board.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/ControlSupport.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/people/Customer.h"
#include "game/audio/GameSound.h"
#include "game/people/Merchant.h"
#include "game/people/WaitingLines.h"
#include "game/res/Res.h"
#include "game/store/ActiveComponent.h"
#include "game/store/CashRegister.h"
#include "game/store/ChangingRoom.h"
#include "game/store/ClosedSign.h"
#include "game/store/CustomerServiceDesk.h"
#include "game/store/GiftWrap.h"
#include "game/ui/Button.h"

#include <algorithm>

namespace
{
// The closed sign slides in from the left and hangs on the back wall between the changing room and the
// mannequins, above the ropes, where nobody stands and no counter is.
constexpr int kClosedSignStartX = -250;
constexpr int kClosedSignY = 0;
constexpr int kClosedSignCentreX = 398;
} // namespace

namespace Zestra
{

Merchant* Board::PlayMerchant() const
{
    return dynamic_cast<Merchant*>(merchant);
}

CashRegisterLine* Board::CashLine() const
{
    return cashRegisterLine.get();
}

ChangingRoomLine* Board::RoomLine() const
{
    return changingRoomLine.get();
}

CustomerServiceLine* Board::ServiceLine() const
{
    return customerServiceLine.get();
}

void Board::Tick()
{
    // A paused day stands completely still, the widget's own update included.
    if (pauseCount > 0)
        return;
    Widget::Tick();
    if (boardState != BoardState::Hidden && toast.Tick())
        Invalidate();
    // Drawn only when something moved: a finished day, the shop view or a board behind a menu stays as it is
    // until input or a change of state marks it again.
    if (boardState == BoardState::Playing && PlayTick())
        Invalidate();
}

void Board::Paint(Graphics& g)
{
    PaintPlay(g);
}

void Board::StartShopDay()
{
    Invalidate();
    mAcceptsFocus = true; // the space bar and the cheat words arrive as typed characters
    lastDay.levelResult = DayResult::None;
    playedTicks = 0;
    drinksGiven = 0;
    drinksAtStart = run.Progress() != nullptr ? run.Progress()->drinks : 0;
    day.customersServed = 0;
    day.lostCustomers = 0;
    lastDay.storeCompleted = false;
    lastDay.highScoreRank.reset();
    hud.bannerTimer = -1;
    draggedDrink.reset();
    const StoreInfo* store = run.Store();
    const GameState* progress = run.Progress();
    if (store == nullptr || progress == nullptr)
        return;

    // The floor builds a plain person for the merchant; the shop day needs the one that takes orders.
    if (merchant != nullptr && PlayMerchant() == nullptr)
    {
        for (auto& item : sceneItems)
        {
            if (item.get() != merchant)
                continue;
            auto playable = std::make_unique<Merchant>(merchant->x, merchant->y, store->merchantLevels,
                                                       progress->merchantLevel);
            merchant = playable.get();
            item = std::move(playable);
            break;
        }
    }

    cashRegisterLine = std::make_unique<CashRegisterLine>();
    changingRoomLine = std::make_unique<ChangingRoomLine>();
    customerServiceLine = std::make_unique<CustomerServiceLine>(PlayMerchant());
    if (cashRegister != nullptr)
        cashRegister->line = cashRegisterLine.get();
    for (auto& room : changingRooms)
        room->line = changingRoomLine.get();
    if (serviceDesk != nullptr)
        serviceDesk->line = customerServiceLine.get();
    if (giftWrap != nullptr)
        giftWrap->line = customerServiceLine.get();

    background = store->GetImage("Background");
    hud.image = store->GetImage("Hud");
    const LevelInfo* level = store->GetLevel(progress->levelIndex);
    static const ResImage* const kMonths[12] = {&IMAGE_HUD_JAN, &IMAGE_HUD_FEB, &IMAGE_HUD_MAR, &IMAGE_HUD_APR,
                                                &IMAGE_HUD_MAY, &IMAGE_HUD_JUN, &IMAGE_HUD_JUL, &IMAGE_HUD_AUG,
                                                &IMAGE_HUD_SEP, &IMAGE_HUD_OCT, &IMAGE_HUD_NOV, &IMAGE_HUD_DEC};
    hud.monthPicture = level != nullptr && level->id >= 0 && level->id < 12 ? kMonths[level->id]->get() : nullptr;
    if (level != nullptr)
        crowd.ResetForLevel(*level);
    else
        crowd.Clear();
    SyncPeople();
}

bool Board::OpenDay(int storeNumber, int levelIndex)
{
    const StoreInfo* info = GetStoreInfo(storeNumber);
    if (info == nullptr || levelIndex < 0 || levelIndex >= int(info->levels.size()))
        return false;
    GameState start = NewGameState(info);
    start.levelIndex = levelIndex;
    run.StartDay(info, start, start);
    mode = BoardMode::Level;
    pauseCount = 0;
    LoadLevel(false);
    StartShopDay();
    SetBoardState(BoardState::Playing, false);
    return true;
}

void Board::SyncPeople()
{
    people.clear();
    if (mode == BoardMode::Tutorial)
    {
        if (lesson)
            lesson->AppendPeople(people);
        return;
    }
    for (auto& customer : crowd.customers)
        people.push_back(customer.get());
}

bool Board::PlayTick()
{
    if (mode == BoardMode::Level)
    {
        // The day is over once EndLevel ran; the result flow decides what comes next.
        if (lastDay.levelResult != DayResult::None || !run.Active())
            return false;
        playedTicks += 1;
        if (day.clockTicks > 0)
        {
            day.clockTicks -= 1;
            if (day.clockTicks == 0)
                crowd.CloseDoors();
        }
        if (crowd.IsEmpty() && !hud.BannerShowing())
        {
            EndLevel();
            return true;
        }
        if (merchant != nullptr)
            merchant->Update();
        crowd.Update();
        if (!fractionalUpdates)
        {
            if (merchant != nullptr)
                merchant->UpdateActions(1.0f, walkGrid);
            crowd.UpdateFraction(1.0f, walkGrid);
        }
        SyncPeople();
        if (crowd.TakeDoorsClosedEvent())
        {
            Image* picture = IMAGE_CLOSED_SIGN.get();
            const int width = picture != nullptr ? picture->GetWidth() : 0;
            auto sign = std::make_unique<ClosedSign>(kClosedSignStartX, kClosedSignY, picture,
                                                     kClosedSignCentreX - width / 2);
            tickers.push_back(sign.get());
            sceneItems.push_back(std::move(sign));
            day.clockTicks = 0;
        }
        for (size_t i = 0; i < tickers.size(); ++i)
            tickers[i]->Update();
        hud.TickBanner();
        return true;
    }
    if (mode == BoardMode::Tutorial)
    {
        if (lesson)
        {
            // In the shop view the merchant is only a picture of an offer.
            Person* walking = lesson->InShop() ? nullptr : merchant;
            if (walking != nullptr)
                walking->Update();
            lesson->Update();
            if (!fractionalUpdates)
            {
                if (walking != nullptr)
                    walking->UpdateActions(1.0f, walkGrid);
                lesson->UpdateActions(1.0f, walkGrid);
            }
            SyncPeople();
            if (lesson->IsFinished())
            {
                practiceMoney = day.money; // the day is set up afresh, without it
                EndLesson();
                if (flow)
                    flow->ShowLevelStart(true);
                return true;
            }
        }
        for (size_t i = 0; i < tickers.size(); ++i)
            tickers[i]->Update();
        return true;
    }
    return false; // the shop view changes only with the mouse
}

void Board::TickFraction(double step)
{
    if (!fractionalUpdates || pauseCount > 0 || boardState != BoardState::Playing)
        return;
    if (mode == BoardMode::Tutorial && lesson)
    {
        if (merchant != nullptr && !lesson->InShop())
            merchant->UpdateActions(float(step), walkGrid);
        lesson->UpdateActions(float(step), walkGrid);
        return;
    }
    if (mode != BoardMode::Level || lastDay.levelResult != DayResult::None)
        return;
    if (merchant != nullptr)
        merchant->UpdateActions(float(step), walkGrid);
    crowd.UpdateFraction(float(step), walkGrid);
}

void Board::PaintPlay(Graphics& g)
{
    if (boardState == BoardState::Hidden)
        return;
    // An opaque background that covers the board hides the black fill; skipping it saves a full-screen pass.
    auto* memoryBackground = dynamic_cast<MemoryImage*>(background);
    bool covered = memoryBackground != nullptr && memoryBackground->GetWidth() >= 800 &&
                   memoryBackground->GetHeight() >= 600 && !memoryBackground->HasClearPixels() &&
                   !memoryBackground->HasPartialAlpha();
    if (!covered)
    {
        g.SetInk(Color(0, 0, 0));
        g.FillBox(0, 0, 800, 600);
    }
    if (background != nullptr)
        g.Blit(background, 0, 0);
    if (Merchant* playable = PlayMerchant())
        playable->MarkOrderNumbers();
    if (draggedDrink)
    {
        Point drop = DrinkDropPoint();
        int centreX = drop.mX;
        int centreY = drop.mY;
        if (mode == BoardMode::Tutorial)
            draggedDrink->overTarget = lesson && lesson->AllowsDrinks() &&
                                       lesson->HighlightDrinkTarget(centreX, centreY);
        else
            draggedDrink->overTarget = crowd.HighlightAt(centreX, centreY);
    }
    // The HUD covers the scene, the legs of people on the lowest walkway included.
    DrawScene(g);
    if (mode == BoardMode::Tutorial && lesson)
        lesson->Draw(g);
    bool shopping = HudShowsShop();
    const char* caption = shopping                        ? "hud_cash"
                          : mode == BoardMode::Tutorial ? "hud_practice"
                                                        : "hud_takings";
    hud.Draw(g, day, run.Shown(), shopping, mode == BoardMode::Level, drinkStation.get(), GetText(caption));
    if (draggedDrink)
        draggedDrink->Draw(g);
    if ((boardState != BoardState::Playing && dimmed) || pauseCount > 0)
    {
        g.SetInk(Color(0, 0, 0, 128));
        g.FillBox(0, 0, 800, 600);
        if (pauseCount > 0 && FONT_LARGE_LIGHT != nullptr)
        {
            const std::string& text = GetText("paused");
            g.SetTypeface(FONT_LARGE_LIGHT);
            g.SetInk(Color(255, 255, 255));
            g.PrintText(text, 400 - FONT_LARGE_LIGHT->TextWidth(text) / 2, 300);
        }
    }
    else
    {
        hud.DrawBanner(g);
        toast.Draw(g);
    }
}

void Board::SetBoardState(BoardState state, bool dim)
{
    if (state != boardState || dim != dimmed)
        Invalidate();
    boardState = state;
    dimmed = dim;
    UpdateButtons();
}

void Board::SetPaused(bool on)
{
    if (on)
    {
        Invalidate();
        pauseCount += 1;
        ShowHandCursor(false);
    }
    else if (pauseCount > 0)
    {
        pauseCount -= 1;
        Invalidate(); // the paused veil goes
    }
    UpdateButtons();
}

void Board::OnAttachedToManager(WidgetManager* manager)
{
    Widget::OnAttachedToManager(manager);
    hud.AttachButtons(manager, this);
    UpdateButtons();
}

void Board::OnDetachedFromManager(WidgetManager* manager)
{
    hud.DetachButtons(manager);
    Widget::OnDetachedFromManager(manager);
}

void Board::ButtonPressed(int id)
{
    const bool done = hud.doneButton && id == hud.doneButton->mButtonId;
    // In the shop lesson done is the lesson's last step; the lesson then hands over to the level start.
    if (done && mode == BoardMode::Tutorial && lesson && lesson->AllowsDoneButton())
    {
        lesson->OnDonePressed();
        return;
    }
    if (!flow)
        return;
    // Done leaves the upgrade shop: the day opens on a floor built again in its play form.
    if (done && mode == BoardMode::UpgradeShop)
        flow->OpenStore(true);
    // Options during a day: the options dialog in its in-game form.
    else if (hud.optionsButton && id == hud.optionsButton->mButtonId && mode == BoardMode::Level)
        flow->ShowOptions(true);
}

void Board::SetMode(BoardMode newMode)
{
    mode = newMode;
}

void Board::ClearPauses()
{
    pauseCount = 0;
}

void Board::DressForStore()
{
    const StoreInfo* store = run.Store();
    if (store == nullptr)
        return;
    background = store->GetImage("Background");
    hud.image = store->GetImage("Hud");
}

void Board::ClearDayFigures()
{
    lastDay.levelResult = DayResult::None;
    day.money = day.cash = day.tips = 0.0;
    day.customersServed = 0;
    day.lostCustomers = 0;
}

void Board::ForgetMinigame(const Minigame* game)
{
    if (minigame == game)
        minigame = nullptr;
}

void Board::LeaveLesson()
{
    EndLesson();
    tutorialRunning = false;
    mode = BoardMode::Level;
}

void Board::NoteDayOpened()
{
    if (onDayOpened)
        onDayOpened();
}

bool Board::HudShowsShop() const
{
    // Cash and prices belong to the shop and its lesson; the lessons on the day's floor show the (empty) goal.
    return mode == BoardMode::UpgradeShop || (mode == BoardMode::Tutorial && lesson && lesson->InShop());
}

void Board::UpdateButtons()
{
    hud.SetButtonsState(pauseCount == 0 && boardState == BoardState::Playing,
                        (boardState == BoardState::Covered && dimmed) || pauseCount > 0);
    // The shop lesson keeps the done button off until it asks for it.
    if (lesson && hud.doneButton && hud.buttonsEnabled && !lesson->AllowsDoneButton())
        hud.doneButton->SetInactive(true);
}

} // namespace Zestra
