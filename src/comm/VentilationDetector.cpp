#include "comm/VentilationDetector.h"

#include "comm/CommSession.h"

#include <algorithm>

namespace {
constexpr double hysteresis = 0.07; // L
constexpr int seriesGap = 20;       // samples
} // namespace

VentilationDetector::VentilationDetector(CommSession* owner)
    : owner(owner)
{
}

void VentilationDetector::reset()
{
    series.clear();
    count = 0;
    averageVolume = 0;
    sumVolume = 0;
    direction = 0;
    startIndex = 0;
    peakIndex = 0;
    maxVolume = 0;
    minVolume = 0;
    inflationAtPeak = false;
    inflationArmed = true;
}

void VentilationDetector::step(const Measurement& m, int i)
{
    const double v = m.volume;
    const bool inflation = m.flagA;
    if (!inflation)
        inflationArmed = true;

    if (direction == 0) {
        maxVolume = minVolume = v;
        direction = v;
        inflationAtPeak = inflation;
        startIndex = peakIndex = i;
    } else if (direction > 0) {
        if (v > maxVolume - hysteresis) {
            if (v > maxVolume) {
                maxVolume = v;
                inflationAtPeak = inflation;
                peakIndex = i;
                minVolume = v;
            }
            if (v < minVolume)
                minVolume = v;
        } else {
            direction = -1.0;
            minVolume = v;
        }
    } else if (v >= minVolume + hysteresis || v == 0) {
        VentilationRecord record;
        record.indexStart = startIndex;
        record.indexEnd = i;
        record.indexPeak = peakIndex;
        record.volume = maxVolume;
        record.stomachInflation = inflationArmed && inflationAtPeak;
        if (v == 0) {
            if (inflationAtPeak)
                inflationArmed = false;
            closeRecord(record);
            direction = 0;
        } else {
            // The next ventilation began before the volume came back to zero.
            closeRecord(record);
            maxVolume = minVolume = v;
            inflationAtPeak = inflation;
            if (inflation)
                inflationArmed = false;
            direction = 1.0;
            peakIndex = startIndex = i;
        }
    } else if (v < minVolume) {
        minVolume = v;
    }
}

void VentilationDetector::closeRecord(const VentilationRecord& record)
{
    if (record.stomachInflation)
        owner->markVentilation(static_cast<unsigned>(record.indexPeak));

    // Series ends grow from one series to the next (see the compression detector).
    auto joined = std::partition_point(series.begin(), series.end(),
        [&](const VentilationSeries& s) { return s.indexEnd + seriesGap <= record.indexStart; });
    if (joined == series.end()) {
        series.emplace_back();
        joined = series.end() - 1;
    }
    joined->addRecord(record);

    ++count;
    sumVolume += record.volume;
    averageVolume = sumVolume / count;
}

double VentilationDetector::getMinuteVolume() const
{
    const std::size_t samples = owner->manData.size();
    if (series.empty() || samples < 2)
        return 0;
    double volume = 0;
    for (const VentilationSeries& s : series)
        for (const VentilationRecord& r : s.ventilations)
            volume += r.volume;
    return volume * owner->sampleRate * 60 / static_cast<double>(samples - 1);
}
