// Recordings with a known ground truth played through the acquisition of a
// demonstration port and the measurement of a session: what the debriefing
// would show must be what the simulated trainee did.
#include "Performances.h"
#include "Trainee.h"
#include "e2e/Playback.h"
#include "e2e/Truth.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using demo::Event;
using demo::EventKind;
using demo::Mistake;

// Where the chain puts a movement's start and end, relative to the trainee's
// first and last moving samples (see the demonstration recordings' notes):
//  - a compression's smoothed depth rises one sample late (the lag), and the
//    detector starts the cycle at the last rest sample before it; a steep
//    first rise also spreads to the sample before, which starts it one
//    earlier. Its end comes 2 to 4 samples late: the lag, the smoothed tail,
//    and the cycle ends on the sample before the one back at rest.
//  - A compression from a leaning level is seen once the depth has risen 5 mm
//    (the hysteresis) and is dated one sample back: a first step of less than
//    5 mm puts its start a sample after the trainee's. A leaning compression
//    ends where the next one starts, the chest never being back at rest.
//  - A ventilation starts at its first non-zero smoothed volume, which the
//    smoothing's snap to zero of small values delays by 2 to 3 samples, and
//    ends on the first zero sample: the three samples of lag and the tail.
constexpr int compressionStartEarliest = -1, compressionStartLatest = 0, fromLeaningLatest = 1;
constexpr int compressionEndEarliest = 2, compressionEndLatest = 4;
constexpr int ventilationStartEarliest = 2, ventilationStartLatest = 3;
constexpr int ventilationEndShift = 6;

