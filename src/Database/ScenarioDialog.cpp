#include "Database/ScenarioDialog.h"

#include "Database/AlgorithmDialog.h"
#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Database/DbUiQt.h"
#include "Database/EventDialogs.h"
#include "Utillib/DurationCombo.h"
#include "Utillib/WindowUtil.h"
#include "config/TrainingMode.h"
#include "gettext/Translator.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/resource.h"

#include <QLineEdit>
#include <QPointer>
#include <QTimer>

ScenarioDialog::ScenarioDialog(const ScenarioRecord& record, bool deleteAllowed, QWidget* parent)
    : RecordEditorDialog(parent)
    , start(record)
    , allowDelete(deleteAllowed)
    , scenarios(database)
{
}

ScenarioDialog::~ScenarioDialog() = default;

int ScenarioDialog::doModal()
{
    if (!isCreated() && !create(IDD_SCENARIO))
        return -1;
    return RecordEditorDialog::doModal();
}

platform::ComboBox* ScenarioDialog::durationBox() const
{
    return platform::dlgItem<platform::ComboBox>(this, IDC_SCENARIO_DURATION);
}

platform::ComboBox* ScenarioDialog::algorithmBox() const
{
    return platform::dlgItem<platform::ComboBox>(this, IDC_SCENARIO_ALGORITHM);
}

platform::ComboBox* ScenarioDialog::modeBox() const { return platform::dlgItem<platform::ComboBox>(this, IDC_SCENARIO_MODE); }

bool ScenarioDialog::registerChecked() const
{
    return platform::buttonCheck(platform::dlgItem(this, IDC_SCENARIO_REGISTER)) == 1;
}

bool ScenarioDialog::onInitDialog()
{
    dbui::WaitCursor wait;
    RecordEditorDialog::onInitDialog();
    navigation.subclass(this);
    platform::dlgItem<QLineEdit>(this, IDC_EDITOR_NAME)->setMaxLength(80);
    fillTrainingModeCombo(modeBox());
    fillDurationCombo(durationBox());
    startTable(scenarios);
    // Also without a name: the menu's editor starts on a new entry.
    moveToRecord(start);
    return false; // the focus stays on the name
}

bool ScenarioDialog::onCommand(int id, int code)
{
    const bool clicked = code == BN_CLICKED;
    switch (id) {
    case IDC_SCENARIO_REGISTER:
        if (clicked)
            updateButtons();
        return true;
    case IDC_SCENARIO_ALGORITHM:
    case IDC_SCENARIO_MODE:
        if (code == CBN_SELCHANGE || code == CBN_CLOSEUP)
            updateButtons();
        return true;
    case IDC_SCENARIO_DURATION:
        if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE || code == CBN_CLOSEUP) {
            // Once the box has finished with its own notification.
            QPointer<ScenarioDialog> self = this;
            QTimer::singleShot(0, this, [self] {
                if (self && !self->updating)
                    self->updateButtons();
            });
        }
        return true;
    case IDC_SCENARIO_DETAILS:
        if (clicked)
            showAlgorithmDetails();
        return true;
    case IDC_SCENARIO_EDIT_EVENTS:
        if (clicked)
            editEvents();
        return true;
    case IDOK:
        if (clicked && focusWidget() == platform::dlgItem(this, IDC_SCENARIO_REGISTER)) {
            platform::dlgItem(this, IDC_EDITOR_NAME)->setFocus(Qt::TabFocusReason);
            return true;
        }
        break;
    case IDCANCEL:
        if (QWidget* close = platform::dlgItem(this, IDCANCEL))
            close->setFocus(Qt::OtherFocusReason);
        break;
    default:
        break;
    }
    return RecordEditorDialog::onCommand(id, code);
}

void ScenarioDialog::showAlgorithmDetails()
{
    AlgorithmDialog details(Utillib::getComboText(algorithmBox()), false, this);
    details.doModal();
    fillCombos();
    std::string chosen = details.getSelectedName();
    if (chosen.empty())
        return;
    Utillib::selectComboString(algorithmBox(), chosen);
    // Another algorithm chosen this way is a change of the scenario.
    if (!updating)
        enableButtons(buttonState());
}

