#include "CPB/CPBComm.h"
#include "CPB/MemoryMap.h"
#include "CPB/Pointer.h"
#include "Database/Algorithm.h"
#include "config/PropertyModel.h"
#include "comm/SerialPort.h"
#include "platform/Clock.h"
#include "sim/ControllerDevice.h"
#include "sim/PortsFolder.h"
#include "sim/SimModemLines.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace {

using sim::Bytes;
using sim::ControllerFault;

// --- frames and cutting ---------------------------------------------------------------

TEST(CPBFrames, RequestsAndAddressesAsOnTheWire)
{
    EXPECT_EQ(cpb::readRequest(CPBAdr(0x51, 0x7FB0), 3), (ByteVector { 0x55, 0x02, 0x51, 0x7F, 0xB0, 0x03, 0xDA }));
    EXPECT_EQ(cpb::writeRequest(CPBAdr(0x51, 0x7FB0), { 0xFF, 0xFF, 0xE0 }),
              (ByteVector { 0x55, 0x01, 0x51, 0x7F, 0xB0, 0x03, 0x00, 0xFF, 0xFF, 0xE0, 0xB7 }));
    EXPECT_EQ(cpb::writeRequest(CPBAdr(0x51, 0x7D00), { 0x00, 0x00, 0x00, 0x40 }),
              (ByteVector { 0x55, 0x01, 0x51, 0x7D, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x40, 0x68 }));

    EXPECT_EQ(CPBAdr(0x51, 0x00FF) + 1, CPBAdr(0x51, 0x0100));
    EXPECT_EQ(CPBAdr(0x51, 0xFFFF) + 2, CPBAdr(0x51, 0x0001)) << "the carry never reaches the bank";
    EXPECT_EQ(CPBAdr::newBank(1, 0x7FB0).bank, 0x51);
    EXPECT_EQ(CPBAdr(0x51, 0x7FB0).getAdr(), 0x7FB0);
}

TEST(CPBFrames, TransfersAreCutIntoPackagesThatCrossNoPage)
{
    using P = std::vector<std::pair<std::uint16_t, int>>;
    EXPECT_EQ(CPBComm::packages(0x0028, 40), (P { { 0x28, 16 }, { 0x38, 8 }, { 0x40, 8 }, { 0x48, 8 } }));
    EXPECT_EQ(CPBComm::packages(0x7FF0, 6), (P { { 0x7FF0, 6 } }));
    EXPECT_EQ(CPBComm::packages(0x3580, 72),
              (P { { 0x3580, 16 }, { 0x3590, 16 }, { 0x35A0, 16 }, { 0x35B0, 16 }, { 0x35C0, 8 } }));
    EXPECT_EQ(CPBComm::packages(0xFFFA, 10), (P { { 0xFFFA, 6 }, { 0x0000, 4 } }));
    EXPECT_TRUE(CPBComm::packages(0x0100, 0).empty());
    for (std::uint16_t start : { 0x0000, 0x0007, 0x003F, 0x7FF1 })
        for (int len = 1; len <= 200; ++len) {
            int total = 0;
            for (auto [offset, size] : CPBComm::packages(start, len)) {
                EXPECT_GE(size, 1);
                EXPECT_LE(size, MAXDATA);
                EXPECT_LE(offset % PAGE_SIZE + size, PAGE_SIZE);
                EXPECT_EQ(offset, static_cast<std::uint16_t>(start + total));
                total += size;
            }
            EXPECT_EQ(total, len);
        }
}

// --- the reply parser, on a port's queue without a line ---------------------------------------

struct ParseCase {
    const char* name;
    Bytes queued;
    PackageResult result;
    Bytes answer;
    Bytes left;
};

