#include "e2e/Truth.h"

#include "comm/CommSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

namespace e2e {

namespace {

using demo::Event;
using demo::EventKind;

constexpr double perMinute = demo::samplesPerSecond * 60.0;
constexpr double hysteresisMm = 5.0;

double depthOf(const Event& e) { return e.units * demo::mmPerUnit; }
double volumeOf(const Event& e) { return e.units * demo::litresPerUnit; }

// Within, below, above a range (bounds included), as the debriefing counts.
struct Classes {
    int ok = 0, low = 0, high = 0;
    void add(double value, double low_, double high_)
    {
        if (value < low_)
            ++low;
        else if (value > high_)
            ++high;
        else
            ++ok;
    }
};

int count(const std::vector<std::vector<Event>>& series)
{
    int n = 0;
    for (const auto& s : series)
        n += static_cast<int>(s.size());
    return n;
}

int ventilationsBetween(const std::vector<std::vector<Event>>& breaths, int after, int before)
{
    int n = 0;
    for (const auto& s : breaths)
        if (s.front().start > after && s.front().start < before)
            n += static_cast<int>(s.size());
    return n;
}

// Each compression series with the ventilations that follow it, before the
// next series; the newest counts only with the required ventilations, so that
// an unfinished last cycle is not held against the trainee.
struct RatioCycles {
    int cycles = 0, correct = 0, compressions = 0, ventilations = 0;
};

RatioCycles ratioCycles(const std::vector<std::vector<Event>>& compressions,
                        const std::vector<std::vector<Event>>& ventilations, int samples, const Judgement& j)
{
    const Algorithm& a = j.algorithm;
    const bool two = j.trainingMode == 1;
    const int nc = static_cast<int>(two ? a.ventCompRatioDoubleComp : a.ventCompRatioSingleComp);
    const int nv = static_cast<int>(two ? a.ventCompRatioDoubleVent : a.ventCompRatioSingleVent);
    RatioCycles out;
    const int series = static_cast<int>(compressions.size());
    for (int k = 0; k < series; ++k) {
        const bool newest = k + 1 == series;
        const int done = static_cast<int>(compressions[k].size());
        const int given = ventilationsBetween(ventilations, compressions[k].back().end,
                                              newest ? samples : compressions[k + 1].front().start);
        if (newest && given != nv)
            continue;
        ++out.cycles;
        out.correct += done == nc && given == nv;
        out.compressions += done;
        out.ventilations += given;
    }
    return out;
}

} // namespace

Algorithm guideline2005()
{
    Algorithm a;
    a.Name = "AHA 2005 (American Heart Association)";
    a.compDepthHigh = 50;
    a.compDepthLow = 40;
    a.eccRateHigh = 110;
    a.eccRateLow = 90;
    a.ventCompRatioDoubleComp = 30;
    a.ventCompRatioDoubleVent = 2;
    a.ventCompRatioSingleComp = 30;
    a.ventCompRatioSingleVent = 2;
    a.vRateHigh = 6;
    a.vRateLow = 3;
    a.vVolHigh = 0.6;
    a.vVolLow = 0.5;
    a.builtIn = true;
    return a;
}

demo::Recording looped(const demo::Recording& r, int times)
{
    demo::Recording out;
    out.truth = r.truth;
    out.truth.events.clear();
    out.truth.samples = r.truth.samples * times;
    auto compressionSeries = seriesOf(r.truth, EventKind::Compression);
    auto ventilationSeries = seriesOf(r.truth, EventKind::Ventilation);
    const int nc = static_cast<int>(compressionSeries.size());
    const int nv = static_cast<int>(ventilationSeries.size());
    for (int copy = 0; copy < times; ++copy) {
        const int shift = copy * r.truth.samples;
        for (auto [to, from] : { std::pair { &out.compression, &r.compression },
                                 std::pair { &out.ventilation, &r.ventilation }, std::pair { &out.status, &r.status } })
            to->insert(to->end(), from->begin(), from->end());
        if (copy > 0 && nc > 0) {
            Event seam;
            seam.kind = EventKind::Pause;
            seam.series = copy * nc;
            seam.start = compressionSeries.back().back().peak + shift - r.truth.samples;
            seam.end = compressionSeries.front().front().peak + shift;
            seam.size = (seam.end - seam.start) / static_cast<double>(demo::samplesPerSecond);
            out.truth.events.push_back(seam);
        }
        for (Event e : r.truth.events) {
            e.start += shift;
            e.end += shift;
            if (e.peak >= 0)
                e.peak += shift;
            e.series += copy * (e.kind == EventKind::Ventilation ? nv : nc);
            out.truth.events.push_back(e);
        }
    }
    std::stable_sort(out.truth.events.begin(), out.truth.events.end(),
                     [](const Event& a, const Event& b) { return a.start < b.start; });
    return out;
}

demo::Recording window(const demo::Recording& once, int start, int length, std::string* undecided)
{
    demo::Recording out;
    const int loopLength = once.truth.samples;
    if (loopLength <= 0 || start < 0 || length < 4) {
        ADD_FAILURE() << "no window of " << length << " samples at " << start;
        return out;
    }
    const demo::Recording r = looped(once, (start + length) / loopLength + 2);
    const int zeroC = r.truth.zeroCompression, zeroV = r.truth.zeroVentilation;
    // The smoothing passes its first samples through as they are: a session
    // begins with the trainee at rest for as long as its widest window.
    for (int i = start; i < start + restAtStart; ++i)
        if (r.compression[i] - zeroC >= demo::measurableUnits || r.ventilation[i] - zeroV >= demo::measurableUnits)
            ADD_FAILURE() << "the window at " << start << " does not begin at rest (sample " << i << ")";
    auto cut = [&](const std::vector<std::uint8_t>& channel) {
        return std::vector<std::uint8_t>(channel.begin() + start, channel.begin() + start + length);
    };
    out.compression = cut(r.compression);
    out.ventilation = cut(r.ventilation);
    out.status = cut(r.status);
    out.compression[0] = static_cast<std::uint8_t>(zeroC);
    out.ventilation[0] = static_cast<std::uint8_t>(zeroV);
    out.truth.title = r.truth.title + " (" + std::to_string(length) + " samples from " + std::to_string(start) + ")";
    out.truth.samples = length;
    out.truth.zeroCompression = zeroC;
    out.truth.zeroVentilation = zeroV;

    // When the chain is done with a movement, in samples of the session (see
    // the tolerances of the end-to-end tests): a compression released to rest
    // ends 2 to 4 samples after its last moving sample and is taken on the
    // sample after; a leaning one ends where the next one is seen to start,
    // 1 sample before to 1 after that one's first moving sample; a
    // ventilation is taken on the 6th sample after its last.
    const int last = length - 1;
    const std::vector<Event> compressions = r.truth.ofKind(EventKind::Compression);
    auto finished = [&](const Event& e, std::size_t index) -> std::optional<bool> {
        int earliest = 0, latest = 0;
        if (e.kind == EventKind::Ventilation) {
            earliest = latest = e.end + 6 - start;
        } else if (e.leaning && index + 1 < compressions.size()) {
            earliest = compressions[index + 1].start - start;
            latest = earliest + 2;
        } else {
            earliest = e.end + 3 - start;
            latest = e.end + 5 - start;
        }
        if (latest <= last)
            return true;
        if (earliest > last)
            return false;
        return std::nullopt;
    };
    std::map<int, int> compressionSeries, ventilationSeries; // looped number -> number in the session
    std::size_t compressionIndex = 0;
    for (const Event& e : r.truth.events) {
        if (e.kind == EventKind::Pause)
            continue;
        const std::size_t index = e.kind == EventKind::Compression ? compressionIndex++ : 0;
        if (e.start < start)
            continue;
        const std::optional<bool> done = finished(e, index);
        if (!done) {
            if (undecided)
                *undecided = "the session ends as the chain finishes the movement at sample " + std::to_string(e.start - start);
            else
                ADD_FAILURE() << "the session ends as the chain finishes the movement at " << e.start - start;
            continue;
        }
        if (!*done)
            continue;
        Event moved = e;
        moved.start -= start;
        moved.end -= start;
        moved.peak -= start;
        auto& numbers = e.kind == EventKind::Compression ? compressionSeries : ventilationSeries;
        moved.series = numbers.emplace(e.series, static_cast<int>(numbers.size())).first->second;
        out.truth.events.push_back(moved);
    }
    // The pauses between the compression series of the session.
    const auto series = seriesOf(out.truth, EventKind::Compression);
    if (!series.empty() && series.back().back().leaning && undecided)
        *undecided = "the session ends on a leaning compression, whose end is the next one's start";
    for (std::size_t k = 1; k < series.size(); ++k) {
        Event p;
        p.kind = EventKind::Pause;
        p.series = static_cast<int>(k);
        p.start = series[k - 1].back().peak;
        p.end = series[k].front().peak;
        p.size = (p.end - p.start) / static_cast<double>(demo::samplesPerSecond);
        out.truth.events.push_back(p);
    }
    std::stable_sort(out.truth.events.begin(), out.truth.events.end(),
                     [](const Event& a, const Event& b) { return a.start < b.start; });
    return out;
}

std::vector<std::vector<Event>> seriesOf(const demo::GroundTruth& truth, EventKind kind)
{
    std::map<int, std::vector<Event>> bySeries;
    for (const Event& e : truth.ofKind(kind))
        bySeries[e.series].push_back(e);
    std::vector<std::vector<Event>> out;
    for (auto& [number, events] : bySeries)
        out.push_back(std::move(events));
    return out;
}

int compressionPhaseEnd(const demo::Recording& r, const Event& c)
{
    const double peakDepth = depthOf(c);
    int end = c.peak;
    const int last = static_cast<int>(r.compression.size()) - 1;
    while (end < last && (r.compression[end + 1] - r.truth.zeroCompression) * demo::mmPerUnit > peakDepth - hysteresisMm)
        ++end;
    return end;
}

double cardiacOutputOf(const std::vector<Event>& series, const Judgement& j)
{
    const MeasurementSettings& s = j.settings;
    const double low = s.overrideDepth ? s.depthLow : j.algorithm.compDepthLow;
    const double high = s.overrideDepth ? s.depthHigh : j.algorithm.compDepthHigh;
    double output = 0;
    for (const Event& e : series)
        if (depthOf(e) >= low && depthOf(e) <= high && !e.leaning)
            output += e.wrongHand ? s.cardiacOutputPerWrongHand : s.cardiacOutputPerCompression;
    return output;
}

Share shareOf(const demo::Recording& r, const std::vector<Event>& series)
{
    Share share;
    for (std::size_t i = 0; i + 1 < series.size(); ++i) {
        share.compressionTime += compressionPhaseEnd(r, series[i]) + 1 - series[i].start;
        share.cycleTime += series[i + 1].start - series[i].start;
        ++share.measured;
    }
    return share;
}

Counts expectedCounts(const demo::Recording& r, const Judgement& j, std::string* undecided)
{
    const auto compressions = seriesOf(r.truth, EventKind::Compression);
    const auto ventilations = seriesOf(r.truth, EventKind::Ventilation);
    const auto pauses = r.truth.ofKind(EventKind::Pause);
    const Algorithm& a = j.algorithm;
    const MeasurementSettings& s = j.settings;
    const int series = static_cast<int>(compressions.size());

    Classes depth, rate, output, volume;
    int leanings = 0, wrongHand = 0, stomach = 0, groups = 0;
    for (int k = 0; k < series; ++k) {
        const auto& c = compressions[k];
        for (const Event& e : c) {
            depth.add(depthOf(e), a.compDepthLow, a.compDepthHigh);
            leanings += e.leaning;
            wrongHand += e.wrongHand;
        }
        const int span = c.back().peak - c.front().peak;
        rate.add(c.size() > 1 ? (c.size() - 1) * perMinute / span : 0.0, a.eccRateLow, a.eccRateHigh);
        // Only closed series have a cardiac output; the newest one never closes.
        if (k + 1 < series) {
            const int length = compressions[k + 1].front().start - c.front().start;
            const double perMin = cardiacOutputOf(c, j) * perMinute / length;
            // Each detected start may lie one sample before the trainee's, so
            // the length is known to a sample: the class must not hang on it.
            const double uncertainty = perMin / (length - 1);
            for (double limit : { s.cardiacOutputLow, s.cardiacOutputHigh }) {
                if (std::abs(perMin - limit) > uncertainty)
                    continue;
                const std::string why = "the cardiac output " + std::to_string(perMin) + " of series "
                    + std::to_string(k) + " lies within a sample's length of the limit " + std::to_string(limit);
                if (undecided)
                    *undecided = why;
                else
                    ADD_FAILURE() << why;
            }
            output.add(perMin, s.cardiacOutputLow, s.cardiacOutputHigh);
            groups += c.size() > 1; // a single compression has no compression share: no group
        }
    }
    if (static_cast<int>(pauses.size()) != std::max(series - 1, 0))
        ADD_FAILURE() << "the ground truth lists " << pauses.size() << " pauses between " << series << " series";
    int pauseOK = 0, pauseLong = 0, pauseSum = 0, longest = 0;
    for (const Event& p : pauses) {
        const int samples = p.end - p.start;
        const double seconds = samples / static_cast<double>(demo::samplesPerSecond);
        (seconds > s.maxPause ? pauseLong : pauseOK) += 1;
        pauseSum += samples;
        longest = std::max(longest, static_cast<int>(seconds));
    }
    const int averagePause = series >= 2 ? static_cast<int>(pauseSum / ((series - 1) * static_cast<double>(demo::samplesPerSecond))) : 0;

    for (const auto& v : ventilations)
        for (const Event& e : v) {
            volume.add(volumeOf(e), a.vVolLow, a.vVolHigh);
            // The generator clears the flag between breaths, so each flagged breath counts.
            stomach += e.stomachInflation;
        }

    int initial = 0;
    if (!ventilations.empty() && (compressions.empty() || ventilations.front().front().start < compressions.front().front().start))
        initial = ventilationsBetween(ventilations, -1, compressions.empty() ? r.truth.samples : compressions.front().front().start);

    const RatioCycles cycles = ratioCycles(compressions, ventilations, r.truth.samples, j);

    const int firstCompression = compressions.empty() ? -1 : compressions.front().front().peak + compressionLag;
    const int firstVentilation = ventilations.empty() ? -1 : ventilations.front().front().peak + ventilationLag;
    int first = std::max(firstCompression, firstVentilation);
    if (firstCompression >= 0 && firstVentilation >= 0)
        first = std::min(firstCompression, firstVentilation);

    return {
        { "nrCompressions", count(compressions) },
        { "nrCompGroups", series },
        { "nrDepthOK", depth.ok },
        { "nrDepthLow", depth.low },
        { "nrDepthHigh", depth.high },
        { "compFreqOK", rate.ok },
        { "compFreqLow", rate.low },
        { "compFreqHigh", rate.high },
        { "nrLeanings", leanings },
        { "nrWrongHand", wrongHand },
        { "compressionMarks", wrongHand },
        { "nrPauseOK", pauseOK },
        { "nrPauseLong", pauseLong },
        { "averagePause", averagePause },
        { "longestPause", longest },
        { "nrCardiacOutputOK", output.ok },
        { "nrCardiacOutputLow", output.low },
        { "nrCardiacOutputHigh", output.high },
        { "groups", groups },
        { "nrVentilations", count(ventilations) },
        { "ventilationSeries", static_cast<int>(ventilations.size()) },
        { "nrVolumeOK", volume.ok },
        { "nrVolumeLow", volume.low },
        { "nrVolumeHigh", volume.high },
        { "nrStomachInflations", stomach },
        { "ventilationMarks", stomach },
        { "initialVentilations", initial },
        { "nrRatioCycles", cycles.cycles },
        { "nrRatioCorrect", cycles.correct },
        { "firstActivityTime", first < 0 ? -1 : first / demo::samplesPerSecond },
    };
}

Counts countsOf(const CommSession& s)
{
    const int compressionMarks = static_cast<int>(
        std::count_if(s.manData.begin(), s.manData.end(), [](const Measurement& m) { return m.compressionMark; }));
    const int ventilationMarks = static_cast<int>(
        std::count_if(s.manData.begin(), s.manData.end(), [](const Measurement& m) { return m.ventilationMark; }));
    return {
        { "nrCompressions", s.nrCompressions },
        { "nrCompGroups", s.getNrCompGroups() },
        { "nrDepthOK", s.nrDepthOK },
        { "nrDepthLow", s.nrDepthLow },
        { "nrDepthHigh", s.nrDepthHigh },
        { "compFreqOK", s.getCompFreqOK() },
        { "compFreqLow", s.getCompFreqLow() },
        { "compFreqHigh", s.getCompFreqHigh() },
        { "nrLeanings", s.nrLeanings },
        { "nrWrongHand", s.nrWrongHand },
        { "compressionMarks", compressionMarks },
        { "nrPauseOK", s.nrPauseOK },
        { "nrPauseLong", s.nrPauseLong },
        { "averagePause", s.averagePause },
        { "longestPause", s.longestPause },
        { "nrCardiacOutputOK", s.nrCardiacOutputOK },
        { "nrCardiacOutputLow", s.nrCardiacOutputLow },
        { "nrCardiacOutputHigh", s.nrCardiacOutputHigh },
        { "groups", static_cast<int>(s.groups.size()) },
        { "nrVentilations", s.nrVentilations },
        { "ventilationSeries", static_cast<int>(s.ventilationDetector.series.size()) },
        { "nrVolumeOK", s.nrVolumeOK },
        { "nrVolumeLow", s.nrVolumeLow },
        { "nrVolumeHigh", s.nrVolumeHigh },
        { "nrStomachInflations", s.nrStomachInflations },
        { "ventilationMarks", ventilationMarks },
        { "initialVentilations", s.initialVentilations },
        { "nrRatioCycles", s.nrRatioCycles },
        { "nrRatioCorrect", s.nrRatioCorrect },
        { "firstActivityTime", s.firstActivityTime },
    };
}

std::vector<Average> expectedAverages(const demo::Recording& r, const Judgement& j)
{
    const auto compressions = seriesOf(r.truth, EventKind::Compression);
    const auto ventilations = seriesOf(r.truth, EventKind::Ventilation);
    const int series = static_cast<int>(compressions.size());
    const int samples = r.truth.samples;
    // Depths and volumes: the generated tops (peak - 1, peak, peak - 1 and
    // peak - 2, peak, peak, peak, peak - 2) come out of the smoothing at their
    // full height and the conversion is the same multiplication, so only the
    // rounding of the sums remains.
    constexpr double rounding = 1e-9;

    double depthSum = 0, volumeSum = 0, spanSum = 0, outputSum = 0;
    double compressionTime = 0, cycleTime = 0;
    int lengthSum = 0, closed = 0, measured = 0;
    for (int k = 0; k < series; ++k) {
        const auto& c = compressions[k];
        for (const Event& e : c)
            depthSum += depthOf(e);
        spanSum += c.back().peak - c.front().peak;
        if (k + 1 == series)
            continue;
        ++closed;
        outputSum += cardiacOutputOf(c, j);
        lengthSum += compressions[k + 1].front().start - c.front().start;
        const Share share = shareOf(r, c);
        compressionTime += share.compressionTime;
        cycleTime += share.cycleTime;
        measured += share.measured;
    }
    for (const auto& v : ventilations)
        for (const Event& e : v)
            volumeSum += volumeOf(e);
    const int nc = count(compressions);
    const int nv = count(ventilations);

    // Rates and pauses are peak to peak, and every peak shows the same lag:
    // they come out as the trainee made them.
    const double compressionRate = spanSum > 0 ? (nc - series) * perMinute / spanSum : 0;
    const double ventilationRate = nv > 0 && samples > 1 ? nv * perMinute / (samples - 1) : 0;
    const double minuteVolume = nv > 0 && samples > 1 ? volumeSum * perMinute / (samples - 1) : 0;
    // The cardiac output is counted over the series' lengths from start to
    // start; a detected start may lie one sample before the trainee's (the
    // smoothing spreads a steep first rise to the sample before it), so each
    // length is known to one sample.
    const double output = lengthSum > 0 ? outputSum * perMinute / lengthSum : 0;
    const double outputTolerance = lengthSum > 0 ? output * closed / (lengthSum - closed) + rounding : rounding;
    // The compression share: a detected start may come a sample early (as
    // above) and the smoothing may end the compression phase one sample
    // sooner on a steep fall, so each measured cycle's compression time is
    // known to one sample, each series' cycle time too.
    const double share = cycleTime > 0 ? compressionTime / cycleTime : 0;
    const double shareTolerance = cycleTime > 0 ? (measured + closed) / (cycleTime - closed) : rounding;

    std::vector<Average> out {
        { "averageDepth", nc > 0 ? depthSum / nc : 0, rounding },
        { "averageVolume", nv > 0 ? volumeSum / nv : 0, rounding },
        { "compressionRate", compressionRate, rounding },
        { "ventilationRate", ventilationRate, rounding },
        { "minuteVolume", minuteVolume, rounding },
        { "averageCardiacOutput", output, outputTolerance },
        { "compRelaxRatio", share, shareTolerance },
    };
    // The compression:ventilation cycles are counts again, averaged.
    const RatioCycles cycles = ratioCycles(compressions, ventilations, samples, j);
    const double n = cycles.cycles;
    out.push_back({ "averageRatioCompressions", n > 0 ? cycles.compressions / n : 0, rounding });
    out.push_back({ "averageRatioVentilations", n > 0 ? cycles.ventilations / n : 0, rounding });
    return out;
}

double averageOf(const CommSession& s, const std::string& name)
{
    if (name == "averageDepth")
        return s.averageDepth;
    if (name == "averageVolume")
        return s.averageVolume;
    if (name == "compressionRate")
        return s.compressionRate;
    if (name == "ventilationRate")
        return s.ventilationRate;
    if (name == "minuteVolume")
        return s.ventilationDetector.getMinuteVolume();
    if (name == "averageCardiacOutput")
        return s.averageCardiacOutput;
    if (name == "compRelaxRatio")
        return s.compRelaxRatio;
    if (name == "averageRatioCompressions")
        return s.averageRatioCompressions;
    if (name == "averageRatioVentilations")
        return s.averageRatioVentilations;
    ADD_FAILURE() << "no average named " << name;
    return 0;
}

} // namespace e2e
