// The session browser: the criteria framed at the top, the list of matching
// sessions filling the middle, the status, import and export at the bottom.
#include "res/Dialogs.h"
#include "res/resource.h"

namespace res {

using namespace platform;

DialogTable browseSessionsDialog()
{
    constexpr DWORD label = WS_VISIBLE | SS_RIGHT;
    constexpr DWORD button = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    constexpr DWORD list = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
    constexpr DWORD names = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL;
    // The report control's own styles: selection kept in sight, no sorting by the header.
    constexpr DWORD report = WS_VISIBLE | WS_TABSTOP | WS_BORDER | 0x0002 | 0x0080;
    return DialogTable {
        IDD_BROWSE_SESSIONS, "¤Session manager",
        DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX,
        0, 0, 360, 236,
        "DejaVu Sans", 8,
        {
            // id                              class            text                          style                        x    y    cx   cy
            { IDC_BROWSE_CRITERIA,             "Button",        "¤Browse criteria",           WS_VISIBLE | BS_GROUPBOX, 22,  4,   302, 92 },
            { IDC_BROWSE_YEAR_LABEL,           "Static",        "¤Year",                      label,                   27,  18,  52,  8 },
            { IDC_BROWSE_YEAR,                 "ComboBox",      "",                           list,                    83,  16,  66,  120 },
            { IDC_BROWSE_MONTH_LABEL,          "Static",        "¤Month",                     label,                   153, 18,  34,  8 },
            { IDC_BROWSE_MONTH,                "ComboBox",      "",                           list,                    191, 16,  66,  120 },
            { IDC_BROWSE_PARTICIPANT_LABEL,    "Static",        "¤Participant",               label,                   27,  36,  52,  8 },
            { IDC_BROWSE_PARTICIPANT,          "ComboBox",      "",                           names,                   83,  34,  174, 100 },
            { IDC_BROWSE_PARTICIPANT_DETAILS,  "Button",        "¤Details...",                button,                  261, 33,  56,  14 },
            { IDC_BROWSE_INSTRUCTOR_LABEL,     "Static",        "¤Instructor",                label,                   27,  54,  52,  8 },
            { IDC_BROWSE_INSTRUCTOR,           "ComboBox",      "",                           names,                   83,  52,  174, 100 },
            { IDC_BROWSE_INSTRUCTOR_DETAILS,   "Button",        "¤Details...",                button,                  261, 51,  56,  14 },
            { IDC_BROWSE_SEARCH,               "Button",        "¤Show matching sessions",    WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 179, 72,  138, 16 },
            { IDC_BROWSE_LIST_LABEL,           "Static",        "¤Sessions",                  WS_VISIBLE | SS_LEFT,    7,   100, 120, 8 },
            { IDC_BROWSE_LIST,                 "TavoReportCtrl", "List1",                     report,                  7,   110, 346, 96 },
            { IDC_BROWSE_STATUS,               "Static",        "¤No sessions match criteria", WS_VISIBLE | SS_LEFT,   7,   210, 166, 8 },
            { IDC_BROWSE_HINT,                 "Static",        "¤Double click on a session for details", WS_VISIBLE | SS_LEFT, 7,   220, 166, 8 },
            { IDC_BROWSE_IMPORT,               "Button",        "¤Import...",                 button,                  180, 213, 48,  14 },
            { IDC_BROWSE_EXPORT,               "Button",        "¤Export...",                 button,                  232, 213, 48,  14 },
            { 32800,                           "Button",        "¤Help",                      button,                  284, 213, 34,  14 },
            { IDCANCEL,                        "Button",        "¤Close",                     button,                  320, 213, 34,  14 },
        },
    };
}

} // namespace res
