#include "Filters/RunningAverageFilter.h"

#include "Utillib/LogStream.h"

#include <algorithm>
#include <cmath>

RunningAverageFilter::RunningAverageFilter(const std::vector<double>& weights, int component, int threshold)
    : Filter(component)
    , weights(weights)
    , threshold(threshold)
{
    for (double w : weights)
        weightTotal += w;
    LOG_ASSERT(weightTotal > 0);
}

void RunningAverageFilter::setThreshold(int value)
{
    threshold = value;
    forgetSearch();
}

RawSample RunningAverageFilter::apply(const std::vector<RawSample>& repaired, std::vector<RawSample>* smoothed)
{
    if (repaired.empty())
        return {};
    RawSample result = repaired.back();
    const std::size_t n = repaired.size();
    const std::size_t k = weights.size();
    if (n <= k || weightTotal <= 0) {
        forgetSearch();
        return result;
    }

    double sum = 0;
    for (std::size_t j = 0; j < k; ++j)
        sum = std::trunc(FilterValue(repaired[n - k + j]) * weights[j] + sum);
    int value = static_cast<int>(std::trunc(sum / weightTotal + 0.5));

    if (restorePeaks) {
        if (smoothed != nullptr)
            restorePeak(repaired, *smoothed);
        if (FilterValue(repaired[n - k]) == 0 && value < threshold / 5)
            value = 0;
    }
    FilterValue(result) = value;
    return result;
}

long RunningAverageFilter::newestAboveThreshold(const std::vector<RawSample>& smoothed)
{
    const std::size_t m = smoothed.size();
    std::size_t from = 0;
    long above = -1;
    if (searchedHistory == &smoothed && m >= searchedSize) {
        from = searchedSize;
        above = searchedAbove;
    }
    if (from == 0) {
        // Afresh: the newest one is wanted, so search from the end.
        for (std::size_t i = m; i-- > 0;)
            if (FilterValue(smoothed[i]) > threshold) {
                above = static_cast<long>(i);
                break;
            }
    } else {
        for (std::size_t i = from; i < m; ++i)
            if (FilterValue(smoothed[i]) > threshold)
                above = static_cast<long>(i);
    }
    searchedHistory = &smoothed;
    searchedSize = m;
    searchedAbove = above;
    return above;
}

// The last peak above the threshold: scanning back from the newest entry, the
// first descent that starts above the threshold, followed back to its top.
// -1 when there is none.
long RunningAverageFilter::lastPeak(const std::vector<RawSample>& smoothed)
{
    const long m = static_cast<long>(smoothed.size());
    const long above = newestAboveThreshold(smoothed);
    if (above < 0)
        return -1;
    long start = std::min(above, m - 2);
    for (; start >= 0; --start) {
        const int earlier = FilterValue(smoothed[start]);
        if (earlier > threshold && earlier >= FilterValue(smoothed[start + 1]))
            break;
    }
    for (long j = start; j >= 1; --j)
        if (FilterValue(smoothed[j - 1]) < FilterValue(smoothed[j]))
            return j;
    return -1;
}

void RunningAverageFilter::restorePeak(const std::vector<RawSample>& repaired, std::vector<RawSample>& smoothed)
{
    const long m = static_cast<long>(smoothed.size());
    const long n = static_cast<long>(repaired.size());
    const long k = static_cast<long>(weights.size());
    if (m <= 3)
        return;
    const long peak = lastPeak(smoothed);
    if (peak < 0)
        return;

    // The raw peak: the first largest repaired value among eight samples from five before the smoothed peak.
    const long first = std::max(0L, peak - 5);
    const long last = std::min(first + 7, n - 1);
    long rawPeak = -1;
    int largest = 0;
    for (long i = first; i <= last; ++i)
        if (FilterValue(repaired[i]) > largest) {
            largest = FilterValue(repaired[i]);
            rawPeak = i;
        }
    if (rawPeak < 0 || peak - rawPeak >= k || peak < rawPeak)
        return;

    for (long d = -1; d <= 1; ++d) {
        const long s = peak + d;
        const long r = rawPeak + d;
        // Near either end of the histories there is no neighbour to restore.
        if (s < 0 || r < 0 || s >= m || r >= n)
            continue;
        const int raw = FilterValue(repaired[r]);
        if (FilterValue(smoothed[s]) < raw) {
            FilterValue(smoothed[s]) = raw;
            if (raw > threshold && s > searchedAbove)
                searchedAbove = s;
        }
    }
}
