#pragma once
// The application's Calibrate window: one form in a frame that hides instead
// of closing, so it lives until the frame is destroyed with the main window.
// The application keeps one of these and calls onCalibrate at start-up and
// for the Calibrate command.
#include "Utillib/Signal.h"

class CalibrateView;
class ChildFrame;
class FormChildFrame;

class CalibrateWindow : public SignalReceiver {
public:
    CalibrateWindow() = default;
    CalibrateWindow(const CalibrateWindow&) = delete;
    CalibrateWindow& operator=(const CalibrateWindow&) = delete;

    // When the window exists, brings its frame up (the window then searches
    // the ports again) and returns false. Otherwise opens it collapsed, runs
    // the start-up calibration, expands it and returns whether a calibration
    // failed; the window is left open only when something needs the user.
    bool onCalibrate();

    // Null until the window is first opened, and after its frame is destroyed.
    FormChildFrame* frame() const { return calibrateFrame; }
    CalibrateView* view() const;

private:
    void frameDestroyed(ChildFrame* frame);

    FormChildFrame* calibrateFrame = nullptr;
};
