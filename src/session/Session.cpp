#include "session/Session.h"
#include "session/SessionAdvice.h"

#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "comm/CalibrateManager.h"
#include "comm/Comm.h"
#include "comm/SerialPort.h"
#include "gettext/Translator.h"

namespace {

std::string doubleAmpersands(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '&')
            out += '&';
    }
    return out;
}

// Adds a trainee to the Person table unless the name is empty or one of the
// placeholders the new-session form fills in.
void addParticipant(const std::string& name)
{
    if (name.empty())
        return;
    std::wstring wide = GString::to_wstring(name, 0);
    for (const char* placeholder : { "User", "User 1", "User 2" })
        if (wide == translate(placeholder))
            return;
    sessionServices().addPerson(name);
}

int eventIdCounter = 100000;

} // namespace

int Session::nextEventId()
{
    return ++eventIdCounter;
}

Session::Session(const SessionRecord& sessionRecord, const Algorithm& sessionAlgorithm)
    : record(sessionRecord)
    , algorithm(sessionAlgorithm)
{
    registerEvents = true;
    name = translate("Tavo Man ") + std::to_wstring(record.Manikin);
    replay = record.Manikin == -1;
    SessionServices& services = sessionServices();

    commSession.setAlgorithm(&algorithm);
    commSession.trainingMode = record.TrainingMode;
    describeChannels();
    if (replay) {
        bool read = loadData();
        if (!read)
            services.showReplayReadError(*this);
        LOG_ASSERT(read);
        finished = true;
    } else {
        port = record.Manikin;
        CalibrateManager& ports = CalibrateManager::get();
        LOG_ASSERT(ports.getIsValid(port));
        LOG_ASSERT(ports.getIsAvailable(port));
        ports.reservePort(port);
        SerialPort* serialPort = ports.getSerialPort(port);
        LOG_ASSERT(serialPort != nullptr);
        if (serialPort) {
            comm = std::make_unique<Comm>(serialPort);
            LOG_ASSERT(ports.getIsCalibrated(port));
            commSession.attach(comm.get());
            comm->resetCounters();
        }
    }

    for (const ScenarioEvent& event : services.scenarioEvents(record.Scenario)) {
        EventButton button;
        button.id = nextEventId();
        button.name = GString::to_wstring(doubleAmpersands(event.name), 0);
        button.toolTip = GString::to_wstring(doubleAmpersands(event.toolTip), 0);
        button.eventType = event.icon;
        LOG_ASSERT(button.toolTip.size() < 80);
        eventButtons.push_back(std::move(button));
    }

    if (Signal<>* metronome = services.metronome())
        metronome->connect(this, &Session::onMetronome);
}

Session::~Session()
{
    *alive = false;
    // The windows leave the channels while the channels still exist.
    if (sessionView) {
        sessionView->destroyWindow();
        sessionView.reset();
    }
    destroyPages();
    if (comm) {
        comm->serialPort->close();
        comm.reset();
    }
    if (!replay)
        CalibrateManager::get().releasePort(port);
}

void Session::describeChannels()
{
    GraphDescription& c = compressionDescription;
    c.sampleSignal = &commSession.compressionMarked;
    c.groupSignal = &commSession.groupAdded;
    c.drawnDownward = true;
    c.maxValue = 70.0;
    c.bandLow = algorithm.compDepthLow;
    c.bandHigh = algorithm.compDepthHigh;
    c.colour = 0x3232C8;
    c.markerBitmap = 168;
    c.unit = translate("mm.");
    c.title = translate("Chest compression");
    c.valueGetter = [this](int i) {
        Value v = getCompressionValue(i);
        return SampleValue { v.value, v.mark };
    };
    c.groupGetter = [this](int i) { return getCompressionGroup(i); };

    GraphDescription& v = ventilationDescription;
    v.sampleSignal = &commSession.ventilationMarked;
    v.drawnDownward = false;
    v.maxValue = 1.0;
    v.bandLow = algorithm.vVolLow;
    v.bandHigh = algorithm.vVolHigh;
    v.colour = 0xFF0000;
    v.markerBitmap = 167;
    v.unit = translate("L.");
    v.title = translate("Ventilation");
    v.valueGetter = [this](int i) {
        Value value = getVentilationValue(i);
        return SampleValue { value.value, value.mark };
    };
}

bool Session::isRunning() const
{
    return !replay && comm && comm->isRunning();
}

void Session::poll()
{
    if (!replay && comm) {
        comm->update();
        commSession.process();
        if (!comm->serialPort->isPresent()) {
            lostManikin();
            return;
        }
    }
    notifyReceivers();
}

