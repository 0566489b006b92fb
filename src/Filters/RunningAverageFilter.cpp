#include "Filters/RunningAverageFilter.h"

#include "Utillib/LogStream.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

RunningAverageFilter::RunningAverageFilter(const std::vector<double>& weights, int component, int threshold)
    : Filter(component)
    , weights(weights)
    , threshold(threshold)
{
    for (double w : weights) {
        weightTotal += w;
        const bool whole = std::trunc(w) == w && std::fabs(w) < 1e6;
        wholeWeights = wholeWeights && whole;
        integerWeights.push_back(whole ? static_cast<long long>(w) : 0);
    }
    LOG_ASSERT(weightTotal > 0);
}

void RunningAverageFilter::setThreshold(int value)
{
    threshold = value;
    forgetSearch();
}

RawSample RunningAverageFilter::apply(const std::vector<RawSample>& repaired, std::vector<RawSample>* smoothed)
{
    // The channel and the window are fixed per filter; the two the
    // measurement uses get their own copies of the loops.
    const std::size_t k = weights.size();
    if (component == 1)
        return k == 3 && wholeWeights ? smooth<&RawSample::compression, 3>(repaired, smoothed)
                                      : smooth<&RawSample::compression, 0>(repaired, smoothed);
    return k == 6 && wholeWeights ? smooth<&RawSample::ventilation, 6>(repaired, smoothed)
                                  : smooth<&RawSample::ventilation, 0>(repaired, smoothed);
}

namespace {

// The weighted sum of a window of known size, written out.
template <int RawSample::*Field, std::size_t... J>
long long wholeSum(const RawSample* window, const long long* weights, std::index_sequence<J...>)
{
    return ((window[J].*Field * weights[J]) + ...);
}

} // namespace

template <int RawSample::*Field, std::size_t WholeWindow>
RawSample RunningAverageFilter::smooth(const std::vector<RawSample>& repaired, std::vector<RawSample>* smoothed)
{
    if (repaired.empty())
        return {};
    RawSample result = repaired.back();
    const std::size_t n = repaired.size();
    const std::size_t k = WholeWindow > 0 ? WholeWindow : weights.size();
    if (n <= k || weightTotal <= 0) {
        forgetSearch();
        return result;
    }

    const RawSample* window = repaired.data() + (n - k);
    double sum = 0;
    if constexpr (WholeWindow > 0) {
        sum = static_cast<double>(wholeSum<Field>(window, integerWeights.data(), std::make_index_sequence<WholeWindow>()));
    } else if (wholeWeights) {
        long long whole = 0;
        const long long* w = integerWeights.data();
        for (std::size_t j = 0; j < k; ++j)
            whole += window[j].*Field * w[j];
        sum = static_cast<double>(whole);
    } else {
        for (std::size_t j = 0; j < k; ++j)
            sum = std::trunc(window[j].*Field * weights[j] + sum);
    }
    // The conversion truncates toward zero.
    int value = static_cast<int>(sum / weightTotal + 0.5);

    if (restorePeaks) {
        if (smoothed != nullptr)
            restorePeak<Field>(repaired, *smoothed);
        if (window[0].*Field == 0 && value < threshold / 5)
            value = 0;
    }
    result.*Field = value;
    return result;
}

