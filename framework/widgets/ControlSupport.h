// Small helpers the standard controls share: the host behind a widget, cursor requests, owned font
// clones and the system-font fallback used when a control has text to draw but no font.
#pragma once

#include <memory>

namespace Zestra
{

class Font;
class Widget;
class WidgetHost;

// The face the controls ask for; SysFont falls back to DejaVu Sans where the machine lacks it.
inline constexpr const char* kControlFontFace = "Arial Unicode MS";

// Null while the widget is not attached or its manager has no host (tests, tools).
WidgetHost* HostOfWidget(const Widget& widget);
// Cursor kinds of the application (0 arrow, 1 hand, 2 dragging hand, 3 text beam).
void SetAppCursor(const Widget& widget, int kind);
// An owned clone, or null for null.
std::unique_ptr<Font> CloneFont(const Font* font);
// The font, created as the control face at the given point size when there is none yet.
Font* EnsureFont(std::unique_ptr<Font>& font, int pointSize);

} // namespace Zestra
