#include "session/SessionDatabaseView.h"

#include "Database/CourseTable.h"
#include "Database/DbUiQt.h"
#include "Database/OdbcUtil.h"
#include "Database/PersonTable.h"
#include "Database/RecordEditorWiring.h"
#include "Database/SessionDialog.h"
#include "Database/TablePool.h"
#include "Utillib/Duration.h"
#include "Utillib/LogStream.h"
#include "Utillib/WindowUtil.h"
#include "config/TrainingMode.h"
#include "gettext/TranslateWindow.h"
#include "gettext/Translator.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/resource.h"
#include "session/Session.h"
#include "ui/AppServices.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>
#include <optional>

namespace {

constexpr int nameLimit = 80;
constexpr int notesLimit = 250;

QString tr8(const char* key) { return QString::fromStdWString(translate(key)); }

} // namespace

SessionDatabaseView::SessionDatabaseView(Session& owner)
    : session(&owner)
    , sessionTable(database)
{
    // A replay has nothing to store.
    LOG_ASSERT(!owner.isReplay());
}

SessionDatabaseView::~SessionDatabaseView() = default;

bool SessionDatabaseView::createPage(QWidget* parent) { return create(IDD_SESSION_REVIEW, parent); }

platform::ComboBox* SessionDatabaseView::combo(int id) const
{
    return platform::dlgItem<platform::ComboBox>(this, id);
}

bool SessionDatabaseView::onInitDialog()
{
    translateWindow(this);
    recordEditor::installWiring(this);
    for (int id : {IDC_REV_VENTILATION, IDC_REV_COMPRESSION, IDC_REV_APPROVED_BY})
        if (QLineEdit* edit = combo(id)->lineEdit())
            edit->setMaxLength(nameLimit);
    if (auto* notes = platform::dlgItem<QPlainTextEdit>(this, IDC_REV_NOTES))
        Utillib::limitText(notes, notesLimit);
    platform::ComboBox* approved = combo(IDC_REV_APPROVED);
    // Its item index is the stored value.
    LOG_ASSERT(!approved->isSorted());
    approved->addString(QString());
    approved->addString(tr8("Yes"));
    approved->addString(tr8("No"));
    if (session && session->isFinished())
        Utillib::setDlgItemTextIfChanged(this, IDCANCEL, platform::qStringToAnsi(tr8("Close")));

    table = &sessionTable;
    sessionTable.open("");
    done = false;
    fillCombos();
    if (!session)
        return true;
    SessionRecord copy = session->getRecord();
    if (sessionTable.IsOpen()) {
        if (findRecord(copy)) {
            // A row planned beforehand, for a course: the page edits it.
            record = copy;
            recordId = sessionTable.GetRowId();
            entryIsNew = false;
            // What the session did since the row was read counts as changed
            // here, and only that: the base is the row as the session's
            // caller read it before the recording, so that what another
            // station changed in the row meanwhile is no change of this page.
            const PlannedRow* planned = plannedFor(copy);
            loadedRow = sessionChangeBase(planned ? planned->row : sessionTable.getRecord(), copy);
            // "Save as done" stores the mark whatever the base holds.
            loadedRow->Done = 0;
            updateDialog();
        } else {
            newEntry(copy);
        }
    }
    return false;
}

