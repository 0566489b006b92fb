#include "comm/CollectedData.h"
#include "comm/Comm.h"
#include "comm/CommSettings.h"
#include "comm/DemoSets.h"
#include "comm/Measurement.h"
#include "comm/SerialPort.h"
#include "platform/Clock.h"
#include "platform/Resources.h"
#include "sim/HandshakeDevices.h"
#include "sim/PortsFolder.h"
#include "sim/SimModemLines.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

using sim::Bytes;
using sim::SampleValue;

constexpr int port = 12;

// Compression and ventilation both carry the sample's index, so a lost or
// repeated sample shows in the sequence.
std::shared_ptr<sim::Waveform> countingWaveform()
{
    return std::make_shared<sim::CallbackWaveform>([](std::size_t i) {
        return SampleValue { static_cast<int>(20 + i % 200), static_cast<int>(20 + i % 200), i % 7 == 3, i % 11 == 5 };
    });
}

// The wall clock, which a test can move ahead at once, so that a second of
// silence passes without waiting for it. Sleeps still take real time: the
// simulated devices run on the wall clock.
class SkipClock : public platform::Clock {
public:
    SkipClock() { platform::setClock(this); }
    ~SkipClock() override { platform::setClock(nullptr); }
    SkipClock(const SkipClock&) = delete;
    SkipClock& operator=(const SkipClock&) = delete;

