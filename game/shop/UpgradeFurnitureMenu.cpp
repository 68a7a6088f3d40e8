#include "game/shop/UpgradeFurnitureMenu.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "game/data/ClothingStats.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/profile/GameState.h"
#include "game/res/Res.h"
#include "game/shopday/Board.h"

namespace
{
constexpr int kNoticeLeft = 190;
constexpr int kNoticeTop = 360;
constexpr int kNoticeNarrowing = 240; // as wide as the description
constexpr int kNoticeHeight = 50;
const Zestra::Color kNoticeColour(255, 0, 0);

// The step the spot would reach: one after its current one.
std::string ItemNameOf(const Zestra::Board& board, int spot)
{
    if (board.run.Store() == nullptr || board.run.Progress() == nullptr || spot < 0 ||
        spot >= int(board.run.Progress()->furnitureLevels.size()))
        return std::string();
    return FurnitureItemName(*board.run.Store(), spot, board.run.Progress()->furnitureLevels[size_t(spot)] + 1);
}
} // namespace

UpgradeFurnitureMenu::UpgradeFurnitureMenu(Zestra::Board& board, int price, Component* preview, int spot)
    : UpgradeMenu(board, price, ItemNameOf(board, spot), preview), spot(spot)
{
    TakeOffer(ShopKind::Furniture, spot);
    description = FillClothingPrice(
        description, FormatMoney(offered && !offer.furnitureOnly ? double(GetClothing(offer.clothing).price) : 0.0));
    if (offered && offer.furnitureOnly && board.run.Progress() != nullptr && !board.run.Progress()->AllSpotsFurnished())
    {
        HideBuyButton();
        notice = GetText("upgrade_furniture_notice");
    }
}

void UpgradeFurnitureMenu::Paint(Zestra::Graphics& g)
{
    UpgradeMenu::Paint(g);
    if (notice.empty() || FONT_SMALL == nullptr)
        return;
    g.SetTypeface(FONT_SMALL);
    g.SetInk(kNoticeColour);
    DrawWrappedText(g, Zestra::Rect(kNoticeLeft, kNoticeTop, mWidth - kNoticeNarrowing, kNoticeHeight), notice,
                    FONT_SMALL->LineSpacing(), -1);
}
