// The counter under the cash register; it owns the goodie rack standing on it and, in December, its lights.
#pragma once

#include "game/scene/Component.h"

#include <memory>

class ChristmasLights;

class CashCounter : public Component
{
public:
    CashCounter(int x, int y, Zestra::Image* image, std::unique_ptr<Component> goodieRack, bool december);
    ~CashCounter() override;

    void Draw(Zestra::Graphics& g) override;
    void Update() override;

    std::unique_ptr<Component> goodieRack;
    std::unique_ptr<ChristmasLights> lights;
};
