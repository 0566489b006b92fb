#pragma once
// What the statistics of a session must be, worked out from the ground truth
// of its recording (what the simulated trainee did), independently of the
// measurement chain.
#include "Database/Algorithm.h"
#include "Recording.h"
#include "comm/MeasurementSettings.h"

#include <string>
#include <utility>
#include <vector>

class CommSession;

namespace e2e {

// How many samples after the trainee's movement the chain shows its peak. The
// compression smoothing (5, 10, 5) is centred one sample back; the ventilation
// smoothing (2, 5, 10, 5, 2, 0) three samples back. The tops of the generated
// movements are symmetric, so the smoothed maximum sits exactly there.
constexpr int compressionLag = 1;
constexpr int ventilationLag = 3;

// The built-in guideline of 2005: depth 40 to 50 mm, 90 to 110 per minute,
// 0.5 to 0.6 L, 30:2 for one and for two rescuers.
Algorithm guideline2005();

// How a session is judged.
struct Judgement {
    Algorithm algorithm = guideline2005();
    MeasurementSettings settings;
    int trainingMode = 0; // 0 single-person or 1 two-person: every figure is computed
};

// The recording played `times` times in a row, as a demonstration port plays
// it: the channels repeat, the events of each copy follow those of the one
// before with their series counted on, and a pause joins the last compression
// series of one copy to the first of the next.
demo::Recording looped(const demo::Recording& recording, int times);

// A session of `length` samples that begins `start` samples into the
// recording played in a loop (the chest and the lungs at rest on the first
// restAtStart samples, as at the start of every demonstration set). Its first sample is the exact zero level, which a
// demonstration port takes as its calibration (any rest sample reads as 0).
// Its ground truth holds the movements the chain has finished with before the
// session ends, the series counted from 0 and the pauses between them; a
// movement the chain may or may not finish by then (its end a sample or two
// before the session's) is reported through `undecided`.
constexpr int restAtStart = 6;
demo::Recording window(const demo::Recording& once, int start, int length, std::string* undecided);

// The events of one kind grouped by their series, in order.
std::vector<std::vector<demo::Event>> seriesOf(const demo::GroundTruth& truth, demo::EventKind kind);

// The last sample of a compression's compression phase: from its peak on, the
// samples that stay within 5 mm of the peak depth (the detector's hysteresis),
// measured on the recorded channel.
int compressionPhaseEnd(const demo::Recording& recording, const demo::Event& compression);

// The cardiac output of a compression series (litres): the compressions in
// the correct depth range that were released, wrong-hand ones counting less.
double cardiacOutputOf(const std::vector<demo::Event>& series, const Judgement& judgement);

// The measured cycles of a closed series (all but its last): the samples of
// their compression phases (from the start to the end of the phase) and of
// the cycles (from the start to the next start).
struct Share {
    int compressionTime = 0;
    int cycleTime = 0;
    int measured = 0;
};
Share shareOf(const demo::Recording& recording, const std::vector<demo::Event>& series);

// Figures that must come out exactly, by name.
using Counts = std::vector<std::pair<std::string, int>>;
// A class that hangs on a detail the chain may shift by a sample (a cardiac
// output within that much of a limit) is reported through `undecided` when
// given, else as a test failure.
Counts expectedCounts(const demo::Recording& recording, const Judgement& judgement,
                      std::string* undecided = nullptr);
Counts countsOf(const CommSession& session);

// An average with the deviation the measurement chain may show from it.
struct Average {
    std::string name;
    double expected = 0;
    double tolerance = 0;
};
std::vector<Average> expectedAverages(const demo::Recording& recording, const Judgement& judgement);
double averageOf(const CommSession& session, const std::string& name);

} // namespace e2e
