// Slide-in, title and buttons of the dialog-box menu.
#include "game/menus/DialogMenu.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/res/Res.h"
#include "game/ui/Button.h"

using namespace Zestra;

namespace
{
constexpr double kStartY = 600; // just below the screen
constexpr double kSpeed = -30;  // pixels per update
constexpr double kOvershoot = 6;
constexpr int kTitleBaseline = 35;
} // namespace

DialogMenu::DialogMenu(Board* board, Image* image, const std::string& title)
    : Menu(board, image, true, true, true), title(title), slide(kStartY, kSpeed, mY, kOvershoot)
{
    // It enters from below the screen.
    MoveTo(mX, int(slide.position));
}

Button* DialogMenu::AddDialogButton(const std::string& label, int centreX, int y, int id)
{
    return AddButton(label, centreX, y, IMAGE_MENU_DIALOG_BUTTON_NORMAL.get(), IMAGE_MENU_DIALOG_BUTTON_DOWN.get(),
                     IMAGE_MENU_DIALOG_BUTTON_OVER.get(), id);
}

void DialogMenu::OnAttachedToManager(WidgetManager* manager)
{
    Menu::OnAttachedToManager(manager);
    // The children answer no clicks until the menu has landed.
    if (!slide.Settled())
        SetChildrenInactive(true);
}

void DialogMenu::AdvanceSlide(double step)
{
    if (slide.Settled())
        return;
    bool settled = slide.Advance(step);
    MoveTo(mX, int(slide.position));
    if (settled)
        SetChildrenInactive(false);
}

// Unlike the day's panels, a dialog goes on sliding while the application is inactive.
void DialogMenu::Tick()
{
    Menu::Tick();
    if (!FractionalUpdates())
        AdvanceSlide(1.0);
}

void DialogMenu::TickFraction(double step)
{
    Menu::TickFraction(step);
    if (FractionalUpdates())
        AdvanceSlide(step);
}

void DialogMenu::Paint(Graphics& g)
{
    Menu::Paint(g);
    if (title.empty() || FONT_MEDIUM_DARK == nullptr)
        return;
    g.SetTypeface(FONT_MEDIUM_DARK);
    g.SetInk(Color::White);
    DrawCenteredText(g, kTitleBaseline, title);
}

void DialogMenu::DrawBodyText(Graphics& g, const Rect& area, const std::string& text)
{
    if (text.empty() || FONT_MEDIUM_LIGHT == nullptr)
        return;
    g.SetTypeface(FONT_MEDIUM_LIGHT);
    g.SetInk(Color::White);
    DrawWrappedText(g, area, text, FONT_MEDIUM_LIGHT->LineSpacing(), 0);
}
