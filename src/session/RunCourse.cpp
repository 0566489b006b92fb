#include "session/RunCourse.h"

#include "Utillib/Duration.h"
#include "Utillib/LogStream.h"
#include "gettext/Translator.h"
#include "session/Session.h"

#include <algorithm>
#include <utility>

namespace {

std::string endOf(int duration, const std::string& start)
{
    return duration < 0 ? std::string() : addDurationToTime(duration, start);
}

} // namespace

RunCourse::RunCourse(const CourseRecord& course, RunCourseHost& owner)
    : courseRecord(course)
    , host(owner)
{
}

RunCourse::~RunCourse()
{
    for (RunConnections& record : runConnections)
        for (SignalConnection* connection : record.connections)
            SignalConnection::disconnect(connection);
}

void RunCourse::load()
{
    schedule.load(host.loadSchedule(courseRecord.getKey()));
    sessionsRunning.assign(schedule.rows().size(), nullptr);
    changed = false;
    topRow = 0;
    selectedRow = 0;
    if (schedule.rows().empty()) {
        refresh();
        return;
    }
    // Always a fresh placeholder: a stored last row without participants
    // stays a row of its own and is stored again.
    appendRow();
}

void RunCourse::appendRow()
{
    const ScheduleScenario scenario = host.scenario(courseRecord.DefaultScenario);
    schedule.appendRow(courseRecord.Instructor, courseRecord.Date, courseRecord.Time, courseRecord.DefaultScenario,
                       scenario, host.firstAvailablePort());
    sessionsRunning.push_back(nullptr);
}

void RunCourse::refresh()
{
    if (schedule.rows().empty()) {
        appendRow();
        selectedRow = 1;
        topRow = 0;
    } else if (!CourseSchedule::isPlaceholder(schedule.rows().back())) {
        appendRow();
    }
    LOG_ASSERT(sessionsRunning.empty() || sessionsRunning.size() == schedule.rows().size());
}

Session* RunCourse::running(int row) const
{
    return row >= 0 && row < static_cast<int>(sessionsRunning.size()) ? sessionsRunning[row] : nullptr;
}

RunCourse::RowState RunCourse::rowState(int row) const
{
    if (row == size() - 1)
        return PLACEHOLDER;
    if (const Session* session = running(row)) {
        if (session->isRunning())
            return COLLECTING;
        return session->isFinished() ? FINISHED : PAUSED;
    }
    return rows()[row].Done ? DONE : IDLE;
}

int RunCourse::shownCount() const { return std::clamp(size() - topRow, 0, visibleRows); }

void RunCourse::select(int visibleRow) { selectedRow = visibleRow >= 1 && visibleRow <= shownCount() ? visibleRow : 0; }

RunCourse::Scroll RunCourse::scroll() const
{
    Scroll s;
    s.maximum = std::max(size() - 1, 0);
    s.page = shownCount();
    s.position = topRow;
    return s;
}

bool RunCourse::scrollTo(int position)
{
    const Scroll s = scroll();
    const int limit = std::max(s.maximum - s.page + 1, 0);
    position = std::clamp(position, 0, limit);
    if (position == topRow)
        return false;
    topRow = position;
    if (selectedRow > shownCount())
        selectedRow = 0;
    return true;
}

bool RunCourse::readRow(int row, const RowEdit& edit)
{
    const bool differs = schedule.takeRowTexts(
        row, ScheduleRowTexts { edit.ventilation, edit.compression, edit.scenario, edit.manikin, edit.start, edit.end });
    if (differs)
        changed = true;
    return differs;
}

void RunCourse::applyScenario(int row, const std::string& scenarioName)
{
    if (row < 0 || row >= size())
        return;
    SessionRecord& r = schedule.rows()[row];
    const ScheduleScenario scenario = host.scenario(scenarioName);
    r.Scenario = scenarioName;
    r.TrainingMode = scenario.trainingMode;
    r.Duration = scenario.duration;
    r.Algorithm = scenario.algorithm;
    r.RegisterEvents = scenario.registerEvents ? 1 : 0;
    refresh();
}

bool RunCourse::updateEndTime(int row, const std::string& startText)
{
    if (row < 0 || row >= size() || rows()[row].Done)
        return false;
    if (schedule.updateEndTime(row, startText)) {
        changed = true;
        return true;
    }
    return false;
}

