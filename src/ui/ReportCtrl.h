#pragma once
// The report control: an owner-drawn list of rows under a flat header, with
// text, colour, check and gauge-bar cells, scrolling, keyboard and mouse
// selection, in-place editing, tips and a column chooser. Its parent hears
// of what happens through ReportListener.
#include "ui/FlatHeaderCtrl.h"
#include "ui/ReportLayout.h"
#include "ui/ReportModel.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <functional>

class QPainter;
class CReportCtrl;
class ReportTipWnd;
class ReportColumnChooser;

// Notification codes; a code is sent only while bit ((-code) & 31) of the
// control's notification mask is set.
namespace ReportCode {
constexpr int DrawExtra = -2048;          // paint a row's extra area
constexpr int ItemClick = -2049;          // left button on the rows; non-zero: no selection
constexpr int ItemDoubleClick = -2050;
constexpr int SelectionChanging = -2051;  // non-zero vetoes the change for that row
constexpr int SelectionChanged = -2052;
constexpr int HeaderClick = -2053;
constexpr int ColumnChanged = -2054;      // the header changed a column's width or format
constexpr int ItemDeleted = -2055;
constexpr int GetItem = -2056;            // owner data: fill a row
constexpr int BeginEdit = -2057;          // non-zero with an editor: that editor is used
constexpr int EndEdit = -2058;            // non-zero discards the edit
constexpr int KeyDown = -2059;            // non-zero: the key gets default processing only
constexpr int DividerDoubleClick = -2060; // non-zero: the column is not fitted
constexpr int RightClick = -2061;
} // namespace ReportCode

struct ReportNotify {
    int code = 0;
    int row = -1;
    int subitem = -1; // or the column
    int state = 0;
    int data = 0;
};

struct ReportDrawNotify {
    int code = ReportCode::DrawExtra;
    int row = -1;
    int state = 0;
    QPainter* painter = nullptr;
    RECT area{};
    int data = 0;
};

struct ReportItemNotify {
    int code = ReportCode::GetItem;
    ReportItem item;
};

struct ReportEditNotify {
    int code = 0;
    int row = -1;
    int column = -1;
    QWidget* editor = nullptr; // the parent may supply one for BeginEdit
    RECT rect{};
    int key = 0;
    QString text;
    int data = 0;
};

struct ReportKeyNotify {
    int code = ReportCode::KeyDown;
    int key = 0; // virtual-key code
    int flags = 0;
    int row = -1;
    int column = -1;
    int data = 0;
};

// The parent's side. Every call returns the parent's answer (0: not handled).
class ReportListener {
public:
    virtual ~ReportListener() = default;
    virtual void reportDrawExtra(CReportCtrl&, const ReportDrawNotify&) {}
    // SelectionChanging, SelectionChanged, ColumnChanged, ItemDeleted,
    // ItemClick, ItemDoubleClick, RightClick, HeaderClick.
    virtual int reportNotify(CReportCtrl&, const ReportNotify&) { return 0; }
    virtual void reportGetItem(CReportCtrl&, ReportItemNotify&) {}
    virtual int reportBeginEdit(CReportCtrl&, ReportEditNotify&) { return 0; }
    virtual int reportEndEdit(CReportCtrl&, const ReportEditNotify&) { return 0; }
    virtual int reportKeyDown(CReportCtrl&, const ReportKeyNotify&) { return 0; }
    virtual int reportDividerDoubleClick(CReportCtrl&, int /*column*/) { return 0; }
};

struct ReportHitTest {
    enum Flags {
        Nowhere = 0x0001,
        OnImage = 0x0002,
        OnCheck = 0x0004,
        OnText = 0x0008,
        OnExtraArea = 0x0010,
        OnFixedRow = 0x0020,
        Above = 0x0100,
        Below = 0x0200,
        RightOf = 0x0400,
        LeftOf = 0x0800,
    };
    QPoint point; // viewport coordinates
    int flags = 0;
    int row = ReportModel::noRow;
    int column = -1;
    int rowPosition = ReportModel::noRow;
    int columnPosition = -1;
    RECT cell{};
};

