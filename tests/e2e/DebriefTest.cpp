// The debriefing rows of the demonstration sets: their figures are those the
// ground truth of each set gives.
#include "e2e/Playback.h"
#include "e2e/Truth.h"
#include "session/DebriefRows.h"

#include <gtest/gtest.h>

#include <map>

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
