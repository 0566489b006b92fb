// The scenario editor on the offscreen platform over a real data source,
// with the algorithm and event editors it opens.
#include "Database/AlgorithmDialog.h"
#include "Database/EventDialogs.h"
#include "Database/ScenarioDialog.h"
#include "Utillib/WindowUtil.h"
#include "config/TrainingMode.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"

#include "EditorTestSupport.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

class ScenarioEditorTest : public edtest::EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        exec("INSERT INTO Algorithm (Name) VALUES ('Beta')");
        exec("INSERT INTO Algorithm (Name) VALUES ('Alpha')");
    }
    void TearDown() override
    {
        editor.reset();
        EditorTest::TearDown();
    }
    ScenarioDialog& open(const std::string& name = "", bool allowDelete = true)
    {
        ScenarioRecord start;
        start.Name = name;
        editor.reset();
        editor = std::make_unique<ScenarioDialog>(start, allowDelete);
        return show(editor, IDD_SCENARIO);
    }
    platform::ComboBox* combo(int id) const { return platform::dlgItem<platform::ComboBox>(current, id); }
    std::string comboText(int id) const { return Utillib::getComboText(combo(id), !combo(id)->isDropDownList()); }
    bool checked(int id) const { return platform::buttonCheck(item(id)) == 1; }
    std::string count(const std::string& where) { return scalar("SELECT COUNT(*) FROM " + where); }
    void addScenario(const std::string& name, const std::string& algorithm = "Beta")
    {
        exec("INSERT INTO Scenario (Name, Algorithm, Duration) VALUES ('" + name + "', '" + algorithm + "', 300)");
    }

    std::unique_ptr<ScenarioDialog> editor;
};

TEST_F(ScenarioEditorTest, TheMenuStartsANewEntryThatNeedsAName)
{
    addScenario("Night shift");
    ScenarioDialog& e = open();
    EXPECT_EQ(text(IDC_EDITOR_NAME), "");
    EXPECT_EQ(comboText(IDC_SCENARIO_DURATION), "10:00");
    EXPECT_EQ(comboText(IDC_SCENARIO_ALGORITHM), "Alpha") << "the first algorithm of the sorted list";
    EXPECT_EQ(comboText(IDC_SCENARIO_MODE), trainingModeName(TWO_PERSON));
    EXPECT_TRUE(checked(IDC_SCENARIO_REGISTER));
    EXPECT_EQ(enabledButtons(), (std::vector<int>{IDC_DB_NEW, IDC_DB_PREVIOUS, IDC_DB_FIRST})) << "the entry starts unchanged";

    e.sendCommand(IDC_DB_SAVE, BN_CLICKED);
    EXPECT_EQ(boxTexts(), (std::vector<std::wstring>{L"A scenario has to have a name."}));
    type(IDC_EDITOR_NAME, "Day shift");
    click(IDC_DB_SAVE);
    EXPECT_EQ(count("Scenario WHERE Name = 'Day shift' AND Algorithm = 'Alpha' AND Duration = 600 AND "
                    "TrainingMode = 1 AND RegisterEvents = TRUE"),
              "1");

    // Details for a stored scenario in another letter case: shown, handed back, no Delete.
    ScenarioDialog& details = open("NIGHT SHIFT", false);
    EXPECT_EQ(text(IDC_EDITOR_NAME), "Night shift");
    EXPECT_EQ(comboText(IDC_SCENARIO_DURATION), "05:00");
    EXPECT_EQ(comboText(IDC_SCENARIO_ALGORITHM), "Beta");
    EXPECT_FALSE(item(IDC_DB_DELETE)->isEnabled());
    EXPECT_EQ(details.getSelectedName(), "Night shift");
}

TEST_F(ScenarioEditorTest, DurationsAndTrainingModesAreChangesThatSave)
{
    addScenario("Drill");
    open("Drill");
    type(IDC_SCENARIO_DURATION, "12:30");
    QApplication::processEvents();
    EXPECT_TRUE(item(IDC_DB_SAVE)->isEnabled()) << "a typed duration enables Save";
    click(IDC_DB_SAVE);
    EXPECT_EQ(scalar("SELECT Duration FROM Scenario WHERE Name = 'Drill'"), "750");

    platform::ComboBox* duration = combo(IDC_SCENARIO_DURATION);
    duration->setCurSel(duration->getCount() - 1);
    editor->sendCommand(IDC_SCENARIO_DURATION, CBN_SELCHANGE);
    QApplication::processEvents();
    EXPECT_TRUE(item(IDC_DB_SAVE)->isEnabled());
    click(IDC_DB_SAVE);
    EXPECT_EQ(scalar("SELECT Duration FROM Scenario WHERE Name = 'Drill'"), "-1") << "No limit";

    combo(IDC_SCENARIO_MODE)->setCurSel(VENTILATION_ONLY);
    editor->sendCommand(IDC_SCENARIO_MODE, CBN_SELCHANGE);
    EXPECT_TRUE(item(IDC_DB_SAVE)->isEnabled()) << "the training mode enables Save at once";
    click(IDC_DB_SAVE);
    EXPECT_EQ(scalar("SELECT TrainingMode FROM Scenario WHERE Name = 'Drill'"), "2");
}

