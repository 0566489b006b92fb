// Runs one logging scenario in the current folder and exits normally, so that
// the test sees what a whole run leaves in "errors.txt".
#include "Utillib/LogStream.h"

#include <csignal>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    std::string scenario = argc > 1 ? argv[1] : "";
    if (scenario == "none")
        return 0;
    if (scenario == "header")
        LogStream::appHeader = "Tavo CPR Software 2.3.12 : test build";
    if (scenario == "basic" || scenario == "header") {
        LogStream::instance() << true << 12 << LogStream::endl;
        const wchar_t wide[] = { 0x00C4, 0x20AC, L'x', 0x1F600, 0 };
        LogStream::instance() << wide << LogStream::tendl;
        return 0;
    }
    if (scenario == "formats") {
        std::string withNul("a\0b", 3);
        LogStream& log = LogStream::instance();
        log << "[" << static_cast<short>(-3) << "|" << 7u << "|" << -8L << "|" << 9UL << "|" << 1.5f << "|"
            << 2.25 << "|" << 'c' << "|" << L'\u00e9' << "|" << withNul << "|" << static_cast<const char*>(nullptr)
            << "|" << std::wstring(L"w\u0100") << "|" << static_cast<const void*>(reinterpret_cast<void*>(0x1234))
            << "]" << LogStream::endl;
        LogOutputStream out;
        out << "stream " << 42 << '\n';
        return 0;
    }
    if (scenario == "assert") {
        int one = 1;
        LOG_ASSERT(one == 2);
        LOG_ASSERT(one == 1);
        LOG_ASSERT_TEXT(one == 3, "::IsWindow(m_hWnd)");
        LOG_ASSERT_TEXT(one == 1, "never logged");
        LogStream::instance() << "after" << LogStream::endl;
        return 0;
    }
    if (scenario == "recreate") {
        LogStream::instance() << "first run" << LogStream::endl;
        LogStream::recreate("errors.txt");
        LogStream::instance() << "second run" << LogStream::endl;
        return 0;
    }
    if (scenario == "killed") {
        LogStream::instance() << "last words" << LogStream::endl;
        std::raise(SIGKILL);
    }
    return 3;
}
