// The record editors' window side on the offscreen platform: a sample editor
// built from its template in the resources, over the algorithm table of a
// real data source. Message boxes are real boxes that a hook looks at and
// answers instead of the user.
#include "platformqt/AppIcon.h"
#include "Database/AlgorithmTable.h"
#include "Database/DbUiQt.h"
#include "Database/RecordEditorDialog.h"
#include "Utillib/GString.h"
#include "Utillib/WindowUtil.h"
#include "platformqt/AppIcon.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/Resources.h"
#include "res/resource.h"
#include "ui/AppServices.h"

#include "DbTestSupport.h"
#include "TestRecordsets.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>

namespace {

using Names = std::vector<std::string>;

// The sample editor: an algorithm's name and ECC rate.
class SampleEditor : public RecordEditorDialog<AlgorithmTable> {
public:
    SampleEditor(std::string name, bool deleteAllowed)
        : initialName(std::move(name))
        , allowDelete(deleteAllowed)
    {
    }

    QLineEdit* field(int id) const { return platform::dlgItem<QLineEdit>(this, id); }
    QPushButton* button(int id) const { return platform::dlgItem<QPushButton>(this, id); }
    platform::ComboBox* quickFind() const { return recordEditor::quickFindBox(this); }
    std::string shownName() const { return platform::qStringToAnsi(field(IDC_SAMPLE_EDITOR_NAME)->text()); }

    AlgorithmTable algorithms{database};

protected:
    bool onInitDialog() override
    {
        RecordEditorDialog::onInitDialog();
        startTable(algorithms);
        if (!initialName.empty()) {
            moveToRecord(RecordKey<Algorithm>::withKey(initialName));
        } else if (!emptyTable()) {
            DBUtil::moveFirst(algorithms);
            loadCurrentRecord();
            updateDialog();
        } else {
            newEntry(Algorithm());
        }
        return false; // showRecord put the focus on the name
    }

    void showRecord(const Algorithm& rec) override
    {
        quickFind()->setCurSel(-1);
        Utillib::setDlgItemTextIfChanged(this, IDC_SAMPLE_EDITOR_NAME, rec.Name);
        Utillib::setDlgItemTextIfChanged(this, IDC_SAMPLE_EDITOR_RATE_LOW, number(rec.eccRateLow));
        Utillib::setDlgItemTextIfChanged(this, IDC_SAMPLE_EDITOR_RATE_HIGH, number(rec.eccRateHigh));
        field(IDC_SAMPLE_EDITOR_NAME)->setFocus();
    }
    Algorithm readRecord() override
    {
        Algorithm rec = record;
        rec.Name = trimmed(Utillib::getWindowText(field(IDC_SAMPLE_EDITOR_NAME)));
        rec.eccRateLow = value(IDC_SAMPLE_EDITOR_RATE_LOW);
        rec.eccRateHigh = value(IDC_SAMPLE_EDITOR_RATE_HIGH);
        return rec;
    }
    bool isChanged() override
    {
        return Utillib::getWindowText(field(IDC_SAMPLE_EDITOR_NAME)) != record.Name
            || value(IDC_SAMPLE_EDITOR_RATE_LOW) != record.eccRateLow
            || value(IDC_SAMPLE_EDITOR_RATE_HIGH) != record.eccRateHigh;
    }
    void enableButtons(int bits) override { enableStandardButtons(bits, allowDelete); }
    std::wstring messageText(int number) override { return L"Prompt " + std::to_wstring(number); }
    void notifyChanged() override { tablePool.refresh(tableKind::Algorithm); }
    void fillCombos() override
    {
        dbui::QtComboBox box(quickFind());
        algorithms.fillCombo(box, "name", "");
    }
    int helpContext() const override { return 10006; }

private:
    static std::string number(double v)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%g", v);
        return text;
    }
    double value(int id) const { return std::atof(Utillib::getWindowText(field(id)).c_str()); }

    std::string initialName;
    bool allowDelete;
};

// Help requests, as the application would take them.
class HelpRecorder : public AppServices {
public:
    HelpRecorder() { previous = setAppServices(this); }
    ~HelpRecorder() override { setAppServices(previous); }
    QWidget* mainWindow() override { return nullptr; }
    QMdiArea* mdiClient() override { return nullptr; }
    const std::vector<Accelerator>& accelerators() override { return none; }
    bool onCommand(int) override { return false; }
    void refreshMdiMenu() override {}
    void disableMainWindow(QWidget*) override {}
    void enableMainWindow(QWidget*) override {}
    void showHelp(int context) override { contexts.push_back(context); }

