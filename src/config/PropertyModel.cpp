#include "config/PropertyModel.h"

#include "config/BinaryFormat.h"
#include "Utillib/LogStream.h"

#include <cstddef>

namespace {

// Compares the first `count` positions. The vectors always have that many
// elements; should one fall short, a missing element differs from a present one.
template <typename T>
bool samePositions(const std::vector<T>& a, const std::vector<T>& b, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        bool inA = i < a.size();
        bool inB = i < b.size();
        if (inA != inB)
            return false;
        if (inA && !(a[i] == b[i]))
            return false;
    }
    return true;
}

} // namespace

PropertyModel::PropertyModel()
    : endSound(true)
    , metronomeFrequency(100.0)
    , debriefingAsCounts(true)
    , showCardiacOutput(false)
    , showMinuteVolume(true)
    , showAverageVolume(true)
    , showInitialVentilations(true)
    , showVentilationRate(true)
    , showStomachInflations(true)
    , minuteVolumeLow(1.5)
    , minuteVolumeHigh(6.0)
    , showVentCompRatio(true)
    , showComments(true)
    , cardiacOutputPerCompression(0.03)
    , cardiacOutputPerWrongHand(0.01)
    , cardiacOutputLow(1.4)
    , cardiacOutputHigh(6.0)
    , showCompressionRate(true)
    , showCompressionDepth(true)
    , showCompRelaxRatio(true)
    , showPause(true)
    , maxPause(9)
    , showWrongHandPositions(true)
    , showLeanings(true)
    , compRelaxAsPercent(true)
    , overrideDepth(false)
    , depthLow(30.0)
    , depthHigh(52.0)
    , printGraph(true)
    , graphPrintMinutes(5)
    , printDebriefingText(true)
    , printApprovalFields(true)
    , printEventList(true)
    , algorithm1Name("AHA 2005")
    , algorithm2Name("ERC 2005")
    , icons { 0, 1, 2, 3, 4, 5 }
    , languages { "en", "de", "fr" }
    , legends(iconCount)
    , registerEvents(true)
    , enableLegends(false)
    , magic(PROPERTY_MODEL_MAGIC)
{
}

bool PropertyModel::operator==(const PropertyModel& o) const
{
    // Doubles compare by value, so 0.0 and -0.0 are the same setting.
    return endSound == o.endSound
        && metronomeFrequency == o.metronomeFrequency
        && debriefingAsCounts == o.debriefingAsCounts
        && showCardiacOutput == o.showCardiacOutput
        && showMinuteVolume == o.showMinuteVolume
        && showAverageVolume == o.showAverageVolume
        && showInitialVentilations == o.showInitialVentilations
        && showVentilationRate == o.showVentilationRate
        && showStomachInflations == o.showStomachInflations
        && minuteVolumeLow == o.minuteVolumeLow
        && minuteVolumeHigh == o.minuteVolumeHigh
        && showVentCompRatio == o.showVentCompRatio
        && showComments == o.showComments
        && cardiacOutputPerCompression == o.cardiacOutputPerCompression
        && cardiacOutputPerWrongHand == o.cardiacOutputPerWrongHand
        && cardiacOutputLow == o.cardiacOutputLow
        && cardiacOutputHigh == o.cardiacOutputHigh
        && showCompressionRate == o.showCompressionRate
        && showCompressionDepth == o.showCompressionDepth
        && showCompRelaxRatio == o.showCompRelaxRatio
        && showPause == o.showPause
        && maxPause == o.maxPause
        && showWrongHandPositions == o.showWrongHandPositions
        && showLeanings == o.showLeanings
        && compRelaxAsPercent == o.compRelaxAsPercent
        && overrideDepth == o.overrideDepth
        && depthLow == o.depthLow
        && depthHigh == o.depthHigh
        && printHeading == o.printHeading
        && printGraph == o.printGraph
        && graphPrintMinutes == o.graphPrintMinutes
        && printDebriefingText == o.printDebriefingText
        && printApprovalFields == o.printApprovalFields
        && printEventList == o.printEventList
        && algorithm1Name == o.algorithm1Name
        && algorithm2Name == o.algorithm2Name
        && samePositions(icons, o.icons, iconCount)
        && samePositions(languages, o.languages, languageCount)
        && samePositions(legends, o.legends, iconCount)
        && registerEvents == o.registerEvents
        && enableLegends == o.enableLegends;
}

