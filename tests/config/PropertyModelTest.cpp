#include "config/PropertyModel.h"

#include "support/TestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(PropertyModel, DefaultsAreTheDocumentedSettings)
{
    PropertyModel m;
    EXPECT_TRUE(m.endSound);
    EXPECT_EQ(m.metronomeFrequency, 100.0);
    EXPECT_TRUE(m.debriefingAsCounts);
    EXPECT_FALSE(m.showCardiacOutput);
    EXPECT_TRUE(m.showMinuteVolume && m.showAverageVolume && m.showInitialVentilations
        && m.showVentilationRate && m.showStomachInflations);
    EXPECT_EQ(m.minuteVolumeLow, 1.5);
    EXPECT_EQ(m.minuteVolumeHigh, 6.0);
    EXPECT_TRUE(m.showVentCompRatio && m.showComments);
    EXPECT_EQ(m.cardiacOutputPerCompression, 0.03);
    EXPECT_EQ(m.cardiacOutputPerWrongHand, 0.01);
    EXPECT_EQ(m.cardiacOutputLow, 1.4);
    EXPECT_EQ(m.cardiacOutputHigh, 6.0);
    EXPECT_TRUE(m.showCompressionRate && m.showCompressionDepth && m.showCompRelaxRatio && m.showPause);
    EXPECT_EQ(m.maxPause, 9);
    EXPECT_TRUE(m.showWrongHandPositions && m.showLeanings && m.compRelaxAsPercent);
    EXPECT_FALSE(m.overrideDepth);
    EXPECT_EQ(m.depthLow, 30.0);
    EXPECT_EQ(m.depthHigh, 52.0);
    EXPECT_EQ(m.printHeading, L"");
    EXPECT_TRUE(m.printGraph);
    EXPECT_EQ(m.graphPrintMinutes, 5);
    EXPECT_TRUE(m.printDebriefingText && m.printApprovalFields && m.printEventList);
    EXPECT_EQ(m.algorithm1Name, "AHA 2005");
    EXPECT_EQ(m.algorithm2Name, "ERC 2005");
    EXPECT_EQ(m.icons, (std::vector<std::int32_t> { 0, 1, 2, 3, 4, 5 }));
    EXPECT_EQ(m.languages, (std::vector<std::string> { "en", "de", "fr" }));
    EXPECT_EQ(m.legends, std::vector<std::string>(6));
    EXPECT_TRUE(m.registerEvents);
    EXPECT_FALSE(m.enableLegends);
    EXPECT_EQ(m.magic, 4660);
}

struct FieldChange {
    const char* field;
    std::function<void(PropertyModel&)> change;
};

TEST(PropertyModel, EverySettingTakesPartInEquality)
{
    const FieldChange changes[] = {
        { "endSound", [](PropertyModel& m) { m.endSound = false; } },
        { "metronomeFrequency", [](PropertyModel& m) { m.metronomeFrequency = 101; } },
        { "debriefingAsCounts", [](PropertyModel& m) { m.debriefingAsCounts = false; } },
        { "showCardiacOutput", [](PropertyModel& m) { m.showCardiacOutput = true; } },
        { "showMinuteVolume", [](PropertyModel& m) { m.showMinuteVolume = false; } },
        { "showAverageVolume", [](PropertyModel& m) { m.showAverageVolume = false; } },
        { "showInitialVentilations", [](PropertyModel& m) { m.showInitialVentilations = false; } },
        { "showVentilationRate", [](PropertyModel& m) { m.showVentilationRate = false; } },
        { "showStomachInflations", [](PropertyModel& m) { m.showStomachInflations = false; } },
        { "minuteVolumeLow", [](PropertyModel& m) { m.minuteVolumeLow = 1.6; } },
        { "minuteVolumeHigh", [](PropertyModel& m) { m.minuteVolumeHigh = 6.1; } },
        { "showVentCompRatio", [](PropertyModel& m) { m.showVentCompRatio = false; } },
        { "showComments", [](PropertyModel& m) { m.showComments = false; } },
        { "cardiacOutputPerCompression", [](PropertyModel& m) { m.cardiacOutputPerCompression = 0.04; } },
        { "cardiacOutputPerWrongHand", [](PropertyModel& m) { m.cardiacOutputPerWrongHand = 0.02; } },
        { "cardiacOutputLow", [](PropertyModel& m) { m.cardiacOutputLow = 1.5; } },
        { "cardiacOutputHigh", [](PropertyModel& m) { m.cardiacOutputHigh = 6.5; } },
        { "showCompressionRate", [](PropertyModel& m) { m.showCompressionRate = false; } },
        { "showCompressionDepth", [](PropertyModel& m) { m.showCompressionDepth = false; } },
        { "showCompRelaxRatio", [](PropertyModel& m) { m.showCompRelaxRatio = false; } },
        { "showPause", [](PropertyModel& m) { m.showPause = false; } },
        { "maxPause", [](PropertyModel& m) { m.maxPause = 10; } },
        { "showWrongHandPositions", [](PropertyModel& m) { m.showWrongHandPositions = false; } },
        { "showLeanings", [](PropertyModel& m) { m.showLeanings = false; } },
        { "compRelaxAsPercent", [](PropertyModel& m) { m.compRelaxAsPercent = false; } },
        { "overrideDepth", [](PropertyModel& m) { m.overrideDepth = true; } },
        { "depthLow", [](PropertyModel& m) { m.depthLow = 31; } },
        { "depthHigh", [](PropertyModel& m) { m.depthHigh = 51; } },
        { "printHeading", [](PropertyModel& m) { m.printHeading = L"Course\r\nRoom 2"; } },
        { "printGraph", [](PropertyModel& m) { m.printGraph = false; } },
        { "graphPrintMinutes", [](PropertyModel& m) { m.graphPrintMinutes = 6; } },
        { "printDebriefingText", [](PropertyModel& m) { m.printDebriefingText = false; } },
        { "printApprovalFields", [](PropertyModel& m) { m.printApprovalFields = false; } },
        { "printEventList", [](PropertyModel& m) { m.printEventList = false; } },
        { "algorithm1Name", [](PropertyModel& m) { m.setAlgorithm1Name("Local"); } },
        { "algorithm2Name", [](PropertyModel& m) { m.setAlgorithm2Name("Local"); } },
        { "icons[0]", [](PropertyModel& m) { m.setIconNumber(0, 9); } },
        { "icons[5]", [](PropertyModel& m) { m.setIconNumber(5, 96); } },
        { "languages[2]", [](PropertyModel& m) { m.setLanguage(2, "es"); } },
        { "legends[5]", [](PropertyModel& m) { m.setLegend(5, "Drugs"); } },
        { "registerEvents", [](PropertyModel& m) { m.registerEvents = false; } },
        { "enableLegends", [](PropertyModel& m) { m.enableLegends = true; } },
    };
    EXPECT_TRUE(PropertyModel() == PropertyModel());
    for (const FieldChange& c : changes) {
        PropertyModel changed;
        c.change(changed);
        EXPECT_FALSE(changed == PropertyModel()) << c.field;
        EXPECT_TRUE(changed != PropertyModel()) << c.field;
    }
}

