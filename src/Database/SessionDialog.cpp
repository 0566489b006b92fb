#include "Database/SessionDialog.h"

#include "Database/DbUiQt.h"
#include "Database/TablePool.h"
#include "Utillib/DurationCombo.h"
#include "Utillib/FileUtil.h"
#include "Utillib/LocalDate.h"
#include "Utillib/LogStream.h"
#include "Utillib/WindowUtil.h"
#include "calibrate/QtPortComboBox.h"
#include "comm/CalibrateManager.h"
#include "config/TrainingMode.h"
#include "gettext/Translator.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/resource.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include <cstdio>
#include <filesystem>

namespace {

StoredSessionViewer* installedViewer = nullptr;

DetailsEditors& detailsEditors()
{
    static DetailsEditors editors;
    return editors;
}

constexpr int nameLimit = 80;
constexpr int manikinLimit = 3;
constexpr int notesLimit = 250;

bool isChecked(const QWidget* dialog, int id)
{
    auto* box = platform::dlgItem<QAbstractButton>(dialog, id);
    return box && box->isChecked();
}

void enable(QWidget* dialog, int id, bool on)
{
    if (QWidget* control = platform::dlgItem(dialog, id))
        Utillib::enableWithFocus(control, on);
}

} // namespace

void SessionDialog::setViewer(StoredSessionViewer* viewer) { installedViewer = viewer; }

void SessionDialog::setDetailsEditors(DetailsEditors editors) { detailsEditors() = std::move(editors); }

const DetailsEditors& SessionDialog::getDetailsEditors() { return detailsEditors(); }

SessionDialog::SessionDialog(const SessionRecord& rec, bool deleteAllowed, QWidget* parent, const SessionRecord* read)
    : RecordEditorDialog(parent)
    , handedIn(rec)
    , allowDelete(deleteAllowed)
{
    if (read)
        callerRead = *read;
    record = rec;
}

SessionDialog::~SessionDialog() { replaySession.reset(); }

platform::ComboBox* SessionDialog::combo(int id) const { return platform::dlgItem<platform::ComboBox>(this, id); }

bool SessionDialog::onInitDialog()
{
    RecordEditorDialog::onInitDialog();
    for (int id : {IDC_SES_VENTILATION, IDC_SES_COMPRESSION, IDC_SES_APPROVED_BY})
        if (QLineEdit* edit = combo(id)->lineEdit())
            edit->setMaxLength(nameLimit);
    if (QLineEdit* edit = combo(IDC_SES_MANIKIN)->lineEdit())
        edit->setMaxLength(manikinLimit);
    if (auto* notes = platform::dlgItem<QPlainTextEdit>(this, IDC_SES_NOTES))
        Utillib::limitText(notes, notesLimit);

    fillTrainingModeCombo(combo(IDC_SES_TRAINING_MODE));
    fillDurationCombo(combo(IDC_SES_DURATION));
    platform::ComboBox* approved = combo(IDC_SES_APPROVED);
    approved->addString(QString());
    approved->addString(QString::fromStdWString(translate("Yes")));
    approved->addString(QString::fromStdWString(translate("No")));
    approved->setCurSel(0);

    table = &sessionTable;
    sessionTable.open("");
    personTable.open("");
    scenarioTable.open("");
    algorithmTable.open("");
    fillCombos();

    if (sessionTable.IsOpen()) {
        if (findRecord(handedIn)) {
            // The caller's values, not the row's: a schedule's unsaved edits stay visible.
            record = handedIn;
            recordId = sessionTable.GetRowId();
            entryIsNew = false;
            // A copy older than the row: what another station stored since is no change of this user's.
            const bool sameRow = callerRead && SessionRecord::keysEqual(callerRead->Serialidentifier, handedIn.Serialidentifier);
            loadedRow = sessionChangeBase(sameRow ? *callerRead : sessionTable.getRecord(), handedIn);
            updateDialog();
        } else {
            newEntry(handedIn);
        }
    }

    const bool done = record.Done != 0;
    enable(this, IDC_SES_MANIKIN, !done);
    enable(this, IDC_SES_DURATION, !done);
    for (int id : {IDC_SES_GRAPH, IDC_SES_DEBRIEFING, IDC_SES_APPROVED, IDC_SES_APPROVED_BY, IDC_SES_APPROVED_BY_DETAILS})
        enable(this, id, done);
    updateDetailsButtons();
    return false; // showRecord put the focus on the ventilation box
}

SessionRecord SessionDialog::edit(const SessionRecord& rec, bool allowDelete, QWidget* parent, const SessionRecord* read)
{
    SessionDialog editor(rec, allowDelete, parent, read);
    if (!editor.create(IDD_SESSION_EDITOR)) {
        LogStream::instance() << "The stored-session editor could not be made: " << editor.buildError()
                              << LogStream::endl;
        return rec;
    }
    editor.doModal();
    return editor.getRecord();
}

void SessionDialog::updateDetailsButtons()
{
    const DetailsEditors& editors = detailsEditors();
    if (!editors.person) {
        for (int id : {IDC_SES_VENTILATION_DETAILS, IDC_SES_COMPRESSION_DETAILS, IDC_SES_INSTRUCTOR_DETAILS,
                       IDC_SES_APPROVED_BY_DETAILS})
            enable(this, id, false);
    }
    if (!editors.scenario)
        enable(this, IDC_SES_SCENARIO_DETAILS, false);
    if (!editors.algorithm)
        enable(this, IDC_SES_ALGORITHM_DETAILS, false);
}

void SessionDialog::showRecord(const SessionRecord& rec)
{
    combo(IDC_SES_TRAINING_MODE)->setCurSel(rec.TrainingMode);
    Utillib::selectComboString(combo(IDC_SES_VENTILATION), rec.PersonVentilation);
    Utillib::selectComboString(combo(IDC_SES_COMPRESSION), rec.PersonChestCompression);
    setParticipantFields(rec.TrainingMode, combo(IDC_SES_VENTILATION), platform::dlgItem(this, IDC_SES_VENTILATION_DETAILS),
                         combo(IDC_SES_COMPRESSION), platform::dlgItem(this, IDC_SES_COMPRESSION_DETAILS), false, false);
    Utillib::selectComboString(combo(IDC_SES_SCENARIO), rec.Scenario);
    Utillib::selectComboString(combo(IDC_SES_ALGORITHM), rec.Algorithm);
    setDurationText(combo(IDC_SES_DURATION), rec.Duration);
    platform::setButtonCheck(platform::dlgItem(this, IDC_SES_METRONOME), rec.Metronome ? 1 : 0);
    Utillib::selectComboString(combo(IDC_SES_MANIKIN), std::to_string(rec.Manikin));
    Utillib::setDlgItemTextIfChanged(this, IDC_SES_DATE, Utillib::toLocalDate(rec.CourseDate));
    Utillib::setDlgItemTextIfChanged(this, IDC_SES_START_TIME, rec.StartTime);
    Utillib::setDlgItemTextIfChanged(this, IDC_SES_INSTRUCTOR, rec.CourseInstructor);
    combo(IDC_SES_APPROVED)->setCurSel(rec.Approved);
    Utillib::selectComboString(combo(IDC_SES_APPROVED_BY), rec.ApprovedBy);
    Utillib::setDlgItemTextIfChanged(this, IDC_SES_NOTES, rec.Note);
    combo(IDC_SES_VENTILATION)->setFocus();
}

int SessionDialog::approvedIndex() const { return combo(IDC_SES_APPROVED)->getCurSel(); }

std::string SessionDialog::noteText() const { return Utillib::getWindowText(platform::dlgItem(this, IDC_SES_NOTES)); }

