// Clothing names decide the picture: kind from the second word, colour or pattern from the third, and the
// store's palette when there is no variant.
#include "tools/contentgen/Generator.h"

#include <gtest/gtest.h>

using namespace ContentGen;

TEST(ClothingNameTest, KindGenderAndVariant)
{
    Palette p;
    p.accent = {0.1, 0.2, 0.3};
    p.accent2 = {0.4, 0.5, 0.6};
    p.trim = {1, 1, 1};
    struct Case
    {
        const char* name;
        bool male;
        const char* kind;
        const char* pattern;
    } cases[] = {{"girls_croppants", false, "croppants", ""},      {"mens_tshirt_striped", true, "tshirt", "striped"},
                 {"mens_jeans", true, "jeans", "denim"},           {"mens_jeans_black", true, "jeans", "denim"},
                 {"girls_dress_floral", false, "dress", "floral"}, {"girls_skirt_red", false, "skirt", ""},
                 {"mens_coat_tweed", true, "coat", "tweed"}};
    for (const Case& c : cases)
    {
        ClothingLook look = ParseClothingName(c.name, p);
        EXPECT_EQ(look.male, c.male) << c.name;
        EXPECT_EQ(look.kind, c.kind) << c.name;
        EXPECT_EQ(look.pattern, c.pattern) << c.name;
    }
}

TEST(ClothingNameTest, ColourWordsWinOverThePalette)
{
    Palette p;
    p.accent = p.accent2 = {0.1, 0.2, 0.3};
    ClothingLook red = ParseClothingName("girls_skirt_red", p);
    ClothingLook plain = ParseClothingName("girls_skirt", p);
    EXPECT_GT(red.main.r, 0.8);
    EXPECT_LT(red.main.g, 0.3);
    EXPECT_NEAR(plain.main.b, 0.3, 0.15);
}
