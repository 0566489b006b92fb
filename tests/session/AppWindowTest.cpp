// The training program started as a user starts it, on the offscreen
// platform, in a temporary working folder and configuration home, with a
// SQLite data source and demonstration manikins: the start-up, the main
// window with its menus and toolbar, the heartbeat, the metronome, closing,
// the About box and help. The program starts once for the whole suite; the
// tests replace its sessions with a recording fake.
#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "DbTestSupport.h"
#include "Utillib/LocalDate.h"
#include "Utillib/LogStream.h"
#include "comm/CalibrateManager.h"
#include "comm/CommSettings.h"
#include "comm/DemoSets.h"
#include "gettext/TranslateWindow.h"
#include "gettext/Translator.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "platformqt/Menu.h"
#include "platformqt/MessageBox.h"
#include "platformqt/Window.h"
#include "res/resource.h"
#include "session/AppCommands.h"
#include "session/Help.h"
#include "session/HelpWindow.h"
#include "session/SplashNotice.h"
#include "session/MainFrame.h"
#include "session/SessionServices.h"
#include "session/SessionManager.h"
#include "session/TrainingApp.h"
#include "ui/FormChildFrame.h"
#include "support/ProgramHome.h"
#include "support/TestSupport.h"
#include "FakeSessions.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QStatusBar>
#include <QToolTip>
#include <QHelpEvent>
#include <QTest>
#include <QTextBrowser>
#include <QTextBlock>
#include <QEventLoop>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace testsupport;

namespace {

QString artefactPath(const QString& name)
{
    const QString folder = QStringLiteral(ARTEFACT_DIR);
    QDir().mkpath(folder);
    return folder + "/" + name;
}

std::vector<std::string> stepNames(const TrainingApp& app)
{
    std::vector<std::string> names;
    for (const auto& step : app.startupSteps())
        names.push_back(step.name);
    return names;
}

class TrainingAppTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        home = new ProgramHome;
        dbtest::prepareOdbc();
        std::string failure;
        ASSERT_TRUE(dbtest::freshDatabase(failure)) << failure;

        previousHook = platform::setMessageBoxHook([](const platform::MessageBoxRequest& request) {
            boxes.push_back(request.text);
            return 2; // IDCANCEL where there is one
        });
        app = new TrainingApp("demo commdelay:200");
        started = app->initInstance();
    }

    static void TearDownTestSuite()
    {
        delete app;
        app = nullptr;
        platform::setMessageBoxHook(previousHook);
        CommSettings::setCommDelay(0);
        delete home;
    }

    void SetUp() override
    {
        ASSERT_TRUE(started);
        auto sessions = std::make_unique<FakeSessions>(calls);
        fake = sessions.get();
        app->setSessions(std::move(sessions));
        frame = app->mainFrame();
        ASSERT_NE(frame, nullptr);
    }

    static inline ProgramHome* home = nullptr;
    static inline TrainingApp* app = nullptr;
    static inline bool started = false;
    static inline std::vector<std::wstring> boxes;
    static inline platform::MessageBoxHook previousHook;

    std::vector<std::string> calls;
    FakeSessions* fake = nullptr;
    CMainFrame* frame = nullptr;
};