    std::vector<int> contexts;

private:
    std::vector<Accelerator> none;
    AppServices* previous = nullptr;
};

struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    std::vector<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton defaultButton;
    QImage windowIcon;
};

class RecordEditorWindowTest : public dbtest::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        res::registerResources();
        QApplication::setApplicationDisplayName("Tavo CPR");
        dbui::installQtUserInterface();
        dbui::setMessageBoxHook([this](QMessageBox& box) {
            ShownBox shown{box.windowTitle(), box.text(), box.icon(), {}, box.standardButton(box.defaultButton()),
                           box.windowIcon().pixmap(32).toImage()};
            for (QAbstractButton* b : box.buttons())
                shown.buttons.push_back(box.standardButton(b));
            std::sort(shown.buttons.begin(), shown.buttons.end());
            boxes.push_back(shown);
            if (!boxShot.isEmpty()) {
                box.adjustSize();
                EXPECT_TRUE(box.grab().save(boxShot));
            }
            if (answers.empty())
                return static_cast<int>(box.standardButton(box.escapeButton()));
            int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    void TearDown() override
    {
        dbui::setMessageBoxHook({});
        editor.reset();
        DbTest::TearDown();
    }

    void addAlgorithms(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            exec("INSERT INTO Algorithm (Name) VALUES ('" + std::string(name) + "')");
    }
    SampleEditor& open(const std::string& name = "", bool allowDelete = true)
    {
        editor = std::make_unique<SampleEditor>(name, allowDelete);
        EXPECT_TRUE(editor->create(IDD_SAMPLE_EDITOR)) << editor->buildError();
        editor->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        QApplication::setActiveWindow(editor.get());
        return *editor;
    }
    void click(int id) { QTest::mouseClick(editor->button(id), Qt::LeftButton); }
    // A double click as the window system delivers it.
    void doubleClick(int id)
    {
        QWidget* b = editor->button(id);
        QTest::mouseDClick(editor->windowHandle(), Qt::LeftButton, {}, b->mapTo(editor.get(), b->rect().center()));
    }
    void type(int id, const QString& text)
    {
        QLineEdit* edit = editor->field(id);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    // The ids of the editor's buttons that are enabled.
    std::vector<int> enabledButtons()
    {
        std::vector<int> ids;
        for (int id : {IDC_DB_NEW, IDC_DB_DELETE, IDC_DB_SAVE, IDC_DB_DISCARD, IDC_DB_NEXT, IDC_DB_PREVIOUS,
                       IDC_DB_FIRST, IDC_DB_LAST})
            if (editor->button(id)->isEnabled())
                ids.push_back(id);
        return ids;
    }
    Names storedNames()
    {
        AlgorithmTable table(database);
        table.open("");
        return dbtest::column(table, &AlgorithmTable::Name);
    }

    std::unique_ptr<SampleEditor> editor;
    std::vector<ShownBox> boxes;
    std::deque<int> answers;
    QString boxShot; // where a box shown is saved as a picture
};

TEST_F(RecordEditorWindowTest, MessageBoxesTakeButtonsIconAndDefaultFromTheFlags)
{
    using namespace dbui;
    using B = QMessageBox;
    struct Case {
        unsigned flags;
        std::vector<B::StandardButton> buttons;
        B::Icon icon;
        B::StandardButton defaultButton;
    };
    const Case cases[] = {
        {MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3, {B::Yes, B::No, B::Cancel}, B::Question, B::Cancel},
        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, {B::Yes, B::No}, B::Question, B::No},
        {MB_YESNOCANCEL | MB_ICONQUESTION, {B::Yes, B::No, B::Cancel}, B::Question, B::Yes},
        // a third button asked of a two-button box: the first, as the system's boxes do
        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON3, {B::Yes, B::No}, B::Question, B::Yes},
        {MB_OK | MB_ICONINFORMATION, {B::Ok}, B::Information, B::Ok},
        {MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2, {B::Yes, B::No}, B::Warning, B::No},
        {MB_OK | MB_ICONEXCLAMATION, {B::Ok}, B::Warning, B::Ok},
    };
    for (const Case& c : cases) {
        boxes.clear();
        int unanswered = c.buttons.size() == 1 ? dbui::IDOK : c.buttons.size() == 2 ? dbui::IDNO : dbui::IDCANCEL;
        EXPECT_EQ(userInterface().messageBox(L"Säve?\nLine 2", c.flags), unanswered) << "the escape answer";
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, "Tavo CPR");
        EXPECT_EQ(boxes[0].text, QString::fromUtf8("Säve?\nLine 2"));
        std::vector<B::StandardButton> buttons = c.buttons;
        std::sort(buttons.begin(), buttons.end());
        EXPECT_EQ(boxes[0].buttons, buttons) << std::hex << c.flags;
        EXPECT_EQ(boxes[0].icon, c.icon) << std::hex << c.flags;
        EXPECT_EQ(boxes[0].defaultButton, c.defaultButton) << std::hex << c.flags;
    }
    boxes.clear();
    userInterface().messageBox(L"Text", L"A caption of its own", MB_OK);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "A caption of its own");
    // No window is active here: the box still has the program's icon.
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    EXPECT_FALSE(boxes[0].windowIcon.isNull());
    EXPECT_EQ(boxes[0].windowIcon, platform::applicationIcon().pixmap(32).toImage());
    const std::pair<int, int> answers[] = {{B::Yes, dbui::IDYES}, {B::No, dbui::IDNO}, {B::Cancel, dbui::IDCANCEL}};
    for (auto [button, id] : answers) {
        this->answers = {button};
        EXPECT_EQ(userInterface().messageBox(L"?", MB_YESNOCANCEL), id);
    }
}

