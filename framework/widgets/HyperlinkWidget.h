// A text link: a button drawn as its caption, underlined, in one colour or another under the pointer.
#pragma once

#include "framework/graphics/Color.h"
#include "framework/widgets/ButtonWidget.h"

namespace Zestra
{

class HyperlinkWidget : public ButtonWidget
{
public:
    HyperlinkWidget(int id, ButtonListener* listener);

    void Paint(Graphics& g) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;

    Color mLinkColor{255, 255, 255};
    Color mLinkHoverColor{255, 255, 255};
    int mUnderlineThickness = 1;
    int mUnderlineGap = 3; // pixels from the baseline to the first underline row
};

} // namespace Zestra
