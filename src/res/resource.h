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
// The configuration dialog (a property folder with Get and Send buttons),
// its five pages, their picture and the icon legend dialog. Control ids
// repeat between pages, hence the page in each name.
#define IDD_CONFIGURATION               255
#define IDC_CONFIG_GET                  3
#define IDC_CONFIG_SEND                 4
#define IDB_CONFIG_PICTURE              253
#define IDD_CONFIG_GENERAL              246
#define IDC_GENERAL_END_SOUND           1339
#define IDC_GENERAL_METRONOME           1341
#define IDD_CONFIG_DEBRIEFING1          245
#define IDC_DEB1_INITIAL_VENT           1347
#define IDC_DEB1_VENT_RATE              1348
#define IDC_DEB1_AVERAGE_VOLUME         1372
#define IDC_DEB1_STOMACH                1351
#define IDC_DEB1_MINUTE_VOLUME          1349
#define IDC_DEB1_MINUTE_LOW             1376
#define IDC_DEB1_MINUTE_HIGH            1357
#define IDC_DEB1_VENT_COMP_RATIO        1374
#define IDC_DEB1_AS_COUNTS              1363
#define IDC_DEB1_AS_PERCENT             1364
#define IDC_DEB1_COMMENTS               1350
#define IDD_CONFIG_DEBRIEFING2          250
#define IDC_DEB2_RATE                   1350
#define IDC_DEB2_COMP_RELAX             1352
#define IDC_DEB2_DEPTH                  1353
#define IDC_DEB2_PAUSE                  1354
#define IDC_DEB2_WRONG_HAND             1355
#define IDC_DEB2_LEANINGS               1356
#define IDC_DEB2_CARDIAC_OUTPUT         1377
#define IDC_DEB2_CO_LOW                 1336
#define IDC_DEB2_CO_HIGH                1373
#define IDC_DEB2_CO_PER_COMPRESSION     1338
#define IDC_DEB2_CO_PER_WRONG_HAND      1339
#define IDC_DEB2_DEPTH_LOW              1340
#define IDC_DEB2_DEPTH_HIGH             1375
#define IDC_DEB2_MAX_PAUSE              1342
#define IDC_DEB2_OVERRIDE_DEPTH         1358
#define IDC_DEB2_NOTATION               1271
#define IDD_CONFIG_PRINT                251
#define IDC_PRINT_HEADING               1335
#define IDC_PRINT_GRAPH                 1345
#define IDC_PRINT_MINUTES               1344
#define IDC_PRINT_MINUTES_SPIN          1346
#define IDC_PRINT_EVENT_LIST            1001
#define IDC_PRINT_APPROVAL              1004
#define IDC_PRINT_DEBRIEFING_TEXT       1367
#define IDD_CONFIG_CPB                  252
#define IDC_CPB_ALGORITHM1              1080
#define IDC_CPB_ALGORITHM2              1081
#define IDC_CPB_DETAILS1                1084
#define IDC_CPB_DETAILS2                1085
#define IDC_CPB_ICON1                   1384
#define IDC_CPB_ICON2                   1390
#define IDC_CPB_ICON3                   1391
#define IDC_CPB_ICON4                   1392
#define IDC_CPB_ICON5                   1393
#define IDC_CPB_ICON6                   1394
#define IDC_CPB_LANGUAGE1               1395
#define IDC_CPB_LANGUAGE2               1396
#define IDC_CPB_LANGUAGE3               1397
#define IDC_CPB_REGISTER_EVENTS         1389
#define IDC_CPB_ENABLE_LEGENDS          1405
#define IDC_CPB_EDIT_LEGENDS            1404
#define IDC_CPB_LOOK_FOR                1101
#define IDD_ICON_LEGENDS                286
#define IDC_LEGEND_TEXT1                1333
#define IDC_LEGEND_TEXT2                1334
#define IDC_LEGEND_TEXT3                1335
#define IDC_LEGEND_TEXT4                1336
#define IDC_LEGEND_TEXT5                1337
#define IDC_LEGEND_TEXT6                1338
#define IDC_LEGEND_ICON1                1406
#define IDC_LEGEND_ICON2                1407
#define IDC_LEGEND_ICON3                1412
#define IDC_LEGEND_ICON4                1413
#define IDC_LEGEND_ICON5                1414
#define IDC_LEGEND_ICON6                1415
// The About box: the program's icon and the build line.
#define IDD_ABOUTBOX                    100
#define IDC_ABOUT_ICON                  1105
#define IDC_ABOUT_BUILD                 1106
// The stored-session editor.
#define IDD_SESSION_EDITOR              222
#define IDC_SES_TRAINING_MODE           1103
#define IDC_SES_VENTILATION             1079
#define IDC_SES_VENTILATION_DETAILS     1083
#define IDC_SES_COMPRESSION             1078
#define IDC_SES_COMPRESSION_DETAILS     1088
#define IDC_SES_SCENARIO                1077
#define IDC_SES_SCENARIO_DETAILS        1090
#define IDC_SES_ALGORITHM               1080
#define IDC_SES_ALGORITHM_DETAILS       1093
#define IDC_SES_DURATION                1076
#define IDC_SES_METRONOME               1096
#define IDC_SES_MANIKIN                 1104
#define IDC_SES_DATE                    1129
#define IDC_SES_START_TIME              1109
#define IDC_SES_INSTRUCTOR              1028
#define IDC_SES_INSTRUCTOR_DETAILS      1098
#define IDC_SES_APPROVED                1020
#define IDC_SES_APPROVED_BY             1241
#define IDC_SES_APPROVED_BY_DETAILS     1100
#define IDC_SES_NOTES                   1121
#define IDC_SES_GRAPH                   1268
#define IDC_SES_DEBRIEFING              1255
// The review page of a live session.
#define IDD_SESSION_REVIEW              223
#define IDC_REV_TRAINING_MODE           1103
#define IDC_REV_VENTILATION             1079
#define IDC_REV_VENTILATION_DETAILS     1083
#define IDC_REV_COMPRESSION             1078
#define IDC_REV_COMPRESSION_DETAILS     1082
#define IDC_REV_SCENARIO                1077
#define IDC_REV_SCENARIO_DETAILS        1090
#define IDC_REV_ALGORITHM               1080
#define IDC_REV_ALGORITHM_DETAILS       1093
#define IDC_REV_DURATION                1076
#define IDC_REV_METRONOME               1096
#define IDC_REV_MANIKIN                 1131
#define IDC_REV_DATE                    1129
#define IDC_REV_START_TIME              1109
#define IDC_REV_INSTRUCTOR              1028
#define IDC_REV_INSTRUCTOR_DETAILS      1098
#define IDC_REV_APPROVED                1020
#define IDC_REV_APPROVED_BY             1241
#define IDC_REV_APPROVED_BY_DETAILS     1100
#define IDC_REV_NOTES                   1121
#define IDC_REV_DEBRIEFING              1255
#define IDC_REV_PRINT                   1072

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

