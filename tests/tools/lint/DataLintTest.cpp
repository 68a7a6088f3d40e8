#include "tools/lint/DataLint.h"

#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/pak/PakFormat.h"
#include "game/data/LevelStats.h"
#include "game/data/Localization.h"
#include "game/profile/Achievements.h"
#include "game/res/Res.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

// A small complete game folder: one store with one furnished spot and a mannequin, one upgrade of each kind (lines
// 9 to 13), one level with one customer, the customer's person and the merchant, every text key and every resource
// id. Line numbers below are relied on.
const char* const kStores = R"(<game main-menu-music="menu" map-music="map"/>
<store name="S"/>
<map-icon x="1" y="1" bottom="20" left="1" right="20"/>
<merchant name="Prella" speed="100" backroom_time="1" discard_time="1" price="0"/>
<def-furniture type="Rack"/>
<layout x="1" y="1"/>
<furniture type="Rack" price="0" clothing="tee" cost="10"/>
<mannequin x="2" y="2" top="tee"/>
<merchant name="Prella" speed="150" backroom_time="1" discard_time="1" price="300"/>
<changing-room price="100"/>
<goodie-rack price="50" bonus="1.5"/>
<def-furniture type="BigRack"/>
<furniture type="BigRack" price="200"/>
)";
const char* const kLevels = R"(<store/>
<level min_goal="10" expert_goal="20" music="day" duration="60" customer_speed="100" max_customers="2"/>
<buy customer="Lady" medium-items="1"/>
<customer name="Lady" time="1"/>
)";
const char* const kCustomers = R"(<customer name="Lady" store="1" patience="10" hearts="4" favorite1="tee"/>
<clothing clothing1="tee" items_tried_on="1"/>
)";
const char* const kPeople = R"(<person name="Lady" animation_speed="2"/>
<animation name="angry" show-clothing="false"/><frame duration="5"/>
<animation name="happy" show-clothing="false"/><frame duration="5"/>
<person name="Prella" animation_speed="2"/>
<animation name="hands" show-clothing="false"/><frame duration="5"/>
)";

// A font of two characters; its picture is written beside it.
const char* const kFontDescriptor = R"(Define Chars ('a' 'b');
CreateLayer Main;
LayerSetImage Main 'glyphs.png';
LayerSetImageMap Main Chars ((0 0 4 4) (4 0 4 4));
LayerSetCharWidths Main Chars (4 4);
LayerSetAscent Main 4;
LayerSetHeight Main 4;
)";

class DataLintTest : public ::testing::Test
{
public:
    fs::path dir;

    static fs::path BaseDir() { return fs::temp_directory_path() / ("velmora-lint-base-" + std::to_string(getpid())); }
    static void SetUpTestSuite()
    {
        DataLintTest maker;
        maker.dir = BaseDir();
        fs::remove_all(maker.dir);
        maker.MakeBase();
    }
    static void TearDownTestSuite() { fs::remove_all(BaseDir()); }

    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("velmora-lint-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::copy(BaseDir(), dir, fs::copy_options::recursive);
    }
    void TestBody() override {}

