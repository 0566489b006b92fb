#include "splash/SplashWindow.h"

#include "splash/SplashLogic.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>

namespace splash {

SplashWindow::SplashWindow(const SplashOptions& options, Child& child)
    : QDialog(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , options(options)
    , child(child)
    , iniName(iniFileName(options.ownLine))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    showError = [this](const QString& text, const QString& caption) {
        QMessageBox::critical(this, caption, text);
    };
    pictureLabel = new QLabel(this);
    pictureLabel->setObjectName(QStringLiteral("picture"));
    logoLabel = new QLabel(this);
    logoLabel->setObjectName(QStringLiteral("logo"));
    trace("WM_INITDIALOG");

    QPixmap logo = loadIniPicture("logo", "logo");
    if (logo.isNull())
        logo = loadLogoTemplate();
    QPixmap shown = loadIniPicture("picture", "picture");
    if (shown.isNull())
        shown = builtInPicture();

    QSize windowSize(80, 80);
    if (!shown.isNull()) {
        pictureLabel->setPixmap(shown);
        pictureLabel->setGeometry(0, 0, shown.width(), shown.height());
        if (!logo.isNull()) {
            logoLabel->setPixmap(logo.scaled(80, 80, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            logoLabel->setGeometry(50, 370, 80, 80);
            logoLabel->show();
        } else {
            logoLabel->hide();
        }
        windowSize = pictureLabel->size();
    }
    setFixedSize(windowSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - windowSize.width()) / 2, area.y() + (area.height() - windowSize.height()) / 2);
    }

    timer.setInterval(tickMilliseconds);
    connect(&timer, &QTimer::timeout, this, [this] {
        trace("WM_TIMER");
        tick();
    });
    timer.start();
}

QPixmap SplashWindow::loadIniPicture(const char* key, const char* what)
{
    const std::optional<std::string> path = iniPath(options.executablePath, iniName);
    if (!path) {
        trace("Can not find absolute path to splash.ini");
        return {};
    }
    trace("Open ini file:");
    trace(*path);
    const std::string file = readIniValue(*path, "splash", key);
    if (file.empty())
        return {};
    trace(std::string("Loading custom ") + what);
    trace(file);
    QPixmap image(QString::fromLocal8Bit(file.c_str()));
    if (image.isNull())
        trace(std::string("Loading custom ") + what + " failed");
    return image;
}

QPixmap SplashWindow::loadLogoTemplate()
{
    QPixmap image(QStringLiteral("./customization/logo_template.bmp"));
    trace(image.isNull() ? "Loading custom logo failed" : "Loading custom logo succeded");
    return image;
}

void SplashWindow::tick()
{
    if (ended)
        return;
    if (launchPending) {
        launchPending = false;
        if (!child.start(options.program, options.arguments)) {
            timer.stop();
            trace("CreateProcess failed: \"main\"");
            showError(QStringLiteral("Can not open \"main\""), QStringLiteral("failed"));
            endDialog();
            return;
        }
        trace("CreateProcess succes: \"main\"");
    }
    // A message may have come just before the child ended: it counts first.
    bool idleReported = false;
    for (unsigned message : child.takeMessages()) {
        if (message == SPLASH_MESSAGE_ID_CLOSE) {
            trace("SPLASH_MESSAGE_ID_CLOSE, EndDialog");
            endDialog();
            return;
        }
        if (message == SPLASH_CHILD_IDLE)
            idleReported = true;
    }
    if (!child.isRunning()) {
        trace("Child is dead");
        endDialog();
        return;
    }
    // The training program says itself when it first waits for input.
    if (!childProcessIsIdle) {
        if (!idleReported) {
            trace("WaitForInputIdle(..) == WAIT_TIMEOUT");
            return;
        }
        trace("Child is idle");
        childProcessIsIdle = true;
    }
    trace("End dialog, ( childProcessIsIdle == true )");
    endDialog();
}

void SplashWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QDialog::mouseReleaseEvent(event);
    if (!childProcessIsIdle) {
        trace("Hide dialog, ( childProcessIsIdle == false )");
        hide();
        return;
    }
    trace("End dialog, ( childProcessIsIdle == true )");
    endDialog();
}

void SplashWindow::endDialog()
{
    ended = true;
    timer.stop();
    done(0);
}

} // namespace splash
