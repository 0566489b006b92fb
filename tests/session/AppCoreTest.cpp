// The application's window-free logic: the start-up options, the help file
// name, the metronome's timing and the commands' enable conditions.
#include "session/AppCommands.h"
#include "session/Metronome.h"
#include "session/StartupOptions.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>

using namespace testsupport;

namespace {

TEST(StartupOptions, CommandLines)
{
    struct Case {
        const char* line;
        bool demo;
        std::optional<int> delay;
        bool logged;
    };
    const Case cases[] = {
        {"", false, std::nullopt, false},
        {"demo commdelay:200", true, 200, false},
        {"commdelay:200 demo", true, 200, false},
        {"nodemos", true, std::nullopt, false},      // inside another word
        {"Demo", false, std::nullopt, false},        // case counts
        {"commdelay:", false, std::nullopt, false},  // no value: unchanged
        {"commdelay: demo", true, std::nullopt, false},
        {"\"commdelay:150\"", false, 150, false},
        {"commdelay:abc", false, std::nullopt, true},
        {"commdelay:20ms", false, std::nullopt, true},
        {"commdelay:-5", false, 0, true},
        {"commdelay:99999999999999999999", false, INT_MAX, true},
    };
    for (const Case& c : cases) {
        LogCapture log;
        const StartupOptions options = readStartupOptions(c.line);
        EXPECT_EQ(options.demo, c.demo) << c.line;
        EXPECT_EQ(options.commDelay, c.delay) << c.line;
        EXPECT_EQ(log.text().find("commdelay") != std::string::npos, c.logged) << c.line << "\n" << log.text();
    }
    EXPECT_TRUE(readStartupOptions("demo dumpdata").dumpData);
    EXPECT_FALSE(readStartupOptions("demo").dumpData);
}

TEST(StartupOptions, HelpFileFallsBackToEnglish)
{
    TempDir dir;
    std::ofstream(dir.file("razeduv_de.html")) << "<html></html>";
    EXPECT_EQ(helpFilePath(dir.path(), "de"), dir.file("razeduv_de.html"));
    EXPECT_EQ(helpFilePath(dir.path(), "fr"), dir.file("razeduv_en.html"));
}

// Ticks every 50 ms from `from` to `to` (inclusive); the times that clicked.
std::vector<std::uint32_t> clicks(Metronome& m, std::uint32_t from, std::uint32_t to, double rate)
{
    std::vector<std::uint32_t> at;
    for (std::uint32_t t = from; t != to + 50; t += 50)
        if (m.tick(t, rate))
            at.push_back(t);
    return at;
}

TEST(Metronome, ClicksOnTheFirstTickAfterTheInterval)
{
    EXPECT_EQ(Metronome::interval(100), 600u);
    EXPECT_EQ(Metronome::interval(90), 666u);
    EXPECT_EQ(Metronome::interval(0), 10000u);
    EXPECT_EQ(Metronome::interval(-3), 10000u);

    Metronome m;
    EXPECT_TRUE(clicks(m, 1000, 3000, 100).empty()) << "off: no clicks";
    EXPECT_TRUE(m.toggle(1000)) << "switching on clicks at once";
    EXPECT_EQ(clicks(m, 1050, 3000, 100), (std::vector<std::uint32_t> {1650, 2300, 2950}));
    EXPECT_FALSE(m.toggle(3000)) << "switching off gives no click";
    EXPECT_TRUE(clicks(m, 3050, 5000, 100).empty());
    EXPECT_TRUE(m.toggle(5000)) << "on again clicks at once, whatever the last click";

    Metronome slow;
    slow.toggle(0);
    EXPECT_EQ(clicks(slow, 50, 25000, 0), (std::vector<std::uint32_t> {10050, 20100}));
}

TEST(Metronome, TickCounterWrapping)
{
    // Switched on 300 ms before the 32-bit counter wraps: the next click is
    // 650 ms later, not on every tick after the wrap.
    Metronome m;
    const std::uint32_t start = 0xFFFFFFFFu - 299;
    m.toggle(start);
    std::vector<std::uint32_t> at;
    std::uint32_t t = start;
    for (int i = 0; i < 30; ++i) {
        t += 50;
        if (m.tick(t, 100))
            at.push_back(t - start);
    }
    EXPECT_EQ(at, (std::vector<std::uint32_t> {650, 1300}));
}

TEST(AppCommands, EnableConditions)
{
    using namespace AppCommand;
    struct Case {
        CommandState state;
        bool sessionView, startAll, pauseAll, print, configuration;
    };
    const Case cases[] = {
        // sessions, running, printable
        {{0, 0, false}, false, false, false, false, true},
        {{2, 0, false}, true, true, false, false, false},
        {{2, 1, false}, true, true, true, false, false},
        {{2, 2, false}, true, false, true, false, false},
        {{1, 0, true}, true, true, false, true, false},
    };
    for (const Case& c : cases) {
        const std::string at = std::to_string(c.state.sessions) + "/" + std::to_string(c.state.runningSessions);
        EXPECT_EQ(isCommandEnabled(SessionView, c.state), c.sessionView) << at;
        EXPECT_EQ(isCommandEnabled(StartAll, c.state), c.startAll) << at;
        EXPECT_EQ(isCommandEnabled(PauseAll, c.state), c.pauseAll) << at;
        EXPECT_EQ(isCommandEnabled(Print, c.state), c.print) << at;
        EXPECT_EQ(isCommandEnabled(Configuration, c.state), c.configuration) << at;
        for (int always : {NewSession, Calibrate, Surveillance, PrintSetup, Exit, HelpContents, About, AppCommand::Metronome})
            EXPECT_TRUE(isCommandEnabled(always, c.state)) << always << " at " << at;
    }
}

TEST(AppCommands, TabKeys)
{
    using namespace AppCommand;
    const int expected[][2] = {{32790, 1}, {32797, 8}, {32799, 9}, {32798, 10}, {32800, 0}, {32789, 0}};
    for (const auto& e : expected)
        EXPECT_EQ(tabOfCommand(e[0]), e[1]) << e[0];
}

} // namespace
