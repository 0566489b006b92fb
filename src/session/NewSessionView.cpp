#include "session/NewSessionView.h"

#include "Database/AlgorithmDialog.h"
#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Database/DbUiQt.h"
#include "Database/PersonDialog.h"
#include "Database/PersonTable.h"
#include "Database/ScenarioDialog.h"
#include "Utillib/DurationCombo.h"
#include "Utillib/WindowUtil.h"
#include "calibrate/QtPortComboBox.h"
#include "comm/CalibrateManager.h"
#include "config/Configuration.h"
#include "config/TrainingMode.h"
#include "platform/WindowStyles.h"
#include "platformqt/Controls.h"
#include "platformqt/MessageBox.h"
#include "platformqt/Window.h"
#include "res/resource.h"
#include "session/SessionManager.h"
#include "session/TrainingApp.h"
#include "ui/AppServices.h"

#include <QAbstractButton>
#include <QLineEdit>

NewSessionView::NewSessionView(QWidget* parent)
    : BaseDialog(parent)
    , scenarioTable(database)
{
}

NewSessionView::~NewSessionView() = default;

bool NewSessionView::create(QWidget* parent) { return platform::Dialog::create(IDD_NEW_SESSION, parent); }

bool NewSessionView::onInitDialog()
{
    BaseDialog::onInitDialog();
    durationCombo = platform::dlgItem<platform::ComboBox>(this, IDC_NEW_DURATION);
    algorithmCombo = platform::dlgItem<platform::ComboBox>(this, IDC_NEW_ALGORITHM);
    trainingModeCombo = platform::dlgItem<platform::ComboBox>(this, IDC_NEW_TRAINING_MODE);
    scenarioCombo = platform::dlgItem<platform::ComboBox>(this, IDC_NEW_SCENARIO);
    compressionPersonCombo = platform::dlgItem<platform::ComboBox>(this, IDC_NEW_COMPRESSION);
    ventilationPersonCombo = platform::dlgItem<platform::ComboBox>(this, IDC_NEW_VENTILATION);
    registerEventsCheck = platform::dlgItem<QAbstractButton>(this, IDC_NEW_REGISTER_EVENTS);
    manikinCombo = platform::dlgItem<platform::ComboBox>(this, IDC_NEW_MANIKIN);

    scenarioTable.open(std::string());
    fillLists();
    if (registerEventsCheck)
        registerEventsCheck->setChecked(true);
    for (platform::ComboBox* person : {ventilationPersonCombo, compressionPersonCombo})
        if (person && person->lineEdit())
            person->lineEdit()->setMaxLength(80);
    fillTrainingModeCombo(trainingModeCombo);
    adaptParticipants();
    checkScenarioMatch();
    fillDurationCombo(durationCombo);
    if (scenarioCombo && scenarioCombo->getCount() > 0) {
        scenarioCombo->setCurSel(0);
        applyScenario(scenarioTable.findByName(Utillib::getComboText(scenarioCombo)));
    }
    CalibrateManager::get().connect(this, &NewSessionView::onPortsChanged);
    if (sessionManager)
        sessionManager->sessionsChanged.connect(this, &NewSessionView::onSessionsChanged);
    onSessionsChanged();
    return true;
}

void NewSessionView::fillLists()
{
    if (!isCreated())
        return;
    refillPorts();
    if (ventilationPersonCombo) {
        PersonTable persons(database);
        persons.open(std::string());
        dbui::QtComboBox combo(ventilationPersonCombo);
        Utillib::ComboSelectionKeeper keep(ventilationPersonCombo);
        persons.fillCombo(combo, "Name", std::string());
    }
    Utillib::copyComboItems(ventilationPersonCombo, compressionPersonCombo);
    if (algorithmCombo) {
        AlgorithmTable algorithms(database);
        algorithms.open(std::string());
        dbui::QtComboBox combo(algorithmCombo);
        Utillib::ComboSelectionKeeper keep(algorithmCombo);
        algorithms.fillCombo(combo, "Name", std::string());
    }
    if (scenarioTable.ok && scenarioCombo) {
        // The kept table reads its rows again: scenarios written since it
        // was opened (the built-in ones on a first start, another station's)
        // are listed and found.
        scenarioTable.restart();
        dbui::QtComboBox combo(scenarioCombo);
        Utillib::ComboSelectionKeeper keep(scenarioCombo);
        scenarioTable.fillCombo(combo, "Name", std::string());
    }
}

