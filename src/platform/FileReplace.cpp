#include "platform/FileReplace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string folderOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

mode_t modeForNewFile(const std::string& path)
{
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0)
        return old.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

constexpr int maxLinkHops = 40;

bool writeAll(int fd, const char* bytes, std::size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, bytes, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::string linkTarget(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < maxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size())
            return {};
        target.resize(static_cast<std::size_t>(n));
        current = target.front() == '/' ? target : folderOf(current) + "/" + target;
    }
    errno = ELOOP;
    return {};
}

ReplaceResult replaceFile(const std::string& given, const void* data, std::size_t size, std::string* error)
{
    auto fail = [&](ReplaceResult result) {
        if (error)
            *error = std::strerror(errno);
        return result;
    };

    // A link stays a link: the file it leads to is the one replaced.
    const std::string path = linkTarget(given);
    if (path.empty())
        return fail(ReplaceResult::cannotCreate);

    std::string temporary = path + ".XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(ReplaceResult::cannotCreate);

    bool ok = ::fchmod(fd, modeForNewFile(path)) == 0
        && writeAll(fd, static_cast<const char*>(data), size)
        && ::fsync(fd) == 0;
    int savedErrno = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        errno = savedErrno;
        return fail(ReplaceResult::writeFailed);
    }

    // Make the rename itself durable; the file is already complete either way.
    int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return ReplaceResult::replaced;
}

} // namespace platform
