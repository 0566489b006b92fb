#pragma once
// The CPR Controller's request/answer protocol. The program always asks and
// the unit answers: a write request is acknowledged, a read request is
// acknowledged and then answered with the bytes. Frames start with 0x55 and
// end with the sum of their earlier bytes modulo 256.
#include "CPB/CPBAdr.h"

#include <cstdint>
#include <functional>
#include <vector>

class SerialPort;

using ByteVector = std::vector<std::uint8_t>;

// The most data bytes one request carries or asks for, and the page that no
// request crosses.
inline constexpr int MAXDATA = 16;
inline constexpr int PAGE_SIZE = 64;

enum PackageResult {
    PACKAGE_NONE = 0,         // no 0x55 among the bytes looked at (they were dropped)
    PACKAGE_WRONG = 1,        // unknown code, a NAK, or not the frame expected
    PACKAGE_WRONG_ADDRESS = 2,
    PACKAGE_WRONG_LENGTH = 3,
    PACKAGE_INCOMPLETE = 4,   // more bytes needed, or a frame of another size
    PACKAGE_BAD_SUM = 5,
    PACKAGE_OK = 7,
};

namespace cpb {
constexpr std::uint8_t FRAME_START = 0x55;
constexpr std::uint8_t CMD_WRITE = 0x01;
constexpr std::uint8_t CMD_READ = 0x02;
constexpr std::uint8_t CODE_NAK = 0x05;
constexpr std::uint8_t CODE_ACK = 0x06;
// The longest length byte a read reply may carry.
constexpr int MAX_REPLY_LENGTH = 20;

std::uint8_t checksum(const std::uint8_t* bytes, std::size_t n);
// The request frames as they go on the wire.
ByteVector writeRequest(CPBAdr adr, const ByteVector& data);
ByteVector readRequest(CPBAdr adr, int length);
} // namespace cpb

// One request to send.
class SendPackage {
public:
    // A write request (command 1) with its data.
    SendPackage(SerialPort& port, CPBAdr adr, ByteVector data);
    // A read request (command 2) for `length` bytes.
    SendPackage(SerialPort& port, CPBAdr adr, int length);

    ByteVector frame() const;
    // Builds the frame and writes it; the result is that of the write.
    bool send() const;

private:
    SerialPort& port;
    std::uint8_t command;
    CPBAdr adr;
    ByteVector data;
    int length;
};

// Takes the unit's answers out of the port's receive queue.
class GetPackage {
public:
    explicit GetPackage(SerialPort& port)
        : port(port)
    {
    }

    // The next frame from the queue into `answer`.
    PackageResult receive();
    // The next frame, which must be the read reply to a request for `length`
    // bytes at `adr`; its data bytes are appended to `out`.
    PackageResult readData(CPBAdr adr, int length, ByteVector& out);

    const ByteVector& getAnswer() const { return answer; }

private:
    PackageResult takeShortFrame();
    PackageResult takeReadReply();

    SerialPort& port;
    ByteVector answer;
};

// Takes the next frame; 7 when it was an ACK, else 4.
PackageResult waitForAck(SerialPort& port);

// One transfer's talk with a CPR Controller over a port of the port table
// (borrowed, not owned).
class CPBComm {
public:
    enum ConnectResult { CONNECTED = 10, NO_ACK = 9 };

    explicit CPBComm(SerialPort& port)
        : port(port)
    {
    }

    // Re-opens the port (its handshake included) and waits for the unit's
    // ACK: 10, 9, or the open's own result when that was not 10.
    int connect();
    // Closes the port when `connect` opened it: a port that was open already
    // belongs to someone else and is left alone. True when nothing was to be
    // done or the close succeeded.
    bool disconnect();
    // Whether `connect` opened the port (and `disconnect` will close it).
    bool ownsPort() const { return opened; }

    // Writes the data from `startAdr` on and reads it back: true only when
    // the unit holds every byte. Parts that read back wrong are written
    // again, a few rounds at most.
    bool writeMemory(CPBAdr startAdr, const ByteVector& data, int tries);
    bool readMemory(CPBAdr startAdr, int len, ByteVector& out, int tries);
    bool writePackage(CPBAdr startAdr, const ByteVector& data, int tries);
    bool readPackage(CPBAdr startAdr, ByteVector& out, int len, int tries);

    // Lets the window side run between packages.
    void pumpMessages();
    // The window side installs its event dispatch here; empty for none.
    static void setMessagePump(std::function<void()> pump);

    // The packages a transfer of `len` bytes from `start` is cut into: at most
    // 16 bytes each, none crossing a 64-byte page. Pairs of offset and length.
    static std::vector<std::pair<std::uint16_t, int>> packages(std::uint16_t start, int len);

private:
    bool pollAck(int tries);
    // Empties the receive queue until the line has been quiet a while.
    void settleLine();

    SerialPort& port;
    bool opened = false;
};
