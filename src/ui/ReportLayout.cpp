#include "ui/ReportLayout.h"

#include <algorithm>

ReportLayout::ReportLayout(const ReportModel& m, int height, int areaHeight)
    : model(m), rowHeight(height), area(areaHeight), rows(m.getItemCount())
{
}

int ReportLayout::heightAt(int position) const
{
    return rowHeight + model.extraHeightOf(model.rowAt(position));
}

int ReportLayout::countVisibleRows(bool wholeOnly, int first, int* last, bool backwards) const
{
    int space = area;
    int counted = 0;
    int position = first;
    int step = backwards ? -1 : 1;
    int lastCounted = first;
    while (position >= 0 && position < rows && space > 0) {
        space -= heightAt(position);
        if (wholeOnly && space < 0)
            break;
        ++counted;
        lastCounted = position;
        position += step;
    }
    if (last)
        *last = counted > 0 ? lastCounted : first;
    return counted;
}

int ReportLayout::pageEndingAt(int position) const
{
    if (rows == 0)
        return 0;
    position = std::clamp(position, 0, rows - 1);
    int start = position;
    countVisibleRows(true, position, &start, true);
    return start;
}

int ReportLayout::lineUp(int first) const { return std::max(first - 1, 0); }

int ReportLayout::lineDown(int first) const
{
    int fit = countVisibleRows(true, first, nullptr, false);
    return first + fit < rows ? first + 1 : first;
}

int ReportLayout::pageUp(int first) const
{
    if (first <= 0)
        return 0;
    return std::max(pageEndingAt(first) - 1, 0);
}

int ReportLayout::pageDown(int first) const
{
    if (rows == 0)
        return 0;
    int fit = std::max(countVisibleRows(true, first, nullptr, false), 1);
    return thumb(std::min(first + fit, rows - 1));
}

int ReportLayout::thumb(int track) const
{
    if (rows == 0)
        return 0;
    track = std::clamp(track, 0, rows - 1);
    int last = track;
    countVisibleRows(true, track, &last, false);
    // Near the end the page that ends at the last row is shown full.
    if (last >= rows - 1)
        return std::min(track, bottom());
    return track;
}

int ReportLayout::scrollToShow(int first, int position) const
{
    if (position < 0 || position >= rows)
        return first;
    if (position < first)
        return position;
    int last = first;
    int fit = countVisibleRows(true, first, &last, false);
    if (fit == 0 || position > last)
        return pageEndingAt(position);
    return first;
}

int ReportLayout::positionAt(int first, int y, int* rowTop) const
{
    int top = 0;
    for (int position = first; position < rows && top <= area; ++position) {
        int h = heightAt(position);
        if (y >= top && y < top + h) {
            if (rowTop)
                *rowTop = top;
            return position;
        }
        top += h;
    }
    return ReportModel::noRow;
}

int WheelSteps::add(int delta, int linesPerNotch)
{
    const int units = remainder + delta * (linesPerNotch == -1 ? 1 : linesPerNotch);
    const int steps = units / 120;
    remainder = units % 120;
    return steps;
}

COLORREF rowBackground(const ReportModel& model, const ReportColours& colours, bool odd, int background, bool selected,
                       bool focused)
{
    COLORREF c = colours.row;
    if ((model.style & ReportStyle::AlternateShading) && odd)
        c = model.colourAt(0, c);
    if (background >= 0)
        c = model.colourAt(background, c);
    if (selected) {
        if (focused)
            c = colours.selectedFocused;
        else if (model.style & ReportStyle::KeepSelectionMark)
            c = colours.selectedUnfocused;
    }
    return c;
}

COLORREF cellTextColour(const ReportModel& model, const ReportColours& colours, int colourIndex, bool selected,
                        bool focused)
{
    const bool indexed = colourIndex >= 0 && colourIndex < int(model.colourTable().size());
    COLORREF c = indexed ? model.colourTable()[colourIndex] : colours.text;
    const bool keep = indexed && (model.style & ReportStyle::KeepItemColours);
    if (selected && !keep) {
        if (focused)
            c = colours.selectedText;
        else if (model.style & ReportStyle::KeepSelectionMark)
            c = colours.selectedTextUnfocused;
    }
    return c;
}
