#include "Database/Algorithm.h"
#include "config/PropertyModel.h"
#include "session/DebriefRows.h"

#include <gtest/gtest.h>

namespace {

// A good two-person session against the default guideline.
DebriefStats goodStats()
{
    DebriefStats s;
    s.initialVentilations = 2;
    s.ventilations = 10;
    s.averageVolume = 0.5;
    s.detectorVolume = 0.5;
    s.minuteVolume = 4.0;
    s.ventilationRate = 7.4;
    s.compressions = 50;
    s.compGroups = 10;
    s.compressionRate = 99.6;
    s.compFreqOK = 10;
    s.averageDepth = 44.5;
    s.pauseOK = 9;
    s.averagePause = 3;
    s.compressionShare = 0.5;
    s.cardiacOutput = 3.0;
    s.cardiacOK = 10;
    s.cycles = 10;
    s.correctCycles = 10;
    s.cycleCompressions = 5;
    s.cycleVentilations = 1;
    return s;
}

struct Texts {
    std::wstring total = L" ", average = L" ", evaluation = L" ";
};

Texts texts(const DebriefRows& rows, int row)
{
    Texts t;
    rows.rowTexts(row, t.total, t.average, t.evaluation);
    return t;
}

} // namespace

TEST(DebriefRows, RowsShownFollowModeAndOptions)
{
    Algorithm algor;
    DebriefOptions options;
    DebriefStats stats;
    struct Case {
        TrainingMode mode;
        const char* shown; // one character per row
    } cases[] = {
        {SINGLE_PERSON, "1111111111111"},
        {TWO_PERSON, "1111111111111"},
        {VENTILATION_ONLY, "0001110000000"},
        {COMPRESSION_ONLY, "0000001111110"},
    };
    for (const Case& c : cases) {
        DebriefRows rows(algor, c.mode, options, stats);
        for (int r = 0; r < DEBRIEF_ROW_COUNT; ++r)
            EXPECT_EQ(rows.isRowShown(r), c.shown[r] == '1') << "mode " << c.mode << " row " << r;
    }
    options.rowShown[ECC_RATE] = false;
    EXPECT_FALSE(DebriefRows(algor, TWO_PERSON, options, stats).isRowShown(ECC_RATE));
    EXPECT_FALSE(DebriefRows(algor, TWO_PERSON, options, stats).isRowShown(13));
}

TEST(DebriefRows, GroupSeparatorsFallUnderTheLastShownRowOfEachGroup)
{
    Algorithm algor;
    DebriefOptions options;
    options.rowShown[STOMACH_INFLATION] = false;
    DebriefRows rows(algor, TWO_PERSON, options, DebriefStats());
    std::string ends;
    for (int r = 0; r < DEBRIEF_ROW_COUNT; ++r)
        ends += rows.endsGroup(r) ? '1' : '0';
    EXPECT_EQ(ends, "0100100000011");

    DebriefRows compressionOnly(algor, COMPRESSION_ONLY, DebriefOptions(), DebriefStats());
    ends.clear();
    for (int r = 0; r < DEBRIEF_ROW_COUNT; ++r)
        ends += compressionOnly.endsGroup(r) ? '1' : '0';
    EXPECT_EQ(ends, "0000000000010");

    options.showComments = false;
    EXPECT_FALSE(DebriefRows(algor, TWO_PERSON, options, DebriefStats()).endsGroup(COMP_VENT_RATIO));
}

TEST(DebriefRows, RecommendedTextsOfTheDefaults)
{
    Algorithm algor;
    DebriefOptions options;
    DebriefRows rows(algor, TWO_PERSON, options, DebriefStats());
    const wchar_t* expected[DEBRIEF_ROW_COUNT] = {L"1.5 - 6 L/min", L"1.4 - 6.0 L/min", L"2",         L"6 - 9 /min",
                                                  L"0.4 - 0.6 L",   L"0%",              L"90 - 110 /min", L"50% / 50%",
                                                  L"40 - 50 mm",    L"< 9 s",           L"0%",        L"0%",
                                                  L"5 : 1"};
    for (int r = 0; r < DEBRIEF_ROW_COUNT; ++r)
        EXPECT_EQ(rows.recommendedText(r), expected[r]) << "row " << r;
    options.ratioNotation = true;
    EXPECT_EQ(DebriefRows(algor, TWO_PERSON, options, DebriefStats()).recommendedText(COMP_RELAX_RATIO), L"1.0");
    EXPECT_EQ(DebriefRows(algor, SINGLE_PERSON, DebriefOptions(), DebriefStats()).recommendedText(COMP_VENT_RATIO), L"15 : 2");
    EXPECT_EQ(DebriefRows(algor, VENTILATION_ONLY, DebriefOptions(), DebriefStats()).recommendedText(COMP_VENT_RATIO), L"");
}

