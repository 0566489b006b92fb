#include "comm/CalibrateManager.h"
#include "comm/Comm.h"
#include "comm/CommSettings.h"
#include "comm/SerialPort.h"
#include "sim/HandshakeDevices.h"
#include "sim/PortsFolder.h"
#include "sim/SimModemLines.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

class ChangeCounter : public SignalReceiver {
public:
    void changed() { ++count; }
    int count = 0;
};

class FakeCombo : public PortComboBox {
public:
    void resetContent() override
    {
        texts.clear();
        data.clear();
        current = -1;
    }
    void addItem(const std::string& text, int itemData) override
    {
        texts.push_back(text);
        data.push_back(itemData);
    }
    void setCurrentIndex(int index) override { current = index; }
    std::string currentText() const override { return current >= 0 ? texts[current] : typed; }

    std::vector<std::string> texts;
    std::vector<int> data;
    int current = -1;
    std::string typed;
};

class CalibrateManagerTest : public ::testing::Test {
protected:
    CalibrateManagerTest() { sim::SimModemLines::install(); }
    ~CalibrateManagerTest() override { CommSettings::setDemoMode(false); }

    sim::PortsFolder ports;
    testsupport::LogCapture log;
    CalibrateManager table;
};

TEST_F(CalibrateManagerTest, SearchClassifiesEveryPort)
{
    sim::QueryDevice manikin(ports.path(), 3);
    sim::QueryDevice controller(ports.path(), 5, sim::QueryDevice::controllerIdentity());
    sim::FramedDevice framed(ports.path(), 8);
    sim::Misbehaviour silent;
    silent.silent = true;
    sim::QueryDevice nothingAnswers(ports.path(), 11, {}, silent);
    sim::QueryDevice reserved(ports.path(), 20);
    for (sim::Device* d : std::initializer_list<sim::Device*> { &manikin, &controller, &framed, &nothingAnswers, &reserved })
        ASSERT_TRUE(d->start());
    ports.link(30, ports.path() + "/unplugged-adapter");

    table.setCalibrated(true, 3);
    table.setCalibrated(true, 5); // a manikin calibrated there before the controller came
    table.setCalibrated(true, 11);
    table.reservePort(20);
    ChangeCounter counter;
    table.connect(&counter, &ChangeCounter::changed);
    table.scanPorts();
    EXPECT_EQ(counter.count, 1) << "one change signal for the whole search";

    struct Expected {
        int port;
        bool valid, calibrated, cpb;
        int openResult;
    } expected[] = {
        { 3, true, true, false, 10 },  // answered: keeps its calibration
        { 5, true, false, true, 10 },  // a CPR Controller, never offered as a calibrated manikin
        { 8, true, false, false, 10 }, // the framed kind
        { 11, true, false, false, 8 }, // exists, but no device answers: valid, calibration lost
        { 30, false, false, false, 7 },
        { 31, false, false, false, 7 },
    };
    for (const auto& e : expected) {
        EXPECT_EQ(table.getIsValid(e.port), e.valid) << "port " << e.port;
        EXPECT_EQ(table.getIsCalibrated(e.port), e.calibrated) << "port " << e.port;
        EXPECT_EQ(table.getIsCPB(e.port), e.cpb) << "port " << e.port;
        EXPECT_EQ(table.getSerialPort(e.port)->openResult, e.openResult) << "port " << e.port;
        EXPECT_FALSE(table.getSerialPort(e.port)->isOpen) << "the search closes every port";
    }
    EXPECT_FALSE(table.getIsValid(20)) << "a reserved port is skipped and keeps its state";
    EXPECT_FALSE(table.getIsAvailable(20));
    EXPECT_TRUE(reserved.received().empty()) << "nothing was sent to the reserved port";
    EXPECT_EQ(table.getCPBPorts(), std::vector<int> { 5 });
    EXPECT_EQ(table.countCPB(), 1);
    EXPECT_EQ(table.countCalibrated(), 1);
}

TEST_F(CalibrateManagerTest, FlagsEmitOnlyOnChange)
{
    ChangeCounter counter;
    table.connect(&counter, &ChangeCounter::changed);
    table.setCalibrated(true, 4);
    table.setCalibrated(true, 4);
    EXPECT_EQ(counter.count, 1);
    table.reservePort(4);
    EXPECT_FALSE(table.getIsAvailable(4));
    table.reservePort(4);
    EXPECT_TRUE(log.hasAssertion("portInformation[port].isAvailable"));
    table.releasePort(4);
    table.releasePort(4);
    EXPECT_TRUE(log.hasAssertion("portInformation[port].isAvailable==false"));
    EXPECT_EQ(counter.count, 5);
    EXPECT_FALSE(table.getIsValid(0));
    EXPECT_FALSE(table.getIsValid(257));
    EXPECT_EQ(table.getSerialPort(300), nullptr);
    EXPECT_TRUE(log.hasAssertion("port>0 && port <= COM_PORTS"));
}

