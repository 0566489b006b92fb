#include "Database/AlgorithmTable.h"
#include "Database/CourseTable.h"
#include "Utillib/GString.h"
#include "Database/DatabaseDialog.h"
#include "Database/DbText.h"

#include "DbTestSupport.h"
#include "TestEditor.h"
#include "TestRecordsets.h"
#include "platform/CodePage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using dbtest::column;
using dbtest::named;
using dbtest::TestEditor;
using Names = std::vector<std::string>;
using namespace dbui;

class DatabaseDialogTest : public dbtest::DbTest {
protected:
    void addAlgorithms(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            exec("INSERT INTO Algorithm (Name) VALUES ('" + std::string(name) + "')");
    }
    Names storedNames()
    {
        Names result;
        AlgorithmTable table(database);
        table.open("");
        return column(table, &AlgorithmTable::Name);
    }
    // Makes every `operation` (INSERT, UPDATE or DELETE) on the table fail
    // in the data source, as a broken statement or a refusing server would.
    void refuse(const std::string& table, const std::string& operation)
    {
        std::string name = "refuse_" + table + "_" + operation;
        if (dbtest::usingPostgres()) {
            exec("CREATE FUNCTION " + name + "() RETURNS trigger LANGUAGE plpgsql AS "
                 "'BEGIN RAISE EXCEPTION ''refused''; END'");
            exec("CREATE TRIGGER " + name + " BEFORE " + operation + " ON " + table + " FOR EACH ROW EXECUTE FUNCTION "
                 + name + "()");
        } else {
            exec("CREATE TRIGGER " + name + " BEFORE " + operation + " ON " + table
                 + " BEGIN SELECT RAISE(ABORT, 'refused'); END");
        }
    }
    std::vector<int> promptNumbers()
    {
        std::vector<int> numbers;
        for (const auto& box : ui.boxes)
            numbers.push_back(std::stoi(GString::to_string(box.text.substr(7))));
        return numbers;
    }
};

TEST_F(DatabaseDialogTest, ButtonStateFollowsThePositionAndTheEdits)
{
    addAlgorithms({"A", "B", "C"});
    TestEditor editor;
    editor.start();
    struct Case {
        const char* show; // "" for a new entry
        bool edit;
        int bits;
    };
    const Case cases[] = {
        {"A", false, 8 + 16 + 64 + 128},
        {"B", false, 4 + 32 + 8 + 16 + 64 + 128},
        {"C", false, 4 + 32 + 64 + 128},
        {"B", true, 1 + 2 + 4 + 32 + 8 + 16 + 64 + 128},
        {"", false, 128 + 32 + 4},
        {"", true, 1 + 2 + 128 + 32 + 4},
    };
    for (const Case& c : cases) {
        if (*c.show)
            EXPECT_FALSE(editor.moveToRecord(named(c.show)));
        else
            editor.onNew();
        if (c.edit)
            editor.shown.eccRateLow = 80;
        EXPECT_EQ(editor.buttonState(), c.bits) << c.show << (c.edit ? " edited" : "");
        editor.onDiscard();
    }
}

TEST_F(DatabaseDialogTest, ButtonStateOfASingleRowAnEmptyAndAClosedTable)
{
    TestEditor closed;
    EXPECT_EQ(closed.buttonState(), 0);
    EXPECT_FALSE(closed.save());
    EXPECT_FALSE(closed.deleteRecord(true));

    TestEditor editor;
    editor.start();
    editor.onNew();
    EXPECT_EQ(editor.buttons, 128);
    editor.shown.Name = "Only";
    ASSERT_TRUE(editor.save());
    EXPECT_EQ(editor.buttons, 64 + 128);
}

