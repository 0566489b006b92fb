#pragma once
#include "sim/HandshakeDevices.h"

#include <cstdint>
#include <vector>

namespace sim {

// A fault the simulated CPR Controller commits on chosen requests.
struct ControllerFault {
    enum Kind {
        NoAnswer,    // neither ACK nor reply
        LateAnswer,  // the whole answer goes out `delayMs` late
        Nak,         // NAK in place of the ACK (a write is not stored), `delayMs` late
        BadSum,      // the last frame of the answer carries a wrong sum
        ShortFrame,  // the last frame of the answer loses its last byte
        NoiseBefore, // `noise` goes out ahead of the answer
        SplitStart,  // the answer's first byte goes out alone, the rest `delayMs` later
        PullCable,   // the line dies when the request arrives
        WrongAddress, // the read reply names another address
        WrongLength,  // the read reply's length byte is `length` (data as asked)
    };
    Kind kind = NoAnswer;
    // Request number (1 for the first request since the last handshake), or
    // 0 for any request.
    int atRequest = 0;
    // Above 0: only every n-th request (by number).
    int every = 0;
    // A memory address the request must cover (bank byte, offset), or none.
    int atBank = -1;
    int atOffset = -1;
    // How many matching requests it hits; -1 for all of them.
    int times = 1;
    int delayMs = 0;
    Bytes noise;
    int length = 0;
};

// One request as the simulator decoded it.
struct ControllerRequest {
    int number = 0;         // 1-based since the last handshake
    std::uint8_t command = 0; // 1 write, 2 read
    std::uint8_t bank = 0;
    std::uint16_t offset = 0;
    int length = 0;
    Bytes data;             // a write's data
    bool accepted = false;  // answered with an ACK
    bool faulted = false;   // a fault knob acted on it
};

// A CPR Controller: answers the query handshake as device type 2, sends an
// ACK once the program has answered it, and then serves read and write
// requests on a memory of nine banks of 64 KiB, erased (0xFF) at start.
// Frames with a bad sum, an unknown command, a length outside 1..16, an
// unknown bank, a filler that is not 0 or a page crossing get a NAK.
class ControllerDevice : public QueryDevice {
public:
    static constexpr std::size_t bankSize = 0x10000;
    static constexpr int banks = 9;

    ControllerDevice(std::string portsFolder, int port);
    ~ControllerDevice() override { stop(); }

    Bytes peek(std::uint8_t bank, std::uint16_t offset, std::size_t n) const;
    void poke(std::uint8_t bank, std::uint16_t offset, const Bytes& bytes);

    void addFault(const ControllerFault& fault);
    void clearFaults();
    // No ACK after the handshake.
    void setSilentAfterHandshake(bool silent);

    std::vector<ControllerRequest> transcript() const;
    void clearTranscript();
    // Frames refused with a NAK for being malformed.
    int malformedFrames() const;

protected:
    void onByte(std::uint8_t byte, int programBaud) override;
    void onDisconnect() override;

private:
    void onFrameByte(std::uint8_t byte);
    void handleRequest();
    void refuse();
    // The first fault that matches the request, used up by one.
    const ControllerFault* takeFault(const ControllerRequest& request);
    void answer(Bytes bytes, bool lastFrameOnly, const ControllerFault* fault);

    std::vector<std::uint8_t> memory;
    std::vector<ControllerFault> faults;
    std::vector<ControllerRequest> requests;
    bool protocol = false;
    bool silentAfterHandshake = false;
    Bytes frame;
    int requestCount = 0;
    int malformed = 0;
};

} // namespace sim
