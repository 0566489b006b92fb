#include "session/TrainingApp.h"

#include "CPB/windows/CPBTransfer.h"
#include "Database/Database.h"
#include "Database/DbUiQt.h"
#include "Database/DefaultContentInstaller.h"
#include "Utillib/LocalDate.h"
#include "Utillib/LogStream.h"
#include "Utillib/WindowUtil.h"
#include "comm/CalibrateManager.h"
#include "comm/CommSettings.h"
#include "comm/DemoSets.h"
#include "comm/MeasurementSettings.h"
#include "Database/AlgorithmDialog.h"
#include "Database/BrowseSessionsDialog.h"
#include "Database/PersonDialog.h"
#include "config/Configuration.h"
#include "config/PropertyPage4.h"
#include "config/ConfigurationFile.h"
#include "gettext/TranslateWindow.h"
#include "gettext/TranslationHooks.h"
#include "gettext/Translator.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "platformqt/AppIcon.h"
#include "platformqt/Dialog.h"
#include "platformqt/Window.h"
#include "res/ProgramVersion.h"
#include "res/Resources.h"
#include "res/resource.h"
#include "session/AppCommands.h"
#include "session/AppSessionServices.h"
#include "session/Help.h"
#include "session/MainFrame.h"
#include "session/NewSessionView.h"
#include "session/RunCourseDialog.h"
#include "ui/FormChildFrame.h"
#include "session/SessionManager.h"
#include "session/SplashNotice.h"
#include "session/StartupOptions.h"
#include "session/ToolTipTexts.h"
#include "ui/IdMap.h"
#include "ui/KeyboardRouting.h"
#include "ui/ToolTips.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScreen>
#include <QShortcut>
#include <QWindow>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace {

TrainingApp* theApp = nullptr;

// The demonstration recordings of the three sets: compression, ventilation
// and status channel of each.
constexpr int demoResources[3][3] = {{169, 170, 171}, {177, 174, 173}, {175, 172, 176}};

class AboutBox : public platform::Dialog {
public:
    using platform::Dialog::Dialog;

protected:
    bool onInitDialog() override
    {
        // The build's date in the language the program speaks (its month
        // and day names), as the compiler wrote it where that is English.
        const std::string language = theTranslator.hasCatalog() ? theTranslator.languageCode() : std::string();
        if (QWidget* build = platform::dlgItem(this, IDC_ABOUT_BUILD))
            platform::setWindowText(build, QString::fromStdWString(L"Build: " + Utillib::localBuildDate(__DATE__, __TIME__, language)));
        if (auto* icon = platform::dlgItem<QLabel>(this, IDC_ABOUT_ICON))
            icon->setPixmap(platform::applicationIcon().pixmap(icon->size()));
        translateWindow(this);
        return true;
    }
};

} // namespace

TrainingApp* trainingApp() { return theApp; }

TrainingApp::TrainingApp(std::string line)
    : commandLine(std::move(line))
{
    theApp = this;
    for (int n = 1; n <= 9; ++n)
        acceleratorTable.push_back({QKeyCombination(Qt::ControlModifier, Qt::Key(Qt::Key_0 + n)),
                                    n == 9 ? AppCommand::SelectTab9 : AppCommand::SelectTab1 + n - 1});
    acceleratorTable.push_back({QKeyCombination(Qt::ControlModifier, Qt::Key_0), AppCommand::SelectTab10});
    acceleratorTable.push_back({QKeyCombination(Qt::Key_F1), AppCommand::Help});
}

TrainingApp::~TrainingApp()
{
    if (frame || manager)
        exitInstance();
    if (appServices() == this)
        setAppServices(previousServices);
    theApp = nullptr;
}

std::string TrainingApp::buildDate() { return std::string(__DATE__) + ", " + __TIME__; }

void TrainingApp::step(const char* name) { steps.push_back({name, startupClock.nsecsElapsed() / 1e6}); }

