#include "Filters/DropoutFilter.h"
#include "Filters/RunningAverageFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

const std::vector<double> compressionWeights { 5, 10, 5 };
const std::vector<double> ventilationWeights { 2, 5, 10, 5, 2, 0 };

// Samples carrying the values on one channel (1 compression, 2 ventilation).
std::vector<RawSample> channel(int component, const std::vector<int>& values)
{
    std::vector<RawSample> out;
    for (int v : values)
        out.push_back(component == 1 ? RawSample { v, 0, 76 } : RawSample { 0, v, 76 });
    return out;
}

std::vector<int> values(int component, const std::vector<RawSample>& samples)
{
    std::vector<int> out;
    for (const RawSample& s : samples)
        out.push_back(component == 1 ? s.compression : s.ventilation);
    return out;
}

// Runs a dropout filter over a growing history, one sample at a time.
std::vector<int> repairAll(int component, int maxGap, const std::vector<int>& input, std::vector<int>* corrected = nullptr)
{
    DropoutFilter filter(component, maxGap);
    std::vector<RawSample> c, r;
    for (const RawSample& s : channel(component, input)) {
        c.push_back(s);
        r.push_back(s);
        RawSample back = filter.apply(c, &r);
        EXPECT_EQ(back.compression, s.compression);
        EXPECT_EQ(back.ventilation, s.ventilation);
    }
    if (corrected)
        *corrected = values(component, c);
    return values(component, r);
}

struct DropoutCase {
    const char* name;
    int component;
    int maxGap;
    std::vector<int> input;
    std::vector<int> repaired;
};

TEST(DropoutFilter, RepairsDipsAndShortZeroRuns)
{
    const DropoutCase cases[] = {
        { "one-sample dip below both neighbours", 1, 0, { 20, 30, 40, 10, 45 }, { 20, 30, 40, 42, 45 } },
        { "dip between a higher and a lower neighbour", 1, 0, { 60, 60, 50, 20, 30 }, { 60, 60, 50, 40, 30 } },
        { "three zeros bridged on a straight line", 2, 4, { 30, 20, 0, 0, 0, 18 }, { 30, 20, 19, 19, 18, 18 } },
        { "one zero bridged", 2, 4, { 30, 30, 25, 20, 0, 24 }, { 30, 30, 25, 20, 22, 24 } },
        { "four zeros are too long", 2, 4, { 30, 20, 0, 0, 0, 0, 18 }, { 30, 20, 0, 0, 0, 0, 18 } },
        { "compression never bridges zeros", 1, 0, { 30, 20, 0, 0, 0, 18 }, { 30, 20, 0, 0, 0, 18 } },
        { "nothing happens before the fifth sample", 1, 0, { 40, 10, 45, 50 }, { 40, 10, 45, 50 } },
        { "zeros from the first sample have no start", 2, 9, { 0, 0, 0, 0, 18 }, { 0, 0, 0, 0, 18 } },
        { "a steady rise is left alone", 1, 0, { 10, 20, 30, 40, 50, 60 }, { 10, 20, 30, 40, 50, 60 } },
    };
    for (const DropoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int> corrected;
        EXPECT_EQ(repairAll(c.component, c.maxGap, c.input, &corrected), c.repaired);
        EXPECT_EQ(corrected, c.input) << "the corrected history must stay as it came";
    }
}

TEST(DropoutFilter, RepairsOnlyItsOwnChannel)
{
    DropoutFilter filter(1, 0);
    std::vector<RawSample> c { { 20, 20, 76 }, { 30, 30, 76 }, { 40, 40, 76 }, { 10, 10, 76 }, { 45, 45, 76 } };
    std::vector<RawSample> r = c;
    filter.apply(c, &r);
    EXPECT_EQ(r[3].compression, 42);
    EXPECT_EQ(r[3].ventilation, 10);
    EXPECT_EQ(r[3].error, 76);
}

// The smoothing step as the measurement processing drives it: every output
// is appended to the smoothed history after the call.
struct SmoothRun {
    std::vector<int> returned;
    std::vector<int> smoothed;
};

