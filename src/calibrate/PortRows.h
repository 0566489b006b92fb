#pragma once
// What the Calibrate window shows for a port and says about a failed
// calibration; free of windows so that the rules are tested plainly.
#include <string>

// One row of the port list.
struct PortRow {
    // The state after the port number, in English (translated when shown); null for none.
    const char* stateText = nullptr;
    // Pre-checked for calibration.
    bool checked = false;
    // The user can check the row.
    bool enabled = false;
    // Counts as a port found by the search.
    bool counted = false;
};

// The row of a port that the search found, by whether a session holds it,
// the result of its last open (SerialPort::Result), and its flags in the port table.
PortRow portRow(bool reserved, int openResult, bool calibrated, bool isCPB);

// "COM 3: - Need calibration" in the user's language; "COM 3:" without a state.
std::wstring portRowText(int port, const char* stateText);

// The paragraph of the calibration error text for a port and the calibration
// status it ended with, line break included.
std::wstring calibrationErrorText(int port, int status);
