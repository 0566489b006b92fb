// Drawing the live graphs: one 50 ms tick of a class of 32 sessions, each
// with its graph page (two graphs and the time axis) drawing the new sample
// into its images, offscreen; and one full repaint of a ten-minute session.
#include "session/AxisCtrl.h"
#include "session/GraphView.h"
#include "session/Session.h"
#include "session/SessionGraphView.h"
#include "session/SessionManager.h"
#include "session/SessionServices.h"
#include "QuietServices.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using bench::QuietServices;

Measurement sample(int i)
{
    Measurement m;
    m.depth = 25 + 25 * std::sin(i * 0.6);
    m.volume = 0.3 + 0.2 * std::sin(i * 0.05);
    m.compressionMark = i % 97 == 0;
    return m;
}

// A session fed by hand (a replay: it has no port) with its graph page.
struct LiveGraph {
    LiveGraph()
    {
        SessionRecord record;
        record.Manikin = -1;
        session = std::make_unique<Session>(record, Algorithm());
        page = std::make_unique<SessionGraphView>(*session);
        page->resize(1000, 640);
        page->show();
    }
    ~LiveGraph() { page->detach(); }
    void tick()
    {
        auto& data = session->getCommSession().manData;
        data.push_back(sample(static_cast<int>(data.size())));
        session->poll();
    }
    std::unique_ptr<Session> session;
    std::unique_ptr<SessionGraphView> page;
};

void TickOf32Sessions(benchmark::State& state)
{
    std::vector<std::unique_ptr<LiveGraph>> graphs;
    for (int k = 0; k < 32; ++k)
        graphs.push_back(std::make_unique<LiveGraph>());
    for (auto _ : state) {
        for (auto& graph : graphs)
            graph->tick();
        QCoreApplication::processEvents(); // the windows repaint their new columns
    }
}
BENCHMARK(TickOf32Sessions)->Unit(benchmark::kMillisecond)->Iterations(2000);

void FullRepaintOfTenMinutes(benchmark::State& state)
{
    LiveGraph graph;
    auto& data = graph.session->getCommSession().manData;
    for (int i = 0; i < 20 * 600; ++i)
        data.push_back(sample(i));
    graph.session->poll();
    graph.page->axis()->setMouseMode(AxisCtrl::ZOOM_ALL);
    for (auto _ : state) {
        graph.page->ventilationView()->redraw();
        graph.page->compressionView()->redraw();
    }
}
BENCHMARK(FullRepaintOfTenMinutes)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QuietServices services;
    setSessionServices(&services);
    SessionManager manager;
    sessionManager = &manager;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    sessionManager = nullptr;
    setSessionServices(nullptr);
    return 0;
}
