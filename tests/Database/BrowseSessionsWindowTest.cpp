// The session browser's window on the offscreen platform over SQLite: the
// criteria narrow the list, a double click opens the lowest selected row,
// Export... and Import... run through their buttons with the file dialogs
// answered by the test, and the window is grabbed for looking at.
#include "Database/BrowseSessionsDialog.h"

#include "Database/Database.h"
#include "gettext/TranslateWindow.h"
#include "gettext/Translator.h"
#include "platform/CodePage.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/Resources.h"
#include "res/resource.h"

#include "DbTestSupport.h"
#include "ScopedRegistry.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class TestHooks : public BrowseSessionsHooks {
public:
    void openSession(QWidget*, const SessionRecord& record) override { opened.push_back(record.Serialidentifier); }
    std::string editPerson(QWidget*, const std::string& name) override
    {
        edited.push_back(name);
        return personShown;
    }
    std::string chooseExportFile(QWidget*) override { return exportPath; }
    std::string chooseImportFile(QWidget*) override { return importPath; }

    std::vector<std::string> opened, edited;
    std::string personShown, exportPath, importPath;
};

class BrowseSessionsWindowTest : public dbtest::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        res::registerResources();
        CReportCtrl::registerWindowClass();
        setBrowseSessionsHooks(&hooks);
        std::filesystem::create_directories(dir.file("data"));
        registry = std::make_unique<dbtest::ScopedRegistry>("Data Folder=sz:" + dir.file("data") + "\n");
        exec("INSERT INTO Person (Name, Instructor) VALUES ('Hanne', 1)");
        exec("INSERT INTO Person (Name, Instructor) VALUES ('Kari', 0)");
        addSession("0a0b0c0d0e0f01", "Kari", "Ola", "Hanne", "2006-03-05", 1);
        addSession("0a0b0c0d0e0f02", "Per", "Karin", "Hans", "2006-04-05", 1);
        addSession("0a0b0c0d0e0f03", "Lise", "Nils", "Hanne", "2007-03-01", 1);
        addSession("0a0b0c0d0e0f04", "Kari", "Ola", "Hanne", "2006-03-05", 0);
    }
    void TearDown() override
    {
        dialog.reset();
        setBrowseSessionsHooks(nullptr);
        DbTest::TearDown();
    }

    void addSession(const std::string& serial, const std::string& ventilation, const std::string& compression,
        const std::string& instructor, const std::string& date, int done)
    {
        exec("INSERT INTO Session (Serialidentifier, PersonVentilation, PersonChestCompression, CourseInstructor, "
             "CourseDate, StartTime, Scenario, Done) VALUES ('" + serial + "', '" + ventilation + "', '" + compression
            + "', '" + instructor + "', '" + date + "', '10:00', 'Adult', " + (done ? "TRUE" : "FALSE") + ")");
        std::ofstream(dir.file("data/" + serial + ".dat")) << "0\n0\n0\n";
    }

    void open()
    {
        dialog = std::make_unique<BrowseSessionsDialog>();
        ASSERT_TRUE(dialog->create(IDD_BROWSE_SESSIONS)) << dialog->buildError();
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    QWidget* item(int id) { return platform::dlgItem(dialog.get(), id); }
    platform::ComboBox* combo(int id) { return dynamic_cast<platform::ComboBox*>(item(id)); }
    void click(int id) { QTest::mouseClick(dynamic_cast<QPushButton*>(item(id)), Qt::LeftButton); }
    int rows() { return dialog->resultList->getItemCount(); }
    QString status() { return platform::windowText(item(IDC_BROWSE_STATUS)); }
    void typeCriterion(int id, const QString& text)
    {
        combo(id)->lineEdit()->setText(text);
        click(IDC_BROWSE_SEARCH);
    }

    testsupport::TempDir dir;
    std::unique_ptr<dbtest::ScopedRegistry> registry;
    TestHooks hooks;
    std::unique_ptr<BrowseSessionsDialog> dialog;
};

