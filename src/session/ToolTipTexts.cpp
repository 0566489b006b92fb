#include "session/ToolTipTexts.h"

#include "gettext/Translator.h"
#include "ui/IdMap.h"

namespace idMap {

void fill()
{
    struct Entry {
        int id;
        const char* text;
    };
    static const Entry entries[] = {
        { 32780, "Calibrate manikins" },
        { 32779, "Start a new session" },
        { 32802, "Plan a new course" },
        { 1018, "Start/resume this session" },
        { 1023, "Pause this session" },
        { 2, "Abort this session.\nThere is no way to resume an aborted session" },
        { 1019, "Display the evaluation screen.\nThis is only available when the session is paused" },
        { 1010, "Select the amount of time displayed on the graph" },
        { 1024, "Zoom in or out" },
        { 1001, "When enabled, the stomach inflation and wrong hand position icons are shown on the graph" },
        { 1003, "When enabled, the custom events from the toolbars are shown on the graph" },
        { 1013, "When enabled, the compression/relaxation ratios are shown on the graph" },
        { 1321, "When enabled, the cardiac output is shown on the graph" },
        { 1025, "Select an area of the graph to display.\nThis is only available when the session is paused" },
        { 1026, "Show the entire recorded interval.\nThis is only available when the session is paused" },
        { 1016, "Show/hide a session" },
        { 32784, "Show session view where you can control each running session" },
        { 32769, "Show surveillance view where you can see all active sessions" },
        { 32783, "Enable/disable metronome" },
        { 32801, "Adjust metronome settings" },
        { 32924, "Show Tavo CPR Controller configuration window" },
        { 57607, "Print evaluation of current session" },
        { 57606, "Adjust printer settings for Tavo CPR Software" },
        { 57664, "About Tavo CPR Software" },
        { 57665, "Exit Tavo CPR Software" },
        { 32785, "Start all sessions immediately" },
        { 32786, "Pause all active sessions" },
        { 32787, "Show person editing dialog" },
        { 32788, "Show algorithm editing dialog" },
        { 32789, "Show scenario editing dialog" },
        { 1050, "Initial ventilations" },
    };
    for (const Entry& entry : entries)
        insert(entry.id, translate(entry.text));
}

} // namespace idMap
