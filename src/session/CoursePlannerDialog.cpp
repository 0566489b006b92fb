#include "session/CoursePlannerDialog.h"

#include "Database/Database.h"
#include "Database/DbUiQt.h"
#include "Database/PersonDialog.h"
#include "Database/RecordEditorWiring.h"
#include "Database/ScenarioDialog.h"
#include "Database/SessionDialog.h"
#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "Utillib/WindowUtil.h"
#include "calibrate/QtPortComboBox.h"
#include "comm/CalibrateManager.h"
#include "config/TrainingMode.h"
#include "gettext/Translator.h"
#include "platform/WindowStyles.h"
#include "platformqt/AppIcon.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/CoursePlannerIds.h"
#include "res/resource.h"
#include "session/CoursePrintDialog.h"
#include "session/RunCourseDialog.h"
#include "session/TrainingApp.h"
#include "ui/AppServices.h"
#include "ui/COXMaskedEdit.h"
#include "ui/ControlGroup.h"
#include "ui/QtWindows.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

namespace {

constexpr int helpContext = 10008;

CourseRecord emptyCourse()
{
    CourseRecord course;
    course.Date.clear();
    course.Time.clear();
    return course;
}

std::string narrow(const std::wstring& text) { return GString::to_string(text); }

void setMaxLength(QWidget* control, int length)
{
    if (auto* line = qobject_cast<QLineEdit*>(control))
        line->setMaxLength(length);
    else if (auto* box = qobject_cast<QComboBox*>(control); box && box->lineEdit())
        box->lineEdit()->setMaxLength(length);
}

bool setUpBitmapButton(MapBitmapButton& button, QWidget* dialog, int id, const unsigned (&faces)[4], unsigned labelId)
{
    if (!button.subclassAndLoad(static_cast<unsigned>(id), dialog, faces[0], faces[1], faces[2], faces[3], 0)) {
        LogStream::instance() << "The planner's button " << id << " could not get its bitmaps" << LogStream::endl;
        return false;
    }
    button.createLabel(labelId);
    return true;
}

} // namespace

CoursePlannerDialog::CoursePlannerDialog(QWidget* parent)
    : ResizableDialog(IDD_COURSE_PLANNER, parent)
    , courseTable(database)
    , sessionTable(database)
    , scenarioTable(database)
    , algorithmTable(database)
    , personTable(database)
    , schedule(*this)
{
    record = emptyCourse();
}

CoursePlannerDialog::~CoursePlannerDialog() { QObject::disconnect(qApp, nullptr, this, nullptr); }

platform::ComboBox* CoursePlannerDialog::combo(int id) const { return platform::dlgItem<platform::ComboBox>(this, id); }

std::string CoursePlannerDialog::text(int id) const { return Utillib::getWindowText(platform::dlgItem(this, id)); }

bool CoursePlannerDialog::onInitDialog()
{
    dbui::WaitCursor wait;
    ResizableDialog::onInitDialog();
    setWindowIcon(platform::applicationIcon());
    recordEditor::installWiring(this);
    setUpControls();
    buildLayout();

    // A table that cannot be opened stays closed; the planner works on without it.
    table = &courseTable;
    courseTable.open(std::string());
    sessionTable.open(std::string());
    scenarioTable.open(std::string());
    algorithmTable.open(std::string());
    personTable.open(std::string());

    record = emptyCourse();
    record.Instructor = narrow(translate("Instructor"));
    fillCombos();
    if (courseTable.IsOpen()) {
        if (findRecord(record)) {
            loadCurrentRecord();
            updating = true;
            showRecord(record);
            updating = false;
            updateButtons();
        } else {
            newEntry(record);
        }
    }
    loadSchedule();
    refresh();
    setUp = true;
    record = readRecord();
    updateButtons();

    if (scrollBar)
        QObject::connect(scrollBar, &QScrollBar::valueChanged, this, [this](int position) {
            if (filling)
                return;
            // What is being typed in a row counts before the rows move.
            if (QWidget* focused = rowControlOf(QApplication::focusWidget(), nullptr))
                leaveControl(focused);
            else
                readRows();
            if (schedule.scrollTo(position))
                refresh();
        });
    QObject::connect(qApp, &QApplication::focusChanged, this,
                     [this](QWidget* old, QWidget* now) { onFocusChanged(old, now); });
    return false;
}

