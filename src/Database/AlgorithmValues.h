#pragma once
// How the algorithm editor shows, reads and corrects a guideline's values,
// apart from its window: the number texts of its fields, the ratio notation
// of the compression share, and the ranges every value is kept in.
#include "Database/Algorithm.h"

#include <string>

namespace algorithmValues {

// The value as printf's "%g" writes it ("0.666667", "1.5", "40").
std::string format(double value);
// The number a field's text starts with, with "," taken as ".": its longest
// leading decimal number (optional blanks and sign, digits, a point,
// digits, an exponent); 0 when the text starts with none.
double parse(const std::string& text);

// The largest number the four positions of a share field can show.
constexpr double largestRatio = 9999;

// A compression share in percent as the ratio compression : relaxation,
// share / (100 - share). A share of 100 or more (no relaxation at all)
// shows the largest ratio a field holds, never an infinite one; a share
// below 0 shows 0.
double shareToRatio(double share);
// The ratio x back as a share in percent, 100 x / (x + 1); a ratio below
// 0 is no share (0).
double ratioToShare(double ratio);

// The values a field of the editor keeps, both ends included.
struct Range {
    double low;
    double high;
    constexpr bool holds(double value) const { return value >= low && value <= high; }
};
inline constexpr Range compDepthRange { 1, 250 };
inline constexpr Range eccRateRange { 1, 250 };
inline constexpr Range shareRange { 0, 100 };
inline constexpr Range vRateRange { 0, 100 };
inline constexpr Range initVentRange { 0, 20 };
inline constexpr Range ventCompRatioRange { 1, 50 };
inline constexpr Range vVolRange { 0, 5 };

// A low limit and the high limit it must not exceed, with their columns' names.
struct LimitPair {
    const char* lowName;
    const char* highName;
    double Algorithm::*low;
    double Algorithm::*high;
    bool ordered(const Algorithm& record) const { return !(record.*low > record.*high); }
};
inline constexpr LimitPair limitPairs[] = {
    {"compDepthLow", "compDepthHigh", &Algorithm::compDepthLow, &Algorithm::compDepthHigh},
    {"compRelaxLow", "compRelaxHigh", &Algorithm::compRelaxLow, &Algorithm::compRelaxHigh},
    {"eccRateLow", "eccRateHigh", &Algorithm::eccRateLow, &Algorithm::eccRateHigh},
    {"vRateLow", "vRateHigh", &Algorithm::vRateLow, &Algorithm::vRateHigh},
    {"vVolLow", "vVolHigh", &Algorithm::vVolLow, &Algorithm::vVolHigh},
};

// The record with every value moved into its range (above), then each low
// limit above its high limit set to it (every pair of limitPairs).
Algorithm corrected(Algorithm record);

// A recommended share typed into its field, kept within 0 to 100.
double clampShare(double share);

} // namespace algorithmValues
