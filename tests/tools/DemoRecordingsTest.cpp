#include "Performances.h"
#include "Recording.h"
#include "Trainee.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using demo::Event;
using demo::EventKind;
using demo::Mistake;
using demo::Recording;

const std::string committed = TAVO_DEMO_DIR;

// Units above the zero of one channel at sample i (negative values are rest).
int above(const std::vector<std::uint8_t>& channel, int zero, int i) { return channel.at(i) - zero; }

bool atRest(const std::vector<std::uint8_t>& channel, int zero, int i)
{
    return above(channel, zero, i) < demo::measurableUnits;
}

// Everything that must hold between a recording and its ground truth; one
// line per problem found.
std::vector<std::string> disagreements(const Recording& r)
{
    std::vector<std::string> problems;
    auto report = [&](const std::string& what, int index) {
        problems.push_back(what + " at sample " + std::to_string(index));
    };
    const auto& t = r.truth;
    const int n = t.samples;
    if (static_cast<int>(r.compression.size()) != n || static_cast<int>(r.ventilation.size()) != n
        || static_cast<int>(r.status.size()) != n) {
        problems.push_back("channel sizes differ from the sample count");
        return problems;
    }
    // A demonstration port takes its zero levels from sample 0.
    if (n > 0 && (r.compression[0] != t.zeroCompression || r.ventilation[0] != t.zeroVentilation))
        report("sample 0 is not the zero level", 0);
    for (int i = 0; i < n; ++i) {
        if (!demo::isValidStatus(r.status[i]))
            report("invalid status " + std::to_string(r.status[i]), i);
        if (r.compression[i] == 0 && r.ventilation[i] == 0 && r.status[i] == 0)
            report("all three bytes 0", i);
    }
    // The recording loops: it must begin and end at rest.
    for (int i : { 0, n - 1 })
        if (n > 0 && (!atRest(r.compression, t.zeroCompression, i) || !atRest(r.ventilation, t.zeroVentilation, i)))
            report("not at rest", i);

    std::vector<bool> compressionMoves(n, false), ventilationMoves(n, false);
    auto compressions = t.ofKind(EventKind::Compression);
    auto ventilations = t.ofKind(EventKind::Ventilation);
    for (std::size_t k = 0; k < compressions.size(); ++k) {
        const Event& e = compressions[k];
        const Event* next = k + 1 < compressions.size() && compressions[k + 1].series == e.series
            ? &compressions[k + 1]
            : nullptr;
        if (e.start < 1 || e.end >= n - 1 || !(e.start < e.peak && e.peak < e.end)) {
            report("compression out of order", e.start);
            continue;
        }
        if (above(r.compression, t.zeroCompression, e.peak) != e.units)
            report("compression peak is not its units", e.peak);
        if (std::abs(e.size - e.units * 25.0 / 101.0) > 1e-9)
            report("compression size is not its units in mm", e.peak);
        for (int i = e.start; i < e.peak; ++i)
            if (r.compression[i + 1] < r.compression[i])
                report("compression does not rise steadily", i);
        for (int i = e.peak; i < e.end; ++i)
            if (r.compression[i + 1] > r.compression[i])
                report("compression does not fall steadily", i);
        for (int i = e.start; i <= e.end; ++i) {
            if (!atRest(r.ventilation, t.zeroVentilation, i))
                report("ventilation during a compression", i);
            if (demo::isValidStatus(r.status[i]) && (r.status[i] == demo::statusWrongHand) != e.wrongHand)
                report("status does not match the wrong-hand flag", i);
        }
        // Leaning: the next compression starts from a level above 5 mm; else
        // from rest.
        int restEnd = next ? next->start : e.end + 1;
        int level = above(r.compression, t.zeroCompression, restEnd - 1);
        bool leaning = next && level * 25.0 / 101.0 > 5.0;
        if (leaning != e.leaning)
            report("leaning flag does not match the release level", restEnd - 1);
        bool afterLeaning = k > 0 && compressions[k - 1].leaning && compressions[k - 1].series == e.series;
        if (!afterLeaning && !atRest(r.compression, t.zeroCompression, e.start - 1))
            report("compression does not start at rest", e.start - 1);
        int last = e.leaning ? next->start - 1 : e.end;
        for (int i = e.start; i <= last; ++i)
            compressionMoves[i] = true;
        if (e.leaning)
            for (int i = e.end + 1; i < next->start; ++i)
                if (above(r.compression, t.zeroCompression, i) != level)
                    report("leaning level is not steady", i);
    }
    for (const Event& e : ventilations) {
        if (e.start < 1 || e.end >= n - 1 || !(e.start < e.peak && e.peak < e.end)) {
            report("ventilation out of order", e.start);
            continue;
        }
        if (above(r.ventilation, t.zeroVentilation, e.peak) != e.units)
            report("ventilation peak is not its units", e.peak);
        if (std::abs(e.size - e.units / 112.0) > 1e-9)
            report("ventilation size is not its units in litres", e.peak);
        for (int i = e.start; i < e.peak; ++i)
            if (r.ventilation[i + 1] < r.ventilation[i])
                report("ventilation does not rise steadily", i);
        for (int i = e.peak; i < e.end; ++i)
            if (r.ventilation[i + 1] > r.ventilation[i])
                report("ventilation does not fall steadily", i);
        if (!atRest(r.ventilation, t.zeroVentilation, e.start - 1)
            || !atRest(r.ventilation, t.zeroVentilation, e.end + 1))
            report("ventilation does not start and end at rest", e.start);
        for (int i = e.start; i <= e.end; ++i) {
            if (!atRest(r.compression, t.zeroCompression, i))
                report("compression during a ventilation", i);
            if ((r.status[i] == demo::statusStomach) != e.stomachInflation)
                report("status does not match the stomach-inflation flag", i);
            ventilationMoves[i] = true;
        }
    }
    // Nothing moves that the truth does not list.
    for (int i = 0; i < n; ++i) {
        if (!compressionMoves[i] && !atRest(r.compression, t.zeroCompression, i))
            report("compression channel moves outside the listed compressions", i);
        if (!ventilationMoves[i] && !atRest(r.ventilation, t.zeroVentilation, i))
            report("ventilation channel moves outside the listed ventilations", i);
    }
    // Series: movements of one series follow closely, series lie far apart,
    // well clear of the program's series gaps (25 and 20 samples).
    for (const auto* list : { &compressions, &ventilations })
        for (std::size_t k = 1; k < list->size(); ++k) {
            const Event& a = (*list)[k - 1];
            const Event& b = (*list)[k];
            int gap = b.start - a.end;
            if (b.series == a.series ? gap > 15 : (b.series != a.series + 1 || gap < 40))
                report("series do not separate clearly (gap " + std::to_string(gap) + ")", b.start);
        }
    // Pauses lie between the peaks of consecutive compression series.
    auto pauses = t.ofKind(EventKind::Pause);
    int series = compressions.empty() ? 0 : compressions.back().series + 1;
    if (static_cast<int>(pauses.size()) != std::max(series - 1, 0))
        problems.push_back("one pause expected between each two compression series");
    for (const Event& p : pauses) {
        int lastPeak = -1, firstPeak = -1;
        for (const Event& c : compressions) {
            if (c.series == p.series - 1)
                lastPeak = c.peak;
            if (c.series == p.series && firstPeak < 0)
                firstPeak = c.peak;
        }
        if (p.start != lastPeak || p.end != firstPeak || std::abs(p.size - (p.end - p.start) / 20.0) > 1e-9)
            report("pause does not span the peaks around it", p.start);
    }
    return problems;
}

