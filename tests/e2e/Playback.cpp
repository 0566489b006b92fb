#include "e2e/Playback.h"

#include "comm/CommSettings.h"
#include "comm/DemoSets.h"
#include "comm/MeasurementSettings.h"
#include "platform/Resources.h"
#include "res/DemoRecordings.h"

#include <gtest/gtest.h>

#include <fstream>

namespace e2e {

namespace {

std::vector<std::uint8_t> resourceBytes(int id)
{
    platform::Resource r = platform::findResource("BIN", id);
    if (r.data == nullptr)
        return {};
    return { r.data, r.data + r.size };
}

} // namespace

demo::Recording committedDemoSet(int set)
{
    res::registerDemoRecordings();
    demo::Recording r;
    std::ifstream file(std::string(TAVO_DEMO_DIR) + "/set" + std::to_string(set) + ".csv");
    std::string error;
    if (!demo::readGroundTruth(file, r.truth, &error) || !r.truth.resources) {
        ADD_FAILURE() << "ground truth of set " << set << ": " << error;
        return r;
    }
    const auto ids = *r.truth.resources;
    r.compression = resourceBytes(ids[0]);
    r.ventilation = resourceBytes(ids[1]);
    r.status = resourceBytes(ids[2]);
    return r;
}

RegisteredRecording::RegisteredRecording(demo::Recording recording, int firstId)
    : held(std::move(recording))
    , first(firstId)
{
    platform::registerResource("BIN", first, held.compression.data(), held.compression.size());
    platform::registerResource("BIN", first + 1, held.ventilation.data(), held.ventilation.size());
    platform::registerResource("BIN", first + 2, held.status.data(), held.status.size());
}

RegisteredRecording::~RegisteredRecording()
{
    for (int id : resources())
        platform::unregisterResource("BIN", id);
}

DemoPortSession::DemoPortSession(int port, const std::array<int, 3>& resources, const Judgement& judgement)
    : setNumber(port % DemoSets::count)
    , compression(resources[0])
    , ventilation(resources[1])
    , status(resources[2])
    , set { &compression, &ventilation, &status }
    , algorithm(judgement.algorithm)
{
    // What the start-up does with "demo" on the command line: the sets are
    // built from the resources and the demonstration ports play them.
    CommSettings::setDemoMode(true);
    DemoSets::install(setNumber, &set);
    MeasurementSettings::set(judgement.settings);

    openResult = comm.open(port);
    comm.startCalibration();
    calibration = comm.calibrationStatus();

    // What a new session does: the guideline, the mode, the acquisition.
    session.setAlgorithm(&algorithm);
    session.trainingMode = judgement.trainingMode;
    session.attach(&comm);
    comm.resetCounters();
    comm.start();
}

DemoPortSession::~DemoPortSession()
{
    comm.stop();
    DemoSets::install(setNumber, nullptr);
    CommSettings::setDemoMode(false);
    MeasurementSettings::set(MeasurementSettings());
}

void DemoPortSession::play(int ticks)
{
    for (int i = 0; i < ticks; ++i) {
        comm.update();
        session.process();
    }
    session.finish();
}

Found foundIn(const CommSession& session)
{
    Found found;
    int number = 0;
    for (const CompressionSeries& s : session.compressionDetector.series) {
        for (const CompressionCycle& c : s.cycles)
            found.compressions.emplace_back(number, c);
        ++number;
    }
    number = 0;
    for (const VentilationSeries& s : session.ventilationDetector.series) {
        for (const VentilationRecord& v : s.ventilations)
            found.ventilations.emplace_back(number, v);
        ++number;
    }
    return found;
}

} // namespace e2e
