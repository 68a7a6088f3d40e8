// The dialog box: its own buttons (sets, layout, attachment beside it, palette), the result a release sets and
// reports, dragging kept on screen, and waiting for the result in a nested loop.
#include "framework/widgets/Dialog.h"

#include "ControlTestSupport.h"
#include "framework/widgets/DialogButton.h"

#include <gtest/gtest.h>

using namespace Zestra;
using namespace ZestraTest;

namespace
{

class RecordingApp : public HarnessApp
{
public:
    using HarnessApp::HarnessApp;
    void DialogButtonReleased(int dialogId, int buttonId) override
    {
        mLog.push_back("released " + std::to_string(dialogId) + " " + std::to_string(buttonId));
        HarnessApp::DialogButtonReleased(dialogId, buttonId);
    }
    Log mLog;
};

Point CentreOf(const Widget& w)
{
    return Point{w.mX + w.mWidth / 2, w.mY + w.mHeight / 2};
}

} // namespace

TEST(DialogTest, ButtonSetsGiveTheirButtonsAndSetThreeHasNoFooterLine)
{
    FixedFont font;
    struct Case
    {
        int set;
        const char* accept;
        const char* reject; // null: no reject button
    };
    for (const Case& c :
         {Case{1, "YES", "NO"}, Case{2, "OK", "CANCEL"}, Case{3, "Continue", nullptr}, Case{0, nullptr, nullptr}})
    {
        Dialog dialog(nullptr, nullptr, 1, true, "Title", "Message", "Continue", c.set);
        ASSERT_EQ(c.accept != nullptr, dialog.mAcceptButton != nullptr) << c.set;
        ASSERT_EQ(c.reject != nullptr, dialog.mRejectButton != nullptr) << c.set;
        if (c.accept != nullptr)
        {
            EXPECT_EQ(c.accept, dialog.mAcceptButton->mCaption) << c.set;
        }
        if (c.reject != nullptr)
        {
            EXPECT_EQ(c.reject, dialog.mRejectButton->mCaption) << c.set;
        }
    }
    // The footer of set 3 is the button caption only: it adds no line to the dialog's height.
    Dialog withFooter(nullptr, nullptr, 1, true, "Title", "Message", "Continue", 3);
    Dialog withoutFooter(nullptr, nullptr, 1, true, "Title", "Message", "", 3);
    for (Dialog* d : {&withFooter, &withoutFooter})
    {
        d->SetTitleFont(&font);
        d->SetMessageFont(&font);
    }
    EXPECT_EQ(withoutFooter.PreferredHeight(300), withFooter.PreferredHeight(300));
    // 24 + title 16 + gap 10 + message 16 + 8 + button 24 + 8 + 24.
    EXPECT_EQ(130, withFooter.PreferredHeight(300));
}

TEST(DialogTest, ReleasingNoSetsTheResultAndTellsTheApplication)
{
    HeadlessPlatform platform;
    RecordingApp app(platform);
    app.Initialize();
    auto* dialog = new Dialog(nullptr, nullptr, 7, true, "Sure?", "", "", 1);
    app.AddDialog(dialog);
    Point no = CentreOf(*dialog->mRejectButton);
    WidgetManager& manager = *app.mWidgetManager;
    manager.PointerMoved(no.mX, no.mY);
    manager.ButtonDown(no.mX, no.mY, 1);
    EXPECT_EQ(Dialog::NO_RESULT, dialog->mResult); // pressed only
    manager.ButtonUp(no.mX, no.mY, 1);
    EXPECT_EQ(1001, dialog->mResult);
    EXPECT_EQ((Log{"released 7 1001"}), app.mLog);
    app.RemoveDialog(7);
}

TEST(DialogTest, ButtonsSitAtTheBottomBesideTheDialogAndFollowItsPalette)
{
    AppHarness harness;
    Dialog dialog(nullptr, nullptr, 2, false, "", "", "", 2);
    dialog.SetBounds(100, 50, 300, 200);
    // (300 - 2 x 24 - 8) / 2 = 122 wide, 24 high, above the bottom inset.
    EXPECT_EQ(Rect(124, 202, 122, 24), dialog.mAcceptButton->Bounds());
    EXPECT_EQ(Rect(254, 202, 122, 24), dialog.mRejectButton->Bounds());

    WidgetManager& manager = harness.Manager();
    manager.AttachChild(&dialog);
    EXPECT_EQ(&manager, dialog.mAcceptButton->mParent);
    EXPECT_TRUE(manager.IsDrawnBefore(&dialog, dialog.mRejectButton.get()));
    dialog.SetPaletteEntry(3, Color(1, 2, 3));
    dialog.SetPaletteEntry(4, Color(4, 5, 6));
    EXPECT_EQ(Color(1, 2, 3), dialog.mRejectButton->PaletteEntry(0));
    EXPECT_EQ(Color(4, 5, 6), dialog.mRejectButton->PaletteEntry(1));
    manager.DetachChild(&dialog);
    EXPECT_EQ(nullptr, dialog.mAcceptButton->mParent);
    EXPECT_FALSE(manager.ContainsChild(dialog.mRejectButton.get()));
}

TEST(DialogTest, DraggingMovesTheDialogButKeepsItOnScreen)
{
    AppHarness harness;
    Dialog dialog(nullptr, nullptr, 3, false, "", "", "", 0);
    dialog.SetBounds(100, 100, 200, 100);
    WidgetManager& manager = harness.Manager();
    manager.AttachChild(&dialog);
    manager.PointerMoved(150, 150);
    manager.ButtonDown(150, 150, 1);
    manager.PointerMoved(180, 140);
    EXPECT_EQ((Point{130, 90}), (Point{dialog.mX, dialog.mY}));
    manager.PointerMoved(-500, -500);
    EXPECT_EQ((Point{-8, -8}), (Point{dialog.mX, dialog.mY}));
    manager.PointerMoved(2000, 2000);
    EXPECT_EQ((Point{640 + 8 - 200, 480 + 8 - 100}), (Point{dialog.mX, dialog.mY}));
    manager.ButtonUp(2000, 2000, 1);
    EXPECT_FALSE(dialog.mDragging);
    manager.DetachChild(&dialog);
}

TEST(DialogTest, AwaitResultRunsTheLoopUntilAButtonIsReleasedAndRemovesTheDialog)
{
    HeadlessPlatform platform;
    HarnessApp app(platform);
    app.Initialize();
    app.ResetClock();
    app.mRunning = true;
    auto* dialog = new Dialog(nullptr, nullptr, 4, true, "Save?", "", "", 2);
    app.AddDialog(dialog);
    Point ok = CentreOf(*dialog->mAcceptButton);
    platform.PushMouseMove(ok.mX, ok.mY);
    platform.PushClick(ok.mX, ok.mY);
    EXPECT_EQ(1000, dialog->AwaitResult(true));
    EXPECT_EQ(nullptr, app.FindDialog(4));
    app.ProcessDeferredDeletes();
    EXPECT_EQ(0u, app.PendingDeferredDeletes());
}
