#include "calibrate/PortRows.h"

#include "comm/Comm.h"
#include "comm/SerialPort.h"
#include "gettext/Translator.h"

PortRow portRow(bool reserved, int openResult, bool calibrated, bool isCPB)
{
    if (reserved)
        return { "Is in use", false, false, false };
    switch (openResult) {
    case SerialPort::OPEN_FAILED:
    case SerialPort::OPEN_ALREADY_OPEN:
        return { "Used by other application", false, false, false };
    case SerialPort::OPEN_TIMEOUTS_FAILED:
    case SerialPort::OPEN_STATE_UNREADABLE:
    case SerialPort::OPEN_STATE_UNWRITABLE:
        return { "Problem with COM port", false, true, false };
    case SerialPort::OPEN_NO_STREAM:
    case SerialPort::OPEN_BAD_ANSWER:
        return { "Problem with interface", false, true, false };
    case SerialPort::OPEN_NO_DEVICE:
        return { "No interface", false, true, true };
    case SerialPort::OPEN_OK:
        // A CPR Controller is never calibrated, even on a port where a
        // manikin was calibrated before it was plugged in.
        if (isCPB)
            return { "CPR Controller", false, false, true };
        if (calibrated)
            return { "Calibrated", false, true, true };
        return { "Need calibration", true, true, true };
    default:
        return {};
    }
}

std::wstring portRowText(int port, const char* stateText)
{
    std::wstring text = translate("COM") + L" " + std::to_wstring(port) + L":";
    if (stateText)
        text += L" - " + translate(stateText);
    return text;
}

std::wstring calibrationErrorText(int port, int status)
{
    std::wstring text = translate("Error calibrating COM") + std::to_wstring(port);
    switch (status) {
    case Comm::CAL_VENTILATION_MOVED:
    case Comm::CAL_COMPRESSION_MOVED:
        text += translate(": The manikin was probably moved during calibration, or the cable is not connected.");
        break;
    case Comm::CAL_TOO_FEW_BYTES:
        text += translate(": Interface problem. Make sure the manikin is connected correctly.");
        break;
    case Comm::CAL_NOT_OPEN:
    case Comm::CAL_READ_FAILED:
        text += translate(": Could not find manikin. Make sure the manikin is connected correctly.");
        break;
    default:
        break;
    }
    return text + L"\n";
}
