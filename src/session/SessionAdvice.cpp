#include "session/SessionAdvice.h"

#include "Database/Algorithm.h"
#include "Utillib/GString.h"
#include "gettext/Translator.h"

#include <algorithm>
#include <cstring>

namespace {

enum { SHAKE_AND_SHOUT = 1, PULSE_CHECK = 2, BREATHING_CHECK = 4, HEAD_TILT = 5 };

// Both channels' events by sample index, the compression channel's first on a tie.
std::vector<AdviceEvent> mergedEvents(const AdviceFacts& facts)
{
    std::vector<AdviceEvent> all = facts.compressionEvents;
    all.insert(all.end(), facts.ventilationEvents.begin(), facts.ventilationEvents.end());
    std::stable_sort(all.begin(), all.end(), [](const AdviceEvent& a, const AdviceEvent& b) { return a.index < b.index; });
    return all;
}

// Whether the first event of the type was registered no later than sample s.
bool inTime(const std::vector<AdviceEvent>& events, int type, int s)
{
    for (const AdviceEvent& e : events)
        if (e.type == type)
            return e.index != -1 && e.index <= s;
    return false;
}

// A translated format filled with numbers after translation. The format
// comes from a catalogue the user may have chosen: each conversion is checked
// against its number, and one without a fitting number stays as written.
std::wstring formatted(const char* key, double a, double b = 0)
{
    return GString::format(translate(key), a, b);
}

} // namespace

SessionAdvice::SessionAdvice(const Algorithm& algor, const AdviceFacts& facts)
{
    bool pulseRules = algor.Name != "International Guidelines 2000";
    std::vector<AdviceEvent> events = mergedEvents(facts);

    if (facts.mode != COMPRESSION_ONLY) {
        if (algor.initVent > 0) {
            if (facts.initialVentilations == 0)
                add(-10, translate("Remember the initial ventilations."));
            else if (facts.initialVentilations > 2 * algor.initVent)
                add(-10, translate("You gave far too many initial ventilations."));
            else if (facts.initialVentilations > algor.initVent)
                add(-10, translate("You gave too many initial ventilations."));
        }
        if (facts.ventilationRate > 1.25 * algor.vRateHigh)
            add(-20, formatted("You ventilated too fast. Aim at a rate of %.0f /min.", algor.vRateHigh));
        else if (facts.ventilationRate < 0.95 * algor.vRateLow)
            add(-20, formatted("You should focus on ventilating faster. The recommended rate is between %.0f and %.0f /min.",
                               algor.vRateLow, algor.vRateHigh));
        if (facts.averageVolume > 1.25 * algor.vVolHigh)
            add(-20, translate("Be careful not to ventilate with too high volume."));
        else if (facts.averageVolume < 0.5 * algor.vVolLow)
            add(-15, translate("You ventilated superficially. Aim at higher volumes per ventilation."));
    }

    bool headTiltAdvised = false;
    bool shakeAdvised = false;
    if (facts.ventilationSeries >= 2) {
        int s = facts.firstSeriesStart;
        if (!inTime(events, BREATHING_CHECK, s))
            add(-12, translate("Remember to check for breathing before ventilating."));
        if (!inTime(events, HEAD_TILT, s)) {
            add(-8, translate("Remember to perform headtilt before ventilating."));
            headTiltAdvised = true;
        }
        if (!inTime(events, SHAKE_AND_SHOUT, s)) {
            add(-9, translate("Remember to shake and shout before starting basic life support."));
            shakeAdvised = true;
        }
    }
    if (facts.compressionGroups >= 2) {
        int s = facts.firstGroupStart;
        if (pulseRules && !inTime(events, PULSE_CHECK, s))
            add(-8, translate("Remember to check for pulse before administering chest compressions."));
        if (!headTiltAdvised && !inTime(events, HEAD_TILT, s))
            add(-7, translate("Remember to perform head tilt  on the manikin to open the airway before administering chest "
                              "compressions."));
        if (!shakeAdvised && !inTime(events, SHAKE_AND_SHOUT, s))
            add(-9, translate("Remember to shake and shout before starting basic life support."));
    }
    if (pulseRules) {
        long n = std::count_if(events.begin(), events.end(), [](const AdviceEvent& e) { return e.type == PULSE_CHECK; });
        long t = facts.elapsedSeconds;
        if (n > 0 && t > 180 && n * 180 < t)
            add(-40, translate("You must check for pulse more often."));
    }
}

std::wstring SessionAdvice::text() const
{
    std::wstring text;
    int count = 0;
    for (auto it = sentences.begin(); it != sentences.end() && count < 3; ++it, ++count) {
        if (count > 0)
            text += L"\n";
        text += it->second;
    }
    return text;
}
