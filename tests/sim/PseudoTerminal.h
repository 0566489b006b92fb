#pragma once
#include <string>

namespace sim {

// The device end of a pseudo-terminal; the program opens the other end as a COM port.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool isOpen() const { return master >= 0; }
    int descriptor() const { return master; }
    // The path the program opens, e.g. /dev/pts/7.
    const std::string& devicePath() const { return slavePath; }

    // Links `folder`/COM<port> to the device, replacing an older link.
    bool linkAs(const std::string& folder, int port);
    // The baud rate the program set on its end; 0 when unknown.
    int programBaud() const;
    // Closes the device end: the program sees its line hang up, and the
    // port's link is removed.
    void close();

private:
    void removeLink();

    int master = -1;
    std::string slavePath;
    std::string linkPath;
};

} // namespace sim