// Each criteria label shows its whole text on its one line, in every
// language we ship, inside the criteria's frame and clear of its field.
TEST_F(BrowseSessionsWindowTest, CriteriaLabelsShowTheirWholeTextInEveryLanguage)
{
    const std::pair<int, int> labelled[] = {
        {IDC_BROWSE_YEAR_LABEL, IDC_BROWSE_YEAR}, {IDC_BROWSE_MONTH_LABEL, IDC_BROWSE_MONTH},
        {IDC_BROWSE_PARTICIPANT_LABEL, IDC_BROWSE_PARTICIPANT}, {IDC_BROWSE_INSTRUCTOR_LABEL, IDC_BROWSE_INSTRUCTOR}};
    for (const char* language : {"en", "de", "ja"}) {
        const std::string commandLine = std::string("main lang:") + CATALOGUE_DIR + "/" + language + ".mo";
        ASSERT_TRUE(loadLanguage(commandLine, "en") || std::string(language) == "en") << language;
        // As the program does: the language's code page is the ANSI code page.
        platform::setAnsiCodePage(languageCodePage(theTranslator.languageCode()));
        refreshTranslationMarker();
        open();
        const QRect frame = item(IDC_BROWSE_CRITERIA)->geometry();
        for (const auto& [labelId, fieldId] : labelled) {
            auto* label = dynamic_cast<QLabel*>(item(labelId));
            ASSERT_NE(label, nullptr);
            const std::string at = std::string(language) + " " + label->text().toStdString();
            ASSERT_FALSE(label->text().isEmpty()) << at;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width()) << at;
            EXPECT_LE(label->heightForWidth(label->width()), label->height()) << at << ": one line";
            EXPECT_TRUE(frame.contains(label->geometry())) << at;
            EXPECT_LT(label->geometry().right(), item(fieldId)->geometry().left()) << at;
        }
        EXPECT_TRUE(dialog->grab().save(QString(SCREENSHOT_DIR) + "/browse-sessions-" + language + ".png"));
        dialog.reset();
        loadLanguage("main", "en");
        platform::setAnsiCodePage(1252);
        refreshTranslationMarker();
    }
}

TEST_F(BrowseSessionsWindowTest, CriteriaNarrowTheListAndTheColumnsFillIt)
{
    open();
    EXPECT_EQ(rows(), 3); // the unfinished session never shows
    EXPECT_EQ(status(), "3 sessions match criteria");
    EXPECT_EQ(combo(IDC_BROWSE_YEAR)->getCount(), 53);
    EXPECT_EQ(combo(IDC_BROWSE_MONTH)->getLBText(3), "March");
    EXPECT_EQ(combo(IDC_BROWSE_INSTRUCTOR)->getCount(), 1); // instructors only
    EXPECT_EQ(combo(IDC_BROWSE_PARTICIPANT)->lineEdit()->maxLength(), 80);
    EXPECT_EQ(dialog->resultList->getItemText(0, 0), "1");
    EXPECT_EQ(dialog->resultList->getItemText(0, 5), "Hanne");

    typeCriterion(IDC_BROWSE_PARTICIPANT, "Kar");
    EXPECT_EQ(rows(), 2);
    typeCriterion(IDC_BROWSE_INSTRUCTOR, "Hans");
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(status(), "One session matches criteria");
    typeCriterion(IDC_BROWSE_PARTICIPANT, "");
    typeCriterion(IDC_BROWSE_INSTRUCTOR, "");
    combo(IDC_BROWSE_MONTH)->setCurSel(3);
    click(IDC_BROWSE_SEARCH);
    EXPECT_EQ(rows(), 2);
    combo(IDC_BROWSE_YEAR)->setCurSel(9); // 2007
    click(IDC_BROWSE_SEARCH);
    EXPECT_EQ(rows(), 1);
    combo(IDC_BROWSE_YEAR)->setCurSel(1); // 1999
    click(IDC_BROWSE_SEARCH);
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(status(), "No sessions match criteria.");

    // Whatever the size, the last column takes what the others leave.
    for (QSize size : {QSize(900, 600), QSize(1400, 700)}) {
        dialog->resize(size);
        int sum = 0;
        for (int c = 0; c < 7; ++c)
            sum += dialog->resultList->getColumnWidth(c);
        EXPECT_EQ(sum, dialog->resultList->viewport()->width());
    }
}

