#pragma once
// The flat column header of the report control: it paints its items flat,
// limits how far a column's divider can be dragged, draws the sort arrow of
// the sort column, and shows where a column dragged onto it would land.
#include "ui/FlatHeaderModel.h"

#include <QPointer>
#include <QWidget>

class QPainter;
class HeaderDropWnd;

// What the header tells its owner.
class FlatHeaderListener {
public:
    virtual ~FlatHeaderListener() = default;
    // An item's width, text or format changed (mask of HDI_ bits).
    virtual void headerItemChanged(int item, int mask) = 0;
    // A divider was double-clicked (never for a fixed-width item).
    virtual void headerDividerDoubleClicked(int item) = 0;
};

class CFlatHeaderCtrl : public QWidget {
public:
    explicit CFlatHeaderCtrl(QWidget* parent = nullptr);
    ~CFlatHeaderCtrl() override;

    void setListener(FlatHeaderListener* listener) { owner = listener; }
    FlatHeaderModel& model() { return items; }
    const FlatHeaderModel& model() const { return items; }

    // Item operations; every change of an item tells the listener.
    int insertItem(int index, const HeaderItem& item, int order = -1);
    bool deleteItem(int index);
    bool setItem(int index, const HeaderItem& item, int mask);
    bool setItemWidth(int index, int width);
    bool getItem(int index, HeaderItem* item) const;
    int getItemCount() const { return items.count(); }
    int orderToIndex(int position) const { return items.orderToIndex(position); }

    bool setItemEx(int index, const HeaderItemEx& extra);
    bool getItemEx(int index, HeaderItemEx* extra) const { return items.getItemEx(index, extra); }
    void setSortColumn(int item, bool ascending);
    int getSortColumn(bool* ascending = nullptr) const;
    // 1 margin; 2 arrow width (low word) and height (high word); 3 a wider
    // layout; 4 and 5 stored; 6 tips on or off. False for other kinds.
    bool setOption(int kind, int value);
    int getOption(int kind) const;
    void setHeight(int height);
    int getHeight() const;
    // The height the header takes above the rows.
    int layoutHeight() const;
    void setImageSize(int width, int height);

    // The header's content scrolls with its rows: item x positions are
    // shifted left by this many pixels.
    void setOffset(int pixels);
    int offset() const { return scroll; }

    // Shows the drop marker at the display position a dragged column would
    // take at this screen point; -1 (and no marker) off the items.
    int setHotDivider(const QPoint& globalPoint);
    // The same for a known position; one outside 0..count removes the marker.
    int setHotDivider(int position);
    QWidget* dropMarker() const;

    void paintTo(QPainter& painter, const QRect& area);
    // Draws one item's content (text, sort arrow, bitmap) inside rect.
    virtual void drawItem(QPainter& painter, const RECT& rect, const HeaderItem& item, bool isSortItem,
                          bool ascending);

    QColor highlightColour() const;
    QColor shadowColour() const;
    QColor faceColour() const;
    QColor textColour() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    int textWidth(const QString& text) const;
    HeaderHit hitAt(int x) const { return items.hitTest(x + scroll); }
    bool resizable(int item) const;
    void changed(int item, int mask);

    FlatHeaderModel items;
    FlatHeaderListener* owner = nullptr;
    int options[7] = {};
    int sortItem = -1;
    bool ascending = true;
    int fixedHeight = -1;
    int scroll = 0;
    int pressedItem = -1;
    int dragItem = -1;
    int dragOffset = 0;
    QPointer<HeaderDropWnd> marker;
};

// The two arrows that mark where a column would be dropped.
class HeaderDropWnd : public QWidget {
public:
    HeaderDropWnd(int headerHeight, COLORREF colour);
    // Middle at (x - 6, y - height / 2).
    void placeAt(const QPoint& globalPoint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    COLORREF colour;
};

// A picture of one header item that follows the mouse while a column is dragged.
class HeaderDragWnd : public QWidget {
public:
    HeaderDragWnd(CFlatHeaderCtrl* header, int item, const HeaderItem& content, const QSize& size);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<CFlatHeaderCtrl> header;
    int index;
    HeaderItem content;
};
