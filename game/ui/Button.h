// The game's push button: a picture button (normal, over and down pictures) that plays the click and highlight
// sounds, and can be drawn greyed. The HUD's buttons turn their sounds off.
#pragma once

#include "framework/widgets/ButtonWidget.h"

class Button : public Zestra::ButtonWidget
{
public:
    static constexpr int kNextId = -1; // take the id from the shared counter

    explicit Button(Zestra::ButtonListener* listener, int id = kNextId);

    // Pictures of the three states (not owned); the button takes the size of the normal one.
    void SetImages(Zestra::Image* normal, Zestra::Image* over, Zestra::Image* down);
    void PlayClickSound() const;
    // The keyboard's press sounds like a click.
    void Activate() override;

    void Paint(Zestra::Graphics& g) override;
    void OnMouseDown(int x, int y, int button, int clickCount) override;
    using ButtonWidget::OnMouseDown;
    void OnMouseEnter() override;

    bool greyed = false; // drawn colourised with grey
    bool sounds = true;
};
