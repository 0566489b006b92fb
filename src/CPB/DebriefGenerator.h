#pragma once
// One of the CPR Controller's debriefing screens: text lines of 32 columns in
// the unit's character set, event-icon pictures, the bar rows of the screen's
// algorithm, and field codes where the unit puts a session's results. The
// texts come from the catalogue of the screen's language.
#include "CPB/CPBComm.h"
#include "config/PropertyModel.h"
#include "gettext/Translator.h"

#include <string>

class BarGenerator;

class DebriefGenerator {
public:
    static constexpr int COLUMNS = 32;
    // The room of one screen in the unit's memory.
    static constexpr std::size_t SLOT_SIZE = 0x800;
    static constexpr std::uint8_t LINE_END = 13;
    static constexpr std::uint8_t FILL = 95;
    static constexpr std::uint8_t FIELD = 3;

    // A screen in unit language `languageIndex` (an index of the language
    // table; an unknown one gives the untranslated texts).
    DebriefGenerator(const PropertyModel& model, int languageIndex, const BarGenerator* bars,
                     const std::string& algorithmName);
    // A screen in the language of a catalogue code.
    DebriefGenerator(const PropertyModel& model, const std::string& languageCode, const BarGenerator* bars,
                     const std::string& algorithmName);

    const ByteVector& getData() const { return data; }
    // Whether the screen fits its place in the unit's memory; one that does
    // not is refused, never written into the next screen's place.
    bool fitsSlot() const { return data.size() <= SLOT_SIZE; }

    // The label texts by index 0 to 22; another index logs and gives "".
    static const char* langArray(int index);

private:
    void build();
    void buildLegends();
    void buildHeader();
    void buildResults();
    void buildFooter();

    // Appends the text in the unit's character set; returns its width in columns.
    int appendText(const std::wstring& text);
    void appendLabelWithFill(const std::wstring& label);
    void lineEnds(int n);
    void appendField(char letter);
    void appendValueField(char letter, int width, const std::string& unit);
    void appendBarRow(int q);
    void appendIcon(int iconNumber);
    std::wstring T(int index) const;

    PropertyModel model;
    Translator translator;
    const BarGenerator* bars;
    std::string algorithmName;
    ByteVector data;
};
