// Layout and choice of the customer handbook.
#include "game/menus/CharacterMenu.h"

#include "framework/graphics/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/data/ClothingStats.h"
#include "game/data/CustomerStats.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/data/PersonStats.h"
#include "game/menus/TextInBox.h"
#include "game/ui/Button.h"
#include "game/people/Person.h"
#include "game/res/Res.h"

using namespace Zestra;

namespace
{
constexpr int kOneRowMost = 6;
constexpr int kButtonStep = 50;
constexpr int kRowTops[2] = {160, 250};
constexpr int kBackAboveBottom = 80;
constexpr int kPromptBaseline = 146;
constexpr int kFigureX = 112;
constexpr int kFigureY = 368;
constexpr int kFigureCel = 120;
constexpr int kTextGap = 111; // from the figure's left edge to the text
constexpr int kTextDrop = 6;
constexpr int kNameDrop = 2;
constexpr int kIconGap = 5;
constexpr int kRightMargin = 15;
constexpr int kLineSpacing = 25;
constexpr int kTextHeight = 200;
constexpr int kMostFavourites = 4;
// The coloured band across the top of the page that carries the title.
const Rect kTitleBand(36, 58, 456, 46);
} // namespace

Rect HandbookTitleBand()
{
    return kTitleBand;
}

std::vector<int> HandbookRows(int typeCount)
{
    if (typeCount <= 0)
        return {};
    if (typeCount <= kOneRowMost)
        return {typeCount};
    int first = (typeCount + 1) / 2;
    return {first, typeCount - first};
}

std::vector<int> HandbookRowCentres(int rowLength)
{
    std::vector<int> centres;
    for (int i = 0; i < rowLength; i++)
        centres.push_back(CharacterMenu::kCentreX - kButtonStep / 2 * (rowLength - 1) + kButtonStep * i);
    return centres;
}

CharacterMenu::CharacterMenu(Board* board, int storeNumber, int levelIndex)
    // It keeps the keyboard while open, so Escape backs out of it as out of every other information screen (the
    // level start panel under it leaves the keyboard to the board).
    : Menu(board, IMAGE_MENU_CHARACTER_HANDBOOK.get(), true, true, true), storeNumber(storeNumber)
{
    MoveTo(400 - kCentreX, mY);
    cancelControl = AddLevelButton(GetText("characters_back"), kCentreX, mHeight - kBackAboveBottom, kBack);
    confirmControl = cancelControl;

    std::vector<std::string> types;
    const StoreInfo* store = GetStoreInfo(storeNumber);
    if (store != nullptr && levelIndex >= 0 && levelIndex < int(store->levels.size()))
    {
        // The buy table is keyed by customer name and store digit, in key order.
        for (const auto& [key, counts] : store->levels[size_t(levelIndex)].buyCounts)
        {
            if (!key.empty())
                types.push_back(key.substr(0, key.size() - 1));
        }
    }
    std::vector<int> rows = HandbookRows(int(types.size()));
    size_t next = 0;
    for (size_t row = 0; row < rows.size(); row++)
    {
        for (int centre : HandbookRowCentres(rows[row]))
        {
            int id = kFirstType + int(next);
            const PersonDefinition& person = FindPerson(types[next]);
            auto button = std::make_unique<Button>(this, id);
            button->SetImages(person.icon, person.iconOver, person.iconOver);
            button->sounds = false;
            button->mHandCursor = true;
            button->mX = centre - button->mWidth / 2;
            button->mY = kRowTops[row];
            typeButtons.push_back(AddChild(std::move(button)));
            typeByButton[id] = types[next];
            next++;
        }
    }
    if (!types.empty())
        SelectType(kFirstType);
}

CharacterMenu::~CharacterMenu() = default;

void CharacterMenu::SelectType(int buttonId)
{
    auto found = typeByButton.find(buttonId);
    if (found == typeByButton.end())
        return;
    const std::string& type = found->second;
    figure = std::make_unique<Person>(kFigureX, kFigureY, type, 0.0f);
    nameText = GetText("customer_" + type);
    favouritesText = GetText("character_favorites");
    textLeft = figure->x + kTextGap;
    favouriteIcons.clear();

    const CustomerDefinition& customer = FindCustomer(type + std::to_string(storeNumber));
    int iconX = textLeft + (FONT_SMALL != nullptr ? FONT_SMALL->TextWidth(favouritesText) : 0);
    int rightEdge = mWidth - kRightMargin;
    for (int i = 0; i < kMostFavourites && customer.favourites[i] != 0; i++)
    {
        Image* icon = GetClothing(customer.favourites[i]).icon;
        if (icon == nullptr)
            continue;
        // Icons that would leave the page are left out rather than drawn over its edge.
        if (iconX + icon->GetCelWidth() > rightEdge)
            break;
        favouriteIcons.push_back({icon, iconX, figure->y + kTextDrop});
        iconX += icon->GetCelWidth() + kIconGap;
    }
    if (!favouriteIcons.empty())
        favouritesText += "\n";
    favouritesText += GetStoreText(storeNumber).GetDescription(type);
    Invalidate();
}

void CharacterMenu::ButtonPressed(int id)
{
    if (id == kBack)
        Close();
    else
        SelectType(id);
}

void CharacterMenu::Tick()
{
    Menu::Tick();
    if (figure && !AnimationsPaused())
    {
        figure->Update();
        Invalidate();
    }
}

void CharacterMenu::Paint(Graphics& g)
{
    Menu::Paint(g);
    DrawTextInBox(g, GetText("characters_title"), kTitleBand, {FONT_LARGE_LIGHT, FONT_MEDIUM_LIGHT, FONT_SMALL},
                  Color::White);
    if (FONT_SMALL != nullptr)
    {
        const std::string& prompt = GetText("characters_select_customer");
        g.SetTypeface(FONT_SMALL);
        g.SetInk(Color::Black);
        g.PrintText(prompt, kCentreX - FONT_SMALL->TextWidth(prompt) / 2, kPromptBaseline);
    }
    if (!figure)
        return;
    figure->Draw(g);
    if (FONT_SMALL == nullptr)
        return;
    g.SetTypeface(FONT_SMALL);
    g.SetInk(Color::Black);
    g.PrintText(nameText, figure->x + kFigureCel / 2 - FONT_SMALL->TextWidth(nameText) / 2, figure->y + kNameDrop);
    Graphics text(g);
    Rect area(textLeft, figure->y + kTextDrop, mWidth - textLeft - kRightMargin, kTextHeight);
    text.RestrictClip(area);
    text.PrintWrapped(area, favouritesText, kLineSpacing);
    for (const FavouriteIcon& icon : favouriteIcons)
        g.BlitCell(icon.image, icon.x, icon.y, 0);
}
