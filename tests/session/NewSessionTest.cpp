// Starting a new session without a window: whether the form's settings are
// still the scenario's, and what Continue does with a port that is taken,
// a manikin that does not answer, and one that does.
#include "comm/SerialPort.h"
#include "session/NewSession.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// Records what Continue asks of the station and the form, in order.
class FakeHost : public NewSessionHost {
public:
    bool available = true;
    bool controller = false;
    int openResult = SerialPort::OPEN_OK;
    std::vector<std::string> calls;
    std::wstring caption;
    std::wstring text;
    std::optional<SessionRecord> record;
    Algorithm startedAlgorithm;
    bool registerEvents = false;

    bool portAvailable(int port) override { return log("available", port), available; }
    bool portHasController(int port) override { return log("controller", port), controller; }
    int openPort(int port) override { return log("open", port), openResult; }
    void closePort(int port) override { log("close", port); }
    Algorithm algorithm(const std::string& name) override
    {
        calls.push_back("algorithm " + name);
        Algorithm a;
        a.Name = name;
        a.compDepthLow = 42;
        return a;
    }
    void markUncalibrated(int port) override { log("uncalibrated", port); }
    void message(const std::wstring& t, const std::wstring& c) override
    {
        calls.push_back("message");
        text = t;
        caption = c;
    }
    void refillPorts() override { calls.push_back("refill"); }
    void openCalibrate() override { calls.push_back("calibrate"); }
    void startSession(const SessionRecord& r, const Algorithm& a, bool events) override
    {
        calls.push_back("start");
        record = r;
        startedAlgorithm = a;
        registerEvents = events;
    }

private:
    void log(const char* what, int port) { calls.push_back(std::string(what) + " " + std::to_string(port)); }
};

NewSessionSettings chosen()
{
    NewSessionSettings s;
    s.scenario = "Adult";
    s.algorithm = "Guideline A";
    s.duration = 300;
    s.registerEvents = true;
    s.trainingMode = TWO_PERSON;
    s.ventilation = "Anna";
    s.compression = "Ben";
    s.port = 7;
    return s;
}

ScenarioRecord adultScenario()
{
    ScenarioRecord r;
    r.Name = "Adult";
    r.Algorithm = "Guideline A";
    r.Duration = 300;
    r.RegisterEvents = 1;
    r.TrainingMode = TWO_PERSON;
    return r;
}

