// The Calibrate window on the offscreen platform, in a plain main window with
// an MDI client, against simulated devices on pseudo-terminals. Message boxes
// are answered by the tests.
#include "calibrate/CalibrateView.h"
#include "calibrate/CalibrateWindow.h"
#include "comm/CalibrateManager.h"
#include "comm/CommSettings.h"
#include "comm/SerialPort.h"
#include "platform/Clock.h"
#include "platform/WindowStyles.h"
#include "platformqt/AnimateControl.h"
#include "platformqt/Controls.h"
#include "platformqt/MessageBox.h"
#include "platformqt/Window.h"
#include "platform/Resources.h"
#include "res/Animations.h"
#include "res/Resources.h"
#include "res/resource.h"
#include "sim/HandshakeDevices.h"
#include "sim/PortsFolder.h"
#include "sim/SimModemLines.h"
#include "support/TestSupport.h"
#include "ui/FormChildFrame.h"
#include "ui/MdiHost.h"

#include <QCoreApplication>
#include <QDir>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <thread>

namespace {

using namespace platform;

// The system clock, counting the one-second waits of the calibration polls.
class CountingClock : public Clock {
public:
    CountingClock() { setClock(this); }
    ~CountingClock() override { setClock(nullptr); }
    std::uint64_t tickCount() override
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    void sleep(int milliseconds) override
    {
        if (milliseconds == 1000)
            ++secondWaits;
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    int secondWaits = 0;
};

// What a message box asked, and how the window stood at that moment.
struct Box {
    std::wstring text;
    std::wstring caption;
    unsigned flags = 0;
    bool mainWindowEnabled = true;
    bool expanded = false;
    bool animating = false;
    int viewHeight = 0;
};

const std::wstring noPortsText =
    L"No COM ports are available! If a port is used by another application, close the application and select 'Retry'.";

QString artefactPath(const QString& name)
{
    const QString folder = QStringLiteral(ARTEFACT_DIR);
    QDir().mkpath(folder);
    return folder + "/" + name;
}

class CalibrateWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        res::registerResources();
        sim::SimModemLines::install();
        resetPortTable();
        host.window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host.window));
        previousHook = setMessageBoxHook([this](const MessageBoxRequest& request) {
            Box box { request.text, request.caption, request.flags, host.window.isEnabled() };
            if (auto* view = dynamic_cast<CalibrateView*>(request.owner)) {
                box.expanded = view->isExpanded();
                box.viewHeight = view->height();
                box.animating = dlgItem<AnimateControl>(view, IDC_CALIBRATE_ANIMATION)->isPlaying();
            }
            if (!shotAtFirstBox.isEmpty() && boxes.empty()) {
                EXPECT_TRUE(request.owner->window()->grab().save(artefactPath(shotAtFirstBox)));
            }
            boxes.push_back(box);
            if (!answers.empty()) {
                const int answer = answers.front();
                answers.pop_front();
                return answer;
            }
            return (request.flags & MB_TYPEMASK) == MB_RETRYCANCEL ? IDCANCEL : IDOK;
        });
    }

    void TearDown() override
    {
        setMessageBoxHook(previousHook);
        resetPortTable();
        CommSettings::setDemoMode(false);
    }

    // The port table is the program's one table: every test starts from a
    // table without calibrated or reserved ports.
    static void resetPortTable()
    {
        CalibrateManager& table = CalibrateManager::get();
        for (int port = 1; port <= CalibrateManager::COM_PORTS; ++port) {
            table.setCalibrated(false, port);
            if (!table.getIsAvailable(port))
                table.releasePort(port);
        }
    }

    // The form, expanded, in a frame as the application makes it.
    CalibrateView* openExpanded()
    {
        auto* frame = new FormChildFrame;
        frame->fitToView = true;
        frame->resizable = false;
        frame->hideOnClose = true;
        auto* view = new CalibrateView;
        view->setExpanded(true);
        frame->form = view;
        EXPECT_TRUE(frame->createFrame(L"Calibrate"));
        frame->activateFrame();
        return view;
    }

    static CheckListBox* list(const CalibrateView* view) { return dlgItem<CheckListBox>(view, IDC_CALIBRATE_PORTS); }
    static std::wstring status(const CalibrateView* view)
    {
        return windowText(dlgItem(view, IDC_CALIBRATE_STATUS)).toStdWString();
    }
    static std::wstring rowText(const CalibrateView* view, int port)
    {
        return list(view)->getText(view->rowOfPort(port)).toStdWString();
    }

    sim::PortsFolder ports;
    MdiHost host;
    CalibrateWindow calibrateWindow;
    std::vector<Box> boxes;
    std::deque<int> answers;
    // A screenshot of the main window taken when the first box comes up.
    QString shotAtFirstBox;
    MessageBoxHook previousHook;
};

