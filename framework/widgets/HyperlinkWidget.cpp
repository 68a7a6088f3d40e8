// Drawing of the text link.
#include "framework/widgets/HyperlinkWidget.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"

namespace Zestra
{

HyperlinkWidget::HyperlinkWidget(int id, ButtonListener* listener) : ButtonWidget(id, listener)
{
    mHandCursor = true;
}

void HyperlinkWidget::Paint(Graphics& g)
{
    Font* font = CaptionFont(10);
    if (font == nullptr)
        return;
    int textWidth = font->TextWidth(mCaption);
    int x = (mWidth - textWidth) / 2;
    int y = (font->Ascent() + mHeight) / 2 - 1;
    g.SetTypeface(font);
    g.SetInk(LooksHovered() ? mLinkHoverColor : mLinkColor);
    g.PrintText(mCaption, x, y);
    for (int i = 0; i < mUnderlineThickness; i++)
        g.FillBox(x, y + mUnderlineGap + i, textWidth, 1);
}

void HyperlinkWidget::OnMouseEnter()
{
    ButtonWidget::OnMouseEnter();
    InvalidateArea();
}

void HyperlinkWidget::OnMouseLeave()
{
    ButtonWidget::OnMouseLeave();
    InvalidateArea();
}

} // namespace Zestra