void Session::lostManikin()
{
    // The heartbeat goes on while the box is open and polls this session
    // again: one box at a time, and none after Cancel until the next start.
    if (errorBoxShown || errorCancelled)
        return;
    pause();
    errorBoxShown = true;
    std::shared_ptr<bool> stillAlive = alive;
    bool retry = sessionServices().askRetryLostManikin(*this);
    if (!*stillAlive)
        return;
    errorBoxShown = false;
    if (!retry) {
        errorCancelled = true;
        return;
    }
    SerialPort* serialPort = comm->serialPort;
    if (serialPort->isPresent() && serialPort->close() && comm->open(port) == SerialPort::OPEN_OK)
        start();
}

void Session::notifyReceivers()
{
    int newest = static_cast<int>(commSession.manData.size()) - 1;
    if (newest < 0 || newest == lastNotifiedIndex)
        return;
    // By index: a receiver may remove itself while it is told.
    for (std::size_t k = 0; k < updateReceivers.size(); ++k)
        updateReceivers[k]->update(newest);
    lastNotifiedIndex = newest;
}

void Session::start()
{
    LOG_ASSERT(!replay);
    if (replay || !comm)
        return;
    modified = true;
    errorCancelled = false;
    comm->start();
    if (sessionGraphView)
        sessionGraphView->refreshControls();
    stateChanged.emit();
}

void Session::pause()
{
    if (!replay && comm && comm->isRunning()) {
        std::string now = sessionServices().localTimeText();
        if (now != record.EndTime) {
            record.EndTime = now;
            recordChanged.emit(this);
        }
        comm->stop();
    }
    if (sessionGraphView)
        sessionGraphView->refreshControls();
    stateChanged.emit();
}

void Session::endOfTime()
{
    finished = true;
    SessionServices& services = sessionServices();
    if (services.endSoundOn())
        services.playEndSound();
    pause();
}

SessionContainer* Session::createView()
{
    LOG_ASSERT(state == INIT);
    sessionView = sessionServices().createContainer(*this);
    setState(COLLECT);
    return sessionView.get();
}

GraphPageWindow* Session::graphPage()
{
    if (!sessionGraphView)
        sessionGraphView = sessionServices().createGraphPage(*this);
    return sessionGraphView.get();
}

SessionPageWindow* Session::debriefPage()
{
    if (!debriefPageWindow)
        debriefPageWindow = sessionServices().createDebriefPage(*this);
    return debriefPageWindow.get();
}

ReviewPageWindow* Session::reviewPage()
{
    if (!reviewPageWindow)
        reviewPageWindow = sessionServices().createReviewPage(*this);
    return reviewPageWindow.get();
}

void Session::setState(int newState)
{
    LOG_ASSERT(sessionView != nullptr);
    SessionPageWindow* page = nullptr;
    switch (newState) {
    case COLLECT:
        page = graphPage();
        break;
    case DEBRIEF:
        page = debriefPage();
        break;
    case REVIEW:
        page = reviewPage();
        break;
    default:
        LOG_ASSERT(newState >= COLLECT && newState <= REVIEW);
        return;
    }
    if (sessionView && page)
        sessionView->showPage(page);
    // Every entry into the review builds its page afresh from the record.
    if (newState != REVIEW && reviewPageWindow) {
        reviewPageWindow->destroyWindow();
        reviewPageWindow.reset();
    }
    LOG_ASSERT(!(state == COLLECT && newState == REVIEW));
    state = newState;
}

bool Session::askSave()
{
    if (replay)
        return true;
    SessionServices& services = sessionServices();
    std::shared_ptr<bool> stillAlive = alive;
    SessionServices::SaveAnswer answer = services.askSaveSession(*this, state != COLLECT);
    if (!*stillAlive)
        return false;
    switch (answer) {
    case SessionServices::SAVE_REVIEW:
        pause();
        setState(REVIEW);
        services.showSession(*this);
        return false;
    case SessionServices::SAVE_YES: {
        pause();
        if (state != REVIEW) {
            setState(DEBRIEF);
            setState(REVIEW);
        }
        // The review page writes the row; its after-save step writes the
        // data file through saveData, which notes whether that worked. A
        // session whose row or file was not written stays open: the user
        // has seen the error and may try again or discard it.
        dataFileSaved = false;
        ReviewPageWindow* page = reviewPageWindow.get();
        bool rowWritten = page && page->saveAsDone();
        if (!rowWritten || !dataFileSaved)
            return false;
        addParticipant(record.PersonVentilation);
        addParticipant(record.PersonChestCompression);
        return true;
    }
    case SessionServices::SAVE_NO:
        pause();
        return true;
    case SessionServices::SAVE_CANCEL:
        break;
    }
    return false;
}

void Session::destroyPages()
{
    if (sessionGraphView) {
        sessionGraphView->destroyWindow();
        sessionGraphView.reset();
    }
    if (debriefPageWindow) {
        debriefPageWindow->destroyWindow();
        debriefPageWindow.reset();
    }
    if (reviewPageWindow) {
        reviewPageWindow->destroyWindow();
        reviewPageWindow.reset();
    }
}

void Session::close()
{
    closing.emit(this);
    if (sessionView) {
        sessionView->destroyWindow();
        sessionView.reset();
        destroyPages();
    }
    // May delete this session: nothing after it.
    destroyed.emit(this);
}

bool Session::saveData()
{
    bool saved = sessionServices().saveDataFile(*this);
    dataFileSaved = saved;
    if (saved) {
        modified = false;
        modifiedChanged.emit();
    }
    return saved;
}

void Session::print(bool evaluation) { sessionServices().printSession(*this, evaluation); }

bool Session::loadData()
{
    return sessionServices().loadDataFile(*this);
}

void Session::setRecord(const SessionRecord& newRecord)
{
    record = newRecord;
    recordChanged.emit(this);
}

unsigned Session::elapsedSeconds() const
{
    if (!sessionGraphView || sessionGraphView->axisSampleRate() == 0)
        return recordedSeconds();
    int i = sessionGraphView->axisNewestIndex();
    double f = sessionGraphView->axisSampleRate();
    auto ms = static_cast<unsigned>((i + 0.5) / f * 1000 + 0.5);
    return (ms + 500) / 1000;
}

unsigned Session::recordedSeconds() const
{
    const std::size_t samples = commSession.manData.size();
    if (samples == 0 || commSession.sampleRate <= 0)
        return 0;
    const auto ms = static_cast<unsigned>((samples - 1 + 0.5) / commSession.sampleRate * 1000 + 0.5);
    return (ms + 500) / 1000;
}

std::wstring Session::adviceText() const
{
    AdviceFacts facts;
    facts.mode = static_cast<TrainingMode>(record.TrainingMode);
    facts.initialVentilations = commSession.initialVentilations;
    facts.ventilationRate = commSession.ventilationRate;
    facts.averageVolume = commSession.averageVolume;
    const std::vector<VentilationSeries>& series = commSession.ventilationDetector.series;
    facts.ventilationSeries = static_cast<int>(series.size());
    if (!series.empty())
        facts.firstSeriesStart = series.front().indexStart;
    // The groups are keyed by their middle sample, so the first is the earliest.
    facts.compressionGroups = static_cast<int>(commSession.groups.size());
    if (!commSession.groups.empty())
        facts.firstGroupStart = commSession.groups.begin()->second.firstIndex;
    auto eventsOf = [](const GraphDoc& doc) {
        std::vector<AdviceEvent> events;
        for (const GraphEvent& e : doc.getEvents())
            events.push_back(AdviceEvent { e.imageIndex, e.sampleIndex });
        return events;
    };
    facts.compressionEvents = eventsOf(compressionDoc);
    facts.ventilationEvents = eventsOf(ventilationDoc);
    // The recording's length, also for a stored session shown without its graph page.
    facts.elapsedSeconds = static_cast<int>(recordedSeconds());
    return SessionAdvice(algorithm, facts).text();
}

std::wstring Session::ventilationPerson() const
{
    return GString::to_wstring(record.PersonVentilation, 0);
}

std::wstring Session::compressionPerson() const
{
    return GString::to_wstring(record.PersonChestCompression, 0);
}

void Session::onMetronome()
{
    record.Metronome = 1;
    if (state == REVIEW && reviewPageWindow)
        reviewPageWindow->tickMetronome();
}

void Session::addUpdateReceiver(UpdateReceiver* updateReciver)
{
    LOG_ASSERT(updateReciver != nullptr);
    if (updateReciver)
        updateReceivers.push_back(updateReciver);
}

void Session::removeUpdateReceiver(UpdateReceiver* updateReciver)
{
    LOG_ASSERT(updateReciver != nullptr);
    std::erase(updateReceivers, updateReciver);
}

Session::Value Session::getCompressionValue(int i) const
{
    bool inRange = i >= 0 && static_cast<std::size_t>(i) < commSession.manData.size();
    LOG_ASSERT(inRange);
    if (!inRange)
        return {};
    const Measurement& m = commSession.manData[static_cast<std::size_t>(i)];
    return { m.depth, m.compressionMark };
}

Session::Value Session::getVentilationValue(int i) const
{
    bool inRange = i >= 0 && static_cast<std::size_t>(i) < commSession.manData.size();
    LOG_ASSERT(inRange);
    if (!inRange)
        return {};
    const Measurement& m = commSession.manData[static_cast<std::size_t>(i)];
    return { m.volume, m.ventilationMark };
}

const CompressionGroup* Session::getCompressionGroup(int i) const
{
    auto found = commSession.groups.find(i);
    return found == commSession.groups.end() ? nullptr : &found->second;
}