TEST_F(TrainingAppTest, StartsInOrderIntoTheMainWindow)
{
    const std::vector<std::string> order = {
        "log header", "registry key", "language", "random seed", "options", "demonstration sets",
        "communication delay", "session manager", "port table", "main frame", "help file", "show",
        "database", "splash", "calibrate", "new session", "default content",
    };
    EXPECT_EQ(stepNames(*app), order);

    EXPECT_EQ(LogStream::appHeader.rfind("Tavo CPR Software 2.3.12 : ", 0), 0u) << LogStream::appHeader;
    EXPECT_TRUE(app->demo);
    EXPECT_TRUE(CommSettings::demoMode());
    EXPECT_EQ(CommSettings::commDelay(), 200);
    EXPECT_TRUE(databaseOpen);
    // A new installation gets the built-in guidelines.
    AlgorithmTable algorithms(database);
    ASSERT_TRUE(algorithms.open(""));
    EXPECT_EQ(algorithms.count(AlgorithmTable::ahaName), 1);
    EXPECT_NE(sessionManager, nullptr);
    for (int set = 0; set < DemoSets::count; ++set)
        EXPECT_NE(DemoSets::get(set), nullptr) << set;
    EXPECT_TRUE(boxes.empty()) << "a start-up that found nothing wrong asks nothing";

    // The ten demonstration manikins were found and calibrated at start-up.
    CalibrateManager& ports = CalibrateManager::get();
    for (int port = 247; port <= 256; ++port)
        EXPECT_TRUE(ports.getIsCalibrated(port)) << port;
    EXPECT_EQ(ports.countCalibrated(), 10);
    ASSERT_NE(app->calibrateWindow().frame(), nullptr);

    // Session data files go to the working folder.
    platform::HKEY key = 0;
    ASSERT_EQ(platform::regOpenKey(platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\Tavo\\Tavo CPR\\2.3", &key), platform::ERROR_SUCCESS);
    char folder[512] = {};
    DWORD size = sizeof folder;
    DWORD type = 0;
    ASSERT_EQ(platform::regQueryValue(key, "Data Folder", &type, folder, &size), platform::ERROR_SUCCESS);
    platform::regCloseKey(key);
    EXPECT_EQ(std::string(folder), QDir::currentPath().toStdString() + "/");

    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Tavo CPR Software"));
    EXPECT_FALSE(frame->windowIcon().isNull());
    EXPECT_EQ(app->helpFile(), std::string(TAVO_HELP_DIR) + "/razeduv_en.html");
    EXPECT_TRUE(frame->grab().save(artefactPath("main-window.png")));
}

TEST_F(TrainingAppTest, MenusAndToolbar)
{
    using namespace AppCommand;
    struct Popup {
        QString title;
        std::vector<int> ids; // 0: separator
    };
    const std::vector<Popup> expected = {
        {"&File", {NewSession, NewCourse, 0, StartAll, PauseAll, 0, Print, PrintSetup, 0, Exit}},
        {"&Tools", {Calibrate, Configuration, 0, SessionView, Surveillance}},
        {"&Database", {Persons, Algorithms, Scenarios, SessionBrowser}},
        // The window list follows: the New session form opened at start-up.
        {"&Window", {WindowCascade, WindowTile, WindowArrange, 0, 0}},
        {"&Help", {HelpContents, About}},
    };
    const QList<QAction*> popups = frame->menuBar()->actions();
    ASSERT_EQ(popups.size(), static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(popups[i]->text(), expected[i].title);
        ASSERT_NE(popups[i]->menu(), nullptr);
        std::vector<int> ids;
        for (QAction* item : popups[i]->menu()->actions())
            ids.push_back(item->isSeparator() ? 0 : platform::menuCommandId(item));
        EXPECT_EQ(ids, expected[i].ids) << expected[i].title.toStdString();
    }
    EXPECT_EQ(platform::findMenuCommand(frame->menuBar(), StartAll)->text(), QStringLiteral("&Start all sessions"));

    std::vector<int> tools;
    for (QAction* button : frame->toolBar()->actions())
        tools.push_back(button->isSeparator() ? 0 : button->data().toInt());
    EXPECT_EQ(tools, (std::vector<int> {NewSession, NewCourse, 0, SessionView, Surveillance, 0, Calibrate, AppCommand::Metronome, 0,
                                        Print, About}));
    for (QAction* button : frame->toolBar()->actions()) {
        if (!button->isSeparator()) {
            EXPECT_FALSE(button->icon().isNull()) << button->data().toInt();
        }
    }
    EXPECT_TRUE(frame->toolBar()->grab().save(artefactPath("toolbar.png")));
}

TEST_F(TrainingAppTest, ToolbarTooltipsAndMenuPromptsComeFromTheIdMap)
{
    using namespace AppCommand;
    const std::map<int, QString> tips = {
        {NewSession, "Start a new session"},
        {NewCourse, "Plan a new course"},
        {SessionView, "Show session view where you can control each running session"},
        {Surveillance, "Show surveillance view where you can see all active sessions"},
        {Calibrate, "Calibrate manikins"},
        {AppCommand::Metronome, "Enable/disable metronome"},
        {Print, "Print evaluation of current session"},
        {About, "About Tavo CPR Software"},
    };
    for (QAction* button : frame->toolBar()->actions()) {
        if (button->isSeparator())
            continue;
        const int id = button->data().toInt();
        ASSERT_TRUE(tips.count(id)) << id;
        QWidget* tool = frame->toolBar()->widgetForAction(button);
        const QPoint centre = tool->rect().center();
        QHelpEvent hover(QEvent::ToolTip, centre, tool->mapToGlobal(centre));
        QApplication::sendEvent(tool, &hover);
        EXPECT_TRUE(QToolTip::isVisible()) << id;
        EXPECT_EQ(QToolTip::text().replace('\n', ' '), tips.at(id)) << id;
    }

    // Menu commands show their text in the status bar; one without a text clears it.
    auto* status = frame->findChild<QStatusBar*>();
    ASSERT_NE(status, nullptr);
    QAction* exit = platform::findMenuCommand(frame->menuBar(), Exit);
    ASSERT_NE(exit, nullptr);
    exit->showStatusText(frame);
    EXPECT_EQ(status->currentMessage(), QStringLiteral("Exit Tavo CPR Software"));
    platform::findMenuCommand(frame->menuBar(), Persons)->showStatusText(frame);
    EXPECT_EQ(status->currentMessage(), QStringLiteral("Show person editing dialog"));
    platform::findMenuCommand(frame->menuBar(), Configuration)->showStatusText(frame);
    EXPECT_EQ(status->currentMessage(), QString());
}

TEST_F(TrainingAppTest, CommandsFollowTheSessions)
{
    using namespace AppCommand;
    auto enabled = [this](int id) { return frame->commandAction(id)->isEnabled(); };
    fake->count = 2;
    fake->running = 2;
    frame->onTimer();
    EXPECT_FALSE(enabled(Configuration));
    EXPECT_FALSE(enabled(StartAll));
    EXPECT_TRUE(enabled(PauseAll));
    EXPECT_TRUE(enabled(SessionView));
    EXPECT_FALSE(enabled(Print));

    fake->count = 0;
    fake->running = 0;
    frame->onTimer();
    EXPECT_TRUE(enabled(Configuration));
    EXPECT_FALSE(enabled(SessionView));
    for (QAction* button : frame->toolBar()->actions()) {
        if (button->data().toInt() == SessionView) {
            EXPECT_FALSE(button->isEnabled()) << "the toolbar follows too";
        }
    }

    // The commands reach the sessions; Print only when the active one can be printed.
    calls.clear();
    for (int id : {StartAll, PauseAll, SessionView, Surveillance, Print})
        EXPECT_TRUE(frame->onCommand(id));
    fake->printable = true;
    frame->onCommand(Print);
    EXPECT_EQ(calls, (std::vector<std::string> {"startAll", "pauseAll", "showSessionView", "showSurveillance", "print"}));
}

TEST_F(TrainingAppTest, TabKeysSelectSessions)
{
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    frame->setFocus();
    QTest::keyClick(frame, Qt::Key_3, Qt::ControlModifier);
    QTest::keyClick(frame, Qt::Key_0, Qt::ControlModifier);
    QTest::keyClick(frame, Qt::Key_9, Qt::ControlModifier);
    std::erase(calls, "poll");
    EXPECT_EQ(calls, (std::vector<std::string> {"selectTab 3", "selectTab 10", "selectTab 9"}));
}

TEST_F(TrainingAppTest, HeartbeatPollsThenDrivesTheMetronome)
{
    platform::ManualClock clock;
    platform::setClock(&clock);
    frame->heartbeat().stop();
    int clicks = 0;
    auto previousClick = frame->playClick;
    frame->playClick = [&] {
        ++clicks;
        calls.push_back("click");
    };
    struct Listener : SignalReceiver {
        std::vector<std::string>* calls;
        void onMetronome() { calls->push_back("metronome"); }
    } listener;
    listener.calls = &calls;
    app->metronome.connect(&listener, &Listener::onMetronome);

    clock.now = 10000;
    frame->onCommand(AppCommand::Metronome);
    EXPECT_TRUE(frame->metronomeOn());
    EXPECT_TRUE(frame->commandAction(AppCommand::Metronome)->isChecked());
    EXPECT_EQ(clicks, 1) << "switching on clicks at once";
    calls.clear();
    // At 100 per minute: the first tick after 600 ms clicks, after the poll.
    for (int tick = 1; tick <= 13; ++tick) {
        clock.now = 10000 + 50 * tick;
        frame->onTimer();
    }
    EXPECT_EQ(clicks, 2);
    std::vector<std::string> expected(13, "poll");
    expected.insert(expected.begin() + 13, {"click", "metronome"});
    EXPECT_EQ(calls, expected);

    frame->onCommand(AppCommand::Metronome);
    EXPECT_FALSE(frame->metronomeOn());
    EXPECT_EQ(clicks, 2) << "switching off gives no click";

    frame->playClick = previousClick;
    platform::setClock(nullptr);
    frame->heartbeat().start();
}

TEST_F(TrainingAppTest, EndOfSessionSoundGoesOutWithTheMetronome)
{
    // The tests' sound device is the "null" one: there is a device.
    ASSERT_TRUE(frame->hasWaveDevice());
    int played = 0;
    auto previous = frame->playEndSound;
    frame->playEndSound = [&] { ++played; };
    sessionServices().playEndSound();
    EXPECT_EQ(played, 1) << "a session that reached its duration sounds through the main frame";
    frame->playEndSound = previous;
    frame->playEndSound(); // the real sound on the null device, without waiting
}

TEST_F(TrainingAppTest, TicksGoOnWhileATickHoldsABox)
{
    // A session that opens a box in its poll (a lost manikin) and guards
    // against opening a second one while it is open.
    bool boxOpen = false;
    int pollsDuringBox = 0;
    fake->onPoll = [&] {
        if (boxOpen) {
            ++pollsDuringBox;
            return;
        }
        boxOpen = true;
        QMessageBox box(QMessageBox::Critical, "Tavo Man 3", "lost", QMessageBox::Retry | QMessageBox::Cancel, frame);
        QTimer::singleShot(500, &box, [&box] { box.done(QMessageBox::Cancel); });
        box.exec();
        boxOpen = false;
    };
    QTest::qWait(700);
    fake->onPoll = nullptr;
    EXPECT_GE(pollsDuringBox, 5) << "the heartbeat kept polling while the box was open";
}

TEST_F(TrainingAppTest, ClosingAsksTheSessions)
{
    fake->agreeToClose = false;
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(calls, (std::vector<std::string> {"canCloseAll"}));
    EXPECT_TRUE(frame->heartbeat().isActive()) << "the program runs on";

    fake->agreeToClose = true;
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(frame->isVisible());
    frame->show();
    frame->heartbeat().start();
}

TEST_F(TrainingAppTest, SecondCalibrateActivatesTheWindow)
{
    FormChildFrame* first = app->calibrateWindow().frame();
    ASSERT_NE(first, nullptr);
    first->hide();
    EXPECT_FALSE(app->onCalibrate());
    EXPECT_EQ(app->calibrateWindow().frame(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(app->mdiClient()->activeSubWindow(), static_cast<QMdiSubWindow*>(first));

    // The Window menu lists the visible frames.
    app->refreshMdiMenu();
    QMenu* window = frame->menuBar()->actions()[3]->menu();
    bool listed = false;
    for (QAction* item : window->actions())
        listed = listed || item->text().endsWith(QStringLiteral("Calibrate"));
    EXPECT_TRUE(listed);
}

TEST_F(TrainingAppTest, AboutBoxShowsTheBuildAndTheVersionOfTheLog)
{
    QString build;
    QStringList lines;
    bool shot = false;
    const auto openAbout = [&](const QString& picture) {
        build.clear();
        lines.clear();
        shot = false;
        QTimer::singleShot(200, [&, picture] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box)
                return;
            if (QWidget* line = platform::dlgItem(box, IDC_ABOUT_BUILD))
                build = platform::windowText(line);
            for (QLabel* label : box->findChildren<QLabel*>())
                lines << label->text();
            shot = box->grab().save(artefactPath(picture));
            if (auto* dialog = qobject_cast<QDialog*>(box))
                dialog->done(1);
        });
        frame->onCommand(AppCommand::About);
    };
    // In German and Japanese the build's date is in the language's own long form.
    const std::string compiled = TrainingApp::buildDate();
    const std::size_t comma = compiled.find(", ");
    ASSERT_NE(comma, std::string::npos) << compiled;
    for (const char* language : { "de", "ja" }) {
        ASSERT_TRUE(theTranslator.open(std::string(CATALOGUE_DIR) + "/" + language + ".mo")) << language;
        // As the program does: the language's code page is the ANSI code page.
        platform::setAnsiCodePage(languageCodePage(language));
        refreshTranslationMarker();
        openAbout(QStringLiteral("about-%1.png").arg(QLatin1String(language)));
        EXPECT_EQ(build.toStdWString(),
                  L"Build: " + Utillib::localBuildDate(compiled.substr(0, comma), compiled.substr(comma + 2), language));
        EXPECT_NE(build, QString::fromStdString("Build: " + compiled)) << language;
    }
    theTranslator.open("");
    platform::setAnsiCodePage(1252);
    refreshTranslationMarker();
    openAbout(QStringLiteral("about.png"));
    EXPECT_EQ(build, QString::fromStdString("Build: " + compiled));
    EXPECT_TRUE(shot);
    // The log header names the same version as the box: "<name> <version> : <build>".
    const std::string header = LogStream::appHeader;
    const std::string product = std::string(TrainingApp::appName) + " ";
    ASSERT_EQ(header.rfind(product, 0), 0u) << header;
    const std::string version = header.substr(product.size(), header.find(" : ") - product.size());
    EXPECT_FALSE(version.empty()) << header;
    EXPECT_TRUE(lines.contains(QString::fromStdString(product + version))) << lines.join(QStringLiteral(" | ")).toStdString();
}

// The modal box that `command` opens, as it stands once shown; closed at once.
QRect modalBoxPlace(CMainFrame* frame, int command, const QString& shot)
{
    QRect place;
    QTimer::singleShot(200, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        place = box->frameGeometry();
        // The box over the program's window, as the user sees them.
        QImage screen(frame->frameGeometry().united(place).size(), QImage::Format_RGB32);
        screen.fill(Qt::black);
        {
            QPainter painter(&screen);
            const QPoint origin = frame->frameGeometry().united(place).topLeft();
            painter.drawPixmap(frame->geometry().topLeft() - origin, frame->grab());
            painter.drawPixmap(box->geometry().topLeft() - origin, box->grab());
        }
        screen.save(artefactPath(shot));
        if (auto* dialog = qobject_cast<QDialog*>(box))
            dialog->done(2);
    });
    frame->onCommand(command);
    return place;
}

TEST_F(TrainingAppTest, TheAboutBoxAndTheConfigurationOpenOverTheMainWindow)
{
    frame->showNormal();
    frame->setGeometry(60, 50, 680, 500);
    QCoreApplication::processEvents();
    const QRect main = frame->frameGeometry();
    const int menuBottom = frame->mapToGlobal(QPoint(0, frame->menuBar()->geometry().bottom())).y();
    for (auto [command, shot] : {std::pair{AppCommand::About, "about-placed.png"},
                                 std::pair{AppCommand::Configuration, "configuration-placed.png"}}) {
        const QRect box = modalBoxPlace(frame, command, QString::fromLatin1(shot));
        ASSERT_FALSE(box.isNull()) << command;
        EXPECT_NEAR(box.center().x(), main.center().x(), 2) << command;
        EXPECT_NEAR(box.center().y(), main.center().y(), 2) << command;
        EXPECT_GT(box.top(), menuBottom) << command << ": not over the menu bar";
    }
    frame->showMaximized();
    QCoreApplication::processEvents();
}

TEST_F(TrainingAppTest, HelpOpensItsContext)
{
    std::vector<QUrl> opened;
    Help::setOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    app->showHelp(10000);
    frame->onCommand(AppCommand::HelpContents);
    Help::setOpener(nullptr);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_TRUE(opened[0].isLocalFile());
    EXPECT_TRUE(opened[0].toLocalFile().endsWith(QStringLiteral("/razeduv_en.html")));
    EXPECT_EQ(opened[0].fragment(), QStringLiteral("10000"));
    EXPECT_EQ(opened[1].fragment(), QStringLiteral("contents"));

    // Every context the program's windows use has its section in the page.
    const std::string page = readFile(app->helpFile());
    for (int context : {10000, 10001, 10002, 10003, 10004, 10005, 10006, 10007, 10008, 10009, 10010, 10011, 10012, 10015, 10018})
        EXPECT_NE(page.find("id=\"" + std::to_string(context) + "\""), std::string::npos) << context;
}

// The text at the top of the help window's visible area.
QString firstVisibleLine(QTextBrowser& browser)
{
    return browser.cursorForPosition(QPoint(4, 4)).block().text();
}

TEST_F(TrainingAppTest, HelpShowsItsTopicInOneWindowOfItsOwn)
{
    // No web browser is needed: the program shows the page itself.
    app->showHelp(10008);
    HelpWindow* window = HelpWindow::current();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tavo CPR Software: help"));
    EXPECT_TRUE(window->browser()->source().toLocalFile().endsWith(QStringLiteral("/razeduv_en.html")));
    EXPECT_EQ(firstVisibleLine(*window->browser()), QStringLiteral("Course planner"));
    window->grab().save(artefactPath(QStringLiteral("help-window.png")));

    // The next topic reuses the window, and so does the contents page.
    app->showHelp(10000);
    EXPECT_EQ(HelpWindow::current(), window);
    EXPECT_EQ(firstVisibleLine(*window->browser()), QStringLiteral("Calibrate window"));
    frame->onCommand(AppCommand::HelpContents);
    EXPECT_EQ(HelpWindow::current(), window);
    EXPECT_EQ(firstVisibleLine(*window->browser()), QStringLiteral("Tavo CPR Software"));
    window->close();
}

// Help asked for from a modal dialog comes up over the dialog, active (not
// blocked by it), and closing it goes back to the dialog.
TEST_F(TrainingAppTest, HelpFromAModalDialogIsUsableOverIt)
{
    app->showHelp(10000); // the help window exists before the dialog opens
    ASSERT_NE(HelpWindow::current(), nullptr);
    QDialog dialog(frame);
    dialog.resize(300, 200);
    bool activeOverDialog = false;
    bool backToDialog = false;
    QTimer::singleShot(0, &dialog, [&] {
        static_cast<void>(QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }, 2000));
        app->showHelp(10008);
        HelpWindow* window = HelpWindow::current();
        if (window) {
            activeOverDialog = QTest::qWaitFor([&] { return QApplication::activeWindow() == window; }, 2000);

            window->close();
            backToDialog = QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }, 2000);
        }
        dialog.reject();
    });
    dialog.exec();
    EXPECT_TRUE(activeOverDialog);
    EXPECT_TRUE(backToDialog);
}

