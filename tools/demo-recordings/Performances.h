#pragma once
// Whole performances: the three demonstration recordings the program plays on
// its demonstration ports, and recordings made to order for tests.
#include "Recording.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace demo {

// Every recording of a demonstration set holds this many samples per channel.
constexpr int demoSetSamples = 1275;
constexpr int demoSetCount = 3;

// The compression, ventilation and status resource ids of a set. A port plays
// set (port number modulo 3), so the first demonstration port, 247, plays set 1.
std::array<int, 3> demoSetResources(int set);

// Set 1: good CPR, 30:2. Set 2: mistakes of the hands (too fast and shallow,
// leaning, wrong hand position, too deep). Set 0: mistakes of the breaths
// and the rhythm (stomach inflation, too much and too little air, long
// pauses, too slow). Every set closes its first compression series (which
// gives the compression share) well within 30 seconds, so that a session of
// any length the user may choose shows what the set is made to show.
Recording demoSet(int set);

enum class Mistake {
    Shallow,          // compressions of 30 to 36 mm
    TooDeep,          // compressions of 54 to 58 mm
    TooFast,          // a series at about 133 per minute (TooSlow wins when both are asked)
    TooSlow,          // a series at 80 per minute
    Leaning,          // the chest is not released (about 10 mm left) between compressions
    WrongHand,        // status B over compressions
    StomachInflation, // status A over the first breath of a pair
    SmallBreath,      // the second breath of a pair is 0.3 L
    LargeBreath,      // the first breath of a pair is 0.85 L
    LongPause,        // 12 s more between the breaths and the next series
};

const std::vector<Mistake>& allMistakes();
const char* mistakeName(Mistake m);
std::optional<Mistake> mistakeFromName(const std::string& name);

// A 30:2 performance: rest, two initial breaths, then cycles of 30
// compressions and two breaths for as long as they fit in length samples
// (the last series is cut short when it does not fit whole), then rest.
// Cycles count from 0; the mistakes are made in the odd-numbered cycles only
// (the compressions 11 to 20 of the series for the mistakes of a single
// compression, the whole series for the rate, the breaths of the cycle for
// the breath mistakes, the pause after the cycle's breaths), so that every
// recording also shows the good performance next to them.
struct PerformanceOptions {
    int length = demoSetSamples;
    std::uint64_t seed = 1;
    int zeroCompression = 16;
    int zeroVentilation = 24;
    std::vector<Mistake> mistakes;
};

Recording perform(const PerformanceOptions& options);

// Writes channel files and the ground truth: for a demonstration set
// "<id>.bin" for each of its three resources and "set<n>.csv"; for any
// recording "<name>.compression.bin", "<name>.ventilation.bin",
// "<name>.status.bin" and "<name>.csv". False when a file cannot be written.
bool writeDemoSets(const std::string& folder, std::string* error = nullptr);
bool writeRecording(const Recording& recording, const std::string& folder, const std::string& name,
                    std::string* error = nullptr);

} // namespace demo
