#include "game/store/AnimatedComponent.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"

AnimatedComponent::AnimatedComponent(int x, int y, Zestra::Image* image, int ticksPerCel, int startPhase)
    : Component(x, y, image), ticksPerCel(ticksPerCel > 0 ? ticksPerCel : 1)
{
    int length = LoopLength();
    // A negative phase still lands inside the loop.
    frameCounter = ((startPhase % length) + length) % length;
}

int AnimatedComponent::LoopLength() const
{
    int columns = image != nullptr ? image->GetCelCols() : 1;
    return ticksPerCel * columns;
}

int AnimatedComponent::CurrentCel() const
{
    return frameCounter / ticksPerCel;
}

void AnimatedComponent::Update()
{
    frameCounter = (frameCounter + 1) % LoopLength();
}

void AnimatedComponent::Draw(Zestra::Graphics& g)
{
    if (Zestra::Image* picture = GetImage())
        g.BlitCell(picture, x, y, CurrentCel());
}
