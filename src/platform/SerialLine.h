#pragma once
#include <cstddef>
#include <string>

namespace platform {

// Line settings as the serial port code sees them.
struct LineState {
    int baudRate = 9600;
    bool dtr = false;
    bool rts = false;
};

// One COM port on a tty device: raw 8N1, zero-wait reads, bounded writes.
// Port n is the device that "COMn" in the ports folder links to, else /dev/ttyS<n-1>
// (the folder of that fallback is $TAVO_TTY_DIR when set).
class SerialLine {
public:
    enum class OpenResult { Opened, NotFound, Unavailable };

    SerialLine() = default;
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;
    ~SerialLine();

    // $TAVO_PORTS_DIR, else $XDG_CONFIG_HOME/tavo/ports, else ~/.config/tavo/ports.
    static std::string portsFolder();
    // The device of port 1 to 256; empty for other numbers.
    static std::string devicePath(int portNumber);

    // Opens the port exclusively: a port held by another program (or by
    // another open in this one) is Unavailable, a missing device NotFound.
    OpenResult open(int portNumber);
    // Opens the same port again, after its device vanished and came back.
    OpenResult reopen();
    bool isValid() const { return fd >= 0; }
    // True when the handle was closed; it is invalid afterwards in any case.
    bool close();

    bool getState(LineState& state) const;
    // Raw 8 data bits, no parity, one stop bit, no flow control, at the given
    // baud rate, with DTR and RTS as given. Bytes written before go out under
    // the old settings first.
    bool setState(const LineState& state);
    bool readCts(bool& cts) const;
    // Waits until the bytes written so far have left the line.
    bool drainOutput();
    // Drops every received byte the system holds for the port.
    bool discardInput();

    // Bytes read (> 0), 0 when nothing is waiting, -1 when the read failed or
    // the device has gone (hang-up).
    int readSome(unsigned char* buffer, std::size_t capacity);
    // Writes every byte, waiting at most `waits` times `waitMs` for room.
    bool writeAll(const unsigned char* data, std::size_t size, int waits, int waitMs);
    // The device hung up (unplugged, or the other end of a pseudo-terminal closed).
    bool hungUp() const;

    const std::string& path() const { return devicePathName; }
    int descriptor() const { return fd; }

private:
    int fd = -1;
    int port = -1;
    std::string devicePathName;
    bool lastDtr = false;
    bool lastRts = false;
};

} // namespace platform
