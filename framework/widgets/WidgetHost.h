// What the widget tree needs of the application that runs it: the cursor, the clipboard, the display mode, and
// the nested loop a dialog waits in. The application implements it; a widget manager made without a host (tests,
// tools) does without all of these.
#pragma once

#include <string>

namespace Zestra
{

class Widget;

class WidgetHost
{
public:
    virtual ~WidgetHost() = default;

    // Cursor kinds: 0 arrow, 1 hand, 2 dragging hand, 3 text beam.
    virtual void SetCursor(int kind) = 0;
    virtual bool Is3D() const = 0;
    virtual std::string GetClipboardText() = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    // False when text fields take only characters below 128.
    virtual bool AcceptsHighCharacters() const = 0;

    // A dialog waiting for its answer runs the loop one step at a time (false once the application quits) at a
    // deeper nesting; while noted, it survives its own deferred deletion until the wait is over.
    virtual int NestingDepth() const = 0;
    virtual bool StepApp(bool* updated) = 0;
    virtual void NoteAwaitingWidget(Widget* widget, int depth) = 0;
    virtual void ForgetAwaitingWidget(Widget* widget) = 0;
    virtual bool RemoveDialog(int id) = 0;

protected:
    WidgetHost() = default;
    WidgetHost(const WidgetHost&) = default;
    WidgetHost& operator=(const WidgetHost&) = default;
};

} // namespace Zestra
