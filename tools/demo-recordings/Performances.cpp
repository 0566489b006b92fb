#include "Performances.h"

#include "Trainee.h"

#include <fstream>

namespace demo {

namespace {

// Rest around a series of compressions: hands on and off the chest.
constexpr int handsMove = 6;
// Rest between the two breaths of a pair.
constexpr int breathGap = 7;
// The hesitation of set 0 between its breaths and its second series.
constexpr int hesitation = 120;

Stroke goodStroke(Random& rng)
{
    Stroke s;
    s.period = 11 + rng.below(2); // 100 to 109 per minute
    s.depthMm = rng.between(42.0, 48.0);
    return s;
}

std::vector<Stroke> goodSeries(Random& rng, int count)
{
    std::vector<Stroke> strokes;
    for (int i = 0; i < count; ++i)
        strokes.push_back(goodStroke(rng));
    return strokes;
}

Breath goodBreath(Random& rng)
{
    Breath b;
    b.volumeL = rng.between(0.52, 0.58);
    b.rise = 11 + rng.below(3);
    b.fall = 12 + rng.below(3);
    return b;
}

std::vector<Breath> goodPair(Random& rng) { return { goodBreath(rng), goodBreath(rng) }; }

void writeBytes(std::ofstream& out, const std::vector<std::uint8_t>& bytes)
{
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* error)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    writeBytes(out, bytes);
    out.close();
    if (!out) {
        if (error)
            *error = "cannot write " + path;
        return false;
    }
    return true;
}

bool writeTruth(const std::string& path, const GroundTruth& truth, std::string* error)
{
    std::ofstream out(path, std::ios::trunc);
    writeGroundTruth(out, truth);
    out.close();
    if (!out) {
        if (error)
            *error = "cannot write " + path;
        return false;
    }
    return true;
}

Recording goodCpr()
{
    Trainee t(16, 24, 101);
    Random& rng = t.random();
    t.rest(handsMove);
    t.ventilations(goodPair(rng), breathGap);
    for (int cycle = 0; cycle < 3; ++cycle) {
        t.rest(handsMove);
        t.compressions(goodSeries(rng, 30));
        t.rest(handsMove);
        if (cycle < 2)
            t.ventilations(goodPair(rng), breathGap);
    }
    // The recording plays in a loop: its start (rest and two breaths) follows
    // the last series.
    return t.finish("good CPR, 30:2 with two ventilations", demoSetSamples);
}

Recording handMistakes()
{
    Trainee t(12, 18, 202);
    Random& rng = t.random();
    t.rest(handsMove);

    // Too fast (about 133 per minute), and shallow once the trainee tires.
    std::vector<Stroke> hurried;
    for (int i = 0; i < 30; ++i) {
        Stroke s;
        s.period = 9;
        s.depthMm = i < 10 ? rng.between(41.0, 45.0) : rng.between(31.0, 36.0);
        hurried.push_back(s);
    }
    t.compressions(hurried);
    t.rest(handsMove);
    t.ventilations(goodPair(rng), breathGap);
    t.rest(handsMove);

    // Good rate and depth, but leaning on the chest after compressions 9 to 18.
    std::vector<Stroke> leaning = goodSeries(rng, 30);
    for (int i = 8; i < 18; ++i)
        leaning[i].releaseMm = rng.between(9.0, 12.0);
    t.compressions(leaning);
    t.rest(handsMove);
    t.ventilations(goodPair(rng), breathGap);
    t.rest(handsMove);

    // Too deep at first, then the hands slip off the sternum for compressions 14 to 21.
    std::vector<Stroke> slipping = goodSeries(rng, 30);
    for (int i = 0; i < 6; ++i)
        slipping[i].depthMm = rng.between(53.0, 57.0);
    for (int i = 13; i < 21; ++i)
        slipping[i].wrongHand = true;
    t.compressions(slipping);
    t.rest(handsMove);
    t.ventilations(goodPair(rng), breathGap);
    return t.finish("mistakes of the hands: too fast and shallow, leaning, too deep, wrong hand position",
                    demoSetSamples);
}

Recording breathAndRhythmMistakes()
{
    Trainee t(10, 30, 303);
    Random& rng = t.random();
    t.rest(handsMove);
    t.compressions(goodSeries(rng, 30));
    t.rest(handsMove);

    // Too much air too fast, which inflates the stomach, then too little;
    // then a hesitation before the hands go back on the chest, long enough
    // for a long pause between the two series, short enough for the first
    // series to be closed, with its compression share, within 30 seconds.
    Breath large;
    large.volumeL = 0.86;
    large.rise = 16;
    large.fall = 18;
    large.stomachInflation = true;
    Breath small;
    small.volumeL = 0.30;
    small.rise = 12;
    small.fall = 12;
    t.ventilations({ large, small }, breathGap);
    t.rest(hesitation);

    // Too slow: 75 per minute.
    std::vector<Stroke> slow = goodSeries(rng, 30);
    for (Stroke& s : slow)
        s.period = 16;
    t.compressions(slow);
    t.rest(handsMove);

    // A breath of the right size that still goes to the stomach (the head
    // not tilted back), and a good one.
    std::vector<Breath> pair = goodPair(rng);
    pair[0].stomachInflation = true;
    for (Breath& b : pair) {
        b.rise += 4;
        b.fall += 4;
    }
    t.ventilations(pair, breathGap);
    // The recording plays in a loop: the rest up to its end and its start
    // make the pause before the first series, a long one as well.
    return t.finish("mistakes of the breaths and the rhythm: stomach inflation, too much and too little "
                    "air, long pauses, too slow",
                    demoSetSamples);
}

bool has(const std::vector<Mistake>& list, Mistake m)
{
    for (Mistake x : list)
        if (x == m)
            return true;
    return false;
}

} // namespace

