#pragma once
// Plays recordings through the acquisition and the measurement of a session,
// the way the program does on a demonstration port.
#include "Recording.h"
#include "comm/CollectedData.h"
#include "comm/Comm.h"
#include "comm/CommSession.h"
#include "comm/SerialPort.h"
#include "e2e/Truth.h"

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// The demonstration set `set` as the program has it: its channels from the
// registered "BIN" resources, its ground truth from the committed file.
demo::Recording committedDemoSet(int set);

// A recording's channels registered as the "BIN" resources firstId to
// firstId + 2 (compression, ventilation, status) while this object lives.
class RegisteredRecording {
public:
    RegisteredRecording(demo::Recording recording, int firstId);
    ~RegisteredRecording();
    RegisteredRecording(const RegisteredRecording&) = delete;
    RegisteredRecording& operator=(const RegisteredRecording&) = delete;

    const demo::Recording& recording() const { return held; }
    std::array<int, 3> resources() const { return { first, first + 1, first + 2 }; }

private:
    demo::Recording held;
    int first;
};

// One session on a demonstration port, in demonstration mode: the port plays
// the set built from the three resources, is calibrated, and every tick the
// acquisition appends one sample that the session processes at once.
class DemoPortSession {
public:
    DemoPortSession(int port, const std::array<int, 3>& resources, const Judgement& judgement);
    ~DemoPortSession();
    DemoPortSession(const DemoPortSession&) = delete;
    DemoPortSession& operator=(const DemoPortSession&) = delete;

    // Runs `ticks` timer ticks, then computes the statistics.
    void play(int ticks);

    int openResult = 0;
    int calibration = 0;
    SerialPort serial;
    Comm comm { &serial };
    CommSession session;

private:
    int setNumber;
    CollectedData compression, ventilation, status;
    DemoSet set;
    Algorithm algorithm;
};

// The compressions and ventilations a session found, in order, each with the
// number of its series.
struct Found {
    std::vector<std::pair<int, CompressionCycle>> compressions;
    std::vector<std::pair<int, VentilationRecord>> ventilations;
};
Found foundIn(const CommSession& session);

} // namespace e2e