TEST_F(ScenarioEditorTest, DetailsSelectsTheAlgorithmShownLastEvenANewOne)
{
    addScenario("Drill");
    open("Drill");
    whenModal([](QWidget* modal) {
        auto* algorithms = dynamic_cast<AlgorithmDialog*>(modal);
        ASSERT_NE(algorithms, nullptr);
        EXPECT_EQ(platform::qStringToAnsi(algorithms->nameField()->text()), "Beta");
        EXPECT_FALSE(platform::dlgItem(algorithms, IDC_DB_DELETE)->isEnabled());
        algorithms->sendCommand(IDC_DB_NEW, BN_CLICKED);
        algorithms->nameField()->setText("Gamma");
        algorithms->sendCommand(IDC_DB_SAVE, BN_CLICKED);
        algorithms->reject();
    });
    click(IDC_SCENARIO_DETAILS);
    EXPECT_EQ(count("Algorithm WHERE Name = 'Gamma'"), "1");
    EXPECT_EQ(comboText(IDC_SCENARIO_ALGORITHM), "Gamma");
    EXPECT_EQ(combo(IDC_SCENARIO_ALGORITHM)->getCount(), 3) << "the list was filled again";
    EXPECT_TRUE(item(IDC_DB_SAVE)->isEnabled());
}

TEST_F(ScenarioEditorTest, EditEventsSavesANewScenarioFirstAndChecksRegistering)
{
    open();
    type(IDC_EDITOR_NAME, "Fresh");
    click(IDC_SCENARIO_REGISTER);
    ASSERT_FALSE(checked(IDC_SCENARIO_REGISTER));
    std::string label;
    whenModal([&label](QWidget* modal) {
        auto* events = dynamic_cast<EditEventsDialog*>(modal);
        ASSERT_NE(events, nullptr);
        label = platform::qStringToAnsi(platform::windowText(platform::dlgItem(events, IDC_EVENTS_LABEL)));
        events->reject();
    });
    click(IDC_SCENARIO_EDIT_EVENTS);
    EXPECT_EQ(label, "Events associated with scenario 'Fresh':");
    EXPECT_EQ(count("Scenario WHERE Name = 'Fresh' AND RegisterEvents = FALSE"), "1") << "saved before the events";
    EXPECT_TRUE(checked(IDC_SCENARIO_REGISTER));
    EXPECT_TRUE(item(IDC_DB_SAVE)->isEnabled()) << "the check is a change to save";

    // Without a name nothing is saved and the event editor does not open.
    ui.answers = {dbui::IDNO}; // drop the checked box
    click(IDC_DB_NEW);
    ASSERT_EQ(text(IDC_EDITOR_NAME), "");
    ui.boxes.clear();
    editor->sendCommand(IDC_SCENARIO_EDIT_EVENTS, BN_CLICKED);
    EXPECT_EQ(boxTexts(), (std::vector<std::wstring>{L"A scenario has to have a name."}));
    EXPECT_EQ(count("Scenario"), "1");
}

TEST_F(ScenarioEditorTest, RenamingAndDeletingReachSessionsEventsAndCourses)
{
    addScenario("Drill");
    exec("INSERT INTO Session (Serialidentifier, Scenario) VALUES ('s1', 'Drill')");
    exec("INSERT INTO Events (Scenario, \"order\", Name) VALUES ('Drill', 0, 'Pads')");
    exec("INSERT INTO Course (Instructor, Date, Time, DefaultScenario) VALUES ('Ina', '2026-12-10', '09:00', 'Drill')");
    open("Drill");
    type(IDC_EDITOR_NAME, "Drill 2");
    click(IDC_DB_SAVE);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(count("Session WHERE Scenario = 'Drill 2'"), "1");
    EXPECT_EQ(count("Events WHERE Scenario = 'Drill 2'"), "1");
    EXPECT_EQ(count("Course WHERE DefaultScenario = 'Drill 2'"), "1");
    EXPECT_EQ(count("Scenario"), "1");

    ui.answers = {dbui::IDYES};
    click(IDC_DB_DELETE);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, L"Are you sure you want to remove this scenario\nand all related sessions?\nYou can not "
                                L"undo this operation.");
    EXPECT_EQ(ui.boxes[0].flags & dbui::MB_DEFBUTTON2, dbui::MB_DEFBUTTON2) << "No is the default";
    EXPECT_EQ(count("Scenario"), "0");
    EXPECT_EQ(count("Session"), "0");
    EXPECT_EQ(count("Events"), "0");
    EXPECT_EQ(count("Course WHERE DefaultScenario = 'Drill 2'"), "0");
}

TEST_F(ScenarioEditorTest, EnterFromTheRegisterBoxGoesBackToTheName)
{
    ScenarioDialog& e = open();
    item(IDC_SCENARIO_REGISTER)->setFocus();
    enter();
    EXPECT_EQ(QApplication::focusWidget(), item(IDC_EDITOR_NAME));
    enter();
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == item(IDC_SCENARIO_DURATION) || item(IDC_SCENARIO_DURATION)->isAncestorOf(focus))
        << "on to the duration box";
    EXPECT_TRUE(e.isVisible());
}

TEST_F(ScenarioEditorTest, Screenshot)
{
    addScenario("Adult CPR, two rescuers");
    ScenarioDialog& e = open("Adult CPR, two rescuers");
    EXPECT_TRUE(e.grab().save(QString(SCREENSHOT_DIR) + "/scenario-editor.png"));
}

} // namespace
