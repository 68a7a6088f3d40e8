// A dialog-box menu: centred over the darkened board, keeping the focus, with a title at its top. It slides in
// from below with one bounce, even while the application is inactive, and its children answer no clicks until
// it has settled.
#pragma once

#include "game/ui/Menu.h"
#include "game/menus/SlideIn.h"

#include <string>

class DialogMenu : public Menu
{
public:
    DialogMenu(Zestra::Board* board, Zestra::Image* image, const std::string& title);

    // A button with the dialog-button pictures, centred on centreX with its top at y (menu pixels).
    Button* AddDialogButton(const std::string& label, int centreX, int y, int id = kNextId);
    // Advances the slide-in by one update (step 1) or a fraction of one; enables the children once settled.
    void AdvanceSlide(double step);
    bool IsSettled() const override { return slide.Settled(); }

    void OnAttachedToManager(Zestra::WidgetManager* manager) override;
    void Tick() override;
    void TickFraction(double step) override;
    void Paint(Zestra::Graphics& g) override;

    std::string title;
    SlideIn slide;

protected:
    // Draws text word-wrapped in the light menu font inside the rectangle (menu pixels).
    void DrawBodyText(Zestra::Graphics& g, const Zestra::Rect& area, const std::string& text);
};
