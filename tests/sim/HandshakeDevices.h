#pragma once
#include "sim/Device.h"

#include <optional>

namespace sim {

// How a device misbehaves on request.
struct Misbehaviour {
    bool silent = false;           // never answers
    int replyDelayMs = 0;          // answers late
    Bytes garbageBefore;           // noise sent ahead of the reply
    std::optional<Bytes> replyInstead; // a wrong reply in place of the right one
    int ignoreFirstQueries = 0;    // stays silent for the first n queries
    bool pullCableOnQuery = false; // the line dies when the program asks
};

// What the program answered to one challenge.
struct AnswerCheck {
    Bytes answer;
    bool correct = false;
};

// A device that answers the query handshake at 9600 baud: a manikin
// interface of kind 1, or a CPR Controller (digit '2', letter 'c').
// The reply is digit, letter, a byte b, CR, LF.
struct QueryIdentity {
    std::uint8_t digit = '5';
    std::uint8_t letter = 'a';
    std::uint8_t b = 0xB7;
};

class QueryDevice : public Device {
public:
    using Identity = QueryIdentity;

    QueryDevice(std::string portsFolder, int port, Identity identity = {}, Misbehaviour misbehaviour = {});
    ~QueryDevice() override { stop(); }
    static Identity controllerIdentity() { return { '2', 'c', 0x5A }; }

    bool isController() const { return identity.digit == '2' && identity.letter == 'c'; }
    // The answer the program must send: 0x20, ~b, x for a manikin; 0x20, x for a controller.
    Bytes expectedAnswer() const;
    std::vector<AnswerCheck> answers() const;
    int queriesSeen() const;

    void setMisbehaviour(const Misbehaviour& m);

protected:
    void onByte(std::uint8_t byte, int programBaud) override;

    Identity identity;
    Misbehaviour misbehaviour;
    int queries = 0;
    Bytes collecting;
    bool awaitingAnswer = false;
    std::vector<AnswerCheck> checks;
};

// A manikin interface of kind 3: 19200 baud, "~" frames. It wakes on the
// frame 7E 07 80 00, answers '?' with 01 N 0D 0A and expects two bytes that
// add up to N. While the program's line runs at another baud rate it hears
// only noise, like a real interface, and ignores it.
class FramedDevice : public Device {
public:
    FramedDevice(std::string portsFolder, int port, std::uint8_t challenge = 0x2A, Misbehaviour misbehaviour = {});
    ~FramedDevice() override { stop(); }

    std::vector<AnswerCheck> answers() const;
    // Values of the stream-control frames (command 13) received, in order.
    std::vector<int> streamCommands() const;
    int wakeFramesSeen() const;

    void setMisbehaviour(const Misbehaviour& m);

protected:
    void onByte(std::uint8_t byte, int programBaud) override;
    bool initialCts() const override { return false; }
    // A complete frame from the program.
    virtual void onFrame(int command, const Bytes& payload);

    std::uint8_t challenge;
    Misbehaviour misbehaviour;
    bool awake = false;
    int queries = 0;
    int wakes = 0;
    Bytes frame;
    bool awaitingAnswer = false;
    Bytes collecting;
    std::vector<AnswerCheck> checks;
    std::vector<int> streamValues;
};

} // namespace sim
