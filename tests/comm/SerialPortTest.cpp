#include "comm/CommSettings.h"
#include "comm/DemoSets.h"
#include "comm/SerialPort.h"
#include "platform/Clock.h"
#include "platform/SerialLine.h"
#include "sim/HandshakeDevices.h"
#include "sim/PortsFolder.h"
#include "sim/SimModemLines.h"
#include "support/TestSupport.h"

#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using sim::Bytes;
using sim::Misbehaviour;

constexpr int port = 9;

class SerialPortTest : public ::testing::Test {
protected:
    SerialPortTest()
        : lines(sim::SimModemLines::install())
    {
    }
    ~SerialPortTest() override
    {
        CommSettings::setDemoMode(false);
        CommSettings::setCommDelay(0);
    }

    // Waits until the device has heard `count` bytes from the program.
    static Bytes waitForReceived(const sim::Device& device, std::size_t count)
    {
        for (int i = 0; i < 200 && device.received().size() < count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return device.received();
    }

    sim::PortsFolder ports;
    testsupport::LogCapture log;
    sim::SimModemLines& lines;
};

// --- open: one case per device and per kind of trouble -------------------------------

struct OpenCase {
    const char* name;
    std::function<std::unique_ptr<sim::Device>(const std::string& folder)> makeDevice;
    int expectedResult;
    int expectedType;
};

std::unique_ptr<sim::Device> queryDevice(const std::string& folder, sim::QueryDevice::Identity id = {},
                                         Misbehaviour m = {})
{
    return std::make_unique<sim::QueryDevice>(folder, port, id, m);
}

std::unique_ptr<sim::Device> framedDevice(const std::string& folder, Misbehaviour m = {})
{
    return std::make_unique<sim::FramedDevice>(folder, port, 0x2A, m);
}

// A device that answers the handshake but sends no records after it, so
// that the queue holds only what a test puts there.
sim::StreamSettings quietStream()
{
    sim::StreamSettings stream;
    stream.silent = true;
    return stream;
}

Misbehaviour silent()
{
    Misbehaviour m;
    m.silent = true;
    return m;
}

Misbehaviour replyInstead(Bytes reply)
{
    Misbehaviour m;
    m.replyInstead = std::move(reply);
    return m;
}

const OpenCase openCases[] = {
    { "QueryManikin", [](auto& f) { return queryDevice(f); }, 10, 1 },
    { "CprController", [](auto& f) { return queryDevice(f, sim::QueryDevice::controllerIdentity()); }, 10, 2 },
    { "FramedManikin", [](auto& f) { return framedDevice(f); }, 10, 3 },
    { "GarbageBeforeQueryReply",
      [](auto& f) {
          Misbehaviour m;
          m.garbageBefore = { 0x00, 0xFF, 'x', 0x0D, 0x0A };
          return queryDevice(f, {}, m);
      },
      10, 1 },
    { "QueryAnsweredOnlyOnLastTry",
      [](auto& f) {
          Misbehaviour m;
          m.ignoreFirstQueries = 3;
          return queryDevice(f, {}, m);
      },
      10, 1 },
    // The first reply misses its window; the next try finds it queued.
    { "QueryReplyLate",
      [](auto& f) {
          Misbehaviour m;
          m.replyDelayMs = 400;
          return queryDevice(f, {}, m);
      },
      10, 1 },
    // A device that asserts CTS but never answers: four queries, then the framed try.
    { "SilentDeviceWithCts", [](auto& f) { return queryDevice(f, {}, silent()); }, 8, 0 },
    // No CTS and no answer to the framed handshake.
    { "NothingAttached", [](auto& f) { return framedDevice(f, silent()); }, 8, 0 },
    // The query reply is wrong; the framed try then hears nothing at 19200 baud.
    { "WrongQueryReply", [](auto& f) { return queryDevice(f, {}, replyInstead({ '5', 'a', 0x00, 'X', 0x0A })); }, 8, 0 },
    { "WrongFramedReply", [](auto& f) { return framedDevice(f, replyInstead({ 0x02, 0x2A, 0x0D, 0x0A })); }, 9, 0 },
};

void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.name; }

