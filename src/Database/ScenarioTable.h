#pragma once
// Scenarios: named presets of a session's length, algorithm, event
// registration and training mode.
#include "Database/DatabaseTable.h"

#include <cstdint>
#include <string>

class ScenarioRecord {
public:
    ScenarioRecord();
    void reset();
    std::string getKey() const { return Name; }
    void setName(const std::wstring& name);

    // Keys compare ignoring letter case; a key is complete when not empty.
    static bool keysEqual(const std::string& a, const std::string& b);
    static bool isKeyComplete(const std::string& key) { return !key.empty(); }

    std::wstring nameText() const;
    // column = 'name', the name quoted; "name" when no column is given.
    std::string keyCondition(const std::string& column = std::string()) const;

    std::string Name;
    // Seconds; -1 is no limit.
    std::int32_t Duration;
    std::string Algorithm;
    std::int32_t RegisterEvents;
    std::int32_t TrainingMode;
};

template <>
struct RecordKey<ScenarioRecord> {
    static std::string key(const ScenarioRecord& record) { return record.getKey(); }
    static bool isComplete(const std::string& key) { return ScenarioRecord::isKeyComplete(key); }
    static bool equal(const std::string& a, const std::string& b) { return ScenarioRecord::keysEqual(a, b); }
    static ScenarioRecord withKey(const std::string& key)
    {
        ScenarioRecord record;
        record.Name = key;
        return record;
    }
};

class ScenarioTable : public DatabaseTable<ScenarioRecord, std::string> {
public:
    explicit ScenarioTable(Database& db);

    bool open(const std::string& filter) override;
    std::string getField(const std::string& column) override;
    ScenarioRecord getRecord() override;
    void setRecord(const ScenarioRecord& record) override;
    // The new name in every session, event and course that names the
    // scenario; the Scenario row is the caller's.
    bool rename(const std::string& oldName, const std::string& newName) override;
    // With `cascade`, the scenario's sessions and events go too, and the
    // courses that propose it propose nothing any more.
    bool remove(const std::string& name, bool cascade) override;
    // Rows of that name, ignoring case.
    int count(const std::string& name) override;
    bool keyUsable(const std::string& name) override;
    void fillCombo(dbui::ComboBox& combo, const std::string& column, const std::string& filter) override;

    // The stored scenario of that name (ignoring case), searched from the
    // first row without re-opening; else the defaults with an empty name.
    ScenarioRecord findByName(const std::string& name);

    // Column members, in column order.
    std::string Algorithm;
    std::int32_t Duration = 600;
    std::string Name;
    std::int32_t RegisterEvents = 1;
    std::int32_t TrainingMode = 1;
};
