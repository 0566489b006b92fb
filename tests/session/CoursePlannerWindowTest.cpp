// The course planner in the program on the offscreen platform and SQLite: a
// course is planned row by row, saved, found again with its schedule, and
// run; the main menu's command opens the planner.
#include "DbTestSupport.h"
#include "TestRecordsets.h"
#include "Database/CourseTable.h"
#include "Database/Database.h"
#include "Database/DbUiQt.h"
#include "Database/OdbcUtil.h"
#include "Database/ScenarioTable.h"
#include "Database/PersonTable.h"
#include "Database/SessionTable.h"
#include "Utillib/Duration.h"
#include "Utillib/WindowUtil.h"
#include "comm/CommSettings.h"
#include "platformqt/Controls.h"
#include "platformqt/MessageBox.h"
#include "platformqt/PrintDialog.h"
#include "platform/CodePage.h"
#include "platform/WindowStyles.h"
#include "platformqt/Window.h"
#include "res/CoursePlannerIds.h"
#include "res/resource.h"
#include "session/AppCommands.h"
#include "session/CoursePlannerDialog.h"
#include "session/MainFrame.h"
#include "session/RunCourseDialog.h"
#include "session/TrainingApp.h"
#include "support/ProgramHome.h"
#include "support/TestSupport.h"
#include "ui/COXMaskedEdit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>

using namespace testsupport;

