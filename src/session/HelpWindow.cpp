#include "session/HelpWindow.h"

#include "session/HelpPlacement.h"

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
}

void HelpWindow::placeBeside(QWidget* owner)
{
    const QWidget* beside = owner ? owner->window() : nullptr;
    const QScreen* screen = beside ? beside->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const auto rect = [](const QRect& r) { return helpplacement::Rect{ r.x(), r.y(), r.width(), r.height() }; };
    // The title bar and borders count: the window manager adds them around
    // the size asked for. Until it has framed this window, the owner's frame
    // tells how large they are.
    QSize decoration = frameGeometry().size() - size();
    if (beside)
        decoration = decoration.expandedTo(beside->frameGeometry().size() - beside->size());
    const helpplacement::Rect frame = helpplacement::place(beside ? rect(beside->frameGeometry()) : rect(area),
                                                           640 + decoration.width(), 720 + decoration.height(),
                                                           rect(area));
    // The position of a window is that of its frame.
    move(frame.x, frame.y);
    resize(std::max(0, frame.width - decoration.width()), std::max(0, frame.height - decoration.height()));
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
    // Placed when it comes up for a window: beside that window, where the
    // user can read it and still see what they are doing. Moved or resized
    // by the user afterwards, it stays where they put it.
    bool place = false;
    if (!window) {
        window = new HelpWindow(owner);
        place = true;
    } else if (window->parentWidget() != owner) {
        window->setParent(owner, Qt::Window);
        place = true;
    } else {
        place = !window->isVisible();
    }
    if (place)
        window->placeBeside(owner);
    // Shown first: the page is laid out to the window's width before it scrolls.
    window->show();
    // Once shown, the frame the window manager put around it is known.
    if (place)
        window->placeBeside(owner);
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
