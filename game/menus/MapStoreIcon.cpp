#include "game/menus/MapStoreIcon.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/menus/MapRules.h"
#include "game/audio/GameSound.h"
#include "game/res/Res.h"

#include <cstdlib>

namespace
{
constexpr int kSmokeCount = 70;
constexpr int kSmokeTicksPerCel = 20;
constexpr int kToolCount = 2;
constexpr int kToolTicksPerCel = 10;

// A random offset below range; a range of 0 or less (a click area smaller than the tool) gives 0.
int RandomBelow(int range)
{
    return range > 0 ? std::rand() % range : 0;
}
} // namespace

MapStoreIcon::MapStoreIcon(const StoreInfo& info, bool unlocked)
    : Component(info.iconX, info.iconY, info.GetImage(unlocked ? "MapIcon" : "MapIconLocked")),
      storeNumber(info.number), left(info.iconLeft), right(info.iconRight), bottom(info.iconBottom),
      overImage(unlocked ? info.GetImage("MapIconOver") : nullptr), lockedImage(info.GetImage("MapIconLocked"))
{
}

bool MapStoreIcon::InArea(int px, int py) const
{
    return left <= px && px < right && y <= py && py < bottom;
}

bool MapStoreIcon::Contains(int px, int py) const
{
    return InArea(px, py) && IsUnlocked();
}

void MapStoreIcon::TrackMouse(int px, int py)
{
    hovered = InArea(px, py);
}

void MapStoreIcon::Draw(Zestra::Graphics& g)
{
    if (!IsBuilding())
    {
        if (hovered && overImage != nullptr)
        {
            g.Blit(overImage, x, y);
            return;
        }
        Component::Draw(g);
        if (hovered && FONT_MEDIUM_LIGHT != nullptr)
        {
            g.SetTypeface(FONT_MEDIUM_LIGHT);
            g.SetInk(Zestra::Color(255, 255, 255));
            g.PrintColored(GetText("store_locked"), (left + right) / 2, (y + bottom) / 2, 0, 0);
        }
        return;
    }
    Component::Draw(g);
    if (overImage != nullptr)
    {
        bool oldTint = g.GetTintImages();
        Zestra::Color oldInk = g.GetInk();
        g.SetTintImages(true);
        g.SetInk(Zestra::Color(255, 255, 255, (kBuildUpdates - constructionCounter) * 255 / kBuildUpdates));
        g.Blit(overImage, x, y);
        g.SetTintImages(oldTint);
        g.SetInk(oldInk);
    }
    for (auto& particle : particles)
        particle->Draw(g);
}

void MapStoreIcon::Update()
{
    if (!IsBuilding())
        return;
    if (constructionCounter == kBuildUpdates)
        PlayGameSound(SOUND_CONSTRUCTION);
    constructionCounter -= 1;
    for (auto& particle : particles)
        particle->Update();
    if (constructionCounter == 0)
    {
        hovered = true;
        PlayGameSound(SOUND_STORE_BUILT);
    }
}

void MapStoreIcon::StartConstruction()
{
    image = lockedImage;
    particles.clear();
    int top = y;
    Zestra::Image* smoke = IMAGE_MENU_STORE_SMOKE.get();
    if (smoke != nullptr)
    {
        int w = smoke->GetCelWidth();
        int h = smoke->GetCelHeight();
        for (int i = 0; i < kSmokeCount; ++i)
        {
            int px = left + RandomBelow(right - left) - w / 2;
            int py = top + RandomBelow(bottom - top) - h / 2;
            particles.push_back(
                std::make_unique<AnimatedComponent>(px, py, smoke, kSmokeTicksPerCel, std::rand()));
        }
    }
    Zestra::Image* saw = IMAGE_MENU_SAW.get();
    if (saw != nullptr)
    {
        int w = saw->GetCelWidth();
        int h = saw->GetCelHeight();
        for (int i = 0; i < kToolCount; ++i)
        {
            int px = RandomBelow(right - w / 4 - left) + left - w / 2;
            int py = RandomBelow(bottom - h / 2 - top) + top - h / 2;
            particles.push_back(std::make_unique<AnimatedComponent>(px, py, saw, kToolTicksPerCel, std::rand()));
        }
    }
    Zestra::Image* hammer = IMAGE_MENU_HAMMER.get();
    if (hammer != nullptr)
    {
        int w = hammer->GetCelWidth();
        int h = hammer->GetCelHeight();
        for (int i = 0; i < kToolCount; ++i)
        {
            int px = RandomBelow(right - left - w) + left;
            int py = RandomBelow(bottom - top) + top - h * 3 / 4;
            particles.push_back(
                std::make_unique<AnimatedComponent>(px, py, hammer, kToolTicksPerCel, std::rand()));
        }
    }
    constructionCounter = kBuildUpdates;
}