// Opening on many sessions reads the texts of the rows on screen, not of all.
TEST_F(BrowseSessionsWindowTest, OpeningReadsOnlyTheRowsItShows)
{
    for (int i = 0; i < 1000; ++i) {
        char serial[16];
        std::snprintf(serial, sizeof serial, "1a%012d", i);
        addSession(serial, "Trainee " + std::to_string(i), "Ola", "Zora", "2010-05-06", 1);
    }
    open();
    ASSERT_EQ(rows(), 1003);
    QApplication::processEvents();
    // The first page, and the last, whose row heights set the scroll range.
    const int blocks = dialog->listedSessions().blocksRead();
    EXPECT_GE(blocks, 1);
    EXPECT_LE(blocks, 2);
    EXPECT_EQ(dialog->resultList->getItemText(0, 5), "Hanne");
    EXPECT_EQ(dialog->resultList->getItemText(1002, 5), "Zora");
    // Zora's sessions come last, ordered by the participants' names as text.
    EXPECT_EQ(dialog->resultList->getItemText(500, 1), "Trainee 546");
    EXPECT_EQ(dialog->listedSessions().blocksRead(), blocks + 1);

    // The vertical bar came with the rows: the columns fill what it leaves.
    ASSERT_TRUE(dialog->resultList->verticalScrollBar()->isVisible());
    int total = 0;
    for (int c = 0; c < 7; ++c)
        total += dialog->resultList->getColumnWidth(c);
    EXPECT_EQ(total, dialog->resultList->viewport()->width()) << "no need to scroll sideways";
}

// The pixels a cell or heading needs to show its whole text.
int needed(const CReportCtrl& list, const QString& text)
{
    return QFontMetrics(list.font()).horizontalAdvance(text) + 2 * list.margin();
}

TEST_F(BrowseSessionsWindowTest, TextsAreWholeAtTheOpeningSize)
{
    addSession("0a0b0c0d0e0f05", "Maximilian Weber", "Alexandra Lindqvist", "Dr. Berg", "2026-12-11", 1);
    open();
    ASSERT_EQ(rows(), 4);
    // Columns: each shows its heading and its widest text in full.
    const CReportCtrl& list = *dialog->resultList;
    const char* headings[] = {"", "Ventilation", "Compression", "Date", "Time", "Instructor", "Scenario"};
    for (int c = 1; c < 7; ++c) {
        int widest = needed(list, QString::fromLatin1(headings[c]));
        for (int row = 0; row < rows(); ++row)
            widest = std::max(widest, needed(list, list.getItemText(row, c)));
        EXPECT_GE(list.getColumnWidth(c), widest) << "column " << c;
    }
    EXPECT_EQ(list.getItemText(0, 3), "2026-12-11");
    int total = 0;
    for (int c = 0; c < 7; ++c)
        total += list.getColumnWidth(c);
    EXPECT_EQ(total, list.viewport()->width()) << "no need to scroll sideways";
    // The status and the hint below the list.
    for (int id : {IDC_BROWSE_STATUS, IDC_BROWSE_HINT}) {
        QWidget* label = item(id);
        EXPECT_GE(label->width(), QFontMetrics(label->font()).horizontalAdvance(platform::windowText(label))) << id;
        EXPECT_FALSE(label->geometry().intersects(item(IDC_BROWSE_IMPORT)->geometry())) << id;
    }
    EXPECT_TRUE(dialog->grab().save(QString(SCREENSHOT_DIR) + "/browse-sessions-opened.png"));

    // Names longer than the list is wide: every column keeps its texts whole,
    // and the list grows wider than its window.
    addSession("0a0b0c0d0e0f06", "Maximiliane Theodora Wittgenstein-Hohenberg", "Alexandra Lindqvist-Johannesdottir",
               "Dr. Berg", "2026-12-12", 1);
    click(IDC_BROWSE_SEARCH);
    ASSERT_EQ(rows(), 5);
    total = 0;
    for (int c = 0; c < 7; ++c) {
        total += list.getColumnWidth(c);
        if (c == 0)
            continue;
        int widest = needed(list, QString::fromLatin1(headings[c]));
        for (int row = 0; row < rows(); ++row)
            widest = std::max(widest, needed(list, list.getItemText(row, c)));
        EXPECT_GE(list.getColumnWidth(c), widest) << "column " << c;
    }
    EXPECT_GT(total, list.viewport()->width());
}

