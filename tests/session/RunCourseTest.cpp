// Running a course without windows: the schedule rows of the form, the
// sessions started from them on demonstration manikins with the real
// session manager, and what is stored when the course closes.
#include "session/RunCourseStation.h"
#include "session/SessionManager.h"

#include "DemoPorts.h"
#include "FakeSessionServices.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <optional>

using namespace sessiontest;

namespace {

// The station with its tables in memory and the form's side logged.
class FakeHost : public RunCourseStation {
public:
    std::vector<SessionRecord> loadSchedule(const CourseKey&) override { return stored; }
    bool saveSchedule(CourseRecord&, CourseSchedule& schedule) override
    {
        ++saves;
        if (!storable)
            return false;
        baseAtSave = schedule.storedRows();
        stored.assign(schedule.rows().begin(), schedule.rows().end() - 1);
        schedule.markStored();
        return true;
    }
    void addPerson(const std::string& name) override { persons.push_back(name); }
    ScheduleScenario scenario(const std::string& name) override
    {
        ScheduleScenario s;
        if (name == "Short") {
            s.duration = 2;
            s.algorithm = "ERC";
            s.trainingMode = 0;
        } else if (name == "Open end") {
            s.duration = -1;
        }
        return s;
    }
    Algorithm algorithm(const std::string&) override { return Algorithm(); }
    int firstAvailablePort() override { return firstPort ? *firstPort : RunCourseStation::firstAvailablePort(); }
    int openPort(int port) override
    {
        return openResult ? *openResult : RunCourseStation::openPort(port);
    }
    void closePort(int port) override
    {
        closed.push_back(port);
        RunCourseStation::closePort(port);
    }
    std::string currentTime() override { return "10:00"; }

    void beep() override { ++beeps; }
    void message(const std::wstring& text, const std::wstring& caption) override
    {
        messages.push_back(caption + L": " + text);
    }
    void refillLists() override { ++refills; }
    void bringToFront() override { ++fronts; }
    void editStoredSession(SessionRecord& row, const SessionRecord* read) override
    {
        row.Note = "edited";
        editedFrom = read ? std::optional<SessionRecord>(*read) : std::nullopt;
    }
    Session* createSession(const SessionRecord& row, const Algorithm& algorithm, const SessionRecord* planned) override
    {
        startedFrom = planned ? std::optional<SessionRecord>(*planned) : std::nullopt;
        return RunCourseStation::createSession(row, algorithm, planned);
    }

    std::optional<SessionRecord> editedFrom;
    std::optional<SessionRecord> startedFrom;

    std::vector<SessionRecord> stored;
    // what the last store measured the form's changes from
    std::vector<SessionRecord> baseAtSave;
    bool storable = true;
    int saves = 0;
    std::vector<std::string> persons;
    std::optional<int> firstPort;
    std::optional<int> openResult;
    std::vector<int> closed;
    int beeps = 0;
    std::vector<std::wstring> messages;
    int refills = 0;
    int fronts = 0;
};

SessionRecord plannedRow(const std::string& ventilation, const std::string& compression, int manikin,
                         const std::string& start, const std::string& end)
{
    SessionRecord r;
    r.PersonVentilation = ventilation;
    r.PersonChestCompression = compression;
    r.Manikin = manikin;
    r.StartTime = start;
    r.EndTime = end;
    r.Scenario = "Short";
    r.Duration = 2;
    return r;
}

class RunCourseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int port = 247; port <= 256; ++port)
            CalibrateManager::get().setCalibrated(port <= 249, port);
        sessionManager = &manager;
        manager.setTabView(&tabs);
        course.Instructor = "Dr. Berg";
        course.Date = "2026-12-10";
        course.Time = "09:00";
        course.DefaultScenario = "Adult";
    }
    void TearDown() override
    {
        run.reset();
        manager.closeAll();
        manager.setTabView(nullptr);
        sessionManager = nullptr;
    }

    RunCourse& open()
    {
        run = std::make_unique<RunCourse>(course, host);
        run->load();
        return *run;
    }

    // Enough ticks for a session of two seconds to reach its end.
    void ticks(int n)
    {
        for (int k = 0; k < n; ++k)
            manager.poll();
    }

    static RunCourse::RowEdit editOf(const SessionRecord& r)
    {
        return {r.PersonVentilation, r.PersonChestCompression, r.Scenario, std::to_string(r.Manikin), r.StartTime,
                r.EndTime};
    }

    testsupport::LogCapture log;
    FakeSessionServices services;
    DemoPorts demo;
    SessionManager manager;
    FakeTabView tabs;
    CourseRecord course;
    FakeHost host;
    std::unique_ptr<RunCourse> run;
};

