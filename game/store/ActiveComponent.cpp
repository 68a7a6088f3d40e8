#include "game/store/ActiveComponent.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/res/Res.h"

namespace
{
int HalfCel(const Zestra::Image* image)
{
    return image == nullptr ? 0 : image->GetWidth() / (2 * image->GetCelCols());
}
} // namespace

ActiveComponent::ActiveComponent(int centreX, int y, Zestra::Image* image, int numberDY, int numberDX)
    : Component(centreX - HalfCel(image), y, image), numberX(centreX + numberDX - 10), numberY(y + numberDY)
{
}

ActiveComponent::ActiveComponent(int x, int y, int orderLimit, Zestra::Image* image)
    : Component(x, y, image), maxOrders(orderLimit)
{
}

void ActiveComponent::Draw(Zestra::Graphics& g)
{
    Component::Draw(g);
    DrawOverlay(g);
    DrawNumbers(g);
}

Zestra::Point ActiveComponent::GetNumberPosition(int k) const
{
    return Zestra::Point{numberX, numberY};
}

void ActiveComponent::DrawOverlay(Zestra::Graphics& g)
{
}

void ActiveComponent::AddNumber(int x, int y, int cel)
{
    markers.push_back(NumberMarker{x, y, cel});
}

void ActiveComponent::DrawNumbers(Zestra::Graphics& g)
{
    Zestra::Image* numbers = IMAGE_NUMBERS.get();
    while (!markers.empty())
    {
        const NumberMarker& marker = markers.front();
        if (numbers != nullptr)
            g.BlitCell(numbers, marker.x, marker.y, marker.cel);
        markers.pop_front();
    }
}
