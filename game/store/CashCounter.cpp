#include "game/store/CashCounter.h"

#include "game/store/ChristmasLights.h"

CashCounter::CashCounter(int x, int y, Zestra::Image* image, std::unique_ptr<Component> goodieRack, bool december)
    : Component(x, y, image), goodieRack(std::move(goodieRack))
{
    if (december)
        lights = std::make_unique<ChristmasLights>(x, y, false);
}

CashCounter::~CashCounter() = default;

void CashCounter::Draw(Zestra::Graphics& g)
{
    Component::Draw(g);
    if (goodieRack)
        goodieRack->Draw(g);
    if (lights)
        lights->Draw(g);
}

void CashCounter::Update()
{
    if (lights)
        lights->Update();
}