void RunCourse::startRow(int row)
{
    if (row < 0 || row >= size() - 1) {
        host.beep();
        return;
    }
    if (Session* session = sessionsRunning[row]) {
        if (session->getState() == Session::REVIEW) {
            host.beep();
            return;
        }
        session->start();
        session->setState(Session::COLLECT);
        return;
    }
    SessionRecord& r = schedule.rows()[row];
    if (r.Done) {
        host.beep();
        return;
    }
    const int port = r.Manikin;
    if (port < 1 || port > 256) {
        host.message(translate("The manikin number is not valid. Please select another."), translate("Start problem"));
        return;
    }
    if (!host.portAvailable(port)) {
        host.message(translate("The selected manikin is not available. Please select another."),
                     translate("Start problem"));
        host.refillLists();
        return;
    }
    const int result = host.openPort(port);
    if (result != 10 || !host.portCalibrated(port)) {
        // A port that was open already belongs to someone else (a
        // calibration of that manikin, say): it stays open.
        if (result != 5)
            host.closePort(port);
        host.message(translate("There was a problem opening the port. Please make sure that the manikin is properly "
                               "connected and recalibrate."),
                     translate("COM port problem"));
        host.refillLists();
        return;
    }
    const std::string plannedStart = r.StartTime;
    const std::string plannedEnd = r.EndTime;
    r.StartTime = host.currentTime();
    r.EndTime = endOf(r.Duration, r.StartTime);
    changed = true;
    refresh();

    const SessionRecord& started = schedule.rows()[row];
    Session* session = host.createSession(started, host.algorithm(started.Algorithm), storedRow(started.Serialidentifier));
    if (!session) {
        schedule.rows()[row].StartTime = plannedStart;
        schedule.rows()[row].EndTime = plannedEnd;
        host.closePort(port);
        changedRows();
        return;
    }
    sessionsRunning[row] = session;
    session->registerEvents = schedule.rows()[row].RegisterEvents != 0;
    RunConnections record;
    record.session = session;
    record.plannedStart = plannedStart;
    record.plannedEnd = plannedEnd;
    record.connections[0] = session->stateChanged.connect(this, &RunCourse::onSessionStateChanged);
    record.connections[1] = session->modifiedChanged.connect(this, &RunCourse::onSessionStateChanged);
    record.connections[2] = session->recordChanged.connect(this, &RunCourse::onSessionChanged);
    record.connections[3] = session->closing.connect(this, &RunCourse::onSessionClosed);
    runConnections.push_back(record);
    session->start();
    host.bringToFront();
    changedRows();
}

void RunCourse::pauseRow(int row)
{
    if (Session* session = running(row))
        session->pause();
    else
        host.beep();
}

void RunCourse::showDetails(int row)
{
    if (row < 0 || row >= size() - 1) {
        host.beep();
        return;
    }
    if (Session* session = sessionsRunning[row]) {
        host.showSession(session);
        return;
    }
    SessionRecord edited = rows()[row];
    host.editStoredSession(edited, storedRow(edited.Serialidentifier));
    host.refillLists();
    schedule.rows()[row] = edited;
    refresh();
    changedRows();
}

void RunCourse::moveRowUp()
{
    const int s = topRow + selectedRow; // 1-based
    if (selectedRow == 0 || s < 2 || s >= size()) {
        host.beep();
        return;
    }
    std::swap(schedule.rows()[s - 2], schedule.rows()[s - 1]);
    std::swap(sessionsRunning[s - 2], sessionsRunning[s - 1]);
    if (selectedRow == 1)
        --topRow;
    else
        --selectedRow;
    changed = true;
    refresh();
    changedRows();
}

void RunCourse::moveRowDown()
{
    const int s = topRow + selectedRow; // 1-based
    if (selectedRow == 0 || s + 1 >= size()) {
        host.beep();
        return;
    }
    std::swap(schedule.rows()[s - 1], schedule.rows()[s]);
    std::swap(sessionsRunning[s - 1], sessionsRunning[s]);
    if (selectedRow == visibleRows)
        ++topRow;
    else
        ++selectedRow;
    changed = true;
    refresh();
    changedRows();
}

void RunCourse::removeRow()
{
    const int i = topRow + selectedRow - 1;
    if (selectedRow == 0 || i >= size() - 1) {
        host.beep();
        return;
    }
    if (Session* session = sessionsRunning[i]) {
        if (!session->askSave())
            return;
        // Its closing signal clears the entry (the session may be gone already).
        if (sessionsRunning[i] == session)
            session->close();
        LOG_ASSERT_TEXT(sessionsRunning[i] == nullptr, "sessionsRunning[i] == 0");
    }
    schedule.rows().erase(schedule.rows().begin() + i);
    sessionsRunning.erase(sessionsRunning.begin() + i);
    changed = true;
    refresh();
    if (selectedRow > shownCount())
        selectedRow = shownCount();
    changedRows();
}

