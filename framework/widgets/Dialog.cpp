// The dialog box: its drawing, layout, own buttons, dragging and the wait for its result.
#include "framework/widgets/Dialog.h"

#include "framework/widgets/WidgetHost.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/ControlSupport.h"
#include "framework/widgets/DialogButton.h"
#include "framework/widgets/DialogListener.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>

namespace Zestra
{

namespace
{

constexpr int kTitlePoints = 14;
constexpr int kMessagePoints = 12;
constexpr int kCursorArrow = 0;
constexpr int kCursorDragging = 2;
constexpr int kDefaultButtonHeight = 24;

// The palette every dialog starts with. A dialog without a button image darkens the button captions (entries 3
// and 4) here, for itself and for every dialog made after it: plain grey buttons need dark captions.
int gDialogPalette[7][3] = {{255, 255, 255}, {255, 255, 0}, {255, 255, 255}, {255, 255, 255},
                            {255, 255, 255}, {80, 80, 80},  {255, 255, 255}};

} // namespace

Dialog::Dialog(Image* skinImage, Image* buttonSkinImage, int dialogId, bool isModal, const std::string& title,
               const std::string& message, const std::string& footer, int buttonSet)
    : mSkinImage(skinImage), mButtonSkinImage(buttonSkinImage), mTitle(title), mMessage(message), mFooter(footer),
      mButtonSet(buttonSet), mDialogId(dialogId), mModal(isModal)
{
    mHasHoles = true;
    mTranslucent = true;
    mOverlayPriority = 1;
    mButtonHeight = buttonSkinImage != nullptr ? buttonSkinImage->GetHeight() : kDefaultButtonHeight;
    if (buttonSet == 1 || buttonSet == 2)
    {
        mAcceptButton = std::make_unique<DialogButton>(ACCEPT_BUTTON_ID, buttonSkinImage, this);
        mRejectButton = std::make_unique<DialogButton>(REJECT_BUTTON_ID, buttonSkinImage, this);
        mAcceptButton->mCaption = buttonSet == 1 ? "YES" : "OK";
        mRejectButton->mCaption = buttonSet == 1 ? "NO" : "CANCEL";
    }
    else if (buttonSet == 3)
    {
        mAcceptButton = std::make_unique<DialogButton>(ACCEPT_BUTTON_ID, buttonSkinImage, this);
        mAcceptButton->mCaption = mFooter;
    }
    if (buttonSkinImage == nullptr)
    {
        for (int i : {3, 4})
            std::fill(std::begin(gDialogPalette[i]), std::end(gDialogPalette[i]), 0);
    }
    SetPalette(gDialogPalette, 7);
    // The buttons take their caption colours from entries 3 and 4.
    SetPaletteEntry(3, PaletteEntry(3));
    SetPaletteEntry(4, PaletteEntry(4));
}

Dialog::~Dialog()
{
    // The buttons hang under the manager while the dialog is attached; they go with it.
    for (DialogButton* button : {mAcceptButton.get(), mRejectButton.get()})
    {
        if (button != nullptr && button->mParent != nullptr)
            button->mParent->DetachChild(button);
    }
}

Font* Dialog::TitleFont()
{
    return EnsureFont(mTitleFont, kTitlePoints);
}

Font* Dialog::MessageFont()
{
    return EnsureFont(mMessageFont, kMessagePoints);
}

void Dialog::SetButtonFont(Font* font)
{
    for (DialogButton* button : {mAcceptButton.get(), mRejectButton.get()})
    {
        if (button != nullptr)
            button->SetCaptionFont(font);
    }
}

void Dialog::SetTitleFont(Font* font)
{
    mTitleFont = CloneFont(font);
    Invalidate();
}

void Dialog::SetMessageFont(Font* font)
{
    mMessageFont = CloneFont(font);
    Invalidate();
}

int Dialog::PreferredHeight(int width)
{
    const int insetsX = mSkinInsets.mLeft + mSkinInsets.mRight + mContentInsets.mLeft + mContentInsets.mRight;
    int height = mSkinInsets.mTop + mSkinInsets.mBottom + mContentInsets.mTop + mContentInsets.mBottom;
    bool anything = false;
    if (!mTitle.empty())
    {
        Font* font = TitleFont();
        height += font->Height() - font->AscentPadding();
        anything = true;
    }
    if (!mMessage.empty())
    {
        if (!mTitle.empty())
            height += mTitleGap;
        Font* font = MessageFont();
        Graphics measure;
        measure.SetTypeface(font);
        height += measure.MeasureWrapped(width - insetsX - 4, mMessage, font->LineSpacing() + mMessageSpacingAdjust);
        anything = true;
    }
    if (!mFooter.empty() && mButtonSet != 3)
    {
        if (anything)
            height += 8;
        height += TitleFont()->LineSpacing();
        anything = true;
    }
    if (HasButtons())
    {
        if (anything)
            height += 8;
        height += mButtonHeight + 8;
    }
    return height;
}

bool Dialog::IsModal() const
{
    return mModal;
}

void Dialog::Paint(Graphics& g)
{
    const int w = mWidth;
    const int h = mHeight;
    Rect background = Rect(0, 0, w, h).Inset(mSkinInsets);
    if (mSkinImage != nullptr)
    {
        g.BlitNinePart(background, mSkinImage);
    }
    else
    {
        g.SetInk(PaletteEntry(6));
        g.OutlineBox(12, 12, w - 25, h - 25);
        g.SetInk(PaletteEntry(5));
        g.FillBox(13, 13, w - 26, h - 26);
        g.SetInk(Color(0, 0, 0, 128));
        g.FillBox(w - 12, 24, 12, h - 36);
        g.FillBox(24, h - 12, w - 24, 12);
    }
    int y = mContentInsets.mTop + mSkinInsets.mTop;
    if (!mTitle.empty())
    {
        Font* font = TitleFont();
        g.SetTypeface(font);
        g.SetInk(PaletteEntry(0));
        DrawCenteredText(g, y - font->AscentPadding() + font->Ascent(), mTitle);
        y = y - font->AscentPadding() + font->Height() + mTitleGap;
    }
    int messageHeight = 0;
    if (!mMessage.empty())
    {
        Font* font = MessageFont();
        g.SetTypeface(font);
        g.SetInk(PaletteEntry(1));
        int x = mSkinInsets.mLeft + mContentInsets.mLeft + 2;
        int width = w - mSkinInsets.mLeft - mSkinInsets.mRight - mContentInsets.mLeft - mContentInsets.mRight - 4;
        messageHeight = DrawWrappedText(g, Rect(x, y, width, std::max(0, h - y)), mMessage,
                                        font->LineSpacing() + mMessageSpacingAdjust, mMessageAlign);
    }
    if (!mFooter.empty() && mButtonSet != 3)
    {
        Font* font = TitleFont();
        g.SetTypeface(font);
        g.SetInk(PaletteEntry(2));
        DrawCenteredText(g, y + messageHeight + font->LineSpacing() + 8, mFooter);
    }
}

void Dialog::SetBounds(int x, int y, int width, int height)
{
    Widget::SetBounds(x, y, width, height);
    if (!HasButtons())
        return;
    const int insetsX = mSkinInsets.mLeft + mSkinInsets.mRight + mContentInsets.mLeft + mContentInsets.mRight;
    const int left = mX + mSkinInsets.mLeft + mContentInsets.mLeft;
    const int top = mY + mHeight - mContentInsets.mBottom - mSkinInsets.mBottom - mButtonHeight;
    if (mRejectButton != nullptr)
    {
        int buttonWidth = (mWidth - 2 * mButtonMargin - insetsX - mButtonGap) / 2;
        mAcceptButton->SetBounds(left + mButtonMargin, top, buttonWidth, mButtonHeight);
        mRejectButton->SetBounds(left + mButtonMargin + buttonWidth + mButtonGap, top, buttonWidth, mButtonHeight);
    }
    else
    {
        mAcceptButton->SetBounds(left, top, mWidth - insetsX, mButtonHeight);
    }
}

void Dialog::OnAttachedToManager(WidgetManager* manager)
{
    Widget::OnAttachedToManager(manager);
    for (DialogButton* button : {mAcceptButton.get(), mRejectButton.get()})
    {
        if (button != nullptr)
            manager->AttachChild(button);
    }
}

void Dialog::OnDetachedFromManager(WidgetManager* manager)
{
    Widget::OnDetachedFromManager(manager);
    for (DialogButton* button : {mAcceptButton.get(), mRejectButton.get()})
    {
        if (button != nullptr)
            manager->DetachChild(button);
    }
}

void Dialog::OnZOrderChanged()
{
    if (mManager == nullptr)
        return;
    // Reject first, so that accept ends up directly above the dialog and reject above it.
    for (DialogButton* button : {mRejectButton.get(), mAcceptButton.get()})
    {
        if (button != nullptr)
            mManager->PlaceAbove(button, this);
    }
}

void Dialog::SetPaletteEntry(int index, const Color& color)
{
    Widget::SetPaletteEntry(index, color);
    if (index != 3 && index != 4)
        return;
    for (DialogButton* button : {mAcceptButton.get(), mRejectButton.get()})
    {
        if (button != nullptr)
            button->SetPaletteEntry(index - 3, color);
    }
}

void Dialog::OnMouseDown(int x, int y, int, int clickCount)
{
    if (clickCount != 1)
        return;
    SetAppCursor(*this, kCursorDragging);
    mDragging = true;
    mDragX = x;
    mDragY = y;
}

void Dialog::OnMouseDrag(int x, int y)
{
    if (!mDragging || mManager == nullptr)
        return;
    int wantX = mX + x - mDragX;
    int wantY = mY + y - mDragY;
    int newX = std::clamp(wantX, -8, std::max(-8, mManager->mWidth + 8 - mWidth));
    int newY = std::clamp(wantY, -8, std::max(-8, mManager->mHeight + 8 - mHeight));
    // Where the dialog could not follow, the pointer slides over it instead.
    mDragX = std::clamp(mDragX + wantX - newX, 8, std::max(8, mWidth - 9));
    mDragY = std::clamp(mDragY + wantY - newY, 8, std::max(8, mHeight - 9));
    MoveTo(newX, newY);
}

void Dialog::OnMouseUp(int, int, int, int)
{
    SetAppCursor(*this, kCursorArrow);
    mDragging = false;
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

int Dialog::AwaitResult(bool removeWhenDone)
{
    WidgetHost* app = HostOfWidget(*this);
    if (app == nullptr)
        return mResult;
    // The loop below may remove this dialog; its deletion must wait until this call has returned.
    app->NoteAwaitingWidget(this, app->NestingDepth());
    while (mManager != nullptr && mResult == NO_RESULT && app->StepApp(nullptr))
    {
    }
    int result = mResult;
    if (removeWhenDone)
        app->RemoveDialog(mDialogId);
    app->ForgetAwaitingWidget(this);
    return result;
}

} // namespace Zestra
