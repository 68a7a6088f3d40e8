// The button a Dialog makes for itself: a push button drawn from a nine-part skin (whole, or in cells for its
// states), whose caption shifts when it is pressed. The skin is not owned.
#pragma once

#include "framework/widgets/ButtonWidget.h"

namespace Zestra
{

class DialogButton : public ButtonWidget
{
public:
    DialogButton(int id, Image* skinImage, ButtonListener* listener);

    void Paint(Graphics& g) override;

    Image* mSkinImage = nullptr; // nine-part picture; null draws as a plain button
    int mPressShiftX = 1;
    int mPressShiftY = 1;
    int mCaptionShiftX = 0;
    int mCaptionShiftY = 0;
};

} // namespace Zestra
