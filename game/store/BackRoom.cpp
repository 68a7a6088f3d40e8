#include "game/store/BackRoom.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/res/Res.h"

BackRoom::BackRoom(int x, int y) : Component(x, y, IMAGE_BACK_ROOM_SMOKE.get())
{
}

int BackRoom::Cycle() const
{
    return (image != nullptr ? image->GetCelCount() : 0) + 4;
}

void BackRoom::StartSmoke()
{
    if (smoking)
        return;
    smoking = true;
    smokeFrame = 0;
    tickCounter = -1;
}

void BackRoom::StopSmoke()
{
    smoking = false;
    smokeFrame = 0;
    tickCounter = -1;
}

void BackRoom::Update()
{
    if (!smoking)
        return;
    tickCounter = (tickCounter + 1) % 10;
    if (tickCounter == 0)
        smokeFrame = (smokeFrame + 1) % (2 * Cycle());
}

void BackRoom::Draw(Zestra::Graphics& g)
{
    if (!smoking || image == nullptr)
        return;
    int cycle = Cycle();
    int cels = image->GetCelCount();
    // Up to three puffs, each 10 pixels higher and three steps older than the one below it.
    auto puff = [&](int cel, int dy) {
        if (cel < cels)
            g.BlitCell(image, x, y + dy, cel);
    };
    int f = smokeFrame;
    puff(f % cycle, 30);
    if (f > 2)
        puff((f - 3) % cycle, 20);
    if (f >= 6)
        puff((f - 6) % cycle, 10);
}
