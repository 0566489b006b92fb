#include "session/DebriefRows.h"

#include "Database/Algorithm.h"
#include "Utillib/LogStream.h"
#include "comm/CommSession.h"
#include "config/PropertyModel.h"
#include "gettext/Translator.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace {

// A printf-style text of one or two numbers; the format is a plain ASCII literal.
template <typename... Args>
std::wstring format(const wchar_t* fmt, Args... args)
{
    wchar_t buffer[128];
    int n = std::swprintf(buffer, sizeof buffer / sizeof buffer[0], fmt, args...);
    return n < 0 ? std::wstring() : std::wstring(buffer, static_cast<size_t>(n));
}

int rounded(double v) { return static_cast<int>(v + 0.5); }
int truncated(double v) { return static_cast<int>(v); }
std::wstring withUnit(const std::wstring& figure, const char* unit) { return figure + L" " + translate(unit); }
std::wstring percent(int p) { return format(L"%d", p) + L"%"; }

const char* const rowNames[DEBRIEF_ROW_COUNT] = {
    "Ventilation minute volume", "Cardiac output volume", "Initial ventilations", "Ventilation rate",
    "Ventilation volume", "Stomach inflation", "ECC Rate", "Comp./Relax. ratio", "Compression depth",
    "Pause between ECC-ECC", "Wrong hand position", "Leaning", "Compr./Vent. ratio"};

GaugeSetup rangeRule(double a, double b)
{
    GaugeSetup g;
    g.lo = a - (b - a) * 1.3333333333333333;
    g.hi = b + (b - a) * 0.6666666666666666;
    g.bandFrom = a;
    g.bandTo = b;
    return g;
}

GaugeSetup countGauge()
{
    GaugeSetup g;
    g.lo = -12;
    g.hi = 15;
    g.pinLow = true;
    g.leftEnd = false;
    return g;
}

} // namespace

DebriefStats debriefStats(const CommSession& s)
{
    DebriefStats d;
    d.initialVentilations = s.initialVentilations;
    d.ventilations = s.nrVentilations;
    d.averageVolume = s.averageVolume;
    d.detectorVolume = s.ventilationDetector.averageVolume;
    d.minuteVolume = s.ventilationDetector.getMinuteVolume();
    d.ventilationRate = s.ventilationRate;
    d.volumeLow = s.nrVolumeLow;
    d.volumeHigh = s.nrVolumeHigh;
    d.stomachInflations = s.nrStomachInflations;
    d.compressions = s.nrCompressions;
    d.compGroups = s.getNrCompGroups();
    d.compressionRate = s.compressionRate;
    d.compFreqOK = s.getCompFreqOK();
    d.compFreqLow = s.getCompFreqLow();
    d.compFreqHigh = s.getCompFreqHigh();
    d.averageDepth = s.averageDepth;
    d.depthLow = s.nrDepthLow;
    d.depthHigh = s.nrDepthHigh;
    d.pauseOK = s.nrPauseOK;
    d.pauseLong = s.nrPauseLong;
    d.averagePause = s.averagePause;
    d.compressionShare = s.compRelaxRatio;
    d.wrongHand = s.nrWrongHand;
    d.leanings = s.nrLeanings;
    d.cardiacOutput = s.averageCardiacOutput;
    d.cardiacOK = s.nrCardiacOutputOK;
    d.cardiacLow = s.nrCardiacOutputLow;
    d.cardiacHigh = s.nrCardiacOutputHigh;
    d.cycles = s.nrRatioCycles;
    d.correctCycles = s.nrRatioCorrect;
    d.cycleCompressions = s.averageRatioCompressions;
    d.cycleVentilations = s.averageRatioVentilations;
    return d;
}

