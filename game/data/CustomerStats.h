// Customer definitions: CustomerStats reads "properties/customers.xml" into the process-wide customer table
// (CustomerKey to patience, hearts, tips, dressing time, favourites and wishes). Needs the clothing catalogue to be
// read first. A customer has at most two wishes (one per hand); the game's lookups are find-only.
#pragma once

#include "game/data/Parser.h"

#include <map>
#include <string>
#include <vector>

constexpr int kMaxWishes = 2;     // the item of wish i is carried in hand i
constexpr int kFavouriteCount = 4;

struct CustomerWish
{
    int clothing[4] = {0, 0, 0, 0}; // clothing ids of the lines this errand is about; 0 = none
    int tries = 0;                  // items tried on
    int askService = 0;             // 1: ask at the customer service desk
    int outcome = 0;                // 0 try on, 1 buy, 2 gift wrap
    int wrongItem = 0;              // 0 look again, 1 wait in the changing room, 2 customer service
};

struct CustomerDefinition
{
    std::string key;
    std::string name; // person name in the people table
    int favourites[kFavouriteCount] = {0, 0, 0, 0}; // 0 ends the list
    bool male = false;
    int patience = 0; // ticks per heart
    int hearts = 0;
    double tips = 0.0; // per heart; read as a float and widened
    int dressingTime = 0; // ticks per item tried on
    std::vector<CustomerWish> wishes; // at most kMaxWishes
};

class CustomerStats : public Parser
{
public:
    explicit CustomerStats(ParserHost& host);
    ~CustomerStats() = default;

protected:
    void OnStartElement(const Zestra::ParsedElement& element) override;

private:
    // The catalogue id of a clothing name in the current store; 0 (reported) when unknown.
    int ResolveClothing(const std::string& name, const char* attribute);

    int mStore = 0;
    std::string mKey; // current CustomerKey; empty before the first "customer"
};

// The customer table, read-only after publication.
const CustomerDefinition& FindCustomer(const std::string& key); // shared empty definition (no wishes) when unknown
bool HasCustomer(const std::string& key);
size_t CustomerCount();
std::vector<std::string> CustomerKeys();
void FreeCustomerTable();
