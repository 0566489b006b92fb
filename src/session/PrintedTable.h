#pragma once
// The debriefing table in its printed form: one line per shown row with the
// row's name, its gauge, its figure, the recommendation in brackets and the
// evaluation, and a note line below; lines follow at one and a half line
// heights. The debriefing page supplies the rows.
#include <algorithm>
#include <string>
#include <vector>

class QPainter;
class RangeGauge;

namespace sessionprint {

struct PrintedRow {
    std::wstring name;
    RangeGauge* gauge = nullptr; // none draws no gauge
    std::wstring total;
    std::wstring average;
    std::wstring recommended;
    std::wstring evaluation;
};

// Where the items of every line go, from the widest texts of the rows.
struct TableColumns {
    int gaugeFrom = 0;
    int gaugeTo = 0;
    int figureX = 0;
    int recommendationX = 0;
    int evaluationX = 0;
};

// The figure printed: the Average when there is one, else the Total.
std::wstring figureOf(const PrintedRow& row);
// Widths measured by `width`; L, R and W the left, right and width of a line.
template <class Measure>
TableColumns tableColumns(const std::vector<PrintedRow>& rows, int left, int width, Measure measure)
{
    int name = 0, figure = 0, recommended = 0, evaluation = 0;
    for (const PrintedRow& row : rows) {
        name = std::max(name, measure(row.name));
        figure = std::max(figure, measure(figureOf(row)));
        recommended = std::max(recommended, measure(L" (" + row.recommended + L")"));
        evaluation = std::max(evaluation, measure(row.evaluation));
    }
    const int right = left + width;
    TableColumns c;
    c.evaluationX = right - evaluation;
    const int recommendationColumn = c.evaluationX - recommended;
    const int figureColumn = recommendationColumn - figure;
    c.gaugeFrom = static_cast<int>(left + name + 0.03 * width);
    c.gaugeTo = static_cast<int>(figureColumn - 0.05 * width);
    c.figureX = static_cast<int>(figureColumn - 0.03 * width);
    c.recommendationX = static_cast<int>(recommendationColumn - 0.02 * width);
    return c;
}

// Draws the rows and the note at (left, top); returns the height used,
// (rows + 1) x line height x 3 / 2.
int printTable(QPainter& painter, const std::vector<PrintedRow>& rows, int left, int top, int width, int lineHeight);

} // namespace sessionprint
