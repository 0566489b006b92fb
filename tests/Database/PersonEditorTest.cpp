// The person editor on the offscreen platform over a real data source.
#include "Database/PersonDialog.h"

#include "EditorTestSupport.h"
#include "res/resource.h"

#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace {

class PersonEditorTest : public edtest::EditorTest {
protected:
    void TearDown() override
    {
        editor.reset();
        EditorTest::TearDown();
    }
    PersonDialog& open(const std::string& name = "", bool instructor = false, bool allowDelete = true)
    {
        editor.reset();
        editor = std::make_unique<PersonDialog>(name, instructor, allowDelete);
        return show(editor, IDD_PERSON);
    }
    void addPerson(const std::string& name, int instructor = 0)
    {
        exec("INSERT INTO Person (Name, Instructor) VALUES ('" + name + "', " + (instructor ? "TRUE" : "FALSE") + ")");
    }
    bool checked(int id) const { return platform::buttonCheck(item(id)) == 1; }
    std::string count(const std::string& where) { return scalar("SELECT COUNT(*) FROM " + where); }

    std::unique_ptr<PersonDialog> editor;
};

TEST_F(PersonEditorTest, TheMenuOpensANewEntryAndDetailsOpenThePersonNamed)
{
    addPerson("Anna Alt");
    addPerson("Bert Bode");
    open();
    EXPECT_EQ(text(IDC_EDITOR_NAME), "");
    EXPECT_EQ(enabledButtons(), (std::vector<int>{IDC_DB_NEW, IDC_DB_PREVIOUS, IDC_DB_FIRST}));
    click(IDC_DB_FIRST);
    EXPECT_EQ(text(IDC_EDITOR_NAME), "Anna Alt");
    EXPECT_TRUE(item(IDC_DB_DELETE)->isEnabled()) << "the menu's editor deletes stored persons";

    PersonDialog& details = open("BERT bode", false, false);
    EXPECT_EQ(text(IDC_EDITOR_NAME), "Bert Bode");
    EXPECT_EQ(details.getSelectedName(), "Bert Bode") << "the stored spelling goes back";
    EXPECT_FALSE(item(IDC_DB_DELETE)->isEnabled());
    click(IDC_DB_PREVIOUS);
    EXPECT_EQ(text(IDC_EDITOR_NAME), "Anna Alt");
    EXPECT_FALSE(item(IDC_DB_DELETE)->isEnabled()) << "never from a Details button";
}

TEST_F(PersonEditorTest, AnUnknownInstructorBecomesAnInstructorOnSave)
{
    PersonDialog& e = open("Clara Chef", true, false);
    EXPECT_EQ(text(IDC_EDITOR_NAME), "Clara Chef");
    EXPECT_TRUE(checked(IDC_PERSON_INSTRUCTOR));
    type(IDC_PERSON_PHONE, "0123 456");
    click(IDC_DB_SAVE);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(count("Person WHERE Name = 'Clara Chef' AND Instructor = TRUE AND Phone = '0123 456'"), "1");
    EXPECT_EQ(e.getSelectedName(), "Clara Chef");

    // New from an instructor's box starts as an instructor as well.
    click(IDC_DB_NEW);
    EXPECT_EQ(text(IDC_EDITOR_NAME), "");
    EXPECT_TRUE(checked(IDC_PERSON_INSTRUCTOR));
    EXPECT_FALSE(item(IDC_DB_SAVE)->isEnabled()) << "the new entry starts unchanged";
}

TEST_F(PersonEditorTest, NamesAreTrimmedAndANameIsNeeded)
{
    open();
    type(IDC_EDITOR_NAME, "   ");
    type(IDC_PERSON_DEGREE, "MD");
    click(IDC_DB_SAVE);
    ASSERT_EQ(boxTexts(), (std::vector<std::wstring>{L"A person has to have a name."}));
    EXPECT_EQ(count("Person"), "0");
    type(IDC_EDITOR_NAME, "Dora Dahl  ");
    click(IDC_DB_SAVE);
    EXPECT_EQ(count("Person WHERE Name = 'Dora Dahl' AND Degree = 'MD'"), "1");
    EXPECT_FALSE(item(IDC_DB_SAVE)->isEnabled()) << "the trimmed name is what is stored";
}

