// Observer of a dialog's own buttons (ids 1000 and 1001). Do-nothing defaults.
#pragma once

namespace Zestra
{

class DialogListener
{
public:
    virtual ~DialogListener() = default;
    // A dialog's own button 1000 or 1001 went down.
    virtual void DialogButtonPressed(int dialogId, int buttonId) {}
    // It came up; the dialog's result is set by then.
    virtual void DialogButtonReleased(int dialogId, int buttonId) {}
};

} // namespace Zestra
