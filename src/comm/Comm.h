#pragma once
#include "Filters/RawSample.h"
#include "comm/Measurement.h"
#include "comm/SerialPort.h"
#include "comm/Stopwatch.h"

#include <deque>


// The acquisition of one manikin: drains its borrowed SerialPort once per tick,
// cuts the bytes into raw samples, measures the sample rate, re-runs the
// handshake when the device falls silent, and calibrates the zero levels.
// A demonstration port plays a recording instead, one sample per tick.
class Comm {
public:
    enum CalibrationStatus {
        CAL_NOT_OPEN = 0,
        CAL_READ_FAILED = 1,
        CAL_VENTILATION_MOVED = 2,
        CAL_COMPRESSION_MOVED = 3,
        CAL_TOO_FEW_BYTES = 4,
        CAL_NOT_DONE = 5,
        CAL_DONE = 6,
    };

    explicit Comm(SerialPort* port);
    virtual ~Comm();

    int open(int port);
    void start();
    void stop();
    void resetCounters();
    void update();

    bool poll();
    bool parseRecord(bool single);
    bool resync();
    // These three run for every sample of every manikin: kept inline.
    RawSample popSample()
    {
        if (sampleQueue.empty())
            return {};
        RawSample sample = sampleQueue.front();
        sampleQueue.pop_front();
        return sample;
    }

    // Subtracts the zero offsets (differences below 8 become 0); keeps the status.
    RawSample removeOffsets(const RawSample& sample) const
    {
        RawSample r = sample;
        int c = sample.compression - zeroCompression;
        int v = sample.ventilation - zeroVentilation;
        r.compression = c >= 8 ? c : 0;
        r.ventilation = v >= 8 ? v : 0;
        return r;
    }

    // Depth in mm and volume in litres by the device kind, flags from the status.
    Measurement toMeasurement(const RawSample& s) const
    {
        Measurement m;
        if (serialPort && serialPort->deviceType == SerialPort::FRAMED_MANIKIN) {
            m.depth = s.compression * 5.0 / 17.0;
            m.volume = s.ventilation * 0.013;
        } else {
            m.depth = s.compression * 25.0 / 101.0;
            m.volume = s.ventilation / 112.0;
        }
        m.flagA = statusHasFlagA(s.error);
        m.flagB = statusHasFlagB(s.error);
        return m;
    }

    void startCalibration();
    int calibrationStatus();
    bool appendDemoSample();

    bool isRunning() const { return running; }
    bool isDemoPort() const;

    std::deque<RawSample> sampleQueue;
    SerialPort* serialPort;
    int zeroCompression;
    int zeroVentilation;
    Stopwatch calibrationWatch;
    bool running = false;
    double sampleRate = 20.0;
    int sampleCount = 0;
    bool newTick = true;
    RawSample framedSample { -1, -1, 0 };
    Stopwatch runWatch;
    Stopwatch silenceWatch;

private:
    bool parseQueryRecord();
    bool parseFrames(bool single);
    bool resyncRecords();
    bool silenceExceeded() const;
    bool recoverFromSilence();

    // A frame of a kind-3 device arrived since the flag was last cleared.
    bool frameTaken = false;
    // A kind-3 device sent nothing for longer than the silence limit, and no
    // frame since: its held values are no measurement.
    bool streamStopped = false;
    // The last silence of a kind-3 device was answered by asking for its stream.
    bool streamAsked = false;
};