void CoursePlannerDialog::setUpControls()
{
    navigation.subclass(this);
    constexpr unsigned upFaces[4] = {IDB_MOVE_UP, IDB_MOVE_UP_PRESSED, IDB_MOVE_UP_FOCUSED, IDB_MOVE_UP_DISABLED};
    constexpr unsigned downFaces[4] = {IDB_MOVE_DOWN, IDB_MOVE_DOWN_PRESSED, IDB_MOVE_DOWN_FOCUSED,
                                       IDB_MOVE_DOWN_DISABLED};
    constexpr unsigned removeFaces[4] = {IDB_REMOVE_ROW, IDB_REMOVE_ROW_PRESSED, IDB_REMOVE_ROW_FOCUSED,
                                         IDB_REMOVE_ROW_DISABLED};
    constexpr unsigned sortFaces[4] = {IDB_SORT_ROWS, IDB_SORT_ROWS_PRESSED, IDB_SORT_ROWS_FOCUSED,
                                       IDB_SORT_ROWS_DISABLED};
    constexpr unsigned printFaces[4] = {IDB_PRINT_SCHEDULE, IDB_PRINT_SCHEDULE_PRESSED, IDB_PRINT_SCHEDULE_FOCUSED,
                                        IDB_PRINT_SCHEDULE_DISABLED};
    setUpBitmapButton(moveUpButton, this, IDC_PLAN_MOVE_UP, upFaces, IDC_PLAN_MOVE_UP_LABEL);
    setUpBitmapButton(moveDownButton, this, IDC_PLAN_MOVE_DOWN, downFaces, IDC_PLAN_MOVE_DOWN_LABEL);
    setUpBitmapButton(removeButton, this, IDC_PLAN_REMOVE, removeFaces, IDC_PLAN_REMOVE_LABEL);
    setUpBitmapButton(sortButton, this, IDC_PLAN_SORT, sortFaces, IDC_PLAN_SORT_LABEL);
    setUpBitmapButton(printButton, this, IDC_PLAN_PRINT, printFaces, IDC_PLAN_PRINT_LABEL);

    dateEdit = new COXMaskedEdit("####-##-##", this);
    dateEdit->subclassDlgItem(IDC_PLAN_DATE, this);
    dateEdit->SetInsertMode(false);
    timeEdit = new COXMaskedEdit("##:##", this);
    timeEdit->subclassDlgItem(IDC_PLAN_TIME, this);
    timeEdit->SetInsertMode(false);
    // The fields say what they take, so that a date is not typed day first.
    dateEdit->setFormatHint(QString::fromStdWString(translate("YYYY-MM-DD")));
    timeEdit->setFormatHint(QString::fromStdWString(translate("HH:MM")));
    setMaxLength(dateEdit, 10);
    setMaxLength(timeEdit, 5);
    setMaxLength(combo(IDC_PLAN_INSTRUCTOR), 80);
    if (auto* notes = platform::dlgItem<QPlainTextEdit>(this, IDC_PLAN_NOTES))
        Utillib::limitText(notes, 250);

    for (int k = 0; k < ScheduleGrid::visibleRows; ++k) {
        const res::CoursePlannerRowIds& ids = res::coursePlannerRows[k];
        Row& r = rows[k];
        r.number = platform::dlgItem(this, ids.number);
        r.ventilation = combo(ids.ventilation);
        r.compression = combo(ids.compression);
        r.manikin = combo(ids.manikin);
        r.start = new COXMaskedEdit("##:##", this);
        r.start->subclassDlgItem(ids.start, this);
        r.start->SetInsertMode(false);
        r.end = platform::dlgItem(this, ids.end);
        r.details = platform::dlgItem(this, ids.details);
        setMaxLength(r.ventilation, 80);
        setMaxLength(r.compression, 80);
        setMaxLength(r.manikin, 3);
        setMaxLength(r.start, 5);
        setMaxLength(r.end, 5);
    }
    scrollBar = platform::dlgItem<QScrollBar>(this, IDC_PLAN_SCROLL);
    highlight = platform::dlgItem(this, IDC_PLAN_HIGHLIGHT);
    if (highlight) {
        highlight->show();
        highlight->lower();
    }
}

