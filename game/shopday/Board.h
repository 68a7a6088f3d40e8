// The game widget that runs one shop day. It owns the scene of the store floor through its owning lists
// (sceneItems, changingRooms, shopItems); clickables, tickers, furnitureList and mannequins only point into them.
// LoadLevel rebuilds the floor from the current store and the run's upgrades; ClearLevel deletes it.
#pragma once

#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/Widget.h"
#include "game/people/ShopFloor.h"
#include "game/people/WaitingLines.h"
#include "game/profile/Achievements.h"
#include "game/profile/GameState.h"
#include "game/shopday/AchievementToast.h"
#include "game/shopday/BoardLesson.h"
#include "game/shopday/CustomerCrowd.h"
#include "game/shopday/DayLedger.h"
#include "game/shopday/Hud.h"
#include "game/shopday/Run.h"
#include "game/shopday/ScreenFlow.h"
#include "game/shopday/ShoppingComponent.h"
#include "game/store/DraggableComponent.h"
#include "game/store/WalkGrid.h"

#include <functional>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class ActiveComponent;
class BackRoom;
class CashRegister;
class ChangingRoom;
class Component;
class CustomerServiceDesk;
class Furniture;
class GiftWrap;
class Mannequin;
class Person;
class Merchant;
class Minigame;
struct FurnitureUpgrade;
struct LevelInfo;
struct MerchantLevelInfo;
struct StoreInfo;

// Makes the upgrade-shop items of the shop view (the upgrade shop provides it). Each maker receives what the item
// offers and returns the owned shop item, or null to offer nothing.
class ShopItemFactory
{
public:
    virtual ~ShopItemFactory() = default;
    // current: the merchant as it is now; next: the next merchant level, shown as a second person.
    virtual std::unique_ptr<ShoppingComponent> MakeShoppingMerchant(std::unique_ptr<Person> current,
                                                            std::unique_ptr<Person> next, int price) = 0;
    virtual std::unique_ptr<ShoppingComponent> MakeShoppingGoodieRack(std::unique_ptr<Component> current,
                                                                      std::unique_ptr<Component> next, int price) = 0;
    virtual std::unique_ptr<ShoppingComponent> MakeShoppingChangingRoom(std::unique_ptr<ChangingRoom> room,
                                                                        int price) = 0;
    // current is null when nothing stands on the spot yet.
    virtual std::unique_ptr<ShoppingComponent> MakeShoppingFurniture(std::unique_ptr<Furniture> current,
                                                                     std::unique_ptr<Furniture> next, int price,
                                                                     int spot) = 0;
};

// How much of the board shows: nothing (a screen hides it), the floor under a menu that lets it show, or the
// floor at play.
enum class BoardState
{
    Hidden = 0,
    Covered = 1,
    Playing = 2,
};

// What the board runs.
enum class BoardMode
{
    Level = 0,
    UpgradeShop = 1,
    Tutorial = 2,
};

// How the last day ended: what EndLevel leaves for the result screens, the way on and the diagnostics.
struct EndedDay
{
    DayResult levelResult = DayResult::None;
    bool storeCompleted = false;      // the day was the store's last
    std::optional<int> highScoreRank; // the place of an ended run's score (-1 not entered); none when not submitted
    int storePlayed = 0;              // store and level of the day
    int levelPlayed = 0;
    double levelMoney = 0.0; // the day's takings (EndLevel turns the day's money into the score)
    int runLives = 0;        // the run's lives after the day
    int runTotal = 0;        // the run's score after the day (kept, or final)
};

namespace Zestra
{

class Board : public Widget, public ButtonListener, public ShopFloor
{
public:
    Board();
    ~Board() override;

    void Tick() override;
    void Paint(Graphics& g) override;

