// The measurement pipeline from raw samples to finished statistics: one
// manikin, a class of 32 manikins, and the statistics of an hour's recording.
#include "Database/Algorithm.h"
#include "comm/Comm.h"
#include "comm/CommSession.h"
#include "comm/SerialPort.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int samplesPerHour = 20 * 60 * 60;

// A trainee at work, in the units of a manikin interface of kind 1: cycles of
// 30 compressions at about 100 to 120 per minute and two breaths, a pause now
// and then, a few wrong hand positions, leanings and stomach inflations.
std::vector<RawSample> recording(int samples)
{
    std::vector<RawSample> out;
    out.reserve(samples);
    unsigned seed = 2024;
    auto next = [&seed](unsigned range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    auto rest = [&](int n) {
        for (int i = 0; i < n; ++i)
            out.push_back({ static_cast<int>(next(5)), static_cast<int>(next(5)), 76 });
    };
    while (static_cast<int>(out.size()) < samples) {
        for (int k = 0; k < 30; ++k) {
            const int width = 7 + static_cast<int>(next(3));
            const int peak = 170 + static_cast<int>(next(50));
            const int status = next(20) == 0 ? 204 : 76;
            const int floor = next(25) == 0 ? 30 : 0; // leaning
            for (int i = 1; i <= width; ++i) {
                const double s = std::sin(3.141592653589793 * i / (width + 1));
                out.push_back({ floor + static_cast<int>(peak * s * s), 0, status });
            }
            rest(2 + static_cast<int>(next(2)));
        }
        rest(20);
        for (int b = 0; b < 2; ++b) {
            const int peak = 40 + static_cast<int>(next(40));
            const int status = next(10) == 0 ? 12 : 76;
            for (int i = 1; i <= 14; ++i)
                out.push_back({ 0, peak * i / 14, status });
            for (int i = 11; i >= 0; --i)
                out.push_back({ 0, peak * i / 12, status });
            rest(4);
        }
        rest(next(4) == 0 ? 200 : 20);
    }
    out.resize(samples);
    return out;
}

Algorithm guideline()
{
    Algorithm a;
    a.ventCompRatioSingleComp = 30;
    a.ventCompRatioSingleVent = 2;
    return a;
}

// One live manikin: its port, acquisition and session.
struct Manikin {
    explicit Manikin(const Algorithm* algorithm)
        : comm(&port)
    {
        session.setAlgorithm(algorithm);
        session.attach(&comm);
    }
    SerialPort port;
    Comm comm;
    CommSession session;
};

// Every tick each manikin delivers one sample and is processed; at the end
// every session computes its statistics. The manikins stay from one round to
// the next, as at a training station: attach starts each session afresh but
// keeps the memory its histories had, so the figure is the processing itself.
void runClass(benchmark::State& state, int manikins, bool newSessions)
{
    const int samples = static_cast<int>(state.range(0));
    const std::vector<RawSample> raw = recording(samples);
    const Algorithm algorithm = guideline();
    std::vector<std::unique_ptr<Manikin>> room;
    for (auto _ : state) {
        if (newSessions || room.empty()) {
            room.clear();
            for (int m = 0; m < manikins; ++m)
                room.push_back(std::make_unique<Manikin>(&algorithm));
        } else {
            for (auto& m : room)
                m->session.attach(&m->comm);
        }
        for (const RawSample& sample : raw)
            for (auto& m : room) {
                m->comm.sampleQueue.push_back(sample);
                m->session.process();
            }
        for (auto& m : room) {
            m->session.finish();
            benchmark::DoNotOptimize(m->session.nrCompressions);
        }
    }
    state.SetItemsProcessed(state.iterations() * samples * manikins);
}

void PipelineOneManikin(benchmark::State& state) { runClass(state, 1, false); }
void Pipeline32Manikins(benchmark::State& state) { runClass(state, 32, false); }
// The same with new sessions every round: their histories grow in fresh memory.
void PipelineOneManikinNewSession(benchmark::State& state) { runClass(state, 1, true); }

// finish on an hour already measured: the detectors run again over all of it.
void StatisticsOfAnHour(benchmark::State& state)
{
    const Algorithm algorithm = guideline();
    Manikin manikin(&algorithm);
    const std::vector<RawSample> raw = recording(samplesPerHour);
    manikin.comm.sampleQueue.assign(raw.begin(), raw.end());
    manikin.session.process();
    for (auto _ : state) {
        manikin.session.finish();
        benchmark::DoNotOptimize(manikin.session.nrRatioCorrect);
    }
    state.counters["compressions"] = manikin.session.nrCompressions;
    state.counters["ventilations"] = manikin.session.nrVentilations;
    state.SetItemsProcessed(state.iterations() * samplesPerHour);
}

} // namespace

BENCHMARK(PipelineOneManikin)->Arg(samplesPerHour)->Unit(benchmark::kMillisecond);
BENCHMARK(Pipeline32Manikins)->Arg(samplesPerHour / 6)->Unit(benchmark::kMillisecond);
BENCHMARK(PipelineOneManikinNewSession)->Arg(samplesPerHour)->Unit(benchmark::kMillisecond);
BENCHMARK(StatisticsOfAnHour)->Unit(benchmark::kMillisecond);
