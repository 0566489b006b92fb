#pragma once
// The records the detectors build: single compressions and ventilations, and
// the series they are grouped into. Positions are sample indexes of the
// session's measurements; durations are numbers of samples.
#include <vector>

class Algorithm;

// One compression.
struct CompressionCycle {
    int indexStart = 0;
    int indexEnd = 0;  // the sample before the one that ended the cycle
    int indexPeak = 0;
    double depth = 0;  // mm
    bool wrongHand = false;
    bool noRelease = false; // the next compression began before the chest was released
    double compressionTime = 0; // filled when the series is closed
    double relaxationTime = 0;  // filled when the series is closed
    int indexPeakEnd = 0; // last sample of the compression phase
};

// Compressions without a gap of 25 samples or more.
class CompressionSeries {
public:
    explicit CompressionSeries(const Algorithm* algor = nullptr) : algor(algor) {}

    void addCycle(const CompressionCycle& cycle);
    // Compression and relaxation time of every cycle but the last, whose end
    // is not known inside the series.
    void computeTimes();
    // Cardiac output of the correct compressions, and the length up to the
    // start of the next series' first cycle.
    void computeCardiacOutput(int nextStart);

    const Algorithm* algor;
    std::vector<CompressionCycle> cycles;
    int indexStart = -1;
    int firstPeak = 0;
    int indexEnd = 0;
    int lastPeak = 0;
    double rate = 0; // compressions per sample
    int wrongHandCount = 0;
    int noReleaseCount = 0;
    double compressionTime = 0;
    double cycleTime = 0;
    double cardiacOutput = 0; // L
    int length = 0;
};

// What is published of a closed compression series.
struct CompressionGroup {
    int firstIndex = 0;         // first sample of the series
    int ratioEndIndex = 0;      // last sample of the span its compression share is shown over
    int outputEndIndex = 0;     // last sample of the span its cardiac output is shown over: the next series' start
    int compressionPercent = 0; // compression share of the cycle time, percent (0 to 100)
    double cardiacOutput = 0;   // L/min
};

// One ventilation.
struct VentilationRecord {
    int indexStart = 0;
    int indexEnd = 0; // the sample that ended it
    int indexPeak = 0;
    double volume = 0; // greatest volume, L
    bool stomachInflation = false;
};

// Ventilations without a gap of 20 samples or more.
class VentilationSeries {
public:
    void addRecord(const VentilationRecord& record);

    std::vector<VentilationRecord> ventilations;
    int indexStart = 0;
    int indexEnd = 0;
    int firstPeak = 0;
    int inflationCount = 0;
};
