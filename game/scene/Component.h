// Base of every scene object of a store level: a positioned picture that draws itself, ticks and answers a hit
// test on the cel rectangle of its current picture. The picture is borrowed (resource manager or store images).
#pragma once

#include <vector>

namespace Zestra
{
class Graphics;
class Image;
} // namespace Zestra

class Component
{
public:
    Component(int x, int y, Zestra::Image* image);
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;
    virtual ~Component();

    // Draws GetImage() with its top-left corner at (x, y); nothing without a picture.
    virtual void Draw(Zestra::Graphics& g);
    // One simulation tick (1/100 s); nothing by default.
    virtual void Update();
    virtual Zestra::Image* GetImage() const;
    // Left and top edges are inside, right and bottom edges outside; no picture means no area.
    virtual bool Contains(int px, int py) const;
    // The key of the board's depth order: the top edge, unless a kind of object stands elsewhere on the floor.
    virtual int DepthY() const { return y; }
    // What takes part in the depth order for this object: itself, or parts that each have their own depth.
    virtual void AddDepthParts(std::vector<Component*>& scene) { scene.push_back(this); }

    int x;                // left edge, board pixels
    int y;                // top edge, board pixels; also the depth key
    Zestra::Image* image; // not owned
};
