// A main-menu button that slides in from the side with one bounce, and answers clicks only once it has landed.
// It keeps sliding while the application is inactive. Its pictures carry no words: the label, a text of the data,
// is written beside the hanger drawn at the picture's left.
#pragma once

#include "game/menus/SlideIn.h"
#include "game/ui/Button.h"

#include "framework/graphics/Rect.h"

#include <string>

namespace Zestra
{
class Font;
}

class MainMenuButton : public Button
{
public:
    static constexpr double kSpeed = -28; // pixels per update
    static constexpr int kLandingCentreX = 425;
    static constexpr double kOvershoot = 2; // to the left of the landing place

    explicit MainMenuButton(Zestra::ButtonListener* listener, int id = kNextId);

    // Starts the slide from startX (screen pixels) towards its landing place; needs the button's size.
    void StartSlide(double startX);
    bool Landed() const { return slide.Settled(); }
    // One update's worth (step 1) or a fraction of one; moves the button and enables it on landing.
    void AdvanceSlide(double step);

    // Where the label goes on the picture (button pixels).
    Zestra::Rect LabelBox() const;

    void Tick() override;
    void TickFraction(double step) override;
    void Paint(Zestra::Graphics& g) override;

    SlideIn slide; // x position, speed and target x
    std::string label;
    Zestra::Font* labelFont = nullptr; // the menu gives all its buttons one font
};
