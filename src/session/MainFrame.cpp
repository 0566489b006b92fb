#include "session/MainFrame.h"

#include "Database/AlgorithmDialog.h"
#include "Database/BrowseSessionsDialog.h"
#include "Database/PersonDialog.h"
#include "Database/ScenarioDialog.h"
#include "Utillib/LogStream.h"
#include "gettext/GetTextMenu.h"
#include "gettext/Translator.h"
#include "platform/Clock.h"
#include "platformqt/Menu.h"
#include "session/AppCommands.h"
#include "session/CoursePlannerDialog.h"
#include "session/LiveSessions.h"
#include "session/ToolBarImages.h"
#include "session/TrainingApp.h"
#include "ui/ChildFrame.h"
#include "ui/IdMap.h"
#include "ui/Placement.h"
#include "ui/QtWindows.h"
#include "ui/ToolTips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include <algorithm>

namespace {

QString qtText(const std::wstring& text) { return QString::fromStdWString(text); }

// The menu text without its mnemonic marks, for the toolbar buttons' texts.
QString plainText(const char* key)
{
    QString text = qtText(translate(key));
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text.remove(QStringLiteral("...")).trimmed();
}

// The command's text from the id map as its status-bar prompt (empty when
// the map has none) and, on a toolbar, its tooltip.
void setCommandTexts(QAction* action, int id)
{
    const QString text = qtText(idMap::lookup(id));
    action->setStatusTip(text);
    action->setToolTip(text);
    action->setProperty("commandId", id);
}

void setMenuPrompts(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (QMenu* sub = action->menu())
            setMenuPrompts(sub);
        else if (const int id = platform::menuCommandId(action))
            setCommandTexts(action, id);
    }
}

} // namespace

CMainFrame::CMainFrame(TrainingApp& application)
    : app(application)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildMainMenu();

    // The status bar only where the screen leaves room for it.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen && screen->availableGeometry().height() > 500)
        setStatusBar(new QStatusBar(this));
    else
        setStatusBar(nullptr);

    buildToolBar();

    mdi = new QMdiArea(this);
    mdi->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(mdi);

    playClick = [this] { click(); };
    playEndSound = [this] { endSound(); };
    if (!sound.hasDevice())
        LogStream::instance() << "Metronome and end of session: " << sound.openError() << "; they beep instead" << LogStream::endl;

    timer.setInterval(tickMilliseconds);
    timer.setTimerType(Qt::PreciseTimer);
    // The tick runs outside the timer's own handler: a timer is not fired
    // again while its handler runs, and a tick may open a modal box (a lost
    // manikin) during which the other sessions must go on being polled.
    QObject::connect(&timer, &QTimer::timeout, this, [this] {
        QMetaObject::invokeMethod(this, [this] { onTimer(); }, Qt::QueuedConnection);
    });
    timer.start();
}

CMainFrame::~CMainFrame() { timer.stop(); }

void CMainFrame::buildMainMenu()
{
    using namespace AppCommand;
    GetTextMenu menu;
    auto item = [&](const char* text, int id) { menu.addItem(translate(text), id, false); };
    auto popup = [&](const char* text) { menu.addItem(translate(text), 0, true); };

    popup("&File");
    item("&New session...", NewSession);
    item("N&ew course...", NewCourse);
    menu.addSeparator();
    item("&Start all sessions", StartAll);
    item("P&ause all sessions", PauseAll);
    menu.addSeparator();
    item("&Print...", Print);
    item("P&rint setup...", PrintSetup);
    menu.addSeparator();
    item("E&xit", Exit);
    menu.endPopup();

    popup("&Tools");
    item("&Calibrate...", Calibrate);
    item("Con&figuration...", Configuration);
    menu.addSeparator();
    item("&Session view", SessionView);
    item("S&urveillance view", Surveillance);
    menu.endPopup();

    popup("&Database");
    item("&Persons...", Persons);
    item("&Algorithms...", Algorithms);
    item("S&cenarios...", Scenarios);
    item("&Session manager...", SessionBrowser);
    menu.endPopup();

    popup("&Window");
    item("&Cascade", WindowCascade);
    item("&Tile", WindowTile);
    item("&Arrange Icons", WindowArrange);
    menu.endPopup();

    popup("&Help");
    item("&Contents...", HelpContents);
    item("&About...", About);
    menu.endPopup();

    std::unique_ptr<QMenuBar> bar = menu.createMenu();
    if (!bar) {
        LogStream::instance() << "CMainFrame: the main menu could not be built" << LogStream::endl;
        return;
    }
    QMenuBar* installed = bar.release();
    setMenuBar(installed);
    for (QAction* top : installed->actions())
        if (QMenu* sub = top->menu())
            setMenuPrompts(sub);
    QObject::connect(installed, &QMenuBar::triggered, this, [this](QAction* action) {
        if (const int id = platform::menuCommandId(action))
            onCommand(id);
    });
    for (QAction* top : installed->actions()) {
        QMenu* sub = top->menu();
        if (!sub)
            continue;
        QObject::connect(sub, &QMenu::aboutToShow, this, [this] { updateCommandStates(); });
        if (platform::findMenuCommand(sub, WindowCascade)) {
            windowMenu = sub;
            QObject::connect(sub, &QMenu::aboutToShow, this, [this] { refreshWindowMenu(); });
        }
    }
}

