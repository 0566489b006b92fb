#pragma once
// Persons: trainees, instructors and whoever approves a session, known
// everywhere by their name.
#include "Database/DatabaseTable.h"

#include <cstdint>
#include <string>

class PersonRecord {
public:
    PersonRecord();
    void reset();
    std::string getKey() const { return Name; }

    // Keys compare ignoring letter case; a key is complete when not empty.
    static bool keysEqual(const std::string& a, const std::string& b);
    static bool isKeyComplete(const std::string& key) { return !key.empty(); }

    std::wstring nameText() const;
    void setNameText(const std::wstring& name);
    // column = 'name', the name quoted; "name" when no column is given.
    std::string keyCondition(const std::string& column = std::string()) const;

    std::string Name;
    std::string Address;
    std::string CPRCourses;
    std::string Degree;
    std::int32_t Instructor;
    std::string Note;
    std::string Phone;
    std::string Resuscitations;
};

template <>
struct RecordKey<PersonRecord> {
    static std::string key(const PersonRecord& record) { return record.getKey(); }
    static bool isComplete(const std::string& key) { return PersonRecord::isKeyComplete(key); }
    static bool equal(const std::string& a, const std::string& b) { return PersonRecord::keysEqual(a, b); }
    static PersonRecord withKey(const std::string& key)
    {
        PersonRecord record;
        record.Name = key;
        return record;
    }
};

class PersonTable : public DatabaseTable<PersonRecord, std::string> {
public:
    explicit PersonTable(Database& db);

    bool open(const std::string& filter) override;
    std::string getField(const std::string& column) override;
    PersonRecord getRecord() override;
    void setRecord(const PersonRecord& record) override;
    // The new name in every session and course that names the person; the
    // Person row is the caller's.
    bool rename(const std::string& oldName, const std::string& newName) override;
    // With `cascade`, every session and course of the person too.
    bool remove(const std::string& name, bool cascade) override;
    // Rows of that name, ignoring case.
    int count(const std::string& name) override;
    bool keyUsable(const std::string& name) override;
    void fillCombo(dbui::ComboBox& combo, const std::string& column, const std::string& filter) override;

    // Adds a person of that name unless one exists (ignoring case), as the
    // table is at the moment of the insert: the look and the insert are one
    // transaction under the database's write lock (or the caller's open
    // transaction), so two stations adding one name at once store it once.
    // True when a row was added. A failure (also a lock that was not given
    // in time) is logged and gives false.
    bool addIfNew(const std::string& name, bool instructor);
    // Rows whose column holds the value, under a temporary filter.
    int countWhere(const std::string& column, const std::string& value);

    // Column members, in column order.
    std::string Address;
    std::string Degree;
    std::int32_t Instructor = 0;
    std::string Name;
    std::string Note;
    std::string Phone;
    std::string CPRCourses;
    std::string Resuscitations;
};