void NewSessionView::refillPorts()
{
    if (!manikinCombo)
        return;
    QtPortComboBox ports(manikinCombo);
    const bool any = CalibrateManager::get().fillPortCombo(ports);
    Utillib::enableWithFocus(platform::dlgItem(this, IDOK), any);
}

void NewSessionView::applyScenario(const ScenarioRecord& scenario)
{
    if (!scenario.Algorithm.empty() && algorithmCombo) {
        const int index = algorithmCombo->findStringExact(-1, platform::ansiToQString(scenario.Algorithm));
        if (index >= 0)
            algorithmCombo->setCurSel(index);
    }
    setDurationText(durationCombo, scenario.Duration);
    if (registerEventsCheck)
        registerEventsCheck->setChecked(scenario.RegisterEvents != 0);
    // A mode this program does not know (a database from elsewhere) keeps
    // the one shown rather than leaving none chosen.
    if (trainingModeCombo && scenario.TrainingMode >= 0 && scenario.TrainingMode < trainingModeCombo->getCount())
        trainingModeCombo->setCurSel(scenario.TrainingMode);
    adaptParticipants();
    checkScenarioMatch();
}

NewSessionSettings NewSessionView::settings() const
{
    NewSessionSettings s;
    s.scenario = Utillib::getComboText(scenarioCombo);
    s.algorithm = Utillib::getComboText(algorithmCombo);
    s.duration = durationFromCombo(durationCombo);
    s.registerEvents = registerEventsCheck && registerEventsCheck->isChecked();
    s.trainingMode = trainingModeCombo ? trainingModeCombo->getCurSel() : TWO_PERSON;
    s.ventilation = Utillib::getComboText(ventilationPersonCombo);
    s.compression = Utillib::getComboText(compressionPersonCombo);
    if (manikinCombo && manikinCombo->getCurSel() >= 0)
        s.port = manikinCombo->itemData(manikinCombo->getCurSel()).toInt();
    return s;
}

void NewSessionView::checkScenarioMatch()
{
    if (!scenarioCombo)
        return;
    const NewSessionSettings current = settings();
    if (!newsession::matchesScenario(current, scenarioTable.findByName(current.scenario)))
        scenarioCombo->setCurSel(-1);
}

void NewSessionView::adaptParticipants()
{
    if (!trainingModeCombo)
        return;
    setParticipantFields(trainingModeCombo->getCurSel(), ventilationPersonCombo,
                         platform::dlgItem(this, IDC_NEW_VENTILATION_DETAILS), compressionPersonCombo,
                         platform::dlgItem(this, IDC_NEW_COMPRESSION_DETAILS), true, true);
}

void NewSessionView::copyVentilationName(const std::string& name)
{
    // One person does both tasks: the compression field follows.
    if (trainingModeCombo && trainingModeCombo->getCurSel() == SINGLE_PERSON)
        Utillib::selectComboString(compressionPersonCombo, name);
}

