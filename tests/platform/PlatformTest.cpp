#include "platform/Clock.h"
#include "platform/OsDescription.h"
#include "platform/SerialLine.h"
#include "platform/WinTypes.h"
#include "sim/PortsFolder.h"
#include "sim/PseudoTerminal.h"

#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using platform::SerialLine;

TEST(WinTypes, MulDivRoundsLikeTheSystemCall)
{
    struct Case {
        int a, b, c, expected;
    } cases[] = {
        { 10, 3, 4, 8 },    // 7.5 rounds away from zero
        { -10, 3, 4, -8 },
        { 7, 96, 72, 9 },   // 9.33
        { 1 << 30, 4, 8, 1 << 29 }, // the product needs 64 bits
        { 5, 5, 0, -1 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(Clock, ManualClockMovesOnlyWhenToldOrSleptOn)
{
    platform::ManualClock manual;
    platform::setClock(&manual);
    auto start = platform::tickCount();
    platform::sleepMs(250);
    manual.advance(50);
    EXPECT_EQ(platform::tickCount() - start, 300u);
    platform::setClock(nullptr);
    EXPECT_NE(&platform::clock(), &manual);
}

TEST(OsDescription, PrefersThePrettyName)
{
    EXPECT_EQ(platform::distributionName("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(platform::distributionName("NAME=Arch\n"), "Arch");
    EXPECT_EQ(platform::distributionName(""), "");
    auto line = platform::osDescription();
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->rfind("Linux ", 0), 0u);
}

TEST(SerialLine, PortNumbersMapToLinksElseToSerialDevices)
{
    sim::PortsFolder ports;
    ASSERT_TRUE(ports.link(5, "/dev/null"));
    EXPECT_EQ(SerialLine::devicePath(5), ports.path() + "/COM5");
    EXPECT_EQ(SerialLine::devicePath(1), ports.path() + "/ttyS0");
    EXPECT_EQ(SerialLine::devicePath(256), ports.path() + "/ttyS255");
    ::unsetenv("TAVO_TTY_DIR");
    EXPECT_EQ(SerialLine::devicePath(1), "/dev/ttyS0");
    EXPECT_EQ(SerialLine::devicePath(0), "");
    EXPECT_EQ(SerialLine::devicePath(257), "");
}

TEST(SerialLine, OpenResults)
{
    sim::PortsFolder ports;
    sim::PseudoTerminal device;
    ASSERT_TRUE(device.isOpen());
    ASSERT_TRUE(device.linkAs(ports.path(), 3));
    ports.link(4, ports.path() + "/nothing-here");

    SerialLine missing;
    EXPECT_EQ(missing.open(4), SerialLine::OpenResult::NotFound);
    EXPECT_EQ(missing.open(0), SerialLine::OpenResult::NotFound);

    SerialLine first;
    ASSERT_EQ(first.open(3), SerialLine::OpenResult::Opened);
    EXPECT_EQ(first.path(), device.devicePath());
    SerialLine second;
    EXPECT_EQ(second.open(3), SerialLine::OpenResult::Unavailable);
    first.close();
    EXPECT_EQ(second.open(3), SerialLine::OpenResult::Opened);
}

TEST(SerialLine, AnUnpluggedPortLeadsNowhereWhenItsTerminalNumberIsTakenAgain)
{
    sim::PortsFolder ports;
    std::string formerPath;
    {
        sim::PseudoTerminal pulled;
        ASSERT_TRUE(pulled.linkAs(ports.path(), 3));
        formerPath = pulled.devicePath();
        pulled.close();
    }
    // The system hands the freed number to the next terminal opened, which
    // here belongs to nobody on port 3 (usually it gets the same number).
    sim::PseudoTerminal stranger;
    ASSERT_TRUE(stranger.isOpen());
    SerialLine line;
    EXPECT_EQ(line.open(3), SerialLine::OpenResult::NotFound)
        << "port 3 led to " << formerPath << ", now " << stranger.devicePath();
}

TEST(SerialLine, PortHeldByAnotherProcessIsUnavailable)
{
    sim::PortsFolder ports;
    sim::PseudoTerminal device;
    ASSERT_TRUE(device.linkAs(ports.path(), 7));
    sim::OtherProgramHolding other(device.devicePath());
    ASSERT_TRUE(other.holds());
    SerialLine line;
    EXPECT_EQ(line.open(7), SerialLine::OpenResult::Unavailable);
    other.release();
    EXPECT_EQ(line.open(7), SerialLine::OpenResult::Opened);
}

TEST(SerialLine, RawBytesBothWaysAndHangUp)
{
    sim::PortsFolder ports;
    sim::PseudoTerminal device;
    ASSERT_TRUE(device.linkAs(ports.path(), 2));
    SerialLine line;
    ASSERT_EQ(line.open(2), SerialLine::OpenResult::Opened);
    ASSERT_TRUE(line.setState({ 19200, true, true }));
    EXPECT_EQ(device.programBaud(), 19200);
    platform::LineState state;
    ASSERT_TRUE(line.getState(state));
    EXPECT_EQ(state.baudRate, 19200);
    EXPECT_TRUE(state.dtr);
    bool cts = false;
    EXPECT_TRUE(line.readCts(cts));
    EXPECT_TRUE(cts) << "a pseudo-terminal counts as asserting CTS";

    unsigned char buffer[16];
    EXPECT_EQ(line.readSome(buffer, sizeof buffer), 0) << "a zero-wait read with nothing there";

    // CR and LF must pass untranslated in both directions.
    const unsigned char out[] = { 0x0D, 0x0A, 0x7E, 0x11, 0x13 };
    ASSERT_TRUE(line.writeAll(out, sizeof out, 15, 10));
    unsigned char got[8] = {};
    ::usleep(20000);
    ASSERT_EQ(::read(device.descriptor(), got, sizeof got), 5);
    EXPECT_EQ(0, std::memcmp(got, out, 5));
    ASSERT_EQ(::write(device.descriptor(), out, sizeof out), 5);
    ::usleep(20000);
    ASSERT_EQ(line.readSome(buffer, sizeof buffer), 5);
    EXPECT_EQ(0, std::memcmp(buffer, out, 5));

    device.close();
    EXPECT_TRUE(line.hungUp());
    EXPECT_EQ(line.readSome(buffer, sizeof buffer), -1);
    EXPECT_FALSE(line.readCts(cts));
}

} // namespace
