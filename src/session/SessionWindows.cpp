#include "session/SessionWindows.h"

#include "Utillib/LogStream.h"
#include "gettext/Translator.h"
#include "session/AppCommands.h"
#include "session/Session.h"
#include "session/SessionGraphView.h"
#include "session/SurveillanceView.h"
#include "ui/AppServices.h"
#include "ui/HelpTopic.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

QString tr8(const char* key) { return QString::fromStdWString(translate(key)); }

// Hides the window and deletes it from the event loop: it may be the one
// whose handler is running.
void retire(QWidget* window)
{
    if (!window)
        return;
    window->hide();
    window->setParent(nullptr);
    window->deleteLater();
}

} // namespace

// --- SessionView ---------------------------------------------------------

SessionView::SessionView(Session& owner)
    : session(&owner)
{
}

void SessionView::showPage(QWidget* page)
{
    if (activePage && activePage != page)
        activePage->hide();
    activePage = page;
    if (!page)
        return;
    if (page->parentWidget() != this)
        page->setParent(this);
    page->setGeometry(rect());
    page->show();
}

void SessionView::resizeEvent(QResizeEvent*)
{
    if (activePage)
        activePage->setGeometry(rect());
}

SessionContainerHandle::SessionContainerHandle(Session& session)
    : window(new SessionView(session))
{
}

SessionContainerHandle::~SessionContainerHandle() { destroyWindow(); }

void SessionContainerHandle::showPage(SessionPageWindow* page)
{
    // A page without a window of its own leaves the shown one in place.
    auto* handle = dynamic_cast<SessionPageHandle*>(page);
    if (window && handle)
        window->showPage(handle->pageWidget());
}

void SessionContainerHandle::destroyWindow()
{
    // Its pages are the session's: they leave before it goes.
    if (window)
        for (QObject* child : window->children())
            if (auto* page = qobject_cast<QWidget*>(child)) {
                page->hide();
                page->setParent(nullptr);
            }
    retire(window);
    window = nullptr;
}

// --- GraphPageHandle -----------------------------------------------------

GraphPageHandle::GraphPageHandle(Session& session)
    : window(new SessionGraphView(session))
{
}

GraphPageHandle::~GraphPageHandle() { destroyWindow(); }

SessionGraphView* GraphPageHandle::page() const { return static_cast<SessionGraphView*>(window.data()); }

void GraphPageHandle::destroyWindow()
{
    if (window)
        page()->detach();
    retire(window);
    window = nullptr;
}

void GraphPageHandle::refreshControls()
{
    if (window)
        page()->updateControls();
}

int GraphPageHandle::axisNewestIndex() const { return window ? page()->axis()->model.lastUpdateIndex : 0; }

double GraphPageHandle::axisSampleRate() const { return window ? page()->axis()->model.sampleRate() : 0.0; }

QWidget* GraphPageHandle::pageWidget() const { return window; }

// --- SessionManagerTabView -----------------------------------------------

SessionManagerTabView::SessionManagerTabView(QWidget* parent)
    : QWidget(parent)
    , tabCtrl(new QTabBar(this))
{
    tabCtrl->setObjectName(QStringLiteral("101"));
    tabCtrl->setExpanding(false);
    tabCtrl->setDocumentMode(true);
    QObject::connect(tabCtrl, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(tabViews.size()))
            selectView(tabViews[static_cast<std::size_t>(index)], false);
    });
    if (sessionManager)
        sessionManager->setTabView(this);
}

SessionManagerTabView::~SessionManagerTabView()
{
    // Every session closes with the frame.
    if (sessionManager)
        sessionManager->sessionFrameClosed();
}

void SessionManagerTabView::addView(SessionView* view)
{
    viewList.push_back(view);
    view->setParent(this);
    tabViews.push_back(view);
    tabCtrl->blockSignals(true);
    tabCtrl->addTab(QString::fromStdWString(view->getSession().getName()));
    tabCtrl->blockSignals(false);
    view->hide();
    selectView(view, true);
}

void SessionManagerTabView::selectView(SessionView* view, bool selectTab)
{
    const bool known = std::find(viewList.begin(), viewList.end(), view) != viewList.end();
    LOG_ASSERT_TEXT(known, "viewList contains view");
    if (view != activeView) {
        view->show();
        if (activeView)
            activeView->hide();
        if (selectTab) {
            auto found = std::find(tabViews.begin(), tabViews.end(), view);
            LOG_ASSERT_TEXT(found != tabViews.end(), "a tab shows the view");
            if (found != tabViews.end()) {
                tabCtrl->blockSignals(true);
                tabCtrl->setCurrentIndex(static_cast<int>(found - tabViews.begin()));
                tabCtrl->blockSignals(false);
            }
        }
    }
    activeView = view;
    layoutViews();
}

void SessionManagerTabView::layoutViews()
{
    tabCtrl->setGeometry(0, 0, width(), tabCtrl->sizeHint().height());
    if (activeView)
        activeView->setGeometry(0, tabCtrl->height(), width(), std::max(height() - tabCtrl->height(), 0));
}

void SessionManagerTabView::resizeEvent(QResizeEvent*) { layoutViews(); }

