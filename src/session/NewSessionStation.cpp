#include "session/NewSessionStation.h"

#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "comm/CalibrateManager.h"
#include "comm/Comm.h"
#include "comm/SerialPort.h"
#include "session/Session.h"
#include "session/SessionManager.h"

bool NewSessionStation::portAvailable(int port) { return CalibrateManager::get().getIsAvailable(port); }

bool NewSessionStation::portHasController(int port) { return CalibrateManager::get().getIsCPB(port); }

int NewSessionStation::openPort(int port)
{
    SerialPort* serialPort = CalibrateManager::get().getSerialPort(port);
    if (!serialPort)
        return SerialPort::OPEN_PORT_NOT_AVAILABLE;
    // A passing handshake leaves the port open for the session's own link.
    Comm handshake(serialPort);
    return handshake.open(port);
}

void NewSessionStation::closePort(int port)
{
    if (SerialPort* serialPort = CalibrateManager::get().getSerialPort(port))
        serialPort->close();
}

Algorithm NewSessionStation::algorithm(const std::string& name)
{
    AlgorithmTable table(database);
    if (!table.open(std::string()))
        return Algorithm();
    return table.findByName(name);
}

void NewSessionStation::markUncalibrated(int port) { CalibrateManager::get().setCalibrated(false, port); }

Session* NewSessionStation::createSession(const SessionRecord& record, const Algorithm& algorithm, bool registerEvents)
{
    auto* session = new Session(record, algorithm);
    session->registerEvents = registerEvents;
    return session;
}

void NewSessionStation::registerSession(Session* session)
{
    if (!sessionManager) {
        delete session;
        return;
    }
    sessionManager->add(session);
    sessionManager->showSessionView();
}