void SessionDatabaseView::showRecord(const SessionRecord& rec)
{
    Utillib::setDlgItemTextIfChanged(this, IDC_REV_TRAINING_MODE, trainingModeName(rec.TrainingMode));
    Utillib::selectComboString(combo(IDC_REV_VENTILATION), rec.PersonVentilation);
    Utillib::selectComboString(combo(IDC_REV_COMPRESSION), rec.PersonChestCompression);
    Utillib::setDlgItemTextIfChanged(this, IDC_REV_SCENARIO, rec.Scenario);
    Utillib::setDlgItemTextIfChanged(this, IDC_REV_ALGORITHM, rec.Algorithm);
    Utillib::setDlgItemTextIfChanged(this, IDC_REV_DURATION, durationMinSec(rec.Duration));
    platform::setButtonCheck(platform::dlgItem(this, IDC_REV_METRONOME), rec.Metronome ? 1 : 0);
    Utillib::setDlgItemTextIfChanged(this, IDC_REV_MANIKIN, std::to_string(rec.Manikin));
    Utillib::setDlgItemTextIfChanged(this, IDC_REV_DATE, rec.CourseDate);
    Utillib::setDlgItemTextIfChanged(this, IDC_REV_START_TIME, rec.StartTime);
    Utillib::setDlgItemTextIfChanged(this, IDC_REV_INSTRUCTOR, rec.CourseInstructor);
    combo(IDC_REV_APPROVED)->setCurSel(rec.Approved);
    Utillib::selectComboString(combo(IDC_REV_APPROVED_BY), rec.ApprovedBy);
    Utillib::setDlgItemTextIfChanged(this, IDC_REV_NOTES, rec.Note);
    setParticipantFields(rec.TrainingMode, combo(IDC_REV_VENTILATION), platform::dlgItem(this, IDC_REV_VENTILATION_DETAILS),
                         combo(IDC_REV_COMPRESSION), platform::dlgItem(this, IDC_REV_COMPRESSION_DETAILS), true, false);
    combo(IDC_REV_VENTILATION)->setFocus();
}

std::string SessionDatabaseView::noteText() const
{
    return Utillib::getWindowText(platform::dlgItem(this, IDC_REV_NOTES));
}

bool SessionDatabaseView::metronomeTicked() const
{
    auto* box = platform::dlgItem<QAbstractButton>(this, IDC_REV_METRONOME);
    return box && box->isChecked();
}

SessionRecord SessionDatabaseView::readRecord()
{
    SessionRecord rec = record;
    rec.PersonVentilation = Utillib::getWindowText(combo(IDC_REV_VENTILATION));
    rec.PersonChestCompression = Utillib::getWindowText(combo(IDC_REV_COMPRESSION));
    const int approved = combo(IDC_REV_APPROVED)->getCurSel();
    rec.Approved = static_cast<std::uint8_t>(approved < 0 ? 0 : approved);
    rec.ApprovedBy = Utillib::getWindowText(combo(IDC_REV_APPROVED_BY));
    rec.Note = noteText();
    rec.Metronome = metronomeTicked() ? 1 : 0;
    return rec;
}

bool SessionDatabaseView::isChanged()
{
    return Utillib::getWindowText(combo(IDC_REV_VENTILATION)) != record.PersonVentilation
        || Utillib::getWindowText(combo(IDC_REV_COMPRESSION)) != record.PersonChestCompression
        || combo(IDC_REV_APPROVED)->getCurSel() != record.Approved
        || Utillib::getWindowText(combo(IDC_REV_APPROVED_BY)) != record.ApprovedBy || noteText() != record.Note
        || (metronomeTicked() ? 1 : 0) != (record.Metronome ? 1 : 0);
}

// The page's key is the session's own serial: no question of the template arises.
std::wstring SessionDatabaseView::messageText(int number)
{
    LogStream::instance() << "Review page: no text for prompt " << number << LogStream::endl;
    LOG_ASSERT(false);
    return std::wstring();
}

void SessionDatabaseView::notifyChanged() { tablePool.refresh(tableKind::Session); }

void SessionDatabaseView::fillCombos()
{
    PersonTable persons(database);
    persons.open("");
    dbui::QtComboBox ventilation(combo(IDC_REV_VENTILATION));
    persons.fillCombo(ventilation, "name", "");
    Utillib::copyComboItems(combo(IDC_REV_VENTILATION), combo(IDC_REV_COMPRESSION));
    dbui::QtComboBox approvers(combo(IDC_REV_APPROVED_BY));
    persons.fillCombo(approvers, "name", "Instructor = TRUE");
}

