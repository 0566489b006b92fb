#pragma once
// Files and system helpers: existence, whole-file reading, retried exclusive
// writing, error texts, dates for display, text replacement. The file
// functions never throw and never ask the user: they log and return false.
#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace Utillib {

// False for an empty path; one trailing "\" or "/" is ignored; files and folders alike.
bool fileExists(const std::string& path);

// Opening with retries: every try but the first waits `delayMs` (with the
// wait cursor shown), and each failed try is logged unless `quiet`. The file
// is held exclusively: another holder makes the try fail. A handle, or
// invalidHandle.
constexpr int invalidHandle = -1;
enum class FileAccess { Read, Write };
enum class FileDisposition { OpenExisting, OpenAlways };
int openFileRetrying(FileAccess access, FileDisposition disposition, const std::string& path, int tries, int delayMs,
                     bool quiet, bool writeThrough);
int openForWrite(const std::string& path, int tries, int delayMs, bool quiet, bool writeThrough);
int openForRead(const std::string& path, int tries, int delayMs, bool quiet);
bool closeFile(int handle);

// The whole content from an open handle into a new block (free it with
// delete[]); false, with nothing handed over, when it cannot all be read.
bool readFileFromHandle(int handle, char*& block, std::size_t& size, bool quiet);
// The whole file; false when it cannot be opened, sized or read.
bool readWholeFile(const std::string& path, char*& block, std::size_t& size, bool quiet);

// The whole file handed to a byte window (start and position at the first
// byte, end after the last); the caller frees the block with delete[] on its start.
template <class Buffer> bool readFile(const std::string& path, Buffer& out, bool quiet)
{
    char* block = nullptr;
    std::size_t size = 0;
    if (!readWholeFile(path, block, size, quiet))
        return false;
    out.bufferStart = block;
    out.cursor = block;
    out.bufferEnd = block + size;
    return true;
}

bool writeAllToHandle(int handle, const void* data, std::size_t size);
// The bytes as the whole new content of the file. The file is held
// exclusively (10 tries 200 ms apart) while platform::replaceFile puts the
// new content in its place, so a failure never leaves it half written. That
// replacement always reaches the disk: `flush` asks for nothing more.
bool writeFile(const std::string& path, const void* data, std::size_t size, bool flush);

// Makes a file the owner cannot write writable again, logging the change when
// `report` and logging a failure always.
void removeReadOnly(const std::string& path, bool report);

// The system's text for an error number; "Unknown error: " and the number
// when it has none.
std::string systemErrorText(int code);
std::wstring systemErrorTextW(int code);

// Every occurrence of `from`, left to right without overlapping or looking
// again at inserted text, replaced by `to`; an empty `from` changes nothing.
std::wstring replaceAll(const std::wstring& text, const std::wstring& from, const std::wstring& to);

// The wait cursor shown while a file is retried; the window layer installs
// it (installWaitCursor in Utillib/WindowUtil.h), without it none is shown.
void setWaitCursorHooks(void (*show)(), void (*hide)());

// Seconds since 1970 as 100-nanosecond steps since 1601.
std::uint64_t unixTimeToFileTime(std::int64_t seconds);

// The largest size of the reference's proportions inside width x height, and
// the smallest that covers it; the given size when a reference side is 0.
SIZE fitInside(int width, int height, int referenceWidth, int referenceHeight);
SIZE fitAround(int width, int height, int referenceWidth, int referenceHeight);
// The smallest integer not below the value.
int ceilToInt(double value);

} // namespace Utillib
