#include "Database/BrowseSessionsDialog.h"

#include "Database/BrowseSessions.h"
#include "Database/Database.h"
#include "Database/DbUiQt.h"
#include "Database/SessionsFile.h"
#include "Utillib/LocalDate.h"
#include "Utillib/LogStream.h"
#include "Utillib/WindowUtil.h"
#include "gettext/Translator.h"
#include "platform/WindowStyles.h"
#include "platformqt/AppIcon.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/resource.h"
#include "ui/AppServices.h"
#include "ui/ControlGroup.h"
#include "ui/QtWindows.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>

namespace {

constexpr int helpContext = 10007;
constexpr int maxNameLength = 80;

BrowseSessionsHooks defaultHooks;
BrowseSessionsHooks* installedHooks = nullptr;

QString qt(const std::wstring& text) { return QString::fromStdWString(text); }

// The system's file dialog on the sessions' file type; the working folder
// is the same afterwards, whatever the dialog did to it.
std::string chooseFile(QWidget* parent, bool save)
{
    QString filter = qt(translate("Session database (*.sdb)|*.sdb|")).section('|', 0, 0);
    QFileDialog dialog(parent, qt(translate(save ? "Export sessions" : "Import sessions")), QString(), filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix("sdb");
    dialog.setOption(QFileDialog::ReadOnly, false);
    QString folder = QDir::currentPath();
    bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    QDir::setCurrent(folder);
    return chosen ? dialog.selectedFiles().first().toStdString() : std::string();
}

// How much wider than its text room a label's text is; 0 when it fits.
int missingWidth(const QWidget* label)
{
    const auto* text = qobject_cast<const QLabel*>(label);
    if (!text)
        return 0;
    return std::max(0, text->fontMetrics().horizontalAdvance(text->text()) - text->contentsRect().width());
}

// Moves a widget's left edge by dx, its right edge staying.
void moveLeftEdge(QWidget* widget, int dx)
{
    QRect place = widget->geometry();
    place.setLeft(place.left() + dx);
    widget->setGeometry(place);
}

// The criteria's labels stand right-aligned before their fields. A
// translation wider than its label (Japanese, say) widens the label to the
// left: the column of year, participant and instructor together, with the
// frame around them as far as the list's left edge; the month's label as far
// as the year's field.
void fitCriteriaLabels(QWidget* dialog)
{
    QWidget* frame = platform::dlgItem(dialog, IDC_BROWSE_CRITERIA);
    QWidget* list = platform::dlgItem(dialog, IDC_BROWSE_LIST);
    QWidget* year = platform::dlgItem(dialog, IDC_BROWSE_YEAR);
    QWidget* month = platform::dlgItem(dialog, IDC_BROWSE_MONTH_LABEL);
    std::vector<QWidget*> column;
    for (int id : {IDC_BROWSE_YEAR_LABEL, IDC_BROWSE_PARTICIPANT_LABEL, IDC_BROWSE_INSTRUCTOR_LABEL})
        if (QWidget* label = platform::dlgItem(dialog, id))
            column.push_back(label);
    if (!frame || !list || column.empty())
        return;

    int wanted = 0;
    for (QWidget* label : column)
        wanted = std::max(wanted, missingWidth(label));
    const int room = std::max(0, frame->geometry().left() - list->geometry().left());
    const int grow = std::min(wanted, room);
    if (grow > 0) {
        moveLeftEdge(frame, -grow);
        for (QWidget* label : column)
            moveLeftEdge(label, -grow);
    }
    if (month && year) {
        const int gap = 2;
        const int free = std::max(0, month->geometry().left() - (year->geometry().right() + 1) - gap);
        if (const int monthGrow = std::min(missingWidth(month), free); monthGrow > 0)
            moveLeftEdge(month, -monthGrow);
    }
}

} // namespace

void BrowseSessionsHooks::openSession(QWidget*, const SessionRecord& record)
{
    LogStream::instance() << "No editor for stored sessions to open session " + record.Serialidentifier + "\n";
    QApplication::beep();
}

std::string BrowseSessionsHooks::editPerson(QWidget*, const std::string& name)
{
    QApplication::beep();
    return name;
}

std::string BrowseSessionsHooks::chooseExportFile(QWidget* parent) { return chooseFile(parent, true); }

std::string BrowseSessionsHooks::chooseImportFile(QWidget* parent) { return chooseFile(parent, false); }

void setBrowseSessionsHooks(BrowseSessionsHooks* hooks) { installedHooks = hooks; }

BrowseSessionsHooks& browseSessionsHooks() { return installedHooks ? *installedHooks : defaultHooks; }

BrowseSessionsDialog::BrowseSessionsDialog(QWidget* parent)
    : ResizableDialog(IDD_BROWSE_SESSIONS, parent)
    , sessionTable(database)
    , personTable(database)
{
}

BrowseSessionsDialog::~BrowseSessionsDialog() = default;

platform::ComboBox* BrowseSessionsDialog::combo(int id) const
{
    return dynamic_cast<platform::ComboBox*>(platform::dlgItem(this, id));
}

std::string BrowseSessionsDialog::participantText() const
{
    return dbui::QtComboBox(combo(IDC_BROWSE_PARTICIPANT)).getText();
}

std::string BrowseSessionsDialog::instructorText() const
{
    return dbui::QtComboBox(combo(IDC_BROWSE_INSTRUCTOR)).getText();
}

bool BrowseSessionsDialog::onInitDialog()
{
    dbui::WaitCursor wait;
    ResizableDialog::onInitDialog();
    setWindowIcon(platform::applicationIcon());
    resultList = dynamic_cast<CReportCtrl*>(platform::dlgItem(this, IDC_BROWSE_LIST));
    if (resultList)
        resultList->viewport()->installEventFilter(this);
    yearCombo = combo(IDC_BROWSE_YEAR);
    monthCombo = combo(IDC_BROWSE_MONTH);

    // A table that cannot be opened stays closed; the dialog works on without
    // it. The session table holds no rows until a session is opened or
    // exported: the list reads only the columns it shows.
    sessionTable.open("1 = 0");
    personTable.open("");

    fitCriteriaLabels(this);
    WindowHandle self = handleOf(this);
    HorizontalBox criteria;
    criteria.add(1, makeSpacer(0, 0), 0.0);
    criteria.add(1,
        makeControlGroupFromIds(self, {IDC_BROWSE_CRITERIA, IDC_BROWSE_YEAR_LABEL, IDC_BROWSE_YEAR,
            IDC_BROWSE_MONTH_LABEL, IDC_BROWSE_MONTH, IDC_BROWSE_PARTICIPANT_LABEL, IDC_BROWSE_PARTICIPANT,
            IDC_BROWSE_PARTICIPANT_DETAILS, IDC_BROWSE_INSTRUCTOR_LABEL, IDC_BROWSE_INSTRUCTOR,
            IDC_BROWSE_INSTRUCTOR_DETAILS, IDC_BROWSE_SEARCH}),
        0.0);
    criteria.add(1, makeSpacer(0, 0), 0.0);
    HorizontalBox bottom;
    bottom.add(3, makeControlGroupFromIds(self, {IDC_BROWSE_STATUS, IDC_BROWSE_HINT, IDC_BROWSE_IMPORT, IDC_BROWSE_EXPORT}),
        0.0);
    bottom.add(1, makeControlGroup(self, ID_HELP, IDCANCEL), 0.0);
    VerticalBox column;
    column.add(0, criteria, 0.0);
    column.add(0, makeControlGroup(self, IDC_BROWSE_LIST_LABEL), 0.0);
    column.add(1, makeControlGroup(self, IDC_BROWSE_LIST), 0.0);
    column.add(0, bottom, 0.0);
    setLayout(column, false);

    for (int id : {IDC_BROWSE_PARTICIPANT, IDC_BROWSE_INSTRUCTOR})
        if (QLineEdit* edit = combo(id)->lineEdit())
            edit->setMaxLength(maxNameLength);

    fillCombos();

    // Rows come from the table's result as they are drawn: a long list
    // costs no more to show than a short one.
    resultList->modifyStyle(0, ReportStyle::OwnerData);
    resultList->setListener(this);
    const char* headings[] = {"", "Ventilation", "Compression", "Date", "Time", "Instructor", "Scenario"};
    const int widths[] = {-1, 100, 100, 50, 50, 100, 100};
    for (int i = 0; i < 7; ++i) {
        ReportColumn c;
        c.format = i == 0 ? 0x4001 : 0x4000; // right-aligned running number, left-aligned texts
        c.width = widths[i];
        c.title = i == 0 ? QString() : qt(translate(headings[i]));
        resultList->defineColumn(i, c);
        resultList->showColumn(i, i);
    }

    showMatchingSessions();
    combo(IDC_BROWSE_PARTICIPANT)->setFocus();
    return false;
}

bool BrowseSessionsDialog::onCommand(int id, int code)
{
    if (code != BN_CLICKED)
        return ResizableDialog::onCommand(id, code);
    switch (id) {
    case IDC_BROWSE_SEARCH:
        showMatchingSessions();
        return true;
    case IDC_BROWSE_PARTICIPANT_DETAILS:
        participantDetails();
        return true;
    case IDC_BROWSE_INSTRUCTOR_DETAILS:
        instructorDetails();
        return true;
    case IDC_BROWSE_EXPORT:
        exportSessions();
        return true;
    case IDC_BROWSE_IMPORT:
        importSessions();
        return true;
    case ID_HELP:
        if (AppServices* services = appServices())
            services->showHelp(helpContext);
        return true;
    default:
        return ResizableDialog::onCommand(id, code);
    }
}

void BrowseSessionsDialog::onSize(UINT type, int cx, int cy)
{
    ResizableDialog::onSize(type, cx, cy);
    if (initialised && resultList)
        resizeColumns();
}

bool BrowseSessionsDialog::eventFilter(QObject* watched, QEvent* event)
{
    // The list's vertical bar comes and goes with its rows, also after the
    // columns were sized: they fill what it leaves. A height change alone
    // (the horizontal bar) changes nothing here.
    if (initialised && resultList && watched == resultList->viewport() && event->type() == QEvent::Resize) {
        auto* resize = static_cast<QResizeEvent*>(event);
        if (resize->size().width() != resize->oldSize().width())
            resizeColumns();
    }
    return ResizableDialog::eventFilter(watched, event);
}

void BrowseSessionsDialog::fillCombos()
{
    dbui::QtComboBox participants(combo(IDC_BROWSE_PARTICIPANT));
    personTable.fillCombo(participants, "name", "");
    dbui::QtComboBox instructors(combo(IDC_BROWSE_INSTRUCTOR));
    personTable.fillCombo(instructors, "name", "instructor = true");
    if (listsFilled)
        return;
    yearCombo->resetContent();
    yearCombo->addString(qt(translate("(Any year)")));
    for (int year = browseSessions::firstYear; year <= browseSessions::lastYear; ++year)
        yearCombo->addString(QString::number(year));
    yearCombo->setCurSel(0);
    monthCombo->resetContent();
    for (const char* month : {"(Any month)", "January", "February", "March", "April", "May", "June", "July", "August",
             "September", "October", "November", "December"})
        monthCombo->addString(qt(translate(month)));
    monthCombo->setCurSel(0);
    listsFilled = true;
}

bool BrowseSessionsDialog::applyCriteria()
{
    // Nothing is listed while the database is not open.
    if (sessionTable.GetTableName().empty())
        return false;
    return sessions.search(sessionTable.connection(), participantText(), instructorText(), yearCombo->getCurSel(),
        monthCombo->getCurSel());
}

void BrowseSessionsDialog::showMatchingSessions()
{
    sessions.clear();
    // A new search starts with nothing selected.
    resultList->deleteAllItems();
    resultList->setItemCount(0);
    applyCriteria();
    resultList->setItemCount(static_cast<int>(sessions.size()));
    resultList->viewport()->update();
    if (QWidget* status = platform::dlgItem(this, IDC_BROWSE_STATUS))
        platform::setWindowText(status, qt(browseSessions::statusText(int(sessions.size()))));
    resizeColumns();
}

void BrowseSessionsDialog::resizeColumns()
{
    // Column 0 fits the largest running number.
    QFontMetrics metrics(resultList->font());
    int first = metrics.horizontalAdvance(QString::number(std::max<std::size_t>(sessions.size(), 1))) + 4 * resultList->margin()
        + 4;
    resultList->setColumnWidth(0, first);
    // What each column's heading and the texts on screen need, so that none
    // is cut; the rows further down are not read for it.
    const int shown = resultList->viewport()->height() / std::max(resultList->getRowHeight(), 1) + 1;
    std::array<int, 6> needed{};
    for (int i = 0; i < 6; ++i) {
        resultList->fitColumnWidth(i + 1, resultList->firstVisible(), shown);
        needed[static_cast<std::size_t>(i)] = resultList->getColumnWidth(i + 1);
    }
    std::array<int, 6> widths = browseSessions::columnWidths(resultList->viewport()->width(), first, needed);
    for (int i = 0; i < 6; ++i)
        resultList->setColumnWidth(i + 1, widths[i]);
}

void BrowseSessionsDialog::reportGetItem(CReportCtrl&, ReportItemNotify& request)
{
    ReportItem& item = request.item;
    if (item.row < 0 || item.row >= static_cast<int>(sessions.size()))
        return;
    item.data = item.row;
    if (!(item.mask & ReportMask::Text))
        return;
    const browseSessions::ListRow& row = sessions.row(static_cast<std::size_t>(item.row));
    switch (item.subitem) {
    case 0: item.text = QString::number(item.row + 1); break;
    case 1: item.text = platform::ansiToQString(row.ventilation); break;
    case 2: item.text = platform::ansiToQString(row.compression); break;
    case 3: item.text = platform::ansiToQString(Utillib::toLocalDate(row.date)); break;
    case 4: item.text = platform::ansiToQString(row.time); break;
    case 5: item.text = platform::ansiToQString(row.instructor); break;
    case 6: item.text = platform::ansiToQString(row.scenario); break;
    default: break;
    }
}

int BrowseSessionsDialog::reportNotify(CReportCtrl&, const ReportNotify& notification)
{
    if (notification.code == ReportCode::ItemDoubleClick)
        openSelectedSession();
    return 0;
}

std::vector<int> BrowseSessionsDialog::selectedRows() const
{
    std::vector<int> selected;
    for (int row = resultList->getFirstSelected(); row >= 0; row = resultList->getNextSelected(row))
        selected.push_back(row);
    return selected;
}

void BrowseSessionsDialog::personDetails(int comboId)
{
    platform::ComboBox* box = combo(comboId);
    std::string name = browseSessionsHooks().editPerson(this, dbui::QtComboBox(box).getText());
    fillCombos();
    Utillib::selectComboString(box, name);
}

void BrowseSessionsDialog::participantDetails() { personDetails(IDC_BROWSE_PARTICIPANT); }

void BrowseSessionsDialog::instructorDetails() { personDetails(IDC_BROWSE_INSTRUCTOR); }

void BrowseSessionsDialog::openSelectedSession()
{
    std::vector<int> selected = selectedRows();
    if (sessionTable.GetTableName().empty() || selected.empty()) {
        QApplication::beep();
        return;
    }
    int lowest = *std::min_element(selected.begin(), selected.end());
    SessionRecord record;
    if (lowest >= static_cast<int>(sessions.size())
        || !browseSessions::loadSession(sessionTable, sessions.row(static_cast<std::size_t>(lowest)).serial, record)) {
        QApplication::beep();
        return;
    }
    browseSessionsHooks().openSession(this, record);
    showMatchingSessions();
}

void BrowseSessionsDialog::exportSessions()
{
    dbui::WaitCursor wait;
    std::vector<std::string> serials;
    std::vector<int> selected = selectedRows();
    std::sort(selected.begin(), selected.end());
    for (int row : selected)
        if (row >= 0 && row < static_cast<int>(sessions.size()))
            serials.push_back(sessions.row(static_cast<std::size_t>(row)).serial);
    std::vector<SessionRecord> exported;
    if (!sessionTable.GetTableName().empty())
        exported = browseSessions::collectForExport(sessionTable, serials);
    if (exported.empty()) {
        browseSessions::showNothingToExport();
        return;
    }
    std::string path = browseSessionsHooks().chooseExportFile(this);
    if (!path.empty())
        writeSessionsFile(path, exported);
}

void BrowseSessionsDialog::importSessions()
{
    std::string path = browseSessionsHooks().chooseImportFile(this);
    if (path.empty())
        return;
    dbui::WaitCursor wait;
    std::vector<SessionRecord> imported = readSessionsFile(path);
    int count = imported.empty() ? 0 : browseSessions::storeImported(sessionTable, imported, Utillib::toLocalDate);
    showMatchingSessions();
    browseSessions::showImportSummary(count, path);
}

void runSessionBrowser(QWidget* parent)
{
    CReportCtrl::registerWindowClass();
    BrowseSessionsDialog dialog(parent);
    dialog.doModal();
}
