// Layout and actions of the stand-in screens.
#include "game/menus/StandInMenu.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/EditWidget.h"
#include "framework/widgets/WidgetManager.h"
#include "game/menus/Button.h"
#include "game/data/Localization.h"
#include "game/profile/ProfileTable.h"
#include "game/res/Res.h"

#include <algorithm>

namespace
{
constexpr int kNameBaseline = 70;
constexpr int kMarkBaseline = 100;
constexpr int kLinesTop = 130;
constexpr int kButtonStep = 58;
constexpr int kBottomMargin = 30;
constexpr int kMaxNameLength = 12;
constexpr int kFieldWidth = 260;
constexpr int kFieldHeight = 32;
constexpr const char* kStandInMark = "(stand-in: the real screen comes later)";

Zestra::Image* DefaultImage(bool showsBoard)
{
    return showsBoard ? IMAGE_MENU_DIALOG_BOX_1.get() : IMAGE_MENU_BACKGROUND_1.get();
}
} // namespace

StandInMenu::StandInMenu(Zestra::Board* board, const std::string& screenName, bool showsBoard, Zestra::Image* image)
    : Menu(board, image != nullptr ? image : DefaultImage(showsBoard), showsBoard, true, true), screenName(screenName)
{
    // Without pictures (a run before the groups are bound) the stand-in still has a size to click in.
    if (mWidth == 0 || mHeight == 0)
        SetBounds(100, 75, 600, 450);
}

int StandInMenu::FirstButtonTop() const
{
    int count = int(mActions.size());
    return std::max(kLinesTop + 20 * int(lines.size()), mHeight - kBottomMargin - count * kButtonStep);
}

Button* StandInMenu::AddAction(const std::string& label, std::function<void()> action)
{
    Button* button = AddMenuButton(label, mWidth / 2, 0);
    mActions.push_back({button->mButtonId, label, std::move(action)});
    // Every button moves up a row, so the column stays on the menu's bottom edge.
    int top = FirstButtonTop();
    size_t index = 0;
    for (auto& child : children)
    {
        auto* actionButton = dynamic_cast<Button*>(child.get());
        if (actionButton == nullptr)
            continue;
        childOffsets[size_t(&child - &children[0])].mY = top + int(index) * kButtonStep;
        ++index;
    }
    SetBounds(mX, mY, mWidth, mHeight);
    if (confirmControl == nullptr)
        confirmControl = button;
    return button;
}

bool StandInMenu::Choose(const std::string& label)
{
    for (const Action& action : mActions)
    {
        if (action.label == label)
        {
            ButtonPressed(action.buttonId);
            return true;
        }
    }
    return false;
}

bool StandInMenu::ChooseAction(size_t index)
{
    if (index >= mActions.size())
        return false;
    ButtonPressed(mActions[index].buttonId);
    return true;
}

void StandInMenu::ButtonPressed(int id)
{
    for (const Action& action : mActions)
    {
        if (action.buttonId == id && action.run)
        {
            // The action may close this menu; a copy keeps it alive while it runs.
            std::function<void()> run = action.run;
            run();
            return;
        }
    }
}

void StandInMenu::Paint(Zestra::Graphics& g)
{
    Menu::Paint(g);
    if (Zestra::Font* font = FONT_LARGE_DARK)
    {
        g.SetTypeface(font);
        g.SetInk(Zestra::Color::White);
        DrawCenteredText(g, kNameBaseline, screenName);
    }
    if (Zestra::Font* font = FONT_SMALL)
    {
        g.SetTypeface(font);
        g.SetInk(Zestra::Color(200, 40, 40));
        DrawCenteredText(g, kMarkBaseline, kStandInMark);
    }
    if (Zestra::Font* font = FONT_MEDIUM_DARK)
    {
        g.SetTypeface(font);
        g.SetInk(Zestra::Color::White);
        int y = kLinesTop + font->Ascent();
        for (const std::string& line : lines)
        {
            DrawCenteredText(g, y, line);
            y += font->LineSpacing();
        }
    }
}

// ---------------------------------------------------------------------------------------------------------------

StandInNameEntry::StandInNameEntry(Zestra::Board* board, std::function<void()> afterName)
    : StandInMenu(board, GetText("enter_name_menu").empty() ? "Enter your name" : GetText("enter_name_menu"), false),
      mAfterName(std::move(afterName))
{
    lines.push_back(GetText("enter_name").empty() ? "Type your name and press OK" : GetText("enter_name"));
    auto field = std::make_unique<Zestra::EditWidget>(1, this);
    field->SetEditFont(FONT_MEDIUM_DARK);
    field->mCharLimit = kMaxNameLength;
    field->SetBounds(mWidth / 2 - kFieldWidth / 2, kLinesTop + 60, kFieldWidth, kFieldHeight);
    mField = AddChild(std::move(field));
    AddAction("OK", [this] { Submit(); });
}

void StandInNameEntry::OnAttachedToManager(Zestra::WidgetManager* manager)
{
    StandInMenu::OnAttachedToManager(manager);
    if (mField != nullptr)
        manager->FocusWidget(mField);
}

void StandInNameEntry::EditSubmitted(int id, const std::string& text)
{
    Submit();
}

std::string StandInNameEntry::Name() const
{
    return mField != nullptr ? mField->mContent : std::string();
}

void StandInNameEntry::SetName(const std::string& name)
{
    if (mField != nullptr)
        mField->SetContent(name, true);
}

void StandInNameEntry::Submit()
{
    std::string name = Name();
    // Blanks alone are no name.
    if (name.find_first_not_of(' ') == std::string::npos)
        return;
    CreateProfile(name);
    SaveProfiles();
    std::function<void()> after = mAfterName;
    Close();
    if (after)
        after();
}
