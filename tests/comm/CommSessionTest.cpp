#include "Database/Algorithm.h"
#include "comm/CommSession.h"
#include "comm/CommSettings.h"
#include "comm/MeasurementTracks.h"
#include "comm/SerialPort.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using tracks::feed;
using tracks::RawTrack;
using tracks::Track;

// A session attached to an acquisition whose port is never opened; the
// tests put raw samples into its queue as the port would.
class Processing : public ::testing::Test {
protected:
    Processing()
        : comm(&port)
    {
        session.setAlgorithm(&algorithm);
        session.attach(&comm);
    }

    void queue(const std::vector<RawSample>& samples)
    {
        comm.sampleQueue.insert(comm.sampleQueue.end(), samples.begin(), samples.end());
    }
    void queue(const RawSample& sample, int times)
    {
        for (int i = 0; i < times; ++i)
            comm.sampleQueue.push_back(sample);
    }

    testsupport::LogCapture log;
    Algorithm algorithm;
    SerialPort port;
    Comm comm;
    CommSession session;
};

TEST_F(Processing, ConvertsSteadyValuesByTheDeviceKind)
{
    struct Case {
        int deviceType;
        RawSample raw;
        double depth;
        double volume;
    } cases[] = {
        { SerialPort::QUERY_MANIKIN, { 101, 112, 76 }, 25.0, 1.0 },
        { SerialPort::FRAMED_MANIKIN, { 17, 100, 0 }, 5.0, 1.3 },
    };
    for (const Case& c : cases) {
        port.deviceType = c.deviceType;
        session.attach(&comm);
        queue(c.raw, 12);
        session.process();
        ASSERT_EQ(session.manData.size(), 12u);
        // After the smoothing windows have filled, a steady value comes through unchanged.
        EXPECT_NEAR(session.manData.back().depth, c.depth, 1e-9) << c.deviceType;
        EXPECT_NEAR(session.manData.back().volume, c.volume, 1e-9) << c.deviceType;
    }
}

TEST_F(Processing, ValuesUpToSevenAboveTheZeroAreRest)
{
    comm.zeroCompression = 30;
    comm.zeroVentilation = 20;
    queue({ 37, 27, 76 }, 10);
    queue({ 38, 28, 76 }, 10);
    session.process();
    ASSERT_EQ(session.correctedSamples.size(), 20u);
    EXPECT_EQ(session.correctedSamples[9].compression, 0);
    EXPECT_EQ(session.correctedSamples[9].ventilation, 0);
    EXPECT_EQ(session.correctedSamples[19].compression, 8);
    EXPECT_EQ(session.correctedSamples[19].ventilation, 8);
}

TEST_F(Processing, SamplesAtZeroWithoutFlagsAreMeasuredToo)
{
    // A framed interface at rest without flags delivers {0, 0, 0}: a real sample.
    port.deviceType = SerialPort::FRAMED_MANIKIN;
    queue({ 0, 0, 0 }, 3);
    queue({ { 17, 0, 0 } });
    session.process();
    EXPECT_EQ(session.manData.size(), 4u);
    EXPECT_TRUE(comm.sampleQueue.empty());
    // An empty queue ends the tick without adding anything.
    session.process();
    EXPECT_EQ(session.manData.size(), 4u);
}

TEST_F(Processing, FlagsComeFromTheStatusWithoutDelay)
{
    queue({ { 0, 0, 76 }, { 0, 0, 12 }, { 0, 0, 204 }, { 0, 0, 140 }, { 0, 0, 76 } });
    session.process();
    ASSERT_EQ(session.manData.size(), 5u);
    const bool a[] = { false, true, false, true, false };
    const bool b[] = { false, false, true, true, false };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(session.manData[i].flagA, a[i]) << i;
        EXPECT_EQ(session.manData[i].flagB, b[i]) << i;
    }
}

