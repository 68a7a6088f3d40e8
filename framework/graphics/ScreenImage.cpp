#include "framework/graphics/ScreenImage.h"

namespace Zestra
{

ScreenImage::ScreenImage(int width, int height, ImageRegistry* registry) : MemoryImage(width, height, registry)
{
    PixelData();
}

void ScreenImage::BlitMirroredImage(Image* src, int x, int y, const Rect& srcRect, const Color& color, int mode)
{
    MemoryImage* source = src ? src->AsMemoryImage() : nullptr;
    if (source)
        BlitImageInternal(source, x, y, srcRect, color, mode, true);
}

void ScreenImage::BlitStretchedMirroredImage(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                                             const Color& color, int mode, bool quick)
{
    MemoryImage* source = src ? src->AsMemoryImage() : nullptr;
    if (source)
        BlitStretchedInternal(source, destRect, srcRect, clip, color, mode, quick, true);
}

void ScreenImage::OnRegionChanged(const Rect& rectIn)
{
    if (mAllDirty)
        return;
    Rect rect = rectIn.Intersection(GetRect());
    if (rect.IsEmpty())
        return;
    // Overlapping rectangles merge, so repeated drawing in one place stays one upload.
    for (size_t i = 0; i < mDirty.size(); ++i)
    {
        if (mDirty[i].Intersects(rect))
        {
            rect = rect.Union(mDirty[i]);
            mDirty[i] = mDirty.back();
            mDirty.pop_back();
            i = size_t(-1);
        }
    }
    mDirty.push_back(rect);
    if (mDirty.size() > MAX_DIRTY_RECTS)
    {
        Rect all;
        for (const Rect& r : mDirty)
            all = all.Union(r);
        mDirty.assign(1, all);
    }
    int64_t area = 0;
    for (const Rect& r : mDirty)
        area += int64_t(r.mWidth) * r.mHeight;
    if (area * 4 >= int64_t(mWidth) * mHeight * 3)
        MarkAllDirty();
}

void ScreenImage::MarkAllDirty()
{
    mAllDirty = true;
    mDirty.assign(1, GetRect());
}

std::vector<Rect> ScreenImage::TakeDirtyRects()
{
    std::vector<Rect> result;
    result.swap(mDirty);
    mAllDirty = false;
    return result;
}

PixelView ScreenImage::GetPixelView()
{
    PixelView view;
    view.mPixels = PixelData();
    view.mWidth = mWidth;
    view.mHeight = mHeight;
    view.mPitch = mWidth;
    return view;
}

bool ScreenImage::PresentTo(PixelSink& display)
{
    bool all = mAllDirty;
    std::vector<Rect> dirty = TakeDirtyRects();
    if (all)
        dirty.clear(); // the platform reads an empty list as the whole image
    else if (dirty.empty())
        return true;
    return display.Present(GetPixelView(), dirty);
}

} // namespace Zestra