void CoursePlannerDialog::buildLayout()
{
    WindowHandle self = handleOf(this);
    const auto windows = [this](std::initializer_list<QWidget*> list) {
        std::vector<WindowHandle> handles;
        for (QWidget* w : list)
            if (w)
                handles.push_back(handleOf(w));
        return makeControlGroupFromWindows(handles);
    };

    HorizontalBox quickFind;
    quickFind.add(0, makeControlGroup(self, IDC_PLAN_QUICKFIND_LABEL), 0.0);
    quickFind.add(1, makeControlGroup(self, IDC_DB_QUICKFIND), 0.0);
    quickFind.add(0, makeControlGroup(self, IDC_DB_FIRST, IDC_DB_PREVIOUS, IDC_DB_NEXT, IDC_DB_LAST), 0.0);

    VerticalBox labels;
    labels.add(0, makeControlGroup(self, IDC_PLAN_INSTRUCTOR_LABEL, IDC_PLAN_DATE_LABEL, IDC_PLAN_SCENARIO_LABEL), 0.0);
    labels.add(1, makeControlGroup(self, IDC_PLAN_NOTES_LABEL), 0.0);
    VerticalBox fields;
    fields.add(0, makeControlGroup(self, IDC_PLAN_INSTRUCTOR, IDC_PLAN_DATE, IDC_PLAN_TIME_LABEL, IDC_PLAN_TIME, IDC_PLAN_SCENARIO),
               0.0);
    fields.add(1, makeControlGroup(self, IDC_PLAN_NOTES), 0.0);
    VerticalBox details;
    details.add(0, makeControlGroup(self, IDC_PLAN_INSTRUCTOR_DETAILS, IDC_PLAN_SCENARIO_DETAILS), 0.0);
    details.add(1, makeSpacer(0, 0), 0.0);
    VerticalBox recordButtons;
    recordButtons.add(0, makeControlGroup(self, IDC_DB_NEW, IDC_DB_DELETE, IDC_DB_SAVE, IDC_DB_DISCARD), 0.0);
    recordButtons.add(1, makeSpacer(0, 0), 0.0);
    HorizontalBox course;
    course.add(1, labels, 0.0);
    course.add(3, fields, 0.0);
    course.add(0, details, 0.0);
    course.add(0, makeControlGroup(self, IDC_PLAN_LINE_RECORD), 0.0);
    course.add(0, recordButtons, 0.0);

    // The heading and each row: the person columns three parts, the rest one.
    VerticalBox rowsBox;
    {
        HorizontalBox heading;
        heading.add(3, makeControlGroup(self, IDC_PLAN_HEAD_VENTILATION), 0.0);
        heading.add(3, makeControlGroup(self, IDC_PLAN_HEAD_COMPRESSION), 0.0);
        heading.add(1, makeControlGroup(self, IDC_PLAN_HEAD_MANIKIN), 0.0);
        heading.add(1, makeControlGroup(self, IDC_PLAN_HEAD_START), 0.0);
        heading.add(1, makeControlGroup(self, IDC_PLAN_HEAD_END), 0.0);
        heading.add(1, makeSpacer(0, 0), 0.0);
        rowsBox.add(0, heading, 0.0);
    }
    for (const Row& r : rows) {
        HorizontalBox line;
        line.add(0, windows({r.number}), 0.0);
        line.add(3, windows({r.ventilation}), 0.0);
        line.add(3, windows({r.compression}), 0.0);
        line.add(1, windows({r.manikin}), 0.0);
        line.add(1, windows({r.start}), 0.0);
        line.add(1, windows({r.end}), 0.0);
        line.add(1, windows({r.details}), 0.0);
        rowsBox.add(0, line, 0.0);
    }
    HorizontalBox scheduleBox;
    scheduleBox.add(1, rowsBox, 0.0);
    scheduleBox.add(0, makeControlGroup(self, IDC_PLAN_SCROLL), 0.0);

    HorizontalBox buttons;
    buttons.add(0, windows({&moveUpButton, &moveDownButton}), 0.0);
    buttons.add(2, windows({&moveUpButton.label, &moveDownButton.label}), 0.0);
    buttons.add(0, windows({&removeButton, &sortButton}), 0.0);
    buttons.add(2, windows({&removeButton.label, &sortButton.label}), 0.0);
    buttons.add(0, windows({platform::dlgItem(this, IDC_DB_HELP), &printButton}), 0.0);
    buttons.add(2, windows({&printButton.label}), 0.0);
    buttons.add(1, makeControlGroup(self, IDC_PLAN_RUN, IDCANCEL), 0.0);

    VerticalBox column;
    column.add(0, quickFind, 0.0);
    column.add(0, makeControlGroup(self, IDC_PLAN_LINE_TOP), 0.0);
    column.add(1, course, 0.0);
    column.add(0, makeControlGroup(self, IDC_PLAN_LINE_SCHEDULE, IDC_PLAN_SCHEDULE_LABEL), 0.0);
    column.add(0, scheduleBox, 0.0);
    column.add(0, makeControlGroup(self, IDC_PLAN_LINE_BOTTOM), 0.0);
    column.add(0, buttons, 0.0);
    setLayout(column, false);
}

void CoursePlannerDialog::onSize(UINT type, int cx, int cy)
{
    ResizableDialog::onSize(type, cx, cy);
    if (initialised && highlight)
        markRow(schedule.selected());
}

// ---- the station ----

ScheduleScenario CoursePlannerDialog::scenario(const std::string& name)
{
    ScheduleScenario s;
    if (name.empty() || !scenarioTable.IsOpen())
        return s;
    const ScenarioRecord found = scenarioTable.findByName(name);
    if (found.Name.empty())
        return s;
    s.duration = found.Duration;
    s.algorithm = found.Algorithm;
    s.registerEvents = found.RegisterEvents != 0;
    s.trainingMode = found.TrainingMode;
    return s;
}

int CoursePlannerDialog::firstAvailablePort() { return CalibrateManager::get().firstAvailablePort(); }

// ---- the record editor's hooks ----

