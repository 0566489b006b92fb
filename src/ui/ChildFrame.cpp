#include "ui/ChildFrame.h"

#include "platformqt/AppIcon.h"

#include "Utillib/LogStream.h"
#include "platformqt/Window.h"
#include "ui/AppServices.h"
#include "ui/KeyboardRouting.h"

#include <QCloseEvent>
#include <QWindowStateChangeEvent>
#include <QCoreApplication>
#include <QLayout>
#include <QMdiArea>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

// The client area of a frame: it tells the frame its new size.
class FrameClient : public QWidget {
public:
    explicit FrameClient(ChildFrame* frame, void (*notify)(ChildFrame*, int, int))
        : frame(frame), notify(notify)
    {
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        notify(frame, width(), height());
    }

private:
    ChildFrame* frame;
    void (*notify)(ChildFrame*, int, int);
};

bool firstFixedFrame = true;

void refreshMdiMenu()
{
    if (AppServices* services = appServices())
        services->refreshMdiMenu();
}

QMdiArea* mainMdiClient()
{
    AppServices* services = appServices();
    return services ? services->mdiClient() : nullptr;
}

} // namespace

// ChildFrame

ChildFrame::ChildFrame()
{
    installKeyboardRouting();
    client = new FrameClient(this, [](ChildFrame* frame, int w, int h) { frame->onClientSize(w, h); });
    setWidget(client);
    // A frame closed for good is deleted, as its destroyed window would be.
    setAttribute(Qt::WA_DeleteOnClose);
}

ChildFrame::~ChildFrame()
{
    created = false;
    // Receivers may only compare the address: the window and the derived
    // parts are gone. The signal's connections go with the member right after.
    destroyed.emit(this);
    // The Window menu drops the frame once the MDI client has let it go.
    if (QCoreApplication* app = QCoreApplication::instance())
        QTimer::singleShot(0, app, [] { refreshMdiMenu(); });
}

bool ChildFrame::onCommand(int) { return false; }

void ChildFrame::resetFirstFixedFrame() { firstFixedFrame = true; }

void ChildFrame::applyFlags()
{
    Qt::WindowFlags flags = Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (resizable)
        flags |= Qt::WindowMinMaxButtonsHint;
    else if (minimiseBox)
        flags |= Qt::WindowMinimizeButtonHint;
    setWindowFlags(flags);
}

bool ChildFrame::createFrame(const std::wstring& title)
{
    QMdiArea* mdi = mainMdiClient();
    LOG_ASSERT(mdi != nullptr);
    if (!mdi) {
        failCreation();
        return false;
    }
    // The MDI area keeps a hidden frame as its active one; only a frame the
    // user sees decides whether a new one opens maximised.
    QMdiSubWindow* active = mdi->activeSubWindow();
    const bool activeMaximised = active && active->isVisible() && active->isMaximized();
    const bool openMaximised = maximised || (!fitToView && activeMaximised);
    if (openMaximised)
        coverFrames(mdi);

    setWindowTitle(QString::fromStdWString(title));
    setWindowIcon(platform::applicationIcon());
    applyFlags();
    mdi->addSubWindow(this);
    if (!createView()) {
        failCreation();
        return false;
    }
    created = true;
    placeAfterCreation();
    if (openMaximised) {
        showMaximized();
    } else {
        // A frame opening in its own size brings a maximised one back to its size.
        if (active && active->isMaximized())
            active->showNormal();
        show();
    }
    if (QWidget* first = platform::nextDlgTabItem(getView(), nullptr))
        first->setFocus();
    // From now on a covered frame changes state only by the user's hand.
    watchingCovered = !displaced.empty();
    return true;
}

void ChildFrame::coverFrames(QMdiArea* mdi)
{
    displaced.clear();
    for (QMdiSubWindow* frame : mdi->subWindowList(QMdiArea::StackingOrder)) {
        if (!frame->isVisible())
            continue;
        displaced.push_back({ frame, frame->isMaximized(), false });
        frame->installEventFilter(this);
    }
    QMdiSubWindow* active = mdi->activeSubWindow();
    displacedActive = active && active->isVisible() ? active : nullptr;
}

void ChildFrame::stopWatchingCovered()
{
    watchingCovered = false;
    for (const Covered& covered : displaced)
        if (covered.frame)
            covered.frame->removeEventFilter(this);
}

bool ChildFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watchingCovered && event->type() == QEvent::WindowStateChange)
        for (Covered& covered : displaced)
            if (covered.frame == watched)
                covered.changed = true;
    return QMdiSubWindow::eventFilter(watched, event);
}

// A frame that could not be created goes away as a destroyed window does.
void ChildFrame::failCreation()
{
    created = false;
    hide();
    deleteLater();
}

void ChildFrame::placeAfterCreation()
{
    QMdiArea* mdi = mdiArea();
    if (fitToView) {
        fitFrameToView();
    } else {
        const QSize area = mdi->viewport()->size();
        setGeometry(5, 5, std::max(0, area.width() - 10), std::max(0, area.height() - 10));
    }
    if (!resizable) {
        if (firstFixedFrame)
            move(5, 5);
        else
            centreInClient();
        firstFixedFrame = false;
        setFixedSize(size());
    }
}

