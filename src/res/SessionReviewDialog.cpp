// The review page of a live session: a child page with the session's record
// as the Session table will store it; the buttons in a column on the right.
#include "res/Dialogs.h"
#include "res/resource.h"

namespace res {

using namespace platform;

DialogTable sessionReviewPage()
{
    constexpr DWORD label = WS_VISIBLE | SS_LEFT;
    constexpr DWORD button = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    constexpr DWORD group = WS_VISIBLE | BS_GROUPBOX;
    constexpr DWORD nameBox = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_SORT;
    constexpr DWORD shown = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_READONLY;
    return DialogTable {
        IDD_SESSION_REVIEW, "",
        DS_SETFONT | DS_CONTROL | WS_CHILD,
        0, 0, 382, 225,
        "DejaVu Sans", 8,
        {
            // id                            class       text                 style                                  x    y    cx   cy
            { IDC_STATIC,                    "Button",   "¤Participants",     group,                                 4,   4,   300, 60 },
            { IDC_STATIC,                    "Static",   "¤Training mode",    label,                                 8,   16,  70,  8 },
            { IDC_REV_TRAINING_MODE,         "Edit",     "",                  shown,                                 80,  14,  160, 12 },
            { IDC_STATIC,                    "Static",   "¤Ventilation",      label,                                 8,   32,  70,  8 },
            { IDC_REV_VENTILATION,           "ComboBox", "",                  nameBox,                               80,  30,  160, 90 },
            { IDC_REV_VENTILATION_DETAILS,   "Button",   "¤Details...",       button,                                244, 30,  52,  13 },
            { IDC_STATIC,                    "Static",   "¤Compression",      label,                                 8,   47,  70,  8 },
            { IDC_REV_COMPRESSION,           "ComboBox", "",                  nameBox,                               80,  45,  160, 90 },
            { IDC_REV_COMPRESSION_DETAILS,   "Button",   "¤Details...",       button,                                244, 45,  52,  13 },
            { IDC_STATIC,                    "Button",   "¤Session",          group,                                 4,   68,  300, 78 },
            { IDC_STATIC,                    "Static",   "¤Scenario",         label,                                 8,   81,  70,  8 },
            { IDC_REV_SCENARIO,              "Edit",     "",                  shown,                                 80,  79,  160, 12 },
            { IDC_REV_SCENARIO_DETAILS,      "Button",   "¤Details...",       button,                                244, 79,  52,  13 },
            { IDC_STATIC,                    "Static",   "¤Algorithm",        label,                                 8,   96,  70,  8 },
            { IDC_REV_ALGORITHM,             "Edit",     "",                  shown,                                 80,  94,  160, 12 },
            { IDC_REV_ALGORITHM_DETAILS,     "Button",   "¤Details...",       button,                                244, 94,  52,  13 },
            { IDC_STATIC,                    "Static",   "¤Duration",         label,                                 8,   111, 70,  8 },
            { IDC_REV_DURATION,              "Edit",     "",                  shown | ES_CENTER,                     80,  109, 50,  12 },
            { IDC_REV_METRONOME,             "Button",   "¤Metronome used",   WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 140, 110, 100, 10 },
            { IDC_STATIC,                    "Static",   "¤Manikin",          label,                                 8,   126, 70,  8 },
            { IDC_REV_MANIKIN,               "Edit",     "",                  shown | ES_CENTER,                     80,  124, 30,  12 },
            { IDC_STATIC,                    "Static",   "¤Date",             label,                                 118, 126, 24,  8 },
            { IDC_REV_DATE,                  "Edit",     "",                  shown | ES_CENTER,                     142, 124, 58,  12 },
            { IDC_STATIC,                    "Static",   "¤Start time",       label,                                 204, 126, 42,  8 },
            { IDC_REV_START_TIME,            "Edit",     "",                  shown | ES_CENTER,                     248, 124, 48,  12 },
            { IDC_STATIC,                    "Static",   "¤Course Instructor", label,                                8,   154, 70,  8 },
            { IDC_REV_INSTRUCTOR,            "Edit",     "",                  shown,                                 80,  152, 160, 12 },
            { IDC_REV_INSTRUCTOR_DETAILS,    "Button",   "¤Details...",       button,                                244, 152, 52,  13 },
            { IDC_STATIC,                    "Static",   "¤Approved",         label,                                 8,   169, 70,  8 },
            { IDC_REV_APPROVED,              "ComboBox", "",                  WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 80, 167, 60, 60 },
            { IDC_STATIC,                    "Static",   "¤Approved by",      label,                                 8,   184, 70,  8 },
            { IDC_REV_APPROVED_BY,           "ComboBox", "",                  nameBox,                               80,  182, 160, 90 },
            { IDC_REV_APPROVED_BY_DETAILS,   "Button",   "¤Details...",       button,                                244, 182, 52,  13 },
            { IDC_STATIC,                    "Static",   "¤Notes",            label,                                 8,   199, 70,  8 },
            { IDC_REV_NOTES,                 "Edit",     "",                  WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, 80, 198, 216, 24 },
            { IDC_REV_DEBRIEFING,            "Button",   "¤<< Debriefing",    button,                                310, 8,   68,  14 },
            { IDC_REV_PRINT,                 "Button",   "¤Print...",         button,                                310, 26,  68,  14 },
            { IDC_DB_HELP,                   "Button",   "¤Help",             button,                                310, 190, 68,  14 },
            { IDCANCEL,                      "Button",   "¤Abort",            button,                                310, 207, 68,  14 },
        },
    };
}

} // namespace res
