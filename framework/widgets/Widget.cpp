// Visibility, enabled state, palette, input callbacks and text helpers of a widget.
#include "framework/widgets/Widget.h"

#include "framework/widgets/WidgetHost.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/WidgetManager.h"

namespace Zestra
{

Widget::~Widget()
{
    // A widget deleted while still linked must not leave dangling pointers behind in its parent or manager.
    if (mParent != nullptr)
        mParent->DetachChild(this);
    for (Widget* child : mChildren)
        child->mParent = nullptr;
}

void Widget::Tick()
{
    mTickCount++;
}

void Widget::OnZOrderChanged() {}

void Widget::SetShown(bool shown)
{
    if (mShown == shown)
        return;
    mShown = shown;
    if (shown)
        Invalidate();
    else
        InvalidateArea();
    if (mManager != nullptr)
        mManager->RefreshPointer();
}

void Widget::SetPalette(const int (*rgbaRows)[4], int count)
{
    mPalette.clear();
    for (int i = 0; i < count; i++)
        mPalette.push_back(Color(rgbaRows[i][0], rgbaRows[i][1], rgbaRows[i][2], rgbaRows[i][3]));
    Invalidate();
}

void Widget::SetPalette(const int (*rgbRows)[3], int count)
{
    mPalette.clear();
    for (int i = 0; i < count; i++)
        mPalette.push_back(Color(rgbRows[i][0], rgbRows[i][1], rgbRows[i][2]));
    Invalidate();
}

void Widget::SetPaletteEntry(int index, const Color& color)
{
    if (index < 0)
        return;
    if (size_t(index) >= mPalette.size())
        mPalette.resize(size_t(index) + 1);
    mPalette[size_t(index)] = color;
    Invalidate();
}

Color Widget::PaletteEntryOr(int index, const Color& fallback) const
{
    if (index < 0 || size_t(index) >= mPalette.size())
        return fallback;
    return mPalette[size_t(index)];
}

Color Widget::PaletteEntry(int index) const
{
    return PaletteEntryOr(index, Color());
}

void Widget::SetInactive(bool inactive)
{
    if (mInactive == inactive)
        return;
    mInactive = inactive;
    if (inactive && mManager != nullptr)
        mManager->ForgetWidget(this);
    Invalidate();
    if (!inactive && mManager != nullptr && mManager->mPointerInside)
    {
        Point abs = AbsolutePosition();
        Rect area(abs.mX, abs.mY, mWidth, mHeight);
        if (area.Contains(mManager->mLastMouseX, mManager->mLastMouseY))
            mManager->PointerAt(mManager->mLastMouseX, mManager->mLastMouseY);
    }
}

void Widget::ShowHandCursor(bool on)
{
    if (mManager != nullptr && mManager->mHost != nullptr)
        mManager->mHost->SetCursor(on ? 1 : 0);
}

void Widget::SetBounds(const Rect& rect)
{
    SetBounds(rect.mX, rect.mY, rect.mWidth, rect.mHeight);
}

void Widget::SetBounds(int x, int y, int width, int height)
{
    if (x == mX && y == mY && width == mWidth && height == mHeight)
        return;
    InvalidateArea();
    mX = x;
    mY = y;
    mWidth = width;
    mHeight = height;
    Invalidate();
    if (mManager != nullptr)
        mManager->RefreshPointer();
}

void Widget::MoveTo(int x, int y)
{
    SetBounds(x, y, mWidth, mHeight);
}

bool Widget::AcceptsFocus() const
{
    return mAcceptsFocus;
}

void Widget::PaintOverlay(Graphics& g, int)
{
    PaintOverlay(g);
}

void Widget::PaintOverlay(Graphics&) {}

void Widget::FocusGained()
{
    mFocused = true;
}

void Widget::FocusLost()
{
    mFocused = false;
}

void Widget::OnChar(char) {}

void Widget::OnKeyDown(int key)
{
    if (key != 9 || mManager == nullptr)
        return;
    Widget* target = mManager->IsKeyDown(16) ? mFocusPrev : mFocusNext;
    if (target != nullptr)
        mManager->FocusWidget(target);
}

void Widget::OnKeyUp(int) {}
void Widget::OnMouseEnter() {}
void Widget::OnMouseLeave() {}
void Widget::OnMouseMove(int, int) {}
void Widget::OnMouseDown(int, int, int, int) {}

namespace
{

// Click code to (button, count): 3 middle; negative right with the count -code; positive left.
void SplitClickCode(int clickCode, int& button, int& count)
{
    if (clickCode == 3)
    {
        button = 2;
        count = 1;
    }
    else if (clickCode < 0)
    {
        button = 1;
        count = -clickCode;
    }
    else
    {
        button = 0;
        count = clickCode;
    }
}

} // namespace

void Widget::OnMouseDown(int x, int y, int clickCode)
{
    int button = 0;
    int count = 0;
    SplitClickCode(clickCode, button, count);
    OnMouseDown(x, y, button, count);
}

void Widget::OnMouseUp(int, int, int, int) {}

void Widget::OnMouseUp(int x, int y, int clickCode)
{
    OnMouseUp(x, y);
    int button = 0;
    int count = 0;
    SplitClickCode(clickCode, button, count);
    OnMouseUp(x, y, button, count);
}

void Widget::OnMouseUp(int, int) {}
void Widget::OnMouseDrag(int, int) {}
void Widget::OnMouseWheel(int) {}

bool Widget::HitsPoint(int, int) const
{
    return true;
}

Rect Widget::DrawCenteredText(Graphics& g, int y, const std::string& text, const Color& color, const Color& shadowColor,
                              int shadowOffset)
{
    Font* font = g.GetTypeface();
    if (font == nullptr)
        return Rect();
    int width = font->TextWidth(text);
    int x = (mWidth - width) / 2;
    g.SetInk(shadowColor);
    g.PrintText(text, x + shadowOffset, y + shadowOffset);
    g.SetInk(color);
    g.PrintText(text, x, y);
    Rect textRect(x, y - font->Ascent(), width, font->Height());
    Rect shadowRect(x + shadowOffset, y - font->Ascent() + shadowOffset, width, font->Height());
    return textRect.Union(shadowRect);
}

Rect Widget::DrawCenteredText(Graphics& g, int y, const std::string& text)
{
    Font* font = g.GetTypeface();
    if (font == nullptr)
        return Rect();
    int width = font->TextWidth(text);
    int x = (mWidth - width) / 2;
    g.PrintText(text, x, y);
    return Rect(x, y - font->Ascent(), width, font->Height());
}

int Widget::DrawTextLine(Graphics& g, const std::string& text, int x, int y, int width, int justify, bool draw,
                         int offset, int length)
{
    bool old = g.GetColorCodes();
    g.SetColorCodes(true);
    int result = g.PrintColored(text, x, y, width, justify, draw, offset, length);
    g.SetColorCodes(old);
    return result;
}

int Widget::DrawWrappedText(Graphics& g, const Rect& rect, const std::string& text, int lineSpacing, int justify)
{
    bool old = g.GetColorCodes();
    g.SetColorCodes(true);
    int result = g.PrintWrapped(rect, text, lineSpacing, justify);
    g.SetColorCodes(old);
    return result;
}

int Widget::MeasureWrappedHeight(Graphics& g, int width, const std::string& text, int lineSpacing)
{
    return g.MeasureWrapped(width, text, lineSpacing);
}

int Widget::CountDigits(int n) const
{
    int digits = 1;
    // Negative numbers are not expected; count the magnitude rather than loop forever or return nonsense.
    long long value = n < 0 ? -static_cast<long long>(n) : n;
    while (value >= 10)
    {
        value /= 10;
        digits++;
    }
    return digits;
}

void Widget::DrawDigitStrip(Graphics& g, int n, int x, int y, Image* strip, int spacing)
{
    if (strip == nullptr || n < 0)
        return;
    int cellWidth = strip->GetWidth() / 10;
    if (cellWidth <= 0)
        return;
    std::string digits = std::to_string(n);
    int penX = x;
    for (char ch : digits)
    {
        int digit = ch - '0';
        g.Blit(strip, penX, y, Rect(digit * cellWidth, 0, cellWidth, strip->GetHeight()));
        penX += cellWidth + spacing;
    }
}

bool Widget::ContainsPoint(int x, int y) const
{
    return x >= mX && x < mX + mWidth && y >= mY && y < mY + mHeight;
}

Rect Widget::MouseHitRect() const
{
    return Bounds().Inset(mHitInsets);
}

void Widget::DeferOverlay(int priority)
{
    if (mManager != nullptr)
        mManager->DeferOverlay(this, priority);
}

} // namespace Zestra
