#pragma once
#include "platform/SerialLine.h"

#include <deque>
#include <vector>

struct DemoSet;

// One COM port: opens it, tells by a handshake which device is attached,
// queues received bytes, writes, and tells whether the device is still there.
class SerialPort {
public:
    enum Result {
        OPEN_FAILED = 0,
        OPEN_TIMEOUTS_FAILED = 1,
        OPEN_STATE_UNREADABLE = 2,
        OPEN_STATE_UNWRITABLE = 3,
        OPEN_ALREADY_OPEN = 5,
        OPEN_NO_STREAM = 6,
        OPEN_PORT_NOT_AVAILABLE = 7,
        OPEN_NO_DEVICE = 8,
        OPEN_BAD_ANSWER = 9,
        OPEN_OK = 10,
    };

    enum DeviceType { NO_DEVICE = 0, QUERY_MANIKIN = 1, CPR_CONTROLLER = 2, FRAMED_MANIKIN = 3 };

    static constexpr std::size_t readBufferSize = 2048;

    SerialPort() = default;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;
    virtual ~SerialPort();

    // Opens port `port` (-1: the number it was last opened with) and runs the
    // handshakes; returns a Result and keeps it in openResult.
    virtual int open(int port);
    bool close();
    bool isPresent();

    int read();
    int readAvailable();
    int readAll();
    int discardInput();
    unsigned char peekByte(unsigned i);
    // Bytes queued in readData; reads nothing from the line.
    std::size_t getBufferSize() const { return readData.size(); }
    bool write(const std::vector<unsigned char>& bytes);

    int setState(int baudRate, bool dtr, bool rts);
    // Reads until `size` bytes are there or `windowMs` has passed, with one
    // read after the window; false on a read error.
    bool readReply(std::size_t size, int windowMs);
    int handshakeQuery();
    int handshakeFramed();
    int handshake();
    bool startStreaming();
    void setDemoData(int port);
    void resetLines();

    bool isOpen = false;
    int deviceType = NO_DEVICE;
    // Received bytes, oldest first; the acquisition and the controller transfer read it directly.
    std::deque<unsigned char> readData;
    // Zero offsets found by calibration; they outlive close and later opens.
    int zeroCompression = 0;
    int zeroVentilation = 0;
    const DemoSet* demoSet = nullptr;
    bool readError = false;
    int portNumber = -1;
    int openResult = OPEN_OK;
    // Bytes of the last completed read.
    unsigned bytesRead = 0;

    platform::SerialLine& line() { return handle; }

private:
    int openPort(int port);
    bool isDemoPort() const;
    int readInto(bool markError);
    bool readModemStatus(bool& cts);
    // Drops what arrived before a handshake question; the queue is kept when
    // the read failed (false).
    bool dropInput();
    // A device that vanished (unplugged) leaves a dead handle; its node may be back.
    bool reconnectIfGone();

    platform::SerialLine handle;
    std::vector<unsigned char> readBuffer;
};