SessionRecord SessionDialog::readRecord()
{
    SessionRecord rec = record;
    rec.TrainingMode = combo(IDC_SES_TRAINING_MODE)->getCurSel();
    rec.PersonVentilation = Utillib::getWindowText(combo(IDC_SES_VENTILATION));
    rec.PersonChestCompression = Utillib::getWindowText(combo(IDC_SES_COMPRESSION));
    rec.Scenario = Utillib::getWindowText(combo(IDC_SES_SCENARIO));
    rec.Algorithm = Utillib::getWindowText(combo(IDC_SES_ALGORITHM));
    rec.Duration = durationFromCombo(combo(IDC_SES_DURATION));
    rec.Metronome = isChecked(this, IDC_SES_METRONOME) ? 1 : 0;
    QtPortComboBox manikin(combo(IDC_SES_MANIKIN));
    rec.Manikin = CalibrateManager::get().portFromCombo(manikin);
    const int approved = approvedIndex();
    rec.Approved = static_cast<std::uint8_t>(approved < 0 ? 0 : approved);
    rec.ApprovedBy = Utillib::getWindowText(combo(IDC_SES_APPROVED_BY));
    rec.Note = noteText();
    return rec;
}

bool SessionDialog::isChanged()
{
    if (combo(IDC_SES_TRAINING_MODE)->getCurSel() != record.TrainingMode)
        return true;
    if (Utillib::getWindowText(combo(IDC_SES_VENTILATION)) != record.PersonVentilation)
        return true;
    if (Utillib::getWindowText(combo(IDC_SES_COMPRESSION)) != record.PersonChestCompression)
        return true;
    if (Utillib::getWindowText(combo(IDC_SES_SCENARIO)) != record.Scenario)
        return true;
    if (Utillib::getWindowText(combo(IDC_SES_ALGORITHM)) != record.Algorithm)
        return true;
    if (durationFromCombo(combo(IDC_SES_DURATION)) != record.Duration)
        return true;
    if ((isChecked(this, IDC_SES_METRONOME) ? 1 : 0) != (record.Metronome ? 1 : 0))
        return true;
    QtPortComboBox manikin(combo(IDC_SES_MANIKIN));
    if (CalibrateManager::get().portFromCombo(manikin) != record.Manikin)
        return true;
    if (approvedIndex() != record.Approved)
        return true;
    if (Utillib::getWindowText(combo(IDC_SES_APPROVED_BY)) != record.ApprovedBy)
        return true;
    return noteText() != record.Note;
}

void SessionDialog::enableButtons(int bits)
{
    enable(this, IDC_DB_SAVE, (bits & buttonSave) != 0);
    enable(this, IDC_DB_DISCARD, (bits & buttonDiscard) != 0);
    enable(this, IDC_DB_DELETE, (bits & buttonDelete) != 0 && record.Done != 0 && allowDelete);
}

SessionRecord sessionChangeBase(SessionRecord row, const SessionRecord& handedIn)
{
    row.CourseInstructor = handedIn.CourseInstructor;
    row.CourseDate = handedIn.CourseDate;
    row.CourseTime = handedIn.CourseTime;
    row.CourseOrder = handedIn.CourseOrder;
    return row;
}

std::wstring sessionName(const SessionRecord& rec)
{
    std::string people = rec.PersonVentilation;
    if (!rec.PersonChestCompression.empty() && rec.PersonChestCompression != rec.PersonVentilation)
        people += (people.empty() ? "" : ", ") + rec.PersonChestCompression;
    std::string when = rec.CourseDate + " " + rec.StartTime;
    return GString::to_wstring(people.empty() ? when : people + " (" + when + ")");
}

std::wstring SessionDialog::messageText(int number)
{
    switch (number) {
    case 2:
        return translate("Session information was changed. Save the changes?");
    case 5:
    case 6:
        return translate("Are you sure you want to remove this session?\nYou can not undo this operation.");
    default:
        LOG_ASSERT(false);
        return std::wstring();
    }
}

void SessionDialog::notifyChanged() { tablePool.refresh(tableKind::Session); }

void SessionDialog::fillCombos()
{
    {
        QtPortComboBox ports(combo(IDC_SES_MANIKIN));
        Utillib::ComboSelectionKeeper keep(combo(IDC_SES_MANIKIN));
        CalibrateManager::get().fillPortCombo(ports);
    }
    dbui::QtComboBox ventilation(combo(IDC_SES_VENTILATION));
    personTable.fillCombo(ventilation, "name", "");
    Utillib::copyComboItems(combo(IDC_SES_VENTILATION), combo(IDC_SES_COMPRESSION));
    dbui::QtComboBox approvers(combo(IDC_SES_APPROVED_BY));
    personTable.fillCombo(approvers, "name", "Instructor = TRUE");
    dbui::QtComboBox scenarios(combo(IDC_SES_SCENARIO));
    scenarioTable.fillCombo(scenarios, "name", "");
    dbui::QtComboBox algorithms(combo(IDC_SES_ALGORITHM));
    algorithmTable.fillCombo(algorithms, "name", "");
}

