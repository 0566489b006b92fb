#include "DemoPorts.h"
#include "FakeSessionServices.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace sessiontest;

namespace {

class SessionTest : public ::testing::Test {
protected:
    // Runs heartbeat ticks until `done` holds or `limit` ticks have passed.
    template <class Condition>
    static int tickUntil(Session& session, Condition done, int limit = 2000)
    {
        int ticks = 0;
        while (!done() && ticks < limit) {
            session.poll();
            ++ticks;
        }
        return ticks;
    }

    testsupport::LogCapture log;
    FakeSessionServices services;
    DemoPorts demo;
};

bool contains(const std::vector<std::string>& log, const std::string& entry)
{
    return std::find(log.begin(), log.end(), entry) != log.end();
}

// Index of the first entry, or -1.
int position(const std::vector<std::string>& log, const std::string& entry)
{
    auto found = std::find(log.begin(), log.end(), entry);
    return found == log.end() ? -1 : static_cast<int>(found - log.begin());
}

class RecordWatch : public SignalReceiver {
public:
    void changed(Session*) { ++recordChanges; }
    void state() { ++stateChanges; }
    void modifiedChanged() { ++modifiedChanges; }
    int recordChanges = 0;
    int stateChanges = 0;
    int modifiedChanges = 0;
};

TEST_F(SessionTest, DemoSessionCollectsUntilItsSetDurationAndIsSavedAndClosed)
{
    for (bool endSound : { false, true }) {
        SCOPED_TRACE(endSound);
        services.log.clear();
        services.endSound = endSound;
        SessionRecord record;
        record.Duration = 3;
        record.PersonVentilation = "Ann";
        record.PersonChestCompression = "Bob";
        std::unique_ptr<Session> session = DemoPorts::liveSession(250, record);
        EXPECT_FALSE(CalibrateManager::get().getIsAvailable(250)) << "the session reserves its port";
        EXPECT_EQ(session->getName(), L"Tavo Man 250");
        RecordWatch watch;
        session->recordChanged.connect(&watch, &RecordWatch::changed);

        session->createView();
        ASSERT_NE(services.graph, nullptr);
        EXPECT_EQ(session->getState(), Session::COLLECT);
        session->start();
        EXPECT_TRUE(session->isRunning());
        EXPECT_TRUE(session->isModified());

        services.time = "10:07";
        int ticks = tickUntil(*session, [&] { return session->isFinished(); });
        // 3 s at 20 samples a second, one demonstration sample per tick.
        EXPECT_EQ(ticks, 61);
        EXPECT_FALSE(session->isRunning()) << "the end of the duration pauses";
        EXPECT_EQ(session->getState(), Session::DEBRIEF);
        EXPECT_EQ(session->getRecord().EndTime, "10:07");
        EXPECT_EQ(watch.recordChanges, 1);
        EXPECT_EQ(services.count("end sound"), endSound ? 1 : 0);
        EXPECT_EQ(session->elapsedSeconds(), 3u);

        services.saveAnswers = { SessionServices::SAVE_YES };
        EXPECT_TRUE(session->askSave());
        EXPECT_EQ(services.allowReviewAsked.back(), true) << "Review may be answered after the collection";
        EXPECT_EQ(session->getState(), Session::REVIEW);
        EXPECT_EQ(session->getRecord().Done, 1);
        EXPECT_FALSE(session->isModified());
        EXPECT_LT(position(services.log, "row written"), position(services.log, "file written"));
        EXPECT_EQ(services.persons, (std::vector<std::string> { "Ann", "Bob" }));
        services.persons.clear();

        session->close();
        session.reset();
        EXPECT_TRUE(CalibrateManager::get().getIsAvailable(250)) << "the port is released";
    }
    EXPECT_EQ(log.text().find("Assert failed"), std::string::npos) << log.text();
}

TEST_F(SessionTest, ReceiversAreToldTheNewestIndexOnceInRegistrationOrder)
{
    std::unique_ptr<Session> session = DemoPorts::liveSession(247);
    std::vector<std::string> order;
    UpdateLog first(&order, "first"), second(&order, "second");
    session->addUpdateReceiver(&first);
    session->addUpdateReceiver(&second);
    session->start();
    session->poll();
    EXPECT_TRUE(first.indexes.empty()) << "a single sample is never announced";
    session->poll();
    session->pause();
    session->poll(); // nothing new
    session->start();
    session->poll();
    EXPECT_EQ(first.indexes, (std::vector<int> { 1, 2 }));
    EXPECT_EQ(second.indexes, first.indexes);
    EXPECT_EQ(order, (std::vector<std::string> { "first", "second", "first", "second" }));

    session->removeUpdateReceiver(&first);
    session->poll();
    EXPECT_EQ(first.indexes.size(), 2u);
    EXPECT_EQ(second.indexes.back(), 3);
    session->addUpdateReceiver(nullptr);
    EXPECT_TRUE(log.hasAssertion("updateReciver != nullptr"));
    session->close();
}

TEST_F(SessionTest, PauseChangesTheEndTimeOnlyWhenTheMinuteChanged)
{
    std::unique_ptr<Session> session = DemoPorts::liveSession(248);
    RecordWatch watch;
    session->recordChanged.connect(&watch, &RecordWatch::changed);
    session->stateChanged.connect(&watch, &RecordWatch::state);
    session->modifiedChanged.connect(&watch, &RecordWatch::modifiedChanged);
    struct Step {
        std::string time;
        int recordChanges;
    } steps[] = { { "09:15", 1 }, { "09:15", 1 }, { "09:16", 2 } };
    for (const Step& step : steps) {
        session->start();
        services.time = step.time;
        session->pause();
        EXPECT_EQ(session->getRecord().EndTime, step.time);
        EXPECT_EQ(watch.recordChanges, step.recordChanges) << step.time;
    }
    services.time = "09:30";
    session->pause(); // not collecting: the end time stays
    EXPECT_EQ(session->getRecord().EndTime, "09:16");
    EXPECT_EQ(watch.stateChanges, 7);
    EXPECT_EQ(watch.modifiedChanges, 0) << "starting does not announce the change of modified";
    session->close();
}

// The "Save session?" answers, from a running session in the given state.
TEST_F(SessionTest, SaveQuestionAnswers)
{
    using S = SessionServices;
    struct Case {
        const char* what;
        Session::State from;
        std::vector<S::SaveAnswer> answers; // asked again for each further answer
        bool rowWritable, fileWritable;
        bool mayClose;
        Session::State after;
        bool running;
        bool participants;
    } cases[] = {
        { "cancel", Session::COLLECT, { S::SAVE_CANCEL }, true, true, false, Session::COLLECT, true, false },
        { "no", Session::COLLECT, { S::SAVE_NO }, true, true, true, Session::COLLECT, false, false },
        { "review", Session::DEBRIEF, { S::SAVE_REVIEW }, true, true, false, Session::REVIEW, false, false },
        { "yes", Session::COLLECT, { S::SAVE_YES }, true, true, true, Session::REVIEW, false, true },
        { "yes, row not written", Session::COLLECT, { S::SAVE_YES }, false, true, false, Session::REVIEW, false, false },
        { "yes, file not written", Session::COLLECT, { S::SAVE_YES }, true, false, false, Session::REVIEW, false, false },
        { "yes from the review", Session::DEBRIEF, { S::SAVE_REVIEW, S::SAVE_YES }, true, true, true, Session::REVIEW, false, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        services.log.clear();
        services.persons.clear();
        services.allowReviewAsked.clear();
        services.rowWritable = c.rowWritable;
        services.fileWritable = c.fileWritable;
        SessionRecord record;
        record.PersonVentilation = "Ann";
        std::unique_ptr<Session> session = DemoPorts::liveSession(251, record);
        session->createView();
        if (c.from != Session::COLLECT)
            session->setState(c.from);
        session->start();
        bool mayClose = false;
        for (S::SaveAnswer answer : c.answers) {
            services.saveAnswers = { answer };
            mayClose = session->askSave();
        }
        EXPECT_EQ(mayClose, c.mayClose);
        EXPECT_EQ(services.allowReviewAsked.front(), c.from != Session::COLLECT);
        EXPECT_EQ(session->getState(), c.after);
        EXPECT_EQ(session->isRunning(), c.running);
        EXPECT_EQ(!services.persons.empty(), c.participants);
        if (c.answers.back() == S::SAVE_YES && c.from == Session::COLLECT) {
            EXPECT_LT(position(services.log, "debrief created"), position(services.log, "review created")) << "Yes passes through the debriefing";
        }
        if (c.answers.front() == S::SAVE_REVIEW) {
            EXPECT_TRUE(contains(services.log, "show session"));
        }
        if (!c.mayClose && c.answers.back() == S::SAVE_YES) {
            EXPECT_TRUE(session->isModified()) << "a failed save keeps the recording unsaved";
        }
        session->close();
    }
    EXPECT_EQ(log.text().find("Assert failed"), std::string::npos) << log.text();
}

TEST_F(SessionTest, FailedSaveKeepsTheSessionOpenUntilASaveWorks)
{
    std::unique_ptr<Session> session = DemoPorts::liveSession(252);
    session->createView();
    services.fileWritable = false;
    services.saveAnswers = { SessionServices::SAVE_YES };
    EXPECT_FALSE(session->askSave());
    services.fileWritable = true;
    services.saveAnswers = { SessionServices::SAVE_YES };
    services.log.clear();
    EXPECT_TRUE(session->askSave());
    EXPECT_EQ(services.count("review created"), 0) << "the retry saves from the review page it is on";
    EXPECT_EQ(services.count("file written"), 1);
    session->close();
}

TEST_F(SessionTest, ParticipantsAddedExceptPlaceholdersAndEmptyNames)
{
    struct Case {
        std::string ventilation, compression;
        std::vector<std::string> added;
    } cases[] = {
        { "Ann", "Bob", { "Ann", "Bob" } },
        { "", "User", {} },
        { "User 1", "User 2", {} },
        { "user 1", "Carl", { "user 1", "Carl" } },
    };
    for (const Case& c : cases) {
        services.persons.clear();
        SessionRecord record;
        record.PersonVentilation = c.ventilation;
        record.PersonChestCompression = c.compression;
        std::unique_ptr<Session> session = DemoPorts::liveSession(253, record);
        session->createView();
        services.saveAnswers = { SessionServices::SAVE_YES };
        EXPECT_TRUE(session->askSave());
        EXPECT_EQ(services.persons, c.added) << c.ventilation << " / " << c.compression;
        session->close();
    }
}

class CloseWatch : public SignalReceiver {
public:
    explicit CloseWatch(FakeSessionServices& s)
        : services(s)
    {
    }
    void closing(Session*) { services.log.push_back("closing"); }
    void destroyed(Session* session)
    {
        services.log.push_back("destroyed");
        delete session;
    }
    FakeSessionServices& services;
};

TEST_F(SessionTest, CloseAnnouncesDestroysWindowsThenAnnouncesTheEnd)
{
    Session* session = DemoPorts::liveSession(254).release();
    CloseWatch watch(services);
    session->destroyed.connect(&watch, &CloseWatch::destroyed);
    session->closing.connect(&watch, &CloseWatch::closing);
    session->createView();
    session->setState(Session::DEBRIEF);
    session->setState(Session::REVIEW);
    services.log.clear();
    session->close(); // deleted by the watch
    EXPECT_EQ(services.log,
        (std::vector<std::string> { "closing", "container window destroyed", "container deleted",
            "graph window destroyed", "graph deleted", "debrief window destroyed", "debrief deleted",
            "review window destroyed", "review deleted", "destroyed" }));
    EXPECT_TRUE(CalibrateManager::get().getIsAvailable(254));
}

TEST_F(SessionTest, StatesShowTheirPagesAndTheReviewIsBuiltAfreshEachTime)
{
    std::unique_ptr<Session> session = DemoPorts::liveSession(255);
    session->setState(Session::DEBRIEF);
    EXPECT_TRUE(log.hasAssertion("sessionView != nullptr"));
    EXPECT_EQ(session->getState(), Session::DEBRIEF) << "goes on without its container";

    std::unique_ptr<Session> other = DemoPorts::liveSession(256);
    auto* container = static_cast<FakeContainer*>(other->createView());
    EXPECT_EQ(container->shown, services.graph);
    other->setState(Session::REVIEW);
    EXPECT_TRUE(log.hasAssertion("!(state == COLLECT && newState == REVIEW)"));
    other->setState(Session::DEBRIEF);
    EXPECT_EQ(services.review, nullptr) << "leaving the review deletes its page";
    other->setState(Session::REVIEW);
    EXPECT_EQ(container->shown, services.review);
    EXPECT_EQ(services.count("review created"), 2);
    EXPECT_EQ(services.count("graph created"), 1) << "the graph page lives until the session closes";

    other->setState(7);
    EXPECT_TRUE(log.hasAssertion("newState >= COLLECT && newState <= REVIEW"));
    EXPECT_EQ(other->getState(), Session::REVIEW);
    EXPECT_EQ(container->shown, services.review);

    services.metronomeSignal.emit();
    EXPECT_EQ(other->getRecord().Metronome, 1);
    EXPECT_EQ(services.review->metronomeTicks, 1);
    other->close();
    session->close();
}

TEST_F(SessionTest, ReplayReadsItsFileAndIsFinishedFromTheStart)
{
    SessionRecord record;
    record.Manikin = -1;
    for (int measurements : { -1, 5 }) {
        SCOPED_TRACE(measurements);
        services.log.clear();
        services.replayMeasurements = measurements;
        testsupport::LogCapture replayLog;
        Session replay(record, Algorithm());
        EXPECT_EQ(services.count("read error box"), measurements < 0 ? 1 : 0);
        EXPECT_EQ(replayLog.hasAssertion("read"), measurements < 0);
        EXPECT_TRUE(replay.isFinished());
        EXPECT_TRUE(replay.isReplay());
        EXPECT_EQ(replay.getComm(), nullptr);
        EXPECT_FALSE(replay.isRunning());
        EXPECT_EQ(replay.getName(), L"Tavo Man -1");
        UpdateLog updates;
        replay.addUpdateReceiver(&updates);
        replay.poll();
        replay.poll();
        EXPECT_EQ(updates.indexes, measurements < 0 ? std::vector<int> {} : std::vector<int> { 4 });
        EXPECT_TRUE(replay.askSave());
        EXPECT_EQ(services.count("save question"), 0);
        replay.removeUpdateReceiver(&updates);
        replay.close();
    }
}

TEST_F(SessionTest, EventToolBarFromTheScenario)
{
    services.scenarios["Drill"] = {
        { "Call & check", "Check the airway & breathing", 3 },
        { "Shock", std::string(80, 't'), 5 },
    };
    SessionRecord record;
    record.Scenario = "Drill";
    std::unique_ptr<Session> session = DemoPorts::liveSession(249, record);
    const auto& buttons = session->eventToolBar();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0].name, L"Call && check");
    EXPECT_EQ(buttons[0].toolTip, L"Check the airway && breathing");
    EXPECT_EQ(buttons[0].eventType, 3);
    EXPECT_GT(buttons[0].id, 100000);
    EXPECT_EQ(buttons[1].id, buttons[0].id + 1);
    EXPECT_EQ(Session::nextEventId(), buttons[1].id + 1) << "one counter for the whole program";
    EXPECT_TRUE(log.hasAssertion("button.toolTip.size() < 80"));
    session->close();
}

TEST_F(SessionTest, ValuesOfASampleAndOutOfRange)
{
    std::unique_ptr<Session> session = DemoPorts::liveSession(247);
    Measurement m;
    m.depth = 42;
    m.volume = 0.5;
    m.compressionMark = true;
    session->getCommSession().manData = { Measurement {}, m };
    EXPECT_EQ(session->getCompressionValue(1).value, 42);
    EXPECT_TRUE(session->getCompressionValue(1).mark);
    EXPECT_EQ(session->getVentilationValue(1).value, 0.5);
    EXPECT_FALSE(session->getVentilationValue(1).mark);
    EXPECT_EQ(session->getCompressionValue(2).value, 0);
    EXPECT_TRUE(log.hasAssertion("inRange"));
    session->getCommSession().groups[7] = CompressionGroup { 1, 9, 12, 48, 4.5 };
    ASSERT_NE(session->getCompressionGroup(7), nullptr);
    EXPECT_EQ(session->getCompressionGroup(7)->compressionPercent, 48);
    EXPECT_EQ(session->getCompressionGroup(6), nullptr);
    session->close();
}

} // namespace
