// The course planner: the quick-find box and the navigation buttons on top;
// the course's fields with the record buttons at their right; the schedule,
// four rows with a scroll bar; the row commands, Run course and Close below.
#include "res/CoursePlannerIds.h"
#include "res/Dialogs.h"
#include "res/resource.h"

namespace res {

using namespace platform;

DialogTable coursePlannerDialog()
{
    constexpr DWORD label = WS_VISIBLE | SS_LEFT;
    constexpr DWORD button = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    constexpr DWORD bitmap = WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
    constexpr DWORD field = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    constexpr DWORD shown = WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | ES_READONLY;
    constexpr DWORD notes = WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    constexpr DWORD nameBox = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_SORT;
    constexpr DWORD listBox = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT;
    constexpr DWORD horizontalLine = WS_VISIBLE | SS_ETCHEDHORZ;
    constexpr DWORD verticalLine = WS_VISIBLE | SS_ETCHEDVERT;
    constexpr DWORD verticalBar = 0x0001; // a vertical scroll bar
    DialogTable table {
        IDD_COURSE_PLANNER, "¤Course planner",
        DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX,
        0, 0, 385, 233,
        "DejaVu Sans", 8,
        {
            // id                            class        text                     style                     x    y    cx   cy
            { IDC_PLAN_HIGHLIGHT,            "Static",    "",                      SS_GRAYRECT,              0,   131, 363, 16 },
            { IDC_PLAN_QUICKFIND_LABEL,      "Static",    "¤&Quick Find",          label,                    7,   5,   60,  8 },
            { IDC_DB_QUICKFIND,              "ComboBox",  "",                      listBox,                  70,  3,   226, 90 },
            { IDC_DB_FIRST,                  "Button",    "|<",                    bitmap,                   306, 3,   11,  12 },
            { IDC_DB_PREVIOUS,               "Button",    "<",                     bitmap,                   324, 3,   11,  12 },
            { IDC_DB_NEXT,                   "Button",    ">",                     bitmap,                   342, 3,   11,  12 },
            { IDC_DB_LAST,                   "Button",    ">|",                    bitmap,                   360, 3,   11,  12 },
            { IDC_PLAN_LINE_TOP,             "Static",    "",                      horizontalLine,           6,   19,  373, 1 },
            { IDC_PLAN_INSTRUCTOR_LABEL,     "Static",    "¤Instructor",           label,                    7,   26,  60,  8 },
            { IDC_PLAN_INSTRUCTOR,           "ComboBox",  "",                      nameBox,                  70,  24,  146, 100 },
            { IDC_PLAN_INSTRUCTOR_DETAILS,   "Button",    "¤Details...",           button,                   220, 23,  48,  14 },
            { IDC_PLAN_DATE_LABEL,           "Static",    "¤Date",                 label,                    7,   42,  60,  8 },
            { IDC_PLAN_DATE,                 "Edit",      "",                      field,                    70,  40,  50,  12 },
            { IDC_PLAN_TIME_LABEL,           "Static",    "¤Start time",           label,                    126, 42,  54,  8 },
            { IDC_PLAN_TIME,                 "Edit",      "",                      field,                    184, 40,  32,  12 },
            { IDC_PLAN_SCENARIO_LABEL,       "Static",    "¤Default scenario",     label,                    7,   58,  60,  8 },
            { IDC_PLAN_SCENARIO,             "ComboBox",  "",                      listBox,                  70,  56,  146, 100 },
            { IDC_PLAN_SCENARIO_DETAILS,     "Button",    "¤Details...",           button,                   220, 55,  48,  14 },
            { IDC_PLAN_NOTES_LABEL,          "Static",    "¤Notes",                label,                    7,   74,  60,  8 },
            { IDC_PLAN_NOTES,                "Edit",      "",                      notes,                    70,  72,  146, 32 },
            { IDC_PLAN_LINE_RECORD,          "Static",    "",                      verticalLine,             274, 23,  1,   81 },
            { IDC_DB_NEW,                    "Button",    "¤&New course",          button,                   280, 23,  98,  14 },
            { IDC_DB_DELETE,                 "Button",    "¤&Delete course",       button,                   280, 40,  98,  14 },
            { IDC_DB_SAVE,                   "Button",    "¤&Save changes",        button,                   280, 57,  98,  14 },
            { IDC_DB_DISCARD,                "Button",    "¤Disc&ard changes",     button,                   280, 74,  98,  14 },
            { IDC_PLAN_LINE_SCHEDULE,        "Static",    "",                      horizontalLine,           6,   110, 373, 1 },
            { IDC_PLAN_SCHEDULE_LABEL,       "Static",    "¤Schedule",             label,                    7,   113, 80,  8 },
            { IDC_PLAN_HEAD_VENTILATION,     "Static",    "¤Ventilation",          label,                    24,  123, 88,  8 },
            { IDC_PLAN_HEAD_COMPRESSION,     "Static",    "¤Chest compression",    label,                    116, 123, 88,  8 },
            { IDC_PLAN_HEAD_MANIKIN,         "Static",    "¤Manikin",              label,                    208, 123, 34,  8 },
            { IDC_PLAN_HEAD_START,           "Static",    "¤Start",                label,                    244, 123, 28,  8 },
            { IDC_PLAN_HEAD_END,             "Static",    "¤End",                  label,                    274, 123, 28,  8 },
            { IDC_PLAN_SCROLL,               "ScrollBar", "",                      WS_VISIBLE | verticalBar, 366, 133, 10,  62 },
            { IDC_PLAN_LINE_BOTTOM,          "Static",    "",                      horizontalLine,           6,   199, 373, 1 },
            { IDC_PLAN_MOVE_UP,              "Button",    "¤Move row &up",         bitmap,                   7,   203, 13,  12 },
            { IDC_PLAN_MOVE_DOWN,            "Button",    "¤Move row do&wn",       bitmap,                   7,   218, 13,  12 },
            { IDC_PLAN_REMOVE,               "Button",    "¤R&emove row",          bitmap,                   100, 203, 13,  12 },
            { IDC_PLAN_SORT,                 "Button",    "¤S&ort by start time",  bitmap,                   100, 218, 13,  12 },
            { IDC_DB_HELP,                   "Button",    "¤Help",                 button,                   196, 202, 60,  13 },
            { IDC_PLAN_PRINT,                "Button",    "¤&Print schedule",      bitmap,                   196, 218, 13,  12 },
            { IDC_PLAN_RUN,                  "Button",    "¤&Run course...",       button,                   300, 202, 78,  13 },
            { IDCANCEL,                      "Button",    "¤&Close",               button,                   300, 217, 78,  13 },
        },
    };
    for (int k = 0; k < 4; ++k) {
        const CoursePlannerRowIds& r = coursePlannerRows[k];
        const short y = static_cast<short>(133 + 16 * k);
        const std::vector<DialogControl> row = {
            { r.number,      "Edit",     "",            shown | ES_RIGHT,      7,   y,     14, 12 },
            { r.ventilation, "ComboBox", "",            nameBox,               24,  y,     88, 100 },
            { r.compression, "ComboBox", "",            nameBox,               116, y,     88, 100 },
            { r.manikin,     "ComboBox", "",            nameBox,               208, y,     34, 100 },
            { r.start,       "Edit",     "",            field | ES_CENTER,     244, y,     28, 12 },
            { r.end,         "Edit",     "",            shown | ES_CENTER,     274, y,     28, 12 },
            { r.details,     "Button",   "¤Details...", button,                306, y - 1, 54, 14 },
        };
        table.controls.insert(table.controls.end(), row.begin(), row.end());
    }
    return table;
}

} // namespace res
