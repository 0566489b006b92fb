#include "Trainee.h"

#include <algorithm>
#include <cmath>

namespace demo {

namespace {

// An S-shaped step from 0 to 1 over x in 0..1 (x^2 (3 - 2x)), close to a
// squared sine but exact in plain arithmetic.
double smoothStep(double x) { return x * x * (3.0 - 2.0 * x); }

int round(double value) { return static_cast<int>(std::lround(value)); }

int mmToUnits(double mm) { return round(mm * 101.0 / 25.0); }
int litresToUnits(double litres) { return round(litres * 112.0); }

// Samples at the release level at the end of a compression: enough for the
// program to see the chest come back before the next compression.
int releaseSamples(int period)
{
    if (period <= 10)
        return 2;
    if (period <= 13)
        return 3;
    return period - 10; // a slow trainee waits longer, not pushes slower
}

constexpr int minimumPeriod = 7;
constexpr int minimumGap = 4;

} // namespace

Random::Random(std::uint64_t seed)
    : state(seed)
{
}

std::uint32_t Random::next()
{
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state >> 32);
}

int Random::below(int n)
{
    if (n <= 0)
        return 0;
    return static_cast<int>((static_cast<std::uint64_t>(next()) * static_cast<std::uint64_t>(n)) >> 32);
}

double Random::between(double low, double high) { return low + (high - low) * (next() / 4294967296.0); }

Trainee::Trainee(int zeroCompression, int zeroVentilation, std::uint64_t seed)
    : zeroCompression(std::clamp(zeroCompression, 0, 200))
    , zeroVentilation(std::clamp(zeroVentilation, 0, 200))
    , rng(seed)
{
}

int Trainee::restValue(int zero)
{
    // The very first sample is the zero itself: a demonstration port takes
    // its zero levels from sample 0.
    if (compression.empty())
        return zero;
    return std::min(255, zero + rng.below(4));
}

void Trainee::push(int compressionUnits, int ventilationUnits, int statusByte)
{
    int c = compressionUnits >= measurableUnits ? zeroCompression + compressionUnits : restValue(zeroCompression);
    int v = ventilationUnits >= measurableUnits ? zeroVentilation + ventilationUnits : restValue(zeroVentilation);
    compression.push_back(static_cast<std::uint8_t>(std::min(c, 255)));
    ventilation.push_back(static_cast<std::uint8_t>(std::min(v, 255)));
    status.push_back(static_cast<std::uint8_t>(statusByte));
}

void Trainee::rest(int samples)
{
    for (int i = 0; i < samples; ++i)
        push(0, 0, statusNone);
}

int Trainee::duration(const std::vector<Stroke>& strokes)
{
    int total = 0;
    for (const Stroke& s : strokes)
        total += std::max(s.period, minimumPeriod);
    return total;
}

int Trainee::duration(const std::vector<Breath>& breaths, int gap)
{
    int total = 0;
    for (const Breath& b : breaths)
        total += std::max(b.rise, 1) + 5 + std::max(b.fall, 1);
    if (!breaths.empty())
        total += std::max(gap, minimumGap) * static_cast<int>(breaths.size() - 1);
    return total;
}