TEST_F(BrowseSessionsWindowTest, OpenExportAndImportThroughTheWindow)
{
    open();
    ASSERT_EQ(rows(), 3);
    // Sorted by instructor: Hanne 2006, Hanne 2007, Hans.
    dialog->resultList->selectRows({2, 1}, false);
    dialog->openSelectedSession();
    ASSERT_EQ(hooks.opened, std::vector<std::string>{"0a0b0c0d0e0f03"});

    // A real double click on the first row.
    QRect area = dialog->resultList->rowArea();
    QPoint onFirstRow(area.center().x(), area.top() + dialog->resultList->getRowHeight() / 2);
    QTest::mouseClick(dialog->resultList->viewport(), Qt::LeftButton, {}, onFirstRow);
    QTest::mouseDClick(dialog->resultList->viewport(), Qt::LeftButton, {}, onFirstRow);
    ASSERT_EQ(hooks.opened.size(), 2u);
    EXPECT_EQ(hooks.opened[1], "0a0b0c0d0e0f01");

    // Details puts the name the editor showed last into the box.
    hooks.personShown = "Kari";
    combo(IDC_BROWSE_PARTICIPANT)->lineEdit()->setText("K");
    click(IDC_BROWSE_PARTICIPANT_DETAILS);
    EXPECT_EQ(hooks.edited, std::vector<std::string>{"K"});
    EXPECT_EQ(platform::windowText(combo(IDC_BROWSE_PARTICIPANT)), "Kari");
    EXPECT_EQ(rows(), 3); // not searched again
    combo(IDC_BROWSE_PARTICIPANT)->lineEdit()->setText("");

    // Nothing selected: nothing to export, and no file dialog.
    click(IDC_BROWSE_SEARCH); // a new search selects nothing
    hooks.exportPath = dir.file("out.sdb");
    click(IDC_BROWSE_EXPORT);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, L"Please choose one or more sessions to export.");
    EXPECT_FALSE(std::filesystem::exists(hooks.exportPath));

    dialog->resultList->selectRows({0, 1, 2}, false);
    click(IDC_BROWSE_EXPORT);
    ASSERT_EQ(ui.boxes.size(), 2u);
    std::wstring path(hooks.exportPath.begin(), hooks.exportPath.end());
    EXPECT_EQ(ui.boxes[1].text, L"Exported 3 sessions to " + path);

    // The same file back into this station: each is a duplicate; two copies are wanted.
    ui.answers = {dbui::IDYES, dbui::IDNO, dbui::IDYES};
    hooks.importPath = hooks.exportPath;
    click(IDC_BROWSE_IMPORT);
    EXPECT_EQ(rows(), 5);
    EXPECT_EQ(ui.boxes.back().text, L"Imported 2 sessions from " + path);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Session"), "6");

    // A cancelled file dialog ends the import silently.
    std::size_t boxes = ui.boxes.size();
    hooks.importPath.clear();
    click(IDC_BROWSE_IMPORT);
    EXPECT_EQ(ui.boxes.size(), boxes);

    dialog->resize(700, 520);
    QTest::qWait(20);
    EXPECT_TRUE(dialog->grab().save(QString(SCREENSHOT_DIR) + "/browse-sessions.png"));
}

} // namespace

namespace {

// The picked rows are drawn in the highlight colour, with the keyboard focus
// in the list and after it has gone to Export; the others keep the list's
// background.
TEST_F(BrowseSessionsWindowTest, PickedRowsShowHighlighted)
{
    open();
    ASSERT_EQ(rows(), 3);
    CReportCtrl* list = dialog->resultList;
    const QRect area = list->rowArea();
    const int height = list->getRowHeight();
    auto rowPoint = [&](int row) { return QPoint(area.left() + 3, area.top() + row * height + height / 2); };
    // Beside the running number, left of any text.
    auto rowColour = [&](int row) { return list->viewport()->grab().toImage().pixelColor(rowPoint(row)); };
    const QColor highlight = list->palette().color(QPalette::Active, QPalette::Highlight);
    const QColor base = list->palette().color(QPalette::Base);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowPoint(1));
    EXPECT_EQ(list->getFirstSelected(), 1);
    EXPECT_EQ(rowColour(1), highlight);
    EXPECT_EQ(rowColour(0), base);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rowPoint(2));
    EXPECT_EQ(rowColour(1), highlight);
    EXPECT_EQ(rowColour(2), highlight);
    EXPECT_TRUE(dialog->grab().save(QString(SCREENSHOT_DIR) + "/browse-sessions-picked.png"));

    // Clicking the picked row again keeps it picked alone.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowPoint(2));
    EXPECT_EQ(list->getFirstSelected(), 2);
    EXPECT_EQ(list->getNextSelected(2), ReportModel::noRow);
    EXPECT_EQ(rowColour(1), base);
    EXPECT_EQ(rowColour(2), highlight);

    // The focus moves on: the picked row stays marked.
    item(IDC_BROWSE_EXPORT)->setFocus();
    QCoreApplication::processEvents();
    EXPECT_NE(rowColour(2), base);
    EXPECT_EQ(rowColour(0), base);
}

} // namespace
