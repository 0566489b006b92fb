#pragma once
#include "Filters/RawSample.h"

// A filter works on one channel of the raw samples: the compression value
// (component 1) or the ventilation value (any other component).
class Filter {
public:
    explicit Filter(int component) : component(component) {}
    virtual ~Filter() = default;

    int& FilterValue(RawSample& sample) const { return sample.*channel(); }
    int FilterValue(const RawSample& sample) const { return sample.*channel(); }
    // The selected value as a member of the sample, for loops over histories.
    int RawSample::*channel() const { return component == 1 ? &RawSample::compression : &RawSample::ventilation; }

    int component;
};