// Help asked for from a dialog low on the screen comes up wholly on the
// screen and beside the dialog, not over it; the help window already open
// from the main window moves there too.
TEST_F(TrainingAppTest, HelpFromADialogLowOnTheScreenOpensBesideIt)
{
    app->showHelp(10000);
    ASSERT_NE(HelpWindow::current(), nullptr);
    QDialog dialog(frame);
    dialog.setGeometry(10, 343, 300, 200);
    QRect help, beside, area;
    QTimer::singleShot(0, &dialog, [&] {
        static_cast<void>(QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }, 2000));
        app->showHelp(10008);
        if (HelpWindow* window = HelpWindow::current()) {
            help = window->frameGeometry();
            area = window->screen()->availableGeometry();
            window->close();
        }
        beside = dialog.frameGeometry();
        dialog.reject();
    });
    dialog.exec();
    ASSERT_FALSE(help.isEmpty());
    EXPECT_TRUE(area.contains(help)) << help.x() << "," << help.y() << " " << help.width() << "x" << help.height();
    EXPECT_FALSE(help.intersects(beside)) << help.x() << "," << help.y() << " " << help.width() << "x" << help.height();
    EXPECT_GE(help.width(), 400);
}

TEST_F(TrainingAppTest, MissingHelpFileIsLogged)
{
    LogCapture log;
    EXPECT_FALSE(Help::open(home->file("razeduv_xx.html"), "10000"));
    EXPECT_NE(log.text().find("razeduv_xx.html"), std::string::npos);
}

} // namespace

