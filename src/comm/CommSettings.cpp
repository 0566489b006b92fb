#include "comm/CommSettings.h"

namespace CommSettings {

namespace {
bool demo = false;
int delayMs = 0;
bool dump = false;
} // namespace

bool demoMode() { return demo; }
void setDemoMode(bool on) { demo = on; }

int commDelay() { return delayMs; }
void setCommDelay(int milliseconds) { delayMs = milliseconds < 0 ? 0 : milliseconds; }

bool dumpData() { return dump; }
void setDumpData(bool on) { dump = on; }

bool isDemoPort(int portNumber) { return demo && portNumber >= firstDemoPort && portNumber <= 256; }

} // namespace CommSettings
