// Recipe lines and the tolerant tag scanner: the generator must read what the content files say and report
// bad lines with file and line instead of guessing.
#include "tools/contentgen/Recipe.h"

#include <gtest/gtest.h>

using namespace ContentGen;

TEST(RecipeTest, SplitsWordsAndPairsWithQuotedValues)
{
    std::vector<std::string> problems;
    auto lines = ParseRecipes("# comment\n\nGame IMAGE_X button 120x40 label=\"High Scores\" state=over\r\n"
                              "  palette ui plum=#5b2a6e\n",
                              "ui.txt", problems);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(lines[0].line, 3);
    EXPECT_EQ(lines[0].words, (std::vector<std::string>{"Game", "IMAGE_X", "button", "120x40"}));
    EXPECT_EQ(lines[0].Get("label"), "High Scores");
    EXPECT_EQ(lines[0].Get("state"), "over");
    EXPECT_EQ(lines[0].Get("missing", "fallback"), "fallback");
    EXPECT_EQ(lines[1].Get("plum"), "#5b2a6e");
}

TEST(RecipeTest, UnterminatedQuoteIsReportedWithItsLine)
{
    std::vector<std::string> problems;
    auto lines = ParseRecipes("a b\nGame IMAGE_X text 10x10 label=\"Oops\n", "ui.txt", problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "ui.txt:2: unterminated quote");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].Get("label"), "Oops");
}

TEST(RecipeTest, NumbersFallBackOnGarbage)
{
    std::vector<std::string> problems;
    auto lines = ParseRecipes("x cols=3 tilt=-12.5 bad=3x empty=\n", "f", problems);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Number("cols", 1), 3);
    EXPECT_EQ(lines[0].Number("tilt", 0), -12.5);
    EXPECT_EQ(lines[0].Number("bad", 7), 7);
    EXPECT_EQ(lines[0].Number("empty", 9), 9);
}

TEST(RecipeTest, ParseSizeAcceptsOnlyPositiveWxH)
{
    struct Case
    {
        const char* text;
        bool ok;
        int w, h;
    } cases[] = {{"800x600", true, 800, 600}, {"1x1", true, 1, 1},    {"0x5", false, 0, 0},  {"x5", false, 0, 0},
                 {"5x", false, 0, 0},         {"5x5x5", false, 0, 0}, {"-5x5", false, 0, 0}, {"99999x1", false, 0, 0}};
    for (const Case& c : cases)
    {
        int w = 0, h = 0;
        EXPECT_EQ(ParseSize(c.text, w, h), c.ok) << c.text;
        if (c.ok)
        {
            EXPECT_EQ(w, c.w) << c.text;
            EXPECT_EQ(h, c.h) << c.text;
        }
    }
}

TEST(RecipeTest, ScanTagsReadsStartTagsAndSkipsTheRest)
{
    std::vector<std::string> problems;
    auto tags = ScanTags("<?xml version=\"1.0\"?>\n<!-- <store name=\"Hidden\"/> -->\n<stores>\n"
                         "  <store name='Pin &amp; Needle'>\n  <layout x=\"1\"\n     y=\"5\" gender=\"male\"/>\n"
                         "</stores>\n",
                         "stores.xml", problems);
    EXPECT_TRUE(problems.empty());
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_EQ(tags[0].name, "stores");
    EXPECT_EQ(tags[1].Attr("name"), "Pin & Needle");
    EXPECT_EQ(tags[1].line, 4);
    EXPECT_EQ(tags[2].Attr("y"), "5");
    EXPECT_EQ(tags[2].line, 5);
    EXPECT_EQ(tags[2].Attr("absent"), "");
}

TEST(RecipeTest, ScanTagsReportsMalformedTagsAndGoesOn)
{
    std::vector<std::string> problems;
    auto tags = ScanTags("<a x=\"1\">\n<b x=1>\n<c y=\"2\"/>\n<d z=\"unterminated>\n", "f.xml", problems);
    ASSERT_EQ(tags.size(), 2u);
    EXPECT_EQ(tags[0].name, "a");
    EXPECT_EQ(tags[1].name, "c");
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0], "f.xml:2: malformed tag <b>");
    EXPECT_EQ(problems[1], "f.xml:4: malformed tag <d>");
}