double ratePerMinute(const std::vector<Event>& series)
{
    return (series.size() - 1) * 60.0 * demo::samplesPerSecond / (series.back().peak - series.front().peak);
}

std::map<int, std::vector<Event>> bySeries(const demo::GroundTruth& t, EventKind kind)
{
    std::map<int, std::vector<Event>> groups;
    for (const Event& e : t.ofKind(kind))
        groups[e.series].push_back(e);
    return groups;
}

std::string truthText(const demo::GroundTruth& t)
{
    std::ostringstream out;
    demo::writeGroundTruth(out, t);
    return out.str();
}

TEST(DemoRecordings, GeneratorRemakesTheCommittedFilesExactly)
{
    testsupport::TempDir dir;
    std::string error;
    ASSERT_TRUE(demo::writeDemoSets(dir.path(), &error)) << error;
    std::vector<std::string> names { "set0.csv", "set1.csv", "set2.csv" };
    for (int id = 169; id <= 177; ++id)
        names.push_back(std::to_string(id) + ".bin");
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        std::string made = testsupport::readFile(dir.file(name));
        EXPECT_FALSE(made.empty());
        EXPECT_EQ(made, testsupport::readFile(committed + "/" + name));
    }
    for (int id = 169; id <= 177; ++id)
        EXPECT_EQ(testsupport::readFile(dir.file(std::to_string(id) + ".bin")).size(), 1275u);
}

