// Bitmap buttons, the event toolbar and the event icon lists over the
// program's own bitmaps.
#include "platform/DialogTemplate.h"
#include "platformqt/Dialog.h"
#include "platformqt/Window.h"
#include "res/Resources.h"
#include "res/resource.h"
#include "support/TestSupport.h"
#include "ui/Bitmaps.h"
#include "ui/IdMap.h"
#include "ui/MapBitmapButton.h"
#include "ui/ToolBar.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

using namespace platform;

constexpr int IDD_BUTTONS = 9310;

void registerButtons()
{
    res::registerResources();
    static bool done = false;
    if (done)
        return;
    done = true;
    constexpr DWORD owner = WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
    registerDialog(DialogTable { IDD_BUTTONS, "Buttons", DS_SETFONT | WS_POPUP | WS_CAPTION, 0, 0, 200, 60,
                                 "DejaVu Sans", 8,
                                 { { IDC_DB_FIRST, "Button", "|<", owner, 7, 7, 12, 10 },
                                   { IDC_DB_PREVIOUS, "Button", "<", owner, 27, 7, 12, 10 },
                                   { IDC_DB_NEXT, "Button", ">", owner, 47, 7, 12, 10 },
                                   { IDC_DB_LAST, "Button", "¤Move row up", owner, 67, 7, 12, 10 },
                                   { IDOK, "Button", "OK", WS_VISIBLE | WS_TABSTOP, 140, 7, 50, 14 } } });
}

TEST(MapBitmapButton, TakesOverTheButtonAndPicksTheBitmapByState)
{
    registerButtons();
    Dialog dialog;
    ASSERT_TRUE(dialog.create(IDD_BUTTONS));
    QWidget* oldFirst = dlgItem(&dialog, IDC_DB_FIRST);
    MapBitmapButton first;
    ASSERT_TRUE(first.subclassAndLoad(IDC_DB_FIRST, &dialog, IDB_FIRST, IDB_FIRST_PRESSED, IDB_FIRST_FOCUSED,
                                      IDB_FIRST_DISABLED, 0));
    EXPECT_EQ(dlgItem(&dialog, IDC_DB_FIRST), &first);
    EXPECT_NE(oldFirst, &first);
    EXPECT_EQ(first.size(), QSize(20, 18));          // the normal bitmap's size
    EXPECT_EQ(childWindows(&dialog).front(), &first); // still first among the controls
    EXPECT_EQ(windowText(&first), "|<");

    // Clicking it reaches the dialog as the button's command.
    int clicked = 0;
    QObject::connect(&dialog, &Dialog::command, [&](int id, int code) {
        clicked += id == IDC_DB_FIRST && code == BN_CLICKED;
    });
    first.click();
    EXPECT_EQ(clicked, 1);

    struct Case {
        bool pressed, focused, disabled;
        const QPixmap* expected;
    } cases[] = {
        { false, false, false, &first.m_bitmap },
        { true, false, false, &first.selectedBitmap },
        { true, true, false, &first.selectedBitmap }, // no pressed-and-focused bitmap
        { false, true, false, &first.focusBitmap },
        { false, false, true, &first.disabledBitmap },
        { false, true, true, &first.focusBitmap },    // focus wins over disabled
        { true, false, true, &first.selectedBitmap },
    };
    for (const auto& c : cases)
        EXPECT_EQ(&first.bitmapFor(c.pressed, c.focused, c.disabled), c.expected)
            << c.pressed << c.focused << c.disabled;

    // Only a normal bitmap: it shows in every state; loading again replaces all five.
    EXPECT_TRUE(first.loadBitmaps(IDB_NEXT, 0, 0, 0, 0));
    EXPECT_TRUE(first.disabledBitmap.isNull());
    EXPECT_TRUE(first.selectedBitmap.isNull());
    EXPECT_EQ(&first.bitmapFor(true, true, true), &first.m_bitmap);
    EXPECT_FALSE(first.loadBitmaps(IDB_NEXT, 4711, 0, 0, 0)); // a missing optional bitmap
    EXPECT_FALSE(first.m_bitmap.isNull());
    EXPECT_FALSE(first.loadBitmaps(4711, 0, 0, 0, 0));
    EXPECT_TRUE(first.m_bitmap.isNull());

    MapBitmapButton missing;
    EXPECT_FALSE(missing.subclassAndLoad(4711, &dialog, IDB_FIRST, 0, 0, 0, 0));
    MapBitmapButton noBitmap;
    EXPECT_FALSE(noBitmap.subclassAndLoad(IDC_DB_NEXT, &dialog, 4711, 0, 0, 0, 0));
}

