// Observer of a slider. Do-nothing default.
#pragma once

namespace Zestra
{

class SliderListener
{
public:
    virtual ~SliderListener() = default;
    // value 0..1
    virtual void SliderMoved(int id, double value) {}
};

} // namespace Zestra
