#include "Database/Algorithm.h"
#include "comm/CommSession.h"
#include "comm/MeasurementSettings.h"
#include "comm/MeasurementTracks.h"
#include "comm/SerialPort.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>

namespace {

using tracks::Track;

// Every figure of the statistics by name, so whole results can be compared.
std::vector<std::pair<std::string, double>> figures(const CommSession& s)
{
    return {
        { "firstActivityTime", s.firstActivityTime },
        { "initialVentilations", s.initialVentilations },
        { "nrVentilations", s.nrVentilations },
        { "averageVolume", s.averageVolume },
        { "ventilationRate", s.ventilationRate },
        { "nrVolumeOK", s.nrVolumeOK },
        { "nrVolumeHigh", s.nrVolumeHigh },
        { "nrVolumeLow", s.nrVolumeLow },
        { "nrStomachInflations", s.nrStomachInflations },
        { "nrCompressions", s.nrCompressions },
        { "nrCompGroups", s.nrCompGroups },
        { "compressionRate", s.compressionRate },
        { "averageDepth", s.averageDepth },
        { "compFreqOK", s.compFreqOK },
        { "compFreqHigh", s.compFreqHigh },
        { "compFreqLow", s.compFreqLow },
        { "nrPauseOK", s.nrPauseOK },
        { "nrPauseLong", s.nrPauseLong },
        { "nrDepthOK", s.nrDepthOK },
        { "nrDepthLow", s.nrDepthLow },
        { "nrDepthHigh", s.nrDepthHigh },
        { "nrLeanings", s.nrLeanings },
        { "nrWrongHand", s.nrWrongHand },
        { "averagePause", s.averagePause },
        { "longestPause", s.longestPause },
        { "compRelaxRatio", s.compRelaxRatio },
        { "averageCardiacOutput", s.averageCardiacOutput },
        { "nrCardiacOutputLow", s.nrCardiacOutputLow },
        { "nrCardiacOutputHigh", s.nrCardiacOutputHigh },
        { "nrCardiacOutputOK", s.nrCardiacOutputOK },
        { "nrRatioCycles", s.nrRatioCycles },
        { "nrRatioCorrect", s.nrRatioCorrect },
        { "averageRatioVentilations", s.averageRatioVentilations },
        { "averageRatioCompressions", s.averageRatioCompressions },
        { "minuteVolume", s.ventilationDetector.getMinuteVolume() },
    };
}

class Statistics : public ::testing::Test {
protected:
    Statistics() { MeasurementSettings::set(MeasurementSettings()); }
    ~Statistics() override { MeasurementSettings::set(MeasurementSettings()); }

    // A finished session of this recording in this training mode.
    CommSession& finished(const Track& track, int mode = 0)
    {
        session.emplace();
        session->setAlgorithm(&algorithm);
        session->trainingMode = mode;
        session->manData = track.samples();
        session->finish();
        return *session;
    }

