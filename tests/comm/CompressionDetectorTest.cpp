#include "Database/Algorithm.h"
#include "comm/CommSession.h"
#include "comm/MeasurementSettings.h"
#include "comm/MeasurementTracks.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using tracks::feed;
using tracks::Track;

class CompressionDetection : public ::testing::Test {
protected:
    CompressionDetection() { session.setAlgorithm(&algorithm); }
    ~CompressionDetection() override { MeasurementSettings::set(MeasurementSettings()); }

    const std::vector<CompressionSeries>& series() const { return session.compressionDetector.series; }
    std::vector<CompressionCycle> cycles() const
    {
        std::vector<CompressionCycle> all;
        for (const CompressionSeries& s : series())
            all.insert(all.end(), s.cycles.begin(), s.cycles.end());
        return all;
    }

    testsupport::LogCapture log;
    Algorithm algorithm;
    CommSession session;
};

TEST_F(CompressionDetection, OneCycleFromRestToRest)
{
    feed(session, Track().depths({ 0, 10, 30, 45, 46, 40, 30, 10, 0 }).samples());
    ASSERT_EQ(cycles().size(), 1u);
    const CompressionCycle c = cycles()[0];
    EXPECT_EQ(c.indexStart, 0);
    EXPECT_EQ(c.indexPeak, 4);
    EXPECT_EQ(c.indexPeakEnd, 4); // 40 is not above 46 - 5
    EXPECT_EQ(c.indexEnd, 7);
    EXPECT_DOUBLE_EQ(c.depth, 46);
    EXPECT_FALSE(c.noRelease);
    EXPECT_FALSE(c.wrongHand);
}

// Strokes in a table: each row a depth track and the cycles it must give.
struct StrokeCase {
    const char* name;
    Track track;
    std::vector<double> depths;     // greatest depth of each cycle
    std::vector<bool> noRelease;    // leaning before the next compression
    std::vector<bool> wrongHand;
};

TEST_F(CompressionDetection, StrokesGiveCyclesWithDepthReleaseAndHandPosition)
{
    const StrokeCase cases[] = {
        { "depths of three full strokes", Track().strokes(1, 30).strokes(1, 45).strokes(1, 55), { 30, 45, 55 },
            { false, false, false }, { false, false, false } },
        { "release to 12 mm and a new stroke: leaning",
            Track().depths({ 0, 20, 40, 30, 12, 17, 30, 45, 20, 0 }), { 40, 45 }, { true, false }, { false, false } },
        { "release to 4 mm is a full release", Track().depths({ 0, 20, 40, 30, 4, 9, 30, 45, 20, 0 }), { 40, 45 },
            { false, false }, { false, false } },
        { "a rise of 4.9 mm after the release stays in the cycle",
            Track().depths({ 0, 20, 40, 30, 12, 16.9, 10, 0 }), { 40 }, { false }, { false } },
        { "wrong hand position at the peak", Track().strokes(1, 45).strokes(1, 45, 12, 1, true), { 45, 45 },
            { false, false }, { false, true } },
        { "wrong hand position only before the peak", Track().depths({ 0, 20 }, true).depths({ 44, 20, 0 }), { 44 },
            { false }, { false } },
        { "a wobble of less than 5 mm never releases: it joins the next stroke",
            Track().depths({ 0, 3, 4.5, 3, 0 }).strokes(1, 45), { 45 }, { false }, { false } },
    };
    for (const StrokeCase& c : cases) {
        SCOPED_TRACE(c.name);
        CommSession fresh;
        fresh.setAlgorithm(&algorithm);
        feed(fresh, c.track.samples());
        std::vector<double> depths;
        std::vector<bool> noRelease, wrongHand;
        for (const CompressionSeries& s : fresh.compressionDetector.series)
            for (const CompressionCycle& cycle : s.cycles) {
                depths.push_back(cycle.depth);
                noRelease.push_back(cycle.noRelease);
                wrongHand.push_back(cycle.wrongHand);
            }
        EXPECT_EQ(depths, c.depths);
        EXPECT_EQ(noRelease, c.noRelease);
        EXPECT_EQ(wrongHand, c.wrongHand);
    }
}