SmoothRun smoothAll(RunningAverageFilter& filter, int component, const std::vector<int>& input)
{
    std::vector<RawSample> repaired, smoothed;
    SmoothRun run;
    for (const RawSample& s : channel(component, input)) {
        repaired.push_back(s);
        RawSample out = filter.apply(repaired, &smoothed);
        EXPECT_EQ(out.error, s.error);
        smoothed.push_back(out);
        run.returned.push_back(component == 1 ? out.compression : out.ventilation);
    }
    run.smoothed = values(component, smoothed);
    return run;
}

TEST(RunningAverageFilter, FirstOutputsAreRawThenWeightedAndRounded)
{
    RunningAverageFilter filter(compressionWeights, 1, 40);
    SmoothRun run = smoothAll(filter, 1, { 9, 0, 20, 5, 40 });
    // 9, 0, 20 pass through; (0*5 + 20*10 + 5*5) / 20 = 11.25 -> 11; (20*5 + 5*10 + 40*5) / 20 = 17.5 -> 18
    EXPECT_EQ(run.returned, (std::vector<int> { 9, 0, 20, 11, 18 }));
}

TEST(RunningAverageFilter, FractionalWeightsTruncateEveryStep)
{
    // Window 3, 0, 3: trunc(1.5) = 1, trunc(0 + 1) = 1, trunc(1.5 + 1) = 2; 2 / 2 + 0.5 -> 1,
    // where the plain weighted mean would round 1.5 up to 2.
    RunningAverageFilter filter({ 0.5, 1, 0.5 }, 1, 40);
    filter.setRestorePeaks(false);
    EXPECT_EQ(smoothAll(filter, 1, { 1, 3, 0, 3 }).returned.back(), 1);
    // Whole weights never truncate: 3 + 0 + 3 = 6; 6 / 4 + 0.5 -> 2.
    RunningAverageFilter whole({ 1, 2, 1 }, 1, 40);
    whole.setRestorePeaks(false);
    EXPECT_EQ(smoothAll(whole, 1, { 1, 3, 0, 3 }).returned.back(), 2);
}

TEST(RunningAverageFilter, SmallValuesAfterRestSnapToZero)
{
    struct Case {
        std::vector<int> input;
        int expected;
    } cases[] = {
        { { 1, 1, 1, 0, 10, 5 }, 0 }, // 6.25 -> 6, below 40/5 and the window starts at rest
        { { 1, 1, 1, 0, 20, 5 }, 11 }, // 11 is not below 8
        { { 1, 1, 1, 2, 8, 5 }, 6 }, // below 8 but the window does not start at rest
    };
    for (const Case& c : cases) {
        RunningAverageFilter filter(compressionWeights, 1, 40);
        EXPECT_EQ(smoothAll(filter, 1, c.input).returned.back(), c.expected);
    }
    RunningAverageFilter noRestore(compressionWeights, 1, 40);
    noRestore.setRestorePeaks(false);
    EXPECT_EQ(smoothAll(noRestore, 1, { 1, 1, 1, 0, 10, 5 }).returned.back(), 6);
}

TEST(RunningAverageFilter, VentilationLagsThreeSamples)
{
    RunningAverageFilter filter(ventilationWeights, 2, 20);
    std::vector<int> input(20, 0);
    input[8] = 240;
    SmoothRun run = smoothAll(filter, 2, input);
    // The centre weight 10 of 24 sits three samples behind the newest one.
    EXPECT_EQ(run.returned[11], 100);
    EXPECT_EQ(run.returned[10], 50);
    EXPECT_EQ(run.returned[12], 50);
    EXPECT_EQ(run.returned[9], 20);
    EXPECT_EQ(run.returned[13], 20);
    EXPECT_EQ(run.returned[8], 0);
    EXPECT_EQ(run.returned[14], 0);
}

