// A queue rope between posts, drawn from one store picture. It takes part in the depth order by where its posts
// stand: people are in front of a post exactly when their feet are lower than the post's foot. A rope laid across
// the floor has every post on one line and is drawn whole; a rope laid along the floor's depth has its posts at
// several depths and is drawn in horizontal bands, each placed in the order by its own bottom line. Such a picture
// holds kPostsAlong posts of kPostHeight rows at equal spacing, the first one's knob on the top row and the last
// one's foot on the bottom row; each post is one band whose bottom is its foot, so no band edge cuts a post, and
// the rope between two posts is cut in bands of kBandHeight rows.
#pragma once

#include "game/scene/Component.h"

#include <memory>
#include <vector>

class Rope : public Component
{
public:
    static constexpr int kBandHeight = 10;
    static constexpr int kPostsAlong = 3;
    static constexpr int kPostHeight = 40; // from the knob's top row to the foot's bottom row

    Rope(int x, int y, Zestra::Image* image);
    ~Rope() override;

    // The bottom line of the whole picture, as the top edge of a person whose feet stand on it.
    int DepthY() const override;
    // The bands, each with its own depth (the whole rope when it is laid across).
    void AddDepthParts(std::vector<Component*>& scene) override;

private:
    class Band;
    std::vector<std::unique_ptr<Band>> mBands; // made on first use, for the picture of that moment
    const Zestra::Image* mBandsFor = nullptr;
};
