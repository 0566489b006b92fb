#pragma once
// The "Course planner": one course at a time (instructor, date, start time,
// default scenario, notes) with the record editor's browsing, New, Save,
// Discard and Delete, and under it the course's schedule, four rows at a
// time. Saving the course stores its schedule; from here the schedule is
// printed and the course is run. The rows' logic is ScheduleGrid's; this is
// its window.
#include "Database/AlgorithmTable.h"
#include "Database/CourseTable.h"
#include "Database/DatabaseDialog.h"
#include "Database/NavigationButtons.h"
#include "Database/PersonTable.h"
#include "Database/ScenarioTable.h"
#include "Database/ScheduleGrid.h"
#include "Database/SessionTable.h"
#include "ui/MapBitmapButton.h"
#include "ui/ResizableDialog.h"

#include <array>

class COXMaskedEdit;
class QScrollBar;
namespace platform {
class ComboBox;
}

class CoursePlannerDialog : public ResizableDialog, public DatabaseDialog<CourseTable>, public ScheduleGridSource {
public:
    explicit CoursePlannerDialog(QWidget* parent = nullptr);
    ~CoursePlannerDialog() override;

    // The controls of visible row k (0-based).
    struct Row {
        QWidget* number = nullptr;
        platform::ComboBox* ventilation = nullptr;
        platform::ComboBox* compression = nullptr;
        platform::ComboBox* manikin = nullptr;
        COXMaskedEdit* start = nullptr;
        QWidget* end = nullptr;
        QWidget* details = nullptr;
    };
    const Row& row(int k) const { return rows[k]; }
    const ScheduleGrid& grid() const { return schedule; }
    // The course as it was last shown or stored.
    const CourseRecord& shownRecord() const { return record; }
    bool scheduleChanged() const { return changed; }

    // ScheduleGridSource
    ScheduleScenario scenario(const std::string& name) override;
    int firstAvailablePort() override;

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code) override;
    void onSize(UINT type, int cx, int cy) override;
    void keyPressEvent(QKeyEvent* event) override;

    // The record editor's hooks.
    void showRecord(const CourseRecord& rec) override;
    CourseRecord readRecord() override;
    bool isChanged() override;
    void enableButtons(int bits) override;
    std::wstring messageText(int number) override;
    void notifyChanged() override;
    void fillCombos() override;
    void beforeSave(CourseRecord& rec) override;
    void afterSave() override;
    // The course's row went with only the schedule changed here: the
    // schedule's store follows a renamed course or refuses, and tells which.
    bool followVanishedRecord() override { return true; }

private:
    void setUpControls();
    void buildLayout();

    // The schedule in the grid.
    void loadSchedule();
    void refresh();
    void showRows(int count);
    void readRows();
    void enableRows(bool enable);
    void markRow(int visibleRow);
    void setUpScrollBar();
    // The grid's edits count as the course's changes.
    void takeScheduleChanges();
    void showSchedule();

    // Commands.
    void onFocusChanged(QWidget* old, QWidget* now);
    void leaveControl(QWidget* control);
    QWidget* rowControlOf(const QWidget* widget, int* visibleRow) const;
    bool rowCommand(int id, int code);
    void rowDetails(int visibleRow);
    void instructorDetails();
    void scenarioDetails();
    void applyDefaultScenario();
    void newCourse();
    void quickFind();
    // Saves the course with its schedule; the person lists are filled
    // again when the save added persons. True when both were stored.
    bool saveCourse();
    // Before the course shown is left: "Course plan was changed. Save the
    // changes?" Yes goes on only when the course and its schedule were both
    // stored; otherwise the edits stay on screen.
    bool askSaveCourse();
    void runCourse();
    void printSchedule();
    void close();

    platform::ComboBox* combo(int id) const;
    std::string text(int id) const;

    CourseTable courseTable;
    SessionTable sessionTable;
    ScenarioTable scenarioTable;
    AlgorithmTable algorithmTable;
    PersonTable personTable;
    ScheduleGrid schedule;
    // the last save added a person, so the person lists need filling again
    bool personsAdded = false;
    // the last save stored the course but not its schedule
    bool scheduleNotStored = false;

    NavigationButtons navigation;
    MapBitmapButton moveUpButton;
    MapBitmapButton moveDownButton;
    MapBitmapButton removeButton;
    MapBitmapButton sortButton;
    MapBitmapButton printButton;
    COXMaskedEdit* dateEdit = nullptr;
    COXMaskedEdit* timeEdit = nullptr;
    std::array<Row, ScheduleGrid::visibleRows> rows {};
    QScrollBar* scrollBar = nullptr;
    QWidget* highlight = nullptr;
    // the form fills its own controls: their signals are no edits
    bool filling = false;
    // True once the controls and the rows are made.
    bool setUp = false;
};

// Opens the planner modally, unless a course is running: its form comes to
// the front instead.
void runCoursePlanner();
