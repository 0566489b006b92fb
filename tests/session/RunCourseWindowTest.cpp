// The run-course form in the program on the offscreen platform, SQLite and
// demonstration manikins: a course of two planned sessions runs on two
// manikins at once, the save questions are answered, and closing the form
// stores the schedule as the sessions left it.
#include "DbTestSupport.h"
#include "Database/Database.h"
#include "Database/SessionTable.h"
#include "comm/CalibrateManager.h"
#include "comm/CommSettings.h"
#include "gettext/TranslateWindow.h"
#include "gettext/Translator.h"
#include "platform/CodePage.h"
#include "platformqt/Controls.h"
#include "platformqt/MessageBox.h"
#include "platformqt/Window.h"
#include "res/resource.h"
#include "session/AppCommands.h"
#include "session/MainFrame.h"
#include "ui/COXMaskedEdit.h"
#include "session/RunCourseDialog.h"
#include "session/Session.h"
#include "session/SessionManager.h"
#include "session/SessionWindows.h"
#include "session/SessionGraphView.h"
#include "session/TrainingApp.h"
#include "session/NewSessionView.h"
#include "sim/HandshakeDevices.h"
#include "sim/SimModemLines.h"
#include "support/ProgramHome.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <thread>

using namespace testsupport;

namespace {

// The screen of a common laptop, set before the application starts (the test
// program's main() keeps a platform that is already chosen).
const bool laptopScreen = [] {
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen:configfile=" SCREEN_CONFIG, 1);
    return true;
}();

// The MDI frame around a form.
QMdiSubWindow* frameOf(QWidget* form)
{
    for (QWidget* w = form; w; w = w->parentWidget())
        if (auto* frame = qobject_cast<QMdiSubWindow*>(w))
            return frame;
    return nullptr;
}

class RunCourseWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        home = new ProgramHome;
        QDir().mkpath(QStringLiteral(ARTEFACT_DIR));
        // A simulated manikin on COM 3 beside the demonstration ports.
        sim::SimModemLines::install();
        manikin = new sim::QueryDevice(home->file("ports"), 3);
        ASSERT_TRUE(manikin->start());
        dbtest::prepareOdbc();
        std::string failure;
        ASSERT_TRUE(dbtest::freshDatabase(failure)) << failure;
        previousHook = platform::setMessageBoxHook([](const platform::MessageBoxRequest&) { return 2; });
        app = new TrainingApp("demo");
        started = app->initInstance();
    }

    static void TearDownTestSuite()
    {
        delete app;
        app = nullptr;
        delete manikin;
        manikin = nullptr;
        platform::setMessageBoxHook(previousHook);
        delete home;
    }

    // Answers each "Save session?" as it comes with the next button text.
    void answerSaveQuestions(std::deque<QString> buttons)
    {
        answers = std::move(buttons);
        auto* timer = new QTimer(app->mainFrame());
        answerers.emplace_back(timer);
        QObject::connect(timer, &QTimer::timeout, timer, [this] {
            auto* box = dynamic_cast<SaveSessionDialog*>(QApplication::activeModalWidget());
            if (!box || answers.empty())
                return;
            const QString text = answers.front();
            answers.pop_front();
            for (QPushButton* button : box->findChildren<QPushButton*>())
                if (button->text() == text) {
                    button->click();
                    return;
                }
        });
        timer->start(10);
    }

    // The answerers go with the test whose answers they give.
    void TearDown() override
    {
        for (QPointer<QTimer>& timer : answerers)
            delete timer.data();
    }

    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static inline ProgramHome* home = nullptr;
    static inline sim::QueryDevice* manikin = nullptr;
    static inline TrainingApp* app = nullptr;
    static inline bool started = false;
    static inline platform::MessageBoxHook previousHook;
    std::deque<QString> answers;
    std::vector<QPointer<QTimer>> answerers;
};

SessionRecord planned(const std::string& ventilation, const std::string& compression, int manikin)
{
    SessionRecord r;
    r.PersonVentilation = ventilation;
    r.PersonChestCompression = compression;
    r.Manikin = manikin;
    r.Duration = 2;
    r.Scenario = "Two seconds";
    r.StartTime = "09:02";
    r.EndTime = "09:04";
    return r;
}

// Dr. Berg's course at this date and time, its schedule stored with these rows.
CourseRecord storedCourse(Database& db, const std::string& date, const std::string& time,
                          const std::vector<SessionRecord>& scheduled)
{
    CourseRecord course;
    course.Instructor = "Dr. Berg";
    course.Date = date;
    course.Time = time;
    CourseTable courses(db);
    EXPECT_TRUE(courses.open(std::string()));
    EXPECT_TRUE(courses.AddNew());
    courses.setRecord(course);
    EXPECT_TRUE(courses.Update());
    CourseSchedule rows;
    rows.rows() = scheduled;
    SessionTable table(db);
    EXPECT_TRUE(table.open(std::string()));
    EXPECT_TRUE(table.saveCourseSessions(course, rows));
    return course;
}

