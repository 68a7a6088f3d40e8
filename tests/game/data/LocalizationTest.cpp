#include "DataTestSupport.h"

#include "game/data/Localization.h"

#include <gtest/gtest.h>

namespace
{

class LocalizationTest : public ::testing::Test
{
protected:
    FakeHost host;
    ScratchGameFolder folder;

    void Read(const std::string& text)
    {
        folder.Write("properties/localization.xml", text);
        Localization reader(host);
    }
    void ReadTemplates(const std::string& whole, const std::string& decimal)
    {
        FreeDataTables();
        host.issues.clear();
        Read("<id tag=\"money_template\" value=\"" + whole + "\"/>\n<id tag=\"money_template_decimal\" value=\"" +
             decimal + "\"/>");
    }
};

} // namespace

TEST_F(LocalizationTest, TextsGoToTheirTables)
{
    Read(R"(<id tag="greeting" value="Line one\nLine two"/>
<store/><store/><customer name="Masel" description="Tall\nand kind"/>
<level month="January"/><begin>Open up\nnow</begin><dorviebegin>Rival day</dorviebegin>
<welcome>Hello again</welcome><fail>Too bad</fail>
<minigame month="Bonus"/><complete>Done</complete>
<credit title="Art" name="Us"/>)");
    EXPECT_EQ(GetText("greeting"), "Line one\nLine two");
    EXPECT_EQ(GetText("welcome"), "Hello again"); // a global key after a level stays global
    EXPECT_EQ(StoreTextCount(), 2);
    EXPECT_TRUE(GetStoreText(1).levelTexts.empty());
    const LevelText& level = GetLevelText(2, 0);
    EXPECT_EQ(level.month, "January");
    EXPECT_EQ(level.GetText("begin"), "Open up\nnow");
    EXPECT_EQ(level.GetText("bossbegin"), "Rival day");
    EXPECT_EQ(level.texts.count("dorviebegin"), 0u);
    EXPECT_EQ(level.GetText("fail"), "Too bad");
    EXPECT_EQ(GetLevelText(2, 1).GetText("complete"), "Done");
    EXPECT_EQ(GetStoreText(2).GetDescription("Masel"), "Tall\nand kind");
    ASSERT_EQ(GetCredits().size(), 1u);
    EXPECT_EQ(GetCredits()[0].second, "Us");
}

TEST_F(LocalizationTest, MissingTextsAreEmptyAndLookupsNeverInsert)
{
    Read(R"(<id tag="a" value="x"/><store/><level month="m"/>)");
    EXPECT_EQ(GetText("nope"), "");
    EXPECT_EQ(GetText("nope"), "");
    EXPECT_FALSE(HasText("nope"));
    EXPECT_EQ(GetLevelText(1, 0).GetText("begin"), "");
    EXPECT_TRUE(GetLevelText(1, 5).month.empty());
    EXPECT_TRUE(GetLevelText(7, 0).month.empty());
    EXPECT_TRUE(GetStoreText(0).levelTexts.empty());
}

TEST_F(LocalizationTest, OrphanElementsAreReportedAtTheirLine)
{
    Read("<id tag=\"a\" value=\"x\"/>\n<level month=\"m\"/>\n<begin>lost</begin>\n<customer name=\"x\"/>");
    EXPECT_EQ(host.Find("<level> text comes before")->line, 2);
    EXPECT_EQ(host.Find("\"begin\" comes before")->line, 3);
    EXPECT_EQ(host.Find("<customer> description")->line, 4);
}

TEST_F(LocalizationTest, FormatMoneyPicksTheTemplateByFraction)
{
    ReadTemplates("$%d", "$%.2f");
    const std::pair<double, const char*> cases[] = {
        {12.0, "$12"}, {12.5, "$12.50"}, {0.0, "$0"}, {-3.0, "$-3"}, {1e300, "$2147483647"},
        // Whole cents decide: a fraction of a cent is no fraction, and large amounts keep their cents.
        {12.0000001, "$12"}, {12.004, "$12"}, {0.1 + 0.2, "$0.30"}, {1234567.89, "$1234567.89"},
    };
    for (const auto& [amount, text] : cases)
        EXPECT_EQ(FormatMoney(amount), text) << amount;
    // Figures in a column always show their cents.
    EXPECT_EQ(FormatMoneyWithCents(12.0), "$12.00");
    EXPECT_EQ(FormatMoneyWithCents(0.1 + 0.2), "$0.30");
    EXPECT_EQ(host.issues.size(), 0u);
}

TEST_F(LocalizationTest, TemplatesThatAreNotExactlyOneMatchingConversionAreRefused)
{
    struct Case
    {
        const char* whole;
        const char* decimal;
        bool wholeOk;
        bool decimalOk;
    };
    const Case cases[] = {
        {"%s", "%n", false, false},
        {"%n%d", "%f%f", false, false},
        {"$%d %d", "%.2f and %d", false, false},
        {"%99999999d", "%.99999f", false, false},
        {"%ld", "%Lf", false, false},
        {"%f", "%d", false, false},
        {"%*d", "100%", false, false},
        {"100%% $%05d", "%+.2e%%", true, true},
        {"%i", "%G", true, true},
    };
    for (const Case& c : cases)
    {
        ReadTemplates(c.whole, c.decimal);
        EXPECT_EQ(FormatMoney(7.0).empty(), !c.wholeOk) << c.whole;
        EXPECT_EQ(FormatMoney(7.5).empty(), !c.decimalOk) << c.decimal;
        EXPECT_EQ(host.Count(DataSeverity::Warning), (c.wholeOk ? 0 : 1) + (c.decimalOk ? 0 : 1)) << c.whole;
        if (!c.wholeOk)
        {
            EXPECT_FALSE(HasText("money_template"));
            EXPECT_EQ(host.Find("money_template \"")->line, 1);
        }
    }
    ReadTemplates("100%% $%05d", "%.1f");
    EXPECT_EQ(FormatMoney(42.0), "100% $00042");
}

TEST_F(LocalizationTest, MissingTemplatesFormatAsEmptyText)
{
    Read(R"(<id tag="a" value="x"/>)");
    EXPECT_EQ(FormatMoney(12.0), "");
    EXPECT_EQ(FormatMoney(12.5), "");
}
