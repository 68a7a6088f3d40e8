// The host's one shared rule: how the menus between the days change songs.
#include "game/ui/MenuHost.h"

#include "framework/sound/MusicInterface.h"

namespace
{
constexpr double kFadeOutSpeed = 0.004;
constexpr double kFadeInSpeed = 0.002;
} // namespace

void MenuHost::PlaySongAlone(int song)
{
    Zestra::MusicInterface* music = Music();
    if (music == nullptr)
        return;
    music->FadeAllOut(true, kFadeOutSpeed);
    if (song >= 0)
        music->FadeSongIn(song, -1, kFadeInSpeed, false);
}
