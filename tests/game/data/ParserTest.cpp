#include "DataTestSupport.h"

#include "framework/xml/XMLParser.h"
#include "game/data/Parser.h"

#include <cfloat>
#include <climits>
#include <gtest/gtest.h>

namespace
{

// A reader with no elements of its own, to drive the base directly.
class ProbeReader : public Parser
{
public:
    ProbeReader(ParserHost& host, const std::string& readerName) : Parser(host, readerName) {}
    std::vector<std::string> starts;
    std::vector<std::string> texts;

protected:
    void OnStartElement(const Zestra::ParsedElement& element) override { starts.push_back(element.mText); }
    void OnElementText(const Zestra::ParsedElement& element) override { texts.push_back(element.mText); }
};

class ParserTest : public ::testing::Test
{
protected:
    FakeHost host;
    ScratchGameFolder folder;
};

} // namespace

TEST(DataConvertTest, IntegerReadsLeadingNumberAndSaturates)
{
    const std::pair<const char*, int> cases[] = {
        {"12abc", 12}, {"abc", 0}, {"", 0}, {"  -7", -7}, {"+5", 5}, {"99999999999", INT_MAX}, {"-99999999999", INT_MIN},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(DataConvert::Integer(text), expected) << text;
}

TEST(DataConvertTest, HundredthsNarrowToFloatFirstAndNeverOverflow)
{
    const std::pair<const char*, int> cases[] = {
        {"0.29", 28}, {"1.5", 150}, {"2", 200}, {"", 0}, {"12.5", 1250}, {"-0.5", -50},
        {"1e12", INT_MAX}, {"-1e12", INT_MIN}, {"nan", 0}, {"inf", INT_MAX}, {" +1.5", 150}, {"1e-400", 0},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(DataConvert::Hundredths(text), expected) << text;
}

TEST(DataConvertTest, RealPercentageAndFlag)
{
    EXPECT_FLOAT_EQ(DataConvert::Percentage("150"), 1.5f);
    EXPECT_FLOAT_EQ(DataConvert::Real("0.25x"), 0.25f);
    EXPECT_EQ(DataConvert::Real("nan"), 0.0f);
    EXPECT_EQ(DataConvert::Real("1e300"), FLT_MAX);
    EXPECT_TRUE(DataConvert::Flag("male", "male"));
    EXPECT_FALSE(DataConvert::Flag("Male", "male"));
    EXPECT_FALSE(DataConvert::Flag("", "male"));
}

TEST_F(ParserTest, SameImageIsLoadedOncePerFullPath)
{
    host.images["images/stores/A/pic"] = {4, 4};
    host.images["images/people/A/pic"] = {4, 4};
    ProbeReader stores(host, "stores");
    ProbeReader stores2(host, "stores");
    ProbeReader people(host, "people");
    Zestra::Image* first = stores.LoadImage("A/pic");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(stores2.LoadImage("A/pic"), first);
    EXPECT_EQ(host.imageLoads["images/stores/A/pic"], 1);
    Zestra::Image* other = people.LoadImage("A/pic");
    EXPECT_NE(other, first);
    EXPECT_EQ(Parser::SharedImageCount(), 2u);
}

TEST_F(ParserTest, MissingImageIsNotCachedAndIsTriedAgain)
{
    ProbeReader reader(host, "stores");
    EXPECT_EQ(reader.LoadImage("late"), nullptr);
    host.images["images/stores/late"] = {2, 2};
    EXPECT_NE(reader.LoadImage("late"), nullptr);
    EXPECT_EQ(host.imageLoads["images/stores/late"], 2);
}

TEST_F(ParserTest, FailedSongLeavesItsIdToTheNextAndFreeUnloadsEverySong)
{
    host.songs = {"music/a.ogg", "music/c.ogg"};
    ProbeReader reader(host, "stores");
    EXPECT_EQ(reader.LoadSong("a"), 0);
    EXPECT_EQ(reader.LoadSong("missing"), -1);
    EXPECT_EQ(reader.LoadSong("c"), 1);
    EXPECT_EQ(reader.LoadSong("a"), 0);
    EXPECT_NE(host.Find("music/missing.ogg"), nullptr);
    Parser::FreeSharedMedia();
    EXPECT_EQ(host.unloadedMusic.size(), 2u);
    EXPECT_EQ(Parser::SharedSongCount(), 0u);
}

TEST_F(ParserTest, VoicesAreKeyedByPersonAndSound)
{
    host.voices = {"sounds/people/Masel/Hello", "sounds/people/Brisk/Hello"};
    ProbeReader reader(host, "people");
    EXPECT_EQ(reader.LoadVoice("Masel", "Hello"), 0);
    EXPECT_EQ(reader.LoadVoice("Masel", "Angry"), -1);
    EXPECT_EQ(reader.LoadVoice("Brisk", "Hello"), 1);
    EXPECT_EQ(reader.LoadVoice("Masel", "Hello"), 0);
    Parser::FreeSharedMedia();
    EXPECT_EQ(host.releasedVoices.size(), 2u);
}

TEST_F(ParserTest, MissingFileReadsNothingAndWarns)
{
    ProbeReader reader(host, "");
    reader.ParseProperties("nothing.xml");
    EXPECT_TRUE(reader.starts.empty());
    ASSERT_EQ(host.issues.size(), 1u);
    EXPECT_EQ(host.issues[0].severity, DataSeverity::Warning);
    EXPECT_EQ(host.issues[0].file, "properties/nothing.xml");
}

TEST_F(ParserTest, SyntaxErrorKeepsWhatCameBeforeAndReportsItsLine)
{
    folder.Write("properties/broken.xml", "<a/>\n<b>text</b>\n<c></d>\n<e/>\n");
    ProbeReader reader(host, "");
    reader.ParseProperties("broken.xml");
    EXPECT_EQ(reader.starts, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(reader.texts, (std::vector<std::string>{"text"}));
    ASSERT_EQ(host.Count(DataSeverity::Error), 1);
    EXPECT_EQ(host.issues[0].line, 3);
}

// Half a file reads like a whole one with fewer stores or levels in it, which used to cost the player every entry
// of the missing part at the next save; such a file must be named as damaged, with the line where it broke off.
TEST_F(ParserTest, EmptyCutAndMalformedFilesAreDamagedWithFileAndLine)
{
    struct Case
    {
        const char* text;
        int line;             // 0: the file is whole
        const char* fragment; // in the damage text
    };
    const Case cases[] = {
        {"<stores>\n<store number=\"1\"/>\n</stores>\n", 0, ""},
        {"<stores>\n<store number=\"1\"/>\n<store number=\"2\">\n<level/>", 4, "cut short"},
        {"<stores>\n<store number=\"1\"/>\n<sto", 3, "damaged"},
        {"", 0, "empty"},
        {"\n\n  \n", 0, "empty"},
        {"<stores>\n<store></level>\n</stores>\n", 2, "damaged"},
        {"<!-- only a comment -->\n", 0, "empty"},
    };
    for (const Case& c : cases)
    {
        FakeHost fresh;
        folder.Write("properties/probe.xml", c.text);
        ProbeReader reader(fresh, "");
        reader.ParseProperties("probe.xml");
        const std::string& damage = fresh.FirstDamage();
        if (std::string(c.fragment).empty())
        {
            EXPECT_EQ(damage, "") << c.text;
            continue;
        }
        EXPECT_EQ(damage.rfind("properties/probe.xml:", 0), 0u) << c.text << " -> " << damage;
        EXPECT_NE(damage.find(c.fragment), std::string::npos) << c.text << " -> " << damage;
        if (c.line > 0)
        {
            std::string where = ":";
            where += std::to_string(c.line);
            where += ':';
            EXPECT_NE(damage.find(where), std::string::npos) << c.text << " -> " << damage;
        }
        EXPECT_EQ(fresh.Count(DataSeverity::Error), 1) << c.text;
    }
}
