// The title screen: the street picture with the game's logo and, while the loading thread works, a loading bar
// that fills with the progress counters. Once loading has finished the bar gives way to the Play button, which
// starts the game.
#pragma once

#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/Widget.h"

#include <memory>

namespace Zestra
{

class GameApp;

class TitleScreen : public Widget, public ButtonListener
{
public:
    static constexpr int kPlayButtonId = 1;

    explicit TitleScreen(GameApp& app);
    ~TitleScreen() override;

    void OnAttachedToManager(WidgetManager* manager) override;
    void Tick() override;
    void Paint(Graphics& g) override;
    using ButtonListener::ButtonPressed;
    void ButtonPressed(int id) override;

    // Loading has finished: the bar makes way for the Play button.
    void ShowPlay();
    bool IsPlayShown() const;
    Widget* PlayButton() const { return mPlayButton.get(); }
    // Width in pixels of the filled part of the loading bar for a progress of 0..1; never beyond the base.
    static int BarFillWidth(double progress, int baseWidth);

private:
    std::unique_ptr<Widget> mPlayButton;
    int mDrawnFill = -1; // the bar width last painted, so progress repaints only when the bar grows
    GameApp& mApp;
};

} // namespace Zestra
