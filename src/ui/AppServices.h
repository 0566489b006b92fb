#pragma once
// What the toolkit's windows need of the application and its main frame:
// the main window with its MDI client, the main frame's accelerator table,
// commands that no window on the way handled, the Window menu, and help.
// The application implements it and installs it at start-up.
#include <QKeyCombination>

#include <vector>

class QMdiArea;
class QWidget;

// One entry of an accelerator table: a key and the command it sends.
struct Accelerator {
    QKeyCombination key;
    int command = 0;
};

// The command of the Help button and of F1.
constexpr int ID_HELP = 32800;

class AppServices {
public:
    virtual ~AppServices() = default;

    virtual QWidget* mainWindow() = 0;
    // The main window's MDI client; null before the main window exists.
    virtual QMdiArea* mdiClient() = 0;
    // The main frame's accelerator table.
    virtual const std::vector<Accelerator>& accelerators() = 0;
    // A command that the form and its frame left unhandled; true when handled.
    virtual bool onCommand(int id) = 0;
    // Lists the visible child frames in the Window menu again.
    virtual void refreshMdiMenu() = 0;
    virtual void disableMainWindow(QWidget* window) = 0;
    virtual void enableMainWindow(QWidget* window) = 0;
    // Opens the help at that context.
    virtual void showHelp(int context) = 0;
    // Brings the running course's form to the front; false when no course runs.
    virtual bool activateRunningCourse() { return false; }
};

// The installed services; null when none is.
AppServices* appServices();
// Installs the services (null removes them); returns the previous ones.
AppServices* setAppServices(AppServices* services);
