#include "Utillib/FileUtil.h"

#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "platform/Clock.h"
#include "platform/FileReplace.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Utillib {

namespace {

struct {
    void (*show)() = nullptr;
    void (*hide)() = nullptr;
} waitCursorHooks;


// Shows the wait cursor (when the window layer installed one) from the first
// wait on until the scope ends.
class WaitCursor {
public:
    void show()
    {
        if (!shown && waitCursorHooks.show) {
            waitCursorHooks.show();
            shown = true;
        }
    }
    ~WaitCursor()
    {
        if (shown && waitCursorHooks.hide)
            waitCursorHooks.hide();
    }

private:
    bool shown = false;
};

int openLocked(FileAccess access, FileDisposition disposition, const std::string& path, bool writeThrough)
{
    int flags = O_CLOEXEC | (access == FileAccess::Read ? O_RDONLY : O_WRONLY);
    if (disposition == FileDisposition::OpenAlways)
        flags |= O_CREAT;
    if (writeThrough)
        flags |= O_DSYNC;
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0)
        return invalidHandle;
    // No sharing: another holder of the file makes this try fail.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        errno = error;
        return invalidHandle;
    }
    return fd;
}

} // namespace

bool fileExists(const std::string& path)
{
    if (path.empty())
        return false;
    std::string name = path;
    if (name.size() > 1 && (name.back() == '\\' || name.back() == '/'))
        name.pop_back();
    struct stat info;
    return ::stat(name.c_str(), &info) == 0;
}

int openFileRetrying(FileAccess access, FileDisposition disposition, const std::string& path, int tries, int delayMs,
                     bool quiet, bool writeThrough)
{
    WaitCursor cursor;
    for (int attempt = 0; attempt < tries; ++attempt) {
        if (attempt > 0) {
            cursor.show();
            platform::sleepMs(delayMs);
        }
        int fd = openLocked(access, disposition, path, writeThrough);
        if (fd != invalidHandle)
            return fd;
        if (!quiet)
            LogStream::instance() << "Could not access file '" << path << "' error: " << systemErrorText(errno)
                                  << LogStream::endl;
    }
    return invalidHandle;
}

int openForWrite(const std::string& path, int tries, int delayMs, bool quiet, bool writeThrough)
{
    return openFileRetrying(FileAccess::Write, FileDisposition::OpenAlways, path, tries, delayMs, quiet, writeThrough);
}

int openForRead(const std::string& path, int tries, int delayMs, bool quiet)
{
    return openFileRetrying(FileAccess::Read, FileDisposition::OpenExisting, path, tries, delayMs, quiet, false);
}

bool closeFile(int handle)
{
    if (handle >= 0 && ::close(handle) == 0)
        return true;
    LogStream::instance() << "Could not close file from handle " << handle << LogStream::endl;
    return false;
}