DebriefOptions debriefOptionsOf(const PropertyModel& m)
{
    DebriefOptions o;
    const bool shown[DEBRIEF_ROW_COUNT] = {m.showMinuteVolume,      m.showCardiacOutput,   m.showInitialVentilations,
                                           m.showVentilationRate,   m.showAverageVolume,   m.showStomachInflations,
                                           m.showCompressionRate,   m.showCompRelaxRatio,  m.showCompressionDepth,
                                           m.showPause,             m.showWrongHandPositions, m.showLeanings,
                                           m.showVentCompRatio};
    std::copy(std::begin(shown), std::end(shown), std::begin(o.rowShown));
    o.minuteVolumeLow = m.minuteVolumeLow;
    o.minuteVolumeHigh = m.minuteVolumeHigh;
    o.cardiacOutputLow = m.cardiacOutputLow;
    o.cardiacOutputHigh = m.cardiacOutputHigh;
    o.maxPause = m.maxPause;
    o.percentages = !m.debriefingAsCounts;
    o.ratioNotation = !m.compRelaxAsPercent;
    o.showComments = m.showComments;
    return o;
}

DebriefRows::DebriefRows(const Algorithm& algorithm, TrainingMode trainingMode, const DebriefOptions& opts,
                         const DebriefStats& figures)
    : algor(algorithm), mode(trainingMode), options(opts), stats(figures)
{
}

bool DebriefRows::isRowShown(int row) const
{
    if (row < 0 || row >= DEBRIEF_ROW_COUNT) {
        LOG_ASSERT(false);
        return false;
    }
    if (!options.rowShown[row])
        return false;
    bool cpr = mode == SINGLE_PERSON || mode == TWO_PERSON;
    switch (row) {
    case MINUTE_VOLUME:
    case CARDIAC_OUTPUT:
    case INITIAL_VENTILATIONS:
    case COMP_VENT_RATIO:
        return cpr;
    case VENTILATION_RATE:
    case VENTILATION_VOLUME:
    case STOMACH_INFLATION:
        return mode != COMPRESSION_ONLY;
    default:
        return mode != VENTILATION_ONLY;
    }
}

bool DebriefRows::endsGroup(int row) const
{
    auto lastShownOf = [this](int from, int to) {
        for (int r = to; r >= from; --r)
            if (isRowShown(r))
                return r;
        return -1;
    };
    switch (row) {
    case MINUTE_VOLUME:
    case CARDIAC_OUTPUT:
        return lastShownOf(MINUTE_VOLUME, CARDIAC_OUTPUT) == row;
    case COMP_VENT_RATIO:
        return isRowShown(row) && options.showComments;
    default:
        if (row >= INITIAL_VENTILATIONS && row <= STOMACH_INFLATION)
            return lastShownOf(INITIAL_VENTILATIONS, STOMACH_INFLATION) == row;
        if (row >= ECC_RATE && row <= LEANING)
            return lastShownOf(ECC_RATE, LEANING) == row;
        return false;
    }
}

std::wstring DebriefRows::rowName(int row)
{
    return row >= 0 && row < DEBRIEF_ROW_COUNT ? translate(rowNames[row]) : std::wstring();
}

double DebriefRows::requiredComp() const
{
    if (mode == SINGLE_PERSON)
        return algor.ventCompRatioSingleComp;
    return mode == TWO_PERSON ? algor.ventCompRatioDoubleComp : 0;
}

double DebriefRows::requiredVent() const
{
    if (mode == SINGLE_PERSON)
        return algor.ventCompRatioSingleVent;
    return mode == TWO_PERSON ? algor.ventCompRatioDoubleVent : 0;
}

int DebriefRows::compressionPercent() const
{
    int c = truncated(stats.compressionShare * 100);
    return c > 100 || c < 0 ? 0 : c;
}