TEST(DemoRecordings, SameOptionsGiveTheSameRecordingAndSeedsDiffer)
{
    demo::PerformanceOptions options;
    options.length = 3000;
    options.mistakes = { Mistake::Leaning, Mistake::StomachInflation };
    Recording a = demo::perform(options);
    Recording b = demo::perform(options);
    EXPECT_EQ(a.compression, b.compression);
    EXPECT_EQ(a.ventilation, b.ventilation);
    EXPECT_EQ(a.status, b.status);
    EXPECT_EQ(truthText(a.truth), truthText(b.truth));
    options.seed = 2;
    EXPECT_NE(demo::perform(options).compression, a.compression);
}

TEST(DemoRecordings, GroundTruthAgreesWithTheWaveform)
{
    std::vector<std::pair<std::string, Recording>> recordings;
    for (int set = 0; set < demo::demoSetCount; ++set)
        recordings.emplace_back("set " + std::to_string(set), demo::demoSet(set));
    demo::PerformanceOptions all;
    all.length = 8000;
    all.mistakes = demo::allMistakes();
    recordings.emplace_back("every mistake", demo::perform(all));
    demo::PerformanceOptions odd;
    odd.length = 2222;
    odd.seed = 77;
    odd.zeroCompression = 0; // the lowest zero: rest jitter only above it
    odd.zeroVentilation = 60;
    odd.mistakes = { Mistake::TooDeep, Mistake::TooFast, Mistake::LargeBreath };
    recordings.emplace_back("other zero levels", demo::perform(odd));
    for (const auto& [name, r] : recordings) {
        SCOPED_TRACE(name);
        auto problems = disagreements(r);
        EXPECT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems.front();
        EXPECT_FALSE(r.truth.ofKind(EventKind::Compression).empty());
        EXPECT_FALSE(r.truth.ofKind(EventKind::Ventilation).empty());
    }
}

TEST(DemoRecordings, TheFirstDemonstrationPortPlaysGoodCpr)
{
    // Port 247 plays set 247 % 3 = 1.
    EXPECT_EQ(demo::demoSetResources(247 % 3), (std::array<int, 3> { 177, 174, 173 }));
    EXPECT_EQ(demo::demoSetResources(0), (std::array<int, 3> { 169, 170, 171 }));
    EXPECT_EQ(demo::demoSetResources(2), (std::array<int, 3> { 175, 172, 176 }));

    Recording good = demo::demoSet(1);
    ASSERT_EQ(good.truth.samples, demo::demoSetSamples);
    auto series = bySeries(good.truth, EventKind::Compression);
    ASSERT_EQ(series.size(), 3u);
    for (const auto& [number, compressions] : series) {
        SCOPED_TRACE(number);
        EXPECT_EQ(compressions.size(), 30u);
        double rate = ratePerMinute(compressions);
        EXPECT_GE(rate, 100.0);
        EXPECT_LE(rate, 110.0);
        for (const Event& e : compressions) {
            EXPECT_GE(e.size, 40.0);
            EXPECT_LE(e.size, 50.0);
            EXPECT_FALSE(e.wrongHand || e.leaning);
        }
    }
    auto breaths = bySeries(good.truth, EventKind::Ventilation);
    ASSERT_EQ(breaths.size(), 3u);
    for (const auto& [number, pair] : breaths) {
        EXPECT_EQ(pair.size(), 2u);
        for (const Event& e : pair) {
            EXPECT_GE(e.size, 0.5);
            EXPECT_LE(e.size, 0.6);
            EXPECT_FALSE(e.stomachInflation);
        }
    }
    for (const Event& p : good.truth.ofKind(EventKind::Pause))
        EXPECT_LE(p.size, 9.0);
}

