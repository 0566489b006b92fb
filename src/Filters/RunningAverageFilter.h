#pragma once
#include "Filters/Filter.h"

#include <array>
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

    const std::vector<double> weights;
    int threshold;
    bool restorePeaks = true;

private:
    template <int RawSample::*Field, std::size_t WholeWindow>
    RawSample smooth(const std::vector<RawSample>& repaired, std::vector<RawSample>* smoothed);
    template <int RawSample::*Field>
    void restorePeak(const std::vector<RawSample>& repaired, std::vector<RawSample>& smoothed);
    template <int RawSample::*Field>
    long lastPeak(const std::vector<RawSample>& smoothed);
    void forgetSearch() { searchedHistory = nullptr; }

    double weightTotal = 0;
    // Whole-number weights make every step of the weighted sum a whole
    // number, so it can be summed in integers with the same result.
    bool wholeWeights = true;
    std::vector<long long> integerWeights;

    // What the peak search found at the previous call: where the descent
    // began and its top. Without them the search walks back over every quiet
    // sample since the last peak, and down every descent, for every new
    // sample. Older entries change only by the restoration here (at the top),
    // so the output is the same with or without them; a shorter or another
    // history starts afresh.
    const std::vector<RawSample>* searchedHistory = nullptr;
    std::size_t searchedSize = 0;
    long searchedStart = -1;
    long searchedPeak = -1;
    bool searchContinued = false;
    bool restorationWrote = false; // the last restoration changed the history

    // The last restoration and the repaired values it read. Restoring the
    // same peak from the same values again changes nothing, which is what
    // happens for every sample between two peaks.
    long restoredPeak = -1;
    long restoredLow = 0;
    long restoredHigh = -1;
    std::array<RawSample, 10> restoredSamples {};
};
