#pragma once
// Running a course: its schedule rows, the live sessions started from them
// on several manikins at once, and what the run-course form shows of them
// (the first shown row, the selected row, each row's state). It knows no
// windows: the form reads and writes rows through it, and it asks its host
// for the station's services (tables, ports, sessions) and for the few
// things only the form can do (a beep, a message, the stored-session editor).
#include "Database/Algorithm.h"
#include "Database/CourseSchedule.h"
#include "Database/CourseTable.h"
#include "Database/SessionRecord.h"
#include "Utillib/Signal.h"

#include <string>
#include <vector>

class Session;

class RunCourseHost {
public:
    virtual ~RunCourseHost() = default;

    // The station.
    virtual std::vector<SessionRecord> loadSchedule(const CourseKey& key) = 0;
    // Stores every row but the last, touching only the rows the schedule
    // read or added (SessionTable::saveCourseSessions); false when nothing
    // was stored (the failure has been reported). Rows another station
    // deleted may leave the schedule, and `course` follows a course that
    // another station renamed.
    virtual bool saveSchedule(CourseRecord& course, CourseSchedule& schedule) = 0;
    virtual void addPerson(const std::string& name) = 0;
    // Unknown names give the defaults.
    virtual ScheduleScenario scenario(const std::string& name) = 0;
    virtual Algorithm algorithm(const std::string& name) = 0;
    // The first available calibrated port, 1 when there is none.
    virtual int firstAvailablePort() = 0;
    // Not reserved by a session.
    virtual bool portAvailable(int port) = 0;
    // Opens the port and runs its handshake: SerialPort's result, 10 = ready.
    virtual int openPort(int port) = 0;
    virtual bool portCalibrated(int port) = 0;
    virtual void closePort(int port) = 0;
    // A live session for the row, registered with the session manager and
    // shown in the session window. `planned` is the row as this form last
    // read it from the table (none for a row never stored): the session
    // measures its changes from it.
    virtual Session* createSession(const SessionRecord& row, const Algorithm& algorithm, const SessionRecord* planned) = 0;
    // Brings the session's tab to the front.
    virtual void showSession(Session* session) = 0;
    // The time of day as HH:MM.
    virtual std::string currentTime() = 0;

    // The form.
    virtual void beep() = 0;
    virtual void message(const std::wstring& text, const std::wstring& caption) = 0;
    // Fills the person, scenario and manikin lists again.
    virtual void refillLists() = 0;
    // Shows the form in front of the session window.
    virtual void bringToFront() = 0;
    // Opens the stored-session editor on the row; the row as it closed.
    // `read` is the row as this form last read it from the table (none for a
    // row never stored): the editor measures its user's changes from it.
    virtual void editStoredSession(SessionRecord& row, const SessionRecord* read) = 0;
};

class RunCourse : public SignalReceiver {
public:
    static constexpr int visibleRows = 8;

    enum RowState { PLACEHOLDER, IDLE, DONE, COLLECTING, PAUSED, FINISHED };

    // What a visible row's controls hold.
    struct RowEdit {
        std::string ventilation;
        std::string compression;
        std::string scenario;
        std::string manikin;
        std::string start;
        std::string end;
    };

    // The scroll bar: positions 0..maximum, `page` rows at a time.
    struct Scroll {
        int maximum = 0;
        int page = 0;
        int position = 0;
    };

    RunCourse(const CourseRecord& course, RunCourseHost& host);
    ~RunCourse() override;
    RunCourse(const RunCourse&) = delete;
    RunCourse& operator=(const RunCourse&) = delete;

    // Reads the stored schedule; a new placeholder follows its rows.
    void load();
    // Appends a placeholder when the last row got a participant.
    void refresh();

    const CourseRecord& course() const { return courseRecord; }
    const std::vector<SessionRecord>& rows() const { return schedule.rows(); }
    int size() const { return schedule.size(); }
    Session* running(int row) const;
    RowState rowState(int row) const;
    bool modified() const { return changed; }

    // Shown rows: the first shown row, the selected visible row (1 to 8, 0
    // for none) and how many rows show.
    int top() const { return topRow; }
    int selected() const { return selectedRow; }
    int shownCount() const;
    // The schedule row of visible row k (1-based).
    int rowOfVisible(int k) const { return topRow + k - 1; }
    void select(int visibleRow);
    Scroll scroll() const;
    // A new first shown row, clamped; true when it changed.
    bool scrollTo(int position);

    // Takes back what a row's controls hold; true when anything differed.
    bool readRow(int row, const RowEdit& edit);
    // A new scenario for the row with its settings.
    void applyScenario(int row, const std::string& scenarioName);
    // Normalises the row's start and computes its end; a done row keeps its
    // times. True when either text changed.
    bool updateEndTime(int row, const std::string& startText);

    // The row's buttons.
    void startRow(int row);
    void pauseRow(int row);
    void showDetails(int row);
    // The selected row's commands.
    void moveRowUp();
    void moveRowDown();
    void removeRow();

    // Asks every running session in row order whether to save, then closes
    // them all; false at the first refusal, and nothing is closed then.
    bool canClose();
    // Stores the schedule and adds its persons; false when the schedule
    // could not be stored (it stays modified).
    bool store();
    // Closing the form: canClose, then store. False keeps the form open.
    bool close();

    // Emitted when rows or their states changed: the form shows them again.
    Signal<> changedSignal;

private:
    void appendRow();
    void onSessionStateChanged();
    void onSessionChanged(Session* session);
    void onSessionClosed(Session* session);
    void changedRows();
    // The row of that serial as the table held it when this form last read or wrote it.
    const SessionRecord* storedRow(const std::string& serial) const;

    struct RunConnections {
        SignalConnection* connections[4] = {};
        Session* session = nullptr;
        // the row's times before the start made them the actual ones
        std::string plannedStart;
        std::string plannedEnd;
    };

    CourseRecord courseRecord;
    RunCourseHost& host;
    CourseSchedule schedule;
    std::vector<Session*> sessionsRunning;
    std::vector<RunConnections> runConnections;
    bool changed = false;
    int topRow = 0;
    int selectedRow = 0;
};