bool NewSessionView::onCommand(int id, int code)
{
    switch (id) {
    case IDC_NEW_SCENARIO:
        if (code == CBN_SELCHANGE)
            applyScenario(scenarioTable.findByName(Utillib::getComboText(scenarioCombo)));
        return true;
    case IDC_NEW_ALGORITHM:
        if (code == CBN_SELCHANGE)
            checkScenarioMatch();
        return true;
    case IDC_NEW_DURATION:
        // The check reads the text once the edit or the choice has reached the field.
        if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE)
            QMetaObject::invokeMethod(this, [this] { checkScenarioMatch(); }, Qt::QueuedConnection);
        return true;
    case IDC_NEW_REGISTER_EVENTS:
        if (code == BN_CLICKED)
            checkScenarioMatch();
        return true;
    case IDC_NEW_TRAINING_MODE:
        if (code == CBN_SELCHANGE) {
            adaptParticipants();
            checkScenarioMatch();
        }
        return true;
    case IDC_NEW_VENTILATION:
        if (code == CBN_EDITCHANGE && ventilationPersonCombo)
            copyVentilationName(platform::qStringToAnsi(ventilationPersonCombo->shownText()));
        else if (code == CBN_SELCHANGE && ventilationPersonCombo && ventilationPersonCombo->getCurSel() >= 0)
            copyVentilationName(platform::qStringToAnsi(ventilationPersonCombo->getLBText(ventilationPersonCombo->getCurSel())));
        return true;
    default:
        break;
    }
    if (code != BN_CLICKED)
        return BaseDialog::onCommand(id, code);
    switch (id) {
    case IDC_NEW_SCENARIO_DETAILS:
        scenarioDetails();
        return true;
    case IDC_NEW_ALGORITHM_DETAILS:
        algorithmDetails();
        return true;
    case IDC_NEW_VENTILATION_DETAILS:
        personDetails(ventilationPersonCombo);
        return true;
    case IDC_NEW_COMPRESSION_DETAILS:
        personDetails(compressionPersonCombo);
        return true;
    case IDC_NEW_CALIBRATE:
        openCalibrate();
        return true;
    case IDC_NEW_CONFIGURATION:
        Configuration::instance().showDialog(0, appServices() ? appServices()->mainWindow() : nullptr);
        return true;
    default:
        return BaseDialog::onCommand(id, code);
    }
}

void NewSessionView::scenarioDetails()
{
    const NewSessionSettings current = settings();
    ScenarioRecord scenario;
    scenario.Name = current.scenario;
    scenario.Algorithm = current.algorithm;
    scenario.Duration = current.duration;
    scenario.RegisterEvents = current.registerEvents ? 1 : 0;
    scenario.TrainingMode = current.trainingMode;
    const std::string name = showScenarioDetails(this, scenario);
    fillLists();
    if (name.empty())
        return;
    Utillib::selectComboString(scenarioCombo, name);
    applyScenario(scenarioTable.findByName(name));
}

void NewSessionView::algorithmDetails()
{
    const std::string name = showAlgorithmDetails(this, Utillib::getComboText(algorithmCombo));
    fillLists();
    if (name.empty())
        return;
    Utillib::selectComboString(algorithmCombo, name);
    checkScenarioMatch();
}

void NewSessionView::personDetails(platform::ComboBox* field)
{
    const std::string name = showPersonDetails(this, Utillib::getComboText(field), false);
    fillLists();
    if (!name.empty())
        Utillib::selectComboString(field, name);
}

void NewSessionView::onOK() { newsession::start(settings(), *this); }

void NewSessionView::onCancel() { hideParentFrame(); }

void NewSessionView::onParentShow(bool show, int)
{
    if (!show)
        return;
    fillLists();
    checkScenarioMatch();
}

void NewSessionView::refillChoices()
{
    if (!isCreated())
        return;
    const bool noScenario = scenarioCombo && Utillib::getComboText(scenarioCombo).empty();
    fillLists();
    if (noScenario && scenarioCombo->getCount() > 0) {
        scenarioCombo->setCurSel(0);
        applyScenario(scenarioTable.findByName(Utillib::getComboText(scenarioCombo)));
    }
    checkScenarioMatch();
}

void NewSessionView::showHelp()
{
    if (AppServices* services = appServices())
        services->showHelp(helpContext);
}

void NewSessionView::message(const std::wstring& text, const std::wstring& caption)
{
    platform::messageBox(this, text, caption, platform::MB_OK);
}

void NewSessionView::openCalibrate()
{
    if (TrainingApp* app = trainingApp())
        app->onCalibrate();
}

void NewSessionView::startSession(const SessionRecord& record, const Algorithm& algorithm, bool registerEvents)
{
    Session* session = createSession(record, algorithm, registerEvents);
    hideParentFrame();
    registerSession(session);
}

void NewSessionView::onPortsChanged()
{
    if (isCreated())
        refillPorts();
}

void NewSessionView::onSessionsChanged()
{
    Utillib::enableWithFocus(platform::dlgItem(this, IDC_NEW_CONFIGURATION), !sessionManager || sessionManager->getCount() == 0);
}
