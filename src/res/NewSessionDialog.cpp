// The new-session form: the session's settings and manikin in one group, the
// training mode and the participants in another, the form's commands below.
#include "res/Dialogs.h"
#include "res/resource.h"

namespace res {

using namespace platform;

DialogTable newSessionDialog()
{
    constexpr DWORD label = WS_VISIBLE | SS_LEFT;
    constexpr DWORD button = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    constexpr DWORD group = WS_VISIBLE | BS_GROUPBOX;
    constexpr DWORD sortedList = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT;
    constexpr DWORD plainList = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
    constexpr DWORD nameBox = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_SORT;
    constexpr DWORD durationBox = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
    return DialogTable {
        IDD_NEW_SESSION, "",
        DS_SETFONT | DS_CONTROL | WS_CHILD | WS_VISIBLE,
        0, 0, 312, 192,
        "DejaVu Sans", 8,
        {
            // id                            class       text                   style                                     x    y    cx   cy
            { IDC_STATIC,                    "Button",   "¤Session",            group,                                    4,   4,   304, 86 },
            { IDC_STATIC,                    "Static",   "¤Scenario",           label,                                    10,  18,  62,  8 },
            { IDC_NEW_SCENARIO,              "ComboBox", "",                    sortedList,                               74,  16,  170, 90 },
            { IDC_NEW_SCENARIO_DETAILS,      "Button",   "¤Details...",         button,                                   250, 16,  52,  13 },
            { IDC_STATIC,                    "Static",   "¤Algorithm",          label,                                    10,  35,  62,  8 },
            { IDC_NEW_ALGORITHM,             "ComboBox", "",                    sortedList,                               74,  33,  170, 90 },
            { IDC_NEW_ALGORITHM_DETAILS,     "Button",   "¤Details...",         button,                                   250, 33,  52,  13 },
            { IDC_STATIC,                    "Static",   "¤Duration",           label,                                    10,  52,  62,  8 },
            { IDC_NEW_DURATION,              "ComboBox", "",                    durationBox,                              74,  50,  60,  90 },
            { IDC_NEW_REGISTER_EVENTS,       "Button",   "¤Register events",    WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 144, 51,  100, 10 },
            { IDC_STATIC,                    "Static",   "¤Manikin",            label,                                    10,  69,  62,  8 },
            { IDC_NEW_MANIKIN,               "ComboBox", "",                    sortedList,                               74,  67,  60,  90 },
            { IDC_NEW_CALIBRATE,             "Button",   "¤Calibrate...",       button,                                   144, 67,  60,  13 },
            { IDC_STATIC,                    "Button",   "¤Participants",       group,                                    4,   94,  304, 72 },
            { IDC_STATIC,                    "Static",   "¤Training mode",      label,                                    10,  108, 62,  8 },
            { IDC_NEW_TRAINING_MODE,         "ComboBox", "",                    plainList,                                74,  106, 170, 90 },
            { IDC_STATIC,                    "Static",   "¤Ventilation",        label,                                    10,  126, 62,  8 },
            { IDC_NEW_VENTILATION,           "ComboBox", "",                    nameBox,                                  74,  124, 170, 90 },
            { IDC_NEW_VENTILATION_DETAILS,   "Button",   "¤Details...",         button,                                   250, 124, 52,  13 },
            { IDC_STATIC,                    "Static",   "¤Compression",        label,                                    10,  144, 62,  8 },
            { IDC_NEW_COMPRESSION,           "ComboBox", "",                    nameBox,                                  74,  142, 170, 90 },
            { IDC_NEW_COMPRESSION_DETAILS,   "Button",   "¤Details...",         button,                                   250, 142, 52,  13 },
            { IDC_NEW_CONFIGURATION,         "Button",   "¤Configuration...",   button,                                   4,   173, 70,  14 },
            { IDC_NEW_COURSE_PLANNER,        "Button",   "¤Course planner...",  WS_TABSTOP | BS_PUSHBUTTON,               80,  173, 70,  14 },
            { IDOK,                          "Button",   "¤Continue",           WS_VISIBLE | WS_TABSTOP | WS_DISABLED | BS_DEFPUSHBUTTON, 192, 173, 56, 14 },
            { IDC_DB_HELP,                   "Button",   "¤Help",               button,                                   252, 173, 56,  14 },
            { IDCANCEL,                      "Button",   "",                    BS_PUSHBUTTON,                            0,   0,   6,   6 },
        },
    };
}

} // namespace res
