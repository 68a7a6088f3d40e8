#include "game/menus/MapMenu.h"

#include "framework/app/ZestraAppBase.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/sound/MusicInterface.h"
#include "framework/widgets/ControlSupport.h"
#include "framework/widgets/WidgetManager.h"
#include "game/ui/MenuHost.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/profile/GameState.h"
#include "game/profile/ProfileTable.h"
#include "game/res/Res.h"
#include "game/scene/Component.h"
#include "game/shopday/Board.h"

namespace
{
constexpr double kMusicFadeOut = 0.004;
constexpr double kMusicFadeIn = 0.002;
constexpr int kIrisStepUpdates = 4;
constexpr double kIrisEndFactor = 1.2;       // of the menu width
constexpr uint32_t kSeeThrough = 0xFFFF00FF; // magenta: the iris punches these pixels out of the snapshot
constexpr int kTitleBaseline = 28;
constexpr int kDayBaseline = 54; // a line of the title's font below it
constexpr int kCentreTextX = 400, kCentreTextY = 270;
constexpr int kScreenWidth = 800, kScreenHeight = 600;
constexpr int kCursorArrow = 0, kCursorHand = 1;

Zestra::Image* IconImage(MonthIcon icon)
{
    switch (icon)
    {
    case MonthIcon::Complete:
        return IMAGE_MENU_COMPLETE_ICON.get();
    case MonthIcon::ExpertComplete:
        return IMAGE_MENU_EXPERT_COMPLETE_ICON.get();
    case MonthIcon::MinigameComplete:
        return IMAGE_MENU_COMPLETE_MINIGAME_ICON.get();
    case MonthIcon::NotComplete:
        break;
    }
    return IMAGE_MENU_NOT_COMPLETE_ICON.get();
}

// The pixels the iris covered become fully transparent.
void PunchSeeThrough(Zestra::MemoryImage& image)
{
    uint32_t* bits = image.GetBits();
    int count = image.GetWidth() * image.GetHeight();
    for (int i = 0; i < count; ++i)
        if (bits[i] == kSeeThrough)
            bits[i] = 0;
    image.MarkPixelsChanged();
}

void PrintCentred(Zestra::Graphics& g, Zestra::Font* font, const std::string& text, int x, int y)
{
    if (font == nullptr || text.empty())
        return;
    g.SetTypeface(font);
    g.SetInk(Zestra::Color(255, 255, 255));
    g.PrintColored(text, x, y, 0, 0);
}
} // namespace

MapMenu::MapMenu(Zestra::Board* board, int storeNumber, int levelIndex)
    : Menu(board, IMAGE_MENU_MAP.get(), false, false, true)
{
    CommonSetUp();
    bool construct = BuildsStoreOnMap(storeNumber, levelIndex, WasLevelStarted(storeNumber, levelIndex));
    ShowStore(storeNumber, levelIndex, construct);
}

MapMenu::MapMenu(Zestra::Board* board) : Menu(board, IMAGE_MENU_MAP.get(), false, false, true)
{
    chooseMode = true;
    startedFromChooseMode = true;
    CommonSetUp();
}

MapMenu::~MapMenu() = default;

void MapMenu::CommonSetUp()
{
    int unlocked = GetUnlockedStores();
    for (int i = 1; i <= StoreCount(); ++i)
    {
        const StoreInfo* info = GetStoreInfo(i);
        if (info != nullptr && info->GetImage("MapIconOver") != nullptr)
            stores.push_back(std::make_unique<MapStoreIcon>(*info, i <= unlocked));
    }
    countdown = 0;
    Zestra::Image* hud = IMAGE_MENU_MAP_HUD.get();
    bottomPanel = std::make_unique<Component>(0, 600 - (hud != nullptr ? hud->GetHeight() : 0), hud);
    marker.reset();
}

void MapMenu::OnAttachedToManager(Zestra::WidgetManager* manager)
{
    Zestra::MusicInterface* music = Host() != nullptr ? Host()->Music() : nullptr;
    if (music != nullptr)
    {
        music->FadeAllOut(true, kMusicFadeOut);
        music->FadeSongIn(MapSong(), -1, kMusicFadeIn, false);
    }
    Zestra::ZestraAppBase* app = Zestra::AppOf(*this);
    // Without 3D the map is simply there; with it, the screen as it was opens through a growing hole.
    if (app != nullptr && app->Is3D())
    {
        irisSize = kIrisStartSize;
        irisCount = 0;
        snapshot = std::make_unique<Zestra::MemoryImage>(kScreenWidth, kScreenHeight);
        mShown = false;
        Zestra::Graphics g(snapshot.get());
        manager->RedrawInto(g);
        mShown = true;
        PunchSeeThrough(*snapshot);
    }
    Menu::OnAttachedToManager(manager);
}

MapStoreIcon* MapMenu::FindStore(int number) const
{
    for (const auto& store : stores)
        if (store->storeNumber == number)
            return store.get();
    return nullptr;
}

