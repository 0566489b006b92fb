// Tooltips from the id map: the program's fixed texts, a duplicate id, the
// wrapping into 300 pixels, and the controls and event buttons of the graph
// page and the surveillance window answering the hover with their texts, in
// English and in German.
#include "DemoPorts.h"
#include "FakeSessionServices.h"
#include "gettext/TranslationHooks.h"
#include "gettext/Translator.h"
#include "platform/CodePage.h"
#include "platformqt/Window.h"
#include "res/Bitmaps.h"
#include "session/SessionGraphView.h"
#include "session/SessionManager.h"
#include "session/SurveillanceView.h"
#include "session/ToolTipTexts.h"
#include "support/TestSupport.h"
#include "ui/IdMap.h"
#include "ui/ToolTips.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <gtest/gtest.h>

using namespace sessiontest;

namespace {

// The English and German texts of one id.
struct Expected {
    int id;
    const wchar_t* english;
    const wchar_t* german;
};

// The tip shown after hovering over the middle of the widget; empty when none.
QString hover(QWidget* widget)
{
    const QPoint local = widget->rect().center();
    QHelpEvent event(QEvent::ToolTip, local, widget->mapToGlobal(local));
    QApplication::sendEvent(widget, &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// Hovering shows no tooltip: any tip still up goes away.
bool showsNoTip(QWidget* widget)
{
    hover(widget);
    return QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000);
}

QString oneLine(QString text) { return text.replace(QLatin1Char('\n'), QLatin1Char(' ')); }

class ToolTipTest : public ::testing::Test {
protected:
    ToolTipTest()
    {
        res::registerBitmaps();
        manager = std::make_unique<SessionManager>();
        sessionManager = manager.get();
        idMap::clear();
        idMap::fill();
    }
    ~ToolTipTest() override
    {
        userInterfaceTranslator().open("");
        idMap::clear();
        manager.reset();
        sessionManager = nullptr;
    }

    testsupport::LogCapture log;
    FakeSessionServices services;
    DemoPorts demo;
    std::unique_ptr<SessionManager> manager;
};

TEST_F(ToolTipTest, FixedTextsAndADuplicateId)
{
    EXPECT_EQ(idMap::lookup(32780), L"Calibrate manikins");
    EXPECT_EQ(idMap::lookup(2), L"Abort this session.\nThere is no way to resume an aborted session");
    EXPECT_EQ(idMap::lookup(1050), L"Initial ventilations");
    EXPECT_EQ(idMap::lookup(57665), L"Exit Tavo CPR Software");
    EXPECT_EQ(idMap::lookup(32922), L"") << "the configuration command has no text";

    // The first text stays, and the failed check is logged once.
    EXPECT_FALSE(idMap::insert(32780, L"Something else"));
    EXPECT_EQ(idMap::lookup(32780), L"Calibrate manikins");
    const std::string logged = log.text();
    std::size_t asserts = 0;
    for (std::size_t at = logged.find("Assert"); at != std::string::npos; at = logged.find("Assert", at + 1))
        ++asserts;
    EXPECT_EQ(asserts, 1u) << logged;
}

TEST(ToolTipWrap, LinesFitTheWidthAndKeepTheirBreaks)
{
    const QFontMetrics metrics(QToolTip::font());
    const QString texts[] = {
        QStringLiteral("Zoom in or out"),
        QStringLiteral("When enabled, the stomach inflation and wrong hand position icons are shown on the graph"),
        QStringLiteral("Display the evaluation screen.\nThis is only available when the session is paused"),
    };
    for (const QString& text : texts) {
        const QString wrapped = tooltips::wrapText(text, metrics, 200);
        for (const QString& line : wrapped.split(QLatin1Char('\n')))
            EXPECT_LE(metrics.horizontalAdvance(line), 200) << line.toStdString();
        EXPECT_EQ(wrapped.simplified(), text.simplified()) << "nothing lost or added";
        EXPECT_GE(wrapped.count(QLatin1Char('\n')), text.count(QLatin1Char('\n')));
    }
    EXPECT_EQ(tooltips::wrapText(texts[0], metrics, 200), texts[0]);
    EXPECT_GE(tooltips::wrapText(texts[1], metrics, 200).count(QLatin1Char('\n')), 1);
    // A word wider than the line stands alone.
    EXPECT_EQ(tooltips::wrapText(QStringLiteral("a Pneumothoraxdekompression b"), metrics, 5),
              QStringLiteral("a\nPneumothoraxdekompression\nb"));
}

// Japanese has no blanks between words: a tip breaks between any two of its
// characters, as the program's word wrap breaks it, while an English word in
// it stays whole.
TEST(ToolTipWrap, JapaneseBreaksBetweenItsCharacters)
{
    installTranslationHooks();
    ASSERT_TRUE(userInterfaceTranslator().open(JA_CATALOGUE));
    platform::setAnsiCodePage(932);
    struct Restore {
        ~Restore()
        {
            platform::setAnsiCodePage(1252);
            userInterfaceTranslator().open("");
        }
    } restore;

    const QFontMetrics metrics(QToolTip::font());
    const QString text = QStringLiteral("\u3053\u306e\u30dc\u30bf\u30f3\u3067\u30bb\u30c3\u30b7\u30e7\u30f3"
                                        "\u3092\u4e00\u6642\u505c\u6b62\u3057\u307e\u3059\u3002CPR\u30c8"
                                        "\u30ec\u30fc\u30cb\u30f3\u30b0\u3092\u518d\u958b\u3059\u308b\u306b"
                                        "\u306f\u958b\u59cb\u30dc\u30bf\u30f3\u3092\u62bc\u3057\u3066\u304f"
                                        "\u3060\u3055\u3044\u3002");
    const int width = metrics.horizontalAdvance(text) / 3;
    const QString wrapped = tooltips::wrapText(text, metrics, width);
    const QStringList lines = wrapped.split(QLatin1Char('\n'));
    EXPECT_GE(lines.size(), 3) << wrapped.toStdString();
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), width) << line.toStdString();
    EXPECT_EQ(lines.join(QString()), text) << "nothing lost or added";
    EXPECT_TRUE(wrapped.contains(QStringLiteral("CPR"))) << "an English word is not broken";
}

