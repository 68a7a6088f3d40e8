// End-to-end runs of the generator on a small content folder: sheet layouts the game relies on, every store
// picture, the five clothing looks, the manifest, fonts the font reader accepts, identical output on a rerun,
// and clear errors for bad recipes.
#include "tools/contentgen/Generator.h"

#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#ifdef VELMORA_HAVE_FONT_READER
#include "framework/graphics/ImageFont.h"
#endif
#ifdef VELMORA_HAVE_MANIFEST_READER
#include "framework/resources/ResourceManager.h"
#endif

namespace fs = std::filesystem;
using namespace ContentGen;

namespace
{
const char* kUi = "palette ui plum=#5b2a6e berry=#c2417a cream=#fff6e8 gold=#f4b43c mint=#5cc3a4 ink=#3b2440\n"
                  "Init FONT_SMALL font\n"
                  "Game IMAGE_MENU_IRIS iris 64x64\n"
                  "Init IMAGE_OK button 60x24 label=OK state=up\n"
                  "Game IMAGE_QUEUE numbers 72x24\n"
                  "Game IMAGE_SMOKE strip 90x30 shape=puff cols=3\n"
                  "Velmora SOUND_DING sound\n";

const char* kStores = "<stores>\n<store name=\"Teststore\">\n"
                      "<def-furniture type=\"rack\" clothing-type=\"hanging\"/>\n<clothing x=\"20\" y=\"40\"/>\n"
                      "<layout x=\"1\" y=\"1\"/>\n<furniture type=\"rack\" price=\"0\" clothing=\"mens_tshirt_red\"/>\n"
                      "<mannequin gender=\"female\" top=\"girls_blouse\" bottom=\"\"/>\n"
                      "<minigame-clothing name=\"girls_dress_floral\" type=\"both\"/>\n</store>\n</stores>\n";

const char* kPeople = "<people>\n<person name=\"Tester\" animation_speed=\"6\">\n"
                      "<hand/><side x=\"30\" y=\"58\"/><up x=\"32\" y=\"56\"/>\n"
                      "<hand/><side x=\"90\" y=\"58\"/><up x=\"88\" y=\"56\"/>\n"
                      "<animation name=\"angry\" row=\"0\" show-clothing=\"false\">\n"
                      "<frame duration=\"5\" column=\"0\"/><frame duration=\"5\" column=\"1\"/></animation>\n"
                      "<animation name=\"happy\" row=\"1\">\n<frame column=\"0\"/><frame column=\"2\"/></animation>\n"
                      "</person>\n</people>\n";

using TestSupport::ReadFile;
using TestSupport::WriteFile;

// Each run gets its own folder: ctest runs every test of this file in its own process, in parallel.
using ScratchFolder = TestSupport::TempFolder;

void MakeContent(const fs::path& dir, const std::string& ui)
{
    WriteFile(dir / "content/art/ui.txt", ui);
    WriteFile(dir / "content/art/people.txt", "person Tester gender=male hair=#202020\n");
    WriteFile(dir / "content/art/stores.txt", "store Teststore wall=#eeeeee accent=#aa3366 motif=stripes\n");
    WriteFile(dir / "content/properties/stores.xml", kStores);
    WriteFile(dir / "content/properties/people.xml", kPeople);
}

struct Size
{
    int w = 0, h = 0;
    bool operator==(const Size& o) const { return w == o.w && h == o.h; }
};

Size PngSize(const fs::path& path)
{
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.string().c_str());
    Size size;
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS)
        size = {cairo_image_surface_get_width(s), cairo_image_surface_get_height(s)};
    cairo_surface_destroy(s);
    return size;
}

// A PNG file's pixels for alpha probes; unreadable files have no pixels.
class Pixels
{
public:
    explicit Pixels(const fs::path& path) : mSurface(cairo_image_surface_create_from_png(path.string().c_str())) {}
    ~Pixels() { cairo_surface_destroy(mSurface); }
    Pixels(const Pixels&) = delete;
    Pixels& operator=(const Pixels&) = delete;