TEST(MapBitmapButton, ColoursFollowThePaletteAndTheLabelSitsRightOfIt)
{
    registerButtons();
    QImage grey(4, 1, QImage::Format_RGB32);
    grey.setPixel(0, 0, 0xFF000000);
    grey.setPixel(1, 0, 0xFF808080);
    grey.setPixel(2, 0, 0xFFC0C0C0);
    grey.setPixel(3, 0, 0xFF123456);
    QPalette palette;
    palette.setColor(QPalette::ButtonText, QColor(0x112233));
    palette.setColor(QPalette::Dark, QColor(0x445566));
    palette.setColor(QPalette::Button, QColor(0x778899));
    QImage mapped = mapButtonColours(grey, palette);
    EXPECT_EQ(mapped.pixel(0, 0) & 0xFFFFFF, 0x112233u);
    EXPECT_EQ(mapped.pixel(1, 0) & 0xFFFFFF, 0x445566u);
    EXPECT_EQ(mapped.pixel(2, 0) & 0xFFFFFF, 0x778899u);
    EXPECT_EQ(mapped.pixel(3, 0) & 0xFFFFFF, 0x123456u);

    Dialog dialog;
    ASSERT_TRUE(dialog.create(IDD_BUTTONS));
    MapBitmapButton up;
    ASSERT_TRUE(up.subclassAndLoad(IDC_DB_LAST, &dialog, IDB_LAST, 0, 0, 0, 0));
    up.createLabel(108);
    QWidget* label = dlgItem(&dialog, 108);
    ASSERT_EQ(label, &up.label);
    EXPECT_EQ(label->x(), up.geometry().right() + 1 + 6);
    EXPECT_NEAR(label->geometry().center().y(), up.geometry().center().y(), 1);
    EXPECT_EQ(up.label.getShownText(), "¤Move row up");
    EXPECT_EQ(windowText(label), ""); // hidden from passes over the dialog's texts
}

TEST(MapBitmapButton, AClickOnTheCaptionIsAClickOnTheButton)
{
    registerButtons();
    Dialog dialog;
    ASSERT_TRUE(dialog.create(IDD_BUTTONS));
    MapBitmapButton print;
    ASSERT_TRUE(print.subclassAndLoad(IDC_DB_LAST, &dialog, IDB_PRINT_SCHEDULE, IDB_PRINT_SCHEDULE_PRESSED,
                                      IDB_PRINT_SCHEDULE_FOCUSED, IDB_PRINT_SCHEDULE_DISABLED, 0));
    print.createLabel(112);
    dialog.show();
    int clicked = 0;
    QObject::connect(&dialog, &Dialog::command, [&](int id, int code) {
        clicked += id == IDC_DB_LAST && code == BN_CLICKED;
    });

    QTest::mouseClick(&print.label, Qt::LeftButton, {}, QPoint(4, print.label.height() / 2));
    EXPECT_EQ(clicked, 1) << "the caption";
    EXPECT_FALSE(print.isDown());
    QTest::mouseClick(&print, Qt::LeftButton);
    EXPECT_EQ(clicked, 2) << "the picture";

    // Pressed on the caption and let go elsewhere: no click, as on a button.
    QTest::mousePress(&print.label, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_TRUE(print.isDown()) << "the picture shows the press";
    QTest::mouseRelease(&print.label, Qt::LeftButton, {}, QPoint(-40, 4));
    EXPECT_EQ(clicked, 2);
    EXPECT_FALSE(print.isDown());

    print.setEnabled(false);
    QTest::mouseClick(&print.label, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(clicked, 2) << "a disabled button takes no click through its caption";
}

TEST(MapBitmapButton, ScreenshotOfEveryState)
{
    registerButtons();
    const unsigned ids[4][4] = { { IDB_FIRST, IDB_FIRST_PRESSED, IDB_FIRST_FOCUSED, IDB_FIRST_DISABLED },
                                 { IDB_PREVIOUS, IDB_PREVIOUS_PRESSED, IDB_PREVIOUS_FOCUSED, IDB_PREVIOUS_DISABLED },
                                 { IDB_NEXT, IDB_NEXT_PRESSED, IDB_NEXT_FOCUSED, IDB_NEXT_DISABLED },
                                 { IDB_LAST, IDB_LAST_PRESSED, IDB_LAST_FOCUSED, IDB_LAST_DISABLED } };
    QImage sheet(4 * 28, 4 * 26, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int kind = 0; kind < 4; ++kind) {
        MapBitmapButton button;
        ASSERT_TRUE(button.loadBitmaps(ids[kind][0], ids[kind][1], ids[kind][2], ids[kind][3], 0));
        // Rows: normal, pressed, focused, disabled.
        for (int state = 0; state < 4; ++state)
            painter.drawPixmap(4 + kind * 28, 4 + state * 26, button.bitmapFor(state == 1, state == 2, state == 3));
    }
    painter.end();
    EXPECT_TRUE(sheet.scaled(sheet.size() * 3).save(QStringLiteral(SCREENSHOT_DIR "/bitmap-buttons.png")));
}

TEST(ToolBar, EntriesButtonsAndTooltips)
{
    registerButtons();
    idMap::clear();
    testsupport::LogCapture log;
    ToolBar toolBar;
    EXPECT_TRUE(toolBar.addButton(ToolBarEntry(100001, L"Airway", L"Clear airway", 3)));
    EXPECT_TRUE(toolBar.addButton(ToolBarEntry(-1, L"", L"", 0)));
    EXPECT_TRUE(toolBar.addButton(ToolBarEntry(100002, L"Pulse", L"Check for pulse", 2)));
    // The same id again: the first tooltip stays, the check is logged.
    EXPECT_FALSE(toolBar.addButton(ToolBarEntry(100001, L"Again", L"Second text", 4)));
    EXPECT_TRUE(log.hasAssertion("added == true"));
    EXPECT_EQ(idMap::lookup(100001), L"Clear airway");
    EXPECT_EQ(toolBar.findButton(100001)->name, L"Airway");
    EXPECT_EQ(toolBar.findButton(7), nullptr);
    EXPECT_EQ(toolBar.getButtonCount(), 4);

    ToolBarEntry tooLong(5, L"x", std::wstring(80, L'a'), 0);
    EXPECT_TRUE(log.hasAssertion("toolTip.size()<80"));

    QToolBar bar;
    toolBar.createButtons(&bar);
    QList<QAction*> actions = bar.actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_FALSE(actions[0]->isSeparator());
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[0]->text(), "Airway");
    EXPECT_EQ(actions[0]->toolTip(), "Clear airway");
    EXPECT_EQ(actions[2]->property("commandId").toInt(), 100002);
    EXPECT_EQ(reinterpret_cast<const ToolBarEntry*>(actions[2]->data().value<quintptr>()), toolBar.findButton(100002));
    EXPECT_EQ(actions[0]->icon().pixmap(16, 15).size(), QSize(16, 15));
    toolBar.enableButtons(&bar, false);
    EXPECT_FALSE(actions[0]->isEnabled());
    EXPECT_FALSE(actions[2]->isEnabled());

    // Drawn elsewhere: the icon's cell of the strip, natural and stretched.
    QImage canvas(64, 64, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    toolBar.drawImage(*toolBar.findButton(100002), painter, 0, 0);
    toolBar.drawImageStretched(*toolBar.findButton(100002), painter, 16, 16, 32, 30);
    painter.end();
    EventIconList small(0);
    QImage icon = small.icon(2).toImage();
    int differing = 0;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 16; ++x) {
            QRgb drawn = canvas.pixel(x, y) & 0xFFFFFF;
            QRgb source = icon.pixel(x, y);
            if (qAlpha(source) == 0)
                differing += drawn != eventIconMask; // copied as it is, mask colour and all
            else
                differing += drawn != (source & 0xFFFFFF);
            differing += (canvas.pixel(16 + 2 * x, 16 + 2 * y) & 0xFFFFFF) != drawn;
        }
    EXPECT_EQ(differing, 0);
    idMap::clear();
}

TEST(EventIconList, SizesAndLists)
{
    registerButtons();
    struct Case {
        int size, bitmap, width, height;
    } cases[] = { { 0, 280, 16, 15 }, { 3, 280, 16, 15 }, { 1, 279, 24, 24 }, { 2, 278, 32, 32 } };
    for (const auto& c : cases) {
        EventIconList list(c.size);
        EXPECT_EQ(list.bitmapId, c.bitmap);
        ASSERT_EQ(list.count(), 97) << c.size;
        for (int i = 0; i < 97; ++i) {
            QImage icon = list.icon(i).toImage();
            ASSERT_EQ(icon.size(), QSize(c.width, c.height)) << i;
            // Every icon shows something, and leaves some of its cell clear.
            int ink = 0;
            for (int y = 0; y < icon.height(); ++y)
                for (int x = 0; x < icon.width(); ++x)
                    ink += qAlpha(icon.pixel(x, y)) != 0 && (icon.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
            EXPECT_GT(ink, 3) << c.size << " icon " << i;
            EXPECT_LT(ink, c.width * c.height) << c.size << " icon " << i;
        }
        EXPECT_TRUE(list.icon(97).isNull());
    }
    // The icons the CPR Controller shows are pure black on white.
    for (int bitmap : { 278, 279 }) {
        QImage strip = loadBitmapImage(bitmap);
        ASSERT_EQ(strip.width(), 97 * strip.height());
        int other = 0;
        for (int y = 0; y < strip.height(); ++y)
            for (int x = 0; x < strip.width(); ++x) {
                QRgb p = strip.pixel(x, y) & 0xFFFFFF;
                other += p != 0 && p != 0xFFFFFF;
            }
        EXPECT_EQ(other, 0) << bitmap;
    }

    QListWidget list;
    list.addItem(QStringLiteral("old"));
    list.addItem(QStringLiteral("older"));
    EventIconList icons(0);
    icons.attachToList(&list);
    icons.fillList(&list);
    ASSERT_EQ(list.count(), 97);
    EXPECT_EQ(list.item(17)->data(Qt::UserRole).toInt(), 17);
    EXPECT_TRUE(list.item(17)->text().isEmpty());
    EXPECT_EQ(list.palette().color(QPalette::Base), QColor(0xC0C0C0));
    QLabel picture;
    icons.showIcon(&picture, 5);
    EXPECT_EQ(picture.pixmap().size(), QSize(16, 15));

    // A contact sheet of all three sizes to look at.
    // Each icon in a column: 32, 24 and 16 pixels.
    QImage sheet(16 * 40, 7 * 84, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    EventIconList large(2), medium(1);
    for (int i = 0; i < 97; ++i) {
        int x = (i % 16) * 40, y = (i / 16) * 84;
        large.draw(painter, i, x + 4, y + 2);
        medium.draw(painter, i, x + 8, y + 38);
        icons.draw(painter, i, x + 12, y + 66);
    }
    painter.end();
    EXPECT_TRUE(sheet.scaled(sheet.size() * 2).save(QStringLiteral(SCREENSHOT_DIR "/event-icons.png")));
}

} // namespace