    void MakeBase()
    {
        Write("properties/stores.xml", kStores);
        Write("properties/levels.xml", kLevels);
        Write("properties/customers.xml", kCustomers);
        Write("properties/people.xml", kPeople);
        Write("properties/grid.txt", "+\t10\t10\n");
        std::string texts = "<id tag=\"money_template\" value=\"$%d\"/>\n<id tag=\"money_template_decimal\" "
                            "value=\"$%.2f\"/>\n<id tag=\"store1\" value=\"S\"/>\n<store/><level month=\"May\"/>\n";
        for (const std::string& key : kLocalizationKeys)
            if (key.rfind("money_template", 0) != 0)
                texts += "<id tag=\"" + key + "\" value=\"x\"/>\n";
        for (const AchievementInfo& achievement : AchievementTable())
            for (const char* key : {achievement.nameKey, achievement.textKey})
                texts += std::string("<id tag=\"") + key + "\" value=\"x\"/>\n";
        for (const char* item : {"Prella", "changing_room", "goodie_rack1", "BigRack"})
            texts += std::string("<id tag=\"buy_") + item + "\" value=\"x\"/>\n<id tag=\"buy_" + item +
                     "_msg\" value=\"x\"/>\n";
        Write("properties/localization.xml", texts);
        std::string manifest = "<ResourceManifest>\n";
        for (const char* group : kResourceGroups)
        {
            manifest += std::string("<Resources id=\"") + group + "\">\n";
            for (int i = 0; i < kResourceIdCount; ++i)
                if (kResourceIds[i].group == std::string(group))
                {
                    const char* element = kResourceIds[i].kind == ResKind::Image   ? "Image"
                                          : kResourceIds[i].kind == ResKind::Sound ? "Sound"
                                                                                   : "Font";
                    const std::string path = std::string("res/") + kResourceIds[i].id;
                    if (kResourceIds[i].kind == ResKind::Font)
                    {
                        // Fonts are read with their descriptors and layer pictures.
                        manifest += std::string("<Font id=\"") + kResourceIds[i].id + "\" path=\"" + path + ".txt\"/>\n";
                        Write(path + ".txt", kFontDescriptor);
                        continue;
                    }
                    manifest += std::string("<") + element + " id=\"" + kResourceIds[i].id + "\" path=\"" + path +
                                "\"/>\n";
                    Write(path + ".png", "");
                }
            manifest += "</Resources>\n";
        }
        Write("properties/resources.xml", manifest + "</ResourceManifest>\n");

        for (const char* name : kStoreImageNames)
            Picture(std::string("images/stores/S/") + name, std::string(name) == "ChangingRoomDoor" ? 408 : 4, 4);
        Picture("images/stores/S/Rack", 4, 4);
        Picture("images/stores/S/BigRack", 4, 4);
        for (const char* suffix : kClothingPictureSuffixes)
            Picture(std::string("images/stores/S/clothing/tee") + suffix, 4, 4);
        for (const char* person : {"Lady", "Prella"})
        {
            const std::string base = std::string("images/people/") + person + "/";
            Picture(base + "Torso_Walk", 360, 480);
            Picture(base + "Legs_Walk", 960, 480);
            Picture(base + "Torso_Idle", 120, 120);
            Picture(base + "Icon", 4, 4);
            Picture(base + "Icon_Over", 4, 4);
            for (const char* voice : {"Hello", "Happy", "Angry"})
                Write(std::string("sounds/people/") + person + "/" + voice + ".ogg", "");
        }
        for (const char* song : {"menu", "map", "day"})
            Write(std::string("music/") + song + ".ogg", "");
        Picture("res/glyphs", 8, 4);
    }
    void TearDown() override { fs::remove_all(dir); }