    // Alpha at (x, y), -1 when unreadable or outside.
    int Alpha(int x, int y) const
    {
        if (cairo_surface_status(mSurface) != CAIRO_STATUS_SUCCESS || x < 0 || y < 0 ||
            x >= cairo_image_surface_get_width(mSurface) || y >= cairo_image_surface_get_height(mSurface))
            return -1;
        const unsigned char* row =
            cairo_image_surface_get_data(mSurface) + y * cairo_image_surface_get_stride(mSurface);
        return static_cast<int>(reinterpret_cast<const uint32_t*>(row)[x] >> 24);
    }

private:
    cairo_surface_t* mSurface;
};

int AlphaAt(const fs::path& path, int x, int y)
{
    return Pixels(path).Alpha(x, y);
}

class GeneratorTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(InitFonts(VELMORA_DEJAVU_DIR));
        sFolder = std::make_unique<ScratchFolder>("velmora-contentgen");
        sDir = sFolder->Path();
        MakeContent(sDir, kUi);
        Generator gen((sDir / "content").string(), (sDir / "out").string());
        ASSERT_TRUE(gen.LoadInputs());
        sOk = gen.Run((sDir / "contact.png").string());
        for (const std::string& p : gen.Problems())
            ADD_FAILURE() << p;
    }
    static void TearDownTestSuite() { sFolder.reset(); }
    static inline std::unique_ptr<ScratchFolder> sFolder;
    static inline fs::path sDir;
    static inline bool sOk = false;
    fs::path Out(const std::string& rel) const { return sDir / "out" / rel; }
};
} // namespace

TEST_F(GeneratorTest, PeopleSheetsFollowTheCelLayout)
{
    ASSERT_TRUE(sOk);
    const std::string dir = "images/people/Tester/";
    // Legs 8 walk frames x 4 rows, torso 3 views x 4 hand states, idle: 2 columns wide at least (the widest
    // animation) and one row for "angry" plus four for "happy", which shows held clothing.
    EXPECT_EQ(PngSize(Out(dir + "Legs_Walk.png")), (Size{960, 480}));
    EXPECT_EQ(PngSize(Out(dir + "Torso_Walk.png")), (Size{360, 480}));
    EXPECT_EQ(PngSize(Out(dir + "Torso_Idle.png")), (Size{360, 600}));
    Size icon = PngSize(Out(dir + "Icon.png"));
    EXPECT_GT(icon.w, 0);
    EXPECT_EQ(PngSize(Out(dir + "Icon_Over.png")), icon);
}

TEST_F(GeneratorTest, EveryStorePictureAndFurnitureTypeIsWritten)
{
    ASSERT_TRUE(sOk);
    const char* names[] = {"Background",
                           "Hud",
                           "StartScreen",
                           "TutorialBox",
                           "TutorialBoxBig",
                           "RopeCashRegister",
                           "RopeChangingRoom",
                           "RopeCustomerService",
                           "ChangingRoom",
                           "ChangingRoomShadow",
                           "ChangingRoomDoor",
                           "CashCounter",
                           "CustomerServiceDesk",
                           "Drink",
                           "DrinkActive",
                           "GoodieRack1",
                           "GoodieRack2",
                           "DiscardRack",
                           "MapHud",
                           "MapIcon",
                           "MapIconLocked",
                           "MapIconOver",
                           "MinigameBackground",
                           "rack"};
    fs::path dir = Out("images/stores/Teststore");
    for (const char* name : names)
        EXPECT_TRUE(fs::exists(dir / (std::string(name) + ".png")) || fs::exists(dir / (std::string(name) + ".jpg")))
            << name;
    Size door = PngSize(dir / "ChangingRoomDoor.png");
    EXPECT_EQ(door.w, 408) << "four curtain cels of 102 pixels";
    EXPECT_EQ(PngSize(dir / "ChangingRoom.png").w, 102);
}

