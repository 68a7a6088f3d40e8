// Layout and purchase of the upgrade panel.
#include "game/shop/UpgradeMenu.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/Localization.h"
#include "game/ui/Button.h"
#include "game/profile/GameState.h"
#include "game/res/Res.h"
#include "game/scene/Component.h"
#include "game/shopday/Board.h"

#include <string>

namespace
{
enum ButtonId
{
    kBuyButton = 1,
    kCancelButton = 2,
};
// From the top of the clipboard's paper down; the two buttons share a row on the paper.
constexpr int kBuyCentreX = 440;
constexpr int kBuyTop = 420;
constexpr int kCancelCentreX = 290;
constexpr int kCancelTop = 420;
constexpr int kPreviewCentreX = 100;
constexpr int kPreviewTop = 175;
constexpr int kTitleX = 75;
constexpr int kTitleBaseline = 105;
constexpr int kPriceBaseline = 140;
constexpr int kTextLeft = 190;
constexpr int kTextTop = 130;
constexpr int kTextNarrowing = 240; // the text is the clipboard's width less this
constexpr int kTextHeight = 300;
} // namespace

UpgradeMenu::UpgradeMenu(Zestra::Board& board, int price, const std::string& itemName, Component* preview)
    : Menu(&board, IMAGE_MENU_CLIPBOARD.get(), true, true, false), price(price), title(GetText("buy_" + itemName)),
      description(GetText("buy_" + itemName + "_msg")), preview(preview)
{
    if (preview != nullptr)
    {
        const Zestra::Image* picture = preview->GetImage();
        const int celWidth = picture != nullptr ? picture->GetCelWidth() : 0;
        previewOffset = Zestra::Point{kPreviewCentreX - celWidth / 2 - preview->x, kPreviewTop - preview->y};
    }
    buyButton = AddLevelButton(GetText("upgrade_buy"), kBuyCentreX, kBuyTop, kBuyButton);
    cancelButton = AddLevelButton(GetText("upgrade_cancel"), kCancelCentreX, kCancelTop, kCancelButton);
    confirmControl = buyButton;
    cancelControl = cancelButton;
}

void UpgradeMenu::TakeOffer(ShopKind kind, int spot)
{
    offered = false;
    const GameState* run = board != nullptr ? board->run.Progress() : nullptr;
    if (run != nullptr)
        for (const ShopOffer& candidate : ListShopOffers(*run))
            if (candidate.kind == kind && (spot < 0 || candidate.spot == spot))
            {
                offer = candidate;
                offered = true;
                break;
            }
    // The panel sells at the price it shows; an offer whose price moved on is not this one.
    if (!offered || offer.price != price || !CanAfford(run->cash, price))
        HideBuyButton();
}

void UpgradeMenu::HideBuyButton()
{
    if (buyButton != nullptr)
        buyButton->SetShown(false);
    confirmControl = nullptr;
}

void UpgradeMenu::ButtonPressed(int id)
{
    if (id == kBuyButton)
        Buy();
    else if (id == kCancelButton)
        Cancel();
}

void UpgradeMenu::ApplyPurchase()
{
    if (board == nullptr)
        return;
    board->run.Apply(offer);
    board->NoteUpgradeBought();
}

void UpgradeMenu::Buy()
{
    Zestra::Board* owner = board;
    Close();
    if (owner == nullptr || owner->run.Progress() == nullptr)
        return;
    // Checked again at the moment of paying: the run may have changed while the panel was open.
    if (offered && CheckPurchase(*owner->run.Progress(), offer) == PurchaseCheck::Allowed && owner->SpendFunds(price))
        ApplyPurchase();
    owner->flow->AfterLevelStart(true);
}

void UpgradeMenu::Cancel()
{
    Zestra::Board* owner = board;
    Close();
    if (owner != nullptr)
        owner->flow->AfterLevelStart(false);
}

void UpgradeMenu::Paint(Zestra::Graphics& g)
{
    Menu::Paint(g);
    if (FONT_MEDIUM_DARK != nullptr)
    {
        g.SetTypeface(FONT_MEDIUM_DARK);
        g.SetInk(Zestra::Color::White);
        g.PrintText(title, kTitleX, kTitleBaseline);
        g.PrintText(FormatMoney(price), kTitleX, kPriceBaseline);
    }
    if (FONT_SMALL != nullptr && !description.empty())
    {
        g.SetTypeface(FONT_SMALL);
        g.SetInk(Zestra::Color(0, 0, 0));
        DrawWrappedText(g, Zestra::Rect(kTextLeft, kTextTop, mWidth - kTextNarrowing, kTextHeight), description,
                        FONT_SMALL->LineSpacing(), -1);
    }
    if (preview != nullptr)
    {
        Zestra::Graphics moved(g);
        moved.Offset(float(previewOffset.mX), float(previewOffset.mY));
        preview->Draw(moved);
    }
}
