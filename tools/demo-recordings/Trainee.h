#pragma once
// Builds a recording movement by movement, the way a trainee works on the
// manikin, and writes down the ground truth as it goes.
//
// The shapes follow what the measurement pipeline needs to see a movement as
// one compression or one ventilation:
//  - a compression is a smooth rise, a top of three samples (peak - 1, peak,
//    peak - 1), a smooth fall, and at least two samples back at the release
//    level; the 5-10-5 smoothing of the program then keeps the peak height;
//  - a ventilation is a smooth rise, a top of five samples (peak - 2, peak,
//    peak, peak, peak - 2), a smooth fall back to rest; again the smoothing
//    keeps the peak;
//  - rest is the zero level plus a jitter of 0 to 3 units, which reads as 0;
//  - the other channel stays at rest, and the status returns to "no flag"
//    between movements that carry a flag.
// Only plain arithmetic is used (no library sine), so the bytes are the same
// on every machine.
#include "Recording.h"

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

// A small deterministic generator (64-bit linear congruential, high bits).
class Random {
public:
    explicit Random(std::uint64_t seed);
    std::uint32_t next();
    int below(int n);                     // 0 .. n - 1
    double between(double low, double high); // low .. high

private:
    std::uint64_t state;
};

struct Stroke {
    int period = 11;          // samples from this compression's start to the next one's
    double depthMm = 45;      // greatest depth
    double releaseMm = 0;     // depth the chest comes back to before the next compression; above 5 mm is leaning
    bool wrongHand = false;   // status 204 over the whole compression
};

struct Breath {
    double volumeL = 0.55;          // greatest volume
    int rise = 12;                  // samples of the rise to the top
    int fall = 13;                  // samples of the fall back to rest
    bool stomachInflation = false;  // status 12 over the whole breath
};

class Trainee {
public:
    Trainee(int zeroCompression, int zeroVentilation, std::uint64_t seed);

    int position() const { return static_cast<int>(compression.size()); }
    Random& random() { return rng; }

    void rest(int samples);
    // One series of compressions. The last one is always released to rest.
    void compressions(const std::vector<Stroke>& strokes);
    // One series of ventilations with gap samples of rest between them (at
    // least 4, or the program's dropout repair would join two breaths).
    void ventilations(const std::vector<Breath>& breaths, int gap);

    // Samples one series of compressions takes.
    static int duration(const std::vector<Stroke>& strokes);
    static int duration(const std::vector<Breath>& breaths, int gap);

    // The recording, padded with rest to length samples; the pauses between
    // compression series are added to the ground truth here.
    Recording finish(const std::string& title, int length);

private:
    // Appends one sample; units are above the zero, and values that would
    // read as 0 become rest with its jitter.
    void push(int compressionUnits, int ventilationUnits, int statusByte);
    int restValue(int zero);

    int zeroCompression;
    int zeroVentilation;
    Random rng;
    std::vector<std::uint8_t> compression;
    std::vector<std::uint8_t> ventilation;
    std::vector<std::uint8_t> status;
    std::vector<Event> events;
    int compressionSeries = 0;
    int ventilationSeries = 0;
};

} // namespace demo