// The row is gone for good: now its data file may go too. A file that is
// already gone or cannot be removed changes nothing.
void SessionDialog::afterRemove(const SessionRecord& removed)
{
    const std::string path = removed.dataFilePath();
    if (path.empty())
        return;
    std::error_code error;
    std::filesystem::remove(path, error);
}

bool SessionDialog::isSinglePerson() { return combo(IDC_SES_TRAINING_MODE)->getCurSel() == 0; }

void SessionDialog::onDelete()
{
    if (!deleteRecord(false))
        return;
    // The row and its file are gone: nothing is left to save.
    deleted = true;
    endDialog(IDCANCEL);
}

void SessionDialog::onClose()
{
    // The focus leaves the field first, so that a pending edit is taken.
    if (QWidget* close = platform::dlgItem(this, IDCANCEL))
        close->setFocus();
    if (askSaveChanges())
        endDialog(IDCANCEL);
}

void SessionDialog::createReplay()
{
    replaySession.reset();
    SessionRecord rec = readRecord();
    rec.Manikin = -1;
    Algorithm alg = algorithmTable.findByName(rec.Algorithm);
    if (installedViewer)
        replaySession = installedViewer->createReplay(rec, alg);
}

void SessionDialog::showReplay(int page)
{
    createReplay();
    if (installedViewer && replaySession)
        installedViewer->inspect(*replaySession, page);
}

void SessionDialog::applyScenario()
{
    ScenarioRecord sc = scenarioTable.findByName(Utillib::getWindowText(combo(IDC_SES_SCENARIO)));
    Utillib::selectComboString(combo(IDC_SES_ALGORITHM), sc.Algorithm);
    setDurationText(combo(IDC_SES_DURATION), sc.Duration);
    combo(IDC_SES_TRAINING_MODE)->setCurSel(sc.TrainingMode);
    setParticipantFields(sc.TrainingMode, combo(IDC_SES_VENTILATION), platform::dlgItem(this, IDC_SES_VENTILATION_DETAILS),
                         combo(IDC_SES_COMPRESSION), platform::dlgItem(this, IDC_SES_COMPRESSION_DETAILS), true, true);
    checkScenarioMatch();
}

void SessionDialog::checkScenarioMatch()
{
    platform::ComboBox* scenarioBox = combo(IDC_SES_SCENARIO);
    ScenarioRecord sc = scenarioTable.findByName(Utillib::getWindowText(scenarioBox));
    const bool matches = Utillib::getWindowText(combo(IDC_SES_ALGORITHM)) == sc.Algorithm
        && durationFromCombo(combo(IDC_SES_DURATION)) == sc.Duration
        && combo(IDC_SES_TRAINING_MODE)->getCurSel() == sc.TrainingMode;
    if (!matches)
        scenarioBox->setCurSel(-1);
    updateButtons();
}

void SessionDialog::mirrorParticipant(int editedId)
{
    if (!isSinglePerson())
        return;
    const int otherId = editedId == IDC_SES_VENTILATION ? IDC_SES_COMPRESSION : IDC_SES_VENTILATION;
    const std::string text = Utillib::getWindowText(combo(editedId));
    platform::ComboBox* other = combo(otherId);
    if (Utillib::getWindowText(other) != text)
        other->setShownText(platform::ansiToQString(text));
}

