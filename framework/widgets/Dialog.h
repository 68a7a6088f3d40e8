// A dialog box: a widget that the application opens by id, optionally modal, drawn from a nine-part skin (or a
// drawn frame) with a title, a wrapped message, a footer and up to two buttons of its own, 1000 (accept) and 1001
// (reject). It records which of them closed it. The application sizes a dialog of width 0 when it opens it, from
// the height the dialog asks for at the width it gets. The buttons are owned, but hang under the widget manager
// beside the dialog while it is attached, so their positions are screen positions.
#pragma once

#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/Widget.h"

#include <climits>
#include <memory>
#include <string>

namespace Zestra
{

class DialogButton;
class DialogListener;
class Font;
class Image;

class Dialog : public Widget, public ButtonListener
{
public:
    static constexpr int NO_RESULT = INT_MAX;
    static constexpr int ACCEPT_BUTTON_ID = 1000;
    static constexpr int REJECT_BUTTON_ID = 1001;

    // buttonSet: 1 "YES"/"NO", 2 "OK"/"CANCEL", 3 one button captioned with the footer (and no footer line),
    // other values no buttons. The images are not owned and may be null.
    Dialog(Image* skinImage, Image* buttonSkinImage, int dialogId, bool isModal, const std::string& title,
           const std::string& message, const std::string& footer, int buttonSet);
    ~Dialog() override;

    // Each stores a clone (both buttons for the button font).
    virtual void SetButtonFont(Font* font);
    virtual void SetTitleFont(Font* font);
    virtual void SetMessageFont(Font* font);
    virtual int PreferredHeight(int width);
    virtual bool IsModal() const;
    // Runs the application's loop until a button closes the dialog or it is taken away; then, when asked,
    // removes it. Returns mResult (NO_RESULT when it went without a button and without removal).
    virtual int AwaitResult(bool removeWhenDone);

    void OnAttachedToManager(WidgetManager* manager) override;
    void OnDetachedFromManager(WidgetManager* manager) override;
    void Paint(Graphics& g) override;
    void OnZOrderChanged() override;
    void SetPaletteEntry(int index, const Color& color) override;
    void SetBounds(int x, int y, int width, int height) override;
    using Widget::SetBounds;
    void OnMouseDown(int x, int y, int button, int clickCount) override;
    using Widget::OnMouseDown;
    void OnMouseUp(int x, int y, int button, int clickCount) override;
    using Widget::OnMouseUp;
    void OnMouseDrag(int x, int y) override;

    using ButtonListener::ButtonPressed;
    void ButtonPressed(int id) override;
    void ButtonReleased(int id) override;

    // The fonts, created as the control face (14 and 12 points) on first use.
    Font* TitleFont();
    Font* MessageFont();

    DialogListener* mDialogObserver = nullptr; // not owned; the application sets itself when it opens the dialog
    Image* mSkinImage = nullptr;               // nine-part background; null = drawn frame
    Image* mButtonSkinImage = nullptr;
    std::unique_ptr<DialogButton> mAcceptButton; // id 1000
    std::unique_ptr<DialogButton> mRejectButton; // id 1001
    std::string mTitle;
    std::string mMessage;
    std::string mFooter;
    int mButtonSet = 0;
    std::unique_ptr<Font> mTitleFont;
    std::unique_ptr<Font> mMessageFont;
    int mMessageAlign = 0;         // justification of the wrapped message
    int mMessageSpacingAdjust = 0; // added to the message font's line spacing
    int mButtonHeight = 24;        // the button image's height when there is one
    Insets mSkinInsets;            // shrink the background rectangle
    Insets mContentInsets{24, 24, 24, 24};
    int mTitleGap = 10;
    int mButtonGap = 8;
    int mButtonMargin = 0; // extra side margin of a button pair
    bool mDragging = false;
    int mDragX = 0;
    int mDragY = 0;
    int mDialogId = 0;
    bool mModal = false;
    int mResult = NO_RESULT; // id of the button that closed it

protected:
    bool HasButtons() const { return mAcceptButton != nullptr; }
};

} // namespace Zestra
