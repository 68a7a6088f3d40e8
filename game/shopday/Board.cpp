// The board's play of a shop day: the tick, the fractional update, mouse and keyboard input, pause and board
// state, and the preparation of the lines, the merchant and the crowd once the floor has been built.
#include "game/shopday/Board.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/menus/Button.h"
#include "game/people/Customer.h"
#include "game/people/GameSound.h"
#include "game/people/Merchant.h"
#include "game/people/WaitingLines.h"
#include "game/res/Res.h"
#include "game/store/ActiveComponent.h"
#include "game/store/CashRegister.h"
#include "game/store/ChangingRoom.h"
#include "game/store/ClosedSign.h"
#include "game/store/CustomerServiceDesk.h"
#include "game/store/GiftWrap.h"

#include <algorithm>
#include <cctype>

namespace
{
constexpr size_t kMaxOrders = 6;
constexpr size_t kCheatLength = 8;
constexpr int kBannerTicks = 225;

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

void Board::StartShopDay()
{
    Invalidate();
    mAcceptsFocus = true; // the space bar and the cheat words arrive as typed characters
    levelResult = -1;
    day.customersServed = 0;
    day.lostCustomers = 0;
    storeCompleted = false;
    highScoreRank = -2;
    bannerTimer = -1;
    draggedDrink.reset();
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
    hudImage = store->GetImage("Hud");
    const LevelInfo* level = store->GetLevel(progress->levelIndex);
    static const ResImage* const kMonths[12] = {&IMAGE_HUD_JAN, &IMAGE_HUD_FEB, &IMAGE_HUD_MAR, &IMAGE_HUD_APR,
                                                &IMAGE_HUD_MAY, &IMAGE_HUD_JUN, &IMAGE_HUD_JUL, &IMAGE_HUD_AUG,
                                                &IMAGE_HUD_SEP, &IMAGE_HUD_OCT, &IMAGE_HUD_NOV, &IMAGE_HUD_DEC};
    monthPicture = level != nullptr && level->id >= 0 && level->id < 12 ? kMonths[level->id]->get() : nullptr;
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
    GameState run = NewGameState(info);
    run.levelIndex = levelIndex;
    store = info;
    progress = std::make_unique<GameState>(run);
    savedProgress = std::make_unique<GameState>(run);
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
        if (levelResult >= 0 || progress == nullptr)
            return false;
        if (day.clockTicks > 0)
        {
            day.clockTicks -= 1;
            if (day.clockTicks == 0)
                crowd.CloseDoors();
        }
        if (crowd.IsEmpty() && bannerTimer < 0)
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
                merchant->UpdateActions(1.0f);
            crowd.UpdateFraction(1.0f);
        }
        SyncPeople();
        if (crowd.TakeDoorsClosedEvent())
        {
            auto sign = std::make_unique<ClosedSign>(-250, 413, IMAGE_CLOSED_SIGN.get(), 8);
            tickers.push_back(sign.get());
            sceneItems.push_back(std::move(sign));
            day.clockTicks = 0;
        }
        for (size_t i = 0; i < tickers.size(); ++i)
            tickers[i]->Update();
        bannerTimer += 1;
        if (bannerTimer % kBannerTicks == 0)
            bannerTimer = -1;
        return true;
    }
    if (mode == BoardMode::Tutorial)
    {
        if (lesson)
        {
            if (merchant != nullptr)
                merchant->Update();
            lesson->Update();
            if (!fractionalUpdates)
            {
                if (merchant != nullptr)
                    merchant->UpdateActions(1.0f);
                lesson->UpdateActions(1.0f);
            }
            SyncPeople();
            if (lesson->IsFinished())
            {
                EndLesson();
                ShowLevelStart(true);
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
        if (merchant != nullptr)
            merchant->UpdateActions(float(step));
        lesson->UpdateActions(float(step));
        return;
    }
    if (mode != BoardMode::Level || levelResult >= 0)
        return;
    if (merchant != nullptr)
        merchant->UpdateActions(float(step));
    crowd.UpdateFraction(float(step));
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
        int centreX = draggedDrink->x + CelWidthOf(draggedDrink->image) / 2;
        int centreY = draggedDrink->y + CelHeightOf(draggedDrink->image) / 2;
        if (mode == BoardMode::Tutorial)
            draggedDrink->overTarget = lesson && lesson->AllowsDrinks() &&
                                       lesson->HighlightDrinkTarget(centreX, centreY);
        else
            draggedDrink->overTarget = crowd.HighlightAt(centreX, centreY);
    }
    std::vector<Component*> inFrontOfHud;
    DrawScene(g, &inFrontOfHud);
    if (mode == BoardMode::Tutorial && lesson)
        lesson->Draw(g);
    DrawHud(g);
    for (Component* person : inFrontOfHud)
        person->Draw(g);
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
        DrawBanner(g);
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

void Board::UpdateButtons()
{
    hudButtonsEnabled = pauseCount == 0 && boardState == BoardState::Playing;
    hudButtonsGreyed = (boardState == BoardState::Covered && dimmed) || pauseCount > 0;
    for (Button* button : {optionsButton.get(), doneButton.get()})
    {
        if (button == nullptr)
            continue;
        button->SetInactive(!hudButtonsEnabled);
        button->greyed = hudButtonsGreyed;
        button->Invalidate();
    }
}

void Board::OnMouseMove(int x, int y)
{
    Invalidate();
    if (boardState != BoardState::Playing || pauseCount > 0)
        return;
    bool hand = false;
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
    if (mode == BoardMode::Tutorial && lesson)
    {
        // Only the lesson decides what a click does: the things its arrows point at, or the next text box.
        if (clickCode > 0 && lesson->AllowsDrinks() && progress != nullptr && progress->drinks > 0 &&
            drinkStation && drinkStation->Contains(x, y))
        {
            draggedDrink = std::make_unique<DraggableComponent>(
                drinkStation->x, drinkStation->y, drinkStation->GetImage(), store->GetImage("DrinkActive"));
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
        draggedDrink = std::make_unique<DraggableComponent>(drinkStation->x, drinkStation->y,
                                                            drinkStation->GetImage(), store->GetImage("DrinkActive"));
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
    int centreX = draggedDrink->x + CelWidthOf(draggedDrink->image) / 2;
    int centreY = draggedDrink->y + CelHeightOf(draggedDrink->image) / 2;
    bool given = crowd.GiveDrinkAt(centreX, centreY);
    // The crowd is empty during a lesson; the lesson's own customers take the drink instead.
    if (!given && mode == BoardMode::Tutorial && lesson && lesson->AllowsDrinks())
        given = lesson->DropDrink(centreX, centreY);
    if (given && progress != nullptr)
        progress->drinks -= 1;
    draggedDrink.reset();
    Invalidate();
}

bool Board::SkipLevel(bool wholeStore)
{
    if (progress == nullptr || progress->store == nullptr)
        return false;
    const StoreInfo* current = GetStoreInfo(progress->storeNumber);
    if (current == nullptr)
        return false;
    int levels = int(current->levels.size());
    bool lastStore = progress->storeNumber >= PlayableStoreCount();
    if (wholeStore && lastStore)
        return false;
    if (lastStore && progress->levelIndex + 1 >= levels)
        return false;
    if (wholeStore)
        progress->levelIndex = levels;
    else
        progress->levelIndex += 1;
    if (progress->levelIndex >= levels)
        *progress = NewGameState(GetStoreInfo(progress->storeNumber + 1));
    if (recorder != nullptr)
        recorder->UnlockStore(progress->storeNumber);
    savedProgress = std::make_unique<GameState>(*progress);
    if (recorder != nullptr)
    {
        recorder->SetSavedGame(savedProgress.get());
        recorder->SaveProfiles();
    }
    if (onStoreMap)
        onStoreMap();
    return true;
}

void Board::OnChar(char ch)
{
    if (progress == nullptr)
        return;
    if (ch == ' ')
    {
        if (boardState == BoardState::Playing)
            SetPaused(pauseCount == 0);
        return;
    }
    if (!std::isalnum(static_cast<unsigned char>(ch)))
        return;
    cheatBuffer.push_back(ch);
    if (cheatBuffer.size() > kCheatLength)
        cheatBuffer.erase(0, cheatBuffer.size() - kCheatLength);
    const LevelInfo* level = store != nullptr ? store->GetLevel(progress->levelIndex) : nullptr;
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
        if (store != nullptr && !store->levels.empty())
            progress->levelIndex = int(store->levels.size()) - 1;
        day.goal = day.money - 1;
        crowd.CloseDoors();
        EndLevel();
    }
    else if (cheatBuffer == "qarvonmy")
    {
        progress->cash = std::min(progress->cash + 1000.0, 9999.0);
        PlayGameSound(SOUND_CASH_REGISTER);
    }
    else if (cheatBuffer == "qarvonex")
    {
        if (progress->lives < 9)
        {
            progress->lives += 1;
            if (savedProgress)
                savedProgress->lives += 1;
        }
    }
    else if (cheatBuffer == "qarvonsc")
        progress->score += 1000.0;
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
