// The surveillance window with a class of 32 live sessions: one 50 ms tick,
// in which every cell's axis draws the new sample into its two graphs and
// the window repaints the new columns, offscreen.
#include "session/Session.h"
#include "session/SessionManager.h"
#include "session/SessionServices.h"
#include "QuietServices.h"
#include "session/SurveillanceView.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>

namespace {

using bench::QuietServices;

void TickOf32SessionsInTheSurveillanceWindow(benchmark::State& state)
{
    SessionManager manager;
    sessionManager = &manager;
    for (int k = 0; k < 32; ++k) {
        SessionRecord record;
        record.Manikin = -1; // fed by hand below
        manager.add(new Session(record, Algorithm()));
    }
    {
        sessionManagerMultiView view;
        view.resize(1600, 1000);
        view.show();
        QCoreApplication::processEvents();
        int i = 0;
        for (auto _ : state) {
            Measurement m;
            m.depth = 25 + 25 * std::sin(i * 0.6);
            m.volume = 0.3 + 0.2 * std::sin(i * 0.05);
            ++i;
            for (Session* session : manager.sessions()) {
                session->getCommSession().manData.push_back(m);
                session->poll();
            }
            QCoreApplication::processEvents(); // the cells repaint their new columns
        }
    }
    manager.closeAll();
    sessionManager = nullptr;
}
BENCHMARK(TickOf32SessionsInTheSurveillanceWindow)->Unit(benchmark::kMillisecond)->Iterations(2000);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QuietServices services;
    setSessionServices(&services);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    setSessionServices(nullptr);
    return 0;
}
