#pragma once
#include "Filters/DropoutFilter.h"
#include "Filters/RunningAverageFilter.h"
#include "Utillib/Signal.h"
#include "comm/Comm.h"
#include "comm/CompressionDetector.h"
#include "comm/Measurement.h"
#include "comm/VentilationDetector.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

class Algorithm;

// Everything one training session measures: turns the raw samples of its
// acquisition into measurements, runs the detectors, keeps the marks and the
// group records of finished compression series, stores the measurements in
// the session's data file, and computes the session's statistics.
class CommSession {
public:
    CommSession();
    CommSession(const CommSession&) = delete;
    CommSession& operator=(const CommSession&) = delete;
    virtual ~CommSession();

    void setAlgorithm(const Algorithm* algorithm) { algor = algorithm; }
    // A live session: measures what `acquisition` delivers from now on.
    void attach(Comm* acquisition);
    // Turns every queued raw sample into a measurement; once per tick.
    void process();

    void markCompression(unsigned index);
    void markVentilation(unsigned index);
    void addEvent(const CompressionGroup& group);

    // The measurement part of the session data file. Both return false when
    // the stream fails; a failed load leaves no measurements.
    bool save(std::FILE* stream) const;
    bool load(std::FILE* stream, double sampleRate);

    // Rebuilds the detectors from the measurements and recomputes the statistics.
    void finish();
    // Seconds from the start to the first peak of the first series; -1 without any.
    int getFirstActivityTime();

    int getNrCompGroups() const { return nrCompGroups; }
    int getCompFreqOK() const { return compFreqOK; }
    int getCompFreqHigh() const { return compFreqHigh; }
    int getCompFreqLow() const { return compFreqLow; }

    // Writes histories side by side, one line per sample: first every
    // history's compression value, then every history's ventilation value.
    static bool writeDumpTable(const std::string& fileName, const std::vector<const std::vector<RawSample>*>& histories);

    Comm* comm = nullptr;
    const Algorithm* algor = nullptr;
    int trainingMode = 0;
    bool loadedFromFile = false;

    Signal<int> compressionMarked;
    Signal<int> ventilationMarked;
    Signal<int> groupAdded;

    std::map<int, CompressionGroup> groups; // by the sample in the middle of their series
    CompressionDetector compressionDetector;
    VentilationDetector ventilationDetector;

    std::vector<RawSample> correctedSamples;
    std::vector<RawSample> repairedSamples;
    std::vector<RawSample> smoothedSamples;
    std::vector<Measurement> manData;
    double sampleRate = 20.0;

    RunningAverageFilter compressionSmoothing;
    RunningAverageFilter ventilationSmoothing;
    DropoutFilter compressionDropout;
    DropoutFilter ventilationDropout;

    // Statistics, all 0 until finish computes them.
    int firstActivityTime = 0;
    int initialVentilations = 0;
    int nrVentilations = 0;
    double averageVolume = 0;
    double ventilationRate = 0;
    int nrVolumeOK = 0;
    int nrVolumeHigh = 0;
    int nrVolumeLow = 0;
    int nrStomachInflations = 0;
    int nrCompressions = 0;
    int nrCompGroups = 0;
    double compressionRate = 0;
    double averageDepth = 0;
    int compFreqOK = 0;
    int compFreqHigh = 0;
    int compFreqLow = 0;
    int nrPauseOK = 0;
    int nrPauseLong = 0;
    int nrDepthOK = 0;
    int nrDepthLow = 0;
    int nrDepthHigh = 0;
    int nrLeanings = 0;
    int nrWrongHand = 0;
    int averagePause = 0; // s
    int longestPause = 0; // s
    double compRelaxRatio = 0;
    double averageCardiacOutput = 0;
    int nrCardiacOutputLow = 0;
    int nrCardiacOutputHigh = 0;
    int nrCardiacOutputOK = 0;
    int nrRatioCycles = 0;
    int nrRatioCorrect = 0;
    double averageRatioVentilations = 0;
    double averageRatioCompressions = 0;

private:
    void clearStatistics();
    void clearMeasurements();
    void feedDetectors();
    void ventilationStatistics();
    void countInitialVentilations();
    void compressionStatistics();
    void cycleStatistics(int compressions, int ventilations);
    void writeDump() const;
};
