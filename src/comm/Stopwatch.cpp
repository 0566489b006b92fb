#include "comm/Stopwatch.h"

#include "platform/Clock.h"

namespace {
std::int64_t now() { return static_cast<std::int64_t>(platform::tickCount()); }
} // namespace

Stopwatch::Stopwatch()
    : startTick(now())
    , pauseTick(startTick)
{
}

std::int64_t Stopwatch::elapsed() const
{
    if (running)
        return now() - startTick - pausedTotal;
    return frozen - pausedTotal;
}

void Stopwatch::pause()
{
    if (!running)
        return;
    pauseTick = now();
    frozen = pauseTick - startTick;
    running = false;
}

void Stopwatch::resume()
{
    if (running)
        return;
    pausedTotal += now() - pauseTick;
    running = true;
}

void Stopwatch::restart()
{
    startTick = now();
    pauseTick = startTick;
    frozen = 0;
    pausedTotal = 0;
}
