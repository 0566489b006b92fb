#include "FakeSessionServices.h"
#include "comm/CalibrateManager.h"
#include "comm/Comm.h"
#include "comm/SerialPort.h"
#include "sim/HandshakeDevices.h"
#include "sim/PortsFolder.h"
#include "sim/SimModemLines.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace sessiontest;

namespace {

// Sessions on simulated manikins behind pseudo-terminals, paced by real
// 50 ms ticks because the devices stream in real time.
class SessionDeviceTest : public ::testing::Test {
protected:
    SessionDeviceTest() { sim::SimModemLines::install(); }

    static void tick(SessionManager& manager, int ticks = 1)
    {
        for (int i = 0; i < ticks; ++i) {
            manager.poll();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    // What the new-session form does with a found and calibrated manikin.
    static Session* open(SessionManager& manager, int port, int duration)
    {
        CalibrateManager& ports = CalibrateManager::get();
        ports.setCalibrated(true, port);
        {
            Comm handshake(ports.getSerialPort(port));
            EXPECT_EQ(handshake.open(port), SerialPort::OPEN_OK);
        }
        SessionRecord record;
        record.Manikin = port;
        record.Duration = duration;
        auto* session = new Session(record, Algorithm());
        manager.add(session);
        session->createView();
        return session;
    }

    sim::PortsFolder ports;
    testsupport::LogCapture log;
    FakeSessionServices services;
};

TEST_F(SessionDeviceTest, EachKindOfManikinCollectsUntilTheSetDuration)
{
    sim::QueryDevice query(ports.path(), 3);
    sim::FramedDevice framed(ports.path(), 4);
    ASSERT_TRUE(query.start());
    ASSERT_TRUE(framed.start());
    CalibrateManager::get().scanPorts();
    SessionManager manager;
    Session* sessions[] = { open(manager, 3, 2), open(manager, 4, 2) };
    manager.startAll();
    EXPECT_EQ(manager.runningCount(), 2);
    for (int ticks = 0; ticks < 150 && manager.runningCount() > 0; ++ticks)
        tick(manager);
    for (Session* session : sessions) {
        SCOPED_TRACE(session->getRecord().Manikin);
        EXPECT_TRUE(session->isFinished());
        EXPECT_FALSE(session->isRunning());
        EXPECT_EQ(session->getState(), Session::DEBRIEF);
        EXPECT_GE(session->getCommSession().manData.size(), 40u);
        EXPECT_EQ(session->elapsedSeconds(), 2u);
    }
    services.saveAnswers = { SessionServices::SAVE_NO, SessionServices::SAVE_NO };
    EXPECT_TRUE(manager.canCloseAll());
    manager.closeAll();
    for (int port : { 3, 4 }) {
        EXPECT_TRUE(CalibrateManager::get().getIsAvailable(port));
        EXPECT_FALSE(CalibrateManager::get().getSerialPort(port)->isOpen);
    }
    EXPECT_EQ(log.text().find("Assert failed"), std::string::npos) << log.text();
}

TEST_F(SessionDeviceTest, LostManikinAsksOncePerSessionAndRetryResumes)
{
    sim::QueryDevice first(ports.path(), 5);
    sim::QueryDevice second(ports.path(), 6);
    ASSERT_TRUE(first.start());
    ASSERT_TRUE(second.start());
    CalibrateManager::get().scanPorts();
    SessionManager manager;
    Session* a = open(manager, 5, -1);
    Session* b = open(manager, 6, -1);
    manager.startAll();
    tick(manager, 6);
    ASSERT_GT(a->getCommSession().manData.size(), 0u);

    // The heartbeat goes on while a box is open: it polls every session again.
    std::map<Session*, int> boxes;
    services.retryBox = [&](Session& session) {
        ++boxes[&session];
        tick(manager, 3);
        return false; // Cancel
    };
    first.pullCable();
    second.pullCable();
    tick(manager, 20);
    EXPECT_EQ(boxes[a], 1);
    EXPECT_EQ(boxes[b], 1);
    EXPECT_EQ(services.retryBoxes, 2);
    EXPECT_EQ(manager.runningCount(), 0) << "a lost manikin pauses its session";

    // Started again while still missing: asked again; Retry with the device
    // still gone asks once more on a later tick.
    boxes.clear();
    services.retryBox = [&](Session& session) {
        ++boxes[&session];
        return true;
    };
    a->start();
    tick(manager, 3);
    EXPECT_GE(boxes[a], 2);
    EXPECT_EQ(boxes[b], 0) << "the other session stays cancelled";
    EXPECT_FALSE(a->isRunning());

    // The manikin is plugged in again while the box is open, then Retry.
    services.retryBox = [&](Session& session) {
        ++boxes[&session];
        EXPECT_TRUE(first.plugIn());
        return true;
    };
    boxes.clear();
    std::size_t before = a->getCommSession().manData.size();
    tick(manager, 2);
    EXPECT_EQ(boxes[a], 1);
    EXPECT_TRUE(a->isRunning()) << "Retry reopens the port once the manikin is back";
    tick(manager, 10);
    EXPECT_GT(a->getCommSession().manData.size(), before) << "and samples flow again";
    EXPECT_EQ(boxes[a], 1);
    EXPECT_FALSE(b->isRunning());

    // What runs during the box may close the session (the user closed it
    // from another window): the box returns into nothing of it.
    services.retryBox = [&](Session& session) {
        session.close();
        return true;
    };
    first.pullCable();
    tick(manager, 10);
    EXPECT_EQ(manager.sessions(), std::vector<Session*> { b });
    EXPECT_TRUE(CalibrateManager::get().getIsAvailable(5));
}

} // namespace
