#include "CPB/CPBComm.h"

#include "Utillib/LogStream.h"
#include "comm/SerialPort.h"
#include "platform/Clock.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int connectFirstWaitMs = 50;
constexpr int connectPolls = 10;
constexpr int pollIntervalMs = 30;
// After a failed attempt the line must stay quiet this long before the
// request goes out again, and a line that keeps talking is waited for at
// most the limit.
constexpr int quietMs = 30;
constexpr int quietStepMs = 10;
constexpr int settleLimitMs = 1000;
// Rounds of writing and reading back before a memory write counts as failed.
constexpr int verifyRounds = 3;
constexpr std::size_t shortFrameSize = 3;
constexpr std::size_t replyHeaderSize = 6; // 0x55, code, bank, high, low, length

std::function<void()>& messagePump()
{
    static std::function<void()> pump;
    return pump;
}

void moveFront(std::deque<unsigned char>& queue, ByteVector& to, std::size_t n)
{
    to.insert(to.end(), queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(n));
    queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(n));
}

// Bank byte and offset as the memory map writes them, e.g. "51:7FB0".
std::string addressText(CPBAdr adr)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02X:%04X", adr.bank, adr.getAdr());
    return text;
}

} // namespace

namespace cpb {

std::uint8_t checksum(const std::uint8_t* bytes, std::size_t n)
{
    unsigned sum = 0;
    for (std::size_t i = 0; i < n; ++i)
        sum += bytes[i];
    return static_cast<std::uint8_t>(sum & 0xFF);
}

ByteVector writeRequest(CPBAdr adr, const ByteVector& data)
{
    ByteVector frame { FRAME_START, CMD_WRITE, adr.bank, adr.high, adr.low, static_cast<std::uint8_t>(data.size()), 0x00 };
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(checksum(frame.data(), frame.size()));
    return frame;
}

ByteVector readRequest(CPBAdr adr, int length)
{
    ByteVector frame { FRAME_START, CMD_READ, adr.bank, adr.high, adr.low, static_cast<std::uint8_t>(length) };
    frame.push_back(checksum(frame.data(), frame.size()));
    return frame;
}

} // namespace cpb

SendPackage::SendPackage(SerialPort& port, CPBAdr adr, ByteVector data)
    : port(port)
    , command(cpb::CMD_WRITE)
    , adr(adr)
    , data(std::move(data))
    , length(static_cast<int>(this->data.size()))
{
}

SendPackage::SendPackage(SerialPort& port, CPBAdr adr, int length)
    : port(port)
    , command(cpb::CMD_READ)
    , adr(adr)
    , length(length)
{
}

ByteVector SendPackage::frame() const
{
    if (command == cpb::CMD_WRITE) {
        LOG_ASSERT(data.size() <= static_cast<std::size_t>(MAXDATA));
        return cpb::writeRequest(adr, data);
    }
    LOG_ASSERT(length >= 0 && length <= MAXDATA);
    return cpb::readRequest(adr, length);
}

bool SendPackage::send() const { return port.write(frame()); }

PackageResult GetPackage::receive()
{
    answer.clear();
    port.readAvailable();
    std::size_t looks = port.getBufferSize();
    std::deque<unsigned char>& queue = port.readData;
    for (std::size_t i = 0; i < looks; ++i) {
        port.readAvailable();
        if (queue.empty())
            break;
        if (queue[0] != cpb::FRAME_START) {
            queue.pop_front();
            continue;
        }
        // A frame whose first byte came alone is kept for the next look.
        if (queue.size() < 2)
            return PACKAGE_INCOMPLETE;
        std::uint8_t code = queue[1];
        if (code == cpb::CODE_ACK || code == cpb::CODE_NAK) {
            if (queue.size() < shortFrameSize)
                return PACKAGE_INCOMPLETE;
            return takeShortFrame();
        }
        if (code == cpb::CMD_READ) {
            if (queue.size() < replyHeaderSize)
                return PACKAGE_INCOMPLETE;
            std::size_t n = queue[5];
            // A length no reply can have is refused at once, not waited for.
            if (n == 0 || n > static_cast<std::size_t>(cpb::MAX_REPLY_LENGTH))
                return takeReadReply();
            if (queue.size() < n + 7)
                return PACKAGE_INCOMPLETE;
            return takeReadReply();
        }
        return PACKAGE_WRONG;
    }
    return PACKAGE_NONE;
}

