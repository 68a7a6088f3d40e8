#include "game/store/ChristmasLights.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/res/Res.h"

ChristmasLights::ChristmasLights(int x, int y, bool mirrored)
    : Component(x, y, IMAGE_CHRISTMAS_LIGHTS.get()), mirrored(mirrored)
{
}

int ChristmasLights::Cycle() const
{
    int cels = image != nullptr ? image->GetCelCount() : 1;
    return cels * 75;
}

void ChristmasLights::Update()
{
    counter = (counter + 1) % Cycle();
}

void ChristmasLights::Draw(Zestra::Graphics& g)
{
    if (image == nullptr)
        return;
    g.BlitFlipped(image, x, y, image->GetCelRect(counter / 75), mirrored);
}
