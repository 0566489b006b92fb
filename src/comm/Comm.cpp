#include "comm/Comm.h"

#include "Utillib/LogStream.h"
#include "comm/CollectedData.h"
#include "comm/CommSettings.h"
#include "comm/Measurement.h"
#include "comm/SerialPort.h"
#include "platform/Clock.h"

#include <algorithm>

namespace {

constexpr int recordTerminator = 0x0D;
constexpr int frameStart = 0x7E;
// The frames a manikin sends carry one byte; a few more leave room.
constexpr std::size_t maxFramePayload = 8;
constexpr int resyncBudget = 100;
constexpr int resyncStepMs = 25;
constexpr int silenceLimitMs = 1000;
constexpr int calibrationTimeMs = 2200;
constexpr std::size_t calibrationMinBytes = 120;
constexpr int calibrationMaxRange = 8;

bool isValidStatus(int status)
{
    switch (status) {
    case 12: case 28: case 76: case 140: case 156: case 204: case 220:
        return true;
    default:
        return false;
    }
}

int framedStatus(bool flagA, bool flagB)
{
    if (flagA && flagB)
        return 140;
    if (flagA)
        return 12;
    if (flagB)
        return 204;
    return 0;
}

} // namespace

Comm::Comm(SerialPort* port)
    : serialPort(port)
    , zeroCompression(port ? port->zeroCompression : 0)
    , zeroVentilation(port ? port->zeroVentilation : 0)
{
}

Comm::~Comm() = default;

bool Comm::isDemoPort() const { return serialPort && CommSettings::isDemoPort(serialPort->portNumber); }

int Comm::open(int port)
{
    int result = serialPort->open(port);
    if (isDemoPort())
        return SerialPort::OPEN_OK;
    if (result != SerialPort::OPEN_OK)
        return result;
    return resync() ? SerialPort::OPEN_OK : SerialPort::OPEN_NO_STREAM;
}

void Comm::start()
{
    if (isDemoPort()) {
        running = true;
        return;
    }
    if (!serialPort->isOpen) {
        LOG_ASSERT(false);
        return;
    }
    serialPort->discardInput();
    runWatch.resume();
    // The device gets its full second after a pause before it counts as silent.
    silenceWatch.restart();
    silenceWatch.start();
    running = true;
}

void Comm::stop()
{
    if (!isDemoPort() && serialPort->isOpen && running)
        poll();
    runWatch.pause();
    running = false;
}

void Comm::resetCounters()
{
    sampleCount = 0;
    runWatch.restart();
}

void Comm::update()
{
    if (isDemoPort()) {
        if (running)
            appendDemoSample();
        return;
    }
    newTick = true;
    poll();
}

bool Comm::appendDemoSample()
{
    if (!running)
        return false;
    const DemoSet* set = serialPort->demoSet;
    if (!set || !set->compression || !set->ventilation || !set->status)
        return false;
    auto n = static_cast<std::size_t>(sampleCount);
    sampleQueue.push_back({ set->compression->value(n), set->ventilation->value(n), set->status->value(n) });
    ++sampleCount;
    return true;
}

bool Comm::poll()
{
    if (!running) {
        runWatch.pause();
        serialPort->discardInput();
        return true;
    }
    runWatch.resume();

    if (serialPort->isPresent()) {
        bool any = false;
        frameTaken = false;
        while (parseRecord(false))
            any = true;
        // A kind-3 sample may only repeat the values held: only a frame is news.
        bool heard = serialPort->deviceType == SerialPort::FRAMED_MANIKIN ? frameTaken : any;
        if (heard) {
            silenceWatch.restart();
            silenceWatch.start();
            streamStopped = false;
            streamAsked = false;
        } else if (silenceExceeded()) {
            return recoverFromSilence();
        } else if (!silenceWatch.isRunning()) {
            silenceWatch.start();
        }
    }

    std::int64_t ms = runWatch.elapsed();
    if (sampleCount > 200 && ms > 0)
        sampleRate = sampleCount * 1000.0 / static_cast<double>(ms);
    else
        sampleRate = 20.0;
    return true;
}

bool Comm::parseRecord(bool single)
{
    switch (serialPort->deviceType) {
    case SerialPort::QUERY_MANIKIN:
        return parseQueryRecord();
    case SerialPort::FRAMED_MANIKIN:
        return parseFrames(single);
    default:
        LOG_ASSERT(false);
        return false;
    }
}

bool Comm::parseQueryRecord()
{
    if (!serialPort->isOpen)
        return false;
    serialPort->readAvailable();
    auto& data = serialPort->readData;
    if (data.size() < 4)
        return false;
    if (!isValidStatus(data[0]))
        return resync();
    int status = data[0];
    int ventilation = data[1];
    int compression = data[2];
    data.erase(data.begin(), data.begin() + 3);
    if (data.empty() || data.front() != recordTerminator)
        return resync();
    data.pop_front();
    sampleQueue.push_back({ compression, ventilation, status });
    ++sampleCount;
    return true;
}

