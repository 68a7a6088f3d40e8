// The push button, the text link and the dialog button: press and release reporting through the widget manager,
// holding, hover fading, and which picture each state draws.
#include "framework/widgets/ButtonWidget.h"

#include "ControlTestSupport.h"
#include "framework/widgets/DialogButton.h"
#include "framework/widgets/HyperlinkWidget.h"

#include <gtest/gtest.h>

using namespace Zestra;
using namespace ZestraTest;

namespace
{

class ButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mButton.SetBounds(100, 100, 80, 30);
        mHarness.Manager().AttachChild(&mButton);
    }
    void TearDown() override { mHarness.Manager().DetachChild(&mButton); }

    AppHarness mHarness;
    LoggingListener mListener;
    ButtonWidget mButton{5, &mListener};
};

} // namespace

TEST_F(ButtonTest, ReleaseReportsOnlyOverTheButtonWhileTheAppHasFocus)
{
    struct Case
    {
        const char* name;
        int releaseX;
        bool appHasFocus;
        Log expected; // presses and releases only
    };
    const Case cases[] = {
        {"inside", 120, true, {"pressed 5 x1", "released 5"}},
        {"outside", 300, true, {"pressed 5 x1"}},
        {"no focus", 120, false, {"pressed 5 x1"}},
    };
    WidgetManager& manager = mHarness.Manager();
    for (const Case& c : cases)
    {
        mListener.mLog.clear();
        manager.PointerMoved(110, 110);
        manager.ButtonDown(110, 110, 1);
        manager.mAppHasFocus = c.appHasFocus;
        manager.PointerMoved(c.releaseX, 110);
        manager.ButtonUp(c.releaseX, 110, 1);
        manager.mAppHasFocus = true;
        manager.PointerMoved(0, 0);
        std::erase_if(mListener.mLog, [](const std::string& line)
                      { return line.rfind("pressed", 0) != 0 && line.rfind("released", 0) != 0; });
        EXPECT_EQ(c.expected, mListener.mLog) << c.name;
    }
}

TEST_F(ButtonTest, HeldIsReportedEveryUpdateOnlyWhileThePointerIsOver)
{
    WidgetManager& manager = mHarness.Manager();
    manager.PointerMoved(110, 110);
    manager.ButtonDown(110, 110, 1);
    mListener.mLog.clear();
    mHarness.Ticks(3);
    manager.PointerMoved(300, 300); // dragged off: not held
    mHarness.Ticks(2);
    manager.PointerMoved(120, 110); // back over it
    mHarness.Ticks(1);
    manager.ButtonUp(120, 110, 1);
    mHarness.Ticks(2);
    EXPECT_EQ((Log{"held 5", "held 5", "held 5", "left 5", "entered 5", "held 5", "released 5"}), mListener.mLog);
}

TEST_F(ButtonTest, HoverPictureFadesOutOverTenUpdatesAndInByItsStep)
{
    BlankImage face(80, 30);
    BlankImage hover(80, 30);
    mButton.mFaceImage = &face;
    mButton.mHoverImage = &hover;
    mButton.mHoverFadeOutStep = 0.1;
    WidgetManager& manager = mHarness.Manager();
    manager.PointerMoved(110, 110);
    manager.PointerMoved(300, 300);
    EXPECT_EQ(1.0, mButton.mHoverFade); // the fade-out starts from full
    for (int i = 1; i <= 10; i++)
    {
        mHarness.Ticks(1);
        if (i < 10)
        {
            EXPECT_GT(mButton.mHoverFade, 0.0) << i;
        }
    }
    EXPECT_EQ(0.0, mButton.mHoverFade);

    mButton.mHoverFadeInStep = 0.25;
    manager.PointerMoved(110, 110);
    mHarness.Ticks(2);
    EXPECT_DOUBLE_EQ(0.5, mButton.mHoverFade);
    mHarness.Ticks(5);
    EXPECT_EQ(1.0, mButton.mHoverFade);

    // Without a step, leaving drops the hover picture at once.
    mButton.mHoverFadeOutStep = 0;
    manager.PointerMoved(300, 300);
    EXPECT_EQ(0.0, mButton.mHoverFade);
}

TEST(ButtonWidgetTest, EachStateDrawsItsPicture)
{
    BlankImage face(80, 30), hover(80, 30), press(80, 30), disabled(80, 30), strip(320, 30);
    struct Case
    {
        const char* name;
        bool hovered, pressed, inactive, swap, cells;
        const Image* expected;
        Point at;
        Rect cell; // with cells: the rectangle cut from the face image
    };
    const Case cases[] = {
        {"normal", false, false, false, false, false, &face, {0, 0}, {0, 0, 80, 30}},
        {"hovered", true, false, false, false, false, &hover, {0, 0}, {0, 0, 80, 30}},
        {"down", true, true, false, false, false, &press, {0, 0}, {0, 0, 80, 30}},
        {"pressed, pointer away", false, true, false, false, false, &hover, {0, 0}, {0, 0, 80, 30}},
        {"disabled", false, false, true, false, false, &disabled, {0, 0}, {0, 0, 80, 30}},
        {"swapped, up", false, false, false, true, false, &press, {0, 0}, {0, 0, 80, 30}},
        {"cells, hovered", true, false, false, false, true, &strip, {0, 0}, {80, 0, 80, 30}},
        {"cells, down", true, true, false, false, true, &strip, {0, 0}, {160, 0, 80, 30}},
    };
    for (const Case& c : cases)
    {
        ButtonWidget button(1, nullptr);
        button.mWidth = 80;
        button.mHeight = 30;
        if (c.cells)
        {
            button.mFaceImage = &strip;
            button.mFaceRect = Rect(0, 0, 80, 30);
            button.mHoverRect = Rect(80, 0, 80, 30);
            button.mPressRect = Rect(160, 0, 80, 30);
        }
        else
        {
            button.mFaceImage = &face;
            button.mHoverImage = &hover;
            button.mPressImage = &press;
            button.mDisabledImage = &disabled;
        }
        button.mHovered = c.hovered;
        button.mPressed = c.pressed;
        button.mInactive = c.inactive;
        button.mSwapPressed = c.swap;
        BlitLog target(200, 100);
        Graphics g(&target);
        button.Paint(g);
        auto blits = target.Blits();
        ASSERT_EQ(1u, blits.size()) << c.name;
        EXPECT_EQ(c.expected, blits[0].mSource) << c.name;
        EXPECT_EQ(c.cell, blits[0].mRect) << c.name;
        EXPECT_EQ(c.at, blits[0].mAt) << c.name;
    }
}

