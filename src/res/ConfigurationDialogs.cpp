// The configuration dialog, its five pages and the icon legend dialog.
#include "res/Dialogs.h"
#include "res/resource.h"

namespace res {

using namespace platform;

namespace {

constexpr DWORD button = WS_VISIBLE | WS_TABSTOP;
constexpr DWORD check = button | BS_AUTOCHECKBOX;
constexpr DWORD group = WS_VISIBLE | BS_GROUPBOX;
constexpr DWORD label = WS_VISIBLE | SS_LEFT;
constexpr DWORD number = button | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD page = DS_SETFONT | DS_CONTROL | WS_CHILD | WS_CAPTION;
constexpr DWORD dropList = button | CBS_DROPDOWNLIST | WS_VSCROLL;

} // namespace

DialogTable configurationDialog()
{
    return DialogTable {
        IDD_CONFIGURATION, "¤Configuration",
        DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
        0, 0, 340, 220,
        "DejaVu Sans", 8,
        {
            // id                    class     text                               style                                 x    y    cx   cy
            { IDC_FOLDER_TABS,       "Static", "",                                WS_VISIBLE,                           7,   7,   326, 184 },
            { IDC_FOLDER_PICTURE,    "Static", "",                                WS_VISIBLE | SS_BITMAP | WS_BORDER,   12,  26,  42,  82 },
            { IDC_FOLDER_PAGE_AREA,  "Static", "",                                0,                                    60,  26,  268, 160 },
            { IDC_CONFIG_GET,        "Button", "¤Get from CPR Controller...",     button | BS_PUSHBUTTON,               7,   198, 100, 14 },
            { IDC_CONFIG_SEND,       "Button", "¤Send to CPR Controller...",      button | BS_PUSHBUTTON,               111, 198, 100, 14 },
            { IDOK,                  "Button", "¤OK",                             button | WS_GROUP | BS_DEFPUSHBUTTON, 219, 198, 36,  14 },
            { IDCANCEL,              "Button", "¤Cancel",                         button | BS_PUSHBUTTON,               258, 198, 36,  14 },
            { IDC_FOLDER_HELP,       "Button", "¤Help",                           button | BS_PUSHBUTTON,               297, 198, 36,  14 },
        },
    };
}

DialogTable configGeneralPage()
{
    return DialogTable {
        IDD_CONFIG_GENERAL, "¤General", page, 0, 0, 268, 160, "DejaVu Sans", 8,
        {
            { IDC_STATIC,            "Button", "¤End of session sound",           group,                                6,   6,   256, 30 },
            { IDC_GENERAL_END_SOUND, "Button", "¤Play sound when a session ends", check | WS_GROUP,                     14,  18,  240, 10 },
            { IDC_STATIC,            "Button", "¤Metronome",                      group,                                6,   42,  256, 30 },
            { IDC_STATIC,            "Static", "¤Metronome frequency:",           label,                                14,  56,  110, 8 },
            { IDC_GENERAL_METRONOME, "Edit",   "",                                number | ES_RIGHT,                    128, 54,  50,  12 },
            { IDC_STATIC,            "Static", "¤/min",                           label,                                182, 56,  40,  8 },
        },
    };
}

DialogTable configDebriefing1Page()
{
    return DialogTable {
        IDD_CONFIG_DEBRIEFING1, "¤Debriefing 1", page, 0, 0, 268, 160, "DejaVu Sans", 8,
        {
            { IDC_STATIC,              "Button", "¤Ventilation",                           group,             6,   4,   256, 80 },
            { IDC_DEB1_INITIAL_VENT,   "Button", "¤Show initial ventilations",             check | WS_GROUP,  14,  14,  240, 10 },
            { IDC_DEB1_VENT_RATE,      "Button", "¤Show ventilation rate",                 check,             14,  25,  240, 10 },
            { IDC_DEB1_AVERAGE_VOLUME, "Button", "¤Show average ventilation volume",       check,             14,  36,  240, 10 },
            { IDC_DEB1_STOMACH,        "Button", "¤Show stomach inflations",               check,             14,  47,  240, 10 },
            { IDC_DEB1_MINUTE_VOLUME,  "Button", "¤Show ventilation minute volume",        check,             14,  58,  240, 10 },
            { IDC_STATIC,              "Static", "¤Correct ventilation minute volume:",    label,             14,  71,  124, 8 },
            { IDC_DEB1_MINUTE_LOW,     "Edit",   "",                                       number | ES_RIGHT, 140, 69,  36,  12 },
            { IDC_STATIC,              "Static", "-",                                      label,             179, 71,  6,   8 },
            { IDC_DEB1_MINUTE_HIGH,    "Edit",   "",                                       number | ES_RIGHT, 187, 69,  36,  12 },
            { IDC_STATIC,              "Static", "¤L/min",                                 label,             226, 71,  32,  8 },
            { IDC_STATIC,              "Button", "¤Ventilation/compression",               group,             6,   84,  256, 26 },
            { IDC_DEB1_VENT_COMP_RATIO, "Button", "¤Show ventilation/compression ratio",   check | WS_GROUP,  14,  97,  240, 10 },
            { IDC_STATIC,              "Button", "¤Debriefing format",                     group,             6,   112, 256, 46 },
            { IDC_DEB1_AS_COUNTS,      "Button", "¤As \"4 OK / 4 low / 12 high\"",         button | BS_AUTORADIOBUTTON | WS_GROUP, 14, 123, 240, 10 },
            { IDC_DEB1_AS_PERCENT,     "Button", "¤As \"20% OK / 20% low/ 60% high\"",     button | BS_AUTORADIOBUTTON, 14, 134, 240, 10 },
            { IDC_DEB1_COMMENTS,       "Button", "¤Show debriefing comments",               check | WS_GROUP,  14,  145, 240, 10 },
        },
    };
}

DialogTable configDebriefing2Page()
{
    return DialogTable {
        IDD_CONFIG_DEBRIEFING2, "¤Debriefing 2", page, 0, 0, 268, 178, "DejaVu Sans", 8,
        {
            { IDC_STATIC,                  "Button",   "¤Compression",                                   group,             6,   2,   256, 174 },
            { IDC_DEB2_RATE,               "Button",   "¤Show compression rate",                         check | WS_GROUP,  12,  11,  120, 10 },
            { IDC_DEB2_COMP_RELAX,         "Button",   "¤Show compression/relaxation ratio",             check,             134, 11,  124, 10 },
            { IDC_DEB2_DEPTH,              "Button",   "¤Show compression depth",                        check,             12,  22,  120, 10 },
            { IDC_DEB2_PAUSE,              "Button",   "¤Show pause between ECC-ECC",                    check,             134, 22,  124, 10 },
            { IDC_DEB2_WRONG_HAND,         "Button",   "¤Show wrong hand positions",                     check,             12,  33,  120, 10 },
            { IDC_DEB2_LEANINGS,           "Button",   "¤Show leanings",                                 check,             134, 33,  124, 10 },
            { IDC_STATIC,                  "Button",   "¤Cardiac output calculation",                    group,             10,  46,  248, 58 },
            { IDC_DEB2_CARDIAC_OUTPUT,     "Button",   "¤Show cardiac output volume",                    check,             16,  56,  200, 10 },
            { IDC_STATIC,                  "Static",   "¤Recommended cardiac output volume:",            label,             16,  69,  130, 8 },
            { IDC_DEB2_CO_LOW,             "Edit",     "",                                               number | ES_RIGHT, 148, 67,  32,  12 },
            { IDC_STATIC,                  "Static",   "-",                                              label,             182, 69,  6,   8 },
            { IDC_DEB2_CO_HIGH,            "Edit",     "",                                               number | ES_RIGHT, 189, 67,  32,  12 },
            { IDC_STATIC,                  "Static",   "¤L/min",                                         label,             224, 69,  30,  8 },
            { IDC_STATIC,                  "Static",   "¤Cardiac output per correct compression",        label,             16,  81,  130, 8 },
            { IDC_DEB2_CO_PER_COMPRESSION, "Edit",     "",                                               number | ES_RIGHT, 148, 79,  32,  12 },
            { IDC_STATIC,                  "Static",   "¤L",                                             label,             182, 81,  20,  8 },
            { IDC_STATIC,                  "Static",   "¤Cardiac output per wrong hand position",        label,             16,  93,  130, 8 },
            { IDC_DEB2_CO_PER_WRONG_HAND,  "Edit",     "",                                               number | ES_RIGHT, 148, 91,  32,  12 },
            { IDC_STATIC,                  "Static",   "¤L",                                             label,             182, 93,  20,  8 },
            { IDC_STATIC,                  "Static",   "¤Correct compression depth",                     label,             12,  112, 134, 8 },
            { IDC_DEB2_DEPTH_LOW,          "Edit",     "",                                               number | ES_RIGHT, 148, 110, 32,  12 },
            { IDC_STATIC,                  "Static",   "-",                                              label,             182, 112, 6,   8 },
            { IDC_DEB2_DEPTH_HIGH,         "Edit",     "",                                               number | ES_RIGHT, 189, 110, 32,  12 },
            { IDC_STATIC,                  "Static",   "¤mm",                                            label,             224, 112, 30,  8 },
            { IDC_STATIC,                  "Static",   "¤Recommended maximum pause ECC-ECC",             label,             12,  127, 134, 8 },
            { IDC_DEB2_MAX_PAUSE,          "Edit",     "",                                               number | ES_RIGHT, 148, 125, 32,  12 },
            { IDC_STATIC,                  "Static",   "¤s",                                             label,             182, 127, 20,  8 },
            { IDC_DEB2_OVERRIDE_DEPTH,     "Button",   "¤Override correct compression depth from algorithm", check,         12,  141, 246, 10 },
            { IDC_STATIC,                  "Static",   "¤Compression/relaxation notation:",              label,             12,  158, 134, 8 },
            { IDC_DEB2_NOTATION,           "ComboBox", "",                                               dropList,          148, 156, 73,  60 },
        },
    };
}

DialogTable configPrintPage()
{
    return DialogTable {
        IDD_CONFIG_PRINT, "¤Print", page, 0, 0, 268, 160, "DejaVu Sans", 8,
        {
            { IDC_STATIC,                "Button",          "¤Print heading",                                      group,  6,   4,   256, 56 },
            { IDC_PRINT_HEADING,         "Edit",            "",  button | WS_BORDER | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL, 12, 14, 244, 40 },
            { IDC_STATIC,                "Button",          "¤Print graph",                                        group,  6,   64,  256, 42 },
            { IDC_PRINT_GRAPH,           "Button",          "¤Show graph on debriefing print",                     check | WS_GROUP, 12, 74, 240, 10 },
            { IDC_STATIC,                "Static",          "¤Graph max print time:",                              label,  12,  90,  90,  8 },
            { IDC_PRINT_MINUTES,         "Edit",            "",                                                    number | ES_RIGHT, 104, 88, 32, 12 },
            { IDC_PRINT_MINUTES_SPIN,    "msctls_updown32", "",                                                    WS_VISIBLE, 136, 88, 10, 12 },
            { IDC_STATIC,                "Static",          "¤min.",                                               label,  150, 90,  30,  8 },
            { IDC_PRINT_EVENT_LIST,      "Button",          "¤Show event list on debriefing print",                check | WS_GROUP, 12, 112, 240, 10 },
            { IDC_PRINT_APPROVAL,        "Button",          "¤Show approval and comments fields on debriefing print", check, 12, 124, 240, 10 },
            { IDC_PRINT_DEBRIEFING_TEXT, "Button",          "¤Show debriefing text on debriefing print",           check,  12,  136, 240, 10 },
        },
    };
}

DialogTable configControllerPage()
{
    constexpr DWORD iconBox = button | CBS_DROPDOWNLIST | WS_VSCROLL;
    constexpr DWORD languageBox = button | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL;
    return DialogTable {
        IDD_CONFIG_CPB, "¤CPR Controller", page, 0, 0, 268, 178, "DejaVu Sans", 8,
        {
            { IDC_STATIC,              "Button",       "¤Scenario",             group,                        6,   2,   256, 40 },
            { IDC_STATIC,              "Static",       "¤Algorithm 1:",         label,                        12,  14,  44,  8 },
            { IDC_CPB_ALGORITHM1,      "ComboBox",     "",                      dropList | CBS_SORT,          58,  12,  154, 80 },
            { IDC_CPB_DETAILS1,        "Button",       "¤Details...",           button | BS_PUSHBUTTON,       216, 11,  40,  14 },
            { IDC_STATIC,              "Static",       "¤Algorithm 2:",         label,                        12,  28,  44,  8 },
            { IDC_CPB_ALGORITHM2,      "ComboBox",     "",                      dropList | CBS_SORT,          58,  26,  154, 80 },
            { IDC_CPB_DETAILS2,        "Button",       "¤Details...",           button | BS_PUSHBUTTON,       216, 25,  40,  14 },
            { IDC_STATIC,              "Button",       "¤Icons",                group,                        6,   44,  138, 64 },
            { IDC_STATIC,              "Static",       "¤Icon 1",               label,                        12,  56,  30,  8 },
            { IDC_CPB_ICON1,           "ComboBoxEx32", "",                      iconBox,                      42,  54,  32,  120 },
            { IDC_STATIC,              "Static",       "¤Icon 2",               label,                        12,  72,  30,  8 },
            { IDC_CPB_ICON2,           "ComboBoxEx32", "",                      iconBox,                      42,  70,  32,  120 },
            { IDC_STATIC,              "Static",       "¤Icon 3",               label,                        12,  88,  30,  8 },
            { IDC_CPB_ICON3,           "ComboBoxEx32", "",                      iconBox,                      42,  86,  32,  120 },
            { IDC_STATIC,              "Static",       "¤Icon 4",               label,                        78,  56,  30,  8 },
            { IDC_CPB_ICON4,           "ComboBoxEx32", "",                      iconBox,                      108, 54,  32,  120 },
            { IDC_STATIC,              "Static",       "¤Icon 5",               label,                        78,  72,  30,  8 },
            { IDC_CPB_ICON5,           "ComboBoxEx32", "",                      iconBox,                      108, 70,  32,  120 },
            { IDC_STATIC,              "Static",       "¤Icon 6",               label,                        78,  88,  30,  8 },
            { IDC_CPB_ICON6,           "ComboBoxEx32", "",                      iconBox,                      108, 86,  32,  120 },
            { IDC_STATIC,              "Button",       "¤Language",             group,                        148, 44,  114, 64 },
            { IDC_STATIC,              "Static",       "¤Language 1:",          label,                        154, 56,  44,  8 },
            { IDC_CPB_LANGUAGE1,       "ComboBox",     "",                      languageBox,                  198, 54,  58,  80 },
            { IDC_STATIC,              "Static",       "¤Language 2:",          label,                        154, 72,  44,  8 },
            { IDC_CPB_LANGUAGE2,       "ComboBox",     "",                      languageBox,                  198, 70,  58,  80 },
            { IDC_STATIC,              "Static",       "¤Language 3:",          label,                        154, 88,  44,  8 },
            { IDC_CPB_LANGUAGE3,       "ComboBox",     "",                      languageBox,                  198, 86,  58,  80 },
            { IDC_CPB_REGISTER_EVENTS, "Button",       "     ",                 WS_TABSTOP | BS_AUTOCHECKBOX, 12,  112, 20,  10 },
            { IDC_STATIC,              "Static",       "¤Register events",      SS_LEFT,                      34,  113, 80,  8 },
            { IDC_STATIC,              "Button",       "¤Icon legends",         group,                        6,   110, 256, 30 },
            { IDC_CPB_ENABLE_LEGENDS,  "Button",       "¤Enable legends",       check | WS_GROUP,             12,  122, 110, 10 },
            { IDC_CPB_EDIT_LEGENDS,    "Button",       "¤Edit icon legends",    button | BS_PUSHBUTTON,       156, 120, 100, 14 },
            { IDC_CPB_LOOK_FOR,        "Button",       "¤Look for CPR Controllers...", button | BS_PUSHBUTTON, 6,  148, 130, 14 },
        },
    };
}

DialogTable iconLegendsDialog()
{
    DialogTable table {
        IDD_ICON_LEGENDS, "¤Icon legends",
        DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
        0, 0, 200, 126, "DejaVu Sans", 8, {},
    };
    const int pictures[6] = { IDC_LEGEND_ICON1, IDC_LEGEND_ICON2, IDC_LEGEND_ICON3,
                              IDC_LEGEND_ICON4, IDC_LEGEND_ICON5, IDC_LEGEND_ICON6 };
    for (int i = 0; i < 6; ++i) {
        const int y = 8 + i * 16;
        table.controls.push_back({ pictures[i], "Static", "", WS_VISIBLE | SS_BITMAP, 8, y + 1, 12, 10 });
        table.controls.push_back({ IDC_LEGEND_TEXT1 + i, "Edit", "", button | WS_BORDER | ES_AUTOHSCROLL, 26, y, 166, 12 });
    }
    table.controls.push_back({ IDOK, "Button", "¤OK", button | WS_GROUP | BS_DEFPUSHBUTTON, 88, 106, 50, 14 });
    table.controls.push_back({ IDCANCEL, "Button", "¤Cancel", button | BS_PUSHBUTTON, 142, 106, 50, 14 });
    return table;
}

} // namespace res
