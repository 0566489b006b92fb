// The training program.
#include "platform/CommandLine.h"
#include "session/AppCommands.h"
#include "session/MainFrame.h"
#include "session/TrainingApp.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace {

// For scripts that start the program unattended: with $TAVO_WINDOW_UP_SHOT
// set, a picture of the screen is saved there once the start-up is done and
// a line says that the main window is up; with $TAVO_CLOSE_WHEN_UP set the
// main window is then closed as the user would close it.
void reportWindowUp(TrainingApp& app)
{
    const char* shot = std::getenv("TAVO_WINDOW_UP_SHOT");
    if (!shot || !*shot)
        return;
    // The Calibrate window hides itself after a start-up search that found
    // nothing wrong: bring it up for the picture.
    app.onCommand(AppCommand::Calibrate);
    QApplication::processEvents();
    QScreen* screen = QGuiApplication::primaryScreen();
    const bool saved = screen && screen->grabWindow(0).save(QString::fromLocal8Bit(shot));
    std::printf("main: main window up after %.0f ms%s\n", app.startupMs(), saved ? "" : " (no picture saved)");
    const auto& steps = app.startupSteps();
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const double end = i + 1 < steps.size() ? steps[i + 1].startMs : app.startupMs();
        std::printf("main:   %-20s %7.1f ms\n", steps[i].name.c_str(), end - steps[i].startMs);
    }
    std::fflush(stdout);
    if (std::getenv("TAVO_CLOSE_WHEN_UP"))
        QTimer::singleShot(0, app.mainFrame(), [&app] { app.mainFrame()->close(); });
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // Numbers in files are written the C way whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");

    TrainingApp app(platform::joinCommandLine(argc - 1, argv + 1));
    if (!app.initInstance())
        return 1;
    reportWindowUp(app);
    const int result = application.exec();
    app.exitInstance();
    return result;
}