void CoursePlannerDialog::showRecord(const CourseRecord& rec)
{
    const bool wasFilling = filling;
    filling = true;
    if (platform::ComboBox* quick = recordEditor::quickFindBox(this))
        quick->setCurSel(-1);
    Utillib::selectComboString(combo(IDC_PLAN_INSTRUCTOR), rec.Instructor);
    dateEdit->SetInputText(rec.Date.c_str(), 0, true);
    timeEdit->SetInputText(rec.Time.c_str(), 0, true);
    platform::ComboBox* scenarios = combo(IDC_PLAN_SCENARIO);
    if (!rec.DefaultScenario.empty())
        Utillib::selectComboString(scenarios, rec.DefaultScenario);
    else if (scenarios->getCount() > 0)
        scenarios->setCurSel(0);
    platform::setWindowTextA(platform::dlgItem(this, IDC_PLAN_NOTES), rec.Note);
    filling = wasFilling;
    combo(IDC_PLAN_INSTRUCTOR)->setFocus(Qt::OtherFocusReason);
}

CourseRecord CoursePlannerDialog::readRecord()
{
    CourseRecord rec = record;
    rec.Instructor = trimmed(Utillib::getComboText(combo(IDC_PLAN_INSTRUCTOR), true));
    // The whole mask, blanks and literals, also while an empty field shows its format.
    rec.Date = dateEdit->GetDisplayText();
    rec.Time = timeEdit->GetDisplayText();
    rec.Note = text(IDC_PLAN_NOTES);
    rec.DefaultScenario = Utillib::getComboText(combo(IDC_PLAN_SCENARIO));
    return rec;
}

bool CoursePlannerDialog::isChanged()
{
    const CourseRecord shown = readRecord();
    return shown.Instructor != record.Instructor || shown.Date != record.Date || shown.Time != record.Time
        || shown.DefaultScenario != record.DefaultScenario || shown.Note != record.Note;
}

void CoursePlannerDialog::enableButtons(int bits) { recordEditor::enableButtons(this, bits, true); }

std::wstring CoursePlannerDialog::messageText(int number)
{
    switch (number) {
    case 0:
        return translate("A course with the same instructor, date, and time already exists!\nDo you want to replace the "
                         "existing course with this one?\n\nIf you want to use the new entry and remove the old one, "
                         "please choose 'Yes'.\nIf you want to drop the new entry and keep the old one, choose "
                         "'No'.\nIf you want to have two different courses, please choose 'Cancel'\nand change the "
                         "date or time of the new entry to something different.\n\n");
    case 1:
        return translate("A course with the same instructor, date and time already exists!\nDo you want to replace the "
                         "existing course with this one?\n");
    case 2:
        return translate("Course plan was changed. Save the changes?");
    case 4:
        return translate("A course has to have an instructor, date, and time.\nPlease fill in these fields before you "
                         "proceed.");
    case 5:
    case 6:
        return translate("Are you sure you want to remove this course\nand all related sessions?\nYou can not undo "
                         "this operation.");
    default:
        return {};
    }
}

void CoursePlannerDialog::notifyChanged() { tablePool.refresh(tableKind::Course); }

void CoursePlannerDialog::fillCombos()
{
    const bool wasFilling = filling;
    filling = true;
    if (platform::ComboBox* quick = recordEditor::quickFindBox(this)) {
        dbui::QtComboBox box(quick);
        courseTable.fillCourseCombo(box);
    }
    Row& first = rows[0];
    if (databaseOpen) {
        PersonTable persons(database);
        if (persons.open(std::string())) {
            {
                platform::ComboBox* instructors = combo(IDC_PLAN_INSTRUCTOR);
                const std::string shown = Utillib::getComboText(instructors, true);
                dbui::QtComboBox box(instructors);
                persons.fillCombo(box, "name", "Instructor = TRUE");
                Utillib::selectComboString(instructors, shown);
            }
            const std::string shown = Utillib::getComboText(first.ventilation, true);
            dbui::QtComboBox box(first.ventilation);
            persons.fillCombo(box, "name", std::string());
            Utillib::selectComboString(first.ventilation, shown);
        }
        ScenarioTable scenarios(database);
        if (scenarios.open(std::string())) {
            dbui::QtComboBox box(combo(IDC_PLAN_SCENARIO));
            Utillib::ComboSelectionKeeper keep(combo(IDC_PLAN_SCENARIO));
            scenarios.fillCombo(box, "name", std::string());
        }
    }
    const std::string port = Utillib::getComboText(first.manikin, true);
    QtPortComboBox ports(first.manikin);
    CalibrateManager::get().fillPortCombo(ports);
    Utillib::selectComboString(first.manikin, port);
    for (int k = 0; k < ScheduleGrid::visibleRows; ++k) {
        if (k > 0) {
            Utillib::copyComboItems(first.ventilation, rows[k].ventilation);
            Utillib::copyComboItems(first.manikin, rows[k].manikin);
        }
        Utillib::copyComboItems(first.ventilation, rows[k].compression);
    }
    filling = wasFilling;
}