TEST_F(RunCourseWindowTest, PlannedSessionsRunOnSeveralManikinsAtOnceAndTheScheduleIsStored)
{
    ASSERT_TRUE(started);
    ASSERT_TRUE(CalibrateManager::get().getIsCalibrated(247));
    ASSERT_TRUE(CalibrateManager::get().getIsCalibrated(248));
    ASSERT_TRUE(CalibrateManager::get().getIsCalibrated(3)) << "the simulated manikin";
    const CourseRecord course = storedCourse(database, "2026-12-10", "09:00",
        {planned("Ann Lee", "Bob Ray", 247), planned("Cy Moe", "Dee Fox", 248), planned("Gus Orr", "Hal Poe", 3),
            SessionRecord()});

    app->runCourse(course);
    app->runCourse(course); // the same form again
    settle();
    RunCourseDialog* form = app->runCourseForm();
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->model().size(), 4);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(platform::windowText(form->row(0).ventilation), QStringLiteral("Ann Lee"));
    EXPECT_EQ(platform::windowText(form->row(1).manikin), QStringLiteral("248"));
    EXPECT_FALSE(form->row(3).number->isHidden());
    EXPECT_TRUE(form->row(4).number->isHidden());
    EXPECT_FALSE(form->row(3).startButton->isEnabled()) << "the placeholder row starts nothing";
    app->mainFrame()->grab().save(QStringLiteral(ARTEFACT_DIR "/run-course-opened.png"));

    // Start both rows; they run at once on their manikins.
    static_cast<QAbstractButton*>(form->row(0).startButton)->click();
    static_cast<QAbstractButton*>(form->row(1).startButton)->click();
    static_cast<QAbstractButton*>(form->row(2).startButton)->click();
    settle();
    ASSERT_EQ(sessionManager->getCount(), 3);
    Session* first = form->model().running(0);
    Session* second = form->model().running(1);
    Session* third = form->model().running(2);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(third, nullptr);
    EXPECT_TRUE(third->isRunning());
    EXPECT_FALSE(CalibrateManager::get().getIsAvailable(3));
    EXPECT_EQ(first->getRecord().Manikin, 247);
    EXPECT_EQ(second->getRecord().PersonVentilation, "Cy Moe");
    EXPECT_TRUE(first->isRunning());
    EXPECT_TRUE(second->isRunning());
    EXPECT_FALSE(form->row(0).startButton->isEnabled());
    EXPECT_TRUE(form->row(0).pauseButton->isEnabled());
    EXPECT_EQ(platform::windowText(form->row(0).details), QStringLiteral("Session..."));
    EXPECT_FALSE(form->row(0).ventilation->isEnabled());

    // Pause one; the other runs on.
    static_cast<QAbstractButton*>(form->row(1).pauseButton)->click();
    EXPECT_FALSE(second->isRunning());
    EXPECT_TRUE(form->row(1).startButton->isEnabled());
    static_cast<QAbstractButton*>(form->row(1).startButton)->click();
    EXPECT_TRUE(second->isRunning());

    // The heartbeat's pace: the simulated manikin sends in real time.
    for (int tick = 0; tick < 400 && !(first->isFinished() && second->isFinished() && third->isFinished()); ++tick) {
        sessionManager->poll();
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(first->isFinished());
    ASSERT_TRUE(second->isFinished());
    ASSERT_TRUE(third->isFinished());
    EXPECT_GT(third->getCommSession().manData.size(), 20u) << "samples from the simulated manikin";
    settle();
    EXPECT_EQ(platform::buttonCheck(form->row(0).done), 1) << "the done box shows the end of the session";
    form->grab().save(QStringLiteral(ARTEFACT_DIR "/run-course-finished.png"));
    app->mainFrame()->grab().save(QStringLiteral(ARTEFACT_DIR "/run-course-program.png"));

    // Close: the first and the third are saved, the second is not.
    answerSaveQuestions({QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("&Yes")});
    QPointer<RunCourseDialog> watched(form);
    platform::dlgItem<QPushButton>(form, 2)->click();
    settle();
    EXPECT_EQ(sessionManager->getCount(), 0);
    EXPECT_TRUE(watched.isNull());
    EXPECT_EQ(app->runCourseForm(), nullptr);
    EXPECT_TRUE(CalibrateManager::get().getIsAvailable(247));

    SessionTable table(database);
    ASSERT_TRUE(table.open(std::string()));
    const std::vector<SessionRecord> stored = table.loadCourseSessions(course.getKey());
    ASSERT_EQ(stored.size(), 3u) << "the placeholder is not stored";
    EXPECT_EQ(stored[0].PersonVentilation, "Ann Lee");
    EXPECT_EQ(stored[0].CourseOrder, 0);
    EXPECT_EQ(stored[0].Done, 1) << "saved from its review page";
    EXPECT_EQ(stored[1].PersonVentilation, "Cy Moe");
    EXPECT_EQ(stored[1].CourseOrder, 1);
    EXPECT_EQ(stored[1].Done, 0) << "finished but not saved";
    EXPECT_EQ(stored[2].Manikin, 3);
    EXPECT_EQ(stored[2].Done, 1);
    EXPECT_EQ(stored[2].CourseOrder, 2);
    EXPECT_TRUE(CalibrateManager::get().getIsAvailable(3));
}

