#pragma once
// The training program as the splash program's child: started with a pipe on
// which it reports that its window is up, polled without ever waiting.
#include <string>
#include <sys/types.h>
#include <vector>

namespace splash {

class Child {
public:
    virtual ~Child() = default;
    // Starts `program` with `arguments` (not counting the program's name).
    virtual bool start(const std::string& program, const std::vector<std::string>& arguments) = 0;
    // False once the child has ended (or was never started).
    virtual bool isRunning() = 0;
    // The values the child has sent since the last call, in order.
    virtual std::vector<unsigned> takeMessages() = 0;
};

class ChildProcess : public Child {
public:
    ChildProcess() = default;
    ~ChildProcess() override;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool start(const std::string& program, const std::vector<std::string>& arguments) override;
    bool isRunning() override;
    std::vector<unsigned> takeMessages() override;

private:
    pid_t pid = -1;
    bool ended = false;
    int readEnd = -1;
    std::string pending;
};

} // namespace splash
