// The review page of a live demonstration session on the offscreen
// platform, over a real SQLite data source and a real data folder: saving
// the session as done writes its row and then its data file; a closed
// database or a data folder that cannot be written keeps the session open.
#include "Database/DatabaseUtil.h"
#include "Database/DbUiQt.h"
#include "Database/SessionTable.h"
#include "platform/CodePage.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/Resources.h"
#include "res/resource.h"
#include "session/SessionDataFile.h"
#include "session/SessionDatabaseView.h"
#include "session/SessionWindows.h"
#include "Utillib/GString.h"

#include "DbTestSupport.h"
#include "DemoPorts.h"
#include "FakeSessionServices.h"
#include "ScopedRegistry.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using namespace sessiontest;

namespace {

// The fake services with the real review page and the real data file.
class ReviewServices : public FakeSessionServices {
public:
    std::unique_ptr<ReviewPageWindow> createReviewPage(Session& session) override
    {
        auto handle = std::make_unique<ReviewPageHandle>(session);
        page = handle->page();
        return handle;
    }
    bool saveDataFile(Session& session) override
    {
        const std::string path = session.getRecord().dataFilePath();
        const bool saved = !path.empty() && sessiondata::save(session, path, nullptr);
        log.push_back(saved ? "file written" : "file failed");
        return saved;
    }
    SessionDatabaseView* page = nullptr;
};

class ReviewPageTest : public dbtest::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        res::registerResources();
        exec("INSERT INTO Person (Name, Instructor) VALUES ('Ann', '1')");
        exec("INSERT INTO Person (Name, Instructor) VALUES ('Bob', '0')");
        SessionRecord rec;
        rec.Duration = 10;
        rec.PersonVentilation = "Bob";
        rec.PersonChestCompression = "Carl";
        rec.Algorithm = "Adult";
        rec.Scenario = "Drill";
        session = DemoPorts::liveSession(250, rec);
        session->createView();
        session->start();
        for (int k = 0; k < 260; ++k)
            session->poll();
        session->pause();
        // As the debriefing does when it is built.
        session->getCommSession().finish();
        services.saveAnswers = {SessionServices::SAVE_REVIEW};
        EXPECT_FALSE(session->askSave());
        ASSERT_NE(services.page, nullptr);
    }
    void TearDown() override
    {
        session.reset();
        QCoreApplication::processEvents();
        DbTest::TearDown();
    }
    platform::ComboBox* combo(int id) { return platform::dlgItem<platform::ComboBox>(services.page, id); }
    std::string column(const std::string& name)
    {
        return scalar("SELECT " + name + " FROM Session WHERE Serialidentifier = '"
                      + session->getRecord().Serialidentifier + "'");
    }
    bool saveYes()
    {
        services.saveAnswers = {SessionServices::SAVE_YES};
        return session->askSave();
    }
    // A new page on the session, as a new entry into the review makes it.
    void reopenPage()
    {
        services.page = nullptr;
        session->setState(Session::DEBRIEF);
        session->setState(Session::REVIEW);
        ASSERT_NE(services.page, nullptr);
    }
    // The session as the planner stored it beforehand in Ann's course.
    void planInCourse()
    {
        SessionRecord rec = session->getRecord();
        rec.CourseInstructor = "Ann";
        rec.CourseDate = "2006-03-05";
        rec.CourseTime = "09:30";
        rec.Note = "planned";
        session->setRecord(rec);
        exec("INSERT INTO Course (Instructor, Date, Time) VALUES ('Ann', '2006-03-05', '09:30')");
        SessionTable planned(database);
        ASSERT_TRUE(planned.open(""));
        ASSERT_TRUE(planned.AddNew());
        planned.setRecord(rec);
        ASSERT_TRUE(planned.Update()) << planned.lastError().text;
        // As the run-course form starts it: from the row as the form read it.
        session->setPlannedRow(readPlannedRow(database, rec));
    }
    // Another station, on its own connection.
    void elsewhere(const std::string& sql)
    {
        Database other;
        ASSERT_TRUE(other.open("DSN=tavocpr")) << other.lastError().text;
        ASSERT_TRUE(other.execute(sql)) << sql << "\n" << other.lastError().text;
        other.close();
    }

    testsupport::TempDir folder;
    dbtest::ScopedRegistry registry{"Data Folder=sz:" + folder.path() + "\n"};
    testsupport::LogCapture log;
    ReviewServices services;
    DemoPorts demo;
    std::unique_ptr<Session> session;
};