namespace {

class CoursePlannerWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        home = new ProgramHome;
        QDir().mkpath(QStringLiteral(ARTEFACT_DIR));
        dbtest::prepareOdbc();
        std::string failure;
        ASSERT_TRUE(dbtest::freshDatabase(failure)) << failure;
        previousHook = platform::setMessageBoxHook([](const platform::MessageBoxRequest&) { return IDCANCEL; });
        dbui::setMessageBoxHook([](QMessageBox& box) {
            questions.push_back(box.text().toStdWString());
            return static_cast<int>(answer);
        });
        app = new TrainingApp("demo");
        started = app->initInstance();
    }

    static void TearDownTestSuite()
    {
        delete app;
        app = nullptr;
        platform::setMessageBoxHook(previousHook);
        dbui::setMessageBoxHook({});
        delete home;
    }

    static void click(QWidget* dialog, int id)
    {
        auto* button = qobject_cast<QAbstractButton*>(platform::dlgItem(dialog, id));
        ASSERT_NE(button, nullptr) << id;
        button->click();
    }

    // Puts the focus on the control; the one that had it gets its leaving handled.
    static void focus(QWidget* control)
    {
        control->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }

    static std::string shown(const QWidget* control) { return Utillib::getWindowText(control); }

    // The planner created, shown and active, as the menu command leaves it.
    static void showActive(CoursePlannerDialog& planner)
    {
        ASSERT_TRUE(planner.create(IDD_COURSE_PLANNER, nullptr));
        planner.show();
        planner.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&planner));
    }

    static COXMaskedEdit* maskedEdit(CoursePlannerDialog& planner, int id)
    {
        return dynamic_cast<COXMaskedEdit*>(platform::dlgItem(&planner, id));
    }

    // New course, then its instructor, date and time typed; leaving the
    // time opens the rows.
    static void typeNewCourse(CoursePlannerDialog& planner, const QString& name, const char* dateText,
                              const char* timeText)
    {
        click(&planner, IDC_DB_NEW);
        auto* instructor = platform::dlgItem<platform::ComboBox>(&planner, IDC_PLAN_INSTRUCTOR);
        COXMaskedEdit* date = maskedEdit(planner, IDC_PLAN_DATE);
        COXMaskedEdit* time = maskedEdit(planner, IDC_PLAN_TIME);
        ASSERT_TRUE(instructor && date && time);
        focus(instructor);
        QTest::keyClicks(instructor->lineEdit(), name);
        focus(date);
        date->SetInputText(dateText, 0, true);
        focus(time);
        time->SetInputText(timeText, 0, true);
        focus(instructor);
        ASSERT_FALSE(planner.grid().locked());
    }

    // Types a participant into row k and leaves it.
    static void typeParticipant(CoursePlannerDialog& planner, int k, const QString& name)
    {
        focus(planner.row(k).ventilation);
        planner.row(k).ventilation->setEditText(name);
        focus(planner.row(k).manikin);
    }

    // Another station's trigger that refuses every new Session row.
    static void refuseNewSessions(bool refuse)
    {
        const bool pg = dbtest::usingPostgres();
        if (!refuse) {
            ASSERT_TRUE(database.execute(pg ? "DROP TRIGGER refuse ON Session" : "DROP TRIGGER refuse"));
            return;
        }
        if (pg) {
            ASSERT_TRUE(database.execute("CREATE OR REPLACE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                                         "$$ BEGIN RAISE EXCEPTION 'refused'; END $$"));
            ASSERT_TRUE(database.execute("CREATE TRIGGER refuse BEFORE INSERT ON Session FOR EACH ROW EXECUTE FUNCTION refuse()"));
        } else {
            ASSERT_TRUE(database.execute("CREATE TRIGGER refuse BEFORE INSERT ON Session BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        }
    }

    static std::size_t storedRows(const CourseKey& key)
    {
        SessionTable sessions(database);
        return sessions.open(std::string()) ? sessions.loadCourseSessions(key).size() : 999u;
    }
    static int storedCourses(const CourseKey& key)
    {
        CourseTable courses(database);
        return courses.open(std::string()) ? courses.count(key) : -1;
    }

    static inline ProgramHome* home = nullptr;
    static inline TrainingApp* app = nullptr;
    static inline bool started = false;
    static inline platform::MessageBoxHook previousHook;
    static inline std::vector<std::wstring> questions;
    static inline QMessageBox::StandardButton answer = QMessageBox::No;
};

TEST_F(CoursePlannerWindowTest, TheMainMenuCommandOpensThePlanner)
{
    ASSERT_TRUE(started);
    ASSERT_EQ(app->runCourseForm(), nullptr);
    QString title;
    QTimer::singleShot(0, [&title] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        title = modal->windowTitle();
        if (auto* close = qobject_cast<QAbstractButton*>(platform::dlgItem(modal, IDCANCEL)))
            close->click();
    });
    app->mainFrame()->onCommand(AppCommand::NewCourse);
    EXPECT_EQ(title, QStringLiteral("Course planner"));
}

TEST_F(CoursePlannerWindowTest, ACoursePlannedRowByRowIsStoredFoundAgainAndRun)
{
    ASSERT_TRUE(started);
    CoursePlannerDialog planner;
    ASSERT_NO_FATAL_FAILURE(showActive(planner));

    // A new course for "Instructor" with blank date and time: one placeholder at 00:02.
    auto* instructor = platform::dlgItem<platform::ComboBox>(&planner, IDC_PLAN_INSTRUCTOR);
    auto* date = maskedEdit(planner, IDC_PLAN_DATE);
    auto* time = maskedEdit(planner, IDC_PLAN_TIME);
    ASSERT_NE(date, nullptr);
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(shown(instructor), "Instructor");
    ASSERT_EQ(planner.grid().size(), 1);
    const std::string defaultScenario = Utillib::getComboText(platform::dlgItem<platform::ComboBox>(&planner, IDC_PLAN_SCENARIO));
    int duration = 600;
    {
        ScenarioTable scenarios(database);
        ASSERT_TRUE(scenarios.open(std::string()));
        if (!defaultScenario.empty())
            duration = scenarios.findByName(defaultScenario).Duration;
    }
    EXPECT_EQ(shown(planner.row(0).start), "00:02");
    EXPECT_EQ(shown(planner.row(0).end), duration < 0 ? std::string() : addDurationToTime(duration, "00:02"));
    EXPECT_FALSE(planner.row(0).ventilation->isEnabled()) << "no date and time: a course that cannot be stored";
    EXPECT_TRUE(planner.row(1).number->isHidden());
    planner.grab().save(QStringLiteral(ARTEFACT_DIR "/course-planner-opened.png"));

    // New course: no instructor, so the rows are locked until one is typed.
    click(&planner, IDC_DB_NEW);
    EXPECT_EQ(shown(instructor), "");
    EXPECT_TRUE(planner.grid().locked());
    EXPECT_FALSE(planner.row(0).ventilation->isEnabled());
    focus(instructor);
    QTest::keyClicks(instructor->lineEdit(), QStringLiteral("Dr. Berg"));
    focus(date);
    EXPECT_TRUE(planner.grid().locked()) << "still no date and time";
    date->SetInputText("2026-12-11", 0, true);
    focus(time);
    EXPECT_TRUE(planner.grid().locked()) << "still no time";
    time->SetInputText("09:00", 0, true);
    focus(instructor);
    EXPECT_FALSE(planner.grid().locked());
    EXPECT_TRUE(planner.row(0).ventilation->isEnabled());
    EXPECT_EQ(planner.grid().selected(), 1);
    focus(planner.row(0).ventilation);
    EXPECT_EQ(shown(planner.row(0).start), "09:00") << "the placeholder starts with the course";

    // Two participants typed in: each leaves a new placeholder below.
    planner.row(0).ventilation->setEditText(QStringLiteral("Ann Lee"));
    focus(planner.row(0).manikin);
    ASSERT_EQ(planner.grid().size(), 2);
    focus(planner.row(1).ventilation);
    EXPECT_EQ(planner.grid().selected(), 2);
    planner.row(1).ventilation->setEditText(QStringLiteral("Cy Moe"));
    focus(planner.row(1).start);
    ASSERT_EQ(planner.grid().size(), 3);
    planner.row(1).start->SetInputText("10:30", 0, true);
    focus(planner.row(1).manikin);
    EXPECT_EQ(planner.grid().rows()[1].StartTime, "10:30");
    EXPECT_EQ(shown(planner.row(1).end), duration < 0 ? std::string() : addDurationToTime(duration, "10:30"));
    EXPECT_TRUE(planner.scheduleChanged());
    EXPECT_FALSE(planner.row(2).details->isEnabled()) << "the placeholder";

    // Sorting: 09:00 before 10:30; moving the second row up keeps the times in place.
    click(&planner, IDC_PLAN_MOVE_UP);
    EXPECT_EQ(planner.grid().rows()[0].PersonVentilation, "Cy Moe");
    EXPECT_EQ(planner.grid().rows()[0].StartTime, "09:00");
    click(&planner, IDC_PLAN_SORT);
    EXPECT_EQ(planner.grid().rows()[0].PersonVentilation, "Cy Moe");
    EXPECT_EQ(planner.grid().rows()[2].PersonVentilation, "") << "the placeholder stays last";
    planner.grab().save(QStringLiteral(ARTEFACT_DIR "/course-planner-planned.png"));

    // Saved: two Session rows under the course's key, in order; the placeholder is not stored.
    click(&planner, IDC_DB_SAVE);
    EXPECT_FALSE(planner.scheduleChanged());
    const CourseKey key("Dr. Berg", "2026-12-11", "09:00");
    {
        SessionTable sessions(database);
        ASSERT_TRUE(sessions.open(std::string()));
        const std::vector<SessionRecord> stored = sessions.loadCourseSessions(key);
        ASSERT_EQ(stored.size(), 2u);
        EXPECT_EQ(stored[0].PersonVentilation, "Cy Moe");
        EXPECT_EQ(stored[0].CourseOrder, 0);
        EXPECT_EQ(stored[1].PersonVentilation, "Ann Lee");
        EXPECT_EQ(stored[1].CourseOrder, 1);
        EXPECT_EQ(stored[1].CourseInstructor, "Dr. Berg");
        CourseTable courses(database);
        ASSERT_TRUE(courses.open(std::string()));
        EXPECT_EQ(courses.count(key), 1);
    }

    // A second course stored behind it, so that there is a next one.
    {
        CourseTable courses(database);
        ASSERT_TRUE(courses.open(std::string()));
        CourseRecord other;
        other.Instructor = "Zed Roe";
        other.Date = "2026-12-31";
        other.Time = "08:00";
        ASSERT_TRUE(courses.AddNew());
        courses.setRecord(other);
        ASSERT_TRUE(courses.Update());
        tablePool.refresh(tableKind::Course);
    }

    // Another new course, left without saving; then back to the first one.
    click(&planner, IDC_DB_NEW);
    ASSERT_EQ(planner.grid().size(), 1);
    questions.clear();
    click(&planner, IDC_DB_FIRST);
    EXPECT_TRUE(questions.empty()) << "nothing was typed into the new course";
    EXPECT_EQ(shown(instructor), "Dr. Berg");
    EXPECT_EQ(shown(date), "2026-12-11");
    ASSERT_EQ(planner.grid().size(), 3);
    EXPECT_EQ(shown(planner.row(0).ventilation), "Cy Moe");
    EXPECT_EQ(shown(planner.row(1).ventilation), "Ann Lee");
    EXPECT_FALSE(planner.scheduleChanged());

    // A change, then Next with the question cancelled: everything stays on screen.
    focus(planner.row(2).ventilation);
    planner.row(2).ventilation->setEditText(QStringLiteral("Dee Fox"));
    focus(planner.row(2).manikin);
    ASSERT_EQ(planner.grid().size(), 4);
    answer = QMessageBox::Cancel;
    questions.clear();
    click(&planner, IDC_DB_NEXT);
    answer = QMessageBox::No;
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], L"Course plan was changed. Save the changes?");
    EXPECT_EQ(shown(instructor), "Dr. Berg");
    EXPECT_EQ(planner.grid().size(), 4);
    EXPECT_TRUE(planner.scheduleChanged());
    EXPECT_EQ(planner.grid().rows()[2].PersonVentilation, "Dee Fox");

    // Run course: stored, the planner closes and the run-course form shows the schedule.
    click(&planner, IDC_PLAN_RUN);
    QCoreApplication::processEvents();
    EXPECT_FALSE(planner.isVisible());
    RunCourseDialog* form = app->runCourseForm();
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->model().size(), 4);
    EXPECT_EQ(form->model().rows()[2].PersonVentilation, "Dee Fox");
    EXPECT_EQ(form->model().course().Instructor, "Dr. Berg");
}

