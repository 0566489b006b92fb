// The stored-session editor on the offscreen platform over a real data
// source (SQLite, and PostgreSQL in the "pg." run): what a finished and a
// planned session allow, editing and saving, scenario matching, deleting
// the row with its data file, and the replay handed to the viewer.
#include "Database/DbUiQt.h"
#include "Database/SessionDialog.h"
#include "Database/TablePool.h"
#include "Utillib/WindowUtil.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/Resources.h"
#include "res/resource.h"

#include "DbTestSupport.h"
#include "ScopedRegistry.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>

namespace {

// Replays as the training sessions would build them, recorded.
class RecordingViewer : public StoredSessionViewer {
public:
    struct Replay : SessionReplay {
        Replay(int& alive)
            : alive(alive)
        {
            ++alive;
        }
        ~Replay() override { --alive; }
        int& alive;
        SessionRecord record;
        Algorithm algorithm;
    };
    std::unique_ptr<SessionReplay> createReplay(const SessionRecord& record, const Algorithm& algorithm) override
    {
        auto replay = std::make_unique<Replay>(alive);
        replay->record = record;
        replay->algorithm = algorithm;
        return replay;
    }
    void inspect(SessionReplay& replay, int page) override
    {
        inspected.push_back(static_cast<Replay*>(&replay));
        pages.push_back(page);
    }
    int alive = 0;
    std::vector<Replay*> inspected;
    std::vector<int> pages;
};

class SessionEditorTest : public dbtest::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        res::registerResources();
        dbui::installQtUserInterface();
        dbui::setMessageBoxHook([this](QMessageBox& box) {
            boxes.push_back(box.text().toStdString());
            if (answers.empty())
                return static_cast<int>(box.standardButton(box.escapeButton()));
            int answer = answers.front();
            answers.pop_front();
            return answer;
        });
        SessionDialog::setViewer(&viewer);
        exec("INSERT INTO Person (Name, Instructor) VALUES ('Ann', '1')");
        exec("INSERT INTO Person (Name, Instructor) VALUES ('Bob', '0')");
        exec("INSERT INTO Algorithm (Name) VALUES ('Adult')");
        exec("INSERT INTO Algorithm (Name) VALUES ('Child')");
        exec("INSERT INTO Scenario (Name, Duration, Algorithm, RegisterEvents, TrainingMode) VALUES ('Drill', 120, 'Adult', '1', 1)");
    }
    void TearDown() override
    {
        editor.reset();
        SessionDialog::setViewer(nullptr);
        SessionDialog::setDetailsEditors({});
        dbui::setMessageBoxHook({});
        DbTest::TearDown();
    }

    SessionRecord finished()
    {
        SessionRecord rec;
        rec.Done = 1;
        rec.PersonVentilation = "Bob";
        rec.PersonChestCompression = "Ann";
        rec.Scenario = "Drill";
        rec.Algorithm = "Adult";
        rec.Duration = 120;
        rec.TrainingMode = 1;
        rec.Manikin = 3;
        rec.CompDepth = 47.5;
        return rec;
    }
    void store(const SessionRecord& rec)
    {
        SessionTable t(database);
        ASSERT_TRUE(t.open(""));
        ASSERT_TRUE(t.AddNew());
        t.setRecord(rec);
        ASSERT_TRUE(t.Update());
    }
    SessionDialog& open(const SessionRecord& rec, bool allowDelete, const SessionRecord* read = nullptr)
    {
        editor = std::make_unique<SessionDialog>(rec, allowDelete, nullptr, read);
        EXPECT_TRUE(editor->create(IDD_SESSION_EDITOR)) << editor->buildError();
        editor->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        return *editor;
    }
    QWidget* item(int id) { return platform::dlgItem(editor.get(), id); }
    platform::ComboBox* combo(int id) { return platform::dlgItem<platform::ComboBox>(editor.get(), id); }
    void click(int id) { QTest::mouseClick(platform::dlgItem<QPushButton>(editor.get(), id), Qt::LeftButton); }
    void choose(int id, const QString& text)
    {
        platform::ComboBox* box = combo(id);
        int index = box->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
    }
    void type(int id, const QString& text)
    {
        QLineEdit* edit = combo(id)->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    std::string column(const SessionRecord& rec, const std::string& name)
    {
        return scalar("SELECT " + name + " FROM Session WHERE Serialidentifier = '" + rec.Serialidentifier + "'");
    }

    RecordingViewer viewer;
    std::unique_ptr<SessionDialog> editor;
    std::vector<std::string> boxes;
    std::deque<int> answers;
};