TEST(NewSessionTest, SettingsMatchTheScenarioOnlyWhileAllFourPresetsAreItsOwn)
{
    EXPECT_TRUE(newsession::matchesScenario(chosen(), adultScenario()));
    struct Case {
        const char* change;
        void (*apply)(NewSessionSettings&);
    };
    const Case cases[] = {
        {"algorithm", [](NewSessionSettings& s) { s.algorithm = "Guideline B"; }},
        {"algorithm in other letter case", [](NewSessionSettings& s) { s.algorithm = "guideline a"; }},
        {"duration", [](NewSessionSettings& s) { s.duration = 120; }},
        {"no time limit", [](NewSessionSettings& s) { s.duration = -1; }},
        {"events not registered", [](NewSessionSettings& s) { s.registerEvents = false; }},
        {"training mode", [](NewSessionSettings& s) { s.trainingMode = SINGLE_PERSON; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        NewSessionSettings s = chosen();
        c.apply(s);
        EXPECT_FALSE(newsession::matchesScenario(s, adultScenario()));
    }
    // The participants and the manikin are no part of a scenario.
    NewSessionSettings others = chosen();
    others.ventilation = "Carl";
    others.port = 250;
    EXPECT_TRUE(newsession::matchesScenario(others, adultScenario()));
    // A scenario without time limit.
    ScenarioRecord open = adultScenario();
    open.Duration = -1;
    NewSessionSettings endless = chosen();
    endless.duration = -1;
    EXPECT_TRUE(newsession::matchesScenario(endless, open));
}

TEST(NewSessionTest, ContinueStartsASessionWithTheChoicesOnTheOpenedPort)
{
    FakeHost host;
    NewSessionSettings s = chosen();
    s.scenario.clear(); // the settings were changed after the scenario
    s.registerEvents = false;
    s.duration = -1;
    const SessionRecord fresh;
    EXPECT_EQ(newsession::start(s, host), newsession::Outcome::STARTED);
    EXPECT_EQ(host.calls, (std::vector<std::string> {"available 7", "controller 7", "open 7", "algorithm Guideline A", "start"}));
    ASSERT_TRUE(host.record.has_value());
    const SessionRecord& r = *host.record;
    EXPECT_EQ(r.PersonVentilation, "Anna");
    EXPECT_EQ(r.PersonChestCompression, "Ben");
    EXPECT_EQ(r.TrainingMode, TWO_PERSON);
    EXPECT_EQ(r.Duration, -1);
    EXPECT_EQ(r.Manikin, 7);
    EXPECT_EQ(r.Algorithm, "Guideline A");
    EXPECT_EQ(r.Scenario, "");
    // The stored session says what the box said.
    EXPECT_EQ(r.RegisterEvents, 0);
    EXPECT_FALSE(host.registerEvents);
    // A new record with a serial of its own.
    EXPECT_TRUE(SessionRecord::isValidSerial(r.Serialidentifier));
    EXPECT_NE(r.Serialidentifier, fresh.Serialidentifier);
    EXPECT_EQ(host.startedAlgorithm.Name, "Guideline A");
    EXPECT_EQ(host.startedAlgorithm.compDepthLow, 42);

    FakeHost registering;
    EXPECT_EQ(newsession::start(chosen(), registering), newsession::Outcome::STARTED);
    EXPECT_EQ(registering.record->RegisterEvents, 1);
    EXPECT_TRUE(registering.registerEvents);
    EXPECT_EQ(registering.record->Scenario, "Adult");
}

TEST(NewSessionTest, ARefusedPortIsReportedMarkedUncalibratedAndSentToCalibration)
{
    const std::wstring taken = L"The selected COM port is not available. Please select another.";
    const std::wstring silent = L"There was a problem opening the port. Please make sure that the manikin is properly "
                                L"connected and recalibrate.";
    struct Case {
        const char* name;
        bool available;
        bool controller;
        int openResult;
        newsession::Outcome outcome;
        std::wstring caption;
        std::wstring text;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"held by a session", false, false, SerialPort::OPEN_OK, newsession::Outcome::UNAVAILABLE, L"Start problem", taken,
         {"available 7", "message", "refill", "uncalibrated 7", "calibrate"}},
        {"a CPR Controller", true, true, SerialPort::OPEN_OK, newsession::Outcome::UNAVAILABLE, L"Start problem", taken,
         {"available 7", "controller 7", "message", "refill", "uncalibrated 7", "calibrate"}},
        {"no answer", true, false, SerialPort::OPEN_NO_DEVICE, newsession::Outcome::OPEN_FAILED, L"COM port problem", silent,
         {"available 7", "controller 7", "open 7", "close 7", "message", "refill", "uncalibrated 7", "calibrate"}},
        {"no stream", true, false, SerialPort::OPEN_NO_STREAM, newsession::Outcome::OPEN_FAILED, L"COM port problem", silent,
         {"available 7", "controller 7", "open 7", "close 7", "message", "refill", "uncalibrated 7", "calibrate"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHost host;
        host.available = c.available;
        host.controller = c.controller;
        host.openResult = c.openResult;
        EXPECT_EQ(newsession::start(chosen(), host), c.outcome);
        EXPECT_EQ(host.calls, c.calls);
        EXPECT_EQ(host.caption, c.caption);
        EXPECT_EQ(host.text, c.text);
        EXPECT_FALSE(host.record.has_value());
    }
}

TEST(NewSessionTest, ContinueWithoutAPortDoesNothing)
{
    for (int port : {-1, 0}) {
        FakeHost host;
        NewSessionSettings s = chosen();
        s.port = port;
        EXPECT_EQ(newsession::start(s, host), newsession::Outcome::NOTHING);
        EXPECT_TRUE(host.calls.empty());
    }
}

} // namespace