std::shared_ptr<sim::Waveform> atRest() { return std::make_shared<sim::RestWaveform>(40, 22, 2); }

// Someone pumps the chest all the time.
std::shared_ptr<sim::Waveform> moving()
{
    return std::make_shared<sim::CallbackWaveform>([](std::size_t index) {
        sim::SampleValue value;
        value.compression = 20 + static_cast<int>(index % 10) * 8;
        value.ventilation = 22;
        return value;
    });
}

TEST_F(CalibrateWindowTest, StartUpWithOneManikinCalibratesAndClosesByItself)
{
    sim::QueryDevice manikin(ports.path(), 3);
    manikin.setWaveform(atRest());
    ASSERT_TRUE(manikin.start());

    EXPECT_FALSE(calibrateWindow.onCalibrate()) << "no calibration error";
    EXPECT_TRUE(boxes.empty());
    FormChildFrame* frame = calibrateWindow.frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->isVisible()) << "the window closed by itself";
    EXPECT_TRUE(host.window.isEnabled());
    EXPECT_EQ(CalibrateManager::get().countCalibrated(), 1);
    EXPECT_TRUE(CalibrateManager::get().getIsCalibrated(3));
    CalibrateView* view = calibrateWindow.view();
    EXPECT_TRUE(view->isExpanded()) << "expanded for the next time it is shown";
    EXPECT_EQ(rowText(view, 3), L"COM 3: - Calibrated");
    EXPECT_EQ(status(view), L"") << "closing clears the status";

    // The Calibrate command shows the window again, which searches again.
    EXPECT_FALSE(calibrateWindow.onCalibrate());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(host.mdi->activeSubWindow(), frame);
    EXPECT_EQ(status(view), L"");
    QCoreApplication::processEvents();
    EXPECT_EQ(status(view), L"Ready to calibrate");
    EXPECT_EQ(rowText(view, 3), L"COM 3: - Calibrated") << "a search keeps the calibration of a port that answers";
    EXPECT_EQ(windowText(dlgItem(view, IDCANCEL)), "Close");
    EXPECT_FALSE(dlgItem(view, IDOK)->isEnabled()) << "nothing left to calibrate";

    // Close hides the window; it stays for the next time.
    QTest::mouseClick(static_cast<QWidget*>(dlgItem(view, IDCANCEL)), Qt::LeftButton);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(calibrateWindow.frame(), frame);
}