TEST_F(RunCourseWindowTest, TheCourseFormStaysWholeBesideItsSessionsAndComesBackAfterThem)
{
    ASSERT_TRUE(started);
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_EQ(screen->size(), QSize(1280, 1024)) << "the screen of screen-1280.json";
    ASSERT_TRUE(laptopScreen);
    CMainFrame* main = app->mainFrame();
    main->showMaximized();
    settle();
    const QSize mainSize = main->frameGeometry().size();
    ASSERT_LE(mainSize.width(), 1280);

    SessionRecord row = planned("Ann Lee", "Bob Ray", 247);
    row.Duration = 600;
    const CourseRecord course = storedCourse(database, "2026-12-13", "11:00", {row, SessionRecord()});
    app->runCourse(course);
    settle();
    RunCourseDialog* form = app->runCourseForm();
    ASSERT_NE(form, nullptr);
    QMdiSubWindow* courseFrame = frameOf(form);
    ASSERT_NE(courseFrame, nullptr);
    QMdiArea* mdi = app->mdiClient();
    const QSize formSize = form->size();
    const QSize courseFrameSize = courseFrame->size();

    // Started: the session window opens maximised behind the course form,
    // which keeps its own size in front of it.
    static_cast<QAbstractButton*>(form->row(0).startButton)->click();
    settle();
    Session* session = form->model().running(0);
    ASSERT_NE(session, nullptr);
    QMdiSubWindow* sessionFrame = nullptr;
    for (QMdiSubWindow* frame : mdi->subWindowList())
        if (frame != courseFrame && frame->isVisible() && frame->windowTitle() == QStringLiteral("Session"))
            sessionFrame = frame;
    ASSERT_NE(sessionFrame, nullptr);
    main->grab().save(QStringLiteral(ARTEFACT_DIR "/run-course-started.png"));
    EXPECT_EQ(mdi->activeSubWindow(), courseFrame);
    EXPECT_EQ(mdi->subWindowList(QMdiArea::StackingOrder).last(), courseFrame) << "in front";
    EXPECT_FALSE(courseFrame->isMaximized());
    EXPECT_EQ(courseFrame->size(), courseFrameSize);
    EXPECT_EQ(form->size(), formSize);
    EXPECT_TRUE(sessionFrame->isMaximized());

    // Window > Tile: the two share the client area; the main window stays on the screen.
    main->onCommand(AppCommand::WindowTile);
    settle();
    main->grab().save(QStringLiteral(ARTEFACT_DIR "/run-course-tiled.png"));
    EXPECT_EQ(main->frameGeometry().size(), mainSize);
    EXPECT_LE(main->frameGeometry().right(), screen->geometry().right());
    const QRect area = mdi->viewport()->rect();
    for (QMdiSubWindow* frame : {courseFrame, sessionFrame}) {
        EXPECT_TRUE(area.contains(frame->geometry())) << frame->windowTitle().toStdString();
        EXPECT_FALSE(frame->isMaximized());
    }
    EXPECT_EQ(courseFrame->size(), courseFrameSize) << "a form keeps its size";
    EXPECT_GE(sessionFrame->width(), 540);
    EXPECT_FALSE(courseFrame->geometry().intersects(sessionFrame->geometry())) << "tiles do not overlap";

    // Window > Cascade: the session window stays large behind the course
    // form, which keeps its size in front and leaves the session's title and
    // much of its pages in sight.
    main->onCommand(AppCommand::WindowCascade);
    settle();
    main->grab().save(QStringLiteral(ARTEFACT_DIR "/run-course-cascaded.png"));
    EXPECT_EQ(courseFrame->size(), courseFrameSize);
    EXPECT_EQ(mdi->subWindowList(QMdiArea::StackingOrder).last(), courseFrame) << "the fixed form in front";
    for (QMdiSubWindow* frame : {courseFrame, sessionFrame}) {
        EXPECT_TRUE(area.contains(frame->geometry())) << frame->windowTitle().toStdString();
        EXPECT_FALSE(frame->isMaximized());
    }
    EXPECT_GT(sessionFrame->width(), courseFrame->width());
    EXPECT_GT(sessionFrame->height(), courseFrame->height());
    EXPECT_LT(sessionFrame->y(), courseFrame->y()) << "the session's title shows above the form";
    EXPECT_GT(sessionFrame->geometry().right(), courseFrame->geometry().right() + 200);
    EXPECT_GT(sessionFrame->geometry().bottom(), courseFrame->geometry().bottom() + 200);

    // The last session closes: the course form comes forward, the New session form stays away.
    if (NewSessionView* newSession = app->newSessionForm())
        if (QMdiSubWindow* newFrame = frameOf(newSession))
            newFrame->hide();
    session->pause();
    session->close();
    settle();
    ASSERT_EQ(sessionManager->getCount(), 0);
    EXPECT_EQ(mdi->activeSubWindow(), courseFrame);
    EXPECT_TRUE(courseFrame->isVisible());
    NewSessionView* newSession = app->newSessionForm();
    EXPECT_TRUE(!newSession || !newSession->isVisible()) << "no New session form while the course runs";
    main->grab().save(QStringLiteral(ARTEFACT_DIR "/run-course-after-last-session.png"));

    platform::dlgItem<QPushButton>(form, 2)->click();
    settle();
    EXPECT_EQ(app->runCourseForm(), nullptr);
}