TEST(DebriefRows, TextsOfAGoodSessionHaveOnlyOkParts)
{
    Algorithm algor;
    DebriefRows rows(algor, TWO_PERSON, DebriefOptions(), goodStats());
    struct Case {
        int row;
        const wchar_t *total, *average, *evaluation;
    } cases[] = {
        {MINUTE_VOLUME, L" ", L"4.0 L/min", L" "},
        {CARDIAC_OUTPUT, L" ", L"3.0 L/min", L"10 OK groups"},
        {INITIAL_VENTILATIONS, L"2", L" ", L" "},
        {VENTILATION_RATE, L" ", L"7 /min", L" "},
        {VENTILATION_VOLUME, L"10", L"0.5 L", L"10 OK"},
        {STOMACH_INFLATION, L"0", L" ", L"10 OK"},
        {ECC_RATE, L" ", L"100 /min", L"10 OK groups"},
        {COMP_RELAX_RATIO, L" ", L"50% / 50%", L" "},
        {COMPRESSION_DEPTH, L"50", L"45 mm", L"50 OK"},
        {ECC_PAUSE, L"9", L"3 s", L"9 OK"},
        {WRONG_HAND, L"0", L" ", L"50 OK"},
        {LEANING, L"0", L" ", L"50 OK"},
        {COMP_VENT_RATIO, L"10", L"5 : 1", L"10 OK"},
    };
    for (const Case& c : cases) {
        Texts t = texts(rows, c.row);
        EXPECT_EQ(t.total, c.total) << "row " << c.row;
        EXPECT_EQ(t.average, c.average) << "row " << c.row;
        EXPECT_EQ(t.evaluation, c.evaluation) << "row " << c.row;
    }
}

TEST(DebriefRows, EachMistakeAloneInCountsAndPercentages)
{
    Algorithm algor;
    struct Case {
        const char* what;
        void (*spoil)(DebriefStats&);
        int row;
        const wchar_t* counts;
        const wchar_t* percentages;
    } cases[] = {
        {"depth", [](DebriefStats& s) { s.compressions = 20, s.depthLow = 4, s.depthHigh = 12; }, COMPRESSION_DEPTH,
         L"4 OK / 4 superficial / 12 deep", L"20% OK / 20% superficial / 60% deep"},
        {"volume", [](DebriefStats& s) { s.volumeHigh = 3; }, VENTILATION_VOLUME, L"7 OK / 3 high", L"70% OK / 30% high"},
        {"stomach", [](DebriefStats& s) { s.stomachInflations = 1; }, STOMACH_INFLATION, L"9 OK / 1 wrong", L"90% OK / 10% wrong"},
        {"rate groups", [](DebriefStats& s) { s.compFreqOK = 7, s.compFreqLow = 1, s.compFreqHigh = 2; }, ECC_RATE,
         L"7 OK groups / 1 low / 2 high", L"70% OK groups / 10% low / 20% high"},
        {"cardiac", [](DebriefStats& s) { s.cardiacOK = 3, s.cardiacLow = 1; }, CARDIAC_OUTPUT, L"3 OK groups / 1 low",
         L"75% OK / 25% low"},
        {"pauses", [](DebriefStats& s) { s.pauseOK = 6, s.pauseLong = 3; }, ECC_PAUSE, L"6 OK / 3 long", L"67% OK / 33% long"},
        {"hand", [](DebriefStats& s) { s.wrongHand = 5; }, WRONG_HAND, L"45 OK / 5 wrong", L"90% OK / 10% wrong"},
        {"leaning", [](DebriefStats& s) { s.leanings = 50; }, LEANING, L"0 OK / 50 wrong", L"0% OK / 100% wrong"},
        {"cycles", [](DebriefStats& s) { s.correctCycles = 4; }, COMP_VENT_RATIO, L"4 OK / 6 wrong", L"40% OK / 60% wrong"},
        {"ratio", [](DebriefStats& s) { s.compressionShare = 0.7; }, COMP_RELAX_RATIO, L"Not OK", L"Not OK"},
        {"too fast", [](DebriefStats& s) { s.ventilationRate = 9.2; }, VENTILATION_RATE, L"Too fast", L"Too fast"},
        {"too low", [](DebriefStats& s) { s.minuteVolume = 1.4; }, MINUTE_VOLUME, L"Too low", L"Too low"},
        {"initial", [](DebriefStats& s) { s.initialVentilations = 0; }, INITIAL_VENTILATIONS, L"0 Performed", L"0 Performed"},
    };
    for (const Case& c : cases) {
        DebriefStats stats = goodStats();
        c.spoil(stats);
        DebriefOptions options;
        EXPECT_EQ(texts(DebriefRows(algor, TWO_PERSON, options, stats), c.row).evaluation, c.counts) << c.what;
        options.percentages = true;
        EXPECT_EQ(texts(DebriefRows(algor, TWO_PERSON, options, stats), c.row).evaluation, c.percentages) << c.what;
    }
}

