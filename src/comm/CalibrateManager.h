#pragma once
#include "Utillib/Signal.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class Comm;
class SerialPort;

// The few combo-box operations a port list needs; the window layer adapts its
// combo boxes to it.
class PortComboBox {
public:
    virtual ~PortComboBox() = default;
    virtual void resetContent() = 0;
    virtual void addItem(const std::string& text, int itemData) = 0;
    virtual void setCurrentIndex(int index) = 0;
    virtual std::string currentText() const = 0;
};

// The program-wide table of COM ports 1 to 256: whether each exists, is
// reserved by a session, is calibrated, or has a CPR Controller; it owns the
// ports' SerialPort objects and runs the zero calibrations. Emits itself when
// anything changes.
class CalibrateManager : public Signal<> {
public:
    static constexpr int COM_PORTS = 256;

    struct PortInformation {
        bool isValid = false;
        bool isAvailable = true;
        bool isCalibrated = false;
        bool isCPB = false;
        SerialPort* serPort = nullptr;
    };

    static CalibrateManager& get();

    CalibrateManager();
    ~CalibrateManager() override;
    CalibrateManager(const CalibrateManager&) = delete;
    CalibrateManager& operator=(const CalibrateManager&) = delete;

    bool getIsValid(int port) const;
    bool getIsAvailable(int port) const;
    bool getIsCalibrated(int port) const;
    bool getIsCPB(int port) const;
    SerialPort* getSerialPort(int port) const;

    int countCalibrated() const;
    int countCPB() const;
    std::vector<int> getCPBPorts() const;

    void setCalibrated(bool value, int port);
    void reservePort(int port);
    void releasePort(int port);
    void invalidatePort(int port);

    void scanPorts();
    bool fillPortCombo(PortComboBox& combo) const;
    int portFromCombo(const PortComboBox& combo) const;
    int firstAvailablePort() const;

    bool startCalibration(int port);
    int pollCalibration(int port);

private:
    bool checkPort(int port) const;
    bool usable(int port) const;
    void dropComm(int port);

    std::array<PortInformation, COM_PORTS + 1> portInformation {};
    std::array<Comm*, COM_PORTS + 1> commList {};
    // A calibration whose start failed: its poll answers at once instead of
    // leaving the caller waiting for a result that never comes.
    std::array<bool, COM_PORTS + 1> startFailed {};
};