TEST_F(CoursePlannerWindowTest, BlankDatesAreRefusedAndTheStoredScheduleFollowsTheCourse)
{
    ASSERT_TRUE(started);
    CoursePlannerDialog planner;
    ASSERT_NO_FATAL_FAILURE(showActive(planner));
    auto* instructor = platform::dlgItem<platform::ComboBox>(&planner, IDC_PLAN_INSTRUCTOR);
    auto* date = maskedEdit(planner, IDC_PLAN_DATE);
    auto* time = maskedEdit(planner, IDC_PLAN_TIME);
    ASSERT_NE(date, nullptr);
    ASSERT_NE(time, nullptr);
    click(&planner, IDC_DB_NEW);
    focus(instructor);
    QTest::keyClicks(instructor->lineEdit(), QStringLiteral("Eve Ash"));
    focus(date);
    EXPECT_TRUE(planner.grid().locked());
    EXPECT_FALSE(planner.row(0).ventilation->isEnabled());
    EXPECT_FALSE(planner.row(0).details->isEnabled());

    // Neither date nor time typed: the course is not stored.
    questions.clear();
    click(&planner, IDC_DB_SAVE);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(questions[0].find(L"A course has to have an instructor, date, and time."), std::wstring::npos);
    EXPECT_EQ(storedCourses(CourseKey("Eve Ash", "    -  -  ", "  :  ")), 0);

    date->SetInputText("2026-12-12", 0, true);
    focus(time);
    time->SetInputText("14:00", 0, true);
    focus(instructor);
    ASSERT_FALSE(planner.grid().locked());
    typeParticipant(planner, 0, QStringLiteral("Pat Kim"));
    ASSERT_EQ(planner.grid().size(), 2);
    EXPECT_TRUE(planner.scheduleChanged());
    click(&planner, IDC_DB_SAVE);
    const CourseKey first("Eve Ash", "2026-12-12", "14:00");
    EXPECT_EQ(storedCourses(first), 1);
    EXPECT_EQ(storedRows(first), 1u);

    // A new date moves the stored schedule along.
    date->SetInputText("2026-12-13", 0, true);
    click(&planner, IDC_DB_SAVE);
    const CourseKey moved("Eve Ash", "2026-12-13", "14:00");
    EXPECT_EQ(storedCourses(first), 0);
    EXPECT_EQ(storedRows(first), 0u);
    EXPECT_EQ(storedCourses(moved), 1);
    EXPECT_EQ(storedRows(moved), 1u);

    // Deleting the course deletes its sessions.
    answer = QMessageBox::Yes;
    click(&planner, IDC_DB_DELETE);
    answer = QMessageBox::No;
    EXPECT_EQ(storedCourses(moved), 0);
    EXPECT_EQ(storedRows(moved), 0u);
    EXPECT_NE(shown(instructor), "Eve Ash");
}

