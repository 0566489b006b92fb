#include "session/RunCourseDialog.h"

#include "Database/Database.h"
#include "Database/DbUiQt.h"
#include "Database/PersonTable.h"
#include "Database/ScenarioTable.h"
#include "Database/SessionDialog.h"
#include "Utillib/LocalDate.h"
#include "Utillib/LogStream.h"
#include "Utillib/WindowUtil.h"
#include "calibrate/QtPortComboBox.h"
#include "comm/CalibrateManager.h"
#include "config/TrainingMode.h"
#include "gettext/Translator.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/MessageBox.h"
#include "platformqt/Window.h"
#include "res/RunCourseIds.h"
#include "res/resource.h"
#include "session/CoursePrintDialog.h"
#include "session/TrainingApp.h"
#include "ui/AppServices.h"
#include "ui/ChildFrame.h"
#include "ui/COXMaskedEdit.h"
#include "ui/MapBitmapButton.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace {

constexpr int helpContext = 10011;

// A row button shown pressed while its state lasts.
void setPressed(QWidget* button, bool pressed)
{
    if (auto* face = qobject_cast<QAbstractButton*>(button))
        face->setDown(pressed);
}

// The rows' start and pause bitmaps: normal, pressed, focused, disabled.
constexpr unsigned startFaces[4] = {163, 161, 162, 164};
constexpr unsigned pauseFaces[4] = {159, 157, 158, 160};

QWidget* bitmapButton(QWidget* dialog, int id, const unsigned (&faces)[4])
{
    auto* button = new MapBitmapButton;
    if (!button->subclassAndLoad(static_cast<unsigned>(id), dialog, faces[0], faces[1], faces[2], faces[3], 0)) {
        LogStream::instance() << "A row button's bitmaps could not be loaded" << LogStream::endl;
        delete button;
        return platform::dlgItem(dialog, id);
    }
    return button;
}

// The label that stands just before a field on its line: its right edge
// closest left of the field's left edge.
QLabel* labelBefore(QWidget* field)
{
    QLabel* found = nullptr;
    const QRect place = field->geometry();
    for (QObject* child : field->parentWidget()->children()) {
        auto* label = qobject_cast<QLabel*>(child);
        if (!label || label->isWindow())
            continue;
        const QRect at = label->geometry();
        const bool sameLine = at.top() <= place.bottom() && place.top() <= at.bottom();
        if (sameLine && at.right() < place.left() && (!found || at.right() > found->geometry().right()))
            found = label;
    }
    return found;
}

// A translated label wider than its place before its field takes the width
// it lacks from the field's near side, the field keeping its right edge
// and at least half its width.
void fitLabelBeforeField(QWidget* field)
{
    QLabel* label = field ? labelBefore(field) : nullptr;
    if (!label)
        return;
    const int lack = label->fontMetrics().horizontalAdvance(label->text()) - label->contentsRect().width();
    const int take = std::min(lack, field->width() / 2);
    if (take <= 0)
        return;
    QRect labelPlace = label->geometry();
    labelPlace.setWidth(labelPlace.width() + take);
    label->setGeometry(labelPlace);
    QRect fieldPlace = field->geometry();
    fieldPlace.setLeft(fieldPlace.left() + take);
    field->setGeometry(fieldPlace);
}

} // namespace

RunCourseDialog::RunCourseDialog(const CourseRecord& course, QWidget* parent)
    : BaseDialog(parent)
    , run(course, *this)
{
}

RunCourseDialog::~RunCourseDialog()
{
    // The controls go after this object's own parts: focus changes on the
    // way out must not reach it.
    QObject::disconnect(qApp, nullptr, this, nullptr);
    // Closed another way than by Close after changes: nothing is lost.
    if (run.modified())
        run.store();
}

bool RunCourseDialog::create(QWidget* parent) { return platform::Dialog::create(IDD_RUN_COURSE, parent); }

