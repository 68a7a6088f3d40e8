// The sliding main-menu button.
#include "game/menus/MainMenuButton.h"

#include "framework/app/ZestraAppBase.h"
#include "framework/widgets/ControlSupport.h"

MainMenuButton::MainMenuButton(Zestra::ButtonListener* listener, int id) : Button(listener, id) {}

void MainMenuButton::StartSlide(double startX)
{
    slide = SlideIn(startX, kSpeed, kLandingCentreX - mWidth / 2, kOvershoot);
    MoveTo(int(startX), mY);
    SetInactive(true);
}

void MainMenuButton::AdvanceSlide(double step)
{
    if (slide.Settled())
        return;
    bool landed = slide.Advance(step);
    MoveTo(int(slide.position), mY);
    if (landed)
        SetInactive(false);
}

namespace
{
// The slide advances in the fractional updates when the application runs them, else in the fixed ones.
bool FractionalUpdates(const Zestra::Widget& widget)
{
    Zestra::ZestraAppBase* app = Zestra::AppOf(widget);
    return app != nullptr && app->mRefreshPacing;
}
} // namespace

void MainMenuButton::Tick()
{
    Button::Tick();
    if (!FractionalUpdates(*this))
        AdvanceSlide(1.0);
}

void MainMenuButton::TickFraction(double step)
{
    Button::TickFraction(step);
    if (FractionalUpdates(*this))
        AdvanceSlide(step);
}