TEST_F(ReviewPageTest, SavingWritesTheDoneRowWithResultsThenTheDataFile)
{
    ASSERT_EQ(session->getState(), Session::REVIEW);
    combo(IDC_REV_APPROVED)->setCurrentIndex(2);
    combo(IDC_REV_APPROVED_BY)->lineEdit()->setText("Ann");
    platform::dlgItem<QPlainTextEdit>(services.page, IDC_REV_NOTES)->setPlainText("Good rhythm");
    EXPECT_LT(combo(IDC_REV_APPROVED_BY)->findText("Bob"), 0) << "only instructors approve";
    services.page->resize(780, 470);
    QDir().mkpath(QStringLiteral(ARTEFACT_DIR));
    services.page->grab().save(QStringLiteral(ARTEFACT_DIR "/review-page.png"));
    EXPECT_TRUE(saveYes());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "1");
    EXPECT_EQ(column("Done"), "1");
    EXPECT_EQ(column("Approved"), "2");
    EXPECT_EQ(column("ApprovedBy"), "Ann");
    EXPECT_EQ(column("Note"), "Good rhythm");
    EXPECT_EQ(std::stod(column("InterfaceFrequency")), session->getCommSession().sampleRate);
    EXPECT_NEAR(std::stod(column("CompDepth")), session->getCommSession().averageDepth, 1e-3);
    EXPECT_GT(session->getCommSession().averageDepth, 0) << "the demonstration compressed";
    EXPECT_TRUE(std::filesystem::exists(session->getRecord().dataFilePath()));
    EXPECT_EQ(session->getRecord().Note, "Good rhythm") << "the saved record went back to the session";
    EXPECT_TRUE(ui.boxes.empty());
}

// The fields the page fills from the record look like what they are: the
// page's colour behind them, passed by the Tab key; the notes take typing.
TEST_F(ReviewPageTest, RecordFieldsShowAsReadOnly)
{
    auto* instructor = platform::dlgItem<QLineEdit>(services.page, IDC_REV_INSTRUCTOR);
    ASSERT_NE(instructor, nullptr);
    EXPECT_TRUE(instructor->isReadOnly());
    EXPECT_FALSE(instructor->focusPolicy() & Qt::TabFocus);
    const QColor face = services.page->palette().color(QPalette::Window);
    EXPECT_EQ(instructor->palette().color(QPalette::Base), face);
    services.page->resize(780, 470);
    const QImage picture = instructor->grab().toImage();
    EXPECT_EQ(picture.pixelColor(picture.width() - 4, picture.height() / 2), face);
    auto* notes = platform::dlgItem<QPlainTextEdit>(services.page, IDC_REV_NOTES);
    ASSERT_NE(notes, nullptr);
    EXPECT_TRUE(notes->focusPolicy() & Qt::TabFocus);
    EXPECT_NE(notes->palette().color(QPalette::Base), face);
}

TEST_F(ReviewPageTest, DurationAsMinutesAndSecondsOrNoLimit)
{
    auto shownDuration = [&] { return platform::windowText(platform::dlgItem(services.page, IDC_REV_DURATION)); };
    EXPECT_EQ(shownDuration().toStdString(), "00:10");
    for (int noLimit : { -1, -7 }) {
        SessionRecord rec = session->getRecord();
        rec.Duration = noLimit;
        session->setRecord(rec);
        services.page = nullptr;
        session->setState(Session::DEBRIEF);
        session->setState(Session::REVIEW);
        ASSERT_NE(services.page, nullptr);
        EXPECT_EQ(shownDuration().toStdString(), "No limit") << noLimit;
    }
}

TEST_F(ReviewPageTest, TheRowGetsTheFiguresOfTheWholeRecording)
{
    // The figures were computed at 260 samples, when the debriefing was
    // built; the session went back to its graphs and collected more, then is
    // saved from a tab that was not in front, whose pages never refresh.
    const CommSession& results = session->getCommSession();
    const int staleCompressions = results.nrCompressions;
    const double staleRate = results.compressionRate;
    session->setState(Session::COLLECT);
    session->start();
    for (int k = 0; k < 600; ++k)
        session->poll();
    ASSERT_TRUE(saveYes());

    // What the whole recording gives, computed once more from the measurements.
    session->getCommSession().finish();
    ASSERT_NE(results.nrCompressions, staleCompressions) << "the later samples held compressions";
    ASSERT_NE(results.compressionRate, staleRate);
    EXPECT_NEAR(std::stod(column("ECCrate")), results.compressionRate, 1e-6);
    EXPECT_NEAR(std::stod(column("CompDepth")), results.averageDepth, 1e-6);
    EXPECT_NEAR(std::stod(column("CompRelaxRatio")), results.compRelaxRatio, 1e-6);
    EXPECT_NEAR(std::stod(column("PauseECC")), results.longestPause, 1e-6);
    EXPECT_NEAR(std::stod(column("VentilationRate")), results.ventilationRate, 1e-6);
    EXPECT_NEAR(std::stod(column("VentilationVolume")), results.averageVolume, 1e-6);
    EXPECT_NEAR(std::stod(column("Leaning")), results.nrLeanings, 1e-6);
    EXPECT_EQ(std::stoi(column("InitialVentilations")), results.initialVentilations);
    EXPECT_EQ(session->getRecord().ECCrate, results.compressionRate) << "the session holds the stored figures";
}

