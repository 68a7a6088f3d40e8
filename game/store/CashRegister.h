// The cash register: customers pay in its line; after a sale it shows the amount and the tip rising and fading
// for 90 ticks. A sale while the previous amounts are still shown is booked but not shown.
#pragma once

#include "game/people/VisitLine.h"
#include "game/store/ActiveComponent.h"

#include <string>

class CustomerLine;

class CashRegister : public ActiveComponent
{
public:
    CashRegister(int centreX, int y, Zestra::Image* image, CustomerLine* line);
    ~CashRegister() override;

    void Draw(Zestra::Graphics& g) override;
    void Update() override;
    std::unique_ptr<MerchantAction> CreateMerchantAction(Merchant& merchant) override;
    void ShowAmounts(double sale, double tip);

    CustomerLine* line; // not owned: the level's cash register line (may be null before lines exist)
    bool showing = false;
    int amountTimer = 0;
    std::string saleText;
    std::string tipText;
    int saleX = 0;
    int saleY = 0;
    int tipX = 0;
    int tipY = 0;
};

// The order a click on the register makes: the merchant takes the payment of every customer in the line, one
// "hands" animation each, waiting while the register still shows the last amounts.
class VisitCashRegister : public VisitLine
{
public:
    VisitCashRegister(Merchant& merchant, CashRegister& cashRegister, CustomerLine* line);
    bool ServeLine() override;

    CashRegister& cashRegister;
    bool busy = false;
};
