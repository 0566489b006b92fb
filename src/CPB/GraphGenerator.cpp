#include "CPB/GraphGenerator.h"

#include "Utillib/LogStream.h"

#include <algorithm>
#include <cmath>

namespace {

struct Record {
    int position;
    int code;
};

// The drawing records as the unit expects them before any limit is filled in.
const Record plotTemplate[39] = {
    { 16, 5 },   { 45, 4 },   { 157, 12 }, { 166, 17 }, { 166, 10 }, { 176, 10 }, { 190, 12 }, { 288, 0 },
    { 288, 10 }, { 331, 0 },  { 331, 10 }, { 361, 15 }, { 16, 0 },   { 45, 0 },   { 157, 12 }, { 157, 13 },
    { 166, 18 }, { 176, 13 }, { 190, 12 }, { 288, 7 },  { 331, 0 },  { 361, 15 }, { 16, 11 },  { 45, 11 },
    { 157, 12 }, { 190, 12 }, { 288, 11 }, { 331, 11 }, { 361, 15 }, { 16, 11 },  { 45, 11 },  { 157, 12 },
    { 157, 13 }, { 176, 13 }, { 190, 12 }, { 288, 11 }, { 331, 11 }, { 361, 15 }, { 361, 33 },
};

// Code bytes of the digits: depth high, depth low, volume high, volume low.
constexpr int digitOffsets[8] = { 2, 38, 5, 41, 29, 62, 23, 59 };

float clampLimit(float value, int decimals)
{
    float bound = decimals == 0 ? 100.0f : 10.0f;
    if (!(value > 0.0f)) // negative, or not a number
        return 0.0f;
    return std::min(value, bound);
}

} // namespace

GraphGenerator::GraphGenerator(float depthLow, float depthHigh, float volumeLow, float volumeHigh)
{
    depthLow = clampLimit(depthLow, 0);
    depthHigh = clampLimit(depthHigh, 0);
    volumeLow = clampLimit(volumeLow, 1);
    volumeHigh = clampLimit(volumeHigh, 1);

    for (const Record& r : plotTemplate) {
        data.push_back(static_cast<std::uint8_t>(r.position & 0xFF));
        data.push_back(static_cast<std::uint8_t>(r.position >> 8));
        data.push_back(static_cast<std::uint8_t>(r.code));
    }

    auto depthPosition = [](float value) { return static_cast<int>(157.0 - value * 2.82 + 0.5); };
    auto volumePosition = [](float value) { return static_cast<int>(190.0f + value * 141.0f + 0.5); };
    writePosition(depthPosition(depthHigh), { 0, 36, 66, 87 });
    writePosition(depthPosition(depthLow), { 3, 39, 69, 90 });
    writePosition(volumePosition(volumeHigh), { 27, 30, 60, 81, 108 });
    writePosition(volumePosition(volumeLow), { 21, 24, 57, 78, 105 });

    writeDigits(depthHigh, 0, digitOffsets[0], digitOffsets[1]);
    writeDigits(depthLow, 0, digitOffsets[2], digitOffsets[3]);
    writeDigits(volumeHigh, 1, digitOffsets[4], digitOffsets[5]);
    writeDigits(volumeLow, 1, digitOffsets[6], digitOffsets[7]);
}

void GraphGenerator::writePosition(int position, std::initializer_list<int> offsets)
{
    // A limit deeper than the graph's top would wrap to a line low in the
    // volume graph; it is drawn at the top edge instead.
    position = std::max(position, 0);
    for (int offset : offsets) {
        data[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(position & 0xFF);
        data[static_cast<std::size_t>(offset) + 1] = static_cast<std::uint8_t>(position / 256);
    }
}

void GraphGenerator::writeDigits(float value, int decimals, int first, int second)
{
    LOG_ASSERT(decimals == 0 || decimals == 1);
    int high;
    int low;
    if (decimals == 0) {
        high = static_cast<int>(value * 0.1f);
        low = static_cast<int>(value - 10 * high + 0.5);
    } else {
        int divisor = 10 - 9 * decimals;
        high = static_cast<int>(value / divisor);
        low = static_cast<int>((value - high * divisor) * (9 * decimals + 1) + 0.5);
    }
    data[static_cast<std::size_t>(first)] = static_cast<std::uint8_t>(high);
    data[static_cast<std::size_t>(second)] = static_cast<std::uint8_t>(low);
}
