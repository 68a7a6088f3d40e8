// Toggling and drawing of the check box.
#include "framework/widgets/Checkbox.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/CheckboxListener.h"

namespace Zestra
{

Checkbox::Checkbox(Image* offImage, Image* onImage, int id, CheckboxListener* listener)
    : mToggleObserver(listener), mCheckboxId(id), mOffImage(offImage), mOnImage(onImage)
{
    mHandCursor = true;
}

void Checkbox::SetChecked(bool checked, bool notify)
{
    mChecked = checked;
    if (notify && mToggleObserver != nullptr)
        mToggleObserver->CheckboxToggled(mCheckboxId, checked);
    Invalidate();
}

bool Checkbox::IsChecked() const
{
    return mChecked;
}

void Checkbox::Paint(Graphics& g)
{
    const int w = mWidth;
    const int h = mHeight;
    if (mOffImage != nullptr && mOnImage != nullptr && mOnRect.IsEmpty())
    {
        g.Blit(mChecked ? mOnImage : mOffImage, 0, 0);
    }
    else if (!mOnRect.IsEmpty() && mOffImage != nullptr)
    {
        g.Blit(mOffImage, 0, 0, mChecked ? mOnRect : mOffRect);
    }
    else if (mOffImage == nullptr && mOnImage == nullptr)
    {
        g.SetInk(mBorderColor);
        g.FillBox(0, 0, w, h);
        g.SetInk(mBoxColor);
        g.FillBox(1, 1, w - 2, h - 2);
        if (mChecked)
        {
            g.SetInk(mMarkColor);
            g.StrokeLine(1, 1, w - 2, h - 2);
            g.StrokeLine(w - 1, 1, 1, h - 2);
        }
    }
    // One image only and no cells: nothing to draw.
}

void Checkbox::OnMouseDown(int, int, int, int)
{
    mChecked = !mChecked;
    if (mToggleObserver != nullptr)
        mToggleObserver->CheckboxToggled(mCheckboxId, mChecked);
    Invalidate();
}

} // namespace Zestra