// Another station renames the instructor of the course shown (its row goes
// and comes back under the new key, with its sessions). A save of only the
// schedule reaches the schedule's store, which follows the course; a save of
// a course field is refused with a message. Neither logs an assertion.
TEST_F(CoursePlannerWindowTest, ASaveAfterAnotherStationRenamedTheCourseFollowsItOrIsRefused)
{
    ASSERT_TRUE(started);
    const CourseKey before("Nina Ode", "2026-11-02", "08:00");
    const CourseKey after("Nina Berg", "2026-11-02", "08:00");
    CoursePlannerDialog planner;
    ASSERT_NO_FATAL_FAILURE(showActive(planner));
    ASSERT_NO_FATAL_FAILURE(typeNewCourse(planner, QStringLiteral("Nina Ode"), "2026-11-02", "08:00"));
    typeParticipant(planner, 0, QStringLiteral("Lou Park"));
    click(&planner, IDC_DB_SAVE);
    ASSERT_EQ(storedRows(before), 1u);
    auto rename = [](const std::string& from, const std::string& to) {
        ASSERT_TRUE(database.execute("INSERT INTO Course (Instructor, Date, Time) VALUES ('" + to + "', '2026-11-02', '08:00')"));
        ASSERT_TRUE(database.execute("DELETE FROM Course WHERE Instructor = '" + from + "'"));
        ASSERT_TRUE(database.execute("UPDATE Session SET CourseInstructor = '" + to + "' WHERE CourseInstructor = '" + from + "'"));
    };
    LogCapture log;

    rename("Nina Ode", "Nina Berg");
    focus(planner.row(0).start);
    planner.row(0).start->SetInputText("08:30", 0, true);
    focus(planner.row(0).ventilation);
    questions.clear();
    click(&planner, IDC_DB_SAVE);
    EXPECT_TRUE(questions.empty()) << (questions.empty() ? std::string() : platform::qStringToAnsi(QString::fromStdWString(questions[0])));
    EXPECT_EQ(storedCourses(before), 0) << "the old course does not come back";
    EXPECT_EQ(storedCourses(after), 1);
    SessionTable sessions(database);
    ASSERT_TRUE(sessions.open(std::string()));
    const std::vector<SessionRecord> rows = sessions.loadCourseSessions(after);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].StartTime, "08:30");
    EXPECT_FALSE(planner.scheduleChanged());
    EXPECT_EQ(shown(platform::dlgItem(&planner, IDC_PLAN_INSTRUCTOR)), "Nina Berg") << "the planner shows where the course went";

    // Renamed again, and this station changed the course's note.
    rename("Nina Berg", "Nina Ode");
    auto* notes = platform::dlgItem(&planner, IDC_PLAN_NOTES);
    platform::setWindowTextA(notes, "bring masks");
    questions.clear();
    click(&planner, IDC_DB_SAVE);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], L"Another station has deleted or renamed \"Nina Berg on 2026-11-02 at 08:00\"; nothing was stored.");
    EXPECT_EQ(storedCourses(after), 0);
    EXPECT_EQ(storedCourses(before), 1);
    EXPECT_EQ(log.text().find("Assert failed"), std::string::npos) << log.text();
    planner.hide();
}

// A course whose instructor this station cannot show (田中 reads "??" in
// Western): a new date or time would store the course under "??" while its
// sessions move under 田中. It is refused, and nothing is written.
TEST_F(CoursePlannerWindowTest, ANewDateNeverStoresTheReadingOfAnInstructorThisStationCannotShow)
{
    ASSERT_TRUE(started);
    ASSERT_TRUE(platform::setAnsiCodePage(1252));
    const std::string tanaka = dbtest::usingPostgres() ? "chr(30000) || chr(20013)" : "char(30000, 20013)";
    ASSERT_TRUE(database.execute("INSERT INTO Course (Instructor, Date, Time) VALUES (" + tanaka + ", '2031-01-05', '09:30')"));
    ASSERT_TRUE(database.execute("INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime, "
                                 "PersonVentilation, StartTime, EndTime) VALUES ('tanaka1', " + tanaka
                                 + ", '2031-01-05', '09:30', 'Pat', '09:32', '09:34')"));
    auto count = [](const std::string& sql) {
        std::vector<std::vector<std::string>> rows;
        DbError error;
        return odbc::selectTexts(database, sql, rows, error) && rows.size() == 1 ? rows[0][0] : error.text;
    };
    CoursePlannerDialog planner;
    ASSERT_NO_FATAL_FAILURE(showActive(planner));
    // Opened by quick find, with its schedule.
    auto* quick = platform::dlgItem<platform::ComboBox>(&planner, IDC_DB_QUICKFIND);
    const int found = quick->findText(QStringLiteral("?? on 2031-01-05 at 09:30"));
    ASSERT_GE(found, 0);
    quick->setCurSel(found);
    planner.sendCommand(IDC_DB_QUICKFIND, CBN_CLOSEUP);
    ASSERT_EQ(shown(platform::dlgItem(&planner, IDC_PLAN_INSTRUCTOR)), "??");
    ASSERT_EQ(planner.grid().size(), 2);
    EXPECT_FALSE(planner.scheduleChanged());
    // Only what changed is written: the name stays as stored. The schedule
    // was left as read, so nothing of it needs storing and nothing is refused.
    platform::dlgItem<QPlainTextEdit>(&planner, IDC_PLAN_NOTES)->setPlainText("bring masks");
    questions.clear();
    click(&planner, IDC_DB_SAVE);
    EXPECT_TRUE(questions.empty()) << (questions.empty() ? std::string() : platform::qStringToAnsi(QString::fromStdWString(questions[0])));
    EXPECT_EQ(count("SELECT COUNT(*) FROM Course WHERE Instructor = " + tanaka + " AND Note = 'bring masks'"), "1");
    // A changed schedule of that course would be written under the reading: refused.
    typeParticipant(planner, 0, QStringLiteral("Quinn"));
    EXPECT_TRUE(planner.scheduleChanged());
    click(&planner, IDC_DB_SAVE);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], DBUtil::unshownNameMessage());
    EXPECT_EQ(count("SELECT COUNT(*) FROM Session WHERE PersonVentilation = 'Quinn'"), "0");
    click(&planner, IDC_DB_DISCARD);
    for (const bool newTime : {false, true}) {
        SCOPED_TRACE(newTime ? "date and time" : "date");
        maskedEdit(planner, IDC_PLAN_DATE)->SetInputText("2031-01-06", 0, true);
        if (newTime)
            maskedEdit(planner, IDC_PLAN_TIME)->SetInputText("10:00", 0, true);
        questions.clear();
        click(&planner, IDC_DB_SAVE);
        ASSERT_FALSE(questions.empty());
        EXPECT_EQ(questions[0], DBUtil::unshownNameMessage());
        EXPECT_EQ(count("SELECT COUNT(*) FROM Course WHERE Instructor = " + tanaka + " AND Date = '2031-01-05'"), "1");
        EXPECT_EQ(count("SELECT COUNT(*) FROM Session WHERE CourseInstructor = " + tanaka + " AND CourseDate = '2031-01-05'"),
                  "1");
        EXPECT_EQ(count("SELECT COUNT(*) FROM Course WHERE Instructor LIKE '%?%' OR Date <> '2031-01-05' AND Instructor = "
                        + tanaka),
                  "0");
    }
    click(&planner, IDC_DB_DISCARD);
    ASSERT_TRUE(database.execute("DELETE FROM Session WHERE Serialidentifier = 'tanaka1'"));
    ASSERT_TRUE(database.execute("DELETE FROM Course WHERE Date = '2031-01-05'"));
}

