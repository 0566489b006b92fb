#pragma once
// The Algorithm table: one row per resuscitation guideline.
#include "Database/Algorithm.h"
#include "Database/DatabaseTable.h"

#include <cstdint>
#include <string>

template <>
struct RecordKey<Algorithm> {
    static std::string key(const Algorithm& record) { return record.getName(); }
    static bool isComplete(const std::string& key) { return Algorithm::isKeyComplete(key); }
    static bool equal(const std::string& a, const std::string& b) { return Algorithm::keysEqual(a, b); }
    static Algorithm withKey(const std::string& key)
    {
        Algorithm record;
        record.Name = key;
        return record;
    }
};

class AlgorithmTable : public DatabaseTable<Algorithm, std::string> {
public:
    // The built-in guidelines that opening a table keeps; other built-in rows are outdated.
    static const char* const ahaName;
    static const char* const ercName;

    explicit AlgorithmTable(Database& db);

    // Also removes outdated built-in rows after a successful open.
    bool open(const std::string& filter) override;
    std::string getField(const std::string& column) override;
    Algorithm getRecord() override;
    void setRecord(const Algorithm& record) override;
    bool rename(const std::string& oldName, const std::string& newName) override;
    bool remove(const std::string& name, bool cascade) override;
    int count(const std::string& name) override;
    void fillCombo(dbui::ComboBox& combo, const std::string& column, const std::string& filter) override;

    // The stored guideline of that name (ignoring case), searched from the
    // first row without re-opening; else the defaults under that name.
    Algorithm findByName(const std::string& name);
    void removeObsoleteBuiltIns();

    // Column members, in column order.
    double compDepthHigh = 50;
    double compDepthLow = 40;
    double compRelaxHigh = 60;
    double compRelaxLow = 40;
    double compRelaxRecc = 50;
    double eccRateHigh = 110;
    double eccRateLow = 90;
    std::int32_t initVent = 2;
    std::string Name;
    double ventCompRatioDoubleComp = 5;
    double ventCompRatioDoubleVent = 1;
    double ventCompRatioSingleComp = 15;
    double ventCompRatioSingleVent = 2;
    double vRateHigh = 9;
    double vRateLow = 6;
    double vVolHigh = 0.6;
    double vVolLow = 0.4;
    std::int32_t builtIn = 0;
    std::int32_t pauseEccMax = 0;
};