TEST(ButtonWidgetTest, DownWithoutPressPictureShiftsTheHoverPictureAndAFadingHoverIsTinted)
{
    BlankImage face(80, 30), hover(80, 30);
    ButtonWidget button(1, nullptr);
    button.mWidth = 80;
    button.mHeight = 30;
    button.mFaceImage = &face;
    button.mHoverImage = &hover;
    button.mHovered = button.mPressed = true;
    {
        BlitLog target(200, 100);
        Graphics g(&target);
        button.Paint(g);
        ASSERT_EQ(1u, target.Blits().size());
        EXPECT_EQ(&hover, target.Blits()[0].mSource);
        EXPECT_EQ((Point{1, 1}), target.Blits()[0].mAt);
    }
    button.mHovered = button.mPressed = false;
    button.mHoverFade = 0.5;
    BlitLog target(200, 100);
    Graphics g(&target);
    button.Paint(g);
    auto blits = target.Blits();
    ASSERT_EQ(2u, blits.size());
    EXPECT_EQ(&face, blits[0].mSource);
    EXPECT_EQ(&hover, blits[1].mSource);
    EXPECT_EQ(127, blits[1].mColor.mAlpha);
}

TEST(ButtonWidgetTest, FrameModeSwapsItsEdgesWhenDown)
{
    // The top edge is the light palette entry raised and the dark one down; the caption moves by one pixel.
    for (bool down : {false, true})
    {
        FixedFont font;
        ButtonWidget button(1, nullptr);
        button.mWidth = 60;
        button.mHeight = 20;
        button.SetCaptionFont(&font);
        button.mCaption = "Go";
        button.mHovered = button.mPressed = down;
        BlitLog target(100, 50);
        Graphics g(&target);
        button.Paint(g);
        ASSERT_GE(target.mEntries.size(), 2u);
        EXPECT_EQ(Rect(0, 0, 60, 20), target.mEntries[0].mRect);
        EXPECT_EQ(button.PaletteEntry(5), target.mEntries[0].mColor);
        EXPECT_EQ(Rect(0, 0, 59, 1), target.mEntries[1].mRect);
        EXPECT_EQ(button.PaletteEntry(down ? 2 : 3), target.mEntries[1].mColor) << down;
    }
}

TEST(HyperlinkWidgetTest, UnderlineFollowsTheCaptionInTheHoverColour)
{
    FixedFont font;
    HyperlinkWidget link(3, nullptr);
    link.mWidth = 100;
    link.mHeight = 20;
    link.SetCaptionFont(&font);
    link.mCaption = "not you?"; // 80 pixels
    link.mUnderlineThickness = 2;
    link.mLinkHoverColor = Color(10, 20, 30);
    link.mHovered = true;
    BlitLog target(200, 50);
    Graphics g(&target);
    link.Paint(g);
    // x = (100 - 80) / 2, baseline y = (12 + 20) / 2 - 1 = 15; rows at 15 + 3 and 15 + 4.
    ASSERT_EQ(2u, target.mEntries.size());
    EXPECT_EQ(Rect(10, 18, 80, 1), target.mEntries[0].mRect);
    EXPECT_EQ(Rect(10, 19, 80, 1), target.mEntries[1].mRect);
    EXPECT_EQ(Color(10, 20, 30), target.mEntries[1].mColor);
    EXPECT_TRUE(link.mHandCursor);
}

TEST(DialogButtonTest, SkinCellsFollowTheStateAndTheCaptionShiftsWhenDown)
{
    BlankImage skin(90, 30);
    FixedFont font;
    DialogButton button(1000, &skin, nullptr);
    button.mWidth = 60;
    button.mHeight = 30;
    button.SetCaptionFont(&font);
    button.mFaceRect = Rect(0, 0, 30, 30);
    button.mHoverRect = Rect(30, 0, 30, 30);
    button.mPressRect = Rect(60, 0, 30, 30);
    for (bool down : {false, true})
    {
        button.mHovered = button.mPressed = down;
        BlitLog target(100, 50);
        Graphics g(&target);
        button.Paint(g);
        auto blits = target.Blits();
        ASSERT_FALSE(blits.empty());
        // The nine-part drawing cuts its first corner from the cell of the state.
        EXPECT_EQ(down ? 60 : 0, blits[0].mRect.mX) << down;
        EXPECT_EQ(0.0f, g.GetOffsetX()); // the press shift is undone afterwards
    }
}