namespace {

// A session whose course is gone (deleted with its sessions, say) is stored
// as a session of its own: a row under the key of no course would be in no
// schedule. Its date stays the session's date. `storedInstructor` is the
// instructor as stored when the record holds only this station's reading of it.
void leaveGoneCourse(SessionRecord& rec, const std::string& storedInstructor = std::string())
{
    if (rec.CourseInstructor.empty() && rec.CourseTime.empty())
        return;
    CourseKey key(rec.CourseInstructor, rec.CourseDate, rec.CourseTime);
    key.storedInstructor = storedInstructor;
    CourseTable courses(database);
    if (!courses.open("") || courses.count(key) != 0)
        return;
    rec.CourseInstructor.clear();
    rec.CourseTime.clear();
    rec.CourseOrder = 0;
}

} // namespace

const PlannedRow* SessionDatabaseView::plannedFor(const SessionRecord& rec) const
{
    if (!session || !session->plannedRow())
        return nullptr;
    const PlannedRow& planned = *session->plannedRow();
    return SessionRecord::keysEqual(planned.row.Serialidentifier, rec.Serialidentifier) ? &planned : nullptr;
}

// A new row is written whole: a text that this station read from the planned
// row only as its reading ("??") and that the user left as it was would be
// stored as that reading. Such texts are written as they were stored when
// that is known, else the row is refused. The course is left first when it
// is gone, which ends the question for the instructor.
SessionDatabaseView::Unshown SessionDatabaseView::unshownTexts(SessionRecord& rec) const
{
    const PlannedRow* planned = plannedFor(rec);
    std::string storedInstructor;
    if (planned && rec.CourseInstructor == planned->row.CourseInstructor)
        if (const auto* instructor = planned->unshown("CourseInstructor"))
            storedInstructor = instructor->second;
    leaveGoneCourse(rec, storedInstructor);
    Unshown found = Unshown::none;
    if (planned)
        for (const auto& [column, member] : plannedTextColumns())
            if (const auto* text = planned->unshown(column);
                text && !(rec.*member).empty() && rec.*member == planned->row.*member)
                found = text->second.empty() ? Unshown::lost : std::max(found, Unshown::known);
    return found;
}

// Inserts `rec` as a row of its own with the texts this station read only as
// their reading written as stored, in one transaction; the caller's save then
// finds the row and writes the rest. False when it could not be written (shown).
bool SessionDatabaseView::insertKeepingStoredTexts(const SessionRecord& rec)
{
    const PlannedRow* planned = plannedFor(rec);
    Transaction transaction(database);
    if (!transaction.isOpen())
        return false;
    // The readings go in empty (the recordset refuses to write them) and
    // are then set to the stored texts.
    auto keptStored = [&](const char* column, std::string SessionRecord::*member) {
        const auto* text = planned ? planned->unshown(column) : nullptr;
        return text && rec.*member == planned->row.*member && !(rec.*member).empty() ? text : nullptr;
    };
    SessionRecord inserted = rec;
    for (const auto& [column, member] : plannedTextColumns())
        if (keptStored(column, member))
            (inserted.*member).clear();
    bool written = sessionTable.AddNew();
    if (written) {
        sessionTable.setRecord(inserted);
        written = sessionTable.Update();
    }
    if (!written)
        DBUtil::reportWriteError(sessionTable);
    const std::string id = std::to_string(sessionTable.GetAddedRowId());
    for (const auto& [column, member] : plannedTextColumns()) {
        const auto* text = keptStored(column, member);
        if (!written || !text)
            continue;
        DbError error;
        written = odbc::execute(database,
                                "UPDATE Session SET " + std::string(column) + " = '" + DBUtil::quote(text->second)
                                    + "' WHERE id = " + id,
                                error);
        if (!written)
            DBUtil::reportError(error.text);
    }
    if (!written)
        transaction.fail();
    return transaction.commit() && written;
}

