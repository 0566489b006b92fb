#include "Database/AlgorithmDialog.h"

#include "Database/AlgorithmValues.h"
#include "Database/Database.h"
#include "Database/DbUiQt.h"
#include "Utillib/WindowUtil.h"
#include "gettext/Translator.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/resource.h"
#include "ui/COXMaskedEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>

namespace {

std::function<bool()>& notationSource()
{
    static std::function<bool()> source;
    return source;
}

struct FieldMask {
    int id;
    const char* mask;
};

// Every masked field: the initial ventilations and the four ratio fields
// take two digits, the others four digits or points.
constexpr FieldMask masks[] = {
    {IDC_ALG_INIT_VENT, "##"},     {IDC_ALG_VRATE_LOW, "%%%%"},   {IDC_ALG_VRATE_HIGH, "%%%%"},
    {IDC_ALG_VVOL_LOW, "%%%%"},    {IDC_ALG_VVOL_HIGH, "%%%%"},   {IDC_ALG_ECC_LOW, "%%%%"},
    {IDC_ALG_ECC_HIGH, "%%%%"},    {IDC_ALG_SHARE_LOW, "%%%%"},   {IDC_ALG_SHARE_HIGH, "%%%%"},
    {IDC_ALG_SHARE_RECC, "%%%%"},  {IDC_ALG_DEPTH_LOW, "%%%%"},   {IDC_ALG_DEPTH_HIGH, "%%%%"},
    {IDC_ALG_SINGLE_COMP, "##"},   {IDC_ALG_SINGLE_VENT, "##"},   {IDC_ALG_DOUBLE_COMP, "##"},
    {IDC_ALG_DOUBLE_VENT, "##"},   {IDC_ALG_SCRATCH, "%%%%"},
};

// The controls that only the percent notation shows.
constexpr int percentControls[] = {IDC_ALG_PERCENT, IDC_ALG_PERCENT_SLASH, IDC_ALG_PERCENT_REST, IDC_ALG_SHARE_REST};

} // namespace

using namespace algorithmValues;

AlgorithmDialog::AlgorithmDialog(const std::string& name, bool deleteAllowed, QWidget* parent)
    : RecordEditorDialog(parent)
    , initialName(name)
    , allowDelete(deleteAllowed)
    , algorithms(database)
{
    for (const FieldMask& m : masks)
        fields[m.id] = std::make_unique<COXMaskedEdit>(m.mask);
}

AlgorithmDialog::~AlgorithmDialog()
{
    // A field losing the focus while the fields go is no leaving.
    for (auto& [id, field] : fields)
        field->removeEventFilter(this);
}

void AlgorithmDialog::setPercentNotationSource(std::function<bool()> source) { notationSource() = std::move(source); }

int AlgorithmDialog::doModal()
{
    if (!isCreated() && !create(IDD_ALGORITHM))
        return -1;
    return RecordEditorDialog::doModal();
}

COXMaskedEdit* AlgorithmDialog::valueField(int id) const
{
    auto it = fields.find(id);
    return it == fields.end() ? nullptr : it->second.get();
}

QLineEdit* AlgorithmDialog::nameField() const { return platform::dlgItem<QLineEdit>(this, IDC_EDITOR_NAME); }

bool AlgorithmDialog::onInitDialog()
{
    dbui::WaitCursor wait;
    percent = notationSource() ? notationSource()() : true;
    RecordEditorDialog::onInitDialog();
    navigation.subclass(this);
    for (auto& [id, field] : fields) {
        field->subclassDlgItem(id, this);
        // Leaving a value field checks the ranges; the recommended share
        // updates its complement as it changes instead.
        if (id != IDC_ALG_SHARE_RECC && id != IDC_ALG_SCRATCH)
            field->installEventFilter(this);
    }
    nameField()->setMaxLength(80);
    startTable(algorithms);
    if (!initialName.empty()) {
        moveToRecord(RecordKey<Algorithm>::withKey(initialName));
    } else if (tableOpen() && !emptyTable()) {
        DBUtil::moveFirst(algorithms);
        loadCurrentRecord();
        updateDialog();
    } else {
        newEntry(Algorithm());
    }
    for (int id : percentControls)
        platform::dlgItem(this, id)->setVisible(percent);
    return false; // the focus stays on the name
}

bool AlgorithmDialog::onCommand(int id, int code)
{
    switch (id) {
    case IDC_ALG_SCRATCH:
    case IDC_ALG_SHARE_REST:
        // Written by the editor itself, never by the user.
        return code == EN_CHANGE;
    case IDC_ALG_SHARE_RECC:
        if (code != EN_CHANGE)
            break;
        complementUpdate();
        return true;
    case IDOK:
        if (code == BN_CLICKED && focusWidget() == valueField(IDC_ALG_DOUBLE_COMP)) {
            nameField()->setFocus(Qt::TabFocusReason);
            return true;
        }
        break;
    case IDCANCEL:
        // A field being left gets its check before the question.
        if (QWidget* close = platform::dlgItem(this, IDCANCEL))
            close->setFocus(Qt::OtherFocusReason);
        break;
    default:
        break;
    }
    return RecordEditorDialog::onCommand(id, code);
}

