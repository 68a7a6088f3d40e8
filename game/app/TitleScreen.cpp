#include "game/app/TitleScreen.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/ButtonWidget.h"
#include "game/app/GameApp.h"
#include "game/menus/EnterNameMenu.h"
#include "game/profile/ProfileTable.h"
#include "game/res/Res.h"

#include <algorithm>
#include <cmath>

namespace Zestra
{

namespace
{
constexpr int kLogoY = 125;
constexpr int kLoadingY = 470;
constexpr int kBarY = 520;
constexpr int kPlayY = 460;

int CentredX(const Image* image, int width)
{
    return (width - image->GetWidth()) / 2;
}

} // namespace

TitleScreen::TitleScreen(GameApp& app) : mApp(app)
{
    SetBounds(0, 0, 800, 600);
}

TitleScreen::~TitleScreen()
{
    if (mPlayButton && mPlayButton->mParent != nullptr)
        mPlayButton->mParent->DetachChild(mPlayButton.get());
}

int TitleScreen::BarFillWidth(double progress, int baseWidth)
{
    if (!(progress > 0))
        return 0;
    return int(std::min(progress, 1.0) * baseWidth);
}

void TitleScreen::OnAttachedToManager(WidgetManager* manager)
{
    if (!mPlayButton)
    {
        auto play = std::make_unique<ButtonWidget>(kPlayButtonId, this);
        play->mFaceImage = IMAGE_PLAY_GAME_UP.get();
        play->mHoverImage = IMAGE_PLAY_GAME_OVER.get();
        play->mPressImage = IMAGE_PLAY_GAME_DOWN.get();
        play->mHandCursor = true;
        int width = play->mFaceImage != nullptr ? play->mFaceImage->GetWidth() : 0;
        int height = play->mFaceImage != nullptr ? play->mFaceImage->GetHeight() : 0;
        play->SetBounds(400 - width / 2, kPlayY, width, height);
        mPlayButton = std::move(play);
        mPlayButton->SetShown(false);
        AttachChild(mPlayButton.get());
    }
    Widget::OnAttachedToManager(manager);
}

bool TitleScreen::IsPlayShown() const
{
    return mPlayButton && mPlayButton->mShown;
}

void TitleScreen::ShowPlay()
{
    if (mPlayButton)
        mPlayButton->SetShown(true);
    Invalidate();
}

void TitleScreen::Tick()
{
    Widget::Tick();
    // The loading thread only counts; the screen looks at the count and repaints when the bar has grown.
    if (IsPlayShown() || !IMAGE_LOADER_BAR_BASE)
        return;
    int fill = BarFillWidth(mApp.GetLoadingProgress(), IMAGE_LOADER_BAR_BASE->GetWidth());
    if (fill != mDrawnFill)
        Invalidate();
}

void TitleScreen::Paint(Graphics& g)
{
    if (Image* background = IMAGE_TITLE_BACKGROUND.get())
        g.Blit(background, 0, 0);
    if (Image* logo = IMAGE_VELMORA_LOGO.get())
        g.Blit(logo, CentredX(logo, mWidth), kLogoY);
    if (IsPlayShown())
        return;
    Image* base = IMAGE_LOADER_BAR_BASE.get();
    if (base != nullptr)
    {
        int x = CentredX(base, mWidth);
        g.Blit(base, x, kBarY);
        mDrawnFill = BarFillWidth(mApp.GetLoadingProgress(), base->GetWidth());
        Image* top = IMAGE_LOADER_BAR_TOP.get();
        if (top != nullptr && mDrawnFill > 0)
            g.Blit(top, x, kBarY, Rect(0, 0, std::min(mDrawnFill, top->GetWidth()), top->GetHeight()));
    }
    if (Image* loading = IMAGE_LOADING.get())
        g.Blit(loading, CentredX(loading, mWidth), kLoadingY);
}

void TitleScreen::ButtonPressed(int id)
{
    if (id != kPlayButtonId || !IsPlayShown())
        return;
    // A first run has nobody to play for: the name entry comes first and starts the game once a name is given.
    const Profile* player = GetProfile(GetSelectedProfile());
    if (player == nullptr || player->name.empty())
    {
        GameApp* app = &mApp;
        mApp.AddMenu(std::make_unique<EnterNameMenu>([app] { app->StartGame(); }));
        return;
    }
    mApp.StartGame();
}

} // namespace Zestra
