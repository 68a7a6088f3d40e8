// Observer of a check box. Do-nothing default.
#pragma once

namespace Zestra
{

class CheckboxListener
{
public:
    virtual ~CheckboxListener() = default;
    virtual void CheckboxToggled(int id, bool checked) {}
};

} // namespace Zestra