TEST_F(RunCourseTest, NewCourseOpensOnAPlaceholderAndTypingAPersonAppendsTheNext)
{
    RunCourse& r = open();
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r.selected(), 1);
    EXPECT_EQ(r.rows()[0].Manikin, 247) << "the first available calibrated port";
    EXPECT_EQ(r.rows()[0].StartTime, "09:02");
    EXPECT_EQ(r.rows()[0].EndTime, "09:12");
    EXPECT_EQ(r.rowState(0), RunCourse::PLACEHOLDER);
    EXPECT_FALSE(r.modified());

    RunCourse::RowEdit edit = editOf(r.rows()[0]);
    edit.ventilation = "Ann";
    EXPECT_TRUE(r.readRow(0, edit));
    r.refresh();
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r.rows()[1].StartTime, "09:13") << "same manikin: one minute after the row above";
    EXPECT_EQ(r.rowState(0), RunCourse::IDLE);
    EXPECT_TRUE(r.modified());

    // Another first free port starts with the row above; no calibrated port gives 1.
    host.firstPort = 248;
    edit = editOf(r.rows()[1]);
    edit.compression = "Bob";
    r.readRow(1, edit);
    r.refresh();
    EXPECT_EQ(r.rows()[2].Manikin, 248);
    EXPECT_EQ(r.rows()[2].StartTime, "09:13");
    for (int port = 247; port <= 249; ++port)
        CalibrateManager::get().setCalibrated(false, port);
    host.firstPort.reset();
    edit = editOf(r.rows()[2]);
    edit.ventilation = "Cy";
    r.readRow(2, edit);
    r.refresh();
    EXPECT_EQ(r.rows()[3].Manikin, 1);

    // The manikin text counts by its leading digits; the scenario brings its settings.
    edit = editOf(r.rows()[0]);
    edit.manikin = "12x";
    r.readRow(0, edit);
    EXPECT_EQ(r.rows()[0].Manikin, 12);
    edit.manikin = "x12";
    r.readRow(0, edit);
    EXPECT_EQ(r.rows()[0].Manikin, 0);
    r.applyScenario(0, "Open end");
    EXPECT_EQ(r.rows()[0].Duration, -1);
    EXPECT_TRUE(r.updateEndTime(0, "23:30"));
    EXPECT_EQ(r.rows()[0].EndTime, "") << "no time limit, no end";
}

TEST_F(RunCourseTest, StoredScheduleKeepsAParticipantlessLastRowAndStoresOnlyRealRows)
{
    host.stored = {plannedRow("Ann", "Bob", 247, "09:02", "09:04"), plannedRow("Cy", "", 247, "09:05", "09:07"),
                   plannedRow("", "", 248, "09:05", "09:07")};
    RunCourse& r = open();
    ASSERT_EQ(r.size(), 4) << "a fresh placeholder after the stored rows";
    EXPECT_EQ(r.selected(), 0);
    EXPECT_EQ(r.rowState(2), RunCourse::IDLE);
    EXPECT_TRUE(r.close());
    ASSERT_EQ(host.stored.size(), 3u);
    EXPECT_EQ(host.stored[2].Manikin, 248);
    EXPECT_EQ(host.persons, (std::vector<std::string>{"Ann", "Bob", "Cy"}));
    EXPECT_FALSE(r.modified());

    // A store that fails keeps the form open and the schedule modified.
    host.storable = false;
    r.readRow(0, editOf(plannedRow("Dora", "Bob", 247, "09:02", "09:04")));
    EXPECT_FALSE(r.close());
    EXPECT_TRUE(r.modified());
}