// A row's session aborted from its own page while another row runs on: the
// course form stays a whole window of its own size and the remaining
// session keeps its maximised window.
TEST_F(RunCourseWindowTest, AbortingARowLeavesTheCourseFormAWholeWindow)
{
    ASSERT_TRUE(started);
    CMainFrame* main = app->mainFrame();
    main->showMaximized();
    settle();
    SessionRecord first = planned("Ann Lee", "Bob Ray", 247);
    first.Duration = 600;
    SessionRecord second = planned("Cy Moe", "Dee Fox", 248);
    second.Duration = 600;
    const CourseRecord course = storedCourse(database, "2026-12-14", "11:00", {first, second, SessionRecord()});
    app->runCourse(course);
    settle();
    RunCourseDialog* form = app->runCourseForm();
    ASSERT_NE(form, nullptr);
    QMdiSubWindow* courseFrame = frameOf(form);
    ASSERT_NE(courseFrame, nullptr);
    const QSize courseFrameSize = courseFrame->size();
    const QString mainTitle = main->windowTitle();
    static_cast<QAbstractButton*>(form->row(0).startButton)->click();
    static_cast<QAbstractButton*>(form->row(1).startButton)->click();
    settle();
    Session* aborted = form->model().running(0);
    ASSERT_NE(aborted, nullptr);
    ASSERT_NE(form->model().running(1), nullptr);
    sessionManager->showSession(aborted);
    settle();
    auto* handle = dynamic_cast<GraphPageHandle*>(aborted->graphPage());
    ASSERT_NE(handle, nullptr);
    SessionGraphView* page = handle->page();
    ASSERT_NE(page, nullptr);
    QMdiSubWindow* sessionFrame = frameOf(page);
    ASSERT_NE(sessionFrame, nullptr);
    ASSERT_TRUE(sessionFrame->isMaximized());

    answerSaveQuestions({QStringLiteral("&No")});
    page->abortButton()->click();
    settle();
    ASSERT_EQ(sessionManager->getCount(), 1);
    EXPECT_EQ(form->model().running(0), nullptr);
    main->grab().save(QStringLiteral(ARTEFACT_DIR "/run-course-row-aborted.png"));
    EXPECT_FALSE(courseFrame->isMaximized());
    EXPECT_EQ(courseFrame->size(), courseFrameSize);
    EXPECT_TRUE(courseFrame->isVisible());
    EXPECT_FALSE(main->windowTitle().contains(QStringLiteral("[Run course]"))) << main->windowTitle().toStdString();
    EXPECT_TRUE(sessionFrame->isMaximized()) << "the other session's window as it was";

    // Activating the course form by hand keeps it whole too.
    app->mdiClient()->setActiveSubWindow(sessionFrame);
    app->mdiClient()->setActiveSubWindow(courseFrame);
    settle();
    EXPECT_FALSE(courseFrame->isMaximized());
    EXPECT_EQ(courseFrame->size(), courseFrameSize);
    EXPECT_FALSE(main->windowTitle().contains(QStringLiteral("[Run course]"))) << main->windowTitle().toStdString();

    // The last row's session aborted: its window goes, the course form stays whole.
    Session* last = form->model().running(1);
    ASSERT_NE(last, nullptr);
    sessionManager->showSession(last);
    settle();
    auto* lastHandle = dynamic_cast<GraphPageHandle*>(last->graphPage());
    ASSERT_NE(lastHandle, nullptr);
    ASSERT_NE(lastHandle->page(), nullptr);
    answerSaveQuestions({QStringLiteral("&No")});
    lastHandle->page()->abortButton()->click();
    settle();
    ASSERT_EQ(sessionManager->getCount(), 0);
    main->grab().save(QStringLiteral(ARTEFACT_DIR "/run-course-last-row-aborted.png"));
    EXPECT_FALSE(courseFrame->isMaximized());
    EXPECT_EQ(courseFrame->size(), courseFrameSize);
    EXPECT_TRUE(courseFrame->isVisible());
    EXPECT_EQ(app->mdiClient()->activeSubWindow(), courseFrame);
    EXPECT_EQ(main->windowTitle(), mainTitle) << "no child's title in the main window's";

    platform::dlgItem<QPushButton>(form, 2)->click();
    settle();
    EXPECT_EQ(app->runCourseForm(), nullptr);
    // Runs that were not kept leave the stored plan as it was.
    SessionTable table(database);
    ASSERT_TRUE(table.open(std::string()));
    const std::vector<SessionRecord> stored = table.loadCourseSessions(course.getKey());
    ASSERT_EQ(stored.size(), 2u);
    for (const SessionRecord& row : stored) {
        EXPECT_EQ(row.StartTime, "09:02");
        EXPECT_EQ(row.EndTime, "09:04");
        EXPECT_EQ(row.Done, 0);
    }
}

