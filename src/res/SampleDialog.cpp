// A dialog with one control of every kind the dialog builder knows, used by
// the tests of the builder and of the translation of dialogs.
#include "res/Dialogs.h"
#include "res/resource.h"

namespace res {

using namespace platform;

DialogTable sampleDialog()
{
    constexpr DWORD label = WS_VISIBLE | SS_LEFT;
    constexpr DWORD button = WS_VISIBLE | WS_TABSTOP;
    return DialogTable {
        IDD_SAMPLE, "¤Sample settings",
        DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
        0, 0, 250, 156,
        "DejaVu Sans", 8,
        {
            // id                         class            text               style                                                               x    y    cx   cy
            { IDC_SAMPLE_NAME_LABEL,      "Static",        "¤Name:",          label,                                                              7,   9,   50,  8 },
            { IDC_SAMPLE_NAME,            "Edit",          "",                WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL,               60,  7,   120, 12 },
            { IDC_SAMPLE_RATE_LABEL,      "Static",        "- comp./min",     label,                                                              7,   25,  50,  8 },
            { IDC_SAMPLE_MODE,            "ComboBox",      "",                WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT, 60,  23,  120, 80 },
            { IDC_SAMPLE_DURATION_LABEL,  "Static",        "¤Duration:",      label,                                                              7,   41,  50,  8 },
            { IDC_SAMPLE_DURATION,        "ComboBox",      "",                WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN,                60,  39,  60,  80 },
            { IDC_SAMPLE_OPTIONS,         "Button",        "¤Options",        WS_VISIBLE | WS_GROUP | BS_GROUPBOX,                                7,   57,  173, 40 },
            { IDC_SAMPLE_ADULT,           "Button",        "¤Adult",          button | WS_GROUP | BS_AUTORADIOBUTTON,                             14,  69,  70,  10 },
            { IDC_SAMPLE_CHILD,           "Button",        "¤Child",          WS_VISIBLE | BS_AUTORADIOBUTTON,                                    14,  82,  70,  10 },
            { IDC_SAMPLE_REMEMBER,        "Button",        "¤Remember",       button | WS_GROUP | BS_AUTOCHECKBOX,                                96,  69,  78,  10 },
            { IDC_SAMPLE_PORTS,           "ListBox",       "",                button | WS_BORDER | WS_VSCROLL | LBS_NOTIFY,                       7,   103, 84,  46 },
            { IDC_SAMPLE_MANIKINS,        "CheckListBox",  "",                button | WS_BORDER | WS_VSCROLL | LBS_NOTIFY,                       96,  103, 84,  46 },
            { IDOK,                       "Button",        "¤OK",             button | WS_GROUP | BS_DEFPUSHBUTTON,                               193, 7,   50,  14 },
            { IDCANCEL,                   "Button",        "¤Cancel",         button | BS_PUSHBUTTON,                                             193, 24,  50,  14 },
            { IDC_SAMPLE_HELP,            "Button",        "¤Help",           button | BS_PUSHBUTTON,                                             193, 41,  50,  14 },
        },
    };
}

} // namespace res
