#pragma once
#include <cstdint>

namespace platform {

// Monotonic milliseconds and sleeps in one replaceable place, so that code
// with long waits can be tested without waiting.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint64_t tickCount() = 0;
    virtual void sleep(int milliseconds) = 0;
};

// The process clock: the steady system clock unless a test installed another.
Clock& clock();
// Installs a clock (not owned); nullptr restores the system clock.
void setClock(Clock* replacement);

inline std::uint64_t tickCount() { return clock().tickCount(); }
inline void sleepMs(int milliseconds) { clock().sleep(milliseconds); }

// A clock that only moves when told to, or when someone sleeps on it.
class ManualClock : public Clock {
public:
    std::uint64_t tickCount() override { return now; }
    void sleep(int milliseconds) override
    {
        if (milliseconds > 0)
            now += static_cast<std::uint64_t>(milliseconds);
    }
    void advance(std::uint64_t milliseconds) { now += milliseconds; }

    std::uint64_t now = 1000;
};

} // namespace platform
