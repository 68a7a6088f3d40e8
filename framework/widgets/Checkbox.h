// A check box: a click flips it and tells the listener. It draws one of two images (or two cells of the off
// image), or a drawn box with a cross when it has no images. Images and listener are not owned.
#pragma once

#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"
#include "framework/widgets/Widget.h"

namespace Zestra
{

class CheckboxListener;
class Image;

class Checkbox : public Widget
{
public:
    Checkbox(Image* offImage, Image* onImage, int id, CheckboxListener* listener);

    // Stores the state, tells the listener when notify is set, and repaints.
    virtual void SetChecked(bool checked, bool notify = true);
    virtual bool IsChecked() const;

    void Paint(Graphics& g) override;
    bool TakesKeyFocus() const override { return true; }
    void SetKeySelected(bool selected) override { mKeySelected = selected; }
    void Activate() override { SetChecked(!IsChecked()); }
    void OnMouseDown(int x, int y, int button, int clickCount) override;
    using Widget::OnMouseDown;

    CheckboxListener* mToggleObserver = nullptr;
    int mCheckboxId = 0;
    bool mChecked = false;
    Image* mOffImage = nullptr;
    Image* mOnImage = nullptr;
    Rect mOnRect; // cells of mOffImage used instead of the two images
    Rect mOffRect;
    Color mBorderColor{255, 255, 255};
    Color mBoxColor{80, 80, 80};
    Color mMarkColor{255, 255, 0};
    bool mKeySelected = false; // the keyboard has chosen it (Tab in a menu)
};

} // namespace Zestra
