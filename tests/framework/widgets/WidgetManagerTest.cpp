// Pointer routing with press capture and hover, modal blocking, focus and Tab, and the key state.
#include "framework/widgets/WidgetManager.h"

#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

using namespace Zestra;
using namespace ZestraTest;

namespace
{

class WidgetManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mManager.SetScreenArea(Rect(0, 0, 200, 100), Rect(0, 0, 200, 100));
        mManager.AttachChild(&mA);
        mManager.AttachChild(&mB);
        mLog.clear();
    }

    Log mLog;
    WidgetManager mManager{nullptr};
    ProbeWidget mA{"A", &mLog, 0, 0, 50, 50};
    ProbeWidget mB{"B", &mLog, 100, 0, 50, 50};
};

} // namespace

TEST_F(WidgetManagerTest, PressCapturesPointerUntilRelease)
{
    mManager.PointerMoved(10, 10);
    mManager.ButtonDown(10, 10, 1);
    mManager.PointerMoved(110, 20); // drag over B
    EXPECT_FALSE(mA.mHovered);
    EXPECT_FALSE(mB.mHovered);
    mManager.PointerMoved(20, 20); // back over A
    EXPECT_TRUE(mA.mHovered);
    mManager.PointerMoved(120, 30);
    mManager.ButtonUp(120, 30, 1);
    EXPECT_EQ((Log{"A enter", "A down 10,10 b0 c1", "A drag 110,20", "A leave", "A drag 20,20", "A enter",
                   "A drag 120,30", "A leave", "A up 120,30 b0", "B enter"}),
              mLog);
    EXPECT_EQ(nullptr, mManager.mPressedWidget);
    EXPECT_EQ(&mB, mManager.mHoverWidget);
    EXPECT_FALSE(mA.mPressed);
}

TEST_F(WidgetManagerTest, ClickCodesBecomeButtonAndCount)
{
    struct Case
    {
        int code;
        const char* down;
    };
    for (const Case& c : {Case{1, "A down 5,5 b0 c1"}, Case{2, "A down 5,5 b0 c2"}, Case{-1, "A down 5,5 b1 c1"},
                          Case{-2, "A down 5,5 b1 c2"}, Case{3, "A down 5,5 b2 c1"}})
    {
        mLog.clear();
        mManager.ButtonDown(5, 5, c.code);
        mManager.ButtonUp(5, 5, c.code == 2 ? 1 : (c.code == -2 ? -1 : c.code));
        ASSERT_GE(mLog.size(), 2u) << c.code;
        EXPECT_EQ(c.down, mLog[mLog.size() - 2]) << c.code;
        EXPECT_EQ(0, mManager.mHeldButtons) << c.code;
    }
}

TEST_F(WidgetManagerTest, HoverFollowsPointerAndLeavesWithIt)
{
    mManager.PointerMoved(10, 10);
    mManager.PointerMoved(12, 10);
    mManager.PointerMoved(60, 10); // between the two
    mManager.PointerMoved(110, 10);
    mManager.PointerLeft();
    EXPECT_EQ((Log{"A enter", "A leave", "B enter", "B leave"}), mLog);
    EXPECT_EQ(nullptr, mManager.mHoverWidget);

    // A widget shown under a still pointer is entered; an inactive one is never the widget under the pointer.
    mLog.clear();
    mManager.PointerMoved(10, 10);
    mA.SetInactive(true);
    EXPECT_EQ(nullptr, mManager.WidgetAt(10, 10));
    mA.SetInactive(false);
    EXPECT_EQ((Log{"A enter", "A leave", "A enter"}), mLog);
}

TEST_F(WidgetManagerTest, ModalBaseBlocksWhatLiesBelowAndRestoresFocus)
{
    mA.mAcceptsFocus = true;
    mManager.ButtonDown(10, 10, 1);
    mManager.ButtonUp(10, 10, 1);
    EXPECT_EQ(&mA, mManager.mFocus);

    ProbeWidget dialog("D", &mLog, 0, 60, 200, 40);
    mManager.AttachChild(&dialog);
    mManager.PushModal(&dialog);
    EXPECT_EQ(nullptr, mManager.mFocus);
    EXPECT_FALSE(mA.mFocused);

    mLog.clear();
    mManager.ButtonDown(110, 10, 1); // on B, below the modal base: nothing is hit
    mManager.ButtonUp(110, 10, 1);
    mManager.ButtonDown(10, 70, 1);
    EXPECT_EQ((Log{"D enter", "D down 10,10 b0 c1"}), mLog);
    mManager.ButtonUp(10, 70, 1);

    mManager.PopModal(&mB); // not the top entry: ignored
    EXPECT_EQ(&dialog, mManager.mModalBase);
    mManager.DetachChild(&dialog);
    mManager.PopModal(&dialog);
    EXPECT_EQ(nullptr, mManager.mModalBase);
    EXPECT_EQ(&mA, mManager.mFocus);
    EXPECT_TRUE(mA.mFocused);
    EXPECT_EQ(&mB, mManager.WidgetAt(110, 10));
}

TEST_F(WidgetManagerTest, TabMovesFocusAndKeyStateStaysInBounds)
{
    mA.mFocusNext = &mB;
    mB.mFocusPrev = &mA;
    mManager.FocusWidget(&mA);
    mManager.KeyPressed(9);
    EXPECT_EQ(&mB, mManager.mFocus);
    mManager.KeyReleased(9);
    mManager.KeyPressed(16); // Shift+Tab goes back
    mManager.KeyPressed(9);
    EXPECT_EQ(&mA, mManager.mFocus);
    EXPECT_TRUE(mManager.IsKeyDown(16));

    // Codes outside the key table are still delivered, and never written outside it.
    mLog.clear();
    for (int key : {300, -1, 255, 254})
        mManager.KeyPressed(key);
    EXPECT_EQ((Log{"A key 300", "A key -1", "A key 255", "A key 254"}), mLog);
    EXPECT_TRUE(mManager.IsKeyDown(254));
    EXPECT_FALSE(mManager.IsKeyDown(300));

    // Losing the application focus releases every key and the focus widget's focus.
    mManager.OnAppFocusLost();
    EXPECT_FALSE(mManager.IsKeyDown(16));
    EXPECT_FALSE(mA.mFocused);
    mManager.OnAppFocusGained();
    EXPECT_TRUE(mA.mFocused);
}

TEST_F(WidgetManagerTest, MouseMappingScalesTheSourceOntoTheScreen)
{
    mManager.SetScreenArea(Rect(0, 0, 800, 600), Rect(100, 50, 400, 300));
    Point p = mManager.MapMouse(300, 200);
    EXPECT_EQ(400, p.mX);
    EXPECT_EQ(300, p.mY);
    EXPECT_EQ(800, mManager.mWidth);
}

TEST_F(WidgetManagerTest, DetachForgetsHoverPressAndFocus)
{
    mA.mAcceptsFocus = true;
    mManager.ButtonDown(10, 10, 1);
    mManager.DetachChild(&mA);
    EXPECT_EQ(nullptr, mManager.mHoverWidget);
    EXPECT_EQ(nullptr, mManager.mPressedWidget);
    EXPECT_EQ(nullptr, mManager.mFocus);
    EXPECT_EQ((Log{"A enter", "A focus", "A down 10,10 b0 c1", "A leave", "A up 10,10 b0", "A blur"}), mLog);
}
