#include "Database/PersonTable.h"
#include "Utillib/GString.h"

#include "Database/Database.h"
#include "Database/DbText.h"

#include <algorithm>
#include <cctype>

#include "Database/WinBool.h"

PersonRecord::PersonRecord() { reset(); }

void PersonRecord::reset()
{
    Name.clear();
    Address.clear();
    CPRCourses = "0";
    Degree.clear();
    Instructor = FALSE;
    Note.clear();
    Phone.clear();
    Resuscitations = "0";
}

bool PersonRecord::keysEqual(const std::string& a, const std::string& b) { return dbtext::equalNoCase(a, b); }

std::wstring PersonRecord::nameText() const { return GString::to_wstring(Name); }

void PersonRecord::setNameText(const std::wstring& name) { Name = GString::to_string(name); }

std::string PersonRecord::keyCondition(const std::string& column) const
{
    return (column.empty() ? std::string("name") : column) + " = '" + DBUtil::quote(Name) + "'";
}

PersonTable::PersonTable(Database& db)
    : DatabaseTable(db)
{
    bindText("Address", Address);
    bindText("Degree", Degree);
    bindBool("Instructor", Instructor);
    bindText("Name", Name);
    bindText("Note", Note);
    bindText("Phone", Phone);
    bindText("CPRCourses", CPRCourses);
    bindText("Resuscitations", Resuscitations);
}

bool PersonTable::open(const std::string& filter) { return openAs(filter, tableKind::Person); }

std::string PersonTable::getField(const std::string& column)
{
    std::string lower = column;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "address")
        return Address;
    if (lower == "degree")
        return Degree;
    if (lower == "name")
        return Name;
    if (lower == "note")
        return Note;
    if (lower == "phone")
        return Phone;
    if (lower == "cprcourses")
        return CPRCourses;
    if (lower == "resuscitations")
        return Resuscitations;
    LOG_ASSERT(false);
    return std::string();
}

PersonRecord PersonTable::getRecord()
{
    PersonRecord r;
    r.Name = Name;
    r.Address = Address;
    r.CPRCourses = CPRCourses;
    r.Degree = Degree;
    r.Instructor = Instructor;
    r.Note = Note;
    r.Phone = Phone;
    r.Resuscitations = Resuscitations;
    return r;
}

void PersonTable::setRecord(const PersonRecord& r)
{
    Name = r.Name;
    Address = r.Address;
    CPRCourses = r.CPRCourses;
    Degree = r.Degree;
    Instructor = r.Instructor;
    Note = r.Note;
    Phone = r.Phone;
    Resuscitations = r.Resuscitations;
}

namespace {

// The Session columns that name a person.
const char* const sessionPersonColumns[] = {"PersonVentilation", "PersonChestCompression", "CourseInstructor", "ApprovedBy"};

// A name that reads here like another person's cannot tell their rows apart:
// the cascade is refused before it writes anything.
bool cascadeAllowed(Database& db, const std::string& name)
{
    return DBUtil::cascadeAllowed(db,
                                  {{"Person", "Name"}, {"Session", "PersonVentilation"}, {"Session", "PersonChestCompression"},
                                   {"Session", "CourseInstructor"}, {"Session", "ApprovedBy"}, {"Course", "Instructor"}},
                                  name);
}

} // namespace

bool PersonTable::rename(const std::string& oldName, const std::string& newName)
{
    if (!cascadeAllowed(connection(), oldName))
        return false;
    bool success = true;
    for (const char* column : sessionPersonColumns)
        success = DBUtil::update(connection(), "Session", column, oldName, newName) && success;
    tablePool.refresh(tableKind::Session);
    success = DBUtil::update(connection(), "Course", "Instructor", oldName, newName) && success;
    tablePool.refresh(tableKind::Course);
    return success;
}

bool PersonTable::remove(const std::string& name, bool cascade)
{
    if (!cascadeAllowed(connection(), name))
        return false;
    bool success = true;
    if (cascade) {
        for (const char* column : sessionPersonColumns)
            success = DBUtil::remove(connection(), "Session", column, name) && success;
        tablePool.refresh(tableKind::Session);
        success = DBUtil::remove(connection(), "Course", "Instructor", name) && success;
        tablePool.refresh(tableKind::Course);
    }
    success = DBUtil::remove(connection(), "Person", "Name", name) && success;
    tablePool.refresh(tableKind::Person);
    return success;
}

bool PersonTable::keyUsable(const std::string& name) { return cascadeAllowed(connection(), name); }

int PersonTable::count(const std::string& name)
{
    if (!ok || (IsBOF() && IsEOF()) || !MoveFirst())
        return 0;
    int n = 0;
    while (!IsEOF()) {
        if (PersonRecord::keysEqual(Name, name))
            ++n;
        if (!MoveNext())
            break;
    }
    return n;
}

void PersonTable::fillCombo(dbui::ComboBox& combo, const std::string& column, const std::string& filter)
{
    fillComboRows(combo, column, filter);
}

bool PersonTable::addIfNew(const std::string& name, bool instructor)
{
    if (!ok || name.empty())
        return false;
    if (count(name) >= 1)
        return false;
    // Callers add many names in a row: a failure goes to the log, not a box each.
    const auto logFailure = [&name](const std::string& why) {
        LogStream::instance() << "Person '" + name + "' could not be added: " + why + "\n";
    };
    // Another station may add the name at the same moment: the look and the
    // insert hold the database's write lock together, so that the second
    // station sees the first one's row. Inside a caller's transaction the
    // lock is held already.
    Database& db = connection();
    const bool ownTransaction = !db.inTransaction();
    if (ownTransaction && !db.beginTransaction()) {
        logFailure(db.lastError().text);
        return false;
    }
    bool added = false;
    PersonTable now(db);
    if (!now.open(std::string())) {
        logFailure(now.lastError().text);
    } else if (now.count(name) == 0) {
        PersonRecord person;
        person.Name = name;
        person.Instructor = instructor ? TRUE : FALSE;
        added = AddNew();
        if (added) {
            setRecord(person);
            added = Update();
        }
        if (!added)
            logFailure(lastError().text);
    }
    if (!ownTransaction)
        return added;
    if (added && !db.commit()) {
        logFailure(db.lastError().text);
        db.rollback();
        // The row that was not committed must not stay among this table's rows.
        restart();
        return false;
    }
    if (!added)
        db.rollback();
    return added;
}

int PersonTable::countWhere(const std::string& column, const std::string& value)
{
    if (!ok)
        return 0;
    std::string remembered = m_strFilter;
    // The value is quoted: it may come from anywhere.
    m_strFilter = column + " = '" + DBUtil::quote(value) + "'";
    int n = 0;
    if (restart() && !(IsBOF() && IsEOF()) && MoveFirst()) {
        while (!IsEOF()) {
            ++n;
            if (!MoveNext())
                break;
        }
    }
    m_strFilter = remembered;
    // A failed read under the temporary filter closed the table.
    if (ok)
        restart();
    else
        reopen();
    return n;
}
