#include "Database/AlgorithmValues.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace algorithmValues {

std::string format(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

double parse(const std::string& text)
{
    std::string number;
    std::size_t i = 0;
    auto digit = [&](std::size_t at) { return at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); };
    auto point = [&](std::size_t at) { return at < text.size() && (text[at] == '.' || text[at] == ','); };
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        number += text[i++];
    bool digits = false;
    for (; digit(i); ++i, digits = true)
        number += text[i];
    if (point(i)) {
        number += '.';
        for (++i; digit(i); ++i, digits = true)
            number += text[i];
    }
    if (!digits)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            exponent += text[j++];
        if (digit(j)) {
            for (; digit(j); ++j)
                exponent += text[j];
            number += exponent;
        }
    }
    return std::strtod(number.c_str(), nullptr);
}

double shareToRatio(double share)
{
    if (share <= 0)
        return 0;
    if (share >= 100)
        return largestRatio;
    return std::min(share / (100 - share), largestRatio);
}

double ratioToShare(double ratio)
{
    if (ratio <= 0)
        return 0;
    return 100 * ratio / (ratio + 1);
}

namespace {

void clamp(double& value, Range range) { value = std::clamp(value, range.low, range.high); }

} // namespace

Algorithm corrected(Algorithm r)
{
    for (double* v : {&r.compDepthHigh, &r.compDepthLow})
        clamp(*v, compDepthRange);
    for (double* v : {&r.eccRateHigh, &r.eccRateLow})
        clamp(*v, eccRateRange);
    for (double* v : {&r.compRelaxHigh, &r.compRelaxLow, &r.compRelaxRecc})
        clamp(*v, shareRange);
    for (double* v : {&r.vRateHigh, &r.vRateLow})
        clamp(*v, vRateRange);
    r.initVent = std::clamp(r.initVent, static_cast<std::int32_t>(initVentRange.low),
                            static_cast<std::int32_t>(initVentRange.high));
    for (double* v : {&r.ventCompRatioDoubleComp, &r.ventCompRatioDoubleVent, &r.ventCompRatioSingleComp,
                      &r.ventCompRatioSingleVent})
        clamp(*v, ventCompRatioRange);
    for (double* v : {&r.vVolHigh, &r.vVolLow})
        clamp(*v, vVolRange);
    for (const LimitPair& pair : limitPairs)
        if (!pair.ordered(r))
            r.*pair.low = r.*pair.high;
    return r;
}

double clampShare(double share) { return std::clamp(share, shareRange.low, shareRange.high); }

} // namespace algorithmValues