TEST_F(CompressionDetection, WrongHandPositionMarksThePeakAndIsAnnounced)
{
    tracks::SignalLog signals(session);
    feed(session, Track().strokes(2, 45).strokes(1, 45, 12, 1, true).rest(5).samples());
    // The third stroke starts at 24; its peak lies two samples later.
    EXPECT_EQ(signals.compressions, std::vector<int> { 26 });
    for (int i = 0; i < static_cast<int>(session.manData.size()); ++i)
        EXPECT_EQ(session.manData[i].compressionMark, i == 26) << i;
    EXPECT_EQ(series().at(0).wrongHandCount, 1);
}

TEST_F(CompressionDetection, RateOfASeriesAndTheLiveRate)
{
    feed(session, Track().strokes(6, 45, 12).rest(1).samples());
    ASSERT_EQ(series().size(), 1u);
    const CompressionSeries& s = series()[0];
    ASSERT_EQ(s.cycles.size(), 6u);
    EXPECT_EQ(s.firstPeak, 2);
    EXPECT_EQ(s.lastPeak, 62);
    EXPECT_DOUBLE_EQ(s.rate, 5.0 / 60); // one compression every 12 samples
    // Over the last four peaks: 3 intervals of 12 samples at 20 samples per second.
    EXPECT_DOUBLE_EQ(session.compressionDetector.rate, 100.0);

    // Up to 50 samples after the newest peak (62) the rate holds; then it is gone.
    feed(session, Track().rest(112 - 72).samples());
    EXPECT_DOUBLE_EQ(session.compressionDetector.rate, 100.0);
    feed(session, Track().rest(1).samples());
    EXPECT_EQ(session.compressionDetector.rate, -1.0);
}

TEST_F(CompressionDetection, RateFollowsTheMeasuredSampleRate)
{
    session.compressionDetector.sampleRate = 25.0;
    feed(session, Track().strokes(3, 45, 10).rest(1).samples());
    EXPECT_DOUBLE_EQ(session.compressionDetector.rate, 150.0);
}

TEST_F(CompressionDetection, APauseOf25SamplesSplitsTheSeries)
{
    // Three strokes end at 27 (the stroke from 24 releases at 26, ends at 27);
    // the next stroke's cycle starts at its last rest sample.
    struct Case {
        int restBefore;
        std::size_t seriesCount;
    } cases[] = { { 15, 1 }, { 16, 2 } }; // starts at 51 (24 after the end) and 52 (25 after)
    for (const Case& c : cases) {
        CommSession fresh;
        fresh.setAlgorithm(&algorithm);
        feed(fresh, Track().strokes(3, 45, 12).rest(c.restBefore).strokes(1, 45).rest(1).samples());
        ASSERT_EQ(fresh.compressionDetector.series.size(), c.seriesCount) << c.restBefore;
        EXPECT_EQ(fresh.compressionDetector.series[0].indexEnd, c.seriesCount == 1 ? 36 + c.restBefore + 3 : 27);
        if (c.seriesCount == 2) {
            EXPECT_EQ(fresh.compressionDetector.series[1].indexStart, 52);
        }
    }
}

TEST_F(CompressionDetection, ClosedSeriesPublishesItsShareAndCardiacOutput)
{
    MeasurementSettings settings;
    settings.cardiacOutputPerCompression = 0.25;
    MeasurementSettings::set(settings);
    tracks::SignalLog signals(session);

    // Compression phase 4 samples of each 12: 33 %. The next series begins at 60.
    feed(session, Track().strokes(3, 45, 12, 3).rest(24).strokes(2, 45).rest(1).samples());
    ASSERT_EQ(series().size(), 2u);
    const CompressionSeries& first = series()[0];
    EXPECT_DOUBLE_EQ(first.compressionTime, 8);
    EXPECT_DOUBLE_EQ(first.cycleTime, 24);
    EXPECT_DOUBLE_EQ(first.cardiacOutput, 0.75);
    EXPECT_EQ(first.length, 60);
    EXPECT_DOUBLE_EQ(first.cycles[0].compressionTime, 4);
    EXPECT_DOUBLE_EQ(first.cycles[0].relaxationTime, 8);

    ASSERT_EQ(session.groups.size(), 1u);
    const auto& [index, group] = *session.groups.begin();
    EXPECT_EQ(index, (0 + 29) / 2);
    EXPECT_EQ(group.firstIndex, 0);
    EXPECT_EQ(group.ratioEndIndex, 29);
    EXPECT_EQ(group.outputEndIndex, 60);
    EXPECT_EQ(group.compressionPercent, 33);
    EXPECT_DOUBLE_EQ(group.cardiacOutput, 0.75 * 20 * 60 / 60);
    EXPECT_EQ(signals.groups, std::vector<int> { 14 });
    // The newest series is never closed.
    EXPECT_EQ(series()[1].length, 0);
    EXPECT_EQ(series()[1].cardiacOutput, 0);
}