    std::uint64_t tickCount() override
    {
        using namespace std::chrono;
        auto real = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
        return static_cast<std::uint64_t>(real) + skipped;
    }
    void sleep(int milliseconds) override
    {
        if (milliseconds > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    void skip(std::uint64_t milliseconds) { skipped += milliseconds; }

private:
    std::uint64_t skipped = 0;
};

class CommTest : public ::testing::Test {
protected:
    CommTest() { sim::SimModemLines::install(); }
    ~CommTest() override { CommSettings::setDemoMode(false); }

    // Runs `ticks` timer ticks of 50 ms and takes every sample they produce.
    static std::vector<RawSample> tick(Comm& comm, int ticks)
    {
        std::vector<RawSample> samples;
        for (int i = 0; i < ticks; ++i) {
            comm.update();
            while (!comm.sampleQueue.empty())
                samples.push_back(comm.popSample());
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return samples;
    }

    // Starts `device` with the counting waveform and `stream`, then opens the
    // acquisition on it and starts collecting.
    ::testing::AssertionResult collectFrom(sim::HandshakeDevice& device, const sim::StreamSettings& stream = {})
    {
        device.setWaveform(countingWaveform());
        device.setStream(stream);
        if (!device.start())
            return ::testing::AssertionFailure() << "the device did not start";
        int result = comm.open(port);
        if (result != SerialPort::OPEN_OK)
            return ::testing::AssertionFailure() << "open gave " << result;
        comm.start();
        return ::testing::AssertionSuccess();
    }

    sim::PortsFolder ports;
    testsupport::LogCapture log;
    SerialPort serial;
    Comm comm { &serial };
};

// Each sample's index is later than the one before (the values wrap at 200).
void expectAdvancing(const std::vector<RawSample>& samples)
{
    for (std::size_t k = 1; k < samples.size(); ++k) {
        int step = (samples[k].compression - samples[k - 1].compression + 200) % 200;
        EXPECT_GT(step, 0) << "sample " << k;
        EXPECT_LT(step, 100) << "sample " << k;
    }
}

void expectConsecutive(const std::vector<RawSample>& samples, std::size_t firstIndex, const std::string& what)
{
    for (std::size_t k = 0; k < samples.size(); ++k) {
        std::size_t i = firstIndex + k;
        ASSERT_EQ(samples[k].compression, static_cast<int>(20 + i % 200)) << what << " at sample " << k;
        ASSERT_EQ(samples[k].ventilation, samples[k].compression) << what << " at sample " << k;
        ASSERT_EQ(samples[k].error, sim::statusByte(i % 7 == 3, i % 11 == 5)) << what << " at sample " << k;
    }
}

TEST_F(CommTest, QueryRecordsArriveInOrderAfterAMisalignedStart)
{
    sim::QueryDevice device(ports.path(), port);
    sim::StreamSettings stream;
    stream.prefix = { 0x0D, 76, 0x33, 0x0D, 0x55 }; // the tail of a record and noise
    ASSERT_TRUE(collectFrom(device, stream));
    std::vector<RawSample> samples = tick(comm, 20);
    ASSERT_GE(samples.size(), 10u);
    // The stream started before `start` discarded what had come: find where we joined.
    std::size_t first = static_cast<std::size_t>(samples[0].compression - 20);
    expectConsecutive(samples, first, "misaligned start");
    EXPECT_EQ(comm.sampleCount, static_cast<int>(samples.size()));
    comm.stop();
    EXPECT_FALSE(comm.isRunning());
}

TEST_F(CommTest, RecordWithoutTerminatorIsDroppedAndTheNextOneKept)
{
    sim::QueryDevice device(ports.path(), port);
    sim::StreamSettings stream;
    stream.dropTerminatorEvery = 5;
    ASSERT_TRUE(collectFrom(device, stream));
    std::vector<RawSample> samples = tick(comm, 24);
    ASSERT_GE(samples.size(), 10u);
    std::size_t index = static_cast<std::size_t>(samples[0].compression - 20);
    for (const RawSample& s : samples) {
        // Records (index + 1) % 5 == 0 lack their CR and are lost; none other is.
        if ((index + 1) % 5 == 0)
            ++index;
        ASSERT_EQ(s.compression, static_cast<int>(20 + index % 200));
        ++index;
    }
}

TEST_F(CommTest, SilentDeviceIsHandshakenAgainAndResumes)
{
    sim::QueryDevice device(ports.path(), port);
    ASSERT_TRUE(collectFrom(device));
    ASSERT_FALSE(tick(comm, 6).empty());

    sim::StreamSettings quiet;
    quiet.silent = true;
    device.setStream(quiet);
    int queriesBefore = device.queriesSeen();
    tick(comm, 30); // 1.5 s of silence
    EXPECT_GT(device.queriesSeen(), queriesBefore) << "silence of over a second asks the device again";

    device.setStream(sim::StreamSettings {});
    std::vector<RawSample> after = tick(comm, 20);
    EXPECT_FALSE(after.empty()) << "records flow again after the new handshake";
    auto answers = device.answers();
    for (const auto& a : answers)
        EXPECT_TRUE(a.correct);
}

TEST_F(CommTest, DeviceGetsItsSecondAfterAHandshakeAndAfterAPause)
{
    SkipClock clock;
    sim::QueryDevice device(ports.path(), port);
    sim::StreamSettings late;
    late.startDelayMs = 100; // later than the next tick
    ASSERT_TRUE(collectFrom(device, late));
    ASSERT_FALSE(tick(comm, 6).empty());

    device.stopStream();
    tick(comm, 2);
    int queries = device.queriesSeen();
    clock.skip(1100);
    std::vector<RawSample> after = tick(comm, 16);
    EXPECT_EQ(device.queriesSeen(), queries + 1) << "one handshake, then the device has its second";
    EXPECT_GE(after.size(), 8u) << "records flow again 100 ms after the handshake";
    expectAdvancing(after);

    comm.stop();
    clock.skip(1500);
    comm.start();
    queries = device.queriesSeen();
    EXPECT_FALSE(tick(comm, 4).empty());
    EXPECT_EQ(device.queriesSeen(), queries) << "the silence counts from the resume, not from before the pause";
}

TEST_F(CommTest, StalledFramedDeviceIsAskedForItsStreamThenHandshakenAndNoHeldValueIsRecorded)
{
    SkipClock clock;
    sim::FramedDevice device(ports.path(), port);
    // Several frames a tick, so that every tick has news while it streams.
    sim::StreamSettings fast;
    fast.samplesPerSecond = 100;
    ASSERT_TRUE(collectFrom(device, fast));
    comm.sampleQueue.clear();
    ASSERT_FALSE(tick(comm, 6).empty());

    sim::StreamSettings stalled = fast;
    stalled.silent = true;
    device.setStream(stalled);
    tick(comm, 3); // the last values are held, one sample per tick, while the silence is short
    std::size_t commands = device.streamCommands().size();
    int wakes = device.wakeFramesSeen();

    clock.skip(1100);
    EXPECT_TRUE(tick(comm, 3).empty()) << "a stopped stream's last values are not new samples";
    EXPECT_EQ(device.streamCommands().size(), commands + 2) << "asked once for the stream (2, then 1)";
    EXPECT_EQ(device.wakeFramesSeen(), wakes) << "no handshake yet";

    clock.skip(1100);
    EXPECT_TRUE(tick(comm, 3).empty());
    EXPECT_EQ(device.wakeFramesSeen(), wakes + 1) << "handshaken, as asking for the stream brought nothing";
    EXPECT_EQ(device.streamCommands().size(), commands + 4) << "and asked for the stream after the handshake";

    device.setStream(fast);
    std::vector<RawSample> after = tick(comm, 10);
    ASSERT_GE(after.size(), 5u);
    expectAdvancing(after);
    EXPECT_EQ(device.wakeFramesSeen(), wakes + 1);
}

TEST_F(CommTest, HandshakeWithoutAStreamIsCodeSix)
{
    sim::QueryDevice device(ports.path(), port);
    sim::StreamSettings quiet;
    quiet.silent = true;
    device.setStream(quiet);
    ASSERT_TRUE(device.start());
    SerialPort serial;
    Comm comm(&serial);
    EXPECT_EQ(comm.open(port), SerialPort::OPEN_NO_STREAM);
}

TEST_F(CommTest, SampleRateIsMeasuredAfterTwoHundredSamples)
{
    sim::QueryDevice device(ports.path(), port);
    sim::StreamSettings fast;
    fast.samplesPerSecond = 100;
    device.setStream(fast);
    ASSERT_TRUE(device.start());
    SerialPort serial;
    Comm comm(&serial);
    ASSERT_EQ(comm.open(port), SerialPort::OPEN_OK);
    comm.resetCounters();
    comm.start();
    tick(comm, 10);
    EXPECT_EQ(comm.sampleRate, 20.0) << "fewer than 200 samples";
    tick(comm, 40);
    ASSERT_GT(comm.sampleCount, 200);
    // Measured from the real stream: far from the nominal 20, near the device's 100.
    EXPECT_GT(comm.sampleRate, 60.0);
    EXPECT_LT(comm.sampleRate, 140.0);
}

TEST_F(CommTest, FramedDeviceGivesOneSamplePerTickWithTheLatestValues)
{
    sim::FramedDevice device(ports.path(), port);
    device.setWaveform(countingWaveform());
    sim::StreamSettings fast;
    fast.samplesPerSecond = 200;
    device.setStream(fast);
    ASSERT_TRUE(device.start());
    SerialPort serial;
    Comm comm(&serial);
    ASSERT_EQ(comm.open(port), SerialPort::OPEN_OK);
    EXPECT_EQ(device.streamCommands().size() % 2, 0u);
    comm.start();
    comm.sampleQueue.clear();
    std::vector<RawSample> samples = tick(comm, 10);
    // About ten values per tick arrive, yet each tick yields at most one sample.
    EXPECT_LE(samples.size(), 10u);
    EXPECT_GE(samples.size(), 8u);
    expectAdvancing(samples);
}

TEST_F(CommTest, FramesSplitAcrossWritesArriveInOrder)
{
    sim::FramedDevice device(ports.path(), port);
    sim::StreamSettings split;
    split.samplesPerSecond = 100;
    split.splitFrames = true;
    ASSERT_TRUE(collectFrom(device, split));
    comm.sampleQueue.clear();
    std::vector<RawSample> samples = tick(comm, 20);
    ASSERT_GE(samples.size(), 15u);
    for (const RawSample& s : samples) {
        EXPECT_GE(s.compression, 20);
        EXPECT_LT(s.compression, 220);
        // The two values travel in separate frames, at most one sample apart.
        EXPECT_LE((s.compression - s.ventilation + 200) % 200, 1);
    }
    expectAdvancing(samples);
}

TEST_F(CommTest, PulledCableComesBackThroughTheTicksAlone)
{
    sim::QueryDevice device(ports.path(), port);
    ASSERT_TRUE(collectFrom(device));
    ASSERT_FALSE(tick(comm, 6).empty());

    device.pullCable();
    tick(comm, 4);
    EXPECT_FALSE(serial.isPresent());
    ASSERT_TRUE(device.plugIn());
    // Only what a session does every tick: update, then ask for the device.
    bool present = false;
    for (int i = 0; i < 40 && !present; ++i) {
        tick(comm, 1);
        present = serial.isPresent();
    }
    EXPECT_TRUE(present);
    EXPECT_FALSE(tick(comm, 10).empty()) << "records flow again after re-plugging";
}

TEST_F(CommTest, RepluggedFramedDeviceIsAskedForItsStreamAgain)
{
    sim::FramedDevice device(ports.path(), port);
    sim::StreamSettings fast;
    fast.samplesPerSecond = 100;
    ASSERT_TRUE(collectFrom(device, fast));
    comm.sampleQueue.clear();
    std::vector<RawSample> before = tick(comm, 6);
    ASSERT_FALSE(before.empty());

    device.pullCable();
    tick(comm, 2);
    EXPECT_FALSE(serial.isPresent());
    ASSERT_TRUE(device.plugIn());
    std::size_t commands = device.streamCommands().size();
    // The line alone recovers it: no silence of the acquisition is needed.
    bool present = false;
    for (int i = 0; i < 40 && !present; ++i) {
        present = serial.isPresent();
        if (!present)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(present);
    std::vector<int> values = device.streamCommands();
    ASSERT_GE(values.size(), commands + 2) << "the recovered line asks for the stream";
    EXPECT_EQ(values.back(), 1);

    std::vector<RawSample> after = tick(comm, 10);
    ASSERT_GE(after.size(), 5u);
    EXPECT_NE(after.front().compression, after.back().compression) << "live values, not the one held from before";
    expectAdvancing(after);
}

TEST_F(CommTest, ZeroCalibrationAtRestAndItsFailures)
{
    struct Case {
        const char* name;
        std::shared_ptr<sim::Waveform> waveform;
        int samplesPerSecond;
        int expected;
    } cases[] = {
        { "at rest", std::make_shared<sim::RestWaveform>(30, 50, 4), 20, Comm::CAL_DONE },
        { "ventilation moves", std::make_shared<sim::CallbackWaveform>([](std::size_t i) {
              return SampleValue { 30, static_cast<int>(50 + i % 10), false, false };
          }),
          20, Comm::CAL_VENTILATION_MOVED },
        { "compression moves", std::make_shared<sim::CallbackWaveform>([](std::size_t i) {
              return SampleValue { static_cast<int>(30 + i % 10), 50, false, false };
          }),
          20, Comm::CAL_COMPRESSION_MOVED },
        { "stream too slow", std::make_shared<sim::RestWaveform>(30, 50), 8, Comm::CAL_TOO_FEW_BYTES },
    };
    for (auto& c : cases) {
        sim::QueryDevice device(ports.path(), port);
        device.setWaveform(c.waveform);
        sim::StreamSettings stream;
        stream.samplesPerSecond = c.samplesPerSecond;
        device.setStream(stream);
        ASSERT_TRUE(device.start());
        SerialPort serial;
        Comm comm(&serial);
        ASSERT_EQ(comm.open(port), SerialPort::OPEN_OK) << c.name;
        comm.startCalibration();
        EXPECT_EQ(comm.calibrationStatus(), Comm::CAL_NOT_DONE) << c.name;
        std::this_thread::sleep_for(std::chrono::milliseconds(2300));
        EXPECT_EQ(comm.calibrationStatus(), c.expected) << c.name;
        if (c.expected == Comm::CAL_DONE) {
            // The mean of 34, 30, 26 repeating, and of 46, 50, 54.
            EXPECT_NEAR(serial.zeroCompression, 30, 1);
            EXPECT_NEAR(serial.zeroVentilation, 50, 1);
            EXPECT_EQ(comm.zeroCompression, serial.zeroCompression);
            Comm later(&serial);
            EXPECT_EQ(later.zeroCompression, serial.zeroCompression) << "a later acquisition starts calibrated";
        }
        serial.close();
        device.stop();
    }
}

TEST_F(CommTest, CalibrationOfAClosedPort)
{
    SerialPort serial;
    Comm comm(&serial);
    comm.startCalibration();
    EXPECT_EQ(comm.calibrationStatus(), Comm::CAL_NOT_OPEN);
    comm.start();
    EXPECT_FALSE(comm.isRunning()) << "a closed port cannot collect";
    EXPECT_TRUE(log.hasAssertion("false"));
}

// --- the frame parser, fed by hand ------------------------------------------------------------

class FrameParser : public CommTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device.start());
        ASSERT_EQ(serial.open(port), SerialPort::OPEN_OK);
        ASSERT_EQ(serial.deviceType, SerialPort::FRAMED_MANIKIN);
    }
    void feed(const Bytes& bytes) { serial.readData.insert(serial.readData.end(), bytes.begin(), bytes.end()); }
    static Bytes frame(int command, std::uint8_t value)
    {
        return { 0x7E, static_cast<std::uint8_t>(command), 0x00, 0x01, value };
    }

    sim::FramedDevice device { ports.path(), port };
    SerialPort serial;
};

TEST_F(FrameParser, NoSampleUntilBothValuesAreKnown)
{
    Comm comm(&serial);
    feed(frame(1, 40));
    feed(frame(1, 41));
    EXPECT_FALSE(comm.parseRecord(false));
    EXPECT_TRUE(comm.sampleQueue.empty());
    comm.newTick = true;
    feed(frame(2, 60));
    EXPECT_TRUE(comm.parseRecord(false));
    ASSERT_EQ(comm.sampleQueue.size(), 1u);
    EXPECT_EQ(comm.sampleQueue.back().compression, 41);
    EXPECT_EQ(comm.sampleQueue.back().ventilation, 60);
    EXPECT_FALSE(comm.parseRecord(false)) << "one sample per tick";
}

TEST_F(FrameParser, FrameSplitAcrossReadsIsTakenOnce)
{
    Comm comm(&serial);
    feed(frame(2, 60));
    Bytes compression = frame(1, 42);
    feed(Bytes(compression.begin(), compression.begin() + 3));
    // Calibration takes one sample per frame.
    EXPECT_FALSE(comm.parseRecord(true)) << "only the ventilation is known";
    feed(Bytes(compression.begin() + 3, compression.end()));
    EXPECT_TRUE(comm.parseRecord(true));
    ASSERT_FALSE(comm.sampleQueue.empty());
    EXPECT_EQ(comm.sampleQueue.back().compression, 42) << "the split frame was kept, not lost";
    std::size_t samples = comm.sampleQueue.size();
    EXPECT_FALSE(comm.parseRecord(true)) << "and not taken twice";
    EXPECT_EQ(comm.sampleQueue.back().compression, 42);
    EXPECT_LE(comm.sampleQueue.size(), samples + 1);
}

TEST_F(FrameParser, FlagFramesCombineIntoTheStatus)
{
    struct Step {
        int command;
        std::uint8_t value;
        int status;
    } steps[] = {
        { 5, 1, 12 },  // A on
        { 9, 1, 140 }, // B on
        { 5, 1, 140 }, // A on again
        { 9, 0, 12 },  // B off
        { 5, 0, 0 },   // A off
        { 9, 7, 204 }, // B on, any non-zero value
    };
    Comm comm(&serial);
    feed(frame(1, 30));
    feed(frame(2, 30));
    for (const Step& s : steps) {
        feed(frame(s.command, s.value));
        comm.newTick = true;
        EXPECT_TRUE(comm.parseRecord(false));
        EXPECT_EQ(comm.sampleQueue.back().error, s.status) << "command " << s.command << " value " << int(s.value);
    }
}

TEST_F(FrameParser, StartByteWithAnImplausibleLengthDoesNotHoldBackLaterFrames)
{
    Comm comm(&serial);
    feed({ 0x7E, 0x01, 0x00, 0xF0 });
    feed(frame(1, 44));
    feed(frame(2, 55));
    EXPECT_TRUE(comm.parseRecord(false));
    ASSERT_EQ(comm.sampleQueue.size(), 1u);
    EXPECT_EQ(comm.sampleQueue.back().compression, 44);
    EXPECT_EQ(comm.sampleQueue.back().ventilation, 55);
}

TEST_F(FrameParser, UnknownCommandsAndNoiseAreSkipped)
{
    Comm comm(&serial);
    feed({ 0x00, 0x13, 0x7E, 0x03, 0x00, 0x02, 0xAA, 0xBB });
    feed(frame(1, 44));
    feed(frame(2, 55));
    EXPECT_TRUE(comm.parseRecord(false));
    ASSERT_EQ(comm.sampleQueue.size(), 1u);
    EXPECT_EQ(comm.sampleQueue.back().compression, 44);
    EXPECT_EQ(comm.sampleQueue.back().ventilation, 55);
}

// --- conversions and the queue -------------------------------------------------------------------

TEST(CommConversion, OffsetsUnitsAndFlags)
{
    SerialPort serial;
    serial.zeroCompression = 10;
    serial.zeroVentilation = 20;
    Comm comm(&serial);
    struct Case {
        RawSample in;
        RawSample out;
    } offsets[] = {
        { { 17, 27, 76 }, { 0, 0, 76 } },   // 7 above the zero level is rest
        { { 18, 28, 12 }, { 8, 8, 12 } },
        { { 5, 5, 204 }, { 0, 0, 204 } },   // below the zero level
        { { 255, 255, 140 }, { 245, 235, 140 } },
    };
    for (const auto& c : offsets) {
        RawSample r = comm.removeOffsets(c.in);
        EXPECT_EQ(r.compression, c.out.compression);
        EXPECT_EQ(r.ventilation, c.out.ventilation);
        EXPECT_EQ(r.error, c.out.error);
    }

    Measurement m = comm.toMeasurement({ 101, 112, 156 });
    EXPECT_DOUBLE_EQ(m.depth, 25.0);
    EXPECT_DOUBLE_EQ(m.volume, 1.0);
    EXPECT_TRUE(m.flagA);
    EXPECT_TRUE(m.flagB);
    serial.deviceType = SerialPort::FRAMED_MANIKIN;
    m = comm.toMeasurement({ 17, 100, 204 });
    EXPECT_DOUBLE_EQ(m.depth, 5.0);
    EXPECT_DOUBLE_EQ(m.volume, 1.3);
    EXPECT_FALSE(m.flagA);
    EXPECT_TRUE(m.flagB);

    for (int status : { 12, 28, 140, 156 })
        EXPECT_TRUE(statusHasFlagA(status)) << status;
    for (int status : { 0, 76, 92, 204, 220 })
        EXPECT_FALSE(statusHasFlagA(status)) << status;
    for (int status : { 140, 156, 204, 220 })
        EXPECT_TRUE(statusHasFlagB(status)) << status;
    for (int status : { 0, 12, 28, 76, 92 })
        EXPECT_FALSE(statusHasFlagB(status)) << status;

    RawSample empty = comm.popSample();
    EXPECT_EQ(empty.compression, 0);
    EXPECT_EQ(empty.ventilation, 0);
    EXPECT_EQ(empty.error, 0);
}

// --- demonstration ports -------------------------------------------------------------------------

TEST(CommDemo, PlaysTheRecordingOneSamplePerTickAndCalibratesFromItsStart)
{
    testsupport::LogCapture log;
    static const unsigned char compression[] = { 12, 40, 90 };
    static const unsigned char ventilation[] = { 9, 9 };
    static const unsigned char status[] = { 76 };
    platform::registerResource("BIN", 9001, compression, sizeof compression);
    platform::registerResource("BIN", 9002, ventilation, sizeof ventilation);
    platform::registerResource("BIN", 9003, status, sizeof status);
    CollectedData c(9001), v(9002), s(9003);
    CollectedData missing(9004);
    EXPECT_TRUE(log.hasAssertion("count != 0"));
    EXPECT_EQ(missing.value(5), 0);
    DemoSet set { &c, &v, &s };

    DemoSets::install(250 % 3, &set);
    CommSettings::setDemoMode(true);
    SerialPort serial;
    Comm comm(&serial);
    EXPECT_EQ(comm.open(250), SerialPort::OPEN_OK);
    comm.update();
    EXPECT_TRUE(comm.sampleQueue.empty()) << "nothing plays before start";
    comm.start();
    for (int i = 0; i < 4; ++i)
        comm.update();
    ASSERT_EQ(comm.sampleQueue.size(), 4u);
    EXPECT_EQ(comm.sampleQueue[3].compression, 12) << "the recording repeats";
    EXPECT_EQ(comm.sampleQueue[2].compression, 90);
    EXPECT_EQ(comm.sampleQueue[3].ventilation, 9);
    EXPECT_EQ(comm.sampleRate, 20.0);
    EXPECT_EQ(comm.calibrationStatus(), Comm::CAL_DONE);
    EXPECT_EQ(serial.zeroCompression, 12);
    EXPECT_EQ(serial.zeroVentilation, 9);
    CommSettings::setDemoMode(false);
    DemoSets::install(250 % 3, nullptr);
    for (int id : { 9001, 9002, 9003 })
        platform::unregisterResource("BIN", id);
}

} // namespace
