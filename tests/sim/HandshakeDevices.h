#pragma once
#include "sim/Device.h"
#include "sim/Waveform.h"

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

// How a device streams its samples once the program has answered its challenge.
struct StreamSettings {
    int samplesPerSecond = 20;
    bool silent = false;         // keeps the line but sends nothing
    Bytes prefix;                // sent once ahead of the first sample (a misaligned start)
    int dropTerminatorEvery = 0; // kind 1: every n-th record lacks its CR
    bool splitFrames = false;    // kind 3: every frame goes out in two pieces, a few ms apart
    int startDelayMs = 0;        // the first sample follows the handshake (or the stream request) this late
};

// Streaming state shared by both kinds: the waveform, the pace, the count.
class SampleStream {
public:
    void setWaveform(std::shared_ptr<Waveform> w) { waveform = std::move(w); }
    void setSettings(const StreamSettings& s) { settings = s; }
    const StreamSettings& getSettings() const { return settings; }
    void begin(Clock::time_point now);
    void end() { active = false; }
    bool isActive() const { return active; }
    // The samples due by `now`, each with its index; empty while silent or idle.
    std::vector<std::pair<std::size_t, SampleValue>> due(Clock::time_point now);
    // The prefix, once.
    Bytes takePrefix();
    std::size_t sent() const { return count; }

private:
    std::shared_ptr<Waveform> waveform = std::make_shared<RestWaveform>();
    StreamSettings settings;
    bool active = false;
    bool prefixSent = false;
    Clock::time_point next;
    std::size_t count = 0;
};

// What the program answered to one challenge.
struct AnswerCheck {
    Bytes answer;
    bool correct = false;
};

// What both kinds of manikin interface share: misbehaviour on request, the
// answers the program gave, and the sample stream.
class HandshakeDevice : public Device {
public:
    HandshakeDevice(std::string portsFolder, int port, Misbehaviour misbehaviour);

    std::vector<AnswerCheck> answers() const;
    int queriesSeen() const;
    void setMisbehaviour(const Misbehaviour& m);
    void setWaveform(std::shared_ptr<Waveform> waveform);
    void setStream(const StreamSettings& settings);
    std::size_t samplesSent() const;
    // The device stops its stream on its own, as after a stall; a new
    // handshake (or, for kind 3, a stream request) starts it again.
    void stopStream();

protected:
    Misbehaviour misbehaviour;
    int queries = 0;
    Bytes collecting;
    bool awaitingAnswer = false;
    std::vector<AnswerCheck> checks;
    SampleStream stream;
};

// A device that answers the query handshake at 9600 baud: a manikin
// interface of kind 1, or a CPR Controller (digit '2', letter 'c').
// The reply is digit, letter, a byte b, CR, LF.
struct QueryIdentity {
    std::uint8_t digit = '5';
    std::uint8_t letter = 'a';
    std::uint8_t b = 0xB7;
};

class QueryDevice : public HandshakeDevice {
public:
    using Identity = QueryIdentity;

    QueryDevice(std::string portsFolder, int port, Identity identity = {}, Misbehaviour misbehaviour = {});
    ~QueryDevice() override { stop(); }
    static Identity controllerIdentity() { return { '2', 'c', 0x5A }; }

    bool isController() const { return identity.digit == '2' && identity.letter == 'c'; }
    // The answer the program must send: 0x20, ~b, x for a manikin; 0x20, x for a controller.
    Bytes expectedAnswer() const;
    // Records (status, ventilation, compression, CR) follow a correct answer.

protected:
    void onByte(std::uint8_t byte, int programBaud) override;
    void onIdle(Clock::time_point now) override;
    void onDisconnect() override;

    Identity identity;
};

// A manikin interface of kind 3: 19200 baud, "~" frames. It wakes on the
// frame 7E 07 80 00, answers '?' with 01 N 0D 0A and expects two bytes that
// add up to N. While the program's line runs at another baud rate it hears
// only noise, like a real interface, and ignores it.
class FramedDevice : public HandshakeDevice {
public:
    FramedDevice(std::string portsFolder, int port, std::uint8_t challenge = 0x2A, Misbehaviour misbehaviour = {});
    ~FramedDevice() override { stop(); }

    // Values of the stream-control frames (command 13) received, in order.
    std::vector<int> streamCommands() const;
    int wakeFramesSeen() const;
    // Compression and ventilation frames, and flag frames on changes, stream
    // after the stream-control frame with value 1 (value 2 stops them).

protected:
    void onByte(std::uint8_t byte, int programBaud) override;
    void onIdle(Clock::time_point now) override;
    void onDisconnect() override;
    int lastFlagA = -1;
    int lastFlagB = -1;
    bool initialCts() const override { return false; }
    // A complete frame from the program.
    virtual void onFrame(int command, const Bytes& payload);

    std::uint8_t challenge;
    bool awake = false;
    int wakes = 0;
    Bytes frame;
    std::vector<int> streamValues;
};

} // namespace sim