GaugeSetup DebriefRows::gaugeSetup(int row) const
{
    switch (row) {
    case MINUTE_VOLUME:
        return rangeRule(options.minuteVolumeLow, options.minuteVolumeHigh);
    case CARDIAC_OUTPUT:
        return rangeRule(options.cardiacOutputLow, options.cardiacOutputHigh);
    case INITIAL_VENTILATIONS: {
        GaugeSetup g;
        int n = algor.initVent;
        g.leftEnd = false;
        if (n > 0) {
            g.hi = 2.25 * n;
            g.bandFrom = g.bandTo = n;
        } else {
            g.lo = -4.0 / 3.0;
            g.hi = 5.0 / 3.0;
            g.pinLow = true;
        }
        return g;
    }
    case VENTILATION_RATE:
        return rangeRule(algor.vRateLow, algor.vRateHigh);
    case VENTILATION_VOLUME:
        return rangeRule(algor.vVolLow, algor.vVolHigh);
    case STOMACH_INFLATION:
    case WRONG_HAND:
    case LEANING:
        return countGauge();
    case ECC_RATE:
        return rangeRule(algor.eccRateLow, algor.eccRateHigh);
    case COMP_RELAX_RATIO:
        return rangeRule(algor.compRelaxLow, algor.compRelaxHigh);
    case COMPRESSION_DEPTH:
        return rangeRule(algor.compDepthLow, algor.compDepthHigh);
    case ECC_PAUSE: {
        GaugeSetup g;
        g.hi = options.maxPause * 1.2857142857142858;
        g.bandTo = options.maxPause;
        g.leftEnd = false;
        return g;
    }
    case COMP_VENT_RATIO: {
        // A guideline read back with 0 ventilations per cycle has no ratio.
        double r = requiredVent() > 0 ? requiredComp() / requiredVent() : 0;
        LOG_ASSERT_TEXT(r >= 0.0, "range>=0.0");
        GaugeSetup g;
        g.lo = r - 4;
        g.hi = r + 5;
        g.bandFrom = g.bandTo = r;
        return g;
    }
    default:
        LOG_ASSERT(false);
        return GaugeSetup();
    }
}

double DebriefRows::gaugeValue(int row) const
{
    switch (row) {
    case MINUTE_VOLUME:
        return stats.minuteVolume;
    case CARDIAC_OUTPUT:
        return stats.cardiacOutput;
    case INITIAL_VENTILATIONS:
        return stats.initialVentilations;
    case VENTILATION_RATE:
        return rounded(stats.ventilationRate);
    case VENTILATION_VOLUME:
        return stats.detectorVolume;
    case STOMACH_INFLATION:
        return stats.ventilations > 0 ? stats.stomachInflations * 100.0 / stats.ventilations : 0;
    case ECC_RATE:
        return rounded(stats.compressionRate);
    case COMP_RELAX_RATIO:
        return compressionPercent();
    case COMPRESSION_DEPTH:
        return rounded(stats.averageDepth);
    case ECC_PAUSE:
        return stats.averagePause;
    case WRONG_HAND:
        return stats.compressions > 0 ? stats.wrongHand * 100.0 / stats.compressions : 0;
    case LEANING:
        return stats.compressions > 0 ? stats.leanings * 100.0 / stats.compressions : 0;
    case COMP_VENT_RATIO:
        return stats.cycleVentilations != 0 ? stats.cycleCompressions / stats.cycleVentilations : 0;
    default:
        LOG_ASSERT(false);
        return 0;
    }
}

std::wstring DebriefRows::recommendedText(int row) const
{
    switch (row) {
    case MINUTE_VOLUME:
        return withUnit(format(L"%g", options.minuteVolumeLow) + L" - " + format(L"%g", options.minuteVolumeHigh), "L/min");
    case CARDIAC_OUTPUT:
        return withUnit(format(L"%.1f", options.cardiacOutputLow) + L" - " + format(L"%.1f", options.cardiacOutputHigh),
                        "L/min");
    case INITIAL_VENTILATIONS:
        return format(L"%d", static_cast<int>(algor.initVent));
    case VENTILATION_RATE:
        return withUnit(format(L"%d - %d", truncated(algor.vRateLow), truncated(algor.vRateHigh)), "/min");
    case VENTILATION_VOLUME:
        return withUnit(format(L"%.1f - %.1f", algor.vVolLow, algor.vVolHigh), "L");
    case STOMACH_INFLATION:
    case WRONG_HAND:
    case LEANING:
        return L"0%";
    case ECC_RATE:
        return withUnit(format(L"%d - %d", truncated(algor.eccRateLow), truncated(algor.eccRateHigh)), "/min");
    case COMP_RELAX_RATIO:
        if (options.ratioNotation)
            return algor.compRelaxRecc == 100 ? L"0.0" : format(L"%.1f", algor.compRelaxRecc / (100 - algor.compRelaxRecc));
        return format(L"%d", truncated(algor.compRelaxRecc)) + L"% / " + format(L"%d", truncated(100 - algor.compRelaxRecc)) +
               L"%";
    case COMPRESSION_DEPTH:
        return withUnit(format(L"%d - %d", truncated(algor.compDepthLow), truncated(algor.compDepthHigh)), "mm");
    case ECC_PAUSE:
        return withUnit(L"< " + format(L"%d", options.maxPause), "s");
    case COMP_VENT_RATIO:
        if (mode != SINGLE_PERSON && mode != TWO_PERSON) {
            LOG_ASSERT(false);
            return std::wstring();
        }
        return format(L"%d : %d", truncated(requiredComp()), truncated(requiredVent()));
    default:
        LOG_ASSERT(false);
        return std::wstring();
    }
}

