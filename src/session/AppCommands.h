#pragma once
// The commands of the main window's menus, toolbar and keys, and when each
// of them can be used.

namespace AppCommand {
constexpr int NewSession = 32779;
constexpr int Calibrate = 32780;
constexpr int Surveillance = 32769;
constexpr int SessionView = 32784;
constexpr int StartAll = 32785;
constexpr int PauseAll = 32786;
constexpr int Print = 57607;
constexpr int PrintSetup = 57606;
constexpr int Exit = 57665;
constexpr int Configuration = 32922;
constexpr int HelpContents = 32781;
constexpr int About = 57664;
// Ctrl+1 to Ctrl+9 and Ctrl+0 select the session tabs 1 to 10.
constexpr int SelectTab1 = 32790; // to 32797 for tabs 1 to 8
constexpr int SelectTab9 = 32799;
constexpr int SelectTab10 = 32798;
constexpr int Help = 32800;
// The main frame's own commands.
constexpr int Metronome = 32783;
constexpr int Persons = 32787;
constexpr int Algorithms = 32788;
constexpr int Scenarios = 32789;
constexpr int NewCourse = 32802;
constexpr int SessionBrowser = 32804;
constexpr int WindowCascade = 57650;
constexpr int WindowTile = 57651;
constexpr int WindowArrange = 57649;
} // namespace AppCommand

// What the enable conditions look at.
struct CommandState {
    int sessions = 0;
    int runningSessions = 0;
    // The active session can be printed: it collects or shows its debriefing
    // and is not running.
    bool activeSessionPrintable = false;
};

bool isCommandEnabled(int id, const CommandState& state);

// The session tab (1 to 10) that a tab command selects; 0 for other commands.
int tabOfCommand(int id);