TEST_F(CoursePlannerWindowTest, TheDateAndTimeShowTheirFormatAndADayFirstDateIsRefused)
{
    ASSERT_TRUE(started);
    CoursePlannerDialog planner;
    ASSERT_NO_FATAL_FAILURE(showActive(planner));
    auto* instructor = platform::dlgItem<platform::ComboBox>(&planner, IDC_PLAN_INSTRUCTOR);
    auto* date = maskedEdit(planner, IDC_PLAN_DATE);
    auto* time = maskedEdit(planner, IDC_PLAN_TIME);
    ASSERT_NE(date, nullptr);
    ASSERT_NE(time, nullptr);

    // A new course: the empty fields show what they take.
    EXPECT_EQ(shown(instructor), "Instructor");
    EXPECT_EQ(date->formatHint(), "YYYY-MM-DD");
    EXPECT_EQ(time->formatHint(), "HH:MM");
    EXPECT_EQ(date->text(), "");
    EXPECT_EQ(time->text(), "");
    EXPECT_TRUE(planner.grid().locked()) << "the schedule opens once the course could be stored";
    planner.grab().save(QStringLiteral(ARTEFACT_DIR "/course-planner-format-hints.png"));

    // A date typed day first fills the year; the course is refused as incomplete,
    // the instructor's text notwithstanding.
    focus(date);
    QTest::keyClicks(date, QStringLiteral("111226"));
    EXPECT_EQ(date->text(), "1112-26-  ");
    focus(time);
    QTest::keyClicks(time, QStringLiteral("0900"));
    questions.clear();
    click(&planner, IDC_DB_SAVE);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(questions[0].find(L"A course has to have an instructor, date, and time."), std::wstring::npos);
    planner.grab().save(QStringLiteral(ARTEFACT_DIR "/course-planner-day-first-date.png"));

    // The date as the hint shows it: stored under the instructor text as shown.
    focus(date);
    date->selectAll();
    QTest::keyClick(date, Qt::Key_Delete);
    EXPECT_EQ(date->text(), "") << "emptied, the hint shows again";
    QTest::keyClicks(date, QStringLiteral("20261211"));
    EXPECT_EQ(date->text(), "2026-12-11");
    EXPECT_FALSE(planner.grid().locked()) << "typing the date last opens the schedule";
    questions.clear();
    click(&planner, IDC_DB_SAVE);
    EXPECT_TRUE(questions.empty());
    CourseTable courses(database);
    ASSERT_TRUE(courses.open(std::string()));
    EXPECT_EQ(courses.count(CourseKey("Instructor", "2026-12-11", "09:00")), 1);
}

TEST_F(CoursePlannerWindowTest, ScrollingKeepsWhatIsBeingTypedInARow)
{
    ASSERT_TRUE(started);
    CoursePlannerDialog planner;
    ASSERT_NO_FATAL_FAILURE(showActive(planner));
    auto* scrollBar = platform::dlgItem<QScrollBar>(&planner, IDC_PLAN_SCROLL);
    ASSERT_NE(scrollBar, nullptr);
    ASSERT_NO_FATAL_FAILURE(typeNewCourse(planner, QStringLiteral("Ivy Lu"), "2026-12-14", "08:30"));
    for (int k = 0; k < 4; ++k)
        typeParticipant(planner, k, QString::fromStdString("P" + std::to_string(k)));
    ASSERT_EQ(planner.grid().size(), 5);
    EXPECT_EQ(scrollBar->maximum(), 1);
    EXPECT_FALSE(planner.row(3).number->isHidden());

    // Typed into the fourth row, not yet left: the scroll bar moves the rows.
    focus(planner.row(3).ventilation);
    planner.row(3).ventilation->setEditText(QStringLiteral("Changed"));
    scrollBar->setValue(1);
    EXPECT_EQ(planner.grid().top(), 1);
    EXPECT_EQ(planner.grid().rows()[3].PersonVentilation, "Changed");
    EXPECT_EQ(shown(planner.row(2).ventilation), "Changed");
    EXPECT_EQ(shown(planner.row(3).number), "5");
    EXPECT_EQ(planner.grid().size(), 5);
    planner.grab().save(QStringLiteral(ARTEFACT_DIR "/course-planner-scrolled.png"));
}

TEST_F(CoursePlannerWindowTest, ARunRowKeepsItsManikinAndTimes)
{
    ASSERT_TRUE(started);
    CourseRecord course;
    course.Instructor = "Kim Oh";
    course.Date = "2026-11-01";
    course.Time = "10:00";
    {
        CourseTable courses(database);
        ASSERT_TRUE(courses.open(std::string()));
        ASSERT_TRUE(courses.AddNew());
        courses.setRecord(course);
        ASSERT_TRUE(courses.Update());
        CourseSchedule schedule;
        std::vector<SessionRecord>& rows = schedule.rows();
        rows.resize(3);
        rows[0].PersonVentilation = "Al Done";
        rows[0].Manikin = 5;
        rows[0].StartTime = "10:02";
        rows[0].EndTime = "10:20"; // not start + duration: a recomputed end would show
        rows[0].Duration = 600;
        rows[0].Done = 1;
        rows[1].PersonVentilation = "Bo Next";
        rows[1].Manikin = 5;
        rows[1].StartTime = "10:13";
        SessionTable sessions(database);
        ASSERT_TRUE(sessions.open(std::string()));
        ASSERT_TRUE(sessions.saveCourseSessions(course, schedule));
    }
    CoursePlannerDialog planner;
    ASSERT_NO_FATAL_FAILURE(showActive(planner));

    // Chosen in the quick-find list.
    auto* quick = platform::dlgItem<platform::ComboBox>(&planner, IDC_DB_QUICKFIND);
    const int entry = quick->findStringExact(-1, QStringLiteral("Kim Oh on 2026-11-01 at 10:00"));
    ASSERT_GE(entry, 0);
    quick->setCurSel(entry);
    planner.sendCommand(IDC_DB_QUICKFIND, CBN_CLOSEUP);
    ASSERT_EQ(planner.grid().size(), 3);
    EXPECT_EQ(shown(planner.row(0).ventilation), "Al Done");
    EXPECT_FALSE(planner.row(0).manikin->isEnabled());
    EXPECT_FALSE(planner.row(0).start->isEnabled());
    EXPECT_TRUE(planner.row(1).manikin->isEnabled());
    EXPECT_TRUE(planner.row(1).start->isEnabled());

    // Its "Details...": the editor closes unchanged, the times stay as they were.
    bool editorShown = false;
    QTimer::singleShot(0, [&editorShown] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        editorShown = true;
        if (auto* close = qobject_cast<QAbstractButton*>(platform::dlgItem(modal, IDCANCEL)))
            close->click();
    });
    click(&planner, res::coursePlannerRows[0].details);
    EXPECT_TRUE(editorShown);
    EXPECT_EQ(planner.grid().rows()[0].StartTime, "10:02");
    EXPECT_EQ(planner.grid().rows()[0].EndTime, "10:20");
    EXPECT_EQ(shown(planner.row(0).start), "10:02");
    EXPECT_EQ(planner.grid().rows()[0].Done, 1);
}