void ChildFrame::fitFrameToView()
{
    QWidget* view = getView();
    if (!view)
        return;
    // The frame's border and title around the client area.
    const QMargins border = contentsMargins() + (layout() ? layout()->contentsMargins() : QMargins());
    const QSize wanted = view->size().grownBy(border);
    if (!resizable)
        setFixedSize(wanted);
    else
        resize(wanted);
}

void ChildFrame::activateFrame()
{
    const bool exists = windowExists();
    LOG_ASSERT_TEXT(exists, "::IsWindow(m_hWnd)");
    if (!exists)
        return;
    QMdiArea* mdi = mdiArea();
    const QRect area = mdi->viewport()->rect();
    const QRect frame = geometry();
    const int overflowRight = std::max(0, frame.x() + frame.width() - area.width());
    const int overflowBottom = std::max(0, frame.y() + frame.height() - area.height());
    QMdiSubWindow* active = mdi->activeSubWindow();
    if (fitToView || !active || !active->isVisible() || !active->isMaximized())
        move(std::max(0, frame.x() - overflowRight), std::max(0, frame.y() - overflowBottom));
    show();
    // A frame sized to its view keeps that size: the MDI area would maximise
    // it because the active frame is, and its view would fill only a corner.
    // It comes to the front of the maximised frame instead.
    const bool keepSize = fitToView && !isMaximized();
    const bool maximisesOthers = !mdi->testOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    if (keepSize)
        mdi->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
    mdi->setActiveSubWindow(this);
    if (keepSize) {
        mdi->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, !maximisesOthers);
        raise();
    }
    refreshMdiMenu();
}

void ChildFrame::hideFrame()
{
    stopWatchingCovered();
    hide();
    restoreDisplaced();
    refreshMdiMenu();
}

// Once the MDI area has chosen the next active frame, the frames this one
// covered when it opened maximised are put back as they were: each fills the
// client area again or keeps its size, in the same order from back to front,
// and the one that was active is again, so the Window menu checks it. A
// frame whose state the user changed meanwhile is left as the user left it.
void ChildFrame::restoreDisplaced()
{
    stopWatchingCovered();
    std::vector<Covered> covered = std::exchange(displaced, {});
    QPointer<QMdiSubWindow> active = std::exchange(displacedActive, nullptr);
    QPointer<QMdiArea> mdi = mdiArea();
    if (covered.empty() || !mdi)
        return;
    QTimer::singleShot(0, mdi, [mdi, covered, active] {
        if (!mdi)
            return;
        for (const Covered& entry : covered) {
            if (!entry.frame || !entry.frame->isVisible() || entry.changed)
                continue;
            if (entry.maximised && !entry.frame->isMaximized())
                entry.frame->showMaximized();
        }
        for (const Covered& entry : covered)
            if (entry.frame && entry.frame->isVisible())
                entry.frame->raise();
        if (active && active->isVisible()) {
            // Activation would carry a maximised frame's state over to it.
            const bool keepSizes = mdi->testOption(QMdiArea::DontMaximizeSubWindowOnActivation);
            mdi->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
            mdi->setActiveSubWindow(active);
            mdi->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, keepSizes);
            active->raise();
        }
        refreshMdiMenu();
    });
}

// A frame that may not fill the client area stays as it is when the MDI
// area would carry the maximised state over to it on activation; its view
// keeps its size and the main window's title stays its own.
void ChildFrame::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange && !mayMaximise() && (windowState() & Qt::WindowMaximized)
        && !static_cast<QWindowStateChangeEvent*>(event)->isOverride()) {
        overrideWindowState(windowState() & ~Qt::WindowMaximized);
        return;
    }
    QMdiSubWindow::changeEvent(event);
}

void ChildFrame::centreInClient()
{
    QMdiArea* mdi = mdiArea();
    if (!mdi)
        return;
    const QSize area = mdi->viewport()->size();
    const QSize frame = size();
    move(std::max(0, (area.width() - frame.width()) / 2), std::max(0, (area.height() - frame.height()) / 2));
}

void ChildFrame::destroyFrame()
{
    if (!created)
        return;
    created = false;
    stopWatchingCovered();
    hide();
    restoreDisplaced();
    refreshMdiMenu();
    deleteLater();
}

void ChildFrame::closeEvent(QCloseEvent* event)
{
    if (!canClose()) {
        event->ignore();
        return;
    }
    if (hideOnClose) {
        event->ignore();
        hideFrame();
        return;
    }
    // What the MDI area does to the other frames as this one goes is not the user's doing.
    const bool watching = std::exchange(watchingCovered, false);
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted()) {
        created = false;
        restoreDisplaced();
    } else {
        watchingCovered = watching;
    }
}

void ChildFrame::onClientSize(int, int) {}
