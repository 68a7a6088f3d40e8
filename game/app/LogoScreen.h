// The studio logo: five letters drop in one after another, a ball bounces across them (knocking the second and
// fourth), draws a trail behind it and comes to rest by the trademark sign. The screen ends on its 501st update
// or on a left click, and the application moves on to the first splash picture.
#pragma once

#include "framework/widgets/Widget.h"
#include "game/app/LogoBall.h"
#include "game/app/LogoLetter.h"

#include <array>
#include <memory>

namespace Zestra
{

class GameApp;

class LogoScreen : public Widget
{
public:
    static constexpr int kLetterCount = 5;
    static constexpr int kLastUpdate = 501;

    explicit LogoScreen(GameApp& app);
    ~LogoScreen() override;

    void Tick() override;
    void TickFraction(double step) override;
    void Paint(Graphics& g) override;
    void OnMouseDown(int x, int y, int clickCode) override;

    LogoLetter& Letter(int index) { return *mLetters[size_t(index)]; }
    LogoBall* Ball() const { return mBall.get(); }
    int UpdateCount() const { return mUpdateCount; }

private:
    void End();

    std::array<std::unique_ptr<LogoLetter>, kLetterCount> mLetters;
    std::unique_ptr<LogoBall> mBall;
    int mUpdateCount = 0;
    bool mEnded = false;
    GameApp& mApp;
};

} // namespace Zestra
