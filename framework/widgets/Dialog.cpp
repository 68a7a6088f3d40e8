// The plain dialog box: a framed panel that reports its accept and reject buttons to its observer.
#include "framework/widgets/Dialog.h"

#include "framework/graphics/Graphics.h"
#include "framework/widgets/DialogListener.h"

namespace Zestra
{

Dialog::Dialog(Image* skinImage, Image* buttonSkinImage, int dialogId, bool isModal, const std::string& title,
               const std::string& message, const std::string& footer, int buttonSet)
    : mSkinImage(skinImage), mButtonSkinImage(buttonSkinImage), mTitle(title), mMessage(message), mFooter(footer),
      mButtonSet(buttonSet), mDialogId(dialogId), mModal(isModal)
{
    mHasHoles = true;
    mTranslucent = true;
    mOverlayPriority = 1;
    static constexpr int kPalette[7][3] = {{255, 255, 255}, {255, 255, 0}, {255, 255, 255}, {255, 255, 255},
                                           {255, 255, 255}, {80, 80, 80},  {255, 255, 255}};
    SetPalette(kPalette, 7);
}

Dialog::~Dialog() = default;

int Dialog::PreferredHeight(int)
{
    // Without fonts the plain dialog cannot measure its text; it asks for its margins, one line each for title
    // and message, and its button row.
    constexpr int kLineHeight = 16;
    int height = mContentInsets.mTop + mContentInsets.mBottom;
    if (!mTitle.empty())
        height += kLineHeight + mTitleGap;
    if (!mMessage.empty())
        height += kLineHeight;
    if (mButtonSet >= 1 && mButtonSet <= 3)
        height += mButtonHeight + 8;
    return height;
}

bool Dialog::IsModal() const
{
    return mModal;
}

void Dialog::Paint(Graphics& g)
{
    g.SetInk(PaletteEntry(5));
    g.FillBox(0, 0, mWidth, mHeight);
    g.SetInk(PaletteEntry(6));
    g.OutlineBox(0, 0, mWidth - 1, mHeight - 1);
}

void Dialog::ButtonPressed(int id)
{
    if ((id == ACCEPT_BUTTON_ID || id == REJECT_BUTTON_ID) && mDialogObserver != nullptr)
        mDialogObserver->DialogButtonPressed(mDialogId, id);
}

void Dialog::ButtonReleased(int id)
{
    if (id != ACCEPT_BUTTON_ID && id != REJECT_BUTTON_ID)
        return;
    mResult = id;
    if (mDialogObserver != nullptr)
        mDialogObserver->DialogButtonReleased(mDialogId, id);
}

} // namespace Zestra
