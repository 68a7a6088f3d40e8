#include "game/store/Rope.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "game/data/PersonStats.h"

#include <algorithm>

namespace
{
// The floor line y as the top edge of a person standing on it: the key people are sorted by.
int AsPersonTop(int floorY)
{
    return floorY - kPersonFeetY;
}
} // namespace

// One horizontal strip of the rope's picture, drawn where it lies on the rope.
class Rope::Band : public Component
{
public:
    Band(int x, int y, Zestra::Image* image, int top, int height)
        : Component(x, y + top, image), mTop(top), mHeight(height)
    {
    }
    void Draw(Zestra::Graphics& g) override
    {
        if (image != nullptr)
            g.Blit(image, x, y, Zestra::Rect(0, mTop, image->GetCelWidth(), mHeight));
    }
    int DepthY() const override { return AsPersonTop(y + mHeight); }

private:
    int mTop;
    int mHeight;
};

Rope::Rope(int x, int y, Zestra::Image* image) : Component(x, y, image) {}

Rope::~Rope() = default;

int Rope::DepthY() const
{
    const Zestra::Image* picture = GetImage();
    return picture != nullptr ? AsPersonTop(y + picture->GetCelHeight()) : y;
}

void Rope::AddDepthParts(std::vector<Component*>& scene)
{
    Zestra::Image* picture = GetImage();
    if (picture == nullptr)
        return;
    const int width = picture->GetCelWidth();
    const int height = picture->GetCelHeight();
    if (width >= height)
    {
        scene.push_back(this);
        return;
    }
    if (mBandsFor != picture)
    {
        mBands.clear();
        const int spacing = std::max(kPostHeight, (height - kPostHeight) / (kPostsAlong - 1));
        int top = 0;
        for (int post = 0; post < kPostsAlong && top < height; ++post)
        {
            // The rope down to this post, then the post whole.
            const int postTop = std::min(post * spacing, height);
            while (top < postTop)
            {
                const int band = std::min(kBandHeight, postTop - top);
                mBands.push_back(std::make_unique<Band>(x, y, picture, top, band));
                top += band;
            }
            const int postBottom = post + 1 == kPostsAlong ? height : std::min(postTop + kPostHeight, height);
            if (postBottom > top)
                mBands.push_back(std::make_unique<Band>(x, y, picture, top, postBottom - top));
            top = std::max(top, postBottom);
        }
        mBandsFor = picture;
    }
    for (auto& band : mBands)
        scene.push_back(band.get());
}
