// The back-room door: while the merchant fetches clothing, puffs of smoke rise from it (up to three at a time).
#pragma once

#include "game/scene/Component.h"

class BackRoom : public Component
{
public:
    BackRoom(int x, int y);

    void Update() override;
    void Draw(Zestra::Graphics& g) override;
    void StartSmoke();
    void StopSmoke();

    int Cycle() const; // cel count + 4: each puff rests four steps between rises

    bool smoking = false;
    int smokeFrame = 0;
    int tickCounter = -1;
};