void CMainFrame::buildToolBar()
{
    using namespace AppCommand;
    tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("toolbar"));
    tools->setMovable(false);
    tools->setFloatable(false);
    tools->setIconSize(QSize(16, 15));
    addToolBar(Qt::TopToolBarArea, tools);

    struct Button {
        int id;
        const char* tip;
    };
    const Button buttons[] = {
        {NewSession, "&New session..."}, {NewCourse, "N&ew course..."}, {0, nullptr},
        {SessionView, "&Session view"}, {Surveillance, "S&urveillance view"}, {0, nullptr},
        {Calibrate, "&Calibrate..."}, {AppCommand::Metronome, "Metronome"}, {0, nullptr},
        {Print, "&Print..."}, {About, "&About..."},
    };
    for (const Button& b : buttons) {
        if (!b.id) {
            tools->addSeparator();
            continue;
        }
        QAction* action = tools->addAction(toolBarImage(b.id), plainText(b.tip));
        action->setData(b.id);
        setCommandTexts(action, b.id);
        if (b.id == AppCommand::Metronome)
            action->setCheckable(true);
        const int id = b.id;
        QObject::connect(action, &QAction::triggered, this, [this, id] { onCommand(id); });
        toolActions[b.id] = action;
    }
    forwardToolTips(tools);
}

QAction* CMainFrame::commandAction(int id) const
{
    if (QAction* action = menuBar() ? platform::findMenuCommand(menuBar(), id) : nullptr)
        return action;
    auto found = toolActions.find(id);
    return found == toolActions.end() ? nullptr : found->second;
}

void CMainFrame::onTimer()
{
    LiveSessions* sessions = app.sessions();
    if (!sessions)
        LogStream::instance() << "Assert failed in " << __FILE__ << " (" << __LINE__ << ") : sessionManager" << LogStream::endl;
    else
        sessions->poll();

    // A sound longer than the device's buffer goes on as the buffer drains.
    switch (sound.topUp()) {
    case platform::SoundPlayer::TopUp::Fine:
        break;
    case platform::SoundPlayer::TopUp::Refused:
        LogStream::instance() << "The sound device refused the rest of the sound" << LogStream::endl;
        break;
    case platform::SoundPlayer::TopUp::GivenUp:
        LogStream::instance() << "The sound device stayed suspended; the metronome and the end of session beep instead"
                              << LogStream::endl;
        break;
    }
    if (metronome.tick(static_cast<std::uint32_t>(platform::tickCount()), app.metronomeRate())) {
        playClick();
        app.metronome.emit();
    }
    updateCommandStates();
}

void CMainFrame::click()
{
    if (!sound.playClick())
        QApplication::beep();
}

void CMainFrame::endSound()
{
    if (!sound.playEndSound())
        QApplication::beep();
}

void CMainFrame::toggleMetronome()
{
    if (metronome.toggle(static_cast<std::uint32_t>(platform::tickCount())))
        playClick();
    if (QAction* button = toolActions[AppCommand::Metronome])
        button->setChecked(metronome.isOn());
}

bool CMainFrame::onCommand(int id)
{
    using namespace AppCommand;
    switch (id) {
    case AppCommand::Metronome:
        toggleMetronome();
        return true;
    case WindowCascade:
        cascadeWindows();
        return true;
    case WindowTile:
        tileWindows();
        return true;
    case WindowArrange:
        // Minimised frames line up along the bottom of the client by themselves.
        return true;
    case NewCourse:
        runCoursePlanner();
        return true;
    case Persons:
        runPersonEditor(this);
        return true;
    case Algorithms:
        runAlgorithmEditor(this);
        return true;
    case Scenarios:
        runScenarioEditor(this);
        return true;
    case SessionBrowser:
        runSessionBrowser(this);
        return true;
    default:
        return app.onCommand(id);
    }
}