// The surveillance view opened over a running course and closed again: the
// session window fills the client area behind the course form as before,
// the form is in front and active, and the Window menu checks it.
TEST_F(RunCourseWindowTest, ClosingTheSurveillanceViewPutsTheCourseAndItsSessionBack)
{
    ASSERT_TRUE(started);
    CMainFrame* main = app->mainFrame();
    main->showMaximized();
    settle();
    SessionRecord row = planned("Ann Lee", "Bob Ray", 247);
    row.Duration = 600;
    const CourseRecord course = storedCourse(database, "2026-12-15", "11:00", {row, SessionRecord()});
    app->runCourse(course);
    settle();
    RunCourseDialog* form = app->runCourseForm();
    ASSERT_NE(form, nullptr);
    QMdiSubWindow* courseFrame = frameOf(form);
    ASSERT_NE(courseFrame, nullptr);
    const QSize courseFrameSize = courseFrame->size();
    static_cast<QAbstractButton*>(form->row(0).startButton)->click();
    settle();
    Session* session = form->model().running(0);
    ASSERT_NE(session, nullptr);
    QMdiArea* mdi = app->mdiClient();
    QMdiSubWindow* sessionFrame = nullptr;
    for (QMdiSubWindow* frame : mdi->subWindowList())
        if (frame != courseFrame && frame->isVisible() && frame->windowTitle() == QStringLiteral("Session"))
            sessionFrame = frame;
    ASSERT_NE(sessionFrame, nullptr);
    ASSERT_TRUE(sessionFrame->isMaximized());
    ASSERT_EQ(mdi->activeSubWindow(), courseFrame);

    const auto visibleStack = [mdi] {
        QList<QMdiSubWindow*> stack;
        for (QMdiSubWindow* frame : mdi->subWindowList(QMdiArea::StackingOrder))
            if (frame->isVisible())
                stack << frame;
        return stack;
    };
    const QList<QMdiSubWindow*> before = visibleStack();
    ASSERT_EQ(before.last(), courseFrame);

    main->onCommand(AppCommand::Surveillance);
    settle();
    QMdiSubWindow* surveillance = mdi->activeSubWindow();
    ASSERT_NE(surveillance, nullptr);
    ASSERT_EQ(surveillance->windowTitle(), QStringLiteral("Surveillance"));
    surveillance->close();
    settle();
    settle();
    main->grab().save(QStringLiteral(ARTEFACT_DIR "/run-course-after-surveillance.png"));
    EXPECT_TRUE(sessionFrame->isMaximized());
    EXPECT_TRUE(courseFrame->isVisible());
    EXPECT_FALSE(courseFrame->isMaximized());
    EXPECT_EQ(courseFrame->size(), courseFrameSize);
    EXPECT_EQ(visibleStack(), before);
    EXPECT_EQ(mdi->activeSubWindow(), courseFrame);
    app->refreshMdiMenu();
    QStringList checked;
    for (QAction* item : main->menuBar()->actions()[3]->menu()->actions())
        if (item->isChecked())
            checked << item->text();
    ASSERT_EQ(checked.size(), 1) << checked.join(',').toStdString();
    EXPECT_TRUE(checked.front().endsWith(QStringLiteral(" Run course"))) << checked.front().toStdString();

    answerSaveQuestions({QStringLiteral("&No")});
    session->pause();
    session->close();
    settle();
    platform::dlgItem<QPushButton>(form, 2)->click();
    settle();
    EXPECT_EQ(app->runCourseForm(), nullptr);
}