PackageResult GetPackage::takeShortFrame()
{
    std::deque<unsigned char>& queue = port.readData;
    moveFront(queue, answer, 2);
    if (cpb::checksum(answer.data(), answer.size()) != queue.front()) {
        answer.clear();
        return PACKAGE_BAD_SUM;
    }
    moveFront(queue, answer, 1);
    return answer[1] == cpb::CODE_ACK ? PACKAGE_OK : PACKAGE_WRONG;
}

PackageResult GetPackage::takeReadReply()
{
    std::deque<unsigned char>& queue = port.readData;
    moveFront(queue, answer, 5);
    std::size_t n = queue.front();
    if (n == 0 || n > static_cast<std::size_t>(cpb::MAX_REPLY_LENGTH)) {
        answer.clear();
        return PACKAGE_WRONG_LENGTH;
    }
    if (queue.size() < n + 2) {
        answer.clear();
        return PACKAGE_INCOMPLETE;
    }
    moveFront(queue, answer, n + 1);
    if (cpb::checksum(answer.data(), answer.size()) != queue.front()) {
        answer.clear();
        return PACKAGE_BAD_SUM;
    }
    moveFront(queue, answer, 1);
    return PACKAGE_OK;
}

PackageResult GetPackage::readData(CPBAdr adr, int length, ByteVector& out)
{
    PackageResult result = receive();
    if (result != PACKAGE_OK)
        return result;
    const ByteVector& frame = answer;
    if (frame.size() < 8)
        return PACKAGE_INCOMPLETE;
    if (frame[0] != cpb::FRAME_START) {
        LOG_ASSERT(frame[0] == cpb::FRAME_START);
        return PACKAGE_NONE;
    }
    if (frame[1] != cpb::CMD_READ)
        return PACKAGE_WRONG;
    if (frame[2] != adr.bank || frame[3] != adr.high || frame[4] != adr.low)
        return PACKAGE_WRONG_ADDRESS;
    if (frame[5] != length)
        return PACKAGE_WRONG_LENGTH;
    if (frame.size() != static_cast<std::size_t>(length) + 7)
        return PACKAGE_INCOMPLETE;
    if (cpb::checksum(frame.data(), frame.size() - 1) != frame.back())
        return PACKAGE_BAD_SUM;
    out.insert(out.end(), frame.begin() + 6, frame.end() - 1);
    return PACKAGE_OK;
}

PackageResult waitForAck(SerialPort& port)
{
    GetPackage get(port);
    PackageResult result = get.receive();
    const ByteVector& answer = get.getAnswer();
    if (result != PACKAGE_NONE && answer.size() == shortFrameSize && answer[1] == cpb::CODE_ACK)
        return PACKAGE_OK;
    return PACKAGE_INCOMPLETE;
}

int CPBComm::connect()
{
    bool wasOpen = port.isOpen;
    int result = port.open(-1);
    opened = !wasOpen;
    if (result != SerialPort::OPEN_OK)
        return result;
    platform::sleepMs(connectFirstWaitMs);
    if (waitForAck(port) == PACKAGE_OK)
        return CONNECTED;
    for (int i = 0; i < connectPolls; ++i) {
        platform::sleepMs(pollIntervalMs);
        if (waitForAck(port) == PACKAGE_OK)
            return CONNECTED;
    }
    return NO_ACK;
}

bool CPBComm::disconnect()
{
    if (!opened)
        return true;
    opened = false;
    return port.close();
}

bool CPBComm::pollAck(int tries)
{
    if (waitForAck(port) == PACKAGE_OK)
        return true;
    for (int i = 0; i < tries; ++i) {
        platform::sleepMs(pollIntervalMs);
        if (waitForAck(port) == PACKAGE_OK)
            return true;
    }
    return false;
}

bool CPBComm::writePackage(CPBAdr startAdr, const ByteVector& data, int tries)
{
    LOG_ASSERT(!data.empty() && data.size() <= static_cast<std::size_t>(MAXDATA));
    LOG_ASSERT(startAdr.getAdr() % PAGE_SIZE + data.size() <= static_cast<std::size_t>(PAGE_SIZE));
    if (tries <= 0)
        return false;
    SendPackage request(port, startAdr, data);
    for (int attempt = 0; attempt < tries; ++attempt) {
        if (request.send() && pollAck(tries))
            return true;
        settleLine();
    }
    return false;
}