TEST_F(GeneratorTest, ClothingHasFiveLooksAndMinigameCards)
{
    ASSERT_TRUE(sOk);
    for (const char* name : {"mens_tshirt_red", "girls_blouse"})
        for (const char* suffix : {"_Icon", "_Folded", "_Hanging", "_Carry", "_Mannequin"})
            EXPECT_GT(PngSize(Out(std::string("images/stores/Teststore/clothing/") + name + suffix + ".png")).w, 0)
                << name << suffix;
    Size card = PngSize(Out("images/stores/Teststore/Minigame/girls_dress_floral.png"));
    EXPECT_GT(card.w, 0);
    EXPECT_LE(card.w, 80);
    EXPECT_LE(card.h, 110);
}

TEST_F(GeneratorTest, ManifestDeclaresCelColumns)
{
    ASSERT_TRUE(sOk);
    std::string manifest = ReadFile(Out("properties/resources.xml"));
    EXPECT_NE(manifest.find("<Image id=\"IMAGE_QUEUE\" path=\"images/ui/queue.png\" rows=\"1\" cols=\"3\"/>"),
              std::string::npos);
    EXPECT_NE(manifest.find("<Image id=\"IMAGE_SMOKE\" path=\"images/ui/smoke.png\" rows=\"1\" cols=\"3\"/>"),
              std::string::npos);
    EXPECT_NE(manifest.find("<Sound id=\"SOUND_DING\" path=\"sounds/ding\"/>"), std::string::npos);
    EXPECT_NE(manifest.find("<Font id=\"FONT_SMALL\" path=\"fonts/small.txt\"/>"), std::string::npos);
    EXPECT_EQ(PngSize(Out("images/ui/queue.png")), (Size{72, 24}));
}

TEST_F(GeneratorTest, SecondRunGivesIdenticalFiles)
{
    ASSERT_TRUE(sOk);
    Generator again((sDir / "content").string(), (sDir / "out2").string());
    ASSERT_TRUE(again.LoadInputs());
    ASSERT_TRUE(again.Run(""));
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(sDir / "out"))
    {
        if (!entry.is_regular_file())
            continue;
        fs::path rel = fs::relative(entry.path(), sDir / "out");
        ASSERT_TRUE(fs::exists(sDir / "out2" / rel)) << rel;
        EXPECT_EQ(ReadFile(entry.path()), ReadFile(sDir / "out2" / rel)) << rel;
        ++compared;
    }
    EXPECT_GT(compared, 40);
}

TEST_F(GeneratorTest, IrisIsPureMagentaForTheColourKey)
{
    ASSERT_TRUE(sOk);
    cairo_surface_t* s = cairo_image_surface_create_from_png(Out("images/ui/menu_iris.png").string().c_str());
    ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
    const unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    // Every painted pixel is exactly opaque magenta: no antialiased blend the key would miss.
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
        {
            uint32_t px = reinterpret_cast<const uint32_t*>(data + y * stride)[x];
            EXPECT_TRUE(px == 0 || px == 0xFFFF00FFu) << x << "," << y;
        }
    EXPECT_EQ(reinterpret_cast<const uint32_t*>(data + 32 * stride)[32], 0xFFFF00FFu);
    cairo_surface_destroy(s);
}

#ifdef VELMORA_HAVE_FONT_READER
TEST_F(GeneratorTest, FontsLoadInTheGamesFontReader)
{
    ASSERT_TRUE(sOk);
    for (const char* name : {"hud_numbers", "large_dark", "large_light", "medium_dark", "medium_light", "small"})
    {
        Zestra::ImageFont font(Out(std::string("fonts/") + name + ".txt").string());
        ASSERT_TRUE(font.IsLoaded()) << name;
        EXPECT_GT(font.Height(), 10) << name;
        EXPECT_GT(font.Ascent(), font.Height() / 2) << name;
        EXPECT_GT(font.TextWidth("$1,234.50"), font.TextWidth("$1")) << name;
        EXPECT_GT(font.GlyphWidth(' '), 0) << name;
    }
}
#endif

