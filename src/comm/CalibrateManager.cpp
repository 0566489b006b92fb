#include "comm/CalibrateManager.h"

#include "Utillib/LogStream.h"
#include "comm/Comm.h"
#include "comm/CommSettings.h"
#include "comm/SerialPort.h"
#include "platform/Clock.h"

#include <cstdlib>

CalibrateManager& CalibrateManager::get()
{
    static CalibrateManager manager;
    return manager;
}

CalibrateManager::CalibrateManager()
{
    for (int port = 1; port <= COM_PORTS; ++port)
        portInformation[port].serPort = new SerialPort;
}

CalibrateManager::~CalibrateManager()
{
    for (int port = 1; port <= COM_PORTS; ++port) {
        delete commList[port];
        commList[port] = nullptr;
        delete portInformation[port].serPort;
        portInformation[port].serPort = nullptr;
    }
}

bool CalibrateManager::checkPort(int port) const
{
    LOG_ASSERT(port>0 && port <= COM_PORTS);
    return port > 0 && port <= COM_PORTS;
}

bool CalibrateManager::getIsValid(int port) const { return checkPort(port) && portInformation[port].isValid; }
bool CalibrateManager::getIsAvailable(int port) const { return checkPort(port) && portInformation[port].isAvailable; }
bool CalibrateManager::getIsCalibrated(int port) const { return checkPort(port) && portInformation[port].isCalibrated; }
bool CalibrateManager::getIsCPB(int port) const { return checkPort(port) && portInformation[port].isCPB; }

SerialPort* CalibrateManager::getSerialPort(int port) const
{
    if (!checkPort(port))
        return nullptr;
    LOG_ASSERT(portInformation[port].serPort!=0);
    return portInformation[port].serPort;
}

bool CalibrateManager::usable(int port) const
{
    const PortInformation& info = portInformation[port];
    return info.isAvailable && info.isCalibrated;
}

int CalibrateManager::countCalibrated() const
{
    int count = 0;
    for (int port = 1; port <= COM_PORTS; ++port) {
        const PortInformation& info = portInformation[port];
        if (info.isValid && info.isAvailable && info.isCalibrated && !info.isCPB)
            ++count;
    }
    return count;
}

int CalibrateManager::countCPB() const
{
    int count = 0;
    for (int port = 1; port <= COM_PORTS; ++port)
        if (portInformation[port].isValid && portInformation[port].isCPB)
            ++count;
    return count;
}

std::vector<int> CalibrateManager::getCPBPorts() const
{
    std::vector<int> list;
    for (int port = 1; port <= COM_PORTS; ++port)
        if (portInformation[port].isCPB)
            list.push_back(port);
    LOG_ASSERT(list.size() == static_cast<std::size_t>(countCPB()));
    return list;
}

void CalibrateManager::setCalibrated(bool value, int port)
{
    if (!checkPort(port) || portInformation[port].isCalibrated == value)
        return;
    portInformation[port].isCalibrated = value;
    emit();
}

void CalibrateManager::reservePort(int port)
{
    if (!checkPort(port))
        return;
    LOG_ASSERT(portInformation[port].isAvailable);
    portInformation[port].isAvailable = false;
    emit();
}

void CalibrateManager::releasePort(int port)
{
    if (!checkPort(port))
        return;
    LOG_ASSERT(portInformation[port].isAvailable==false);
    portInformation[port].isAvailable = true;
    emit();
}

void CalibrateManager::invalidatePort(int port)
{
    if (!checkPort(port))
        return;
    LOG_ASSERT(portInformation[port].isValid);
    PortInformation& info = portInformation[port];
    info.isValid = false;
    info.isAvailable = false;
    info.isCalibrated = false;
    emit();
}

