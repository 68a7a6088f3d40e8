// A node of the widget tree that can be seen and touched: visibility, enabled state, focus, hover and press
// state, a colour palette, the mouse and keyboard callbacks, and a few text drawing helpers.
// Positions are relative to the parent; the manager's children are in screen coordinates.
#pragma once

#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"
#include "framework/widgets/WidgetContainer.h"

#include <string>
#include <vector>

namespace Zestra
{

class Image;

class Widget : public WidgetContainer
{
public:
    Widget() = default;
    ~Widget() override;

    void Tick() override;

    virtual void OnZOrderChanged();
    virtual void SetShown(bool shown);
    // Rows of four ints (red, green, blue, alpha).
    virtual void SetPalette(const int (*rgbaRows)[4], int count);
    // Rows of three ints, alpha 255.
    virtual void SetPalette(const int (*rgbRows)[3], int count);
    virtual void SetPaletteEntry(int index, const Color& color);
    virtual Color PaletteEntryOr(int index, const Color& fallback) const;
    virtual Color PaletteEntry(int index) const;
    virtual void SetInactive(bool inactive);
    virtual void ShowHandCursor(bool on);
    virtual void SetBounds(const Rect& rect);
    virtual void SetBounds(int x, int y, int width, int height);
    virtual void MoveTo(int x, int y);
    virtual bool AcceptsFocus() const;
    // The keyboard in a menu: whether Tab stops at this control, how it shows being chosen, what Return or Space
    // does to it and what Left and Right do (direction -1 or +1). Containers never ask for a control's type.
    virtual bool TakesKeyFocus() const { return false; }
    virtual void SetKeySelected(bool) {}
    virtual void Activate() {}
    virtual void ArrowKey(int) {}
    // While chosen it holds the keyboard focus itself (a text field); Tab in it goes back through mFocusNext and
    // mFocusPrev.
    virtual bool HoldsKeyFocus() const { return false; }
    virtual void PaintOverlay(Graphics& g, int priority);
    virtual void PaintOverlay(Graphics& g);
    virtual void FocusGained();
    virtual void FocusLost();
    virtual void OnChar(char ch);
    virtual void OnKeyDown(int key);
    virtual void OnKeyUp(int key);
    virtual void OnMouseEnter();
    virtual void OnMouseLeave();
    virtual void OnMouseMove(int x, int y);
    // button: 0 left, 1 right, 2 middle.
    virtual void OnMouseDown(int x, int y, int button, int clickCount);
    // Click codes: 1 left, 2 left double, -1 right, -2 right double, 3 middle.
    virtual void OnMouseDown(int x, int y, int clickCode);
    virtual void OnMouseUp(int x, int y, int button, int clickCount);
    virtual void OnMouseUp(int x, int y, int clickCode);
    virtual void OnMouseUp(int x, int y);
    virtual void OnMouseDrag(int x, int y);
    virtual void OnMouseWheel(int delta);
    // Point relative to the widget; irregular shapes override it.
    virtual bool HitsPoint(int x, int y) const;
    virtual Rect DrawCenteredText(Graphics& g, int y, const std::string& text, const Color& color,
                                  const Color& shadowColor, int shadowOffset);
    virtual Rect DrawCenteredText(Graphics& g, int y, const std::string& text);
    virtual int DrawTextLine(Graphics& g, const std::string& text, int x, int y, int width, int justify, bool draw,
                             int offset, int length);
    virtual int DrawWrappedText(Graphics& g, const Rect& rect, const std::string& text, int lineSpacing, int justify);
    virtual int MeasureWrappedHeight(Graphics& g, int width, const std::string& text, int lineSpacing);
    virtual int CountDigits(int n) const;
    // strip: ten equal digit cells 0..9 side by side.
    virtual void DrawDigitStrip(Graphics& g, int n, int x, int y, Image* strip, int spacing);
    // In parent coordinates.
    virtual bool ContainsPoint(int x, int y) const;
    // Relative to the parent, shrunk by mHitInsets.
    virtual Rect MouseHitRect() const;

    // Queues PaintOverlay for the end of the paint pass (or before any top-level widget of higher priority).
    void DeferOverlay(int priority);

    bool mShown = true;
    bool mHittable = true;
    bool mInactive = false;
    bool mFocused = false;
    bool mPressed = false;
    bool mHovered = false;
    bool mHasHoles = false;
    std::vector<Color> mPalette;
    Insets mHitInsets;
    bool mHandCursor = false;
    bool mAcceptsFocus = false;
    Widget* mFocusPrev = nullptr; // Shift+Tab target, not owned
    Widget* mFocusNext = nullptr; // Tab target, not owned
};

} // namespace Zestra