bool AlgorithmDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && isVisible()) {
        // A message box or a list taking the focus for a moment is no leaving.
        Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            rangeCheck();
    }
    return RecordEditorDialog::eventFilter(watched, event);
}

void AlgorithmDialog::setValue(int id, double v)
{
    if (COXMaskedEdit* field = valueField(id))
        field->SetInputText(format(v).c_str(), 0, true);
}

double AlgorithmDialog::value(int id) const
{
    COXMaskedEdit* field = valueField(id);
    return field ? parse(platform::qStringToAnsi(field->text())) : 0;
}

double AlgorithmDialog::share(int id) const { return percent ? value(id) : ratioToShare(value(id)); }

double AlgorithmDialog::shownShare(double stored)
{
    setValue(IDC_ALG_SCRATCH, shareToRatio(stored));
    return value(IDC_ALG_SCRATCH);
}

void AlgorithmDialog::showRecord(const Algorithm& rec)
{
    recordEditor::quickFindBox(this)->setCurSel(-1);
    Utillib::setDlgItemTextIfChanged(this, IDC_EDITOR_NAME, rec.Name);
    setValue(IDC_ALG_INIT_VENT, rec.initVent);
    setValue(IDC_ALG_VRATE_LOW, rec.vRateLow);
    setValue(IDC_ALG_VRATE_HIGH, rec.vRateHigh);
    setValue(IDC_ALG_VVOL_LOW, rec.vVolLow);
    setValue(IDC_ALG_VVOL_HIGH, rec.vVolHigh);
    setValue(IDC_ALG_ECC_LOW, rec.eccRateLow);
    setValue(IDC_ALG_ECC_HIGH, rec.eccRateHigh);
    auto shown = [this](double v) { return percent ? v : shareToRatio(v); };
    setValue(IDC_ALG_SHARE_LOW, shown(rec.compRelaxLow));
    setValue(IDC_ALG_SHARE_HIGH, shown(rec.compRelaxHigh));
    setValue(IDC_ALG_SHARE_RECC, shown(rec.compRelaxRecc));
    setValue(IDC_ALG_DEPTH_LOW, rec.compDepthLow);
    setValue(IDC_ALG_DEPTH_HIGH, rec.compDepthHigh);
    setValue(IDC_ALG_SINGLE_COMP, rec.ventCompRatioSingleComp);
    setValue(IDC_ALG_SINGLE_VENT, rec.ventCompRatioSingleVent);
    setValue(IDC_ALG_DOUBLE_COMP, rec.ventCompRatioDoubleComp);
    setValue(IDC_ALG_DOUBLE_VENT, rec.ventCompRatioDoubleVent);
    nameField()->setFocus(Qt::OtherFocusReason);
}

Algorithm AlgorithmDialog::readRecord()
{
    Algorithm rec = record;
    rec.Name = trimmed(Utillib::getWindowText(nameField()));
    rec.initVent = static_cast<std::int32_t>(value(IDC_ALG_INIT_VENT));
    rec.vRateLow = value(IDC_ALG_VRATE_LOW);
    rec.vRateHigh = value(IDC_ALG_VRATE_HIGH);
    rec.vVolLow = value(IDC_ALG_VVOL_LOW);
    rec.vVolHigh = value(IDC_ALG_VVOL_HIGH);
    rec.eccRateLow = value(IDC_ALG_ECC_LOW);
    rec.eccRateHigh = value(IDC_ALG_ECC_HIGH);
    rec.compRelaxLow = share(IDC_ALG_SHARE_LOW);
    rec.compRelaxHigh = share(IDC_ALG_SHARE_HIGH);
    rec.compRelaxRecc = share(IDC_ALG_SHARE_RECC);
    rec.compDepthLow = value(IDC_ALG_DEPTH_LOW);
    rec.compDepthHigh = value(IDC_ALG_DEPTH_HIGH);
    rec.ventCompRatioSingleComp = value(IDC_ALG_SINGLE_COMP);
    rec.ventCompRatioSingleVent = value(IDC_ALG_SINGLE_VENT);
    rec.ventCompRatioDoubleComp = value(IDC_ALG_DOUBLE_COMP);
    rec.ventCompRatioDoubleVent = value(IDC_ALG_DOUBLE_VENT);
    return rec;
}