TEST_F(Processing, RawStrokesAndBreathsBecomeCompressionsAndVentilations)
{
    RawTrack raw;
    raw.rest(10).strokes(30, 190).rest(20).breath(60).rest(6).breath(60).rest(30).strokes(30, 190).rest(20);
    queue(raw.samples());
    comm.sampleRate = 19.5;
    session.process();
    ASSERT_EQ(session.manData.size(), raw.samples().size());
    EXPECT_EQ(session.correctedSamples.size(), raw.samples().size());
    EXPECT_EQ(session.repairedSamples.size(), raw.samples().size());
    EXPECT_EQ(session.smoothedSamples.size(), raw.samples().size());
    EXPECT_EQ(session.sampleRate, 19.5);
    EXPECT_EQ(session.compressionDetector.sampleRate, 19.5);

    // A later cycle closes the second series' last stroke only at the end of the recording.
    const auto& series = session.compressionDetector.series;
    ASSERT_EQ(series.size(), 2u);
    EXPECT_EQ(series[0].cycles.size(), 30u);
    EXPECT_EQ(series[1].cycles.size(), 30u);
    for (const CompressionSeries& s : series)
        for (const CompressionCycle& c : s.cycles) {
            EXPECT_GT(c.depth, 40.0); // 190 units are 47 mm; smoothing takes a little off
            EXPECT_LE(c.depth, 47.1);
            EXPECT_FALSE(c.noRelease);
        }
    EXPECT_EQ(session.ventilationDetector.count, 2);
    ASSERT_EQ(session.ventilationDetector.series.size(), 1u);
    // The first series was closed when the second began: one group.
    EXPECT_EQ(session.groups.size(), 1u);
}

TEST_F(Processing, SampleRateOfTheAcquisitionIsTakenOnlyWhenUsable)
{
    comm.sampleRate = 0;
    queue({ 0, 0, 76 }, 3);
    session.process();
    EXPECT_EQ(session.sampleRate, 20.0);
}

TEST_F(Processing, MarksOutOfRangeAreLoggedAndIgnored)
{
    tracks::SignalLog signals(session);
    queue({ 0, 0, 76 }, 3);
    session.process();
    session.markCompression(3);
    session.markVentilation(7);
    EXPECT_TRUE(log.hasAssertion("index<manData.size()"));
    EXPECT_TRUE(signals.compressions.empty());
    EXPECT_TRUE(signals.ventilations.empty());
    session.markVentilation(2);
    EXPECT_TRUE(session.manData[2].ventilationMark);
    EXPECT_EQ(signals.ventilations, std::vector<int> { 2 });
}

TEST_F(Processing, GroupsKeepTheFirstAtAnIndexAndAnnounceEveryOne)
{
    tracks::SignalLog signals(session);
    queue({ 0, 0, 76 }, 40);
    session.process();
    CompressionGroup first { 10, 20, 40, 45, 3.0 };
    CompressionGroup second { 11, 19, 41, 50, 4.0 };
    CompressionGroup noShare { 0, 6, 30, 0, 1.0 };
    session.addEvent(first);
    session.addEvent(second);
    session.addEvent(noShare);
    ASSERT_EQ(session.groups.size(), 1u);
    EXPECT_EQ(session.groups.at(15).compressionPercent, 45);
    EXPECT_EQ(signals.groups, (std::vector<int> { 15, 15 }));

    session.addEvent({ 50, 60, 80, 40, 1.0 });
    EXPECT_TRUE(log.hasAssertion("index < manData.size()"));
    EXPECT_EQ(session.groups.size(), 1u);
}

TEST_F(Processing, AttachStartsAfresh)
{
    RawTrack raw;
    raw.strokes(5, 190).rest(40).strokes(5, 190).rest(5);
    queue(raw.samples());
    session.process();
    session.finish();
    ASSERT_GT(session.nrCompressions, 0);
    session.attach(&comm);
    EXPECT_TRUE(session.manData.empty());
    EXPECT_TRUE(session.correctedSamples.empty());
    EXPECT_TRUE(session.smoothedSamples.empty());
    EXPECT_TRUE(session.groups.empty());
    EXPECT_TRUE(session.compressionDetector.series.empty());
    EXPECT_EQ(session.nrCompressions, 0);
    EXPECT_FALSE(session.loadedFromFile);
}

// --- the measurement part of the data file --------------------------------------------

class DataFile : public ::testing::Test {
protected:
    DataFile() { session.setAlgorithm(&algorithm); }

    std::string saved(const CommSession& s)
    {
        const std::string path = dir.file("session.dat");
        std::FILE* f = std::fopen(path.c_str(), "wb");
        EXPECT_TRUE(s.save(f));
        std::fclose(f);
        return testsupport::readFile(path);
    }
    bool loadText(CommSession& s, const std::string& text, double rate = 20.0)
    {
        const std::string path = dir.file("in.dat");
        std::ofstream(path, std::ios::binary) << text;
        std::FILE* f = std::fopen(path.c_str(), "r");
        bool ok = s.load(f, rate);
        std::fclose(f);
        return ok;
    }