bool Comm::parseFrames(bool single)
{
    if (!newTick && !single)
        return false;
    serialPort->readAvailable();
    auto& data = serialPort->readData;
    bool taken = false;
    bool flagA = framedSample.error == 12 || framedSample.error == 140;
    bool flagB = framedSample.error == 204 || framedSample.error == 140;
    while (data.size() >= 4) {
        while (!data.empty() && data.front() != frameStart)
            data.pop_front();
        if (data.size() < 4)
            break;
        std::size_t n = data[3];
        if (data.size() < n + 4) {
            // A frame not complete yet stays queued for the next read; a start
            // byte with an implausible length is noise and must not hold back
            // the frames behind it.
            if (n <= maxFramePayload)
                break;
            data.pop_front();
            continue;
        }
        int command = data[1] + 256 * data[2];
        bool known = n >= 1 && (command == 1 || command == 2 || command == 5 || command == 9);
        if (!known) {
            data.pop_front();
            continue;
        }
        int value = data[4];
        if (command == 1)
            framedSample.compression = value;
        else if (command == 2)
            framedSample.ventilation = value;
        else if (command == 5)
            flagA = value != 0;
        else
            flagB = value != 0;
        framedSample.error = framedStatus(flagA, flagB);
        taken = true;
        data.pop_front();
        if (single)
            break;
    }
    frameTaken = frameTaken || taken;
    if (framedSample.compression == -1 || framedSample.ventilation == -1)
        return false;
    // A device that stopped sending is not holding still: its last values are
    // not recorded again as new samples.
    if (!single && !taken && (streamStopped || silenceExceeded()))
        return false;
    sampleQueue.push_back(framedSample);
    ++sampleCount;
    newTick = false;
    return single ? taken : true;
}

bool Comm::silenceExceeded() const { return silenceWatch.elapsed() > silenceLimitMs; }

// Asks a silent device again, then gives it a full second before the next try:
// a device that starts its stream a little after the handshake would otherwise
// be interrupted by another handshake at every tick. A kind-3 device streams at
// rest too, so its silence means a stopped stream: it is asked for the stream
// first and handshaken only when that brought nothing.
bool Comm::recoverFromSilence()
{
    bool framed = serialPort->deviceType == SerialPort::FRAMED_MANIKIN;
    streamStopped = framed;
    bool ok;
    if (framed && !streamAsked) {
        ok = serialPort->startStreaming();
        streamAsked = true;
    } else {
        ok = serialPort->handshake() == SerialPort::OPEN_OK;
        if (ok && serialPort->deviceType == SerialPort::FRAMED_MANIKIN)
            ok = serialPort->startStreaming();
        streamAsked = false;
    }
    silenceWatch.restart();
    silenceWatch.start();
    return ok;
}

bool Comm::resync()
{
    if (serialPort->deviceType == SerialPort::FRAMED_MANIKIN) {
        for (int round = 0; round < resyncBudget && (framedSample.compression == -1 || framedSample.ventilation == -1);
             ++round) {
            serialPort->startStreaming();
            parseRecord(false);
        }
        return framedSample.compression != -1 && framedSample.ventilation != -1;
    }
    return resyncRecords();
}

bool Comm::resyncRecords()
{
    auto& data = serialPort->readData;
    int budget = resyncBudget;
    while (budget > 0) {
        while (budget > 0) {
            serialPort->readAvailable();
            if (data.size() >= 4)
                break;
            platform::sleepMs(resyncStepMs);
            --budget;
        }
        while (data.size() >= 4) {
            --budget;
            if (isValidStatus(data[0]) && data[3] == recordTerminator)
                return true;
            data.pop_front();
        }
    }
    return false;
}

void Comm::startCalibration()
{
    if (isDemoPort() || !serialPort->isOpen)
        return;
    serialPort->discardInput();
    if (serialPort->deviceType == SerialPort::FRAMED_MANIKIN) {
        serialPort->startStreaming();
        serialPort->startStreaming();
    }
    calibrationWatch.restart();
    calibrationWatch.start();
}

int Comm::calibrationStatus()
{
    if (isDemoPort()) {
        const DemoSet* set = serialPort->demoSet;
        zeroCompression = set && set->compression ? set->compression->value(0) : 0;
        zeroVentilation = set && set->ventilation ? set->ventilation->value(0) : 0;
        serialPort->zeroCompression = zeroCompression;
        serialPort->zeroVentilation = zeroVentilation;
        return CAL_DONE;
    }
    if (!serialPort->isOpen)
        return CAL_NOT_OPEN;
    if (calibrationWatch.elapsed() < calibrationTimeMs)
        return CAL_NOT_DONE;
    if (serialPort->readAvailable() == -1)
        return CAL_READ_FAILED;
    bool framed = serialPort->deviceType == SerialPort::FRAMED_MANIKIN;
    if (!framed && serialPort->readData.size() < calibrationMinBytes)
        return CAL_TOO_FEW_BYTES;

    while (parseRecord(true)) {
    }
    int minC = 256, maxC = 0, minV = 256, maxV = 0;
    long sumC = 0, sumV = 0;
    long count = 0;
    while (!sampleQueue.empty()) {
        RawSample s = sampleQueue.front();
        sampleQueue.pop_front();
        minC = std::min(minC, s.compression);
        maxC = std::max(maxC, s.compression);
        minV = std::min(minV, s.ventilation);
        maxV = std::max(maxV, s.ventilation);
        sumC += s.compression;
        sumV += s.ventilation;
        ++count;
    }
    // Nothing arrived to average (a framed device that sent no values).
    if (count == 0)
        return CAL_TOO_FEW_BYTES;
    if (maxV - minV > calibrationMaxRange)
        return CAL_VENTILATION_MOVED;
    if (maxC - minC > calibrationMaxRange)
        return CAL_COMPRESSION_MOVED;
    zeroCompression = static_cast<int>(sumC / count);
    zeroVentilation = static_cast<int>(sumV / count);
    serialPort->zeroCompression = zeroCompression;
    serialPort->zeroVentilation = zeroVentilation;
    serialPort->discardInput();
    return CAL_DONE;
}