void SessionDialog::showDetails(int buttonId)
{
    const DetailsEditors& editors = detailsEditors();
    int boxId = 0;
    std::string selected;
    switch (buttonId) {
    case IDC_SES_VENTILATION_DETAILS:
    case IDC_SES_COMPRESSION_DETAILS:
    case IDC_SES_APPROVED_BY_DETAILS:
        boxId = buttonId == IDC_SES_VENTILATION_DETAILS ? IDC_SES_VENTILATION
            : buttonId == IDC_SES_COMPRESSION_DETAILS   ? IDC_SES_COMPRESSION
                                                        : IDC_SES_APPROVED_BY;
        if (!editors.person)
            return;
        selected = editors.person(Utillib::getWindowText(combo(boxId)), false);
        break;
    case IDC_SES_INSTRUCTOR_DETAILS:
        if (editors.person)
            editors.person(record.CourseInstructor, true);
        fillCombos();
        return;
    case IDC_SES_SCENARIO_DETAILS:
        boxId = IDC_SES_SCENARIO;
        if (!editors.scenario)
            return;
        selected = editors.scenario(Utillib::getWindowText(combo(boxId)));
        break;
    case IDC_SES_ALGORITHM_DETAILS:
        boxId = IDC_SES_ALGORITHM;
        if (!editors.algorithm)
            return;
        selected = editors.algorithm(Utillib::getWindowText(combo(boxId)));
        break;
    default:
        return;
    }
    fillCombos();
    if (selected.empty())
        return;
    Utillib::selectComboString(combo(boxId), selected);
    if (boxId == IDC_SES_SCENARIO)
        applyScenario();
    else if (boxId == IDC_SES_ALGORITHM)
        checkScenarioMatch();
    else if (boxId == IDC_SES_VENTILATION || boxId == IDC_SES_COMPRESSION)
        mirrorParticipant(boxId);
    updateButtons();
}

bool SessionDialog::onCommand(int id, int code)
{
    switch (id) {
    case Editor::idDelete:
        if (code == BN_CLICKED)
            onDelete();
        return true;
    case IDCANCEL:
        if (code == BN_CLICKED)
            onClose();
        return true;
    case IDC_SES_GRAPH:
    case IDC_SES_DEBRIEFING:
        if (code == BN_CLICKED)
            showReplay(id == IDC_SES_GRAPH ? replayGraph : replayDebriefing);
        return true;
    case IDC_SES_VENTILATION_DETAILS:
    case IDC_SES_COMPRESSION_DETAILS:
    case IDC_SES_SCENARIO_DETAILS:
    case IDC_SES_ALGORITHM_DETAILS:
    case IDC_SES_INSTRUCTOR_DETAILS:
    case IDC_SES_APPROVED_BY_DETAILS:
        if (code == BN_CLICKED)
            showDetails(id);
        return true;
    case IDC_SES_TRAINING_MODE:
        if (code != CBN_SELCHANGE || updating)
            return true;
        setParticipantFields(combo(id)->getCurSel(), combo(IDC_SES_VENTILATION),
                             platform::dlgItem(this, IDC_SES_VENTILATION_DETAILS), combo(IDC_SES_COMPRESSION),
                             platform::dlgItem(this, IDC_SES_COMPRESSION_DETAILS), true, true);
        checkScenarioMatch();
        return true;
    case IDC_SES_VENTILATION:
    case IDC_SES_COMPRESSION:
        if ((code == CBN_EDITCHANGE || code == CBN_SELCHANGE) && !updating) {
            mirrorParticipant(id);
            updateButtons();
        }
        return true;
    case IDC_SES_SCENARIO:
        if (code == CBN_SELCHANGE && !updating)
            applyScenario();
        return true;
    case IDC_SES_ALGORITHM:
        if (code == CBN_SELCHANGE && !updating)
            checkScenarioMatch();
        return true;
    case IDC_SES_DURATION:
        // Queued, so that the box has taken its new text first.
        if ((code == CBN_EDITCHANGE || code == CBN_SELCHANGE) && !updating)
            QTimer::singleShot(0, this, [this] { checkScenarioMatch(); });
        return true;
    case IDC_SES_METRONOME:
    case IDC_SES_MANIKIN:
    case IDC_SES_APPROVED:
    case IDC_SES_APPROVED_BY:
    case IDC_SES_NOTES:
        updateButtons();
        return true;
    default:
        return RecordEditorDialog::onCommand(id, code);
    }
}
