#include "session/SplashNotice.h"

#include "Utillib/LogStream.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QtGlobal>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

int SplashNotice::descriptorFromEnvironment()
{
    if (!qEnvironmentVariableIsSet(variable))
        return -1;
    const QByteArray fdText = qgetenv(variable);
    // Read once: a program started from here gets no number that means
    // nothing in it.
    qunsetenv(variable);
    if (fdText.isEmpty())
        return -1;
    char* end = nullptr;
    const long fd = std::strtol(fdText.constData(), &end, 10);
    // The splash program never hands over a standard stream.
    if (*end || fd < 3 || fd > 65535)
        return -1;
    // A stale number from another start may name anything now: a serial
    // port, the database's socket, a log file. Only the write end of a pipe
    // is the splash program's; anything else is left alone.
    struct stat status;
    if (::fstat(static_cast<int>(fd), &status) != 0 || !S_ISFIFO(status.st_mode))
        return -1;
    const int access = ::fcntl(static_cast<int>(fd), F_GETFL);
    if (access < 0 || (access & O_ACCMODE) == O_RDONLY)
        return -1;
    return static_cast<int>(fd);
}

SplashNotice::~SplashNotice()
{
    if (fd >= 0)
        ::close(fd);
}

void SplashNotice::watchForIdle()
{
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!active() || !dispatcher || watch)
        return;
    watch = std::make_unique<QObject>();
    // A nested loop counts too: a start-up box waits for input in its own loop.
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, watch.get(), [this] { inputIdle(); });
}

void SplashNotice::inputIdle()
{
    if (idleSent || !active())
        return;
    idleSent = true;
    send(inputIdleWord);
}

void SplashNotice::windowUp(int waitMs)
{
    if (!active())
        return;
    if (!send(windowUpWord)) {
        LogStream::instance() << "The splash program could not be told that the window is up" << LogStream::endl;
    } else {
        // The splash program's end closes the pipe's other end.
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
            pollfd line {fd, 0, 0};
            if (::poll(&line, 1, 0) < 0 || (line.revents & (POLLERR | POLLHUP)) || clock.elapsed() >= waitMs)
                break;
            ::usleep(5000);
        }
        // What its picture covered is drawn again now.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 50);
    }
    ::close(fd);
    fd = -1;
    watch.reset();
}

bool SplashNotice::send(std::uint32_t word)
{
    const unsigned char bytes[4] = {static_cast<unsigned char>(word), static_cast<unsigned char>(word >> 8),
        static_cast<unsigned char>(word >> 16), static_cast<unsigned char>(word >> 24)};
    // A splash program that is gone must not take this program with it.
    ::signal(SIGPIPE, SIG_IGN);
    return ::write(fd, bytes, sizeof bytes) == static_cast<ssize_t>(sizeof bytes);
}