TEST_F(ReviewPageTest, PlannedRowIsUpdatedNotDuplicated)
{
    // A course session the planner stored before it ran: a second page on the
    // same serial finds the row and updates it.
    ASSERT_TRUE(saveYes());
    exec("UPDATE Session SET Done = FALSE, Note = 'planned'");
    services.page = nullptr;
    session->setState(Session::DEBRIEF);
    session->setState(Session::REVIEW);
    ASSERT_NE(services.page, nullptr);
    EXPECT_TRUE(saveYes());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "1");
    EXPECT_EQ(column("Done"), "1");
}

TEST_F(ReviewPageTest, ClosedDatabaseKeepsTheSessionOpenWithABox)
{
    database.close();
    services.page = nullptr;
    session->setState(Session::DEBRIEF);
    session->setState(Session::REVIEW);
    ASSERT_NE(services.page, nullptr);
    EXPECT_FALSE(saveYes()) << "the session stays open";
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].text.find(L"not stored"), std::wstring::npos);
    EXPECT_FALSE(std::filesystem::exists(session->getRecord().dataFilePath()));
}

TEST_F(ReviewPageTest, UnwritableDataFolderKeepsTheSessionOpenAndASecondSaveSucceeds)
{
    // The data folder is gone (an unplugged drive, a mistyped setting).
    std::filesystem::remove_all(folder.path());
    EXPECT_FALSE(saveYes());
    EXPECT_EQ(column("Done"), "1") << "the row was written first";
    ASSERT_FALSE(ui.boxes.empty());
    EXPECT_NE(ui.boxes.back().text.find(L"not stored"), std::wstring::npos);
    std::filesystem::create_directories(folder.path());
    ui.boxes.clear();
    EXPECT_TRUE(saveYes());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "1");
    EXPECT_TRUE(std::filesystem::exists(session->getRecord().dataFilePath()));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ReviewPageTest, NotesSurviveGoingBackToTheDebriefingAndMetronomeTicks)
{
    platform::dlgItem<QPlainTextEdit>(services.page, IDC_REV_NOTES)->setPlainText("Check depth");
    QTest::mouseClick(platform::dlgItem<QWidget>(services.page, IDC_REV_DEBRIEFING), Qt::LeftButton);
    EXPECT_EQ(session->getState(), Session::DEBRIEF);
    QCoreApplication::processEvents();
    services.page = nullptr;
    session->setState(Session::REVIEW);
    ASSERT_NE(services.page, nullptr);
    EXPECT_EQ(platform::dlgItem<QPlainTextEdit>(services.page, IDC_REV_NOTES)->toPlainText(), "Check depth");
    auto* metronome = platform::dlgItem<QAbstractButton>(services.page, IDC_REV_METRONOME);
    EXPECT_FALSE(metronome->isChecked());
    services.metronomeSignal.emit();
    session->onMetronome();
    EXPECT_TRUE(metronome->isChecked());
    QTest::mouseClick(platform::dlgItem<QWidget>(services.page, IDC_REV_PRINT), Qt::LeftButton);
    EXPECT_EQ(services.printed, std::vector<bool>{true});
}

// Another station renames the course while the session is recorded or
// reviewed: saving it as done leaves it in its course, under the new name.
TEST_F(ReviewPageTest, ARenamedCourseKeepsTheSessionWhenItIsSaved)
{
    for (const bool whileReviewed : {false, true}) {
        SCOPED_TRACE(whileReviewed ? "renamed while reviewed" : "renamed while recorded");
        exec("DELETE FROM Session");
        exec("DELETE FROM Course");
        planInCourse();
        const std::string rename[] = {"UPDATE Course SET Instructor = 'Anna' WHERE Instructor = 'Ann'",
                                      "UPDATE Session SET CourseInstructor = 'Anna' WHERE CourseInstructor = 'Ann'"};
        if (!whileReviewed)
            for (const std::string& sql : rename)
                elsewhere(sql);
        reopenPage();
        if (whileReviewed)
            for (const std::string& sql : rename)
                elsewhere(sql);
        platform::dlgItem<QPlainTextEdit>(services.page, IDC_REV_NOTES)->setPlainText("Good rhythm");
        ASSERT_TRUE(saveYes());
        EXPECT_EQ(column("CourseInstructor"), "Anna") << "the session stays in its course";
        EXPECT_EQ(column("Done"), "1");
        EXPECT_EQ(column("Note"), "Good rhythm");
        EXPECT_EQ(session->getRecord().CourseInstructor, "Anna") << "the session holds the stored row";
        EXPECT_TRUE(ui.boxes.empty());
    }
}

