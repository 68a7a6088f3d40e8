// A lesson on the shop floor: the merchant takes the orders its arrows allow, its own scripted customers walk in,
// and both report to it (finished orders, try-ons, line heads) so that it can move on.
#pragma once

#include "game/people/Customer.h"
#include "game/people/PersonObserver.h"
#include "game/tutorial/Tutorial.h"

#include <memory>
#include <string>
#include <vector>

class Merchant;

class TutorialPlaying : public Tutorial, public PersonObserver
{
public:
    explicit TutorialPlaying(Zestra::Board& board);
    ~TutorialPlaying() override;

    void Update() override;
    void UpdateActions(float dt, const Walkways& walkways) override;
    void AppendPeople(std::vector<Person*>& out) const override;
    PersonObserver* MerchantListener() override { return this; }
    void OnMouseDown(int x, int y, int clicks) override;

    // A left click anywhere on the board (right clicks never reach it).
    virtual void OnClick(int x, int y, Merchant* merchant) = 0;
    // A scripted customer has paid and walked out.
    virtual void OnCustomerLeft() {}

    // The first arrow whose target holds the point gives its order and goes away; false when none holds it.
    bool ArrowClick(int x, int y, Merchant* merchant);
    bool IsOwn(const Person& person) const;
    // Arrival of a scripted customer; tries, preferredSlot and dressingTime < 0 leave the definition's value.
    enum class Errand
    {
        Wish,
        Service,
    };
    Customer& EnterCustomer(const std::string& key, int storeNumber, const std::string& item, int tries,
                            int preferredSlot, int dressingTime, Errand errand);

    std::vector<std::unique_ptr<Customer>> people;

protected:
    Component* FindTargetAt(int x, int y) const override;
};
