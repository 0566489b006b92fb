#pragma once
// The arithmetic of the report control's rows without a window: which rows
// fit, where scrolling lands, which row a point is on, the wheel, and the
// colours a row and a cell are painted in.
#include "ui/ReportModel.h"

// Rows from a first display position, each as high as the row height plus
// its extra area, in a row area of a given height.
class ReportLayout {
public:
    ReportLayout(const ReportModel& model, int rowHeight, int areaHeight);

    int count() const { return rows; }
    int heightAt(int position) const;
    // The rows that fit from `first` (or, backwards, that end at it); with
    // wholeOnly a row cut by the bottom is not counted. *last is the last
    // row counted (backwards: the first row of that page).
    int countVisibleRows(bool wholeOnly, int first, int* last, bool backwards) const;
    // The first row of the page whose last whole row is `position`.
    int pageEndingAt(int position) const;

    // First visible row after each scroll command.
    int lineUp(int first) const;
    int lineDown(int first) const;
    int pageUp(int first) const;
    int pageDown(int first) const;
    int thumb(int track) const;
    int bottom() const { return rows == 0 ? 0 : pageEndingAt(rows - 1); }
    // The first row that shows `position` whole, starting from `first`.
    int scrollToShow(int first, int position) const;

    // The display position at y (0 = the row area's top) from `first`, and
    // that row's top; -2 below the rows.
    int positionAt(int first, int y, int* rowTop = nullptr) const;

private:
    const ReportModel& model;
    int rowHeight;
    int area;
    int rows;
};

// Wheel turns to scroll steps: whole notches of 120 units times the lines per
// notch (or pages with -1); small deltas of fine wheels add up.
class WheelSteps {
public:
    // Lines (or pages) to scroll up, negative down.
    int add(int delta, int linesPerNotch);
    int remainder = 0;
};

// The colours a control paints with.
struct ReportColours {
    COLORREF outside = 0xF0F0F0;
    COLORREF row = 0xFFFFFF;
    COLORREF selectedFocused = 0xD77800;
    COLORREF selectedUnfocused = 0xF0F0F0;
    COLORREF text = 0x000000;
    COLORREF selectedText = 0xFFFFFF;
    COLORREF selectedTextUnfocused = 0x000000;
    COLORREF grid = 0xF0F0F0;
    COLORREF band = 0xF0F0F0;
    COLORREF shadow = 0xA0A0A0;
    COLORREF highlight = 0xFFFFFF;
    COLORREF darkShadow = 0x696969;
};

COLORREF rowBackground(const ReportModel& model, const ReportColours& colours, bool odd, int background, bool selected,
                       bool focused);
COLORREF cellTextColour(const ReportModel& model, const ReportColours& colours, int colourIndex, bool selected,
                        bool focused);