TEST_F(CalibrateWindowTest, StartUpWithFailingManikinsReportsThemAndStaysOpenExpanded)
{
    sim::QueryDevice good(ports.path(), 3);
    good.setWaveform(atRest());
    sim::QueryDevice moved(ports.path(), 4);
    moved.setWaveform(moving());
    // Answers the handshake but sends no records: its calibration cannot start.
    sim::QueryDevice silent(ports.path(), 5);
    sim::StreamSettings noRecords;
    noRecords.silent = true;
    silent.setStream(noRecords);
    for (sim::QueryDevice* device : { &good, &moved, &silent })
        ASSERT_TRUE(device->start());
    CountingClock clock;
    shotAtFirstBox = "calibrate-collapsed-calibrating.png";

    EXPECT_TRUE(calibrateWindow.onCalibrate()) << "a calibration error";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"Calibration Error");
    EXPECT_EQ(boxes[0].flags, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(boxes[0].text,
              L"An error occurred during calibration.\n"
              L"Error calibrating COM4: The manikin was probably moved during calibration, or the cable is not connected.\n"
              L"Error calibrating COM5: Could not find manikin. Make sure the manikin is connected correctly.\n");
    EXPECT_FALSE(boxes[0].mainWindowEnabled) << "the main window is disabled while calibrating";
    EXPECT_TRUE(boxes[0].animating);
    // The port whose calibration never started costs no waiting: the waits
    // are those of the two that did start, polled once a second until 2.2 s.
    EXPECT_LE(clock.secondWaits, 4);

    FormChildFrame* frame = calibrateWindow.frame();
    CalibrateView* view = calibrateWindow.view();
    EXPECT_TRUE(frame->isVisible()) << "the window stays open";
    EXPECT_TRUE(view->isExpanded());
    EXPECT_TRUE(view->hasCalibrationError());
    EXPECT_EQ(status(view), L"Calibration done") << "one manikin was calibrated";
    EXPECT_TRUE(host.window.isEnabled());
    CalibrateManager& table = CalibrateManager::get();
    EXPECT_TRUE(table.getIsCalibrated(3));
    EXPECT_FALSE(table.getIsCalibrated(4));
    EXPECT_FALSE(table.getIsCalibrated(5));
    for (int port : { 3, 4, 5 })
        EXPECT_FALSE(table.getSerialPort(port)->isOpen) << port;
    EXPECT_EQ(rowText(view, 3), L"COM 3: - Calibrated");
    EXPECT_EQ(rowText(view, 4), L"COM 4: - Need calibration");
    EXPECT_EQ(list(view)->getCheck(view->rowOfPort(4)), 1) << "offered again";
    EXPECT_EQ(view->focusWidget(), dlgItem(view, IDC_CALIBRATE_SEARCH));
    EXPECT_TRUE(host.window.grab().save(artefactPath("calibrate-error.png")));
}

TEST_F(CalibrateWindowTest, StartUpWithNoPortAsksToRetryThenStaysOpen)
{
    answers = { IDRETRY, IDCANCEL };
    EXPECT_FALSE(calibrateWindow.onCalibrate()) << "no calibration was tried, so none failed";

    ASSERT_EQ(boxes.size(), 3u);
    for (int i : { 0, 1 }) {
        EXPECT_EQ(boxes[i].text, noPortsText);
        EXPECT_EQ(boxes[i].caption, L"Calibration Error");
        EXPECT_EQ(boxes[i].flags, MB_RETRYCANCEL | MB_ICONSTOP);
        EXPECT_FALSE(boxes[i].mainWindowEnabled);
        EXPECT_TRUE(boxes[i].animating);
    }
    EXPECT_EQ(boxes[2].text, L"There are no com ports to calibrate! ");
    EXPECT_EQ(boxes[2].flags, MB_OK | MB_ICONSTOP);

    // Collapsed, the window ends 2 pixels below the animation.
    CalibrateView* view = calibrateWindow.view();
    const QWidget* animation = dlgItem(view, IDC_CALIBRATE_ANIMATION);
    EXPECT_FALSE(boxes[0].expanded);
    EXPECT_EQ(boxes[0].viewHeight, animation->geometry().bottom() + 1 + 2);
    EXPECT_TRUE(boxes[1].expanded) << "the first box expanded the window";
    EXPECT_GT(boxes[1].viewHeight, list(view)->geometry().bottom());

    FormChildFrame* frame = calibrateWindow.frame();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(view->isExpanded());
    EXPECT_EQ(frame->clientArea()->size(), view->size()) << "the frame fits the window";
    EXPECT_EQ(status(view), L"No ports are calibrated");
    EXPECT_EQ(list(view)->getCount(), 0);
    EXPECT_FALSE(dlgItem(view, IDOK)->isEnabled());
    EXPECT_TRUE(host.window.isEnabled());
    EXPECT_FALSE(dlgItem<AnimateControl>(view, IDC_CALIBRATE_ANIMATION)->isPlaying());

    // "Look for manikins" searches again and gives the focus back to the button.
    QWidget* search = dlgItem(view, IDC_CALIBRATE_SEARCH);
    QTest::mouseClick(search, Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[3].text, noPortsText);
    EXPECT_EQ(view->focusWidget(), search);
    EXPECT_EQ(status(view), L"Ready to calibrate");

    // Help opens the window's help context.
    QTest::mouseClick(static_cast<QWidget*>(dlgItem(view, ID_HELP)), Qt::LeftButton);
    EXPECT_EQ(host.helpContexts, std::vector<int> { CalibrateView::helpContext });
}