class CReportCtrl : public QAbstractScrollArea, private FlatHeaderListener, private ReportModelOwner {
public:
    explicit CReportCtrl(QWidget* parent = nullptr, DWORD style = 0);
    ~CReportCtrl() override;

    // Registers the class "TavoReportCtrl" with the dialog builder, so that a
    // dialog template can place report controls (style bits, WS_BORDER).
    static void registerWindowClass();
    bool create(DWORD style, const RECT& rect, QWidget* parent, int id);

    void setListener(ReportListener* listener) { parentListener = listener; }
    ReportModel& model() { return data; }
    const ReportModel& model() const { return data; }
    CFlatHeaderCtrl* header() const { return head; }

    // Columns.
    int defineColumn(int index, const ReportColumn& column, bool notifyChooser = false);
    int showColumn(int column, int position);
    bool hideColumn(int column);
    void hideAllColumns();
    bool isColumnShown(int column) const;
    int getShownColumnCount() const;
    int getColumnWidth(int column) const;
    bool setColumnWidth(int column, int width);
    bool modifyColumn(int index, const ReportColumn& column, bool notifyChooser = false);
    bool deleteColumn(int index);
    void deleteAllColumns();
    // Widens or narrows the column to its heading and its texts; with a row
    // range, to the texts of those rows only (a list of many rows that reads
    // its texts on demand measures what it shows).
    void fitColumnWidth(int column, int firstRow = 0, int rowCount = -1);
    bool getSubitemWidth(int row, int column, RECT* rect) const;

    // Colours, rows and items.
    int insertColor(int index, COLORREF colour);
    bool deleteColor(int index);
    int insertItem(const ReportItem& item);
    int insertItem(const QString& text, int image = -1, int check = -1, int colour = -1);
    bool setItem(const ReportItem& item);
    bool getItem(ReportItem* item) const { return data.getItem(item); }
    int getItemCount() const { return data.getItemCount(); }
    bool deleteItem(int row);
    void deleteAllItems();
    bool setItemCount(int count);
    int insertFixedRow();
    QString getItemText(int row, int subitem) const;
    int getItemImage(int row, int subitem) const;
    int getItemCheck(int row, int subitem) const;
    int getItemData(int row) const;
    bool setItemText(int row, int subitem, const QString& text);
    bool setItemImage(int row, int subitem, int image);
    bool setItemCheck(int row, int subitem, int check);
    bool setItemData(int row, int data);
    int findItem(const ReportFind& find, int column, int start) const { return data.findItem(find, column, start); }

    // Appearance.
    void setImageList(int imageWidth, int imageHeight);
    void setRowHeight(int height);
    int getRowHeight() const { return rowHeight; }
    static int linesToHeight(const QFont& font, int lines);
    // 1 margin; 2 check-box size (low, high word); 3 empty text; 5 sort tip
    // format; 6 notification mask; 7 owner-data cache; 8 separator.
    bool setOption(int kind, int value, const QString& text = QString());
    void modifyStyle(DWORD remove, DWORD add);
    DWORD style() const { return data.style; }
    const ReportColours& colours() const { return palette_; }
    void loadSystemColours();
    int margin() const { return cellMargin; }

    // Layout kept in the settings store: "(columns,shown) widths... order...".
    QString layoutString() const;
    bool applyLayoutString(const QString& text);
    bool saveLayout(const std::string& section, const std::string& entry) const;
    bool loadLayout(const std::string& section, const std::string& entry);

    bool setRowOrder(const std::vector<int>& order);
    const std::vector<int>& getRowOrder() const { return data.getRowOrder(); }
    bool moveRowUp(int position);
    bool moveRowDown(int position);
    void setSortCallback(std::function<int(int column, int rowA, int rowB)> compare) { sortCallback = std::move(compare); }
    void setColumnChooser(ReportColumnChooser* chooser);

