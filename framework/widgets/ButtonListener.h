// Observer of a push button. Every operation has a do-nothing default, so an observer overrides only what it
// needs; ids are the button ids given at construction.
#pragma once

namespace Zestra
{

class ButtonListener
{
public:
    virtual ~ButtonListener() = default;
    // A mouse button went down on the button; forwards to ButtonPressed(id).
    virtual void ButtonPressed(int id, int clickCount) { ButtonPressed(id); }
    virtual void ButtonPressed(int id) {}
    // The mouse button came up over the button while the application has the focus.
    virtual void ButtonReleased(int id) {}
    // Every update while held with the pointer over it.
    virtual void ButtonHeld(int id) {}
    virtual void ButtonMouseEntered(int id) {}
    virtual void ButtonMouseLeft(int id) {}
    virtual void ButtonMouseMoved(int id, int x, int y) {}
};

} // namespace Zestra
