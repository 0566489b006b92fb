#pragma once
#include <cstdint>
#include <string>
#include <vector>

class BinaryReader;
class BinaryWriter;

// Trailer of the stored settings; only a read that reaches the end of the
// stored image yields it.
inline constexpr std::int32_t PROPERTY_MODEL_MAGIC = 0x1234;

// The CPR Controller's icon slots, each showing one event icon (0 to 96).
inline constexpr int NUMBER_OF_ICONS = 6;

// Every user setting of the program as one plain value. The members are in
// the order of the stored image; readers elsewhere use these names.
class PropertyModel {
public:
    static constexpr int iconCount = NUMBER_OF_ICONS;
    static constexpr int languageCount = 3;

    PropertyModel();

    // The stored image: the version (1 when written), the settings in member
    // order, then `magic`. Version 0 lacks the CPR Controller setup, which
    // then takes its defaults. An unknown version raises BinaryTextError
    // before anything else is read; running out of bytes raises
    // mem_buffer::buffer_overflow_error.
    void write(BinaryWriter& writer) const;
    void read(BinaryReader& reader);

    // Compares every setting; `magic` is not a setting and is left out.
    bool operator==(const PropertyModel& other) const;
    bool operator!=(const PropertyModel& other) const { return !(*this == other); }

    std::wstring getPrintHeading() const { return printHeading; }
    std::string getAlgorithm1Name() const { return algorithm1Name; }
    std::string getAlgorithm2Name() const { return algorithm2Name; }
    void setAlgorithm1Name(const std::string& name) { algorithm1Name = name; }
    void setAlgorithm2Name(const std::string& name) { algorithm2Name = name; }

    // Positions 0 to 5. A bad index is logged and then raises std::out_of_range.
    // The event icon number of the CPR Controller's icon slot.
    int getIconNumber(int i) const;
    void setIconNumber(int i, int icon);
    std::string getLegend(int i) const;
    void setLegend(int i, const std::string& text);

    // Positions 0 to 2. A bad index is logged; reading it gives an empty
    // code and writing it changes nothing.
    std::string getLanguage(int i) const;
    void setLanguage(int i, const std::string& code);

    // General
    bool endSound;
    double metronomeFrequency;
    // Debriefing
    bool debriefingAsCounts;
    bool showCardiacOutput;
    bool showMinuteVolume;
    bool showAverageVolume;
    bool showInitialVentilations;
    bool showVentilationRate;
    bool showStomachInflations;
    double minuteVolumeLow;
    double minuteVolumeHigh;
    bool showVentCompRatio;
    bool showComments;
    double cardiacOutputPerCompression;
    double cardiacOutputPerWrongHand;
    double cardiacOutputLow;
    double cardiacOutputHigh;
    bool showCompressionRate;
    bool showCompressionDepth;
    bool showCompRelaxRatio;
    bool showPause;
    std::int32_t maxPause;
    bool showWrongHandPositions;
    bool showLeanings;
    bool compRelaxAsPercent;
    bool overrideDepth;
    double depthLow;
    double depthHigh;
    // Printing; the heading's lines are separated by CR LF.
    std::wstring printHeading;
    bool printGraph;
    std::int32_t graphPrintMinutes;
    bool printDebriefingText;
    bool printApprovalFields;
    bool printEventList;
    // Setup of a stand-alone CPR Controller. Narrow texts are in the ANSI code page.
    std::string algorithm1Name;
    std::string algorithm2Name;
    std::vector<std::int32_t> icons;      // always 6 event icon numbers, 0 to 96
    std::vector<std::string> languages;   // always 3 language codes
    std::vector<std::string> legends;     // always 6 legend texts
    bool registerEvents;
    bool enableLegends;

    std::int32_t magic;
};
