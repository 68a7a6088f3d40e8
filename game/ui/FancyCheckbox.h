// The game's check box: the menu check-box pictures, lit while the pointer is over it (or the keyboard has chosen
// it), with the highlight and click sounds.
#pragma once

#include "framework/widgets/Checkbox.h"

class FancyCheckbox : public Zestra::Checkbox
{
public:
    static constexpr int kNextId = -1; // take the id from the shared counter

    explicit FancyCheckbox(Zestra::CheckboxListener* listener, int id = kNextId);

    void Paint(Zestra::Graphics& g) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    void OnMouseDown(int x, int y, int button, int clickCount) override;
    using Checkbox::OnMouseDown;
    // Sounds like a click once it has changed.
    void Activate() override;
};
