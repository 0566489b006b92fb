// A whole demonstration training, driven through the program's own windows as
// an instructor would: the program starts as its main does (command line
// "demo"), and a driver inside it waits for each window and works it. A
// 30-second session on demonstration manikin 249 runs to its end, its
// debriefing shows, the session is saved; a course of two rows is planned
// and its schedule printed (to a PDF file on a station without a printer);
// the program is closed from its main window. A picture of the screen is
// saved at each step. Run by scripts/check-training on a virtual display.
//
//   demo_training_run SHOT-FOLDER
//
// Exit 0 when the program closed after every step; otherwise a line says
// which step did not come and the exit is 1.
#include "Utillib/WindowUtil.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/Window.h"
#include "res/CoursePlannerIds.h"
#include "res/resource.h"
#include "session/AppCommands.h"
#include "session/CoursePlannerDialog.h"
#include "session/MainFrame.h"
#include "session/NewSessionView.h"
#include "session/Session.h"
#include "session/SessionDebriefView.h"
#include "session/SessionManager.h"
#include "session/TrainingApp.h"
#include "ui/COXMaskedEdit.h"
#include "ui/FormChildFrame.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <clocale>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int tickMs = 50;
// Long enough for a loaded machine; a step that takes longer has failed.
constexpr qint64 stepTimeoutMs = 120000;

struct Step {
    const char* name;
    std::function<bool()> ready; // what the instructor waits to see
    std::function<void()> act;   // what the instructor then does
};

class Driver : public QObject {
public:
    Driver(TrainingApp& app, QString shots) : app(app), shots(std::move(shots))
    {
        connect(&timer, &QTimer::timeout, this, [this] { tick(); });
        timer.start(tickMs);
        clock.start();
    }

    void add(Step step) { steps.push_back(std::move(step)); }
    bool passed() const { return done && !failed; }

    // A picture of the whole screen, as the user sees it.
    void shot(const char* name)
    {
        QApplication::processEvents();
        QScreen* screen = QGuiApplication::primaryScreen();
        const QString path = shots + QLatin1Char('/') + QString::fromLatin1(name) + QStringLiteral(".png");
        if (!screen || !screen->grabWindow(0).save(path))
            std::printf("demo-training: no picture %s\n", name);
    }

    void fail(const QString& why)
    {
        if (failed)
            return;
        failed = true;
        std::printf("demo-training: FAILED at step %zu (%s): %s\n", current + 1,
                    current < steps.size() ? steps[current].name : "end", qPrintable(why));
        shot("failed");
        std::fflush(stdout);
        QApplication::exit(1);
    }

private:
    void tick()
    {
        if (failed || done || busy)
            return;
        // A message box the steps do not expect is a fault the user would meet.
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            fail(QStringLiteral("unexpected message \"%1\"").arg(box->text()));
            return;
        }
        Step& step = steps[current];
        if (!step.ready()) {
            if (clock.elapsed() > stepTimeoutMs)
                fail(QStringLiteral("waited %1 s").arg(stepTimeoutMs / 1000));
            return;
        }
        std::printf("demo-training: %zu %s (%.1f s)\n", current + 1, step.name, clock.elapsed() / 1000.0);
        std::fflush(stdout);
        ++current;
        done = current == steps.size();
        clock.restart();
        // Acted on from a fresh call: an action that opens a modal window
        // waits in its own event loop, where this driver goes on ticking.
        busy = true;
        QTimer::singleShot(0, this, [this, act = step.act] {
            busy = false;
            act();
        });
    }

    TrainingApp& app;
    QString shots;
    std::vector<Step> steps;
    std::size_t current = 0;
    QTimer timer;
    QElapsedTimer clock;
    bool busy = false;
    bool done = false;
    bool failed = false;
};

template <typename T>
T* activeModal()
{
    return dynamic_cast<T*>(QApplication::activeModalWidget());
}

// A window the user can see: shown and drawn on the screen.
bool onScreen(QWidget* window)
{
    return window && window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed();
}

QAbstractButton* button(QWidget* dialog, int id)
{
    return qobject_cast<QAbstractButton*>(platform::dlgItem(dialog, id));
}

SessionDebriefView* shownDebriefing(TrainingApp& app)
{
    // The program's windows carry no meta-object of their own: find them by their C++ type.
    for (QWidget* widget : app.mainFrame()->findChildren<QWidget*>())
        if (auto* view = dynamic_cast<SessionDebriefView*>(widget); view && view->isVisible())
            return view;
    return nullptr;
}

// The session window's Start button, when it can be pressed.
QPushButton* startButton(TrainingApp& app)
{
    for (QPushButton* b : app.mainFrame()->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("Start") && b->isVisible() && b->isEnabled())
            return b;
    return nullptr;
}

Session* onlySession()
{
    return sessionManager && sessionManager->getCount() == 1 ? sessionManager->sessions().front() : nullptr;
}

// Types into a line edit as the user does: what was there is replaced.
void type(QLineEdit* edit, const QString& text)
{
    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    edit->insert(text);
    QApplication::processEvents();
}

