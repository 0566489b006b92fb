#pragma once
#include "comm/CalibrateManager.h"
#include "comm/CollectedData.h"
#include "comm/Comm.h"
#include "comm/CommSettings.h"
#include "comm/DemoSets.h"
#include "comm/SerialPort.h"
#include "res/DemoRecordings.h"
#include "session/Session.h"
#include "sim/PortsFolder.h"

#include <memory>

namespace sessiontest {

// Demonstration mode as the start-up sets it with "demo": ports 247 to 256
// play a recording. Every set plays the first recording here. The search
// runs in an empty ports folder, so only the demonstration ports are found.
class DemoPorts {
public:
    DemoPorts()
    {
        CommSettings::setDemoMode(true);
        for (int set = 0; set < DemoSets::count; ++set)
            DemoSets::install(set, &demoSet);
        CalibrateManager::get().scanPorts();
    }
    ~DemoPorts()
    {
        for (int set = 0; set < DemoSets::count; ++set)
            DemoSets::install(set, nullptr);
        CommSettings::setDemoMode(false);
    }
    DemoPorts(const DemoPorts&) = delete;
    DemoPorts& operator=(const DemoPorts&) = delete;

    // What the program does before it makes a session: the Calibrate window
    // calibrated the port (a demonstration port takes its zero levels from
    // its recording; without them rest would read as a few millimetres and
    // never end a compression), and the new-session form opens it with a
    // passing acquisition, which leaves it open.
    static std::unique_ptr<Session> liveSession(int port, SessionRecord record = {})
    {
        CalibrateManager& manager = CalibrateManager::get();
        manager.startCalibration(port);
        manager.setCalibrated(manager.pollCalibration(port) == Comm::CAL_DONE, port);
        Comm handshake(manager.getSerialPort(port));
        handshake.open(port);
        record.Manikin = port;
        return std::make_unique<Session>(record, Algorithm());
    }

private:
    static bool registerRecordings()
    {
        res::registerDemoRecordings();
        return true;
    }

    sim::PortsFolder ports;
    bool registered = registerRecordings(); // before the channels read them
    CollectedData compression { 169 }, ventilation { 170 }, status { 171 };
    DemoSet demoSet { &compression, &ventilation, &status };
};

} // namespace sessiontest
