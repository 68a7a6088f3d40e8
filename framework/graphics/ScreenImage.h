// The image the widget manager paints into and the display presents. On top of the memory image it draws
// mirrored (people walking left) and collects the rectangles that changed, so presentation uploads only those.
#pragma once

#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/PixelView.h"

#include <vector>

namespace Zestra
{

class ScreenImage : public MemoryImage
{
public:
    ScreenImage(int width, int height, ImageRegistry* registry = nullptr);

    void BlitMirroredImage(Image* src, int x, int y, const Rect& srcRect, const Color& color, int mode) override;
    void BlitStretchedMirroredImage(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                                    const Color& color, int mode, bool quick) override;

    // Changed rectangles since the last TakeDirtyRects, merged where they overlap; the whole screen once they
    // would cover most of it anyway.
    const std::vector<Rect>& GetDirtyRects() const { return mDirty; }
    bool HasChanges() const { return !mDirty.empty(); }
    void MarkAllDirty();
    std::vector<Rect> TakeDirtyRects();

    PixelView GetPixelView();
    // Hands the pixels and what changed to the display; an empty list there means the whole image.
    bool PresentTo(PixelSink& display);

    // Limit on separate rectangles before they are merged into their union.
    static constexpr size_t MAX_DIRTY_RECTS = 32;

protected:
    void OnRegionChanged(const Rect& rect) override;

private:
    std::vector<Rect> mDirty;
    bool mAllDirty = true;
};

} // namespace Zestra
