#include "support/TestSupport.h"

#include "Utillib/LogStream.h"

#include <cctype>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tavo-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()))
        folder = pattern;
}

std::wstring FailingPrintTarget::box() const
{
    const std::string sentence = opens ? "The printout could not be finished." : "Error initializing printer";
    const std::string text = "Printer error: " + sentence + "\n\n" + reason + "\n" + path;
    return std::wstring(text.begin(), text.end());
}

std::string FailingPrintTarget::logLine() const
{
    std::string why = reason;
    why[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(why[0])));
    why.pop_back();
    return (opens ? "The print job could not be finished: " : "The printer could not be opened: ") + why + ": '" +
           path + "'";
}

std::vector<FailingPrintTarget> failingPrintTargets(const TempDir& dir)
{
    using Condition = FailingPrintTarget::Condition;
    std::ofstream(dir.file("plain")) << "not a folder";
    // The other user must reach the locked folder to be refused by it.
    ::chmod(dir.path().c_str(), 0755);
    ::mkdir(dir.file("locked").c_str(), 0555);
    ::chmod(dir.file("locked").c_str(), 0555);
    return {{dir.file("plain/out.pdf"), false, "The folder does not exist.", Condition::None},
            {dir.file("locked/out.pdf"), false, "The folder cannot be written.", Condition::OtherUser},
            {dir.file("cut.pdf"), true, "The file could not be written to its end.", Condition::SizeLimit}};
}

PrintTargetCondition::PrintTargetCondition(const FailingPrintTarget& target)
    : condition(target.condition)
{
    if (condition == FailingPrintTarget::Condition::OtherUser && ::geteuid() == 0) {
        // Root passes every permission check; as "nobody" it does not.
        ::setfsuid(65534);
        userChanged = true;
    } else if (condition == FailingPrintTarget::Condition::SizeLimit) {
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        sizeLimit = limit.rlim_cur;
        // A write past the limit fails rather than ending the process.
        sizeSignal = ::signal(SIGXFSZ, SIG_IGN);
        limit.rlim_cur = 16 * 1024;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
}

PrintTargetCondition::~PrintTargetCondition()
{
    if (userChanged)
        ::setfsuid(0);
    if (condition == FailingPrintTarget::Condition::SizeLimit) {
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = sizeLimit;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, sizeSignal);
    }
}

bool anythingAt(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::symlink_status(path, ignored).type() != std::filesystem::file_type::not_found;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    if (!folder.empty())
        std::filesystem::remove_all(folder, ignored);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::vector<std::uint8_t>> corpusInputs(const std::string& folder)
{
    std::vector<std::vector<std::uint8_t>> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        const std::string bytes = readFile(entry.path().string());
        inputs.emplace_back(bytes.begin(), bytes.end());
    }
    return inputs;
}

LogCapture::LogCapture()
    : path(dir.file("errors.txt"))
{
    LogStream::recreate(path);
}

std::string LogCapture::text() const { return readFile(path); }

bool LogCapture::hasAssertion(const std::string& expression) const
{
    std::string log = text();
    std::size_t at = 0;
    while ((at = log.find("Assert failed in ", at)) != std::string::npos) {
        std::size_t end = log.find('\n', at);
        std::string line = log.substr(at, end - at);
        std::string tail = ") : " + expression;
        if (line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0)
            return true;
        at = end;
    }
    return false;
}

} // namespace testsupport
