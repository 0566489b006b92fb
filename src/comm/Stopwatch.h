#pragma once
#include <cstdint>

// Elapsed milliseconds of the process clock, with pause and resume.
// A new stopwatch stands still at zero until started.
class Stopwatch {
public:
    Stopwatch();

    std::int64_t elapsed() const;
    bool isRunning() const { return running; }

    // Starts a stopped stopwatch; the same as resume.
    void start() { resume(); }
    void pause();
    void resume();
    // Back to zero, keeping the running state.
    void restart();

private:
    std::int64_t startTick;
    std::int64_t pauseTick;
    std::int64_t frozen = 0;
    std::int64_t pausedTotal = 0;
    bool running = false;
};
