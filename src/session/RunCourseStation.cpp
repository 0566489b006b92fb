#include "session/RunCourseStation.h"

#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Database/PersonTable.h"
#include "Database/ScenarioTable.h"
#include "Database/SessionTable.h"
#include "comm/CalibrateManager.h"
#include "comm/Comm.h"
#include "comm/SerialPort.h"
#include "session/Session.h"
#include "session/SessionManager.h"

std::vector<SessionRecord> RunCourseStation::loadSchedule(const CourseKey& key)
{
    SessionTable table(database);
    if (!table.open(std::string()))
        return {};
    return table.loadCourseSessions(key);
}

bool RunCourseStation::saveSchedule(CourseRecord& course, CourseSchedule& schedule)
{
    SessionTable table(database);
    return table.open(std::string()) && table.saveCourseSessions(course, schedule);
}

void RunCourseStation::addPerson(const std::string& name)
{
    PersonTable table(database);
    if (table.open(std::string()))
        table.addIfNew(name, false);
}

ScheduleScenario RunCourseStation::scenario(const std::string& name)
{
    ScheduleScenario s;
    ScenarioTable table(database);
    if (name.empty() || !table.open(std::string()))
        return s;
    const ScenarioRecord found = table.findByName(name);
    s.duration = found.Duration;
    s.algorithm = found.Algorithm;
    s.registerEvents = found.RegisterEvents != 0;
    s.trainingMode = found.TrainingMode;
    return s;
}

Algorithm RunCourseStation::algorithm(const std::string& name)
{
    AlgorithmTable table(database);
    if (!table.open(std::string()))
        return Algorithm();
    return table.findByName(name);
}

int RunCourseStation::firstAvailablePort() { return CalibrateManager::get().firstAvailablePort(); }

bool RunCourseStation::portAvailable(int port) { return CalibrateManager::get().getIsAvailable(port); }

int RunCourseStation::openPort(int port)
{
    SerialPort* serialPort = CalibrateManager::get().getSerialPort(port);
    if (!serialPort)
        return SerialPort::OPEN_PORT_NOT_AVAILABLE;
    // The handshake of the acquisition: a framed manikin is also asked
    // for its stream. The port stays open for the session.
    Comm handshake(serialPort);
    return handshake.open(port);
}

bool RunCourseStation::portCalibrated(int port) { return CalibrateManager::get().getIsCalibrated(port); }

void RunCourseStation::closePort(int port)
{
    if (SerialPort* serialPort = CalibrateManager::get().getSerialPort(port))
        serialPort->close();
}

Session* RunCourseStation::createSession(const SessionRecord& row, const Algorithm& algorithm, const SessionRecord* planned)
{
    if (!sessionManager)
        return nullptr;
    auto* session = new Session(row, algorithm);
    if (planned)
        session->setPlannedRow(readPlannedRow(database, *planned));
    sessionManager->add(session);
    sessionManager->showSessionView();
    return session;
}

void RunCourseStation::showSession(Session* session)
{
    if (sessionManager)
        sessionManager->showSession(session);
}

std::string RunCourseStation::currentTime() { return SessionRecord().StartTime; }