TEST_F(RunCourseWindowTest, ClosingTheProgramAsksTheRunningCourseFirst)
{
    ASSERT_TRUE(started);
    const CourseRecord course = storedCourse(database, "2026-12-11", "10:00", {});
    app->runCourse(course);
    settle();
    RunCourseDialog* form = app->runCourseForm();
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->model().size(), 1);
    EXPECT_EQ(form->model().rows()[0].StartTime, "10:02");
    EXPECT_EQ(form->model().selected(), 1);

    // A person typed into the placeholder row: leaving the field makes it a
    // row of its own, and a new placeholder follows.
    app->mainFrame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app->mainFrame()));
    form->row(0).manikin->setFocus();
    form->row(0).manikin->setEditText(QStringLiteral("249"));
    form->row(0).ventilation->setFocus();
    form->row(0).ventilation->setEditText(QStringLiteral("Eve Kim"));
    form->row(0).compression->setFocus();
    settle();
    ASSERT_EQ(form->model().size(), 2);
    EXPECT_EQ(form->model().rows()[0].PersonVentilation, "Eve Kim");
    EXPECT_EQ(form->model().rows()[0].Manikin, 249);
    EXPECT_FALSE(form->row(1).number->isHidden());
    EXPECT_TRUE(form->model().modified());

    // A start time left behind sets the row's end from its duration.
    form->row(0).start->setFocus();
    form->row(0).start->SetInputText("10:30", 0, true);
    form->row(0).ventilation->setFocus();
    settle();
    EXPECT_EQ(form->model().rows()[0].StartTime, "10:30");
    EXPECT_EQ(form->model().rows()[0].EndTime, "10:40");
    EXPECT_EQ(platform::windowText(form->row(0).end), QStringLiteral("10:40"));
    EXPECT_EQ(form->model().rows()[0].PersonVentilation, "Eve Kim") << "the rest of the row as typed";
    form->grab().save(QStringLiteral(ARTEFACT_DIR "/run-course-typed.png"));
    static_cast<QAbstractButton*>(form->row(0).startButton)->click();
    settle();
    ASSERT_EQ(sessionManager->getCount(), 1);

    // Cancel keeps the program, the course and its session.
    answerSaveQuestions({QStringLiteral("&Cancel")});
    EXPECT_FALSE(app->canCloseMainWindow());
    EXPECT_EQ(sessionManager->getCount(), 1);
    EXPECT_NE(app->runCourseForm(), nullptr);

    answerSaveQuestions({QStringLiteral("&No")});
    EXPECT_TRUE(app->canCloseMainWindow());
    EXPECT_EQ(sessionManager->getCount(), 0);
}

TEST_F(RunCourseWindowTest, TwelveRowsScrollEightAtATimeAndScrollingKeepsWhatWasTyped)
{
    ASSERT_TRUE(started);
    std::vector<SessionRecord> scheduled;
    for (int k = 0; k < 11; ++k)
        scheduled.push_back(planned("Trainee " + std::to_string(k + 1), "", 247));
    scheduled.emplace_back();
    const CourseRecord course = storedCourse(database, "2026-12-12", "08:00", scheduled);
    app->runCourse(course);
    settle();
    RunCourseDialog* form = app->runCourseForm();
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->model().size(), 12);
    auto* bar = platform::dlgItem<QScrollBar>(form, 1256);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->pageStep(), 8);
    EXPECT_EQ(bar->maximum(), 4) << "positions 0..11 less the page";
    for (int k = 0; k < 8; ++k)
        EXPECT_FALSE(form->row(k).number->isHidden()) << k;

    // A name typed into a shown row, then the rows scroll.
    form->row(0).ventilation->setEditText(QStringLiteral("Renamed"));
    bar->setValue(4);
    settle();
    EXPECT_EQ(form->model().top(), 4);
    EXPECT_EQ(form->model().rows()[0].PersonVentilation, "Renamed");
    EXPECT_EQ(platform::windowText(form->row(0).number), QStringLiteral("5"));
    EXPECT_EQ(platform::windowText(form->row(7).number), QStringLiteral("12"));
    EXPECT_EQ(platform::windowText(form->row(0).ventilation), QStringLiteral("Trainee 5"));
    form->grab().save(QStringLiteral(ARTEFACT_DIR "/run-course-scrolled.png"));

    platform::dlgItem<QPushButton>(form, 2)->click();
    settle();
    EXPECT_EQ(app->runCourseForm(), nullptr);
    SessionTable table(database);
    ASSERT_TRUE(table.open(std::string()));
    const std::vector<SessionRecord> stored = table.loadCourseSessions(course.getKey());
    ASSERT_EQ(stored.size(), 11u);
    EXPECT_EQ(stored[0].PersonVentilation, "Renamed");
    EXPECT_EQ(stored[10].CourseOrder, 10);
}