// Yes to "Course plan was changed. Save the changes?" goes on only when the
// course and its schedule were both stored; otherwise the edits stay.
TEST_F(CoursePlannerWindowTest, YesGoesOnOnlyWhenTheScheduleWasStoredToo)
{
    ASSERT_TRUE(started);
    {
        // Another course to move to.
        CourseTable courses(database);
        ASSERT_TRUE(courses.open(std::string()));
        ASSERT_TRUE(courses.AddNew());
        courses.setRecord(RecordKey<CourseRecord>::withKey(CourseKey("Ada Bee", "2026-12-01", "08:00")));
        ASSERT_TRUE(courses.Update());
    }
    CoursePlannerDialog planner;
    ASSERT_NO_FATAL_FAILURE(showActive(planner));
    ASSERT_NO_FATAL_FAILURE(typeNewCourse(planner, QStringLiteral("Uma Vos"), "2026-12-15", "13:00"));
    typeParticipant(planner, 0, QStringLiteral("Pat Kim"));
    ASSERT_EQ(planner.grid().size(), 2);
    const CourseKey key("Uma Vos", "2026-12-15", "13:00");

    // The course row can be written, its sessions cannot (refused elsewhere).
    ASSERT_NO_FATAL_FAILURE(refuseNewSessions(true));
    answer = QMessageBox::Yes;
    questions.clear();
    click(&planner, IDCANCEL);
    QCoreApplication::processEvents();
    EXPECT_TRUE(planner.isVisible()) << "closed with the edited schedule lost";
    EXPECT_EQ(questions.front(), L"Course plan was changed. Save the changes?");
    EXPECT_GE(questions.size(), 2u) << "the refusal is shown";
    EXPECT_EQ(storedCourses(key), 1);
    EXPECT_EQ(storedRows(key), 0u);
    EXPECT_TRUE(planner.scheduleChanged());
    ASSERT_EQ(planner.grid().size(), 2);
    EXPECT_EQ(planner.grid().rows()[0].PersonVentilation, "Pat Kim");

    // The same for a move to another course and for quick find.
    for (const auto& [id, code] : {std::pair {IDC_DB_FIRST, int(BN_CLICKED)}, std::pair {IDC_DB_QUICKFIND, int(CBN_CLOSEUP)}}) {
        if (id == IDC_DB_QUICKFIND) {
            auto* quick = platform::dlgItem<platform::ComboBox>(&planner, IDC_DB_QUICKFIND);
            ASSERT_GT(quick->count(), 1);
            const QString mine = QStringLiteral("Uma Vos on 2026-12-15 at 13:00");
            quick->setCurSel(quick->itemText(0) == mine ? 1 : 0);
        }
        questions.clear();
        planner.sendCommand(id, code);
        EXPECT_FALSE(questions.empty()) << id;
        EXPECT_EQ(shown(platform::dlgItem(&planner, IDC_PLAN_INSTRUCTOR)), "Uma Vos") << id;
        EXPECT_EQ(planner.grid().rows()[0].PersonVentilation, "Pat Kim") << id;
        EXPECT_TRUE(planner.scheduleChanged()) << id;
    }

    // Once the sessions can be stored, Yes stores them and closes.
    ASSERT_NO_FATAL_FAILURE(refuseNewSessions(false));
    click(&planner, IDCANCEL);
    answer = QMessageBox::No;
    QCoreApplication::processEvents();
    EXPECT_FALSE(planner.isVisible());
    EXPECT_EQ(storedRows(key), 1u);
}

