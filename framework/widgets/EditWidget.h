// A one-line text field: caret and selection, word moves, one level of undo, a masked (password) look,
// character and pixel limits, the clipboard, and text scrolled sideways when it is wider than the field.
// Every key passes the listener's Accept... queries; the fonts are owned clones, the listener is not owned.
#pragma once

#include "framework/widgets/Widget.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Zestra
{

class EditListener;
class Font;

class EditWidget : public Widget
{
public:
    static constexpr int kNoRun = -1000000; // mRunEnd when no typing or deleting run is going on

    EditWidget(int id, EditListener* listener);
    ~EditWidget() override;

    // keyCode for keys, ch for typed characters (the other one 0).
    virtual void ApplyKey(int keyCode, char ch);
    virtual void SelectWordAtCaret();
    // Replaces the font with a clone and the width limits with widthFont (when given).
    virtual void SetEditFont(Font* font, Font* widthFont = nullptr);
    // Selects the whole text with the caret at its end.
    virtual void SetContent(const std::string& text, bool scrollToStart);
    virtual bool IsWordChar(char ch) const;
    // Index of the character gap nearest to x (widget coordinates); y is not used.
    virtual int CharIndexAt(int x, int y);
    virtual void ScrollToCaret(bool bigSteps);
    // A further font the text must fit in, against mPixelLimit.
    void AddWidthLimitFont(Font* font);
    // mMaskedContent when masked, else mContent.
    const std::string& DisplayedText();
    // The field's font, created on demand.
    Font* EditFont();

    void Invalidate() override;
    void Tick() override;
    void Paint(Graphics& g) override;
    void SetBounds(int x, int y, int width, int height) override;
    using Widget::SetBounds;
    bool AcceptsFocus() const override;
    void FocusGained() override;
    bool TakesKeyFocus() const override { return true; }
    bool HoldsKeyFocus() const override { return true; }
    // Return or Space on a chosen field gives it the keyboard focus.
    void Activate() override;
    void FocusLost() override;
    void OnChar(char ch) override;
    void OnKeyDown(int key) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    void OnMouseDown(int x, int y, int button, int clickCount) override;
    using Widget::OnMouseDown;
    void OnMouseUp(int x, int y, int button, int clickCount) override;
    using Widget::OnMouseUp;
    void OnMouseDrag(int x, int y) override;

    int mEditId = 0;
    std::string mContent;       // single-byte characters
    std::string mMaskedContent; // mMaskChar once per character, rebuilt when the lengths differ
    std::unique_ptr<Font> mEditFont;
    std::vector<std::pair<std::unique_ptr<Font>, int>> mWidthLimits; // limit -1: use mPixelLimit
    EditListener* mEditObserver = nullptr;
    bool mCaretVisible = false;
    bool mForceSelectionLook = false;
    bool mWordSelectPending = false;
    int mCaret = 0;   // insertion index 0..length
    int mAnchor = -1; // other end of the selection; -1 = none
    int mBlinkTicks = 0;
    int mBlinkPeriod = 40; // updates per blink phase
    int mFirstVisible = 0;
    int mCharLimit = -1;  // -1 = none
    int mPixelLimit = -1; // -1 or 0 = none
    char mMaskChar = 0;   // 0 = plain
    std::string mUndoContent;
    int mUndoCaret = 0;
    int mUndoAnchor = 0;
    // Where the current typing or deleting run stands; a key continuing the run takes no new undo snapshot.
    // Any other action ends the run.
    int mRunEnd = kNoRun;

private:
    // One handler per kind of key; ApplyKey picks it and then applies the limits and the undo step.
    struct KeyEffect;
    void CopyOrCut(bool cut, KeyEffect& effect);
    void Paste(KeyEffect& effect);
    void Undo(KeyEffect& effect);
    void Backspace(KeyEffect& effect);
    void DeleteForward(KeyEffect& effect);
    void Submit();
    void MoveCaretToEnd(bool end);
    void MoveCaretLeft(bool ctrl, bool shift);
    void MoveCaretRight(bool ctrl, bool shift);
    void TypeCharacter(char ch, KeyEffect& effect);
    void EnforceLimits(KeyEffect& effect, const std::string& oldContent, int oldCaret, int oldAnchor);
    void FinishKey(const KeyEffect& effect, const std::string& oldContent, int oldCaret, int oldAnchor);
    bool HasSelection() const { return mAnchor != -1 && mAnchor != mCaret; }
    void DeleteSelection();
    // Width of the first `count` displayed characters minus that of the first mFirstVisible.
    int PixelOffset(int count);
    bool CanInsert(unsigned char ch);
    bool FitsLimits();
};

} // namespace Zestra
