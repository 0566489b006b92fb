// The splash program: shows the start-up picture, starts the training
// program beside it with our command line, and ends once that program is up.
#include "splash/ChildProcess.h"
#include "splash/SplashLogic.h"
#include "splash/SplashWindow.h"

#include <QApplication>

#include <climits>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string executablePath()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return {};
    return std::string(path, static_cast<std::size_t>(length));
}

} // namespace

int main(int argc, char** argv)
{
    splash::trace("Start");
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string ownLine = splash::joinArguments(arguments);
    splash::trace(splash::childCommandLine(ownLine));

    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);

    splash::SplashOptions options;
    options.executablePath = executablePath();
    if (options.executablePath.empty())
        splash::trace("GetModuleFileName failed");
    // The training program is the one beside us, never one found on a search path.
    const auto slash = options.executablePath.rfind('/');
    options.program = (slash == std::string::npos ? std::string("./") : options.executablePath.substr(0, slash + 1)) + "main";
    options.arguments = arguments;
    options.ownLine = ownLine;

    splash::ChildProcess child;
    splash::SplashWindow window(options, child);
    QObject::connect(&window, &QDialog::finished, &application, &QApplication::quit);
    window.show();
    application.exec();
    splash::trace("Exit");
    return 0;
}