void CoursePlannerDialog::beforeSave(CourseRecord& rec)
{
    personsAdded = false;
    for (SessionRecord& row : schedule.rows()) {
        row.CourseInstructor = rec.Instructor;
        row.CourseDate = rec.Date;
        row.CourseTime = rec.Time;
        for (const std::string* name : {&row.PersonVentilation, &row.PersonChestCompression})
            if (!name->empty() && personTable.addIfNew(*name, false))
                personsAdded = true;
    }
}

void CoursePlannerDialog::afterSave()
{
    // The schedule of a course whose instructor this station cannot show is
    // refused by the store, which would write the reading ("??"). Left as
    // the user found it, it has nothing to store: the course's own fields
    // were stored, and that is the whole save.
    if (!changed && !record.getKey().instructorShown()) {
        updateButtons();
        return;
    }
    // The schedule counts as changed until it is stored.
    const int rowsBefore = schedule.size();
    const CourseKey keyBefore = record.getKey();
    const bool stored = sessionTable.IsOpen() && sessionTable.saveCourseSessions(record, schedule.courseSchedule());
    scheduleNotStored = !stored;
    changed = !stored;
    // The schedule followed its course to the key another station gave it:
    // the form shows that course now.
    if (stored && !(record.getKey() == keyBefore)) {
        if (findRecord(record))
            loadCurrentRecord();
        updateDialog();
    }
    // Rows another station deleted and this form left unchanged are gone.
    if (schedule.size() != rowsBefore)
        refresh();
    updateButtons();
}

// ---- the grid ----

void CoursePlannerDialog::takeScheduleChanges()
{
    if (schedule.modified()) {
        changed = true;
        schedule.setModified(false);
    }
}

void CoursePlannerDialog::loadSchedule()
{
    std::vector<SessionRecord> stored;
    if (sessionTable.IsOpen())
        stored = sessionTable.loadCourseSessions(record.getKey());
    schedule.load(std::move(stored));
    changed = false;
}

void CoursePlannerDialog::showSchedule()
{
    loadSchedule();
    schedule.goToTop();
    refresh();
}

void CoursePlannerDialog::setUpScrollBar()
{
    if (!scrollBar)
        return;
    const ScheduleGrid::Scroll s = schedule.scroll();
    scrollBar->setRange(0, s.limit);
    scrollBar->setPageStep(std::max(s.page, 1));
}

void CoursePlannerDialog::refresh()
{
    const bool wasFilling = filling;
    filling = true;
    if (schedule.refresh(readRecord()))
        setUpScrollBar();
    if (scrollBar && scrollBar->value() != schedule.top())
        scrollBar->setValue(schedule.top());
    const int shown = schedule.shownCount();
    if (!schedule.locked())
        enableRows(true);
    markRow(schedule.selected());
    for (int k = 0; k < ScheduleGrid::visibleRows; ++k) {
        const Row& r = rows[k];
        for (QWidget* w : {r.number, static_cast<QWidget*>(r.ventilation), static_cast<QWidget*>(r.compression),
                           static_cast<QWidget*>(r.manikin), static_cast<QWidget*>(r.start), r.end, r.details})
            Utillib::showWithFocus(w, k < shown);
    }
    showRows(shown);
    if (schedule.locked())
        enableRows(false);
    filling = wasFilling;
    takeScheduleChanges();
    updateButtons();
}

void CoursePlannerDialog::enableRows(bool enable)
{
    for (const Row& r : rows)
        for (QWidget* w : {r.number, static_cast<QWidget*>(r.ventilation), static_cast<QWidget*>(r.compression),
                           static_cast<QWidget*>(r.manikin), static_cast<QWidget*>(r.start), r.end, r.details})
            Utillib::enableWithFocus(w, enable);
}

void CoursePlannerDialog::showRows(int count)
{
    for (int k = 0; k < count; ++k) {
        const int i = schedule.rowOfVisible(k + 1);
        const SessionRecord& rec = schedule.rows()[i];
        const Row& r = rows[k];
        Utillib::setWindowTextIfChanged(r.number, std::to_string(i + 1));
        Utillib::selectComboString(r.ventilation, rec.PersonVentilation);
        Utillib::selectComboString(r.compression, rec.PersonChestCompression);
        setParticipantFields(rec.TrainingMode, r.ventilation, nullptr, r.compression, nullptr, true, false);
        Utillib::selectComboString(r.manikin, std::to_string(rec.Manikin));
        r.start->SetInputText(rec.StartTime.c_str(), 0, true);
        Utillib::setWindowTextIfChanged(r.end, rec.EndTime);
        Utillib::enableWithFocus(r.details, schedule.detailsEnabled(i));
        if (schedule.timesFixed(i)) {
            Utillib::enableWithFocus(r.manikin, false);
            Utillib::enableWithFocus(r.start, false);
        }
    }
}