struct Case {
    std::string name;
    std::function<demo::Recording()> make;
    int port = 247;
    int loops = 1;
    std::function<void(e2e::Judgement&)> judge; // changes to the default judgement
    // What the recording is made to show, in the figures of the debriefing.
    std::vector<std::pair<std::string, int>> shows;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

demo::Recording performance(std::vector<Mistake> mistakes)
{
    demo::PerformanceOptions options;
    options.length = 2600; // six cycles: the mistakes come in cycles 1, 3 and 5
    options.mistakes = std::move(mistakes);
    return demo::perform(options);
}

const std::vector<Case>& cases()
{
    auto set = [](int n) { return [n] { return e2e::committedDemoSet(n); }; };
    auto made = [](Mistake m) { return [m] { return performance({ m }); }; };
    static const std::vector<Case> all {
        // The demonstration ports in demonstration mode: 247 plays set 1, 248 set 2, 249 set 0.
        { "good CPR on port 247", set(1), 247, 1, {},
          { { "nrCompressions", 90 }, { "nrCompGroups", 3 }, { "nrDepthOK", 90 }, { "compFreqOK", 3 },
            { "nrVolumeOK", 6 }, { "initialVentilations", 2 }, { "nrRatioCycles", 2 }, { "nrRatioCorrect", 2 },
            { "nrPauseOK", 2 }, { "nrCardiacOutputOK", 2 } } },
        { "mistakes of the hands on port 248", set(2), 248, 1, {},
          { { "nrCompressions", 90 }, { "compFreqHigh", 1 }, { "nrDepthLow", 20 }, { "nrDepthHigh", 6 },
            { "nrLeanings", 10 }, { "nrWrongHand", 8 }, { "nrCardiacOutputLow", 1 }, { "nrRatioCorrect", 3 } } },
        { "mistakes of the breaths and the rhythm on port 249", set(0), 249, 1, {},
          { { "nrCompressions", 60 }, { "compFreqLow", 1 }, { "nrVolumeOK", 2 }, { "nrVolumeHigh", 1 },
            { "nrVolumeLow", 1 }, { "nrStomachInflations", 2 }, { "nrPauseLong", 1 }, { "longestPause", 10 },
            { "nrRatioCorrect", 2 } } },
        // A demonstration port plays its recording in a loop, without a seam.
        { "good CPR three times round", set(1), 250, 3, {},
          { { "nrCompGroups", 9 }, { "nrPauseOK", 8 }, { "nrRatioCycles", 8 }, { "nrRatioCorrect", 8 } } },
        { "mistakes of the hands twice round", set(2), 251, 2, {}, { { "nrCompGroups", 6 }, { "nrPauseOK", 5 } } },
        { "mistakes of the breaths twice round", set(0), 252, 2, {},
          { { "nrCompGroups", 4 }, { "nrPauseOK", 0 }, { "nrPauseLong", 3 }, { "longestPause", 13 } } },
        // The same performances judged otherwise.
        { "mistakes of the hands with a wider depth range for the cardiac output", set(2), 248, 1,
          [](e2e::Judgement& j) {
              j.settings.overrideDepth = true;
              j.settings.depthLow = 30;
              j.settings.depthHigh = 52;
          },
          { { "nrDepthLow", 20 }, { "nrCardiacOutputLow", 0 }, { "nrCardiacOutputOK", 2 } } },
        { "good CPR, two rescuers, against a 15:2 guideline", set(1), 247, 1,
          [](e2e::Judgement& j) {
              j.trainingMode = 1;
              j.algorithm.ventCompRatioDoubleComp = 15;
          },
          { { "nrRatioCycles", 2 }, { "nrRatioCorrect", 0 } } },
        // Performances made to order: six cycles of 30:2, each mistake in every second cycle.
        { "a good performance", [] { return performance({}); }, 247, 1, {},
          { { "nrCompressions", 180 }, { "nrDepthOK", 180 }, { "compFreqOK", 6 }, { "nrVolumeOK", 12 },
            { "nrLeanings", 0 }, { "nrWrongHand", 0 }, { "nrStomachInflations", 0 }, { "nrPauseLong", 0 },
            { "nrRatioCorrect", 5 } } },
        { "shallow", made(Mistake::Shallow), 247, 1, {}, { { "nrDepthLow", 30 }, { "nrDepthHigh", 0 } } },
        { "too deep", made(Mistake::TooDeep), 247, 1, {}, { { "nrDepthHigh", 15 }, { "nrDepthLow", 0 } } },
        { "too fast", made(Mistake::TooFast), 247, 1, {}, { { "compFreqHigh", 3 }, { "compFreqLow", 0 } } },
        { "too slow", made(Mistake::TooSlow), 247, 1, {}, { { "compFreqLow", 3 }, { "compFreqHigh", 0 } } },
        { "leaning", made(Mistake::Leaning), 247, 1, {}, { { "nrLeanings", 30 }, { "nrCardiacOutputOK", 5 } } },
        { "wrong hand position", made(Mistake::WrongHand), 247, 1, {},
          { { "nrWrongHand", 30 }, { "compressionMarks", 30 } } },
        { "stomach inflation", made(Mistake::StomachInflation), 247, 1, {},
          { { "nrStomachInflations", 2 }, { "ventilationMarks", 2 }, { "nrVolumeOK", 12 } } },
        { "small breaths", made(Mistake::SmallBreath), 247, 1, {}, { { "nrVolumeLow", 2 }, { "nrVolumeHigh", 0 } } },
        { "large breaths", made(Mistake::LargeBreath), 247, 1, {}, { { "nrVolumeHigh", 2 }, { "nrVolumeLow", 0 } } },
        { "long pauses", made(Mistake::LongPause), 247, 1, {}, { { "nrPauseLong", 2 }, { "longestPause", 16 } } },
    };
    return all;
}

class Recordings : public ::testing::TestWithParam<Case> {
protected:
    testsupport::LogCapture log;
};

// Each compression and ventilation the trainee made is found once, in its
// series, where and as deep and as flagged as it was made.
void expectTheMovementsFound(const demo::Recording& r, const CommSession& session)
{
    const e2e::Found found = e2e::foundIn(session);
    const auto compressions = r.truth.ofKind(EventKind::Compression);
    const auto ventilations = r.truth.ofKind(EventKind::Ventilation);
    ASSERT_EQ(found.compressions.size(), compressions.size());
    ASSERT_EQ(found.ventilations.size(), ventilations.size());
    for (std::size_t i = 0; i < compressions.size(); ++i) {
        const Event& t = compressions[i];
        const auto& [series, c] = found.compressions[i];
        const int phaseEnd = e2e::compressionPhaseEnd(r, t);
        SCOPED_TRACE("compression " + std::to_string(i) + " at sample " + std::to_string(t.start));
        const bool fromLeaning = i > 0 && compressions[i - 1].leaning;
        EXPECT_EQ(series, t.series);
        EXPECT_EQ(c.indexPeak, t.peak + e2e::compressionLag);
        EXPECT_GE(c.indexStart - t.start, compressionStartEarliest);
        EXPECT_LE(c.indexStart - t.start, fromLeaning ? fromLeaningLatest : compressionStartLatest);
        if (t.leaning) {
            ASSERT_LT(i + 1, compressions.size());
            EXPECT_EQ(c.indexEnd, found.compressions[i + 1].second.indexStart);
        } else {
            EXPECT_GE(c.indexEnd - t.end, compressionEndEarliest);
            EXPECT_LE(c.indexEnd - t.end, compressionEndLatest);
        }
        // The compression phase ends with the lag, or a sample sooner when the
        // smoothing pulls the first sample of a steep fall below the hysteresis.
        EXPECT_GE(c.indexPeakEnd, phaseEnd);
        EXPECT_LE(c.indexPeakEnd, phaseEnd + e2e::compressionLag);
        // A closed series times its cycles but the last: the compression
        // phase from the start to its end, the relaxation up to the next start.
        const bool measured = t.series < compressions.back().series && i + 1 < compressions.size()
            && compressions[i + 1].series == t.series;
        const auto* next = measured ? &found.compressions[i + 1].second : nullptr;
        EXPECT_EQ(c.compressionTime, next ? c.indexPeakEnd - c.indexStart : 0);
        EXPECT_EQ(c.relaxationTime, next ? next->indexStart - c.indexPeakEnd : 0);
        EXPECT_NEAR(c.depth, t.units * demo::mmPerUnit, 1e-9);
        EXPECT_EQ(c.wrongHand, t.wrongHand);
        EXPECT_EQ(c.noRelease, t.leaning);
        EXPECT_EQ(session.manData.at(c.indexPeak).compressionMark, t.wrongHand);
    }
    for (std::size_t i = 0; i < ventilations.size(); ++i) {
        const Event& t = ventilations[i];
        const auto& [series, v] = found.ventilations[i];
        SCOPED_TRACE("ventilation " + std::to_string(i) + " at sample " + std::to_string(t.start));
        EXPECT_EQ(series, t.series);
        EXPECT_EQ(v.indexPeak, t.peak + e2e::ventilationLag);
        EXPECT_GE(v.indexStart - t.start, ventilationStartEarliest);
        EXPECT_LE(v.indexStart - t.start, ventilationStartLatest);
        EXPECT_EQ(v.indexEnd - t.end, ventilationEndShift);
        EXPECT_NEAR(v.volume, t.units * demo::litresPerUnit, 1e-9);
        EXPECT_EQ(v.stomachInflation, t.stomachInflation);
        EXPECT_EQ(session.manData.at(v.indexPeak).ventilationMark, t.stomachInflation);
    }
}

// Each series runs from its first to its last peak at the trainee's rate, and
// every closed one is announced once, in its middle, with its compression
// share and cardiac output.
void expectTheSeries(const demo::Recording& r, const e2e::Judgement& judgement, const CommSession& session)
{
    const auto series = e2e::seriesOf(r.truth, EventKind::Compression);
    const auto& found = session.compressionDetector.series;
    ASSERT_EQ(found.size(), series.size());
    auto group = session.groups.begin();
    for (std::size_t k = 0; k < series.size(); ++k) {
        const auto& s = series[k];
        SCOPED_TRACE("series " + std::to_string(k));
        EXPECT_EQ(found[k].firstPeak, s.front().peak + e2e::compressionLag);
        EXPECT_EQ(found[k].lastPeak, s.back().peak + e2e::compressionLag);
        // Peak to peak, all shown with the same lag: the rate as made.
        const double rate = s.size() > 1 ? (s.size() - 1) * 1200.0 / (s.back().peak - s.front().peak) : 0;
        EXPECT_NEAR(found[k].rate * session.sampleRate * 60, rate, 1e-9);
        if (k + 1 == series.size() || s.size() < 2)
            continue; // never closed, or no share to announce
        ASSERT_NE(group, session.groups.end());
        const auto& [index, g] = *group++;
        EXPECT_GE(index, s.front().start);
        EXPECT_LE(index, s.back().end);
        // The share as the trainee made it, each cycle known to a sample (see
        // the averages), truncated to whole percent.
        const e2e::Share share = e2e::shareOf(r, s);
        const double percent = 100.0 * share.compressionTime / share.cycleTime;
        EXPECT_NEAR(g.compressionPercent, percent, 100.0 * (share.measured + 1) / (share.cycleTime - 1) + 1);
        // Its length runs from its first start to the next series' first
        // start, each known to one sample.
        const int length = series[k + 1].front().start - s.front().start;
        const double perMinute = e2e::cardiacOutputOf(s, judgement) * 20 * 60 / length;
        EXPECT_NEAR(g.cardiacOutput, perMinute, perMinute / (length - 1) + 1e-9);
    }
    EXPECT_EQ(group, session.groups.end());
}

// Plays a recording on a demonstration port and checks everything the
// session measured against its ground truth.
void expectTheTruth(const demo::Recording& once, int port, int loops, const e2e::Judgement& judgement)
{
    // Generated recordings are played from resources of their own.
    std::optional<e2e::RegisteredRecording> registered;
    std::array<int, 3> resources {};
    if (once.truth.resources) {
        resources = *once.truth.resources;
    } else {
        registered.emplace(once, 9100);
        resources = registered->resources();
    }
    const demo::Recording r = e2e::looped(once, loops);

    e2e::DemoPortSession played(port, resources, judgement);
    ASSERT_EQ(played.openResult, SerialPort::OPEN_OK);
    ASSERT_EQ(played.calibration, Comm::CAL_DONE);
    EXPECT_EQ(played.comm.zeroCompression, r.truth.zeroCompression);
    EXPECT_EQ(played.comm.zeroVentilation, r.truth.zeroVentilation);
    played.play(r.truth.samples);
    const CommSession& session = played.session;
    ASSERT_EQ(static_cast<int>(session.manData.size()), r.truth.samples);
    EXPECT_EQ(session.sampleRate, 20.0);

    expectTheMovementsFound(r, session);
    expectTheSeries(r, judgement, session);

    const e2e::Counts expected = e2e::expectedCounts(r, judgement);
    const e2e::Counts actual = e2e::countsOf(session);
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual[i].second, expected[i].second) << expected[i].first;
    for (const e2e::Average& a : e2e::expectedAverages(r, judgement))
        EXPECT_NEAR(e2e::averageOf(session, a.name), a.expected, a.tolerance) << a.name;
}

