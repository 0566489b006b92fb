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

} // namespace sim