// Clicks the check box of a row.
void clickCheck(CheckListBox* list, int row)
{
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.rect = list->visualItemRect(list->item(row));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    const QRect box = list->QWidget::style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
}

TEST_F(CalibrateWindowTest, RowsFollowEachPortsStateAndOnlyFreeOnesCanBeChecked)
{
    sim::QueryDevice sessionManikin(ports.path(), 2);
    sim::QueryDevice heldElsewhere(ports.path(), 3);
    sim::QueryDevice noInterface(ports.path(), 4);
    sim::QueryDevice calibrated(ports.path(), 5);
    sim::QueryDevice controller(ports.path(), 6, sim::QueryDevice::controllerIdentity());
    sim::QueryDevice needsCalibration(ports.path(), 7);
    sim::Misbehaviour badReply;
    badReply.replyInstead = sim::Bytes { 0x02, 0x2A, 0x0D, 0x0A };
    sim::FramedDevice wrongInterface(ports.path(), 8, 0x2A, badReply);
    for (sim::Device* device : std::initializer_list<sim::Device*> { &sessionManikin, &heldElsewhere, &noInterface,
                                                                     &calibrated, &controller, &needsCalibration,
                                                                     &wrongInterface })
        ASSERT_TRUE(device->start());
    noInterface.setCts(false);
    sim::OtherProgramHolding otherProgram(heldElsewhere.devicePath());
    ASSERT_TRUE(otherProgram.holds());
    CalibrateManager& table = CalibrateManager::get();
    table.setCalibrated(true, 5);

    // Shown expanded, the window searches once the event loop runs.
    CalibrateView* view = openExpanded();
    EXPECT_EQ(list(view)->getCount(), 0);
    QCoreApplication::processEvents();
    otherProgram.release();
    // A session takes port 2; the list follows the port table.
    table.reservePort(2);

    const struct {
        int port;
        const wchar_t* text;
        int check;
        bool enabled;
    } rows[] = {
        { 2, L"COM 2: - Is in use", 0, false },
        { 3, L"COM 3: - Used by other application", 0, false },
        { 4, L"COM 4: - No interface", 0, true },
        { 5, L"COM 5: - Calibrated", 0, true },
        { 6, L"COM 6: - CPR Controller", 0, false },
        { 7, L"COM 7: - Need calibration", 1, true },
        { 8, L"COM 8: - Problem with interface", 0, true },
    };
    CheckListBox* portList = list(view);
    ASSERT_EQ(portList->getCount(), 7);
    for (int row = 0; row < 7; ++row) {
        EXPECT_EQ(view->portOfRow(row), rows[row].port);
        EXPECT_EQ(view->rowOfPort(rows[row].port), row);
        EXPECT_EQ(portList->getText(row).toStdWString(), rows[row].text);
        EXPECT_EQ(portList->getCheck(row), rows[row].check) << rows[row].port;
        EXPECT_EQ(portList->isItemEnabled(row), rows[row].enabled) << rows[row].port;
    }
    EXPECT_EQ(view->rowOfPort(1), -1) << "ports that do not exist are not listed";
    EXPECT_EQ(view->fillPortList(), 4) << "ports found: no interface, calibrated, controller, needs calibration";
    EXPECT_EQ(status(view), L"Ready to calibrate");
    EXPECT_TRUE(dlgItem(view, IDOK)->isEnabled());
    EXPECT_TRUE(view->grab().save(artefactPath("calibrate-rows.png")));

    // Rows of ports that are in use elsewhere or hold a controller cannot be checked.
    for (int port : { 2, 3, 6 }) {
        clickCheck(portList, view->rowOfPort(port));
        EXPECT_EQ(portList->getCheck(view->rowOfPort(port)), 0) << port;
    }
    // With no row checked there is nothing to calibrate.
    clickCheck(portList, view->rowOfPort(7));
    EXPECT_EQ(portList->getCheck(view->rowOfPort(7)), 0);
    EXPECT_FALSE(dlgItem(view, IDOK)->isEnabled());
    clickCheck(portList, view->rowOfPort(4));
    EXPECT_EQ(portList->getCheck(view->rowOfPort(4)), 1);
    EXPECT_TRUE(dlgItem(view, IDOK)->isEnabled());
}