TEST_P(Recordings, MeasureWhatTheTraineeDid)
{
    const Case& c = GetParam();
    const demo::Recording once = c.make();
    ASSERT_GT(once.truth.samples, 0);
    ASSERT_FALSE(once.truth.events.empty());
    e2e::Judgement judgement;
    if (c.judge)
        c.judge(judgement);

    // The recording shows what it is made to show.
    const e2e::Counts truth = e2e::expectedCounts(e2e::looped(once, c.loops), judgement);
    for (const auto& [name, value] : c.shows) {
        auto it = std::find_if(truth.begin(), truth.end(), [&](const auto& e) { return e.first == name; });
        ASSERT_NE(it, truth.end()) << name;
        EXPECT_EQ(it->second, value) << name;
    }
    expectTheTruth(once, c.port, c.loops, judgement);
    EXPECT_EQ(log.text().find("Assert failed"), std::string::npos) << log.text();
}

std::string caseName(const ::testing::TestParamInfo<Case>& info)
{
    std::string name;
    for (char ch : info.param.name)
        name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, Recordings, ::testing::ValuesIn(cases()), caseName);

// Played in a loop, a demonstration set starts again well apart from its
// last series and breaths, so each copy keeps its own series (which the
// looped rows above take for granted).
TEST(DemonstrationSets, TheSeamOfTheLoopKeepsTheSeriesApart)
{
    for (int set = 0; set < 3; ++set) {
        const demo::Recording twice = e2e::looped(e2e::committedDemoSet(set), 2);
        for (EventKind kind : { EventKind::Compression, EventKind::Ventilation }) {
            const auto series = e2e::seriesOf(twice.truth, kind);
            ASSERT_GE(series.size(), 2u);
            for (std::size_t k = 1; k < series.size(); ++k)
                EXPECT_GE(series[k].front().start - series[k - 1].back().end, 40) << "set " << set << " series " << k;
        }
    }
}

