// The run-course form: the course on top, eight schedule rows with a scroll
// bar, and the row commands, Close and Help at the bottom.
#include "res/Dialogs.h"
#include "res/RunCourseIds.h"
#include "res/resource.h"

namespace res {

using namespace platform;

DialogTable runCourseDialog()
{
    constexpr DWORD label = WS_VISIBLE | SS_LEFT;
    constexpr DWORD button = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    constexpr DWORD shown = WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | ES_READONLY;
    constexpr DWORD nameBox = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_SORT;
    constexpr DWORD listBox = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT;
    constexpr DWORD portBox = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN;
    constexpr DWORD edit = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    constexpr DWORD verticalBar = 0x0001; // a vertical scroll bar
    DialogTable table {
        IDD_RUN_COURSE, "",
        DS_SETFONT | DS_CONTROL | WS_CHILD | WS_VISIBLE,
        0, 0, 407, 208,
        "DejaVu Sans", 8,
        {
            // id                   class       text                    style                         x    y    cx   cy
            { IDC_RUN_HIGHLIGHT,    "Static",   "",                     SS_GRAYRECT,                  0,   0,   389, 16 },
            { IDC_STATIC,           "Static",   "¤Instructor",          label,                        4,   6,   52,  8 },
            { IDC_RUN_INSTRUCTOR,   "Edit",     "",                     shown,                        58,  4,   108, 12 },
            { IDC_STATIC,           "Static",   "¤Date",                label,                        174, 6,   24,  8 },
            { IDC_RUN_DATE,         "Edit",     "",                     shown | ES_CENTER,            200, 4,   60,  12 },
            { IDC_STATIC,           "Static",   "¤Start time",          label,                        268, 6,   44,  8 },
            { IDC_RUN_TIME,         "Edit",     "",                     shown | ES_CENTER,            314, 4,   30,  12 },
            { IDC_STATIC,           "Static",   "¤Ventilation",         label,                        16,  22,  66,  8 },
            { IDC_STATIC,           "Static",   "¤Chest compression",   label,                        84,  22,  66,  8 },
            { IDC_STATIC,           "Static",   "¤Scenario",            label,                        152, 22,  62,  8 },
            { IDC_STATIC,           "Static",   "¤Manikin",             label,                        216, 22,  30,  8 },
            { IDC_STATIC,           "Static",   "¤Start",               label,                        248, 22,  24,  8 },
            { IDC_STATIC,           "Static",   "¤End",                 label,                        274, 22,  24,  8 },
            { IDC_STATIC,           "Static",   "¤Done",                label,                        298, 22,  30,  8 },
            { IDC_RUN_SCROLL,       "ScrollBar", "",                    WS_VISIBLE | verticalBar,     390, 32,  10,  142 },
            { IDC_RUN_MOVE_UP,      "Button",   "¤Move row up",         button,                       4,   186, 64,  14 },
            { IDC_RUN_MOVE_DOWN,    "Button",   "¤Move row down",       button,                       72,  186, 64,  14 },
            { IDC_RUN_REMOVE,       "Button",   "¤Remove row",          button,                       140, 186, 64,  14 },
            { IDC_RUN_PRINT,        "Button",   "¤Print schedule",      button,                       208, 186, 64,  14 },
            { IDC_RUN_SORT,         "Button",   "¤Sort by start time",  WS_TABSTOP | BS_PUSHBUTTON,   208, 186, 64,  14 },
            { IDCANCEL,             "Button",   "¤Close",               button,                       286, 186, 54,  14 },
            { IDC_DB_HELP,          "Button",   "¤Help",                button,                       344, 186, 54,  14 },
        },
    };
    for (int k = 0; k < 8; ++k) {
        const RunCourseRowIds& r = runCourseRows[k];
        const short y = static_cast<short>(32 + 18 * k);
        const std::vector<DialogControl> row = {
            { r.number,      "Edit",     "",            shown | ES_RIGHT,                                  2,   y, 12, 12 },
            { r.ventilation, "ComboBox", "",            nameBox,                                           16,  y, 66, 90 },
            { r.compression, "ComboBox", "",            nameBox,                                           84,  y, 66, 90 },
            { r.scenario,    "ComboBox", "",            listBox,                                           152, y, 62, 90 },
            { r.manikin,     "ComboBox", "",            portBox,                                           216, y, 30, 90 },
            { r.start,       "Edit",     "",            edit | ES_CENTER,                                  248, y, 24, 12 },
            { r.end,         "Edit",     "",            shown | ES_CENTER,                                 274, y, 24, 12 },
            { r.done,        "Button",   "",            WS_VISIBLE | WS_DISABLED | BS_AUTOCHECKBOX,        302, y + 1, 10, 10 },
            { r.startButton, "Button",   ">",           button,                                            314, y, 14, 13 },
            { r.pauseButton, "Button",   ">|",          button,                                            329, y, 14, 13 },
            { r.details,     "Button",   "¤Details...", button,                                            345, y, 42, 13 },
        };
        table.controls.insert(table.controls.end(), row.begin(), row.end());
    }
    return table;
}

} // namespace res
