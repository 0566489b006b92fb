#include "session/AppCommands.h"

bool isCommandEnabled(int id, const CommandState& state)
{
    switch (id) {
    case AppCommand::SessionView:
        return state.sessions > 0;
    case AppCommand::StartAll:
        return state.runningSessions < state.sessions;
    case AppCommand::PauseAll:
        return state.runningSessions > 0;
    case AppCommand::Print:
        return state.activeSessionPrintable;
    case AppCommand::Configuration:
        return state.sessions == 0;
    default:
        return true;
    }
}

int tabOfCommand(int id)
{
    if (id >= AppCommand::SelectTab1 && id < AppCommand::SelectTab1 + 8)
        return id - AppCommand::SelectTab1 + 1;
    if (id == AppCommand::SelectTab9)
        return 9;
    if (id == AppCommand::SelectTab10)
        return 10;
    return 0;
}
