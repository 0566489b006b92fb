#pragma once
// The "Run course" form: the course and eight rows of its schedule at a
// time, from which the instructor starts, pauses, resumes and opens the
// course's sessions on several manikins at once, edits, moves, removes and
// prints the rows. Closing it closes the sessions it started and stores the
// schedule. The rows' logic is RunCourse's; this is its window.
#include "session/RunCourse.h"
#include "session/RunCourseStation.h"
#include "ui/BaseDialog.h"

#include <array>

class COXMaskedEdit;
class QScrollBar;
namespace platform {
class ComboBox;
}

class RunCourseDialog : public BaseDialog, public RunCourseStation, public SignalReceiver {
public:
    explicit RunCourseDialog(const CourseRecord& course, QWidget* parent = nullptr);
    ~RunCourseDialog() override;

    bool create(QWidget* parent) override;
    bool canClose() override;
    void showHelp() override;

    RunCourse& model() { return run; }

    // RunCourseHost: what only the form does.
    void beep() override;
    void message(const std::wstring& text, const std::wstring& caption) override;
    void refillLists() override { fillCombos(); }
    void bringToFront() override { showParentFrame(); }
    void editStoredSession(SessionRecord& row, const SessionRecord* read) override;

    // The controls of visible row k (0-based).
    struct Row {
        QWidget* number = nullptr;
        platform::ComboBox* ventilation = nullptr;
        platform::ComboBox* compression = nullptr;
        platform::ComboBox* scenario = nullptr;
        platform::ComboBox* manikin = nullptr;
        COXMaskedEdit* start = nullptr;
        QWidget* end = nullptr;
        QWidget* done = nullptr;
        QWidget* startButton = nullptr;
        QWidget* pauseButton = nullptr;
        QWidget* details = nullptr;
    };
    const Row& row(int k) const { return rows[k]; }

    // Shows the rows again from the schedule.
    void refresh();
    // Takes back what the visible rows' controls hold.
    void readRows();

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onOK() override;
    void onCancel() override;

private:
    void fillCombos();
    // Widens the scenario column to its longest name, moving what stands right of it.
    void fitScenarioColumn();
    void showRows(int count);
    void updateRowStates();
    void placeHighlight();
    void onRowsChanged();
    void onFocusChanged(QWidget* old, QWidget* now);
    // The row control (and its visible row, 0-based) that holds the widget.
    QWidget* rowControlOf(const QWidget* control, int* visibleRow) const;
    void printSchedule();

    RunCourse run;
    std::array<Row, RunCourse::visibleRows> rows {};
    QScrollBar* scrollBar = nullptr;
    QWidget* highlight = nullptr;
    int shownRowCount = -1;
    // Set while the form fills its own controls: their signals are not edits.
    bool updating = false;
};
