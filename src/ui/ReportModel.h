#pragma once
// The data of the report control without a window: column definitions, rows
// with one subitem per column, the colour table, the display order of rows,
// selection and focus, and the owner-data row cache.
#include "platform/WinTypes.h"

#include <QString>
#include <array>
#include <functional>
#include <set>
#include <vector>

// Control styles (the low 16 bits of the window style).
namespace ReportStyle {
constexpr DWORD SingleSelect = 0x0001;
constexpr DWORD KeepSelectionMark = 0x0002; // selected rows stay marked without focus
constexpr DWORD KeepItemColours = 0x0004;   // selected rows keep the item text colours
constexpr DWORD AlternateShading = 0x0008;
constexpr DWORD HorizontalGrid = 0x0010;
constexpr DWORD VerticalGrid = 0x0020;
constexpr DWORD NoHeader = 0x0040;
constexpr DWORD NoSort = 0x0080;
constexpr DWORD FixedRow = 0x0200;
constexpr DWORD GridToBottom = 0x0400;
constexpr DWORD OwnerData = 0x0800;
constexpr DWORD CellFocus = 0x1000;
constexpr DWORD Tips = 0x2000;
} // namespace ReportStyle

struct ReportColumn {
    // Format bits beyond the header's own.
    static constexpr int NoFit = 0x00040000;       // a divider double click does not fit it
    static constexpr int ReserveCheck = 0x02000000; // every cell keeps the check box's space
    static constexpr int NoFocus = 0x04000000;      // never takes the cell focus
    int format = 0x4000; // HDF_LEFT | HDF_STRING
    int width = -1;      // negative: the default width
    int minWidth = 0;
    int maxWidth = -1;
    int image = 0;
    QString title;
};

// Fields of ReportItem that a request carries.
namespace ReportMask {
constexpr int Text = 0x01;
constexpr int Colour = 0x02;
constexpr int Image = 0x04;
constexpr int Check = 0x08;
constexpr int Background = 0x10;
constexpr int ExtraHeight = 0x20;
constexpr int State = 0x40;
constexpr int Data = 0x80;
} // namespace ReportMask

namespace ReportState {
constexpr int Focused = 0x1;
constexpr int Selected = 0x2;
constexpr int Bold = 0x4;
} // namespace ReportState

struct ReportItem {
    int mask = 0;
    int row = 0;
    int subitem = 0;
    QString text;
    int textMax = 256; // the longest text read back, terminator counted
    int colour = -1;
    int image = -1;
    int check = -1;
    int background = -1;
    int extraHeight = 0;
    int state = 0;
    int data = 0;
};

struct ReportSubitem {
    int image = -1;
    int check = -1;
    int colour = -1;
    QString text; // empty: the subitem has no text
};

struct ReportData {
    std::vector<ReportSubitem> subitems;
    int background = -1;
    int state = 0;
    int extraHeight = 0;
    int data = 0;
};

struct ReportFind {
    static constexpr int Text = 0x01;
    static constexpr int Prefix = 0x02;
    static constexpr int Image = 0x04;
    static constexpr int Check = 0x08;
    static constexpr int Wrap = 0x100;
    static constexpr int Backwards = 0x200;
    int flags = 0;
    QString text;
    int image = -1;
    int check = -1;
};

// What the model asks of its owner while selecting and in owner-data mode.
class ReportModelOwner {
public:
    virtual ~ReportModelOwner() = default;
    // A row's selection is about to change; non-zero vetoes it.
    virtual int selectionChanging(int row, int newState) = 0;
    virtual void selectionChanged(int row, int newState) = 0;
    virtual void rowChanged(int row) = 0;
    // Owner data: fill the request for a row.
    virtual void requestRow(ReportItem& request) = 0;
};

class ReportModel {
public:
    static constexpr int defaultWidth = 200;
    static constexpr int fixedRowIndex = -1;
    static constexpr int noRow = -2;

    void setOwner(ReportModelOwner* owner) { listener = owner; }
    DWORD style = 0;

    // Columns.
    int defineColumn(int index, const ReportColumn& column);
    bool deleteColumn(int index);
    bool modifyColumn(int index, const ReportColumn& column);
    int columnCount() const { return int(columns.size()); }
    const ReportColumn* column(int index) const;
    ReportColumn* column(int index);

    // Colours.
    int insertColor(int index, COLORREF colour);
    bool deleteColor(int index);
    const std::vector<COLORREF>& colourTable() const { return colours; }
    // The table's entry, or `fallback` for an index it does not have.
    COLORREF colourAt(int index, COLORREF fallback) const;

    // Rows.
    int insertItem(const ReportItem& item);
    bool setItem(const ReportItem& item);
    bool getItem(ReportItem* item) const;
    bool deleteItem(int row);
    void deleteAllItems();
    int getItemCount() const;
    bool setItemCount(int count); // owner data only
    const ReportData* row(int index) const; // -1 the fixed row; null when none
    int stateOf(int row) const;
    int extraHeightOf(int row) const;

    // Display order.
    int rowAt(int position) const;       // -1 for position -1 (the fixed row), -2 when none
    int positionOf(int row) const;       // -1 for the fixed row, -2 when none
    bool setRowOrder(const std::vector<int>& order);
    const std::vector<int>& getRowOrder() const { return order; }
    bool moveRowUp(int position);
    bool moveRowDown(int position);
    int findItem(const ReportFind& find, int column, int start) const;
    // Sorts the display positions with the comparison (negative, 0, positive).
    void sortRange(int low, int high, const std::function<int(int, int)>& compare);

    // Selection and focus (display positions; -1 is the fixed row).
    void select(int from, int to, bool change, bool extend, bool toggle, bool notify);
    int focusRow = noRow;
    int focusColumn = -1;
    int anchor = noRow; // a display position
    int getFirstSelected() const;
    int getNextSelected(int after) const;
    const std::set<int>& selectedRows() const { return selection; }

    // Owner-data cache of 128 rows.
    bool cacheEnabled = true;
    void cacheInvalidate();

private:
    ReportData* storedRow(int index);
    ReportData emptyRow() const;
    const ReportData* ownerRow(int index, int subitem) const;
    ReportData* ownerRowFromParent(int index, int subitem) const;
    void setState(int row, int state);
    bool changeSelection(int row, bool selected, bool toggle, bool notify);
    void rebuildReverse() const;

    std::vector<ReportColumn> columns;
    std::vector<ReportData> rows;
    ReportData fixed;
    std::vector<COLORREF> colours;
    std::vector<int> order; // display position -> row
    mutable std::vector<int> reverse; // row -> display position
    mutable bool reverseStale = true;
    std::set<int> selection;
    int ownerCount = 0;
    ReportModelOwner* listener = nullptr;

    struct CacheEntry {
        int row = noRow - 1;
        ReportData data;
        std::vector<bool> filled;
    };
    mutable std::array<CacheEntry, 128> cache;
    mutable CacheEntry fixedCache;
};
