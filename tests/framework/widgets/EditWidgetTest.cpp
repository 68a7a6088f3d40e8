// The one-line text field driven through the widget manager: typing with limits, word moves, undo, the clipboard,
// the listener's refusals, selection by mouse, and scrolling that always ends.
#include "framework/widgets/EditWidget.h"

#include "ControlTestSupport.h"
#include "framework/widgets/KeyCodes.h"

#include <gtest/gtest.h>

using namespace Zestra;
using namespace ZestraTest;

namespace
{

class EditWidgetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FixedFont font;
        mEdit.SetEditFont(&font);
        mEdit.SetBounds(10, 10, 208, 20); // 200 pixels of text: 20 glyphs
        mHarness.Manager().AttachChild(&mEdit);
        mHarness.Manager().FocusWidget(&mEdit);
    }
    void TearDown() override { mHarness.Manager().DetachChild(&mEdit); }

    void Type(const std::string& text)
    {
        for (char ch : text)
            mHarness.Manager().CharTyped(ch);
    }
    // A key with modifiers held, as the platform delivers it.
    void Key(int key, bool shift = false, bool ctrl = false)
    {
        WidgetManager& m = mHarness.Manager();
        if (shift)
            m.KeyPressed(KEY_SHIFT);
        if (ctrl)
            m.KeyPressed(KEY_CONTROL);
        m.KeyPressed(key);
        m.KeyReleased(key);
        if (ctrl)
            m.KeyReleased(KEY_CONTROL);
        if (shift)
            m.KeyReleased(KEY_SHIFT);
    }
    std::string Clipboard() { return mHarness.app.GetClipboardText(); }

    AppHarness mHarness;
    LoggingListener mListener;
    EditWidget mEdit{9, &mListener};
};

} // namespace

TEST_F(EditWidgetTest, LimitsRefuseWhatDoesNotFitAndNeverDropTheEnd)
{
    mEdit.mCharLimit = 5;
    Type("abcdefg");
    EXPECT_EQ("abcde", mEdit.mContent);
    // A full field refuses a character typed in the middle instead of losing its last one.
    Key(KEY_HOME);
    Key(KEY_RIGHT);
    Type("x");
    EXPECT_EQ("abcde", mEdit.mContent);
    EXPECT_EQ(1, mEdit.mCaret);

    mEdit.mCharLimit = -1;
    mEdit.mPixelLimit = 35; // three 10-pixel glyphs
    mEdit.SetContent("", true);
    Type("12345");
    EXPECT_EQ("123", mEdit.mContent);
    // A pasted text gives way from its end.
    mEdit.SetContent("", true);
    mHarness.app.SetClipboardText("wxyz");
    Type("a\x16");
    EXPECT_EQ("awx", mEdit.mContent);
    EXPECT_EQ(3, mEdit.mCaret);
}

TEST_F(EditWidgetTest, CtrlArrowsMoveByWords)
{
    struct Case
    {
        int from;
        int key;
        int to;
    };
    mEdit.SetContent("abc def", true);
    for (const Case& c : {Case{7, KEY_LEFT, 4}, Case{4, KEY_LEFT, 0}, Case{0, KEY_RIGHT, 4}, Case{4, KEY_RIGHT, 7},
                          Case{5, KEY_LEFT, 4}, Case{6, KEY_RIGHT, 7}})
    {
        mEdit.mCaret = c.from;
        mEdit.mAnchor = -1;
        Key(c.key, false, true);
        EXPECT_EQ(c.to, mEdit.mCaret) << c.from << " key " << c.key;
        EXPECT_EQ(-1, mEdit.mAnchor);
    }
    // With shift the move extends a selection.
    mEdit.mCaret = 7;
    Key(KEY_LEFT, true, true);
    EXPECT_EQ(4, mEdit.mCaret);
    EXPECT_EQ(7, mEdit.mAnchor);
}

TEST_F(EditWidgetTest, UndoSwapsBackAndForthAndRunsShareOneSnapshot)
{
    Type("abc");
    Type("\x1a");
    EXPECT_EQ("", mEdit.mContent);
    Type("\x1a");
    EXPECT_EQ("abc", mEdit.mContent);
    EXPECT_EQ(3, mEdit.mCaret);

    // Two backspaces are one run: one undo brings both characters back.
    Key(KEY_BACKSPACE);
    Key(KEY_BACKSPACE);
    EXPECT_EQ("a", mEdit.mContent);
    Type("\x1a");
    EXPECT_EQ("abc", mEdit.mContent);

    // Moving the caret ends a run: the next typing takes its own snapshot.
    Key(KEY_HOME);
    Type("x");
    Type("\x1a");
    EXPECT_EQ("abc", mEdit.mContent);
}

TEST_F(EditWidgetTest, CopyAndCutTakeTheShownTextSoAMaskedFieldGivesMaskCharacters)
{
    mEdit.SetContent("secret", true);
    mEdit.mMaskChar = '*';
    Type("\x03");
    EXPECT_EQ("******", Clipboard());
    EXPECT_EQ(0, mEdit.mAnchor); // copying keeps the selection

    mEdit.mMaskChar = 0;
    mEdit.mCaret = 6;
    mEdit.mAnchor = 3;
    Type("\x18");
    EXPECT_EQ("ret", Clipboard());
    EXPECT_EQ("sec", mEdit.mContent);
    EXPECT_EQ(3, mEdit.mCaret);
    EXPECT_EQ(-1, mEdit.mAnchor);
}