TEST_F(DatabaseDialogTest, SavingANewEntryInsertsItOnce)
{
    TestEditor editor;
    editor.start();
    editor.onNew();
    EXPECT_TRUE(editor.isNewEntry());
    editor.shown = named("  Mine  ", 120);
    ASSERT_TRUE(editor.save());
    EXPECT_FALSE(editor.isNewEntry());
    EXPECT_EQ(editor.stored().Name, "Mine");
    EXPECT_EQ(storedNames(), (Names{"Mine"}));
    EXPECT_EQ(scalar("SELECT CAST(eccRateHigh AS INTEGER) FROM Algorithm"), "120");
    EXPECT_EQ(editor.notifications, 1);
    EXPECT_EQ(ui.waitDepth, 0);

    editor.shown.eccRateHigh = 125; // the same key again: an update of that row
    ASSERT_TRUE(editor.save());
    EXPECT_EQ(storedNames(), (Names{"Mine"}));
    EXPECT_EQ(scalar("SELECT CAST(eccRateHigh AS INTEGER) FROM Algorithm"), "125");
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DatabaseDialogTest, AnIncompleteKeyIsRefused)
{
    TestEditor editor;
    editor.start();
    editor.onNew();
    editor.shown.Name = "   ";
    editor.shown.eccRateHigh = 130;
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(promptNumbers(), std::vector<int>{4});
    EXPECT_EQ(ui.boxes[0].flags, MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Algorithm"), "0");
}

TEST_F(DatabaseDialogTest, ANewEntryUnderAStoredKeyAsksWhetherToReplaceIt)
{
    struct Case {
        int answer;
        bool saved;
        const char* storedName;
        const char* ecc;
        bool stillNew;
    };
    const Case cases[] = {
        {IDYES, true, "mine", "120", false},
        {IDNO, false, "Mine", "110", false}, // the stored record is shown instead
        {IDCANCEL, false, "Mine", "110", true},
    };
    for (const Case& c : cases) {
        exec("DELETE FROM Algorithm");
        addAlgorithms({"Mine"});
        exec("INSERT INTO Session (Serialidentifier, Algorithm) VALUES ('s', 'Mine')");
        ui.boxes.clear();
        ui.answers = {c.answer};
        TestEditor editor;
        editor.start();
        editor.onNew();
        editor.shown = named("mine", 120);
        EXPECT_EQ(editor.save(), c.saved);
        EXPECT_EQ(promptNumbers(), std::vector<int>{0});
        EXPECT_EQ(ui.boxes[0].flags, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3);
        EXPECT_EQ(storedNames(), (Names{c.storedName}));
        EXPECT_EQ(scalar("SELECT CAST(eccRateHigh AS INTEGER) FROM Algorithm"), c.ecc);
        EXPECT_EQ(editor.isNewEntry(), c.stillNew);
        EXPECT_EQ(editor.shown.Name, c.answer == IDNO ? "Mine" : "mine");
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "1"); // replacing does not cascade
        exec("DELETE FROM Session");
    }
}

