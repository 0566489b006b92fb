#pragma once
#include "platform/ModemLines.h"

#include <functional>
#include <map>
#include <mutex>
#include <string>

namespace sim {

// Modem lines of the simulated devices: each device sets its CTS here and
// sees what the program did with DTR and RTS. Devices not registered here
// fall back to the tty driver.
class SimModemLines : public platform::ModemLines {
public:
    struct Lines {
        bool cts = true;
        bool dtr = false;
        bool rts = false;
        int dtrRaised = 0; // times the program raised DTR
    };

    // The shared instance, installed as the process's modem lines.
    static SimModemLines& install();

    // `lineEmpty` tells whether the device has read all the program wrote;
    // waiting until bytes are sent waits for it.
    void registerDevice(const std::string& devicePath, bool cts, std::function<bool()> lineEmpty = {});
    void forget(const std::string& devicePath);
    void setCts(const std::string& devicePath, bool cts);
    Lines lines(const std::string& devicePath);

    bool readCts(int fd, const std::string& devicePath, bool& cts) override;
    bool setDtrRts(int fd, const std::string& devicePath, bool dtr, bool rts) override;
    // A pseudo-terminal hands bytes over at once: they count as sent once
    // the device has read them (at most two seconds are waited for).
    bool waitUntilSent(int fd, const std::string& devicePath) override;

private:
    std::mutex mutex;
    std::map<std::string, Lines> devices;
    std::map<std::string, std::function<bool()>> readers;
    platform::TermiosModemLines fallback;
};

} // namespace sim
