#include "Database/Algorithm.h"
#include "gettext/Translator.h"
#include "session/SessionAdvice.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A session that earns no advice: good figures, every event before the first
// ventilation series (sample 100) and the first compression group (sample 200).
AdviceFacts goodFacts()
{
    AdviceFacts f;
    f.initialVentilations = 2;
    f.ventilationRate = 7;
    f.averageVolume = 0.5;
    f.ventilationSeries = 3;
    f.firstSeriesStart = 100;
    f.compressionGroups = 3;
    f.firstGroupStart = 200;
    f.compressionEvents = {{1, 10}, {2, 150}};
    f.ventilationEvents = {{4, 50}, {5, 100}};
    f.elapsedSeconds = 120;
    return f;
}

const wchar_t* const tooFast = L"You ventilated too fast. Aim at a rate of 9 /min.";
const wchar_t* const tooSlow = L"You should focus on ventilating faster. The recommended rate is between 6 and 9 /min.";
const wchar_t* const tooHigh = L"Be careful not to ventilate with too high volume.";
const wchar_t* const superficial = L"You ventilated superficially. Aim at higher volumes per ventilation.";
const wchar_t* const breathing = L"Remember to check for breathing before ventilating.";
const wchar_t* const tiltVent = L"Remember to perform headtilt before ventilating.";
const wchar_t* const tiltComp =
    L"Remember to perform head tilt  on the manikin to open the airway before administering chest compressions.";
const wchar_t* const shake = L"Remember to shake and shout before starting basic life support.";
const wchar_t* const pulse = L"Remember to check for pulse before administering chest compressions.";
const wchar_t* const pulseMore = L"You must check for pulse more often.";

std::wstring lines(std::initializer_list<const wchar_t*> sentences)
{
    std::wstring text;
    for (const wchar_t* s : sentences)
        text += (text.empty() ? L"" : L"\n") + std::wstring(s);
    return text;
}

} // namespace

TEST(SessionAdvice, RulesKeysAndOrder)
{
    struct Case {
        const char* what;
        void (*change)(AdviceFacts&, Algorithm&);
        std::wstring expected;
    } cases[] = {
        {"all good", [](AdviceFacts&, Algorithm&) {}, L""},
        {"fast and high", [](AdviceFacts& f, Algorithm&) { f.ventilationRate = 12, f.averageVolume = 0.8; }, lines({tooFast, tooHigh})},
        {"no initial ventilations", [](AdviceFacts& f, Algorithm&) { f.initialVentilations = 0; },
         L"Remember the initial ventilations."},
        {"4 of 2", [](AdviceFacts& f, Algorithm&) { f.initialVentilations = 4; }, L"You gave too many initial ventilations."},
        {"5 of 2", [](AdviceFacts& f, Algorithm&) { f.initialVentilations = 5; }, L"You gave far too many initial ventilations."},
        {"none required", [](AdviceFacts& f, Algorithm& a) { a.initVent = 0, f.initialVentilations = 9; }, L""},
        {"ventilation only, nothing given",
         [](AdviceFacts& f, Algorithm&) {
             f = AdviceFacts();
             f.mode = VENTILATION_ONLY;
         },
         lines({tooSlow, superficial, L"Remember the initial ventilations."})},
        {"compression only keeps the order rules",
         [](AdviceFacts& f, Algorithm&) {
             f.mode = COMPRESSION_ONLY, f.ventilationRate = 0, f.initialVentilations = 0, f.ventilationSeries = 0;
             f.compressionEvents.clear();
         },
         lines({shake, pulse})},
        {"head tilt late for both", [](AdviceFacts& f, Algorithm&) { f.ventilationEvents[1].index = 300; }, tiltVent},
        {"head tilt late for compressions only", [](AdviceFacts& f, Algorithm&) { f.firstSeriesStart = 300, f.ventilationEvents[1].index = 250; },
         tiltComp},
        {"event at the first sample is in time", [](AdviceFacts& f, Algorithm&) { f.ventilationEvents[0].index = 100; }, L""},
        {"unset event is not in time", [](AdviceFacts& f, Algorithm&) { f.ventilationEvents[0].index = -1; }, breathing},
        {"at most three by key",
         [](AdviceFacts& f, Algorithm&) {
             f.ventilationRate = 12, f.averageVolume = 0.1, f.ventilationEvents[0].index = 500;
             f.compressionEvents = {{2, 1}}, f.elapsedSeconds = 400;
         },
         lines({pulseMore, tooFast, superficial})},
        {"one check in 181 s", [](AdviceFacts& f, Algorithm&) { f.elapsedSeconds = 181; }, pulseMore},
        {"two checks in 360 s",
         [](AdviceFacts& f, Algorithm&) {
             f.elapsedSeconds = 360;
             f.compressionEvents.push_back({2, 400});
         },
         L""},
        {"no check at all in a long session",
         [](AdviceFacts& f, Algorithm& a) {
             f.compressionEvents = {{1, 10}}, f.elapsedSeconds = 1000, f.compressionGroups = 1;
             (void)a;
         },
         L""},
        {"guideline without pulse rules",
         [](AdviceFacts& f, Algorithm& a) {
             a.Name = "International Guidelines 2000";
             f.compressionEvents = {{1, 10}, {2, 5000}}, f.elapsedSeconds = 1000;
         },
         L""},
    };
    for (const Case& c : cases) {
        AdviceFacts facts = goodFacts();
        Algorithm algor;
        c.change(facts, algor);
        EXPECT_EQ(SessionAdvice(algor, facts).text(), c.expected) << c.what;
    }
}

// A catalogue chosen by its path may hold any translation: conversions that
// have no fitting number ("%s", "%n", one too many) are shown as written and
// logged, never filled from what is not there.
TEST(SessionAdvice, AHostileCatalogueCannotMisuseTheNumbers)
{
    testsupport::LogCapture log;
    ASSERT_TRUE(userInterfaceTranslator().open(HOSTILE_CATALOGUE));
    struct Restore {
        ~Restore() { userInterfaceTranslator().open(""); }
    } restore;

    AdviceFacts facts = goodFacts();
    Algorithm algor;
    facts.ventilationRate = 12;
    EXPECT_EQ(SessionAdvice(algor, facts).text(), L"Zu schnell %n: 9 /min %s");
    facts.ventilationRate = 2;
    EXPECT_EQ(SessionAdvice(algor, facts).text(), L"%s zwischen 9 und %.0f %n%n%s%s%s%s");
    EXPECT_NE(log.text().find("no fitting argument"), std::string::npos) << log.text();
}
