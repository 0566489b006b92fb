// The session statistics: what the debriefing shows, judged against the
// session's algorithm and the measurement settings.
#include "Database/Algorithm.h"
#include "Utillib/LogStream.h"
#include "comm/CommSession.h"
#include "comm/CommSettings.h"
#include "comm/MeasurementSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>

namespace {

constexpr double nominalRate = 20.0;

enum TrainingMode { SINGLE_PERSON = 0, TWO_PERSON = 1, VENTILATION_ONLY = 2, COMPRESSION_ONLY = 3 };

} // namespace

void CommSession::feedDetectors()
{
    compressionDetector.reset();
    ventilationDetector.reset();
    if (comm != nullptr && std::isfinite(comm->sampleRate) && comm->sampleRate > 0)
        sampleRate = comm->sampleRate;
    compressionDetector.sampleRate = sampleRate;
    const int count = static_cast<int>(manData.size());
    for (int i = 0; i < count; ++i) {
        compressionDetector.step(manData[i], i);
        ventilationDetector.step(manData[i], i);
    }
}

void CommSession::finish()
{
    if (CommSettings::dumpData())
        writeDump();
    feedDetectors();
    getFirstActivityTime();

    LOG_ASSERT(algor != 0);
    if (algor == nullptr)
        return;
    if (trainingMode != COMPRESSION_ONLY) {
        ventilationStatistics();
        countInitialVentilations();
    }
    if (trainingMode != VENTILATION_ONLY)
        compressionStatistics();
    if (trainingMode == SINGLE_PERSON)
        cycleStatistics(static_cast<int>(algor->ventCompRatioSingleComp), static_cast<int>(algor->ventCompRatioSingleVent));
    else if (trainingMode == TWO_PERSON)
        cycleStatistics(static_cast<int>(algor->ventCompRatioDoubleComp), static_cast<int>(algor->ventCompRatioDoubleVent));
}

void CommSession::ventilationStatistics()
{
    nrVentilations = 0;
    nrStomachInflations = 0;
    nrVolumeOK = nrVolumeHigh = nrVolumeLow = 0;
    double sumVolume = 0;
    for (const VentilationSeries& s : ventilationDetector.series) {
        nrStomachInflations += s.inflationCount;
        for (const VentilationRecord& r : s.ventilations) {
            ++nrVentilations;
            sumVolume += r.volume;
            if (r.volume < algor->vVolLow)
                ++nrVolumeLow;
            else if (r.volume > algor->vVolHigh)
                ++nrVolumeHigh;
            else
                ++nrVolumeOK;
        }
    }
    averageVolume = 0;
    ventilationRate = 0;
    if (nrVentilations > 0) {
        averageVolume = sumVolume / nrVentilations;
        // One measurement spans no time: no rate.
        if (manData.size() > 1)
            ventilationRate = nrVentilations * sampleRate * 60 / static_cast<double>(manData.size() - 1);
    }
}

void CommSession::countInitialVentilations()
{
    initialVentilations = 0;
    const std::vector<VentilationSeries>& ventilations = ventilationDetector.series;
    const std::vector<CompressionSeries>& compressions = compressionDetector.series;
    if (ventilations.empty())
        return;
    if (!compressions.empty() && compressions.front().indexStart <= ventilations.front().indexStart)
        return;
    for (const VentilationSeries& s : ventilations) {
        if (!compressions.empty() && s.indexStart >= compressions.front().indexStart)
            break;
        initialVentilations += static_cast<int>(s.ventilations.size());
    }
}

