#pragma once
// The Calibrate window: finds the manikins on the COM ports, lists every port
// found with its state, pre-checks the manikins that need calibration,
// calibrates the checked ones and reports the failures. It lives as a form in
// an MDI child frame, or runs as a modal dialog titled "Communication". The
// list follows the port table's change signal.
//
// Searching and calibrating block the program's one thread, with the
// animation running and, for the form, the main window disabled.
#include "Utillib/Signal.h"
#include "comm/CalibrateManager.h"
#include "ui/BaseDialog.h"

#include <array>
#include <string>

namespace platform {
class AnimateControl;
class CheckListBox;
} // namespace platform

class CalibrateView : public BaseDialog, public SignalReceiver {
public:
    static constexpr int helpContext = 10000;

    CalibrateView();
    ~CalibrateView() override;

    // The form, on template 150, as a child of its frame's client area.
    bool create(QWidget* parent) override;
    // The modal dialog titled "Communication"; true when it ended with OK.
    // OK calibrates and leaves the dialog open, so only Close ends it.
    bool runModal(QWidget* parent);

    // Collapsed, only the animation and the status show; expanded, the whole
    // window. The form's frame follows the size.
    void setExpanded(bool expand);
    bool isExpanded() const { return expanded; }

    // The start-up procedure: search, calibrate the pre-checked manikins, and
    // close again unless something needs the user. True when a calibration failed.
    bool checkCalibration();

    void searchPorts();
    // Lists the valid ports; the number of rows that count as ports found.
    int fillPortList();
    // The OK action.
    void calibrateSelected();

    void showHelp() override;

    // The port shown in a row, and the row of a port; -1 when none.
    int portOfRow(int row) const;
    int rowOfPort(int port) const;
    bool hasCalibrationError() const { return errorFlag; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;
    // The Close action.
    void onCancel() override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void portTableChanged();
    void updateCalibrateButton();
    void setStatus(const std::wstring& text);
    int messageBox(const std::wstring& text, unsigned flags);
    // Around a search or a calibration: the animation runs, the main window
    // of a form is disabled, and the window is painted as it goes.
    void beginBusy();
    void endBusy();
    void showProgress();

    platform::AnimateControl* animation = nullptr;
    bool expanded = false;
    platform::CheckListBox* comBox = nullptr;
    std::array<int, CalibrateManager::COM_PORTS + 1> portToRow {};
    std::array<int, CalibrateManager::COM_PORTS + 1> rowToPort {};
    bool errorFlag = false;
    bool isModal = false;

    QSize fullSize;
    int collapsedHeight = 0;
    // A search or calibration is running; what would start another waits.
    bool busy = false;
    // The search of the window being shown is posted and not run yet.
    bool searchPosted = false;
};
