// Shared helpers of the standard controls.
#include "framework/widgets/ControlSupport.h"

#include "framework/graphics/SysFont.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetHost.h"
#include "framework/widgets/WidgetManager.h"

namespace Zestra
{

WidgetHost* HostOfWidget(const Widget& widget)
{
    return widget.mManager != nullptr ? widget.mManager->mHost : nullptr;
}

void SetAppCursor(const Widget& widget, int kind)
{
    if (WidgetHost* host = HostOfWidget(widget))
        host->SetCursor(kind);
}

std::unique_ptr<Font> CloneFont(const Font* font)
{
    return font != nullptr ? std::unique_ptr<Font>(font->Clone()) : nullptr;
}

Font* EnsureFont(std::unique_ptr<Font>& font, int pointSize)
{
    if (!font)
        font = std::make_unique<SysFont>(kControlFontFace, pointSize);
    return font.get();
}

} // namespace Zestra