TEST_F(RecordEditorWindowTest, TheWaitCursorNestsAndEnds)
{
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    {
        dbui::WaitCursor outer;
        dbui::WaitCursor inner;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(RecordEditorWindowTest, TheEditorOpensOnTheFirstRowWithItsButtonsByTheBits)
{
    addAlgorithms({"B", "A", "C"});
    SampleEditor& e = open();
    EXPECT_EQ(e.shownName(), "B") << "the first row in table order";
    EXPECT_EQ(e.windowTitle(), "Algorithm") << "marked texts translated";
    EXPECT_EQ(e.button(IDCANCEL)->text(), "&Close");
    ASSERT_EQ(e.quickFind()->getCount(), 3);
    EXPECT_EQ(e.quickFind()->getLBText(0), "A") << "the quick-find list sorts";
    EXPECT_EQ(e.quickFind()->getCurSel(), -1);
    EXPECT_EQ(enabledButtons(), (std::vector<int>{IDC_DB_NEW, IDC_DB_DELETE, IDC_DB_NEXT, IDC_DB_LAST}));
    EXPECT_EQ(QApplication::focusWidget(), e.field(IDC_SAMPLE_EDITOR_NAME));

    // Opened for a name (another letter case) without deleting: that row, no Delete.
    open("c", false);
    EXPECT_EQ(editor->shownName(), "C");
    EXPECT_EQ(enabledButtons(), (std::vector<int>{IDC_DB_NEW, IDC_DB_PREVIOUS, IDC_DB_FIRST}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(RecordEditorWindowTest, ButtonsNavigateAndADoubleClickOnNextOrPreviousMovesTwice)
{
    addAlgorithms({"A", "B", "C", "D", "E"});
    SampleEditor& e = open();
    struct Step {
        int id;
        bool twice;
        const char* shown;
    };
    const Step steps[] = {
        {IDC_DB_NEXT, false, "B"}, {IDC_DB_NEXT, true, "D"},     {IDC_DB_PREVIOUS, true, "B"},
        {IDC_DB_LAST, false, "E"}, {IDC_DB_PREVIOUS, false, "D"}, {IDC_DB_FIRST, true, "A"},
    };
    for (const Step& s : steps) {
        if (s.twice)
            doubleClick(s.id);
        else
            click(s.id);
        EXPECT_EQ(e.shownName(), s.shown) << s.id << (s.twice ? " twice" : "");
    }
    EXPECT_EQ(enabledButtons(), (std::vector<int>{IDC_DB_NEW, IDC_DB_DELETE, IDC_DB_NEXT, IDC_DB_LAST}));
    click(IDC_DB_NEW);
    EXPECT_EQ(e.shownName(), "");
    EXPECT_EQ(enabledButtons(), (std::vector<int>{IDC_DB_NEW, IDC_DB_PREVIOUS, IDC_DB_FIRST}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(RecordEditorWindowTest, EditsEnableSaveAndDiscardAndTheButtonsDoWhatTheySay)
{
    addAlgorithms({"A", "B"});
    SampleEditor& e = open();
    type(IDC_SAMPLE_EDITOR_RATE_HIGH, "125");
    EXPECT_TRUE(e.button(IDC_DB_SAVE)->isEnabled());
    EXPECT_TRUE(e.button(IDC_DB_DISCARD)->isEnabled());
    click(IDC_DB_DISCARD);
    EXPECT_EQ(e.field(IDC_SAMPLE_EDITOR_RATE_HIGH)->text(), "110");
    EXPECT_FALSE(e.button(IDC_DB_SAVE)->isEnabled());

    type(IDC_SAMPLE_EDITOR_RATE_HIGH, "125");
    click(IDC_DB_SAVE);
    EXPECT_EQ(scalar("SELECT CAST(eccRateHigh AS INTEGER) FROM Algorithm WHERE Name = 'A'"), "125");
    EXPECT_FALSE(e.button(IDC_DB_SAVE)->isEnabled());
    EXPECT_FALSE(e.button(IDC_DB_DISCARD)->isEnabled());

    click(IDC_DB_NEW);
    type(IDC_SAMPLE_EDITOR_NAME, "Fresh");
    click(IDC_DB_SAVE);
    EXPECT_EQ(storedNames(), (Names{"A", "B", "Fresh"}));
    EXPECT_EQ(e.quickFind()->getCount(), 3) << "the list was filled again";

    answers = {QMessageBox::Yes};
    click(IDC_DB_DELETE);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Prompt 6");
    EXPECT_EQ(boxes[0].icon, QMessageBox::Warning);
    EXPECT_EQ(boxes[0].defaultButton, QMessageBox::No);
    EXPECT_EQ(storedNames(), (Names{"A", "B"}));
    EXPECT_EQ(e.shownName(), "B") << "after the last row, the one before it";
}

TEST_F(RecordEditorWindowTest, EnterMovesToTheNextFieldAndNeverCloses)
{
    addAlgorithms({"A", "B"});
    SampleEditor& e = open();
    QTest::keyClick(e.field(IDC_SAMPLE_EDITOR_NAME), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), e.field(IDC_SAMPLE_EDITOR_RATE_LOW));
    QTest::keyClick(e.field(IDC_SAMPLE_EDITOR_RATE_LOW), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(QApplication::focusWidget(), e.field(IDC_SAMPLE_EDITOR_RATE_HIGH));
    EXPECT_TRUE(e.isVisible());

    // On a push button Enter is the button's click.
    e.button(IDC_DB_NEXT)->setFocus();
    QTest::keyClick(e.button(IDC_DB_NEXT), Qt::Key_Return);
    EXPECT_EQ(e.shownName(), "B");
    EXPECT_TRUE(e.isVisible());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(RecordEditorWindowTest, CloseEscapeAndTheCloseBoxAskAboutUnsavedChanges)
{
    addAlgorithms({"A"});
    enum Way { CloseButton, Escape, CloseBox };
    struct Case {
        Way way;
        int answer;
        bool closes;
        const char* stored;
    };
    const Case cases[] = {
        {CloseButton, QMessageBox::Cancel, false, "110"}, {Escape, QMessageBox::No, true, "110"},
        {CloseBox, QMessageBox::Yes, true, "130"},        {Escape, QMessageBox::Cancel, false, "110"},
        {CloseBox, QMessageBox::No, true, "110"},         {CloseButton, QMessageBox::Yes, true, "130"},
    };
    for (const Case& c : cases) {
        exec("UPDATE Algorithm SET eccRateHigh = 110");
        SampleEditor& e = open();
        type(IDC_SAMPLE_EDITOR_RATE_HIGH, "130");
        boxes.clear();
        answers = {c.answer};
        if (c.way == CloseButton)
            click(IDCANCEL);
        else if (c.way == Escape)
            QTest::keyClick(e.field(IDC_SAMPLE_EDITOR_RATE_HIGH), Qt::Key_Escape);
        else
            e.close();
        ASSERT_EQ(boxes.size(), 1u) << c.way;
        EXPECT_EQ(boxes[0].text, "Prompt 2");
        EXPECT_EQ(boxes[0].buttons.size(), 3u);
        EXPECT_EQ(e.isVisible(), !c.closes) << c.way << " " << c.answer;
        EXPECT_EQ(scalar("SELECT CAST(eccRateHigh AS INTEGER) FROM Algorithm"), c.stored);
        if (!c.closes) {
            EXPECT_EQ(e.field(IDC_SAMPLE_EDITOR_RATE_HIGH)->text(), "130") << "the edit stays";
        } else {
            EXPECT_EQ(e.result(), IDCANCEL);
        }
    }

    // Nothing changed: no question.
    boxes.clear();
    SampleEditor& e = open();
    QTest::keyClick(e.field(IDC_SAMPLE_EDITOR_NAME), Qt::Key_Escape);
    EXPECT_FALSE(e.isVisible());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(RecordEditorWindowTest, QuickFindRunsWhenTheListCloses)
{
    addAlgorithms({"A", "B", "C"});
    SampleEditor& e = open();
    platform::ComboBox* find = e.quickFind();

    // Chosen with the mouse in the open list.
    find->showPopup();
    QAbstractItemView* list = find->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
    QRect item = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    for (int i = 0; i < 100 && e.shownName() != "C"; ++i)
        QTest::qWait(20); // the close-up notification is queued
    EXPECT_EQ(e.shownName(), "C");
    EXPECT_EQ(find->getCurSel(), -1) << "the shown record clears the box";

    // Closed without a choice: nothing happens; with unsaved edits, the question first.
    find->showPopup();
    find->hidePopup();
    QApplication::processEvents();
    EXPECT_EQ(e.shownName(), "C");

    type(IDC_SAMPLE_EDITOR_RATE_LOW, "95");
    answers = {QMessageBox::Cancel};
    find->setCurSel(0);
    find->showPopup();
    find->hidePopup();
    QApplication::processEvents();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Prompt 2");
    EXPECT_EQ(e.shownName(), "C") << "cancelled";
}

TEST_F(RecordEditorWindowTest, HelpOpensTheEditorsHelpContext)
{
    HelpRecorder help;
    open();
    click(IDC_DB_HELP);
    EXPECT_EQ(help.contexts, std::vector<int>{10006});
}

TEST_F(RecordEditorWindowTest, AFailedSaveShowsTheDatabaseErrorBoxAndStaysUnsaved)
{
    addAlgorithms({"A"});
    if (dbtest::usingPostgres()) {
        exec("CREATE FUNCTION keep_rows() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'rows are kept'; END $$ LANGUAGE plpgsql");
        exec("CREATE TRIGGER keep BEFORE UPDATE ON Algorithm FOR EACH ROW EXECUTE FUNCTION keep_rows()");
    } else {
        exec("CREATE TRIGGER keep BEFORE UPDATE ON Algorithm BEGIN SELECT RAISE(ABORT, 'rows are kept'); END");
    }
    SampleEditor& e = open();
    type(IDC_SAMPLE_EDITOR_RATE_HIGH, "140");
    click(IDC_DB_SAVE);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, QMessageBox::Warning);
    EXPECT_EQ(boxes[0].buttons, std::vector<QMessageBox::StandardButton>{QMessageBox::Ok});
    EXPECT_TRUE(boxes[0].text.contains("rows are kept")) << boxes[0].text.toStdString();
    EXPECT_TRUE(e.button(IDC_DB_SAVE)->isEnabled()) << "still unsaved";
    EXPECT_EQ(scalar("SELECT CAST(eccRateHigh AS INTEGER) FROM Algorithm"), "110");
}

TEST_F(RecordEditorWindowTest, Screenshot)
{
    addAlgorithms({"AHA 2005 (American Heart Association)", "ERC 2005 (European Resuscitation Council)"});
    SampleEditor& e = open();
    type(IDC_SAMPLE_EDITOR_RATE_HIGH, "120");
    const QString shot = QString(SCREENSHOT_DIR) + "/record-editor.png";
    EXPECT_TRUE(e.grab().save(shot));
    boxShot = QString(SCREENSHOT_DIR) + "/record-editor-question.png";
    answers = {QMessageBox::Cancel};
    click(IDCANCEL);
    EXPECT_EQ(boxes.size(), 1u);
}

} // namespace
