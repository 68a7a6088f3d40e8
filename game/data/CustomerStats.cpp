// Customer reader and the process-wide customer table. A customer carries the item of wish i in hand i, so the
// reader keeps at most two wishes and reports the rest.
#include "game/data/CustomerStats.h"

#include "framework/xml/XMLParser.h"
#include "game/data/ClothingStats.h"
#include "game/data/LevelStats.h"

namespace
{

std::map<std::string, CustomerDefinition> gCustomers; // by CustomerKey
const CustomerDefinition kNoCustomer;

} // namespace

CustomerStats::CustomerStats(ParserHost& host) : Parser(host, "customers")
{
    ParseProperties("customers.xml");
}

int CustomerStats::ResolveClothing(const std::string& name, const char* attribute)
{
    const int id = FindClothing(mStore, name);
    if (id == 0 && !name.empty())
        DataError(std::string(attribute) + " \"" + name + "\" is no clothing of store " + std::to_string(mStore) +
                  "; it reads as none");
    return id;
}

void CustomerStats::OnStartElement(const Zestra::ParsedElement& element)
{
    const std::string& tag = element.mText;
    if (tag == "customer")
    {
        mStore = DataConvert::Integer(Attribute(element, "store"));
        CustomerDefinition definition;
        definition.name = Attribute(element, "name");
        definition.key = MakeStoreKey(definition.name, mStore);
        static const char* const kFavourites[kFavouriteCount] = {"favorite1", "favorite2", "favorite3",
                                                                  "favorite4"};
        for (int i = 0; i < kFavouriteCount; ++i)
            definition.favourites[i] = ResolveClothing(Attribute(element, kFavourites[i]), kFavourites[i]);
        definition.male = DataConvert::Flag(Attribute(element, "gender"), "male");
        definition.patience = DataConvert::Hundredths(Attribute(element, "patience"));
        definition.hearts = DataConvert::Integer(Attribute(element, "hearts"));
        definition.tips = static_cast<double>(DataConvert::Real(Attribute(element, "tips")));
        definition.dressingTime = DataConvert::Hundredths(Attribute(element, "dressing_room_time"));
        if (definition.patience <= 0 || definition.hearts <= 0)
            DataWarning("customer " + definition.key + " has no patience or no hearts and leaves at once");
        mKey = definition.key;
        gCustomers[mKey] = std::move(definition); // replaces an earlier customer of that key, wishes included
        return;
    }
    if (tag == "clothing")
    {
        CustomerDefinition& definition = gCustomers[mKey];
        if (mKey.empty())
            DataWarning("<clothing> wish comes before any <customer>; no level can use it");
        if (definition.wishes.size() >= kMaxWishes)
        {
            DataError("customer " + mKey + " has more than " + std::to_string(kMaxWishes) +
                      " wishes (one per hand); this one is ignored");
            return;
        }
        CustomerWish wish;
        static const char* const kClothing[4] = {"clothing1", "clothing2", "clothing3", "clothing4"};
        for (int i = 0; i < 4; ++i)
            wish.clothing[i] = ResolveClothing(Attribute(element, kClothing[i]), kClothing[i]);
        wish.tries = DataConvert::Integer(Attribute(element, "items_tried_on"));
        wish.askService = Attribute(element, "find_clothing") == "customer_service" ? 1 : 0;
        const std::string& got = Attribute(element, "got_clothing");
        wish.outcome = got == "buy" ? 1 : (got == "gift_wrap" ? 2 : 0);
        const std::string& wrong = Attribute(element, "wrong_item_action");
        wish.wrongItem = wrong == "wait" ? 1 : (wrong == "customer_service" ? 2 : 0);
        if (wish.clothing[0] == 0 && wish.clothing[1] == 0 && wish.clothing[2] == 0 && wish.clothing[3] == 0)
            DataWarning("wish of customer " + mKey + " names no clothing");
        definition.wishes.push_back(wish);
    }
}

const CustomerDefinition& FindCustomer(const std::string& key)
{
    auto it = gCustomers.find(key);
    return it == gCustomers.end() ? kNoCustomer : it->second;
}

bool HasCustomer(const std::string& key)
{
    return gCustomers.count(key) != 0;
}

size_t CustomerCount()
{
    return gCustomers.size();
}

std::vector<std::string> CustomerKeys()
{
    std::vector<std::string> keys;
    for (const auto& entry : gCustomers)
        keys.push_back(entry.first);
    return keys;
}

void FreeCustomerTable()
{
    gCustomers.clear();
}