// Each scenario's whole name shows in the row's box, whatever the longest
// name; the columns right of it move over and the frame holds the form.
TEST_F(RunCourseWindowTest, ScenarioNamesShowWholeInTheirColumn)
{
    ASSERT_TRUE(started);
    SessionRecord row = planned("Ann Lee", "Bob Ray", 247);
    row.Scenario = "10 minute BLS (AHA)";
    const CourseRecord course = storedCourse(database, "2026-12-13", "08:00", {row, SessionRecord()});
    app->runCourse(course);
    settle();
    RunCourseDialog* form = app->runCourseForm();
    ASSERT_NE(form, nullptr);
    platform::ComboBox* scenario = form->row(0).scenario;
    ASSERT_EQ(platform::windowText(scenario), QStringLiteral("10 minute BLS (AHA)"));
    ASSERT_GE(scenario->count(), 6) << "the installed scenarios";
    // The room the box gives its text, as the style lays the box out.
    QStyleOptionComboBox option;
    option.initFrom(scenario);
    option.editable = scenario->isEditable();
    option.frame = scenario->hasFrame();
    const QRect field = static_cast<QWidget*>(scenario)->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField,
                                                          scenario);
    for (int i = 0; i < scenario->count(); ++i)
        EXPECT_LE(scenario->fontMetrics().horizontalAdvance(scenario->itemText(i)), field.width())
            << scenario->itemText(i).toStdString();
    for (int k = 0; k < 8; ++k) {
        const RunCourseDialog::Row& r = form->row(k);
        EXPECT_EQ(r.scenario->geometry().width(), scenario->width()) << k;
        EXPECT_LT(r.compression->geometry().right(), r.scenario->x()) << k;
        EXPECT_LT(r.scenario->geometry().right(), r.manikin->x()) << k;
        EXPECT_LE(r.details->geometry().right(), form->width()) << k;
    }
    QMdiSubWindow* frame = frameOf(form);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->contentsRect().contains(form->geometry().translated(form->parentWidget()->mapTo(frame, QPoint()))))
        << "the frame holds the whole form";
    form->grab().save(QStringLiteral(ARTEFACT_DIR "/run-course-scenarios.png"));

    platform::dlgItem<QPushButton>(form, 2)->click();
    settle();
    EXPECT_EQ(app->runCourseForm(), nullptr);
}

// In Japanese the course's labels show whole ("インストラクター" is wider
// than its English place), each still before its field.
TEST_F(RunCourseWindowTest, CourseLabelsShowWholeInJapanese)
{
    ASSERT_TRUE(started);
    const CourseRecord course = storedCourse(database, "2026-12-14", "08:00", {planned("Ann Lee", "Bob Ray", 247), SessionRecord()});
    ASSERT_TRUE(theTranslator.open(CATALOGUE_DIR "/ja.mo"));
    // As the program does: the language's code page is the ANSI code page.
    platform::setAnsiCodePage(932);
    refreshTranslationMarker();
    app->runCourse(course);
    settle();
    RunCourseDialog* form = app->runCourseForm();
    theTranslator.open("");
    platform::setAnsiCodePage(1252);
    refreshTranslationMarker();
    ASSERT_NE(form, nullptr);
    for (int id : {IDC_RUN_INSTRUCTOR, IDC_RUN_DATE, IDC_RUN_TIME}) {
        QWidget* field = platform::dlgItem(form, id);
        ASSERT_NE(field, nullptr) << id;
        QLabel* label = nullptr;
        for (QLabel* candidate : form->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (candidate->geometry().right() < field->x() && candidate->y() < field->geometry().bottom()
                && (!label || candidate->geometry().right() > label->geometry().right()))
                label = candidate;
        ASSERT_NE(label, nullptr) << id;
        const std::string text = label->text().toStdString();
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width()) << text;
        EXPECT_LE(label->heightForWidth(label->width()), label->height()) << text << ": one line";
        EXPECT_LT(label->geometry().right(), field->x()) << text;
    }
    EXPECT_EQ(platform::windowText(platform::dlgItem(form, IDC_RUN_INSTRUCTOR)), QStringLiteral("Dr. Berg"));
    form->grab().save(QStringLiteral(ARTEFACT_DIR "/run-course-ja.png"));
    platform::dlgItem<QPushButton>(form, 2)->click();
    settle();
    EXPECT_EQ(app->runCourseForm(), nullptr);
}

