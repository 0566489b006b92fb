#pragma once
// What the new-session form decides without a window: whether its settings
// still are the chosen scenario, the record of the session it starts, and
// the steps of Continue (the port checked, opened and handed to a new live
// session, or the instructor told why not). The station's services and the
// few things only the form can do come from its host.
#include "Database/Algorithm.h"
#include "Database/ScenarioTable.h"
#include "Database/SessionRecord.h"
#include "config/TrainingMode.h"

#include <string>

// The form's choices as plain values.
struct NewSessionSettings {
    std::string scenario; // empty when the settings are no scenario's
    std::string algorithm;
    int duration = 120; // seconds, -1 for no limit
    bool registerEvents = true;
    int trainingMode = TWO_PERSON;
    std::string ventilation;
    std::string compression;
    int port = -1; // the selected manikin port, -1 when none
};

class NewSessionHost {
public:
    virtual ~NewSessionHost() = default;

    // The station.
    // Not reserved by a session.
    virtual bool portAvailable(int port) = 0;
    // A CPR Controller answers on the port.
    virtual bool portHasController(int port) = 0;
    // Opens the port and runs the manikin's handshake; 10 when it is ready
    // (the port then stays open).
    virtual int openPort(int port) = 0;
    virtual void closePort(int port) = 0;
    // The algorithm of that name; the defaults for an unknown name.
    virtual Algorithm algorithm(const std::string& name) = 0;
    virtual void markUncalibrated(int port) = 0;

    // The form.
    virtual void message(const std::wstring& text, const std::wstring& caption) = 0;
    // Fills the manikin list again (and enables Continue when it has a port).
    virtual void refillPorts() = 0;
    // Opens or activates the Calibrate window.
    virtual void openCalibrate() = 0;
    // A live session on the record's port with the flag for the event
    // buttons: the form hidden, the session registered and its window shown.
    virtual void startSession(const SessionRecord& record, const Algorithm& algorithm, bool registerEvents) = 0;
};

namespace newsession {

// Whether the algorithm (exactly), duration, event registration and training
// mode are the scenario's.
bool matchesScenario(const NewSessionSettings& settings, const ScenarioRecord& scenario);

// A new session record (new serial, today, now) with the form's choices.
SessionRecord buildRecord(const NewSessionSettings& settings);

enum class Outcome {
    NOTHING,     // no port selected
    STARTED,     // a live session runs on the port
    UNAVAILABLE, // a session holds the port or a CPR Controller answers there
    OPEN_FAILED, // the port did not open or the manikin did not answer
};

// Continue: checks and opens the selected port and starts the session on it.
// A refused port is marked uncalibrated and the Calibrate window opens.
Outcome start(const NewSessionSettings& settings, NewSessionHost& host);

} // namespace newsession
