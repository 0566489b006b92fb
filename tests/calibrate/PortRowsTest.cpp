// The Calibrate window's rules for listing a port and for reporting a failed
// calibration, without a window.
#include "calibrate/PortRows.h"
#include "comm/Comm.h"
#include "comm/SerialPort.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct RowCase {
    bool reserved;
    int openResult;
    bool calibrated;
    bool isCPB;
    const char* state; // null: no state text
    bool checked, enabled, counted;
};

std::string describe(const RowCase& c)
{
    return "reserved " + std::to_string(c.reserved) + ", open " + std::to_string(c.openResult) + ", calibrated "
        + std::to_string(c.calibrated) + ", CPB " + std::to_string(c.isCPB);
}

TEST(PortRows, EveryPortStateHasItsRow)
{
    const RowCase cases[] = {
        // A session's port is never offered, whatever its last open said.
        { true, SerialPort::OPEN_OK, false, false, "Is in use", false, false, false },
        { true, SerialPort::OPEN_NO_DEVICE, true, false, "Is in use", false, false, false },
        { false, SerialPort::OPEN_FAILED, false, false, "Used by other application", false, false, false },
        { false, SerialPort::OPEN_ALREADY_OPEN, false, false, "Used by other application", false, false, false },
        { false, SerialPort::OPEN_TIMEOUTS_FAILED, false, false, "Problem with COM port", false, true, false },
        { false, SerialPort::OPEN_STATE_UNREADABLE, false, false, "Problem with COM port", false, true, false },
        { false, SerialPort::OPEN_STATE_UNWRITABLE, false, false, "Problem with COM port", false, true, false },
        { false, SerialPort::OPEN_NO_STREAM, false, false, "Problem with interface", false, true, false },
        { false, SerialPort::OPEN_BAD_ANSWER, false, false, "Problem with interface", false, true, false },
        { false, SerialPort::OPEN_NO_DEVICE, false, false, "No interface", false, true, true },
        { false, SerialPort::OPEN_OK, true, false, "Calibrated", false, true, true },
        { false, SerialPort::OPEN_OK, false, true, "CPR Controller", false, false, true },
        // A controller where a manikin was calibrated before is still a controller.
        { false, SerialPort::OPEN_OK, true, true, "CPR Controller", false, false, true },
        { false, SerialPort::OPEN_OK, false, false, "Need calibration", true, true, true },
        { false, 4, false, false, nullptr, false, false, false },
        { false, SerialPort::OPEN_PORT_NOT_AVAILABLE, false, false, nullptr, false, false, false },
        { false, 11, false, false, nullptr, false, false, false },
        { false, -1, false, false, nullptr, false, false, false },
    };
    for (const RowCase& c : cases) {
        const PortRow row = portRow(c.reserved, c.openResult, c.calibrated, c.isCPB);
        if (c.state)
            EXPECT_STREQ(row.stateText, c.state) << describe(c);
        else
            EXPECT_EQ(row.stateText, nullptr) << describe(c);
        EXPECT_EQ(row.checked, c.checked) << describe(c);
        EXPECT_EQ(row.enabled, c.enabled) << describe(c);
        EXPECT_EQ(row.counted, c.counted) << describe(c);
    }
}

TEST(PortRows, RowTextIsPortColonAndState)
{
    EXPECT_EQ(portRowText(3, "Need calibration"), L"COM 3: - Need calibration");
    EXPECT_EQ(portRowText(256, "Is in use"), L"COM 256: - Is in use");
    EXPECT_EQ(portRowText(12, nullptr), L"COM 12:");
}

TEST(PortRows, ErrorTextNamesThePortAndTheReason)
{
    const std::wstring moved = L": The manikin was probably moved during calibration, or the cable is not connected.";
    const std::wstring interface = L": Interface problem. Make sure the manikin is connected correctly.";
    const std::wstring notFound = L": Could not find manikin. Make sure the manikin is connected correctly.";
    const struct {
        int status;
        std::wstring reason;
    } cases[] = {
        { Comm::CAL_VENTILATION_MOVED, moved },
        { Comm::CAL_COMPRESSION_MOVED, moved },
        { Comm::CAL_TOO_FEW_BYTES, interface },
        { Comm::CAL_NOT_OPEN, notFound },
        { Comm::CAL_READ_FAILED, notFound },
    };
    for (const auto& c : cases)
        EXPECT_EQ(calibrationErrorText(7, c.status), L"Error calibrating COM7" + c.reason + L"\n") << c.status;
}

} // namespace
