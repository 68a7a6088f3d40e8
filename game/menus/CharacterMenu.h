// The customer handbook, opened from the level-start panel: one picture button per customer type of the day (in
// one row, or two when there are more than six), and for the chosen type its figure, name, favourite clothing and
// the store's description of it.
#pragma once

#include "game/ui/Menu.h"

#include "framework/graphics/Rect.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class Person;
namespace Zestra
{
class Image;
}

class CharacterMenu : public Menu
{
public:
    enum ButtonId
    {
        kBack = 1,
        kFirstType = 10, // type i is kFirstType + i
    };
    static constexpr int kCentreX = 264;

    CharacterMenu(Zestra::Board* board, int storeNumber, int levelIndex);
    ~CharacterMenu() override;

    // Shows the type of the button with that id.
    void SelectType(int buttonId);

    using Menu::ButtonPressed;
    void ButtonPressed(int id) override;
    void Tick() override;
    void Paint(Zestra::Graphics& g) override;

    struct FavouriteIcon
    {
        Zestra::Image* image; // the clothing's icon, owned by the media cache
        int x;                // menu pixels
        int y;
    };

    std::map<int, std::string> typeByButton; // button id -> customer type (the key without its store digit)
    std::vector<Button*> typeButtons;        // owned by the children, in key order
    std::unique_ptr<Person> figure;          // the chosen type
    std::string nameText;
    std::string favouritesText;
    std::vector<FavouriteIcon> favouriteIcons;
    int storeNumber = 0;
    int textLeft = 0;
};

// How many type buttons go in each row: one row up to six, else two with the larger half first.
std::vector<int> HandbookRows(int typeCount);
// Centre x of the buttons of a row of that length, 50 apart and centred on the handbook's middle.
std::vector<int> HandbookRowCentres(int rowLength);
// The band across the top of the handbook's page that its title is written into (menu pixels).
Zestra::Rect HandbookTitleBand();
