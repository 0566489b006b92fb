#include "Database/CourseTable.h"
#include "Utillib/GString.h"
#include "gettext/Translator.h"

#include "Database/Database.h"
#include "Database/DbText.h"
#include "Database/OdbcUtil.h"
#include "Database/SessionRecord.h"

#include <algorithm>
#include <cctype>

const CourseKey CourseTable::sessionColumns("CourseInstructor", "CourseDate", "CourseTime");

namespace {

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

const CourseKey courseColumns("Instructor", "Date", "Time");

} // namespace

CourseKey::CourseKey(std::string instructor_, std::string date_, std::string time_)
    : instructor(std::move(instructor_)), date(std::move(date_)), time(std::move(time_))
{
}

bool CourseKey::isComplete() const
{
    return !instructor.empty() && !date.empty() && !time.empty() && date.find(' ') == std::string::npos
        && time.find(' ') == std::string::npos;
}

bool CourseKey::operator==(const CourseKey& o) const
{
    return dbtext::equalNoCase(instructor, o.instructor) && date == o.date && time == o.time;
}

std::wstring CourseKey::displayText() const
{
    return GString::to_wstring(instructor) + translate(" on ") + GString::to_wstring(date) + translate(" at ")
        + GString::to_wstring(time);
}

void CourseKey::fromDisplayText(const std::wstring& text)
{
    std::size_t length = text.size();
    std::size_t a = translate(" on ").size();
    std::size_t b = translate(" at ").size();
    if (length < a + b + 15)
        return;
    instructor = GString::to_string(text.substr(0, length - a - b - 15));
    date = GString::to_string(text.substr(length - b - 15, 10));
    time = GString::to_string(text.substr(length - 5));
}

std::string CourseKey::sqlCondition(const CourseKey& c, const std::string& j) const
{
    const CourseKey& names = c.instructor.empty() ? courseColumns : c;
    return names.instructor + " = '" + DBUtil::quote(instructor) + "' " + j + " " + names.date + " = '" + DBUtil::quote(date)
        + "' " + j + " " + names.time + " = '" + DBUtil::quote(time) + "'";
}

std::vector<DBUtil::KeyPart> CourseKey::parts(const CourseKey& c) const
{
    const CourseKey& names = c.instructor.empty() ? courseColumns : c;
    return {DBUtil::KeyPart{names.instructor, instructor, true, storedInstructor},
            DBUtil::KeyPart{names.date, date, false, std::string()}, DBUtil::KeyPart{names.time, time, false, std::string()}};
}

CourseKey CourseRecord::getKey() const
{
    CourseKey key(Instructor, Date, Time);
    // A name typed over the stored one is what was typed.
    if (!storedInstructor.empty() && dbtext::fromUtf8(storedInstructor) == Instructor)
        key.storedInstructor = storedInstructor;
    return key;
}

CourseRecord::CourseRecord() { reset(); }

void CourseRecord::reset()
{
    Instructor.clear();
    Date = todayText();
    Time = nowTimeText();
    DefaultScenario.clear();
    Note.clear();
}

CourseTable::CourseTable(Database& db)
    : DatabaseTable(db)
{
    bindText("Date", Date);
    bindText("DefaultScenario", DefaultScenario);
    bindText("Instructor", Instructor);
    bindText("Note", Note);
    bindText("Time", Time);
}

bool CourseTable::open(const std::string& filter) { return openAs(filter, tableKind::Course); }

std::string CourseTable::getField(const std::string& column)
{
    std::string lower = lowerCase(column);
    if (lower == "instructor")
        return Instructor;
    if (lower == "date")
        return Date;
    if (lower == "time")
        return Time;
    LOG_ASSERT(false);
    return std::string();
}

CourseRecord CourseTable::getRecord()
{
    CourseRecord r;
    r.Instructor = Instructor;
    r.Date = Date;
    r.Time = Time;
    r.DefaultScenario = DefaultScenario;
    r.Note = Note;
    // Only a name with the default character can have lost letters.
    if (Instructor.find(GString::default_char()) != std::string::npos) {
        std::vector<std::vector<std::string>> rows;
        DbError error;
        if (odbc::selectTexts(connection(), "SELECT Instructor FROM Course WHERE id = " + std::to_string(GetRowId()), rows,
                              error)
            && rows.size() == 1 && !dbtext::survivesCodePage(rows[0][0]))
            r.storedInstructor = rows[0][0];
    }
    return r;
}

void CourseTable::setRecord(const CourseRecord& r)
{
    Date = r.Date;
    DefaultScenario = r.DefaultScenario;
    Instructor = r.Instructor;
    Note = r.Note;
    Time = r.Time;
}

namespace {

// A key whose instructor reads here like another's, without the stored
// name, cannot tell their rows apart: refused before anything is written.
bool cascadeAllowed(Database& db, const CourseKey& key)
{
    return !key.instructorShown()
        || DBUtil::cascadeAllowed(db, {{"Session", "CourseInstructor"}, {"Course", "Instructor"}}, key.instructor);
}

} // namespace

bool CourseTable::rename(const CourseKey& oldKey, const CourseKey& newKey)
{
    if (!cascadeAllowed(connection(), oldKey))
        return false;
    // An instructor left as it was is written as stored, never as read here.
    CourseKey target = newKey;
    if (target.storedInstructor.empty() && target.instructor == oldKey.instructor)
        target.storedInstructor = oldKey.storedInstructor;
    bool success = DBUtil::updateWhere(connection(), "Session", oldKey, target, sessionColumns);
    tablePool.refresh(tableKind::Session);
    return success;
}

bool CourseTable::remove(const CourseKey& key, bool cascade)
{
    if (!cascadeAllowed(connection(), key))
        return false;
    bool success = true;
    if (cascade) {
        success = DBUtil::removeWhere(connection(), "Session", key, sessionColumns);
        tablePool.refresh(tableKind::Session);
    }
    success = DBUtil::removeWhere(connection(), "Course", key, courseColumns) && success;
    tablePool.refresh(tableKind::Course);
    return success;
}

bool CourseTable::keyUsable(const CourseKey& key) { return cascadeAllowed(connection(), key); }

int CourseTable::count(const CourseKey& key)
{
    if (!ok || (IsBOF() && IsEOF()) || !MoveFirst())
        return 0;
    int n = 0;
    while (!IsEOF()) {
        if (CourseKey(Instructor, Date, Time) == key)
            ++n;
        if (!MoveNext())
            break;
    }
    return n;
}

void CourseTable::fillCombo(dbui::ComboBox& combo, const std::string& column, const std::string& filter)
{
    fillComboRows(combo, column, filter);
}

void CourseTable::fillCourseCombo(dbui::ComboBox& combo)
{
    std::string text = combo.getText();
    combo.resetContent();
    if (IsOpen() && !(IsBOF() && IsEOF()) && MoveFirst()) {
        while (!IsEOF()) {
            combo.addString(GString::to_string(CourseKey(Instructor, Date, Time).displayText()));
            if (!MoveNext())
                break;
        }
    }
    combo.selectString(text);
}

bool keyChangeStorable(const CourseRecord& stored, const CourseRecord& edited)
{
    const CourseKey before = stored.getKey();
    if (before.instructorShown() || edited.Instructor != stored.Instructor)
        return true;
    return edited.Date == stored.Date && edited.Time == stored.Time;
}
