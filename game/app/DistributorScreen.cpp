#include "game/app/DistributorScreen.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/app/GameApp.h"

namespace Zestra
{

DistributorScreen::DistributorScreen(GameApp& app, const std::string& pictureName)
    : mPicture(app.GetImage(pictureName, true)), mApp(app)
{
    SetBounds(0, 0, 800, 600);
}

DistributorScreen::~DistributorScreen() = default;

void DistributorScreen::Tick()
{
    Widget::Tick();
    if (mEnded)
        return;
    if (!mPicture || ++mUpdateCount >= kLastUpdate)
        End();
}

void DistributorScreen::OnMouseDown(int x, int y, int clickCode)
{
    if (clickCode == 1 || clickCode == 2)
        End();
}

void DistributorScreen::End()
{
    if (mEnded)
        return;
    mEnded = true;
    mApp.ShowNextSplash();
}

void DistributorScreen::Paint(Graphics& g)
{
    if (mPicture)
        g.Blit(mPicture.get(), 0, 0);
    else
    {
        g.SetInk(Color(0, 0, 0));
        g.FillBox(0, 0, mWidth, mHeight);
    }
}

} // namespace Zestra
