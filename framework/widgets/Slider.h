// A slider: a track of three cells (start cap, tiled middle, end cap) and a thumb whose position shows a value
// 0..1. Dragging the thumb reports every change; a click on the track jumps there and reports at the release.
// Images and listener are not owned.
#pragma once

#include "framework/widgets/Widget.h"

namespace Zestra
{

class Image;
class SliderListener;

class Slider : public Widget
{
public:
    Slider(Image* trackImage, Image* thumbImage, int id, SliderListener* listener);

    // Clamps to 0..1 and repaints; the listener is not told.
    virtual void SetValue(double value);

    void Paint(Graphics& g) override;
    bool TakesKeyFocus() const override { return true; }
    void SetKeySelected(bool selected) override { mKeySelected = selected; }
    // Left and Right move the thumb by a twentieth of the track and tell the listener.
    void ArrowKey(int direction) override;
    void OnMouseLeave() override;
    void OnMouseMove(int x, int y) override;
    void OnMouseDown(int x, int y, int clickCode) override;
    using Widget::OnMouseDown;
    void OnMouseUp(int x, int y) override;
    using Widget::OnMouseUp;
    void OnMouseDrag(int x, int y) override;

    // The thumb's rectangle in widget coordinates (empty without a thumb image).
    Rect ThumbRect() const;

    SliderListener* mSliderObserver = nullptr;
    int mSliderId = 0;
    double mValue = 0;            // always 0..1
    Image* mTrackImage = nullptr; // three equal cells: side by side when horizontal, stacked when vertical
    Image* mThumbImage = nullptr;
    bool mHorizontal = true;
    bool mDragging = false;
    int mGrabX = 0; // pointer offset inside the thumb
    int mGrabY = 0;
    bool mKeySelected = false; // the keyboard has chosen it (Tab in a menu)
};

} // namespace Zestra