bool RunCourseDialog::onInitDialog()
{
    BaseDialog::onInitDialog();
    for (int k = 0; k < RunCourse::visibleRows; ++k) {
        const res::RunCourseRowIds& ids = res::runCourseRows[k];
        Row& r = rows[k];
        r.number = platform::dlgItem(this, ids.number);
        r.ventilation = platform::dlgItem<platform::ComboBox>(this, ids.ventilation);
        r.compression = platform::dlgItem<platform::ComboBox>(this, ids.compression);
        r.scenario = platform::dlgItem<platform::ComboBox>(this, ids.scenario);
        r.manikin = platform::dlgItem<platform::ComboBox>(this, ids.manikin);
        r.start = new COXMaskedEdit("##:##", this);
        r.start->subclassDlgItem(ids.start, this);
        r.start->SetInsertMode(false);
        r.end = platform::dlgItem(this, ids.end);
        r.done = platform::dlgItem(this, ids.done);
        r.startButton = bitmapButton(this, ids.startButton, startFaces);
        r.pauseButton = bitmapButton(this, ids.pauseButton, pauseFaces);
        r.details = platform::dlgItem(this, ids.details);
        for (platform::ComboBox* person : {r.ventilation, r.compression})
            if (person && person->lineEdit())
                person->lineEdit()->setMaxLength(80);
        if (r.manikin && r.manikin->lineEdit())
            r.manikin->lineEdit()->setMaxLength(3);
        for (QWidget* edit : {static_cast<QWidget*>(r.start), r.end})
            if (auto* line = qobject_cast<QLineEdit*>(edit))
                line->setMaxLength(5);
    }
    scrollBar = platform::dlgItem<QScrollBar>(this, IDC_RUN_SCROLL);
    highlight = platform::dlgItem(this, IDC_RUN_HIGHLIGHT);
    if (highlight)
        highlight->lower();

    for (int id : {IDC_RUN_INSTRUCTOR, IDC_RUN_DATE, IDC_RUN_TIME})
        fitLabelBeforeField(platform::dlgItem(this, id));

    const CourseRecord& course = run.course();
    Utillib::setDlgItemTextIfChanged(this, IDC_RUN_INSTRUCTOR, course.Instructor);
    Utillib::setDlgItemTextIfChanged(this, IDC_RUN_DATE, Utillib::toLocalDate(course.Date));
    Utillib::setDlgItemTextIfChanged(this, IDC_RUN_TIME, course.Time);
    fillCombos();

    run.changedSignal.connect(this, &RunCourseDialog::onRowsChanged);
    run.load();
    shownRowCount = -1;
    refresh();

    if (scrollBar)
        QObject::connect(scrollBar, &QScrollBar::valueChanged, this, [this](int position) {
            if (updating)
                return;
            readRows();
            if (run.scrollTo(position))
                refresh();
        });
    QObject::connect(qApp, &QApplication::focusChanged, this,
                     [this](QWidget* old, QWidget* now) { onFocusChanged(old, now); });
    return false;
}

void RunCourseDialog::fillCombos()
{
    const bool wasUpdating = updating;
    updating = true;
    Row& first = rows[0];
    if (databaseOpen) {
        PersonTable persons(database);
        if (persons.open(std::string())) {
            dbui::QtComboBox combo(first.ventilation);
            Utillib::ComboSelectionKeeper keep(first.ventilation);
            persons.fillCombo(combo, "name", std::string());
        }
        ScenarioTable scenarios(database);
        if (scenarios.open(std::string())) {
            dbui::QtComboBox combo(first.scenario);
            Utillib::ComboSelectionKeeper keep(first.scenario);
            scenarios.fillCombo(combo, "name", std::string());
        }
    }
    const std::string port = Utillib::getComboText(first.manikin);
    QtPortComboBox ports(first.manikin);
    CalibrateManager::get().fillPortCombo(ports);
    Utillib::selectComboString(first.manikin, port);
    for (int k = 0; k < RunCourse::visibleRows; ++k) {
        if (k > 0) {
            Utillib::copyComboItems(first.ventilation, rows[k].ventilation);
            Utillib::copyComboItems(first.scenario, rows[k].scenario);
            Utillib::copyComboItems(first.manikin, rows[k].manikin);
        }
        Utillib::copyComboItems(first.ventilation, rows[k].compression);
    }
    updating = wasUpdating;
    fitScenarioColumn();
}

