#include "game/app/LogoScreen.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/app/GameApp.h"
#include "game/res/Res.h"

#include <algorithm>

namespace Zestra
{

namespace
{
constexpr int kLetterX[LogoScreen::kLetterCount] = {130, 218, 302, 393, 484};
constexpr int kCreatedByY = 170;
// The trail runs level from x 171 to 579 (its first 408 pixels), then turns down after the resting ball.
constexpr int kTrailX = 171;
constexpr int kTrailY = 227;
constexpr int kTrailLevelWidth = 408;
constexpr int kTrailTurnX = 579;
constexpr int kTrailTurnCentre = 580;
// Where the ball knocks a letter: which letter after which bounce, and how far it moves.
struct Knock
{
    int letter;
    int dx;
    int dy;
};
constexpr Knock kKnocks[2] = {{1, -4, 5}, {3, -6, 17}};
} // namespace

LogoScreen::LogoScreen(GameApp& app) : mApp(app)
{
    SetBounds(0, 0, 800, 600);
    if (IMAGE_LOGO_BALL)
        IMAGE_LOGO_BALL->SetCelGrid(1, 3);
    Image* pictures[kLetterCount] = {IMAGE_LOGO_LETTER_1.get(), IMAGE_LOGO_LETTER_2.get(), IMAGE_LOGO_LETTER_3.get(),
                                     IMAGE_LOGO_LETTER_4.get(), IMAGE_LOGO_LETTER_5.get()};
    Image* tilted[kLetterCount] = {nullptr, IMAGE_LOGO_LETTER_2_TILTED.get(), nullptr,
                                   IMAGE_LOGO_LETTER_4_TILTED.get(), nullptr};
    for (int i = 0; i < kLetterCount; ++i)
        mLetters[size_t(i)] = std::make_unique<LogoLetter>(kLetterX[i], pictures[i], tilted[i]);
    mLetters[0]->StartFalling();
}

LogoScreen::~LogoScreen() = default;

void LogoScreen::TickFraction(double step)
{
    if (mEnded)
        return;
    for (int i = 0; i < kLetterCount; ++i)
    {
        LogoLetter& letter = *mLetters[size_t(i)];
        letter.UpdateFraction(step);
        if (!letter.HasLanded() || i + 1 >= kLetterCount)
            continue;
        mLetters[size_t(i + 1)]->StartFalling();
        if (i == 0 && !mBall)
            mBall = std::make_unique<LogoBall>(IMAGE_LOGO_BALL.get());
    }
    if (mBall)
    {
        mBall->UpdateFraction(step);
        if (mBall->JustSquashed() && mBall->bouncesDone <= 2)
        {
            const Knock& knock = kKnocks[mBall->bouncesDone - 1];
            mLetters[size_t(knock.letter)]->PushedByBall(*mBall, knock.dx, knock.dy);
        }
    }
    Invalidate();
}

void LogoScreen::Tick()
{
    Widget::Tick();
    if (mEnded)
        return;
    if (mBall)
        mBall->Update();
    if (++mUpdateCount >= kLastUpdate)
        End();
}

void LogoScreen::OnMouseDown(int x, int y, int clickCode)
{
    if (clickCode == 1 || clickCode == 2)
        End();
}

void LogoScreen::End()
{
    if (mEnded)
        return;
    mEnded = true;
    mApp.ShowFirstSplash();
}

void LogoScreen::Paint(Graphics& g)
{
    g.SetInk(Color(255, 255, 255));
    g.FillBox(0, 0, mWidth, mHeight);
    if (Image* createdBy = IMAGE_LOGO_CREATED_BY.get())
        g.Blit(createdBy, (mWidth - createdBy->GetWidth()) / 2, kCreatedByY);
    for (int i = kLetterCount - 1; i >= 0; --i)
        mLetters[size_t(i)]->Draw(g);
    if (!mBall)
        return;
    LogoBall& ball = *mBall;
    Image* trail = IMAGE_LOGO_TRAIL.get();
    const int centreX = int(ball.CentreX());
    if (trail != nullptr && centreX > kTrailX)
    {
        int level = std::min({centreX - kTrailX, kTrailLevelWidth, trail->GetWidth()});
        g.Blit(trail, kTrailX, kTrailY, Rect(0, 0, level, trail->GetHeight()));
        if (centreX >= kTrailTurnCentre && trail->GetWidth() > kTrailLevelWidth)
        {
            int height = std::clamp(int(ball.CentreY()) - kTrailY, 0, trail->GetHeight());
            if (height > 0)
                g.Blit(trail, kTrailTurnX, kTrailY,
                       Rect(kTrailLevelWidth, 0, trail->GetWidth() - kTrailLevelWidth, height));
        }
    }
    Image* ballPicture = ball.GetImage();
    Image* trademark = IMAGE_LOGO_TRADEMARK.get();
    if (ball.IsResting() && trademark != nullptr && ballPicture != nullptr)
        g.Blit(trademark, ball.x + ballPicture->GetCelWidth() - 15,
               ball.y + ballPicture->GetCelHeight() - trademark->GetHeight() - 5);
    ball.Draw(g);
}

} // namespace Zestra
