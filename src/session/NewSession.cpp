#include "session/NewSession.h"

#include "comm/SerialPort.h"
#include "gettext/Translator.h"

namespace newsession {

bool matchesScenario(const NewSessionSettings& settings, const ScenarioRecord& scenario)
{
    return settings.algorithm == scenario.Algorithm && settings.duration == scenario.Duration
        && (settings.registerEvents ? 1 : 0) == scenario.RegisterEvents && settings.trainingMode == scenario.TrainingMode;
}

SessionRecord buildRecord(const NewSessionSettings& settings)
{
    SessionRecord record;
    record.PersonVentilation = settings.ventilation;
    record.PersonChestCompression = settings.compression;
    record.TrainingMode = settings.trainingMode;
    record.Duration = settings.duration;
    record.Manikin = settings.port;
    record.Algorithm = settings.algorithm;
    record.Scenario = settings.scenario;
    // The stored session says whether events could be registered in it.
    record.RegisterEvents = settings.registerEvents ? 1 : 0;
    return record;
}

Outcome start(const NewSessionSettings& settings, NewSessionHost& host)
{
    const int port = settings.port;
    if (port <= 0)
        return Outcome::NOTHING;
    Outcome refused = Outcome::UNAVAILABLE;
    if (!host.portAvailable(port) || host.portHasController(port)) {
        host.message(translate("The selected COM port is not available. Please select another."), translate("Start problem"));
        host.refillPorts();
    } else if (host.openPort(port) != SerialPort::OPEN_OK) {
        host.closePort(port);
        host.message(translate("There was a problem opening the port. Please make sure that the manikin is properly "
                               "connected and recalibrate."),
                     translate("COM port problem"));
        host.refillPorts();
        refused = Outcome::OPEN_FAILED;
    } else {
        const Algorithm algorithm = host.algorithm(settings.algorithm);
        host.startSession(buildRecord(settings), algorithm, settings.registerEvents);
        return Outcome::STARTED;
    }
    host.markUncalibrated(port);
    host.openCalibrate();
    return refused;
}

} // namespace newsession
