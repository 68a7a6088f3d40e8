#include "ShopDaySupport.h"

#include "game/data/ClothingStats.h"
#include "game/data/CustomerStats.h"

void ShopDay::SetUp()
{
    ClothingStats catalogue(host);
    tee = catalogue.RegisterClothing(1, "Pinstripe", "tee", 40);
    jeans = catalogue.RegisterClothing(1, "Pinstripe", "jeans", 25);
    folder.Write("properties/customers.xml", R"(
<customer name="Lottra" store="1" gender="female" patience="10" hearts="3" tips="1.5" dressing_room_time="1"/>
<clothing clothing1="tee" got_clothing="buy"/>
<clothing clothing1="jeans" got_clothing="buy"/>
<customer name="Masel" store="1" gender="male" patience="10" hearts="3" tips="1" dressing_room_time="1"/>
<clothing clothing1="tee" items_tried_on="2" got_clothing="try_on" wrong_item_action="wait"/>
<customer name="Finnola" store="1" gender="female" patience="10" hearts="3" tips="1" dressing_room_time="1"/>
<clothing clothing1="tee" got_clothing="gift_wrap"/>
)");
    CustomerStats reader(host);

    store.number = 1;
    store.giftWrapCost = 2.5f;
    store.goodieRackBonus = 1.5f;
    MerchantLevelInfo level;
    level.speed = 1.0f;
    level.backRoomTime = 100;
    level.discardTime = 20;
    store.merchantLevels = {level};
    store.levels.resize(2);
    for (LevelInfo& info : store.levels)
    {
        info.duration = 18000;
        info.minGoal = 100;
        info.expertGoal = 150;
        info.maxCustomers = 4;
        info.customerSpeed = 1.0f;
    }

    board = std::make_unique<Zestra::Board>();
    GameState run;
    run.store = &store;
    run.storeNumber = 1;
    board->run.StartDay(&store, run, run);
    auto playable = std::make_unique<Merchant>(605, 225, store.merchantLevels, 0);
    merchant = playable.get();
    board->merchant = merchant;
    board->sceneItems.push_back(std::move(playable));
    board->StartShopDay();
    board->SetBoardState(BoardState::Playing, false);
    board->day.goal = 100;
    board->day.expertGoal = 150;
}

void ShopDay::TearDown()
{
    extras.clear();
    board.reset();
    BoundPictures::TearDown();
}

Customer& ShopDay::AddCustomer(const std::string& key)
{
    extras.push_back(std::make_unique<Customer>(key, 1.0f, std::vector<int>{}, board.get()));
    extras.back()->actions.clear();
    extras.back()->bubble = Customer::BUBBLE_NONE;
    return *extras.back();
}

void ShopDay::Settle(Customer& customer)
{
    customer.UpdateActions(1.0f, board->FloorGrid());
}