    // Reads the walk grid (the grid file is required; a missing one is reported and leaves an empty floor).
    bool LoadWalkGrid(const std::string& path = "properties/grid.txt");
    // Builds the scene of the current level of progress; shop = true builds the upgrade-shop view. Returns whether
    // a shop item was made. Needs progress and a store.
    bool LoadLevel(bool shop);
    void ClearLevel();
    // Changing rooms, then every scene item, person and shop item by ascending depth (DepthY: the top edge; a
    // rope's posts by their feet), then x, then creation order.
    void DrawScene(Graphics& g);

    // Queries of the customers.
    ClothingShelf* PickFurnitureWithClothing(int clothing) const override;
    int PickClothingForGender(bool male) const override;
    int PickClothingByPrice(const int likedLines[4], int wishType) const override;
    ChangingRoomPlace* PickFreeChangingRoom() const override;
    bool OffersGiftWrap() const override;
    ActiveComponent* FindClickableAt(int x, int y) const;
    ShoppingComponent* FindShopItemAt(int x, int y) const;

    // What the board shows and runs, and the day's pauses. The menu stack sets the state (SetBoardState), the
    // flow the mode (SetMode); the space bar, the window focus and clicks move the pauses (SetPaused).
    BoardState State() const { return boardState; }
    bool Dimmed() const { return dimmed; }
    BoardMode Mode() const { return mode; }
    int PauseCount() const { return pauseCount; }
    void SetMode(BoardMode newMode);
    // A new run begins with nothing left paused.
    void ClearPauses();

    // The day's pictures: the store's background and HUD frame.
    void DressForStore();
    Image* Background() const { return background; }
    // The day's figures start again from nothing (the memory game is the whole day).
    void ClearDayFigures();
    // The goal is none on a lesson's day.
    void ClearGoal() { day.goal = 0; }

    // The memory game open for this day; owned by the menu stack. Forget takes it away when it is that one.
    Minigame* DayMinigame() const { return minigame; }
    void AttachMinigame(Minigame* game) { minigame = game; }
    void ForgetMinigame(const Minigame* game);

    // The day's lesson was shown (the shop day after it opens at once); a lesson runs now.
    bool TutorialPlayed() const { return tutorialPlayed; }
    void SetTutorialPlayed(bool played) { tutorialPlayed = played; }
    bool TutorialRunning() const { return tutorialRunning; }
    // Back from any lesson to the plain floor: the lesson goes, the mode is the day's.
    void LeaveLesson();
    // What the lesson that just ended took in; said once, so taking it leaves nothing.
    double TakePracticeMoney() { return std::exchange(practiceMoney, 0.0); }

    // What the application connects: the shop's items, the profile, the lessons, the hooks of the screen flow
    // and whether the display paces the updates (then fractional updates move the people; otherwise each tick
    // moves them by one whole update).
    void SetShopFactory(ShopItemFactory* factory) { shopFactory = factory; }
    void SetRecorder(DayRecorder* dayRecorder) { recorder = dayRecorder; }
    void SetLessonMaker(std::function<std::unique_ptr<BoardLesson>(Board&)> maker) { lessonMaker = std::move(maker); }
    bool HasLessonMaker() const { return bool(lessonMaker); }
    void SetFractionalUpdates(bool on) { fractionalUpdates = on; }
    void SetFlow(std::unique_ptr<ScreenFlow> screenFlow) { flow = std::move(screenFlow); }
    // A day's floor is built and its open sign shows.
    void OnDayOpened(std::function<void()> hook) { onDayOpened = std::move(hook); }
    void NoteDayOpened();
    // The day ended: the result screen or, headless, the caller.
    void OnLevelEnded(std::function<void()> hook) { onLevelEnded = std::move(hook); }
    // A skip word moved the run on: the store map should open.
    void OnStoreMap(std::function<void()> hook) { onStoreMap = std::move(hook); }

