// One whole setup sent to a simulated CPR Controller on a pseudo-terminal, at
// the pace of the packet protocol's polls. Argument 0: the unit's icon slots
// are all different from the setup's (every picture is sent); 1: they equal
// it (only the icon numbers are read and written back). The counter
// "requests" is the number of requests the unit received.
#include "CPB/CPBSend.h"
#include "CPB/MemoryMap.h"
#include "CPB/Pointer.h"
#include "comm/SerialPort.h"
#include "config/PropertyModel.h"
#include "sim/ControllerDevice.h"
#include "sim/PortsFolder.h"
#include "sim/SimModemLines.h"

#include <benchmark/benchmark.h>

namespace {

void BM_SendWholeSetup(benchmark::State& state)
{
    constexpr int port = 21;
    sim::PortsFolder ports;
    sim::SimModemLines::install();
    sim::ControllerDevice device(ports.path(), port);
    if (!device.start()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    SerialPort serial;
    serial.portNumber = port;
    const PropertyModel model;
    const CPBAdr icons = Pointer::get(Pointer::ICON_NUMBERS);
    const bool iconsKept = state.range(0) == 1;
    std::size_t requests = 0;
    for (auto _ : state) {
        state.PauseTiming();
        device.poke(icons.bank, icons.getAdr(),
                    iconsKept ? MemoryMap::encodeIconNumbers(model.icons) : sim::Bytes(6, 0xFF));
        device.clearTranscript();
        state.ResumeTiming();
        CPBSend sender;
        if (!sender.transfer(serial, model)) {
            state.SkipWithError("the send failed");
            return;
        }
        requests = device.transcript().size();
    }
    state.counters["requests"] = static_cast<double>(requests);
}
BENCHMARK(BM_SendWholeSetup)->Arg(0)->Arg(1)->Iterations(2)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace
