// The algorithm editor on the offscreen platform over a real data source.
#include "Database/AlgorithmDialog.h"
#include "Database/AlgorithmTable.h"
#include "ui/COXMaskedEdit.h"

#include "EditorTestSupport.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace {

class AlgorithmEditorTest : public edtest::EditorTest {
protected:
    void TearDown() override
    {
        editor.reset();
        AlgorithmDialog::setPercentNotationSource({});
        EditorTest::TearDown();
    }
    AlgorithmDialog& open(const std::string& name = "", bool allowDelete = true)
    {
        editor.reset();
        editor = std::make_unique<AlgorithmDialog>(name, allowDelete);
        return show(editor, IDD_ALGORITHM);
    }
    void useRatios() { AlgorithmDialog::setPercentNotationSource([] { return false; }); }
    // What a value field shows, without the prompts of its empty positions.
    std::string shown(int id) const
    {
        std::string t = platform::qStringToAnsi(editor->valueField(id)->text());
        return t.substr(0, t.find_last_not_of(' ') + 1);
    }
    void addGuide(const std::string& name, const std::string& columns = "", const std::string& values = "")
    {
        exec("INSERT INTO Algorithm (Name" + columns + ") VALUES ('" + name + "'" + values + ")");
    }
    double stored(const std::string& column, const std::string& name)
    {
        std::string value = scalar("SELECT " + column + " FROM Algorithm WHERE Name = '" + name + "'");
        return value.empty() ? -1 : std::stod(value);
    }

    std::unique_ptr<AlgorithmDialog> editor;
};

TEST_F(AlgorithmEditorTest, LeavingAFieldKeepsEveryValueInItsRange)
{
    addGuide("Guide");
    struct Case {
        int id;
        const char* typed;
        const char* shownAfter;
        bool corrected; // the editor rewrote the fields and put the focus on the name
    };
    const Case cases[] = {
        {IDC_ALG_DEPTH_HIGH, "300", "250", true},  {IDC_ALG_DEPTH_HIGH, "250", "250", false},
        {IDC_ALG_DEPTH_LOW, "0", "1", true},       {IDC_ALG_DEPTH_LOW, "1", "1", false},
        {IDC_ALG_ECC_LOW, "200", "110", true}, // above the high rate
        {IDC_ALG_INIT_VENT, "25", "20", true},     {IDC_ALG_INIT_VENT, "20", "20", false},
        {IDC_ALG_INIT_VENT, "0", "0", false},      {IDC_ALG_SINGLE_COMP, "0", "1", true},
        {IDC_ALG_SINGLE_COMP, "55", "50", true},   {IDC_ALG_DOUBLE_VENT, "50", "50", false},
        {IDC_ALG_VVOL_HIGH, "6", "5", true},       {IDC_ALG_VVOL_LOW, "0.9", "0.6", true}, // above the high volume
        {IDC_ALG_VRATE_HIGH, "101", "100", true},  {IDC_ALG_SHARE_HIGH, "100", "100", false},
        {IDC_ALG_ECC_HIGH, "abc", "1", true}, // letters are refused: nothing typed is 0, kept at 1
    };
    for (const Case& c : cases) {
        AlgorithmDialog& e = open();
        type(c.id, c.typed);
        QTest::keyClick(e.valueField(c.id), Qt::Key_Tab);
        EXPECT_EQ(shown(c.id), c.shownAfter) << c.id << " " << c.typed;
        QWidget* focus = QApplication::focusWidget();
        if (c.corrected)
            EXPECT_EQ(focus, e.nameField()) << c.id << " " << c.typed;
        else
            EXPECT_NE(focus, e.nameField()) << c.id << " " << c.typed;
        EXPECT_TRUE(ui.boxes.empty());
        EXPECT_EQ(stored("compDepthHigh", "Guide"), 50) << "the check stores nothing";
    }
    // A low ECC rate above the high one takes the high one; the share pair as well.
    AlgorithmDialog& e = open();
    type(IDC_ALG_SHARE_LOW, "70");
    QTest::keyClick(e.valueField(IDC_ALG_SHARE_LOW), Qt::Key_Tab);
    EXPECT_EQ(shown(IDC_ALG_SHARE_LOW), "60");
}