TEST(CPBParser, TakesTheNextFrameFromTheQueue)
{
    const Bytes reply { 0x55, 0x02, 0x51, 0x7F, 0xB0, 0x03, 0xFF, 0xFF, 0xE0, 0xB8 };
    Bytes badReply = reply;
    badReply.back() = 0xB9;
    Bytes cutReply(reply.begin(), reply.end() - 1);
    const std::vector<ParseCase> cases {
        { "ack", { 0x55, 0x06, 0x5B }, PACKAGE_OK, { 0x55, 0x06, 0x5B }, {} },
        { "garbage before an ack", { 0x00, 0xAA, 0x55, 0x06, 0x5B, 0x01 }, PACKAGE_OK, { 0x55, 0x06, 0x5B }, { 0x01 } },
        { "ack with a bad sum", { 0x55, 0x06, 0x5C }, PACKAGE_BAD_SUM, {}, { 0x5C } },
        { "nak", { 0x55, 0x05, 0x5A }, PACKAGE_WRONG, { 0x55, 0x05, 0x5A }, {} },
        { "lone start byte is kept", { 0x13, 0x55 }, PACKAGE_INCOMPLETE, {}, { 0x55 } },
        { "half an ack", { 0x55, 0x06 }, PACKAGE_INCOMPLETE, {}, { 0x55, 0x06 } },
        { "unknown code", { 0x55, 0x09, 0x00 }, PACKAGE_WRONG, {}, { 0x55, 0x09, 0x00 } },
        { "no start byte", { 0x01, 0x02, 0x03 }, PACKAGE_NONE, {}, {} },
        { "nothing", {}, PACKAGE_NONE, {}, {} },
        { "read reply", reply, PACKAGE_OK, reply, {} },
        { "read reply with a bad sum", badReply, PACKAGE_BAD_SUM, {}, { 0xB9 } },
        { "read reply not complete", cutReply, PACKAGE_INCOMPLETE, {}, cutReply },
        { "length 0", { 0x55, 0x02, 0x51, 0x00, 0x00, 0x00, 0x57 }, PACKAGE_WRONG_LENGTH, {}, { 0x00, 0x57 } },
        { "length 21", { 0x55, 0x02, 0x51, 0x00, 0x00, 21 }, PACKAGE_WRONG_LENGTH, {}, { 21 } },
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        SerialPort port;
        port.readData.assign(c.queued.begin(), c.queued.end());
        GetPackage get(port);
        EXPECT_EQ(get.receive(), c.result);
        EXPECT_EQ(get.getAnswer(), c.answer);
        EXPECT_EQ(Bytes(port.readData.begin(), port.readData.end()), c.left);
    }
}

TEST(CPBParser, ReadReplyMustAnswerTheRequest)
{
    const CPBAdr adr(0x51, 0x7FB0);
    const Bytes good { 0x55, 0x02, 0x51, 0x7F, 0xB0, 0x03, 0xFF, 0xFF, 0xE0, 0xB8 };
    auto withSum = [](Bytes b) {
        b.back() = cpb::checksum(b.data(), b.size() - 1);
        return b;
    };
    Bytes otherAddress = good;
    otherAddress[4] = 0xB1;
    Bytes shorter { 0x55, 0x02, 0x51, 0x7F, 0xB0, 0x02, 0xFF, 0xFF, 0x00 };
    struct Case {
        const char* name;
        Bytes queued;
        PackageResult result;
    };
    for (const Case& c : std::vector<Case> { { "good", good, PACKAGE_OK },
                                             { "other address", withSum(otherAddress), PACKAGE_WRONG_ADDRESS },
                                             { "other length", withSum(shorter), PACKAGE_WRONG_LENGTH },
                                             { "an ack", { 0x55, 0x06, 0x5B }, PACKAGE_INCOMPLETE },
                                             { "a nak", { 0x55, 0x05, 0x5A }, PACKAGE_WRONG } }) {
        SCOPED_TRACE(c.name);
        SerialPort port;
        port.readData.assign(c.queued.begin(), c.queued.end());
        ByteVector out { 0x42 };
        EXPECT_EQ(GetPackage(port).readData(adr, 3, out), c.result);
        EXPECT_EQ(out, c.result == PACKAGE_OK ? (ByteVector { 0x42, 0xFF, 0xFF, 0xE0 }) : (ByteVector { 0x42 }));
    }
    SerialPort port;
    port.readData = { 0x55, 0x05, 0x5A };
    EXPECT_EQ(waitForAck(port), PACKAGE_INCOMPLETE);
    EXPECT_TRUE(port.readData.empty()) << "a NAK taken while waiting for an ACK is gone";
}

// --- against the simulated controller on a pseudo-terminal ----------------------------------

constexpr int port = 12;

class CPBCommTest : public ::testing::Test {
protected:
    CPBCommTest()
        : lines(sim::SimModemLines::install())
        , device(ports.path(), port)
    {
        serial.portNumber = port;
    }
    ~CPBCommTest() override
    {
        platform::setClock(nullptr);
        CPBComm::setMessagePump({});
    }

