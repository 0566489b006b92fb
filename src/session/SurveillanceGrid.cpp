#include "session/SurveillanceGrid.h"

#include "Utillib/LogStream.h"

#include <cmath>

GridShape gridShape(int shown, int width, int height)
{
    GridShape shape;
    if (shown <= 0 || width <= 0 || height <= 0)
        return shape;
    const double n = shown, w = width, h = height;
    int columns = static_cast<int>(std::pow(std::pow(n, 0.1), 10.0 * w / (w + 1.5 * h)) + 0.5);
    int rows;
    if (columns == 0) {
        columns = rows = 1;
    } else {
        rows = std::max((columns + shown - 1) / columns, 1);
    }
    while (rows * columns < shown) {
        if (rows >= columns)
            ++columns;
        else
            ++rows;
    }
    while ((columns - 1) * rows >= shown)
        --columns;
    while (columns * (rows - 1) >= shown)
        --rows;
    LOG_ASSERT_TEXT(rows * columns >= shown, "(rows * columns) >= showCount");
    shape.columns = columns;
    shape.rows = rows;
    return shape;
}

CellParts cellParts(int x, int y, int width, int height, int captionHeight, int axisHeight)
{
    CellParts parts;
    parts.caption = { x, y, width, captionHeight, true };
    if (width <= 0)
        return parts;
    const int graph = (height - axisHeight - captionHeight) / 2;
    parts.axis = { x, y + captionHeight + graph, width, axisHeight, true };
    if (graph > 0) {
        parts.ventilation = { x, y + captionHeight, width, graph, true };
        parts.compression = { x, y + captionHeight + graph + axisHeight, width, graph, true };
    }
    return parts;
}
