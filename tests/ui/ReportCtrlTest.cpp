// The report control as a window on the offscreen platform: painting,
// bar cells, keys and mouse, notifications to the parent, editing and the
// column chooser.
#include "ui/RangeGauge.h"
#include "ui/ReportCompanions.h"
#include "ui/ReportCtrl.h"

#include "platform/DialogTemplate.h"
#include "platform/Registry.h"
#include "platform/WindowStyles.h"
#include "platformqt/Dialog.h"
#include "platformqt/Window.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// The parent: records every notification in order and answers as told.
struct Parent : ReportListener {
    std::vector<int> codes;
    std::vector<ReportNotify> notes;
    std::vector<ReportDrawNotify> extras;
    std::vector<ReportEditNotify> ends;
    int keyAnswer = 0;
    int dividerAnswer = 0;
    int vetoRow = -100;
    void reportDrawExtra(CReportCtrl&, const ReportDrawNotify& n) override
    {
        codes.push_back(n.code);
        extras.push_back(n);
        n.painter->setPen(Qt::black);
        n.painter->drawText(QRect(n.area.left + 6, n.area.top, 600, n.area.bottom - n.area.top),
                            Qt::AlignVCenter, "Evaluation: compressions too shallow, rate good.");
    }
    int reportNotify(CReportCtrl&, const ReportNotify& n) override
    {
        codes.push_back(n.code);
        notes.push_back(n);
        return n.code == ReportCode::SelectionChanging && n.row == vetoRow ? 1 : 0;
    }
    int reportEndEdit(CReportCtrl&, const ReportEditNotify& n) override
    {
        codes.push_back(n.code);
        ends.push_back(n);
        return 0;
    }
    int reportKeyDown(CReportCtrl&, const ReportKeyNotify& n) override
    {
        codes.push_back(n.code);
        return keyAnswer;
    }
    int reportDividerDoubleClick(CReportCtrl&, int) override
    {
        codes.push_back(ReportCode::DividerDoubleClick);
        return dividerAnswer;
    }
    void clear()
    {
        codes.clear();
        notes.clear();
    }
};

QString artefact(const QString& name)
{
    QDir().mkpath(SCREENSHOT_DIR);
    return QString(SCREENSHOT_DIR) + "/" + name;
}

ReportColumn columnOf(const QString& title, int width, int format = HDF_LEFT | HDF_STRING)
{
    ReportColumn c;
    c.title = title;
    c.width = width;
    c.format = format;
    return c;
}

void setCell(CReportCtrl& report, int row, int subitem, const QString& text, int colour = -1)
{
    ReportItem item;
    item.row = row;
    item.subitem = subitem;
    item.mask = ReportMask::Text | (colour >= 0 ? ReportMask::Colour : 0);
    item.text = text;
    item.colour = colour;
    ASSERT_TRUE(report.setItem(item));
}

QImage render(CReportCtrl& report)
{
    QImage image(report.viewport()->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    report.paintTo(painter, image.rect());
    return image;
}

bool hasDarkPixel(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 100)
                return true;
    return false;
}

// A table like the debriefing's: six columns, four colours, result rows with
// coloured texts and gauge bars, and a last row whose extra area the parent
// paints.
struct Debriefing {
    Parent parent;
    QWidget window;
    CReportCtrl* report;
    std::vector<std::unique_ptr<RangeGauge>> gauges;

    Debriefing()
    {
        window.resize(760, 330);
        report = new CReportCtrl(&window, ReportStyle::AlternateShading | ReportStyle::VerticalGrid);
        report->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        report->setGeometry(5, 5, 750, 320);
        report->setListener(&parent);
        const char* titles[] = {"Result", "Total", "Average", "Recommended", "Range", "Correct"};
        for (int c = 0; c < 6; ++c) {
            report->defineColumn(c, columnOf(titles[c], c == 4 ? 200 : 100, c == 0 ? HDF_LEFT | HDF_STRING
                                                                                     : HDF_RIGHT | HDF_STRING));
            report->showColumn(c, c);
        }
        for (COLORREF colour : {0xE6E6E6u, 0x0000FFu, 0x008C00u, 0xC00000u})
            report->insertColor(report->model().colourTable().size(), colour);
        const char* rows[] = {"Compression depth (mm)", "Compression rate (/min)", "Ventilation volume (L)",
                              "Hands-off time (s)", "Correct hand position (%)"};
        const double values[][4] = {{38, 40, 60, 1}, {112, 100, 120, 0}, {0.9, 0.5, 0.8, 1}, {14, 0, 10, 1},
                                    {97, 80, 100, 0}};
        for (int r = 0; r < 5; ++r) {
            report->insertItem(rows[r]);
            setCell(*report, r, 1, QString::number(values[r][0] * 30), 3);
            setCell(*report, r, 2, QString::number(values[r][0]), values[r][3] ? 1 : 2);
            setCell(*report, r, 3, QString("%1 - %2").arg(values[r][1]).arg(values[r][2]), 3);
            auto gauge = std::make_unique<RangeGauge>();
            gauge->setRange(values[r][1] - (values[r][2] - values[r][1]), values[r][2] + (values[r][2] - values[r][1]),
                            0xFFFFFF);
            gauge->setEnds(true, true, 10, 10);
            gauge->addMarker(values[r][1], values[r][2], 0x80E080, false, false);
            gauge->setValue(values[r][0]);
            setCell(*report, r, 4, gauge->barCellText());
            setCell(*report, r, 5, values[r][3] ? "no" : "yes", values[r][3] ? 1 : 2);
            gauges.push_back(std::move(gauge));
        }
        report->insertItem("Evaluation");
        ReportItem extra;
        extra.row = 5;
        extra.mask = ReportMask::ExtraHeight | ReportMask::Data;
        extra.extraHeight = 30;
        extra.data = 77;
        report->setItem(extra);
        for (int c : {0, 1, 2, 3, 5})
            report->fitColumnWidth(c);
        window.show();
    }
};

} // namespace

TEST(ReportCtrl, DebriefingTableDrawsGaugesTextsAndTheParentsExtraArea)
{
    Debriefing d;
    CReportCtrl& report = *d.report;
    QImage shot = d.window.grab().toImage();
    ASSERT_TRUE(shot.save(artefact("report-debriefing.png")));

    d.parent.extras.clear();
    QImage image = render(report);
    ASSERT_EQ(d.parent.extras.size(), 1u);
    const ReportDrawNotify& extra = d.parent.extras[0];
    EXPECT_EQ(extra.row, 5);
    EXPECT_EQ(extra.data, 77);
    EXPECT_EQ(extra.area.bottom - extra.area.top, 30);
    EXPECT_EQ(extra.area.top, 6 * report.getRowHeight());

    // The gauge was drawn into the cell less its margins, a pixel below the
    // top and two above the bottom.
    RECT cell;
    ASSERT_TRUE(report.getSubitemRect(0, 4, &cell));
    const RangeGauge& gauge = *d.gauges[0];
    const int inner = cell.right - cell.left - 2 * report.margin();
    EXPECT_DOUBLE_EQ(gauge.leftZoneFraction, 10.0 / inner);
    EXPECT_DOUBLE_EQ(gauge.knobInsetFactor, 3.0 / (report.getRowHeight() - 3));
    const int midY = (cell.top + cell.bottom) / 2;
    const QRgb band = image.pixel(cell.left + report.margin() + inner / 2, midY);
    EXPECT_EQ(qGreen(band), 0xE0) << std::hex << band;

    // Vertical grid lines stop above the extra area; the parent's text is there.
    const int gridX = cell.right - 1;
    EXPECT_NE(image.pixel(gridX, extra.area.top - 2), image.pixel(gridX + 2, extra.area.top - 2));
    EXPECT_TRUE(hasDarkPixel(image, QRect(10, extra.area.top, 300, 30)));
}

TEST(ReportCtrl, TextThatImitatesABarIsDrawnAsText)
{
    Debriefing d;
    CReportCtrl& report = *d.report;
    auto gone = std::make_unique<RangeGauge>();
    const QString stale = gone->barCellText();
    gone.reset();
    const QString texts[] = {stale, "VELMOR_BAR^deadbeef", "VELMOR_BAR", "VELMOR_BAR^ffffffffffffffff"};
    for (int r = 0; r < 4; ++r)
        setCell(report, r, 4, texts[r]);
    QImage image = render(report);
    for (int r = 0; r < 4; ++r) {
        RECT cell;
        ASSERT_TRUE(report.getSubitemRect(r, 4, &cell));
        EXPECT_TRUE(hasDarkPixel(image, QRect(cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top)))
            << r;
    }
}

TEST(ReportCtrl, EmptyControlShadingAndUnfocusedSelection)
{
    QWidget window;
    window.resize(400, 300);
    CReportCtrl report(&window, ReportStyle::AlternateShading);
    report.setGeometry(0, 0, 400, 300);
    report.defineColumn(0, columnOf("Name", 380));
    report.showColumn(0, 0);
    EXPECT_EQ(report.showColumn(0, 0), -1);
    window.show();
    QImage empty = render(report);
    empty.save(artefact("report-empty.png"));
    const int h = report.getRowHeight();
    EXPECT_TRUE(hasDarkPixel(empty, QRect(150, 2, 80, h)));
    EXPECT_FALSE(hasDarkPixel(empty, QRect(0, 2, 20, h)));
    EXPECT_FALSE(hasDarkPixel(empty, QRect(0, h + 4, 400, 100)));

    report.insertColor(0, 0xE6E6E6);
    for (int r = 0; r < 6; ++r)
        report.insertItem("x");
    report.select(2, 2, true, false, false);
    QImage rows = render(report);
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(QColor(rows.pixel(300, r * h + h / 2)), r % 2 ? QColor(0xE6, 0xE6, 0xE6) : QColor(Qt::white))
            << r;
    report.modifyStyle(0, ReportStyle::KeepSelectionMark);
    EXPECT_NE(QColor(render(report).pixel(300, 2 * h + h / 2)), QColor(Qt::white));
}