    testsupport::LogCapture log;
    Algorithm algorithm;
    std::optional<CommSession> session;
};

// --- each evaluation at, just below and just above its limits ------------------------
// The recording stays the same; the limits move around the measured value.

struct Limits {
    double low;
    double high;
    int below, within, above;
};

constexpr double tiny = 1e-9;

TEST_F(Statistics, VolumeAgainstTheAlgorithm)
{
    const Track track = Track().rest(3).breath(0.5).rest(3); // 0.5 L exactly
    for (const Limits& l : { Limits { 0.5, 0.6, 0, 1, 0 }, Limits { 0.5 + tiny, 0.6, 1, 0, 0 },
             Limits { 0.4, 0.5, 0, 1, 0 }, Limits { 0.4, 0.5 - tiny, 0, 0, 1 } }) {
        algorithm.vVolLow = l.low;
        algorithm.vVolHigh = l.high;
        const CommSession& s = finished(track);
        EXPECT_EQ(s.nrVolumeLow, l.below) << l.low << ".." << l.high;
        EXPECT_EQ(s.nrVolumeOK, l.within) << l.low << ".." << l.high;
        EXPECT_EQ(s.nrVolumeHigh, l.above) << l.low << ".." << l.high;
    }
}

TEST_F(Statistics, DepthAgainstTheAlgorithm)
{
    const Track track = Track().strokes(2, 45).rest(3);
    for (const Limits& l : { Limits { 45, 50, 0, 2, 0 }, Limits { 45 + tiny, 50, 2, 0, 0 }, Limits { 40, 45, 0, 2, 0 },
             Limits { 40, 45 - tiny, 0, 0, 2 } }) {
        algorithm.compDepthLow = l.low;
        algorithm.compDepthHigh = l.high;
        const CommSession& s = finished(track);
        EXPECT_EQ(s.nrDepthLow, l.below) << l.low << ".." << l.high;
        EXPECT_EQ(s.nrDepthOK, l.within) << l.low << ".." << l.high;
        EXPECT_EQ(s.nrDepthHigh, l.above) << l.low << ".." << l.high;
    }
}

TEST_F(Statistics, SeriesRateAgainstTheAlgorithm)
{
    // A stroke every 16 samples at 20 samples per second: 75 per minute.
    const Track track = Track().strokes(4, 45, 16).rest(3);
    for (const Limits& l : { Limits { 75, 110, 0, 1, 0 }, Limits { 75 + tiny, 110, 1, 0, 0 },
             Limits { 60, 75, 0, 1, 0 }, Limits { 60, 75 - tiny, 0, 0, 1 } }) {
        algorithm.eccRateLow = l.low;
        algorithm.eccRateHigh = l.high;
        const CommSession& s = finished(track);
        EXPECT_EQ(s.getCompFreqLow(), l.below) << l.low << ".." << l.high;
        EXPECT_EQ(s.getCompFreqOK(), l.within) << l.low << ".." << l.high;
        EXPECT_EQ(s.getCompFreqHigh(), l.above) << l.low << ".." << l.high;
        EXPECT_DOUBLE_EQ(s.compressionRate, 75);
    }
}

TEST_F(Statistics, CardiacOutputOfClosedSeriesAgainstTheSettings)
{
    // Three compressions of 0.25 L over 60 samples: 0.75 L x 20 x 60 / 60 = 15 L/min.
    // The second series is the newest, never closed: it is not judged.
    const Track track = Track().strokes(3, 45).rest(24).strokes(3, 45).rest(3);
    MeasurementSettings settings;
    settings.cardiacOutputPerCompression = 0.25;
    for (const Limits& l : { Limits { 15, 20, 0, 1, 0 }, Limits { 15 + tiny, 20, 1, 0, 0 }, Limits { 10, 15, 0, 1, 0 },
             Limits { 10, 15 - tiny, 0, 0, 1 } }) {
        settings.cardiacOutputLow = l.low;
        settings.cardiacOutputHigh = l.high;
        MeasurementSettings::set(settings);
        const CommSession& s = finished(track);
        EXPECT_EQ(s.nrCardiacOutputLow, l.below) << l.low << ".." << l.high;
        EXPECT_EQ(s.nrCardiacOutputOK, l.within) << l.low << ".." << l.high;
        EXPECT_EQ(s.nrCardiacOutputHigh, l.above) << l.low << ".." << l.high;
        EXPECT_DOUBLE_EQ(s.averageCardiacOutput, 15);
    }
}

TEST_F(Statistics, PauseAgainstTheSettings)
{
    // Three strokes (last peak 26), a rest, then strokes whose first peak is 12 + rest later.
    struct Case {
        int pause; // samples between the peaks
        int ok, tooLong;
        int longest;
    } cases[] = { { 179, 1, 0, 8 }, { 180, 1, 0, 9 }, { 181, 0, 1, 9 } };
    for (const Case& c : cases) {
        const CommSession& s = finished(Track().strokes(3, 45).rest(c.pause - 12).strokes(2, 45).rest(3));
        ASSERT_EQ(s.getNrCompGroups(), 2);
        EXPECT_EQ(s.nrPauseOK, c.ok) << c.pause;
        EXPECT_EQ(s.nrPauseLong, c.tooLong) << c.pause;
        EXPECT_EQ(s.averagePause, c.longest) << c.pause;
        EXPECT_EQ(s.longestPause, c.longest) << c.pause;
    }
    MeasurementSettings settings;
    settings.maxPause = 8;
    MeasurementSettings::set(settings);
    EXPECT_EQ(finished(Track().strokes(3, 45).rest(180 - 12).strokes(2, 45).rest(3)).nrPauseLong, 1);
}

TEST_F(Statistics, LongestAndAveragePauseOverThreeSeries)
{
    const CommSession& s = finished(
        Track().strokes(3, 45).rest(100 - 12).strokes(3, 45).rest(250 - 12).strokes(3, 45).rest(3));
    ASSERT_EQ(s.getNrCompGroups(), 3);
    EXPECT_EQ(s.longestPause, 12); // 250 samples: 12.5 s
    EXPECT_EQ(s.averagePause, 8);  // 350 samples / 2 pauses: 8.75 s
    EXPECT_EQ(s.nrPauseOK, 1);
    EXPECT_EQ(s.nrPauseLong, 1);
}

TEST_F(Statistics, CompressionFigures)
{
    // Strokes with a 3-sample compression phase in 12 (25 %), one leaning, two with the wrong hand.
    Track track;
    track.strokes(3, 42, 12, 2).strokes(2, 48, 12, 2, true).depths({ 0, 20, 44, 44, 30, 12, 30, 46, 20, 0 });
    track.rest(3);
    const CommSession& s = finished(track);
    EXPECT_EQ(s.nrCompressions, 7);
    EXPECT_EQ(s.nrWrongHand, 2);
    EXPECT_EQ(s.nrLeanings, 1);
    EXPECT_DOUBLE_EQ(s.averageDepth, (3 * 42 + 2 * 48 + 44 + 46) / 7.0);
    // Only a closed series has times.
    EXPECT_EQ(s.compRelaxRatio, 0);
    const CommSession& two = finished(Track(track).rest(30).strokes(2, 45).rest(3));
    EXPECT_GT(two.compRelaxRatio, 0.2);
    EXPECT_LT(two.compRelaxRatio, 0.4);
}

// --- sessions with little in them ----------------------------------------------------

TEST_F(Statistics, SessionWithoutCompressions)
{
    const CommSession& s = finished(Track().rest(30).breath(0.5).rest(4).breath(0.7).rest(100));
    EXPECT_EQ(s.nrVentilations, 2);
    EXPECT_EQ(s.initialVentilations, 2);
    EXPECT_NEAR(s.averageVolume, 0.6, 1e-12);
    EXPECT_DOUBLE_EQ(s.ventilationRate, 2 * 20 * 60 / (30 + 22 + 4 + 22 + 100 - 1.0));
    EXPECT_EQ(s.firstActivityTime, 41 / 20);
    for (const auto& [name, value] : figures(s)) {
        if (name.rfind("nrComp", 0) == 0 || name.rfind("compFreq", 0) == 0 || name.rfind("nrDepth", 0) == 0
            || name.rfind("nrPause", 0) == 0 || name.rfind("nrCardiac", 0) == 0 || name.rfind("nrRatio", 0) == 0
            || name == "compressionRate" || name == "averageDepth" || name == "averagePause" || name == "longestPause"
            || name == "compRelaxRatio" || name == "averageCardiacOutput" || name.rfind("averageRatio", 0) == 0) {
            EXPECT_EQ(value, 0) << name;
        }
    }
}

TEST_F(Statistics, SessionWithoutVentilations)
{
    const CommSession& s = finished(Track().rest(28).strokes(10, 45).rest(3));
    EXPECT_EQ(s.nrVentilations, 0);
    EXPECT_EQ(s.initialVentilations, 0);
    EXPECT_EQ(s.averageVolume, 0);
    EXPECT_EQ(s.ventilationRate, 0);
    EXPECT_EQ(s.nrVolumeOK + s.nrVolumeLow + s.nrVolumeHigh, 0);
    EXPECT_EQ(s.ventilationDetector.getMinuteVolume(), 0);
    EXPECT_EQ(s.nrCompressions, 10);
    // The first compression peak at sample 30: 1.5 s.
    EXPECT_EQ(s.firstActivityTime, 1);
}

TEST_F(Statistics, SessionOfASingleCompression)
{
    const CommSession& s = finished(Track().rest(38).strokes(1, 45).rest(3));
    EXPECT_EQ(s.firstActivityTime, 2); // peak at sample 40
    EXPECT_EQ(s.nrCompressions, 1);
    EXPECT_EQ(s.getNrCompGroups(), 1);
    EXPECT_EQ(s.compressionRate, 0); // no time between peaks
    EXPECT_EQ(s.getCompFreqLow(), 1);
    EXPECT_EQ(s.averageDepth, 45);
    EXPECT_EQ(s.compRelaxRatio, 0);
    EXPECT_EQ(s.averageCardiacOutput, 0);
    EXPECT_EQ(s.nrCardiacOutputLow + s.nrCardiacOutputOK + s.nrCardiacOutputHigh, 0);
    EXPECT_EQ(s.nrRatioCycles, 0); // the unfinished cycle is not held against the trainee
}

TEST_F(Statistics, EmptySessionAndASingleMeasurement)
{
    CommSession& empty = finished(Track());
    EXPECT_EQ(empty.firstActivityTime, -1);
    EXPECT_EQ(empty.nrCompressions, 0);
    CommSession& one = finished(Track().volumes({ 0.5 }));
    EXPECT_EQ(one.ventilationRate, 0);
    EXPECT_EQ(one.ventilationDetector.getMinuteVolume(), 0);
}

// --- modes and cycles ----------------------------------------------------------------

// Two cycles of 30 compressions, each followed by `last` ventilations (two after the first).
Track twoCycles(int last)
{
    Track t;
    t.rest(5).strokes(30, 45).rest(30).breath(0.5).rest(5).breath(0.5).rest(30).strokes(30, 45).rest(30);
    for (int i = 0; i < last; ++i)
        t.breath(0.5).rest(5);
    return t.rest(10);
}

TEST_F(Statistics, CompressionVentilationCycles)
{
    algorithm.ventCompRatioSingleComp = 30.7; // the required numbers are truncated
    algorithm.ventCompRatioSingleVent = 2;
    const CommSession& full = finished(twoCycles(2));
    EXPECT_EQ(full.nrRatioCycles, 2);
    EXPECT_EQ(full.nrRatioCorrect, 2);
    EXPECT_EQ(full.averageRatioCompressions, 30);
    EXPECT_EQ(full.averageRatioVentilations, 2);
    EXPECT_EQ(full.initialVentilations, 0);

    const CommSession& cut = finished(twoCycles(1));
    EXPECT_EQ(cut.nrRatioCycles, 1);
    EXPECT_EQ(cut.nrRatioCorrect, 1);

    // Two-person mode judges with the other pair.
    algorithm.ventCompRatioDoubleComp = 30;
    algorithm.ventCompRatioDoubleVent = 1;
    const CommSession& twoPerson = finished(twoCycles(1), 1);
    EXPECT_EQ(twoPerson.nrRatioCycles, 2);
    EXPECT_EQ(twoPerson.nrRatioCorrect, 1);
    EXPECT_EQ(twoPerson.averageRatioVentilations, 1.5);
}

TEST_F(Statistics, TrainingModeChoosesTheFigures)
{
    algorithm.ventCompRatioSingleComp = 30;
    algorithm.ventCompRatioSingleVent = 2;
    const Track track = twoCycles(2);

    const CommSession& compressionOnly = finished(track, 3);
    EXPECT_EQ(compressionOnly.nrCompressions, 60);
    EXPECT_EQ(compressionOnly.nrVentilations, 0);
    EXPECT_EQ(compressionOnly.averageVolume, 0);
    EXPECT_EQ(compressionOnly.nrRatioCycles, 0);
    EXPECT_EQ(compressionOnly.averageRatioCompressions, 0);

    const CommSession& ventilationOnly = finished(track, 2);
    EXPECT_EQ(ventilationOnly.nrVentilations, 4);
    EXPECT_EQ(ventilationOnly.nrCompressions, 0);
    EXPECT_EQ(ventilationOnly.nrRatioCycles, 0);
}

TEST_F(Statistics, InitialVentilationsAreThoseBeforeTheFirstCompressions)
{
    Track track;
    track.rest(5).breath(0.5).rest(30).breath(0.5).rest(3).breath(0.5).rest(30).strokes(10, 45).rest(30).breath(0.5);
    track.rest(10);
    const CommSession& s = finished(track);
    EXPECT_EQ(s.nrVentilations, 4);
    EXPECT_EQ(s.initialVentilations, 3);
    EXPECT_EQ(s.firstActivityTime, 16 / 20);

    EXPECT_EQ(finished(twoCycles(2)).initialVentilations, 0);
}

TEST_F(Statistics, FinishAgainGivesTheSameFigures)
{
    CommSession& s = finished(twoCycles(2));
    tracks::SignalLog signals(s);
    const auto first = figures(s);
    s.finish();
    EXPECT_EQ(figures(s), first);
    // The detectors were rebuilt, and the marks and groups announced again.
    EXPECT_EQ(signals.groups.size(), 1u);
}

TEST_F(Statistics, FinishWithoutAlgorithmIsLogged)
{
    CommSession s;
    s.manData = twoCycles(2).samples();
    s.finish();
    EXPECT_TRUE(log.hasAssertion("algor != 0"));
    EXPECT_EQ(s.nrCompressions, 0);
    EXPECT_EQ(s.firstActivityTime, 0); // the detectors ran: the first peak is at sample 7
}

// --- the whole way: raw samples, the data file, and back ------------------------------

TEST_F(Statistics, DataFileReadBackGivesTheSameStatistics)
{
    // A live session over raw samples: three cycles of 30:2, a leaning, wrong hands, a stomach inflation.
    tracks::RawTrack raw;
    raw.rest(20);
    for (int cycle = 0; cycle < 3; ++cycle) {
        raw.strokes(10, 190).strokes(5, 175, 8, 4, 204).strokes(15, 200);
        raw.rest(25).breath(60).rest(4).breath(70, 14, 12, cycle == 1 ? 12 : 76).rest(25);
    }
    raw.strokes(12, 190).rest(30);

    SerialPort port;
    Comm comm(&port);
    comm.sampleQueue.assign(raw.samples().begin(), raw.samples().end());
    comm.sampleRate = 19.8;
    CommSession live;
    algorithm.ventCompRatioSingleComp = 30;
    live.setAlgorithm(&algorithm);
    live.attach(&comm);
    live.process();
    live.finish();
    ASSERT_EQ(live.nrCompressions, 102);
    ASSERT_EQ(live.nrVentilations, 6);
    EXPECT_EQ(live.nrRatioCycles, 3);
    EXPECT_EQ(live.nrRatioCorrect, 3);
    EXPECT_GT(live.nrWrongHand, 0);
    EXPECT_EQ(live.nrStomachInflations, 1);

    testsupport::TempDir dir;
    const std::string path = dir.file("session.dat");
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(live.save(out));
    ASSERT_EQ(std::fclose(out), 0);

    CommSession replay;
    replay.setAlgorithm(&algorithm);
    std::FILE* in = std::fopen(path.c_str(), "r");
    ASSERT_TRUE(replay.load(in, 19.8));
    std::fclose(in);
    replay.finish();
    const auto expected = figures(live);
    const auto got = figures(replay);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(got[i].second, expected[i].second, 1e-3 * (1 + std::abs(expected[i].second))) << expected[i].first;
}

} // namespace