    void SetUp() override { ASSERT_TRUE(device.start()); }

    // Requests at that offset; with a command, only writes (1) or reads (2).
    int requestsAt(std::uint16_t offset, int command = 0) const
    {
        int n = 0;
        for (const auto& r : device.transcript())
            n += r.offset == offset && (command == 0 || r.command == command);
        return n;
    }

    sim::PortsFolder ports;
    testsupport::LogCapture log;
    sim::SimModemLines& lines;
    sim::ControllerDevice device;
    SerialPort serial;
};

TEST_F(CPBCommTest, ConnectWaitsForTheAckAfterTheHandshake)
{
    CPBComm comm(serial);
    EXPECT_EQ(comm.connect(), CPBComm::CONNECTED);
    EXPECT_TRUE(comm.ownsPort());
    EXPECT_EQ(serial.getBufferSize(), 0u) << "the ACK was taken";
    EXPECT_TRUE(comm.disconnect());
    EXPECT_FALSE(serial.isOpen);

    device.setSilentAfterHandshake(true);
    EXPECT_EQ(comm.connect(), CPBComm::NO_ACK);
    EXPECT_TRUE(comm.disconnect());
    EXPECT_FALSE(serial.isOpen) << "a port opened by connect is closed even when no ACK came";
}

TEST_F(CPBCommTest, PortOpenElsewhereIsNeitherUsedNorClosed)
{
    ASSERT_EQ(serial.open(port), SerialPort::OPEN_OK);
    // The handshake's answer is heard before the count starts.
    for (int i = 0; i < 400 && !device.lineEmpty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    device.clearReceived();
    CPBComm comm(serial);
    EXPECT_EQ(comm.connect(), SerialPort::OPEN_ALREADY_OPEN);
    EXPECT_FALSE(comm.ownsPort());
    EXPECT_TRUE(comm.disconnect());
    EXPECT_TRUE(serial.isOpen) << "the driver never closes a port it did not open";
    EXPECT_TRUE(device.received().empty());

    SerialPort missing;
    missing.portNumber = 200;
    CPBComm none(missing);
    EXPECT_EQ(none.connect(), SerialPort::OPEN_PORT_NOT_AVAILABLE);
    EXPECT_TRUE(none.disconnect());
}

TEST_F(CPBCommTest, ReadsAndWritesOfEverySizeAcrossPackagesAndPages)
{
    CPBComm comm(serial);
    ASSERT_EQ(comm.connect(), CPBComm::CONNECTED);
    int pumped = 0;
    CPBComm::setMessagePump([&] { ++pumped; });
    std::mt19937 random(7);
    int packages = 0;
    for (std::uint16_t start : { 0x0028, 0x003F, 0x7FF0, 0xFFF8 }) {
        for (int len : { 1, 16, 17, 40, 100 }) {
            SCOPED_TRACE(testing::Message() << "offset " << start << ", " << len << " bytes");
            ByteVector data(static_cast<std::size_t>(len));
            for (auto& b : data)
                b = static_cast<std::uint8_t>(random());
            ASSERT_TRUE(comm.writeMemory(CPBAdr(0x51, start), data, 10));
            EXPECT_EQ(device.peek(0x51, start, data.size()), data);
            ByteVector back { 0xAA };
            ASSERT_TRUE(comm.readMemory(CPBAdr(0x51, start), len, back, 10));
            EXPECT_EQ(ByteVector(back.begin() + 1, back.end()), data);
            // The write, its read-back, and the read.
            packages += 3 * static_cast<int>(CPBComm::packages(start, len).size());
        }
    }
    EXPECT_EQ(pumped, packages) << "the window side runs after every package";
    EXPECT_EQ(device.malformedFrames(), 0);
    for (const auto& r : device.transcript())
        EXPECT_TRUE(r.accepted);

    device.clearTranscript();
    ASSERT_TRUE(comm.writeMemory(CPBAdr(0x51, 0x0028), ByteVector(40, 0x20), 10));
    std::vector<std::pair<int, int>> seen;
    for (const auto& r : device.transcript())
        seen.emplace_back(r.offset, r.length);
    const std::vector<std::pair<int, int>> cut { { 0x28, 16 }, { 0x38, 8 }, { 0x40, 8 }, { 0x48, 8 } };
    std::vector<std::pair<int, int>> writtenThenRead = cut;
    writtenThenRead.insert(writtenThenRead.end(), cut.begin(), cut.end());
    EXPECT_EQ(seen, writtenThenRead) << "the packages, then each read back";

    device.clearTranscript();
    ByteVector out;
    EXPECT_TRUE(comm.readMemory(CPBAdr(0x51, 0x0000), 0, out, 10));
    EXPECT_FALSE(comm.writeMemory(CPBAdr(0x51, 0x0000), {}, 10));
    EXPECT_TRUE(log.hasAssertion("!data.empty()"));
    EXPECT_TRUE(device.transcript().empty()) << "nothing to move sends nothing";
}

TEST_F(CPBCommTest, SetupAreasLandAtTheirAddresses)
{
    CPBComm comm(serial);
    ASSERT_EQ(comm.connect(), CPBComm::CONNECTED);
    PropertyModel model;
    Algorithm aha;
    aha.Name = "AHA 2005";
    auto write = [&](int name, const ByteVector& bytes, int offset = 0) {
        return comm.writeMemory(Pointer::get(name) + offset, bytes, 10);
    };
    ASSERT_TRUE(write(Pointer::CONFIG_FLAGS, MemoryMap::encodeConfigFlags(model)));
    ASSERT_TRUE(write(Pointer::ICON_NUMBERS, MemoryMap::encodeIconNumbers(model.icons)));
    ASSERT_TRUE(write(Pointer::LANGUAGE_NUMBERS, MemoryMap::encodeLanguageNumbers(model.languages)));
    ASSERT_TRUE(write(Pointer::ALGORITHM_NAME_2, MemoryMap::blankPadded(std::string(50, 'E'), 40)));
    for (const auto& piece : MemoryMap::encodeAlgorithm(aha))
        ASSERT_TRUE(write(Pointer::ALGORITHM_1, piece.bytes, piece.offset));
    ASSERT_TRUE(write(Pointer::COMPANY_NAME, MemoryMap::encodeCompanyName(L"Acme")));

    // The defaults: every debriefing switch on but cardiac output, approval fields and
    // sound on, counts and percent notation on, events registered.
    EXPECT_EQ(device.peek(0x51, 0x7FB0, 3), (Bytes { 0xFF, 0xBF, 0xE0 }));
    EXPECT_EQ(device.peek(0x51, 0x7FF0, 7), (Bytes { 0, 1, 2, 3, 4, 5, 0xFF }));
    EXPECT_EQ(device.peek(0x51, 0x7FE0, 4), (Bytes { 0, 1, 2, 0xFF }));
    EXPECT_EQ(device.peek(0x51, 0x0027, 42), [] {
        Bytes b(42, 'E');
        b.front() = 0xFF;
        b.back() = 0xFF;
        return b;
    }()) << "the name fills its 40 bytes and not one more";
    EXPECT_EQ(device.peek(0x51, 0x7D00, 4), (Bytes { 0, 0, 0, 0x40 }));
    EXPECT_EQ(device.peek(0x51, 0x7D14, 4), (Bytes { 0xFF, 0xFF, 0xFF, 0xFF }));
    EXPECT_EQ(device.peek(0x51, 0x7D44, 4), (Bytes { 0, 0, 0x48, 0x42 }));
    EXPECT_EQ(device.peek(0x51, 0x7D80, 10), (Bytes { 'A', 'H', 'A', ' ', '2', '0', '0', '5', 0, 0xFF }));
    EXPECT_EQ(device.peek(0x51, 0x7C00, 6), (Bytes { 'A', 'c', 'm', 'e', 0, 0xFF }));
    EXPECT_EQ(MemoryMap::decodeAlgorithm(device.peek(0x51, 0x7D00, 256)).name, "AHA 2005");
}

struct FaultCase {
    const char* name;
    ControllerFault fault;
    bool read;
    int requests; // seen at the faulted address
};

ControllerFault fault(ControllerFault::Kind kind, int times = 1, int delayMs = 0)
{
    ControllerFault f;
    f.kind = kind;
    f.atBank = 0x51;
    f.atOffset = 0x7FB1;
    f.times = times;
    f.delayMs = delayMs;
    if (kind == ControllerFault::NoiseBefore)
        f.noise = { 0x00, 0x13, 0x06, 0x5B, 0x02 };
    if (kind == ControllerFault::WrongLength)
        f.length = 2;
    return f;
}

TEST_F(CPBCommTest, FaultsAreRetriedAndRecovered)
{
    CPBComm comm(serial);
    ASSERT_EQ(comm.connect(), CPBComm::CONNECTED);
    using K = ControllerFault;
    const std::vector<FaultCase> cases {
        { "no answer to a write", fault(K::NoAnswer), false, 2 },
        { "no answer to a read", fault(K::NoAnswer), true, 2 },
        { "nak", fault(K::Nak), false, 2 },
        { "ack with a bad sum", fault(K::BadSum), false, 2 },
        { "reply with a bad sum", fault(K::BadSum), true, 2 },
        { "short reply", fault(K::ShortFrame), true, 2 },
        { "reply for another address", fault(K::WrongAddress), true, 2 },
        { "reply of another length", fault(K::WrongLength), true, 2 },
        { "noise before every answer", fault(K::NoiseBefore, -1), false, 1 },
        { "noise before every reply", fault(K::NoiseBefore, -1), true, 1 },
        { "late answer inside the polls", fault(K::LateAnswer, 1, 120), false, 1 },
        { "start byte alone every time", fault(K::SplitStart, -1, 45), true, 1 },
        // Last: its answer arrives after the retry's and stays queued.
        { "late answer after the polls", fault(K::LateAnswer, 1, 500), true, 2 },
    };
    const ByteVector stored { 0x11, 0x22, 0x33 };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        device.clearFaults();
        ASSERT_TRUE(comm.writeMemory(CPBAdr(0x51, 0x7FB0), stored, 10));
        device.clearTranscript();
        device.addFault(c.fault);
        if (c.read) {
            ByteVector out;
            EXPECT_TRUE(comm.readMemory(CPBAdr(0x51, 0x7FB0), 3, out, 10));
            EXPECT_EQ(out, stored);
        } else {
            EXPECT_TRUE(comm.writeMemory(CPBAdr(0x51, 0x7FB0), { 1, 2, 3 }, 10));
            EXPECT_EQ(device.peek(0x51, 0x7FB0, 3), (Bytes { 1, 2, 3 }));
        }
        EXPECT_EQ(requestsAt(0x7FB0, c.read ? 2 : 1), c.requests);
    }
}

