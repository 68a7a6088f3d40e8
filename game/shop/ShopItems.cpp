#include "game/shop/ShopItems.h"

#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/LevelStats.h"
#include "game/ui/MenuHost.h"
#include "game/audio/GameSound.h"
#include "game/people/Person.h"
#include "game/res/Res.h"
#include "game/shop/UpgradeChangingRoomMenu.h"
#include "game/shop/UpgradeFurnitureMenu.h"
#include "game/shop/UpgradeGoodieRackMenu.h"
#include "game/shop/UpgradeMerchantMenu.h"
#include "game/store/ChangingRoom.h"
#include "game/store/Furniture.h"

namespace
{

constexpr int kGoodieRackBadgeY = -53;
constexpr int kMerchantBadgeY = -20;

void Open(MenuHost& host, std::unique_ptr<Menu> panel)
{
    PlayGameSound(SOUND_BUTTON);
    host.AddMenu(std::move(panel));
}

} // namespace

ShopChangingRoom::ShopChangingRoom(MenuHost& host, std::unique_ptr<ChangingRoom> room, int price)
    : ShoppingComponent(nullptr, std::move(room), 0, 0, price), host(host)
{
    const Zestra::Image* picture = preview->GetImage();
    PlaceBadge(picture != nullptr ? -picture->GetCelWidth() / 5 : 0, 0);
}

void ShopChangingRoom::OpenPanel(Zestra::Board& board)
{
    Open(host, std::make_unique<UpgradeChangingRoomMenu>(board, price, preview.get()));
}

ShopFurniture::ShopFurniture(MenuHost& host, std::unique_ptr<Furniture> current, std::unique_ptr<Furniture> next,
                             int price, int spot)
    : ShoppingComponent(std::move(current), std::move(next), 0, 0, price), spot(spot), host(host)
{
    const Component* piece = this->current ? this->current.get() : preview.get();
    const FurnitureInfo* type = piece != nullptr ? static_cast<const Furniture*>(piece)->type : nullptr;
    if (type != nullptr)
        PlaceBadge(type->shopX, type->shopY);
}

void ShopFurniture::OpenPanel(Zestra::Board& board)
{
    Open(host, std::make_unique<UpgradeFurnitureMenu>(board, price, preview.get(), spot));
}

ShopGoodieRack::ShopGoodieRack(MenuHost& host, std::unique_ptr<Component> current, std::unique_ptr<Component> next,
                               int price)
    : ShoppingComponent(std::move(current), std::move(next), 0, kGoodieRackBadgeY, price), host(host)
{
}

void ShopGoodieRack::OpenPanel(Zestra::Board& board)
{
    Open(host, std::make_unique<UpgradeGoodieRackMenu>(board, price, preview.get()));
}

ShopMerchant::ShopMerchant(MenuHost& host, std::unique_ptr<Person> current, std::unique_ptr<Person> next, int price,
                           const MerchantLevelInfo* level)
    : ShoppingComponent(std::move(current), std::move(next), 0, kMerchantBadgeY, price), level(level), host(host)
{
}

void ShopMerchant::OpenPanel(Zestra::Board& board)
{
    Open(host, std::make_unique<UpgradeMerchantMenu>(board, price, preview.get(), level));
}

std::unique_ptr<ShoppingComponent> ShopItemMaker::MakeShoppingMerchant(std::unique_ptr<Person> current,
                                                                       std::unique_ptr<Person> next, int price)
{
    const MerchantLevelInfo* level = nullptr;
    if (mBoard.run.Store() != nullptr && mBoard.run.Progress() != nullptr)
    {
        const size_t index = size_t(std::max(0, mBoard.run.Progress()->merchantLevel) + 1);
        if (index < mBoard.run.Store()->merchantLevels.size())
            level = &mBoard.run.Store()->merchantLevels[index];
    }
    return std::make_unique<ShopMerchant>(mHost, std::move(current), std::move(next), price, level);
}

std::unique_ptr<ShoppingComponent> ShopItemMaker::MakeShoppingGoodieRack(std::unique_ptr<Component> current,
                                                                         std::unique_ptr<Component> next, int price)
{
    return std::make_unique<ShopGoodieRack>(mHost, std::move(current), std::move(next), price);
}

std::unique_ptr<ShoppingComponent> ShopItemMaker::MakeShoppingChangingRoom(std::unique_ptr<ChangingRoom> room,
                                                                           int price)
{
    return std::make_unique<ShopChangingRoom>(mHost, std::move(room), price);
}

std::unique_ptr<ShoppingComponent> ShopItemMaker::MakeShoppingFurniture(std::unique_ptr<Furniture> current,
                                                                        std::unique_ptr<Furniture> next, int price,
                                                                        int spot)
{
    if (!next)
        return nullptr;
    return std::make_unique<ShopFurniture>(mHost, std::move(current), std::move(next), price, spot);
}