TEST(GeneratorErrors, BadRecipesAreReportedWithTheirLine)
{
    ASSERT_TRUE(InitFonts(VELMORA_DEJAVU_DIR));
    struct Case
    {
        const char* line;
        const char* expected;
    } cases[] = {{"Game IMAGE_BAD wobble 10x10", "ui.txt:2: unknown kind or shape for IMAGE_BAD"},
                 {"Game IMAGE_BAD icon 10x10 shape=nothing", "ui.txt:2: unknown kind or shape for IMAGE_BAD"},
                 {"Game IMAGE_BAD button tiny", "ui.txt:2: IMAGE_BAD needs a size WxH"}};
    for (const Case& c : cases)
    {
        ScratchFolder folder("velmora-contentgen");
        const fs::path& dir = folder.Path();
        MakeContent(dir, std::string("palette ui plum=#5b2a6e\n") + c.line + "\n");
        Generator gen((dir / "content").string(), (dir / "out").string());
        ASSERT_TRUE(gen.LoadInputs());
        EXPECT_FALSE(gen.WriteUi());
        bool found = false;
        for (const std::string& p : gen.Problems())
            found = found || p == c.expected;
        EXPECT_TRUE(found) << c.line;
    }
}

TEST(ShippedContent, ManifestIsUpToDateAndComplete)
{
    Generator gen(VELMORA_CONTENT_DIR, "");
    ASSERT_TRUE(gen.LoadInputs());
    for (const std::string& p : gen.Problems())
        ADD_FAILURE() << p;
    std::string manifest = gen.ManifestText();
    EXPECT_EQ(manifest, ReadFile(fs::path(VELMORA_CONTENT_DIR) / "properties/resources.xml"))
        << "regenerate with velmora-contentgen --content content --manifest content/properties/resources.xml";
    // Every id once, in the group the game binds it from.
    std::map<std::string, int> perGroup;
    std::set<std::string> ids;
    std::string group;
    std::istringstream in(manifest);
    std::string line;
    while (std::getline(in, line))
    {
        size_t at = line.find("id=\"");
        if (at == std::string::npos)
            continue;
        std::string id = line.substr(at + 4, line.find('"', at + 4) - at - 4);
        if (line.find("<Resources") != std::string::npos)
            group = id;
        else
        {
            EXPECT_TRUE(ids.insert(id).second) << id;
            ++perGroup[group];
        }
    }
    EXPECT_EQ(perGroup["Init"], 11);
    EXPECT_EQ(perGroup["TitleScreen"], 26);
    EXPECT_EQ(perGroup["Game"], 91);
    EXPECT_EQ(perGroup["Velmora"], 90);
    for (const char* id : {"IMAGE_LOGO_LETTER_1", "IMAGE_MENU_IRIS", "IMAGE_OPEN_SIGN", "SOUND_SHUFFLING",
                           "FONT_HUD_NUMBERS", "IMAGE_MENU_PRELLA_MARKER"})
        EXPECT_TRUE(ids.count(id)) << id;
}

#ifdef VELMORA_HAVE_MANIFEST_READER
TEST(ShippedContent, ManifestReadsInTheGamesResourceManager)
{
    std::string text = ReadFile(fs::path(VELMORA_CONTENT_DIR) / "properties/resources.xml");
    Zestra::ResourceManager manager(nullptr, nullptr);
    ASSERT_TRUE(manager.ReadManifestFromText(text, "resources.xml")) << manager.ErrorMessage();
    EXPECT_EQ(manager.GroupIds("Init").size(), 11u);
    EXPECT_EQ(manager.GroupIds("TitleScreen").size(), 26u);
    EXPECT_EQ(manager.GroupIds("Game").size(), 91u);
    EXPECT_EQ(manager.GroupIds("Velmora").size(), 90u);
}
#endif

