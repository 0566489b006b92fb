// The port search of the start-up: ports 1 to 256 looked at once, in
// demonstration mode. Argument 0: no serial port at all (every COMn linked
// to a missing device); 1: the machine's own serial devices (ports without a
// link fall back to /dev/ttyS<n-1>).
#include "comm/CalibrateManager.h"
#include "comm/CommSettings.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

void BM_PortSearchDemo(benchmark::State& state)
{
    const std::string ports = std::filesystem::temp_directory_path() / ("tavo-bench-ports-" + std::to_string(::getpid()));
    std::filesystem::create_directories(ports);
    if (state.range(0) == 0)
        for (int port = 1; port <= CalibrateManager::COM_PORTS; ++port)
            std::filesystem::create_symlink("/nonexistent/tty", ports + "/COM" + std::to_string(port));
    ::setenv("TAVO_PORTS_DIR", ports.c_str(), 1);
    CommSettings::setDemoMode(true);
    for (auto _ : state)
        CalibrateManager::get().scanPorts();
    CommSettings::setDemoMode(false);
    std::filesystem::remove_all(ports);
}
BENCHMARK(BM_PortSearchDemo)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