TEST_F(RunCourseTest, MovesAndRemovalFollowTheSelectionAndRefuseAtTheEnds)
{
    for (int k = 0; k < 11; ++k)
        host.stored.push_back(plannedRow("V" + std::to_string(k), "C", 247, "09:0" + std::to_string(k % 10), ""));
    RunCourse& r = open();
    ASSERT_EQ(r.size(), 12);
    const RunCourse::Scroll s = r.scroll();
    EXPECT_EQ(s.maximum, 11);
    EXPECT_EQ(s.page, 8);
    EXPECT_TRUE(r.scrollTo(100));
    EXPECT_EQ(r.top(), 4) << "the last page shows the last eight rows";
    EXPECT_TRUE(r.scrollTo(0));

    struct Refusal {
        int top;
        int selected;
        void (RunCourse::*command)();
        const char* what;
    } refusals[] = {
        {0, 0, &RunCourse::moveRowUp, "up without a selection"},
        {0, 0, &RunCourse::removeRow, "remove without a selection"},
        {0, 1, &RunCourse::moveRowUp, "up on the first row"},
        {4, 7, &RunCourse::moveRowDown, "down on the last real row"},
        {4, 8, &RunCourse::moveRowDown, "down on the placeholder"},
        {4, 8, &RunCourse::moveRowUp, "up on the placeholder"},
        {4, 8, &RunCourse::removeRow, "remove the placeholder"},
    };
    for (const Refusal& refusal : refusals) {
        r.scrollTo(refusal.top);
        r.select(refusal.selected);
        const std::vector<SessionRecord> before = r.rows();
        const int beeps = host.beeps;
        (r.*refusal.command)();
        EXPECT_EQ(host.beeps, beeps + 1) << refusal.what;
        EXPECT_EQ(r.size(), 12) << refusal.what;
        for (int i = 0; i < r.size(); ++i)
            EXPECT_EQ(r.rows()[i].PersonVentilation, before[i].PersonVentilation) << refusal.what;
    }

    // The whole row moves, its times too; at visible row 8 the rows scroll.
    r.scrollTo(0);
    r.select(8);
    r.moveRowDown();
    EXPECT_EQ(r.rows()[8].PersonVentilation, "V7");
    EXPECT_EQ(r.rows()[8].StartTime, "09:07");
    EXPECT_EQ(r.top(), 1);
    EXPECT_EQ(r.selected(), 8);
    r.select(1);
    r.moveRowUp();
    EXPECT_EQ(r.rows()[0].PersonVentilation, "V1");
    EXPECT_EQ(r.top(), 0);
    EXPECT_EQ(r.selected(), 1);
    r.select(3);
    r.removeRow();
    EXPECT_EQ(r.size(), 11);
    EXPECT_EQ(r.rows()[2].PersonVentilation, "V3");
    EXPECT_TRUE(r.modified());
}

