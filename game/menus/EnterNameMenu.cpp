// Field, button and title of the first-run name entry.
#include "game/menus/EnterNameMenu.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/EditWidget.h"
#include "framework/widgets/WidgetManager.h"
#include "game/data/Localization.h"
#include "game/ui/Button.h"
#include "game/profile/Profile.h"
#include "game/profile/ProfileTable.h"
#include "game/res/Res.h"

#include <cstdio>

using namespace Zestra;

namespace
{
const Rect kField{260, 292, 232, 30};
constexpr int kOkCentreX = 517;
constexpr int kOkTop = 290;
constexpr int kOkLabelMargin = 4;
constexpr int kTitleBaseline = 27;
constexpr int kPromptAboveField = 18; // baseline of the prompt over the field's top
const Color kTransparent{0, 0, 0, 0};
const Color kWhite{255, 255, 255};
const Color kSelection{250, 203, 25};
} // namespace

bool IsTypeableName(const std::string& text)
{
    for (size_t i = 0; i < text.size(); i++)
    {
        if (!NameAcceptsChar(text.substr(0, i), text[i]))
            return false;
    }
    return true;
}

EnterNameMenu::EnterNameMenu(std::function<void()> startGame)
    : Menu(nullptr, IMAGE_ENTER_NAME.get(), true, true, true), mStartGame(std::move(startGame))
{
    auto field = std::make_unique<EditWidget>(kNameField, this);
    field->SetEditFont(FONT_MEDIUM_LIGHT);
    field->SetPaletteEntry(0, kTransparent); // background
    field->SetPaletteEntry(1, kTransparent); // outline
    field->SetPaletteEntry(2, kWhite);       // text
    field->SetPaletteEntry(3, kSelection);   // selection band
    field->SetPaletteEntry(4, kWhite);       // selected text
    field->SetBounds(kField);
    field->mCharLimit = int(kNameEntryLength);
    std::string defaultName = GetText("enter_name_default");
    if (IsTypeableName(defaultName))
        field->SetContent(defaultName, true);
    nameField = AddChild(std::move(field));

    // The button's pictures carry no word; its label comes from the text data, in the small font if the light one
    // would run over the edges.
    okButton = AddButton(GetText("enter_name_ok"), kOkCentreX, kOkTop, IMAGE_ENTER_NAME_OK_UP.get(),
                         IMAGE_ENTER_NAME_OK_DOWN.get(), IMAGE_ENTER_NAME_OK_OVER.get(), kOk);
    if (FONT_MEDIUM_LIGHT != nullptr && FONT_SMALL != nullptr &&
        FONT_MEDIUM_LIGHT->TextWidth(okButton->mCaption) > okButton->mWidth - 2 * kOkLabelMargin)
        okButton->SetCaptionFont(FONT_SMALL);
    confirmControl = okButton;
}

const std::string& EnterNameMenu::Name() const
{
    return nameField->mContent;
}

bool EnterNameMenu::Submit()
{
    std::string name = Name();
    if (name.empty())
        return false;
    CreateProfile(name);
    // The first player must survive a crash before the first day ends.
    SaveProfiles();
    Close();
    if (mStartGame)
        mStartGame();
    return true;
}

void EnterNameMenu::OnAttachedToManager(WidgetManager* manager)
{
    Menu::OnAttachedToManager(manager);
    manager->FocusWidget(nameField);
}

void EnterNameMenu::ButtonPressed(int id)
{
    if (id == kOk)
        Submit();
}

void EnterNameMenu::Paint(Graphics& g)
{
    Menu::Paint(g);
    if (FONT_MEDIUM_LIGHT == nullptr)
        return;
    g.SetTypeface(FONT_MEDIUM_LIGHT);
    g.SetInk(kWhite);
    const std::string& title = GetText("enter_name_menu");
    g.PrintText(title, mWidth / 2 - FONT_MEDIUM_LIGHT->TextWidth(title) / 2, kTitleBaseline);
    // What the field is for, just above it.
    g.PrintText(GetText("enter_name"), kField.mX, kField.mY - kPromptAboveField);
}

void EnterNameMenu::EditSubmitted(int, const std::string&)
{
    Submit();
}

bool EnterNameMenu::AcceptChar(int, char ch)
{
    // The position decides whether a blank is allowed; AcceptContent checks that once the key is applied.
    return ch == ' ' || NameAcceptsChar(std::string(), ch);
}

bool EnterNameMenu::AcceptContent(int, const std::string& text)
{
    return IsTypeableName(text);
}
