#include "comm/SerialPort.h"

#include "Utillib/LogStream.h"
#include "comm/CommSettings.h"
#include "comm/DemoSets.h"
#include "comm/Stopwatch.h"
#include "platform/Clock.h"

#include <random>

namespace {

constexpr int queryReplyWindowMs = 275;
constexpr int framedReplyWindowMs = 80;
constexpr int queryTries = 4;
constexpr int writeWaits = 15;
constexpr int writeWaitMs = 10;

// The framed handshake's challenge draws from its own generator: the process's
// shared one makes session serials and must not be reseeded or consumed here.
std::mt19937& challengeGenerator()
{
    static std::mt19937 generator { std::random_device {}() };
    return generator;
}

bool isDigit1to9(unsigned char c) { return c >= '1' && c <= '9'; }

// Lets a device get its bytes across without spinning the one thread.
void breathe() { platform::sleepMs(1); }

} // namespace

SerialPort::~SerialPort() { close(); }

bool SerialPort::isDemoPort() const { return CommSettings::isDemoPort(portNumber); }

int SerialPort::open(int port)
{
    openResult = openPort(port);
    return openResult;
}

int SerialPort::openPort(int port)
{
    if (port != -1)
        portNumber = port;
    if (portNumber < 1 || portNumber > 256)
        return OPEN_PORT_NOT_AVAILABLE;

    if (isDemoPort()) {
        isOpen = true;
        setDemoData(portNumber);
        return OPEN_OK;
    }
    if (isOpen)
        return OPEN_ALREADY_OPEN;

    deviceType = NO_DEVICE;
    // A handle left by an earlier failed open would keep the port locked.
    handle.close();
    switch (handle.open(portNumber)) {
    case platform::SerialLine::OpenResult::NotFound:
        return OPEN_PORT_NOT_AVAILABLE;
    case platform::SerialLine::OpenResult::Unavailable:
        return OPEN_FAILED;
    case platform::SerialLine::OpenResult::Opened:
        break;
    }

    // Lowering and raising DTR and RTS resets the interface.
    int state = setState(9600, false, false);
    if (state == OPEN_OK)
        state = setState(9600, true, true);
    if (state != OPEN_OK)
        return state;

    // Reads never wait (the line is set up for zero-wait reads), so there are no time-outs to set.
    if (readBuffer.empty())
        readBuffer.resize(readBufferSize);

    platform::sleepMs(400 + CommSettings::commDelay());

    bool cts = false;
    if (!readModemStatus(cts))
        return OPEN_STATE_UNREADABLE;

    if (handshakeQuery() == OPEN_OK)
        return OPEN_OK;
    return handshakeFramed();
}

int SerialPort::setState(int baudRate, bool dtr, bool rts)
{
    platform::LineState state;
    if (!handle.getState(state))
        return OPEN_STATE_UNREADABLE;
    state.baudRate = baudRate;
    state.dtr = dtr;
    state.rts = rts;
    if (!handle.setState(state))
        return OPEN_STATE_UNWRITABLE;
    return OPEN_OK;
}

void SerialPort::resetLines()
{
    if (setState(9600, false, false) == OPEN_OK)
        setState(9600, true, true);
}

bool SerialPort::readModemStatus(bool& cts) { return handle.readCts(cts); }

int SerialPort::handshakeQuery()
{
    setState(9600, true, true);
    bool cts = false;
    if (!readModemStatus(cts))
        return OPEN_STATE_UNREADABLE;
    if (!cts)
        return OPEN_NO_DEVICE;

    isOpen = true;
    // Bytes a streaming device sent before the question cannot be its reply.
    dropInput();
    readData.clear();

    for (int attempt = 0; attempt < queryTries && readData.size() < 5; ++attempt) {
        if (attempt > 0) {
            dropInput();
            if (setState(9600, false, false) == OPEN_OK)
                setState(9600, true, true);
            platform::sleepMs(100 + CommSettings::commDelay());
        }
        if (!write({ '?' }))
            return OPEN_BAD_ANSWER;
        if (!readReply(5, queryReplyWindowMs))
            return OPEN_BAD_ANSWER;
        while (!readData.empty() && !isDigit1to9(readData.front()))
            readData.pop_front();
    }

    if (readData.size() != 5)
        return OPEN_BAD_ANSWER;
    unsigned char digit = readData[0];
    unsigned char letter = readData[1];
    unsigned char b = readData[2];
    unsigned char terminator = readData[3];
    if (!isDigit1to9(digit) || letter < 'a' || letter > 'k' || (terminator != 0x0D && terminator != 0x0A))
        return OPEN_BAD_ANSWER;

    int type = (digit == '2' && letter == 'c') ? CPR_CONTROLLER : QUERY_MANIKIN;
    readData.clear();

    auto x = static_cast<unsigned char>(letter - 0x20 + (digit == '1' ? 0x31 : 0));
    std::vector<unsigned char> answer;
    if (type == QUERY_MANIKIN)
        answer = { 0x20, static_cast<unsigned char>(~b), x };
    else
        answer = { 0x20, x };
    if (!write(answer))
        return OPEN_BAD_ANSWER;

    deviceType = type;
    return OPEN_OK;
}