TEST(PropertyModel, MagicIsCopiedButNotCompared)
{
    PropertyModel a;
    a.magic = 0;
    EXPECT_TRUE(a == PropertyModel());
    PropertyModel b;
    b = a;
    EXPECT_EQ(b.magic, 0);
    PropertyModel c(a);
    EXPECT_EQ(c.magic, 0);
}

TEST(PropertyModel, DoublesCompareByValueAndVectorsOnlyAtTheirPositions)
{
    PropertyModel plus;
    PropertyModel minus;
    plus.depthHigh = 0.0;
    minus.depthHigh = -0.0;
    EXPECT_TRUE(plus == minus);

    // Elements past the fixed positions are not settings.
    PropertyModel longer;
    longer.icons.push_back(7);
    longer.languages.push_back("it");
    EXPECT_TRUE(longer == PropertyModel());

    // A vector cut short never reads past its end and differs from a full one.
    PropertyModel shorter;
    shorter.legends.resize(2);
    EXPECT_FALSE(shorter == PropertyModel());
    EXPECT_FALSE(PropertyModel() == shorter);
}

TEST(PropertyModel, IconAndLegendIndexesAreCheckedAndThenRaise)
{
    testsupport::LogCapture log;
    PropertyModel m;
    m.setLegend(5, "sixth");
    EXPECT_EQ(m.getLegend(5), "sixth");
    EXPECT_EQ(m.getIconNumber(5), 5);
    EXPECT_FALSE(log.hasAssertion("i >=0 && i < 6"));

    EXPECT_THROW(m.getLegend(6), std::out_of_range);
    EXPECT_TRUE(log.hasAssertion("i >=0 && i < 6"));
    EXPECT_THROW(m.setIconNumber(-1, 3), std::out_of_range);
    EXPECT_THROW(m.getIconNumber(6), std::out_of_range);
    EXPECT_THROW(m.setLegend(6, "x"), std::out_of_range);
    EXPECT_EQ(m.icons, PropertyModel().icons);
}

TEST(PropertyModel, LanguageIndexesAreCheckedAndNeverReachOutside)
{
    testsupport::LogCapture log;
    PropertyModel m;
    m.setLanguage(1, "nl");
    EXPECT_EQ(m.getLanguage(1), "nl");
    EXPECT_FALSE(log.hasAssertion("i >=0 && i < 3"));

    EXPECT_EQ(m.getLanguage(3), "");
    EXPECT_TRUE(log.hasAssertion("i >=0 && i < 3"));
    m.setLanguage(-1, "pl");
    m.setLanguage(3, "pl");
    EXPECT_EQ(m.languages, (std::vector<std::string> { "en", "nl", "fr" }));
}

} // namespace
