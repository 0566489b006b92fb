#pragma once
#include "Filters/Filter.h"

#include <cstddef>
#include <vector>

// Smooths one channel with fixed weights, keeps small values near rest at
// exactly zero, and puts the raw height of the last peak back into the
// smoothed history (smoothing flattens peaks).
class RunningAverageFilter : public Filter {
public:
    // weights: the first entry for the oldest sample of the window.
    RunningAverageFilter(const std::vector<double>& weights, int component, int threshold);

    // `repaired` is every repaired sample so far, the newest last; `smoothed`
    // holds one output per earlier sample (none yet for the newest) and may
    // get its last peak restored. Returns the newest repaired sample with its
    // channel replaced by the smoothed value.
    RawSample apply(const std::vector<RawSample>& repaired, std::vector<RawSample>* smoothed);

    void setRestorePeaks(bool on) { restorePeaks = on; }
    bool getRestorePeaks() const { return restorePeaks; }
    void setThreshold(int value);

    std::vector<double> weights;
    int threshold;
    bool restorePeaks = true;

private:
    void restorePeak(const std::vector<RawSample>& repaired, std::vector<RawSample>& smoothed);
    long lastPeak(const std::vector<RawSample>& smoothed);
    long newestAboveThreshold(const std::vector<RawSample>& smoothed);
    void forgetSearch() { searchedHistory = nullptr; }

    double weightTotal = 0;

    // Where the peak search found the newest value above the threshold at the
    // previous call. The search must otherwise walk back over every quiet
    // sample since the last peak, for every new sample. The output is the
    // same with or without it; a shorter or another history starts afresh.
    const std::vector<RawSample>* searchedHistory = nullptr;
    std::size_t searchedSize = 0;
    long searchedAbove = -1;
};