void RunCourseDialog::fitScenarioColumn()
{
    platform::ComboBox* first = rows[0].scenario;
    if (!first)
        return;
    // As wide as the longest scenario name needs; the column never narrows.
    const QComboBox::SizeAdjustPolicy policy = first->sizeAdjustPolicy();
    first->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const int extra = first->sizeHint().width() - first->width();
    first->setSizeAdjustPolicy(policy);
    if (extra <= 0)
        return;
    const int columnLeft = first->x();
    const int boundary = first->geometry().right() + 1;
    for (QObject* child : children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow())
            continue;
        QRect place = w->geometry();
        const bool inColumn = place.left() == columnLeft && place.right() + 1 == boundary;
        if (inColumn || w == highlight)
            place.setWidth(place.width() + extra); // the column's fields and heading; the row highlight across
        else if (place.left() >= boundary)
            place.translate(extra, 0); // what stands right of the column
        else
            continue;
        w->setGeometry(place);
    }
    resize(width() + extra, height());
    // A form already in its frame takes the frame along.
    for (QWidget* up = parentWidget(); up; up = up->parentWidget())
        if (auto* frame = dynamic_cast<ChildFrame*>(up)) {
            if (frame->getView() == this)
                frame->fitFrameToView();
            break;
        }
}

void RunCourseDialog::refresh()
{
    const bool wasUpdating = updating;
    updating = true;
    run.refresh();
    if (run.size() != shownRowCount && scrollBar) {
        shownRowCount = run.size();
        const RunCourse::Scroll s = run.scroll();
        scrollBar->setRange(0, std::max(s.maximum - s.page + 1, 0));
        scrollBar->setPageStep(std::max(s.page, 1));
        scrollBar->setValue(s.position);
    }
    if (scrollBar && scrollBar->value() != run.top())
        scrollBar->setValue(run.top());
    placeHighlight();
    const int shown = run.shownCount();
    for (int k = 0; k < RunCourse::visibleRows; ++k) {
        const Row& r = rows[k];
        for (QWidget* w : {r.number, static_cast<QWidget*>(r.ventilation), static_cast<QWidget*>(r.compression),
                           static_cast<QWidget*>(r.scenario), static_cast<QWidget*>(r.manikin),
                           static_cast<QWidget*>(r.start), r.end, r.done, r.startButton, r.pauseButton, r.details})
            if (w)
                w->setVisible(k < shown);
    }
    showRows(shown);
    updateRowStates();
    updating = wasUpdating;
}

void RunCourseDialog::placeHighlight()
{
    if (!highlight)
        return;
    const int k = run.selected();
    if (k < 1 || k > RunCourse::visibleRows) {
        highlight->hide();
        return;
    }
    const QWidget* details = rows[k - 1].details;
    highlight->setGeometry(highlight->x(), details->y() - 2, highlight->width(), details->height() + 5);
    highlight->show();
    highlight->lower();
}

