#pragma once
#include "config/TrainingMode.h"

#include <string>
#include <vector>

class Algorithm;
class CommSession;
class PropertyModel;

// The thirteen evaluated parameters of a debriefing, in display order.
enum DebriefRow {
    MINUTE_VOLUME = 0,
    CARDIAC_OUTPUT,
    INITIAL_VENTILATIONS,
    VENTILATION_RATE,
    VENTILATION_VOLUME,
    STOMACH_INFLATION,
    ECC_RATE,
    COMP_RELAX_RATIO,
    COMPRESSION_DEPTH,
    ECC_PAUSE,
    WRONG_HAND,
    LEANING,
    COMP_VENT_RATIO,
    DEBRIEF_ROW_COUNT
};

// The configuration a debriefing reads: one option per row and the limits
// and notations of the texts.
struct DebriefOptions {
    bool rowShown[DEBRIEF_ROW_COUNT] = {true, true, true, true, true, true, true, true, true, true, true, true, true};
    double minuteVolumeLow = 1.5, minuteVolumeHigh = 6.0;   // L/min
    double cardiacOutputLow = 1.4, cardiacOutputHigh = 6.0; // L/min
    int maxPause = 9;                                       // s
    bool percentages = false;   // "20% OK / 20% low / 60% high" instead of counts
    bool ratioNotation = false; // a single ratio figure instead of "50% / 50%"
    bool showComments = true;
};

// The figures of a finished session the rows are computed from.
struct DebriefStats {
    int initialVentilations = 0;
    int ventilations = 0;
    double averageVolume = 0;  // L, of the statistics
    double detectorVolume = 0; // L, the ventilation detector's running average
    double minuteVolume = 0;   // L/min
    double ventilationRate = 0;
    int volumeLow = 0, volumeHigh = 0;
    int stomachInflations = 0;
    int compressions = 0;
    int compGroups = 0;
    double compressionRate = 0;
    int compFreqOK = 0, compFreqLow = 0, compFreqHigh = 0;
    double averageDepth = 0; // mm
    int depthLow = 0, depthHigh = 0;
    int pauseOK = 0, pauseLong = 0;
    int averagePause = 0;       // s
    double compressionShare = 0; // 0 to 1
    int wrongHand = 0, leanings = 0;
    double cardiacOutput = 0; // L/min
    int cardiacOK = 0, cardiacLow = 0, cardiacHigh = 0;
    int cycles = 0, correctCycles = 0;
    double cycleCompressions = 0, cycleVentilations = 0;
};

DebriefStats debriefStats(const CommSession& session);
// The debriefing switches, limits and notations of the settings.
DebriefOptions debriefOptionsOf(const PropertyModel& model);

// How a row's bar gauge is scaled: the scale, the recommended band, whether
// the body starts at the band (pinLow) and which end zones are drawn.
struct GaugeSetup {
    double lo = 0, hi = 0;
    double bandFrom = 0, bandTo = 0;
    bool pinLow = false, pinHigh = false;
    bool leftEnd = true, rightEnd = true;
};

// One shown row with its cells, as the page and the printout show it.
struct DebriefLine {
    int row = 0;
    std::wstring name;
    std::wstring recommended;
    std::wstring total;
    std::wstring average;
    std::wstring evaluation;
    bool endsGroup = false;
};

// The figures of one session against its guideline.
class DebriefRows {
public:
    DebriefRows(const Algorithm& algorithm, TrainingMode mode, const DebriefOptions& options, const DebriefStats& stats);

    bool isRowShown(int row) const;
    // The row that closes its separator group, given whether the advice row follows.
    bool endsGroup(int row) const;
    static std::wstring rowName(int row);
    GaugeSetup gaugeSetup(int row) const;
    double gaugeValue(int row) const;
    std::wstring recommendedText(int row) const;
    // Writes only the cells the row has a text for; the others keep what the caller put there.
    void rowTexts(int row, std::wstring& total, std::wstring& average, std::wstring& evaluation) const;
    // The shown rows in order; a Total, Average or Evaluation cell without a
    // text holds `blank`.
    std::vector<DebriefLine> lines(const std::wstring& blank) const;

private:
    double requiredComp() const;
    double requiredVent() const;
    int compressionPercent() const;
    std::wstring evaluation(int row, int reference, const char* okWord, int okCount, const int* faults, const char* const* words,
                            int faultCount) const;

    const Algorithm& algor;
    TrainingMode mode;
    DebriefOptions options;
    DebriefStats stats;
};