TEST(DemoRecordings, TheOtherSetsShowEveryMistake)
{
    std::vector<Event> events;
    std::vector<double> rates;
    for (int set : { 0, 2 }) {
        Recording r = demo::demoSet(set);
        EXPECT_EQ(r.truth.samples, demo::demoSetSamples);
        events.insert(events.end(), r.truth.events.begin(), r.truth.events.end());
        for (const auto& [number, compressions] : bySeries(r.truth, EventKind::Compression)) {
            EXPECT_EQ(compressions.size(), 30u); // the mistakes are not in the 30:2 rhythm
            rates.push_back(ratePerMinute(compressions));
        }
    }
    auto any = [&](EventKind kind, const std::function<bool(const Event&)>& test) {
        return std::any_of(events.begin(), events.end(),
                           [&](const Event& e) { return e.kind == kind && test(e); });
    };
    EXPECT_TRUE(any(EventKind::Compression, [](const Event& e) { return e.size < 40.0; }));
    EXPECT_TRUE(any(EventKind::Compression, [](const Event& e) { return e.size > 50.0; }));
    EXPECT_TRUE(any(EventKind::Compression, [](const Event& e) { return e.leaning; }));
    EXPECT_TRUE(any(EventKind::Compression, [](const Event& e) { return e.wrongHand; }));
    EXPECT_TRUE(any(EventKind::Ventilation, [](const Event& e) { return e.stomachInflation; }));
    EXPECT_TRUE(any(EventKind::Ventilation, [](const Event& e) { return e.size > 0.6; }));
    EXPECT_TRUE(any(EventKind::Ventilation, [](const Event& e) { return e.size < 0.5; }));
    EXPECT_TRUE(any(EventKind::Pause, [](const Event& e) { return e.size > 9.0; }));
    EXPECT_TRUE(std::any_of(rates.begin(), rates.end(), [](double r) { return r > 120.0; }));
    EXPECT_TRUE(std::any_of(rates.begin(), rates.end(), [](double r) { return r < 90.0; }));
}

