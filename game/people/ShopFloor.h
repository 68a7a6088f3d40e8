// What customers ask of the shop day they shop in: what to want, where to find it, the lines to join and where
// their money goes. The board implements it.
#pragma once

class CashRegisterLine;
class ChangingRoomLine;
class ClothingShelf;
class CustomerServiceLine;
class ChangingRoomPlace;

class ShopFloor
{
public:
    virtual ~ShopFloor() = default;

    // A random piece of furniture offering the garment; null when none does.
    virtual ClothingShelf* PickFurnitureWithClothing(int clothing) const = 0;
    // A random garment on the floor for the gender; 0 when there is none.
    virtual int PickClothingForGender(bool male) const = 0;
    // Among the garments on the floor of the liked lines, by price: 0 cheapest, 1 and 2 the middle ones, 3 the
    // dearest; 0 when none fits.
    virtual int PickClothingByPrice(const int likedLines[4], int wishType) const = 0;
    // A random free changing room; null when all are taken.
    virtual ChangingRoomPlace* PickFreeChangingRoom() const = 0;
    // The day's lines; null before the day has them.
    virtual CashRegisterLine* CashLine() const = 0;
    virtual ChangingRoomLine* RoomLine() const = 0;
    virtual CustomerServiceLine* ServiceLine() const = 0;
    virtual bool OffersGiftWrap() const = 0;
    // What the tips are multiplied by.
    virtual double TipFactor() const = 0;
    virtual void AddSale(double price, double tip, int wrappedCount) = 0;
    virtual void AddLostCustomer() = 0;
};
