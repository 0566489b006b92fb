#pragma once
// The metronome's timing: the main frame asks it on every 50 ms tick whether
// a click is due. Times are milliseconds of a 32-bit tick counter.
#include <cstdint>

class Metronome {
public:
    // Milliseconds between clicks at `ratePerMinute`; 10 s for a rate of 0 or below.
    static std::uint32_t interval(double ratePerMinute);

    bool isOn() const { return on; }

    // Switches on or off; true when a click is to be played now (switching on).
    bool toggle(std::uint32_t now);

    // Whether a click is due at `now`; when it is, `now` becomes the last click.
    // The time since the last click is taken modulo 2^32, so the counter
    // wrapping after 49.7 days does not make it click on every tick.
    bool tick(std::uint32_t now, double ratePerMinute);

private:
    std::uint32_t lastClick = 0;
    bool on = false;
};