TEST(DemoRecordings, EachMistakeIsMadeInTheOddCyclesOnly)
{
    struct Case {
        Mistake mistake;
        EventKind kind;
        std::function<bool(const Event&)> wrong;
    };
    const std::vector<Case> cases {
        { Mistake::Shallow, EventKind::Compression, [](const Event& e) { return e.size < 40.0; } },
        { Mistake::TooDeep, EventKind::Compression, [](const Event& e) { return e.size > 50.0; } },
        { Mistake::Leaning, EventKind::Compression, [](const Event& e) { return e.leaning; } },
        { Mistake::WrongHand, EventKind::Compression, [](const Event& e) { return e.wrongHand; } },
        { Mistake::StomachInflation, EventKind::Ventilation, [](const Event& e) { return e.stomachInflation; } },
        { Mistake::SmallBreath, EventKind::Ventilation, [](const Event& e) { return e.size < 0.5; } },
        { Mistake::LargeBreath, EventKind::Ventilation, [](const Event& e) { return e.size > 0.6; } },
        { Mistake::LongPause, EventKind::Pause, [](const Event& e) { return e.size > 9.0; } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(demo::mistakeName(c.mistake));
        demo::PerformanceOptions options;
        options.length = 2600;
        options.mistakes = { c.mistake };
        Recording r = demo::perform(options);
        EXPECT_TRUE(disagreements(r).empty());
        // Compression series k and the breaths after it (ventilation series
        // k + 1, after the initial pair) and the pause after them (before
        // series k + 1) make cycle k.
        std::map<int, int> wrongPerCycle;
        for (const Event& e : r.truth.ofKind(c.kind)) {
            int cycle = c.kind == EventKind::Compression ? e.series : e.series - 1;
            if (c.wrong(e))
                ++wrongPerCycle[cycle];
        }
        ASSERT_FALSE(wrongPerCycle.empty());
        for (const auto& [cycle, count] : wrongPerCycle)
            EXPECT_EQ(cycle % 2, 1) << "cycle " << cycle;
        EXPECT_GT(wrongPerCycle[1], 0);
    }

    // The rate is a mistake of a whole series.
    for (auto [mistake, low, high] : { std::tuple { Mistake::TooFast, 125.0, 140.0 },
                                       std::tuple { Mistake::TooSlow, 70.0, 85.0 } }) {
        demo::PerformanceOptions options;
        options.length = 2600;
        options.mistakes = { mistake };
        for (const auto& [number, compressions] : bySeries(demo::perform(options).truth, EventKind::Compression)) {
            if (compressions.size() < 2)
                continue;
            double rate = ratePerMinute(compressions);
            bool wrong = number % 2 == 1;
            EXPECT_EQ(wrong, rate >= low && rate <= high) << demo::mistakeName(mistake) << " " << number;
            if (!wrong) {
                EXPECT_GE(rate, 100.0);
                EXPECT_LE(rate, 110.0);
            }
        }
    }
}

TEST(DemoRecordings, PerformancesTakeAnyLength)
{
    for (int length : { 1, 30, 37, 400, 1275, 5000 }) {
        SCOPED_TRACE(length);
        demo::PerformanceOptions options;
        options.length = length;
        Recording r = demo::perform(options);
        EXPECT_EQ(r.truth.samples, length);
        EXPECT_EQ(static_cast<int>(r.compression.size()), length);
        auto problems = disagreements(r);
        EXPECT_TRUE(problems.empty()) << problems.front();
        if (length >= 400) {
            auto series = bySeries(r.truth, EventKind::Compression);
            ASSERT_FALSE(series.empty());
            // Only the last series may be cut short.
            for (auto it = series.begin(); std::next(it) != series.end(); ++it)
                EXPECT_EQ(it->second.size(), 30u);
        }
    }
}

TEST(GroundTruthText, ReadsBackWhatWasWritten)
{
    Recording r = demo::demoSet(2);
    std::string text = truthText(r.truth);
    std::istringstream in(text);
    demo::GroundTruth read;
    std::string error;
    ASSERT_TRUE(demo::readGroundTruth(in, read, &error)) << error;
    EXPECT_EQ(read.title, r.truth.title);
    EXPECT_EQ(read.resources, r.truth.resources);
    EXPECT_EQ(read.samples, 1275);
    EXPECT_EQ(read.zeroCompression, r.truth.zeroCompression);
    EXPECT_EQ(read.zeroVentilation, r.truth.zeroVentilation);
    ASSERT_EQ(read.events.size(), r.truth.events.size());
    for (std::size_t i = 0; i < read.events.size(); ++i) {
        const Event& a = read.events[i];
        const Event& b = r.truth.events[i];
        EXPECT_TRUE(a.kind == b.kind && a.series == b.series && a.start == b.start && a.peak == b.peak
                    && a.end == b.end && a.units == b.units && a.stomachInflation == b.stomachInflation
                    && a.wrongHand == b.wrongHand && a.leaning == b.leaning)
            << "event " << i;
        EXPECT_NEAR(a.size, b.size, 1e-4);
    }
    EXPECT_EQ(truthText(read), text);
}

TEST(GroundTruthText, RefusesMalformedTables)
{
    const std::string header = "# samples: 10\nkind,series,start,peak,end,units,size,flags\n";
    struct Case {
        const char* name;
        std::string text;
    } cases[] {
        { "no table", "# samples: 10\n" },
        { "another header", "kind,start,peak\n" },
        { "unknown kind", header + "breath,0,1,2,3,40,0.3571,\n" },
        { "missing field", header + "compression,0,1,2,3,40,9.9010\n" },
        { "bad number", header + "compression,0,1,x,3,40,9.9010,\n" },
        { "unknown flag", header + "compression,0,1,2,3,40,9.9010,Z\n" },
        { "pause with a peak", header + "pause,1,1,2,3,,0.1000,\n" },
    };
    for (const auto& c : cases) {
        std::istringstream in(c.text);
        demo::GroundTruth t;
        std::string error;
        EXPECT_FALSE(demo::readGroundTruth(in, t, &error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
    }
    std::istringstream ok(header + "compression,0,1,2,3,40,9.9010,BL\r\npause,1,2,,9,,0.3500,\n");
    demo::GroundTruth t;
    ASSERT_TRUE(demo::readGroundTruth(ok, t));
    ASSERT_EQ(t.events.size(), 2u);
    EXPECT_TRUE(t.events[0].wrongHand && t.events[0].leaning && !t.events[0].stomachInflation);
    EXPECT_EQ(t.events[1].kind, EventKind::Pause);
    EXPECT_EQ(t.events[1].peak, -1);
}

} // namespace
