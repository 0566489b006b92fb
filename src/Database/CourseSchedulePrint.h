#pragma once
// The paper copy of a course: two pictures, the title, the course's
// instructor, date, start time, default scenario and notes, and a table with
// one numbered line per session of the course. A schedule
// longer than the page goes on over further pages, each starting with the
// column headings again. Painted with a QPainter onto the print target the
// caller set up (a printer or a PDF file); the print dialog is the caller's.
#include "Database/CourseTable.h"
#include "Database/SessionRecord.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class QPrinter;

namespace courseprint {

// Positions on a page of W by H device pixels.
struct Geometry {
    int margin = 0;      // M
    int smallHeight = 0; // S, the height of picture 165
    int largeHeight = 0; // L, the height of picture 166
    int smallX = 0, smallY = 0, smallWidth = 0;
    int largeX = 0, largeWidth = 0;
    int titleY = 0;
};
Geometry geometryOf(int width, int height);

// The table's columns: ventilation, compression, scenario, manikin, time.
struct Columns {
    int start[5] = {};
    int width[5] = {};
};
// Lays the columns out between `left` and `right`, `gap` apart, from the
// width of each column's widest text (its heading or a cell). The manikin
// and time columns take their own width; the three name columns share the
// rest: one that needs less than its share keeps its own width and leaves
// the rest to the others, and room that is left over widens all three.
Columns layoutColumns(int left, int right, int gap, const int (&needed)[5]);

// A row's time cell: start, "-", end (a row without end time ends in "-").
std::string timeText(const SessionRecord& row);

// How many of a form's schedule rows are the course's sessions: all but an
// empty input row at the end, which is never printed.
std::size_t sessionCount(const std::vector<SessionRecord>& rows);

// How a job failed: the box's text and caption.
using ErrorReporter = std::function<void(const std::wstring& text, const std::wstring& caption)>;

// Prints the course and its sessions (`rows` as a form holds them, the input
// row included) onto the printer as it is set up; the document is named
// "Tavo CPR Course Schedule". False after the failure was reported.
bool printCourseSchedule(QPrinter& printer, const CourseRecord& course, const std::vector<SessionRecord>& rows,
                         const ErrorReporter& report);

} // namespace courseprint