// A few thousand rows: keys, scrolling, hit tests and notifications in order.
TEST(ReportCtrl, KeysMoveFocusAndSelectionThroughManyRows)
{
    QWidget window;
    window.resize(400, 300);
    CReportCtrl report(&window);
    report.setGeometry(0, 0, 400, 300);
    Parent parent;
    report.setListener(&parent);
    report.defineColumn(0, columnOf("Row", 200));
    report.showColumn(0, 0);
    for (int r = 0; r < 3000; ++r)
        report.insertItem(QString("row %1").arg(r));
    window.show();
    report.setFocus();
    const int page = report.getVisibleRowCount();
    ASSERT_GT(page, 5);
    auto focus = [&] {
        int row = -5, column = -5;
        report.getFocus(&row, &column);
        return row;
    };
    auto selected = [&] {
        std::vector<int> rows;
        for (int r = report.getFirstSelected(); r != ReportModel::noRow; r = report.getNextSelected(r))
            rows.push_back(r);
        return rows;
    };

    QTest::keyClick(&report, Qt::Key_Down);
    EXPECT_EQ(focus(), 0);
    parent.clear();
    QTest::keyClick(&report, Qt::Key_Down);
    // The key first, then the new row's selection, then the old row's.
    std::vector<int> expected = {ReportCode::KeyDown, ReportCode::SelectionChanging, ReportCode::SelectionChanged,
                                 ReportCode::SelectionChanging, ReportCode::SelectionChanged};
    EXPECT_EQ(parent.codes, expected);
    EXPECT_EQ(parent.notes[0].row, 1);
    EXPECT_EQ(parent.notes[2].row, 0);
    EXPECT_EQ(selected(), std::vector<int>{1});

    QTest::keyClick(&report, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&report, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(selected(), (std::vector<int>{1, 2, 3}));
    QTest::keyClick(&report, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(focus(), 4);
    EXPECT_EQ(selected(), (std::vector<int>{1, 2, 3}));
    QTest::keyClick(&report, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(selected(), (std::vector<int>{1, 2, 3, 4}));

    QTest::keyClick(&report, Qt::Key_PageDown);
    EXPECT_EQ(focus(), page - 1);
    EXPECT_EQ(report.firstVisible(), 0);
    QTest::keyClick(&report, Qt::Key_PageDown);
    EXPECT_EQ(report.firstVisible(), page);
    EXPECT_EQ(focus(), 2 * page - 1);
    QTest::keyClick(&report, Qt::Key_PageUp);
    EXPECT_EQ(focus(), page);
    QTest::keyClick(&report, Qt::Key_End);
    EXPECT_EQ(focus(), 2999);
    EXPECT_EQ(selected(), std::vector<int>{2999});
    EXPECT_TRUE(report.isRowVisible(2999, false));
    parent.clear();
    QTest::keyClick(&report, Qt::Key_Down);
    EXPECT_EQ(parent.codes, std::vector<int>{ReportCode::KeyDown});
    EXPECT_EQ(focus(), 2999);
    QTest::keyClick(&report, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(focus(), 0);
    EXPECT_EQ(selected().size(), 3000u);
    EXPECT_EQ(report.firstVisible(), 0);

    // A parent that answers the key leaves it alone.
    parent.keyAnswer = 1;
    QTest::keyClick(&report, Qt::Key_Down);
    EXPECT_EQ(focus(), 0);
    parent.keyAnswer = 0;

    // A vetoed row keeps its state and gets no changed notification.
    parent.vetoRow = 0;
    parent.clear();
    QTest::keyClick(&report, Qt::Key_Down);
    EXPECT_EQ(focus(), 1);
    for (const ReportNotify& n : parent.notes) {
        if (n.code == ReportCode::SelectionChanged) {
            EXPECT_NE(n.row, 0);
        }
    }
    EXPECT_EQ(report.model().stateOf(0) & ReportState::Selected, ReportState::Selected);
    EXPECT_EQ(selected(), (std::vector<int>{0, 1}));
    parent.vetoRow = -100;

    // Scroll to a row, hit-test a point on it, click it with Shift and Ctrl.
    report.scrollToRow(1500);
    EXPECT_EQ(report.firstVisible(), 1500);
    const int h = report.getRowHeight();
    ReportHitTest hit;
    hit.point = QPoint(50, 2 * h + h / 2);
    report.hitTest(&hit);
    EXPECT_EQ(hit.row, 1502);
    EXPECT_EQ(hit.column, 0);
    EXPECT_TRUE(hit.flags & ReportHitTest::OnText);
    hit.point = QPoint(250, h / 2);
    report.hitTest(&hit);
    EXPECT_EQ(hit.flags, ReportHitTest::Nowhere);
    QTest::mouseClick(report.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(50, h / 2));
    QTest::mouseClick(report.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(50, 3 * h + h / 2));
    EXPECT_EQ(selected(), (std::vector<int>{1500, 1501, 1502, 1503}));
    QTest::mouseClick(report.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(50, h + h / 2));
    EXPECT_EQ(selected(), (std::vector<int>{1500, 1502, 1503}));
}

TEST(ReportCtrl, FocusColumnSkipsColumnsThatRefuseIt)
{
    QWidget window;
    CReportCtrl report(&window, ReportStyle::CellFocus);
    report.resize(500, 200);
    for (int c = 0; c < 4; ++c) {
        report.defineColumn(c, columnOf(QString("C%1").arg(c), 100, HDF_STRING | (c == 2 ? ReportColumn::NoFocus : 0)));
        report.showColumn(c, c);
    }
    report.insertItem("a");
    window.show();
    report.setFocus();
    QTest::keyClick(&report, Qt::Key_Down);
    int row, column;
    for (int expected : {0, 1, 3, 3}) {
        QTest::keyClick(&report, Qt::Key_Right);
        report.getFocus(&row, &column);
        EXPECT_EQ(column, expected);
    }
    for (int expected : {1, 0, -1, -1}) {
        QTest::keyClick(&report, Qt::Key_Left);
        report.getFocus(&row, &column);
        EXPECT_EQ(column, expected);
    }
}

TEST(ReportCtrl, HeaderChangesReachTheColumnsAndTheParent)
{
    QWidget window;
    CReportCtrl report(&window);
    report.resize(500, 200);
    Parent parent;
    report.setListener(&parent);
    report.defineColumn(0, columnOf("A", 100));
    report.defineColumn(1, columnOf("Column B", 100, HDF_STRING | ReportColumn::NoFit));
    report.showColumn(0, 0);
    report.showColumn(1, 1);
    report.insertItem("a fairly long text in the first column");
    window.show();

    parent.clear();
    report.header()->setItemWidth(1, 150);
    EXPECT_EQ(report.getColumnWidth(1), 150);
    EXPECT_EQ(report.header()->model().totalWidth(), 250);
    ASSERT_EQ(parent.notes.size(), 1u);
    EXPECT_EQ(parent.notes[0].code, ReportCode::ColumnChanged);
    EXPECT_EQ(parent.notes[0].subitem, 1);

    // A divider double click fits the column unless the parent or the column says no.
    auto doubleClick = [&](int x) {
        QTest::mouseDClick(report.header(), Qt::LeftButton, Qt::NoModifier, QPoint(x, 5));
    };
    parent.dividerAnswer = 1;
    doubleClick(100);
    EXPECT_EQ(report.getColumnWidth(0), 100);
    parent.dividerAnswer = 0;
    doubleClick(100);
    const int fitted = report.getColumnWidth(0);
    EXPECT_GT(fitted, 150);
    ASSERT_LT(fitted + 150, report.header()->width()) << fitted;
    doubleClick(fitted + 150);
    // The no-fit bit is also the header's fixed-width flag: that divider takes no double click.
    EXPECT_EQ(report.getColumnWidth(1), 150);
    EXPECT_EQ(std::count(parent.codes.begin(), parent.codes.end(), ReportCode::DividerDoubleClick), 2);

    // Hidden and shown again in another place; the layout string brings it back.
    const QString layout = report.layoutString();
    report.hideColumn(0);
    EXPECT_EQ(report.getShownColumnCount(), 1);
    report.showColumn(0, 1);
    EXPECT_EQ(report.header()->orderToIndex(0), 0);
    EXPECT_EQ(report.header()->model().item(report.header()->orderToIndex(1))->data, 0);
    EXPECT_TRUE(report.applyLayoutString(layout));
    EXPECT_EQ(report.layoutString(), layout);
    EXPECT_FALSE(report.applyLayoutString("(3,1) 10 20 30 0"));

    // Through the settings store, and the wheel setting read from it.
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string savedConfig = oldConfig ? oldConfig : "";
    testsupport::TempDir config, emptyConfig;
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    ASSERT_TRUE(report.saveLayout("Debriefing", "Columns"));
    report.hideColumn(1);
    ASSERT_TRUE(report.loadLayout("Debriefing", "Columns"));
    EXPECT_EQ(report.layoutString(), layout);
    EXPECT_FALSE(report.loadLayout("Debriefing", "Missing"));
    platform::HKEY desktop = 0;
    ASSERT_EQ(platform::regCreateKey(platform::HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop), 0);
    ASSERT_EQ(platform::regSetValue(desktop, "WheelScrollLines", platform::REG_SZ, "-1", 3), 0);
    platform::regCloseKey(desktop);
    report.readWheelLines();
    EXPECT_EQ(report.wheelLines(), -1);
    ::setenv("XDG_CONFIG_HOME", emptyConfig.path().c_str(), 1);
    report.readWheelLines();
    EXPECT_EQ(report.wheelLines(), 3);
    if (oldConfig)
        ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

TEST(ReportCtrl, InPlaceEditStartsWithTheTypedKeyAndStoresOnEnter)
{
    QWidget window;
    window.resize(400, 200);
    CReportCtrl report(&window, ReportStyle::CellFocus);
    report.setGeometry(0, 0, 400, 200);
    Parent parent;
    report.setListener(&parent);
    report.defineColumn(0, columnOf("Text", 200));
    report.showColumn(0, 0);
    for (int r = 0; r < 3; ++r)
        report.insertItem("xyz");
    window.show();
    window.activateWindow();
    report.setFocus();
    ASSERT_TRUE(report.setFocus(0, 0));

    struct Case {
        int row;
        const char* typed;
        Qt::Key end;
        const char* stored;
    } cases[] = {{0, "a", Qt::Key_Return, "a"}, {1, "\b", Qt::Key_Tab, "xy"}, {2, "!", Qt::Key_Escape, "xyz"}};
    for (const Case& c : cases) {
        ASSERT_TRUE(report.setFocus(c.row, 0));
        parent.ends.clear();
        if (c.typed[0] == '\b')
            QTest::keyClick(&report, Qt::Key_Backspace);
        else
            QTest::keyClicks(&report, c.typed);
        auto* edit = qobject_cast<QLineEdit*>(report.editor());
        ASSERT_NE(edit, nullptr) << c.typed;
        EXPECT_EQ(edit->text(), QString(c.typed[0] == '\b' ? "xy" : c.typed));
        QTest::keyClick(edit, c.end);
        QApplication::processEvents();
        EXPECT_EQ(report.getItemText(c.row, 0), c.stored);
        EXPECT_EQ(parent.ends.size(), 1u);
        EXPECT_EQ(report.editor(), nullptr);
    }
}

TEST(ReportCtrl, TipShowsOnlyCutTextsAndTheChooserDropsColumnsInPlace)
{
    QWidget window;
    window.resize(500, 200);
    CReportCtrl report(&window, ReportStyle::Tips);
    report.setGeometry(0, 0, 500, 200);
    for (int c = 0; c < 4; ++c)
        report.defineColumn(c, columnOf(QString("Col %1").arg(c), 100));
    report.showColumn(0, 0);
    report.showColumn(1, 1);
    report.showColumn(2, 2);
    report.insertItem("short");
    window.show();
    window.activateWindow();

    ReportTipWnd tip(&report);
    RECT cell{0, 0, 100, report.getRowHeight()};
    EXPECT_FALSE(tip.show(cell, "short", nullptr));
    EXPECT_EQ(tip.show(cell, "a text much too long for a cell of a hundred pixels", nullptr),
              QApplication::activeWindow() != nullptr);
    tip.hide();

    ReportColumnChooser chooser;
    report.setColumnChooser(&chooser);
    EXPECT_EQ(chooser.count(), 1);
    report.hideColumn(2);
    ASSERT_EQ(chooser.count(), 2);
    chooser.resize(120, 100);
    chooser.show();
    QListWidgetItem* item = chooser.item(1);
    ASSERT_EQ(item->data(Qt::UserRole).toInt(), 3);
    const QPoint start = chooser.visualItemRect(item).center();
    QTest::mousePress(chooser.viewport(), Qt::LeftButton, Qt::NoModifier, start);
    const QPoint target = report.header()->mapToGlobal(QPoint(170, 5)); // right half of the second item
    QMouseEvent move(QEvent::MouseMove, chooser.viewport()->mapFromGlobal(QPointF(target)), QPointF(target),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(chooser.viewport(), &move);
    EXPECT_NE(report.header()->dropMarker(), nullptr);
    QMouseEvent release(QEvent::MouseButtonRelease, chooser.viewport()->mapFromGlobal(QPointF(target)),
                        QPointF(target), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(chooser.viewport(), &release);
    EXPECT_EQ(report.header()->dropMarker(), nullptr);
    EXPECT_EQ(report.header()->model().item(report.header()->orderToIndex(2))->data, 3);
    EXPECT_EQ(chooser.count(), 1);
}

TEST(ReportCtrl, HeaderWhileSortingReadsWell)
{
    QWidget window;
    window.resize(420, 160);
    CReportCtrl report(&window, ReportStyle::HorizontalGrid | ReportStyle::VerticalGrid);
    report.setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    report.setGeometry(5, 5, 410, 150);
    report.defineColumn(0, columnOf("Name", 140));
    report.defineColumn(1, columnOf("Score", 100, HDF_RIGHT | HDF_STRING));
    report.defineColumn(2, columnOf("Date", 140, HDF_CENTER | HDF_STRING));
    for (int c = 0; c < 3; ++c)
        report.showColumn(c, c);
    const char* names[] = {"Lindqvist", "Abara", "Moreau", "Okafor"};
    for (int r = 0; r < 4; ++r) {
        report.insertItem(names[r]);
        setCell(report, r, 1, QString::number(70 + r * 7));
        setCell(report, r, 2, QString("2026-12-0%1").arg(r + 1));
    }
    report.sortByColumn(0, true);
    window.show();
    std::vector<QString> shown;
    for (int p = 0; p < 4; ++p)
        shown.push_back(report.getItemText(report.model().rowAt(p), 0));
    EXPECT_EQ(shown, (std::vector<QString>{"Abara", "Lindqvist", "Moreau", "Okafor"}));
    bool up = false;
    EXPECT_EQ(report.header()->getSortColumn(&up), 0);
    EXPECT_TRUE(up);
    ASSERT_TRUE(window.grab().save(artefact("report-sorted.png")));
    report.sortByColumn(1, false);
    EXPECT_EQ(report.getItemText(report.model().rowAt(0), 1), "91");
    ASSERT_TRUE(window.grab().save(artefact("report-sorted-descending.png")));
}

// A dialog template places the control under the program's own class name;
// the name it once had places nothing.
TEST(ReportCtrl, TemplatesPlaceItUnderTheProgramsOwnClassName)
{
    CReportCtrl::registerWindowClass();
    auto table = [](int id, const char* className) {
        return platform::DialogTable { id, "Report", DS_SETFONT | WS_POPUP | WS_CAPTION, 0, 0, 200, 100, "DejaVu Sans", 8,
            { { 1000, className, "List", WS_VISIBLE | WS_BORDER | 0x0008, 5, 5, 190, 90 } } };
    };
    platform::registerDialog(table(9960, "TavoReportCtrl"));
    platform::registerDialog(table(9961, "MFCReportCtrl"));

    platform::Dialog ours;
    ASSERT_TRUE(ours.create(9960)) << ours.buildError();
    auto* report = dynamic_cast<CReportCtrl*>(platform::dlgItem(&ours, 1000));
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->model().style & 0x0008, 0x0008) << "the control style comes from the template";

    platform::Dialog foreign;
    EXPECT_FALSE(foreign.create(9961));
    EXPECT_NE(foreign.buildError().find("MFCReportCtrl"), std::string::npos) << foreign.buildError();
}
