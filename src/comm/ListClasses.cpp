#include "comm/ListClasses.h"

#include "Database/Algorithm.h"
#include "Utillib/LogStream.h"
#include "comm/MeasurementSettings.h"

#include <algorithm>

void CompressionSeries::addCycle(const CompressionCycle& cycle)
{
    cycles.push_back(cycle);
    if (cycles.size() == 1) {
        indexStart = cycle.indexStart;
        firstPeak = cycle.indexPeak;
        indexEnd = cycle.indexEnd;
        lastPeak = cycle.indexPeak;
    } else {
        indexStart = std::min(indexStart, cycle.indexStart);
        firstPeak = std::min(firstPeak, cycle.indexPeak);
        indexEnd = std::max(indexEnd, cycle.indexEnd);
        lastPeak = std::max(lastPeak, cycle.indexPeak);
        if (lastPeak > firstPeak)
            rate = static_cast<double>(cycles.size() - 1) / (lastPeak - firstPeak);
    }
    if (cycle.wrongHand)
        ++wrongHandCount;
    if (cycle.noRelease)
        ++noReleaseCount;
}

void CompressionSeries::computeTimes()
{
    compressionTime = 0;
    cycleTime = 0;
    if (cycles.empty())
        return;
    for (auto i = cycles.begin(); i + 1 != cycles.end(); ++i) {
        const int nextStart = (i + 1)->indexStart;
        LOG_ASSERT(i->indexPeakEnd == 0 || i->indexPeakEnd > i->indexStart);
        LOG_ASSERT(nextStart > i->indexPeakEnd);
        i->compressionTime = i->indexPeakEnd - i->indexStart;
        i->relaxationTime = nextStart - i->indexPeakEnd;
        compressionTime += i->compressionTime;
        cycleTime += i->compressionTime + i->relaxationTime;
    }
}

void CompressionSeries::computeCardiacOutput(int nextStart)
{
    length = nextStart - indexStart;
    cardiacOutput = 0;
    LOG_ASSERT(algor != 0);
    if (algor == nullptr)
        return;
    const MeasurementSettings& settings = MeasurementSettings::current();
    const double low = settings.overrideDepth ? settings.depthLow : algor->compDepthLow;
    const double high = settings.overrideDepth ? settings.depthHigh : algor->compDepthHigh;
    int wrongHand = 0;
    int correct = 0;
    for (const CompressionCycle& c : cycles) {
        if (c.depth < low || c.depth > high || c.noRelease)
            continue;
        if (c.wrongHand)
            ++wrongHand;
        else
            ++correct;
    }
    cardiacOutput = wrongHand * settings.cardiacOutputPerWrongHand + correct * settings.cardiacOutputPerCompression;
}

void VentilationSeries::addRecord(const VentilationRecord& record)
{
    ventilations.push_back(record);
    if (ventilations.size() == 1) {
        indexStart = record.indexStart;
        firstPeak = record.indexPeak;
        indexEnd = record.indexEnd;
    } else {
        indexStart = std::min(indexStart, record.indexStart);
        firstPeak = std::min(firstPeak, record.indexPeak);
        indexEnd = std::max(indexEnd, record.indexEnd);
    }
    if (record.stomachInflation)
        ++inflationCount;
}
