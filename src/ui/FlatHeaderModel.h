#pragma once
// The items of a flat column header without a window: widths, formats,
// texts, display order, the per-item limits, and the arithmetic of hit tests,
// needed widths, drop positions and sort arrows.
#include "platform/WinTypes.h"

#include <QString>
#include <array>
#include <functional>
#include <vector>

// Header item formats.
constexpr int HDF_LEFT = 0x0000;
constexpr int HDF_RIGHT = 0x0001;
constexpr int HDF_CENTER = 0x0002;
constexpr int HDF_JUSTIFYMASK = 0x0003;
constexpr int HDF_IMAGE = 0x0800;
constexpr int HDF_BITMAP_ON_RIGHT = 0x1000;
constexpr int HDF_BITMAP = 0x2000;
constexpr int HDF_STRING = 0x4000;
constexpr int HDF_OWNERDRAW = 0x8000;

// What a header item change touched.
constexpr int HDI_WIDTH = 0x0001;
constexpr int HDI_TEXT = 0x0002;
constexpr int HDI_FORMAT = 0x0004;

struct HeaderItem {
    int width = 0;
    int format = HDF_LEFT | HDF_STRING;
    QString text;
    int data = 0;  // the caller's value (the report control keeps the column index here)
    int image = 0; // with HDF_IMAGE
    int bitmapWidth = 0; // with HDF_BITMAP: the bitmap's size (0 none)
    int bitmapHeight = 0;
};

// Extra per-item data.
struct HeaderItemEx {
    enum Flags { FitContent = 0x01, RoomForArrow = 0x02, FixedWidth = 0x04, HasTip = 0x08 };
    int flags = 0;
    int minWidth = 0;
    int maxWidth = -1;
    QString tip;
};

// Where a point lies on the header.
struct HeaderHit {
    enum Flags { Nowhere = 0x1, OnItem = 0x2, OnDivider = 0x4 };
    int flags = Nowhere;
    int item = -1;
};

class FlatHeaderModel {
public:
    int count() const { return int(items.size()); }
    // Inserts at index (clamped to the count) and at display position `order`
    // (clamped too; -1 appends); returns the index.
    int insertItem(int index, const HeaderItem& item, int order = -1);
    bool deleteItem(int index);
    const HeaderItem* item(int index) const;
    HeaderItem* item(int index);

    int orderToIndex(int position) const;
    int indexToOrder(int index) const;
    const std::vector<int>& order() const { return displayOrder; }
    bool setOrder(const std::vector<int>& newOrder);

    // The item's span on the header, left of position 0 at x = 0.
    RECT itemRect(int index, int height) const;
    int totalWidth() const;
    // The divider belongs to the item whose right edge is within the grip.
    HeaderHit hitTest(int x) const;
    static constexpr int dividerGrip = 4;

    // Applies the extra's limits to the item's width (needed width with
    // FitContent) and stores it; false for an index beyond the items.
    bool setItemEx(int index, const HeaderItemEx& extra, const std::function<int(const QString&)>& textWidth);
    bool getItemEx(int index, HeaderItemEx* extra) const;
    const HeaderItemEx* extra(int index) const;
    // The width an item's content needs.
    int neededWidth(int index, bool withArrow, const std::function<int(const QString&)>& textWidth) const;
    // A width kept within the item's limits while its divider is dragged.
    int clampDraggedWidth(int index, int width) const;

    // The display position a dragged column would be dropped at for x: the
    // hit item's position, one further right of its middle; -1 off the items.
    int dropPosition(int x) const;

    int margin = 6;
    int imageWidth = 0;
    int imageHeight = 0;
    int arrowWidth = 8;
    int arrowHeight = 8;

private:
    std::vector<HeaderItem> items;
    std::vector<HeaderItemEx> extras;
    std::vector<int> displayOrder; // position -> item index
};

// The two strokes of a sort arrow in a rectangle (highlight, then shadow),
// right-aligned when atRight, else at rect.left; none when too narrow.
struct SortArrow {
    bool drawn = false;
    std::vector<POINT> highlight;
    std::vector<POINT> shadow;
};
SortArrow sortArrow(const RECT& rect, int x, int width, int height, bool ascending);
