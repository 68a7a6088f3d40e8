// A dialog box: a widget that the application opens by id, optionally modal, and that records which of its
// own buttons (1000 accept, 1001 reject) closed it. The application sizes a dialog of width 0 when it opens it,
// from the height the dialog asks for at the width it gets.
#pragma once

#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/Widget.h"

#include <string>

namespace Zestra
{

class DialogListener;
class Image;

class Dialog : public Widget, public ButtonListener
{
public:
    static constexpr int NO_RESULT = -1;
    static constexpr int ACCEPT_BUTTON_ID = 1000;
    static constexpr int REJECT_BUTTON_ID = 1001;

    // buttonSet: 1 yes/no, 2 ok/cancel, 3 one button captioned with the footer, other values no buttons.
    // The images are not owned and may be null.
    Dialog(Image* skinImage, Image* buttonSkinImage, int dialogId, bool isModal, const std::string& title,
           const std::string& message, const std::string& footer, int buttonSet);
    ~Dialog() override;

    virtual int PreferredHeight(int width);
    virtual bool IsModal() const;

    void Paint(Graphics& g) override;
    void ButtonPressed(int id) override;
    void ButtonReleased(int id) override;

    DialogListener* mDialogObserver = nullptr; // not owned; the application sets itself when it opens the dialog
    Image* mSkinImage = nullptr;
    Image* mButtonSkinImage = nullptr;
    std::string mTitle;
    std::string mMessage;
    std::string mFooter;
    int mButtonSet = 0;
    int mButtonHeight = 24;
    Insets mContentInsets{24, 24, 24, 24};
    int mTitleGap = 10;
    int mDialogId = 0;
    bool mModal = false;
    int mResult = NO_RESULT; // id of the button that closed it
};

} // namespace Zestra
