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
    const bool sameLength = repaired != nullptr && repaired->size() == corrected.size();
    LOG_ASSERT(sameLength);
    const long n = static_cast<long>(corrected.size());
    if (n >= 5 && sameLength) {
        // The channel is fixed per filter; each gets its own copy of the code.
        if (component == 1)
            repair<&RawSample::compression>(corrected.data(), n, repaired->data());
        else
            repair<&RawSample::ventilation>(corrected.data(), n, repaired->data());
    }
    return corrected.back();
}

template <int RawSample::*Field>
void DropoutFilter::repair(const RawSample* corrected, long n, RawSample* repaired) const
{
    const int x0 = corrected[n - 1].*Field;
    const int x1 = corrected[n - 2].*Field;
    const int x2 = corrected[n - 3].*Field;
    const int x3 = corrected[n - 4].*Field;

    // A single sample that fell out of line with its neighbours.
    if ((x2 >= x3 && x1 < x2 && x0 > x2) || (x1 < x0 && x0 < x2)) {
        repaired[n - 2].*Field = (x0 + x2) / 2;
        return;
    }

    if (x0 > 0 && x1 == 0) {
        int run = 0;
        long i = n - 2;
        while (i >= 0 && corrected[i].*Field == 0 && run <= maxGap) {
            ++run;
            --i;
        }
        // A run that reaches back to the first sample has nothing to start the line from.
        if (run < maxGap && i >= 0) {
            const double h = corrected[i].*Field;
            for (int j = 1; j <= run; ++j)
                repaired[i + j].*Field = static_cast<int>(std::trunc(h + j * (x0 - h) / (run + 1)));
        }
    }
}
