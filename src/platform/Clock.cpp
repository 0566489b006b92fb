#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace platform {
namespace {

class SystemClock : public Clock {
public:
    std::uint64_t tickCount() override
    {
        using namespace std::chrono;
        return static_cast<std::uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void sleep(int milliseconds) override
    {
        if (milliseconds > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

SystemClock systemClock;
Clock* current = &systemClock;

} // namespace

Clock& clock() { return *current; }

void setClock(Clock* replacement) { current = replacement ? replacement : &systemClock; }

} // namespace platform
