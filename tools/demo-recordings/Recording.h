#pragma once
// A simulated recording of a manikin interface of kind 1 (three one-byte
// channels at 20 samples per second) and its ground truth: what the trainee
// did, sample by sample, so that tests can compare what the measurement
// pipeline finds with what happened.
#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace demo {

constexpr int samplesPerSecond = 20;

// How the program converts a kind-1 value (above its zero) into units.
constexpr double mmPerUnit = 25.0 / 101.0;
constexpr double litresPerUnit = 1.0 / 112.0;
// Differences from the zero below this read as 0.
constexpr int measurableUnits = 8;

// Status bytes of the device: no flag, stomach inflation (A), wrong hand
// position (B), both.
constexpr int statusNone = 76;
constexpr int statusStomach = 12;
constexpr int statusWrongHand = 204;
constexpr int statusBoth = 140;
// Every status byte a recording may hold.
constexpr std::array<int, 8> validStatusBytes { 12, 28, 76, 92, 140, 156, 204, 220 };
bool isValidStatus(int status);

enum class EventKind { Compression, Ventilation, Pause };

// One compression, ventilation or pause between compression series.
//  - Compression and ventilation: start and end are the first and last samples
//    of the movement (for one that starts or ends at rest, the first and last
//    samples at least 8 units above the zero; for a compression that starts
//    or ends on a leaning level, the first sample above that level and the
//    last one before it), peak the sample of the greatest value (the middle
//    of its top), units that greatest value above the zero and size the same
//    in mm or litres.
//  - Pause: from the last peak of the previous compression series (start) to
//    the first peak of the next (end); series is the number of that next
//    series; size in seconds; no peak and no units.
struct Event {
    EventKind kind = EventKind::Compression;
    int series = 0; // compression or ventilation series, counted from 0
    int start = 0;
    int peak = -1;
    int end = 0;
    int units = 0;
    double size = 0;
    bool stomachInflation = false; // A: the status carries it over the breath
    bool wrongHand = false;        // B: the status carries it over the compression
    bool leaning = false;          // L: the chest was not released before the next compression
};

struct GroundTruth {
    std::string title;
    // Compression, ventilation and status resource ids of a demonstration
    // set; none for other recordings.
    std::optional<std::array<int, 3>> resources;
    int samples = 0;
    int zeroCompression = 0;
    int zeroVentilation = 0;
    std::vector<Event> events;

    std::vector<Event> ofKind(EventKind kind) const;
};

struct Recording {
    GroundTruth truth;
    std::vector<std::uint8_t> compression;
    std::vector<std::uint8_t> ventilation;
    std::vector<std::uint8_t> status;
};

// The ground truth as text: "#" comment lines (title, resources, samples,
// zero levels, a summary), then a CSV table with the header
// "kind,series,start,peak,end,units,size,flags".
void writeGroundTruth(std::ostream& out, const GroundTruth& truth);
// Reads what writeGroundTruth wrote; false with a reason on malformed text.
bool readGroundTruth(std::istream& in, GroundTruth& truth, std::string* error = nullptr);

const char* kindName(EventKind kind);

} // namespace demo
