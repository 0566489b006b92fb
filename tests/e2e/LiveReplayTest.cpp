// A recording played by a simulated manikin interface of kind 1 behind a
// pseudo-terminal, acquired by a real SerialPort and Comm: the live path must
// measure what the demonstration path measures.
#include "Performances.h"
#include "e2e/Playback.h"
#include "e2e/Truth.h"
#include "platform/Clock.h"
#include "sim/HandshakeDevices.h"
#include "sim/PortsFolder.h"
#include "sim/SimModemLines.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

using demo::EventKind;
using demo::Mistake;

// The program's clock running `factor` times as fast as the wall clock, and
// the simulated device sending `factor` times 20 samples per second: on the
// program's clock the device sends its 20 samples per second, and a minute of
// recording plays in half a minute. The one-second silence after which the
// program asks the device again becomes half a second, and the handshake's
// reply window 137 ms: enough slack for a loaded machine.
class FastClock : public platform::Clock {
public:
    static constexpr int factor = 2;

    FastClock() { platform::setClock(this); }
    ~FastClock() override { platform::setClock(nullptr); }

    std::uint64_t tickCount() override
    {
        const auto real = std::chrono::duration_cast<std::chrono::microseconds>(Wall::now() - origin).count();
        return 1000000 + static_cast<std::uint64_t>(real) * factor / 1000;
    }
    void sleep(int milliseconds) override
    {
        if (milliseconds > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(milliseconds * 1000 / factor));
    }

private:
    using Wall = std::chrono::steady_clock;
    Wall::time_point origin = Wall::now();
};

constexpr int port = 7;
// Rest at the exact zero ahead of the recording: the handshake, the zero
// calibration (2.2 s) and the start take about 2.5 s of it.
constexpr int leadIn = 140;
// Rest after it, so that its last samples have surely arrived.
constexpr int tail = 20;

std::vector<sim::SampleValue> deviceSamples(const demo::Recording& r)
{
    std::vector<sim::SampleValue> samples(leadIn, { r.truth.zeroCompression, r.truth.zeroVentilation, false, false });
    for (int i = 0; i < r.truth.samples; ++i) {
        const int status = r.status[i];
        samples.push_back({ r.compression[i], r.ventilation[i], statusHasFlagA(status), statusHasFlagB(status) });
    }
    samples.insert(samples.end(), tail, samples.back());
    return samples;
}

