#include "game/store/DraggableComponent.h"

#include "framework/graphics/Graphics.h"

DraggableComponent::DraggableComponent(int x, int y, Zestra::Image* image, Zestra::Image* dragImage)
    : Component(x, y, image), dragImage(dragImage)
{
}

void DraggableComponent::Draw(Zestra::Graphics& g)
{
    Zestra::Image* picture = overTarget ? dragImage : image;
    if (picture != nullptr)
        g.Blit(picture, x, y);
}
