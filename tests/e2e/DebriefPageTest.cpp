// The whole road in the program on the offscreen platform: a session on each
// demonstration set (good CPR, mistakes of the hands, mistakes of the breaths
// and the rhythm) runs to its set duration, and its tab then shows the
// debriefing page, whose rows say what the recording's ground truth says the
// trainee did, right and wrong.
#include "DbTestSupport.h"
#include "comm/CalibrateManager.h"
#include "comm/Comm.h"
#include "comm/CommSettings.h"
#include "e2e/Playback.h"
#include "e2e/Truth.h"
#include "platformqt/MessageBox.h"
#include "session/MainFrame.h"
#include "session/Session.h"
#include "session/SessionDebriefView.h"
#include "session/SessionManager.h"
#include "session/TrainingApp.h"
#include "support/ProgramHome.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

using namespace testsupport;

namespace {

std::wstring number(int n) { return std::to_wstring(n); }

// An evaluation in the counts form: the OK part, then each fault part above 0.
std::wstring evaluation(int ok, const wchar_t* okWord, std::initializer_list<std::pair<int, const wchar_t*>> faults)
{
    std::wstring text = number(ok) + L" " + okWord;
    for (const auto& [count, word] : faults)
        if (count > 0)
            text += L" / " + number(count) + L" " + word;
    return text;
}

class DebriefPageTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        home = new ProgramHome;
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
        platform::setMessageBoxHook(previousHook);
        delete home;
    }

    // A session of this length on the port, with the judgement's guideline
    // and training mode, shown and started.
    static Session* startSession(int port, int seconds, const e2e::Judgement& judgement)
    {
        SessionRecord record;
        record.Manikin = port;
        record.Duration = seconds;
        record.TrainingMode = judgement.trainingMode;
        auto* session = new Session(record, judgement.algorithm);
        sessionManager->add(session);
        sessionManager->showSessionView();
        QCoreApplication::processEvents();
        session->start();
        return session;
    }

    static inline ProgramHome* home = nullptr;
    static inline TrainingApp* app = nullptr;
    static inline bool started = false;
    static inline platform::MessageBoxHook previousHook;
};

TEST_F(DebriefPageTest, DemonstrationSessionsEndOnTheirDebriefingWithTheMistakesOfTheirRecording)
{
    ASSERT_TRUE(started);
    struct Case {
        int set;
        int port; // the demonstration port that plays the set
        const char* shows;
        bool checksRegistered; // shake and shout, pulse, breathing and head tilt before the first movement
        std::wstring advice;
    };
    // No scenario event is registered: every check counts as forgotten. Only
    // set 1 starts with its initial ventilations.
    const std::wstring breathing = L"Remember to check for breathing before ventilating.";
    const std::wstring initial = L"Remember the initial ventilations.";
    const std::wstring shake = L"Remember to shake and shout before starting basic life support.";
    const std::wstring headTilt = L"Remember to perform headtilt before ventilating.";
    const Case cases[] = {
        { 1, 247, "good", false, breathing + L"\n" + shake + L"\n" + headTilt },
        { 1, 247, "good-with-checks", true, L"" },
        { 2, 248, "hands-mistakes", false, breathing + L"\n" + initial + L"\n" + shake },
        { 0, 249, "breaths-and-rhythm-mistakes", false, breathing + L"\n" + initial + L"\n" + shake },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("set " + std::to_string(c.set));
        const demo::Recording recording = e2e::committedDemoSet(c.set);
        ASSERT_TRUE(recording.truth.resources.has_value());
        const e2e::Judgement judgement;
        std::map<std::string, int> truth;
        for (const auto& [name, value] : e2e::expectedCounts(recording, judgement))
            truth[name] = value;

        // The session runs to a duration that covers the recording's last
        // movement and ends while the next loop is still at rest.
        CalibrateManager& ports = CalibrateManager::get();
        ASSERT_TRUE(ports.getIsCalibrated(c.port));
        Comm handshake(ports.getSerialPort(c.port));
        handshake.open(c.port);
        Session* session = startSession(c.port, 64, judgement);
        for (int tick = 0; tick < 4000 && !session->isFinished(); ++tick) {
            sessionManager->poll();
            // The recordings rest for their first samples.
            if (c.checksRegistered && tick == 2)
                for (int type : { 1, 2, 4, 5 })
                    session->ventilationDoc.addEvent(Session::nextEventId(), L"check", L"", type);
            if (tick % 20 == 0)
                QCoreApplication::processEvents();
        }
        ASSERT_TRUE(session->isFinished());
        EXPECT_EQ(session->getState(), Session::DEBRIEF);
        QCoreApplication::processEvents();

        auto* handle = dynamic_cast<DebriefPageHandle*>(session->debriefPage());
        ASSERT_NE(handle, nullptr);
        SessionDebriefView* page = handle->page();
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(page->isVisible()) << "the ended session shows its debriefing in its tab";
        EXPECT_EQ(page->abortButton()->text(), QStringLiteral("Close"));
        EXPECT_TRUE(page->reviewButton()->isVisibleTo(page));

        std::map<int, int> reportRow;
        for (int k = 0; k < page->report()->getItemCount(); ++k)
            if (page->rowOf(k) >= 0)
                reportRow[page->rowOf(k)] = k;
        auto cell = [&](int row, int column) {
            if (!reportRow.count(row))
                return std::wstring(L"(row not shown)");
            return page->report()->getItemText(reportRow[row], column).toStdWString();
        };
        enum { TOTAL = 2, EVALUATION = 5 };
        const int compressions = truth["nrCompressions"];
        const int ventilations = truth["nrVentilations"];
        EXPECT_EQ(cell(COMPRESSION_DEPTH, TOTAL), number(compressions));
        EXPECT_EQ(cell(COMPRESSION_DEPTH, EVALUATION),
                  evaluation(truth["nrDepthOK"], L"OK",
                             { { truth["nrDepthLow"], L"superficial" }, { truth["nrDepthHigh"], L"deep" } }));
        EXPECT_EQ(cell(ECC_RATE, EVALUATION),
                  evaluation(truth["compFreqOK"], L"OK groups",
                             { { truth["compFreqLow"], L"low" }, { truth["compFreqHigh"], L"high" } }));
        EXPECT_EQ(cell(LEANING, TOTAL), number(truth["nrLeanings"]));
        EXPECT_EQ(cell(LEANING, EVALUATION),
                  evaluation(compressions - truth["nrLeanings"], L"OK", { { truth["nrLeanings"], L"wrong" } }));
        EXPECT_EQ(cell(WRONG_HAND, TOTAL), number(truth["nrWrongHand"]));
        EXPECT_EQ(cell(WRONG_HAND, EVALUATION),
                  evaluation(compressions - truth["nrWrongHand"], L"OK", { { truth["nrWrongHand"], L"wrong" } }));
        EXPECT_EQ(cell(VENTILATION_VOLUME, TOTAL), number(ventilations));
        EXPECT_EQ(cell(VENTILATION_VOLUME, EVALUATION),
                  evaluation(truth["nrVolumeOK"], L"OK",
                             { { truth["nrVolumeLow"], L"low" }, { truth["nrVolumeHigh"], L"high" } }));
        EXPECT_EQ(cell(STOMACH_INFLATION, TOTAL), number(truth["nrStomachInflations"]));
        EXPECT_EQ(cell(STOMACH_INFLATION, EVALUATION),
                  evaluation(ventilations - truth["nrStomachInflations"], L"OK",
                             { { truth["nrStomachInflations"], L"wrong" } }));
        EXPECT_EQ(cell(ECC_PAUSE, TOTAL), number(truth["nrCompGroups"] - 1));
        EXPECT_EQ(cell(COMP_VENT_RATIO, TOTAL), number(truth["nrRatioCycles"]));
        EXPECT_EQ(cell(COMP_VENT_RATIO, EVALUATION),
                  evaluation(truth["nrRatioCorrect"], L"OK", { { truth["nrRatioCycles"] - truth["nrRatioCorrect"], L"wrong" } }));
        // The gauges sit at the figures the rows show.
        EXPECT_EQ(page->gauge(LEANING).value, truth["nrLeanings"] * 100.0 / compressions);
        EXPECT_EQ(page->gauge(WRONG_HAND).value, truth["nrWrongHand"] * 100.0 / compressions);
        // The advice row, last, shows the session's advice.
        EXPECT_EQ(page->report()->getItemData(page->report()->getItemCount() - 1), 1);
        EXPECT_EQ(session->adviceText(), c.advice);

        QDir().mkpath(QStringLiteral(ARTEFACT_DIR));
        app->mainFrame()->resize(1100, 700);
        QCoreApplication::processEvents();
        app->mainFrame()->grab().save(QStringLiteral(ARTEFACT_DIR "/debriefing-") + QString::fromLatin1(c.shows)
                                      + QStringLiteral(".png"));

        session->close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(sessionManager->getCount(), 0);
    }
}