    // Selection and focus.
    void select(int from, int to, bool change, bool extend, bool toggle, bool notify = true);
    int getFirstSelected() const { return data.getFirstSelected(); }
    int getNextSelected(int after) const { return data.getNextSelected(after); }
    bool selectRow(int row, bool extend);
    bool selectRows(const std::vector<int>& rows, bool extend);
    void getFocus(int* row, int* column) const;
    bool setFocus(int row, int column);
    using QAbstractScrollArea::setFocus;
    bool getSubitemRect(int row, int column, RECT* rect, int part = 0) const;
    void hitTest(ReportHitTest* test) const;
    int getVisibleRowCount() const;
    bool isRowVisible(int row, bool partial) const;
    int firstVisible() const { return firstRow; }
    void scrollToRow(int first);
    void sortByColumn(int column, bool ascending);
    void sortAll(bool ascending);
    int compareRows(int column, int rowA, int rowB) const;

    // Editing.
    bool beginEdit(int row, int column, int character);
    void endEdit(bool save, const ReportEditNotify* notification = nullptr);
    QWidget* editor() const { return editWindow; }
    // The editor tells the control that it ended.
    void editorEnded(const ReportEditNotify& notification);

    // Everything under the header into a painter (viewport coordinates).
    void paintTo(QPainter& painter, const QRect& clip);
    // The area under the header that holds the rows (viewport coordinates).
    QRect rowArea() const;
    int wheelLines() const { return linesPerNotch; }
    void readWheelLines();

    // Hooks a derived control may replace.
    virtual void drawBackground(QPainter& painter, const QRect& clip);
    virtual void drawRow(QPainter& painter, const RECT& rowRect, const QRect& clip, int position, const ReportData& row,
                         bool odd);
    virtual void drawSubitem(QPainter& painter, const RECT& rect, const ReportItem& item, int column, bool bold);
    virtual int drawImage(QPainter& painter, const RECT& rect, const ReportItem& item);
    virtual int drawCheck(QPainter& painter, const RECT& rect, const ReportItem& item, int column);
    virtual int drawText(QPainter& painter, const RECT& rect, const ReportItem& item, int column, bool bold);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Header and model callbacks.
    void headerItemChanged(int item, int mask) override;
    void headerDividerDoubleClicked(int item) override;
    int selectionChanging(int row, int newState) override;
    void selectionChanged(int row, int newState) override;
    void rowChanged(int row) override;
    void requestRow(ReportItem& request) override;

    bool enabled(int code) const;
    int notify(int code, int row, int subitem, int state, int itemData);
    void relayout();
    void updateScroll();
    void applyFont();
    int fixedBandHeight() const;
    ReportLayout layout() const;
    std::vector<int> shownColumns() const; // column indices in display order
    int headerItemOf(int column) const;
    int columnLeft(int columnPosition) const;
    void moveFocusTo(int position, Qt::KeyboardModifiers modifiers);
    void scrollFocusIntoView();
    void scrollColumnIntoView(int column);
    void recomputeTotal();
    void refillChooser();
    int focusPosition() const;
    RECT rowRect(int position) const;
    QString editText(int row, int column) const;

    ReportModel data;
    CFlatHeaderCtrl* head = nullptr;
    ReportListener* parentListener = nullptr;
    ReportColours palette_;
    QFont normalFont;
    QFont boldFont;
    int cellMargin = 6;
    int rowHeight = 10;
    int checkWidth = 8;
    int checkHeight = 8;
    int imageWidth = 0;
    int imageHeight = 0;
    int totalWidth = 0;
    int firstRow = 0;
    int horizontal = 0;
    bool hasFocus_ = false;
    bool editChar = false;
    QString emptyText;
    QString sortTip;
    DWORD notifyMask = 0xFFFFFFFFu;
    WheelSteps wheel;
    int linesPerNotch = 3;
    std::function<int(int, int, int)> sortCallback;
    QPointer<QWidget> editWindow;
    int editRow = ReportModel::noRow;
    int editColumn = -1;
    ReportTipWnd* tip = nullptr;
    QPointer<ReportColumnChooser> chooser;
};

// A view that holds one report control over its whole area.
class CReportView : public QWidget {
public:
    explicit CReportView(QWidget* parent = nullptr);
    CReportCtrl& getReportCtrl() { return *control; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    CReportCtrl* control;
};
