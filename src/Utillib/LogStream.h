#pragma once
// The error log "errors.txt": created at the first write of a run, every
// write flushed at once, "-eof-" when it closes at exit.
#include <cstdio>
#include <ostream>
#include <streambuf>
#include <string>

class LogStreamBase {
public:
    virtual ~LogStreamBase() = default;
    virtual bool accept(int level);
    virtual void write(int level, const char* text) = 0;
};

class LogStream : public LogStreamBase {
public:
    using Manipulator = LogStream& (*)(LogStream&);

    static LogStream& instance();
    // Closes the current log (with its closing line) and opens a new one on `name`.
    static LogStream* recreate(const std::string& name);

    static LogStream& endl(LogStream& stream);
    // The translation layer's own line end; identical to endl.
    static LogStream& tendl(LogStream& stream);

    static std::string appHeader;
    static bool destroyedOnce;

    void write(int level, const char* text) override;

    LogStream& operator<<(const char* text);
    LogStream& operator<<(const std::string& text);
    LogStream& operator<<(const wchar_t* text);
    LogStream& operator<<(const std::wstring& text);
    LogStream& operator<<(char c);
    LogStream& operator<<(wchar_t c);
    LogStream& operator<<(bool value);
    LogStream& operator<<(short value);
    LogStream& operator<<(int value);
    LogStream& operator<<(unsigned int value);
    LogStream& operator<<(long value);
    LogStream& operator<<(unsigned long value);
    LogStream& operator<<(long long value);
    LogStream& operator<<(unsigned long long value);
    LogStream& operator<<(float value);
    LogStream& operator<<(double value);
    LogStream& operator<<(const void* pointer);
    LogStream& operator<<(Manipulator manipulator);

    bool isOpen() const { return file != nullptr; }
    const std::string& getFileName() const { return fileName; }

    ~LogStream() override;

private:
    explicit LogStream(const std::string& name);
    void writeBytes(const char* bytes, std::size_t count);
    void writeWide(const wchar_t* text, std::size_t count);
    void writeFormatted(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void writeHeader();

    static void destroyAtExit();
    friend struct LogStreamExitHook;

    std::FILE* file = nullptr;
    std::string fileName;
};

// When set, the log is opened in the user's viewer once it is closed at exit.
void setShowLogOnExit(bool show);

// Writes the one-line description of the operating system and a line end;
// false, with nothing written, when it cannot be found out.
bool writeOsDescription(LogStream& stream);

// The log seen as a standard narrow output stream.
class LogOutputStream : public std::ostream {
public:
    LogOutputStream();

private:
    class Buffer : public std::streambuf {
    protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* s, std::streamsize n) override;
    };
    Buffer buffer;
};

#define TAVO_STRINGIZE2(x) #x
#define TAVO_STRINGIZE(x) TAVO_STRINGIZE2(x)

// The consistency check: logs one line and goes on, never stops the program.
#define LOG_ASSERT(expr) LOG_ASSERT_TEXT(expr, #expr)

// The same check logging `text` (a string literal) in place of the expression,
// for checks whose log line readers know by another wording.
#define LOG_ASSERT_TEXT(expr, text)                                                             \
    do {                                                                                        \
        if (!(expr))                                                                            \
            ::LogStream::instance() << static_cast<const char*>(                                \
                "Assert failed in " __FILE__ " (" TAVO_STRINGIZE(__LINE__) ") : " text "\n");  \
    } while (0)
