// Sending the setup through the send selector to simulated CPR Controllers on
// pseudo-terminals: one progress window per controller, each keeping its
// outcome, the icons taken from the program's own event icons.
#include "CPB/EventIconImages.h"
#include "CPB/MemoryMap.h"
#include "CPB/Pointer.h"
#include "CPB/windows/CPBTransfer.h"
#include "CPB/windows/ProgressDialog.h"
#include "Database/DbTestSupport.h"
#include "comm/CalibrateManager.h"
#include "config/Configuration.h"
#include "config/ConfigurationDialog.h"
#include "config/LangStruct.h"
#include "config/PropertyModel.h"
#include "platform/WindowStyles.h"
#include "platformqt/BitmapResource.h"
#include "platformqt/Window.h"
#include "res/Resources.h"
#include "res/resource.h"
#include "sim/ControllerDevice.h"
#include "sim/PortsFolder.h"
#include "sim/SimModemLines.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using sim::Bytes;

constexpr int firstPort = 14;
constexpr int secondPort = 15;

// What the user saw of the transfer windows.
struct Seen {
    QString caption;
    QString text;
    QString button;
    QString percentage;
};

class CPBTransferSendTest : public dbtest::DbTest {
protected:
    CPBTransferSendTest()
        : first(ports.path(), firstPort)
        , second(ports.path(), secondPort)
    {
        sim::SimModemLines::install();
    }

    static void SetUpTestSuite() { res::registerResources(); }

    void SetUp() override
    {
        dbtest::DbTest::SetUp();
        ASSERT_TRUE(first.start());
        ASSERT_TRUE(second.start());
        CalibrateManager::get().scanPorts();
        ASSERT_EQ(CalibrateManager::get().getCPBPorts(), (std::vector<int> { firstPort, secondPort }));
        parent.setWindowTitle("Configuration");
        parent.resize(420, 300);
        parent.show();
    }

    void TearDown() override
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        first.stop();
        second.stop();
        dbtest::DbTest::TearDown();
    }

    static std::vector<ProgressDialog*> transferWindows()
    {
        std::vector<ProgressDialog*> found;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<ProgressDialog*>(w); p && p->isVisible())
                found.push_back(p);
        return found;
    }

    static QString textOf(QWidget* window, int id)
    {
        return platform::dlgItem<QWidget>(window, id)->property("text").toString();
    }

    // Answers the selector with `button` once it shows.
    static void answerSelector(int button)
    {
        QTimer::singleShot(0, [button] {
            auto* selector = qobject_cast<platform::Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(selector, nullptr);
            EXPECT_EQ(selector->windowTitle(), "Send setup to CPR Controller");
            selector->sendCommand(button, BN_CLICKED);
        });
    }

    sim::PortsFolder ports;
    sim::ControllerDevice first;
    sim::ControllerDevice second;
    QDialog parent;
};

TEST_F(CPBTransferSendTest, CancelSendsNothing)
{
    answerSelector(IDCANCEL);
    PropertyModel model;
    EXPECT_EQ(CPBTransfer::instance().sendSetup(&model, &parent), IDCANCEL);
    EXPECT_TRUE(first.transcript().empty());
    EXPECT_TRUE(second.transcript().empty());
    EXPECT_TRUE(transferWindows().empty());
    EXPECT_TRUE(parent.isEnabled());
}