TEST_F(SessionEditorTest, DoneAndAllowDeleteDecideWhatIsEnabled)
{
    struct Case {
        int done;
        bool stored;
        bool allowDelete;
        bool deleteEnabled;
    } cases[] = {
        {1, true, true, true},    // the session browser on a finished session
        {1, true, false, false},  // the course planner or the run-course form
        {0, true, true, false},   // a planned session is never deleted here
        {1, false, true, false},  // not stored: nothing to delete
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "done " << c.done << " stored " << c.stored << " allow " << c.allowDelete);
        SessionRecord rec = finished();
        rec.Done = c.done;
        if (c.stored)
            store(rec);
        open(rec, c.allowDelete);
        EXPECT_EQ(item(IDC_DB_DELETE)->isEnabled(), c.deleteEnabled);
        const bool done = c.done != 0;
        EXPECT_EQ(item(IDC_SES_MANIKIN)->isEnabled(), !done);
        EXPECT_EQ(item(IDC_SES_DURATION)->isEnabled(), !done);
        for (int id : {IDC_SES_GRAPH, IDC_SES_DEBRIEFING, IDC_SES_APPROVED, IDC_SES_APPROVED_BY})
            EXPECT_EQ(item(id)->isEnabled(), done) << id;
        EXPECT_FALSE(item(IDC_DB_SAVE)->isEnabled()) << "nothing changed yet";
        if (c.stored && c.allowDelete)
            editor->grab().save(QString(SCREENSHOT_DIR) + "/session-editor-done" + QString::number(c.done) + ".png");
        EXPECT_EQ(Utillib::getWindowText(combo(IDC_SES_VENTILATION)), "Bob");
        EXPECT_EQ(combo(IDC_SES_ALGORITHM)->currentText(), "Adult");
        editor.reset();
    }
}

TEST_F(SessionEditorTest, EditedDetailsAndApprovalAreSavedResultsKept)
{
    SessionRecord rec = finished();
    store(rec);
    open(rec, true);
    combo(IDC_SES_APPROVED)->setCurrentIndex(2); // "No"
    Q_EMIT combo(IDC_SES_APPROVED)->activated(2);
    type(IDC_SES_APPROVED_BY, "Ann");
    auto* notes = platform::dlgItem<QPlainTextEdit>(editor.get(), IDC_SES_NOTES);
    notes->setPlainText(QString(300, QLatin1Char('n')));
    EXPECT_EQ(notes->toPlainText().size(), 250) << "the notes keep 250 characters";
    type(IDC_SES_VENTILATION, "Carl O'Neil");
    ASSERT_TRUE(item(IDC_DB_SAVE)->isEnabled());
    click(IDC_DB_SAVE);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(column(rec, "Approved"), "2");
    EXPECT_EQ(column(rec, "ApprovedBy"), "Ann");
    EXPECT_EQ(column(rec, "PersonVentilation"), "Carl O'Neil");
    EXPECT_EQ(column(rec, "Note").size(), 250u);
    EXPECT_EQ(std::stod(column(rec, "CompDepth")), 47.5) << "results stay as they were";
    EXPECT_EQ(column(rec, "Manikin"), "3");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "1");
    EXPECT_EQ(editor->getRecord().Note.size(), 250u);
    EXPECT_FALSE(item(IDC_DB_SAVE)->isEnabled());
}