TEST(DebriefRows, EmptySessionAndLimitsGiveNoEvaluation)
{
    Algorithm algor;
    DebriefRows empty(algor, TWO_PERSON, DebriefOptions(), DebriefStats());
    for (int r = 0; r < DEBRIEF_ROW_COUNT; ++r) {
        if (r == INITIAL_VENTILATIONS)
            continue;
        EXPECT_EQ(texts(empty, r).evaluation, L" ") << "row " << r;
    }
    EXPECT_EQ(texts(empty, VENTILATION_VOLUME).total, L"0");
    EXPECT_EQ(texts(empty, VENTILATION_VOLUME).average, L"0.0 L");
    EXPECT_EQ(texts(empty, ECC_PAUSE).total, L"0");
    EXPECT_EQ(texts(empty, ECC_PAUSE).average, L" ");
    EXPECT_EQ(texts(empty, COMP_VENT_RATIO).average, L" ");

    DebriefStats limits = goodStats();
    limits.minuteVolume = 6.0;
    limits.ventilationRate = 6.0;
    limits.compGroups = 1;
    DebriefRows atLimits(algor, TWO_PERSON, DebriefOptions(), limits);
    EXPECT_EQ(texts(atLimits, MINUTE_VOLUME).evaluation, L" ");
    EXPECT_EQ(texts(atLimits, VENTILATION_RATE).evaluation, L" ");
    EXPECT_EQ(texts(atLimits, ECC_PAUSE).total, L"0");
    EXPECT_EQ(texts(atLimits, ECC_PAUSE).evaluation, L" ");
}

TEST(DebriefRows, CompressionShareIsTruncatedAndOutOfRangeShowsZero)
{
    Algorithm algor;
    DebriefStats stats = goodStats();
    stats.compressionShare = 0.555;
    DebriefRows rows(algor, TWO_PERSON, DebriefOptions(), stats);
    EXPECT_EQ(texts(rows, COMP_RELAX_RATIO).average, L"55% / 45%");
    EXPECT_EQ(rows.gaugeValue(COMP_RELAX_RATIO), 55);
    stats.compressionShare = 1.2;
    DebriefRows above(algor, TWO_PERSON, DebriefOptions(), stats);
    EXPECT_EQ(texts(above, COMP_RELAX_RATIO).average, L"0% / 0%");
    EXPECT_EQ(above.gaugeValue(COMP_RELAX_RATIO), 0);
}

