// The New session form in the program on the offscreen platform, with SQLite,
// the demonstration manikins and a simulated manikin on COM 3: it opens at
// start-up, a scenario presets the session, Continue starts the session on
// the chosen manikin and hides the form; a manikin that does not answer and
// an empty manikin list start nothing.
#include "DbTestSupport.h"
#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Database/ScenarioTable.h"
#include "calibrate/CalibrateWindow.h"
#include "comm/CalibrateManager.h"
#include "comm/CommSettings.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/MessageBox.h"
#include "platformqt/Window.h"
#include "res/resource.h"
#include "session/MainFrame.h"
#include "session/NewSessionView.h"
#include "session/Session.h"
#include "session/SessionManager.h"
#include "session/TrainingApp.h"
#include "sim/HandshakeDevices.h"
#include "sim/SimModemLines.h"
#include "support/ProgramHome.h"
#include "support/TestSupport.h"
#include "ui/ChildFrame.h"
#include "ui/FormChildFrame.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

using namespace testsupport;

namespace {

class NewSessionFormTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        home = new ProgramHome;
        QDir().mkpath(QStringLiteral(ARTEFACT_DIR));
        sim::SimModemLines::install();
        manikin = new sim::QueryDevice(home->file("ports"), 3);
        ASSERT_TRUE(manikin->start());
        dbtest::prepareOdbc();
        std::string failure;
        ASSERT_TRUE(dbtest::freshDatabase(failure)) << failure;
        previousHook = platform::setMessageBoxHook([](const platform::MessageBoxRequest& request) {
            boxes.push_back(request);
            return 2;
        });
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

    void SetUp() override
    {
        ASSERT_TRUE(started);
        form = app->newSessionForm();
        ASSERT_NE(form, nullptr);
        boxes.clear();
    }

    platform::ComboBox* combo(int id) const { return platform::dlgItem<platform::ComboBox>(form, id); }
    QWidget* item(int id) const { return platform::dlgItem(form, id); }
    bool formShown() const { return form->parentFrame() && form->parentFrame()->isVisible(); }

    // The instructor picks an item from the list.
    static void choose(platform::ComboBox* box, const QString& text)
    {
        const int index = box->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
    }