void Trainee::compressions(const std::vector<Stroke>& strokes)
{
    if (strokes.empty())
        return;
    int level = 0; // where this compression starts: the previous one's release level
    for (std::size_t k = 0; k < strokes.size(); ++k) {
        const Stroke& s = strokes[k];
        int period = std::max(s.period, minimumPeriod);
        int peak = std::clamp(mmToUnits(s.depthMm), 2 * measurableUnits, 255 - zeroCompression);
        bool last = k + 1 == strokes.size();
        int release = last ? 0 : mmToUnits(s.releaseMm);
        if (release < measurableUnits)
            release = 0;
        release = std::min(release, peak / 2);

        int hold = releaseSamples(period);
        int pulse = period - hold;
        int rise = (pulse - 3 + 1) / 2;
        int fall = pulse - 3 - rise;

        std::vector<int> shape;
        for (int j = 1; j <= rise; ++j)
            shape.push_back(std::min(peak - 2, level + round((peak - level) * smoothStep(j / (rise + 1.0)))));
        shape.push_back(peak - 1);
        shape.push_back(peak);
        shape.push_back(peak - 1);
        for (int j = 1; j <= fall; ++j)
            shape.push_back(
                std::min(peak - 2, release + round((peak - release) * (1.0 - smoothStep(j / (fall + 1.0))))));
        for (int j = 0; j < hold; ++j)
            shape.push_back(release);

        const int first = position();
        const int statusByte = s.wrongHand ? statusWrongHand : statusNone;
        Event e;
        e.kind = EventKind::Compression;
        e.series = compressionSeries;
        e.start = -1;
        e.peak = first + rise + 1;
        e.units = peak;
        e.size = peak * mmPerUnit;
        e.wrongHand = s.wrongHand;
        e.leaning = release * mmPerUnit > 5.0;
        for (int j = 0; j < static_cast<int>(shape.size()); ++j) {
            int value = shape[j];
            bool moving = value >= measurableUnits && (j <= rise + 1 ? value > level : value > release);
            if (moving) {
                if (e.start < 0)
                    e.start = first + j;
                e.end = first + j;
            }
            push(value, 0, statusByte);
        }
        events.push_back(e);
        level = release;
    }
    ++compressionSeries;
}

void Trainee::ventilations(const std::vector<Breath>& breaths, int gap)
{
    if (breaths.empty())
        return;
    gap = std::max(gap, minimumGap);
    for (std::size_t k = 0; k < breaths.size(); ++k) {
        if (k > 0)
            rest(gap);
        const Breath& b = breaths[k];
        int rise = std::max(b.rise, 1);
        int fall = std::max(b.fall, 1);
        int peak = std::clamp(litresToUnits(b.volumeL), 2 * measurableUnits, 255 - zeroVentilation);

        std::vector<int> shape;
        for (int j = 1; j <= rise; ++j)
            shape.push_back(std::min(peak - 3, round(peak * smoothStep(j / (rise + 1.0)))));
        shape.insert(shape.end(), { peak - 2, peak, peak, peak, peak - 2 });
        for (int j = 1; j <= fall; ++j)
            shape.push_back(std::min(peak - 3, round(peak * (1.0 - smoothStep(j / (fall + 1.0))))));

        const int first = position();
        const int statusByte = b.stomachInflation ? statusStomach : statusNone;
        Event e;
        e.kind = EventKind::Ventilation;
        e.series = ventilationSeries;
        e.start = -1;
        e.peak = first + rise + 2;
        e.units = peak;
        e.size = peak * litresPerUnit;
        e.stomachInflation = b.stomachInflation;
        for (int j = 0; j < static_cast<int>(shape.size()); ++j) {
            if (shape[j] >= measurableUnits) {
                if (e.start < 0)
                    e.start = first + j;
                e.end = first + j;
            }
            push(0, shape[j], statusByte);
        }
        events.push_back(e);
    }
    ++ventilationSeries;
}

Recording Trainee::finish(const std::string& title, int length)
{
    if (position() < length)
        rest(length - position());

    Recording r;
    r.compression = compression;
    r.ventilation = ventilation;
    r.status = status;
    GroundTruth& t = r.truth;
    t.title = title;
    t.samples = position();
    t.zeroCompression = zeroCompression;
    t.zeroVentilation = zeroVentilation;
    t.events = events;

    const Event* previous = nullptr;
    std::vector<Event> pauses;
    for (const Event& e : events) {
        if (e.kind != EventKind::Compression)
            continue;
        if (previous && previous->series != e.series) {
            Event p;
            p.kind = EventKind::Pause;
            p.series = e.series;
            p.start = previous->peak;
            p.end = e.peak;
            p.size = (e.peak - previous->peak) / static_cast<double>(samplesPerSecond);
            pauses.push_back(p);
        }
        previous = &e;
    }
    t.events.insert(t.events.end(), pauses.begin(), pauses.end());
    std::stable_sort(t.events.begin(), t.events.end(),
                     [](const Event& a, const Event& b) { return a.start < b.start; });
    return r;
}

} // namespace demo