// Answers carry nothing that names their request: a unit that answers late
// and refuses every third request must never have a refused package counted
// as written by the late ACK of an earlier one. A write that reports success
// has every byte in the unit, one that fails every package before the one it
// failed on; a unit that answers within the polls is written to.
TEST_F(CPBCommTest, LateAnswersNeverPassForTheAckOfARefusedPackage)
{
    CPBComm comm(serial);
    ASSERT_EQ(comm.connect(), CPBComm::CONNECTED);
    std::mt19937 random(30);
    for (int delay : { 200, 320, 1000 }) {
        SCOPED_TRACE(testing::Message() << "answers " << delay << " ms late");
        const std::uint16_t start = 0x1000;
        ByteVector data(80);
        for (auto& b : data)
            b = static_cast<std::uint8_t>(random() % 255);
        ControllerFault refused;
        refused.kind = ControllerFault::Nak;
        refused.every = 3;
        refused.times = -1;
        refused.delayMs = delay;
        ControllerFault late;
        late.kind = ControllerFault::LateAnswer;
        late.times = -1;
        late.delayMs = delay;
        device.addFault(refused);
        device.addFault(late);

        device.clearTranscript();
        const bool written = comm.writeMemory(CPBAdr(0x51, start), data, 10);
        if (delay < 300) {
            EXPECT_TRUE(written) << "slow, but inside the polls";
        }
        // The transfer goes on to a package only once the one before is in
        // the unit: what precedes the last package asked for must be held,
        // and after a success everything.
        std::size_t mustHold = data.size();
        if (!written) {
            mustHold = 0;
            for (const auto& r : device.transcript())
                if (r.command == 1 && r.offset >= start)
                    mustHold = std::max<std::size_t>(mustHold, r.offset - start);
        }
        const Bytes held = device.peek(0x51, start, data.size());
        int missing = 0;
        for (std::size_t i = 0; i < mustHold; ++i)
            missing += held[i] != data[i];
        EXPECT_EQ(missing, 0) << "bytes before offset " << mustHold << " the unit does not hold";

        // Answers still on their way would meet the next case's requests:
        // once the line is quiet, what the unit sent late is read and dropped
        // (a read that finds nothing first waits for bytes still in transit).
        device.clearFaults();
        for (int i = 0; i < 2000 && !device.quiet(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ASSERT_TRUE(device.quiet());
        serial.discardInput();
    }
}

TEST_F(CPBCommTest, UnitThatStopsAnsweringFailsAfterItsTriesWithoutHanging)
{
    CPBComm comm(serial);
    ASSERT_EQ(comm.connect(), CPBComm::CONNECTED);
    device.addFault(fault(ControllerFault::Nak, -1));
    // Packages before the refused one stay written; the refused one ends the transfer.
    EXPECT_FALSE(comm.writeMemory(CPBAdr(0x51, 0x7FA0), ByteVector(48, 7), 2));
    EXPECT_EQ(device.peek(0x51, 0x7FA0, 16), ByteVector(16, 7));
    EXPECT_EQ(requestsAt(0x7FB0), 2) << "two attempts";
    EXPECT_EQ(requestsAt(0x7FC0), 0) << "nothing after the failed package";

    // A unit that stays silent keeps the line quiet: each pause is the shortest.
    device.clearFaults();
    device.addFault(fault(ControllerFault::NoAnswer, -1));
    platform::ManualClock clock;
    platform::setClock(&clock);
    // Each attempt: the ACK polls (1 + tries, 30 ms apart) and 30 quiet ms.
    std::uint64_t start = clock.now;
    device.clearTranscript();
    EXPECT_FALSE(comm.writePackage(CPBAdr(0x51, 0x7FB0), { 1, 2, 3 }, 10));
    EXPECT_EQ(clock.now - start, 10u * (10 * 30 + 30));
    for (int i = 0; i < 100 && requestsAt(0x7FB0) < 10; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(requestsAt(0x7FB0), 10);

    start = clock.now;
    ByteVector out;
    EXPECT_FALSE(comm.readMemory(CPBAdr(0x51, 0x7FB0), 3, out, 3));
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(clock.now - start, 3u * (3 * 30 + 30));
    EXPECT_FALSE(comm.writePackage(CPBAdr(0x51, 0x7FB0), { 1 }, 0)) << "no tries";
}

TEST_F(CPBCommTest, FaultAtAChosenRequestNumber)
{
    CPBComm comm(serial);
    ASSERT_EQ(comm.connect(), CPBComm::CONNECTED);
    ControllerFault f;
    f.kind = ControllerFault::NoAnswer;
    f.atRequest = 2;
    device.addFault(f);
    ASSERT_TRUE(comm.writeMemory(CPBAdr(0x51, 0x0100), { 1 }, 10));
    ASSERT_TRUE(comm.writeMemory(CPBAdr(0x51, 0x0200), { 2 }, 10));
    auto t = device.transcript();
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[0].number, 1);
    EXPECT_EQ(t[1].command, 2) << "the read-back";
    EXPECT_TRUE(t[1].faulted && !t[1].accepted);
    EXPECT_EQ(t[2].number, 3);
    EXPECT_EQ(t[2].command, 2);
    EXPECT_EQ(t[2].offset, 0x0100) << "the same request again";
    EXPECT_TRUE(t[2].accepted);
    EXPECT_EQ(t[3].offset, 0x0200);
}

TEST_F(CPBCommTest, PulledCableEndsTheTransfer)
{
    CPBComm comm(serial);
    ASSERT_EQ(comm.connect(), CPBComm::CONNECTED);
    device.addFault(fault(ControllerFault::PullCable));
    platform::ManualClock clock;
    platform::setClock(&clock);
    ByteVector out;
    EXPECT_FALSE(comm.readMemory(CPBAdr(0x51, 0x7FB0), 3, out, 10));
    EXPECT_FALSE(comm.writeMemory(CPBAdr(0x51, 0x7FB0), { 1, 2 }, 10));
    comm.disconnect();
    EXPECT_FALSE(serial.isOpen);
}

TEST_F(CPBCommTest, BufferSizeCountsQueuedBytesWithoutReading)
{
    ASSERT_EQ(serial.open(port), SerialPort::OPEN_OK);
    platform::sleepMs(60);
    EXPECT_EQ(serial.getBufferSize(), 0u) << "the ACK is on the line, not yet in the queue";
    serial.readAvailable();
    EXPECT_EQ(serial.getBufferSize(), 3u);
    EXPECT_EQ(waitForAck(serial), PACKAGE_OK);
    EXPECT_EQ(serial.getBufferSize(), 0u);
}

} // namespace
