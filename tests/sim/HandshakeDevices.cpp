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

} // namespace

QueryDevice::QueryDevice(std::string portsFolder, int port, Identity id, Misbehaviour m)
    : Device(std::move(portsFolder), port)
    , identity(id)
    , misbehaviour(std::move(m))
{
}

Bytes QueryDevice::expectedAnswer() const
{
    auto x = static_cast<std::uint8_t>(identity.letter - 0x20 + (identity.digit == '1' ? 0x31 : 0));
    if (isController())
        return { 0x20, x };
    return { 0x20, static_cast<std::uint8_t>(~identity.b), x };
}

std::vector<AnswerCheck> QueryDevice::answers() const
{
    std::lock_guard lock(mutex);
    return checks;
}

int QueryDevice::queriesSeen() const
{
    std::lock_guard lock(mutex);
    return queries;
}

void QueryDevice::setMisbehaviour(const Misbehaviour& m)
{
    std::lock_guard lock(mutex);
    misbehaviour = m;
}

void QueryDevice::onByte(std::uint8_t byte, int programBaud)
{
    if (programBaud != 9600)
        return;
    if (awaitingAnswer) {
        collecting.push_back(byte);
        Bytes expected = expectedAnswer();
        if (collecting.size() == expected.size()) {
            checks.push_back({ collecting, collecting == expected });
            collecting.clear();
            awaitingAnswer = false;
        }
        return;
    }
    if (byte != '?')
        return;
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
    : Device(std::move(portsFolder), port)
    , challenge(n)
    , misbehaviour(std::move(m))
{
}

std::vector<AnswerCheck> FramedDevice::answers() const
{
    std::lock_guard lock(mutex);
    return checks;
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

void FramedDevice::setMisbehaviour(const Misbehaviour& m)
{
    std::lock_guard lock(mutex);
    misbehaviour = m;
}

void FramedDevice::onFrame(int command, const Bytes& payload)
{
    if (command == 0x8007) {
        ++wakes;
        awake = true;
        awaitingAnswer = false;
    } else if (command == 13 && payload.size() == 2) {
        streamValues.push_back(payload[0] | (payload[1] << 8));
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