// The OK part and one part per fault count above 0, in counts or rounded percentages.
std::wstring DebriefRows::evaluation(int row, int reference, const char* okWord, int okCount, const int* faults,
                                     const char* const* words, int faultCount) const
{
    std::wstring text;
    auto part = [&](int count, double share, const char* word) {
        std::wstring figure = options.percentages ? percent(rounded(share)) : format(L"%d", count);
        if (!text.empty())
            text += L" / ";
        text += figure + L" " + translate(word);
    };
    double n = reference;
    int faultSum = 0;
    for (int i = 0; i < faultCount; ++i)
        faultSum += faults[i];
    // Rows whose OK count is the reference less the faults take the rest of
    // 100%; the others (rate groups, pauses, cycles) their own OK count.
    bool okIsRest = row == VENTILATION_VOLUME || row == COMPRESSION_DEPTH || row == STOMACH_INFLATION || row == WRONG_HAND ||
                    row == LEANING;
    double okShare = okIsRest ? 100 - faultSum * 100.0 / n : okCount * 100.0 / n;
    part(okCount, okShare, okWord);
    for (int i = 0; i < faultCount; ++i) {
        if (faults[i] <= 0)
            continue;
        double share = row == COMP_VENT_RATIO ? 100 - okCount * 100.0 / n : faults[i] * 100.0 / n;
        part(faults[i], share, words[i]);
    }
    return text;
}