class SerialPortOpen : public SerialPortTest, public ::testing::WithParamInterface<OpenCase> {
};

TEST_P(SerialPortOpen, ResultAndDeviceType)
{
    auto device = GetParam().makeDevice(ports.path());
    ASSERT_TRUE(device->start());
    SerialPort serial;
    EXPECT_EQ(serial.open(port), GetParam().expectedResult);
    EXPECT_EQ(serial.openResult, GetParam().expectedResult);
    EXPECT_EQ(serial.deviceType, GetParam().expectedType);
    EXPECT_TRUE(serial.close());
    EXPECT_FALSE(serial.isOpen);
    // Closing released the port, whatever the handshake said.
    platform::SerialLine again;
    EXPECT_EQ(again.open(port), platform::SerialLine::OpenResult::Opened);
}

INSTANTIATE_TEST_SUITE_P(Devices, SerialPortOpen, ::testing::ValuesIn(openCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A program kept off the processor: each look at the clock comes after the
// device has had time to answer, and finds the reply window already over.
class StarvedClock : public platform::Clock {
public:
    std::uint64_t tickCount() override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        return now += 1000;
    }
    void sleep(int milliseconds) override
    {
        if (milliseconds > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    std::uint64_t now = 1000;
};

TEST_F(SerialPortTest, AReplyThatCameWhileTheProgramWaitedForTheProcessorCounts)
{
    const struct {
        const char* name;
        std::function<std::unique_ptr<sim::Device>(const std::string&)> make;
        int type;
    } cases[] = {
        {"query", [](const std::string& folder) { return queryDevice(folder); }, SerialPort::QUERY_MANIKIN},
        {"framed", [](const std::string& folder) { return framedDevice(folder); }, SerialPort::FRAMED_MANIKIN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto device = c.make(ports.path());
        ASSERT_TRUE(device->start());
        StarvedClock starved;
        platform::setClock(&starved);
        SerialPort serial;
        const int result = serial.open(port);
        platform::setClock(nullptr);
        EXPECT_EQ(result, SerialPort::OPEN_OK);
        EXPECT_EQ(serial.deviceType, c.type);
        serial.close();
    }
}

TEST_F(SerialPortTest, MissingPortsAreNotAvailable)
{
    SerialPort neverOpened;
    EXPECT_EQ(neverOpened.open(-1), SerialPort::OPEN_PORT_NOT_AVAILABLE);
    SerialPort outside;
    EXPECT_EQ(outside.open(257), SerialPort::OPEN_PORT_NOT_AVAILABLE);
    ports.link(port, ports.path() + "/unplugged");
    SerialPort missing;
    EXPECT_EQ(missing.open(port), SerialPort::OPEN_PORT_NOT_AVAILABLE);
    EXPECT_EQ(missing.portNumber, port);
    EXPECT_TRUE(missing.close());
}

TEST_F(SerialPortTest, PortAlreadyOpenInThisProgram)
{
    sim::QueryDevice device(ports.path(), port);
    ASSERT_TRUE(device.start());
    SerialPort serial;
    ASSERT_EQ(serial.open(port), SerialPort::OPEN_OK);
    EXPECT_EQ(serial.open(port), SerialPort::OPEN_ALREADY_OPEN);
    EXPECT_EQ(serial.open(-1), SerialPort::OPEN_ALREADY_OPEN);
    EXPECT_EQ(serial.deviceType, SerialPort::QUERY_MANIKIN);
    ASSERT_TRUE(serial.close());
    // -1 opens the port it was last opened with.
    EXPECT_EQ(serial.open(-1), SerialPort::OPEN_OK);
}

TEST_F(SerialPortTest, PortHeldByAnotherProcess)
{
    sim::QueryDevice device(ports.path(), port);
    ASSERT_TRUE(device.start());
    sim::OtherProgramHolding other(device.devicePath());
    ASSERT_TRUE(other.holds());
    SerialPort serial;
    EXPECT_EQ(serial.open(port), SerialPort::OPEN_FAILED);
    EXPECT_TRUE(serial.close());
    other.release();
    EXPECT_EQ(serial.open(port), SerialPort::OPEN_OK);
}

// Lines whose DTR and RTS cannot be set, on top of the simulator's lines.
class UnsettableLines : public platform::ModemLines {
public:
    explicit UnsettableLines(platform::ModemLines& inner)
        : inner(inner)
    {
    }
    bool readCts(int fd, const std::string& path, bool& cts) override { return inner.readCts(fd, path, cts); }
    bool setDtrRts(int, const std::string&, bool, bool) override { return false; }

private:
    platform::ModemLines& inner;
};

TEST_F(SerialPortTest, LineThatCannotBeSetUp)
{
    // Not a terminal: its settings cannot even be read.
    ports.link(port, "/dev/null");
    SerialPort notATerminal;
    EXPECT_EQ(notATerminal.open(port), SerialPort::OPEN_STATE_UNREADABLE);
    notATerminal.close();

    sim::QueryDevice device(ports.path(), port);
    ASSERT_TRUE(device.start());
    UnsettableLines broken(lines);
    platform::setModemLines(&broken);
    SerialPort serial;
    EXPECT_EQ(serial.open(port), SerialPort::OPEN_STATE_UNWRITABLE);
    EXPECT_FALSE(serial.close()) << "lowering the lines failed";
    platform::setModemLines(&lines);
    EXPECT_FALSE(serial.line().isValid()) << "but the handle is closed all the same";
}

// --- what the program answers, byte for byte ---------------------------------------------

struct AnswerCase {
    const char* name;
    sim::QueryDevice::Identity identity;
    Bytes expectedAnswer;
    int expectedType;
};

const AnswerCase answerCases[] = {
    { "Digit5LetterA", { '5', 'a', 0xB7 }, { 0x20, 0x48, 0x41 }, 1 },
    { "Digit1LetterA", { '1', 'a', 0x00 }, { 0x20, 0xFF, 0x72 }, 1 },
    { "Digit9LetterK", { '9', 'k', 0x0F }, { 0x20, 0xF0, 0x4B }, 1 },
    { "Controller", { '2', 'c', 0x5A }, { 0x20, 0x43 }, 2 },
};

void PrintTo(const AnswerCase& c, std::ostream* os) { *os << c.name; }

class QueryAnswer : public SerialPortTest, public ::testing::WithParamInterface<AnswerCase> {
};

TEST_P(QueryAnswer, ProgramSendsTheExpectedBytes)
{
    sim::QueryDevice device(ports.path(), port, GetParam().identity);
    ASSERT_TRUE(device.start());
    SerialPort serial;
    ASSERT_EQ(serial.open(port), SerialPort::OPEN_OK);
    EXPECT_EQ(serial.deviceType, GetParam().expectedType);
    Bytes expected { '?' };
    expected.insert(expected.end(), GetParam().expectedAnswer.begin(), GetParam().expectedAnswer.end());
    EXPECT_EQ(waitForReceived(device, expected.size()), expected);
    auto answers = device.answers();
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_TRUE(answers[0].correct);
    EXPECT_TRUE(serial.readData.empty());
}

INSTANTIATE_TEST_SUITE_P(Identities, QueryAnswer, ::testing::ValuesIn(answerCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SerialPortTest, FramedHandshakeWakesAsksAndAnswersTheChallenge)
{
    for (std::uint8_t challenge : { std::uint8_t(0), std::uint8_t(1), std::uint8_t(200) }) {
        sim::FramedDevice device(ports.path(), port, challenge);
        ASSERT_TRUE(device.start());
        SerialPort serial;
        ASSERT_EQ(serial.open(port), SerialPort::OPEN_OK);
        EXPECT_EQ(serial.deviceType, SerialPort::FRAMED_MANIKIN);
        // No CTS, so the query handshake sent nothing; then wake frame, '?', answer.
        Bytes heard = waitForReceived(device, 7);
        ASSERT_EQ(heard.size(), 7u);
        EXPECT_EQ(Bytes(heard.begin(), heard.begin() + 5), (Bytes { 0x7E, 0x07, 0x80, 0x00, '?' }));
        EXPECT_EQ(heard[5] + heard[6], challenge);
        auto answers = device.answers();
        ASSERT_EQ(answers.size(), 1u);
        EXPECT_TRUE(answers[0].correct);
        serial.close();
        device.stop();
    }
}

TEST_F(SerialPortTest, StartStreamingSendsValueTwoThenOne)
{
    sim::FramedDevice device(ports.path(), port);
    ASSERT_TRUE(device.start());
    SerialPort serial;
    ASSERT_EQ(serial.open(port), SerialPort::OPEN_OK);
    EXPECT_TRUE(serial.startStreaming());
    for (int i = 0; i < 100 && device.streamCommands().size() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(device.streamCommands(), (std::vector<int> { 2, 1 }));
}

// A byte still on its way when the line changes speed would reach the
// device at the new speed: a re-handshake's 9600-baud question, heard at
// 19200 baud by an interface of kind 3, is taken for its own question.
TEST_F(SerialPortTest, BytesWrittenBeforeTheSpeedChangesReachTheDeviceAtTheOldSpeed)
{
    sim::QueryDevice device(ports.path(), port);
    ASSERT_TRUE(device.start());
    SerialPort serial;
    ASSERT_EQ(serial.open(port), SerialPort::OPEN_OK);
    ASSERT_EQ(device.queriesSeen(), 1);

    device.holdReading();
    ASSERT_TRUE(serial.write({ '?' }));
    // The terminal hands the byte over a moment after the write; held, it stays.
    for (int i = 0; i < 2000 && device.lineEmpty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(device.lineEmpty()) << "the question waits on the line";
    // The device reads again only once the program waits for the question to
    // be read, so the speed change comes while the question is on the line.
    bool drained = false;
    std::thread releaser([&device, &drained] {
        drained = device.waitForProgramDraining(std::chrono::seconds(30));
        device.releaseReading();
    });
    serial.setState(19200, true, true);
    releaser.join();
    EXPECT_TRUE(drained) << "the speed changed without waiting for the written question";
    for (int i = 0; i < 200 && device.queriesSeen() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(device.queriesSeen(), 2) << "the question was heard at 9600 baud, as it was written";
}

// --- the query reply, checked as it arrives ------------------------------------------------

struct ReplyCase {
    const char* name;
    Misbehaviour misbehaviour;
    int expected;
};

Misbehaviour garbage(Bytes before)
{
    Misbehaviour m;
    m.garbageBefore = std::move(before);
    return m;
}

const ReplyCase replyCases[] = {
    { "LeadingNoiseIsDropped", garbage({ 0x00, 0x0D, 'Z', 0xFF }), 10 },
    { "SixBytes", replyInstead({ '5', 'a', 0x10, 0x0D, 0x0A, 0x0A }), 9 },
    { "LineFeedTerminatorIsEnough", replyInstead({ '5', 'a', 0x10, 0x0A, 0x0A }), 10 },
    { "NoTerminator", replyInstead({ '5', 'a', 0x10, 0x20, 0x0A }), 9 },
    { "LetterOutOfRange", replyInstead({ '5', 'l', 0x10, 0x0D, 0x0A }), 9 },
    { "ZeroIsNoDigit", replyInstead({ '0', 'a', 0x10, 0x0D, 0x0A }), 9 },
    { "TooShort", replyInstead({ '5', 'a', 0x0D }), 9 },
    { "Silence", silent(), 9 },
};

void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

class QueryReply : public SerialPortTest, public ::testing::WithParamInterface<ReplyCase> {
};

TEST_P(QueryReply, Result)
{
    sim::QueryDevice device(ports.path(), port);
    ASSERT_TRUE(device.start());
    SerialPort serial;
    ASSERT_EQ(serial.open(port), SerialPort::OPEN_OK);
    waitForReceived(device, 4);
    device.setMisbehaviour(GetParam().misbehaviour);
    int queriesBefore = device.queriesSeen();
    EXPECT_EQ(serial.handshakeQuery(), GetParam().expected);
    if (GetParam().expected != 10) {
        // The tries are bounded: four queries at most, then the answer is given up.
        EXPECT_LE(device.queriesSeen() - queriesBefore, 4);
    }
}

INSTANTIATE_TEST_SUITE_P(Replies, QueryReply, ::testing::ValuesIn(replyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SerialPortTest, SilentDeviceIsAskedExactlyFourTimes)
{
    sim::QueryDevice device(ports.path(), port, {}, silent());
    ASSERT_TRUE(device.start());
    SerialPort serial;
    EXPECT_EQ(serial.open(port), SerialPort::OPEN_NO_DEVICE);
    EXPECT_EQ(device.queriesSeen(), 4);
    // Every query after the first comes after a DTR pulse, on top of the one at opening.
    EXPECT_GE(lines.lines(device.devicePath()).dtrRaised, 4);
}

// --- presence ---------------------------------------------------------------------------------

TEST_F(SerialPortTest, CtsTellsWhetherAQueryDeviceIsThere)
{
    sim::QueryDevice device(ports.path(), port);
    ASSERT_TRUE(device.start());
    SerialPort serial;
    ASSERT_EQ(serial.open(port), SerialPort::OPEN_OK);
    EXPECT_TRUE(serial.isPresent());
    device.setCts(false);
    EXPECT_FALSE(serial.isPresent());
    device.setCts(true);
    EXPECT_TRUE(serial.isPresent());
    EXPECT_TRUE(serial.close());
    EXPECT_FALSE(lines.lines(device.devicePath()).dtr) << "closing lowers DTR";
    EXPECT_FALSE(serial.isPresent());
}

TEST_F(SerialPortTest, PulledCableIsAbsentUntilPluggedBackIn)
{
    sim::QueryDevice device(ports.path(), port);
    ASSERT_TRUE(device.start());
    SerialPort serial;
    ASSERT_EQ(serial.open(port), SerialPort::OPEN_OK);
    waitForReceived(device, 4);

    device.pullCable();
    EXPECT_EQ(serial.readAvailable(), -1);
    EXPECT_TRUE(serial.readError);
    EXPECT_FALSE(serial.isPresent());
    EXPECT_FALSE(serial.isPresent()) << "still gone on the next question";

    ASSERT_TRUE(device.plugIn());
    EXPECT_TRUE(serial.isPresent());
    EXPECT_FALSE(serial.readError);
    EXPECT_EQ(serial.deviceType, SerialPort::QUERY_MANIKIN);
    auto answers = device.answers();
    ASSERT_FALSE(answers.empty());
    EXPECT_TRUE(answers.back().correct);
    EXPECT_TRUE(serial.close());
}

TEST_F(SerialPortTest, FramedDeviceIsPresentWhileItsLineLives)
{
    sim::FramedDevice device(ports.path(), port);
    ASSERT_TRUE(device.start());
    SerialPort serial;
    ASSERT_EQ(serial.open(port), SerialPort::OPEN_OK);
    EXPECT_TRUE(serial.isPresent()) << "CTS does not matter for this kind";
    device.pullCable();
    EXPECT_FALSE(serial.isPresent());
    serial.readAvailable();
    EXPECT_FALSE(serial.isPresent());
    ASSERT_TRUE(device.plugIn());
    EXPECT_TRUE(serial.isPresent());
    EXPECT_EQ(serial.deviceType, SerialPort::FRAMED_MANIKIN);
}

TEST_F(SerialPortTest, DeviceDyingDuringTheQueryFailsWithoutHanging)
{
    Misbehaviour m;
    m.pullCableOnQuery = true;
    sim::QueryDevice device(ports.path(), port, {}, m);
    ASSERT_TRUE(device.start());
    SerialPort serial;
    // The query read fails (9); the framed handshake then finds the line's
    // status unreadable (2).
    EXPECT_EQ(serial.open(port), SerialPort::OPEN_STATE_UNREADABLE);
    EXPECT_EQ(serial.deviceType, SerialPort::NO_DEVICE);
    serial.close();
    EXPECT_FALSE(serial.isOpen);
    EXPECT_FALSE(serial.line().isValid());
}

// --- reading and writing ------------------------------------------------------------------------

TEST_F(SerialPortTest, WriteOnClosedPortFailsWithAssertion)
{
    SerialPort serial;
    EXPECT_FALSE(serial.write({ 1, 2, 3 }));
    EXPECT_TRUE(log.hasAssertion("false"));
    EXPECT_TRUE(serial.close()) << "closing a port never opened";
}

TEST_F(SerialPortTest, EmptyWriteSucceedsAndPeekBeyondTheQueueIsFlagged)
{
    sim::QueryDevice device(ports.path(), port);
    device.setStream(quietStream());
    ASSERT_TRUE(device.start());
    SerialPort serial;
    ASSERT_EQ(serial.open(port), SerialPort::OPEN_OK);
    EXPECT_TRUE(serial.write({}));
    serial.readData = { 7, 8 };
    EXPECT_EQ(serial.peekByte(1), 8);
    EXPECT_FALSE(log.hasAssertion("readData.size() > i"));
    EXPECT_EQ(serial.peekByte(2), 0);
    EXPECT_TRUE(log.hasAssertion("readData.size() > i"));
    EXPECT_EQ(serial.readData.size(), 2u);
}

TEST_F(SerialPortTest, DiscardInputDropsTheQueueUnlessTheReadFails)
{
    sim::QueryDevice device(ports.path(), port);
    device.setStream(quietStream());
    ASSERT_TRUE(device.start());
    SerialPort serial;
    ASSERT_EQ(serial.open(port), SerialPort::OPEN_OK);
    serial.readData = { 1, 2, 3 };
    EXPECT_EQ(serial.discardInput(), 0);
    EXPECT_TRUE(serial.readData.empty());

    serial.readData = { 1, 2, 3 };
    device.pullCable();
    EXPECT_EQ(serial.discardInput(), -1);
    EXPECT_EQ(serial.readData.size(), 3u);
    EXPECT_FALSE(serial.readError) << "discarding does not mark the line for recovery";
}

// --- demonstration ports ---------------------------------------------------------------------

TEST_F(SerialPortTest, DemonstrationPortsOpenWithoutADevice)
{
    const DemoSet* sets[3] = { reinterpret_cast<const DemoSet*>(0x10), reinterpret_cast<const DemoSet*>(0x20),
                               reinterpret_cast<const DemoSet*>(0x30) };
    for (int i = 0; i < 3; ++i)
        DemoSets::install(i, sets[i]);
    CommSettings::setDemoMode(true);

    SerialPort serial;
    EXPECT_EQ(serial.open(250), SerialPort::OPEN_OK);
    EXPECT_EQ(serial.demoSet, sets[250 % 3]);
    EXPECT_EQ(serial.open(250), SerialPort::OPEN_OK) << "a demonstration port opens again";
    EXPECT_TRUE(serial.isPresent());
    EXPECT_TRUE(serial.close());
    EXPECT_TRUE(serial.isOpen) << "closing leaves a demonstration port as it is";

    SerialPort below;
    ports.link(246, ports.path() + "/none");
    EXPECT_EQ(below.open(246), SerialPort::OPEN_PORT_NOT_AVAILABLE);

    CommSettings::setDemoMode(false);
    SerialPort realAgain;
    ports.link(250, ports.path() + "/none");
    EXPECT_EQ(realAgain.open(250), SerialPort::OPEN_PORT_NOT_AVAILABLE);
    for (int i = 0; i < 3; ++i)
        DemoSets::install(i, nullptr);
}

} // namespace
