// The Calibrate window: the search animation and the status at the top (all
// that shows while the window is collapsed), the port list below with the
// buttons beside it.
#include "res/Dialogs.h"
#include "res/resource.h"

namespace res {

using namespace platform;

DialogTable calibrateDialog()
{
    constexpr DWORD button = WS_VISIBLE | WS_TABSTOP;
    return DialogTable {
        IDD_CALIBRATE, "",
        DS_SETFONT | DS_CONTROL | WS_CHILD | WS_VISIBLE,
        0, 0, 270, 139,
        "DejaVu Sans", 8,
        {
            // id                        class            text                              style                                              x    y    cx   cy
            { IDC_CALIBRATE_ANIMATION,   "SysAnimate32",  "",                               WS_VISIBLE,                                        7,   6,   20,  20 },
            { IDC_CALIBRATE_STATUS,      "Static",        "",                               WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE,             34,  6,   229, 20 },
            { IDC_STATIC,                "Static",        "¤Available ports",               WS_VISIBLE | SS_LEFT,                              7,   32,  150, 8 },
            { IDC_CALIBRATE_PORTS,       "CheckListBox",  "",                               button | WS_BORDER | WS_VSCROLL | LBS_NOTIFY,      7,   42,  150, 90 },
            { IDOK,                      "Button",        "¤Calibrate selected manikins",   button | WS_GROUP | BS_DEFPUSHBUTTON,              163, 42,  100, 14 },
            { IDC_CALIBRATE_SEARCH,      "Button",        "¤Look for manikins",             button | BS_PUSHBUTTON,                            163, 60,  100, 14 },
            { IDCANCEL,                  "Button",        "¤Close",                         button | BS_PUSHBUTTON,                            163, 100, 100, 14 },
            { IDC_CALIBRATE_HELP,        "Button",        "¤Help",                          button | BS_PUSHBUTTON,                            163, 118, 100, 14 },
        },
    };
}

} // namespace res