TEST(SplashNotice, TellsTheFirstWaitForInputOnceAndWaitsForTheSplashToGo)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    auto readWord = [](int fd) {
        unsigned char bytes[4] = {};
        std::size_t got = 0;
        while (got < 4) {
            const ssize_t n = ::read(fd, bytes + got, 4 - got);
            if (n <= 0)
                return 0u;
            got += static_cast<std::size_t>(n);
        }
        return unsigned(bytes[0]) | unsigned(bytes[1]) << 8 | unsigned(bytes[2]) << 16 | unsigned(bytes[3]) << 24;
    };
    {
        SplashNotice notice(ends[1]);
        notice.watchForIdle();
        // The loop waits for input several times; the splash hears of it once.
        for (int wait = 0; wait < 3; ++wait) {
            QEventLoop loop;
            QTimer::singleShot(20, &loop, &QEventLoop::quit);
            loop.exec();
        }
        EXPECT_EQ(readWord(ends[0]), SplashNotice::inputIdleWord);

        // The splash program reads the word, ends a little later, and only
        // then does the start-up go on; meanwhile the windows are drawn.
        std::atomic<bool> splashGone {false};
        std::atomic<unsigned> heard {0};
        std::thread splash([&] {
            heard = readWord(ends[0]);
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            splashGone = true;
            ::close(ends[0]);
        });
        bool drawn = false;
        QTimer::singleShot(0, [&] { drawn = true; });
        notice.windowUp(20000);
        const bool goneWhenBack = splashGone;
        splash.join();
        EXPECT_TRUE(goneWhenBack);
        EXPECT_TRUE(drawn);
        EXPECT_EQ(heard, SplashNotice::windowUpWord);
        EXPECT_FALSE(notice.active());
    }
}