TEST_F(AlgorithmEditorTest, PercentNotationShowsTheComplementOfTheRecommendedShare)
{
    addGuide("Guide");
    AlgorithmDialog& e = open();
    ASSERT_TRUE(e.percentNotation());
    EXPECT_TRUE(item(IDC_ALG_SHARE_REST)->isVisible());
    EXPECT_TRUE(item(IDC_ALG_PERCENT_SLASH)->isVisible());
    EXPECT_EQ(text(IDC_ALG_SHARE_REST), "50");
    type(IDC_ALG_SHARE_RECC, "35");
    EXPECT_EQ(text(IDC_ALG_SHARE_REST), "65");
    type(IDC_ALG_SHARE_RECC, "120");
    EXPECT_EQ(shown(IDC_ALG_SHARE_RECC), "100");
    EXPECT_EQ(text(IDC_ALG_SHARE_REST), "0");
    EXPECT_EQ(enabledButtons(), (std::vector<int>{IDC_DB_NEW, IDC_DB_DELETE, IDC_DB_SAVE, IDC_DB_DISCARD}));
}

TEST_F(AlgorithmEditorTest, RatioNotationShowsSharesAsRatiosAtTheFieldsPrecision)
{
    addGuide("Guide", ", compRelaxLow, compRelaxHigh, compRelaxRecc", ", 40, 60, 50");
    addGuide("Solid", ", compRelaxLow, compRelaxHigh, compRelaxRecc", ", 100, 100, 100");
    useRatios();
    open("Guide");
    EXPECT_FALSE(item(IDC_ALG_SHARE_REST)->isVisible());
    EXPECT_FALSE(item(IDC_ALG_PERCENT)->isVisible());
    EXPECT_EQ(shown(IDC_ALG_SHARE_RECC), "1");
    EXPECT_EQ(shown(IDC_ALG_SHARE_HIGH), "1.5");
    EXPECT_EQ(shown(IDC_ALG_SHARE_LOW), "0.66");
    EXPECT_EQ(enabledButtons(), (std::vector<int>{IDC_DB_NEW, IDC_DB_DELETE, IDC_DB_NEXT, IDC_DB_LAST}))
        << "0.66 for a stored 40 is no change";

    // Saved for another change, a share whose field was not touched is no
    // change of this station's, though "0.66" reads back as 39.76: another
    // station's change of it stays, and nobody is told of a conflict.
    exec("UPDATE Algorithm SET compRelaxLow = 30 WHERE Name = 'Guide'");
    type(IDC_ALG_SHARE_RECC, "1.5");
    type(IDC_ALG_DEPTH_LOW, "45");
    ui.answers = {dbui::IDYES};
    click(IDC_DB_SAVE);
    ASSERT_EQ(ui.boxes.size(), 1u) << "a stored algorithm is saved after prompt 3, and nothing more is said";
    EXPECT_EQ(ui.boxes[0].text.substr(0, 24), L"Algorithm was changed! S");
    EXPECT_EQ(stored("compRelaxRecc", "Guide"), 60);
    EXPECT_EQ(stored("compRelaxLow", "Guide"), 30);
    EXPECT_EQ(stored("compRelaxHigh", "Guide"), 60);
    EXPECT_EQ(stored("compDepthLow", "Guide"), 45);
    EXPECT_EQ(shown(IDC_ALG_SHARE_LOW), "0.42") << "the stored share shows now";

    // Typed over, a share is read back from what its field shows.
    type(IDC_ALG_SHARE_LOW, "0.66");
    ui.answers = {dbui::IDYES};
    click(IDC_DB_SAVE);
    EXPECT_NEAR(stored("compRelaxLow", "Guide"), 100 * 0.66 / 1.66, 1e-9);

    // A share of 100 has no finite ratio: the field shows its largest number.
    open("Solid");
    for (int id : {IDC_ALG_SHARE_LOW, IDC_ALG_SHARE_HIGH, IDC_ALG_SHARE_RECC})
        EXPECT_EQ(shown(id), "9999") << id;
    EXPECT_EQ(enabledButtons(), (std::vector<int>{IDC_DB_NEW, IDC_DB_DELETE, IDC_DB_PREVIOUS, IDC_DB_FIRST}));

    // Switching the notation shows the same stored value.
    AlgorithmDialog::setPercentNotationSource({});
    open("Guide");
    EXPECT_EQ(shown(IDC_ALG_SHARE_RECC), "60");
}

