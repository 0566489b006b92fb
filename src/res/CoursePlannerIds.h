#pragma once
// The controls of the course planner's four schedule rows, row by row.

namespace res {

struct CoursePlannerRowIds {
    int number, ventilation, compression, manikin, start, end, details;
};

inline constexpr CoursePlannerRowIds coursePlannerRows[4] = {
    {1134, 1243, 1030, 1032, 1200, 1201, 1202},
    {1203, 1035, 1219, 1236, 1378, 1204, 1205},
    {1206, 1251, 1037, 1039, 1207, 1208, 1209},
    {1210, 1041, 1220, 1237, 1211, 1212, 1149},
};

} // namespace res
