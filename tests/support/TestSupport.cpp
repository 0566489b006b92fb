#include "support/TestSupport.h"

#include "Utillib/LogStream.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace testsupport {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tavo-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()))
        folder = pattern;
}

std::vector<FailingPrintTarget> failingPrintTargets(const TempDir& dir)
{
    std::ofstream(dir.file("plain")) << "not a folder";
    std::error_code ignored;
    std::filesystem::create_symlink("/dev/full", dir.file("full.pdf"), ignored);
    return {{dir.file("plain/out.pdf"), false}, {dir.file("full.pdf"), true}};
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