    // The floor as it stands (the lists point into the owning lists below).
    const std::vector<std::unique_ptr<ChangingRoom>>& ChangingRooms() const { return changingRooms; }
    const std::vector<Furniture*>& FurnitureOnFloor() const { return furnitureList; }
    const std::vector<Mannequin*>& Mannequins() const { return mannequins; }
    const std::vector<Component*>& Tickers() const { return tickers; }
    // A room on the floor beside the level's own (fixtures that build a floor by hand).
    void AddChangingRoom(std::unique_ptr<ChangingRoom> room);
    Component* DrinkStation() const { return drinkStation.get(); }
    CashRegister* Register() const { return cashRegister; }
    DraggableComponent* DraggedDrink() const { return draggedDrink.get(); }
    void DropDraggedDrink() { draggedDrink.reset(); }
    const WalkGrid& FloorGrid() const { return walkGrid; }
    const std::string& CheatWord() const { return cheatBuffer; }
    void ClearCheatWord() { cheatBuffer.clear(); }

private:
    // Declared before the public scene lists and the lesson, which point into them and go first.
    BoardState boardState = BoardState::Hidden;
    bool dimmed = false;
    BoardMode mode = BoardMode::Level;
    int pauseCount = 0;
    CashRegister* cashRegister = nullptr;       // not owned
    CustomerServiceDesk* serviceDesk = nullptr; // not owned
    GiftWrap* giftWrap = nullptr;               // not owned; null in stores without gift wrapping
    BackRoom* backRoom = nullptr;               // not owned
    std::unique_ptr<CashRegisterLine> cashRegisterLine; // made by StartShopDay; null until a day is prepared
    std::unique_ptr<ChangingRoomLine> changingRoomLine;
    std::unique_ptr<CustomerServiceLine> customerServiceLine;
    std::unique_ptr<Component> drinkStation;
    std::vector<Furniture*> furnitureList;
    std::vector<std::unique_ptr<ChangingRoom>> changingRooms; // owns; drawn before the depth-sorted scene
    std::vector<Mannequin*> mannequins;
    std::vector<Component*> tickers;
    WalkGrid walkGrid;
    Image* background = nullptr;
    ShopItemFactory* shopFactory = nullptr; // not owned; the upgrade shop gives it
    bool tutorialPlayed = false;
    bool tutorialRunning = false; // a playing or shopping tutorial exists (BoardMode::Tutorial)
    double practiceMoney = 0.0;   // what the lesson that just ended took in, until the level start says so
    Minigame* minigame = nullptr; // not owned: the menu stack holds it
    DayRecorder* recorder = nullptr; // not owned: profile and high scores; null records nothing
    std::function<void()> onDayOpened;
    std::function<void()> onLevelEnded;
    std::function<void()> onStoreMap;
    bool fractionalUpdates = false;
    std::function<std::unique_ptr<BoardLesson>(Board&)> lessonMaker;
    std::unique_ptr<DraggableComponent> draggedDrink;
    int dragOffsetX = 0;
    int dragOffsetY = 0;
    std::string cheatBuffer;
    int playedTicks = 0;   // today's updates since the doors opened
    int drinksAtStart = 0; // today's drinks when the doors opened
    int drinksGiven = 0;   // today

public:
    // The run being played; it moves on only through its own operations.
    Run run;
    DayLedger day; // today's clock, takings and goals
    Hud hud;       // its buttons are the board's: their presses come to ButtonPressed
    EndedDay lastDay; // how the last day ended, for the result screens and the diagnostics
    Person* merchant = nullptr; // not owned: sceneItems (or the shopping merchant) holds it
    CustomerCrowd crowd{this};
    std::vector<std::unique_ptr<Component>> sceneItems; // owns: drawn in depth order
    std::vector<ActiveComponent*> clickables;           // in the order clicks test them
    std::vector<std::unique_ptr<ShoppingComponent>> shopItems; // owns
    std::vector<Person*> people; // not owned: the customers drawn with the scene
    // The way on from screen to screen (the board's own buttons and the screens over it ask it); the application
    // gives it. Null on a board alone, which then leads nowhere.
    std::unique_ptr<ScreenFlow> flow;
    // Declared last so that it goes first: its people point into the lines and rooms above.
    std::unique_ptr<BoardLesson> lesson;