// The shortest session the New session form offers, on each demonstration
// manikin: its first compression series has ended well within 30 seconds, so
// the page shows the compression share of the cycles, within the guideline.
TEST_F(DebriefPageTest, AThirtySecondSessionShowsTheCompressionShareOfItsCycles)
{
    ASSERT_TRUE(started);
    for (int port : { 247, 248, 249 }) {
        SCOPED_TRACE("port " + std::to_string(port));
        const e2e::Judgement judgement;
        CalibrateManager& ports = CalibrateManager::get();
        ASSERT_TRUE(ports.getIsCalibrated(port));
        Comm handshake(ports.getSerialPort(port));
        handshake.open(port);
        Session* session = startSession(port, 30, judgement);
        for (int tick = 0; tick < 1000 && !session->isFinished(); ++tick) {
            sessionManager->poll();
            if (tick % 20 == 0)
                QCoreApplication::processEvents();
        }
        ASSERT_TRUE(session->isFinished());
        QCoreApplication::processEvents();
        auto* handle = dynamic_cast<DebriefPageHandle*>(session->debriefPage());
        ASSERT_NE(handle, nullptr);
        SessionDebriefView* page = handle->page();
        ASSERT_NE(page, nullptr);
        int row = -1;
        for (int k = 0; k < page->report()->getItemCount(); ++k)
            if (page->rowOf(k) == COMP_RELAX_RATIO)
                row = k;
        ASSERT_GE(row, 0);
        const std::wstring share = page->report()->getItemText(row, 3).toStdWString();
        const std::wstring evaluation = page->report()->getItemText(row, 5).toStdWString();
        const int percent = std::stoi(share);
        EXPECT_GE(percent, judgement.algorithm.compRelaxLow) << share;
        EXPECT_LE(percent, judgement.algorithm.compRelaxHigh) << share;
        EXPECT_EQ(evaluation.find(L"Not OK"), std::wstring::npos) << evaluation;
        if (port == 249) {
            QDir().mkpath(QStringLiteral(ARTEFACT_DIR));
            app->mainFrame()->resize(1100, 700);
            QCoreApplication::processEvents();
            app->mainFrame()->grab().save(QStringLiteral(ARTEFACT_DIR "/debriefing-30-seconds-port-249.png"));
        }
        session->close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(sessionManager->getCount(), 0);
    }
}

} // namespace
