// Observer of a one-line text field. The Accept... queries default to true, so an observer overrides only what
// it needs to refuse.
#pragma once

#include <string>

namespace Zestra
{

class EditListener
{
public:
    virtual ~EditListener() = default;
    // Return was pressed.
    virtual void EditSubmitted(int id, const std::string& text) {}
    // Before a key other than a letter is applied.
    virtual bool AcceptKey(int id, int keyCode) { return true; }
    // Before a typed or pasted character is inserted.
    virtual bool AcceptChar(int id, char ch) { return true; }
    // After every key; false undoes what the key did.
    virtual bool AcceptContent(int id, const std::string& text) { return true; }
};

} // namespace Zestra