// The planned row was deleted by another station: the recording is kept,
// stored as a row of its own, its names as they were stored; when a name is
// known here only as its reading, the row is refused and the session stays
// open for the user to correct the name or discard the session.
bool SessionDatabaseView::keepVanishedRecord(SessionRecord& rec)
{
    switch (unshownTexts(rec)) {
    case Unshown::none:
        return true;
    case Unshown::known:
        return insertKeepingStoredTexts(rec);
    case Unshown::lost:
        break;
    }
    return DBUtil::refuseUnshownName();
}

std::wstring SessionDatabaseView::recordName(const SessionRecord& rec) { return sessionName(rec); }

void SessionDatabaseView::beforeSave(SessionRecord& rec)
{
    if (isNewEntry())
        unshownTexts(rec);
    rec.Done = done ? 1 : 0;
    if (!session)
        return;
    // From the whole recording, now: the figures of the debriefing page were
    // computed when it was last built or shown, and a session in a tab that
    // was not in front may have collected more since.
    CommSession& results = session->getCommSession();
    results.finish();
    rec.InitialVentilations = results.initialVentilations;
    rec.VentilationRate = results.ventilationRate;
    rec.VentilationVolume = results.averageVolume;
    rec.ECCrate = results.compressionRate;
    rec.CompRelaxRatio = results.compRelaxRatio;
    rec.CompDepth = results.averageDepth;
    rec.VentCompRatioVent = results.averageRatioVentilations;
    rec.VentCompRatioComp = results.averageRatioCompressions;
    rec.PauseECC = results.longestPause;
    rec.StomachInflation = results.nrStomachInflations;
    rec.WrongHandPosition = results.nrWrongHand;
    rec.Leaning = results.nrLeanings;
    rec.InterfaceFrequency = results.sampleRate;
}

void SessionDatabaseView::afterSave()
{
    if (!session)
        return;
    // The row is stored as this station now knows it: a later save measures
    // from it. A text read only as its reading stays so while it was left alone.
    PlannedRow saved{record, {}};
    if (const PlannedRow* planned = plannedFor(record))
        for (const auto& [column, member] : plannedTextColumns())
            if (const auto* text = planned->unshown(column); text && record.*member == planned->row.*member)
                saved.unshownTexts.push_back(*text);
    session->setPlannedRow(std::move(saved));
    session->setRecord(record);
    dataFileWritten = session->saveData();
}

bool SessionDatabaseView::saveAsDone()
{
    done = true;
    dataFileWritten = false;
    bool rowWritten = false;
    // A new row (its planned row deleted before this page opened) with a
    // name this station knows only as its reading: inserted with the name as
    // stored, and then saved as the stored row it is; or refused.
    SessionRecord rec = readRecord();
    const Unshown unshown = tableOpen() && isNewEntry() ? unshownTexts(rec) : Unshown::none;
    if (unshown == Unshown::lost) {
        DBUtil::refuseUnshownName();
    } else if (unshown == Unshown::known) {
        if (insertKeepingStoredTexts(rec)) {
            record = rec;
            recordId = sessionTable.GetAddedRowId();
            entryIsNew = false;
            loadedRow.reset();
            rowWritten = save();
        }
    } else {
        rowWritten = save();
    }
    if (rowWritten && dataFileWritten)
        return true;
    // The reason (a closed database, a full disk) was shown or logged by now;
    // the session stays open so that nothing recorded is lost.
    dbui::userInterface().messageBox(translate("The session was not stored. It stays open, so that you can save it again "
                                               "or discard it."),
                                     dbui::MB_OK | dbui::MB_ICONEXCLAMATION);
    return rowWritten;
}

void SessionDatabaseView::setMetronomeUsed(bool used)
{
    if (isCreated())
        platform::setButtonCheck(platform::dlgItem(this, IDC_REV_METRONOME), used ? 1 : 0);
}

