#pragma once
// A course's schedule: its planned sessions in order, ending in a placeholder
// row (no participant yet) that carries the defaults for the next session.
// The planner's grid, the run-course form and the printout share it; it
// knows no windows. Operations that are not allowed return false and change
// nothing, so the caller can beep.
#include "Database/SessionRecord.h"

#include <optional>
#include <string>
#include <vector>

// The scenario settings a row takes over.
struct ScheduleScenario {
    int duration = 600; // seconds, -1 for no limit
    std::string algorithm;
    bool registerEvents = true;
    int trainingMode = 1;
};

// What a form's row shows; the scenario only where the form lets it change.
struct ScheduleRowTexts {
    std::string ventilation;
    std::string compression;
    std::optional<std::string> scenario;
    std::string manikin;
    std::string start;
    std::string end;
};

class CourseSchedule {
public:
    std::vector<SessionRecord>& rows() { return rows_; }
    const std::vector<SessionRecord>& rows() const { return rows_; }
    int size() const { return static_cast<int>(rows_.size()); }

    // Rows read from the Session table: they replace the schedule and are
    // what the table held when this form last read or wrote it.
    void load(std::vector<SessionRecord> stored);
    // The rows as the table held them when this form last read or wrote
    // them. Storing the schedule compares with them, so that it writes only
    // what this form changed and deletes only the rows it removed.
    const std::vector<SessionRecord>& storedRows() const { return stored_; }
    // The schedule was written: every row but the placeholder counts as stored.
    void markStored();
    // Another writer of this station (a session's review) wrote `row`: it is
    // what the table holds for its serial now, and the next store measures
    // from it, so that it writes none of it back over a later change.
    void takeStoredRow(const SessionRecord& row);

    // A row without any participant: the placeholder when it is the last.
    static bool isPlaceholder(const SessionRecord& row);

    // Takes a form row's texts into row i; true when any field changed. The
    // done mark is never read back: only a session saved as done sets it.
    bool takeRowTexts(int i, const ScheduleRowTexts& texts);
    // The number a manikin box's text starts with (blanks and a sign
    // allowed); 0 when it starts with anything else.
    static int manikinNumber(const std::string& text);

    // Appends a row for `scenarioName` with `scenario`'s settings on
    // `manikin`; its start follows the course start (+2 minutes) for the
    // first row, the last row's end (+1 minute) on the same manikin, or the
    // last row's start on another one. Returns the new row's index.
    int appendRow(const std::string& courseInstructor, const std::string& courseDate,
                  const std::string& courseTime, const std::string& scenarioName,
                  const ScheduleScenario& scenario, int manikin);
    // Appends a placeholder when the schedule is empty or its last row got a
    // participant; true when a row was appended.
    bool ensurePlaceholder(const std::string& courseInstructor, const std::string& courseDate,
                           const std::string& courseTime, const std::string& scenarioName,
                           const ScheduleScenario& scenario, int manikin);

    // Rows i-1 and i (i and i+1) exchange everything but their times. Not
    // for the first row, the placeholder or the row above it (move down).
    bool moveRowUp(int i);
    bool moveRowDown(int i);
    // Any row but the placeholder.
    bool removeRow(int i);
    // All rows but the placeholder by their HH:MM start texts; needs 2 rows.
    bool sortByStartTime();

    // Normalises row i's start to `startText` and recomputes its end; a done
    // row keeps its times. True when either text changed.
    bool updateEndTime(int i, const std::string& startText);
    // The placeholder starts at the course start; its end follows `duration`.
    void retimePlaceholder(const std::string& courseTime, int duration);
    // The placeholder takes a new scenario; its times stay.
    void applyScenarioToPlaceholder(const std::string& scenarioName, const ScheduleScenario& scenario);

private:
    static void swapAllButTimes(SessionRecord& a, SessionRecord& b);
    std::vector<SessionRecord> rows_;
    std::vector<SessionRecord> stored_;
};
