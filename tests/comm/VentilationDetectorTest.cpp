#include "Database/Algorithm.h"
#include "comm/CommSession.h"
#include "comm/MeasurementTracks.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using tracks::feed;
using tracks::Track;

std::vector<VentilationRecord> records(const CommSession& session)
{
    std::vector<VentilationRecord> all;
    for (const VentilationSeries& s : session.ventilationDetector.series)
        all.insert(all.end(), s.ventilations.begin(), s.ventilations.end());
    return all;
}

TEST(VentilationDetection, OneBreathFromItsFirstVolumeToZero)
{
    CommSession session;
    feed(session, Track().volumes({ 0, 0.2, 0.5, 0.6, 0.55, 0.3, 0 }).samples());
    std::vector<VentilationRecord> all = records(session);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].indexStart, 1);
    EXPECT_EQ(all[0].indexEnd, 6);
    EXPECT_EQ(all[0].indexPeak, 3);
    EXPECT_DOUBLE_EQ(all[0].volume, 0.6);
    EXPECT_EQ(session.ventilationDetector.count, 1);
}

TEST(VentilationDetection, ARiseOf70MillilitresFromTheLowestPointStartsTheNextBreath)
{
    struct Case {
        double rise;
        std::vector<double> volumes;
    } cases[] = {
        { 0.28, { 0.6, 0.28 } },
        { 0.25, { 0.6 } },
    };
    for (const Case& c : cases) {
        CommSession session;
        feed(session, Track().volumes({ 0, 0.3, 0.6, 0.4, 0.2, c.rise, 0, 0 }).samples());
        std::vector<double> volumes;
        for (const VentilationRecord& r : records(session))
            volumes.push_back(r.volume);
        EXPECT_EQ(volumes, c.volumes) << c.rise;
    }
}

TEST(VentilationDetection, GeneratedBreathsGiveCountVolumesSeriesAndMinuteVolume)
{
    CommSession session;
    // Two pairs of breaths: 19 samples apart within a pair, 40 between the pairs.
    Track track;
    track.rest(5).breath(0.5).rest(18).breath(0.7).rest(39).breath(0.4).rest(19).breath(0.6).rest(10);
    feed(session, track.samples());

    const VentilationDetector& detector = session.ventilationDetector;
    ASSERT_EQ(detector.count, 4);
    const std::vector<VentilationRecord> all = records(session);
    const double expected[] = { 0.5, 0.7, 0.4, 0.6 };
    for (std::size_t i = 0; i < all.size(); ++i)
        EXPECT_NEAR(all[i].volume, expected[i], 1e-12) << i;
    EXPECT_NEAR(detector.sumVolume, 2.2, 1e-12);
    EXPECT_NEAR(detector.averageVolume, 0.55, 1e-12);

    // A breath ends at its first zero: the gaps to the next start are 19 and 20 samples.
    ASSERT_EQ(detector.series.size(), 3u);
    EXPECT_EQ(detector.series[0].ventilations.size(), 2u);
    EXPECT_EQ(detector.series[0].indexStart, 5);
    EXPECT_EQ(detector.series[0].firstPeak, 16);
    EXPECT_EQ(detector.series[1].ventilations.size(), 1u);
    EXPECT_EQ(detector.series[2].ventilations.size(), 1u);

    // 2.2 L over the recording (track.size() - 1 intervals at 20 samples per second).
    EXPECT_NEAR(detector.getMinuteVolume(), 2.2 * 20 * 60 / (track.size() - 1), 1e-9);
    session.sampleRate = 10;
    EXPECT_NEAR(detector.getMinuteVolume(), 2.2 * 10 * 60 / (track.size() - 1), 1e-9);
}

TEST(VentilationDetection, NoBreathsNoMinuteVolume)
{
    CommSession session;
    EXPECT_EQ(session.ventilationDetector.getMinuteVolume(), 0);
    feed(session, Track().rest(100).strokes(5, 45).samples());
    EXPECT_EQ(session.ventilationDetector.count, 0);
    EXPECT_EQ(session.ventilationDetector.getMinuteVolume(), 0);
}

TEST(VentilationDetection, StomachInflationCountsOnceWhileTheFlagStays)
{
    struct Case {
        const char* name;
        Track track;
        std::vector<bool> inflations;
    };
    const Case cases[] = {
        { "flag on every sample, also between the breaths",
            Track().volumes({ 0 }, true).breath(0.5, 12, 10, true).volumes({ 0, 0 }, true).breath(0.5, 12, 10, true)
                .volumes({ 0, 0 }, true).breath(0.5, 12, 10, true).volumes({ 0 }, true),
            { true, false, false } },
        { "flag cleared between the breaths",
            Track().breath(0.5, 12, 10, true).rest(2).breath(0.5, 12, 10, true).rest(2),
            { true, true } },
        { "flag only away from the peak", Track().volumes({ 0.2, 0.4 }, true).volumes({ 0.6, 0.3, 0 }).rest(2),
            { false } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommSession session;
        tracks::SignalLog signals(session);
        feed(session, c.track.samples());
        std::vector<bool> inflations;
        std::vector<int> peaks;
        for (const VentilationRecord& r : records(session)) {
            inflations.push_back(r.stomachInflation);
            if (r.stomachInflation)
                peaks.push_back(r.indexPeak);
        }
        EXPECT_EQ(inflations, c.inflations);
        // Each counted inflation marks its peak and is announced.
        EXPECT_EQ(signals.ventilations, peaks);
        for (int p : peaks)
            EXPECT_TRUE(session.manData[p].ventilationMark);
        int counted = 0;
        for (const VentilationSeries& s : session.ventilationDetector.series)
            counted += s.inflationCount;
        EXPECT_EQ(counted, static_cast<int>(peaks.size()));
    }
}

TEST(VentilationDetection, ResetForgetsEverything)
{
    CommSession session;
    feed(session, Track().breath(0.5).rest(3).breath(0.6, 12, 10, true).samples());
    session.ventilationDetector.reset();
    EXPECT_TRUE(session.ventilationDetector.series.empty());
    EXPECT_EQ(session.ventilationDetector.count, 0);
    EXPECT_EQ(session.ventilationDetector.averageVolume, 0);
    EXPECT_EQ(session.ventilationDetector.sumVolume, 0);
    EXPECT_TRUE(session.ventilationDetector.inflationArmed);
}

} // namespace
