#pragma once
// The controls of the run-course form's eight schedule rows, row by row.

namespace res {

struct RunCourseRowIds {
    int number, ventilation, compression, scenario, manikin, start, end, done, startButton, pauseButton, details;
};

inline constexpr RunCourseRowIds runCourseRows[8] = {
    {1134, 1243, 1030, 1254, 1032, 1200, 1201, 1000, 1172, 1173, 1202},
    {1203, 1035, 1219, 1244, 1236, 1378, 1204, 1002, 1170, 1175, 1205},
    {1206, 1251, 1037, 1245, 1039, 1207, 1208, 1011, 1176, 1177, 1209},
    {1210, 1041, 1220, 1246, 1237, 1211, 1212, 1213, 1178, 1180, 1149},
    {1150, 1252, 1043, 1247, 1045, 1151, 1152, 1214, 1181, 1182, 1153},
    {1154, 1047, 1221, 1248, 1238, 1155, 1156, 1215, 1195, 1196, 1157},
    {1158, 1253, 1049, 1249, 1051, 1159, 1160, 1216, 1197, 1198, 1161},
    {1162, 1053, 1222, 1250, 1239, 1163, 1164, 1217, 1187, 1188, 1165},
};

} // namespace res