    void OnAttachedToManager(WidgetManager* manager) override;
    void OnDetachedFromManager(WidgetManager* manager) override;
    using ButtonListener::ButtonPressed;
    void ButtonPressed(int id) override;

    // Level play (Board.cpp), input (BoardInput.cpp), money and the end of the day (BoardMoney.cpp).
    void TickFraction(double step) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseDown(int x, int y, int clickCode) override;
    void OnMouseDrag(int x, int y) override;
    void OnMouseUp(int x, int y, int clickCode) override;
    void OnChar(char ch) override;
    // After LoadLevel: makes the three lines, the playable merchant and the crowd of the level.
    void StartShopDay();
    // A new run of the store, at the given day, built and playing. False for an unknown store or day.
    bool OpenDay(int storeNumber, int levelIndex);
    // One tick of a level (everything but the widget base update); Tick runs it while playing. True when it may
    // have changed the picture (false once the day is over and in the shop view).
    bool PlayTick();
    void PaintPlay(Graphics& g);
    void SetBoardState(BoardState state, bool dim);
    void SetPaused(bool on);

    void UpdateButtons();
    // The HUD shows the run's cash and the price under the mouse in place of the day's takings and goal.
    bool HudShowsShop() const;
    void AddSale(double price, double tip, int wrappedCount) override;
    double TipFactor() const override;
    void AddLostCustomer() override;
    void AddBonusMoney(double amount);
    // Pays for an upgrade from the run's cash; false (nothing paid, no sound) when the cash does not cover it.
    bool SpendFunds(int amount);
    void EndLevel();
    // An event of play for the player's statistics and achievements (through the recorder); what it earns is shown
    // by the toast. Events of a lesson count nothing. The store and day are the run's.
    void Feed(PlayEvent event);
    // After the upgrade shop applied a purchase to the run.
    void NoteUpgradeBought();
    AchievementToast toast;
    Merchant* PlayMerchant() const;
    CashRegisterLine* CashLine() const override;
    ChangingRoomLine* RoomLine() const override;
    CustomerServiceLine* ServiceLine() const override;

    // Keeps the drawn people in step with the crowd.
    void SyncPeople();
    // Moves the run to the next level or store, as the skip words do; false at the very end of the game.
    bool SkipLevel(bool wholeStore);

    // Lessons (BoardLesson.cpp). BeginLesson builds the current level's floor (the shop view for the shopping
    // lesson), lets the lesson maker make the lesson and runs it as BoardMode::Tutorial without a crowd; false
    // when no lesson was made. A finished lesson is deleted by the tick, which then opens the level start.
    bool BeginLesson();
    void EndLesson();
    // Store 1 day 2: the lesson runs in the upgrade shop's view of the floor.
    bool LessonInShop() const;


private:
    // Where the dragged drink would land: the middle of its picture.
    Point DrinkDropPoint() const;
    std::unique_ptr<Person> MakeMerchant(int level) const;
    std::unique_ptr<Furniture> MakeFurniture(int spot, int step, bool shopView) const;
    // The store floor of the current level from the store and the run's upgrades (BoardFloor.cpp); in the shop
    // view the upgrades on offer stand where they would go. Each piece returns whether it made a shop item.
    bool BuildFloor(bool shop, const LevelInfo* level);
    bool PlaceMerchant(bool shop);
    bool PlaceStations(bool shop, bool december);
    void PlaceDrinkStation();
    bool PlaceChangingRooms(bool shop);
    void PlaceMannequins();
    bool PlaceFurniture(bool shop);
    // Keeps an offer of the shop view; false for none.
    bool OfferInShop(std::unique_ptr<ShoppingComponent> item);

};

} // namespace Zestra
