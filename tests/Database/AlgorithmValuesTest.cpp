// The algorithm editor's numbers without a window: the field texts, the
// ratio notation of the compression share and the ranges.
#include "Database/AlgorithmValues.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace algorithmValues;

TEST(AlgorithmValues, FieldTextsParseByTheirLeadingNumber)
{
    const std::pair<const char*, double> cases[] = {
        {"40  ", 40}, {"1.5 ", 1.5}, {"0,66", 0.66}, {" 12", 12}, {"-3", -3}, {".5", 0.5}, {"7.", 7},
        {"", 0},      {"    ", 0},   {"abc", 0},     {".", 0},    {"1e2", 100}, {"2e", 2}, {"12x4", 12},
        // no hexadecimal numbers or words, as strtod would take them
        {"0x10", 0},  {"inf", 0},    {"nan", 0},
    };
    for (auto [text, expected] : cases)
        EXPECT_EQ(parse(text), expected) << '"' << text << '"';
}

TEST(AlgorithmValues, ValuesFormatAsPrintfG)
{
    EXPECT_EQ(format(40), "40");
    EXPECT_EQ(format(1.5), "1.5");
    EXPECT_EQ(format(40.0 / 60.0), "0.666667");
    EXPECT_EQ(format(0.6), "0.6");
}

TEST(AlgorithmValues, SharesAndRatiosConvertAndAShareOf100StaysFinite)
{
    EXPECT_EQ(shareToRatio(50), 1);
    EXPECT_EQ(shareToRatio(60), 1.5);
    EXPECT_EQ(ratioToShare(1.5), 60);
    EXPECT_NEAR(ratioToShare(0.66), 39.759, 0.001) << "the precision a field of four positions keeps";
    for (double share : {100.0, 120.0, 99.999999})
        EXPECT_TRUE(std::isfinite(shareToRatio(share)) && shareToRatio(share) <= largestRatio) << share;
    EXPECT_EQ(shareToRatio(100), largestRatio);
    EXPECT_EQ(format(shareToRatio(100)), "9999");
    EXPECT_EQ(shareToRatio(0), 0);
    EXPECT_EQ(shareToRatio(-5), 0);
    EXPECT_EQ(ratioToShare(0), 0);
    EXPECT_EQ(ratioToShare(-1), 0);
}

TEST(AlgorithmValues, CorrectionKeepsEveryValueInItsRangeAndLowLimitsAtMostTheHighOnes)
{
    Algorithm fine;
    EXPECT_TRUE(corrected(fine) == fine) << "the defaults are within every range";

    Algorithm a;
    a.compDepthHigh = 300;
    a.compDepthLow = 0;
    a.eccRateLow = 400;
    a.eccRateHigh = 120;
    a.compRelaxRecc = 120;
    a.vRateHigh = -1;
    a.initVent = 25;
    a.ventCompRatioSingleComp = 0;
    a.ventCompRatioDoubleVent = 60;
    a.vVolLow = 7;
    a.vVolHigh = 0.5;
    Algorithm c = corrected(a);
    EXPECT_EQ(c.compDepthHigh, 250);
    EXPECT_EQ(c.compDepthLow, 1);
    EXPECT_EQ(c.eccRateHigh, 120);
    EXPECT_EQ(c.eccRateLow, 120) << "clamped to 250, then not above the high rate";
    EXPECT_EQ(c.compRelaxRecc, 100);
    EXPECT_EQ(c.vRateHigh, 0);
    EXPECT_EQ(c.vRateLow, 0) << "the default 6 is above the corrected high rate";
    EXPECT_EQ(c.initVent, 20);
    EXPECT_EQ(c.ventCompRatioSingleComp, 1);
    EXPECT_EQ(c.ventCompRatioDoubleVent, 50);
    EXPECT_EQ(c.vVolLow, 0.5) << "clamped to 5, then not above the high volume";
    EXPECT_EQ(c.vVolHigh, 0.5);
    EXPECT_EQ(c.Name, a.Name);

    Algorithm bounds;
    bounds.compDepthLow = 1;
    bounds.compDepthHigh = 250;
    bounds.initVent = 0;
    bounds.ventCompRatioSingleVent = 50;
    bounds.vVolHigh = 5;
    EXPECT_TRUE(corrected(bounds) == bounds) << "every bound belongs to its range";
}

TEST(AlgorithmValues, EveryLowLimitAboveItsHighLimitTakesTheHighOne)
{
    const struct {
        const char* pair;
        double Algorithm::*low;
        double Algorithm::*high;
        double lowValue;
        double highValue;
    } pairs[] = {
        {"depth", &Algorithm::compDepthLow, &Algorithm::compDepthHigh, 60, 40},
        {"share", &Algorithm::compRelaxLow, &Algorithm::compRelaxHigh, 70, 30},
        {"ECC rate", &Algorithm::eccRateLow, &Algorithm::eccRateHigh, 120, 100},
        {"ventilation rate", &Algorithm::vRateLow, &Algorithm::vRateHigh, 12, 8},
        {"ventilation volume", &Algorithm::vVolLow, &Algorithm::vVolHigh, 0.8, 0.5},
    };
    for (const auto& p : pairs) {
        Algorithm a;
        a.*p.low = p.lowValue;
        a.*p.high = p.highValue;
        Algorithm expected = a;
        expected.*p.low = p.highValue;
        EXPECT_TRUE(corrected(a) == expected) << p.pair << ": only the low limit moves";

        a.*p.low = p.highValue;
        EXPECT_TRUE(corrected(a) == a) << p.pair << ": equal limits are a band";
    }
}
