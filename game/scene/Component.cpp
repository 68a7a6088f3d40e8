#include "game/scene/Component.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"

Component::Component(int x, int y, Zestra::Image* image) : x(x), y(y), image(image)
{
}

Component::~Component() = default;

void Component::Draw(Zestra::Graphics& g)
{
    if (Zestra::Image* picture = GetImage())
        g.Blit(picture, x, y);
}

void Component::Update()
{
}

Zestra::Image* Component::GetImage() const
{
    return image;
}

bool Component::Contains(int px, int py) const
{
    const Zestra::Image* picture = GetImage();
    if (picture == nullptr)
        return false;
    return px >= x && px < x + picture->GetCelWidth() && py >= y && py < y + picture->GetCelHeight();
}
