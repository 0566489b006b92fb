#include "session/HelpWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

QPointer<HelpWindow> HelpWindow::window;

HelpWindow::HelpWindow(QWidget* owner)
    : QWidget(owner, Qt::Window)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    view = new QTextBrowser(this);
    // Links to other sites leave the program; links inside the page stay.
    view->setOpenExternalLinks(true);
    layout->addWidget(view);
    // Beside the main window rather than over the middle of it.
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(640, area.width()), std::min(720, area.height()));
    if (owner) {
        const QRect frame = owner->frameGeometry();
        const int x = std::clamp(frame.right() - width(), area.left(), std::max(area.left(), area.right() - width()));
        const int y = std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() - height()));
        move(x, y);
    }
}

void HelpWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    // Back to the window the help was asked from (a modal dialog's keys and
    // buttons are the user's next step), not to whatever comes next.
    if (event->isAccepted() && isActiveWindow() && parentWidget() && parentWidget()->isVisible())
        parentWidget()->window()->activateWindow();
}

HelpWindow* HelpWindow::current() { return window.data(); }

bool HelpWindow::showTopic(const QUrl& url, QWidget* owner)
{
    if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isReadable())
        return false;
    // A modal dialog blocks every window but its own: while one is open the
    // help belongs to it, so that it comes up over the dialog, can be read
    // and scrolled, and closing it goes back to the dialog.
    if (QWidget* modal = QApplication::activeModalWidget())
        owner = modal;
    if (!window) {
        window = new HelpWindow(owner);
    } else if (window->parentWidget() != owner) {
        const QRect place = window->geometry();
        window->setParent(owner, Qt::Window);
        window->setGeometry(place);
    }
    // Shown first: the page is laid out to the window's width before it scrolls.
    window->show();
    window->raise();
    window->activateWindow();
    return window->load(url);
}

bool HelpWindow::load(const QUrl& url)
{
    QUrl page = url;
    page.setFragment(QString());
    if (view->source() != page) {
        view->setSource(page);
        if (view->document()->isEmpty())
            return false;
        setWindowTitle(view->documentTitle());
    }
    const QString topic = url.fragment();
    if (topic.isEmpty())
        view->verticalScrollBar()->setValue(0);
    else
        view->scrollToAnchor(topic);
    return true;
}