bool readFileFromHandle(int handle, char*& block, std::size_t& size, bool quiet)
{
    struct stat info;
    if (::fstat(handle, &info) != 0) {
        if (!quiet)
            LogStream::instance() << "Could not determine size of file handle" << LogStream::endl;
        return false;
    }
    if (::lseek(handle, 0, SEEK_SET) != 0) {
        if (!quiet)
            LogStream::instance() << "Could not seek to 0 on file handle" << LogStream::endl;
        return false;
    }
    auto wanted = static_cast<std::size_t>(info.st_size);
    // A file larger than the memory can take is a failure like any other, not an exception.
    char* bytes = new (std::nothrow) char[wanted];
    if (!bytes) {
        if (!quiet)
            LogStream::instance() << "Could not allocate " << wanted << " bytes for file from handle" << LogStream::endl;
        return false;
    }
    std::size_t got = 0;
    while (got < wanted) {
        ssize_t n = ::read(handle, bytes + got, wanted - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    if (got != wanted) {
        if (!quiet)
            LogStream::instance() << "Could not read all of file from handle" << LogStream::endl;
        delete[] bytes;
        return false;
    }
    block = bytes;
    size = wanted;
    return true;
}

bool readWholeFile(const std::string& path, char*& block, std::size_t& size, bool quiet)
{
    int fd = openFileRetrying(FileAccess::Read, FileDisposition::OpenExisting, path, 1, 0, true, false);
    if (fd == invalidHandle) {
        if (!quiet)
            LogStream::instance() << "Could not open file '" << path << "'" << LogStream::endl;
        return false;
    }
    char* bytes = nullptr;
    std::size_t count = 0;
    bool read = readFileFromHandle(fd, bytes, count, quiet);
    if (::close(fd) != 0) {
        if (!quiet)
            LogStream::instance() << "Could not close file '" << path << "'" << LogStream::endl;
        delete[] bytes;
        return false;
    }
    if (!read)
        return false;
    block = bytes;
    size = count;
    return true;
}

bool writeAllToHandle(int handle, const void* data, std::size_t size)
{
    auto* bytes = static_cast<const char*>(data);
    std::size_t written = 0;
    while (written < size) {
        ssize_t n = ::write(handle, bytes + written, size - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    if (written != size) {
        LogStream::instance() << "Could not write all of the data into file via handle" << LogStream::endl;
        return false;
    }
    return true;
}

bool writeFile(const std::string& path, const void* data, std::size_t size, bool /*flush*/)
{
    int held = openForWrite(path, 10, 200, false, false);
    if (held == invalidHandle) {
        LogStream::instance() << "Could not open file '" << path << "' for saving" << LogStream::endl;
        return false;
    }
    std::string error;
    bool ok = true;
    switch (platform::replaceFile(path, data, size, &error)) {
    case platform::ReplaceResult::replaced:
        break;
    case platform::ReplaceResult::cannotCreate:
        LogStream::instance() << "Could not create a file beside '" << path << "' error: " << error << LogStream::endl;
        ok = false;
        break;
    case platform::ReplaceResult::writeFailed:
        LogStream::instance() << "Could not replace file '" << path << "' error: " << error << LogStream::endl;
        ok = false;
        break;
    }
    if (::close(held) != 0) {
        LogStream::instance() << "Could not close file '" << path << "'" << LogStream::endl;
        return false;
    }
    return ok;
}

void removeReadOnly(const std::string& path, bool report)
{
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || (info.st_mode & S_IWUSR))
        return;
    if (::chmod(path.c_str(), (info.st_mode & 07777) | S_IWUSR) == 0) {
        if (report)
            LogStream::instance() << "Removed read-only attribute on " << path << LogStream::endl;
    } else {
        LogStream::instance() << "Could not remove read-only attribute on " << path << LogStream::endl;
    }
}

std::string systemErrorText(int code)
{
    char buffer[256];
    const char* text = ::strerror_r(code, buffer, sizeof buffer);
    std::string message = text ? text : "";
    if (message.empty() || message.rfind("Unknown error", 0) == 0)
        return "Unknown error: " + std::to_string(code);
    return message;
}

std::wstring systemErrorTextW(int code) { return GString::to_wstring(systemErrorText(code)); }

std::wstring replaceAll(const std::wstring& text, const std::wstring& from, const std::wstring& to)
{
    if (from.empty())
        return text;
    std::wstring result;
    std::size_t at = 0;
    for (std::size_t found; (found = text.find(from, at)) != std::wstring::npos; at = found + from.size()) {
        result.append(text, at, found - at);
        result += to;
    }
    result.append(text, at, std::wstring::npos);
    return result;
}

void setWaitCursorHooks(void (*show)(), void (*hide)())
{
    waitCursorHooks.show = show;
    waitCursorHooks.hide = hide;
}

std::uint64_t unixTimeToFileTime(std::int64_t seconds)
{
    return static_cast<std::uint64_t>(seconds + 11644473600LL) * 10000000ULL;
}

SIZE fitInside(int width, int height, int referenceWidth, int referenceHeight)
{
    if (referenceWidth == 0 || referenceHeight == 0)
        return SIZE { width, height };
    double rw = double(width) / referenceWidth;
    double rh = double(height) / referenceHeight;
    if (rw >= rh)
        return SIZE { static_cast<LONG>(referenceWidth * rh), height };
    return SIZE { width, static_cast<LONG>(referenceHeight * rw) };
}

SIZE fitAround(int width, int height, int referenceWidth, int referenceHeight)
{
    if (referenceWidth == 0 || referenceHeight == 0)
        return SIZE { width, height };
    double rw = double(width) / referenceWidth;
    double rh = double(height) / referenceHeight;
    if (rw >= rh)
        return SIZE { width, static_cast<LONG>(referenceHeight * rw) };
    return SIZE { static_cast<LONG>(referenceWidth * rh), height };
}

int ceilToInt(double value) { return static_cast<int>(std::ceil(value)); }

} // namespace Utillib