// The run-course form: the course, eight schedule rows (their ids are in
// RunCourseIds.h), the row commands, Close and Help.
#define IDD_RUN_COURSE                  219
#define IDC_RUN_INSTRUCTOR              1028
#define IDC_RUN_DATE                    1129
#define IDC_RUN_TIME                    1109
#define IDC_RUN_SCROLL                  1256
#define IDC_RUN_HIGHLIGHT               1281
#define IDC_RUN_MOVE_UP                 1108
#define IDC_RUN_MOVE_DOWN               1166
#define IDC_RUN_REMOVE                  1168
#define IDC_RUN_PRINT                   1169
#define IDC_RUN_SORT                    1167

// The new-session form: the session's settings, the manikin and the participants.
#define IDD_NEW_SESSION                 146
#define IDC_NEW_SCENARIO                1077
#define IDC_NEW_SCENARIO_DETAILS        1081
#define IDC_NEW_ALGORITHM               1080
#define IDC_NEW_ALGORITHM_DETAILS       1084
#define IDC_NEW_DURATION                1381
#define IDC_NEW_REGISTER_EVENTS         1085
#define IDC_NEW_MANIKIN                 1104
#define IDC_NEW_CALIBRATE               1101
#define IDC_NEW_TRAINING_MODE           1103
#define IDC_NEW_VENTILATION             1079
#define IDC_NEW_VENTILATION_DETAILS     1083
#define IDC_NEW_COMPRESSION             1078
#define IDC_NEW_COMPRESSION_DETAILS     1082
#define IDC_NEW_CONFIGURATION           1337
#define IDC_NEW_COURSE_PLANNER          3
// The CPR Controller transfer: the two selectors and the progress window.
#define IDD_GET_SELECTOR                257
#define IDD_SEND_SELECTOR               258
#define IDD_TRANSFER_PROGRESS           269
#define IDC_SELECTOR_LABEL              1390
#define IDC_SELECTOR_SEND_LIST          1392
#define IDC_SELECTOR_GET_LIST           1276
#define IDC_PROGRESS_BAR                1393
#define IDC_PROGRESS_PERCENT            1394
#define IDC_PROGRESS_TEXT               1395
// The course planner: the course's fields and record buttons, four schedule
// rows (their ids are in CoursePlannerIds.h), the row commands with the
// labels beside them, Run course, Close and Help.
#define IDD_COURSE_PLANNER              217
#define IDC_PLAN_QUICKFIND_LABEL        1298
#define IDC_PLAN_INSTRUCTOR_LABEL       1309
#define IDC_PLAN_DATE_LABEL             1310
#define IDC_PLAN_TIME_LABEL             1311
#define IDC_PLAN_SCENARIO_LABEL         1312
#define IDC_PLAN_NOTES_LABEL            1313
#define IDC_PLAN_INSTRUCTOR             1028
#define IDC_PLAN_INSTRUCTOR_DETAILS     1130
#define IDC_PLAN_DATE                   1129
#define IDC_PLAN_TIME                   1109
#define IDC_PLAN_SCENARIO               1235
#define IDC_PLAN_SCENARIO_DETAILS       1081
#define IDC_PLAN_NOTES                  1121
#define IDC_PLAN_LINE_TOP               1299
#define IDC_PLAN_LINE_SCHEDULE          1300
#define IDC_PLAN_LINE_BOTTOM            1301
#define IDC_PLAN_LINE_RECORD            1308
#define IDC_PLAN_SCHEDULE_LABEL         1303
#define IDC_PLAN_HEAD_VENTILATION       1302
#define IDC_PLAN_HEAD_COMPRESSION       1304
#define IDC_PLAN_HEAD_MANIKIN           1305
#define IDC_PLAN_HEAD_START             1306
#define IDC_PLAN_HEAD_END               1307
#define IDC_PLAN_SCROLL                 1256
#define IDC_PLAN_HIGHLIGHT              1179
#define IDC_PLAN_MOVE_UP                1108
#define IDC_PLAN_MOVE_DOWN              1166
#define IDC_PLAN_REMOVE                 1168
#define IDC_PLAN_SORT                   1167
#define IDC_PLAN_PRINT                  1169
#define IDC_PLAN_RUN                    9
#define IDC_PLAN_MOVE_UP_LABEL          108
#define IDC_PLAN_MOVE_DOWN_LABEL        109
#define IDC_PLAN_REMOVE_LABEL           110
#define IDC_PLAN_SORT_LABEL             111
#define IDC_PLAN_PRINT_LABEL            112
// The planner's row commands: normal, pressed, focused, disabled.
#define IDB_MOVE_UP                     196
#define IDB_MOVE_UP_PRESSED             197
#define IDB_MOVE_UP_FOCUSED             198
#define IDB_MOVE_UP_DISABLED            199
#define IDB_MOVE_DOWN                   202
#define IDB_MOVE_DOWN_PRESSED           200
#define IDB_MOVE_DOWN_FOCUSED           201
#define IDB_MOVE_DOWN_DISABLED          203
#define IDB_REMOVE_ROW                  206
#define IDB_REMOVE_ROW_PRESSED          204
#define IDB_REMOVE_ROW_FOCUSED          205
#define IDB_REMOVE_ROW_DISABLED         207
#define IDB_SORT_ROWS                   210
#define IDB_SORT_ROWS_PRESSED           208
#define IDB_SORT_ROWS_FOCUSED           209
#define IDB_SORT_ROWS_DISABLED          211
#define IDB_PRINT_SCHEDULE              213
#define IDB_PRINT_SCHEDULE_PRESSED      215
#define IDB_PRINT_SCHEDULE_FOCUSED      214
#define IDB_PRINT_SCHEDULE_DISABLED     212