TEST_F(CPBTransferSendTest, EachControllerKeepsItsOutcomeUntilClosed)
{
    // The first controller stops answering at the second algorithm's plot
    // data; the second takes the whole setup.
    sim::ControllerFault silence;
    silence.kind = sim::ControllerFault::NoAnswer;
    silence.atBank = 0x51;
    silence.atOffset = 0x4500;
    silence.times = -1;
    first.addFault(silence);
    PropertyModel model;
    model.setIconNumber(0, 42);

    std::vector<Seen> seen;
    bool parentDisabledDuringTransfer = false;
    bool parentDisabledWhileOneLeft = false;
    QTimer watcher;
    watcher.setInterval(20);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        std::vector<ProgressDialog*> windows = transferWindows();
        for (ProgressDialog* w : windows)
            if (!w->isButtonEnabled() && !parent.isEnabled())
                parentDisabledDuringTransfer = true;
        if (windows.size() != 2 || !windows[0]->isButtonEnabled() || !windows[1]->isButtonEnabled())
            return;
        watcher.stop();
        std::sort(windows.begin(), windows.end(),
                  [](ProgressDialog* a, ProgressDialog* b) { return a->windowTitle() < b->windowTitle(); });
        for (ProgressDialog* w : windows) {
            seen.push_back({ w->windowTitle(), textOf(w, IDC_PROGRESS_TEXT), textOf(w, IDCANCEL),
                             textOf(w, IDC_PROGRESS_PERCENT) });
            w->grab().save(QString(ARTEFACT_DIR "/send-") + w->windowTitle().right(5) + ".png");
        }
        windows[1]->sendCommand(IDCANCEL, BN_CLICKED);
        parentDisabledWhileOneLeft = !parent.isEnabled();
        windows[0]->sendCommand(IDCANCEL, BN_CLICKED);
    });
    watcher.start();
    answerSelector(IDOK);
    EXPECT_EQ(CPBTransfer::instance().sendSetup(&model, &parent), IDOK);

    ASSERT_EQ(seen.size(), 2u) << "both windows stayed until closed";
    EXPECT_EQ(seen[0].caption, "Tavo CPR Controller on COM14");
    EXPECT_EQ(seen[0].text, "An error occurred, please try again.") << "not hidden by the later success";
    EXPECT_EQ(seen[0].percentage, "20%") << "icons to the first plot data: 202 of 1000";
    EXPECT_EQ(seen[1].caption, "Tavo CPR Controller on COM15");
    EXPECT_EQ(seen[1].text, "Transfer done.");
    EXPECT_EQ(seen[1].button, "Close");
    EXPECT_EQ(seen[1].percentage, "100%");
    EXPECT_TRUE(parentDisabledDuringTransfer);
    EXPECT_TRUE(parentDisabledWhileOneLeft);
    EXPECT_TRUE(parent.isEnabled());

    EXPECT_EQ(MemoryMap::decodeAlgorithm(first.peek(0x51, 0x7E00, 256)).name, "ERC 2005");
    EXPECT_EQ(first.peek(0x51, 0x4500, 1), (Bytes { 0xFF }));
    EXPECT_EQ(first.peek(0x51, 0x0800, 1), (Bytes { 0xFF })) << "nothing after the failure";
    EXPECT_EQ(second.peek(0x51, 0x7FF0, 6), (Bytes { 42, 1, 2, 3, 4, 5 }));
    EXPECT_EQ(second.peek(0x51, 0x7FB0, 3), MemoryMap::encodeConfigFlags(model));
    EXPECT_EQ(MemoryMap::decodeAlgorithm(second.peek(0x51, 0x7E00, 256)).name, "ERC 2005");
    EXPECT_NE(second.peek(0x51, 0x4400, 1), (Bytes { 0xFF })) << "the second algorithm's bars came last";

    // The slot pictures are the program's own event icons: exactly the black
    // pixels of the icon's cell in the 32- and 24-pixel strips are dots.
    const QImage large = platform::loadBitmapImage(278);
    const QImage small = platform::loadBitmapImage(279);
    ASSERT_FALSE(large.isNull() || small.isNull());
    const CPBAdr icon32 = Pointer::get(Pointer::ICON32_0);
    const CPBAdr icon24 = Pointer::get(Pointer::ICON24_0);
    const MonoBitmap sent32 = MemoryMap::decodeIcon32(second.peek(icon32.bank, icon32.getAdr(), 128));
    const MonoBitmap sent24 = MemoryMap::decodeIcon24(second.peek(icon24.bank, icon24.getAdr(), 72));
    int dark = 0;
    for (auto [strip, sent, size] : { std::tuple { &large, &sent32, 32 }, std::tuple { &small, &sent24, 24 } })
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const bool black = (strip->pixel(42 * size + x, y) & 0xFFFFFF) == 0;
                dark += black;
                EXPECT_EQ(sent->at(x, y), black) << size << " pixels, at " << x << ", " << y;
            }
    EXPECT_GT(dark, 20) << "the icon has a dark figure";
}