void CoursePlannerDialog::readRows()
{
    if (filling)
        return;
    for (int k = 0; k < schedule.shownCount(); ++k) {
        const Row& r = rows[k];
        ScheduleGrid::RowTexts texts;
        texts.ventilation = Utillib::getComboText(r.ventilation, true);
        texts.compression = Utillib::getComboText(r.compression, true);
        texts.manikin = Utillib::getComboText(r.manikin, true);
        texts.start = Utillib::getWindowText(r.start);
        texts.end = Utillib::getWindowText(r.end);
        schedule.readRow(schedule.rowOfVisible(k + 1), texts);
    }
    takeScheduleChanges();
}

void CoursePlannerDialog::markRow(int visibleRow)
{
    if (!highlight)
        return;
    if (visibleRow < 1 || visibleRow > ScheduleGrid::visibleRows) {
        highlight->hide();
        return;
    }
    const QWidget* details = rows[0].details;
    const QWidget* person = rows[visibleRow - 1].ventilation;
    highlight->setGeometry(0, person->y() - 3, details->geometry().right() + 1 + 3, person->height() + 7);
    highlight->show();
    highlight->lower();
}

// ---- focus ----

QWidget* CoursePlannerDialog::rowControlOf(const QWidget* widget, int* visibleRow) const
{
    if (!widget)
        return nullptr;
    for (int k = 0; k < ScheduleGrid::visibleRows; ++k) {
        const Row& r = rows[k];
        for (QWidget* w : {r.number, static_cast<QWidget*>(r.ventilation), static_cast<QWidget*>(r.compression),
                           static_cast<QWidget*>(r.manikin), static_cast<QWidget*>(r.start), r.end})
            if (w && (w == widget || w->isAncestorOf(widget))) {
                if (visibleRow)
                    *visibleRow = k;
                return w;
            }
    }
    return nullptr;
}

void CoursePlannerDialog::onFocusChanged(QWidget* old, QWidget* now)
{
    if (filling || !isVisible())
        return;
    const auto controlOf = [this](QWidget* w) -> QWidget* {
        while (w && w->parentWidget() != this)
            w = w->parentWidget();
        return w;
    };
    QWidget* left = controlOf(old);
    QWidget* entered = controlOf(now);
    if (left && left != entered)
        leaveControl(left);
    int k = -1;
    if (entered && rowControlOf(entered, &k)) {
        schedule.select(k + 1);
        markRow(schedule.selected());
    }
}

void CoursePlannerDialog::leaveControl(QWidget* control)
{
    const int id = platform::controlId(control);
    if (id == IDC_PLAN_INSTRUCTOR || id == IDC_PLAN_DATE) {
        refresh();
        return;
    }
    if (id == IDC_PLAN_TIME) {
        schedule.retimePlaceholder(readRecord());
        refresh();
        return;
    }
    int k = -1;
    QWidget* rowControl = rowControlOf(control, &k);
    if (!rowControl || schedule.locked())
        return;
    const Row& r = rows[k];
    if (rowControl == r.start) {
        const int i = schedule.rowOfVisible(k + 1);
        if (i < schedule.size() && schedule.updateEndTime(i, Utillib::getWindowText(r.start))) {
            const bool wasFilling = filling;
            filling = true;
            r.start->SetInputText(schedule.rows()[i].StartTime.c_str(), 0, true);
            Utillib::setWindowTextIfChanged(r.end, schedule.rows()[i].EndTime);
            filling = wasFilling;
        }
    }
    if (rowControl == r.start || rowControl == r.ventilation || rowControl == r.compression || rowControl == r.manikin) {
        readRows();
        refresh();
    }
}

// ---- commands ----

