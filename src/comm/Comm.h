#pragma once
#include "comm/Stopwatch.h"

#include <deque>

class SerialPort;

// One sample as the device delivered it.
struct RawSample {
    int compression = 0;
    int ventilation = 0;
    int error = 0; // the device status byte
};

struct Measurement;

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
    RawSample popSample();

    // Subtracts the zero offsets (differences below 8 become 0); keeps the status.
    RawSample removeOffsets(const RawSample& sample) const;
    // Depth in mm and volume in litres by the device kind, flags from the status.
    Measurement toMeasurement(const RawSample& sample) const;

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
};
