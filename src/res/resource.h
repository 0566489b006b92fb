// Resource identifiers: one "#define NAME number" line each, read both by the
// compiler and by tools that report on the dialogs by name.
#pragma once

#define IDD_SAMPLE                      9000
#define IDC_SAMPLE_NAME_LABEL           9001
#define IDC_SAMPLE_NAME                 9002
#define IDC_SAMPLE_RATE_LABEL           9003
#define IDC_SAMPLE_MODE                 9004
#define IDC_SAMPLE_DURATION_LABEL       9005
#define IDC_SAMPLE_DURATION             9006
#define IDC_SAMPLE_OPTIONS              9007
#define IDC_SAMPLE_ADULT                9008
#define IDC_SAMPLE_CHILD                9009
#define IDC_SAMPLE_REMEMBER             9010
#define IDC_SAMPLE_PORTS                9011
#define IDC_SAMPLE_MANIKINS             9012
#define IDC_SAMPLE_HELP                 32800

// The controls that every record editor has, by the same ids in each.
#define IDC_DB_NEW                      1112
#define IDC_DB_DELETE                   1113
#define IDC_DB_SAVE                     1114
#define IDC_DB_DISCARD                  1115
#define IDC_DB_NEXT                     1116
#define IDC_DB_PREVIOUS                 1117
#define IDC_DB_FIRST                    1126
#define IDC_DB_LAST                     1127
#define IDC_DB_QUICKFIND                1242
#define IDC_DB_HELP                     32800

// A sample record editor over the algorithm table, used by the tests of the
// editors' window side.
#define IDD_SAMPLE_EDITOR               9020
#define IDC_SAMPLE_EDITOR_NAME          1118
#define IDC_SAMPLE_EDITOR_RATE_LOW      1136
#define IDC_SAMPLE_EDITOR_RATE_HIGH     1137

// The Calibrate window and its search animation.
#define IDD_CALIBRATE                   150
#define IDR_SEARCH_ANIMATION            156
#define IDC_CALIBRATE_PORTS             1066
#define IDC_CALIBRATE_ANIMATION         1070
#define IDC_CALIBRATE_STATUS            1073
#define IDC_CALIBRATE_SEARCH            1075
#define IDC_CALIBRATE_HELP              32800
#define IDC_STATIC                      65535

// The property folder: its dialog, the placeholder its tabs replace, the
// picture and its first bitmap, the page area and the Help button.
#define IDD_PROPERTY_FOLDER             2001
#define IDC_FOLDER_TABS                 25501
#define IDC_FOLDER_PICTURE              25502
#define IDC_FOLDER_PAGE_AREA            25503
#define IDC_FOLDER_HELP                 25504
#define IDB_FOLDER_PICTURE              25505

// The record editors' navigation buttons: normal, pressed, focused, disabled.
#define IDB_FIRST                       186
#define IDB_FIRST_PRESSED               184
#define IDB_FIRST_FOCUSED               185
#define IDB_FIRST_DISABLED              187
#define IDB_LAST                        190
#define IDB_LAST_PRESSED                188
#define IDB_LAST_FOCUSED                189
#define IDB_LAST_DISABLED               191
#define IDB_NEXT                        194
#define IDB_NEXT_PRESSED                192
#define IDB_NEXT_FOCUSED                193
#define IDB_NEXT_DISABLED               195
#define IDB_PREVIOUS                    182
#define IDB_PREVIOUS_PRESSED            180
#define IDB_PREVIOUS_FOCUSED            181
#define IDB_PREVIOUS_DISABLED           183

// The event icon strips: 97 icons of 32, 24 and 16 by 15 pixels; the last is
// also the event toolbar's strip.
#define IDB_EVENT_ICONS_32              278
#define IDB_EVENT_ICONS_24              279
#define IDB_EVENT_ICONS_16              280
// The About box: the program's icon and the build line.
#define IDD_ABOUTBOX                    100
#define IDC_ABOUT_ICON                  1105
#define IDC_ABOUT_BUILD                 1106

// The session browser ("Session manager"): criteria, the list of sessions,
// import and export.
#define IDD_BROWSE_SESSIONS             224
#define IDC_BROWSE_CRITERIA             1284
#define IDC_BROWSE_YEAR_LABEL           1285
#define IDC_BROWSE_YEAR                 1270
#define IDC_BROWSE_MONTH_LABEL          1286
#define IDC_BROWSE_MONTH                1272
#define IDC_BROWSE_PARTICIPANT_LABEL    1287
#define IDC_BROWSE_PARTICIPANT          1273
#define IDC_BROWSE_PARTICIPANT_DETAILS  1282
#define IDC_BROWSE_INSTRUCTOR_LABEL     1288
#define IDC_BROWSE_INSTRUCTOR           1028
#define IDC_BROWSE_INSTRUCTOR_DETAILS   1130
#define IDC_BROWSE_SEARCH               1289
#define IDC_BROWSE_LIST_LABEL           1280
#define IDC_BROWSE_LIST                 1274
#define IDC_BROWSE_STATUS               1275
#define IDC_BROWSE_HINT                 1277
#define IDC_BROWSE_IMPORT               1366
#define IDC_BROWSE_EXPORT               1365