// Another station stores a row under the key after this editor read the
// table: the check and the write hold the lock together, so the question
// about the stored row is asked (Cancel here) and no second row appears,
// both for a new entry and for a changed key.
TEST_F(DatabaseDialogTest, AKeyAnotherStationTookMeanwhileIsAskedAboutNotDuplicated)
{
    struct Case {
        const char* what;
        bool newEntry;
        int question;
    } cases[] = {
        {"a new entry", true, 0},
        {"a changed key", false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        exec("DELETE FROM Algorithm");
        addAlgorithms({"Old"});
        ui.boxes.clear();
        ui.answers = {c.newEntry ? IDCANCEL : IDNO};
        TestEditor editor;
        editor.start();
        if (c.newEntry)
            editor.onNew();
        else
            ASSERT_FALSE(editor.moveToRecord(named("Old")));
        exec("INSERT INTO Algorithm (Name, eccRateHigh) VALUES ('Taken', 99)"); // the other station
        editor.shown = named("Taken", 130);
        EXPECT_FALSE(editor.save());
        EXPECT_EQ(promptNumbers(), std::vector<int>{c.question});
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Algorithm WHERE Name = 'Taken'"), "1");
        EXPECT_EQ(scalar("SELECT CAST(eccRateHigh AS INTEGER) FROM Algorithm WHERE Name = 'Taken'"), "99");
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Algorithm WHERE Name = 'Old'"), "1");
    }
}

TEST_F(DatabaseDialogTest, ConfirmedUpdatesAskFirst)
{
    addAlgorithms({"Mine"});
    TestEditor editor;
    editor.askBeforeUpdate = true;
    editor.start();
    ASSERT_FALSE(editor.moveToRecord(named("MINE")));
    editor.shown.eccRateHigh = 150;
    ui.answers = {IDNO, IDYES};
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(scalar("SELECT CAST(eccRateHigh AS INTEGER) FROM Algorithm"), "110");
    EXPECT_TRUE(editor.save());
    EXPECT_EQ(scalar("SELECT CAST(eccRateHigh AS INTEGER) FROM Algorithm"), "150");
    EXPECT_EQ(promptNumbers(), (std::vector<int>{3, 3}));
    EXPECT_EQ(ui.boxes[0].flags, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON3);
}

TEST_F(DatabaseDialogTest, ARenameToAFreeKeyReplacesTheRowAndItsReferences)
{
    addAlgorithms({"A", "Old", "C"});
    exec("INSERT INTO Session (Serialidentifier, Algorithm) VALUES ('s', 'Old')");
    exec("INSERT INTO Scenario (Name, Algorithm) VALUES ('Sc', 'old')");
    TestEditor editor;
    editor.start();
    ASSERT_FALSE(editor.moveToRecord(named("Old")));
    editor.shown.Name = "New";
    ASSERT_TRUE(editor.save());
    EXPECT_EQ(storedNames(), (Names{"A", "C", "New"}));
    EXPECT_EQ(scalar("SELECT Algorithm FROM Session"), "New");
    EXPECT_EQ(scalar("SELECT Algorithm FROM Scenario"), "New");
    EXPECT_EQ(editor.stored().Name, "New");
    EXPECT_FALSE(editor.isNewEntry());
    EXPECT_EQ(editor.notifications, 2);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DatabaseDialogTest, ARenameToATakenKeyAsksBeforeReplacingTheOtherRow)
{
    addAlgorithms({"Old", "Taken"});
    TestEditor editor;
    editor.start();
    ASSERT_FALSE(editor.moveToRecord(named("Old")));
    editor.shown.Name = "TAKEN";
    ui.answers = {IDNO};
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(storedNames(), (Names{"Old", "Taken"}));

    ui.answers = {IDYES};
    EXPECT_TRUE(editor.save());
    EXPECT_EQ(storedNames(), (Names{"TAKEN"}));
    EXPECT_EQ(promptNumbers(), (std::vector<int>{1, 1}));
    EXPECT_EQ(ui.boxes[0].flags, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
}

TEST_F(DatabaseDialogTest, RowsOfOneNameAreEditedAndDeletedEachByItself)
{
    addAlgorithms({"Twin", "TWIN"});
    exec("INSERT INTO Session (Serialidentifier, Algorithm) VALUES ('s', 'twin')");
    TestEditor editor;
    editor.start();
    editor.onLast();
    ASSERT_EQ(editor.shown.Name, "TWIN");
    EXPECT_EQ(editor.buttonState() & (DatabaseDialog<AlgorithmTable>::buttonFirst | DatabaseDialog<AlgorithmTable>::buttonLast),
              DatabaseDialog<AlgorithmTable>::buttonFirst)
        << "the second row of the name is the last, not the first";
    editor.shown.eccRateHigh = 130;
    ASSERT_TRUE(editor.save());
    EXPECT_EQ(scalar("SELECT Name FROM Algorithm WHERE eccRateHigh > 120"), "TWIN");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Algorithm WHERE eccRateHigh > 120"), "1");

    ui.answers = {IDYES};
    ASSERT_TRUE(editor.deleteRecord(true));
    EXPECT_EQ(storedNames(), (Names{"Twin"}));
    EXPECT_EQ(editor.shown.Name, "Twin");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "1") << "the other row of the name still needs its sessions";

    ui.answers = {IDYES};
    ASSERT_TRUE(editor.deleteRecord(true));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "0") << "the last row of the name takes its sessions along";
    EXPECT_EQ(editor.removedNames, (Names{"TWIN", "Twin"}));
}

