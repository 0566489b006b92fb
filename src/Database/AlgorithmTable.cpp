#include "Database/AlgorithmTable.h"

#include "Database/Database.h"

#include <algorithm>
#include <cctype>

const char* const AlgorithmTable::ahaName = "AHA 2005 (American Heart Association)";
const char* const AlgorithmTable::ercName = "ERC 2005 (European Resuscitation Council)";

AlgorithmTable::AlgorithmTable(Database& db)
    : DatabaseTable(db)
{
    bindDouble("compDepthHigh", compDepthHigh);
    bindDouble("compDepthLow", compDepthLow);
    bindDouble("compRelaxHigh", compRelaxHigh);
    bindDouble("compRelaxLow", compRelaxLow);
    bindDouble("compRelaxRecc", compRelaxRecc);
    bindDouble("eccRateHigh", eccRateHigh);
    bindDouble("eccRateLow", eccRateLow);
    bindLong("initVent", initVent);
    bindText("Name", Name);
    bindDouble("ventCompRatioDoubleComp", ventCompRatioDoubleComp);
    bindDouble("ventCompRatioDoubleVent", ventCompRatioDoubleVent);
    bindDouble("ventCompRatioSingleComp", ventCompRatioSingleComp);
    bindDouble("ventCompRatioSingleVent", ventCompRatioSingleVent);
    bindDouble("vRateHigh", vRateHigh);
    bindDouble("vRateLow", vRateLow);
    bindDouble("vVolHigh", vVolHigh);
    bindDouble("vVolLow", vVolLow);
    bindBool("builtIn", builtIn);
    bindLong("pauseEccMax", pauseEccMax);
}

bool AlgorithmTable::open(const std::string& filter)
{
    if (!openAs(filter, tableKind::Algorithm))
        return false;
    removeObsoleteBuiltIns();
    return true;
}

std::string AlgorithmTable::getField(const std::string& column)
{
    std::string lower = column;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "name")
        return Name;
    LOG_ASSERT(false);
    return std::string();
}

Algorithm AlgorithmTable::getRecord()
{
    Algorithm a;
    a.Name = Name;
    a.compDepthHigh = compDepthHigh;
    a.compDepthLow = compDepthLow;
    a.compRelaxHigh = compRelaxHigh;
    a.compRelaxLow = compRelaxLow;
    a.compRelaxRecc = compRelaxRecc;
    a.eccRateHigh = eccRateHigh;
    a.eccRateLow = eccRateLow;
    a.initVent = initVent;
    a.ventCompRatioDoubleComp = ventCompRatioDoubleComp;
    a.ventCompRatioDoubleVent = ventCompRatioDoubleVent;
    a.ventCompRatioSingleComp = ventCompRatioSingleComp;
    a.ventCompRatioSingleVent = ventCompRatioSingleVent;
    a.vRateHigh = vRateHigh;
    a.vRateLow = vRateLow;
    a.vVolHigh = vVolHigh;
    a.vVolLow = vVolLow;
    a.builtIn = builtIn != 0;
    a.pauseEccMax = pauseEccMax;
    return a;
}

void AlgorithmTable::setRecord(const Algorithm& a)
{
    compDepthHigh = a.compDepthHigh;
    compDepthLow = a.compDepthLow;
    compRelaxHigh = a.compRelaxHigh;
    compRelaxLow = a.compRelaxLow;
    compRelaxRecc = a.compRelaxRecc;
    eccRateHigh = a.eccRateHigh;
    eccRateLow = a.eccRateLow;
    initVent = a.initVent;
    Name = a.Name;
    ventCompRatioDoubleComp = a.ventCompRatioDoubleComp;
    ventCompRatioDoubleVent = a.ventCompRatioDoubleVent;
    ventCompRatioSingleComp = a.ventCompRatioSingleComp;
    ventCompRatioSingleVent = a.ventCompRatioSingleVent;
    vRateHigh = a.vRateHigh;
    vRateLow = a.vRateLow;
    vVolHigh = a.vVolHigh;
    vVolLow = a.vVolLow;
    builtIn = a.builtIn ? 1 : 0;
    pauseEccMax = a.pauseEccMax;
}

bool AlgorithmTable::rename(const std::string& oldName, const std::string& newName)
{
    bool sessions = DBUtil::update(connection(), "Session", "Algorithm", oldName, newName);
    tablePool.refresh(tableKind::Session);
    bool scenarios = DBUtil::update(connection(), "Scenario", "Algorithm", oldName, newName);
    tablePool.refresh(tableKind::Scenario);
    return sessions && scenarios;
}

bool AlgorithmTable::remove(const std::string& name, bool cascade)
{
    if (!ok)
        return false;
    bool success = true;
    if (cascade) {
        success = DBUtil::remove(connection(), "Session", "Algorithm", name) && success;
        tablePool.refresh(tableKind::Session);
        success = DBUtil::remove(connection(), "Scenario", "Algorithm", name) && success;
        tablePool.refresh(tableKind::Scenario);
    }
    success = DBUtil::remove(connection(), "Algorithm", "Name", name) && success;
    tablePool.refresh(tableKind::Algorithm);
    return success;
}

int AlgorithmTable::count(const std::string& name)
{
    if (!ok || (IsBOF() && IsEOF()))
        return 0;
    int n = 0;
    if (!MoveFirst())
        return 0;
    while (!IsEOF()) {
        if (Algorithm::keysEqual(Name, name))
            ++n;
        if (!MoveNext())
            break;
    }
    return n;
}

void AlgorithmTable::fillCombo(dbui::ComboBox& combo, const std::string& column, const std::string& filter)
{
    fillComboRows(combo, column, filter);
}

Algorithm AlgorithmTable::findByName(const std::string& name)
{
    Algorithm result;
    result.Name = name;
    if (!ok)
        return result;
    DBUtil::moveFirst(*this);
    while (IsOpen() && !IsEOF()) {
        if (Algorithm::keysEqual(Name, name))
            return getRecord();
        DBUtil::moveNext(*this);
    }
    return result;
}

void AlgorithmTable::removeObsoleteBuiltIns()
{
    if (!IsOpen() || (IsBOF() && IsEOF()) || !MoveFirst())
        return;
    while (!IsEOF()) {
        if (builtIn && Name != ahaName && Name != ercName && !Delete())
            return;
        if (!MoveNext())
            return;
    }
}
