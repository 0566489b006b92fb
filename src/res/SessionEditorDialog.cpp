// The stored-session editor: participants and the session's settings on the
// left, course instructor, approval and notes below them, the command
// buttons in a column on the right.
#include "res/Dialogs.h"
#include "res/resource.h"

namespace res {

using namespace platform;

DialogTable sessionEditorDialog()
{
    constexpr DWORD label = WS_VISIBLE | SS_LEFT;
    constexpr DWORD button = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    constexpr DWORD group = WS_VISIBLE | BS_GROUPBOX;
    constexpr DWORD list = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
    constexpr DWORD nameBox = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
    constexpr DWORD shown = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_READONLY;
    return DialogTable {
        IDD_SESSION_EDITOR, "¤Session",
        DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        0, 0, 386, 223,
        "DejaVu Sans", 8,
        {
            // id                            class       text                 style                                  x    y    cx   cy
            { IDC_STATIC,                    "Button",   "¤Participants",     group,                                 2,   2,   300, 58 },
            { IDC_STATIC,                    "Static",   "¤Training mode",    label,                                 8,   14,  70,  8 },
            { IDC_SES_TRAINING_MODE,         "ComboBox", "",                  list,                                  80,  12,  160, 70 },
            { IDC_STATIC,                    "Static",   "¤Ventilation",      label,                                 8,   29,  70,  8 },
            { IDC_SES_VENTILATION,           "ComboBox", "",                  nameBox | CBS_SORT,                    80,  27,  160, 90 },
            { IDC_SES_VENTILATION_DETAILS,   "Button",   "¤Details...",       button,                                244, 27,  52,  13 },
            { IDC_STATIC,                    "Static",   "¤Compression",      label,                                 8,   44,  70,  8 },
            { IDC_SES_COMPRESSION,           "ComboBox", "",                  nameBox | CBS_SORT,                    80,  42,  160, 90 },
            { IDC_SES_COMPRESSION_DETAILS,   "Button",   "¤Details...",       button,                                244, 42,  52,  13 },
            { IDC_STATIC,                    "Button",   "¤Session",          group,                                 2,   64,  300, 74 },
            { IDC_STATIC,                    "Static",   "¤Scenario",         label,                                 8,   77,  70,  8 },
            { IDC_SES_SCENARIO,              "ComboBox", "",                  list | CBS_SORT,                       80,  75,  160, 90 },
            { IDC_SES_SCENARIO_DETAILS,      "Button",   "¤Details...",       button,                                244, 75,  52,  13 },
            { IDC_STATIC,                    "Static",   "¤Algorithm",        label,                                 8,   92,  70,  8 },
            { IDC_SES_ALGORITHM,             "ComboBox", "",                  list | CBS_SORT,                       80,  90,  160, 90 },
            { IDC_SES_ALGORITHM_DETAILS,     "Button",   "¤Details...",       button,                                244, 90,  52,  13 },
            { IDC_STATIC,                    "Static",   "¤Duration",         label,                                 8,   107, 70,  8 },
            { IDC_SES_DURATION,              "ComboBox", "",                  WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN, 80, 105, 60, 90 },
            { IDC_SES_METRONOME,             "Button",   "¤Metronome",        WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 150, 106, 90, 10 },
            { IDC_STATIC,                    "Static",   "¤Manikin",          label,                                 8,   122, 70,  8 },
            { IDC_SES_MANIKIN,               "ComboBox", "",                  nameBox | CBS_SORT,                    80,  120, 36,  90 },
            { IDC_STATIC,                    "Static",   "¤Date",             label,                                 122, 122, 24,  8 },
            { IDC_SES_DATE,                  "Edit",     "",                  shown | ES_CENTER,                     146, 120, 56,  12 },
            { IDC_STATIC,                    "Static",   "¤Start time",       label,                                 206, 122, 40,  8 },
            { IDC_SES_START_TIME,            "Edit",     "",                  shown | ES_CENTER,                     248, 120, 48,  12 },
            { IDC_STATIC,                    "Static",   "¤Course Instructor", label,                                8,   146, 70,  8 },
            { IDC_SES_INSTRUCTOR,            "Edit",     "",                  shown,                                 80,  144, 160, 12 },
            { IDC_SES_INSTRUCTOR_DETAILS,    "Button",   "¤Details...",       button,                                244, 144, 52,  13 },
            { IDC_STATIC,                    "Static",   "¤Approved",         label,                                 8,   161, 70,  8 },
            { IDC_SES_APPROVED,              "ComboBox", "",                  list,                                  80,  159, 60,  60 },
            { IDC_STATIC,                    "Static",   "¤Approved by",      label,                                 8,   176, 70,  8 },
            { IDC_SES_APPROVED_BY,           "ComboBox", "",                  nameBox | CBS_SORT,                    80,  174, 160, 90 },
            { IDC_SES_APPROVED_BY_DETAILS,   "Button",   "¤Details...",       button,                                244, 174, 52,  13 },
            { IDC_STATIC,                    "Static",   "¤Notes",            label,                                 8,   191, 70,  8 },
            { IDC_SES_NOTES,                 "Edit",     "",                  WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, 80, 190, 217, 28 },
            { IDC_DB_SAVE,                   "Button",   "¤&Save changes",    button,                                306, 6,   76,  14 },
            { IDC_DB_DISCARD,                "Button",   "¤Disc&ard changes", button,                                306, 23,  76,  14 },
            { IDC_SES_GRAPH,                 "Button",   "¤Graph...",         button,                                306, 75,  76,  14 },
            { IDC_SES_DEBRIEFING,            "Button",   "¤Debriefing...",    button,                                306, 90,  76,  14 },
            { IDC_DB_DELETE,                 "Button",   "¤Delete session",   button,                                306, 105, 76,  14 },
            { IDC_DB_HELP,                   "Button",   "¤Help",             button,                                306, 187, 76,  14 },
            { IDCANCEL,                      "Button",   "¤&Close",           button,                                306, 204, 76,  14 },
        },
    };
}

} // namespace res