bool RunCourse::canClose()
{
    // By index: a session may close (and leave the list) while it is asked.
    for (std::size_t i = 0; i < sessionsRunning.size(); ++i)
        if (Session* session = sessionsRunning[i]; session && !session->askSave())
            return false;
    for (std::size_t i = 0; i < sessionsRunning.size(); ++i) {
        if (Session* session = sessionsRunning[i]) {
            session->close();
            LOG_ASSERT_TEXT(sessionsRunning[i] == nullptr, "(*i) == 0");
        }
    }
    return true;
}

bool RunCourse::store()
{
    // Rows may leave the schedule as it is stored: the sessions stay with
    // their rows.
    std::vector<std::pair<std::string, Session*>> running;
    for (std::size_t i = 0; i < sessionsRunning.size() && i < schedule.rows().size(); ++i)
        running.emplace_back(schedule.rows()[i].Serialidentifier, sessionsRunning[i]);
    const bool stored = host.saveSchedule(courseRecord, schedule);
    if (schedule.rows().size() != sessionsRunning.size()) {
        sessionsRunning.clear();
        for (const SessionRecord& row : schedule.rows()) {
            const auto at = std::find_if(running.begin(), running.end(),
                                         [&row](const auto& entry) { return entry.first == row.Serialidentifier; });
            sessionsRunning.push_back(at == running.end() ? nullptr : at->second);
        }
        topRow = std::clamp(topRow, 0, std::max(size() - 1, 0));
        if (selectedRow > shownCount())
            selectedRow = 0;
    }
    if (stored)
        changed = false;
    for (const SessionRecord& r : rows()) {
        if (!r.PersonVentilation.empty())
            host.addPerson(r.PersonVentilation);
        if (!r.PersonChestCompression.empty())
            host.addPerson(r.PersonChestCompression);
    }
    return stored;
}

bool RunCourse::close() { return canClose() && store(); }

void RunCourse::onSessionStateChanged() { changedRows(); }

void RunCourse::onSessionChanged(Session* session)
{
    for (std::size_t i = 0; i < sessionsRunning.size(); ++i) {
        if (sessionsRunning[i] == session) {
            schedule.rows()[i] = session->getRecord();
            // A review that stored the row leaves it as its base: what it
            // stored is what the table holds, not a change of this form.
            if (const auto& planned = session->plannedRow();
                planned && SessionRecord::keysEqual(planned->row.Serialidentifier, schedule.rows()[i].Serialidentifier))
                schedule.takeStoredRow(planned->row);
            // The row changed under the form: stored however the form closes.
            changed = true;
        }
    }
    refresh();
    changedRows();
}

void RunCourse::onSessionClosed(Session* session)
{
    const auto at = std::find(sessionsRunning.begin(), sessionsRunning.end(), session);
    if (at == sessionsRunning.end()) {
        LOG_ASSERT_TEXT(false, "false");
        changedRows();
        return;
    }
    *at = nullptr;
    const auto record = std::find_if(runConnections.begin(), runConnections.end(),
                                     [session](const RunConnections& r) { return r.session == session; });
    SessionRecord& row = schedule.rows()[static_cast<std::size_t>(at - sessionsRunning.begin())];
    if (record != runConnections.end() && !row.Done && !session->getRecord().Done) {
        // Discarded: nothing took place at the times the start wrote, so the
        // row is planned as before, and is stored so.
        if (row.StartTime != record->plannedStart || row.EndTime != record->plannedEnd) {
            row.StartTime = record->plannedStart;
            row.EndTime = record->plannedEnd;
            changed = true;
        }
    }
    if (record != runConnections.end()) {
        for (SignalConnection* connection : record->connections)
            SignalConnection::disconnect(connection);
        runConnections.erase(record);
    }
    changedRows();
}

void RunCourse::changedRows() { changedSignal.emit(); }

const SessionRecord* RunCourse::storedRow(const std::string& serial) const
{
    for (const SessionRecord& read : schedule.storedRows())
        if (read.Serialidentifier == serial)
            return &read;
    return nullptr;
}