// A session on a demonstration port may last 30 seconds or 20 minutes; here
// it also starts anywhere in the loop where the trainee rests (the program
// starts it at the beginning of the recording). Whatever the session holds,
// from any start, is measured as the trainee made it.
TEST(DemonstrationSets, ShortSessionsFromAnyStartAreMeasuredAsMade)
{
    testsupport::LogCapture log;
    int played = 0, skipped = 0;
    for (int set = 0; set < 3; ++set) {
        const demo::Recording once = e2e::committedDemoSet(set);
        // The beginning, and just before every series of movements.
        std::vector<int> starts { 0 };
        for (EventKind kind : { EventKind::Compression, EventKind::Ventilation })
            for (const auto& series : e2e::seriesOf(once.truth, kind))
                if (series.front().start >= e2e::restAtStart)
                    starts.push_back(series.front().start - e2e::restAtStart);
        for (int start : starts) {
            // 30 s, 1 min and 5 min: a session ends on the first sample past its duration.
            for (int seconds : { 30, 60, 300 }) {
                const int length = seconds * demo::samplesPerSecond + 1;
                const e2e::Judgement judgement;
                std::string undecided;
                const demo::Recording session = e2e::window(once, start, length, &undecided);
                if (undecided.empty())
                    e2e::expectedCounts(session, judgement, &undecided);
                if (!undecided.empty()) {
                    ++skipped;
                    continue;
                }
                SCOPED_TRACE("set " + std::to_string(set) + ", " + std::to_string(seconds) + " s from sample "
                             + std::to_string(start));
                ASSERT_FALSE(session.truth.ofKind(EventKind::Compression).empty());
                expectTheTruth(session, 247 + (set + 2) % 3, 1, judgement);
                ++played;
            }
        }
    }
    EXPECT_GT(played, 4 * skipped) << "most sessions end where the chain has finished every movement";
    EXPECT_EQ(log.text().find("Assert failed"), std::string::npos) << log.text();
}

