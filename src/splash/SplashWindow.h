#pragma once
// The start-up picture: shown borderless and on top in the middle of the
// screen while the training program starts, gone as soon as that program
// says its window is up or has ended.
#include "splash/ChildProcess.h"

#include <QDialog>
#include <QPixmap>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

class QLabel;

namespace splash {

struct SplashOptions {
    std::string program;                // the training program's path
    std::vector<std::string> arguments; // passed on unchanged
    std::string ownLine;                // our own command line as one text
    std::string executablePath;         // where the ini file is looked for
};

class SplashWindow : public QDialog {
public:
    // The ids of the picture and the logo; the window's size follows the picture.
    static constexpr int pictureId = 1000;
    static constexpr int logoId = 1001;
    static constexpr int timerId = 200272;
    static constexpr int tickMilliseconds = 20;

    SplashWindow(const SplashOptions& options, Child& child);

    // How a failed start is shown; a message box unless replaced.
    std::function<void(const QString& text, const QString& caption)> showError;

    QLabel* picture() const { return pictureLabel; }
    QLabel* logo() const { return logoLabel; }
    bool childIsIdle() const { return childProcessIsIdle; }

    // One poll of the child, as the timer does it every 20 ms.
    void tick();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap loadIniPicture(const char* key, const char* what);
    QPixmap loadLogoTemplate();
    void endDialog();

    SplashOptions options;
    Child& child;
    std::string iniName;
    QLabel* pictureLabel = nullptr;
    QLabel* logoLabel = nullptr;
    QTimer timer;
    bool launchPending = true;
    bool childProcessIsIdle = false;
    bool ended = false;
};

// The built-in picture, 411 x 500 pixels, drawn by code.
QPixmap builtInPicture();

} // namespace splash