bool CoursePlannerDialog::onCommand(int id, int code)
{
    if (filling)
        return ResizableDialog::onCommand(id, code);
    if (rowCommand(id, code))
        return true;
    const bool clicked = code == BN_CLICKED;
    switch (id) {
    case IDC_PLAN_INSTRUCTOR:
        if (code == CBN_EDITCHANGE || code == CBN_SELCHANGE || code == CBN_CLOSEUP)
            refresh();
        return true;
    case IDC_PLAN_DATE:
    case IDC_PLAN_TIME:
        // The schedule opens once the course's key is whole, whichever field
        // completes it (the rows exist only once the form is set up).
        if (code == EN_CHANGE && !updating)
            setUp ? refresh() : updateButtons();
        return true;
    case IDC_PLAN_NOTES:
        if (code == EN_CHANGE && !updating)
            updateButtons();
        return true;
    case IDC_PLAN_SCENARIO:
        if (code == CBN_SELCHANGE || code == CBN_CLOSEUP)
            applyDefaultScenario();
        return true;
    case IDC_PLAN_INSTRUCTOR_DETAILS:
        if (clicked)
            instructorDetails();
        return true;
    case IDC_PLAN_SCENARIO_DETAILS:
        if (clicked)
            scenarioDetails();
        return true;
    case IDC_DB_QUICKFIND:
        if (code == CBN_CLOSEUP)
            quickFind();
        return true;
    case IDC_DB_FIRST:
    case IDC_DB_PREVIOUS:
    case IDC_DB_NEXT:
    case IDC_DB_LAST:
        if (clicked || ((id == IDC_DB_NEXT || id == IDC_DB_PREVIOUS) && code == BN_DOUBLECLICKED)) {
            readRows();
            if (!tableOpen() || !askSaveCourse())
                return true;
            // Answered No: the schedule goes back to the stored one with the move.
            changed = false;
            if (id == IDC_DB_FIRST)
                onFirst();
            else if (id == IDC_DB_PREVIOUS)
                onPrevious();
            else if (id == IDC_DB_NEXT)
                onNext();
            else
                onLast();
            showSchedule();
        }
        return true;
    case IDC_DB_NEW:
        if (clicked)
            newCourse();
        return true;
    case IDC_DB_DELETE:
        if (clicked && deleteRecord(true))
            showSchedule();
        return true;
    case IDC_DB_SAVE:
        if (clicked) {
            readRows();
            saveCourse();
        }
        return true;
    case IDC_DB_DISCARD:
        if (clicked) {
            if (tableOpen())
                updateDialog();
            showSchedule();
        }
        return true;
    case IDC_PLAN_PRINT:
        if (clicked)
            printSchedule();
        return true;
    case IDC_PLAN_RUN:
        if (clicked)
            runCourse();
        return true;
    case IDC_DB_HELP:
        if (clicked) {
            if (AppServices* services = appServices())
                services->showHelp(helpContext);
        }
        return true;
    case IDOK:
        // Enter moves on; it never closes the planner.
        if (clicked) {
            QWidget* notes = platform::dlgItem(this, IDC_PLAN_NOTES);
            QWidget* focused = focusWidget();
            if (focused && (focused == notes || notes->isAncestorOf(focused)))
                combo(IDC_PLAN_INSTRUCTOR)->setFocus(Qt::TabFocusReason);
            else
                recordEditor::focusNextField(this);
        }
        return true;
    case IDCANCEL:
        if (clicked)
            close();
        return true;
    default:
        break;
    }
    if (recordEditor::isEditChange(this, id, code)) {
        updateButtons();
        return true;
    }
    return ResizableDialog::onCommand(id, code);
}

bool CoursePlannerDialog::rowCommand(int id, int code)
{
    for (int k = 0; k < ScheduleGrid::visibleRows; ++k) {
        const res::CoursePlannerRowIds& ids = res::coursePlannerRows[k];
        if (id == ids.details) {
            if (code == BN_CLICKED)
                rowDetails(k + 1);
            return true;
        }
        if (id == ids.ventilation || id == ids.compression || id == ids.manikin) {
            // A choice from the list counts at once.
            if (code == CBN_SELCHANGE || code == CBN_CLOSEUP) {
                readRows();
                refresh();
            }
            return true;
        }
    }
    if (code != BN_CLICKED)
        return false;
    bool (ScheduleGrid::*command)() = nullptr;
    switch (id) {
    case IDC_PLAN_MOVE_UP:
        command = &ScheduleGrid::moveRowUp;
        break;
    case IDC_PLAN_MOVE_DOWN:
        command = &ScheduleGrid::moveRowDown;
        break;
    case IDC_PLAN_REMOVE:
        command = &ScheduleGrid::removeRow;
        break;
    case IDC_PLAN_SORT:
        command = &ScheduleGrid::sortByStartTime;
        break;
    default:
        return false;
    }
    readRows();
    if ((schedule.*command)())
        refresh();
    else
        QApplication::beep();
    return true;
}

void CoursePlannerDialog::rowDetails(int visibleRow)
{
    readRows();
    const int i = schedule.rowOfVisible(visibleRow);
    if (!schedule.detailsEnabled(i)) {
        QApplication::beep();
        return;
    }
    // The course and its schedule are stored first, so that the editor
    // finds the row under the course; a course that cannot be stored opens
    // nothing, or the editor's save would store the row outside it.
    if (!tableOpen()) {
        QApplication::beep();
        return;
    }
    if (!saveCourse() || !schedule.detailsEnabled(i))
        return;
    const SessionRecord* read = nullptr;
    for (const SessionRecord& stored : schedule.courseSchedule().storedRows())
        if (stored.Serialidentifier == schedule.rows()[i].Serialidentifier)
            read = &stored;
    const SessionRecord edited = SessionDialog::edit(schedule.rows()[i], false, this, read);
    fillCombos();
    schedule.rows()[i] = edited;
    changed = true;
    refresh();
    const Row& r = rows[visibleRow - 1];
    if (schedule.updateEndTime(i, Utillib::getWindowText(r.start))) {
        filling = true;
        r.start->SetInputText(schedule.rows()[i].StartTime.c_str(), 0, true);
        Utillib::setWindowTextIfChanged(r.end, schedule.rows()[i].EndTime);
        filling = false;
    }
    readRows();
    refresh();
}