// Any performance the generator makes, with any mix of mistakes, zero levels
// and judgement, is measured as its ground truth says.
TEST(RandomPerformances, AreMeasuredAsTheyWereMade)
{
    testsupport::LogCapture log;
    int played = 0;
    for (int seed = 1; seed <= 120; ++seed) {
        demo::Random rng(static_cast<std::uint64_t>(seed) * 977);
        demo::PerformanceOptions options;
        options.length = 300 + rng.below(5000);
        options.seed = static_cast<std::uint64_t>(seed);
        options.zeroCompression = rng.below(45); // the deepest compressions still fit below 255
        options.zeroVentilation = rng.below(80);
        for (Mistake m : demo::allMistakes())
            if (rng.below(3) == 0)
                options.mistakes.push_back(m);
        e2e::Judgement j;
        j.trainingMode = rng.below(2);
        j.algorithm.compDepthLow = 35 + rng.below(10);
        j.algorithm.compDepthHigh = 47 + rng.below(10);
        j.algorithm.eccRateLow = 80 + rng.below(20);
        j.algorithm.eccRateHigh = 104 + rng.below(30);
        j.algorithm.vVolLow = 0.3 + rng.below(25) / 100.0;
        j.algorithm.vVolHigh = 0.55 + rng.below(35) / 100.0;
        j.algorithm.ventCompRatioDoubleComp = rng.below(2) ? 15 : 30;
        j.algorithm.ventCompRatioSingleVent = 1 + rng.below(2);
        j.settings.maxPause = 3 + rng.below(12);
        j.settings.overrideDepth = rng.below(2) == 1;
        j.settings.depthLow = 25 + rng.below(15);
        j.settings.cardiacOutputLow = 1 + rng.below(20) / 10.0;

        const demo::Recording r = demo::perform(options);
        std::string undecided;
        e2e::expectedCounts(r, j, &undecided);
        if (!undecided.empty())
            continue; // a class the chain may tip either way
        SCOPED_TRACE("seed " + std::to_string(seed));
        expectTheTruth(r, 247 + rng.below(10), 1, j);
        ++played;
    }
    EXPECT_GT(played, 100);
    EXPECT_EQ(log.text().find("Assert failed"), std::string::npos) << log.text();
}

} // namespace