void RunCourseDialog::showRows(int count)
{
    for (int k = 0; k < count; ++k) {
        const SessionRecord& rec = run.rows()[run.rowOfVisible(k + 1)];
        const Row& r = rows[k];
        Utillib::setWindowTextIfChanged(r.number, std::to_string(run.rowOfVisible(k + 1) + 1));
        Utillib::selectComboString(r.ventilation, rec.PersonVentilation);
        Utillib::selectComboString(r.compression, rec.PersonChestCompression);
        setParticipantFields(rec.TrainingMode, r.ventilation, nullptr, r.compression, nullptr, true, false);
        Utillib::selectComboString(r.scenario, rec.Scenario);
        Utillib::selectComboString(r.manikin, std::to_string(rec.Manikin));
        r.start->SetInputText(rec.StartTime.c_str(), 0, true);
        Utillib::setWindowTextIfChanged(r.end, rec.EndTime);
    }
}

void RunCourseDialog::readRows()
{
    if (updating)
        return;
    for (int k = 0; k < run.shownCount(); ++k) {
        const Row& r = rows[k];
        RunCourse::RowEdit edit;
        // What the editable boxes show, typed or chosen.
        edit.ventilation = Utillib::getComboText(r.ventilation, true);
        edit.compression = Utillib::getComboText(r.compression, true);
        edit.scenario = Utillib::getComboText(r.scenario);
        edit.manikin = Utillib::getComboText(r.manikin, true);
        edit.start = Utillib::getWindowText(r.start);
        edit.end = Utillib::getWindowText(r.end);
        run.readRow(run.rowOfVisible(k + 1), edit);
    }
}

void RunCourseDialog::updateRowStates()
{
    for (int k = 0; k < run.shownCount(); ++k) {
        const Row& r = rows[k];
        const int i = run.rowOfVisible(k + 1);
        const SessionRecord& rec = run.rows()[i];
        const RunCourse::RowState state = run.rowState(i);
        const bool live = state == RunCourse::COLLECTING || state == RunCourse::PAUSED || state == RunCourse::FINISHED;
        const bool editable = state == RunCourse::PLACEHOLDER || state == RunCourse::IDLE;
        if (live) {
            for (QWidget* w : {static_cast<QWidget*>(r.ventilation), static_cast<QWidget*>(r.compression)})
                Utillib::enableWithFocus(w, false);
        }
        for (QWidget* w : {static_cast<QWidget*>(r.scenario), static_cast<QWidget*>(r.manikin),
                           static_cast<QWidget*>(r.start), r.end})
            Utillib::enableWithFocus(w, editable);
        platform::setWindowText(r.details,
                                QString::fromStdWString(translate(live ? "Session..." : "Details...")));
        r.details->setEnabled(state != RunCourse::PLACEHOLDER);
        switch (state) {
        case RunCourse::PLACEHOLDER:
            setPressed(r.startButton, false);
            r.startButton->setEnabled(false);
            break;
        case RunCourse::COLLECTING:
            setPressed(r.startButton, true);
            r.startButton->setEnabled(false);
            break;
        case RunCourse::PAUSED:
        case RunCourse::FINISHED:
            setPressed(r.startButton, false);
            r.startButton->setEnabled(state == RunCourse::PAUSED);
            break;
        default:
            setPressed(r.startButton, false);
            r.startButton->setEnabled(!rec.Done);
            break;
        }
        setPressed(r.pauseButton, state == RunCourse::PAUSED);
        r.pauseButton->setEnabled(state == RunCourse::COLLECTING);
        const bool done = live ? state == RunCourse::FINISHED : rec.Done != 0 && state != RunCourse::PLACEHOLDER;
        platform::setButtonCheck(r.done, done ? 1 : 0);
    }
}

void RunCourseDialog::onRowsChanged()
{
    if (!updating)
        refresh();
}

QWidget* RunCourseDialog::rowControlOf(const QWidget* control, int* visibleRow) const
{
    if (!control)
        return nullptr;
    for (int k = 0; k < RunCourse::visibleRows; ++k) {
        const Row& r = rows[k];
        for (QWidget* w : {r.number, static_cast<QWidget*>(r.ventilation), static_cast<QWidget*>(r.compression),
                           static_cast<QWidget*>(r.scenario), static_cast<QWidget*>(r.manikin),
                           static_cast<QWidget*>(r.start), r.end})
            if (w && (w == control || w->isAncestorOf(control))) {
                *visibleRow = k;
                return w;
            }
    }
    return nullptr;
}

