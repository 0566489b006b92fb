#pragma once
// The application object of the training program: brings the program up in
// a fixed order, runs the application's commands, owns the Calibrate window
// and the session manager, carries the metronome signal, and serves the
// windows below it (help, the main window, the Window menu).
#include "Utillib/Signal.h"
#include "calibrate/CalibrateWindow.h"
#include "comm/CollectedData.h"
#include "config/PropertyModel.h"
#include "session/LiveSessions.h"
#include "session/SplashNotice.h"
#include "ui/AppServices.h"

#include <QElapsedTimer>
#include <QString>

#include <array>
#include <memory>
#include <string>
#include <vector>

class CMainFrame;
class ChildFrame;
class CourseRecord;
class FormChildFrame;
class NewSessionView;
class RunCourseDialog;
class QPrinter;
class SessionManager;
class SessionServices;

class TrainingApp : public AppServices, public SignalReceiver {
public:
    static constexpr const char* appName = "Tavo CPR Software";

    // `commandLine`: the program's arguments joined by blanks.
    explicit TrainingApp(std::string commandLine);
    ~TrainingApp() override;
    TrainingApp(const TrainingApp&) = delete;
    TrainingApp& operator=(const TrainingApp&) = delete;

    // Brings the program up; false when the main window could not be made.
    bool initInstance();
    // Saves the settings and closes every session; the main window is gone.
    int exitInstance();

    // Opens or activates the New session form.
    void onNewSession();
    // The New session form once it was made, or null.
    NewSessionView* newSessionForm() const;
    // Opens or activates the Calibrate window; true when a calibration failed.
    bool onCalibrate();
    // Whether the main window may close: a running course and every session agreed.
    bool canCloseMainWindow();
    // Opens the run-course form for the course, or activates the open one
    // (the course is then ignored).
    void runCourse(const CourseRecord& course);
    // Forgets the run-course form's frame.
    void clearRunCourseFrame();
    // The open run-course form, or null.
    RunCourseDialog* runCourseForm() const;
    bool activateRunningCourse() override;
    // Shows the About box.
    void showAbout();

    // AppServices
    QWidget* mainWindow() override;
    // The application's printer settings (orientation, page, printer), kept between jobs.
    QPrinter& printerDefaults();
    QMdiArea* mdiClient() override;
    const std::vector<Accelerator>& accelerators() override { return acceleratorTable; }
    bool onCommand(int id) override;
    void refreshMdiMenu() override;
    void disableMainWindow(QWidget* window) override;
    void enableMainWindow(QWidget* window) override;
    void showHelp(int context) override;

    // Emitted at every metronome click.
    Signal<> metronome;

    CMainFrame* mainFrame() const { return frame.get(); }
    LiveSessions* sessions() const { return liveSessions.get(); }
    // Replaces the sessions that the frame and the commands see (tests).
    void setSessions(std::unique_ptr<LiveSessions> replacement);
    CalibrateWindow& calibrateWindow() { return calibrate; }
    const PropertyModel& settings() const;
    // Connects the record editors to the settings, the configuration dialog
    // and the session browser.
    void connectEditors();
    double metronomeRate() const { return settings().metronomeFrequency; }
    const std::string& helpFile() const { return helpPath; }
    bool demo = false;

    // The start-up steps in the order they ran, each with the milliseconds
    // from the start of the start-up to its beginning.
    struct Step {
        std::string name;
        double startMs = 0;
    };
    const std::vector<Step>& startupSteps() const { return steps; }
    // Milliseconds the whole start-up took.
    double startupMs() const { return startupTotalMs; }

    // The compiler's date and time of this build: "Mmm dd yyyy, hh:mm:ss".
    static std::string buildDate();

private:
    void step(const char* name);
    void makeDemoSets();
    void dropDemoSets();
    void installDataFolder();

    std::string commandLine;
    SplashNotice splash {SplashNotice::descriptorFromEnvironment()};
    std::vector<Step> steps;
    double startupTotalMs = 0;
    QElapsedTimer startupClock;
    std::vector<Accelerator> acceleratorTable;
    std::unique_ptr<SessionServices> services;
    std::unique_ptr<SessionManager> manager;
    std::unique_ptr<LiveSessions> liveSessions;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<QPrinter> printer;
    CalibrateWindow calibrate;
    std::array<std::unique_ptr<CollectedData>, 9> demoChannels;
    std::array<DemoSet, 3> demoSets {};
    std::string helpPath;
    AppServices* previousServices = nullptr;
    FormChildFrame* runCourseFrame = nullptr;
    FormChildFrame* newSessionFrame = nullptr;
    void newSessionFrameDestroyed(ChildFrame* destroyed);
    void runCourseFrameDestroyed(ChildFrame* destroyed);
};

// The running application; null before one is constructed.
TrainingApp* trainingApp();
