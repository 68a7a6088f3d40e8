#include "game/app/LogoBall.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "game/audio/GameSound.h"
#include "game/res/Res.h"

namespace
{
constexpr double kGravity = 0.1;            // added to the vertical speed per update
constexpr int kSquashLengths[3] = {6, 7, 5}; // per bounce; a squash lasts three times its length
constexpr double kRestY = 304;
} // namespace

LogoBall::LogoBall(Zestra::Image* picture)
    : Component(-340, 650, picture), exactX(-340), speedX(4.41), exactY(650), speedY(-9.6)
{
}

void LogoBall::UpdateFraction(double step)
{
    justSquashed = false;
    if (speedX == 0)
        return;
    exactX += speedX * step * (IsSquashing() ? 0.5 : 1.0);
    x = static_cast<int>(exactX);
    // While squashed the ball only slides on; a letter it sits on may carry its drawn height.
    if (!IsSquashing())
    {
        exactY += speedY * step;
        speedY += kGravity * step;
        if (speedY > 0 && bouncesDone < 3 && exactY >= kFloors[bouncesDone])
        {
            squashCounter = 0;
            squashLength = kSquashLengths[bouncesDone];
            justSquashed = true;
            if (bouncesDone == 2)
            {
                exactY = kRestY;
                speedX = 0;
                speedY = 0;
                PlayGameSound(SOUND_LOGO_LAND);
            }
            else
            {
                PlayGameSound(SOUND_LOGO_BOUNCE);
            }
            ++bouncesDone;
        }
        y = static_cast<int>(exactY);
    }
}

void LogoBall::Update()
{
    if (!IsSquashing())
        return;
    if (++squashCounter < 3 * squashLength)
        return;
    squashCounter = -1;
    // A letter carrying the ball may have moved the drawn position; the jump starts from where it is seen.
    exactY = y;
    if (bouncesDone == 1)
    {
        speedX = 2.76;
        speedY = -2.8;
    }
    else if (bouncesDone == 2)
    {
        speedX = 1.98;
        speedY = -3.4;
    }
}

int LogoBall::CurrentCel() const
{
    if (!IsSquashing() || squashLength <= 0)
        return 0;
    return (squashCounter / squashLength) % 2 + 1;
}

double LogoBall::CentreX() const
{
    const Zestra::Image* picture = GetImage();
    return x + (picture != nullptr ? picture->GetCelWidth() / 2 : 0);
}

double LogoBall::CentreY() const
{
    const Zestra::Image* picture = GetImage();
    return y + (picture != nullptr ? picture->GetCelHeight() / 2 : 0);
}

void LogoBall::Draw(Zestra::Graphics& g)
{
    if (Zestra::Image* picture = GetImage())
        g.BlitCell(picture, x, y, CurrentCel());
}
