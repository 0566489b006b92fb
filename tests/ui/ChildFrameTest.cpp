// Child frames in a plain main window's MDI client.
#include "MdiHost.h"
#include "support/TestSupport.h"
#include "ui/ChildFrame.h"
#include "platformqt/AppIcon.h"

#include <QCoreApplication>
#include <QList>
#include <QMdiArea>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// A frame around a plain widget of a given size.
class PanelFrame : public ChildFrame {
public:
    explicit PanelFrame(QSize viewSize, bool viewCreated = true) : viewSize(viewSize), viewCreated(viewCreated) {}
    QWidget* getView() override { return view; }
    bool createView() override
    {
        if (!viewCreated)
            return false;
        view = new QWidget(clientArea());
        view->resize(viewSize);
        auto* label = new QPushButton("&Go", view);
        label->setFocusPolicy(Qt::NoFocus);
        new QLineEdit(view);
        return true;
    }
    bool canClose() override { return closable; }

    QWidget* view = nullptr;
    QSize viewSize;
    bool viewCreated;
    bool closable = true;
};

// Counts the emissions of a frame's destroyed signal.
struct FrameWatcher : SignalReceiver {
    void onDestroyed(ChildFrame* frame)
    {
        ++count;
        last = frame;
    }
    int count = 0;
    ChildFrame* last = nullptr;
};

void runDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class ChildFrames : public testing::Test {
protected:
    PanelFrame* open(QSize viewSize, void (*setFlags)(ChildFrame&) = nullptr, const wchar_t* title = L"Panel")
    {
        auto* frame = new PanelFrame(viewSize);
        if (setFlags)
            setFlags(*frame);
        EXPECT_TRUE(frame->createFrame(title));
        return frame;
    }

    MdiHost host;
};

TEST_F(ChildFrames, ResizableFrameFillsTheClientLessFivePixelsAround)
{
    PanelFrame* frame = open(QSize(100, 80));
    const QSize client = host.clientSize();
    EXPECT_EQ(QRect(5, 5, client.width() - 10, client.height() - 10), frame->geometry());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ("Panel", frame->windowTitle());
    EXPECT_EQ(frame->windowIcon().cacheKey(), platform::applicationIcon().cacheKey());
    EXPECT_FALSE(platform::applicationIcon().pixmap(32, 32).toImage().pixelColor(16, 16).alpha() == 0)
        << "the icon is drawn, not empty";
    EXPECT_EQ(frame->view->parentWidget(), frame->clientArea());
    // The first tab stop of the view has the focus.
    EXPECT_EQ(frame->view->findChild<QLineEdit*>(), frame->focusWidget());
}

TEST_F(ChildFrames, FitToViewGivesTheClientAreaTheViewsSize)
{
    PanelFrame* frame = open(QSize(230, 140), [](ChildFrame& f) { f.fitToView = true; });
    EXPECT_EQ(QSize(230, 140), frame->clientArea()->size());
}

TEST_F(ChildFrames, OpensMaximisedWhenTheActiveFrameIs)
{
    PanelFrame* first = open(QSize(100, 80), [](ChildFrame& f) { f.maximised = true; });
    first->activateFrame();
    ASSERT_TRUE(first->isMaximized());
    PanelFrame* second = open(QSize(100, 80));
    EXPECT_TRUE(second->isMaximized());
    PanelFrame* fitted = open(QSize(100, 80), [](ChildFrame& f) { f.fitToView = true; });
    EXPECT_FALSE(fitted->isMaximized());
}

TEST_F(ChildFrames, AHiddenMaximisedFrameDoesNotMaximiseTheNextOne)
{
    PanelFrame* first = open(QSize(100, 80), [](ChildFrame& f) {
        f.maximised = true;
        f.hideOnClose = true;
    });
    first->activateFrame();
    ASSERT_TRUE(first->isMaximized());
    first->hideFrame();
    PanelFrame* second = open(QSize(100, 80));
    EXPECT_FALSE(second->isMaximized());
}

// The visible frames from back to front.
QList<QMdiSubWindow*> visibleStack(QMdiArea* mdi)
{
    QList<QMdiSubWindow*> stack;
    for (QMdiSubWindow* frame : mdi->subWindowList(QMdiArea::StackingOrder))
        if (frame->isVisible())
            stack << frame;
    return stack;
}

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        runDeferredDeletes();
    }
}