    testsupport::LogCapture log;
    testsupport::TempDir dir;
    Algorithm algorithm;
    CommSession session;
};

TEST_F(DataFile, EmptySessionWritesTheCountZero) { EXPECT_EQ(saved(session), "0\r\n"); }

TEST_F(DataFile, OneLinePerMeasurementWithFourSignificantDigits)
{
    Measurement a;
    a.depth = 45.35;
    Measurement b;
    b.depth = 123.456;
    b.volume = 0.4567;
    b.ventilationMark = true;
    b.flagA = true;
    b.flagB = true;
    Measurement c;
    c.compressionMark = true;
    c.volume = 0.00001234;
    session.manData = { a, b, c };
    EXPECT_EQ(saved(session), "3\r\n45.35 0 0 0 0 0\r\n123.5 1 0 1 0.4567 1\r\n0 0 1 0 1.234e-05 0\r\n");
}

TEST_F(DataFile, SaveFailsOnAStreamInError)
{
    // A read-only stream takes no writes: the error flag is set after the count.
    std::FILE* f = std::fopen("/dev/null", "r");
    ASSERT_NE(f, nullptr);
    session.manData.resize(3);
    EXPECT_FALSE(session.save(f));
    // Now the flag is set before anything is written.
    EXPECT_FALSE(session.save(f));
    std::fclose(f);
}

TEST_F(DataFile, ReadBackGivesTheSameMeasurementsAndFeedsTheDetectorsOnce)
{
    Track track;
    track.rest(10).strokes(30, 45).rest(20).breath(0.5, 12, 10, true).rest(5).breath(0.6).rest(30).strokes(15, 44, 12, 1, true).rest(5);
    feed(session, track.samples());
    const std::string text = saved(session);

    CommSession replay;
    replay.setAlgorithm(&algorithm);
    tracks::SignalLog signals(replay);
    ASSERT_TRUE(loadText(replay, text, 25.0));
    EXPECT_TRUE(replay.loadedFromFile);
    EXPECT_EQ(replay.sampleRate, 25.0);
    ASSERT_EQ(replay.manData.size(), session.manData.size());
    for (std::size_t i = 0; i < replay.manData.size(); ++i) {
        const Measurement& x = session.manData[i];
        const Measurement& y = replay.manData[i];
        EXPECT_NEAR(y.depth, x.depth, 0.01) << i;
        EXPECT_NEAR(y.volume, x.volume, 0.0001) << i;
        EXPECT_EQ(y.flagA, x.flagA) << i;
        EXPECT_EQ(y.flagB, x.flagB) << i;
        EXPECT_EQ(y.compressionMark, x.compressionMark) << i;
        EXPECT_EQ(y.ventilationMark, x.ventilationMark) << i;
    }
    // Once through the detectors, as a live session: no doubled counts or groups.
    EXPECT_EQ(replay.ventilationDetector.count, 2);
    EXPECT_EQ(replay.compressionDetector.series.size(), 2u);
    EXPECT_EQ(replay.compressionDetector.series[0].cycles.size(), 30u);
    EXPECT_EQ(replay.groups.size(), 1u);
    EXPECT_EQ(signals.groups.size(), 1u);
    EXPECT_EQ(signals.compressions.size(), 15u);
    EXPECT_EQ(signals.ventilations.size(), 1u);
}

TEST_F(DataFile, LineFeedsAloneReadTheSame)
{
    ASSERT_TRUE(loadText(session, "2\n45.35 0 0 0 0 0\n1 0 1 0 0.25 1\n"));
    ASSERT_EQ(session.manData.size(), 2u);
    EXPECT_DOUBLE_EQ(session.manData[0].depth, 45.35);
    EXPECT_DOUBLE_EQ(session.manData[1].volume, 0.25);
    EXPECT_TRUE(session.manData[1].compressionMark);
    EXPECT_TRUE(session.manData[1].flagB);
}