void SessionManagerTabView::removeView(SessionView* view)
{
    auto found = std::find(tabViews.begin(), tabViews.end(), view);
    LOG_ASSERT_TEXT(found != tabViews.end(), "a tab shows the view");
    std::erase(viewList, view);
    if (found != tabViews.end()) {
        const int index = static_cast<int>(found - tabViews.begin());
        tabViews.erase(found);
        tabCtrl->blockSignals(true);
        tabCtrl->removeTab(index);
        tabCtrl->blockSignals(false);
        if (view == activeView) {
            activeView = nullptr;
            if (!tabViews.empty()) {
                const int next = index > 0 ? index - 1 : 0;
                selectView(tabViews[static_cast<std::size_t>(next)], true);
            }
        }
    }
    if (tabViews.empty() && onLastTabRemoved)
        onLastTabRemoved();
}

void SessionManagerTabView::addSession(Session&, SessionContainer* container)
{
    auto* handle = dynamic_cast<SessionContainerHandle*>(container);
    if (handle && handle->view())
        addView(handle->view());
}

void SessionManagerTabView::removeSession(Session& session, SessionContainer*)
{
    for (SessionView* view : tabViews)
        if (&view->getSession() == &session) {
            removeView(view);
            return;
        }
}

void SessionManagerTabView::selectSession(Session& session)
{
    for (SessionView* view : viewList)
        if (&view->getSession() == &session)
            selectView(view, true);
}

Session* SessionManagerTabView::activeSession() const { return activeView ? &activeView->getSession() : nullptr; }

void SessionManagerTabView::activateFrame()
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* frame = dynamic_cast<ChildFrame*>(w)) {
            frame->activateFrame();
            return;
        }
}

// --- SessionChildFrame ---------------------------------------------------

bool SessionChildFrame::createView()
{
    setMinimumSize(540, 300);
    auto* layout = new QVBoxLayout(clientArea());
    layout->setContentsMargins(0, 0, 0, 0);
    view = new SessionManagerTabView(clientArea());
    layout->addWidget(view);
    setWindowTitle(tr8("Session"));
    view->onLastTabRemoved = [this] {
        // The frame goes once the running handler has returned; then the
        // running course's form comes forward, or without a course the New
        // session form opens for the next session.
        destroyFrame();
        if (AppServices* app = appServices(); app && !app->activateRunningCourse())
            app->onCommand(AppCommand::NewSession);
    };
    return true;
}

bool SessionChildFrame::canClose() { return !sessionManager || sessionManager->canCloseAll(); }

bool SessionChildFrame::onCommand(int id)
{
    if (id != ID_HELP || !view || !view->active())
        return ChildFrame::onCommand(id);
    auto* page = dynamic_cast<HelpTopic*>(view->active()->getActivePage());
    AppServices* app = appServices();
    if (!page || !app)
        return ChildFrame::onCommand(id);
    app->showHelp(page->helpContext());
    return true;
}

// --- SaveSessionDialog ---------------------------------------------------

SaveSessionDialog::SaveSessionDialog(const std::wstring& name, bool allowReview, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                         | Qt::WindowCloseButtonHint)
{
    // A question, as a message box is: only a close button in its title bar.
    setWindowTitle(tr8("Save session?"));
    auto* layout = new QVBoxLayout(this);
    QString question = QString::fromStdWString(translate(
        "Do you want to save the session '%s' in the database?\n\nIf you choose 'Yes', you can find the session later "
        "with the 'Session manager' command in the Database menu.\nIf you choose 'No', the session will be "
        "discarded.\n\nPress 'Review' to review the session information before you decide."));
    question.replace(QStringLiteral("%s"), QString::fromStdWString(name));
    auto* text = new QLabel(question, this);
    text->setObjectName(QStringLiteral("1283"));
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* buttons = new QHBoxLayout;
    yesBtn = new QPushButton(tr8("&Yes"), this);
    auto* no = new QPushButton(tr8("&No"), this);
    reviewBtn = new QPushButton(tr8("&Review"), this);
    auto* cancel = new QPushButton(tr8("&Cancel"), this);
    for (QPushButton* button : { yesBtn, no, reviewBtn, cancel })
        buttons->addWidget(button);
    layout->addLayout(buttons);
    yesBtn->setDefault(true);
    reviewBtn->setEnabled(allowReview);
    QObject::connect(yesBtn, &QPushButton::clicked, this, [this] {
        save = close = true;
        accept();
    });
    QObject::connect(no, &QPushButton::clicked, this, [this] {
        close = true;
        done(1297);
    });
    QObject::connect(reviewBtn, &QPushButton::clicked, this, [this] {
        review = true;
        done(4);
    });
    QObject::connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

// --- AppSessionFrames ----------------------------------------------------

void AppSessionFrames::openSessionFrame()
{
    if (frame && frame->windowExists()) {
        frame->activateFrame();
        return;
    }
    auto* created = new SessionChildFrame;
    created->maximised = true;
    if (!created->createFrame(translate("Session")))
        return; // the frame deleted itself
    frame = created;
}

void AppSessionFrames::openSurveillanceFrame()
{
    if (surveillance && surveillance->windowExists()) {
        surveillance->activateFrame();
        return;
    }
    auto* created = new SurveillanceChildFrame;
    created->maximised = true;
    if (!created->createFrame(translate("Surveillance")))
        return; // the frame deleted itself
    surveillance = created;
}