TEST(LiveReplay, AManikinOfKindOneGivesTheCountsOfTheDemonstrationPort)
{
    testsupport::LogCapture log;
    // Two cycles of 30:2 after the first breaths; the second with leaning,
    // wrong hand positions, compressions too deep and a stomach inflation.
    demo::PerformanceOptions options;
    options.length = 940;
    options.seed = 7;
    options.mistakes = { Mistake::Leaning, Mistake::WrongHand, Mistake::TooDeep, Mistake::StomachInflation };
    const demo::Recording recording = demo::perform(options);
    for (int s : { 76, 12, 204 })
        ASSERT_TRUE(std::find(recording.status.begin(), recording.status.end(), s) != recording.status.end())
            << "the recording shows status " << s;

    // The live path measures its own sample rate: keep every series rate well
    // clear of the guideline's limits, so that it cannot change a class.
    const e2e::Judgement judgement;
    for (const auto& s : e2e::seriesOf(recording.truth, EventKind::Compression)) {
        const double rate = (s.size() - 1) * 1200.0 / (s.back().peak - s.front().peak);
        for (double limit : { judgement.algorithm.eccRateLow, judgement.algorithm.eccRateHigh })
            ASSERT_GT(std::abs(rate - limit), 0.02 * limit) << "series rate " << rate;
    }

    // The demonstration path.
    e2e::RegisteredRecording registered(recording, 9150);
    std::vector<Measurement> demoData;
    e2e::Counts demoCounts;
    int demoFirstPeak = -1;
    {
        e2e::DemoPortSession played(247, registered.resources(), judgement);
        played.play(recording.truth.samples);
        demoData = played.session.manData;
        demoCounts = e2e::countsOf(played.session);
        ASSERT_FALSE(played.session.compressionDetector.series.empty());
        demoFirstPeak = played.session.compressionDetector.series.front().firstPeak;
    }

    // The live path: a device on a pseudo-terminal, opened, calibrated at rest, then measured tick by tick.
    sim::SimModemLines::install();
    sim::PortsFolder ports;
    FastClock fast;
    sim::QueryDevice device(ports.path(), port);
    device.setWaveform(std::make_shared<sim::RecordingWaveform>(deviceSamples(recording)));
    sim::StreamSettings stream;
    stream.samplesPerSecond = 20 * FastClock::factor;
    device.setStream(stream);
    ASSERT_TRUE(device.start());

    SerialPort serial;
    Comm comm(&serial);
    ASSERT_EQ(comm.open(port), SerialPort::OPEN_OK);
    comm.startCalibration();
    int calibration = Comm::CAL_NOT_DONE;
    while (calibration == Comm::CAL_NOT_DONE) {
        platform::sleepMs(250);
        calibration = comm.calibrationStatus();
    }
    ASSERT_EQ(calibration, Comm::CAL_DONE);
    EXPECT_EQ(serial.zeroCompression, recording.truth.zeroCompression);
    EXPECT_EQ(serial.zeroVentilation, recording.truth.zeroVentilation);

    const Algorithm algorithm = judgement.algorithm;
    CommSession session;
    session.setAlgorithm(&algorithm);
    session.trainingMode = judgement.trainingMode;
    session.attach(&comm);
    comm.resetCounters();
    comm.start();
    const std::size_t everything = leadIn + recording.truth.samples + tail;
    // The device's pace bounds the wait; a stalled line ends it too.
    for (int ticks = 0; device.samplesSent() < everything && ticks < 4 * static_cast<int>(everything); ++ticks) {
        comm.update();
        session.process();
        platform::sleepMs(50);
    }
    comm.stop();
    session.process();
    session.finish();
    ASSERT_GE(device.samplesSent(), everything);
    EXPECT_EQ(device.queriesSeen(), 1) << "the stream ran without a new handshake";

    // Where the live session joined the rest ahead of the recording.
    ASSERT_FALSE(session.compressionDetector.series.empty());
    const int shift = session.compressionDetector.series.front().firstPeak - demoFirstPeak;
    ASSERT_GT(shift, 0) << "the acquisition started before the recording";
    ASSERT_GE(session.manData.size(), shift + demoData.size());
    for (std::size_t i = 0; i < demoData.size(); ++i) {
        const Measurement& a = session.manData[shift + i];
        const Measurement& b = demoData[i];
        ASSERT_TRUE(a.depth == b.depth && a.volume == b.volume && a.flagA == b.flagA && a.flagB == b.flagB
                    && a.compressionMark == b.compressionMark && a.ventilationMark == b.ventilationMark)
            << "sample " << i << " of the recording: depth " << a.depth << " / " << b.depth << ", volume "
            << a.volume << " / " << b.volume;
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(shift); ++i)
        ASSERT_TRUE(session.manData[i].depth == 0 && session.manData[i].volume == 0) << "lead-in sample " << i;

    const e2e::Counts liveCounts = e2e::countsOf(session);
    ASSERT_EQ(liveCounts.size(), demoCounts.size());
    for (std::size_t i = 0; i < liveCounts.size(); ++i) {
        if (liveCounts[i].first == "firstActivityTime")
            continue; // the live session started earlier
        EXPECT_EQ(liveCounts[i].second, demoCounts[i].second) << liveCounts[i].first;
    }
    const e2e::Counts expected = e2e::expectedCounts(recording, judgement);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (expected[i].first == "firstActivityTime")
            continue;
        EXPECT_EQ(liveCounts[i].second, expected[i].second) << expected[i].first;
    }
    EXPECT_EQ(log.text().find("Assert failed"), std::string::npos) << log.text();
}

} // namespace
