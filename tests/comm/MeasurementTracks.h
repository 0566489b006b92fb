#pragma once
// Small waveform builders for the measurement tests: measurement tracks fed
// straight to a session's detectors, and raw tracks for the whole pipeline.
#include "Utillib/Signal.h"
#include "comm/Comm.h"
#include "comm/CommSession.h"
#include "comm/Measurement.h"

#include <cmath>
#include <initializer_list>
#include <vector>

namespace tracks {

// A run of measurements built stroke by stroke and breath by breath.
class Track {
public:
    Track& rest(int samples)
    {
        for (int i = 0; i < samples; ++i)
            samples_.push_back({});
        return *this;
    }
    Track& depths(std::initializer_list<double> values, bool wrongHand = false)
    {
        for (double d : values) {
            Measurement m;
            m.depth = d;
            m.flagB = wrongHand;
            samples_.push_back(m);
        }
        return *this;
    }
    Track& volumes(std::initializer_list<double> values, bool inflation = false)
    {
        for (double v : values) {
            Measurement m;
            m.volume = v;
            m.flagA = inflation;
            samples_.push_back(m);
        }
        return *this;
    }
    // `count` strokes of `period` samples each: rest, half, full depth for
    // `hold` samples, half, then rest for the remainder. The peak of stroke k
    // lies at the stroke's start + 2, its compression phase ends at + 1 + hold.
    Track& strokes(int count, double depth, int period = 12, int hold = 1, bool wrongHand = false)
    {
        for (int k = 0; k < count; ++k) {
            depths({ 0, depth / 2 });
            for (int h = 0; h < hold; ++h)
                depths({ depth }, wrongHand);
            depths({ depth / 2 });
            rest(period - 3 - hold);
        }
        return *this;
    }
    // One breath: a straight rise to `volume` over `rise` samples and a straight fall to 0 over `fall`.
    Track& breath(double volume, int rise = 12, int fall = 10, bool inflation = false)
    {
        for (int i = 1; i <= rise; ++i)
            volumes({ volume * i / rise }, inflation);
        for (int i = fall - 1; i >= 0; --i)
            volumes({ volume * i / fall }, inflation);
        return *this;
    }
    int size() const { return static_cast<int>(samples_.size()); }
    const std::vector<Measurement>& samples() const { return samples_; }

private:
    std::vector<Measurement> samples_;
};

// What `process` does with each measurement: both detectors, then the append.
inline void feed(CommSession& session, const std::vector<Measurement>& samples)
{
    for (const Measurement& m : samples) {
        const int index = static_cast<int>(session.manData.size());
        session.compressionDetector.step(m, index);
        session.ventilationDetector.step(m, index);
        session.manData.push_back(m);
    }
}

// Raw samples in the units of a manikin interface of kind 1 (zero 0, no flags: status 76).
class RawTrack {
public:
    RawTrack& rest(int samples, int status = 76)
    {
        for (int i = 0; i < samples; ++i)
            samples_.push_back({ 0, 0, status });
        return *this;
    }
    // Raised-sine strokes with `rest` samples at zero between them.
    RawTrack& strokes(int count, int peak, int width = 8, int restSamples = 4, int status = 76)
    {
        for (int k = 0; k < count; ++k) {
            for (int i = 1; i <= width; ++i) {
                const double s = std::sin(3.141592653589793 * i / (width + 1));
                samples_.push_back({ static_cast<int>(peak * s * s), 0, status });
            }
            rest(restSamples);
        }
        return *this;
    }
    RawTrack& breath(int peak, int rise = 14, int fall = 12, int status = 76)
    {
        for (int i = 1; i <= rise; ++i)
            samples_.push_back({ 0, peak * i / rise, status });
        for (int i = fall - 1; i >= 0; --i)
            samples_.push_back({ 0, peak * i / fall, status });
        return *this;
    }
    const std::vector<RawSample>& samples() const { return samples_; }

private:
    std::vector<RawSample> samples_;
};

// Records the indexes each signal of a session carries.
class SignalLog : public SignalReceiver {
public:
    explicit SignalLog(CommSession& session)
    {
        session.compressionMarked.connect(this, &SignalLog::onCompression);
        session.ventilationMarked.connect(this, &SignalLog::onVentilation);
        session.groupAdded.connect(this, &SignalLog::onGroup);
    }
    void onCompression(int index) { compressions.push_back(index); }
    void onVentilation(int index) { ventilations.push_back(index); }
    void onGroup(int index) { groups.push_back(index); }

    std::vector<int> compressions;
    std::vector<int> ventilations;
    std::vector<int> groups;
};

} // namespace tracks
