// The sliding main-menu button.
#include "game/menus/MainMenuButton.h"

#include "framework/app/ZestraAppBase.h"
#include "framework/graphics/Graphics.h"
#include "framework/widgets/ControlSupport.h"
#include "game/menus/TextInBox.h"

namespace
{
// The hanger takes the left of the picture; a pressed picture is drawn this much lower.
constexpr int kHangerWidth = 44;
constexpr int kRightMargin = 14;
constexpr int kTopMargin = 2;
constexpr int kBottomMargin = 8;
constexpr int kPressedDrop = 2;
} // namespace

MainMenuButton::MainMenuButton(Zestra::ButtonListener* listener, int id) : Button(listener, id) {}

Zestra::Rect MainMenuButton::LabelBox() const
{
    return Zestra::Rect(kHangerWidth, kTopMargin, mWidth - kHangerWidth - kRightMargin,
                        mHeight - kTopMargin - kBottomMargin);
}

void MainMenuButton::Paint(Zestra::Graphics& g)
{
    Button::Paint(g);
    Zestra::Rect box = LabelBox();
    if (IsHeldDown() != mSwapPressed)
        box.mY += kPressedDrop;
    DrawTextInBox(g, label, box, {labelFont}, Zestra::Color::White);
}

void MainMenuButton::StartSlide(double startX)
{
    slide = SlideIn(startX, kSpeed, kLandingCentreX - mWidth / 2, kOvershoot, SlideIn::Turn::PastOvershoot);
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
    return app != nullptr && app->Clock().mRefreshPacing;
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