std::array<int, 3> demoSetResources(int set)
{
    switch (set) {
    case 0:
        return { 169, 170, 171 };
    case 1:
        return { 177, 174, 173 };
    default:
        return { 175, 172, 176 };
    }
}

Recording demoSet(int set)
{
    Recording r = set == 1 ? goodCpr() : set == 2 ? handMistakes() : breathAndRhythmMistakes();
    r.truth.resources = demoSetResources(set);
    return r;
}

const std::vector<Mistake>& allMistakes()
{
    static const std::vector<Mistake> all { Mistake::Shallow,   Mistake::TooDeep,          Mistake::TooFast,
                                            Mistake::TooSlow,   Mistake::Leaning,          Mistake::WrongHand,
                                            Mistake::StomachInflation, Mistake::SmallBreath, Mistake::LargeBreath,
                                            Mistake::LongPause };
    return all;
}

const char* mistakeName(Mistake m)
{
    switch (m) {
    case Mistake::Shallow:
        return "shallow";
    case Mistake::TooDeep:
        return "deep";
    case Mistake::TooFast:
        return "fast";
    case Mistake::TooSlow:
        return "slow";
    case Mistake::Leaning:
        return "leaning";
    case Mistake::WrongHand:
        return "wrong-hand";
    case Mistake::StomachInflation:
        return "stomach-inflation";
    case Mistake::SmallBreath:
        return "small-breath";
    case Mistake::LargeBreath:
        return "large-breath";
    case Mistake::LongPause:
        return "long-pause";
    }
    return "";
}

std::optional<Mistake> mistakeFromName(const std::string& name)
{
    for (Mistake m : allMistakes())
        if (name == mistakeName(m))
            return m;
    return std::nullopt;
}

Recording perform(const PerformanceOptions& options)
{
    // Rest kept at the end, so that the last movement is complete and the
    // recording loops at rest.
    constexpr int tail = 10;
    const int length = std::max(options.length, 1);
    Trainee t(options.zeroCompression, options.zeroVentilation, options.seed);
    Random& rng = t.random();
    auto fits = [&](int samples) { return t.position() + samples + tail <= length; };

    std::string title = "30:2 performance";
    for (std::size_t i = 0; i < options.mistakes.size(); ++i)
        title += (i == 0 ? ", mistakes in odd cycles: " : ", ") + std::string(mistakeName(options.mistakes[i]));

    if (fits(handsMove))
        t.rest(handsMove);
    std::vector<Breath> initial = goodPair(rng);
    if (fits(Trainee::duration(initial, breathGap)))
        t.ventilations(initial, breathGap);

    for (int cycle = 0;; ++cycle) {
        const bool wrong = cycle % 2 == 1;
        auto made = [&](Mistake m) { return wrong && has(options.mistakes, m); };

        std::vector<Stroke> strokes = goodSeries(rng, 30);
        for (int i = 0; i < 30; ++i) {
            Stroke& s = strokes[i];
            if (made(Mistake::TooFast))
                s.period = 9;
            if (made(Mistake::TooSlow))
                s.period = 15;
            if (i >= 10 && i < 20) {
                if (made(Mistake::Shallow))
                    s.depthMm = rng.between(30.0, 36.0);
                if (made(Mistake::Leaning))
                    s.releaseMm = rng.between(9.0, 12.0);
                if (made(Mistake::WrongHand))
                    s.wrongHand = true;
            }
            if (i >= 20 && i < 25 && made(Mistake::TooDeep))
                s.depthMm = rng.between(54.0, 58.0);
        }
        if (!fits(handsMove + Trainee::duration({ strokes.front(), strokes.front() })))
            break;
        t.rest(handsMove);
        std::size_t count = strokes.size();
        while (!fits(Trainee::duration(std::vector<Stroke>(strokes.begin(), strokes.begin() + count))))
            --count;
        strokes.resize(count);
        t.compressions(strokes);
        if (count < 30)
            break;

        std::vector<Breath> pair = goodPair(rng);
        if (made(Mistake::StomachInflation))
            pair[0].stomachInflation = true;
        if (made(Mistake::LargeBreath))
            pair[0].volumeL = 0.85;
        if (made(Mistake::SmallBreath))
            pair[1].volumeL = 0.30;
        if (!fits(handsMove + Trainee::duration(pair, breathGap)))
            break;
        t.rest(handsMove);
        t.ventilations(pair, breathGap);
        if (made(Mistake::LongPause)) {
            if (!fits(12 * samplesPerSecond))
                break;
            t.rest(12 * samplesPerSecond);
        }
    }
    return t.finish(title, length);
}

bool writeRecording(const Recording& recording, const std::string& folder, const std::string& name,
                    std::string* error)
{
    const std::string base = folder + "/" + name;
    return writeFile(base + ".compression.bin", recording.compression, error)
        && writeFile(base + ".ventilation.bin", recording.ventilation, error)
        && writeFile(base + ".status.bin", recording.status, error)
        && writeTruth(base + ".csv", recording.truth, error);
}

bool writeDemoSets(const std::string& folder, std::string* error)
{
    for (int set = 0; set < demoSetCount; ++set) {
        Recording r = demoSet(set);
        auto ids = demoSetResources(set);
        if (!writeFile(folder + "/" + std::to_string(ids[0]) + ".bin", r.compression, error)
            || !writeFile(folder + "/" + std::to_string(ids[1]) + ".bin", r.ventilation, error)
            || !writeFile(folder + "/" + std::to_string(ids[2]) + ".bin", r.status, error)
            || !writeTruth(folder + "/set" + std::to_string(set) + ".csv", r.truth, error))
            return false;
    }
    return true;
}

} // namespace demo
