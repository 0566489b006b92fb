#pragma once
// The station's side of starting a new session: the port table, the
// manikin's handshake, the algorithms in the database and the session
// manager. The form adds its own part of NewSessionHost.
#include "session/NewSession.h"

class Session;

class NewSessionStation : public NewSessionHost {
public:
    bool portAvailable(int port) override;
    bool portHasController(int port) override;
    int openPort(int port) override;
    void closePort(int port) override;
    Algorithm algorithm(const std::string& name) override;
    void markUncalibrated(int port) override;

    // A live session on the record's port (which it reserves), not yet registered.
    static Session* createSession(const SessionRecord& record, const Algorithm& algorithm, bool registerEvents);
    // Registers the session with the session manager and shows the session window.
    static void registerSession(Session* session);
};