TEST_F(PersonEditorTest, ADuplicateNameAsksAndNoShowsTheStoredPerson)
{
    addPerson("Emil Eck");
    exec("UPDATE Person SET Phone = '111' WHERE Name = 'Emil Eck'");
    open();
    type(IDC_EDITOR_NAME, "emil eck");
    ui.answers = {dbui::IDNO};
    click(IDC_DB_SAVE);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text.substr(0, 43), L"A person with the same name already exists!");
    EXPECT_EQ(ui.boxes[0].flags, dbui::MB_YESNOCANCEL | dbui::MB_ICONQUESTION | dbui::MB_DEFBUTTON3);
    EXPECT_EQ(text(IDC_EDITOR_NAME), "Emil Eck");
    EXPECT_EQ(text(IDC_PERSON_PHONE), "111");
    EXPECT_EQ(count("Person"), "1");
}

TEST_F(PersonEditorTest, RenamingAndDeletingReachSessionsAndCourses)
{
    addPerson("Fritz Fink", 1);
    exec("INSERT INTO Session (Serialidentifier, PersonVentilation, ApprovedBy) VALUES ('a1', 'Fritz Fink', 'Fritz Fink')");
    exec("INSERT INTO Course (Instructor, Date, Time) VALUES ('Fritz Fink', '2026-12-10', '09:00')");
    open("Fritz Fink");
    type(IDC_EDITOR_NAME, "Fritz Falk");
    click(IDC_DB_SAVE);
    EXPECT_TRUE(ui.boxes.empty()) << "the person editor asks nothing before a rename";
    EXPECT_EQ(count("Person WHERE Name = 'Fritz Falk' AND Instructor = TRUE"), "1");
    EXPECT_EQ(count("Session WHERE PersonVentilation = 'Fritz Falk' AND ApprovedBy = 'Fritz Falk'"), "1");
    EXPECT_EQ(count("Course WHERE Instructor = 'Fritz Falk'"), "1");
    EXPECT_EQ(count("Person"), "1");

    ui.answers = {dbui::IDYES};
    click(IDC_DB_DELETE);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, L"Are you sure you want to remove this person\nand all related sessions and "
                                L"courses?\nYou can not undo this operation.");
    EXPECT_EQ(ui.boxes[0].flags & dbui::MB_DEFBUTTON2, dbui::MB_DEFBUTTON2) << "No is the default";
    EXPECT_EQ(count("Person"), "0");
    EXPECT_EQ(count("Session"), "0");
    EXPECT_EQ(count("Course"), "0");
    EXPECT_EQ(text(IDC_EDITOR_NAME), "") << "an empty table leaves a new entry";
}

TEST_F(PersonEditorTest, EnterMovesOnExceptInTheMultiLineFields)
{
    PersonDialog& e = open();
    ASSERT_EQ(QApplication::focusWidget(), item(IDC_EDITOR_NAME));
    enter();
    EXPECT_EQ(QApplication::focusWidget(), item(IDC_PERSON_ADDRESS));
    QTest::keyClicks(item(IDC_PERSON_ADDRESS), "Street 1");
    enter();
    QTest::keyClicks(item(IDC_PERSON_ADDRESS), "Town");
    EXPECT_EQ(QApplication::focusWidget(), item(IDC_PERSON_ADDRESS)) << "Enter is a new line there";
    EXPECT_EQ(qobject_cast<QPlainTextEdit*>(item(IDC_PERSON_ADDRESS))->toPlainText(), "Street 1\nTown");
    item(IDC_PERSON_INSTRUCTOR)->setFocus();
    enter();
    EXPECT_EQ(QApplication::focusWidget(), item(IDC_PERSON_NOTES));
    // From the notes the dialog's OK goes back to the name.
    e.sendCommand(IDOK, BN_CLICKED);
    EXPECT_EQ(QApplication::focusWidget(), item(IDC_EDITOR_NAME));
    EXPECT_TRUE(e.isVisible());

    // Limits: 80 characters of a name, 250 of an address.
    type(IDC_EDITOR_NAME, QString(90, 'n'));
    EXPECT_EQ(text(IDC_EDITOR_NAME).size(), 80u);
    qobject_cast<QPlainTextEdit*>(item(IDC_PERSON_ADDRESS))->setPlainText(QString(300, 'a'));
    EXPECT_EQ(qobject_cast<QPlainTextEdit*>(item(IDC_PERSON_ADDRESS))->toPlainText().size(), 250);
}

TEST_F(PersonEditorTest, Screenshot)
{
    addPerson("Gina Graf", 1);
    exec("UPDATE Person SET Address = 'Lindenweg 4', Phone = '0711 2345', Degree = 'Paramedic', Note = 'Course "
         "leader' WHERE Name = 'Gina Graf'");
    PersonDialog& e = open("Gina Graf");
    EXPECT_TRUE(e.grab().save(QString(SCREENSHOT_DIR) + "/person-editor.png"));
}

} // namespace