TEST_F(CalibrateManagerTest, DemonstrationPortsAreValidWithoutOpeningAndLoseCalibration)
{
    CommSettings::setDemoMode(true);
    table.setCalibrated(true, 250);
    table.scanPorts();
    for (int port = 247; port <= 256; ++port) {
        EXPECT_TRUE(table.getIsValid(port)) << port;
        EXPECT_FALSE(table.getIsCalibrated(port)) << port;
        EXPECT_FALSE(table.getSerialPort(port)->isOpen) << port;
    }
    EXPECT_FALSE(table.getIsValid(246));
    EXPECT_TRUE(table.startCalibration(250));
    EXPECT_EQ(table.pollCalibration(250), Comm::CAL_DONE);
}

TEST_F(CalibrateManagerTest, PortListsHoldAvailableCalibratedPorts)
{
    FakeCombo combo;
    EXPECT_FALSE(table.fillPortCombo(combo));
    EXPECT_TRUE(combo.texts.empty());
    EXPECT_EQ(table.firstAvailablePort(), 1);
    EXPECT_EQ(table.portFromCombo(combo), 1);

    for (int port : { 9, 4, 12 })
        table.setCalibrated(true, port);
    table.reservePort(4);
    EXPECT_TRUE(table.fillPortCombo(combo));
    EXPECT_EQ(combo.texts, (std::vector<std::string> { "9", "12" }));
    EXPECT_EQ(combo.data, (std::vector<int> { 9, 12 }));
    EXPECT_EQ(combo.current, 0);
    EXPECT_EQ(table.portFromCombo(combo), 9);
    EXPECT_EQ(table.firstAvailablePort(), 9);

    combo.current = -1;
    for (const char* typed : { "", "abc", "0", "257", "12x" }) {
        combo.typed = typed;
        EXPECT_EQ(table.portFromCombo(combo), 9) << '"' << typed << '"';
    }
    combo.typed = "200";
    EXPECT_EQ(table.portFromCombo(combo), 200);
    for (const char* typed : { " 7", "7 ", "\t7 \t" }) {
        combo.typed = typed;
        EXPECT_EQ(table.portFromCombo(combo), 7) << "blanks around the number: \"" << typed << '"';
    }
    for (const char* typed : { "7 8", "+ 7", " " }) {
        combo.typed = typed;
        EXPECT_EQ(table.portFromCombo(combo), 9) << '"' << typed << '"';
    }
}

TEST_F(CalibrateManagerTest, CalibratesAManikinAtRest)
{
    sim::QueryDevice manikin(ports.path(), 6);
    manikin.setWaveform(std::make_shared<sim::RestWaveform>(40, 22, 2));
    ASSERT_TRUE(manikin.start());
    table.scanPorts();
    ASSERT_TRUE(table.getIsValid(6));
    ASSERT_TRUE(table.startCalibration(6));
    EXPECT_EQ(table.pollCalibration(6), Comm::CAL_NOT_DONE);
    std::this_thread::sleep_for(std::chrono::milliseconds(2300));
    EXPECT_EQ(table.pollCalibration(6), Comm::CAL_DONE);
    EXPECT_NEAR(table.getSerialPort(6)->zeroCompression, 40, 1);
    EXPECT_NEAR(table.getSerialPort(6)->zeroVentilation, 22, 1);
    EXPECT_FALSE(table.getSerialPort(6)->isOpen) << "a finished calibration closes its port";
    table.setCalibrated(true, 6);
    EXPECT_EQ(table.countCalibrated(), 1);
}

TEST_F(CalibrateManagerTest, FailedStartIsReportedAtOnce)
{
    sim::QueryDevice quiet(ports.path(), 6);
    sim::StreamSettings noStream;
    noStream.silent = true;
    quiet.setStream(noStream);
    sim::QueryDevice controller(ports.path(), 7, sim::QueryDevice::controllerIdentity());
    ASSERT_TRUE(quiet.start());
    ASSERT_TRUE(controller.start());
    table.scanPorts();
    ASSERT_TRUE(table.getIsValid(6));

    // The handshake works but no records follow.
    EXPECT_FALSE(table.startCalibration(6));
    EXPECT_EQ(table.pollCalibration(6), Comm::CAL_NOT_OPEN) << "no waiting for a calibration that never began";
    EXPECT_FALSE(table.getSerialPort(6)->isOpen);

    EXPECT_FALSE(table.startCalibration(7)) << "a CPR Controller is not calibrated";
    EXPECT_FALSE(table.startCalibration(40)) << "a port that does not exist";
    table.pollCalibration(40);
    EXPECT_TRUE(log.hasAssertion("commList[port] != 0"));
}

} // namespace