TEST_F(DatabaseDialogTest, TheRemovalHookRunsOnlyOnceTheRowIsGone)
{
    addAlgorithms({"A", "B"});
    TestEditor editor;
    editor.start();
    ASSERT_FALSE(editor.moveToRecord(named("A")));
    std::string rowsAtHook;
    bool transactionAtHook = true;
    editor.onRemoved = [&](const Algorithm&) {
        rowsAtHook = scalar("SELECT COUNT(*) FROM Algorithm WHERE Name = 'A'");
        transactionAtHook = database.inTransaction();
    };
    refuse("Algorithm", "DELETE");
    ui.answers = {IDYES};
    EXPECT_FALSE(editor.deleteRecord(true));
    EXPECT_TRUE(editor.removedNames.empty()) << "a row that stays keeps what belongs to it";
    exec(dbtest::usingPostgres() ? "DROP TRIGGER refuse_Algorithm_DELETE ON Algorithm" : "DROP TRIGGER refuse_Algorithm_DELETE");

    ui.answers = {IDYES};
    ASSERT_TRUE(editor.deleteRecord(true));
    EXPECT_EQ(editor.removedNames, (Names{"A"}));
    EXPECT_EQ(rowsAtHook, "0");
    EXPECT_FALSE(transactionAtHook);
}

TEST_F(DatabaseDialogTest, AKeyChangeWhoseCascadeFailsChangesNothing)
{
    addAlgorithms({"Old"});
    exec("INSERT INTO Session (Serialidentifier, Algorithm) VALUES ('s', 'Old')");
    exec("INSERT INTO Scenario (Name, Algorithm) VALUES ('Sc', 'Old')");
    refuse("Session", "UPDATE");
    TestEditor editor;
    editor.start();
    ASSERT_FALSE(editor.moveToRecord(named("Old")));
    editor.shown.Name = "New";
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(storedNames(), (Names{"Old"}));
    EXPECT_EQ(scalar("SELECT Algorithm FROM Scenario"), "Old") << "the scenarios' part of the cascade was rolled back";
    EXPECT_EQ(editor.stored().Name, "Old");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_FALSE(ui.boxes[0].duringTransaction);
}

TEST_F(DatabaseDialogTest, NothingIsReplacedBeforeEveryQuestionIsAnsweredOrWhenTheSaveFails)
{
    // Prompt 1 yes, then prompt 3 no: the other row stays.
    addAlgorithms({"Old", "Taken"});
    TestEditor editor;
    editor.askBeforeUpdate = true;
    editor.start();
    ASSERT_FALSE(editor.moveToRecord(named("Old")));
    editor.shown.Name = "Taken";
    ui.answers = {IDYES, IDNO};
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(promptNumbers(), (std::vector<int>{1, 3}));
    EXPECT_EQ(storedNames(), (Names{"Old", "Taken"}));

    // Prompt 0 yes, and the new row cannot be written: the stored one stays.
    ui.boxes.clear();
    refuse("Algorithm", "INSERT");
    editor.onDiscard();
    editor.onNew();
    editor.shown.Name = "Taken";
    ui.answers = {IDYES};
    EXPECT_FALSE(editor.save());
    EXPECT_EQ(storedNames(), (Names{"Old", "Taken"}));
    EXPECT_EQ(ui.boxes.at(0).text, L"prompt 0");
    ASSERT_EQ(ui.boxes.size(), 2u); // the question and the database error
    EXPECT_FALSE(ui.boxes[1].duringTransaction);
}

TEST_F(DatabaseDialogTest, NamesAreComparedIgnoringCaseForEveryLetter)
{
    addAlgorithms({"\xC4rzte", "M\xFCller"});
    exec("INSERT INTO Session (Serialidentifier, Algorithm) VALUES ('s1', '\xE4RZTE')");
    exec("INSERT INTO Session (Serialidentifier, Algorithm) VALUES ('s2', 'm\xFCller')");
    TestEditor editor;
    editor.start();

    editor.onNew(); // replacing "Ärzte" with "ärzte" leaves one row
    editor.shown.Name = "\xE4rzte";
    ui.answers = {IDYES};
    ASSERT_TRUE(editor.save());
    EXPECT_EQ(storedNames(), (Names{"M\xFCller", "\xE4rzte"}));

    ASSERT_FALSE(editor.moveToRecord(named("M\xFCller"))); // the rename reaches "müller"
    editor.shown.Name = "Maier";
    ASSERT_TRUE(editor.save());
    EXPECT_EQ(scalar("SELECT Algorithm FROM Session WHERE Serialidentifier = 's2'"), "Maier");

    editor.onNew(); // "MÜLLER" is free again; a rename onto "MAIER" replaces "Maier"
    editor.shown.Name = "M\xDCLLER";
    ASSERT_TRUE(editor.save());
    editor.shown.Name = "MAIER";
    ui.answers = {IDYES};
    ASSERT_TRUE(editor.save());
    EXPECT_EQ(storedNames(), (Names{"\xE4rzte", "MAIER"}));

    ASSERT_FALSE(editor.moveToRecord(named("\xC4RZTE"))); // deleting takes "ÄRZTE"'s sessions along
    ui.answers = {IDYES};
    ASSERT_TRUE(editor.deleteRecord(true));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session WHERE Serialidentifier = 's1'"), "0");
    EXPECT_TRUE(ui.boxes.size() == 3u) << "three questions and no error";
}

