#pragma once
// Courses: one instructor's training event at a date and a start time. The
// course's sessions are the Session rows that carry its key.
#include "Database/DatabaseTable.h"

#include <string>
#include <vector>

// A course's key, instructor, date (YYYY-MM-DD) and time (HH:MM); it also
// carries the three column names that an SQL condition is written with.
class CourseKey {
public:
    CourseKey() = default;
    CourseKey(std::string instructor, std::string date, std::string time);

    // None of the three parts is empty, and the date and time have no
    // position left blank (an untouched masked field is no date or time).
    // The one rule for storing a course and for opening its schedule.
    bool isComplete() const;
    // Instructors equal ignoring case, dates and times exactly.
    bool operator==(const CourseKey& other) const;
    bool operator!=(const CourseKey& other) const { return !(*this == other); }

    // instructor + " on " + date + " at " + time, the separators translated.
    std::wstring displayText() const;
    // Takes the parts back from a display text, counting from its end (a
    // date of 10 and a time of 5 characters); a shorter text changes nothing.
    void fromDisplayText(const std::wstring& text);

    // columns.instructor = 'instructor' joiner columns.date = 'date' joiner
    // columns.time = 'time', the values quoted; the Course table's own
    // column names when the columns' instructor is empty.
    std::string sqlCondition(const CourseKey& columns, const std::string& joiner) const;
    // The key's parts under the columns' names (the Course table's own when
    // the columns' instructor is empty), the instructor compared ignoring
    // case, for the statements of DBUtil over many rows.
    std::vector<DBUtil::KeyPart> parts(const CourseKey& columns) const;

    // False when the instructor's name is stored with letters this
    // station's code page cannot show (then `storedInstructor` holds it).
    // Such a key loads its schedule exactly, but a course or schedule must
    // not be stored under it: what this station would write is its reading
    // ("??"), not the name. Refuse with DBUtil::unshownNameMessage().
    bool instructorShown() const { return storedInstructor.empty(); }

    std::string instructor;
    std::string date;
    std::string time;
    // The instructor as stored (UTF-8) when `instructor` is only this
    // station's reading of it; empty otherwise.
    std::string storedInstructor;
};

class CourseRecord {
public:
    // Today's date and the current time; the rest empty.
    CourseRecord();
    void reset();
    // With the instructor as stored while `Instructor` still reads as it.
    CourseKey getKey() const;

    std::string Instructor;
    std::string Date;
    std::string Time;
    std::string DefaultScenario;
    std::string Note;
    // The instructor as stored (UTF-8), when this station's code page cannot
    // show it; set by CourseTable::getRecord, empty otherwise.
    std::string storedInstructor;
};

template <>
struct RecordKey<CourseRecord> {
    static CourseKey key(const CourseRecord& record) { return record.getKey(); }
    static bool isComplete(const CourseKey& key) { return key.isComplete(); }
    static bool equal(const CourseKey& a, const CourseKey& b) { return a == b; }
    static CourseRecord withKey(const CourseKey& key)
    {
        CourseRecord record;
        record.Instructor = key.instructor;
        record.Date = key.date;
        record.Time = key.time;
        return record;
    }
};

// Whether the stored course `stored` may be saved as `edited`. A new date or
// time writes the course as a new row, whole: an instructor this station
// cannot show would be written as it reads here ("??") while the sessions
// move under the name. False then (refuse with DBUtil::refuseUnshownName);
// an edit that keeps the key writes only what changed, and a new instructor
// name is the user's own.
bool keyChangeStorable(const CourseRecord& stored, const CourseRecord& edited);

class CourseTable : public DatabaseTable<CourseRecord, CourseKey> {
public:
    explicit CourseTable(Database& db);

    bool open(const std::string& filter) override;
    std::string getField(const std::string& column) override;
    CourseRecord getRecord() override;
    void setRecord(const CourseRecord& record) override;
    // The course's sessions follow the new key; the Course row is the caller's.
    bool rename(const CourseKey& oldKey, const CourseKey& newKey) override;
    // The course's sessions too when `cascade`; their data files stay.
    bool remove(const CourseKey& key, bool cascade) override;
    int count(const CourseKey& key) override;
    bool keyUsable(const CourseKey& key) override;
    void fillCombo(dbui::ComboBox& combo, const std::string& column, const std::string& filter) override;

    // The display text of every row under the current filter and sort.
    void fillCourseCombo(dbui::ComboBox& combo);

    // The Session columns that hold a course's key.
    static const CourseKey sessionColumns;

    // Column members, in column order.
    std::string Date;
    std::string DefaultScenario;
    std::string Instructor;
    std::string Note;
    std::string Time;
};
