#include "Database/Algorithm.h"

#include <gtest/gtest.h>

namespace {

TEST(Algorithm, DefaultsAndSetDefaultsClearTheName)
{
    Algorithm a;
    EXPECT_EQ(a.Name, "");
    EXPECT_EQ(a.compDepthHigh, 50);
    EXPECT_EQ(a.compDepthLow, 40);
    EXPECT_EQ(a.compRelaxHigh, 60);
    EXPECT_EQ(a.compRelaxLow, 40);
    EXPECT_EQ(a.compRelaxRecc, 50);
    EXPECT_EQ(a.eccRateHigh, 110);
    EXPECT_EQ(a.eccRateLow, 90);
    EXPECT_EQ(a.initVent, 2);
    EXPECT_EQ(a.ventCompRatioDoubleComp, 5);
    EXPECT_EQ(a.ventCompRatioDoubleVent, 1);
    EXPECT_EQ(a.ventCompRatioSingleComp, 15);
    EXPECT_EQ(a.ventCompRatioSingleVent, 2);
    EXPECT_EQ(a.vRateHigh, 9);
    EXPECT_EQ(a.vRateLow, 6);
    EXPECT_DOUBLE_EQ(a.vVolHigh, 0.6);
    EXPECT_DOUBLE_EQ(a.vVolLow, 0.4);
    EXPECT_FALSE(a.builtIn);
    EXPECT_EQ(a.pauseEccMax, 10);

    Algorithm filled = a;
    filled.Name = "ERC 2005";
    filled.eccRateHigh = 120;
    filled.builtIn = true;
    filled.setDefaults();
    EXPECT_EQ(filled, Algorithm());
}

TEST(Algorithm, KeyIgnoresCaseButEqualityDoesNot)
{
    Algorithm a;
    a.Name = "AHA 2005";
    Algorithm b = a;
    b.Name = "aha 2005";
    EXPECT_TRUE(Algorithm::keysEqual(a.Name, b.Name));
    EXPECT_FALSE(a == b);
    b.Name = a.Name;
    EXPECT_TRUE(a == b);
    b.pauseEccMax = 11;
    EXPECT_FALSE(a == b);
    EXPECT_FALSE(Algorithm::isKeyComplete(""));
    EXPECT_TRUE(Algorithm::isKeyComplete("x"));
}

TEST(Algorithm, KeyEqualityFoldsEveryLetterOfTheCodePage)
{
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    };
    const Case cases[] = {
        {"\xC4rzte (\xD6sterreich)", "\xE4rzte (\xF6sterreich)", true}, // Ä/ä, Ö/ö
        {"\x8A" "koda", "\x9A" "KODA", true},                            // Š/š
        {"\x9F", "\xFF", true},                                          // Ÿ/ÿ
        {"AHA", "AHA 2005", false},
        {"a\xE4", "a\xE5", false}, // ä is not å
        {"", "", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Algorithm::keysEqual(c.a, c.b), c.equal) << c.a << " / " << c.b;
}

TEST(Algorithm, NameAsWideTextAndKeyCondition)
{
    Algorithm a;
    a.Name = "M\xFCller's \x80"; // Müller's €
    EXPECT_EQ(a.nameText(), L"M\u00FCller's \u20AC");

    Algorithm b;
    b.setNameText(L"Gr\u00F6\u00DFe \u20AC \u4E2D");
    EXPECT_EQ(b.Name, "Gr\xF6\xDF" "e \x80 ?"); // a character outside the code page becomes '?'

    EXPECT_EQ(a.keyCondition(), "name = 'M\xFCller''s \x80'");
    EXPECT_EQ(a.keyCondition("Algorithm"), "Algorithm = 'M\xFCller''s \x80'");
}

} // namespace