bool TrainingApp::initInstance()
{
    startupClock.start();
    // The splash picture must not cover a box this start-up shows: it goes
    // as soon as this program first waits for input.
    splash.watchForIdle();
    step("log header");
    LogStream::appHeader = std::string(appName) + " " TAVO_VERSION " : " + buildDate();
    setShowLogOnExit(false);

    step("registry key");
    QCoreApplication::setOrganizationName(QStringLiteral("TAVO"));
    QCoreApplication::setApplicationName(QString::fromLatin1(appName));

    step("language");
    loadLanguage(commandLine, "en");
    // Every narrow text from here on is in the language's code page.
    platform::setAnsiCodePage(languageCodePage(theTranslator.languageCode()));
    installTranslationHooks();
    Utillib::installWaitCursor();
    dbui::installQtUserInterface();
    res::registerResources();

    step("random seed");
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    step("options");
    const StartupOptions options = readStartupOptions(commandLine);
    demo = options.demo;
    CommSettings::setDemoMode(options.demo);
    CommSettings::setDumpData(options.dumpData);

    step("demonstration sets");
    makeDemoSets();

    step("communication delay");
    if (options.commDelay)
        CommSettings::setCommDelay(*options.commDelay);

    step("session manager");
    // The settings first: the session manager and the measurement read them.
    // Loading the settings also hands the measurement its share of them.
    Configuration::instance();
    connectEditors();
    installDataFolder();
    auto appServices = std::make_unique<AppSessionServices>(*this);
    SessionFrames& frames = appServices->frames();
    services = std::move(appServices);
    setSessionServices(services.get());
    manager = std::make_unique<SessionManager>();
    sessionManager = manager.get();
    manager->setFrames(&frames);
    if (!liveSessions)
        liveSessions = std::make_unique<SessionManagerLink>(*manager);

    step("port table");
    CalibrateManager::get();

    step("main frame");
    // The tooltip and prompt texts in the language of this run.
    idMap::clear();
    idMap::fill();
    if (!dynamic_cast<ToolTipStyle*>(QApplication::style()))
        QApplication::setStyle(new ToolTipStyle);
    previousServices = setAppServices(this);
    installKeyboardRouting();
    frame = std::make_unique<CMainFrame>(*this);
    if (!frame->menuBar() || !frame->toolBar()) {
        frame.reset();
        return false;
    }
    for (const Accelerator& entry : acceleratorTable) {
        auto* key = new QShortcut(QKeySequence(entry.key), frame.get());
        const int id = entry.command;
        QObject::connect(key, &QShortcut::activated, frame.get(), [this, id] { frame->onCommand(id); });
    }
    frame->setWindowTitle(QString::fromLatin1(appName));
    frame->setWindowIcon(platform::applicationIcon());

    step("help file");
    helpPath = helpFilePath(Help::folder(), theTranslator.languageCode());

    step("show");
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    if (screen && screen->geometry().height() < 650) {
        frame->showMaximized();
    } else {
        frame->resize(std::min(1024, area.width()), std::min(768, area.height()));
        frame->move(area.topLeft() + QPoint((area.width() - frame->width()) / 2, (area.height() - frame->height()) / 2));
        frame->show();
    }
    // Drawn before the start-up goes on with work that blocks: a window the
    // desktop shows but the program has not drawn yet stays black.
    QElapsedTimer exposing;
    exposing.start();
    while (frame->windowHandle() && !frame->windowHandle()->isExposed() && exposing.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    frame->repaint();

    step("database");
    openDatabase();

    step("splash");
    splash.windowUp();

    step("calibrate");
    const bool calibrationError = onCalibrate();

    step("new session");
    if (CalibrateManager::get().countCalibrated() > 0 && !calibrationError)
        onNewSession();

    step("default content");
    DefaultContentInstaller().installDefaultContent();
    if (NewSessionView* form = newSessionForm())
        form->refillChoices();
    startupTotalMs = startupClock.nsecsElapsed() / 1e6;
    return true;
}

namespace {

// The session browser's way to the person editor.
class BrowseHooks : public BrowseSessionsHooks {
public:
    std::string editPerson(QWidget* parent, const std::string& name) override
    {
        return showPersonDetails(parent, name, false);
    }
};

} // namespace

void TrainingApp::connectEditors()
{
    // The editors show the compression share as the settings ask.
    AlgorithmDialog::setPercentNotationSource([] { return ::Configuration::instance().getModel().compRelaxAsPercent; });
    PropertyPage4::setAlgorithmEditor([this](const std::string& name) { return showAlgorithmDetails(frame.get(), name); });
    static BrowseHooks browseHooks;
    setBrowseSessionsHooks(&browseHooks);
    // The configuration dialog's Send and Get buttons reach the CPR Controllers.
    static CPBSetupTransfer controllerTransfer;
    ::Configuration::instance().setTransfer(&controllerTransfer);
}

const PropertyModel& TrainingApp::settings() const
{
    return ::Configuration::instance().getModel();
}

int TrainingApp::exitInstance()
{
    if (frame) {
        frame->heartbeat().stop();
        frame->hide();
    }
    if (!Configuration::instance().save())
        LogStream::instance() << "The settings could not be saved to " << ConfigurationFile::fileName << LogStream::endl;
    dropDemoSets();
    liveSessions.reset();
    if (manager) {
        sessionManager = nullptr;
        manager.reset();
    }
    // The frames inside the main window go with it.
    frame.reset();
    if (services) {
        setSessionServices(nullptr);
        services.reset();
    }
    return 0;
}

void TrainingApp::setSessions(std::unique_ptr<LiveSessions> replacement) { liveSessions = std::move(replacement); }

void TrainingApp::makeDemoSets()
{
    for (int set = 0; set < DemoSets::count; ++set) {
        for (int channel = 0; channel < 3; ++channel)
            demoChannels[set * 3 + channel] = std::make_unique<CollectedData>(demoResources[set][channel]);
        demoSets[set] = {demoChannels[set * 3].get(), demoChannels[set * 3 + 1].get(), demoChannels[set * 3 + 2].get()};
        DemoSets::install(set, &demoSets[set]);
    }
}

void TrainingApp::dropDemoSets()
{
    for (int set = 0; set < DemoSets::count; ++set)
        if (DemoSets::get(set) == &demoSets[set])
            DemoSets::install(set, nullptr);
    for (auto& channel : demoChannels)
        channel.reset();
}

void TrainingApp::installDataFolder()
{
    // Session data files go to the folder the program runs in, unless the
    // registry names another.
    using namespace platform;
    HKEY key = 0;
    if (regCreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tavo\\Tavo CPR\\2.3", &key) != ERROR_SUCCESS)
        return;
    DWORD type = 0;
    DWORD size = 0;
    if (regQueryValue(key, "Data Folder", &type, nullptr, &size) != ERROR_SUCCESS) {
        const std::string folder = QDir::currentPath().toStdString() + "/";
        if (regSetValue(key, "Data Folder", REG_SZ, folder.c_str(), static_cast<DWORD>(folder.size() + 1)) != ERROR_SUCCESS)
            LogStream::instance() << "The data folder could not be written to the registry" << LogStream::endl;
    }
    regCloseKey(key);
}

void TrainingApp::onNewSession()
{
    // The form is made once; afterwards it is only shown again.
    if (newSessionFrame) {
        newSessionFrame->activateFrame();
        return;
    }
    auto* frame = new FormChildFrame;
    frame->fitToView = true;
    frame->resizable = false;
    frame->hideOnClose = true;
    frame->form = new NewSessionView;
    if (!frame->createFrame(translate("New session")))
        return;
    newSessionFrame = frame;
    frame->destroyed.connect(this, &TrainingApp::newSessionFrameDestroyed);
    frame->activateFrame();
}

void TrainingApp::newSessionFrameDestroyed(ChildFrame* destroyed)
{
    if (destroyed == newSessionFrame)
        newSessionFrame = nullptr;
}

NewSessionView* TrainingApp::newSessionForm() const
{
    return newSessionFrame ? static_cast<NewSessionView*>(newSessionFrame->form) : nullptr;
}

bool TrainingApp::onCalibrate() { return calibrate.onCalibrate(); }

bool TrainingApp::canCloseMainWindow()
{
    if (RunCourseDialog* course = runCourseForm(); course && !course->canClose())
        return false;
    return !liveSessions || liveSessions->canCloseAll();
}

void TrainingApp::runCourse(const CourseRecord& course)
{
    if (runCourseFrame) {
        runCourseFrame->activateFrame();
        return;
    }
    auto* frame = new FormChildFrame;
    frame->fitToView = true;
    frame->resizable = false;
    frame->hideOnClose = false;
    frame->minimiseBox = true;
    frame->form = new RunCourseDialog(course);
    if (!frame->createFrame(translate("Run course")))
        return;
    runCourseFrame = frame;
    frame->destroyed.connect(this, &TrainingApp::runCourseFrameDestroyed);
    frame->activateFrame();
}

void TrainingApp::clearRunCourseFrame() { runCourseFrame = nullptr; }

void TrainingApp::runCourseFrameDestroyed(ChildFrame* destroyed)
{
    if (destroyed == runCourseFrame)
        clearRunCourseFrame();
}

RunCourseDialog* TrainingApp::runCourseForm() const
{
    return runCourseFrame ? static_cast<RunCourseDialog*>(runCourseFrame->form) : nullptr;
}

bool TrainingApp::activateRunningCourse()
{
    if (!runCourseFrame)
        return false;
    runCourseFrame->activateFrame();
    return true;
}

void TrainingApp::showAbout()
{
    AboutBox box(frame.get());
    if (box.create(IDD_ABOUTBOX, frame.get()))
        box.doModal();
    else
        LogStream::instance() << "The About box could not be made: " << box.buildError() << LogStream::endl;
}

QWidget* TrainingApp::mainWindow() { return frame.get(); }

QPrinter& TrainingApp::printerDefaults()
{
    if (!printer)
        printer = std::make_unique<QPrinter>();
    return *printer;
}

QMdiArea* TrainingApp::mdiClient() { return frame ? frame->mdiClient() : nullptr; }

bool TrainingApp::onCommand(int id)
{
    using namespace AppCommand;
    if (const int tab = tabOfCommand(id)) {
        if (liveSessions)
            liveSessions->selectTab(tab);
        return true;
    }
    switch (id) {
    case NewSession:
        onNewSession();
        return true;
    case Calibrate:
        onCalibrate();
        return true;
    case Surveillance:
        if (liveSessions)
            liveSessions->showSurveillance();
        return true;
    case SessionView:
        if (liveSessions)
            liveSessions->showSessionView();
        return true;
    case StartAll:
        if (liveSessions)
            liveSessions->startAll();
        return true;
    case PauseAll:
        if (liveSessions)
            liveSessions->pauseAll();
        return true;
    case Print:
        if (liveSessions && liveSessions->activeSessionPrintable())
            liveSessions->printActiveSession();
        else
            QApplication::beep();
        return true;
    case PrintSetup: {
        QPageSetupDialog dialog(&printerDefaults(), frame.get());
        dialog.exec();
        return true;
    }
    case Exit:
        if (frame)
            frame->close();
        return true;
    case AppCommand::Configuration:
        ::Configuration::instance().showDialog(0, frame.get());
        return true;
    case HelpContents:
        Help::open(helpPath, Help::contents);
        return true;
    case AppCommand::About:
        showAbout();
        return true;
    case AppCommand::Help:
        return true;
    default:
        return false;
    }
}

void TrainingApp::refreshMdiMenu()
{
    if (frame)
        frame->refreshWindowMenu();
}

void TrainingApp::disableMainWindow(QWidget*)
{
    if (frame)
        frame->setEnabled(false);
}

void TrainingApp::enableMainWindow(QWidget*)
{
    if (frame)
        frame->setEnabled(true);
}

void TrainingApp::showHelp(int context) { Help::open(helpPath, std::to_string(context)); }