void choose(platform::ComboBox* box, const QString& text)
{
    const int index = box->findText(text);
    if (index < 0)
        return;
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

void focus(QWidget* control)
{
    control->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

void addSteps(Driver& d, TrainingApp& app)
{
    auto form = [&app] { return app.newSessionForm(); };
    auto formShown = [form] {
        NewSessionView* f = form();
        return f && f->parentFrame() && f->parentFrame()->isVisible();
    };

    d.add({ "the New session form opens at start-up", formShown, [&d, form] {
               NewSessionView* f = form();
               d.shot("01-new-session-form-opened");
               type(platform::dlgItem<platform::ComboBox>(f, IDC_NEW_VENTILATION)->lineEdit(), QStringLiteral("Anna Demo"));
               choose(platform::dlgItem<platform::ComboBox>(f, IDC_NEW_MANIKIN), QStringLiteral("249"));
               type(platform::dlgItem<platform::ComboBox>(f, IDC_NEW_DURATION)->lineEdit(), QStringLiteral("00:30"));
               focus(platform::dlgItem(f, IDC_NEW_MANIKIN));
               d.shot("02-new-session-form-filled");
               button(f, IDOK)->click();
           } });
    d.add({ "the session opens on manikin 249, ready to start",
            [&app] {
                Session* s = onlySession();
                return s && s->getRecord().Manikin == 249 && startButton(app);
            },
            [&d, &app] {
                d.shot("03-session-opened");
                startButton(app)->click();
            } });
    d.add({ "the session runs", [] { return onlySession() && onlySession()->isRunning(); }, [] {} });
    QElapsedTimer* running = new QElapsedTimer;
    d.add({ "ten seconds into the session",
            [running] {
                if (!running->isValid())
                    running->start();
                return running->elapsed() > 10000;
            },
            [&d] { d.shot("04-session-running"); } });
    d.add({ "the session ends on its debriefing",
            [&app] {
                Session* s = onlySession();
                return s && s->isFinished() && shownDebriefing(app);
            },
            [&d, &app] {
                d.shot("05-debriefing");
                // Close on the debriefing asks whether to save the session.
                SessionDebriefView* view = shownDebriefing(app);
                if (!view)
                    return d.fail(QStringLiteral("the debriefing went away"));
                view->abortButton()->click();
            } });
    d.add({ "the save question", [] {
                return onScreen(activeModal<QDialog>()) && activeModal<QDialog>()->windowTitle() == QStringLiteral("Save session?");
            },
            [&d] {
                d.shot("06-save-question");
                for (QPushButton* b : activeModal<QDialog>()->findChildren<QPushButton*>())
                    if (b->text() == QStringLiteral("&Yes"))
                        b->click();
            } });
    d.add({ "the session is saved and closed", [] { return sessionManager && sessionManager->getCount() == 0; },
            [&d, &app] {
                d.shot("07-session-saved");
                app.mainFrame()->onCommand(AppCommand::NewCourse);
            } });

    auto planner = [] { return activeModal<CoursePlannerDialog>(); };
    d.add({ "the course planner opens", [planner] { return onScreen(planner()); },
            [&d, planner] {
                CoursePlannerDialog* p = planner();
                d.shot("08-course-planner-opened");
                button(p, IDC_DB_NEW)->click();
                auto* instructor = platform::dlgItem<platform::ComboBox>(p, IDC_PLAN_INSTRUCTOR);
                type(instructor->lineEdit(), QStringLiteral("Dr. Berg"));
                auto* date = dynamic_cast<COXMaskedEdit*>(platform::dlgItem(p, IDC_PLAN_DATE));
                auto* time = dynamic_cast<COXMaskedEdit*>(platform::dlgItem(p, IDC_PLAN_TIME));
                focus(date);
                date->SetInputText("2026-12-11", 0, true);
                focus(time);
                time->SetInputText("09:00", 0, true);
                focus(p->row(0).ventilation);
                p->row(0).ventilation->setEditText(QStringLiteral("Cy Moe"));
                focus(p->row(0).manikin);
                focus(p->row(1).ventilation);
                p->row(1).ventilation->setEditText(QStringLiteral("Dee Fox"));
                focus(p->row(1).start);
                p->row(1).start->SetInputText("09:30", 0, true);
                focus(p->row(1).manikin);
                d.shot("09-course-planned");
                // Print schedule stores the course, then asks where to print.
                button(p, IDC_PLAN_PRINT)->click();
            } });
    d.add({ "the print dialog", [] { return onScreen(activeModal<QPrintDialog>()); },
            [&d] {
                QPrintDialog* dialog = activeModal<QPrintDialog>();
                d.shot("10-print-dialog");
                std::printf("demo-training: printing to \"%s\"\n", qPrintable(dialog->printer()->outputFileName()));
                QDialogButtonBox* box = dialog->findChild<QDialogButtonBox*>();
                QPushButton* print = nullptr;
                if (box)
                    for (QAbstractButton* b : box->buttons())
                        if (box->buttonRole(b) == QDialogButtonBox::AcceptRole)
                            print = qobject_cast<QPushButton*>(b);
                if (print)
                    print->click();
                else
                    d.fail(QStringLiteral("the print dialog has no Print button"));
            } });
    d.add({ "back on the planner after printing", [planner] { return onScreen(planner()); },
            [&d, planner] {
                d.shot("11-course-printed");
                button(planner(), IDCANCEL)->click();
            } });
    d.add({ "the planner closed", [] { return QApplication::activeModalWidget() == nullptr; },
            [&d, &app] {
                d.shot("12-planner-closed");
                app.mainFrame()->close();
            } });
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 2) {
        std::fprintf(stderr, "usage: demo_training_run SHOT-FOLDER\n");
        return 2;
    }
    const QString shots = QString::fromLocal8Bit(argv[1]);

    TrainingApp app("demo");
    if (!app.initInstance())
        return 1;
    Driver driver(app, shots);
    addSteps(driver, app);
    const int result = application.exec();
    app.exitInstance();
    if (!driver.passed()) {
        std::printf("demo-training: the program closed before the training was done\n");
        return 1;
    }
    std::printf("demo-training: done\n");
    return result;
}