bool AlgorithmDialog::isChanged()
{
    // The name as typed: an added blank counts.
    if (Utillib::getWindowText(nameField()) != record.Name)
        return true;
    if (value(IDC_ALG_INIT_VENT) != record.initVent)
        return true;
    const std::pair<int, double> before[] = {
        {IDC_ALG_VRATE_LOW, record.vRateLow}, {IDC_ALG_VRATE_HIGH, record.vRateHigh},
        {IDC_ALG_VVOL_LOW, record.vVolLow},   {IDC_ALG_VVOL_HIGH, record.vVolHigh},
        {IDC_ALG_ECC_LOW, record.eccRateLow}, {IDC_ALG_ECC_HIGH, record.eccRateHigh},
    };
    for (const auto& [id, stored] : before)
        if (value(id) != stored)
            return true;
    // Shares compare at the precision a field shows them.
    const std::pair<int, double> shares[] = {
        {IDC_ALG_SHARE_RECC, record.compRelaxRecc},
        {IDC_ALG_SHARE_LOW, record.compRelaxLow},
        {IDC_ALG_SHARE_HIGH, record.compRelaxHigh},
    };
    for (const auto& [id, stored] : shares)
        if (value(id) != (percent ? stored : shownShare(stored)))
            return true;
    const std::pair<int, double> after[] = {
        {IDC_ALG_DEPTH_LOW, record.compDepthLow},
        {IDC_ALG_DEPTH_HIGH, record.compDepthHigh},
        {IDC_ALG_SINGLE_VENT, record.ventCompRatioSingleVent},
        {IDC_ALG_SINGLE_COMP, record.ventCompRatioSingleComp},
        {IDC_ALG_DOUBLE_VENT, record.ventCompRatioDoubleVent},
        {IDC_ALG_DOUBLE_COMP, record.ventCompRatioDoubleComp},
    };
    for (const auto& [id, stored] : after)
        if (value(id) != stored)
            return true;
    return false;
}

void AlgorithmDialog::enableButtons(int bits)
{
    // A built-in guideline keeps its name and cannot be deleted; its values can be changed.
    enableStandardButtons(bits, allowDelete && !record.builtIn);
    nameField()->setReadOnly(record.builtIn);
}

std::wstring AlgorithmDialog::messageText(int number)
{
    switch (number) {
    case 0:
        return translate("An algorithm with the same name already exists!\nDo you want to replace the existing algorithm "
                         "with this one?\n\nNotice that all existing sessions based on this algorithm\nwill be affected, "
                         "and the debriefings will be invalid.\nYou can not undo this operation.\nIf you want to use "
                         "the new entry and remove the old one, please choose 'Yes'.\nIf you want to drop the new entry "
                         "and keep the old one, choose 'No'.\nIf you want to have two different algorithms, please "
                         "choose 'Cancel'\nand change the name of the new entry to something different.");
    case 1:
        return translate("An algorithm with the same name already exists!\nDo you want to replace the existing algorithm "
                         "with this one?\nNotice that all existing sessions based on this algorithm\nwill be affected, "
                         "and the debriefings will be invalid.\nYou can not undo this operation.");
    case 2:
    case 3:
        return translate("Algorithm was changed! Save the changes?\nNotice that all existing sessions based on this "
                         "algorithm\nwill be affected, and the debriefings will be invalid.\nYou can not undo this "
                         "operation.");
    case 4:
        return translate("An algorithm has to have a name.\nPlease fill in a name before you save.");
    case 5:
    case 6:
        return translate("Are you sure you want to remove this algorithm\nand all related sessions and scenarios?\nYou "
                         "can not undo this operation.");
    default:
        return {};
    }
}

void AlgorithmDialog::notifyChanged() { tablePool.refresh(tableKind::Algorithm); }

void AlgorithmDialog::fillCombos()
{
    dbui::QtComboBox box(recordEditor::quickFindBox(this));
    algorithms.fillCombo(box, "name", "");
}

void AlgorithmDialog::rangeCheck()
{
    if (validating) {
        updateButtons();
        return;
    }
    validating = true;
    Algorithm typed = readRecord();
    Algorithm r = corrected(typed);
    if (!(r == typed)) {
        QApplication::beep();
        showRecord(r);
    }
    validating = false;
    updateButtons();
}

void AlgorithmDialog::complementUpdate()
{
    if (!updating)
        updateButtons();
    if (!percent)
        return;
    double typed = value(IDC_ALG_SHARE_RECC);
    double kept = clampShare(typed);
    if (kept != typed)
        setValue(IDC_ALG_SHARE_RECC, kept);
    Utillib::setDlgItemTextIfChanged(this, IDC_ALG_SHARE_REST, format(100 - kept));
}

void runAlgorithmEditor(QWidget* parent)
{
    AlgorithmDialog editor("", true, parent);
    editor.doModal();
}

std::string showAlgorithmDetails(QWidget* parent, const std::string& name)
{
    AlgorithmDialog editor(name, false, parent);
    editor.doModal();
    return editor.getSelectedName();
}