TEST_F(RunCourseTest, StartProblemsAreToldAndLeaveTheRowIdle)
{
    host.stored = {plannedRow("Ann", "Bob", 247, "09:02", "09:04")};
    RunCourse& r = open();
    struct Case {
        const char* manikin;
        std::optional<int> openResult;
        bool calibrated;
        const wchar_t* message;
        bool closed;
    } cases[] = {
        {"0", {}, true, L"Start problem: The manikin number is not valid. Please select another.", false},
        {"257", {}, true, L"Start problem: The manikin number is not valid. Please select another.", false},
        {"abc", {}, true, L"Start problem: The manikin number is not valid. Please select another.", false},
        {"248", 8, true, L"COM port problem: There was a problem opening the port. Please make sure that the manikin "
                         L"is properly connected and recalibrate.", true},
        {"248", {}, false, L"COM port problem: There was a problem opening the port. Please make sure that the "
                           L"manikin is properly connected and recalibrate.", true},
        // Open already: the port is someone else's and stays open.
        {"248", 5, true, L"COM port problem: There was a problem opening the port. Please make sure that the manikin "
                         L"is properly connected and recalibrate.", false},
    };
    for (const Case& c : cases) {
        RunCourse::RowEdit edit = editOf(r.rows()[0]);
        edit.manikin = c.manikin;
        r.readRow(0, edit);
        host.openResult = c.openResult;
        CalibrateManager::get().setCalibrated(c.calibrated, 248);
        host.messages.clear();
        host.closed.clear();
        r.startRow(0);
        EXPECT_EQ(host.messages, std::vector<std::wstring>{c.message}) << c.manikin;
        EXPECT_EQ(!host.closed.empty(), c.closed) << c.manikin;
        EXPECT_EQ(r.running(0), nullptr);
        EXPECT_EQ(r.rowState(0), RunCourse::IDLE);
        EXPECT_EQ(manager.getCount(), 0);
    }
    host.openResult.reset();
    CalibrateManager::get().setCalibrated(true, 248);

    // A port held by another session.
    std::unique_ptr<Session> other = DemoPorts::liveSession(248);
    host.messages.clear();
    const int refills = host.refills;
    r.startRow(0);
    EXPECT_EQ(host.messages,
              std::vector<std::wstring>{L"Start problem: The selected manikin is not available. Please select another."});
    EXPECT_EQ(host.refills, refills + 1);
    EXPECT_EQ(r.running(0), nullptr);
}

TEST_F(RunCourseTest, SessionsRunOnSeveralManikinsAndTheirRecordsComeBack)
{
    host.stored = {plannedRow("Ann", "Bob", 247, "09:02", "09:04"), plannedRow("Cy", "Dee", 248, "09:02", "09:04"),
                   plannedRow("Eve", "Fay", 249, "09:05", "09:07")};
    RunCourse& r = open();
    int changes = 0;
    struct Counter : SignalReceiver {
        int* n;
        void onChanged() { ++*n; }
    } counter;
    counter.n = &changes;
    r.changedSignal.connect(&counter, &Counter::onChanged);

    r.startRow(0);
    r.startRow(1);
    ASSERT_NE(r.running(0), nullptr);
    ASSERT_NE(r.running(1), nullptr);
    EXPECT_EQ(manager.getCount(), 2);
    EXPECT_EQ(tabs.tabs.size(), 2u);
    EXPECT_EQ(r.running(0)->getRecord().PersonVentilation, "Ann");
    EXPECT_EQ(r.running(1)->getRecord().Manikin, 248);
    EXPECT_EQ(r.rows()[0].StartTime, "10:00") << "a started row starts now";
    EXPECT_EQ(r.rows()[0].EndTime, "10:00");
    EXPECT_EQ(r.rowState(0), RunCourse::COLLECTING);
    EXPECT_EQ(host.fronts, 2);
    EXPECT_GT(changes, 0);
    EXPECT_FALSE(CalibrateManager::get().getIsAvailable(247));

    // A paused row resumes from its ">" button; the pause time comes back.
    services.time = "10:01";
    r.pauseRow(1);
    EXPECT_EQ(r.rowState(1), RunCourse::PAUSED);
    EXPECT_EQ(r.rows()[1].EndTime, "10:01");
    r.startRow(1);
    EXPECT_EQ(r.rowState(1), RunCourse::COLLECTING);
    const int beeps = host.beeps;
    r.pauseRow(2);
    EXPECT_EQ(host.beeps, beeps + 1) << "no session on the row";

    // Details: a running row's session comes to the front; another row goes
    // through the stored-session editor and takes back what it returned.
    tabs.selected = nullptr;
    r.showDetails(0);
    EXPECT_EQ(tabs.selected, r.running(0));
    r.showDetails(2);
    ASSERT_TRUE(host.editedFrom.has_value()) << "the editor gets the row as read";
    EXPECT_EQ(host.editedFrom->PersonVentilation, "Eve");
    EXPECT_EQ(r.rows()[2].Note, "edited");
    EXPECT_EQ(r.rows()[2].PersonVentilation, "Eve");

    // Both reach their two seconds; only the one saved as done is done.
    ticks(120);
    EXPECT_EQ(r.rowState(0), RunCourse::FINISHED);
    EXPECT_EQ(r.rowState(1), RunCourse::FINISHED);
    services.saveAnswers = {SessionServices::SAVE_YES, SessionServices::SAVE_NO};
    EXPECT_TRUE(r.canClose());
    EXPECT_EQ(manager.getCount(), 0);
    EXPECT_EQ(r.running(0), nullptr);
    EXPECT_EQ(r.running(1), nullptr);
    EXPECT_EQ(r.rows()[0].Done, 1);
    EXPECT_EQ(r.rowState(0), RunCourse::DONE);
    EXPECT_EQ(r.rows()[1].Done, 0) << "finished but not saved: not done";
    EXPECT_EQ(r.rowState(1), RunCourse::IDLE);
    EXPECT_TRUE(CalibrateManager::get().getIsAvailable(247));
    EXPECT_TRUE(r.store());
    ASSERT_EQ(host.stored.size(), 3u);
    EXPECT_EQ(host.stored[0].Done, 1);
    EXPECT_EQ(host.stored[1].Done, 0);

    // A done row starts no more.
    const int doneBeeps = host.beeps;
    r.startRow(0);
    EXPECT_EQ(host.beeps, doneBeeps + 1);
    EXPECT_EQ(manager.getCount(), 0);
}

