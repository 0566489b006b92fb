#include "comm/CommSession.h"

#include "Database/Algorithm.h"
#include "Utillib/LogStream.h"
#include "comm/CommSettings.h"

#include <algorithm>
#include <cmath>
#include <sys/stat.h>

namespace {

const std::vector<double> compressionWeights { 5, 10, 5 };
const std::vector<double> ventilationWeights { 2, 5, 10, 5, 2, 0 };
constexpr int compressionThreshold = 40;
constexpr int ventilationThreshold = 20;
constexpr int ventilationMaxGap = 4;
constexpr double nominalRate = 20.0;
constexpr std::size_t usualSession = 10 * 60 * 20;

// The shortest measurement line of a data file: "0 0 0 0 0 0\n".
constexpr long shortestLine = 12;

bool usableRate(double rate) { return std::isfinite(rate) && rate > 0; }

} // namespace

CommSession::CommSession()
    : compressionDetector(this)
    , ventilationDetector(this)
    , compressionSmoothing(compressionWeights, 1, compressionThreshold)
    , ventilationSmoothing(ventilationWeights, 2, ventilationThreshold)
    , compressionDropout(1, 0)
    , ventilationDropout(2, ventilationMaxGap)
{
}

CommSession::~CommSession() = default;

void CommSession::clearMeasurements()
{
    compressionDetector.reset();
    ventilationDetector.reset();
    correctedSamples.clear();
    repairedSamples.clear();
    smoothedSamples.clear();
    manData.clear();
    clearStatistics();
}

void CommSession::attach(Comm* acquisition)
{
    comm = acquisition;
    clearMeasurements();
    loadedFromFile = false;
    // Room for a session of the usual ten minutes, so that the histories are
    // not copied over and over while they grow.
    correctedSamples.reserve(usualSession);
    repairedSamples.reserve(usualSession);
    smoothedSamples.reserve(usualSession);
    manData.reserve(usualSession);
}

void CommSession::process()
{
    if (comm == nullptr)
        return;
    // Every queued sample is real, a sample at rest without flags included.
    while (!comm->sampleQueue.empty()) {
        const RawSample raw = comm->popSample();
        const RawSample corrected = comm->removeOffsets(raw);
        correctedSamples.push_back(corrected);
        repairedSamples.push_back(corrected);

        compressionDropout.apply(correctedSamples, &repairedSamples);
        ventilationDropout.apply(correctedSamples, &repairedSamples);
        const RawSample c = compressionSmoothing.apply(repairedSamples, &smoothedSamples);
        const RawSample v = ventilationSmoothing.apply(repairedSamples, &smoothedSamples);
        const RawSample smoothed { c.compression, v.ventilation, raw.error };
        smoothedSamples.push_back(smoothed);

        const Measurement m = comm->toMeasurement(smoothed);
        const int index = static_cast<int>(manData.size());
        compressionDetector.step(m, index);
        ventilationDetector.step(m, index);
        manData.push_back(m);

        if (usableRate(comm->sampleRate))
            sampleRate = comm->sampleRate;
        compressionDetector.sampleRate = sampleRate;
    }
}

void CommSession::markCompression(unsigned index)
{
    LOG_ASSERT(index<manData.size());
    if (index >= manData.size())
        return;
    manData[index].compressionMark = true;
    compressionMarked.emit(static_cast<int>(index));
}

void CommSession::markVentilation(unsigned index)
{
    LOG_ASSERT(index<manData.size());
    if (index >= manData.size())
        return;
    manData[index].ventilationMark = true;
    ventilationMarked.emit(static_cast<int>(index));
}

void CommSession::addEvent(const CompressionGroup& group)
{
    if (group.compressionPercent == 0)
        return;
    const int middle = (group.firstIndex + group.ratioEndIndex) / 2;
    const std::size_t index = static_cast<std::size_t>(middle);
    LOG_ASSERT(index < manData.size());
    if (middle < 0 || index >= manData.size())
        return;
    // A group already at this index stays; the views are told all the same.
    groups.emplace(middle, group);
    groupAdded.emit(middle);
}