int SerialPort::handshakeFramed()
{
    setState(19200, true, true);
    bool cts = false;
    if (!readModemStatus(cts))
        return OPEN_STATE_UNREADABLE;

    isOpen = true;
    if (!write({ 0x7E, 0x07, 0x80, 0x00 }))
        return OPEN_NO_DEVICE;

    platform::sleepMs(200);
    while (read() > 0) {
    }
    handle.discardInput();
    readData.clear();

    if (!write({ '?' }))
        return OPEN_NO_DEVICE;

    if (!readReply(4, framedReplyWindowMs))
        return OPEN_NO_DEVICE;
    if (readData.size() < 4)
        return OPEN_NO_DEVICE;
    if (readData[0] != 0x01 || readData[2] != 0x0D || readData[3] != 0x0A)
        return OPEN_BAD_ANSWER;

    unsigned n = readData[1];
    unsigned r = n == 0 ? 0 : static_cast<unsigned>(challengeGenerator()() % (n + 1));
    if (!write({ static_cast<unsigned char>(r), static_cast<unsigned char>(n - r) }))
        return OPEN_BAD_ANSWER;

    readData.clear();
    if (!readReply(4, framedReplyWindowMs))
        return OPEN_NO_DEVICE;

    deviceType = FRAMED_MANIKIN;
    return OPEN_OK;
}

bool SerialPort::readReply(std::size_t size, int windowMs)
{
    Stopwatch watch;
    watch.start();
    for (;;) {
        // The window is looked at before reading, so that the read after a
        // late wake-up still takes a reply that came meanwhile.
        const bool late = watch.elapsed() >= windowMs;
        const int n = read();
        if (n < 0)
            return false;
        if (readData.size() >= size || late)
            return true;
        if (n == 0)
            breathe();
    }
}

bool SerialPort::dropInput()
{
    const bool read = readAll() != -1;
    // Also what the system holds but has not handed over yet.
    handle.discardInput();
    if (read)
        readData.clear();
    return read;
}

int SerialPort::handshake()
{
    int result = handshakeQuery();
    if (result == OPEN_OK)
        return result;
    return handshakeFramed();
}

bool SerialPort::startStreaming()
{
    if (!write({ 0x7E, 0x0D, 0x00, 0x02, 0x02, 0x00 }))
        return false;
    platform::sleepMs(50);
    if (!write({ 0x7E, 0x0D, 0x00, 0x02, 0x01, 0x00 }))
        return false;
    platform::sleepMs(50);
    return true;
}

void SerialPort::setDemoData(int port) { demoSet = DemoSets::get(port % DemoSets::count); }

int SerialPort::read()
{
    if (!isOpen)
        return 0;
    if (readBuffer.empty())
        readBuffer.resize(readBufferSize);
    int n = handle.readSome(readBuffer.data(), readBuffer.size());
    if (n <= 0)
        return n;
    readData.insert(readData.end(), readBuffer.begin(), readBuffer.begin() + n);
    bytesRead = static_cast<unsigned>(n);
    return n;
}

int SerialPort::readInto(bool markError)
{
    if (!isOpen)
        return 0;
    int total = 0;
    for (;;) {
        int n = read();
        if (n < 0) {
            if (markError)
                readError = true;
            return -1;
        }
        if (n == 0)
            return total;
        total += n;
    }
}

int SerialPort::readAvailable() { return readInto(true); }

int SerialPort::readAll() { return readInto(false); }

int SerialPort::discardInput()
{
    if (!isOpen)
        return 0;
    int n = readAll();
    if (n == -1)
        return -1;
    readData.clear();
    return n;
}

unsigned char SerialPort::peekByte(unsigned i)
{
    readAvailable();
    LOG_ASSERT(readData.size() > i);
    if (readData.size() <= i)
        return 0;
    return readData[i];
}

bool SerialPort::write(const std::vector<unsigned char>& bytes)
{
    if (!isOpen) {
        LOG_ASSERT(false);
        return false;
    }
    if (bytes.empty())
        return true;
    return handle.writeAll(bytes.data(), bytes.size(), writeWaits, writeWaitMs);
}

bool SerialPort::reconnectIfGone()
{
    if (!handle.hungUp())
        return true;
    return handle.reopen() == platform::SerialLine::OpenResult::Opened;
}

bool SerialPort::isPresent()
{
    if (!isOpen)
        return false;
    if (isDemoPort())
        return true;

    if (readError) {
        // Stays marked, so that the next question tries the device again.
        if (!reconnectIfGone())
            return false;
        platform::LineState state;
        if (!handle.getState(state)) {
            isOpen = false;
            return false;
        }
        state.dtr = false;
        state.rts = false;
        if (!handle.setState(state)) {
            isOpen = false;
            return false;
        }
        platform::sleepMs(50);
        state.dtr = true;
        state.rts = true;
        if (!handle.setState(state)) {
            isOpen = false;
            return false;
        }
        readError = false;
        if (handshake() != OPEN_OK)
            return false;
        // A kind-3 interface that lost its line also lost its stream.
        if (deviceType == FRAMED_MANIKIN)
            return startStreaming();
        return true;
    }

    bool cts = false;
    if (!readModemStatus(cts)) {
        // A line that hung up is recovered on the next question, as after a
        // failed read: the device may come back under the same port.
        if (handle.hungUp())
            readError = true;
        return false;
    }
    if (deviceType == FRAMED_MANIKIN)
        return true;
    return cts;
}

bool SerialPort::close()
{
    deviceType = NO_DEVICE;
    if (isDemoPort())
        return true;
    if (!handle.isValid()) {
        isOpen = false;
        return true;
    }
    bool ok = false;
    platform::LineState state;
    if (handle.getState(state)) {
        state.dtr = false;
        state.rts = false;
        ok = handle.setState(state);
    }
    // The handle is closed even when the lines could not be lowered: a handle
    // kept open would hold the port's lock for the rest of the run.
    ok = handle.close() && ok;
    isOpen = false;
    return ok;
}
