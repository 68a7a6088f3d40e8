// Key codes the controls react to: the virtual-key numbers the platform layer delivers, and the control
// characters that Ctrl+C, Ctrl+X, Ctrl+V and Ctrl+Z type.
#pragma once

namespace Zestra
{

enum KeyCode
{
    KEY_BACKSPACE = 8,
    KEY_TAB = 9,
    KEY_RETURN = 13,
    KEY_SHIFT = 16,
    KEY_CONTROL = 17,
    KEY_ESCAPE = 27,
    KEY_SPACE = 32,
    KEY_END = 35,
    KEY_HOME = 36,
    KEY_LEFT = 37,
    KEY_UP = 38,
    KEY_RIGHT = 39,
    KEY_DOWN = 40,
    KEY_DELETE = 46,
    KEY_A = 65,
    KEY_Z = 90,
};

enum ControlChar
{
    CHAR_COPY = 3,
    CHAR_PASTE = 22,
    CHAR_CUT = 24,
    CHAR_UNDO = 26,
};

} // namespace Zestra