TEST_F(EditWidgetTest, SetContentSelectsEverythingWithTheCaretAtTheEnd)
{
    mEdit.SetContent("hello", false);
    EXPECT_EQ(5, mEdit.mCaret);
    EXPECT_EQ(0, mEdit.mAnchor);
    Type("J"); // replaces the selection
    EXPECT_EQ("J", mEdit.mContent);
    mEdit.SetContent("", false);
    EXPECT_EQ(-1, mEdit.mAnchor); // nothing to select: the caret shows
}

TEST_F(EditWidgetTest, RefusalsLeaveTheTextUnchanged)
{
    mEdit.SetContent("ab", true);
    mEdit.mAnchor = -1;
    mListener.mRefusedChars = "q";
    mListener.mRefusedKeys = std::string(1, char(KEY_BACKSPACE));
    Type("q|\x1f");     // refused by the listener, not drawable by the font, a control character
    Key(KEY_BACKSPACE); // refused key
    EXPECT_EQ("ab", mEdit.mContent);
    EXPECT_EQ(2, mEdit.mCaret);

    // AcceptContent saying no undoes what the key did, selection included.
    mListener.mRefusedKeys.clear();
    mListener.mRefusedContent = "a";
    Key(KEY_BACKSPACE);
    EXPECT_EQ("ab", mEdit.mContent);
    EXPECT_EQ(2, mEdit.mCaret);
    Type("\x1a"); // and nothing was recorded for undo
    EXPECT_EQ("", mEdit.mContent);

    // High characters are refused when the application turns them off.
    mListener.mRefusedContent.clear();
    mEdit.SetContent("", true);
    mHarness.app.Config().mAcceptHighCharacters = false;
    Type("\xe9");
    mHarness.app.Config().mAcceptHighCharacters = true;
    Type("\xe8");
    EXPECT_EQ("\xe8", mEdit.mContent);
}

TEST_F(EditWidgetTest, PasteStopsAtTheFirstLineBreakFiltersAndReplacesTheSelection)
{
    mListener.mRefusedChars = "!";
    mEdit.SetContent("old", true);
    mEdit.mAnchor = 0; // all selected
    mHarness.app.SetClipboardText("a|b!\tc\r\nsecond line");
    Type("\x16");
    EXPECT_EQ("abc", mEdit.mContent);
    EXPECT_EQ(3, mEdit.mCaret);
    Type("\x1a");
    EXPECT_EQ("old", mEdit.mContent);

    mHarness.app.SetClipboardText("\nonly after a break");
    Type("\x16");
    EXPECT_EQ("old", mEdit.mContent);
}

TEST_F(EditWidgetTest, ReturnSubmitsAndTabLeavesTheFocusToTheNextWidget)
{
    Type("Mia");
    Key(KEY_RETURN);
    EXPECT_EQ((Log{"submitted 9 Mia"}), mListener.mLog);
    Widget next;
    mHarness.Manager().AttachChild(&next);
    mEdit.mFocusNext = &next;
    Key(KEY_TAB);
    EXPECT_EQ(&next, mHarness.Manager().mFocus);
    EXPECT_FALSE(mEdit.mFocused);
    mHarness.Manager().DetachChild(&next);
}

TEST_F(EditWidgetTest, DoubleClickSelectsAWordAndDragSelectsARange)
{
    mEdit.SetContent("one two", true);
    // Glyphs are 10 wide from x 4 of the field (field at x 10): the gap after character i is at 10 + 4 + 10 i.
    WidgetManager& m = mHarness.Manager();
    m.PointerMoved(10 + 4 + 52, 15);
    m.ButtonDown(10 + 4 + 52, 15, 2);
    m.ButtonUp(10 + 4 + 52, 15, 1);
    EXPECT_EQ(4, mEdit.mAnchor);
    EXPECT_EQ(7, mEdit.mCaret);

    m.ButtonDown(10 + 4, 15, 1);
    m.PointerMoved(10 + 4 + 30, 15);
    m.ButtonUp(10 + 4 + 30, 15, 1);
    EXPECT_EQ(0, mEdit.mAnchor);
    EXPECT_EQ(3, mEdit.mCaret);
}

TEST_F(EditWidgetTest, LongTextScrollsToKeepTheCaretInViewAndAHugeGlyphCannotHangIt)
{
    Type(std::string(30, 'm')); // 300 pixels in a 200-pixel field
    EXPECT_GT(mEdit.mFirstVisible, 0);
    EXPECT_LE(mEdit.mFirstVisible, mEdit.mCaret);
    Key(KEY_HOME);
    EXPECT_EQ(0, mEdit.mFirstVisible);

    // A field narrower than one glyph: scrolling stops when nothing is left to scroll.
    mEdit.SetBounds(10, 10, 12, 20);
    mEdit.SetContent("", true);
    Type("ab");
    Key(KEY_END);
    EXPECT_EQ(1, mEdit.mFirstVisible);
}

TEST_F(EditWidgetTest, CaretBlinksOnlyWhileFocused)
{
    EXPECT_TRUE(mEdit.mCaretVisible);
    mHarness.Ticks(41);
    EXPECT_FALSE(mEdit.mCaretVisible);
    mHarness.Manager().FocusWidget(nullptr);
    mHarness.Ticks(100);
    EXPECT_FALSE(mEdit.mCaretVisible);
    EXPECT_EQ(0, mEdit.mBlinkTicks);
}
