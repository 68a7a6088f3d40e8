// The lesson of the upgrade shop (store 1, day 2): it runs over the shop's view of the floor, points at the badge
// of the second changing room until one has been bought, then at the done button, which stays off until then.
#pragma once

#include "game/tutorial/Tutorial.h"

class TutorialShopping : public Tutorial
{
public:
    static constexpr int kBuyStep = 3;
    static constexpr int kDoneStep = 5;
    static constexpr int kLastStep = 6;

    explicit TutorialShopping(Zestra::Board& board);

    void Draw(Zestra::Graphics& g) override;
    bool IsFinished() const override { return step == kLastStep; }
    void OnMouseDown(int x, int y, int clicks) override;
    bool WaitsForClick() const override;
    StepBox CurrentBox() const override;
    double PriceAt(int x, int y) const override;
    bool AllowsDoneButton() const override { return step == kDoneStep; }
    void OnDonePressed() override;
    bool InShop() const override { return true; }
    void ForgetTargets() override;
    void OnPanelClosed() override { CheckPurchase(); }

    // After a panel closed: on to the praise once a changing room was bought, else the arrow at the badge again.
    void CheckPurchase();
    // The board's done button is on only in the step that asks for it.
    void UpdateDoneButton();

    int initialRooms = 0; // the run's changing rooms when the lesson began

protected:
    Component* FindTargetAt(int x, int y) const override;

private:
    void ArrowAtDoneButton();
};