    void Write(const std::string& path, const std::string& text)
    {
        fs::create_directories((dir / path).parent_path());
        std::ofstream(dir / path, std::ios::binary) << text;
    }
    void Picture(const std::string& path, int w, int h)
    {
        fs::create_directories((dir / path).parent_path());
        ASSERT_TRUE(Zestra::WritePNG(Zestra::MemoryImage(w, h), (dir / (path + ".png")).string())) << path;
    }
    std::string Read(const std::string& path)
    {
        std::ifstream in(dir / path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void Replace(const std::string& path, const std::string& from, const std::string& to)
    {
        std::string text = Read(path);
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        Write(path, text.replace(at, from.size(), to));
    }
    int Lint(std::string& output)
    {
        std::ostringstream out;
        const int status = RunDataLint(dir.string(), out);
        output = out.str();
        return status;
    }
};

} // namespace

TEST_F(DataLintTest, CompleteFolderIsClean)
{
    std::string output;
    EXPECT_EQ(Lint(output), 0) << output;
    EXPECT_NE(output.find("0 error(s), 0 warning(s)"), std::string::npos) << output;
}

TEST_F(DataLintTest, EachBrokenFixtureIsReportedAtItsFileAndLine)
{
    struct Case
    {
        const char* expected; // "file:line: error: " followed by a fragment of the message
        std::function<void(DataLintTest&)> breakIt;
    };
    const Case cases[] = {
        {"properties/people.xml:5: error: End 'b'",
         [](DataLintTest& t) { t.Replace("properties/people.xml", "\n<person name=\"Prella\"", "\n\n<a></b>\n"); }},
        {"properties/levels.xml:1: error: <level> comes before any <store>",
         [](DataLintTest& t) { t.Replace("properties/levels.xml", "<store/>\n", "<level/>\n"); }},
        {"properties/levels.xml:5: error: levels.xml has more <store> elements",
         [](DataLintTest& t) { t.Write("properties/levels.xml", std::string(kLevels) + "<store/>\n"); }},
        {"properties/stores.xml:7: error: the first <furniture> step",
         [](DataLintTest& t) { t.Replace("properties/stores.xml", " clothing=\"tee\" cost", " cost"); }},
        {"properties/stores.xml:7: error: furniture type \"Table\" is not defined",
         [](DataLintTest& t) { t.Replace("properties/stores.xml", "type=\"Rack\" price", "type=\"Table\" price"); }},
        {"properties/stores.xml:6: error: <layout> comes before any <store>",
         [](DataLintTest& t) { t.Replace("properties/stores.xml", "<store name=\"S\"/>", "<shop/>"); }},
        {"properties/customers.xml:2: error: clothing1 \"hat\" is no clothing",
         [](DataLintTest& t) { t.Replace("properties/customers.xml", "clothing1=\"tee\"", "clothing1=\"hat\""); }},
        {"properties/levels.xml:4: error: customer \"Ghost\" of store 1",
         [](DataLintTest& t) { t.Replace("properties/levels.xml", "<customer name=\"Lady\"", "<customer name=\"Ghost\""); }},
        {"properties/stores.xml:2: error: store image images/stores/S/Hud is missing",
         [](DataLintTest& t) { fs::remove(t.dir / "images/stores/S/Hud.png"); }},
        {"properties/stores.xml:7: error: clothing picture images/stores/S/clothing/tee_Carry",
         [](DataLintTest& t) { fs::remove(t.dir / "images/stores/S/clothing/tee_Carry.png"); }},
        {"properties/people.xml:1: error: Legs_Walk of Lady is 960 x 400",
         [](DataLintTest& t) { t.Picture("images/people/Lady/Legs_Walk", 960, 400); }},
        {"properties/people.xml:1: error: voice \"Lady/Angry\"",
         [](DataLintTest& t) { fs::remove(t.dir / "sounds/people/Lady/Angry.ogg"); }},
        {"properties/levels.xml:2: error: song \"day\"", [](DataLintTest& t) { fs::remove(t.dir / "music/day.ogg"); }},
        {"properties/customers.xml:1: error: customer \"Lady\" needs the animation \"happy\"",
         [](DataLintTest& t) { t.Replace("properties/people.xml", "name=\"happy\"", "name=\"cheer\""); }},
        {"properties/stores.xml:4: error: merchant \"Prella\" needs the animation \"hands\"",
         [](DataLintTest& t) { t.Replace("properties/people.xml", "name=\"hands\"", "name=\"wave\""); }},
        {"properties/resources.xml:0: error: IMAGE_HUD_CLOCK is not declared",
         [](DataLintTest& t) { t.Replace("properties/resources.xml", "<Image id=\"IMAGE_HUD_CLOCK\"", "<Image id=\"IMAGE_HUD_CLOK\""); }},
        {"error: SOUND_BUTTON is in group \"Game\"",
         [](DataLintTest& t) {
             t.Replace("properties/resources.xml", "<Sound id=\"SOUND_BUTTON\" path=\"res/SOUND_BUTTON\"/>\n", "");
             t.Replace("properties/resources.xml", "<Resources id=\"Game\">\n",
                       "<Resources id=\"Game\">\n<Sound id=\"SOUND_BUTTON\" path=\"res/SOUND_BUTTON\"/>\n");
         }},
        {"properties/localization.xml:0: error: text \"paused\" is missing",
         [](DataLintTest& t) { t.Replace("properties/localization.xml", "<id tag=\"paused\"", "<id tag=\"pause\""); }},
        {"properties/localization.xml:1: error: money_template \"%s\"",
         [](DataLintTest& t) { t.Replace("properties/localization.xml", "value=\"$%d\"", "value=\"%s\""); }},
        {"properties/localization.xml:2: error: money_template_decimal \"%.2f %d\"",
         [](DataLintTest& t) { t.Replace("properties/localization.xml", "value=\"$%.2f\"", "value=\"%.2f %d\""); }},
        {"properties/stores.xml:9: error: merchant level 1 (Prella) has no price",
         [](DataLintTest& t) { t.Replace("properties/stores.xml", " price=\"300\"", ""); }},
        {"properties/stores.xml:10: error: changing room has no text \"buy_changing_room_msg\"",
         [](DataLintTest& t) { t.Replace("properties/localization.xml", "buy_changing_room_msg", "buy_room_msg"); }},
        {"properties/stores.xml:11: error: goodie rack has no picture: store image GoodieRack2",
         [](DataLintTest& t) { fs::remove(t.dir / "images/stores/S/GoodieRack2.png"); }},
        {"properties/stores.xml:2: error: store 1 (S) has no <goodie-rack>",
         [](DataLintTest& t) { t.Replace("properties/stores.xml", "<goodie-rack price=\"50\" bonus=\"1.5\"/>", ""); }},
        {"properties/stores.xml:13: error: furniture step 1 of floor spot 0 (BigRack) has no picture",
         [](DataLintTest& t) { fs::remove(t.dir / "images/stores/S/BigRack.png"); }},
        {"properties/stores.xml:13: error: furniture step 1 of floor spot 0 (BigRack) has no text \"buy_BigRack\"",
         [](DataLintTest& t) { t.Replace("properties/localization.xml", "\"buy_BigRack\"", "\"buy_Big\""); }},
        {"properties/stores.xml:7: error: furniture step 0 of floor spot 0 (Rack) has no price",
         [](DataLintTest& t) { t.Replace("properties/stores.xml", " price=\"0\" clothing", " clothing"); }},
        {"res/FONT_SMALL.txt:5: error: List Size Mismatch",
         [](DataLintTest& t) { t.Replace("res/FONT_SMALL.txt", "Chars (4 4)", "Chars (4)"); }},
        {"properties/grid.txt:0: error: the file is missing",
         [](DataLintTest& t) { fs::remove(t.dir / "properties/grid.txt"); }},
        // The walk grid is read line by line with the game's own rules.
        {"properties/grid.txt:2: error: \".\" repeats the previous line's y, but there is no previous line",
         [](DataLintTest& t) { t.Write("properties/grid.txt", "# walkways\n+\t10\t.\n+\t10\t10\n"); }},
        {"properties/grid.txt:3: error: x \"ten\" is not a number",
         [](DataLintTest& t) { t.Write("properties/grid.txt", "+\t10\t10\n+\t20\t10\n+\tten\t20\n"); }},
        {"properties/grid.txt:2: error: expected letters, x and y separated by tabs",
         [](DataLintTest& t) { t.Write("properties/grid.txt", "+\t10\t10\n|\t20\n"); }},
        {"properties/grid.txt:1: error: y \"\" is not a number",
         [](DataLintTest& t) { t.Write("properties/grid.txt", "+\t10\t\n+\t10\t10\n"); }},
        {"properties/grid.txt:0: error: the walk grid has no points",
         [](DataLintTest& t) { t.Write("properties/grid.txt", "# nothing but a comment\n"); }},
    };
    for (const Case& c : cases)
    {
        TearDown();
        SetUp();
        c.breakIt(*this);
        std::string output;
        EXPECT_EQ(Lint(output), 1) << c.expected << "\n" << output;
        EXPECT_NE(output.find(c.expected), std::string::npos) << c.expected << "\n" << output;
    }
}

// A released folder keeps its data in main.pak; the checker reads it through the same archive layer as the game.
TEST_F(DataLintTest, FolderWithItsDataInMainPakIsReadFromTheArchive)
{
    std::vector<Zestra::PakSourceFile> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
    {
        if (!entry.is_regular_file())
            continue;
        Zestra::PakSourceFile file;
        file.mName = entry.path().lexically_relative(dir).generic_string();
        std::ifstream in(entry.path(), std::ios::binary);
        file.mData.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        files.push_back(std::move(file));
    }
    std::vector<uint8_t> pak;
    std::string error;
    ASSERT_TRUE(Zestra::BuildPak(files, pak, error)) << error;
    for (const char* top : {"properties", "images", "sounds", "music", "res"})
        fs::remove_all(dir / top);
    std::ofstream(dir / "main.pak", std::ios::binary)
        .write(reinterpret_cast<const char*>(pak.data()), static_cast<std::streamsize>(pak.size()));
    std::string output;
    EXPECT_EQ(Lint(output), 0) << output;
    EXPECT_NE(output.find("1 stores, 1 levels, 1 clothing, 2 people, 1 customers"), std::string::npos) << output;

    std::ofstream(dir / "main.pak", std::ios::binary) << "not an archive";
    EXPECT_EQ(Lint(output), 1);
    EXPECT_NE(output.find("main.pak:0: error: the archive cannot be mounted"), std::string::npos) << output;
}

// Every line of the walk grid is checked, not only up to the first mistake.
TEST_F(DataLintTest, EveryBadLineOfTheWalkGridIsReported)
{
    Write("properties/grid.txt", "+\t.\t10\n+\t10\t10\n+\t20\n+\t30\tthirty\n+\t40\t40\n");
    std::string output;
    EXPECT_EQ(Lint(output), 1) << output;
    for (const char* line : {"grid.txt:1: error", "grid.txt:3: error", "grid.txt:4: error"})
        EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
    EXPECT_EQ(output.find("grid.txt:2:"), std::string::npos) << output;
    EXPECT_EQ(output.find("grid.txt:5:"), std::string::npos) << output;
}

// What reads differently from what it seems to say: the game accepts it, the checker warns at its line.
TEST_F(DataLintTest, DataThatReadsOtherwiseThanWrittenWarns)
{
    struct Case
    {
        const char* expected; // "file:line: warning: " followed by a fragment of the message
        std::function<void(DataLintTest&)> change;
    };
    const Case cases[] = {
        {"properties/stores.xml:2: warning: \"<!--\" without a blank after it is read as a tag",
         [](DataLintTest& t) { t.Replace("properties/stores.xml", "<store name=\"S\"/>", "<!--old--><store name=\"S\"/>"); }},
        {"properties/stores.xml:3: warning: \"<!DOCTYPE\" is not understood",
         [](DataLintTest& t) { t.Replace("properties/stores.xml", "<map-icon", "<!DOCTYPE stores><map-icon"); }},
        {"properties/levels.xml:4: warning: \"&#233;\": character references by number",
         [](DataLintTest& t) { t.Replace("properties/levels.xml", "<customer name", "<customer note=\"caf&#233;\" name"); }},
        {"properties/levels.xml:4: warning: \"&eacute;\" is no entity",
         [](DataLintTest& t) { t.Replace("properties/levels.xml", "<customer name", "<customer note=\"caf&eacute;\" name"); }},
        {"properties/stores.xml:3: warning: single quotes do not quote",
         [](DataLintTest& t) { t.Replace("properties/stores.xml", "<map-icon", "<map-icon note='a b'"); }},
        {"properties/stores.xml:3: warning: <map-icon> gives the attribute \"x\" more than once",
         [](DataLintTest& t) { t.Replace("properties/stores.xml", "<map-icon x=\"1\"", "<map-icon x=\"5\" x=\"1\""); }},
        {"properties/localization.xml:3: warning: \"\xC3\xA9\" looks like UTF-8",
         [](DataLintTest& t) { t.Replace("properties/localization.xml", "value=\"S\"", "value=\"Caf\xC3\xA9\""); }},
        {"properties/grid.txt:2: warning: the point (9000, 10) lies off the 800 x 600 floor",
         [](DataLintTest& t) { t.Write("properties/grid.txt", "+\t10\t10\n+\t9000\t.\n"); }},
        {"properties/grid.txt:1: warning: \"x\" is no direction letter",
         [](DataLintTest& t) { t.Write("properties/grid.txt", "x\t10\t10\n"); }},
        {"properties/grid.txt:1: warning: y \"10px\" is read as 10",
         [](DataLintTest& t) { t.Write("properties/grid.txt", "+\t10\t10px\n"); }},
    };
    for (const Case& c : cases)
    {
        TearDown();
        SetUp();
        c.change(*this);
        std::string output;
        EXPECT_EQ(Lint(output), 0) << c.expected << "\n" << output;
        EXPECT_NE(output.find(c.expected), std::string::npos) << c.expected << "\n" << output;
    }
    // A comment written the way the format wants it, a known entity and plain Latin-1 pass without a word.
    TearDown();
    SetUp();
    Replace("properties/stores.xml", "<store name=\"S\"/>", "<!-- old\tone --><store name=\"S\"/>");
    Replace("properties/levels.xml", "<customer name", "<customer note=\"a &amp; b\" name");
    Replace("properties/localization.xml", "value=\"S\"", "value=\"Caf\xE9\"");
    std::string output;
    EXPECT_EQ(Lint(output), 0) << output;
    EXPECT_NE(output.find("0 error(s), 0 warning(s)"), std::string::npos) << output;
}

TEST_F(DataLintTest, SuspiciousButLegalDataOnlyWarns)
{
    fs::remove(dir / "images/stores/S/Drink.png"); // a store without drinks
    Replace("properties/levels.xml", "max_customers=\"2\"", "max_customers=\"0\"");
    Replace("properties/stores.xml", "<changing-room price=\"100\"/>", "");
    std::string output;
    EXPECT_EQ(Lint(output), 0) << output;
    EXPECT_NE(output.find("properties/stores.xml:2: warning: store image images/stores/S/Drink"), std::string::npos)
        << output;
    EXPECT_NE(output.find("properties/levels.xml:2: warning: level 0 of store S lets no customer in"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("properties/stores.xml:2: warning: store 1 (S) sells no changing room"), std::string::npos)
        << output;
}
