// The four lessons on the shop floor, each a script of numbered steps: store 1 day 1 (fetching, restocking,
// cleaning up, paying, pairs, the service desk), store 1 day 3 (double clicks), store 2 day 1 (bringing clothes,
// impatient customers and drinks) and store 3 day 1 (gift wrapping).
#pragma once

#include "game/tutorial/TutorialPlaying.h"

class TutorialPlaying1 : public TutorialPlaying
{
public:
    static constexpr int kLastStep = 28;

    explicit TutorialPlaying1(Zestra::Board& board);

    void Draw(Zestra::Graphics& g) override;
    bool WaitsForClick() const override;
    StepBox CurrentBox() const override;
    bool IsFinished() const override { return step == kLastStep; }
    void OnClick(int x, int y, Merchant* merchant) override;
    void OnCustomerLeft() override;
    void OnActionFinished(Person& person) override;
    void OnTryOnStarted(Customer& customer) override;
    void OnTryOnFinished(Customer& customer) override;
    void OnCashRegisterHead(Customer& customer) override;
    void OnCustomerServiceHead() override;

    bool tryOnSeen = false;
    bool atRegister = false;
    bool tableArrowShown = false;
    bool firstOfPairDone = false;
    bool firstAtDeskDone = false;
    bool deskArrowShown = false;
    bool customerLeft = false;

private:
    void ArrowAtRegister(int nextStep);
    void ArrowAtRoom(int nextStep, int arrowX, int direction);
};

class TutorialPlaying13 : public TutorialPlaying
{
public:
    static constexpr int kLastStep = 9;

    explicit TutorialPlaying13(Zestra::Board& board);

    void Draw(Zestra::Graphics& g) override;
    bool WaitsForClick() const override;
    StepBox CurrentBox() const override;
    bool IsFinished() const override { return step == kLastStep; }
    void OnClick(int x, int y, Merchant* merchant) override;
    void OnActionFinished(Person& person) override;

    int markerX = 0; // where the pretend queue number of step 3 is drawn
    int markerY = 0;
};

class TutorialPlaying2 : public TutorialPlaying
{
public:
    static constexpr int kLastStep = 10;
    static constexpr int kDrinkStep = 6;

    explicit TutorialPlaying2(Zestra::Board& board);

    void Draw(Zestra::Graphics& g) override;
    bool WaitsForClick() const override;
    StepBox CurrentBox() const override;
    bool IsFinished() const override { return step == kLastStep; }
    bool AllowsDrinks() const override { return step == kDrinkStep; }
    void OnDrinkGrabbed() override;
    bool HighlightDrinkTarget(int x, int y) override;
    bool DropDrink(int x, int y) override;
    void OnClick(int x, int y, Merchant* merchant) override;
    void OnCustomerLeft() override;
    void OnActionFinished(Person& person) override;
    void OnTryOnFinished(Customer& customer) override;
    void OnCashRegisterHead(Customer& customer) override;

    bool tryOnSeen = false;
    bool roomArrowShown = false;
    bool firstOrderDone = false;
    bool atRegister = false;
    bool customerLeft = false;
    int roomX = 0; // x of the changing room in use
};

class TutorialPlaying3 : public TutorialPlaying
{
public:
    static constexpr int kLastStep = 6;

    explicit TutorialPlaying3(Zestra::Board& board);

    void Draw(Zestra::Graphics& g) override;
    bool WaitsForClick() const override;
    StepBox CurrentBox() const override;
    bool IsFinished() const override { return step == kLastStep; }
    void OnClick(int x, int y, Merchant* merchant) override;
    void OnCustomerLeft() override;
    void OnActionFinished(Person& person) override;
    void OnCashRegisterHead(Customer& customer) override;
    void OnCustomerServiceHead() override;
};

// The lesson of the board's current day, or null on a day without one (the board's lessonMaker).
std::unique_ptr<BoardLesson> MakeLesson(Zestra::Board& board);