TEST_F(CompressionDetection, SingleCycleSeriesPublishesNoGroup)
{
    feed(session, Track().strokes(1, 45).rest(30).strokes(2, 45).rest(30).strokes(1, 45).rest(1).samples());
    ASSERT_EQ(series().size(), 3u);
    // The first series has no measured cycle: no share, no group; the second has one.
    ASSERT_EQ(session.groups.size(), 1u);
    EXPECT_EQ(session.groups.begin()->second.firstIndex, series()[1].indexStart);
    EXPECT_FALSE(log.hasAssertion("i->indexPeakEnd == 0 || i->indexPeakEnd > i->indexStart"));
    EXPECT_FALSE(log.hasAssertion("nextStart > i->indexPeakEnd"));
}

TEST_F(CompressionDetection, CardiacOutputCountsReleasedCompressionsInTheDepthRange)
{
    MeasurementSettings settings;
    settings.cardiacOutputPerCompression = 0.25;
    settings.cardiacOutputPerWrongHand = 0.125;
    // Depths 35, 45, 45 with the wrong hand, 55, and a 45 followed by leaning.
    Track track;
    track.strokes(1, 35).strokes(1, 45).strokes(1, 45, 12, 1, true).strokes(1, 55);
    track.depths({ 0, 20, 45, 30, 12, 20, 44, 20 }).rest(40).strokes(2, 45).rest(1);

    struct Case {
        bool overrideDepth;
        double expected;
    } cases[] = {
        { false, 0.25 + 0.125 + 0.25 }, // the algorithm's 40 to 50 mm: 45, 45 (wrong hand), 44
        { true, 4 * 0.25 + 0.125 },     // 30 to 60 mm: 35, 45, 55, 44 and the wrong-hand 45
    };
    for (const Case& c : cases) {
        settings.overrideDepth = c.overrideDepth;
        settings.depthLow = 30;
        settings.depthHigh = 60;
        MeasurementSettings::set(settings);
        CommSession fresh;
        fresh.setAlgorithm(&algorithm);
        feed(fresh, track.samples());
        ASSERT_EQ(fresh.compressionDetector.series.size(), 2u);
        EXPECT_EQ(fresh.compressionDetector.series[0].noReleaseCount, 1);
        EXPECT_DOUBLE_EQ(fresh.compressionDetector.series[0].cardiacOutput, c.expected) << c.overrideDepth;
    }
}

TEST_F(CompressionDetection, SeriesWithoutAlgorithmHasNoCardiacOutput)
{
    session.setAlgorithm(nullptr);
    feed(session, Track().strokes(3, 45).rest(30).strokes(1, 45).rest(1).samples());
    ASSERT_EQ(series().size(), 2u);
    EXPECT_TRUE(log.hasAssertion("algor != 0"));
    EXPECT_EQ(series()[0].cardiacOutput, 0);
}

TEST_F(CompressionDetection, ResetForgetsSeriesAndGroups)
{
    feed(session, Track().strokes(3, 45).rest(30).strokes(2, 45).rest(1).samples());
    ASSERT_FALSE(session.groups.empty());
    session.compressionDetector.reset();
    EXPECT_TRUE(series().empty());
    EXPECT_TRUE(session.groups.empty());
    EXPECT_EQ(session.compressionDetector.direction, 0);
}

} // namespace