TEST_F(SessionEditorTest, ScheduleRowNotYetStoredIsInsertedByTheFirstSave)
{
    SessionRecord rec = finished();
    rec.Done = 0;
    rec.CourseInstructor = "Ann";
    open(rec, false);
    EXPECT_FALSE(item(IDC_DB_SAVE)->isEnabled());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "0");
    type(IDC_SES_COMPRESSION, "Dora");
    click(IDC_DB_SAVE);
    EXPECT_EQ(column(rec, "PersonChestCompression"), "Dora");
    EXPECT_EQ(column(rec, "CourseInstructor"), "Ann");
}

// Another station, on its own connection, renames the course of a planned
// session, and edits its note while a schedule row of it is edited here:
// saving writes the row's and the user's changes, keeps the other station's,
// leaves the session in its course, and tells the user when it wrote over
// the other station's change of the same field.
TEST_F(SessionEditorTest, TheOtherStationsEditsStayAndTheSessionInItsCourse)
{
    SessionRecord rec = finished();
    rec.Done = 0;
    rec.CourseInstructor = "Ann";
    rec.CourseDate = "2006-03-05";
    rec.CourseTime = "09:30";
    store(rec);
    Database other;
    ASSERT_TRUE(other.open("DSN=tavocpr")) << other.lastError().text;
    ASSERT_TRUE(other.execute("UPDATE Session SET CourseInstructor = 'Anna'"));
    rec.PersonVentilation = "Dora"; // the schedule's edit, not stored yet
    open(rec, false);
    ASSERT_TRUE(other.execute("UPDATE Session SET Note = 'bring masks'"));
    type(IDC_SES_COMPRESSION, "Eve");
    click(IDC_DB_SAVE);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(column(rec, "CourseInstructor"), "Anna") << "the session stays in its course";
    EXPECT_EQ(column(rec, "Note"), "bring masks");
    EXPECT_EQ(column(rec, "PersonVentilation"), "Dora");
    EXPECT_EQ(column(rec, "PersonChestCompression"), "Eve");
    EXPECT_EQ(editor->getRecord().CourseInstructor, "Anna") << "the caller gets the stored row";

    ASSERT_TRUE(other.execute("UPDATE Session SET Note = 'theirs'"));
    platform::dlgItem<QPlainTextEdit>(editor.get(), IDC_SES_NOTES)->setPlainText("mine");
    click(IDC_DB_SAVE);
    EXPECT_EQ(column(rec, "Note"), "mine");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Another station changed the same fields of \"Dora, Eve (2006-03-05 "), std::string::npos)
        << boxes[0];
    other.close();
}

// Opened by a schedule on its copy of the row, read before another station
// changed the row: the editor's base is that copy, so what the other station
// changed stays unless this user changed the same field, who is then told.
TEST_F(SessionEditorTest, AnEditorOnAnOlderCopyKeepsWhatAnotherStationStoredSince)
{
    SessionRecord read = finished();
    read.Done = 0;
    read.PersonChestCompression = "Carl";
    read.Note = "planned";
    store(read);
    Database other;
    ASSERT_TRUE(other.open("DSN=tavocpr")) << other.lastError().text;
    ASSERT_TRUE(other.execute("UPDATE Session SET Note = 'bring masks', PersonChestCompression = 'Carla'"));
    open(read, false, &read);
    type(IDC_SES_VENTILATION, "Dora");
    click(IDC_DB_SAVE);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(column(read, "Note"), "bring masks");
    EXPECT_EQ(column(read, "PersonChestCompression"), "Carla");
    EXPECT_EQ(column(read, "PersonVentilation"), "Dora");
    EXPECT_EQ(editor->getRecord().Note, "bring masks") << "the caller gets the stored row";
    editor.reset();

    open(read, false, &read);
    platform::dlgItem<QPlainTextEdit>(editor.get(), IDC_SES_NOTES)->setPlainText("mine");
    click(IDC_DB_SAVE);
    EXPECT_EQ(column(read, "Note"), "mine");
    EXPECT_EQ(column(read, "PersonVentilation"), "Dora") << "left alone here, the stored name stays";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Another station changed the same fields"), std::string::npos) << boxes[0];
    other.close();
}