// Another station edits the planned row while it is reviewed here: what it
// changed stays unless the page changed the same field, and then the
// instructor here is told which session it was.
TEST_F(ReviewPageTest, TheOtherStationsEditsOfThePlannedRowStay)
{
    planInCourse();
    reopenPage();
    elsewhere("UPDATE Session SET Note = 'bring masks', Scenario = 'Night drill' WHERE CourseInstructor = 'Ann'");
    combo(IDC_REV_APPROVED)->setCurrentIndex(1);
    ASSERT_TRUE(saveYes());
    EXPECT_EQ(column("Note"), "bring masks");
    EXPECT_EQ(column("Scenario"), "Night drill");
    EXPECT_EQ(column("Approved"), "1");
    EXPECT_TRUE(ui.boxes.empty());

    exec("UPDATE Session SET Done = FALSE");
    reopenPage();
    elsewhere("UPDATE Session SET Note = 'theirs' WHERE CourseInstructor = 'Ann'");
    platform::dlgItem<QPlainTextEdit>(services.page, IDC_REV_NOTES)->setPlainText("mine");
    ASSERT_TRUE(saveYes());
    EXPECT_EQ(column("Note"), "mine") << "the later save wins";
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].text.find(L"Another station changed the same fields of \"Bob, Carl ("), std::wstring::npos)
        << GString::to_string(ui.boxes[0].text);
}

// Another station edits the planned row while the session is recorded,
// before the page opens: "Save as done" keeps what it changed unless this
// station's user changed the same field, and then tells the user.
TEST_F(ReviewPageTest, WhatAnotherStationChangedDuringTheRecordingStays)
{
    planInCourse();
    elsewhere("UPDATE Session SET Note = 'bring masks', PersonChestCompression = 'Carla' WHERE CourseInstructor = 'Ann'");
    reopenPage();
    ASSERT_TRUE(saveYes());
    EXPECT_EQ(column("Note"), "bring masks");
    EXPECT_EQ(column("PersonChestCompression"), "Carla");
    EXPECT_EQ(column("PersonVentilation"), "Bob");
    EXPECT_EQ(column("Done"), "1");
    EXPECT_TRUE(ui.boxes.empty()) << GString::to_string(ui.boxes[0].text);
    EXPECT_EQ(session->getRecord().Note, "bring masks") << "the session holds the stored row";

    // The next save measures from what this one stored.
    exec("UPDATE Session SET Done = FALSE");
    elsewhere("UPDATE Session SET Note = 'theirs' WHERE CourseInstructor = 'Ann'");
    reopenPage();
    platform::dlgItem<QPlainTextEdit>(services.page, IDC_REV_NOTES)->setPlainText("mine");
    ASSERT_TRUE(saveYes());
    EXPECT_EQ(column("Note"), "mine");
    EXPECT_EQ(column("PersonChestCompression"), "Carla");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].text.find(L"Another station changed the same fields"), std::wstring::npos);
}

// Another station deletes the planned row, with its course or alone: the
// recording is stored as a row of its own, in its course while that exists.
TEST_F(ReviewPageTest, ARecordingWhosePlannedRowWasDeletedIsStoredAnyway)
{
    struct Case {
        const char* deleted;
        std::vector<std::string> statements;
        const char* instructorAfter;
    };
    const Case cases[] = {
        {"the course with its sessions",
         {"DELETE FROM Session WHERE CourseInstructor = 'Ann'", "DELETE FROM Course WHERE Instructor = 'Ann'"}, ""},
        {"the session alone", {"DELETE FROM Session WHERE CourseInstructor = 'Ann'"}, "Ann"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deleted);
        exec("DELETE FROM Session");
        exec("DELETE FROM Course");
        ui.boxes.clear();
        planInCourse();
        reopenPage();
        for (const std::string& sql : c.statements)
            elsewhere(sql);
        ASSERT_TRUE(saveYes()) << (ui.boxes.empty() ? std::string() : GString::to_string(ui.boxes[0].text));
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "1");
        EXPECT_EQ(column("Done"), "1");
        EXPECT_EQ(column("CourseInstructor"), c.instructorAfter);
        EXPECT_EQ(column("PersonVentilation"), "Bob");
        EXPECT_TRUE(std::filesystem::exists(session->getRecord().dataFilePath()));
        EXPECT_TRUE(ui.boxes.empty());
    }
}