TEST(DebriefRows, GaugeScales)
{
    Algorithm algor;
    DebriefRows rows(algor, TWO_PERSON, DebriefOptions(), goodStats());
    GaugeSetup ratio = rows.gaugeSetup(COMP_VENT_RATIO);
    EXPECT_DOUBLE_EQ(ratio.lo, 1);
    EXPECT_DOUBLE_EQ(ratio.hi, 10);
    EXPECT_DOUBLE_EQ(ratio.bandFrom, 5);
    GaugeSetup rate = rows.gaugeSetup(ECC_RATE); // the band covers 4/9 to 7/9 of the scale
    EXPECT_NEAR((rate.bandFrom - rate.lo) / (rate.hi - rate.lo), 4.0 / 9, 1e-9);
    EXPECT_NEAR((rate.bandTo - rate.lo) / (rate.hi - rate.lo), 7.0 / 9, 1e-9);
    GaugeSetup initial = rows.gaugeSetup(INITIAL_VENTILATIONS);
    EXPECT_DOUBLE_EQ(initial.hi, 4.5);
    EXPECT_FALSE(initial.leftEnd);
    EXPECT_TRUE(rows.gaugeSetup(LEANING).pinLow);
    EXPECT_DOUBLE_EQ(rows.gaugeValue(COMP_VENT_RATIO), 5);

    // A guideline with no ventilations per cycle gives ratio 0, not a division by zero.
    algor.ventCompRatioDoubleVent = 0;
    GaugeSetup none = DebriefRows(algor, TWO_PERSON, DebriefOptions(), goodStats()).gaugeSetup(COMP_VENT_RATIO);
    EXPECT_DOUBLE_EQ(none.bandFrom, 0);
    EXPECT_DOUBLE_EQ(none.lo, -4);
}

TEST(DebriefRows, SettingsSwitchEachTheirOwnRowAndChooseTheNotations)
{
    // Each switch of the settings, off alone, hides exactly its row.
    bool PropertyModel::*switches[DEBRIEF_ROW_COUNT] = {
        &PropertyModel::showMinuteVolume,    &PropertyModel::showCardiacOutput,  &PropertyModel::showInitialVentilations,
        &PropertyModel::showVentilationRate, &PropertyModel::showAverageVolume,  &PropertyModel::showStomachInflations,
        &PropertyModel::showCompressionRate, &PropertyModel::showCompRelaxRatio, &PropertyModel::showCompressionDepth,
        &PropertyModel::showPause,           &PropertyModel::showWrongHandPositions, &PropertyModel::showLeanings,
        &PropertyModel::showVentCompRatio};
    for (int off = 0; off < DEBRIEF_ROW_COUNT; ++off) {
        PropertyModel model;
        for (bool PropertyModel::*on : switches)
            model.*on = true;
        model.*switches[off] = false;
        const DebriefOptions options = debriefOptionsOf(model);
        for (int row = 0; row < DEBRIEF_ROW_COUNT; ++row)
            EXPECT_EQ(options.rowShown[row], row != off) << "switch " << off << ", row " << row;
    }

    PropertyModel model;
    model.debriefingAsCounts = false;
    model.compRelaxAsPercent = false;
    model.showComments = false;
    model.maxPause = 12;
    model.minuteVolumeLow = 2.5;
    const DebriefOptions options = debriefOptionsOf(model);
    EXPECT_TRUE(options.percentages);
    EXPECT_TRUE(options.ratioNotation);
    EXPECT_FALSE(options.showComments);
    EXPECT_EQ(options.maxPause, 12);
    EXPECT_EQ(options.minuteVolumeLow, 2.5);
    EXPECT_FALSE(debriefOptionsOf(PropertyModel()).rowShown[CARDIAC_OUTPUT]) << "cardiac output is off by default";
}

TEST(DebriefRows, LinesAreTheShownRowsWithTheirCellsAndABlankWhereThereIsNoText)
{
    Algorithm algor;
    DebriefOptions options;
    options.rowShown[STOMACH_INFLATION] = false;
    DebriefStats stats = goodStats();
    stats.depthLow = 5;
    const DebriefRows rows(algor, COMPRESSION_ONLY, options, stats);
    for (const std::wstring blank : {L" ", L""}) {
        const std::vector<DebriefLine> lines = rows.lines(blank);
        std::vector<int> shown;
        for (const DebriefLine& line : lines)
            shown.push_back(line.row);
        EXPECT_EQ(shown, (std::vector<int>{6, 7, 8, 9, 10, 11}));
        ASSERT_EQ(lines.size(), 6u);
        const DebriefLine& depth = lines[2];
        EXPECT_EQ(depth.name, L"Compression depth");
        EXPECT_EQ(depth.recommended, rows.recommendedText(COMPRESSION_DEPTH));
        EXPECT_EQ(depth.total, L"50");
        EXPECT_EQ(depth.evaluation, L"45 OK / 5 superficial");
        EXPECT_EQ(lines[0].total, blank) << "the rate has no Total";
        EXPECT_EQ(lines[5].endsGroup, true);
        EXPECT_EQ(lines[4].endsGroup, false);
    }
}
