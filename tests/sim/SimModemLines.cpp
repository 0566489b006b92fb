#include "sim/SimModemLines.h"

#include <chrono>
#include <poll.h>
#include <thread>

namespace sim {

SimModemLines& SimModemLines::install()
{
    static SimModemLines lines;
    platform::setModemLines(&lines);
    return lines;
}

void SimModemLines::registerDevice(const std::string& devicePath, bool cts, std::function<bool()> lineEmpty)
{
    std::lock_guard lock(mutex);
    devices[devicePath] = Lines { cts, false, false, 0 };
    if (lineEmpty)
        readers[devicePath] = std::move(lineEmpty);
    else
        readers.erase(devicePath);
}

void SimModemLines::forget(const std::string& devicePath)
{
    std::lock_guard lock(mutex);
    devices.erase(devicePath);
    readers.erase(devicePath);
}

bool SimModemLines::waitUntilSent(int fd, const std::string& devicePath)
{
    bool sent = ModemLines::waitUntilSent(fd, devicePath);
    // Held while waiting, so that the device is not forgotten (and gone) meanwhile.
    std::lock_guard lock(mutex);
    auto it = readers.find(devicePath);
    if (it == readers.end())
        return sent;
    for (int i = 0; i < 2000 && !it->second(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return sent;
}

void SimModemLines::setCts(const std::string& devicePath, bool cts)
{
    std::lock_guard lock(mutex);
    devices[devicePath].cts = cts;
}

SimModemLines::Lines SimModemLines::lines(const std::string& devicePath)
{
    std::lock_guard lock(mutex);
    auto it = devices.find(devicePath);
    return it == devices.end() ? Lines {} : it->second;
}

bool SimModemLines::readCts(int fd, const std::string& devicePath, bool& cts)
{
    {
        std::lock_guard lock(mutex);
        auto it = devices.find(devicePath);
        if (it != devices.end()) {
            pollfd p { fd, POLLIN, 0 };
            if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)))
                return false;
            cts = it->second.cts;
            return true;
        }
    }
    return fallback.readCts(fd, devicePath, cts);
}

bool SimModemLines::setDtrRts(int fd, const std::string& devicePath, bool dtr, bool rts)
{
    {
        std::lock_guard lock(mutex);
        auto it = devices.find(devicePath);
        if (it != devices.end()) {
            if (dtr && !it->second.dtr)
                ++it->second.dtrRaised;
            it->second.dtr = dtr;
            it->second.rts = rts;
            return true;
        }
    }
    return fallback.setDtrRts(fd, devicePath, dtr, rts);
}

} // namespace sim
