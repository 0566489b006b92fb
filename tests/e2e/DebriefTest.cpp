// The debriefing rows of the demonstration sets: their figures are those the
// ground truth of each set gives, and a session of any length the user may
// choose evaluates as the set's name says.
#include "e2e/Playback.h"
#include "e2e/Truth.h"
#include "session/DebriefRows.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

std::wstring number(int n) { return std::to_wstring(n); }

std::wstring threeParts(int ok, int low, const wchar_t* lowWord, int high, const wchar_t* highWord)
{
    std::wstring text = number(ok) + L" OK";
    if (low > 0)
        text += L" / " + number(low) + L" " + lowWord;
    if (high > 0)
        text += L" / " + number(high) + L" " + highWord;
    return text;
}

} // namespace

TEST(DemonstrationDebriefing, RowsShowTheGroundTruthOfEachSet)
{
    int port = 247;
    for (int set : { 0, 1, 2 }) {
        const demo::Recording r = e2e::committedDemoSet(set);
        const e2e::Judgement judgement;
        std::map<std::string, int> truth;
        for (const auto& [name, value] : e2e::expectedCounts(r, judgement))
            truth[name] = value;

        e2e::DemoPortSession played(port++, *r.truth.resources, judgement);
        ASSERT_EQ(played.openResult, SerialPort::OPEN_OK);
        played.play(r.truth.samples);
        DebriefRows rows(judgement.algorithm, static_cast<TrainingMode>(judgement.trainingMode), DebriefOptions(),
                         debriefStats(played.session));

        auto texts = [&rows](int row) {
            std::array<std::wstring, 3> t { L" ", L" ", L" " };
            rows.rowTexts(row, t[0], t[1], t[2]);
            return t;
        };
        const int ventilations = truth["nrVentilations"];
        SCOPED_TRACE("set " + std::to_string(set));
        EXPECT_EQ(texts(COMPRESSION_DEPTH)[0], number(truth["nrCompressions"]));
        EXPECT_EQ(texts(COMPRESSION_DEPTH)[2],
                  threeParts(truth["nrDepthOK"], truth["nrDepthLow"], L"superficial", truth["nrDepthHigh"], L"deep"));
        EXPECT_EQ(texts(VENTILATION_VOLUME)[0], number(ventilations));
        if (ventilations > 0)
            EXPECT_EQ(texts(VENTILATION_VOLUME)[2],
                      threeParts(truth["nrVolumeOK"], truth["nrVolumeLow"], L"low", truth["nrVolumeHigh"], L"high"));
        EXPECT_EQ(texts(COMP_VENT_RATIO)[0], number(truth["nrRatioCycles"]));
        EXPECT_EQ(texts(WRONG_HAND)[0], number(truth["nrWrongHand"]));
        EXPECT_EQ(texts(LEANING)[0], number(truth["nrLeanings"]));
        EXPECT_EQ(texts(STOMACH_INFLATION)[0], number(truth["nrStomachInflations"]));
        EXPECT_EQ(texts(ECC_PAUSE)[0], number(truth["nrCompGroups"] > 0 ? truth["nrCompGroups"] - 1 : 0));
        EXPECT_EQ(texts(ECC_RATE)[2],
                  L"" + number(truth["compFreqOK"]) + L" OK groups" +
                      (truth["compFreqLow"] > 0 ? L" / " + number(truth["compFreqLow"]) + L" low" : L"") +
                      (truth["compFreqHigh"] > 0 ? L" / " + number(truth["compFreqHigh"]) + L" high" : L""));
    }
}

namespace {

struct SetShows {
    int set;
    const char* name;
    std::vector<int> clean;                                   // rows without any fault
    std::vector<std::pair<int, const wchar_t*>> never;        // a fault a row must not show
    std::vector<std::pair<int, const wchar_t*>> mistakes;     // shown from a minute on
};

const std::vector<SetShows>& setsShow()
{
    static const std::vector<SetShows> all {
        { 1, "good CPR",
          { COMPRESSION_DEPTH, COMP_RELAX_RATIO, ECC_RATE, LEANING, WRONG_HAND, VENTILATION_VOLUME,
            STOMACH_INFLATION, ECC_PAUSE, COMP_VENT_RATIO },
          {}, {} },
        { 2, "mistakes of the hands",
          { COMP_RELAX_RATIO, VENTILATION_VOLUME, STOMACH_INFLATION, ECC_PAUSE, COMP_VENT_RATIO },
          { { ECC_RATE, L"low" } },
          { { COMPRESSION_DEPTH, L"superficial" }, { COMPRESSION_DEPTH, L"deep" }, { LEANING, L"wrong" },
            { WRONG_HAND, L"wrong" }, { ECC_RATE, L"high" } } },
        { 0, "mistakes of the breaths and the rhythm",
          { COMPRESSION_DEPTH, COMP_RELAX_RATIO, LEANING, WRONG_HAND, COMP_VENT_RATIO },
          { { ECC_RATE, L"high" } },
          { { VENTILATION_VOLUME, L"low" }, { VENTILATION_VOLUME, L"high" }, { STOMACH_INFLATION, L"wrong" },
            { ECC_PAUSE, L"long" }, { ECC_RATE, L"low" } } },
    };
    return all;
}

} // namespace

// A session on a demonstration manikin starts at the beginning of its set and
// lasts as long as the user chose: from 30 seconds to 20 minutes, the
// debriefing shows the set's own mistakes and no others.
TEST(DemonstrationDebriefing, EverySessionLengthEvaluatesAsTheSetIsNamed)
{
    const std::wregex clean(L"\\s*|\\d+ OK( groups)?");
    for (const SetShows& shows : setsShow()) {
        const demo::Recording r = e2e::committedDemoSet(shows.set);
        for (int seconds : { 30, 60, 120, 300, 600, 1200 }) {
            SCOPED_TRACE(std::string(shows.name) + ", " + std::to_string(seconds) + " s");
            const e2e::Judgement judgement;
            e2e::DemoPortSession played(247 + (shows.set + 2) % 3, *r.truth.resources, judgement);
            ASSERT_EQ(played.openResult, SerialPort::OPEN_OK);
            // The session ends on the first sample past its duration.
            played.play(seconds * demo::samplesPerSecond + 1);
            DebriefRows rows(judgement.algorithm, static_cast<TrainingMode>(judgement.trainingMode), DebriefOptions(),
                             debriefStats(played.session));
            auto cells = [&rows](int row) {
                std::array<std::wstring, 3> t { L" ", L" ", L" " };
                rows.rowTexts(row, t[0], t[1], t[2]);
                return t;
            };
            auto evaluation = [&cells](int row) { return cells(row)[2]; };
            for (int row : shows.clean)
                EXPECT_TRUE(std::regex_match(evaluation(row), clean))
                    << DebriefRows::rowName(row) << ": " << cells(row)[1] << ", " << evaluation(row);
            for (const auto& [row, word] : shows.never)
                EXPECT_EQ(evaluation(row).find(word), std::wstring::npos) << DebriefRows::rowName(row) << ": " << evaluation(row);
            if (seconds < 60)
                continue;
            for (const auto& [row, word] : shows.mistakes)
                EXPECT_NE(evaluation(row).find(word), std::wstring::npos) << DebriefRows::rowName(row) << ": " << evaluation(row);
        }
    }
}