void ScenarioDialog::editEvents()
{
    // The events belong to a stored scenario: it is saved first.
    if (!save())
        return;
    editScenarioEvents(this, record.Name);
    platform::setButtonCheck(platform::dlgItem(this, IDC_SCENARIO_REGISTER), 1);
    if (!updating)
        enableButtons(buttonState());
}

void ScenarioDialog::showRecord(const ScenarioRecord& rec)
{
    recordEditor::quickFindBox(this)->setCurSel(-1);
    Utillib::setDlgItemTextIfChanged(this, IDC_EDITOR_NAME, rec.Name);
    if (rec.Algorithm.empty())
        algorithmBox()->setCurSel(algorithmBox()->getCount() > 0 ? 0 : -1);
    else
        Utillib::selectComboString(algorithmBox(), rec.Algorithm);
    setDurationText(durationBox(), rec.Duration);
    modeBox()->setCurSel(rec.TrainingMode);
    platform::setButtonCheck(platform::dlgItem(this, IDC_SCENARIO_REGISTER), rec.RegisterEvents != 0 ? 1 : 0);
    platform::dlgItem(this, IDC_EDITOR_NAME)->setFocus(Qt::OtherFocusReason);
}

ScenarioRecord ScenarioDialog::readRecord()
{
    ScenarioRecord rec = record;
    rec.Name = trimmed(Utillib::getWindowText(platform::dlgItem(this, IDC_EDITOR_NAME)));
    rec.Duration = durationFromCombo(durationBox());
    rec.Algorithm = Utillib::getComboText(algorithmBox());
    rec.RegisterEvents = registerChecked();
    rec.TrainingMode = modeBox()->getCurSel();
    return rec;
}

bool ScenarioDialog::isChanged()
{
    return trimmed(Utillib::getWindowText(platform::dlgItem(this, IDC_EDITOR_NAME))) != record.Name
        || Utillib::getComboText(algorithmBox()) != record.Algorithm || durationFromCombo(durationBox()) != record.Duration
        || modeBox()->getCurSel() != record.TrainingMode || registerChecked() != (record.RegisterEvents != 0);
}

void ScenarioDialog::enableButtons(int bits) { enableStandardButtons(bits, allowDelete); }

std::wstring ScenarioDialog::messageText(int number)
{
    switch (number) {
    case 0:
        return translate("A scenario with the same name already exists!\nDo you want to replace the existing scenario "
                         "with this one?\n\nIf you want to keep the new scenario and remove the old one, please choose "
                         "'Yes'.\nIf you want to drop the new scenario and keep the old one, choose 'No'.\nIf you want "
                         "to have two different scenarios, please choose 'Cancel'\nand change the name of the new "
                         "scenario to something different.");
    case 1:
        return translate("A scenario with the same name already exists!\nDo you want to replace the existing scenario "
                         "with this one?\nYou can not undo this operation.");
    case 2:
        return translate("Scenario was changed. Save the changes?");
    case 4:
        return translate("A scenario has to have a name.");
    case 5:
    case 6:
        return translate("Are you sure you want to remove this scenario\nand all related sessions?\nYou can not undo "
                         "this operation.");
    default:
        return {};
    }
}

void ScenarioDialog::notifyChanged() { tablePool.refresh(tableKind::Scenario); }

void ScenarioDialog::fillCombos()
{
    dbui::QtComboBox quickFind(recordEditor::quickFindBox(this));
    scenarios.fillCombo(quickFind, "name", "");
    AlgorithmTable algorithms(database);
    algorithms.open("");
    dbui::QtComboBox algorithmList(algorithmBox());
    algorithms.fillCombo(algorithmList, "name", "");
}

void runScenarioEditor(QWidget* parent)
{
    ScenarioDialog editor(ScenarioRecord(), true, parent);
    editor.doModal();
}

std::string showScenarioDetails(QWidget* parent, const ScenarioRecord& scenario)
{
    ScenarioDialog editor(scenario, false, parent);
    editor.doModal();
    return editor.getSelectedName();
}