TEST_F(CalibrateWindowTest, ModalDialogSearchesWhenShownCalibratesAndEndsOnClose)
{
    // Demonstration ports are found without being opened and calibrate at
    // once. The program is in demonstration mode from its start, so these
    // ports were never opened: no earlier open result of them shows.
    CommSettings::setDemoMode(true);
    for (int port = CommSettings::firstDemoPort; port <= CalibrateManager::COM_PORTS; ++port)
        CalibrateManager::get().getSerialPort(port)->openResult = SerialPort::OPEN_OK;
    CalibrateView dialog;
    dialog.setExpanded(true);
    bool checked = false;
    QTimer::singleShot(0, &dialog, [&] {
        QCoreApplication::sendPostedEvents(&dialog);
        EXPECT_EQ(windowText(&dialog), "Communication");
        EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
        EXPECT_EQ(list(&dialog)->getCount(), 10);
        EXPECT_EQ(rowText(&dialog, 247), L"COM 247: - Need calibration");
        EXPECT_EQ(status(&dialog), L"Ready to calibrate");

        QTest::mouseClick(static_cast<QWidget*>(dlgItem(&dialog, IDOK)), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible()) << "OK calibrates and leaves the dialog open";
        EXPECT_EQ(status(&dialog), L"Calibration done");
        EXPECT_EQ(CalibrateManager::get().countCalibrated(), 10);
        EXPECT_EQ(rowText(&dialog, 256), L"COM 256: - Calibrated");
        checked = true;
        QTest::mouseClick(static_cast<QWidget*>(dlgItem(&dialog, IDCANCEL)), Qt::LeftButton);
    });
    EXPECT_FALSE(dialog.runModal(&host.window));
    EXPECT_TRUE(checked);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(host.window.isEnabled()) << "a modal dialog leaves the main window alone";
}

TEST_F(CalibrateWindowTest, MissingPiecesAreLoggedAndTheWindowGoesOn)
{
    testsupport::LogCapture log;
    CalibrateView early;
    EXPECT_EQ(early.fillPortList(), 0);
    EXPECT_TRUE(log.hasAssertion("::IsWindow(comBox.m_hWnd)"));
    EXPECT_TRUE(log.hasAssertion("::IsWindow(m_hWnd)"));

    unregisterResource(RT_ANIMATION, IDR_SEARCH_ANIMATION);
    CalibrateView* view = openExpanded();
    res::registerAnimations();
    EXPECT_TRUE(log.hasAssertion("animation.Open(156)!=0"));
    answers = { IDCANCEL };
    view->searchPorts();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(status(view), L"Ready to calibrate");
}

} // namespace