bool CommSession::save(std::FILE* stream) const
{
    if (stream == nullptr || std::ferror(stream))
        return false;
    std::fprintf(stream, "%d\r\n", static_cast<int>(manData.size()));
    if (std::ferror(stream))
        return false;
    for (const Measurement& m : manData) {
        std::fprintf(stream, "%.4g %.4g %.4g %.4g %.4g %.4g\r\n", m.depth, m.ventilationMark ? 1.0 : 0.0,
            m.compressionMark ? 1.0 : 0.0, m.flagA ? 1.0 : 0.0, m.volume, m.flagB ? 1.0 : 0.0);
        if (std::ferror(stream))
            return false;
    }
    return true;
}

bool CommSession::load(std::FILE* stream, double rate)
{
    if (!usableRate(rate)) {
        LogStream::instance() << "Session data read with the unusable sample rate " << rate
                              << "; counting 20 samples per second" << LogStream::endl;
        rate = nominalRate;
    }
    sampleRate = rate;
    compressionDetector.sampleRate = rate;
    clearMeasurements();
    loadedFromFile = true;

    if (stream == nullptr || std::ferror(stream))
        return false;

    int count = 0;
    bool ok = std::fscanf(stream, "%d", &count) == 1 && count >= 0;
    if (ok) {
        // A damaged count must not reserve more than the rest of the file can
        // hold; a stream of unknown size reserves an hour at most and grows.
        long reserve = std::min<long>(count, 72000);
        struct stat info;
        const long position = std::ftell(stream);
        if (position >= 0 && fstat(fileno(stream), &info) == 0 && S_ISREG(info.st_mode))
            reserve = std::min<long>(count, (static_cast<long>(info.st_size) - position) / shortestLine + 1);
        manData.reserve(static_cast<std::size_t>(std::max(0L, reserve)));
    }
    for (int i = 0; ok && i < count; ++i) {
        Measurement m;
        int ventilationMark = 0, compressionMark = 0, flagA = 0, flagB = 0;
        ok = std::fscanf(stream, "%lg %d %d %d %lg %d", &m.depth, &ventilationMark, &compressionMark, &flagA,
                 &m.volume, &flagB)
                == 6
            && std::isfinite(m.depth) && std::isfinite(m.volume);
        if (!ok)
            break;
        m.ventilationMark = ventilationMark != 0;
        m.compressionMark = compressionMark != 0;
        m.flagA = flagA != 0;
        m.flagB = flagB != 0;
        compressionDetector.step(m, i);
        ventilationDetector.step(m, i);
        manData.push_back(m);
    }
    if (!ok) {
        LogStream::instance() << "The measurements of a session data file are damaged or cut short" << LogStream::endl;
        clearMeasurements();
        return false;
    }
    return true;
}

int CommSession::getFirstActivityTime()
{
    const int compression = compressionDetector.series.empty() ? -1 : compressionDetector.series.front().firstPeak;
    const int ventilation = ventilationDetector.series.empty() ? -1 : ventilationDetector.series.front().firstPeak;
    int first = -1;
    if (compression >= 0 && ventilation >= 0)
        first = std::min(compression, ventilation);
    else
        first = std::max(compression, ventilation);
    firstActivityTime = first < 0 ? -1 : static_cast<int>(first / sampleRate);
    return firstActivityTime;
}

void CommSession::clearStatistics()
{
    firstActivityTime = 0;
    initialVentilations = 0;
    nrVentilations = 0;
    averageVolume = 0;
    ventilationRate = 0;
    nrVolumeOK = nrVolumeHigh = nrVolumeLow = 0;
    nrStomachInflations = 0;
    nrCompressions = 0;
    nrCompGroups = 0;
    compressionRate = 0;
    averageDepth = 0;
    compFreqOK = compFreqHigh = compFreqLow = 0;
    nrPauseOK = nrPauseLong = 0;
    nrDepthOK = nrDepthLow = nrDepthHigh = 0;
    nrLeanings = 0;
    nrWrongHand = 0;
    averagePause = 0;
    longestPause = 0;
    compRelaxRatio = 0;
    averageCardiacOutput = 0;
    nrCardiacOutputLow = nrCardiacOutputHigh = nrCardiacOutputOK = 0;
    nrRatioCycles = nrRatioCorrect = 0;
    averageRatioVentilations = 0;
    averageRatioCompressions = 0;
}
