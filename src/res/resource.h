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

// The record editors of algorithms, persons and scenarios, and the editors
// of a scenario's events. The editors share the ids of the controls they
// have in common.
#define IDD_ALGORITHM                   179
#define IDD_PERSON                      216
#define IDD_SCENARIO                    220
#define IDD_EDIT_EVENTS                 225
#define IDD_EVENT                       232
#define IDC_EDITOR_NAME                 1118
#define IDC_ALG_INIT_VENT               1110
#define IDC_ALG_VRATE_LOW               1111
#define IDC_ALG_VRATE_HIGH              1133
#define IDC_ALG_VVOL_LOW                1199
#define IDC_ALG_VVOL_HIGH               1135
#define IDC_ALG_ECC_LOW                 1136
#define IDC_ALG_ECC_HIGH                1137
#define IDC_ALG_SHARE_RECC              1138
#define IDC_ALG_SCRATCH                 1139
#define IDC_ALG_SHARE_LOW               1140
#define IDC_ALG_SHARE_HIGH              1141
#define IDC_ALG_DEPTH_LOW               1142
#define IDC_ALG_DEPTH_HIGH              1143
#define IDC_ALG_SINGLE_VENT             1144
#define IDC_ALG_SINGLE_COMP             1145
#define IDC_ALG_DOUBLE_VENT             1146
#define IDC_ALG_DOUBLE_COMP             1147
#define IDC_ALG_SHARE_REST              1148
#define IDC_ALG_PERCENT                 1360
#define IDC_ALG_PERCENT_SLASH           1361
#define IDC_ALG_PERCENT_REST            1362
#define IDC_PERSON_INSTRUCTOR           1028
#define IDC_PERSON_ADDRESS              1119
#define IDC_PERSON_PHONE                1120
#define IDC_PERSON_NOTES                1121
#define IDC_PERSON_DEGREE               1122
#define IDC_PERSON_COURSES              1124
#define IDC_PERSON_RESUSCITATIONS       1125
#define IDC_SCENARIO_DURATION           1076
#define IDC_SCENARIO_ALGORITHM          1080
#define IDC_SCENARIO_DETAILS            1084
#define IDC_SCENARIO_MODE               1103
#define IDC_SCENARIO_EDIT_EVENTS        1174
#define IDC_SCENARIO_REGISTER           1191
#define IDC_EVENTS_UP                   1108
#define IDC_EVENTS_DOWN                 1166
#define IDC_EVENTS_LIST                 1174
#define IDC_EVENTS_ADD                  1290
#define IDC_EVENTS_LABEL                1292
#define IDC_EVENT_ICONS                 1278
#define IDC_EVENT_TOOLTIP               1294
#define IDC_EVENT_PICTURE               1295
// The About box: the program's icon and the build line.
#define IDD_ABOUTBOX                    100
#define IDC_ABOUT_ICON                  1105
#define IDC_ABOUT_BUILD                 1106