// Another station on the same database adds a session to the course and
// records the results of one while this form is open: closing the form
// stores what it changed and nothing over the other station's work.
TEST_F(RunCourseWindowTest, ClosingKeepsWhatAnotherStationAddedOrRecorded)
{
    ASSERT_TRUE(started);
    const CourseRecord course =
        storedCourse(database, "2026-12-13", "07:00", {planned("Ida Ray", "", 247), planned("Jon Sy", "", 248), SessionRecord()});
    app->runCourse(course);
    settle();
    RunCourseDialog* form = app->runCourseForm();
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->model().size(), 3);
    const std::string second = form->model().rows()[1].Serialidentifier;

    {
        Database other;
        ASSERT_TRUE(other.open("DSN=tavocpr")) << other.lastError().text;
        ASSERT_TRUE(other.execute("INSERT INTO Session (Serialidentifier, CourseInstructor, CourseDate, CourseTime, "
                                  "CourseOrder, PersonVentilation) VALUES ('otherstation01', 'Dr. Berg', "
                                  "'2026-12-13', '07:00', 2, 'Kai Lo')"));
        ASSERT_TRUE(other.execute("UPDATE Session SET Done = TRUE, CompDepth = 52, Note = 'run elsewhere' "
                                  "WHERE Serialidentifier = '" + second + "'"));
        other.close();
    }

    app->mainFrame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app->mainFrame()));
    form->row(0).ventilation->setFocus();
    form->row(0).ventilation->setEditText(QStringLiteral("Ida Ray-Lee"));
    form->row(0).compression->setFocus();
    settle();
    ASSERT_EQ(form->model().rows()[0].PersonVentilation, "Ida Ray-Lee");
    platform::dlgItem<QPushButton>(form, 2)->click();
    settle();
    EXPECT_EQ(app->runCourseForm(), nullptr);

    SessionTable table(database);
    ASSERT_TRUE(table.open(std::string()));
    const std::vector<SessionRecord> stored = table.loadCourseSessions(course.getKey());
    ASSERT_EQ(stored.size(), 3u) << "the other station's session is kept";
    EXPECT_EQ(stored[0].PersonVentilation, "Ida Ray-Lee");
    EXPECT_EQ(stored[1].Done, 1);
    EXPECT_EQ(stored[1].CompDepth, 52);
    EXPECT_EQ(stored[1].Note, "run elsewhere");
    EXPECT_EQ(stored[2].PersonVentilation, "Kai Lo");
}

// While this form is open another station renames the course (its rows go
// with it) and deletes a row this form never changed: a session added here
// is stored under the course's new key, and the deleted row stays gone.
TEST_F(RunCourseWindowTest, ClosingFollowsACourseAnotherStationRenamed)
{
    ASSERT_TRUE(started);
    // Rows of no scenario: the form's list reads back what they hold.
    std::vector<SessionRecord> rows = {planned("Lia Ono", "", 247), planned("Max Pratt", "", 248), SessionRecord()};
    for (SessionRecord& row : rows)
        row.Scenario.clear();
    const CourseRecord course = storedCourse(database, "2026-12-14", "07:00", rows);
    app->runCourse(course);
    settle();
    RunCourseDialog* form = app->runCourseForm();
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->model().size(), 3);
    const std::string second = form->model().rows()[1].Serialidentifier;
    {
        Database other;
        ASSERT_TRUE(other.open("DSN=tavocpr")) << other.lastError().text;
        ASSERT_TRUE(other.execute("UPDATE Course SET Time = '08:00' WHERE Date = '2026-12-14'"));
        ASSERT_TRUE(other.execute("UPDATE Session SET CourseTime = '08:00' WHERE CourseDate = '2026-12-14'"));
        ASSERT_TRUE(other.execute("DELETE FROM Session WHERE Serialidentifier = '" + second + "'"));
        other.close();
    }

    app->mainFrame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app->mainFrame()));
    form->row(2).ventilation->setFocus();
    form->row(2).ventilation->setEditText(QStringLiteral("Ned Quill"));
    form->row(2).compression->setFocus();
    settle();
    ASSERT_EQ(form->model().size(), 4);
    platform::dlgItem<QPushButton>(form, 2)->click();
    settle();
    EXPECT_EQ(app->runCourseForm(), nullptr);

    SessionTable table(database);
    ASSERT_TRUE(table.open(std::string()));
    const std::vector<SessionRecord> stored = table.loadCourseSessions(CourseKey("Dr. Berg", "2026-12-14", "08:00"));
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].PersonVentilation, "Lia Ono");
    EXPECT_EQ(stored[1].PersonVentilation, "Ned Quill");
    EXPECT_EQ(stored[1].CourseOrder, 1);
    EXPECT_TRUE(table.loadCourseSessions(course.getKey()).empty()) << "a session under a key no course has";
}

} // namespace
