#include "session/AxisModel.h"

#include "Utillib/LogStream.h"

#include <algorithm>
#include <cstdio>

AxisModel::AxisModel(double sampleRate)
    : currentFreq(sampleRate)
{
    setSampleRate(sampleRate);
}

void AxisModel::setSampleRate(double rate)
{
    LOG_ASSERT(rate != 0.0);
    // A rate of 0 would divide by zero in every conversion: keep the last good one.
    if (rate > 0.0)
        currentFreq = rate;
    else if (currentFreq <= 0.0)
        currentFreq = 20.0;
}

unsigned AxisModel::msOfIndex(int i) const
{
    return static_cast<unsigned>(static_cast<long long>((i + 0.5) / currentFreq * 1000 + 0.5));
}

int AxisModel::indexesForMs(double ms) const
{
    return static_cast<int>((ms * currentFreq + 500) * 0.001);
}

void AxisModel::checkWindow() const
{
    LOG_ASSERT(leftIndex >= 0);
    LOG_ASSERT(viewIndexes > 0);
    LOG_ASSERT(viewMoveIndexes > 0);
}

void AxisModel::setViewIndexes(int n)
{
    viewIndexes = n;
    viewMoveIndexes = n / 2;
    checkWindow();
    const int m = viewMoveIndexes;
    leftIndex = m > 0 ? m * ((lastUpdateIndex + m - n - 1) / m) : 0;
    if (leftIndex < 0)
        leftIndex = 0;
}

void AxisModel::setRange(int left, int n)
{
    leftIndex = left;
    viewIndexes = n;
    viewMoveIndexes = n / 2;
    checkWindow();
}

void AxisModel::setLeftIndex(int left)
{
    LOG_ASSERT(left >= 0);
    leftIndex = left;
}

void AxisModel::zoomAll()
{
    setRange(0, std::max(lastUpdateIndex, indexesForMs(5000)));
}

AxisModel::Update AxisModel::update(int newest, bool hasArea, bool finished, int durationSeconds)
{
    if (newest <= lastUpdateIndex)
        return {};
    // Both sides as unsigned 32-bit numbers: no duration (-1) never ends a session.
    if (!finished && msOfIndex(newest) > static_cast<unsigned>(durationSeconds) * 1000u) {
        // The sample that crossed the limit is not drawn.
        leftIndex = 0;
        return { Step::endOfTime, 0, 0 };
    }
    if (!hasArea) {
        lastUpdateIndex = newest;
        return { Step::remember, 0, 0 };
    }
    if (newest > leftIndex + viewIndexes) {
        if (viewMoveIndexes > 0)
            while (newest > leftIndex + viewIndexes)
                leftIndex += viewMoveIndexes;
        else
            leftIndex = newest - viewIndexes;
        lastUpdateIndex = newest;
        return { Step::page, leftIndex, newest };
    }
    const int from = std::max(lastUpdateIndex, leftIndex);
    lastUpdateIndex = newest;
    if (from < newest)
        return { Step::segment, from, newest };
    return {};
}

int AxisModel::tickStep(int axisWidth, int labelWidth) const
{
    const unsigned span = msOfIndex(viewIndexes);
    if (span / 5000 < 2)
        return 1000;
    const unsigned fit = labelWidth > 0 && axisWidth > 0 ? static_cast<unsigned>(axisWidth / labelWidth) : 0;
    for (unsigned step : { 5000u, 20000u, 60000u, 240000u, 600000u })
        if (span / step <= fit)
            return static_cast<int>(step);
    return 1200000;
}

std::vector<int> AxisModel::tickIndexes(int tickStepMs) const
{
    std::vector<int> indexes;
    const int step = indexesForMs(tickStepMs);
    LOG_ASSERT(step > 0);
    if (step <= 0 || leftIndex < 0)
        return indexes;
    for (int i = leftIndex - leftIndex % step + step; i < leftIndex + viewIndexes; i += step)
        indexes.push_back(i);
    return indexes;
}

void AxisModel::labelText(unsigned ms, char* text, int size)
{
    const unsigned s = (ms + 500) / 1000;
    std::snprintf(text, static_cast<std::size_t>(size), "%u:%02u", s / 60, s % 60);
}

void AxisModel::zoomIn(int anchor, int index)
{
    const int lo = std::min(anchor, index);
    const int hi = std::max(anchor, index);
    const int minViewIndexes = indexesForMs(5000);
    int newLeftIndex;
    int newViewIndexes;
    if (hi - lo > 1) {
        newLeftIndex = std::max(lo, 0);
        newViewIndexes = hi - newLeftIndex;
    } else {
        newViewIndexes = viewIndexes / 2;
        newLeftIndex = std::max(lo - (viewIndexes / 2) / 2, 0);
    }
    if (newViewIndexes < minViewIndexes) {
        newViewIndexes = minViewIndexes;
        const int middle = (lo + hi) / 2;
        newLeftIndex = middle < minViewIndexes / 2 ? 0 : middle - minViewIndexes / 2;
    }
    LOG_ASSERT(newLeftIndex >= 0);
    LOG_ASSERT(newViewIndexes >= minViewIndexes);
    setRange(newLeftIndex, newViewIndexes);
}

void AxisModel::zoomOut(int index)
{
    const int v = viewIndexes;
    const int oneHour = indexesForMs(3600000);
    int newLeft = index - v;
    if (newLeft < 0 || oneHour < 2 * v)
        newLeft = 0;
    setRange(newLeft, std::min(2 * v, oneHour));
}
