#pragma once
// Generator: reads the content sources (data files, recipes) and writes every picture and font of the game
// folder, the resource manifest and a contact sheet. Pictures are drawn by small helpers per kind (Ui, Store,
// Clothing, People); this class owns the inputs, the output paths and the list of written pictures.

#include "tools/contentgen/Canvas.h"
#include "tools/contentgen/Recipe.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ContentGen
{

struct ClothingSpotData
{
    int x = 0;
    int y = 0;
    bool before = false;
};

struct FurnitureTypeData
{
    std::string type;
    bool folded = false;
    int priceY = 0;
    int tagY = 0;
    std::vector<ClothingSpotData> spots;
};

struct MinigameClothingData
{
    std::string name;
    bool male = false;
    std::string type;
};

struct LayoutData
{
    int x = 0;
    int y = 0;
    std::string type;     // furniture type of the first step
    std::string clothing; // clothing of the first step
};

struct MannequinData
{
    int x = 0;
    int y = 0;
    bool male = false;
    std::string top, bottom;
};

struct StoreData
{
    std::string name;
    int iconX = 0, iconY = 0, iconBottom = 0, iconLeft = 0, iconRight = 0; // place on the town map
    std::vector<LayoutData> layouts;
    std::vector<MannequinData> mannequins;
    std::map<std::string, FurnitureTypeData> furniture;
    std::vector<std::string> clothing; // every clothing name the store's furniture and mannequins use
    std::vector<MinigameClothingData> minigame;
    int initialRooms = 1;
    int roomPrices = 0;
    bool giftWrap = false;
};

struct AnimationData
{
    std::string name;
    int row = 0;
    int columns = 1;
    bool showClothing = true;
    bool showTorso = false;
};

struct PersonData
{
    std::string name;
    std::vector<AnimationData> animations;
    int hand[2][2][2] = {{{30, 58}, {30, 58}}, {{90, 58}, {90, 58}}}; // hand, view (0 side/front, 1 up), x/y
    int TorsoIdleRows() const;
    int TorsoIdleColumns() const;
};

// Store look: colours and motifs by store name (content/art/stores.txt); unknown names get a derived palette.
struct Palette
{
    Rgb wall, wall2, floor, floor2, accent, accent2, trim, wood;
    std::string motif;
};

// What one written picture looked like, kept small for the contact sheet.
struct Written
{
    std::string name;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> thumb; // straight RGBA, thumbW x thumbH
    int thumbW = 0;
    int thumbH = 0;
};

class Generator
{
public:
    Generator(std::string contentDir, std::string outDir);

    // Reads every input; false when a required input is missing or unusable (see Problems()).
    bool LoadInputs();
    // Draws and writes everything; false on any write failure.
    bool Run(const std::string& contactSheetPath);
    std::string ManifestText() const;
    // Only the manifest's pictures; Run does this and everything else.
    bool WriteUi();

    const std::vector<std::string>& Problems() const { return mProblems; }
    const std::vector<StoreData>& Stores() const { return mStores; }
    const std::vector<PersonData>& People() const { return mPeople; }
    const std::vector<RecipeLine>& UiRecipes() const { return mUi; }

    // Used by the drawing helpers.
    bool Save(const Canvas& canvas, const std::string& relPath, const std::string& label);
    // A review-only picture: it goes to the contact sheet, never into the game folder.
    void AddToContactSheet(const Canvas& canvas, const std::string& label);
    const Palette& PaletteFor(const std::string& storeName) const;
    const Palette& PaletteByNumber(int number) const;
    Rgb UiColor(const std::string& key) const;
    const RecipeLine* LookFor(const std::string& person) const;
    void Problem(const std::string& text) { mProblems.push_back(text); }
    const std::string& OutDir() const { return mOutDir; }

private:
    bool LoadStores(const std::string& text);
    bool LoadPeople(const std::string& text);
    bool CopyProperties();
    bool WriteStores();
    bool WritePeople();
    bool WriteSplashes();
    bool WriteContactSheet(const std::string& path) const;

    std::string mContentDir;
    std::string mOutDir;
    std::vector<std::string> mProblems;
    std::vector<RecipeLine> mUi;
    std::map<std::string, Rgb> mUiPalette;
    std::map<std::string, Palette> mPalettes;
    std::vector<std::string> mPaletteOrder;
    std::map<std::string, RecipeLine> mLooks;
    std::vector<StoreData> mStores;
    std::vector<PersonData> mPeople;
    std::vector<Written> mWritten;
    Palette mFallback;
};

// Drawing helpers, one family per source file.
bool DrawUiImage(Generator& gen, const RecipeLine& recipe, Canvas& canvas);
void DrawScene(Generator& gen, Canvas& c, const std::string& name, int number);
bool WriteStoreImages(Generator& gen, const StoreData& store, int number);
bool WriteClothing(Generator& gen, const StoreData& store, const std::string& clothingName);
bool WriteMinigameCard(Generator& gen, const StoreData& store, const MinigameClothingData& item);
bool WritePersonSheets(Generator& gen, const PersonData& person);
bool WriteFonts(Generator& gen);
// The first day of a store as the game lays it out, with the lessons' target points marked.
void DrawStorePreview(Generator& gen, const StoreData& store, Canvas& c);

// Shared figure drawing (people sheets, portraits, menu scenes and comics).
enum class Expression
{
    Smile,
    Angry,
    Happy,
    Neutral
};
void DrawFigureFront(Canvas& c, const RecipeLine& look, double cx, double footY, double scale, Expression e,
                     bool armsUp = false);

// Clothing pictures: kind and variant are taken from the name "<girls|mens>_<kind>[_<variant>]".
struct ClothingLook
{
    bool male = false;
    std::string kind;
    Rgb main, second;
    std::string pattern; // "", striped, dotted, checked, floral, denim, silk, tweed, sequin
};
ClothingLook ParseClothingName(const std::string& name, const Palette& palette);
// Draws the garment as worn (front view) into a box; used by every look.
void DrawGarment(Canvas& c, const ClothingLook& look, double x, double y, double w, double h);
void DrawFolded(Canvas& c, const ClothingLook& look, double x, double y, double w, double h);

// File name from a resource id: IMAGE_MENU_BUTTON_DOWN -> menu_button_down.
std::string IdToFileName(const std::string& id);

} // namespace ContentGen