int PropertyModel::getIconNumber(int i) const
{
    LOG_ASSERT(i >=0 && i < 6);
    return icons.at(static_cast<std::size_t>(i));
}

void PropertyModel::setIconNumber(int i, int icon)
{
    LOG_ASSERT(i >=0 && i < 6);
    icons.at(static_cast<std::size_t>(i)) = icon;
}

std::string PropertyModel::getLegend(int i) const
{
    LOG_ASSERT(i >=0 && i < 6);
    return legends.at(static_cast<std::size_t>(i));
}

void PropertyModel::setLegend(int i, const std::string& text)
{
    LOG_ASSERT(i >=0 && i < 6);
    legends.at(static_cast<std::size_t>(i)) = text;
}

std::string PropertyModel::getLanguage(int i) const
{
    LOG_ASSERT(i >=0 && i < 3);
    if (i < 0 || static_cast<std::size_t>(i) >= languages.size())
        return std::string();
    return languages[static_cast<std::size_t>(i)];
}

void PropertyModel::setLanguage(int i, const std::string& code)
{
    LOG_ASSERT(i >=0 && i < 3);
    if (i < 0 || static_cast<std::size_t>(i) >= languages.size())
        return;
    languages[static_cast<std::size_t>(i)] = code;
}

void PropertyModel::write(BinaryWriter& w) const
{
    w << std::int32_t(1);
    w << endSound << metronomeFrequency;
    w << debriefingAsCounts << showCardiacOutput << showMinuteVolume << showAverageVolume
      << showInitialVentilations << showVentilationRate << showStomachInflations;
    w << minuteVolumeLow << minuteVolumeHigh << showVentCompRatio << showComments;
    w << cardiacOutputPerCompression << cardiacOutputPerWrongHand << cardiacOutputLow << cardiacOutputHigh;
    w << showCompressionRate << showCompressionDepth << showCompRelaxRatio << showPause << maxPause;
    w << showWrongHandPositions << showLeanings << compRelaxAsPercent << overrideDepth;
    w << depthLow << depthHigh;
    w.writeWString(printHeading);
    w << printGraph << graphPrintMinutes << printDebriefingText << printApprovalFields << printEventList;
    w << algorithm1Name << algorithm2Name << icons << languages << legends;
    w << registerEvents << enableLegends;
    w << magic;
}

void PropertyModel::read(BinaryReader& r)
{
    std::int32_t version = 0;
    r >> version;
    if (version < 0 || version > 1)
        throw BinaryTextError("Unsupported version in PropertyModel data!");
    r >> endSound >> metronomeFrequency;
    r >> debriefingAsCounts >> showCardiacOutput >> showMinuteVolume >> showAverageVolume
      >> showInitialVentilations >> showVentilationRate >> showStomachInflations;
    r >> minuteVolumeLow >> minuteVolumeHigh >> showVentCompRatio >> showComments;
    r >> cardiacOutputPerCompression >> cardiacOutputPerWrongHand >> cardiacOutputLow >> cardiacOutputHigh;
    r >> showCompressionRate >> showCompressionDepth >> showCompRelaxRatio >> showPause >> maxPause;
    r >> showWrongHandPositions >> showLeanings >> compRelaxAsPercent >> overrideDepth;
    r >> depthLow >> depthHigh;
    printHeading = r.readWString();
    r >> printGraph >> graphPrintMinutes >> printDebriefingText >> printApprovalFields >> printEventList;
    if (version == 1) {
        r >> algorithm1Name >> algorithm2Name >> icons;
        r.readStringVector(languages);
        r.readStringVector(legends);
        r >> registerEvents >> enableLegends;
    } else {
        PropertyModel defaults;
        algorithm1Name = defaults.algorithm1Name;
        algorithm2Name = defaults.algorithm2Name;
        icons = defaults.icons;
        languages = defaults.languages;
        legends = defaults.legends;
        registerEvents = defaults.registerEvents;
        enableLegends = defaults.enableLegends;
    }
    r >> magic;
}