void SessionDatabaseView::showDetails(int buttonId)
{
    const DetailsEditors& editors = SessionDialog::getDetailsEditors();
    int boxId = 0;
    std::string selected;
    switch (buttonId) {
    case IDC_REV_VENTILATION_DETAILS:
        boxId = IDC_REV_VENTILATION;
        break;
    case IDC_REV_COMPRESSION_DETAILS:
        boxId = IDC_REV_COMPRESSION;
        break;
    case IDC_REV_APPROVED_BY_DETAILS:
        boxId = IDC_REV_APPROVED_BY;
        break;
    default:
        break;
    }
    if (boxId != 0) {
        if (editors.person)
            selected = editors.person(Utillib::getComboText(combo(boxId)), buttonId == IDC_REV_APPROVED_BY_DETAILS);
    } else if (buttonId == IDC_REV_INSTRUCTOR_DETAILS) {
        if (editors.person)
            editors.person(Utillib::getWindowText(platform::dlgItem(this, IDC_REV_INSTRUCTOR)), true);
    } else if (buttonId == IDC_REV_SCENARIO_DETAILS) {
        if (editors.scenario)
            editors.scenario(record.Scenario);
    } else if (buttonId == IDC_REV_ALGORITHM_DETAILS) {
        if (editors.algorithm)
            editors.algorithm(record.Algorithm);
    }
    fillCombos();
    if (boxId != 0 && !selected.empty())
        Utillib::selectComboString(combo(boxId), selected);
}

void SessionDatabaseView::backToDebriefing()
{
    if (!session)
        return;
    session->setRecord(readRecord());
    // Deletes this page: nothing after it.
    session->setState(Session::DEBRIEF);
}

void SessionDatabaseView::print()
{
    if (!session)
        return;
    session->setRecord(readRecord());
    session->print(true);
}

void SessionDatabaseView::abort()
{
    Session* current = session;
    if (current && current->askSave()) {
        current->pause();
        // Closes (and may delete) the session and this page: nothing after it.
        current->close();
    }
}

bool SessionDatabaseView::onCommand(int id, int code)
{
    if (code != BN_CLICKED)
        return platform::Dialog::onCommand(id, code);
    switch (id) {
    case IDOK:
        return true;
    case IDCANCEL:
        abort();
        return true;
    case IDC_REV_DEBRIEFING:
        backToDebriefing();
        return true;
    case IDC_REV_PRINT:
        print();
        return true;
    case IDC_DB_HELP:
        if (AppServices* services = appServices())
            services->showHelp(10004);
        return true;
    case IDC_REV_VENTILATION_DETAILS:
    case IDC_REV_COMPRESSION_DETAILS:
    case IDC_REV_SCENARIO_DETAILS:
    case IDC_REV_ALGORITHM_DETAILS:
    case IDC_REV_INSTRUCTOR_DETAILS:
    case IDC_REV_APPROVED_BY_DETAILS:
        showDetails(id);
        return true;
    default:
        return platform::Dialog::onCommand(id, code);
    }
}

// --- ReviewPageHandle ------------------------------------------------------

ReviewPageHandle::ReviewPageHandle(Session& session)
    : window(new SessionDatabaseView(session))
{
    if (!window->createPage(nullptr))
        LogStream::instance() << "The review page could not be made: " << window->buildError() << LogStream::endl;
}

ReviewPageHandle::~ReviewPageHandle() { destroyWindow(); }

void ReviewPageHandle::destroyWindow()
{
    if (!window)
        return;
    window->detach();
    window->hide();
    window->setParent(nullptr);
    window->deleteLater();
    window = nullptr;
}

void ReviewPageHandle::tickMetronome()
{
    if (window)
        window->setMetronomeUsed(true);
}

bool ReviewPageHandle::saveAsDone() { return window && window->saveAsDone(); }