// Another station deleted or renamed the shown record meanwhile (a rename
// stores the record as a new row): whatever this station then does with it
// is refused with one message, nothing changes, and no assertion is logged.
TEST_F(DatabaseDialogTest, ARecordAnotherStationDeletedOrRenamedIsRefusedWithAMessage)
{
    struct Case {
        const char* what;
        const char* other;
        std::function<bool(TestEditor&)> act;
    } cases[] = {
        {"deleted, a field saved", "DELETE FROM Algorithm WHERE Name = 'Mine'",
         [](TestEditor& e) { e.shown.eccRateHigh = 140; return e.save(); }},
        {"renamed, a field saved", "UPDATE Algorithm SET Name = 'Moved' WHERE Name = 'Spare'; DELETE FROM Algorithm WHERE Name = 'Mine'",
         [](TestEditor& e) { e.shown.eccRateHigh = 140; return e.save(); }},
        {"deleted, saved under a new name", "DELETE FROM Algorithm WHERE Name = 'Mine'",
         [](TestEditor& e) { e.shown.Name = "New"; return e.save(); }},
        {"renamed, saved under a new name", "UPDATE Algorithm SET Name = 'Moved' WHERE Name = 'Spare'; DELETE FROM Algorithm WHERE Name = 'Mine'",
         [](TestEditor& e) { e.shown.Name = "New"; return e.save(); }},
        {"deleted, deleted here", "DELETE FROM Algorithm WHERE Name = 'Mine'",
         [](TestEditor& e) { return e.deleteRecord(true); }},
        {"renamed, deleted here", "UPDATE Algorithm SET Name = 'Moved' WHERE Name = 'Spare'; DELETE FROM Algorithm WHERE Name = 'Mine'",
         [](TestEditor& e) { return e.deleteRecord(true); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        exec("DELETE FROM Algorithm");
        addAlgorithms({"Mine", "Other", "Spare"});
        ui.boxes.clear();
        ui.answers = {IDYES};
        testsupport::LogCapture log;
        TestEditor editor;
        editor.start();
        ASSERT_FALSE(editor.moveToRecord(named("Mine")));
        std::string statements = c.other;
        for (std::size_t at = 0, end; at < statements.size(); at = end + 2) {
            end = std::min(statements.find("; ", at), statements.size());
            exec(statements.substr(at, end - at));
        }
        const Names before = storedNames();

        EXPECT_FALSE(c.act(editor));
        std::vector<std::wstring> told;
        for (const auto& box : ui.boxes) {
            EXPECT_FALSE(box.duringTransaction);
            if (box.text.rfind(L"prompt ", 0) != 0)
                told.push_back(box.text);
        }
        EXPECT_EQ(told, std::vector<std::wstring>{L"Another station has deleted or renamed \"Mine\"; nothing was stored."});
        EXPECT_EQ(storedNames(), before);
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Algorithm WHERE eccRateHigh <> 110"), "0");
        EXPECT_EQ(log.text().find("Assert failed"), std::string::npos) << log.text();
    }
}

TEST_F(DatabaseDialogTest, DeleteShowsTheNextRowOrThePreviousOneAfterTheLast)
{
    struct Case {
        std::initializer_list<const char*> rows;
        const char* remove;
        const char* shownAfter; // "" for a new, empty entry
        Names left;
    };
    const Case cases[] = {
        {{"A", "B", "C"}, "B", "C", {"A", "C"}},
        {{"A", "B", "C"}, "C", "B", {"A", "B"}},
        {{"A", "B", "C"}, "A", "B", {"B", "C"}},
        {{"Only"}, "Only", "", {}},
    };
    for (const Case& c : cases) {
        exec("DELETE FROM Algorithm");
        exec("DELETE FROM Session");
        addAlgorithms(c.rows);
        exec("INSERT INTO Session (Serialidentifier, Algorithm) VALUES ('s', '" + std::string(c.remove) + "')");
        ui.boxes.clear();
        ui.answers = {IDYES};
        TestEditor editor;
        editor.start();
        ASSERT_FALSE(editor.moveToRecord(named(c.remove)));
        EXPECT_TRUE(editor.deleteRecord(true));
        EXPECT_EQ(promptNumbers(), std::vector<int>{6});
        EXPECT_EQ(ui.boxes[0].flags, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
        EXPECT_EQ(storedNames(), c.left);
        EXPECT_EQ(editor.shown.Name, c.shownAfter) << c.remove;
        EXPECT_EQ(editor.isNewEntry(), *c.shownAfter == 0);
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "0") << "the cascade takes the sessions";
    }
}

TEST_F(DatabaseDialogTest, DeleteAsksAccordingToUnsavedEditsAndNoKeepsTheRow)
{
    addAlgorithms({"A"});
    TestEditor editor;
    editor.start();
    ASSERT_FALSE(editor.moveToRecord(named("A")));
    editor.shown.vRateLow = 3;
    EXPECT_FALSE(editor.deleteRecord(true)); // answered No
    EXPECT_EQ(promptNumbers(), std::vector<int>{5});
    EXPECT_EQ(storedNames(), (Names{"A"}));
}

TEST_F(DatabaseDialogTest, DeleteWithoutMovingOnLeavesTheRecordAsANewEntry)
{
    addAlgorithms({"A", "B"});
    ui.answers = {IDYES};
    TestEditor editor;
    editor.start();
    ASSERT_FALSE(editor.moveToRecord(named("A")));
    EXPECT_TRUE(editor.deleteRecord(false));
    EXPECT_TRUE(editor.isNewEntry());
    EXPECT_EQ(editor.shown.Name, "A");
    EXPECT_EQ(storedNames(), (Names{"B"}));
}

TEST_F(DatabaseDialogTest, AFailedDeleteIsReportedAndTheRecordStaysStored)
{
    addAlgorithms({"A", "B"});
    if (dbtest::usingPostgres()) {
        exec("CREATE FUNCTION keep_rows() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'rows are kept'; END $$ LANGUAGE plpgsql");
        exec("CREATE TRIGGER keep BEFORE DELETE ON Algorithm FOR EACH ROW EXECUTE FUNCTION keep_rows()");
    } else {
        exec("CREATE TRIGGER keep BEFORE DELETE ON Algorithm BEGIN SELECT RAISE(ABORT, 'rows are kept'); END");
    }
    ui.answers = {IDYES};
    TestEditor editor;
    editor.start();
    ASSERT_FALSE(editor.moveToRecord(named("A")));
    EXPECT_FALSE(editor.deleteRecord(false));
    EXPECT_FALSE(editor.isNewEntry());
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_NE(ui.boxes[1].text.find(L"rows are kept"), std::wstring::npos);
    EXPECT_EQ(storedNames(), (Names{"A", "B"}));
}

TEST_F(DatabaseDialogTest, LeavingAnEditedRecordAsksToSaveIt)
{
    addAlgorithms({"A", "B"});
    TestEditor editor;
    editor.start();

    struct Case {
        int answer;
        const char* shownAfter;
        const char* storedEcc;
    };
    const Case cases[] = {
        {IDCANCEL, "A", "110"}, // stays, edits kept
        {IDNO, "B", "110"},     // edits dropped, moves on
        {IDYES, "B", "99"},     // saved, moves on
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(editor.moveToRecord(named("A")));
        editor.shown.eccRateHigh = 99;
        ui.boxes.clear();
        ui.answers = {c.answer};
        editor.onNext();
        EXPECT_EQ(promptNumbers(), std::vector<int>{2});
        EXPECT_EQ(ui.boxes[0].flags, MB_YESNOCANCEL | MB_ICONQUESTION);
        EXPECT_EQ(editor.shown.Name, c.shownAfter);
        EXPECT_EQ(scalar("SELECT CAST(eccRateHigh AS INTEGER) FROM Algorithm WHERE Name = 'A'"), c.storedEcc);
        if (c.answer == IDCANCEL) {
            EXPECT_EQ(editor.shown.eccRateHigh, 99);
        }
        editor.onDiscard();
    }
}

TEST_F(DatabaseDialogTest, NavigationAndQuickFind)
{
    addAlgorithms({"A", "B", "C"});
    TestEditor editor;
    editor.start();
    editor.onFirst();
    EXPECT_EQ(editor.shown.Name, "A");
    editor.onNext();
    EXPECT_EQ(editor.shown.Name, "B");
    editor.onLast();
    EXPECT_EQ(editor.shown.Name, "C");
    editor.onPrevious();
    EXPECT_EQ(editor.shown.Name, "B");
    editor.onNew();
    editor.onPrevious(); // from a new entry: the last row
    EXPECT_EQ(editor.shown.Name, "C");
    EXPECT_FALSE(editor.isNewEntry());

    editor.onQuickFind("b");
    EXPECT_EQ(editor.shown.Name, "B");
    EXPECT_FALSE(editor.isNewEntry());
    EXPECT_EQ(editor.getSelectedName(), "B");

    editor.onQuickFind("Unknown");
    EXPECT_TRUE(editor.isNewEntry());
    EXPECT_EQ(editor.shown, named("Unknown"));
    EXPECT_FALSE(editor.isChanged());
    EXPECT_TRUE(ui.boxes.empty());
}

// Names are values, never SQL: whatever quotes and statements they hold,
// they are stored, found, renamed and deleted as they are, with their
// references, and nothing else is touched.
TEST_F(DatabaseDialogTest, ANameHoldingQuotesAndSqlIsStoredAndFoundAsItIs)
{
    const std::string names[] = {
        "O'Brien's \"best\"",
        "x'); DROP TABLE Session; --",
        "a' OR '1'='1",
        "100% _under_ \\ back\\slash; DELETE FROM Algorithm",
    };
    addAlgorithms({"Keep"});
    exec("INSERT INTO Session (Serialidentifier, Algorithm) VALUES ('keep', 'Keep')");
    for (const std::string& name : names) {
        TestEditor editor;
        editor.start();
        editor.onNew();
        editor.shown = named(name, 121);
        ASSERT_TRUE(editor.save()) << name;
        EXPECT_EQ(scalar("SELECT Name FROM Algorithm WHERE Name = '" + DBUtil::quote(name) + "'"), name);
        exec("INSERT INTO Session (Serialidentifier, Algorithm) VALUES ('s', '" + DBUtil::quote(name) + "')");

        editor.onQuickFind(name);
        EXPECT_FALSE(editor.isNewEntry()) << name;
        EXPECT_EQ(editor.shown.eccRateHigh, 121);
        EXPECT_EQ(editor.algorithms.findByName(name).Name, name);

        std::string renamed = name + " 'renamed'";
        editor.shown.Name = renamed;
        ASSERT_TRUE(editor.save()) << name;
        EXPECT_EQ(scalar("SELECT Algorithm FROM Session WHERE Serialidentifier = 's'"), renamed);

        ui.answers = {IDYES};
        EXPECT_TRUE(editor.deleteRecord(true)) << name;
        EXPECT_EQ(storedNames(), (Names{"Keep"})) << name;
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "1") << "only the renamed name's session went";
    }
    EXPECT_EQ(scalar("SELECT Algorithm FROM Session"), "Keep");
    EXPECT_EQ(promptNumbers(), (std::vector<int>{6, 6, 6, 6}));
}

TEST_F(DatabaseDialogTest, ChangesTheControlsDoNotShowCountAsEdits)
{
    addAlgorithms({"A"});
    TestEditor editor;
    editor.start();
    ASSERT_FALSE(editor.moveToRecord(named("A")));
    editor.changed = true;
    EXPECT_EQ(editor.buttonState() & 3, 3);
    ui.answers = {IDCANCEL};
    editor.onNew();
    EXPECT_FALSE(editor.isNewEntry());
    EXPECT_EQ(promptNumbers(), std::vector<int>{2});
}

// A course editor without a window on a Western station: the course's
// instructor 田中 reads "??" there. Whatever the editor writes whole (a new
// key, a row stored again, a copy) must never store that reading.
TEST_F(DatabaseDialogTest, ARowWrittenWholeNeverStoresATextAsThisStationReadItWithoutItsLetters)
{
    const std::string tanakaSql = dbtest::usingPostgres() ? "chr(30000) || chr(20013)" : "char(30000, 20013)";
    struct CourseEditor : DatabaseDialog<CourseTable> {
        CourseTable courses{database};
        CourseRecord shown;
        CourseEditor() { table = &courses; }
        void showRecord(const CourseRecord& rec) override { shown = rec; }
        CourseRecord readRecord() override { return shown; }
        bool isChanged() override { return false; }
        void enableButtons(int) override {}
        std::wstring messageText(int number) override { return L"prompt " + std::to_wstring(number); }
        void notifyChanged() override {}
    };
    struct Case {
        const char* what;
        // what another station does after the editor showed the course
        const char* other;
        std::function<void(CourseEditor&)> edit;
        bool stored;
        // the message of a refusal; none for the one of names this station cannot show
        std::wstring told = {};
    } cases[] = {
        {"a new time", "", [](CourseEditor& e) { e.shown.Time = "11:30"; }, false},
        {"a new date, the course deleted meanwhile", "DELETE FROM Course",
         [](CourseEditor& e) { e.shown.Date = "2026-12-04"; }, false,
         L"Another station has deleted or renamed \"?? on 2026-12-03 at 11:00\"; nothing was stored."},
        {"a copy stored as a new entry after the course went", "DELETE FROM Course",
         [](CourseEditor& e) {
             CourseRecord copy = e.shown;
             copy.Note = "copied";
             e.courses.open("");
             e.newEntry(copy);
         },
         false},
        {"the note only", "", [](CourseEditor& e) { e.shown.Note = "mine"; }, true},
        {"the note only, the time changed meanwhile", "UPDATE Course SET Time = '12:00'",
         [](CourseEditor& e) { e.shown.Note = "mine"; }, true},
    };
    platform::setAnsiCodePage(1252);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        exec("DELETE FROM Course");
        exec("DELETE FROM Session");
        exec("INSERT INTO Course (Instructor, Date, Time, Note) VALUES (" + tanakaSql + ", '2026-12-03', '11:00', 'n')");
        exec("INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime) VALUES ('t', " + tanakaSql
             + ", '2026-12-03', '11:00')");
        ui.boxes.clear();
        CourseEditor editor;
        ASSERT_TRUE(editor.courses.open(""));
        editor.onFirst();
        ASSERT_EQ(editor.shown.Instructor, "??");
        if (*c.other)
            exec(c.other);
        const std::string coursesBefore = scalar("SELECT COUNT(*) FROM Course");
        c.edit(editor);

        EXPECT_EQ(editor.save(), c.stored);
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Course WHERE Instructor LIKE '%?%'"), "0");
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session WHERE CourseInstructor LIKE '%?%'"), "0");
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM Course"), coursesBefore);
        if (c.stored) {
            EXPECT_EQ(scalar("SELECT Note FROM Course"), "mine");
            EXPECT_EQ(scalar("SELECT COUNT(*) FROM Course WHERE Instructor = " + tanakaSql), "1");
            EXPECT_TRUE(ui.boxes.empty());
        } else {
            ASSERT_EQ(ui.boxes.size(), 1u);
            EXPECT_EQ(ui.boxes[0].text, c.told.empty() ? DBUtil::unshownNameMessage() : c.told);
            EXPECT_FALSE(ui.boxes[0].duringTransaction);
            EXPECT_EQ(scalar("SELECT COUNT(*) FROM Course WHERE Note <> 'n'"), "0");
            EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session WHERE CourseTime = '11:00' AND CourseDate = '2026-12-03'"), "1");
        }
    }
}

} // namespace