// A run that is not kept leaves no trace in the plan: its row is planned as
// before, and stored so even when the actual times were stored meanwhile.
// A kept run's row holds the actual times. Each session measures its
// changes from the row as this form read it, not from the form's own edits.
TEST_F(RunCourseTest, ADiscardedRunGivesItsRowThePlannedTimesBack)
{
    host.stored = {plannedRow("Ann", "Bob", 247, "09:02", "09:04"), plannedRow("Cy", "Dee", 248, "09:05", "09:07")};
    RunCourse& r = open();
    RunCourse::RowEdit edit = editOf(r.rows()[1]);
    edit.ventilation = "Cyd";
    EXPECT_TRUE(r.readRow(1, edit));
    r.startRow(0);
    r.startRow(1);
    ASSERT_NE(r.running(1), nullptr);
    EXPECT_EQ(r.running(1)->getRecord().PersonVentilation, "Cyd");
    ASSERT_TRUE(host.startedFrom.has_value());
    EXPECT_EQ(host.startedFrom->PersonVentilation, "Cy") << "the row as read, not as edited";
    EXPECT_EQ(host.startedFrom->StartTime, "09:05");
    ASSERT_TRUE(r.running(1)->plannedRow().has_value()) << "the station hands it to the session";
    EXPECT_EQ(r.running(1)->plannedRow()->row.PersonVentilation, "Cy");
    EXPECT_TRUE(r.store());
    EXPECT_EQ(host.stored[1].StartTime, "10:00") << "the actual times were stored while it ran";

    ticks(120);
    services.saveAnswers = {SessionServices::SAVE_YES, SessionServices::SAVE_NO};
    EXPECT_TRUE(r.close());
    ASSERT_EQ(host.stored.size(), 2u);
    EXPECT_EQ(host.stored[0].Done, 1);
    EXPECT_EQ(host.stored[0].StartTime, "10:00") << "a kept run holds its actual times";
    EXPECT_EQ(host.stored[1].Done, 0);
    EXPECT_EQ(host.stored[1].StartTime, "09:05");
    EXPECT_EQ(host.stored[1].EndTime, "09:07");
    EXPECT_EQ(host.stored[1].PersonVentilation, "Cyd") << "only the times go back";

    // The same for a session closed in its own window unsaved, before anything was stored.
    host.stored = {plannedRow("Eve", "Fay", 249, "11:00", "11:02")};
    RunCourse& again = open();
    again.startRow(0);
    ASSERT_NE(again.running(0), nullptr);
    EXPECT_EQ(again.rows()[0].StartTime, "10:00");
    services.saveAnswers = {SessionServices::SAVE_NO};
    ASSERT_TRUE(again.running(0)->askSave());
    again.running(0)->close();
    EXPECT_EQ(again.running(0), nullptr);
    EXPECT_EQ(again.rows()[0].StartTime, "11:00");
    EXPECT_EQ(again.rows()[0].EndTime, "11:02");
    EXPECT_EQ(again.rowState(0), RunCourse::IDLE);
    EXPECT_EQ(log.text().find("Assert failed"), std::string::npos) << log.text();
}