void RunCourseDialog::onFocusChanged(QWidget* old, QWidget* now)
{
    if (updating)
        return;
    int left = -1;
    int entered = -1;
    QWidget* leftControl = rowControlOf(old, &left);
    QWidget* enteredControl = rowControlOf(now, &entered);
    if (leftControl && leftControl != enteredControl) {
        // The rows as typed first; a start time left then sets its row's times.
        const std::string start = Utillib::getWindowText(rows[left].start);
        readRows();
        if (leftControl == rows[left].start)
            run.updateEndTime(run.rowOfVisible(left + 1), start);
        refresh();
    }
    if (enteredControl && entered + 1 != run.selected()) {
        run.select(entered + 1);
        placeHighlight();
    }
}

bool RunCourseDialog::onCommand(int id, int code)
{
    if (updating)
        return BaseDialog::onCommand(id, code);
    for (int k = 0; k < RunCourse::visibleRows; ++k) {
        const res::RunCourseRowIds& ids = res::runCourseRows[k];
        const int i = run.rowOfVisible(k + 1);
        if (code == BN_CLICKED && (id == ids.startButton || id == ids.pauseButton || id == ids.details)) {
            readRows();
            if (id == ids.startButton)
                run.startRow(i);
            else if (id == ids.pauseButton)
                run.pauseRow(i);
            else
                run.showDetails(i);
            refresh();
            return true;
        }
        if (code == CBN_SELCHANGE && id == ids.scenario) {
            readRows();
            run.applyScenario(i, Utillib::getComboText(rows[k].scenario));
            run.updateEndTime(i, run.rows()[i].StartTime);
            refresh();
            return true;
        }
        if (code == CBN_SELCHANGE && (id == ids.ventilation || id == ids.compression || id == ids.manikin)) {
            readRows();
            refresh();
            return true;
        }
    }
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_RUN_MOVE_UP:
            readRows();
            run.moveRowUp();
            refresh();
            return true;
        case IDC_RUN_MOVE_DOWN:
            readRows();
            run.moveRowDown();
            refresh();
            return true;
        case IDC_RUN_REMOVE:
            readRows();
            run.removeRow();
            refresh();
            return true;
        case IDC_RUN_PRINT:
            readRows();
            refresh();
            printSchedule();
            return true;
        default:
            break;
        }
    }
    return BaseDialog::onCommand(id, code);
}

void RunCourseDialog::onOK()
{
    // Enter moves on; after the last row's end it starts over at the first row.
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus == rows[RunCourse::visibleRows - 1].end) {
        rows[0].ventilation->setFocus();
        return;
    }
    if (QWidget* next = platform::nextDlgTabItem(this, focus))
        next->setFocus();
}

void RunCourseDialog::onCancel()
{
    if (QWidget* close = platform::dlgItem(this, IDCANCEL))
        close->setFocus();
    readRows();
    if (!run.close())
        return;
    BaseDialog::onCancel();
    if (TrainingApp* app = trainingApp())
        app->onNewSession();
}

bool RunCourseDialog::canClose()
{
    readRows();
    return run.canClose();
}

void RunCourseDialog::showHelp()
{
    if (AppServices* services = appServices())
        services->showHelp(helpContext);
}

void RunCourseDialog::beep() { QApplication::beep(); }

void RunCourseDialog::message(const std::wstring& text, const std::wstring& caption)
{
    platform::messageBox(this, text, caption, platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

void RunCourseDialog::editStoredSession(SessionRecord& row, const SessionRecord* read)
{
    row = SessionDialog::edit(row, false, this, read);
}

void RunCourseDialog::printSchedule() { printCourseSchedule(run.course(), run.rows(), this); }