TEST(RunningAverageFilter, RestoresTheRawPeakHeightInTheHistoryOnly)
{
    const std::vector<int> stroke { 0, 0, 0, 0, 40, 120, 200, 120, 40, 0, 0, 0, 0, 0, 0 };
    RunningAverageFilter restoring(compressionWeights, 1, 40);
    RunningAverageFilter plain(compressionWeights, 1, 40);
    plain.setRestorePeaks(false);
    SmoothRun a = smoothAll(restoring, 1, stroke);
    SmoothRun b = smoothAll(plain, 1, stroke);

    // The measurements come from the returned values, which restoration leaves alone.
    EXPECT_EQ(a.returned, b.returned);
    // Smoothing flattened the peak (it lags by one sample, at index 7) ...
    EXPECT_EQ(b.smoothed[7], 160);
    // ... and restoration puts the raw peak and its neighbours back there.
    EXPECT_EQ(a.smoothed[6], 120);
    EXPECT_EQ(a.smoothed[7], 200);
    EXPECT_EQ(a.smoothed[8], 120);
    for (std::size_t i = 0; i < a.smoothed.size(); ++i) {
        if (i < 6 || i > 8) {
            EXPECT_EQ(a.smoothed[i], b.smoothed[i]) << "index " << i;
        }
    }
}

TEST(RunningAverageFilter, RawPeakAtTheFirstSampleRestoresOnlyInsideTheHistories)
{
    // The smoothed peak (150 at index 2) lies two samples after the raw peak
    // at index 0, so its left neighbour would come from before the history.
    RunningAverageFilter filter(ventilationWeights, 2, 20);
    SmoothRun run = smoothAll(filter, 2, { 200, 50, 150, 0, 0, 0, 0, 0, 0, 0 });
    EXPECT_EQ(run.smoothed[1], 50);
    EXPECT_EQ(run.smoothed[2], 200);
    EXPECT_EQ(run.smoothed[3], 50);
}

// A long waveform with quiet stretches, spikes, plateaus and dropouts.
std::vector<int> mixedWaveform(std::size_t count)
{
    std::vector<int> out;
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7fff;
    };
    while (out.size() < count) {
        int kind = next() % 5;
        int length = 5 + next() % 40;
        int height = next() % 230;
        for (int i = 0; i < length; ++i) {
            switch (kind) {
            case 0: out.push_back(0); break;
            case 1: out.push_back(static_cast<int>(height * std::sin(3.14159 * i / length))); break;
            case 2: out.push_back(next() % 2 ? height : 0); break;
            case 3: out.push_back(i < 3 ? static_cast<int>(next() % 230) : 0); break;
            default: out.push_back(height / 2 + static_cast<int>(next() % 9)); break;
            }
        }
    }
    out.resize(count);
    return out;
}

TEST(RunningAverageFilter, RememberedSearchGivesTheSameHistoryAsAFreshFilter)
{
    // As in the measurement: the dropout repair changes recent repaired
    // samples after the smoothing has read them.
    // The short track has a bridged zero run right after a peak.
    const std::vector<int> bridged { 110, 14, 0, 108, 0, 3, 119, 0, 0, 0, 75, 68, 100, 0, 86, 0, 0, 71 };
    for (int run = 0; run < 3; ++run) {
        const int component = run == 0 ? 1 : 2;
        const std::vector<double>& weights = component == 1 ? compressionWeights : ventilationWeights;
        const int threshold = component == 1 ? 40 : 20;
        DropoutFilter dropout(component, component == 1 ? 0 : 4);
        RunningAverageFilter kept(weights, component, threshold);
        std::vector<RawSample> corrected, repaired, smoothedKept, smoothedFresh;
        for (const RawSample& s : channel(component, run == 2 ? bridged : mixedWaveform(20000))) {
            corrected.push_back(s);
            repaired.push_back(s);
            dropout.apply(corrected, &repaired);
            RunningAverageFilter fresh(weights, component, threshold);
            smoothedKept.push_back(kept.apply(repaired, &smoothedKept));
            smoothedFresh.push_back(fresh.apply(repaired, &smoothedFresh));
        }
        EXPECT_EQ(values(component, smoothedKept), values(component, smoothedFresh)) << "run " << run;
    }
}

} // namespace