void CoursePlannerDialog::instructorDetails()
{
    const std::string name =
        showPersonDetails(this, Utillib::getComboText(combo(IDC_PLAN_INSTRUCTOR), true), true);
    fillCombos();
    if (!name.empty()) {
        Utillib::selectComboString(combo(IDC_PLAN_INSTRUCTOR), name);
        refresh();
    }
}

void CoursePlannerDialog::scenarioDetails()
{
    ScenarioRecord shown;
    shown.Name = Utillib::getComboText(combo(IDC_PLAN_SCENARIO));
    const std::string name = showScenarioDetails(this, shown);
    fillCombos();
    if (!name.empty()) {
        Utillib::selectComboString(combo(IDC_PLAN_SCENARIO), name);
        applyDefaultScenario();
    }
}

void CoursePlannerDialog::applyDefaultScenario()
{
    readRows();
    schedule.applyDefaultScenario(Utillib::getComboText(combo(IDC_PLAN_SCENARIO)));
    refresh();
}

void CoursePlannerDialog::newCourse()
{
    readRows();
    if (tableOpen() && (isChanged() || changed)) {
        switch (prompt(2)) {
        case dbui::IDYES:
            if (!saveCourse())
                return;
            break;
        case dbui::IDNO:
            updating = true;
            showRecord(record);
            updating = false;
            updateButtons();
            break;
        default:
            return;
        }
    }
    entryIsNew = true;
    recordId = 0;
    record = emptyCourse();
    updating = true;
    showRecord(record);
    updating = false;
    record = readRecord();
    updateButtons();
    loadSchedule();
    schedule.goToTop();
    refresh();
}

void CoursePlannerDialog::quickFind()
{
    const std::string shown = recordEditor::quickFindText(this);
    if (shown.empty() || !tableOpen())
        return;
    CourseKey key;
    key.fromDisplayText(GString::to_wstring(shown));
    readRows();
    if (!askSaveCourse())
        return;
    moveToRecord(RecordKey<CourseRecord>::withKey(key));
    showSchedule();
}

bool CoursePlannerDialog::askSaveCourse()
{
    if (!tableOpen() || !(isChanged() || changed))
        return true;
    switch (prompt(2)) {
    case dbui::IDYES:
        return saveCourse();
    case dbui::IDNO:
        updateDialog();
        return true;
    default:
        return false;
    }
}

bool CoursePlannerDialog::saveCourse()
{
    personsAdded = false;
    scheduleNotStored = false;
    const bool wasNew = isNewEntry();
    if (!wasNew && !keyChangeStorable(record, readRecord()))
        return DBUtil::refuseUnshownName();
    const bool saved = save();
    if (personsAdded)
        fillCombos();
    // Answered No to replacing a stored course: that course shows now, with its schedule.
    if (!saved && wasNew && !isNewEntry())
        showSchedule();
    return saved && !scheduleNotStored;
}

void CoursePlannerDialog::runCourse()
{
    if (!databaseOpen) {
        QApplication::beep();
        return;
    }
    readRows();
    if (!saveCourse())
        return;
    const CourseRecord course = record;
    close();
    if (isVisible())
        return;
    if (TrainingApp* app = trainingApp())
        app->runCourse(course);
}

void CoursePlannerDialog::printSchedule()
{
    readRows();
    if (saveCourse())
        printCourseSchedule(record, schedule.rows(), this);
}

void CoursePlannerDialog::close()
{
    if (QWidget* button = platform::dlgItem(this, IDCANCEL)) {
        QWidget* focused = QApplication::focusWidget();
        button->setFocus(Qt::OtherFocusReason);
        // Without an active window no focus change is announced.
        if (focused && focused != button && QApplication::focusWidget() == focused) {
            QWidget* w = focused;
            while (w && w->parentWidget() != this)
                w = w->parentWidget();
            if (w)
                leaveControl(w);
        }
    }
    readRows();
    if (askSaveCourse())
        endDialog(IDCANCEL);
}

void CoursePlannerDialog::keyPressEvent(QKeyEvent* event)
{
    if (!recordEditor::pressEnter(this, event))
        ResizableDialog::keyPressEvent(event);
}

void runCoursePlanner()
{
    TrainingApp* app = trainingApp();
    if (app && app->runCourseForm()) {
        app->runCourse(CourseRecord());
        return;
    }
    CoursePlannerDialog planner(nullptr);
    planner.doModal();
}
