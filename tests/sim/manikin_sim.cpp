// Plays a simulated device on a pseudo-terminal linked as COM<port>, for
// trying the program by hand:  manikin-sim --kind 1|2|3 --port N [--ports-dir DIR]
#include "platform/SerialLine.h"
#include "sim/ControllerDevice.h"
#include "sim/HandshakeDevices.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>

namespace {
volatile std::sig_atomic_t stopRequested = 0;
void onSignal(int) { stopRequested = 1; }
} // namespace

int main(int argc, char** argv)
{
    int kind = 1;
    int port = 1;
    std::string folder = platform::SerialLine::portsFolder();
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--kind"))
            kind = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--port"))
            port = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--ports-dir"))
            folder = argv[i + 1];
        else {
            std::fprintf(stderr, "usage: %s --kind 1|2|3 --port N [--ports-dir DIR]\n", argv[0]);
            return 2;
        }
    }
    if (kind < 1 || kind > 3 || port < 1 || port > 256) {
        std::fprintf(stderr, "kind must be 1 to 3 and port 1 to 256\n");
        return 2;
    }
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);

    std::unique_ptr<sim::Device> device;
    if (kind == 3)
        device = std::make_unique<sim::FramedDevice>(folder, port);
    else if (kind == 2)
        device = std::make_unique<sim::ControllerDevice>(folder, port);
    else
        device = std::make_unique<sim::QueryDevice>(folder, port);
    if (!device->start()) {
        std::fprintf(stderr, "could not create the device in %s\n", folder.c_str());
        return 1;
    }
    std::printf("COM%d -> %s (kind %d); Ctrl+C ends\n", port, device->devicePath().c_str(), kind);
    std::fflush(stdout);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    while (!stopRequested)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    device->stop();
    std::filesystem::remove(folder + "/COM" + std::to_string(port), ignored);
    return 0;
}