// A debriefing screen too large for the unit is no failure that sending
// again mends: the window names the screen and what to shorten.
TEST_F(CPBTransferSendTest, ScreenTooLargeIsNamedInTheOutcome)
{
    PropertyModel model;
    model.enableLegends = true;
    for (int i = 0; i < 6; ++i)
        model.setLegend(i, std::string(250, 'x'));
    std::vector<QString> outcomes;
    QTimer watcher;
    watcher.setInterval(20);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        std::vector<ProgressDialog*> windows = transferWindows();
        if (windows.size() != 2 || !windows[0]->isButtonEnabled() || !windows[1]->isButtonEnabled())
            return;
        watcher.stop();
        windows[0]->grab().save(ARTEFACT_DIR "/send-screen-too-large.png");
        for (ProgressDialog* w : windows) {
            outcomes.push_back(textOf(w, IDC_PROGRESS_TEXT));
            w->sendCommand(IDCANCEL, BN_CLICKED);
        }
    });
    watcher.start();
    answerSelector(IDOK);
    EXPECT_EQ(CPBTransfer::instance().sendSetup(&model, &parent), IDOK);
    ASSERT_EQ(outcomes.size(), 2u);
    for (const QString& text : outcomes) {
        EXPECT_TRUE(text.startsWith("The debriefing screen of " + QString::fromStdString(model.getAlgorithm1Name())
                                    + " in " + QString::fromStdWString(LangStruct::nameAt(LangStruct::indexOf(model.getLanguage(0))))
                                    + " is "))
            << text.toStdString();
        EXPECT_TRUE(text.endsWith("bytes too long for the CPR Controller: shorten the legend texts."));
    }
    EXPECT_EQ(first.peek(0x51, 0x0800, 1), (Bytes { 0xFF })) << "no screen written";
}

// OK in the configuration dialog sends before the dialog closes; the dialog
// stays until the user has seen every controller's outcome.
TEST_F(CPBTransferSendTest, ConfigurationDialogsOkShowsTheOutcomesBeforeClosing)
{
    first.setSilentAfterHandshake(true);
    testsupport::TempDir folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    Configuration& configuration = Configuration::instance();
    std::filesystem::current_path(previous);
    PropertyModel model;
    model.setIconNumber(5, 77);
    configuration.getController().setModel(model);
    CPBSetupTransfer transfer;
    configuration.setTransfer(&transfer);

    QPointer<ConfigurationDialog> dialog;
    std::vector<QString> outcomes;
    bool dialogShownWithOutcomes = false;
    QTimer watcher;
    watcher.setInterval(20);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!dialog) {
            dialog = dynamic_cast<ConfigurationDialog*>(modal);
            if (dialog)
                QTimer::singleShot(0, [&] { dialog->sendCommand(IDOK, BN_CLICKED); });
            return;
        }
        if (auto* selector = qobject_cast<platform::Dialog*>(modal);
            selector && selector->windowTitle() == "Send setup to CPR Controller") {
            selector->sendCommand(IDOK, BN_CLICKED);
            return;
        }
        std::vector<ProgressDialog*> windows = transferWindows();
        if (windows.size() != 2 || !windows[0]->isButtonEnabled() || !windows[1]->isButtonEnabled())
            return;
        watcher.stop();
        dialogShownWithOutcomes = dialog->isVisible();
        windows[0]->grab().save(ARTEFACT_DIR "/send-outcomes-over-configuration.png");
        for (ProgressDialog* w : windows) {
            outcomes.push_back(textOf(w, IDC_PROGRESS_TEXT));
            w->sendCommand(IDCANCEL, BN_CLICKED);
        }
    });
    watcher.start();
    configuration.showDialog(4, &parent);
    configuration.setTransfer(nullptr);

    std::sort(outcomes.begin(), outcomes.end());
    EXPECT_EQ(outcomes, (std::vector<QString> { "An error occurred, please try again.", "Transfer done." }));
    EXPECT_TRUE(dialogShownWithOutcomes);
    EXPECT_EQ(second.peek(0x51, 0x7FF0, 6), (Bytes { 0, 1, 2, 3, 4, 77 }));
    EXPECT_EQ(configuration.getModel().icons[5], 77) << "the OK went on after the send";
}

} // namespace
