#pragma once
#include <string>

namespace platform {

// The modem control lines of an open serial device, and the wait for
// written bytes to leave it. Replaceable, because a pseudo-terminal has no
// lines and hands written bytes over at once, and tests need to pull CTS
// like a cable would and hold bytes on the line like a slow device.
class ModemLines {
public:
    virtual ~ModemLines() = default;
    // Waits until every byte written to the device has been sent; false
    // when that cannot be waited for.
    virtual bool waitUntilSent(int fd, const std::string& devicePath);
    // Reads clear-to-send; false when the status cannot be read.
    virtual bool readCts(int fd, const std::string& devicePath, bool& cts) = 0;
    // Raises or lowers DTR and RTS; false when the lines cannot be set.
    virtual bool setDtrRts(int fd, const std::string& devicePath, bool dtr, bool rts) = 0;
};

// The lines through the tty driver. A device without modem lines (a
// pseudo-terminal) counts as asserting CTS while it is connected, and setting
// its lines does nothing.
class TermiosModemLines : public ModemLines {
public:
    bool readCts(int fd, const std::string& devicePath, bool& cts) override;
    bool setDtrRts(int fd, const std::string& devicePath, bool dtr, bool rts) override;
};

ModemLines& modemLines();
// Installs replacement lines (not owned); nullptr restores the tty driver's.
void setModemLines(ModemLines* replacement);

} // namespace platform