void MapMenu::ShowStore(int number, int level, bool construct)
{
    chooseMode = false;
    storeNumber = number;
    levelIndex = level;
    countdown = kMapCountdown;
    storeTitle = GetText("store" + std::to_string(number));
    const StoreInfo* info = GetStoreInfo(number);
    const LevelInfo* levelInfo = info != nullptr ? info->GetLevel(level) : nullptr;
    dayTitle = levelInfo != nullptr && levelInfo->isMinigame ? GetText("minigame") : GetLevelText(number, level).month;

    Zestra::Image* art = info != nullptr ? info->GetImage("MapHud") : nullptr;
    bottomPanel = std::make_unique<Component>(0, 600 - (art != nullptr ? art->GetHeight() : 0), art);
    if (MapStoreIcon* icon = FindStore(number))
    {
        if (construct)
            icon->StartConstruction();
        else
            icon->hovered = true;
    }

    levelIcons.clear();
    if (info != nullptr)
    {
        std::vector<MonthIcon> icons = MonthIcons(*info, level, [number](int i) { return GetLevelState(number, i); });
        for (size_t i = 0; i < icons.size(); ++i)
        {
            Zestra::Image* picture = IconImage(icons[i]);
            int w = picture != nullptr ? picture->GetWidth() : 0;
            int h = picture != nullptr ? picture->GetHeight() : 0;
            levelIcons.push_back(
                std::make_unique<Component>(MonthIconCentreX(int(i)) - w / 2, kMonthIconY - h / 2, picture));
        }
    }
    Zestra::Image* heroine = IMAGE_MENU_PRELLA_MARKER.get();
    int w = heroine != nullptr ? heroine->GetWidth() : 0;
    int h = heroine != nullptr ? heroine->GetHeight() : 0;
    marker = std::make_unique<Component>(MonthIconCentreX(level) - w / 2, kMarkerBottom - h, heroine);
    Invalidate();
}

void MapMenu::UpdateIris()
{
    if (irisCount % kIrisStepUpdates == 0)
    {
        irisSize = GrowIris(irisSize);
        if (Zestra::Image* iris = IMAGE_MENU_IRIS.get())
        {
            Zestra::Graphics g(snapshot.get());
            g.SetQuickScaling(true);
            int size = int(irisSize);
            g.BlitScaled(iris, (mWidth - size) / 2, (mHeight - size) / 2, size, size);
            PunchSeeThrough(*snapshot);
        }
        if (irisSize > kIrisEndFactor * mWidth)
            snapshot.reset();
    }
    irisCount += 1;
}

void MapMenu::Tick()
{
    Menu::Tick();
    if (AnimationsPaused())
        return;
    if (snapshot)
    {
        UpdateIris();
        Invalidate();
        return;
    }
    if (countdown <= 0)
        return;
    for (auto& store : stores)
        store->Update();
    MapStoreIcon* shown = FindStore(storeNumber);
    if (shown == nullptr || shown->constructionCounter < 1)
        countdown -= 1;
    Invalidate();
}

void MapMenu::Paint(Zestra::Graphics& g)
{
    if (Zestra::Image* background = IMAGE_MENU_MAP.get())
        g.Blit(background, 0, 0);
    for (auto it = stores.rbegin(); it != stores.rend(); ++it)
        (*it)->Draw(g);
    if (bottomPanel)
        bottomPanel->Draw(g);
    for (auto& icon : levelIcons)
        icon->Draw(g);

    std::string centreText;
    if (chooseMode)
        centreText = GetText("map_choose_store");
    else
    {
        int alpha = MarkerAlpha(countdown);
        if (marker && marker->image != nullptr && alpha > 0)
        {
            bool oldTint = g.GetTintImages();
            g.SetTintImages(alpha < 255);
            g.SetInk(Zestra::Color(255, 255, 255, alpha));
            marker->Draw(g);
            g.SetTintImages(oldTint);
        }
        Zestra::Image* titleBar = IMAGE_MENU_MAP_TITLE.get();
        int titleX = (titleBar != nullptr ? titleBar->GetWidth() : 0) / 2 - 2;
        if (titleBar != nullptr)
            g.Blit(titleBar, 0, 0);
        PrintCentred(g, FONT_MEDIUM_DARK, storeTitle, titleX, kTitleBaseline);
        PrintCentred(g, FONT_MEDIUM_DARK, dayTitle, titleX, kDayBaseline);
        if (countdown == 0)
            centreText = GetText("map_click_to_continue");
    }
    PrintCentred(g, FONT_LARGE_LIGHT, centreText, kCentreTextX, kCentreTextY);
    if (snapshot)
        g.Blit(snapshot.get(), 0, 0);
}

void MapMenu::OnMouseMove(int x, int y)
{
    Menu::OnMouseMove(x, y);
    if (!chooseMode)
        return;
    bool overOpenStore = false;
    for (auto& store : stores)
    {
        store->TrackMouse(x, y);
        overOpenStore = overOpenStore || store->Contains(x, y);
    }
    Zestra::SetAppCursor(*this, overOpenStore ? kCursorHand : kCursorArrow);
    Invalidate();
}

void MapMenu::OnMouseDown(int x, int y, int button, int clickCount)
{
    Menu::OnMouseDown(x, y, button, clickCount);
    // Right clicks neither choose nor continue; nothing is chosen while the iris still hides the map.
    if (button == 1 || snapshot)
        return;
    if (chooseMode)
    {
        for (auto& store : stores)
            if (store->Contains(x, y))
            {
                Zestra::SetAppCursor(*this, kCursorArrow);
                ShowStore(store->storeNumber, 0, false);
                return;
            }
        return;
    }
    if (countdown != 0)
        return;
    if (board != nullptr)
    {
        if (startedFromChooseMode)
        {
            // No run was in progress: the chosen store starts a fresh one.
            board->run.StartStore(GetStoreInfo(storeNumber));
        }
        board->flow->EnterStore();
    }
    Close();
}
