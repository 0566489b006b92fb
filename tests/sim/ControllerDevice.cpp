#include "sim/ControllerDevice.h"

namespace sim {

namespace {

constexpr std::uint8_t frameStart = 0x55;
const Bytes ack { 0x55, 0x06, 0x5B };
const Bytes nak { 0x55, 0x05, 0x5A };

std::uint8_t sumOf(const Bytes& bytes, std::size_t n)
{
    unsigned sum = 0;
    for (std::size_t i = 0; i < n; ++i)
        sum += bytes[i];
    return static_cast<std::uint8_t>(sum & 0xFF);
}

StreamSettings noStream()
{
    StreamSettings s;
    s.silent = true;
    return s;
}

} // namespace

ControllerDevice::ControllerDevice(std::string portsFolder, int port)
    : QueryDevice(std::move(portsFolder), port, QueryDevice::controllerIdentity())
    , memory(bankSize * banks, 0xFF)
{
    stream.setSettings(noStream());
}

Bytes ControllerDevice::peek(std::uint8_t bank, std::uint16_t offset, std::size_t n) const
{
    std::lock_guard lock(mutex);
    Bytes out;
    std::size_t base = (bank - 0x50) * bankSize;
    for (std::size_t i = 0; i < n; ++i)
        out.push_back(memory[base + ((offset + i) & 0xFFFF)]);
    return out;
}

void ControllerDevice::poke(std::uint8_t bank, std::uint16_t offset, const Bytes& bytes)
{
    std::lock_guard lock(mutex);
    std::size_t base = (bank - 0x50) * bankSize;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        memory[base + ((offset + i) & 0xFFFF)] = bytes[i];
}

void ControllerDevice::addFault(const ControllerFault& fault)
{
    std::lock_guard lock(mutex);
    faults.push_back(fault);
}

void ControllerDevice::clearFaults()
{
    std::lock_guard lock(mutex);
    faults.clear();
}

void ControllerDevice::setSilentAfterHandshake(bool silent)
{
    std::lock_guard lock(mutex);
    silentAfterHandshake = silent;
}

std::vector<ControllerRequest> ControllerDevice::transcript() const
{
    std::lock_guard lock(mutex);
    return requests;
}

void ControllerDevice::clearTranscript()
{
    std::lock_guard lock(mutex);
    requests.clear();
}

int ControllerDevice::malformedFrames() const
{
    std::lock_guard lock(mutex);
    return malformed;
}

void ControllerDevice::onDisconnect()
{
    QueryDevice::onDisconnect();
    protocol = false;
    frame.clear();
}

void ControllerDevice::onByte(std::uint8_t byte, int programBaud)
{
    if (programBaud != 9600)
        return;
    if (protocol && !(frame.empty() && byte == '?')) {
        onFrameByte(byte);
        return;
    }
    protocol = false;
    frame.clear();
    std::size_t answered = checks.size();
    QueryDevice::onByte(byte, programBaud);
    if (checks.size() > answered && checks.back().correct) {
        protocol = true;
        requestCount = 0;
        if (!silentAfterHandshake)
            send(ack, 2);
    }
}

void ControllerDevice::refuse()
{
    ++malformed;
    frame.clear();
    send(nak);
}

void ControllerDevice::onFrameByte(std::uint8_t byte)
{
    if (frame.empty() && byte != frameStart)
        return;
    frame.push_back(byte);
    if (frame.size() == 2 && frame[1] != 0x01 && frame[1] != 0x02) {
        refuse();
        return;
    }
    if (frame.size() < 6)
        return;
    int n = frame[5];
    if (n < 1 || n > 16) {
        refuse();
        return;
    }
    std::size_t total = frame[1] == 0x01 ? static_cast<std::size_t>(n) + 8 : 7;
    if (frame.size() == total)
        handleRequest();
}

const ControllerFault* ControllerDevice::takeFault(const ControllerRequest& request)
{
    for (ControllerFault& f : faults) {
        if (f.times == 0)
            continue;
        if (f.atRequest != 0 && f.atRequest != request.number)
            continue;
        if (f.every > 0 && request.number % f.every != 0)
            continue;
        if (f.atBank >= 0) {
            if (f.atBank != request.bank)
                continue;
            int end = request.offset + request.length;
            if (f.atOffset < request.offset || f.atOffset >= end)
                continue;
        }
        if (f.times > 0)
            --f.times;
        return &f;
    }
    return nullptr;
}

void ControllerDevice::handleRequest()
{
    Bytes request = frame;
    frame.clear();
    bool write = request[1] == 0x01;
    int n = request[5];
    std::uint16_t offset = static_cast<std::uint16_t>(request[3] << 8 | request[4]);
    bool wellFormed = sumOf(request, request.size() - 1) == request.back()
        && request[2] >= 0x50 && request[2] < 0x50 + banks
        && (!write || request[6] == 0x00)
        && offset % 64 + n <= 64;

    ControllerRequest r;
    r.number = ++requestCount;
    r.command = request[1];
    r.bank = request[2];
    r.offset = offset;
    r.length = n;
    if (write)
        r.data.assign(request.begin() + 7, request.end() - 1);
    if (!wellFormed) {
        ++malformed;
        requests.push_back(r);
        send(nak);
        return;
    }

    const ControllerFault* fault = takeFault(r);
    r.faulted = fault != nullptr;
    if (fault && fault->kind == ControllerFault::PullCable) {
        requests.push_back(r);
        requestPullCable();
        return;
    }
    if (fault && fault->kind == ControllerFault::NoAnswer) {
        requests.push_back(r);
        return;
    }
    if (fault && fault->kind == ControllerFault::Nak) {
        requests.push_back(r);
        send(nak, fault->delayMs);
        return;
    }
    r.accepted = true;
    std::size_t base = (r.bank - 0x50) * bankSize;
    Bytes out = ack;
    if (write) {
        for (std::size_t i = 0; i < r.data.size(); ++i)
            memory[base + ((offset + i) & 0xFFFF)] = r.data[i];
    } else {
        Bytes reply { 0x55, 0x02, r.bank, request[3], request[4], static_cast<std::uint8_t>(n) };
        if (fault && fault->kind == ControllerFault::WrongAddress)
            reply[4] = static_cast<std::uint8_t>(reply[4] + 1);
        if (fault && fault->kind == ControllerFault::WrongLength)
            reply[5] = static_cast<std::uint8_t>(fault->length);
        for (int i = 0; i < n; ++i)
            reply.push_back(memory[base + ((offset + i) & 0xFFFF)]);
        reply.push_back(sumOf(reply, reply.size()));
        out.insert(out.end(), reply.begin(), reply.end());
    }
    requests.push_back(r);
    answer(out, write, fault);
}

void ControllerDevice::answer(Bytes bytes, bool lastFrameIsAck, const ControllerFault* fault)
{
    if (!fault) {
        send(bytes);
        return;
    }
    switch (fault->kind) {
    case ControllerFault::BadSum:
        bytes.back() = static_cast<std::uint8_t>(bytes.back() + 1);
        send(bytes);
        return;
    case ControllerFault::ShortFrame:
        bytes.pop_back();
        send(bytes);
        return;
    case ControllerFault::LateAnswer:
        send(bytes, fault->delayMs);
        return;
    case ControllerFault::NoiseBefore: {
        Bytes out = fault->noise;
        out.insert(out.end(), bytes.begin(), bytes.end());
        send(out);
        return;
    }
    case ControllerFault::SplitStart:
        send(Bytes(bytes.begin(), bytes.begin() + 1));
        send(Bytes(bytes.begin() + 1, bytes.end()), fault->delayMs);
        return;
    default:
        (void)lastFrameIsAck;
        send(bytes);
        return;
    }
}

} // namespace sim