// A maximised frame opened over a maximised frame with a form of its own
// size in front: closed, hidden or destroyed, it leaves both as they were,
// the form in front and active, the other maximised behind it.
TEST_F(ChildFrames, AMaximisedFrameGoingPutsBackTheFramesItCovered)
{
    struct Way {
        const char* what;
        void (*go)(ChildFrame&);
        bool hides;
    };
    const Way ways[] = {
        { "closed", [](ChildFrame& f) { f.close(); }, false },
        { "hidden", [](ChildFrame& f) { f.close(); }, true },
        { "destroyed", [](ChildFrame& f) { f.destroyFrame(); }, false },
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.what);
        MdiHost scene;
        PanelFrame* form = open(QSize(200, 150), [](ChildFrame& f) {
            f.fitToView = true;
            f.resizable = false;
            f.minimiseBox = true;
        }, L"Form");
        PanelFrame* back = open(QSize(100, 80), [](ChildFrame& f) { f.maximised = true; }, L"Back");
        form->activateFrame();
        settle();
        ASSERT_TRUE(back->isMaximized());
        ASSERT_EQ(scene.mdi->activeSubWindow(), form);
        const QSize formSize = form->size();

        PanelFrame* over = open(QSize(100, 80), [](ChildFrame& f) { f.maximised = true; }, L"Over");
        over->hideOnClose = way.hides;
        settle();
        ASSERT_TRUE(over->isMaximized());
        ASSERT_EQ(scene.mdi->activeSubWindow(), over);
        way.go(*over);
        settle();
        EXPECT_TRUE(back->isMaximized());
        EXPECT_FALSE(form->isMaximized());
        EXPECT_EQ(form->size(), formSize);
        EXPECT_EQ(visibleStack(scene.mdi), (QList<QMdiSubWindow*>{ back, form }));
        EXPECT_EQ(scene.mdi->activeSubWindow(), form) << "the Window menu checks the form";
        EXPECT_EQ(scene.windowMenu, (QStringList{ "Form", "Back" }));
    }
}

// A frame the user brought back to its size while the maximised one was open
// is not maximised again when that one goes.
TEST_F(ChildFrames, AFrameTheUserRestoredMeanwhileStaysRestored)
{
    PanelFrame* back = open(QSize(100, 80), [](ChildFrame& f) { f.maximised = true; }, L"Back");
    settle();
    ASSERT_TRUE(back->isMaximized());
    PanelFrame* over = open(QSize(100, 80), [](ChildFrame& f) { f.maximised = true; }, L"Over");
    settle();
    ASSERT_TRUE(over->isMaximized());
    // Chosen from the Window menu, then restored by its title bar's button.
    back->activateFrame();
    settle();
    back->showNormal();
    settle();
    over->close();
    settle();
    EXPECT_FALSE(back->isMaximized());
    EXPECT_TRUE(back->isVisible());
    EXPECT_EQ(host.mdi->activeSubWindow(), back);
}