TEST(ShippedContent, LessonTargetsLandOnPictures)
{
    // The lessons point at fixed board pixels; each must fall on an opaque pixel of the picture placed there.
    ASSERT_TRUE(InitFonts(VELMORA_DEJAVU_DIR));
    ScratchFolder folder("velmora-contentgen");
    const fs::path out = folder.Path();
    Generator gen(VELMORA_CONTENT_DIR, out.string());
    ASSERT_TRUE(gen.LoadInputs());
    ASSERT_FALSE(gen.Stores().empty());
    struct UiCase
    {
        const char* id;
        int boardX, boardY, centreX, top;
    } uiCases[] = {{"IMAGE_CASH_REGISTER", 42, 383, 48, 354}, {"IMAGE_GIFT_WRAP", 725, 220, 722, 195}};
    for (const UiCase& c : uiCases)
        for (const RecipeLine& r : gen.UiRecipes())
            if (r.words[1] == c.id)
            {
                int w = 0, h = 0;
                ASSERT_TRUE(ParseSize(r.words[3], w, h));
                Canvas canvas(w, h);
                ASSERT_TRUE(DrawUiImage(gen, r, canvas));
                std::vector<uint8_t> rgba = canvas.Rgba();
                int x = c.boardX - (c.centreX - w / 2), y = c.boardY - c.top;
                ASSERT_TRUE(x >= 0 && x < w && y >= 0 && y < h) << c.id;
                EXPECT_GT(rgba[(static_cast<size_t>(y) * w + x) * 4 + 3], 128) << c.id;
            }
    ASSERT_TRUE(WriteStoreImages(gen, gen.Stores()[0], 1));
    fs::path dir = out / "images/stores" / gen.Stores()[0].name;
    int deskW = PngSize(dir / "CustomerServiceDesk.png").w;
    int rackW = PngSize(dir / "DiscardRack.png").w;
    EXPECT_GT(AlphaAt(dir / "ChangingRoom.png", 151 - (154 - 51), 55), 128);
    EXPECT_GT(AlphaAt(dir / "CustomerServiceDesk.png", 750 - (800 - deskW), 223 - 190), 128);
    EXPECT_GT(AlphaAt(dir / "DiscardRack.png", 50 - (48 - rackW / 2), 90 - 10), 128);
}

TEST(ShippedContent, FiguresFitInsideTheirCels)
{
    // A tall person with a hat must not be cut at the top of the cel: the first row of every torso cel row is
    // empty, and so is the last column of the side-view legs (they would bleed into the next frame).
    ASSERT_TRUE(InitFonts(VELMORA_DEJAVU_DIR));
    ScratchFolder folder("velmora-contentgen");
    const fs::path out = folder.Path();
    Generator gen(VELMORA_CONTENT_DIR, out.string());
    ASSERT_TRUE(gen.LoadInputs());
    ASSERT_FALSE(gen.People().empty());
    for (const PersonData& p : gen.People())
    {
        ASSERT_TRUE(WritePersonSheets(gen, p)) << p.name;
        Pixels torso(out / "images/people" / p.name / "Torso_Walk.png");
        Pixels legs(out / "images/people" / p.name / "Legs_Walk.png");
        for (int row = 0; row < 4; ++row)
            for (int x = 0; x < 360; ++x)
                ASSERT_EQ(torso.Alpha(x, row * 120), 0) << p.name << " torso row " << row << " x " << x;
        for (int frame = 0; frame < 8; ++frame)
            for (int y = 0; y < 120; ++y)
                ASSERT_EQ(legs.Alpha(frame * 120 + 119, y), 0) << p.name << " frame " << frame;
    }
}