// A number left in the variable by another start may name anything by now:
// only the write end of a pipe is the splash program's. Whatever else it
// names is neither written nor closed, and no program started from here
// inherits the variable.
TEST(SplashNotice, TakesOnlyAPipeFromItsVariableAndDropsTheVariable)
{
    auto nothingToRead = [](int fd) {
        pollfd line {fd, POLLIN, 0};
        return ::poll(&line, 1, 0) == 0;
    };
    TempDir dir;
    const int file = ::open(dir.file("errors.txt").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    int sockets[2];
    int readEnd[2];
    int standardIn[2];
    ASSERT_GE(file, 0);
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets), 0);
    ASSERT_EQ(::pipe2(readEnd, O_CLOEXEC), 0);
    ASSERT_EQ(::pipe2(standardIn, O_CLOEXEC), 0);
    // Standard input, for a while, the write end of a pipe.
    const int savedIn = ::dup(0);
    ::dup2(standardIn[1], 0);
    const int closedNumber = ::dup(file);
    ::close(closedNumber);

    struct Case {
        const char* what;
        int fd;
        std::function<bool()> nothingWritten;
    };
    const Case cases[] = {
        {"a regular file", file,
         [&] {
             struct stat status;
             return ::fstat(file, &status) == 0 && status.st_size == 0;
         }},
        {"a socket", sockets[0], [&] { return nothingToRead(sockets[1]); }},
        {"the read end of a pipe", readEnd[0], [&] { return nothingToRead(readEnd[0]); }},
        {"a standard stream that is a pipe", 0, [&] { return nothingToRead(standardIn[0]); }},
        {"a closed number", closedNumber, [] { return true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ::setenv(SplashNotice::variable, std::to_string(c.fd).c_str(), 1);
        {
            SplashNotice notice(SplashNotice::descriptorFromEnvironment());
            EXPECT_FALSE(notice.active());
            notice.inputIdle();
            notice.windowUp(0);
        }
        EXPECT_EQ(std::getenv(SplashNotice::variable), nullptr);
        if (c.fd != closedNumber) {
            EXPECT_NE(::fcntl(c.fd, F_GETFD), -1) << "still open";
        } else {
            EXPECT_EQ(::fcntl(c.fd, F_GETFD), -1) << "nothing opened under it";
        }
        EXPECT_TRUE(c.nothingWritten());
    }
    ::dup2(savedIn, 0);
    ::close(savedIn);
    for (int fd : {file, sockets[0], sockets[1], readEnd[0], readEnd[1], standardIn[0], standardIn[1]})
        ::close(fd);

    // The splash program's pipe: told, then closed; the variable is gone too.
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
    ::setenv(SplashNotice::variable, std::to_string(ends[1]).c_str(), 1);
    const int fd = SplashNotice::descriptorFromEnvironment();
    EXPECT_EQ(fd, ends[1]);
    EXPECT_EQ(std::getenv(SplashNotice::variable), nullptr);
    {
        SplashNotice notice(fd);
        EXPECT_TRUE(notice.active());
        notice.inputIdle();
        notice.windowUp(0);
    }
    unsigned char bytes[9] = {};
    EXPECT_EQ(::read(ends[0], bytes, sizeof bytes), 8) << "two words, then the end";
    EXPECT_EQ(::read(ends[0], bytes, sizeof bytes), 0) << "the write end is closed";
    EXPECT_EQ(bytes[4] | bytes[5] << 8 | bytes[6] << 16 | unsigned(bytes[7]) << 24, SplashNotice::windowUpWord);
    ::close(ends[0]);
}
