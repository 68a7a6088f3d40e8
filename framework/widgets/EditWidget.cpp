// Keys, mouse, limits and drawing of the one-line text field.
#include "framework/widgets/EditWidget.h"

#include "framework/widgets/WidgetHost.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/widgets/ControlSupport.h"
#include "framework/widgets/EditListener.h"
#include "framework/widgets/KeyCodes.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>
#include <cstdlib>

namespace Zestra
{

namespace
{
constexpr int kDefaultFontPoints = 10;
constexpr int kCursorArrow = 0;
constexpr int kCursorText = 3;
} // namespace

EditWidget::EditWidget(int id, EditListener* listener) : mEditId(id), mEditObserver(listener)
{
    static constexpr int kPalette[5][3] = {{255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {255, 255, 255}};
    SetPalette(kPalette, 5);
}

EditWidget::~EditWidget() = default;

Font* EditWidget::EditFont()
{
    return EnsureFont(mEditFont, kDefaultFontPoints);
}

void EditWidget::SetEditFont(Font* font, Font* widthFont)
{
    mEditFont = CloneFont(font);
    mWidthLimits.clear();
    if (widthFont != nullptr)
        AddWidthLimitFont(widthFont);
    Invalidate();
}

void EditWidget::AddWidthLimitFont(Font* font)
{
    if (font != nullptr)
        mWidthLimits.emplace_back(CloneFont(font), -1);
}

const std::string& EditWidget::DisplayedText()
{
    if (mMaskChar == 0)
        return mContent;
    if (mMaskedContent.size() != mContent.size())
        mMaskedContent.assign(mContent.size(), mMaskChar);
    return mMaskedContent;
}

int EditWidget::PixelOffset(int count)
{
    Font* font = EditFont();
    const std::string& shown = DisplayedText();
    int n = std::clamp(count, 0, int(shown.size()));
    int first = std::clamp(mFirstVisible, 0, int(shown.size()));
    return font->TextWidth(shown.substr(0, size_t(n))) - font->TextWidth(shown.substr(0, size_t(first)));
}

void EditWidget::Invalidate()
{
    // A see-through background shows what lies below, so that has to be repainted too.
    if (PaletteEntry(0).mAlpha == 255)
        Widget::Invalidate();
    else
        InvalidateArea();
}

void EditWidget::Tick()
{
    Widget::Tick();
    if (!mFocused)
        return;
    if (++mBlinkTicks > mBlinkPeriod)
    {
        Invalidate();
        mBlinkTicks = 0;
        mCaretVisible = !mCaretVisible;
    }
}

void EditWidget::Paint(Graphics& g)
{
    Font* font = EditFont();
    const std::string& shown = DisplayedText();
    const int w = mWidth;
    const int h = mHeight;
    g.SetInk(PaletteEntry(0));
    g.FillBox(0, 0, w, h);

    int top = (h - font->Height()) / 2;
    int baseline = top + font->Ascent();
    std::string visible = shown.substr(size_t(std::clamp(mFirstVisible, 0, int(shown.size()))));

    Graphics text(g);
    text.SetTypeface(font);
    text.RestrictClip(4, 0, w - 8, h);
    text.SetInk(PaletteEntry(2));
    text.PrintText(visible, 4, baseline);

    // The caret is a 2-pixel band that vanishes in the off phase of the blink; a selection is a wider band.
    int a = PixelOffset(mCaret) + (mCaretVisible ? 0 : 2);
    int b = mAnchor != -1 ? PixelOffset(mAnchor) : PixelOffset(mCaret) + 2;
    a = std::clamp(a, 0, std::max(0, w - 8));
    b = std::clamp(b, 0, std::max(0, w - 8));
    Rect band(4 + std::min(a, b), top, std::abs(b - a), font->Height());
    Graphics selection(g);
    selection.SetTypeface(font);
    selection.RestrictClip(band);
    if (mFocused || mForceSelectionLook)
    {
        selection.SetInk(PaletteEntry(3));
        selection.FillBox(band);
        selection.SetInk(PaletteEntry(4));
    }
    else
    {
        selection.SetInk(PaletteEntry(2));
    }
    if (!band.IsEmpty())
        selection.PrintText(visible, 4, baseline);

    g.SetInk(PaletteEntry(1));
    g.OutlineBox(0, 0, w - 1, h - 1);
}

void EditWidget::SetBounds(int x, int y, int width, int height)
{
    Widget::SetBounds(x, y, width, height);
    ScrollToCaret(false);
}

bool EditWidget::AcceptsFocus() const
{
    return true;
}

void EditWidget::FocusGained()
{
    Widget::FocusGained();
    mCaretVisible = true;
    mBlinkTicks = 0;
    Invalidate();
}

void EditWidget::FocusLost()
{
    Widget::FocusLost();
    mCaretVisible = false;
    Invalidate();
}

void EditWidget::OnMouseEnter()
{
    SetAppCursor(*this, kCursorText);
}

void EditWidget::OnMouseLeave()
{
    SetAppCursor(*this, kCursorArrow);
}

bool EditWidget::IsWordChar(char ch) const
{
    unsigned char c = static_cast<unsigned char>(ch);
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c >= 192;
}

int EditWidget::CharIndexAt(int x, int)
{
    Font* font = EditFont();
    const std::string& shown = DisplayedText();
    int length = int(shown.size());
    int first = std::clamp(mFirstVisible, 0, length);
    // Starts at the first character shown: a click left of it stays there instead of jumping to the start.
    int answer = first;
    for (int i = first; i < length; i++)
    {
        int w1 = font->TextWidth(shown.substr(size_t(first), size_t(i - first)));
        int w2 = font->TextWidth(shown.substr(size_t(first), size_t(i + 1 - first)));
        if (x >= (w1 + w2) / 2 + 5)
            answer = i + 1;
    }
    return answer;
}

void EditWidget::OnMouseDown(int x, int y, int, int clickCount)
{
    mRunEnd = kNoRun;
    mAnchor = -1;
    mCaret = CharIndexAt(x, y);
    if (clickCount > 1)
    {
        mWordSelectPending = true;
        SelectWordAtCaret();
    }
    Invalidate();
    ScrollToCaret(false);
}

void EditWidget::OnMouseDrag(int x, int y)
{
    if (mAnchor == -1)
        mAnchor = mCaret;
    mCaret = CharIndexAt(x, y);
    Invalidate();
    ScrollToCaret(false);
}

void EditWidget::OnMouseUp(int x, int y, int, int)
{
    if (mAnchor == mCaret)
        mAnchor = -1;
    if (mWordSelectPending)
    {
        mAnchor = -1;
        mCaret = CharIndexAt(x, y);
        mWordSelectPending = false;
        SelectWordAtCaret();
    }
    Invalidate();
}

void EditWidget::SelectWordAtCaret()
{
    int length = int(mContent.size());
    if (mCaret >= length)
        return;
    mAnchor = mCaret;
    while (mAnchor > 0 && IsWordChar(mContent[size_t(mAnchor - 1)]))
        mAnchor--;
    while (mCaret + 1 < length && IsWordChar(mContent[size_t(mCaret + 1)]))
        mCaret++;
    if (mCaret < length)
        mCaret++;
}

void EditWidget::ScrollToCaret(bool bigSteps)
{
    const int step = bigSteps ? 10 : 1;
    while (mCaret < mFirstVisible)
    {
        mFirstVisible = std::max(0, mFirstVisible - step);
        Invalidate();
    }
    if (!mEditFont || mWidth < 9)
        return;
    int length = int(DisplayedText().size());
    // Never past the caret (at the end, the last character stays in view).
    int furthest = mCaret >= length ? length - 1 : mCaret;
    while (PixelOffset(mCaret) >= mWidth - 8)
    {
        // Stop when nothing is left to scroll: a glyph wider than the field would keep this loop going for ever.
        int next = std::min(mFirstVisible + step, furthest);
        if (next <= mFirstVisible)
            break;
        mFirstVisible = next;
        Invalidate();
    }
}

void EditWidget::SetContent(const std::string& text, bool scrollToStart)
{
    mContent = text;
    mCaret = int(mContent.size());
    // The whole text is selected; an empty one has nothing to select and shows its caret.
    mAnchor = mContent.empty() ? -1 : 0;
    mRunEnd = kNoRun;
    if (scrollToStart)
        mFirstVisible = 0;
    else
        ScrollToCaret(true);
    Invalidate();
}

void EditWidget::OnChar(char ch)
{
    ApplyKey(0, ch);
}

void EditWidget::OnKeyDown(int key)
{
    // Letters arrive as typed characters; their key codes would only type them twice.
    if ((key < KEY_A || key > KEY_Z) && (mEditObserver == nullptr || mEditObserver->AcceptKey(mEditId, key)))
        ApplyKey(key, 0);
    Widget::OnKeyDown(key);
}

void EditWidget::DeleteSelection()
{
    int from = std::min(mAnchor, mCaret);
    int to = std::max(mAnchor, mCaret);
    mContent.erase(size_t(from), size_t(to - from));
    mCaret = from;
    mAnchor = -1;
}

bool EditWidget::CanInsert(unsigned char ch)
{
    WidgetHost* app = HostOfWidget(*this);
    int highest = (app == nullptr || app->AcceptsHighCharacters()) ? 255 : 127;
    if (ch < 32 || ch > highest)
        return false;
    if (EditFont()->GlyphWidth(char(ch)) <= 0)
        return false;
    return mEditObserver == nullptr || mEditObserver->AcceptChar(mEditId, char(ch));
}

bool EditWidget::FitsLimits()
{
    if (mCharLimit >= 0 && int(mContent.size()) > mCharLimit)
        return false;
    if (mWidthLimits.empty())
        return mPixelLimit <= 0 || EditFont()->TextWidth(mContent) <= mPixelLimit;
    for (auto& [font, ownLimit] : mWidthLimits)
    {
        int limit = ownLimit > 0 ? ownLimit : mPixelLimit;
        if (limit > 0 && font->TextWidth(mContent) > limit)
            return false;
    }
    return true;
}

void EditWidget::Activate()
{
    if (mManager != nullptr)
        mManager->FocusWidget(this);
}

// What one key did to the text: whether it ends the selection, whether it is an undo step, and the characters it
// put in (so that limits refuse them rather than cut the text's end).
struct EditWidget::KeyEffect
{
    bool endSelection = true;
    bool snapshot = false;
    int insertedAt = 0;
    int inserted = 0;
};

void EditWidget::ApplyKey(int keyCode, char ch)
{
    if (keyCode == KEY_SHIFT || keyCode == KEY_CONTROL)
        return;
    const bool shift = mManager != nullptr && mManager->IsKeyDown(KEY_SHIFT);
    const bool ctrl = mManager != nullptr && mManager->IsKeyDown(KEY_CONTROL);
    const std::string oldContent = mContent;
    const int oldCaret = mCaret;
    const int oldAnchor = mAnchor;
    KeyEffect effect;
    effect.endSelection = !shift;
    if (shift && mAnchor == -1)
        mAnchor = mCaret;

    const unsigned char uch = static_cast<unsigned char>(ch);
    if ((uch == CHAR_COPY || uch == CHAR_CUT) && HasSelection())
        CopyOrCut(uch == CHAR_CUT, effect);
    else if (uch == CHAR_PASTE)
        Paste(effect);
    else if (uch == CHAR_UNDO)
        Undo(effect);
    else if (keyCode == KEY_BACKSPACE)
        Backspace(effect);
    else if (keyCode == KEY_DELETE)
        DeleteForward(effect);
    else if (keyCode == KEY_RETURN)
        Submit();
    else if (keyCode == KEY_END || keyCode == KEY_HOME)
        MoveCaretToEnd(keyCode == KEY_END);
    else if (keyCode == KEY_LEFT)
        MoveCaretLeft(ctrl, shift);
    else if (keyCode == KEY_RIGHT)
        MoveCaretRight(ctrl, shift);
    else
        TypeCharacter(ch, effect);

    EnforceLimits(effect, oldContent, oldCaret, oldAnchor);
    FinishKey(effect, oldContent, oldCaret, oldAnchor);
}

void EditWidget::CopyOrCut(bool cut, KeyEffect& effect)
{
    int from = std::min(mAnchor, mCaret);
    int to = std::max(mAnchor, mCaret);
    if (WidgetHost* app = HostOfWidget(*this))
        app->SetClipboardText(DisplayedText().substr(size_t(from), size_t(to - from)));
    if (!cut)
    {
        effect.endSelection = false;
        return;
    }
    DeleteSelection();
    effect.snapshot = true;
    mRunEnd = kNoRun;
}

void EditWidget::Paste(KeyEffect& effect)
{
    WidgetHost* app = HostOfWidget(*this);
    std::string clip = app != nullptr ? app->GetClipboardText() : std::string();
    clip = clip.substr(0, clip.find_first_of("\r\n"));
    std::string text;
    for (char c : clip)
    {
        if (CanInsert(static_cast<unsigned char>(c)))
            text += c;
    }
    if (text.empty())
        return;
    if (HasSelection())
        DeleteSelection();
    effect.insertedAt = std::clamp(mCaret, 0, int(mContent.size()));
    mContent.insert(size_t(effect.insertedAt), text);
    effect.inserted = int(text.size());
    mCaret = effect.insertedAt + effect.inserted;
    mAnchor = -1;
    effect.snapshot = true;
    mRunEnd = kNoRun;
}

void EditWidget::Undo(KeyEffect& effect)
{
    mRunEnd = kNoRun;
    std::swap(mContent, mUndoContent);
    std::swap(mCaret, mUndoCaret);
    std::swap(mAnchor, mUndoAnchor);
    effect.endSelection = false;
}

void EditWidget::Backspace(KeyEffect& effect)
{
    if (mContent.empty())
        return;
    const int oldCaret = mCaret;
    if (HasSelection())
    {
        DeleteSelection();
        effect.snapshot = true;
        mRunEnd = kNoRun;
    }
    else if (mCaret > 0)
    {
        mContent.erase(size_t(mCaret - 1), 1);
        mCaret--;
        mAnchor = -1;
        // Characters rubbed out one after another form one undo step.
        effect.snapshot = oldCaret != mRunEnd + 1;
        mRunEnd = oldCaret - 2;
    }
}

void EditWidget::DeleteForward(KeyEffect& effect)
{
    const int length = int(mContent.size());
    if (length == 0)
        return;
    if (HasSelection())
    {
        DeleteSelection();
        effect.snapshot = true;
        mRunEnd = kNoRun;
        return;
    }
    if (mCaret < length)
        mContent.erase(size_t(mCaret), 1);
    effect.snapshot = mCaret != mRunEnd;
    mRunEnd = mCaret;
}

void EditWidget::Submit()
{
    if (mEditObserver != nullptr)
        mEditObserver->EditSubmitted(mEditId, mContent);
}

void EditWidget::MoveCaretToEnd(bool end)
{
    mCaret = end ? int(mContent.size()) : 0;
    mRunEnd = kNoRun;
}

void EditWidget::MoveCaretLeft(bool ctrl, bool shift)
{
    mRunEnd = kNoRun;
    if (ctrl)
    {
        while (mCaret > 0 && !IsWordChar(mContent[size_t(mCaret - 1)]))
            mCaret--;
        while (mCaret > 0 && IsWordChar(mContent[size_t(mCaret - 1)]))
            mCaret--;
    }
    else if (shift || !HasSelection())
    {
        mCaret--;
    }
    else
    {
        mCaret = std::min(mAnchor, mCaret);
    }
}

void EditWidget::MoveCaretRight(bool ctrl, bool shift)
{
    const int length = int(mContent.size());
    mRunEnd = kNoRun;
    bool selected = HasSelection();
    if (ctrl)
    {
        while (mCaret < length - 1 && IsWordChar(mContent[size_t(mCaret + 1)]))
            mCaret++;
        while (mCaret < length - 1 && !IsWordChar(mContent[size_t(mCaret + 1)]))
            mCaret++;
    }
    if (shift || !selected)
        mCaret++;
    else
        mCaret = std::max(mAnchor, mCaret);
}

void EditWidget::TypeCharacter(char ch, KeyEffect& effect)
{
    if (!CanInsert(static_cast<unsigned char>(ch)))
    {
        effect.endSelection = false;
        return;
    }
    if (HasSelection())
    {
        DeleteSelection();
        effect.snapshot = true;
    }
    else
    {
        // Characters typed one after another form one undo step.
        effect.snapshot = mCaret != mRunEnd + 1;
    }
    mRunEnd = mCaret;
    effect.insertedAt = std::clamp(mCaret, 0, int(mContent.size()));
    mContent.insert(size_t(effect.insertedAt), 1, ch);
    effect.inserted = 1;
    mCaret = effect.insertedAt + 1;
    mAnchor = -1;
    ScrollToCaret(false);
}

void EditWidget::EnforceLimits(KeyEffect& effect, const std::string& oldContent, int oldCaret, int oldAnchor)
{
    // What this key inserted gives way first, from its end, so a full field refuses a character instead of
    // dropping the end of the text; when nothing of it fits, the key is refused as a whole.
    if (effect.inserted > 0 && !FitsLimits())
    {
        while (effect.inserted > 0 && !FitsLimits())
        {
            mContent.erase(size_t(effect.insertedAt + effect.inserted - 1), 1);
            effect.inserted--;
            mCaret--;
        }
        if (effect.inserted == 0)
        {
            mContent = oldContent;
            mCaret = oldCaret;
            mAnchor = oldAnchor;
            effect.snapshot = false;
            effect.endSelection = false;
            mRunEnd = kNoRun;
        }
    }
    // Text that was already too long (set from outside, or limits tightened) is cut at its end.
    if (mCharLimit >= 0 && int(mContent.size()) > mCharLimit)
        mContent.resize(size_t(mCharLimit));
    if (mWidthLimits.empty())
    {
        while (mPixelLimit > 0 && !mContent.empty() && EditFont()->TextWidth(mContent) > mPixelLimit)
            mContent.pop_back();
    }
    else
    {
        for (auto& [font, ownLimit] : mWidthLimits)
        {
            int limit = ownLimit > 0 ? ownLimit : mPixelLimit;
            while (limit > 0 && !mContent.empty() && font->TextWidth(mContent) > limit)
                mContent.pop_back();
        }
    }
}

void EditWidget::FinishKey(const KeyEffect& effect, const std::string& oldContent, int oldCaret, int oldAnchor)
{
    const int newLength = int(mContent.size());
    mCaret = std::clamp(mCaret, 0, newLength);
    if (mAnchor > newLength)
        mAnchor = newLength;
    if (mCaret != oldCaret)
    {
        mBlinkTicks = 0;
        mCaretVisible = true;
    }
    ScrollToCaret(true);
    if (effect.endSelection || mAnchor == mCaret)
        mAnchor = -1;

    if (mEditObserver != nullptr && !mEditObserver->AcceptContent(mEditId, mContent))
    {
        mContent = oldContent;
        mCaret = oldCaret;
        mAnchor = oldAnchor;
        ScrollToCaret(false);
    }
    else if (effect.snapshot)
    {
        mUndoContent = oldContent;
        mUndoCaret = oldCaret;
        mUndoAnchor = oldAnchor;
    }
    Invalidate();
}

} // namespace Zestra
