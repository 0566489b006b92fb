#pragma once
// Printing a course's schedule from a form: the print dialog on the
// application's printer settings, then the printout; its failures are told
// in boxes owned by the form. Both course forms print through it.
#include "Database/CourseTable.h"
#include "Database/SessionRecord.h"

#include <vector>

class QWidget;

void printCourseSchedule(const CourseRecord& course, const std::vector<SessionRecord>& rows, QWidget* owner);
