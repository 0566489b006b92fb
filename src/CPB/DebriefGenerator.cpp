#include "CPB/DebriefGenerator.h"

#include "CPB/BarGenerator.h"
#include "CPB/EventIconImages.h"
#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "config/LangStruct.h"
#include "platform/CodePage.h"
#include "platform/OemText.h"

#include <algorithm>

namespace {

const char* const labels[] = {
    "Training Results",  "Date",         "Ventilation",       "Compression",
    "Algorithm",         "Initial ventilations", "Ventilation rate", "Ventilation volume",
    "Stomach inflation", "ECC Rate",     "Compression depth", "Wrong hand position",
    "Total",             "Comments:",    "Approved",          "Yes",
    "No",                "Instructor: ", "/min",              "L",
    "mm",                "%",            "Metronome: ",
};
constexpr int labelCount = static_cast<int>(sizeof labels / sizeof labels[0]);

enum Label {
    TRAINING_RESULTS = 0, DATE, VENTILATION, COMPRESSION, ALGORITHM, INITIAL_VENTILATIONS, VENTILATION_RATE,
    VENTILATION_VOLUME, STOMACH_INFLATION, ECC_RATE, COMPRESSION_DEPTH, WRONG_HAND_POSITION, TOTAL, COMMENTS,
    APPROVED, YES, NO, INSTRUCTOR, PER_MINUTE, LITRES, MILLIMETRES, PERCENT, METRONOME
};

const wchar_t* const defaultHeading = L"Tavo International A/S";

} // namespace

const char* DebriefGenerator::langArray(int index)
{
    if (index < 0 || index >= labelCount) {
        LOG_ASSERT(false);
        return "";
    }
    return labels[index];
}

DebriefGenerator::DebriefGenerator(const PropertyModel& m, int languageIndex, const BarGenerator* b,
                                   const std::string& name)
    : DebriefGenerator(m, LangStruct::codeAt(languageIndex), b, name)
{
}

DebriefGenerator::DebriefGenerator(const PropertyModel& m, const std::string& languageCode, const BarGenerator* b,
                                   const std::string& name)
    : model(m)
    , bars(b)
    , algorithmName(name)
{
    translator.open(languageCode);
    build();
}

std::wstring DebriefGenerator::T(int index) const { return translator.lookup(langArray(index), platform::CP_ACP); }

void DebriefGenerator::build()
{
    if (model.enableLegends)
        buildLegends();
    buildHeader();
    buildResults();
    if (model.printApprovalFields)
        buildFooter();
    appendField('V');
}

int DebriefGenerator::appendText(const std::wstring& text)
{
    std::wstring kept;
    std::remove_copy(text.begin(), text.end(), std::back_inserter(kept), L'\n');
    std::string oem = platform::charToOem(GString::to_string(kept, platform::CP_ACP));
    data.insert(data.end(), oem.begin(), oem.end());
    return static_cast<int>(oem.size());
}

void DebriefGenerator::appendLabelWithFill(const std::wstring& label)
{
    int width = appendText(label);
    if (width < COLUMNS)
        data.insert(data.end(), static_cast<std::size_t>(COLUMNS - width), FILL);
}

void DebriefGenerator::lineEnds(int n) { data.insert(data.end(), static_cast<std::size_t>(n), LINE_END); }

void DebriefGenerator::appendField(char letter)
{
    data.push_back(FIELD);
    data.push_back(static_cast<std::uint8_t>(letter));
}

void DebriefGenerator::appendValueField(char letter, int width, const std::string& unit)
{
    int spaces = (COLUMNS - static_cast<int>(unit.size()) - width) / 2;
    data.insert(data.end(), static_cast<std::size_t>(std::max(spaces, 0)), ' ');
    appendField(letter);
    data.insert(data.end(), unit.begin(), unit.end());
}

void DebriefGenerator::appendBarRow(int q)
{
    if (!bars)
        return;
    const ByteVector& row = bars->row(q);
    data.insert(data.end(), row.begin(), row.end());
}

