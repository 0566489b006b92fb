#pragma once
#include "Filters/Filter.h"

#include <vector>

// Repairs one-sample dips and short runs of zeros where the device dropped out.
class DropoutFilter : public Filter {
public:
    // Zero runs shorter than maxGap are bridged; 0 bridges none.
    DropoutFilter(int component, int maxGap);

    // `corrected` is every sample so far, the newest last, and is never changed;
    // `repaired` holds the same samples and is repaired in place. Returns the
    // newest corrected sample.
    RawSample apply(const std::vector<RawSample>& corrected, std::vector<RawSample>* repaired) const;

    int maxGap;

private:
    template <int RawSample::*Field>
    void repair(const RawSample* corrected, long n, RawSample* repaired) const;
};
