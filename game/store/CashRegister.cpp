#include "game/store/CashRegister.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/Localization.h"
#include "game/people/Merchant.h"
#include "game/people/WaitingLines.h"
#include "game/res/Res.h"

namespace
{
constexpr int kStillTicks = 30; // the amounts stand still this long, then rise and fade
constexpr int kFadeTicks = 60;

void DrawCentred(Zestra::Graphics& g, Zestra::Font& font, const std::string& text, int x, int y)
{
    g.PrintText(text, x - font.TextWidth(text) / 2, y);
}
} // namespace

CashRegister::CashRegister(int centreX, int y, Zestra::Image* image, CustomerLine* line)
    : ActiveComponent(centreX, y, image, 20, -4), line(line)
{
}

CashRegister::~CashRegister() = default;

std::unique_ptr<MerchantAction> CashRegister::CreateMerchantAction(Merchant& merchant)
{
    return std::make_unique<VisitCashRegister>(merchant, *this, line);
}

void CashRegister::ShowAmounts(double sale, double tip)
{
    if (showing)
        return;
    showing = true;
    amountTimer = -kStillTicks;
    saleText = FormatMoney(sale);
    tipText = FormatMoney(tip);
    saleX = x + 24;
    saleY = y - 20;
    tipX = x + 85;
    tipY = y + 20;
}

void CashRegister::Update()
{
    if (!showing)
        return;
    amountTimer += 1;
    if (amountTimer >= kFadeTicks)
    {
        showing = false;
        return;
    }
    if (amountTimer > 0 && amountTimer % 2 == 0)
    {
        saleY -= 1;
        tipY -= 1;
    }
}

void CashRegister::Draw(Zestra::Graphics& g)
{
    ActiveComponent::Draw(g);
    if (!showing || FONT_HUD_NUMBERS == nullptr)
        return;
    int alpha = amountTimer <= 0 ? 255 : (kFadeTicks - amountTimer) * 255 / kFadeTicks;
    Zestra::Graphics text(g);
    text.SetTypeface(FONT_HUD_NUMBERS);
    text.SetInk(Zestra::Color(255, 255, 255, alpha));
    DrawCentred(text, *FONT_HUD_NUMBERS, saleText, saleX, saleY);
    DrawCentred(text, *FONT_HUD_NUMBERS, tipText, tipX, tipY);
}

VisitCashRegister::VisitCashRegister(Merchant& merchant, CashRegister& cashRegister, CustomerLine* line)
    : VisitLine(merchant, &cashRegister, -8, 290, line), cashRegister(cashRegister)
{
}

bool VisitCashRegister::ServeLine()
{
    if (!busy)
    {
        if (line->Empty())
            return true;
        if (cashRegister.showing)
            return false;
        merchant.SetAnimation("hands");
        line->ServeHead();
        busy = true;
        return false;
    }
    if (merchant.animationName == "hands")
        return false;
    servedCustomer = nullptr;
    headSeen = false;
    busy = false;
    return cancelled;
}
