#include "Database/PersonDialog.h"

#include "Database/Database.h"
#include "Database/DbUiQt.h"
#include "Utillib/WindowUtil.h"
#include "gettext/Translator.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/resource.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace {

// The texts shown in edit fields, with their limits.
struct TextField {
    int id;
    int limit;
};
constexpr TextField textFields[] = {
    {IDC_EDITOR_NAME, 80},    {IDC_PERSON_ADDRESS, 250}, {IDC_PERSON_PHONE, 20},          {IDC_PERSON_DEGREE, 80},
    {IDC_PERSON_COURSES, 10}, {IDC_PERSON_NOTES, 250},   {IDC_PERSON_RESUSCITATIONS, 10},
};

} // namespace

PersonDialog::PersonDialog(const std::string& name, bool instructorFlag, bool deleteAllowed, QWidget* parent)
    : RecordEditorDialog(parent)
    , initialName(name)
    , instructor(instructorFlag)
    , allowDelete(deleteAllowed)
    , persons(database)
{
}

PersonDialog::~PersonDialog() = default;

int PersonDialog::doModal()
{
    if (!isCreated() && !create(IDD_PERSON))
        return -1;
    return RecordEditorDialog::doModal();
}

bool PersonDialog::onInitDialog()
{
    dbui::WaitCursor wait;
    RecordEditorDialog::onInitDialog();
    navigation.subclass(this);
    for (const TextField& f : textFields) {
        QWidget* control = platform::dlgItem(this, f.id);
        if (auto* line = qobject_cast<QLineEdit*>(control))
            line->setMaxLength(f.limit);
        else if (auto* lines = qobject_cast<QPlainTextEdit*>(control))
            Utillib::limitText(lines, f.limit);
    }
    startTable(persons);
    PersonRecord start;
    start.Name = initialName;
    start.Instructor = instructor;
    // Also without a name: the menu's editor starts on a new, empty entry.
    moveToRecord(start);
    return false; // the focus stays on the name
}

bool PersonDialog::onCommand(int id, int code)
{
    switch (id) {
    case IDC_PERSON_INSTRUCTOR:
        if (code == BN_CLICKED)
            updateButtons();
        return true;
    case IDC_DB_NEW:
        if (code != BN_CLICKED)
            break;
        if (askSaveChanges()) {
            newEntry(PersonRecord());
            // A person made from an instructor's box starts as an instructor.
            if (instructor) {
                record.Instructor = true;
                platform::setButtonCheck(platform::dlgItem(this, IDC_PERSON_INSTRUCTOR), 1);
            }
        }
        return true;
    case IDOK:
        if (code == BN_CLICKED && focusWidget() == platform::dlgItem(this, IDC_PERSON_NOTES)) {
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

std::string PersonDialog::text(int id) const { return Utillib::getWindowText(platform::dlgItem(this, id)); }

bool PersonDialog::instructorChecked() const
{
    return platform::buttonCheck(platform::dlgItem(this, IDC_PERSON_INSTRUCTOR)) == 1;
}

void PersonDialog::showRecord(const PersonRecord& rec)
{
    recordEditor::quickFindBox(this)->setCurSel(-1);
    const std::pair<int, const std::string*> texts[] = {
        {IDC_EDITOR_NAME, &rec.Name},       {IDC_PERSON_ADDRESS, &rec.Address},
        {IDC_PERSON_PHONE, &rec.Phone},     {IDC_PERSON_DEGREE, &rec.Degree},
        {IDC_PERSON_NOTES, &rec.Note},      {IDC_PERSON_COURSES, &rec.CPRCourses},
        {IDC_PERSON_RESUSCITATIONS, &rec.Resuscitations},
    };
    for (const auto& [id, value] : texts)
        platform::setWindowTextA(platform::dlgItem(this, id), *value);
    platform::setButtonCheck(platform::dlgItem(this, IDC_PERSON_INSTRUCTOR), rec.Instructor != 0 ? 1 : 0);
    platform::dlgItem(this, IDC_EDITOR_NAME)->setFocus(Qt::OtherFocusReason);
}

PersonRecord PersonDialog::readRecord()
{
    PersonRecord rec = record;
    rec.Name = trimmed(text(IDC_EDITOR_NAME));
    rec.Address = text(IDC_PERSON_ADDRESS);
    rec.Phone = text(IDC_PERSON_PHONE);
    rec.Degree = text(IDC_PERSON_DEGREE);
    rec.Note = text(IDC_PERSON_NOTES);
    rec.CPRCourses = text(IDC_PERSON_COURSES);
    rec.Resuscitations = text(IDC_PERSON_RESUSCITATIONS);
    rec.Instructor = instructorChecked();
    return rec;
}

bool PersonDialog::isChanged()
{
    return trimmed(text(IDC_EDITOR_NAME)) != record.Name || text(IDC_PERSON_ADDRESS) != record.Address
        || text(IDC_PERSON_PHONE) != record.Phone || text(IDC_PERSON_DEGREE) != record.Degree
        || text(IDC_PERSON_NOTES) != record.Note || text(IDC_PERSON_COURSES) != record.CPRCourses
        || text(IDC_PERSON_RESUSCITATIONS) != record.Resuscitations
        || instructorChecked() != (record.Instructor != 0);
}

void PersonDialog::enableButtons(int bits) { enableStandardButtons(bits, allowDelete); }

std::wstring PersonDialog::messageText(int number)
{
    switch (number) {
    case 0:
        return translate("A person with the same name already exists!\nDo you want to replace the existing person with "
                         "this one?\n\nIf you want to keep the new entry and remove the old one, please choose "
                         "'Yes'.\nIf you want to drop the new entry and keep the old one, choose 'No'.\nIf you want to "
                         "have two different persons, please choose 'Cancel'\nand change the name of the new entry to "
                         "something different.");
    case 1:
        return translate("A person with the same name already exists!\nDo you want to replace the existing person with "
                         "this one?\n");
    case 2:
        return translate("Data was changed. Save the changes?");
    case 4:
        return translate("A person has to have a name.");
    case 5:
    case 6:
        return translate("Are you sure you want to remove this person\nand all related sessions and courses?\nYou can "
                         "not undo this operation.");
    default:
        return {};
    }
}

void PersonDialog::notifyChanged() { tablePool.refresh(tableKind::Person); }

void PersonDialog::fillCombos()
{
    dbui::QtComboBox box(recordEditor::quickFindBox(this));
    persons.fillCombo(box, "name", "");
}

void runPersonEditor(QWidget* parent)
{
    PersonDialog editor("", false, true, parent);
    editor.doModal();
}

std::string showPersonDetails(QWidget* parent, const std::string& name, bool instructor)
{
    PersonDialog editor(name, instructor, false, parent);
    editor.doModal();
    return editor.getSelectedName();
}