void DebriefRows::rowTexts(int row, std::wstring& total, std::wstring& average, std::wstring& eval) const
{
    const DebriefStats& s = stats;
    switch (row) {
    case MINUTE_VOLUME:
        average = withUnit(format(L"%0.1f", s.minuteVolume), "L/min");
        if (s.ventilations > 0) {
            if (s.minuteVolume < options.minuteVolumeLow)
                eval = translate("Too low");
            else if (s.minuteVolume > options.minuteVolumeHigh)
                eval = translate("Too high");
        }
        break;
    case CARDIAC_OUTPUT: {
        average = withUnit(format(L"%0.1f", s.cardiacOutput), "L/min");
        int t = s.cardiacOK + s.cardiacLow + s.cardiacHigh;
        if (s.compressions > 0 && t > 0) {
            int faults[] = {s.cardiacLow, s.cardiacHigh};
            const char* const words[] = {"low", "high"};
            eval = evaluation(row, t, options.percentages ? "OK" : "OK groups", s.cardiacOK, faults, words, 2);
        }
        break;
    }
    case INITIAL_VENTILATIONS:
        total = format(L"%d", s.initialVentilations);
        if (s.initialVentilations != algor.initVent)
            eval = withUnit(format(L"%d", s.initialVentilations), "Performed");
        break;
    case VENTILATION_RATE:
        average = withUnit(format(L"%d", rounded(s.ventilationRate)), "/min");
        if (s.ventilations > 0) {
            if (s.ventilationRate < algor.vRateLow)
                eval = translate("Too slow");
            else if (s.ventilationRate > algor.vRateHigh)
                eval = translate("Too fast");
        }
        break;
    case VENTILATION_VOLUME: {
        total = format(L"%d", s.ventilations);
        average = withUnit(format(L"%0.1f", s.averageVolume), "L");
        if (s.ventilations > 0) {
            int faults[] = {s.volumeLow, s.volumeHigh};
            const char* const words[] = {"low", "high"};
            eval = evaluation(row, s.ventilations, "OK", s.ventilations - s.volumeLow - s.volumeHigh, faults, words, 2);
        }
        break;
    }
    case STOMACH_INFLATION:
        total = format(L"%d", s.stomachInflations);
        if (s.ventilations > 0) {
            const char* const words[] = {"wrong"};
            eval = evaluation(row, s.ventilations, "OK", s.ventilations - s.stomachInflations, &s.stomachInflations, words, 1);
        }
        break;
    case ECC_RATE:
        average = withUnit(format(L"%d", rounded(s.compressionRate)), "/min");
        if (s.compGroups > 0) {
            if (options.percentages)
                LOG_ASSERT(s.compFreqOK + s.compFreqLow + s.compFreqHigh == s.compGroups);
            int faults[] = {s.compFreqLow, s.compFreqHigh};
            const char* const words[] = {"low", "high"};
            eval = evaluation(row, s.compGroups, "OK groups", s.compFreqOK, faults, words, 2);
        }
        break;
    case COMP_RELAX_RATIO: {
        int raw = truncated(s.compressionShare * 100);
        bool valid = raw >= 0 && raw <= 100;
        int c = valid ? raw : 0;
        int r = valid ? 100 - raw : 0;
        if (options.ratioNotation)
            average = r == 0 ? std::wstring(L"0.0") : format(L"%.1f", static_cast<double>(c) / r);
        else
            average = format(L"%d", c) + L"% / " + format(L"%d", r) + L"%";
        if (s.compressions > 0 && (c < algor.compRelaxLow || c > algor.compRelaxHigh))
            eval = translate("Not OK");
        break;
    }
    case COMPRESSION_DEPTH: {
        total = format(L"%d", s.compressions);
        average = withUnit(format(L"%d", rounded(s.averageDepth)), "mm");
        if (s.compressions > 0) {
            int faults[] = {s.depthLow, s.depthHigh};
            const char* const words[] = {"superficial", "deep"};
            eval = evaluation(row, s.compressions, "OK", s.compressions - s.depthLow - s.depthHigh, faults, words, 2);
        }
        break;
    }
    case ECC_PAUSE:
        total = format(L"%d", s.compGroups > 0 ? s.compGroups - 1 : 0);
        if (s.compGroups >= 2) {
            average = withUnit(format(L"%d", s.averagePause), "s");
            const char* const words[] = {"long"};
            eval = evaluation(row, s.compGroups - 1, "OK", s.pauseOK, &s.pauseLong, words, 1);
        }
        break;
    case WRONG_HAND:
    case LEANING: {
        const int& faults = row == WRONG_HAND ? s.wrongHand : s.leanings;
        total = format(L"%d", faults);
        if (s.compressions > 0) {
            const char* const words[] = {"wrong"};
            eval = evaluation(row, s.compressions, "OK", s.compressions - faults, &faults, words, 1);
        }
        break;
    }
    case COMP_VENT_RATIO:
        total = format(L"%d", s.cycles);
        if (s.cycles > 0) {
            average = format(L"%d : %d", rounded(s.cycleCompressions), rounded(s.cycleVentilations));
            int wrong = s.cycles - s.correctCycles;
            const char* const words[] = {"wrong"};
            eval = evaluation(row, s.cycles, "OK", s.correctCycles, &wrong, words, 1);
        }
        break;
    default:
        LOG_ASSERT(false);
        break;
    }
}

std::vector<DebriefLine> DebriefRows::lines(const std::wstring& blank) const
{
    std::vector<DebriefLine> shown;
    for (int row = 0; row < DEBRIEF_ROW_COUNT; ++row) {
        if (!isRowShown(row))
            continue;
        DebriefLine line;
        line.row = row;
        line.name = rowName(row);
        line.recommended = recommendedText(row);
        line.total = line.average = line.evaluation = blank;
        rowTexts(row, line.total, line.average, line.evaluation);
        line.endsGroup = endsGroup(row);
        shown.push_back(std::move(line));
    }
    return shown;
}
