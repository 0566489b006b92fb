#include "splash/ChildProcess.h"

#include "splash/SplashLogic.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace splash {

ChildProcess::~ChildProcess()
{
    // The child runs on after the splash program ends; only our end of the
    // pipe goes, so that its writes never block or kill it.
    if (readEnd >= 0)
        ::close(readEnd);
}

bool ChildProcess::start(const std::string& program, const std::vector<std::string>& arguments)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return false;
    // Only the write end passes to the child, under a number it finds in
    // its environment.
    const int writeEnd = ::fcntl(ends[1], F_DUPFD, 3);
    ::close(ends[1]);
    if (writeEnd < 0) {
        ::close(ends[0]);
        return false;
    }

    std::vector<std::string> environment;
    const std::string prefix = std::string(splashPipeVariable) + "=";
    for (char** entry = environ; *entry; ++entry)
        if (std::strncmp(*entry, prefix.c_str(), prefix.size()) != 0)
            environment.emplace_back(*entry);
    environment.push_back(prefix + std::to_string(writeEnd));

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    pid_t child = -1;
    const int failed = ::posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), envp.data());
    ::close(writeEnd);
    if (failed != 0) {
        ::close(ends[0]);
        return false;
    }
    pid = child;
    readEnd = ends[0];
    ::fcntl(readEnd, F_SETFL, ::fcntl(readEnd, F_GETFL) | O_NONBLOCK);
    return true;
}

bool ChildProcess::isRunning()
{
    if (pid <= 0 || ended)
        return false;
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid || (done < 0 && errno != EINTR))
        ended = true;
    return !ended;
}

std::vector<unsigned> ChildProcess::takeMessages()
{
    std::vector<unsigned> messages;
    if (readEnd < 0)
        return messages;
    char buffer[64];
    for (;;) {
        const ssize_t got = ::read(readEnd, buffer, sizeof buffer);
        if (got > 0) {
            pending.append(buffer, static_cast<std::size_t>(got));
            continue;
        }
        if (got == 0 || (errno != EINTR)) {
            if (got == 0) {
                ::close(readEnd);
                readEnd = -1;
            }
            break;
        }
    }
    // Each message is one 32-bit value, least significant byte first.
    std::size_t used = 0;
    for (; pending.size() - used >= 4; used += 4) {
        unsigned value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(pending[used + i]);
        messages.push_back(value);
    }
    pending.erase(0, used);
    return messages;
}

} // namespace splash
