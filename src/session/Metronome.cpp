#include "session/Metronome.h"

std::uint32_t Metronome::interval(double ratePerMinute)
{
    if (!(ratePerMinute > 0.0))
        return 10000;
    const double ms = 60000.0 / ratePerMinute;
    return ms >= 4294967295.0 ? 4294967295u : static_cast<std::uint32_t>(ms);
}

bool Metronome::toggle(std::uint32_t now)
{
    on = !on;
    if (on)
        lastClick = now;
    return on;
}

bool Metronome::tick(std::uint32_t now, double ratePerMinute)
{
    if (!on)
        return false;
    if (static_cast<std::uint32_t>(now - lastClick) <= interval(ratePerMinute))
        return false;
    lastClick = now;
    return true;
}