void CommSession::compressionStatistics()
{
    const MeasurementSettings& settings = MeasurementSettings::current();
    const std::vector<CompressionSeries>& all = compressionDetector.series;

    nrCompGroups = static_cast<int>(all.size());
    nrCompressions = nrLeanings = nrWrongHand = 0;
    compFreqOK = compFreqHigh = compFreqLow = 0;
    nrCardiacOutputLow = nrCardiacOutputHigh = nrCardiacOutputOK = 0;
    nrDepthOK = nrDepthLow = nrDepthHigh = 0;
    nrPauseOK = nrPauseLong = 0;
    longestPause = 0;

    double sumDepth = 0;
    double sumSpans = 0;
    double sumPauses = 0;
    double sumCardiacOutput = 0;
    double sumLengths = 0;
    double sumCompressionTime = 0;
    double sumCycleTime = 0;
    for (std::size_t k = 0; k < all.size(); ++k) {
        const CompressionSeries& s = all[k];
        nrCompressions += static_cast<int>(s.cycles.size());
        nrLeanings += s.noReleaseCount;
        nrWrongHand += s.wrongHandCount;

        const double rate = s.rate * sampleRate * 60;
        if (rate < algor->eccRateLow)
            ++compFreqLow;
        else if (rate > algor->eccRateHigh)
            ++compFreqHigh;
        else
            ++compFreqOK;

        // The newest series was never closed, so it has no cardiac output to judge.
        if (k + 1 < all.size() && s.length > 0) {
            const double output = nominalRate * s.cardiacOutput * 60 / s.length;
            if (output < settings.cardiacOutputLow)
                ++nrCardiacOutputLow;
            else if (output > settings.cardiacOutputHigh)
                ++nrCardiacOutputHigh;
            else
                ++nrCardiacOutputOK;
        }

        for (const CompressionCycle& c : s.cycles) {
            sumDepth += c.depth;
            if (c.depth < algor->compDepthLow)
                ++nrDepthLow;
            else if (c.depth > algor->compDepthHigh)
                ++nrDepthHigh;
            else
                ++nrDepthOK;
        }

        if (k > 0) {
            const int pause = s.firstPeak - all[k - 1].lastPeak;
            const double seconds = pause / sampleRate;
            if (seconds > settings.maxPause)
                ++nrPauseLong;
            else
                ++nrPauseOK;
            sumPauses += pause;
            longestPause = std::max(longestPause, static_cast<int>(seconds));
        }

        sumSpans += s.lastPeak - s.firstPeak;
        sumCardiacOutput += s.cardiacOutput;
        sumLengths += s.length;
        sumCompressionTime += s.compressionTime;
        sumCycleTime += s.cycleTime;
    }

    compressionRate = averageDepth = compRelaxRatio = averageCardiacOutput = 0;
    averagePause = 0;
    if (nrCompressions == 0)
        return;
    // Every series of a single compression spans no time: no rate.
    if (sumSpans > 0)
        compressionRate = (nrCompressions - nrCompGroups) * sampleRate * 60 / sumSpans;
    averageDepth = sumDepth / nrCompressions;
    if (nrCompGroups >= 2)
        averagePause = static_cast<int>(sumPauses / ((nrCompGroups - 1) * sampleRate));
    if (sumLengths > 0)
        averageCardiacOutput = sumCardiacOutput * sampleRate * 60 / sumLengths;
    if (sumCycleTime > 0)
        compRelaxRatio = sumCompressionTime / sumCycleTime;
}

void CommSession::cycleStatistics(int compressions, int ventilations)
{
    nrRatioCycles = nrRatioCorrect = 0;
    averageRatioVentilations = averageRatioCompressions = 0;
    const std::vector<CompressionSeries>& all = compressionDetector.series;
    const std::vector<VentilationSeries>& breaths = ventilationDetector.series;

    double sumVentilations = 0;
    double sumCompressions = 0;
    for (std::size_t k = 0; k < all.size(); ++k) {
        const bool newest = k + 1 == all.size();
        // The ventilation series start in order: those after this series and before the next.
        auto first = std::partition_point(breaths.begin(), breaths.end(),
            [&](const VentilationSeries& v) { return v.indexStart <= all[k].indexEnd; });
        auto last = newest ? breaths.end()
                           : std::partition_point(first, breaths.end(),
                                 [&](const VentilationSeries& v) { return v.indexStart < all[k + 1].indexStart; });
        int given = 0;
        for (auto v = first; v != last; ++v)
            given += static_cast<int>(v->ventilations.size());
        const int done = static_cast<int>(all[k].cycles.size());

        // An unfinished last cycle is not held against the trainee.
        if (newest && given != ventilations)
            continue;
        ++nrRatioCycles;
        if (done == compressions && given == ventilations)
            ++nrRatioCorrect;
        sumVentilations += given;
        sumCompressions += done;
    }
    if (nrRatioCycles > 0) {
        averageRatioVentilations = sumVentilations / nrRatioCycles;
        averageRatioCompressions = sumCompressions / nrRatioCycles;
    }
}

bool CommSession::writeDumpTable(const std::string& fileName, const std::vector<const std::vector<RawSample>*>& histories)
{
    std::FILE* file = std::fopen(fileName.c_str(), "wb");
    if (file == nullptr) {
        LogStream::instance() << "Could not write the sample dump " << fileName << LogStream::endl;
        return false;
    }
    std::size_t lines = histories.empty() ? 0 : SIZE_MAX;
    for (const std::vector<RawSample>* h : histories)
        lines = std::min(lines, h->size());
    for (std::size_t i = 0; i < lines; ++i) {
        const char* separator = "";
        for (const std::vector<RawSample>* h : histories) {
            std::fprintf(file, "%s%d", separator, (*h)[i].compression);
            separator = "\t";
        }
        for (const std::vector<RawSample>* h : histories) {
            std::fprintf(file, "%s%d", separator, (*h)[i].ventilation);
            separator = "\t";
        }
        std::fputs("\r\n", file);
    }
    const bool ok = !std::ferror(file);
    return std::fclose(file) == 0 && ok;
}

void CommSession::writeDump() const
{
    char date[128];
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    if (std::strftime(date, sizeof date, "%B %d, %Y %H %M", &local) == 0)
        date[0] = '\0';
    writeDumpTable(std::string("dumped data ") + date + ".txt", { &correctedSamples, &repairedSamples, &smoothedSamples });
}
