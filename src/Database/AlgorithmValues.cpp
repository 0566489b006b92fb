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

template <class T>
void clamp(T& value, T low, T high)
{
    value = std::clamp(value, low, high);
}

void lowNotAboveHigh(double& low, double high)
{
    if (low > high)
        low = high;
}

} // namespace

Algorithm corrected(Algorithm r)
{
    for (double* v : {&r.compDepthHigh, &r.compDepthLow, &r.eccRateHigh, &r.eccRateLow})
        clamp(*v, 1.0, 250.0);
    for (double* v : {&r.compRelaxHigh, &r.compRelaxLow, &r.compRelaxRecc, &r.vRateHigh, &r.vRateLow})
        clamp(*v, 0.0, 100.0);
    clamp(r.initVent, 0, 20);
    for (double* v : {&r.ventCompRatioDoubleComp, &r.ventCompRatioDoubleVent, &r.ventCompRatioSingleComp,
                      &r.ventCompRatioSingleVent})
        clamp(*v, 1.0, 50.0);
    for (double* v : {&r.vVolHigh, &r.vVolLow})
        clamp(*v, 0.0, 5.0);
    lowNotAboveHigh(r.compDepthLow, r.compDepthHigh);
    lowNotAboveHigh(r.compRelaxLow, r.compRelaxHigh);
    lowNotAboveHigh(r.eccRateLow, r.eccRateHigh);
    lowNotAboveHigh(r.vRateLow, r.vRateHigh);
    return r;
}

double clampShare(double share) { return std::clamp(share, 0.0, 100.0); }

} // namespace algorithmValues