bool CPBComm::readPackage(CPBAdr startAdr, ByteVector& out, int len, int tries)
{
    LOG_ASSERT(len >= 1 && len <= MAXDATA);
    if (tries <= 0)
        return false;
    SendPackage request(port, startAdr, len);
    GetPackage reply(port);
    for (int attempt = 0; attempt < tries; ++attempt) {
        if (request.send() && pollAck(tries)) {
            if (reply.readData(startAdr, len, out) == PACKAGE_OK)
                return true;
            for (int i = 0; i < tries; ++i) {
                platform::sleepMs(pollIntervalMs);
                if (reply.readData(startAdr, len, out) == PACKAGE_OK)
                    return true;
            }
        }
        settleLine();
    }
    return false;
}

void CPBComm::settleLine()
{
    // Answers carry nothing that names their request: one still on its way
    // to the failed attempt would be taken for the next attempt's.
    const std::uint64_t start = platform::tickCount();
    std::uint64_t lastByte = start;
    for (;;) {
        const int dropped = port.discardInput();
        if (dropped < 0)
            return;
        const std::uint64_t now = platform::tickCount();
        if (dropped > 0)
            lastByte = now;
        if (now - lastByte >= quietMs || now - start >= settleLimitMs)
            return;
        platform::sleepMs(quietStepMs);
    }
}

std::vector<std::pair<std::uint16_t, int>> CPBComm::packages(std::uint16_t start, int len)
{
    std::vector<std::pair<std::uint16_t, int>> out;
    for (int k = 0; k * MAXDATA < len; ++k) {
        int size = std::min(k * MAXDATA + MAXDATA, len) - k * MAXDATA;
        auto offset = static_cast<std::uint16_t>(start + k * MAXDATA);
        int room = PAGE_SIZE - offset % PAGE_SIZE;
        if (size > room) {
            out.emplace_back(offset, room);
            out.emplace_back(static_cast<std::uint16_t>(offset + room), size - room);
        } else {
            out.emplace_back(offset, size);
        }
    }
    return out;
}

bool CPBComm::writeMemory(CPBAdr startAdr, const ByteVector& data, int tries)
{
    LOG_ASSERT(!data.empty());
    if (data.empty())
        return false;
    struct Part {
        CPBAdr adr;
        ByteVector bytes;
        bool held = false;
    };
    std::vector<Part> parts;
    std::size_t done = 0;
    for (auto [offset, size] : packages(startAdr.getAdr(), static_cast<int>(data.size()))) {
        const auto from = data.begin() + static_cast<std::ptrdiff_t>(done);
        parts.push_back({ CPBAdr(startAdr.bank, offset), ByteVector(from, from + size) });
        done += static_cast<std::size_t>(size);
    }
    // An ACK cannot be told from a late ACK of an earlier request, so only
    // what the unit reads back counts as written. Parts it holds are not
    // written again.
    for (int round = 0; round < verifyRounds; ++round) {
        if (round > 0)
            settleLine();
        for (const Part& part : parts) {
            if (part.held)
                continue;
            const bool ok = writePackage(part.adr, part.bytes, tries);
            pumpMessages();
            if (!ok)
                return false;
        }
        bool allHeld = true;
        for (Part& part : parts) {
            if (part.held)
                continue;
            ByteVector back;
            const bool ok = readPackage(part.adr, back, static_cast<int>(part.bytes.size()), tries);
            pumpMessages();
            if (!ok)
                return false;
            part.held = back == part.bytes;
            allHeld = allHeld && part.held;
        }
        if (allHeld)
            return true;
    }
    LogStream::instance() << "The CPR Controller does not hold the " << static_cast<int>(data.size())
                          << " bytes written at " << addressText(startAdr) << " after " << verifyRounds << " rounds"
                          << LogStream::endl;
    return false;
}

bool CPBComm::readMemory(CPBAdr startAdr, int len, ByteVector& out, int tries)
{
    LOG_ASSERT(len >= 0);
    if (len < 0)
        return false;
    for (auto [offset, size] : packages(startAdr.getAdr(), len)) {
        ByteVector part;
        bool ok = readPackage(CPBAdr(startAdr.bank, offset), part, size, tries);
        pumpMessages();
        if (!ok)
            return false;
        out.insert(out.end(), part.begin(), part.end());
    }
    return true;
}

void CPBComm::pumpMessages()
{
    if (messagePump())
        messagePump()();
}

void CPBComm::setMessagePump(std::function<void()> pump) { messagePump() = std::move(pump); }