// The caller's copy of a row that another station deleted before the editor
// opened is stored as a new row, whole: a name or note this station read
// only as "??" would be stored as that reading. Refused with the message for
// names this station cannot show; nothing is inserted.
TEST_F(SessionEditorTest, ACopyOfADeletedRowWithTextsThisStationCannotShowIsRefused)
{
    const bool pg = dbtest::usingPostgres();
    const std::string tanaka = pg ? "chr(30000) || chr(20013)" : "char(30000, 20013)";
    exec("INSERT INTO Person (Name, Instructor) VALUES (" + tanaka + ", '0')");
    exec("INSERT INTO Session (Serialidentifier, PersonVentilation, Note, Scenario, Algorithm, TrainingMode) VALUES "
         "('s1', " + tanaka + ", " + tanaka + ", 'Drill', 'Adult', 1)");
    SessionRecord read;
    {
        SessionTable rows(database);
        ASSERT_TRUE(rows.open(""));
        read = rows.getRecord();
    }
    ASSERT_EQ(read.PersonVentilation, "??");
    exec("DELETE FROM Session");
    open(read, false, &read);
    type(IDC_SES_COMPRESSION, "Eve");
    click(IDC_DB_SAVE);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "0");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], QString::fromStdWString(DBUtil::unshownNameMessage()).toStdString());

    // Typed over, the texts are the user's own and the row is stored.
    type(IDC_SES_VENTILATION, "Bob");
    platform::dlgItem<QPlainTextEdit>(editor.get(), IDC_SES_NOTES)->setPlainText("mine");
    click(IDC_DB_SAVE);
    EXPECT_EQ(column(read, "PersonVentilation"), "Bob");
    EXPECT_EQ(column(read, "PersonChestCompression"), "Eve");
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(SessionEditorTest, ScenarioSetsItsValuesAndAChangedAlgorithmClearsIt)
{
    SessionRecord rec = finished();
    rec.Done = 0;
    rec.Scenario = "";
    rec.Algorithm = "Child";
    rec.Duration = 600;
    rec.TrainingMode = 0;
    store(rec);
    open(rec, true);
    choose(IDC_SES_SCENARIO, "Drill");
    EXPECT_EQ(combo(IDC_SES_SCENARIO)->currentText(), "Drill");
    EXPECT_EQ(combo(IDC_SES_ALGORITHM)->currentText(), "Adult");
    EXPECT_EQ(Utillib::getWindowText(combo(IDC_SES_DURATION)), "02:00");
    EXPECT_EQ(combo(IDC_SES_TRAINING_MODE)->getCurSel(), 1);
    choose(IDC_SES_ALGORITHM, "Child");
    EXPECT_EQ(combo(IDC_SES_SCENARIO)->getCurSel(), -1) << "the settings no longer match the scenario";
}

TEST_F(SessionEditorTest, SinglePersonModeMirrorsTheParticipant)
{
    SessionRecord rec = finished();
    rec.TrainingMode = 0;
    rec.PersonChestCompression = "Bob";
    store(rec);
    open(rec, true);
    type(IDC_SES_VENTILATION, "Eve");
    EXPECT_EQ(Utillib::getWindowText(combo(IDC_SES_COMPRESSION)), "Eve");
}

TEST_F(SessionEditorTest, EnterMovesTheFocusAndNeverCloses)
{
    SessionRecord rec = finished();
    store(rec);
    open(rec, true);
    combo(IDC_SES_VENTILATION)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_NE(QApplication::focusWidget(), combo(IDC_SES_VENTILATION)->lineEdit());

    // The notes are several lines: there Enter starts a new one.
    auto* notes = platform::dlgItem<QPlainTextEdit>(editor.get(), IDC_SES_NOTES);
    notes->setFocus();
    notes->setPlainText(QStringLiteral("first"));
    notes->moveCursor(QTextCursor::End);
    QTest::keyClick(notes, Qt::Key_Return);
    QTest::keyClicks(notes, QStringLiteral("second"));
    EXPECT_EQ(notes->toPlainText(), QStringLiteral("first\nsecond"));
    EXPECT_EQ(QApplication::focusWidget(), notes);
    EXPECT_TRUE(editor->isVisible());
}