TEST_F(ChildFrames, FirstFixedFrameGoesToTheCornerLaterOnesToTheMiddle)
{
    auto fixed = [](ChildFrame& f) {
        f.fitToView = true;
        f.resizable = false;
    };
    PanelFrame* first = open(QSize(200, 100), fixed);
    EXPECT_EQ(QPoint(5, 5), first->pos());
    PanelFrame* second = open(QSize(200, 100), fixed);
    const QSize client = host.clientSize();
    EXPECT_EQ(QPoint((client.width() - second->width()) / 2, (client.height() - second->height()) / 2), second->pos());
    // No sizing border and no maximise box.
    EXPECT_EQ(second->minimumSize(), second->maximumSize());
    EXPECT_FALSE(second->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(second->windowFlags() & Qt::WindowMinimizeButtonHint);
    PanelFrame* third = open(QSize(200, 100), [](ChildFrame& f) {
        f.fitToView = true;
        f.resizable = false;
        f.minimiseBox = true;
    });
    EXPECT_TRUE(third->windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(ChildFrames, ActivatingSlidesAnOversizedFrameToTheCornerKeepingItsSize)
{
    PanelFrame* frame = open(QSize(1200, 900), [](ChildFrame& f) { f.fitToView = true; });
    frame->move(40, 30);
    const QSize size = frame->size();
    frame->activateFrame();
    EXPECT_EQ(QPoint(0, 0), frame->pos());
    EXPECT_EQ(size, frame->size());
    EXPECT_EQ(frame, host.mdi->activeSubWindow());

    PanelFrame* small = open(QSize(100, 100), [](ChildFrame& f) { f.fitToView = true; });
    const QSize client = host.clientSize();
    small->move(client.width() - 50, 20);
    small->activateFrame();
    EXPECT_EQ(QPoint(client.width() - small->width(), 20), small->pos());
}

TEST_F(ChildFrames, HidingAndShowingRefreshTheWindowMenu)
{
    PanelFrame* a = open(QSize(100, 80), nullptr, L"One");
    open(QSize(100, 80), nullptr, L"Two");
    a->activateFrame();
    EXPECT_EQ((QStringList{"One", "Two"}), host.windowMenu);
    a->hideFrame();
    EXPECT_FALSE(a->isVisible());
    EXPECT_EQ((QStringList{"Two"}), host.windowMenu);
    const int refreshes = host.refreshes;
    a->activateFrame();
    EXPECT_TRUE(a->isVisible());
    EXPECT_EQ(refreshes + 1, host.refreshes);
    EXPECT_EQ((QStringList{"One", "Two"}), host.windowMenu);
}

TEST_F(ChildFrames, ClosingIsVetoedOrHidesOrDestroysOnce)
{
    FrameWatcher watcher;
    PanelFrame* frame = open(QSize(100, 80));
    frame->destroyed.connect(&watcher, &FrameWatcher::onDestroyed);
    QPointer<QWidget> alive(frame);

    frame->closable = false;
    EXPECT_FALSE(frame->close());
    runDeferredDeletes();
    EXPECT_TRUE(frame->isVisible());

    frame->closable = true;
    frame->hideOnClose = true;
    frame->close();
    runDeferredDeletes();
    ASSERT_TRUE(alive);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_TRUE(host.windowMenu.isEmpty());
    EXPECT_TRUE(watcher.hasConnections());

    frame->activateFrame();
    frame->hideOnClose = false;
    frame->close();
    runDeferredDeletes();
    EXPECT_FALSE(alive);
    EXPECT_EQ(1, watcher.count);
    EXPECT_EQ(static_cast<ChildFrame*>(frame), watcher.last);
    EXPECT_FALSE(watcher.hasConnections());
    QCoreApplication::processEvents();
    EXPECT_TRUE(host.windowMenu.isEmpty());
}

TEST_F(ChildFrames, FrameWhoseViewFailsIsNotCreatedAndGoesAway)
{
    FrameWatcher watcher;
    auto* frame = new PanelFrame(QSize(100, 80), false);
    frame->destroyed.connect(&watcher, &FrameWatcher::onDestroyed);
    QPointer<QWidget> alive(frame);
    EXPECT_FALSE(frame->createFrame(L"Broken"));
    EXPECT_FALSE(frame->windowExists());
    EXPECT_FALSE(frame->isVisible());
    runDeferredDeletes();
    EXPECT_FALSE(alive);
    EXPECT_EQ(1, watcher.count);
}

TEST_F(ChildFrames, FrameWithoutAnMdiClientIsNotCreated)
{
    testsupport::LogCapture log;
    AppServices* installed = setAppServices(nullptr);
    auto* frame = new PanelFrame(QSize(100, 80));
    QPointer<QWidget> alive(frame);
    EXPECT_FALSE(frame->createFrame(L"Nowhere"));
    setAppServices(installed);
    runDeferredDeletes();
    EXPECT_FALSE(alive);
    EXPECT_TRUE(log.hasAssertion("mdi != nullptr"));
}

TEST_F(ChildFrames, ActivatingAFrameWithoutAWindowIsLoggedAndDoesNothing)
{
    testsupport::LogCapture log;
    PanelFrame frame(QSize(100, 80));
    const int refreshes = host.refreshes;
    frame.activateFrame();
    EXPECT_TRUE(log.hasAssertion("::IsWindow(m_hWnd)"));
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(refreshes, host.refreshes);
}

TEST_F(ChildFrames, DestroyingTheFrameTakesItsViewAlong)
{
    FrameWatcher watcher;
    PanelFrame* frame = open(QSize(100, 80));
    frame->destroyed.connect(&watcher, &FrameWatcher::onDestroyed);
    QPointer<QWidget> view(frame->view);
    frame->destroyFrame();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(0, watcher.count);
    runDeferredDeletes();
    EXPECT_EQ(1, watcher.count);
    EXPECT_FALSE(view);
}

} // namespace