void CalibrateManager::scanPorts()
{
    for (int port = 1; port <= COM_PORTS; ++port) {
        PortInformation& info = portInformation[port];
        SerialPort* comm = info.serPort;
        LOG_ASSERT(comm!=0);
        if (!comm)
            continue;
        if (CommSettings::isDemoPort(port)) {
            info.isValid = true;
            info.isCalibrated = false;
            info.isCPB = false;
            continue;
        }
        if (!info.isAvailable)
            continue;
        int openError = comm->open(port);
        switch (openError) {
        case SerialPort::OPEN_OK:
            info.isValid = true;
            info.isCPB = comm->deviceType == SerialPort::CPR_CONTROLLER;
            if (info.isCPB) {
                // A manikin calibrated here before has been replaced by a
                // CPR Controller: its calibration must not offer the port
                // for sessions.
                info.isCalibrated = false;
                platform::sleepMs(100);
            }
            break;
        case SerialPort::OPEN_FAILED:
        case SerialPort::OPEN_TIMEOUTS_FAILED:
        case SerialPort::OPEN_STATE_UNREADABLE:
        case SerialPort::OPEN_STATE_UNWRITABLE:
        case SerialPort::OPEN_ALREADY_OPEN:
        case SerialPort::OPEN_NO_STREAM:
        case SerialPort::OPEN_NO_DEVICE:
        case SerialPort::OPEN_BAD_ANSWER:
            info.isValid = true;
            info.isCalibrated = false;
            info.isCPB = false;
            break;
        default:
            LOG_ASSERT(openError == SerialPort::OPEN_PORT_NOT_AVAILABLE);
            info.isValid = false;
            info.isCalibrated = false;
            info.isCPB = false;
            break;
        }
        comm->close();
    }
    emit();
}

bool CalibrateManager::fillPortCombo(PortComboBox& combo) const
{
    combo.resetContent();
    bool any = false;
    for (int port = 1; port <= COM_PORTS; ++port) {
        if (!usable(port))
            continue;
        combo.addItem(std::to_string(port), port);
        any = true;
    }
    if (any)
        combo.setCurrentIndex(0);
    return any;
}

int CalibrateManager::portFromCombo(const PortComboBox& combo) const
{
    // A typed number may carry blanks around it; anything else in the text
    // makes it no port number.
    const std::string text = combo.currentText();
    const char* blanks = " \t";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first != std::string::npos) {
        const std::string trimmed = text.substr(first, text.find_last_not_of(blanks) - first + 1);
        char* end = nullptr;
        long number = std::strtol(trimmed.c_str(), &end, 10);
        if (end && *end == '\0' && number >= 1 && number <= COM_PORTS)
            return static_cast<int>(number);
    }
    return firstAvailablePort();
}

int CalibrateManager::firstAvailablePort() const
{
    for (int port = 1; port <= COM_PORTS; ++port)
        if (usable(port))
            return port;
    return 1;
}

void CalibrateManager::dropComm(int port)
{
    Comm* old = commList[port];
    if (!old)
        return;
    old->stop();
    if (old->serialPort)
        old->serialPort->close();
    delete old;
    commList[port] = nullptr;
}

bool CalibrateManager::startCalibration(int port)
{
    if (!checkPort(port))
        return false;
    startFailed[port] = false;
    const PortInformation& info = portInformation[port];
    if (!info.isValid || !info.isAvailable || info.isCPB)
        return false;
    dropComm(port);
    commList[port] = new Comm(getSerialPort(port));
    if (commList[port]->open(port) != SerialPort::OPEN_OK) {
        startFailed[port] = true;
        return false;
    }
    commList[port]->startCalibration();
    return true;
}

int CalibrateManager::pollCalibration(int port)
{
    if (!checkPort(port))
        return Comm::CAL_NOT_OPEN;
    LOG_ASSERT(commList[port] != 0);
    if (!commList[port])
        return Comm::CAL_NOT_OPEN;
    if (startFailed[port]) {
        startFailed[port] = false;
        dropComm(port);
        return Comm::CAL_NOT_OPEN;
    }
    int r = commList[port]->calibrationStatus();
    if (r == Comm::CAL_DONE)
        dropComm(port);
    return r;
}