TEST_F(SessionEditorTest, DeleteRemovesTheRowThenTheFileAndCloses)
{
    testsupport::TempDir folder;
    dbtest::ScopedRegistry registry("Data Folder=sz:" + folder.path() + "\n");
    SessionRecord rec = finished();
    store(rec);
    const std::string file = rec.dataFilePath();
    std::ofstream(file) << "data";
    SessionTable other(database);
    ASSERT_TRUE(other.open(""));
    open(rec, true);
    type(IDC_SES_VENTILATION, "Unsaved edit");
    answers = {QMessageBox::Yes};
    click(IDC_DB_DELETE);
    ASSERT_EQ(boxes.size(), 1u) << "only the removal question, no offer to save the deleted entry";
    EXPECT_NE(boxes[0].find("remove this session"), std::string::npos);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "0");
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(editor->wasDeleted());
    EXPECT_TRUE(other.IsOpen() && other.IsBOF() && other.IsEOF()) << "every open Session table was refreshed";
}

TEST_F(SessionEditorTest, FailedDeleteKeepsTheFileAndTheDialog)
{
    testsupport::TempDir folder;
    dbtest::ScopedRegistry registry("Data Folder=sz:" + folder.path() + "\n");
    SessionRecord rec = finished();
    store(rec);
    const std::string file = rec.dataFilePath();
    std::ofstream(file) << "data";
    open(rec, true);
    // Another station took the row away and the table under it.
    exec("DROP TABLE Session");
    answers = {QMessageBox::Yes};
    click(IDC_DB_DELETE);
    EXPECT_GE(boxes.size(), 2u) << "the question, then the reason it failed";
    EXPECT_TRUE(std::filesystem::exists(file)) << "the data file stays while its row may still be there";
    EXPECT_TRUE(editor->isVisible());
    EXPECT_FALSE(editor->wasDeleted());
}

TEST_F(SessionEditorTest, ReplayUsesTheShownValuesAndKeepsOnlyTheLastOne)
{
    SessionRecord rec = finished();
    store(rec);
    open(rec, true);
    choose(IDC_SES_ALGORITHM, "Child");
    click(IDC_SES_GRAPH);
    click(IDC_SES_DEBRIEFING);
    ASSERT_EQ(viewer.pages, (std::vector<int>{0, 1}));
    EXPECT_EQ(viewer.alive, 1) << "the first replay went with the second click";
    RecordingViewer::Replay* last = viewer.inspected.back();
    EXPECT_EQ(last->record.Manikin, -1);
    EXPECT_EQ(last->record.Serialidentifier, rec.Serialidentifier);
    EXPECT_EQ(last->algorithm.Name, "Child") << "the algorithm chosen now, not yet saved";
    editor.reset();
    EXPECT_EQ(viewer.alive, 0) << "closing the editor deletes the replay";
}

TEST_F(SessionEditorTest, DetailsOfAPersonSelectsTheNameTheEditorShowedLast)
{
    std::vector<std::pair<std::string, bool>> asked;
    DetailsEditors editors;
    editors.person = [&](const std::string& name, bool instructor) {
        asked.emplace_back(name, instructor);
        // As the person editor stores a new person.
        exec("INSERT INTO Person (Name, Instructor) VALUES ('Fay', '0')");
        tablePool.refresh(tableKind::Person);
        return std::string("Fay");
    };
    SessionDialog::setDetailsEditors(editors);
    SessionRecord rec = finished();
    store(rec);
    open(rec, true);
    EXPECT_FALSE(item(IDC_SES_SCENARIO_DETAILS)->isEnabled()) << "no scenario editor registered";
    click(IDC_SES_COMPRESSION_DETAILS);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], std::make_pair(std::string("Ann"), false));
    EXPECT_EQ(Utillib::getWindowText(combo(IDC_SES_COMPRESSION)), "Fay");
    EXPECT_GE(combo(IDC_SES_VENTILATION)->findText("Fay"), 0) << "the lists were filled again";
    EXPECT_TRUE(item(IDC_DB_SAVE)->isEnabled());
}

} // namespace
