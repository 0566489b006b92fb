#pragma once
#include <string>

namespace platform {

// The modem control lines of an open serial device. Replaceable, because a
// pseudo-terminal has none and tests need to pull CTS like a cable would.
class ModemLines {
public:
    virtual ~ModemLines() = default;
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
