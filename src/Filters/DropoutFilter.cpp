#include "Filters/DropoutFilter.h"

#include "Utillib/LogStream.h"

#include <cmath>

DropoutFilter::DropoutFilter(int component, int maxGap)
    : Filter(component)
    , maxGap(maxGap)
{
}

RawSample DropoutFilter::apply(const std::vector<RawSample>& corrected, std::vector<RawSample>* repaired) const
{
    if (corrected.empty())
        return {};
    const RawSample newest = corrected.back();
    const long n = static_cast<long>(corrected.size());
    LOG_ASSERT(repaired != nullptr && static_cast<long>(repaired->size()) == n);
    if (n < 5 || repaired == nullptr || static_cast<long>(repaired->size()) != n)
        return newest;

    const int x0 = FilterValue(corrected[n - 1]);
    const int x1 = FilterValue(corrected[n - 2]);
    const int x2 = FilterValue(corrected[n - 3]);
    const int x3 = FilterValue(corrected[n - 4]);

    // A single sample that fell out of line with its neighbours.
    if ((x2 >= x3 && x1 < x2 && x0 > x2) || (x1 < x0 && x0 < x2)) {
        FilterValue((*repaired)[n - 2]) = (x0 + x2) / 2;
        return newest;
    }

    if (x0 > 0 && x1 == 0) {
        int run = 0;
        long i = n - 2;
        while (i >= 0 && FilterValue(corrected[i]) == 0 && run <= maxGap) {
            ++run;
            --i;
        }
        // A run that reaches back to the first sample has nothing to start the line from.
        if (run < maxGap && i >= 0) {
            const double h = FilterValue(corrected[i]);
            for (int j = 1; j <= run; ++j)
                FilterValue((*repaired)[i + j]) = static_cast<int>(std::trunc(h + j * (x0 - h) / (run + 1)));
        }
    }
    return newest;
}