// The last peak above the threshold: scanning back from the newest entry, the
// first descent that starts above the threshold, followed back to its top.
// -1 when there is none.
template <int RawSample::*Field>
long RunningAverageFilter::lastPeak(const std::vector<RawSample>& smoothed)
{
    const long m = static_cast<long>(smoothed.size());
    const RawSample* s = smoothed.data();
    const int limit = threshold;
    const bool continuing = searchedHistory == &smoothed && smoothed.size() >= searchedSize && searchedSize > 0;
    auto startsDescent = [s, limit](long a) {
        const int earlier = s[a].*Field;
        return earlier > limit && earlier >= s[a + 1].*Field;
    };

    long start = m - 2;
    if (continuing) {
        // First the pairs that gained their later entry since the last search ...
        const long oldest = static_cast<long>(searchedSize) - 1;
        while (start >= oldest && start >= 0 && !startsDescent(start))
            --start;
        if (start < oldest) {
            // ... then the earlier ones: those after the last start did not
            // qualify then and are unchanged, except the one next to it.
            start = searchedStart < 0 ? -1 : std::min(searchedStart + 1, oldest - 1);
            while (start >= 0 && !startsDescent(start))
                --start;
        }
    } else {
        while (start >= 0 && !startsDescent(start))
            --start;
    }

    // From the same start, the descent down to the sample after the last top
    // is as it was (restoration only raised entries at the top).
    long from = start;
    if (continuing && start >= 0 && start == searchedStart && searchedPeak >= 0 && searchedPeak + 1 < start)
        from = searchedPeak + 1;
    long peak = -1;
    for (long j = from; j >= 1; --j)
        if (s[j - 1].*Field < s[j].*Field) {
            peak = j;
            break;
        }
    searchedHistory = &smoothed;
    searchedSize = static_cast<std::size_t>(m);
    searchedStart = start;
    searchedPeak = peak;
    searchContinued = continuing;
    return peak;
}

template <int RawSample::*Field>
void RunningAverageFilter::restorePeak(const std::vector<RawSample>& repaired, std::vector<RawSample>& smoothed)
{
    const long m = static_cast<long>(smoothed.size());
    const long n = static_cast<long>(repaired.size());
    const long k = static_cast<long>(weights.size());
    if (m <= 3)
        return;
    long peak = searchedPeak;
    // One entry more and nothing else changed: the last peak stands unless
    // the new entry completes a descent right at the end.
    const bool unchanged = searchedHistory == &smoothed && !restorationWrote
        && static_cast<std::size_t>(m) == searchedSize + 1 && searchedSize > 0;
    const int before = smoothed[m - 2].*Field;
    if (unchanged && !(before > threshold && before >= smoothed[m - 1].*Field)) {
        searchedSize = static_cast<std::size_t>(m);
        searchContinued = true;
    } else {
        peak = lastPeak<Field>(smoothed);
    }
    restorationWrote = false;
    if (peak < 0) {
        restoredPeak = -1;
        return;
    }

    const RawSample* r = repaired.data();
    RawSample* s = smoothed.data();
    const long first = std::max(0L, peak - 5);
    const long last = std::min(first + 7, n - 1);

    const long low = std::max(0L, first - 1);
    const long high = std::min(n - 1, last + 1);
    // Whole samples are compared, as bytes: a change on the other channel
    // only costs a restoration more.
    const std::size_t bytes = static_cast<std::size_t>(high - low + 1) * sizeof(RawSample);
    if (searchContinued && peak == restoredPeak && low == restoredLow && high == restoredHigh
        && std::memcmp(r + low, restoredSamples.data(), bytes) == 0)
        return;
    restoredPeak = peak;
    restoredLow = low;
    restoredHigh = high;
    std::memcpy(restoredSamples.data(), r + low, bytes);

    // The raw peak: the first largest repaired value among eight samples from five before the smoothed peak.
    long rawPeak = -1;
    int largest = 0;
    for (long i = first; i <= last; ++i)
        if (r[i].*Field > largest) {
            largest = r[i].*Field;
            rawPeak = i;
        }
    if (rawPeak < 0 || peak - rawPeak >= k || peak < rawPeak)
        return;

    // Near either end of the histories there is no neighbour to restore.
    const long lowest = std::max({ -1L, -peak, -rawPeak });
    const long highest = std::min({ 1L, m - 1 - peak, n - 1 - rawPeak });
    for (long d = lowest; d <= highest; ++d) {
        const int raw = r[rawPeak + d].*Field;
        int& value = s[peak + d].*Field;
        if (value < raw) {
            value = raw;
            restorationWrote = true;
        }
    }
}