TEST_F(DataFile, DamagedOrShortSectionsAreUnreadable)
{
    struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        { "no count", "" },
        { "count is not a number", "x\r\n" },
        { "negative count", "-2\r\n1 0 0 0 0 0\r\n" },
        { "count above the records", "3\r\n1 0 0 0 0 0\r\n2 0 0 0 0 0\r\n" },
        { "huge count", "2000000000\r\n1 0 0 0 0 0\r\n" },
        { "line cut short", "2\r\n1 0 0 0 0 0\r\n2 0 0\r\n" },
        { "letters in a line", "2\r\n1 0 0 0 0 0\r\n2 0 zero 0 0 0\r\n" },
        { "not a number in a value", "1\r\nnan 0 0 0 0 0\r\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        feed(session, Track().strokes(3, 45).samples());
        EXPECT_FALSE(loadText(session, c.text));
        EXPECT_TRUE(session.manData.empty());
        EXPECT_TRUE(session.compressionDetector.series.empty());
        EXPECT_EQ(session.ventilationDetector.count, 0);
    }
    EXPECT_NE(log.text().find("damaged or cut short"), std::string::npos);
}

TEST_F(DataFile, HugeCountOnAStreamOfUnknownSizeIsUnreadable)
{
    // Not a file: its size cannot bound what the count may reserve.
    char text[] = "2000000000\r\n1 0 0 0 0 0\r\n";
    std::FILE* stream = ::fmemopen(text, sizeof text - 1, "r");
    ASSERT_NE(stream, nullptr);
    EXPECT_FALSE(session.load(stream, 20.0));
    EXPECT_TRUE(session.manData.empty());
    std::fclose(stream);
}

TEST_F(DataFile, ATruncatedSavedFileIsUnreadable)
{
    feed(session, Track().strokes(20, 45).rest(30).strokes(10, 45).samples());
    const std::string text = saved(session);
    for (std::size_t cut : { text.size() / 2, text.size() - 3, std::size_t { 1 } }) {
        CommSession replay;
        EXPECT_FALSE(loadText(replay, text.substr(0, cut))) << cut;
        EXPECT_TRUE(replay.manData.empty());
    }
}

TEST_F(DataFile, UnusableSampleRateFallsBackToTwentyWithALogLine)
{
    for (double rate : { 0.0, -5.0, std::nan("") }) {
        ASSERT_TRUE(loadText(session, "1\r\n1 0 0 0 0 0\r\n", rate));
        EXPECT_EQ(session.sampleRate, 20.0);
    }
    EXPECT_NE(log.text().find("unusable sample rate"), std::string::npos);
}

TEST_F(DataFile, NoStreamOrAStreamInErrorIsAFailure)
{
    EXPECT_FALSE(session.save(nullptr));
    EXPECT_FALSE(session.load(nullptr, 20.0));
    EXPECT_TRUE(session.loadedFromFile);

    const std::string path = dir.file("in.dat");
    std::ofstream(path, std::ios::binary) << "1\r\n1 0 0 0 0 0\r\n";
    std::FILE* f = std::fopen(path.c_str(), "r");
    std::fputc('x', f); // writing to a stream opened for reading sets its error flag
    ASSERT_TRUE(std::ferror(f));
    EXPECT_FALSE(session.load(f, 20.0));
    EXPECT_TRUE(session.manData.empty());
    std::fclose(f);
}

// --- the sample dump ------------------------------------------------------------------

TEST_F(Processing, FinishWritesTheFilterHistoriesWhenAsked)
{
    testsupport::TempDir folder;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    CommSettings::setDumpData(true);

    queue({ { 5, 0, 76 }, { 100, 40, 76 }, { 200, 80, 76 }, { 100, 40, 76 }, { 0, 0, 76 } });
    session.process();
    session.finish();

    CommSettings::setDumpData(false);
    std::filesystem::current_path(previous);
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        files.push_back(entry.path());
    ASSERT_EQ(files.size(), 1u);
    const std::string name = files[0].filename().string();
    EXPECT_EQ(name.rfind("dumped data ", 0), 0u) << name;
    EXPECT_EQ(name.substr(name.size() - 4), ".txt");
    // Corrected, repaired and smoothed compression values, then the same for
    // ventilation. The compression smoothing starts at the fourth sample (150,
    // then 100); the ventilation window is not full yet; 5 is below the zero offset's margin.
    EXPECT_EQ(testsupport::readFile(files[0].string()),
        "0\t0\t0\t0\t0\t0\r\n"
        "100\t100\t100\t40\t40\t40\r\n"
        "200\t200\t200\t80\t80\t80\r\n"
        "100\t100\t150\t40\t40\t40\r\n"
        "0\t0\t100\t0\t0\t0\r\n");
}

} // namespace
