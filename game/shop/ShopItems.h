// The four kinds of upgrade-shop item on the store floor, and the maker the floor builder asks for them. Each kind
// places its badge its own way and opens its own panel.
#pragma once

#include "game/shopday/Board.h"
#include "game/shopday/ShoppingComponent.h"

class ChangingRoom;
class Furniture;
class MenuHost;
class Person;
struct MerchantLevelInfo;

// Another changing room: nothing stands there yet; the badge sits a fifth of the room's width left of its middle.
class ShopChangingRoom : public ShoppingComponent
{
public:
    ShopChangingRoom(MenuHost& host, std::unique_ptr<ChangingRoom> room, int price);
    void OpenPanel(Zestra::Board& board) override;

private:
    MenuHost& host; // opens the panel; outlives the item
};

// The next step of a floor spot's chain: the badge sits where the furniture type says (the current piece's type,
// or the new one's on an empty spot).
class ShopFurniture : public ShoppingComponent
{
public:
    ShopFurniture(MenuHost& host, std::unique_ptr<Furniture> current, std::unique_ptr<Furniture> next, int price,
                  int spot);
    void OpenPanel(Zestra::Board& board) override;

    int spot;

private:
    MenuHost& host;
};

// The goodie rack in its second look over the first.
class ShopGoodieRack : public ShoppingComponent
{
public:
    ShopGoodieRack(MenuHost& host, std::unique_ptr<Component> current, std::unique_ptr<Component> next, int price);
    void OpenPanel(Zestra::Board& board) override;

private:
    MenuHost& host;
};

// The merchant of the next level beside the one of today.
class ShopMerchant : public ShoppingComponent
{
public:
    ShopMerchant(MenuHost& host, std::unique_ptr<Person> current, std::unique_ptr<Person> next, int price,
                 const MerchantLevelInfo* level);
    void OpenPanel(Zestra::Board& board) override;

    const MerchantLevelInfo* level; // not owned: the store table's next level; null when unknown

private:
    MenuHost& host;
};

// Makes the shop items of the board's floor, each opening its panel through the host. The board's store and run
// tell it which merchant level is offered.
class ShopItemMaker : public ShopItemFactory
{
public:
    ShopItemMaker(Zestra::Board& board, MenuHost& host) : mBoard(board), mHost(host) {}

    std::unique_ptr<ShoppingComponent> MakeShoppingMerchant(std::unique_ptr<Person> current,
                                                            std::unique_ptr<Person> next, int price) override;
    std::unique_ptr<ShoppingComponent> MakeShoppingGoodieRack(std::unique_ptr<Component> current,
                                                              std::unique_ptr<Component> next, int price) override;
    std::unique_ptr<ShoppingComponent> MakeShoppingChangingRoom(std::unique_ptr<ChangingRoom> room, int price) override;
    std::unique_ptr<ShoppingComponent> MakeShoppingFurniture(std::unique_ptr<Furniture> current,
                                                             std::unique_ptr<Furniture> next, int price,
                                                             int spot) override;

private:
    Zestra::Board& mBoard;
    MenuHost& mHost;
};
