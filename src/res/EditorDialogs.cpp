// The record editors of algorithms, persons and scenarios, and the two
// editors of a scenario's events. The record editors share one arrangement:
// the quick-find box and the navigation buttons on top, above an etched
// line; the fields below, labelled at the left; the command buttons in a
// column at the right, behind an etched line, with Help and Close at the bottom.
#include "res/Dialogs.h"
#include "res/resource.h"

namespace res {

using namespace platform;

namespace {

constexpr DWORD modalStyle = DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD label = WS_VISIBLE | SS_LEFT;
constexpr DWORD centred = WS_VISIBLE | SS_CENTER;
constexpr DWORD button = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
// The navigation buttons draw their bitmaps.
constexpr DWORD navigation = WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
constexpr DWORD field = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD notes = WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
constexpr DWORD checkBox = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD dropDownList = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD group = WS_VISIBLE | BS_GROUPBOX;
constexpr DWORD horizontalLine = WS_VISIBLE | SS_ETCHEDHORZ;
constexpr DWORD verticalLine = WS_VISIBLE | SS_ETCHEDVERT;
const char* const font = "DejaVu Sans";

} // namespace

DialogTable algorithmDialog()
{
    return DialogTable {
        IDD_ALGORITHM, "¤Algorithm", modalStyle, 0, 0, 339, 207, font, 8,
        {
            // id                     class       text                              style                          x    y    cx   cy
            { IDC_STATIC,             "Static",   "¤&Quick Find",                   label,                         7,   5,   72,  8 },
            { IDC_DB_QUICKFIND,       "ComboBox", "",                               dropDownList | CBS_SORT,       81,  3,   177, 75 },
            { IDC_DB_FIRST,           "Button",   "|<",                             navigation,                        263, 3,   11,  12 },
            { IDC_DB_PREVIOUS,        "Button",   "<",                              navigation,                        281, 3,   11,  12 },
            { IDC_DB_NEXT,            "Button",   ">",                              navigation,                        300, 3,   11,  12 },
            { IDC_DB_LAST,            "Button",   ">|",                             navigation,                        318, 3,   11,  12 },
            { IDC_STATIC,             "Static",   "",                               horizontalLine,                6,   19,  327, 1 },
            { IDC_STATIC,             "Static",   "¤Name",                          label,                         7,   26,  72,  8 },
            { IDC_EDITOR_NAME,        "Edit",     "",                               field,                         81,  24,  169, 12 },

            { IDC_STATIC,             "Button",   "¤Ventilation",                   group,                         6,   40,  244, 58 },
            { IDC_STATIC,             "Static",   "¤Initial ventilations",          label,                         12,  51,  86,  8 },
            { IDC_ALG_INIT_VENT,      "Edit",     "",                               field,                         100, 49,  22,  12 },
            { IDC_STATIC,             "Static",   "¤Ventilation rate",              label,                         12,  67,  86,  8 },
            { IDC_ALG_VRATE_LOW,      "Edit",     "",                               field,                         100, 65,  22,  12 },
            { IDC_STATIC,             "Static",   "-",                              centred,                       124, 67,  8,   8 },
            { IDC_ALG_VRATE_HIGH,     "Edit",     "",                               field,                         134, 65,  22,  12 },
            { IDC_STATIC,             "Static",   "¤/min",                          label,                         160, 67,  40,  8 },
            { IDC_STATIC,             "Static",   "¤Ventilation volume",            label,                         12,  83,  86,  8 },
            { IDC_ALG_VVOL_LOW,       "Edit",     "",                               field,                         100, 81,  22,  12 },
            { IDC_STATIC,             "Static",   "-",                              centred,                       124, 83,  8,   8 },
            { IDC_ALG_VVOL_HIGH,      "Edit",     "",                               field,                         134, 81,  22,  12 },
            { IDC_STATIC,             "Static",   "¤L",                             label,                         160, 83,  40,  8 },

            { IDC_STATIC,             "Button",   "¤Compression",                   group,                         6,   102, 244, 58 },
            { IDC_STATIC,             "Static",   "¤ECC rate",                      label,                         12,  113, 86,  8 },
            { IDC_ALG_ECC_LOW,        "Edit",     "",                               field,                         100, 111, 22,  12 },
            { IDC_STATIC,             "Static",   "-",                              centred,                       124, 113, 8,   8 },
            { IDC_ALG_ECC_HIGH,       "Edit",     "",                               field,                         134, 111, 22,  12 },
            { IDC_STATIC,             "Static",   "¤/min",                          label,                         160, 113, 40,  8 },
            { IDC_STATIC,             "Static",   "¤Comp./Relax. ratio",            label,                         12,  129, 86,  8 },
            { IDC_ALG_SHARE_LOW,      "Edit",     "",                               field,                         100, 127, 22,  12 },
            { IDC_STATIC,             "Static",   "-",                              centred,                       124, 129, 8,   8 },
            { IDC_ALG_SHARE_HIGH,     "Edit",     "",                               field,                         134, 127, 22,  12 },
            { IDC_ALG_PERCENT,        "Static",   "%",                              label,                         158, 129, 10,  8 },
            { IDC_ALG_SHARE_RECC,     "Edit",     "",                               field,                         175, 127, 22,  12 },
            { IDC_ALG_PERCENT_SLASH,  "Static",   "% /",                            label,                         199, 129, 12,  8 },
            { IDC_ALG_SHARE_REST,     "Edit",     "",                               field | ES_READONLY,           212, 127, 22,  12 },
            { IDC_ALG_PERCENT_REST,   "Static",   "%",                              label,                         236, 129, 10,  8 },
            { IDC_STATIC,             "Static",   "¤Compression depth",             label,                         12,  145, 86,  8 },
            { IDC_ALG_DEPTH_LOW,      "Edit",     "",                               field,                         100, 143, 22,  12 },
            { IDC_STATIC,             "Static",   "-",                              centred,                       124, 145, 8,   8 },
            { IDC_ALG_DEPTH_HIGH,     "Edit",     "",                               field,                         134, 143, 22,  12 },
            { IDC_STATIC,             "Static",   "¤mm",                            label,                         160, 145, 40,  8 },

            { IDC_STATIC,             "Button",   "¤Compression/Ventilation ratio", group,                         6,   164, 244, 40 },
            { IDC_STATIC,             "Static",   "¤Single-person CPR",             label,                         12,  175, 86,  8 },
            { IDC_ALG_SINGLE_COMP,    "Edit",     "",                               field,                         100, 173, 22,  12 },
            { IDC_STATIC,             "Static",   ":",                              centred,                       124, 175, 8,   8 },
            { IDC_ALG_SINGLE_VENT,    "Edit",     "",                               field,                         134, 173, 22,  12 },
            { IDC_STATIC,             "Static",   "¤Two-person CPR",                label,                         12,  191, 86,  8 },
            { IDC_ALG_DOUBLE_COMP,    "Edit",     "",                               field,                         100, 189, 22,  12 },
            { IDC_STATIC,             "Static",   ":",                              centred,                       124, 191, 8,   8 },
            { IDC_ALG_DOUBLE_VENT,    "Edit",     "",                               field,                         134, 189, 22,  12 },
            { IDC_ALG_SCRATCH,        "Edit",     "",                               WS_BORDER | ES_AUTOHSCROLL,    280, 131, 22,  12 },

            { IDC_STATIC,             "Static",   "",                               verticalLine,                  254, 23,  1,   181 },
            { IDC_DB_NEW,             "Button",   "¤&New algorithm",                button,                        259, 23,  77,  14 },
            { IDC_DB_DELETE,          "Button",   "¤&Delete algorithm",             button,                        259, 40,  77,  14 },
            { IDC_DB_SAVE,            "Button",   "¤&Save changes",                 button,                        259, 57,  77,  14 },
            { IDC_DB_DISCARD,         "Button",   "¤Disc&ard changes",              button,                        259, 74,  77,  14 },
            { IDC_DB_HELP,            "Button",   "¤Help",                          button,                        259, 173, 77,  14 },
            { IDCANCEL,               "Button",   "¤&Close",                        button,                        259, 190, 77,  14 },
        },
    };
}

DialogTable personDialog()
{
    return DialogTable {
        IDD_PERSON, "¤Person", modalStyle, 0, 0, 309, 178, font, 8,
        {
            { IDC_STATIC,                "Static",   "¤&Quick Find",      label,                    7,   5,   60,  8 },
            { IDC_DB_QUICKFIND,          "ComboBox", "",                  dropDownList | CBS_SORT,  70,  3,   150, 75 },
            { IDC_DB_FIRST,              "Button",   "|<",                navigation,                   232, 3,   11,  12 },
            { IDC_DB_PREVIOUS,           "Button",   "<",                 navigation,                   250, 3,   11,  12 },
            { IDC_DB_NEXT,               "Button",   ">",                 navigation,                   268, 3,   11,  12 },
            { IDC_DB_LAST,               "Button",   ">|",                navigation,                   286, 3,   11,  12 },
            { IDC_STATIC,                "Static",   "",                  horizontalLine,           6,   19,  297, 1 },
            { IDC_STATIC,                "Static",   "¤Name",             label,                    7,   26,  60,  8 },
            { IDC_EDITOR_NAME,           "Edit",     "",                  field,                    70,  24,  150, 12 },
            { IDC_STATIC,                "Static",   "¤Address",          label,                    7,   42,  60,  8 },
            { IDC_PERSON_ADDRESS,        "Edit",     "",                  notes,                    70,  40,  150, 36 },
            { IDC_STATIC,                "Static",   "¤Phone",            label,                    7,   82,  60,  8 },
            { IDC_PERSON_PHONE,          "Edit",     "",                  field,                    70,  80,  150, 12 },
            { IDC_STATIC,                "Static",   "¤Degree",           label,                    7,   98,  60,  8 },
            { IDC_PERSON_DEGREE,         "Edit",     "",                  field,                    70,  96,  150, 12 },
            { IDC_STATIC,                "Static",   "¤CPR courses",      label,                    7,   114, 60,  8 },
            { IDC_PERSON_COURSES,        "Edit",     "",                  field,                    70,  112, 34,  12 },
            { IDC_STATIC,                "Static",   "¤Resuscitations",   label,                    108, 114, 70,  8 },
            { IDC_PERSON_RESUSCITATIONS, "Edit",     "",                  field,                    180, 112, 40,  12 },
            { IDC_STATIC,                "Static",   "¤Instructor",       label,                    7,   130, 60,  8 },
            { IDC_PERSON_INSTRUCTOR,     "Button",   "",                  checkBox,                 70,  129, 12,  10 },
            { IDC_STATIC,                "Static",   "¤Notes",            label,                    7,   144, 60,  8 },
            { IDC_PERSON_NOTES,          "Edit",     "",                  notes,                    70,  142, 150, 32 },
            { IDC_STATIC,                "Static",   "",                  verticalLine,             226, 23,  1,   151 },
            { IDC_DB_NEW,                "Button",   "¤&New person",      button,                   230, 23,  73,  14 },
            { IDC_DB_DELETE,             "Button",   "¤&Delete person",   button,                   230, 40,  73,  14 },
            { IDC_DB_SAVE,               "Button",   "¤&Save changes",    button,                   230, 57,  73,  14 },
            { IDC_DB_DISCARD,            "Button",   "¤Disc&ard changes", button,                   230, 74,  73,  14 },
            { IDC_DB_HELP,               "Button",   "¤Help",             button,                   230, 143, 73,  14 },
            { IDCANCEL,                  "Button",   "¤&Close",           button,                   230, 160, 73,  14 },
        },
    };
}

DialogTable scenarioDialog()
{
    return DialogTable {
        IDD_SCENARIO, "¤Scenario", modalStyle, 0, 0, 371, 141, font, 8,
        {
            { IDC_STATIC,               "Static",   "¤&Quick Find",      label,                                            7,   5,   72,  8 },
            { IDC_DB_QUICKFIND,         "ComboBox", "",                  dropDownList | CBS_SORT,                          81,  3,   196, 75 },
            { IDC_DB_FIRST,             "Button",   "|<",                navigation,                                           294, 3,   11,  12 },
            { IDC_DB_PREVIOUS,          "Button",   "<",                 navigation,                                           312, 3,   11,  12 },
            { IDC_DB_NEXT,              "Button",   ">",                 navigation,                                           331, 3,   11,  12 },
            { IDC_DB_LAST,              "Button",   ">|",                navigation,                                           349, 3,   11,  12 },
            { IDC_STATIC,               "Static",   "",                  horizontalLine,                                   6,   19,  359, 1 },
            { IDC_STATIC,               "Static",   "¤Scenario name",    label,                                            7,   26,  72,  8 },
            { IDC_EDITOR_NAME,          "Edit",     "",                  field,                                            81,  24,  196, 12 },
            { IDC_STATIC,               "Static",   "¤Duration",         label,                                            7,   42,  72,  8 },
            { IDC_SCENARIO_DURATION,    "ComboBox", "",                  WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN, 81, 40, 70, 120 },
            { IDC_STATIC,               "Static",   "¤Algorithm",        label,                                            7,   58,  72,  8 },
            { IDC_SCENARIO_ALGORITHM,   "ComboBox", "",                  dropDownList | CBS_SORT,                          81,  56,  150, 100 },
            { IDC_SCENARIO_DETAILS,     "Button",   "¤Details...",       button,                                           235, 55,  42,  14 },
            { IDC_STATIC,               "Static",   "¤Training mode",    label,                                            7,   74,  72,  8 },
            { IDC_SCENARIO_MODE,        "ComboBox", "",                  dropDownList,                                     81,  72,  150, 80 },
            { IDC_STATIC,               "Static",   "¤Register events",  label,                                            7,   90,  72,  8 },
            { IDC_SCENARIO_REGISTER,    "Button",   "",                  checkBox,                                         81,  89,  12,  10 },
            { IDC_SCENARIO_EDIT_EVENTS, "Button",   "¤Edit events...",   button,                                           81,  104, 80,  14 },
            { IDC_STATIC,               "Static",   "",                  verticalLine,                                     285, 23,  1,   113 },
            { IDC_DB_NEW,               "Button",   "¤&New scenario",    button,                                           289, 23,  77,  14 },
            { IDC_DB_DELETE,            "Button",   "¤&Delete scenario", button,                                           289, 40,  77,  14 },
            { IDC_DB_SAVE,              "Button",   "¤&Save changes",    button,                                           289, 57,  77,  14 },
            { IDC_DB_DISCARD,           "Button",   "¤Disc&ard changes", button,                                           289, 74,  77,  14 },
            { IDC_DB_HELP,              "Button",   "¤Help",             button,                                           289, 105, 77,  14 },
            { IDCANCEL,                 "Button",   "¤&Close",           button,                                           289, 122, 77,  14 },
        },
    };
}

DialogTable editEventsDialog()
{
    return DialogTable {
        IDD_EDIT_EVENTS, "¤Edit events", DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
        0, 0, 256, 191, font, 8,
        {
            { IDC_EVENTS_LABEL, "Static",        "Events associated with scenario:", label,                                         7,   7,   242, 8 },
            { IDC_EVENTS_LIST,  "SysListView32", "",                                 WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT
                                                                                     | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER, 7, 18, 242, 130 },
            { IDC_EVENTS_ADD,   "Button",        "¤Add",                             button,                                        24,  154, 50,  14 },
            { IDC_DB_DELETE,    "Button",        "¤Delete",                          button,                                        77,  154, 50,  14 },
            { IDC_EVENTS_UP,    "Button",        "¤Move up",                         button,                                        130, 154, 50,  14 },
            { IDC_EVENTS_DOWN,  "Button",        "¤Move down",                       button,                                        183, 154, 50,  14 },
            { IDCANCEL,         "Button",        "¤Close",                           button,                                        77,  172, 50,  14 },
            { IDC_DB_HELP,      "Button",        "¤Help",                            button,                                        130, 172, 50,  14 },
        },
    };
}

DialogTable eventDialog()
{
    return DialogTable {
        IDD_EVENT, "¤Event", modalStyle, 0, 0, 270, 199, font, 8,
        {
            { IDC_STATIC,        "Static",        "¤Name",    label,                                                  7,   9,   40,  8 },
            { IDC_EDITOR_NAME,   "Edit",          "",         field,                                                  50,  7,   213, 12 },
            { IDC_STATIC,        "Static",        "¤Tooltip", label,                                                  7,   25,  40,  8 },
            { IDC_EVENT_TOOLTIP, "Edit",          "",         field,                                                  50,  23,  213, 12 },
            { IDC_STATIC,        "Static",        "¤Icon",    label,                                                  7,   43,  40,  8 },
            { IDC_EVENT_PICTURE, "Static",        "",         WS_VISIBLE | SS_ICON,                                   50,  40,  16,  16 },
            { IDC_EVENT_ICONS,   "SysListView32", "",         WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_SMALLICON | LVS_SINGLESEL
                                                              | LVS_SHOWSELALWAYS | LVS_NOSCROLL | LVS_NOCOLUMNHEADER, 7,   60,  256, 112 },
            { IDOK,              "Button",        "¤OK",      WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,             81,  178, 50,  14 },
            { IDCANCEL,          "Button",        "¤Cancel",  button,                                                 139, 178, 50,  14 },
        },
    };
}

} // namespace res