// "Details..." stores the course first and opens nothing when it cannot:
// the stored-session editor never stores a row outside its course.
TEST_F(CoursePlannerWindowTest, DetailsStoresTheCourseFirstAndOpensNothingWithoutIt)
{
    ASSERT_TRUE(started);
    const CourseKey key("Lu Ma", "2026-12-20", "10:00");
    {
        CourseTable courses(database);
        ASSERT_TRUE(courses.open(std::string()));
        ASSERT_TRUE(courses.AddNew());
        courses.setRecord(RecordKey<CourseRecord>::withKey(key));
        ASSERT_TRUE(courses.Update());
    }
    CoursePlannerDialog planner;
    ASSERT_NO_FATAL_FAILURE(showActive(planner));
    // A second course of the same key, not yet stored.
    ASSERT_NO_FATAL_FAILURE(typeNewCourse(planner, QStringLiteral("Lu Ma"), "2026-12-20", "10:00"));
    typeParticipant(planner, 0, QStringLiteral("Ola Pym"));
    ASSERT_EQ(planner.grid().size(), 2);
    const std::string serial = planner.grid().rows()[0].Serialidentifier;
    const auto rowsOfSerial = [&serial] {
        SessionTable sessions(database);
        EXPECT_TRUE(sessions.open("Serialidentifier = '" + serial + "'"));
        return dbtest::column(sessions, &SessionTable::CourseTime);
    };

    // The editor, if it opens, saves the row and closes; what it found stored is kept.
    bool editorShown = false;
    std::vector<std::string> storedWhileEditing;
    const auto editAndSave = [&] {
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == &planner)
                return;
            editorShown = true;
            storedWhileEditing = rowsOfSerial();
            if (auto* note = platform::dlgItem<QPlainTextEdit>(modal, IDC_SES_NOTES))
                note->setPlainText(QStringLiteral("from the editor"));
            if (auto* save = qobject_cast<QAbstractButton*>(platform::dlgItem(modal, IDC_DB_SAVE)); save && save->isEnabled())
                save->click();
            if (auto* close = qobject_cast<QAbstractButton*>(platform::dlgItem(modal, IDCANCEL)))
                close->click();
        });
    };

    // Cancel on the duplicate-course question: nothing stored, nothing opened.
    answer = QMessageBox::Cancel;
    questions.clear();
    editAndSave();
    click(&planner, res::coursePlannerRows[0].details);
    QCoreApplication::processEvents();
    answer = QMessageBox::No;
    ASSERT_FALSE(questions.empty());
    EXPECT_NE(questions[0].find(L"A course with the same instructor, date, and time already exists!"), std::wstring::npos);
    EXPECT_FALSE(editorShown);
    EXPECT_TRUE(rowsOfSerial().empty()) << "a row stored outside its course";
    EXPECT_EQ(storedRows(key), 0u);

    // Another time: the course and its row are stored before the editor opens.
    auto* time = maskedEdit(planner, IDC_PLAN_TIME);
    focus(time);
    time->SetInputText("11:00", 0, true);
    focus(planner.row(0).ventilation);
    editAndSave();
    click(&planner, res::coursePlannerRows[0].details);
    QCoreApplication::processEvents();
    EXPECT_TRUE(editorShown);
    EXPECT_EQ(storedWhileEditing, (std::vector<std::string> {"11:00"}));
    EXPECT_EQ(rowsOfSerial(), (std::vector<std::string> {"11:00"}));
    EXPECT_EQ(planner.grid().rows()[0].Note, "from the editor");

    // Stored again: the row the editor saved is the schedule's own.
    click(&planner, IDC_DB_SAVE);
    EXPECT_FALSE(planner.scheduleChanged());
    EXPECT_EQ(storedRows(CourseKey("Lu Ma", "2026-12-20", "11:00")), 1u);
}

// Two planners on one course, as two stations: each stores what it changed
// and keeps what the other one added.
TEST_F(CoursePlannerWindowTest, TwoPlannersOnOneCourseKeepEachOthersRows)
{
    ASSERT_TRUE(started);
    const CourseKey key("Max Ode", "2026-12-21", "09:00");
    CoursePlannerDialog first;
    ASSERT_NO_FATAL_FAILURE(showActive(first));
    ASSERT_NO_FATAL_FAILURE(typeNewCourse(first, QStringLiteral("Max Ode"), "2026-12-21", "09:00"));
    typeParticipant(first, 0, QStringLiteral("Ann Lee"));
    click(&first, IDC_DB_SAVE);
    ASSERT_EQ(storedRows(key), 1u);

    // The second planner adds a row to the course and stores it.
    {
        CoursePlannerDialog second;
        ASSERT_NO_FATAL_FAILURE(showActive(second));
        auto* quick = platform::dlgItem<platform::ComboBox>(&second, IDC_DB_QUICKFIND);
        const int entry = quick->findStringExact(-1, QStringLiteral("Max Ode on 2026-12-21 at 09:00"));
        ASSERT_GE(entry, 0);
        quick->setCurSel(entry);
        second.sendCommand(IDC_DB_QUICKFIND, CBN_CLOSEUP);
        ASSERT_EQ(second.grid().size(), 2);
        typeParticipant(second, 1, QStringLiteral("Bo Cole"));
        click(&second, IDC_DB_SAVE);
        ASSERT_EQ(storedRows(key), 2u);
        second.hide();
    }
    // Meanwhile the first row was run elsewhere.
    ASSERT_TRUE(database.execute("UPDATE Session SET Done = TRUE, CompDepth = 51 WHERE PersonVentilation = 'Ann Lee'"));

    // The first planner, which never read the second row, changes its own and stores.
    first.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&first));
    focus(first.row(0).start);
    first.row(0).start->SetInputText("09:30", 0, true);
    focus(first.row(0).ventilation);
    click(&first, IDC_DB_SAVE);
    EXPECT_FALSE(first.scheduleChanged());

    SessionTable sessions(database);
    ASSERT_TRUE(sessions.open(std::string()));
    const std::vector<SessionRecord> stored = sessions.loadCourseSessions(key);
    ASSERT_EQ(stored.size(), 2u) << "the other planner's row was deleted";
    EXPECT_EQ(stored[0].PersonVentilation, "Ann Lee");
    EXPECT_EQ(stored[0].StartTime, "09:30");
    EXPECT_EQ(stored[0].Done, 1) << "the results recorded elsewhere were reset";
    EXPECT_EQ(stored[0].CompDepth, 51);
    EXPECT_EQ(stored[1].PersonVentilation, "Bo Cole");
}

