// The options dialog: three volume sliders that act at once (the effects and voice sliders play a sample when let
// go) and three display choices (3D, full screen, own cursors) applied when the dialog is left. From the main menu
// it has one close button; in a day it offers return to game and the main menu (after a confirmation).
#pragma once

#include "framework/widgets/CheckboxListener.h"
#include "framework/widgets/SliderListener.h"
#include "game/menus/DialogMenu.h"

namespace Zestra
{
class Slider;
}
class FancyCheckbox;

class OptionsDialog : public DialogMenu, public Zestra::SliderListener, public Zestra::CheckboxListener
{
public:
    enum ControlId
    {
        kClose = 1, // the close button, or return to game in a day
        kMainMenu,
        kMusicSlider,
        kSoundSlider,
        kVoiceSlider,
        k3DBox,
        kFullScreenBox,
        kCursorsBox,
    };

    OptionsDialog(Zestra::Board* board, bool inGame);

    // The display choices of the three boxes go to the application (the screen mode only changes when they differ
    // from it), and the settings are written.
    void ApplyDisplayChoices();

    void OnAttachedToManager(Zestra::WidgetManager* manager) override;
    using DialogMenu::ButtonPressed;
    void ButtonPressed(int id) override;
    void Paint(Zestra::Graphics& g) override;
    void SliderMoved(int id, double value) override;
    void CheckboxToggled(int id, bool checked) override;

    bool inGame = false;
    Zestra::Slider* musicSlider = nullptr; // the controls are owned by the children
    Zestra::Slider* soundSlider = nullptr;
    Zestra::Slider* voiceSlider = nullptr;
    FancyCheckbox* box3D = nullptr;
    FancyCheckbox* fullScreenBox = nullptr;
    FancyCheckbox* cursorsBox = nullptr;
    Button* closeButton = nullptr;
    Button* mainMenuButton = nullptr; // in a day only

private:
    bool mReadSettings = false;
    void OpenNotice(const char* titleKey, const char* textKey);
};
