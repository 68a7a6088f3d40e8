// Finished pixels on their way to the display: a read-only view of them and the receiver that shows them. The
// platform's window is the receiver; graphics hands its screen image over without knowing the platform.
#pragma once

#include "framework/graphics/Rect.h"

#include <cstdint>
#include <vector>

namespace Zestra
{

// Read-only view of 0xAARRGGBB pixels handed over for presentation.
struct PixelView
{
    const uint32_t* mPixels = nullptr;
    int mWidth = 0;
    int mHeight = 0;
    int mPitch = 0; // pixels per row
};

class PixelSink
{
public:
    virtual ~PixelSink() = default;
    // Shows the changed rectangles of screen (an empty list: all of it); false when the display is lost.
    virtual bool Present(const PixelView& screen, const std::vector<Rect>& dirty) = 0;
};

} // namespace Zestra