    static QStringList items(const platform::ComboBox* box)
    {
        QStringList list;
        for (int i = 0; i < box->count(); ++i)
            list << box->itemText(i);
        return list;
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
    static inline std::vector<platform::MessageBoxRequest> boxes;
    NewSessionView* form = nullptr;
};

TEST_F(NewSessionFormTest, AScenarioPresetsTheSessionThatContinueStartsOnTheChosenManikin)
{
    // Open at start-up with the calibrated free manikins.
    EXPECT_TRUE(formShown());
    EXPECT_EQ(form->parentFrame()->windowTitle(), QStringLiteral("New session"));
    EXPECT_TRUE(items(combo(IDC_NEW_MANIKIN)).contains(QStringLiteral("3")));
    EXPECT_TRUE(items(combo(IDC_NEW_MANIKIN)).contains(QStringLiteral("250")));
    EXPECT_TRUE(item(IDOK)->isEnabled());
    EXPECT_TRUE(item(IDC_NEW_CONFIGURATION)->isEnabled());
    EXPECT_FALSE(item(IDC_NEW_COURSE_PLANNER)->isVisible());

    // The built-in scenarios are installed after the form opened on the new
    // database; it lists them and presets the first all the same.
    EXPECT_GE(combo(IDC_NEW_SCENARIO)->count(), 6);
    EXPECT_FALSE(combo(IDC_NEW_SCENARIO)->currentText().isEmpty());
    EXPECT_FALSE(combo(IDC_NEW_ALGORITHM)->currentText().isEmpty());

    // What the database holds now is listed when the form shows again.
    ASSERT_TRUE(database.execute("INSERT INTO Scenario (Name, Algorithm, Duration, RegisterEvents, TrainingMode) "
                                 "VALUES ('Two minutes alone', '" + std::string(AlgorithmTable::ercName) + "', 120, 0, 0)"));
    ASSERT_TRUE(database.execute("INSERT INTO Person (Name) VALUES ('Anna')"));
    ASSERT_TRUE(database.execute("INSERT INTO Person (Name) VALUES ('Ben')"));
    form->sendCommand(IDCANCEL, BN_CLICKED);
    EXPECT_FALSE(formShown());
    app->onNewSession();
    settle();
    ASSERT_TRUE(formShown());
    EXPECT_TRUE(items(combo(IDC_NEW_VENTILATION)).contains(QStringLiteral("Anna")));
    EXPECT_TRUE(items(combo(IDC_NEW_COMPRESSION)).contains(QStringLiteral("Anna")));

    // The scenario sets algorithm, duration, event registration and mode.
    auto* registerEvents = platform::dlgItem<QAbstractButton>(form, IDC_NEW_REGISTER_EVENTS);
    choose(combo(IDC_NEW_SCENARIO), QStringLiteral("Two minutes alone"));
    EXPECT_EQ(combo(IDC_NEW_ALGORITHM)->currentText(), QString::fromLatin1(AlgorithmTable::ercName));
    EXPECT_EQ(combo(IDC_NEW_DURATION)->currentText(), QStringLiteral("02:00"));
    EXPECT_FALSE(registerEvents->isChecked());
    EXPECT_EQ(combo(IDC_NEW_TRAINING_MODE)->currentIndex(), SINGLE_PERSON);
    EXPECT_FALSE(combo(IDC_NEW_COMPRESSION)->isEnabled());
    EXPECT_EQ(combo(IDC_NEW_SCENARIO)->currentText(), QStringLiteral("Two minutes alone"));

    // A typed duration is checked once it has reached the field: the
    // settings are no longer the scenario's.
    QLineEdit* durationEdit = combo(IDC_NEW_DURATION)->lineEdit();
    ASSERT_NE(durationEdit, nullptr);
    durationEdit->selectAll();
    QTest::keyClicks(durationEdit, QStringLiteral("03:00"));
    settle();
    EXPECT_EQ(combo(IDC_NEW_SCENARIO)->currentIndex(), -1);
    EXPECT_EQ(combo(IDC_NEW_SCENARIO)->currentText(), QString());
    choose(combo(IDC_NEW_SCENARIO), QStringLiteral("Two minutes alone"));
    EXPECT_EQ(combo(IDC_NEW_DURATION)->currentText(), QStringLiteral("02:00"));
    settle();
    EXPECT_EQ(combo(IDC_NEW_SCENARIO)->currentText(), QStringLiteral("Two minutes alone"));

    // One person does both tasks: the compression field follows the choice
    // from the list and the typing.
    choose(combo(IDC_NEW_VENTILATION), QStringLiteral("Ben"));
    EXPECT_EQ(combo(IDC_NEW_COMPRESSION)->currentText(), QStringLiteral("Ben"));
    QLineEdit* ventilationEdit = combo(IDC_NEW_VENTILATION)->lineEdit();
    ASSERT_NE(ventilationEdit, nullptr);
    ventilationEdit->selectAll();
    QTest::keyClicks(ventilationEdit, QStringLiteral("Anna"));
    EXPECT_EQ(combo(IDC_NEW_COMPRESSION)->currentText(), QStringLiteral("Anna"));

    choose(combo(IDC_NEW_MANIKIN), QStringLiteral("250"));
    form->grab().save(QStringLiteral(ARTEFACT_DIR "/new-session-form.png"));
    static_cast<QAbstractButton*>(item(IDOK))->click();
    settle();

    ASSERT_EQ(sessionManager->getCount(), 1);
    Session* session = sessionManager->sessions().front();
    const SessionRecord& r = session->getRecord();
    EXPECT_EQ(r.Manikin, 250);
    EXPECT_EQ(r.Scenario, "Two minutes alone");
    EXPECT_EQ(r.Algorithm, AlgorithmTable::ercName);
    EXPECT_EQ(r.Duration, 120);
    EXPECT_EQ(r.TrainingMode, SINGLE_PERSON);
    EXPECT_EQ(r.PersonVentilation, "Anna");
    EXPECT_EQ(r.PersonChestCompression, "Anna");
    EXPECT_EQ(r.RegisterEvents, 0);
    EXPECT_FALSE(session->registerEvents);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(formShown());
    EXPECT_FALSE(CalibrateManager::get().getIsAvailable(250));
    EXPECT_FALSE(item(IDC_NEW_CONFIGURATION)->isEnabled());
    app->mainFrame()->grab().save(QStringLiteral(ARTEFACT_DIR "/new-session-started.png"));

    // Shown again: the last choices stay, the manikin just taken is gone.
    app->onNewSession();
    settle();
    EXPECT_TRUE(formShown());
    EXPECT_EQ(app->newSessionForm(), form);
    EXPECT_FALSE(items(combo(IDC_NEW_MANIKIN)).contains(QStringLiteral("250")));
    EXPECT_EQ(combo(IDC_NEW_SCENARIO)->currentText(), QStringLiteral("Two minutes alone"));
    EXPECT_EQ(combo(IDC_NEW_VENTILATION)->currentText(), QStringLiteral("Anna"));

    // The last session gone, the configuration may change again.
    session->close();
    settle();
    EXPECT_EQ(sessionManager->getCount(), 0);
    EXPECT_TRUE(item(IDC_NEW_CONFIGURATION)->isEnabled());
}

TEST_F(NewSessionFormTest, ScenarioDetailsStoresTheSettingsAsANewScenarioThatTheFormThenNames)
{
    // Shown again, the form lists what the database holds by now; a training
    // mode this program does not know leaves a mode chosen.
    ASSERT_TRUE(database.execute("INSERT INTO Scenario (Name, Algorithm, Duration, RegisterEvents, TrainingMode) "
                                 "VALUES ('Odd mode', '" + std::string(AlgorithmTable::ercName) + "', 120, 1, 9)"));
    form->sendCommand(IDCANCEL, BN_CLICKED);
    app->onNewSession();
    settle();
    choose(combo(IDC_NEW_SCENARIO), QStringLiteral("Odd mode"));
    EXPECT_GE(combo(IDC_NEW_TRAINING_MODE)->currentIndex(), 0);
    choose(combo(IDC_NEW_ALGORITHM), QString::fromLatin1(AlgorithmTable::ercName));
    QLineEdit* durationEdit = combo(IDC_NEW_DURATION)->lineEdit();
    ASSERT_NE(durationEdit, nullptr);
    durationEdit->selectAll();
    QTest::keyClicks(durationEdit, QStringLiteral("03:00"));
    // Whatever an earlier test left chosen: two persons, events registered.
    choose(combo(IDC_NEW_TRAINING_MODE), combo(IDC_NEW_TRAINING_MODE)->itemText(TWO_PERSON));
    platform::dlgItem<QAbstractButton>(form, IDC_NEW_REGISTER_EVENTS)->setChecked(true);
    platform::dlgItem<QAbstractButton>(form, IDC_NEW_REGISTER_EVENTS)->click();
    settle();
    ASSERT_EQ(combo(IDC_NEW_SCENARIO)->currentText(), QString());

    // The editor opens on a new scenario with the form's settings; the
    // instructor names it and saves it.
    bool edited = false;
    auto* poll = new QTimer(form);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, &edited] {
        QWidget* editor = QApplication::activeModalWidget();
        if (!editor || !editor->isVisible())
            return;
        poll->stop();
        auto* name = platform::dlgItem<QLineEdit>(editor, IDC_EDITOR_NAME);
        if (name) {
            name->setFocus();
            QTest::keyClicks(name, QStringLiteral("Three minutes"));
            platform::dlgItem<QAbstractButton>(editor, IDC_DB_SAVE)->click();
            edited = true;
        }
        platform::dlgItem<QAbstractButton>(editor, IDCANCEL)->click();
    });
    poll->start(10);
    platform::dlgItem<QAbstractButton>(form, IDC_NEW_SCENARIO_DETAILS)->click();
    settle();
    ASSERT_TRUE(edited);

    EXPECT_EQ(combo(IDC_NEW_SCENARIO)->currentText(), QStringLiteral("Three minutes"));
    EXPECT_EQ(combo(IDC_NEW_DURATION)->currentText(), QStringLiteral("03:00"));
    EXPECT_FALSE(platform::dlgItem<QAbstractButton>(form, IDC_NEW_REGISTER_EVENTS)->isChecked());
    ScenarioTable scenarios(database);
    ASSERT_TRUE(scenarios.open(std::string()));
    const ScenarioRecord stored = scenarios.findByName("Three minutes");
    EXPECT_EQ(stored.Algorithm, AlgorithmTable::ercName);
    EXPECT_EQ(stored.Duration, 180);
    EXPECT_EQ(stored.RegisterEvents, 0);
    EXPECT_EQ(stored.TrainingMode, TWO_PERSON);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(NewSessionFormTest, AManikinThatDoesNotAnswerIsReportedAndSentToCalibration)
{
    ASSERT_TRUE(CalibrateManager::get().getIsCalibrated(3));
    sim::Misbehaviour silent;
    silent.silent = true;
    manikin->setMisbehaviour(silent);
    choose(combo(IDC_NEW_MANIKIN), QStringLiteral("3"));
    static_cast<QAbstractButton*>(item(IDOK))->click();
    settle();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"COM port problem");
    EXPECT_EQ(boxes[0].text, L"There was a problem opening the port. Please make sure that the manikin is properly "
                             L"connected and recalibrate.");
    EXPECT_EQ(sessionManager->getCount(), 0);
    EXPECT_FALSE(CalibrateManager::get().getIsCalibrated(3));
    EXPECT_FALSE(items(combo(IDC_NEW_MANIKIN)).contains(QStringLiteral("3")));
    EXPECT_TRUE(formShown());
    ASSERT_NE(app->calibrateWindow().frame(), nullptr);
    EXPECT_TRUE(app->calibrateWindow().frame()->isVisible());
}

TEST_F(NewSessionFormTest, WithoutACalibratedManikinContinueIsDisabledAndStartsNothing)
{
    CalibrateManager& ports = CalibrateManager::get();
    // An earlier test's Calibrate window may have searched the ports again.
    ports.setCalibrated(true, 250);
    std::vector<int> calibrated;
    for (int port = 1; port <= CalibrateManager::COM_PORTS; ++port)
        if (ports.getIsCalibrated(port))
            calibrated.push_back(port);
    ASSERT_FALSE(calibrated.empty());
    for (int port : calibrated)
        ports.setCalibrated(false, port);
    EXPECT_EQ(combo(IDC_NEW_MANIKIN)->count(), 0);
    EXPECT_FALSE(item(IDOK)->isEnabled());
    // Enter reaches Continue all the same.
    form->sendCommand(IDOK, BN_CLICKED);
    settle();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(sessionManager->getCount(), 0);
    EXPECT_TRUE(formShown());

    ports.setCalibrated(true, calibrated.front());
    EXPECT_EQ(combo(IDC_NEW_MANIKIN)->count(), 1);
    EXPECT_TRUE(item(IDOK)->isEnabled());
}

} // namespace
