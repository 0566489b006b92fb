#include "DeviceBytesFuzz.h"

#include "comm/Comm.h"
#include "comm/SerialPort.h"
#include "platform/Clock.h"

#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

bool validStatus(int s) { return s == 12 || s == 28 || s == 76 || s == 140 || s == 156 || s == 204 || s == 220; }

// A port that is open in name only: its queue is filled by hand and reading
// the absent line fails, as a vanished device would.
struct FakeOpenPort {
    explicit FakeOpenPort(int type)
    {
        platform::setClock(&clock); // resynchronisation waits must not take real time
        port.isOpen = true;
        port.deviceType = type;
    }
    ~FakeOpenPort() { platform::setClock(nullptr); }
    platform::ManualClock clock;
    SerialPort port;
};

} // namespace

int fuzzQueryRecords(const std::uint8_t* data, std::size_t size)
{
    FakeOpenPort fake(SerialPort::QUERY_MANIKIN);
    fake.port.readData.assign(data, data + size);
    Comm comm(&fake.port);
    std::size_t before = fake.port.readData.size();
    while (comm.parseRecord(false)) {
        require(fake.port.readData.size() < before);
        before = fake.port.readData.size();
    }
    require(comm.sampleQueue.size() * 4 <= size);
    require(static_cast<std::size_t>(comm.sampleCount) == comm.sampleQueue.size());
    for (const RawSample& s : comm.sampleQueue) {
        require(validStatus(s.error));
        require(s.compression >= 0 && s.compression <= 255);
        require(s.ventilation >= 0 && s.ventilation <= 255);
    }
    return 0;
}

int fuzzFrames(const std::uint8_t* data, std::size_t size)
{
    FakeOpenPort fake(SerialPort::FRAMED_MANIKIN);
    fake.port.readData.assign(data, data + size);
    Comm comm(&fake.port);
    // Calibration's way: one sample per frame, until nothing more is taken.
    std::size_t rounds = 0;
    while (comm.parseRecord(true))
        require(++rounds <= size);
    comm.newTick = true;
    comm.parseRecord(false);
    for (const RawSample& s : comm.sampleQueue) {
        require(s.error == 0 || s.error == 12 || s.error == 140 || s.error == 204);
        require(s.compression >= 0 && s.compression <= 255);
        require(s.ventilation >= 0 && s.ventilation <= 255);
    }
    return 0;
}