TEST_F(AlgorithmEditorTest, ANewGuidelineIsSavedAndFoundByName)
{
    addGuide("Other");
    AlgorithmDialog& e = open("My guide", false);
    EXPECT_EQ(text(IDC_EDITOR_NAME), "My guide") << "an unknown name starts a new entry under it";
    EXPECT_EQ(shown(IDC_ALG_ECC_HIGH), "110");
    type(IDC_ALG_ECC_LOW, "95");
    QTest::keyClick(e.valueField(IDC_ALG_ECC_LOW), Qt::Key_Tab);
    click(IDC_DB_SAVE);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(stored("eccRateLow", "My guide"), 95);
    EXPECT_EQ(stored("pauseEccMax", "My guide"), 10) << "what no field shows keeps its default";

    // Found again ignoring case; the editor hands back the stored spelling.
    std::string selected;
    edtest::EditorTest::whenModal([&](QWidget* modal) {
        auto* details = dynamic_cast<AlgorithmDialog*>(modal);
        ASSERT_NE(details, nullptr);
        EXPECT_EQ(platform::qStringToAnsi(details->nameField()->text()), "My guide");
        EXPECT_FALSE(platform::dlgItem(details, IDC_DB_DELETE)->isEnabled());
        details->reject();
    });
    selected = showAlgorithmDetails(nullptr, "MY GUIDE");
    EXPECT_EQ(selected, "My guide");
}

TEST_F(AlgorithmEditorTest, ABuiltInGuidelineKeepsItsNameAndCannotBeDeleted)
{
    const std::string builtIn = AlgorithmTable::ercName;
    addGuide(builtIn, ", builtIn", ", TRUE");
    addGuide("Own");
    AlgorithmDialog& e = open();
    ASSERT_EQ(text(IDC_EDITOR_NAME), builtIn);
    EXPECT_TRUE(e.nameField()->isReadOnly());
    const QColor face = e.palette().color(QPalette::Window);
    EXPECT_EQ(e.nameField()->palette().color(QPalette::Base), face) << "the locked name looks locked";
    EXPECT_FALSE(item(IDC_DB_DELETE)->isEnabled());
    type(IDC_ALG_DEPTH_HIGH, "60");
    QTest::keyClick(e.valueField(IDC_ALG_DEPTH_HIGH), Qt::Key_Tab);
    ui.answers = {dbui::IDYES};
    click(IDC_DB_SAVE);
    EXPECT_EQ(stored("compDepthHigh", builtIn), 60) << "its values can be changed";

    click(IDC_DB_NEXT);
    EXPECT_EQ(text(IDC_EDITOR_NAME), "Own");
    EXPECT_FALSE(e.nameField()->isReadOnly());
    EXPECT_NE(e.nameField()->palette().color(QPalette::Base), face);
    EXPECT_TRUE(item(IDC_DB_DELETE)->isEnabled());
    ui.boxes.clear();
    ui.answers = {dbui::IDYES};
    click(IDC_DB_DELETE);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, L"Are you sure you want to remove this algorithm\nand all related sessions and "
                                L"scenarios?\nYou can not undo this operation.");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Algorithm"), "1");
}

TEST_F(AlgorithmEditorTest, EnterMovesOnAndWrapsFromTheLastRatioToTheName)
{
    AlgorithmDialog& e = open();
    ASSERT_EQ(QApplication::focusWidget(), e.nameField()) << "an empty table starts a new entry";
    EXPECT_EQ(enabledButtons(), (std::vector<int>{IDC_DB_NEW}));
    enter();
    EXPECT_EQ(QApplication::focusWidget(), e.valueField(IDC_ALG_INIT_VENT));
    e.valueField(IDC_ALG_DOUBLE_COMP)->setFocus(Qt::TabFocusReason);
    enter();
    EXPECT_EQ(QApplication::focusWidget(), e.nameField());
    EXPECT_TRUE(e.isVisible());

    // Close asks about the unsaved entry first; Cancel keeps the editor open.
    type(IDC_EDITOR_NAME, "Fresh");
    ui.answers = {dbui::IDCANCEL};
    QTest::keyClick(e.nameField(), Qt::Key_Escape);
    EXPECT_TRUE(e.isVisible());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(e.getSelectedName(), "") << "the name the entry was started with";
}

TEST_F(AlgorithmEditorTest, Screenshot)
{
    addGuide("AHA 2005 (Adult)");
    AlgorithmDialog& e = open();
    EXPECT_TRUE(e.grab().save(QString(SCREENSHOT_DIR) + "/algorithm-editor.png"));
    useRatios();
    AlgorithmDialog& r = open();
    EXPECT_TRUE(r.grab().save(QString(SCREENSHOT_DIR) + "/algorithm-editor-ratio.png"));
}

} // namespace