// A course whose last stored session was run without names: the planner
// shows it as a row of its own with a new placeholder after it, and storing
// the course keeps it.
TEST_F(CoursePlannerWindowTest, ARunWithoutNamesLastInTheCourseIsKept)
{
    ASSERT_TRUE(started);
    CourseRecord course;
    course.Instructor = "Ola Pym";
    course.Date = "2026-12-22";
    course.Time = "08:00";
    {
        CourseTable courses(database);
        ASSERT_TRUE(courses.open(std::string()));
        ASSERT_TRUE(courses.AddNew());
        courses.setRecord(course);
        ASSERT_TRUE(courses.Update());
        CourseSchedule schedule;
        schedule.rows().resize(3);
        schedule.rows()[0].PersonVentilation = "Al Named";
        schedule.rows()[1].Done = 1; // run without names, with results
        schedule.rows()[1].CompDepth = 49;
        SessionTable sessions(database);
        ASSERT_TRUE(sessions.open(std::string()));
        ASSERT_TRUE(sessions.saveCourseSessions(course, schedule));
    }
    CoursePlannerDialog planner;
    ASSERT_NO_FATAL_FAILURE(showActive(planner));
    auto* quick = platform::dlgItem<platform::ComboBox>(&planner, IDC_DB_QUICKFIND);
    const int entry = quick->findStringExact(-1, QStringLiteral("Ola Pym on 2026-12-22 at 08:00"));
    ASSERT_GE(entry, 0);
    quick->setCurSel(entry);
    planner.sendCommand(IDC_DB_QUICKFIND, CBN_CLOSEUP);
    ASSERT_EQ(planner.grid().size(), 3);
    EXPECT_TRUE(planner.row(1).details->isEnabled());

    focus(planner.row(0).start);
    planner.row(0).start->SetInputText("08:05", 0, true);
    focus(planner.row(0).ventilation);
    click(&planner, IDC_DB_SAVE);
    EXPECT_FALSE(planner.scheduleChanged());
    SessionTable sessions(database);
    ASSERT_TRUE(sessions.open(std::string()));
    const std::vector<SessionRecord> stored = sessions.loadCourseSessions(course.getKey());
    ASSERT_EQ(stored.size(), 2u) << "the run without names was taken for the placeholder";
    EXPECT_EQ(stored[1].CompDepth, 49);
}

// A participant another station added while the planner is open is not
// added a second time when the course is stored.
TEST_F(CoursePlannerWindowTest, APersonAnotherStationAddedMeanwhileIsAddedOnce)
{
    ASSERT_TRUE(started);
    CoursePlannerDialog planner;
    ASSERT_NO_FATAL_FAILURE(showActive(planner));
    {
        Database other;
        ASSERT_TRUE(other.open("DSN=tavocpr")) << other.lastError().text;
        ASSERT_TRUE(other.execute("INSERT INTO Person (Name, Instructor) VALUES ('Pia Rand', FALSE)"));
        other.close();
    }
    ASSERT_NO_FATAL_FAILURE(typeNewCourse(planner, QStringLiteral("Quin Sato"), "2026-12-23", "10:00"));
    typeParticipant(planner, 0, QStringLiteral("Pia Rand"));
    click(&planner, IDC_DB_SAVE);
    ASSERT_EQ(storedRows(CourseKey("Quin Sato", "2026-12-23", "10:00")), 1u);
    PersonTable persons(database);
    ASSERT_TRUE(persons.open(std::string()));
    EXPECT_EQ(persons.count("Pia Rand"), 1);
}

} // namespace

namespace {

// Answers the next print dialog with `file`, after `beforePrint` (if any).
void printTo(const QString& file, std::function<void()> beforePrint = {})
{
    QTimer::singleShot(0, [file, beforePrint] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
        ASSERT_NE(name, nullptr);
        name->setText(file);
        if (beforePrint)
            beforePrint();
        dialog->accept();
    });
}

} // namespace

// The planner's "Print schedule" prints the stored sessions and not the
// empty input row below them; printed into a folder that cannot be
// written, its box says so and names the file.
TEST_F(CoursePlannerWindowTest, PrintScheduleListsTheSessionsAndSaysWhyItFailed)
{
    ASSERT_TRUE(started);
    if (platform::hasPrinter())
        GTEST_SKIP() << "this station has a printer";
    CoursePlannerDialog planner;
    ASSERT_NO_FATAL_FAILURE(showActive(planner));
    ASSERT_NO_FATAL_FAILURE(typeNewCourse(planner, QStringLiteral("Ida Print"), "2026-12-14", "10:00"));
    typeParticipant(planner, 0, QStringLiteral("Ann Lee"));
    typeParticipant(planner, 1, QStringLiteral("Cy Moe"));
    ASSERT_EQ(planner.grid().size(), 3);
    const std::string inputRowTimes = planner.grid().rows()[2].StartTime + "-" + planner.grid().rows()[2].EndTime;

    TempDir dir;
    std::vector<std::wstring> boxes;
    const platform::MessageBoxHook suiteHook = platform::setMessageBoxHook([&boxes](const platform::MessageBoxRequest& r) {
        boxes.push_back(r.caption + L": " + r.text);
        return IDOK;
    });
    const QString pdf = QString::fromStdString(dir.file("schedule.pdf"));
    printTo(pdf);
    click(&planner, IDC_PLAN_PRINT);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(storedRows(CourseKey("Ida Print", "2026-12-14", "10:00")), 2u);
    std::string text;
    if (FILE* pipe = ::popen(("pdftotext -layout '" + pdf.toStdString() + "' -").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            text.append(buffer, n);
        ::pclose(pipe);
    }
    EXPECT_NE(text.find("Ann Lee"), std::string::npos) << text;
    EXPECT_NE(text.find("Cy Moe"), std::string::npos) << text;
    EXPECT_NE(text.find("\n2 "), std::string::npos) << text;
    EXPECT_EQ(text.find("\n3 "), std::string::npos) << "the input row: " << text;
    EXPECT_EQ(text.find(inputRowTimes), std::string::npos) << inputRowTimes << " in " << text;

    // Into a folder this user may not write to.
    const std::vector<FailingPrintTarget> targets = failingPrintTargets(dir);
    const auto locked = std::find_if(targets.begin(), targets.end(), [](const FailingPrintTarget& t) {
        return t.condition == FailingPrintTarget::Condition::OtherUser;
    });
    ASSERT_NE(locked, targets.end());
    std::optional<PrintTargetCondition> condition;
    platform::setMessageBoxHook([&](const platform::MessageBoxRequest& r) {
        condition.reset();
        boxes.push_back(r.caption + L": " + r.text);
        return IDOK;
    });
    printTo(QString::fromStdString(locked->path), [&] { condition.emplace(*locked); });
    click(&planner, IDC_PLAN_PRINT);
    condition.reset();
    platform::setMessageBoxHook(suiteHook);
    EXPECT_EQ(boxes, std::vector<std::wstring>{locked->box()});
    EXPECT_FALSE(anythingAt(locked->path));
}