// A planned row whose instructor and participant this station cannot show
// (田中 reads "??" in Western) is deleted by another station while it is
// recorded, before the page opens or while it is open: the recording is
// stored as a new row with the names as they were stored, never as read
// here. When the stored names are no longer known (the row was gone when
// the session started), the row is refused until the user gives a name
// this station can write; the instructor goes only with its course.
TEST_F(ReviewPageTest, ANewRowIsNeverStoredWithTheReadingOfANameThisStationCannotShow)
{
    const bool pg = dbtest::usingPostgres();
    const std::string tanaka = pg ? "chr(30000) || chr(20013)" : "char(30000, 20013)";
    for (const bool namesKnown : {true, false})
        for (const bool courseGone : {false, true})
            for (const bool whileOpen : {false, true}) {
                SCOPED_TRACE(std::string(namesKnown ? "names known" : "names lost")
                             + (courseGone ? ", course deleted" : ", course kept") + (whileOpen ? ", page open" : ""));
                ASSERT_TRUE(platform::setAnsiCodePage(1252));
                exec("DELETE FROM Session");
                exec("DELETE FROM Course");
                ui.boxes.clear();
                const std::string serial = session->getRecord().Serialidentifier;
                // A '?' that is stored is text like any other, once the row proves it.
                const std::string note = namesKnown ? "planned?" : "planned";
                elsewhere("INSERT INTO Course (Instructor, Date, Time) VALUES (" + tanaka + ", '2006-03-05', '09:30')");
                elsewhere("INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime, "
                          "PersonVentilation, PersonChestCompression, Note) VALUES ('" + serial + "', " + tanaka
                          + ", '2006-03-05', '09:30', " + tanaka + ", 'Carl', '" + note + "')");
                SessionTable table(database);
                ASSERT_TRUE(table.open("Serialidentifier = '" + serial + "'"));
                SessionRecord read = table.getRecord();
                ASSERT_EQ(read.CourseInstructor, "??");
                session->setRecord(read);
                const std::string deletions[] = {"DELETE FROM Session", courseGone ? "DELETE FROM Course" : "SELECT 1"};
                if (!namesKnown)
                    elsewhere(deletions[0]);
                session->setPlannedRow(readPlannedRow(database, read));
                ASSERT_EQ(session->plannedRow()->unshownTexts.size(), 2u);

                if (!whileOpen)
                    for (const std::string& sql : deletions)
                        elsewhere(sql);
                reopenPage();
                if (whileOpen)
                    for (const std::string& sql : deletions)
                        elsewhere(sql);
                if (namesKnown) {
                    ASSERT_TRUE(saveYes()) << (ui.boxes.empty() ? std::string() : GString::to_string(ui.boxes[0].text));
                    EXPECT_TRUE(ui.boxes.empty());
                    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session WHERE PersonVentilation = " + tanaka + " AND Done = "
                                     + (pg ? "TRUE" : "1")),
                              "1");
                    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session WHERE CourseInstructor = " + tanaka),
                              courseGone ? "0" : "1");
                } else {
                    EXPECT_FALSE(saveYes());
                    ASSERT_FALSE(ui.boxes.empty());
                    EXPECT_EQ(ui.boxes.front().text, DBUtil::unshownNameMessage());
                    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "0");
                    // The participant as the user names it now.
                    combo(IDC_REV_VENTILATION)->setEditText("Tanaka");
                    ui.boxes.clear();
                    EXPECT_EQ(saveYes(), courseGone) << "an instructor of a course that exists stays unwritable";
                    if (courseGone) {
                        EXPECT_EQ(column("PersonVentilation"), "Tanaka");
                        EXPECT_EQ(column("CourseInstructor"), "");
                        EXPECT_TRUE(ui.boxes.empty());
                    }
                }
                EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), namesKnown || courseGone ? "1" : "0");
                EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session WHERE CourseInstructor LIKE '%?%' OR PersonVentilation "
                                 "LIKE '%?%'"),
                          "0");
                if (namesKnown || courseGone)
                    EXPECT_EQ(column("Note"), note);
            }
}

} // namespace
