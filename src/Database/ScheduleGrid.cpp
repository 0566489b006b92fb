#include "Database/ScheduleGrid.h"

#include <algorithm>
#include <utility>

ScheduleGrid::ScheduleGrid(ScheduleGridSource& gridSource)
    : source(gridSource)
{
}

int ScheduleGrid::shownCount() const { return std::clamp(size() - topRow, 0, visibleRows); }

void ScheduleGrid::load(std::vector<SessionRecord> stored)
{
    // Always a fresh placeholder after stored rows: a last stored row
    // without participants (run without names) stays a row of its own.
    placeholderDue = !stored.empty();
    schedule.load(std::move(stored));
    shownRowCount = -1;
    changed = false;
}

void ScheduleGrid::goToTop()
{
    topRow = 0;
    selectedRow = 1;
    shownRowCount = -1;
}

void ScheduleGrid::appendRow(const CourseRecord& fields)
{
    schedule.appendRow(fields.Instructor, fields.Date, fields.Time, fields.DefaultScenario,
                       source.scenario(fields.DefaultScenario), source.firstAvailablePort());
}

bool ScheduleGrid::refresh(const CourseRecord& fields)
{
    if (placeholderDue) {
        placeholderDue = false;
        appendRow(fields);
    }
    // Rows may have left the schedule when it was stored.
    topRow = std::clamp(topRow, 0, std::max(size() - 1, 0));
    if (fields.getKey().isComplete()) {
        if (keyIncomplete) {
            goToTop();
            keyIncomplete = false;
        }
        if (schedule.rows().empty()) {
            appendRow(fields);
            goToTop();
        } else if (!CourseSchedule::isPlaceholder(schedule.rows().back())) {
            // The row typed into became a real one; selection and scrolling stay.
            appendRow(fields);
        }
    } else {
        keyIncomplete = true;
        if (schedule.rows().empty()) {
            appendRow(fields);
            goToTop();
        }
    }
    if (keyIncomplete || selectedRow > shownCount())
        selectedRow = 0;
    if (size() == shownRowCount)
        return false;
    shownRowCount = size();
    scrollSetup.page = shownCount();
    scrollSetup.limit = std::max(size() - scrollSetup.page, 0);
    return true;
}

bool ScheduleGrid::scrollTo(int position)
{
    position = std::clamp(position, 0, scrollSetup.limit);
    if (position == topRow)
        return false;
    topRow = position;
    // No selection on a visible row that shows nothing.
    if (selectedRow > shownCount())
        selectedRow = 0;
    return true;
}

void ScheduleGrid::select(int visibleRow)
{
    selectedRow = visibleRow >= 1 && visibleRow <= shownCount() && !keyIncomplete ? visibleRow : 0;
}

bool ScheduleGrid::readRow(int row, const RowTexts& texts)
{
    const bool differs = schedule.takeRowTexts(
        row, ScheduleRowTexts { texts.ventilation, texts.compression, std::nullopt, texts.manikin, texts.start, texts.end });
    if (differs)
        changed = true;
    return differs;
}

bool ScheduleGrid::updateEndTime(int row, const std::string& startText)
{
    if (!schedule.updateEndTime(row, startText))
        return false;
    changed = true;
    return true;
}

void ScheduleGrid::retimePlaceholder(const CourseRecord& fields)
{
    if (schedule.rows().empty())
        return;
    const std::string& own = schedule.rows().back().Scenario;
    const ScheduleScenario scenario = source.scenario(own.empty() ? fields.DefaultScenario : own);
    schedule.retimePlaceholder(fields.Time, scenario.duration);
}

void ScheduleGrid::applyDefaultScenario(const std::string& scenarioName)
{
    schedule.applyScenarioToPlaceholder(scenarioName, source.scenario(scenarioName));
}

bool ScheduleGrid::moveRowUp()
{
    const int i = selectedIndex();
    if (selectedRow == 0 || keyIncomplete || !schedule.moveRowUp(i))
        return false;
    if (selectedRow >= 2)
        --selectedRow;
    else if (topRow > 0)
        --topRow;
    changed = true;
    return true;
}

bool ScheduleGrid::moveRowDown()
{
    const int i = selectedIndex();
    if (selectedRow == 0 || keyIncomplete || !schedule.moveRowDown(i))
        return false;
    if (selectedRow < visibleRows)
        ++selectedRow;
    else if (topRow < std::max(size() - 3, 0))
        ++topRow;
    changed = true;
    return true;
}

bool ScheduleGrid::removeRow()
{
    if (selectedRow == 0 || keyIncomplete || !schedule.removeRow(selectedIndex()))
        return false;
    changed = true;
    return true;
}

bool ScheduleGrid::sortByStartTime()
{
    if (keyIncomplete || !schedule.sortByStartTime())
        return false;
    changed = true;
    return true;
}
