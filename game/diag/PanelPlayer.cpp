#include "game/diag/PanelPlayer.h"

#include "framework/platform/Platform.h"
#include "framework/widgets/ButtonWidget.h"
#include "game/app/GameApp.h"
#include "game/app/TitleScreen.h"
#include "game/diag/ScreenPlayer.h"
#include "game/ui/Button.h"
#include "game/menus/LevelCompleteMenu.h"
#include "game/menus/LevelStartBossMenu.h"
#include "game/menus/LevelStartMenu.h"
#include "game/menus/MapMenu.h"
#include "game/minigame/Minigame.h"
#include "game/shopday/Board.h"

namespace
{
constexpr int kScreenCentreX = 400;
constexpr int kScreenCentreY = 300;

// The middle of a live widget, in screen coordinates.
std::optional<PanelClick> Middle(const Zestra::Widget* widget)
{
    if (widget == nullptr || !widget->mShown || widget->mInactive || widget->mManager == nullptr)
        return std::nullopt;
    return PanelClick{widget->mX + widget->mWidth / 2, widget->mY + widget->mHeight / 2};
}
} // namespace

std::optional<PanelClick> ChoosePanelClick(const Menu& menu)
{
    if (!menu.IsSettled())
        return std::nullopt;
    if (auto* start = dynamic_cast<const LevelStartMenu*>(&menu))
        return Middle(start->okButton);
    if (auto* boss = dynamic_cast<const LevelStartBossMenu*>(&menu))
        return Middle(boss->okButton);
    if (auto* result = dynamic_cast<const LevelCompleteMenu*>(&menu))
        return Middle(result->okButton); // never quit: a failed day is tried again
    if (auto* map = dynamic_cast<const MapMenu*>(&menu))
    {
        if (!map->chooseMode)
            return PanelClick{kScreenCentreX, kScreenCentreY};
        for (auto it = map->stores.rbegin(); it != map->stores.rend(); ++it)
            if ((*it)->IsUnlocked())
                return PanelClick{((*it)->left + (*it)->right) / 2, ((*it)->y + (*it)->bottom) / 2};
        return std::nullopt;
    }
    // The main menu and the screens around it.
    if (auto click = ChooseScreenClick(menu))
        return PanelClick{click->x, click->y};
    // Any other menu: its first way on (a confirmation's confirm, a notice's button).
    for (const auto& child : menu.children)
        if (dynamic_cast<const Zestra::ButtonWidget*>(child.get()) != nullptr)
            if (auto click = Middle(child.get()))
                return click;
    return std::nullopt;
}

PanelPlayer::PanelPlayer(Zestra::GameApp& app, EventSink sink) : mApp(app), mSink(std::move(sink))
{
}

void PanelPlayer::Update()
{
    if (mWait > 0)
    {
        --mWait;
        return;
    }
    if (Act())
    {
        ++actions;
        mWait = kThinkTicks;
    }
}

bool PanelPlayer::Act()
{
    // The start screens: a click ends the logo and each splash; the title's Play once loading is done.
    if (mApp.GetLogoScreen() != nullptr || mApp.GetFirstSplash() != nullptr || mApp.GetSecondSplash() != nullptr)
    {
        Click(1, 1);
        return true;
    }
    if (Zestra::TitleScreen* title = mApp.GetTitleScreen(); title != nullptr && mApp.OpenMenus().empty())
    {
        auto click = title->IsPlayShown() ? Middle(title->PlayButton()) : std::nullopt;
        if (click)
            Click(click->x, click->y);
        return click.has_value();
    }
    if (mApp.OpenMenus().empty())
        return false;
    // The upgrade shop's panels and the memory game are the floor player's.
    Menu* top = mApp.OpenMenus().back();
    Zestra::Board* board = mApp.GetBoard();
    const bool shopLesson = board != nullptr && board->Mode() == BoardMode::Tutorial && board->lesson != nullptr &&
                            board->lesson->InShop();
    if (board != nullptr &&
        (board->Mode() == BoardMode::UpgradeShop || shopLesson || top == static_cast<Menu*>(board->DayMinigame())))
        return false;
    auto click = ChoosePanelClick(*top);
    if (click)
        Click(click->x, click->y);
    return click.has_value();
}

void PanelPlayer::Click(int x, int y)
{
    Zestra::PlatformEvent event;
    event.mX = x;
    event.mY = y;
    event.mType = Zestra::PlatformEvent::Type::MouseMove;
    mSink(event);
    event.mClickCode = 1;
    event.mType = Zestra::PlatformEvent::Type::MouseDown;
    mSink(event);
    event.mType = Zestra::PlatformEvent::Type::MouseUp;
    mSink(event);
}