// A review that stores its row (with what another station changed
// meanwhile) makes that row the form's base: a later store of the form
// writes nothing of it back over what another station changes after it.
TEST_F(RunCourseTest, ARowStoredByItsReviewIsTheBaseOfTheFormsNextStore)
{
    host.stored = {plannedRow("Ann", "Bob", 247, "09:02", "09:04"), plannedRow("Cy", "Dee", 248, "09:05", "09:07")};
    RunCourse& r = open();
    r.startRow(0);
    Session* session = r.running(0);
    ASSERT_NE(session, nullptr);
    // What the review page does when it saved the row as done.
    SessionRecord saved = session->getRecord();
    saved.Note = "bring masks";
    saved.Done = 1;
    session->setPlannedRow(PlannedRow{saved, {}});
    session->setRecord(saved);
    EXPECT_EQ(r.rows()[0].Note, "bring masks");

    EXPECT_TRUE(r.store());
    ASSERT_EQ(host.baseAtSave.size(), 2u);
    EXPECT_EQ(host.baseAtSave[0].Serialidentifier, saved.Serialidentifier);
    EXPECT_EQ(host.baseAtSave[0].Note, "bring masks");
    EXPECT_EQ(host.baseAtSave[0].Done, 1);
    EXPECT_EQ(host.baseAtSave[0].StartTime, r.rows()[0].StartTime);
    EXPECT_EQ(host.baseAtSave[1].PersonVentilation, "Cy") << "the other rows keep their base";
}

TEST_F(RunCourseTest, ClosingAndRemovingAskTheRunningSessionsFirst)
{
    host.stored = {plannedRow("Ann", "Bob", 247, "09:02", "09:04"), plannedRow("Cy", "Dee", 248, "09:02", "09:04")};
    RunCourse& r = open();
    r.startRow(0);
    r.startRow(1);
    ASSERT_EQ(manager.getCount(), 2);

    // The second refuses: both keep running and nothing is stored.
    services.saveAnswers = {SessionServices::SAVE_NO, SessionServices::SAVE_CANCEL};
    EXPECT_FALSE(r.close());
    EXPECT_EQ(services.askedSessions, (std::vector<std::wstring>{L"Tavo Man 247", L"Tavo Man 248"}));
    EXPECT_EQ(manager.getCount(), 2);
    EXPECT_NE(r.running(1), nullptr);
    EXPECT_EQ(host.saves, 0);

    // Removing a running row: Cancel keeps it, No removes it with its session.
    r.select(1);
    services.saveAnswers = {SessionServices::SAVE_CANCEL};
    r.removeRow();
    EXPECT_EQ(r.size(), 3);
    EXPECT_EQ(manager.getCount(), 2);
    services.saveAnswers = {SessionServices::SAVE_NO};
    r.removeRow();
    EXPECT_EQ(r.size(), 2);
    EXPECT_EQ(manager.getCount(), 1);
    EXPECT_EQ(r.rows()[0].PersonVentilation, "Cy");
    EXPECT_NE(r.running(0), nullptr) << "the other row keeps its session";

    // A session closed in its own window frees its row.
    r.running(0)->close();
    EXPECT_EQ(r.running(0), nullptr);
    EXPECT_EQ(r.rowState(0), RunCourse::IDLE);
    EXPECT_EQ(log.text().find("Assert failed"), std::string::npos) << log.text();
}

} // namespace
