#include "game/minigame/MinigameBonus.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/Localization.h"
#include "game/audio/GameSound.h"
#include "game/res/Res.h"

namespace
{
constexpr int kTextOffsetY = 30;
constexpr int kRiseEvery = 4; // updates per pixel the text rises
} // namespace

MinigameBonus::MinigameBonus(int px, int py, double value, bool right)
    : Component(px, py, IMAGE_MINIGAME_ERROR.get()), value(value), right(right), text(FormatMoney(value)),
      textX(px), textY(py + kTextOffsetY), active(right && value > 0)
{
    if (image != nullptr)
        x = px - image->GetWidth() / 2;
    PlayGameSound(right ? SOUND_CORRECT : SOUND_INCORRECT);
}

void MinigameBonus::Update()
{
    if (!active)
        return;
    counter += 1;
    if (counter >= kFadeEnd)
        active = false;
    if (counter % kRiseEvery == 0)
        textY -= 1;
}

void MinigameBonus::Draw(Zestra::Graphics& g)
{
    if (!right)
    {
        Component::Draw(g);
        return;
    }
    if (!active || FONT_HUD_NUMBERS == nullptr)
        return;
    int alpha = counter <= 0 ? 255 : (kFadeEnd - counter) * 255 / kFadeEnd;
    Zestra::Font* oldFont = g.GetTypeface();
    Zestra::Color oldInk = g.GetInk();
    g.SetTypeface(FONT_HUD_NUMBERS);
    g.SetInk(Zestra::Color(255, 255, 255, alpha));
    g.PrintText(text, textX - FONT_HUD_NUMBERS->TextWidth(text) / 2, textY);
    g.SetTypeface(oldFont);
    g.SetInk(oldInk);
}
