#include "Utillib/LogStream.h"

#include "platform/OsDescription.h"

#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <spawn.h>

extern char** environ;

namespace {

LogStream* current = nullptr;
bool showLogOnExit = false;

const char dashes[] = "---------------------------------------------------------------------------\n";
static_assert(sizeof(dashes) == 77, "75 dashes and a line end");

void openInViewer(const std::string& fileName)
{
    pid_t child;
    const char* argv[] = { "xdg-open", fileName.c_str(), nullptr };
    posix_spawnp(&child, "xdg-open", nullptr, nullptr, const_cast<char* const*>(argv), environ);
}

} // namespace

// Registered during static initialisation, so the log outlives the program's
// function-local singletons, whose destructors may still write to it.
struct LogStreamExitHook {
    LogStreamExitHook() { std::atexit(&LogStream::destroyAtExit); }
};
static LogStreamExitHook exitHook;

std::string LogStream::appHeader;
bool LogStream::destroyedOnce = false;

bool LogStreamBase::accept(int) { return true; }

LogStream& LogStream::instance()
{
    if (!current)
        current = new LogStream("errors.txt");
    return *current;
}

LogStream* LogStream::recreate(const std::string& name)
{
    LogStream* old = current;
    current = nullptr;
    delete old;
    current = new LogStream(name);
    return current;
}

void LogStream::destroyAtExit()
{
    LogStream* old = current;
    current = nullptr;
    delete old;
}

LogStream::LogStream(const std::string& name)
    : fileName(name)
{
    file = std::fopen(fileName.c_str(), destroyedOnce ? "a" : "w");
    if (file)
        writeHeader();
}

LogStream::~LogStream()
{
    destroyedOnce = true;
    if (!file)
        return;
    writeBytes("-eof-\n", 6);
    std::fclose(file);
    file = nullptr;
    if (showLogOnExit)
        openInViewer(fileName);
}

void LogStream::writeHeader()
{
    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char date[64];
    std::strftime(date, sizeof date, "Date:%m/%d/%y Time:%H:%M:%S\n", &local);
    *this << date;
    writeOsDescription(*this);
    *this << dashes;
    if (!appHeader.empty())
        *this << appHeader << "\n" << dashes;
    if (destroyedOnce)
        *this << "Warning: the LogStream has been destroyed once" << "\n";
}

void LogStream::writeBytes(const char* bytes, std::size_t count)
{
    if (!file)
        return;
    if (count)
        std::fwrite(bytes, 1, count, file);
    std::fflush(file);
}

void LogStream::writeWide(const wchar_t* text, std::size_t count)
{
    if (!file)
        return;
    std::string bytes;
    bytes.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        auto unit = static_cast<std::uint32_t>(text[i]);
        if (unit <= 0xFF)
            bytes += static_cast<char>(unit);
        else
            // A character beyond the basic plane is two UTF-16 units, so two marks.
            bytes += unit > 0xFFFF ? "??" : "?";
    }
    writeBytes(bytes.data(), bytes.size());
}

void LogStream::writeFormatted(const char* format, ...)
{
    if (!file)
        return;
    char text[64];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n > 0)
        writeBytes(text, static_cast<std::size_t>(n) < sizeof text ? static_cast<std::size_t>(n) : sizeof text - 1);
}

void LogStream::write(int, const char* text) { *this << text; }

LogStream& LogStream::operator<<(const char* text)
{
    if (text)
        writeBytes(text, std::char_traits<char>::length(text));
    return *this;
}

LogStream& LogStream::operator<<(const std::string& text)
{
    writeBytes(text.data(), text.size());
    return *this;
}

LogStream& LogStream::operator<<(const wchar_t* text)
{
    if (text)
        writeWide(text, std::char_traits<wchar_t>::length(text));
    return *this;
}

LogStream& LogStream::operator<<(const std::wstring& text)
{
    writeWide(text.data(), text.size());
    return *this;
}

LogStream& LogStream::operator<<(char c)
{
    writeBytes(&c, 1);
    return *this;
}

LogStream& LogStream::operator<<(wchar_t c)
{
    writeWide(&c, 1);
    return *this;
}

LogStream& LogStream::operator<<(bool value) { return *this << (value ? "true" : "false"); }

LogStream& LogStream::operator<<(short value)
{
    writeFormatted("%hd", value);
    return *this;
}

LogStream& LogStream::operator<<(int value)
{
    writeFormatted("%d", value);
    return *this;
}

LogStream& LogStream::operator<<(unsigned int value)
{
    writeFormatted("%u", value);
    return *this;
}

LogStream& LogStream::operator<<(long value)
{
    writeFormatted("%ld", value);
    return *this;
}

LogStream& LogStream::operator<<(unsigned long value)
{
    writeFormatted("%lu", value);
    return *this;
}

LogStream& LogStream::operator<<(long long value)
{
    writeFormatted("%lld", value);
    return *this;
}

LogStream& LogStream::operator<<(unsigned long long value)
{
    writeFormatted("%llu", value);
    return *this;
}

LogStream& LogStream::operator<<(float value) { return *this << static_cast<double>(value); }

LogStream& LogStream::operator<<(double value)
{
    writeFormatted("%f", value);
    return *this;
}

LogStream& LogStream::operator<<(const void* pointer)
{
    // The full width of the address; nothing reads it back.
    writeFormatted("0x%lx", static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(pointer)));
    return *this;
}

LogStream& LogStream::operator<<(Manipulator manipulator) { return manipulator(*this); }

LogStream& LogStream::endl(LogStream& stream) { return stream << "\n"; }

LogStream& LogStream::tendl(LogStream& stream) { return stream << "\n"; }

void setShowLogOnExit(bool show) { showLogOnExit = show; }

bool writeOsDescription(LogStream& stream)
{
    auto description = platform::osDescription();
    if (!description)
        return false;
    stream << *description << LogStream::endl;
    return true;
}

LogOutputStream::LogOutputStream()
    : std::ostream(nullptr)
{
    rdbuf(&buffer);
}

LogOutputStream::Buffer::int_type LogOutputStream::Buffer::overflow(int_type c)
{
    if (!traits_type::eq_int_type(c, traits_type::eof()))
        LogStream::instance() << traits_type::to_char_type(c);
    return traits_type::not_eof(c);
}

std::streamsize LogOutputStream::Buffer::xsputn(const char* s, std::streamsize n)
{
    LogStream::instance() << std::string(s, static_cast<std::size_t>(n));
    return n;
}
