#pragma once
// Process-wide switches of the manikin link, filled by the application's
// start-up from its command line ("demo", "commdelay:", "dumpdata").

namespace CommSettings {

// The first port that plays a recording instead of a device in demonstration mode.
constexpr int firstDemoPort = 247;

bool demoMode();
void setDemoMode(bool on);

// Milliseconds added to the pause after a port opens and between query tries.
int commDelay();
void setCommDelay(int milliseconds);

// Whether computing a session's statistics also writes its filter histories to a text file.
bool dumpData();
void setDumpData(bool on);

// A port that plays a recording: demonstration mode and port 247 to 256.
bool isDemoPort(int portNumber);

} // namespace CommSettings