void DebriefGenerator::appendIcon(int iconNumber)
{
    static const std::uint8_t command[] = { 27, 42, 32, 24, 0 };
    data.insert(data.end(), std::begin(command), std::end(command));
    ByteVector picture = IconRendering::bitImage(IconRendering::render24(EventIconImages::installed(), iconNumber));
    data.insert(data.end(), picture.begin(), picture.end());
}

void DebriefGenerator::buildLegends()
{
    lineEnds(1);
    for (int slot = 0; slot < PropertyModel::iconCount; ++slot) {
        appendIcon(model.getIconNumber(slot));
        appendText(L" ");
        appendText(GString::to_wstring(model.getLegend(slot), platform::CP_ACP));
        lineEnds(2);
    }
}

void DebriefGenerator::buildHeader()
{
    lineEnds(1);
    std::wstring heading = model.getPrintHeading();
    appendText(heading.empty() ? std::wstring(defaultHeading) : heading);
    lineEnds(2);
    appendText(T(TRAINING_RESULTS));
    lineEnds(4);
    appendLabelWithFill(T(DATE) + L": ");
    lineEnds(2);
    appendLabelWithFill(T(VENTILATION) + L": ");
    lineEnds(2);
    appendLabelWithFill(T(COMPRESSION) + L": ");
    lineEnds(2);
    appendText(T(ALGORITHM) + L": " + GString::to_wstring(algorithmName, platform::CP_ACP));
    lineEnds(2);
    appendText(T(METRONOME));
    appendField('B');
    lineEnds(2);
}

void DebriefGenerator::buildResults()
{
    const std::string perMinute = std::string(" ") + langArray(PER_MINUTE);
    auto total = [this](char letter) {
        appendText(T(TOTAL) + L": ");
        appendField(letter);
        lineEnds(1);
    };
    if (model.showInitialVentilations) {
        appendText(T(INITIAL_VENTILATIONS));
        lineEnds(1);
        total('C');
        appendBarRow(0);
        lineEnds(2);
    }
    if (model.showVentilationRate) {
        appendText(T(VENTILATION_RATE));
        lineEnds(1);
        appendBarRow(1);
        lineEnds(1);
        appendValueField('G', 1, perMinute);
        lineEnds(2);
    }
    if (model.showAverageVolume) {
        appendText(T(VENTILATION_VOLUME));
        lineEnds(1);
        total('H');
        appendBarRow(2);
        lineEnds(1);
        appendValueField('J', 3, std::string(" ") + langArray(LITRES));
        lineEnds(2);
    }
    if (model.showStomachInflations) {
        appendText(T(STOMACH_INFLATION));
        lineEnds(1);
        total('K');
        appendBarRow(3);
        lineEnds(2);
    }
    if (model.showCompressionRate) {
        appendText(T(ECC_RATE));
        lineEnds(1);
        appendBarRow(4);
        lineEnds(1);
        appendValueField('O', 2, perMinute);
        lineEnds(2);
    }
    if (model.showCompressionDepth) {
        appendText(T(COMPRESSION_DEPTH));
        lineEnds(1);
        total('P');
        appendBarRow(5);
        lineEnds(1);
        appendValueField('R', 2, std::string(" ") + langArray(MILLIMETRES));
        lineEnds(2);
    }
    if (model.showWrongHandPositions) {
        appendText(T(WRONG_HAND_POSITION));
        lineEnds(1);
        total('S');
        appendBarRow(6);
        lineEnds(2);
    }
}

void DebriefGenerator::buildFooter()
{
    appendLabelWithFill(T(INSTRUCTOR));
    lineEnds(2);
    appendText(T(APPROVED) + L": __ ");
    appendText(T(YES) + L" __ ");
    appendText(T(NO));
    lineEnds(2);
    appendText(T(COMMENTS));
    lineEnds(16);
}
