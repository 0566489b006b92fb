#pragma once
// A strip of flat tabs drawn with 3-D edge lines in the palette's colours.
// Tabs carry a text, an optional icon and a data value; they share out the
// strip's width, and texts that do not fit end in "...". The control tells
// its parent about selection changes and keys through FlatTabListener, and
// the parent can refuse a change.
#include "platform/WinTypes.h"
#include "ui/FlatTabLayout.h"

#include <QIcon>
#include <QWidget>

#include <vector>

class FlatTabCtrl;
class QPainter;

// What a parent answers to its tab control's notifications.
class FlatTabListener {
public:
    virtual ~FlatTabListener() = default;
    // `code` is one of FlatTabCtrl's notification codes; for TCN_KEYDOWN
    // `key` is the virtual key and `flags` the key's flags. A non-zero answer
    // to TCN_SELCHANGING keeps the old tab.
    virtual int onTabNotify(FlatTabCtrl* control, int code, int key, int flags) = 0;
};

class FlatTab {
public:
    FlatTab(const QString& text, FlatTabCtrl* owner);
    virtual ~FlatTab() = default;

    virtual RECT getRect() const;
    virtual void setIcon(const QIcon& icon);
    virtual bool hitTest(int x, int y) const;
    virtual void drawText(QPainter& painter, bool selected, bool focusRect);
    // Returns the x at which the text may start.
    virtual int drawIcon(QPainter& painter, bool selected);
    virtual void drawFrame(QPainter& painter, bool selected);
    virtual int measureWidth(const QFontMetrics& metrics) const;
    virtual void draw(QPainter& painter, bool selected, bool focused);

    QString text;
    DWORD data = 0;
    FlatTabCtrl* owner;
    QIcon icon;
    int width = 0;
    int left = 0;

private:
    // The tab's rectangle less its margins, lower when not selected.
    RECT contentRect(bool selected) const;
};

class FlatTabCtrl : public QWidget {
public:
    // Notification codes.
    static constexpr int NM_CLICK = -2;
    static constexpr int TCN_KEYDOWN = -550;
    static constexpr int TCN_SELCHANGE = -551;
    static constexpr int TCN_SELCHANGING = -552;
    // Position bits of the style.
    static constexpr DWORD TABS_TOP = 1;
    static constexpr DWORD TABS_BOTTOM = 2;
    // The commands of the control's keys.
    enum Command {
        ID_PREVIOUS_TAB = 37771,
        ID_NEXT_TAB = 37772,
        ID_NEXT_TAB_CTRL = 37773,
        ID_PREVIOUS_TAB_CTRL = 37774,
        ID_LAST_TAB = 37775,
        ID_FIRST_TAB = 37776,
        ID_NEXT_CONTROL = 37777,
        ID_PREVIOUS_CONTROL = 37778,
        ID_FIRST_CHILD_UP = 37779,
        ID_FIRST_CHILD_DOWN = 37780,
    };
    // The command of a key with its modifiers (the accelerator table), 0 for none.
    static int commandOfKey(int key, Qt::KeyboardModifiers modifiers);

    explicit FlatTabCtrl(QWidget* parent = nullptr);
    ~FlatTabCtrl() override;

    virtual FlatTab* getTab(int index) const;
    virtual int tabHeight() const;
    virtual DWORD getStyle() const { return style; }
    virtual int getCurSel() const { return currentSel; }
    virtual int getCount() const { return static_cast<int>(tabs.size()); }
    virtual DWORD getTabData(int index) const;
    virtual SIZE getTabSize(int index) const;
    virtual bool removeTab(int index);
    virtual void addTab(const QString& text, DWORD data = 0, const QIcon& icon = QIcon());
    // Becomes a child of `parent` at the rectangle with the id; a style
    // without a position bit puts the tabs at the top.
    virtual bool create(DWORD style, const RECT& rect, QWidget* parent, UINT id);
    // Called after every accepted selection change; does nothing here.
    virtual void onSelChanged(int oldSel, int newSel);
    virtual RECT displayRect() const;
    virtual int hitTest(int x, int y) const;
    virtual void layoutTabs(int total, int available);
    virtual void recalcLayout();

    // Selects the tab: false for a bad index or when the parent refuses.
    bool select(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Tab and Shift+Tab reach the control instead of moving the focus.
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    friend class FlatTab;
    int notify(int code, int key = 0, int flags = 0);
    // Shift tells Tab to go backwards.
    void runCommand(int command, bool shift);
    QFont drawingFont() const;

    std::vector<FlatTab*> tabs;
    DWORD style = TABS_TOP;
    int currentSel = -1;
};