namespace {

// The frames the user sees, in the given order, restored from maximised,
// with the sizes each may take.
std::vector<QMdiSubWindow*> arrangedFrames(const QList<QMdiSubWindow*>& order, std::vector<TileWindow>& limits)
{
    std::vector<QMdiSubWindow*> frames;
    for (QMdiSubWindow* frame : order)
        if (frame->isVisible() && !frame->isMinimized())
            frames.push_back(frame);
    for (QMdiSubWindow* frame : frames) {
        if (frame->isMaximized())
            frame->showNormal();
        const QSize minimum = frame->minimumSize().expandedTo(frame->minimumSizeHint());
        const QSize maximum = frame->maximumSize();
        limits.push_back(TileWindow{SIZE{minimum.width(), minimum.height()}, SIZE{maximum.width(), maximum.height()}});
    }
    return frames;
}

bool growable(const TileWindow& w) { return w.minimum.cx < w.maximum.cx || w.minimum.cy < w.maximum.cy; }

} // namespace

// The frames the user sees share the client area; the main window keeps its
// size, whatever the frames' smallest sizes add up to.
void CMainFrame::tileWindows()
{
    std::vector<TileWindow> limits;
    const std::vector<QMdiSubWindow*> frames = arrangedFrames(mdi->subWindowList(), limits);
    const QSize area = mdi->viewport()->size();
    const std::vector<RECT> tiles = ::tileWindows(limits, RECT{0, 0, area.width(), area.height()});
    for (std::size_t i = 0; i < frames.size(); ++i)
        frames[i]->setGeometry(toQRect(tiles[i]));
}

// The frames step down from the top-left corner, one title bar apart. Frames
// of a fixed size come in front of those that can grow, which are large
// behind them: no frame hides another whole. The front one is active.
void CMainFrame::cascadeWindows()
{
    std::vector<TileWindow> limits;
    std::vector<QMdiSubWindow*> frames = arrangedFrames(mdi->subWindowList(QMdiArea::StackingOrder), limits);
    if (frames.empty())
        return;
    std::vector<std::size_t> order(frames.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_partition(order.begin(), order.end(), [&](std::size_t i) { return growable(limits[i]); });
    std::vector<QMdiSubWindow*> backToFront;
    std::vector<TileWindow> ordered;
    for (std::size_t i : order) {
        backToFront.push_back(frames[i]);
        ordered.push_back(limits[i]);
    }
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, backToFront.front());
    const QSize area = mdi->viewport()->size();
    const std::vector<RECT> placed = ::cascadeWindows(ordered, RECT{0, 0, area.width(), area.height()}, step);
    for (std::size_t i = 0; i < backToFront.size(); ++i) {
        backToFront[i]->setGeometry(toQRect(placed[i]));
        backToFront[i]->raise();
    }
    mdi->setActiveSubWindow(backToFront.back());
}

void CMainFrame::updateCommandStates()
{
    LiveSessions* sessions = app.sessions();
    CommandState state;
    if (sessions) {
        state.sessions = sessions->getCount();
        state.runningSessions = sessions->runningCount();
        state.activeSessionPrintable = sessions->activeSessionPrintable();
    }
    const int ids[] = {AppCommand::SessionView, AppCommand::StartAll, AppCommand::PauseAll, AppCommand::Print,
                       AppCommand::Configuration};
    for (int id : ids) {
        const bool enabled = isCommandEnabled(id, state);
        if (QAction* action = menuBar() ? platform::findMenuCommand(menuBar(), id) : nullptr)
            action->setEnabled(enabled);
        auto tool = toolActions.find(id);
        if (tool != toolActions.end())
            tool->second->setEnabled(enabled);
    }
}

void CMainFrame::refreshWindowMenu()
{
    if (!windowMenu)
        return;
    // Everything after the three arranging commands is the list of frames.
    const QList<QAction*> actions = windowMenu->actions();
    for (int i = 3; i < actions.size(); ++i) {
        windowMenu->removeAction(actions[i]);
        actions[i]->deleteLater();
    }
    int number = 0;
    QMdiSubWindow* active = mdi->activeSubWindow();
    for (QMdiSubWindow* frame : mdi->subWindowList()) {
        if (!frame->isVisible())
            continue;
        if (number == 0)
            windowMenu->addSeparator();
        ++number;
        QAction* entry = windowMenu->addAction(QStringLiteral("&%1 %2").arg(number).arg(frame->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(frame == active);
        QObject::connect(entry, &QAction::triggered, this, [this, frame] {
            if (mdi->subWindowList().contains(frame)) {
                if (auto* child = dynamic_cast<ChildFrame*>(frame))
                    child->activateFrame();
                else
                    mdi->setActiveSubWindow(frame);
            }
        });
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!app.canCloseMainWindow()) {
        event->ignore();
        return;
    }
    timer.stop();
    event->accept();
}
