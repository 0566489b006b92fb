// The event list editor and the event editor on the offscreen platform over
// a real data source.
#include "Database/EventDialogs.h"

#include "EditorTestSupport.h"
#include "ForeignLock.h"
#include "platform/WindowStyles.h"
#include "res/resource.h"

#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

class EventEditorTest : public edtest::EditorTest {
protected:
    void TearDown() override
    {
        editor.reset();
        EditorTest::TearDown();
    }
    EditEventsDialog& open(const std::string& scenario = "Drill")
    {
        editor.reset();
        editor = std::make_unique<EditEventsDialog>(scenario);
        return show(editor, IDD_EDIT_EVENTS);
    }
    QTreeWidget* list() const { return platform::dlgItem<QTreeWidget>(current, IDC_EVENTS_LIST); }
    Names shownNames() const
    {
        Names names;
        for (int i = 0; i < list()->topLevelItemCount(); ++i)
            names.push_back(list()->topLevelItem(i)->text(1).toStdString());
        return names;
    }
    int selectedRow() const
    {
        QList<QTreeWidgetItem*> rows = list()->selectedItems();
        return rows.isEmpty() ? -1 : list()->indexOfTopLevelItem(rows.front());
    }
    void selectRow(int row) { list()->setCurrentItem(list()->topLevelItem(row)); }
    Names storedNames()
    {
        ScenarioEvents events("Drill");
        Names names;
        for (const EventRecord& e : events.load())
            names.push_back(e.Name);
        return names;
    }
    std::string count(const std::string& where) { return scalar("SELECT COUNT(*) FROM " + where); }
    // Answers the event editor that the next command opens.
    void whenEventDialog(std::function<void(EventDialog&)> act)
    {
        whenModal([act](QWidget* modal) {
            auto* dialog = dynamic_cast<EventDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
    }

    std::unique_ptr<EditEventsDialog> editor;
};

TEST_F(EventEditorTest, TheDefaultListIsEditedAndStoredInItsNewOrderOnlyAfterYes)
{
    EditEventsDialog& e = open();
    const Names defaults = shownNames();
    ASSERT_EQ(defaults.size(), 7u) << "a scenario without events shows the built-in list";
    EXPECT_EQ(platform::qStringToAnsi(platform::windowText(item(IDC_EVENTS_LABEL))),
              "Events associated with scenario 'Drill':");

    // Closing without a change writes nothing and asks nothing.
    click(IDCANCEL);
    EXPECT_FALSE(e.isVisible());
    EXPECT_EQ(e.result(), IDCANCEL);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(count("Events"), "0");

    open();
    selectRow(0);
    click(IDC_EVENTS_DOWN);
    Names moved = defaults;
    std::swap(moved[0], moved[1]);
    EXPECT_EQ(shownNames(), moved);
    EXPECT_EQ(selectedRow(), 1) << "the moved event stays selected";

    // No drops the edits, Cancel keeps the editor open, Yes stores them.
    ui.answers = {dbui::IDCANCEL, dbui::IDNO};
    click(IDCANCEL);
    EXPECT_TRUE(editor->isVisible());
    ASSERT_EQ(boxTexts(), (std::vector<std::wstring>{L"Save changes?"}));
    EXPECT_EQ(ui.boxes[0].flags, dbui::MB_YESNOCANCEL | dbui::MB_ICONQUESTION);
    click(IDCANCEL);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(count("Events"), "0");

    open();
    selectRow(0);
    click(IDC_EVENTS_DOWN);
    ui.answers = {dbui::IDYES};
    click(IDCANCEL);
    EXPECT_EQ(editor->result(), IDOK);
    EXPECT_EQ(storedNames(), moved) << "the toolbar's order follows";
    EXPECT_EQ(scalar("SELECT MAX(\"order\") FROM Events WHERE Scenario = 'Drill'"), "6");
    EXPECT_EQ(count("Events WHERE Scenario = 'Drill' AND \"order\" = 0 AND Name = '" + moved[0] + "'"), "1");

    // Deleting every event stores none, so the built-in list is back.
    open();
    EXPECT_EQ(shownNames(), moved);
    for (int i = 0; i < 7; ++i) {
        selectRow(list()->topLevelItemCount() - 1);
        click(IDC_DB_DELETE);
        EXPECT_EQ(selectedRow(), -1) << "after the last one nothing is selected";
    }
    ui.answers = {dbui::IDYES};
    click(IDCANCEL);
    EXPECT_EQ(count("Events"), "0");
    EXPECT_EQ(storedNames(), defaults);
}

TEST_F(EventEditorTest, AddEditDeleteAndMoveWorkOnTheSelection)
{
    open();
    // Nothing selected: the commands change nothing.
    list()->clearSelection();
    for (int id : {IDC_DB_DELETE, IDC_EVENTS_UP, IDC_EVENTS_DOWN})
        click(id);
    EXPECT_FALSE(editor->isChanged());
    selectRow(0);
    click(IDC_EVENTS_UP);
    selectRow(6);
    click(IDC_EVENTS_DOWN);
    EXPECT_FALSE(editor->isChanged()) << "no move past either end";

    // Add, then Cancel: nothing added.
    whenEventDialog([](EventDialog& d) { d.reject(); });
    click(IDC_EVENTS_ADD);
    EXPECT_EQ(list()->topLevelItemCount(), 7);
    EXPECT_FALSE(editor->isChanged());

    // Add with the proposed texts and another icon.
    whenEventDialog([](EventDialog& d) {
        auto* name = platform::dlgItem<QLineEdit>(&d, IDC_EDITOR_NAME);
        EXPECT_EQ(name->text(), "Name");
        EXPECT_EQ(name->selectedText(), "Name") << "typing replaces the proposal";
        EXPECT_EQ(platform::dlgItem<QLineEdit>(&d, IDC_EVENT_TOOLTIP)->text(), "Tooltip");
        QTest::keyClicks(name, "Shock");
        platform::dlgItem<QListWidget>(&d, IDC_EVENT_ICONS)->setCurrentRow(12);
        QTest::mouseClick(platform::dlgItem<QAbstractButton>(&d, IDOK), Qt::LeftButton);
    });
    click(IDC_EVENTS_ADD);
    ASSERT_EQ(list()->topLevelItemCount(), 8);
    EXPECT_EQ(shownNames().back(), "Shock");
    EXPECT_EQ(selectedRow(), 7);
    EXPECT_TRUE(editor->isChanged());
    EXPECT_EQ(editor->workingCopy().back().Icon, 12);
    EXPECT_EQ(editor->workingCopy().back().Scenario, "Drill");

    // A double click edits the selected event.
    whenEventDialog([](EventDialog& d) {
        EXPECT_EQ(platform::dlgItem<QLineEdit>(&d, IDC_EDITOR_NAME)->text(), "Shock");
        EXPECT_EQ(platform::dlgItem<QListWidget>(&d, IDC_EVENT_ICONS)->currentRow(), 12);
        platform::dlgItem<QLineEdit>(&d, IDC_EVENT_TOOLTIP)->setText("Shock delivered");
        d.sendCommand(IDOK, BN_CLICKED);
    });
    editor->sendCommand(IDC_EVENTS_LIST, NM_DBLCLK);
    EXPECT_EQ(list()->topLevelItem(7)->text(2), "Shock delivered");
    EXPECT_EQ(selectedRow(), 7);

    click(IDC_EVENTS_UP);
    EXPECT_EQ(shownNames()[6], "Shock");
    selectRow(2);
    Names before = shownNames();
    click(IDC_DB_DELETE);
    before.erase(before.begin() + 2);
    EXPECT_EQ(shownNames(), before);
    EXPECT_EQ(selectedRow(), 2) << "the next event takes the place";
    ui.answers = {dbui::IDYES};
    click(IDCANCEL);
    EXPECT_EQ(storedNames(), before);
}

TEST_F(EventEditorTest, EventsThatCouldNotBeReadAreNeitherEditedNorSavedOver)
{
    exec("INSERT INTO Events (Scenario, \"order\", Name) VALUES ('Drill', 0, 'Mine')");
    exec("INSERT INTO Events (Scenario, \"order\", Name) VALUES ('Drill', 1, 'Yours')");
    {
        dbtest::ForeignLock lock(dbtest::ForeignLock::Full);
        ASSERT_TRUE(lock.held()) << lock.failure();
        open();
    }
    ASSERT_EQ(ui.boxes.size(), 1u) << "the read is an error";
    EXPECT_EQ(ui.boxes[0].flags, dbui::MB_OK | dbui::MB_ICONEXCLAMATION);
    EXPECT_TRUE(shownNames().empty()) << "no built-in list in place of the stored one";
    for (int id : {IDC_EVENTS_ADD, IDC_DB_DELETE, IDC_EVENTS_UP, IDC_EVENTS_DOWN, IDC_EVENTS_LIST})
        EXPECT_FALSE(item(id)->isEnabled()) << id;
    click(IDC_EVENTS_ADD);
    EXPECT_FALSE(editor->isChanged());
    click(IDCANCEL);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(ui.boxes.size(), 1u) << "nothing to save";
    EXPECT_EQ(storedNames(), (Names{"Mine", "Yours"}));

    open(); // read now: edited as usual
    EXPECT_EQ(shownNames(), (Names{"Mine", "Yours"}));
    EXPECT_TRUE(item(IDC_EVENTS_ADD)->isEnabled());
}

TEST_F(EventEditorTest, AListThatCouldNotBeStoredStaysOpenWithItsEdits)
{
    open();
    selectRow(0);
    click(IDC_EVENTS_DOWN);
    const Names moved = shownNames();
    {
        dbtest::ForeignLock lock(dbtest::ForeignLock::Write);
        ASSERT_TRUE(lock.held()) << lock.failure();
        ui.answers = {dbui::IDYES};
        click(IDCANCEL);
    }
    EXPECT_TRUE(editor->isVisible());
    ASSERT_EQ(ui.boxes.size(), 2u); // the question, then the database error
    EXPECT_EQ(ui.boxes[1].flags, dbui::MB_OK | dbui::MB_ICONEXCLAMATION);
    EXPECT_EQ(shownNames(), moved);
    EXPECT_TRUE(editor->isChanged());
    EXPECT_EQ(count("Events"), "0");

    ui.answers = {dbui::IDYES};
    click(IDCANCEL);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->result(), IDOK);
    EXPECT_EQ(storedNames(), moved);
}

TEST_F(EventEditorTest, TheEventEditorLimitsTheNameAndNeedsAnIcon)
{
    auto dialog = std::make_unique<EventDialog>("Pads", "Pads on", 96);
    show(dialog, IDD_EVENT);
    auto* icons = platform::dlgItem<QListWidget>(dialog.get(), IDC_EVENT_ICONS);
    EXPECT_EQ(icons->count(), 97);
    EXPECT_EQ(icons->currentRow(), 96);
    EXPECT_FALSE(platform::dlgItem<QLabel>(dialog.get(), IDC_EVENT_PICTURE)->pixmap().isNull());
    type(IDC_EDITOR_NAME, QString(21, 'x'));
    EXPECT_EQ(text(IDC_EDITOR_NAME), std::string(20, 'x'));
    dialog->sendCommand(IDOK, BN_CLICKED);
    EXPECT_EQ(dialog->result(), IDOK);
    EXPECT_EQ(dialog->name, std::string(20, 'x'));
    EXPECT_EQ(dialog->icon, 96);

    // No icon chosen: OK keeps the dialog open.
    auto none = std::make_unique<EventDialog>("", "", -1);
    show(none, IDD_EVENT);
    EXPECT_TRUE(platform::dlgItem<QListWidget>(none.get(), IDC_EVENT_ICONS)->selectedItems().isEmpty());
    EXPECT_TRUE(platform::dlgItem<QLabel>(none.get(), IDC_EVENT_PICTURE)->pixmap().isNull());
    none->sendCommand(IDOK, BN_CLICKED);
    EXPECT_TRUE(none->isVisible());
    click(IDCANCEL);
    EXPECT_FALSE(none->isVisible());
    EXPECT_EQ(none->result(), IDCANCEL);
}

TEST_F(EventEditorTest, Screenshot)
{
    EditEventsDialog& e = open("Adult CPR");
    selectRow(2);
    e.resize(e.width() + 80, e.height() + 40);
    QApplication::processEvents();
    EXPECT_TRUE(e.grab().save(QString(SCREENSHOT_DIR) + "/edit-events.png"));
    auto dialog = std::make_unique<EventDialog>("Pads", "Pads on the chest", 40);
    show(dialog, IDD_EVENT);
    EXPECT_TRUE(dialog->grab().save(QString(SCREENSHOT_DIR) + "/event-editor.png"));
}

} // namespace