TEST_F(ToolTipTest, GraphPageControlsAndEventButtonsShowTheirTexts)
{
    SessionRecord record;
    record.Scenario = "Drowning";
    services.scenarios["Drowning"] = { { "Shock", "Defibrillation", 5 } };
    std::unique_ptr<Session> session = DemoPorts::liveSession(250, record);
    auto* page = new SessionGraphView(*session);
    page->resize(1000, 640);
    page->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page));

    // A control without a text shows no tooltip, not even its own.
    QPushButton* help = nullptr;
    for (QPushButton* button : page->findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("Help"))
            help = button;
    ASSERT_NE(help, nullptr);
    help->setToolTip(QStringLiteral("own text"));
    EXPECT_TRUE(showsNoTip(help));

    // The event button shows the tooltip registered under its id when the
    // session was made.
    QToolBar* bar = page->eventBar(0);
    ASSERT_NE(bar, nullptr);
    QAction* event = nullptr;
    for (QAction* action : bar->actions())
        if (!action->isSeparator() && !event)
            event = action;
    ASSERT_NE(event, nullptr);
    const std::wstring eventTip = idMap::lookup(event->property("commandId").toInt());
    ASSERT_FALSE(eventTip.empty());
    EXPECT_EQ(oneLine(hover(bar->widgetForAction(event))).toStdWString(), eventTip);

    const Expected controls[] = {
        { 1018, L"Start/resume this session", L"Diese Sitzung starten/fortsetzen" },
        { 1023, L"Pause this session", L"Diese Sitzung anhalten" },
        { 2, L"Abort this session.\nThere is no way to resume an aborted session",
          L"Diese Sitzung abbrechen.\nEine abgebrochene Sitzung lässt sich nicht fortsetzen" },
        { 1019, L"Display the evaluation screen.\nThis is only available when the session is paused",
          L"Die Auswertung anzeigen.\nNur möglich, solange die Sitzung angehalten ist" },
        { 1010, L"Select the amount of time displayed on the graph", L"Die im Diagramm gezeigte Zeitspanne wählen" },
        { 1024, L"Zoom in or out", L"Vergrößern oder verkleinern" },
        { 1025, L"Select an area of the graph to display.\nThis is only available when the session is paused",
          L"Einen Bereich des Diagramms zur Anzeige wählen.\nNur möglich, solange die Sitzung angehalten ist" },
        { 1026, L"Show the entire recorded interval.\nThis is only available when the session is paused",
          L"Die ganze Aufzeichnung zeigen.\nNur möglich, solange die Sitzung angehalten ist" },
        { 1003, L"When enabled, the custom events from the toolbars are shown on the graph",
          L"Wenn eingeschaltet, zeigt das Diagramm die eigenen Ereignisse aus den Symbolleisten" },
        { 1001, L"When enabled, the stomach inflation and wrong hand position icons are shown on the graph",
          L"Wenn eingeschaltet, zeigt das Diagramm die Symbole für Mageninsufflation und falsche Handposition" },
        { 1013, L"When enabled, the compression/relaxation ratios are shown on the graph",
          L"Wenn eingeschaltet, zeigt das Diagramm die Verhältnisse von Kompression zu Entlastung" },
        { 1321, L"When enabled, the cardiac output is shown on the graph",
          L"Wenn eingeschaltet, zeigt das Diagramm das Herzzeitvolumen" },
    };
    for (bool german : { false, true }) {
        if (german) {
            ASSERT_TRUE(userInterfaceTranslator().open(DE_CATALOGUE));
            idMap::clear();
            idMap::fill();
        }
        for (const Expected& control : controls) {
            QWidget* widget = nullptr;
            for (QWidget* child : page->findChildren<QWidget*>())
                if (platform::controlId(child) == control.id && !widget)
                    widget = child;
            ASSERT_NE(widget, nullptr) << control.id;
            const QString shown = hover(widget);
            EXPECT_EQ(oneLine(shown).toStdWString(), oneLine(QString::fromWCharArray(german ? control.german : control.english)).toStdWString())
                << control.id;
            // Never wider than 300 pixels, margins included, with the text's
            // own breaks kept.
            const QFontMetrics metrics(QToolTip::font());
            for (const QString& line : shown.split(QLatin1Char('\n')))
                EXPECT_LE(metrics.horizontalAdvance(line) + 2 * tooltips::tipMargin, 300) << line.toStdString();
            for (QWidget* window : QApplication::topLevelWidgets())
                if (window->objectName() == QLatin1String("qtooltip_label") && window->isVisible()) {
                    EXPECT_LE(window->width(), 300) << control.id;
                }
            EXPECT_GE(shown.count(QLatin1Char('\n')), QString::fromWCharArray(control.english).count(QLatin1Char('\n')));
        }
    }

    page->detach();
    delete page;
}

TEST_F(ToolTipTest, SurveillanceControlsShowTheirTexts)
{
    sessionManagerMultiView view;
    view.resize(900, 500);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_TRUE(showsNoTip(view.closeButton())) << "Close has no text";
    EXPECT_EQ(hover(view.checkList()), QStringLiteral("Show/hide a session"));
    EXPECT_EQ(oneLine(hover(view.zoomCombo())), QStringLiteral("Select the amount of time displayed on the graph"));

    ASSERT_TRUE(userInterfaceTranslator().open(DE_CATALOGUE));
    idMap::clear();
    idMap::fill();
    EXPECT_EQ(hover(view.checkList()), QStringLiteral("Eine Sitzung ein-/ausblenden"));
}

} // namespace
