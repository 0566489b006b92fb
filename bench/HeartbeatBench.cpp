// The heartbeat's own cost: one 50 ms tick of the session manager polling a
// class of 32 sessions on demonstration manikins, each one reading its
// sample, measuring it and telling two followers (as a time axis and a graph
// page do). The windows are not part of it: the followers only take note.
#include "comm/CalibrateManager.h"
#include "comm/CollectedData.h"
#include "comm/Comm.h"
#include "comm/CommSettings.h"
#include "comm/DemoSets.h"
#include "res/DemoRecordings.h"
#include "session/Session.h"
#include "session/SessionManager.h"
#include "session/SessionServices.h"
#include "QuietServices.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

using bench::QuietServices;

class Follower : public UpdateReceiver {
public:
    void update(int newestIndex) override { newest = newestIndex; }
    int newest = 0;
};

constexpr int sessionCount = 32;
// Ten minutes at 20 samples a second: a class is set up afresh after that.
constexpr int ticksPerClass = 20 * 60 * 10;

class Class {
public:
    Class()
    {
        for (int k = 0; k < sessionCount; ++k) {
            // More sessions than demonstration ports: they share the ports,
            // each with its own acquisition playing the recording.
            int port = CommSettings::firstDemoPort + k % 10;
            CalibrateManager& ports = CalibrateManager::get();
            ports.setCalibrated(true, port);
            ports.getSerialPort(port)->open(port);
            SessionRecord record;
            record.Manikin = port;
            auto* session = new Session(record, Algorithm());
            ports.releasePort(port);
            session->addUpdateReceiver(&followers[k][0]);
            session->addUpdateReceiver(&followers[k][1]);
            manager.add(session);
            session->start();
        }
    }

    ~Class()
    {
        // Each session releases its port when it goes: a shared port is
        // taken again for each of them.
        while (!manager.sessions().empty()) {
            Session* session = manager.sessions().front();
            CalibrateManager::get().reservePort(session->getRecord().Manikin);
            session->close();
        }
    }
    Class(const Class&) = delete;
    Class& operator=(const Class&) = delete;

    SessionManager manager;
    Follower followers[sessionCount][2];
};

void BM_HeartbeatWith32DemoSessions(benchmark::State& state)
{
    ::setenv("TAVO_PORTS_DIR", "/nonexistent-tavo-bench", 1);
    ::setenv("TAVO_TTY_DIR", "/nonexistent-tavo-bench", 1);
    res::registerDemoRecordings();
    CollectedData compression(169), ventilation(170), status(171);
    DemoSet set { &compression, &ventilation, &status };
    CommSettings::setDemoMode(true);
    for (int k = 0; k < DemoSets::count; ++k)
        DemoSets::install(k, &set);
    CalibrateManager::get().scanPorts();
    QuietServices services;
    setSessionServices(&services);

    auto sessions = std::make_unique<Class>();
    int ticks = 0;
    for (auto _ : state) {
        if (ticks == ticksPerClass) {
            state.PauseTiming();
            sessions.reset();
            sessions = std::make_unique<Class>();
            ticks = 0;
            state.ResumeTiming();
        }
        sessions->manager.poll();
        ++ticks;
    }
    benchmark::DoNotOptimize(sessions->followers[0][0].newest);
    sessions.reset();
    setSessionServices(nullptr);
    for (int k = 0; k < DemoSets::count; ++k)
        DemoSets::install(k, nullptr);
    CommSettings::setDemoMode(false);
}
BENCHMARK(BM_HeartbeatWith32DemoSessions)->Unit(benchmark::kMicrosecond);

} // namespace
