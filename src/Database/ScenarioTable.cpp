#include "Database/ScenarioTable.h"
#include "Utillib/GString.h"

#include "Database/Database.h"
#include "Database/DbText.h"
#include "config/TrainingMode.h"

#include <algorithm>
#include <cctype>

ScenarioRecord::ScenarioRecord() { reset(); }

void ScenarioRecord::reset()
{
    Name.clear();
    Duration = 600;
    Algorithm.clear();
    RegisterEvents = 1;
    TrainingMode = TWO_PERSON;
}

void ScenarioRecord::setName(const std::wstring& name) { Name = GString::to_string(name); }

bool ScenarioRecord::keysEqual(const std::string& a, const std::string& b) { return dbtext::equalNoCase(a, b); }

std::wstring ScenarioRecord::nameText() const { return GString::to_wstring(Name); }

std::string ScenarioRecord::keyCondition(const std::string& column) const
{
    return (column.empty() ? std::string("name") : column) + " = '" + DBUtil::quote(Name) + "'";
}

ScenarioTable::ScenarioTable(Database& db)
    : DatabaseTable(db)
{
    bindText("Algorithm", Algorithm);
    bindLong("Duration", Duration);
    bindText("Name", Name);
    bindBool("RegisterEvents", RegisterEvents);
    bindLong("TrainingMode", TrainingMode);
}

bool ScenarioTable::open(const std::string& filter) { return openAs(filter, tableKind::Scenario); }

std::string ScenarioTable::getField(const std::string& column)
{
    std::string lower = column;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "name")
        return Name;
    if (lower == "algorithm")
        return Algorithm;
    LOG_ASSERT(false);
    return std::string();
}

ScenarioRecord ScenarioTable::getRecord()
{
    ScenarioRecord r;
    r.Name = Name;
    r.Duration = Duration;
    r.Algorithm = Algorithm;
    r.RegisterEvents = RegisterEvents;
    r.TrainingMode = TrainingMode;
    return r;
}

void ScenarioTable::setRecord(const ScenarioRecord& r)
{
    Name = r.Name;
    Duration = r.Duration;
    Algorithm = r.Algorithm;
    RegisterEvents = r.RegisterEvents;
    TrainingMode = r.TrainingMode;
}

namespace {

// A name that reads here like another scenario's cannot tell their rows
// apart: the cascade is refused before it writes anything.
bool cascadeAllowed(Database& db, const std::string& name)
{
    return DBUtil::cascadeAllowed(
        db, {{"Scenario", "Name"}, {"Session", "Scenario"}, {"Events", "Scenario"}, {"Course", "DefaultScenario"}}, name);
}

} // namespace

bool ScenarioTable::rename(const std::string& oldName, const std::string& newName)
{
    if (!cascadeAllowed(connection(), oldName))
        return false;
    bool success = DBUtil::update(connection(), "Session", "Scenario", oldName, newName);
    tablePool.refresh(tableKind::Session);
    success = DBUtil::update(connection(), "Events", "Scenario", oldName, newName) && success;
    tablePool.refresh(tableKind::Events);
    success = DBUtil::update(connection(), "Course", "DefaultScenario", oldName, newName) && success;
    tablePool.refresh(tableKind::Course);
    return success;
}

bool ScenarioTable::remove(const std::string& name, bool cascade)
{
    if (!cascadeAllowed(connection(), name))
        return false;
    bool success = true;
    if (cascade) {
        success = DBUtil::remove(connection(), "Session", "Scenario", name);
        tablePool.refresh(tableKind::Session);
        success = DBUtil::remove(connection(), "Events", "Scenario", name) && success;
        tablePool.refresh(tableKind::Events);
        // A course that proposed the scenario keeps its other sessions and
        // merely proposes none now.
        success = DBUtil::update(connection(), "Course", "DefaultScenario", name, "") && success;
        tablePool.refresh(tableKind::Course);
    }
    success = DBUtil::remove(connection(), "Scenario", "Name", name) && success;
    tablePool.refresh(tableKind::Scenario);
    return success;
}

bool ScenarioTable::keyUsable(const std::string& name) { return cascadeAllowed(connection(), name); }

int ScenarioTable::count(const std::string& name)
{
    if (!ok || (IsBOF() && IsEOF()) || !MoveFirst())
        return 0;
    int n = 0;
    while (!IsEOF()) {
        if (ScenarioRecord::keysEqual(Name, name))
            ++n;
        if (!MoveNext())
            break;
    }
    return n;
}

void ScenarioTable::fillCombo(dbui::ComboBox& combo, const std::string& column, const std::string& filter)
{
    fillComboRows(combo, column, filter);
}

ScenarioRecord ScenarioTable::findByName(const std::string& name)
{
    ScenarioRecord result;
    if (!ok)
        return result;
    DBUtil::moveFirst(*this);
    while (IsOpen() && !IsEOF()) {
        if (ScenarioRecord::keysEqual(Name, name))
            return getRecord();
        DBUtil::moveNext(*this);
    }
    return result;
}
