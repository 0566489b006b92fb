#include "comm/CompressionDetector.h"

#include "comm/CommSession.h"

#include <algorithm>

namespace {
constexpr double hysteresis = 5.0;  // mm
constexpr double releasedDepth = 5.0; // mm
constexpr int seriesGap = 25;       // samples
constexpr int rateTimeout = 50;     // samples without a peak before the rate is dropped
// The cardiac output per minute of a group is counted at the nominal rate.
constexpr double nominalRate = 20.0;
} // namespace

CompressionDetector::CompressionDetector(CommSession* owner)
    : owner(owner)
{
}

void CompressionDetector::reset()
{
    series.clear();
    owner->groups.clear();
    direction = 0;
    cycleStart = 0;
    peakIndex = 0;
    peakEndIndex = 0;
    maxDepth = 0;
    minDepth = 0;
    wrongHandAtPeak = false;
}

void CompressionDetector::step(const Measurement& m, int i)
{
    const double d = m.depth;
    if (direction == 0) {
        // At rest the cycle start follows the samples, so a compression begins at the last rest sample.
        if (minDepth == d)
            cycleStart = i;
        minDepth = maxDepth = d;
        direction = d != 0 ? 1.0 : 0.0;
        wrongHandAtPeak = m.flagB;
        peakIndex = peakEndIndex = i;
    } else if (direction > 0) {
        if (d > maxDepth - hysteresis) {
            if (d > maxDepth) {
                maxDepth = d;
                wrongHandAtPeak = m.flagB;
                peakIndex = i;
                minDepth = d;
            }
            if (d < minDepth)
                minDepth = d;
            peakEndIndex = i;
        } else {
            direction = -1.0;
            minDepth = d;
        }
    } else if (d >= minDepth + hysteresis || d == 0) {
        const std::size_t previous = static_cast<std::size_t>(i) - 1;
        const bool held = i > 0 && previous < owner->manData.size() && owner->manData[previous].depth > releasedDepth;
        CompressionCycle cycle;
        cycle.indexStart = cycleStart;
        cycle.indexEnd = i - 1;
        cycle.indexPeak = peakIndex;
        cycle.depth = maxDepth;
        cycle.wrongHand = wrongHandAtPeak;
        cycle.noRelease = d > 0 && held;
        cycle.indexPeakEnd = peakEndIndex;
        closeCycle(cycle, peakIndex);
        if (d == 0) {
            cycleStart = i;
            direction = 0;
            minDepth = maxDepth = 0;
            peakIndex = peakEndIndex = i;
        } else {
            maxDepth = minDepth = d;
            wrongHandAtPeak = m.flagB;
            direction = 1.0;
            peakIndex = peakEndIndex = i;
            cycleStart = i - 1;
        }
    } else if (d < minDepth) {
        minDepth = d;
    }

    if (recentPeaks.size() < 2 || i > recentPeaks.back() + rateTimeout)
        rate = -1.0;
}

void CompressionDetector::closeCycle(const CompressionCycle& cycle, int peak)
{
    // Series ends grow from one series to the next, so the first series the
    // cycle may join is found by bisection (in practice it is the newest one).
    auto joined = std::partition_point(series.begin(), series.end(),
        [&](const CompressionSeries& s) { return s.indexEnd + seriesGap <= cycle.indexStart; });

    if (cycle.wrongHand)
        owner->markCompression(static_cast<unsigned>(peak));

    if (joined != series.end()) {
        joined->addCycle(cycle);
        recentPeaks.push_back(cycle.indexPeak);
        const int span = recentPeaks.back() - recentPeaks.front();
        if (recentPeaks.size() >= 2 && span > 0)
            rate = (recentPeaks.size() - 1) * sampleRate * 60 / span;
        return;
    }

    if (!series.empty()) {
        CompressionSeries& last = series.back();
        last.computeTimes();
        last.computeCardiacOutput(cycle.indexStart);
        CompressionGroup group;
        group.firstIndex = last.indexStart;
        group.ratioEndIndex = last.indexEnd;
        group.outputEndIndex = cycle.indexStart;
        // A series of one cycle has no measured cycle time: no share, and no group is published.
        group.compressionPercent = last.cycleTime > 0 ? static_cast<int>(last.compressionTime / last.cycleTime * 100) : 0;
        group.cardiacOutput = last.length > 0 ? last.cardiacOutput * nominalRate * 60 / last.length : 0;
        owner->addEvent(group);
    }
    series.emplace_back(owner->algor);
    series.back().addCycle(cycle);
    rate = -1.0;
    recentPeaks.clear();
    recentPeaks.push_back(cycle.indexPeak);
}
