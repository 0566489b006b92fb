#pragma once
#include <cstdint>
#include <string>

// One resuscitation guideline: its name (the key) and the target values a
// performance is judged against. Members carry the names of the table's columns.
class Algorithm {
public:
    Algorithm();

    void setDefaults();
    std::string getName() const { return Name; }

    // Exact comparison of whole records: names byte for byte, every value equal.
    bool operator==(const Algorithm& other) const;
    bool operator!=(const Algorithm& other) const { return !(*this == other); }

    // Key rules: a key is complete when not empty; keys compare ignoring
    // letter case, for every letter of the code page.
    static bool isKeyComplete(const std::string& key) { return !key.empty(); }
    static bool keysEqual(const std::string& a, const std::string& b);

    std::wstring nameText() const;
    void setNameText(const std::wstring& name);
    // The key as an SQL condition: column = 'name', the name quoted; the
    // column is "name" when none is given.
    std::string keyCondition(const std::string& column = std::string()) const;

    std::string Name;
    double compDepthHigh;
    double compDepthLow;
    double compRelaxHigh;
    double compRelaxLow;
    double compRelaxRecc;
    double eccRateHigh;
    double eccRateLow;
    std::int32_t initVent;
    double ventCompRatioDoubleComp;
    double ventCompRatioDoubleVent;
    double ventCompRatioSingleComp;
    double ventCompRatioSingleVent;
    double vRateHigh;
    double vRateLow;
    double vVolHigh;
    double vVolLow;
    bool builtIn;
    std::int32_t pauseEccMax;
};
