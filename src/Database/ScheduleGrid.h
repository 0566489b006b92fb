#pragma once
// The course planner's view of a schedule: four rows at a time under the
// course fields, the selected row, the row shown first, and whether the
// course key in the fields is complete (an incomplete key locks the rows).
// It knows no windows: the planner passes in what its fields and rows hold
// and shows what this says. Commands that are not allowed return false and
// change nothing, so the caller can beep.
#include "Database/CourseSchedule.h"
#include "Database/CourseTable.h"

#include <string>
#include <vector>

// What the grid needs from the station for a new row.
class ScheduleGridSource {
public:
    virtual ~ScheduleGridSource() = default;
    // The scenario's settings; an unknown or empty name gives the defaults.
    virtual ScheduleScenario scenario(const std::string& name) = 0;
    // The first available calibrated port, 1 when there is none.
    virtual int firstAvailablePort() = 0;
};

class ScheduleGrid {
public:
    static constexpr int visibleRows = 4;

    // What a visible row's controls hold.
    struct RowTexts {
        std::string ventilation;
        std::string compression;
        std::string manikin;
        std::string start;
        std::string end;
    };

    explicit ScheduleGrid(ScheduleGridSource& source);

    const std::vector<SessionRecord>& rows() const { return schedule.rows(); }
    std::vector<SessionRecord>& rows() { return schedule.rows(); }
    int size() const { return schedule.size(); }
    // The rows with what the table held of them, for storing.
    CourseSchedule& courseSchedule() { return schedule; }

    // The visible row (1 to 4) selected, 0 for none; the schedule row shown
    // first; the schedule row the row commands act on (-1 for none).
    int selected() const { return selectedRow; }
    int top() const { return topRow; }
    int selectedIndex() const { return selectedRow == 0 ? -1 : topRow + selectedRow - 1; }
    // The schedule row of visible row k (1-based).
    int rowOfVisible(int k) const { return topRow + k - 1; }
    // How many visible rows show a schedule row.
    int shownCount() const;
    bool locked() const { return keyIncomplete; }
    // The schedule was edited since it was loaded or stored.
    bool modified() const { return changed; }
    void setModified(bool value) { changed = value; }

    // A stored schedule replaces the one shown; it counts as unchanged. The
    // next refresh appends a new placeholder after its rows.
    void load(std::vector<SessionRecord> stored);
    // The first row shown and selected.
    void goToTop();
    // Locks or opens the rows by the key in `fields` and keeps a placeholder
    // last (made from the fields' course and default scenario). True when
    // the number of rows changed since the scroll bar was set up: it needs
    // setting up again from scroll().
    bool refresh(const CourseRecord& fields);

    // The scroll bar as last set up: positions 0 to `limit`, `page` rows a page.
    struct Scroll {
        int limit = 0;
        int page = 0;
    };
    Scroll scroll() const { return scrollSetup; }
    // A new first row within the scroll bar's positions; true when it moved.
    bool scrollTo(int position);
    // The focus entered visible row k.
    void select(int visibleRow);

    // Takes back what a row's controls hold; true when anything differed.
    bool readRow(int row, const RowTexts& texts);
    // The row's start normalised and its end computed from its duration; a
    // done row keeps its times.
    bool updateEndTime(int row, const std::string& startText);
    // The course start changed: the placeholder starts then.
    void retimePlaceholder(const CourseRecord& fields);
    // The placeholder takes the scenario's settings; its times stay.
    void applyDefaultScenario(const std::string& scenarioName);

    // The selected row's commands.
    bool moveRowUp();
    bool moveRowDown();
    bool removeRow();
    bool sortByStartTime();

    // Whether a row's "Details..." is offered, and whether its manikin and
    // start are fixed (it has been run).
    bool detailsEnabled(int row) const { return row >= 0 && row < size() - 1 && !keyIncomplete; }
    bool timesFixed(int row) const { return row >= 0 && row < size() && rows()[row].Done && !keyIncomplete; }

private:
    void appendRow(const CourseRecord& fields);

    ScheduleGridSource& source;
    CourseSchedule schedule;
    int selectedRow = 0;
    int topRow = 0;
    bool keyIncomplete = false;
    // rows for which the scroll bar was set up; -1 forces a new set-up
    int shownRowCount = -1;
    Scroll scrollSetup;
    bool changed = false;
    // Loaded rows wait for the placeholder that follows them.
    bool placeholderDue = false;
};
