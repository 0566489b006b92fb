#include "sim/HandshakeDevices.h"

namespace sim {

namespace {

Bytes withGarbage(const Misbehaviour& m, const Bytes& reply)
{
    Bytes out = m.garbageBefore;
    const Bytes& body = m.replyInstead ? *m.replyInstead : reply;
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes makeFrame(int command, std::uint8_t value)
{
    return { 0x7E, static_cast<std::uint8_t>(command & 0xFF), static_cast<std::uint8_t>(command >> 8), 1, value };
}

} // namespace

void SampleStream::begin(Clock::time_point now)
{
    if (active)
        return;
    active = true;
    next = now + std::chrono::milliseconds(settings.startDelayMs);
}

Bytes SampleStream::takePrefix()
{
    if (prefixSent)
        return {};
    prefixSent = true;
    return settings.prefix;
}

std::vector<std::pair<std::size_t, SampleValue>> SampleStream::due(Clock::time_point now)
{
    std::vector<std::pair<std::size_t, SampleValue>> out;
    auto period = std::chrono::microseconds(1000000 / (settings.samplesPerSecond > 0 ? settings.samplesPerSecond : 1));
    while (active && now >= next) {
        next += period;
        if (settings.silent)
            continue;
        out.emplace_back(count, waveform->at(count));
        ++count;
    }
    return out;
}

HandshakeDevice::HandshakeDevice(std::string portsFolder, int port, Misbehaviour m)
    : Device(std::move(portsFolder), port)
    , misbehaviour(std::move(m))
{
}

std::vector<AnswerCheck> HandshakeDevice::answers() const
{
    std::lock_guard lock(mutex);
    return checks;
}

int HandshakeDevice::queriesSeen() const
{
    std::lock_guard lock(mutex);
    return queries;
}

void HandshakeDevice::setMisbehaviour(const Misbehaviour& m)
{
    std::lock_guard lock(mutex);
    misbehaviour = m;
}

void HandshakeDevice::setWaveform(std::shared_ptr<Waveform> waveform)
{
    std::lock_guard lock(mutex);
    stream.setWaveform(std::move(waveform));
}

void HandshakeDevice::setStream(const StreamSettings& settings)
{
    std::lock_guard lock(mutex);
    stream.setSettings(settings);
}

std::size_t HandshakeDevice::samplesSent() const
{
    std::lock_guard lock(mutex);
    return stream.sent();
}

void HandshakeDevice::stopStream()
{
    std::lock_guard lock(mutex);
    stream.end();
}

QueryDevice::QueryDevice(std::string portsFolder, int port, Identity id, Misbehaviour m)
    : HandshakeDevice(std::move(portsFolder), port, std::move(m))
    , identity(id)
{
}

Bytes QueryDevice::expectedAnswer() const
{
    auto x = static_cast<std::uint8_t>(identity.letter - 0x20 + (identity.digit == '1' ? 0x31 : 0));
    if (isController())
        return { 0x20, x };
    return { 0x20, static_cast<std::uint8_t>(~identity.b), x };
}

void QueryDevice::onIdle(Clock::time_point now)
{
    if (!stream.isActive() || isController())
        return;
    Bytes out = stream.takePrefix();
    int every = stream.getSettings().dropTerminatorEvery;
    for (auto& [index, v] : stream.due(now)) {
        out.push_back(statusByte(v.flagA, v.flagB));
        out.push_back(static_cast<std::uint8_t>(v.ventilation));
        out.push_back(static_cast<std::uint8_t>(v.compression));
        if (every <= 0 || (index + 1) % static_cast<std::size_t>(every) != 0)
            out.push_back(0x0D);
    }
    if (!out.empty())
        send(out);
}

void QueryDevice::onDisconnect()
{
    stream.end();
    awaitingAnswer = false;
    collecting.clear();
}

void FramedDevice::onDisconnect()
{
    stream.end();
    awake = false;
    awaitingAnswer = false;
    collecting.clear();
    frame.clear();
}

void QueryDevice::onByte(std::uint8_t byte, int programBaud)
{
    if (programBaud != 9600)
        return;
    // An answer never starts with '?': this is the program asking again. A
    // late reply already on its way still goes out.
    bool replyUnderway = false;
    if (awaitingAnswer && collecting.empty() && byte == '?') {
        awaitingAnswer = false;
        replyUnderway = true;
    }
    if (awaitingAnswer) {
        collecting.push_back(byte);
        Bytes expected = expectedAnswer();
        if (collecting.size() == expected.size()) {
            bool correct = collecting == expected;
            checks.push_back({ collecting, correct });
            collecting.clear();
            awaitingAnswer = false;
            if (correct)
                stream.begin(Clock::now());
        }
        return;
    }
    if (byte != '?')
        return;
    // A query in the middle of the stream is a new handshake: answer it alone.
    stream.end();
    if (!replyUnderway)
        cancelPending();
    ++queries;
    if (misbehaviour.pullCableOnQuery) {
        requestPullCable();
        return;
    }
    if (misbehaviour.silent || queries <= misbehaviour.ignoreFirstQueries)
        return;
    Bytes reply { identity.digit, identity.letter, identity.b, 0x0D, 0x0A };
    send(withGarbage(misbehaviour, reply), misbehaviour.replyDelayMs);
    awaitingAnswer = true;
    collecting.clear();
}

FramedDevice::FramedDevice(std::string portsFolder, int port, std::uint8_t n, Misbehaviour m)
    : HandshakeDevice(std::move(portsFolder), port, std::move(m))
    , challenge(n)
{
}

std::vector<int> FramedDevice::streamCommands() const
{
    std::lock_guard lock(mutex);
    return streamValues;
}

int FramedDevice::wakeFramesSeen() const
{
    std::lock_guard lock(mutex);
    return wakes;
}

void FramedDevice::onFrame(int command, const Bytes& payload)
{
    if (command == 0x8007) {
        ++wakes;
        awake = true;
        awaitingAnswer = false;
        stream.end();
    } else if (command == 13 && payload.size() == 2) {
        int value = payload[0] | (payload[1] << 8);
        streamValues.push_back(value);
        if (value == 1)
            stream.begin(Clock::now());
        else if (value == 2)
            stream.end();
    }
}

void FramedDevice::onIdle(Clock::time_point now)
{
    if (!stream.isActive())
        return;
    Bytes prefix = stream.takePrefix();
    if (!prefix.empty())
        send(prefix);
    bool split = stream.getSettings().splitFrames;
    for (auto& [index, v] : stream.due(now)) {
        std::vector<Bytes> frames { makeFrame(1, static_cast<std::uint8_t>(v.compression)),
                                    makeFrame(2, static_cast<std::uint8_t>(v.ventilation)) };
        if (v.flagA != lastFlagA)
            frames.push_back(makeFrame(5, v.flagA ? 1 : 0));
        if (v.flagB != lastFlagB)
            frames.push_back(makeFrame(9, v.flagB ? 1 : 0));
        lastFlagA = v.flagA;
        lastFlagB = v.flagB;
        for (const Bytes& f : frames) {
            if (split) {
                send(Bytes(f.begin(), f.begin() + 2));
                send(Bytes(f.begin() + 2, f.end()), 4);
            } else {
                send(f);
            }
        }
    }
}

void FramedDevice::onByte(std::uint8_t byte, int programBaud)
{
    if (programBaud != 19200)
        return;
    if (awaitingAnswer) {
        collecting.push_back(byte);
        if (collecting.size() == 2) {
            checks.push_back({ collecting, collecting[0] + collecting[1] == challenge });
            collecting.clear();
            awaitingAnswer = false;
        }
        return;
    }
    if (!frame.empty() || byte == 0x7E) {
        frame.push_back(byte);
        if (frame.size() >= 4 && frame.size() == 4u + frame[3]) {
            int command = frame[1] | (frame[2] << 8);
            onFrame(command, Bytes(frame.begin() + 4, frame.end()));
            frame.clear();
        }
        return;
    }
    if (byte != '?' || !awake)
        return;
    ++queries;
    awake = false;
    if (misbehaviour.silent || queries <= misbehaviour.ignoreFirstQueries)
        return;
    Bytes reply { 0x01, challenge, 0x0D, 0x0A };
    send(withGarbage(misbehaviour, reply), misbehaviour.replyDelayMs);
    awaitingAnswer = true;
    collecting.clear();
}

} // namespace sim
