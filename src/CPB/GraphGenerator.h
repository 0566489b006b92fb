#pragma once
// The CPR Controller's plot data for one algorithm: 39 drawing records of
// {16-bit little-endian vertical position, code}, a fixed template in which
// the positions of the four limit lines and the digits of the limits are
// filled in.
#include "CPB/CPBComm.h"

class GraphGenerator {
public:
    static constexpr std::size_t SIZE = 117;

    GraphGenerator(float depthLow, float depthHigh, float volumeLow, float volumeHigh);

    const ByteVector& getData() const { return data; }

private:
    void writePosition(int position, std::initializer_list<int> offsets);
    // The two digits of `value` with `decimals` 0 (tens and units) or 1
    // (whole and tenths) into the code bytes at the two offsets.
    void writeDigits(float value, int decimals, int first, int second);

    ByteVector data;
};
