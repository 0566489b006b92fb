#pragma once
// The small windows that work with the report control: the tip that shows a
// cut cell text whole, the in-place edit and combo box, and the column
// chooser from which hidden columns are dragged onto the header.
#include "platform/WinTypes.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QWidget>

class CReportCtrl;
class HeaderDragWnd;

class ReportTipWnd : public QWidget {
public:
    explicit ReportTipWnd(CReportCtrl* owner);
    ~ReportTipWnd() override;
    // Shows the whole text over a cell (viewport coordinates of the control)
    // that cuts it; false when the text fits, the rectangle is empty, the
    // tip is already up, or the application has no focus.
    bool show(const RECT& cell, const QString& text, const QFont* font);
    void hide();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void forwardMouse(QMouseEvent* event);

    CReportCtrl* report;
    QString text;
    QRect keep; // where the mouse may rest without hiding the tip (global)
    qint64 lastClick = -1;
    QElapsedTimer clock;
};

// Common to the in-place editors: which cell, how the edit ended.
struct ReportEditState {
    int row = -1;
    int column = -1;
    int endingKey = 13;
    bool ended = false;
};

class ReportEdit : public QLineEdit {
public:
    ReportEdit(CReportCtrl* owner, int row, int column);
    // Begins with what was typed: 1 or Enter keep the text with the caret at
    // its end, Backspace deletes the last character, Tab and space select
    // the text, any other character replaces it.
    void start(int ch);
    const ReportEditState& state() const { return edit; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CReportCtrl* report;
    ReportEditState edit;
};

class ReportCombo : public QComboBox {
public:
    ReportCombo(CReportCtrl* owner, int row, int column);
    void start(int ch);
    const ReportEditState& state() const { return edit; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CReportCtrl* report;
    ReportEditState edit;
};

class ReportColumnChooser : public QListWidget {
public:
    explicit ReportColumnChooser(QWidget* parent = nullptr);
    ~ReportColumnChooser() override;
    void setReportCtrl(CReportCtrl* control);
    // Lists the defined columns that are not shown.
    void refill();
    virtual bool canList(int /*column*/) const { return true; }
    virtual bool isLocked(int /*column*/) const { return false; }
    int draggedColumn() const { return dragged; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void dragTo(const QPoint& global);
    void finishDrag(bool drop, const QPoint& global);

    QPointer<CReportCtrl> report;
    int dragged = -1;
    int dropPosition = -1;
    HeaderDragWnd* dragWindow = nullptr;
};
