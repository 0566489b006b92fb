#pragma once
#include <string>

namespace sim {

// A temporary ports folder, made the program's ports folder ($TAVO_PORTS_DIR)
// for as long as it lives.
class PortsFolder {
public:
    PortsFolder();
    ~PortsFolder();
    PortsFolder(const PortsFolder&) = delete;
    PortsFolder& operator=(const PortsFolder&) = delete;

    const std::string& path() const { return folder; }
    // Links COM<port> to an arbitrary path (a missing device, say).
    bool link(int port, const std::string& target) const;

private:
    std::string folder;
    std::string previous;
    bool hadPrevious = false;
};

// Another program holding a device open and locked, as long as this lives.
class OtherProgramHolding {
public:
    explicit OtherProgramHolding(const std::string& devicePath);
    ~OtherProgramHolding();
    OtherProgramHolding(const OtherProgramHolding&) = delete;
    OtherProgramHolding& operator=(const OtherProgramHolding&) = delete;
    // Whether the other program got the device and its lock.
    bool holds() const { return holding; }
    void release();

private:
    int child = -1;
    int releasePipe = -1;
    bool holding = false;
};

} // namespace sim
