#include "FakeSessionServices.h"

#include <algorithm>

namespace sessiontest {

FakePage::FakePage(FakeSessionServices& s, std::string k)
    : services(s)
    , kind(std::move(k))
{
    services.log.push_back(kind + " created");
}

FakePage::~FakePage() { services.log.push_back(kind + " deleted"); }
void FakePage::destroyWindow() { services.log.push_back(kind + " window destroyed"); }

FakeGraphPage::FakeGraphPage(FakeSessionServices& s, Session& owner)
    : services(s)
    , session(owner)
{
    services.log.push_back("graph created");
    session.addUpdateReceiver(this);
}

FakeGraphPage::~FakeGraphPage()
{
    session.removeUpdateReceiver(this);
    services.log.push_back("graph deleted");
    if (services.graph == this)
        services.graph = nullptr;
}

void FakeGraphPage::destroyWindow() { services.log.push_back("graph window destroyed"); }

void FakeGraphPage::update(int newestIndex)
{
    newest = newestIndex;
    if (Comm* comm = session.getComm())
        rate = comm->sampleRate;
    // The time axis's rule: the end comes when the elapsed time passes the set duration.
    int duration = session.getRecord().Duration;
    auto ms = static_cast<long>((newest + 0.5) / rate * 1000 + 0.5);
    if (duration != -1 && !session.isFinished() && ms > duration * 1000L) {
        session.endOfTime();
        session.setState(Session::DEBRIEF);
    }
}

FakeReviewPage::FakeReviewPage(FakeSessionServices& s, Session& owner)
    : services(s)
    , session(owner)
{
    services.log.push_back("review created");
}

FakeReviewPage::~FakeReviewPage()
{
    services.log.push_back("review deleted");
    if (services.review == this)
        services.review = nullptr;
}

void FakeReviewPage::destroyWindow() { services.log.push_back("review window destroyed"); }

bool FakeReviewPage::saveAsDone()
{
    if (!services.rowWritable) {
        services.log.push_back("row failed");
        return false;
    }
    services.log.push_back("row written");
    SessionRecord done = session.getRecord();
    done.Done = 1;
    session.setRecord(done);
    session.saveData(); // an after-save step whose result the form does not use
    return true;
}

FakeContainer::~FakeContainer() { services.log.push_back("container deleted"); }
void FakeContainer::destroyWindow() { services.log.push_back("container window destroyed"); }

std::unique_ptr<SessionContainer> FakeSessionServices::createContainer(Session&)
{
    log.push_back("container created");
    return std::make_unique<FakeContainer>(*this);
}

std::unique_ptr<GraphPageWindow> FakeSessionServices::createGraphPage(Session& session)
{
    auto page = std::make_unique<FakeGraphPage>(*this, session);
    graph = page.get();
    return page;
}

std::unique_ptr<SessionPageWindow> FakeSessionServices::createDebriefPage(Session&)
{
    return std::make_unique<FakePage>(*this, "debrief");
}

std::unique_ptr<ReviewPageWindow> FakeSessionServices::createReviewPage(Session& session)
{
    auto page = std::make_unique<FakeReviewPage>(*this, session);
    review = page.get();
    return page;
}

SessionServices::SaveAnswer FakeSessionServices::askSaveSession(Session& session, bool allowReview)
{
    log.push_back("save question");
    allowReviewAsked.push_back(allowReview);
    askedSessions.push_back(session.getName());
    if (saveAnswers.empty())
        return SAVE_CANCEL;
    SaveAnswer answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

bool FakeSessionServices::askRetryLostManikin(Session& session)
{
    ++retryBoxes;
    log.push_back("retry box");
    return retryBox(session);
}

bool FakeSessionServices::saveDataFile(Session&)
{
    log.push_back(fileWritable ? "file written" : "file failed");
    return fileWritable;
}

bool FakeSessionServices::loadDataFile(Session& session)
{
    log.push_back("file read");
    if (replayMeasurements < 0)
        return false;
    for (int i = 0; i < replayMeasurements; ++i) {
        Measurement m;
        m.depth = i;
        session.getCommSession().manData.push_back(m);
    }
    return true;
}

std::vector<ScenarioEvent> FakeSessionServices::scenarioEvents(const std::string& scenario)
{
    auto found = scenarios.find(scenario);
    return found == scenarios.end() ? std::vector<ScenarioEvent> {} : found->second;
}

int FakeSessionServices::count(const std::string& entry) const
{
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

void FakeTabView::addSession(Session& session, SessionContainer* container)
{
    tabs.push_back(&session);
    containers.push_back(container);
    selected = &session;
}

void FakeTabView::removeSession(Session& session, SessionContainer*)
{
    auto found = std::find(tabs.begin(), tabs.end(), &session);
    if (found == tabs.end())
        return;
    containers.erase(containers.begin() + (found - tabs.begin()));
    tabs.erase(found);
    if (selected == &session)
        selected = tabs.empty() ? nullptr : tabs.front();
}

} // namespace sessiontest
