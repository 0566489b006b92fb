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

// The About box: the program's icon and the build line.
#define IDD_ABOUTBOX                    100
#define IDC_ABOUT_ICON                  1105
#define IDC_ABOUT_BUILD                 1106
