#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// A temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return folder; }
    std::string file(const std::string& name) const { return folder + "/" + name; }

private:
    std::string folder;
};

std::string readFile(const std::string& path);

// Print targets that fail for every user, root too: a PDF file inside a
// "folder" that is a regular file (it cannot be opened), and a PDF file that
// is a link to /dev/full (a full disk: every write fails).
struct FailingPrintTarget {
    std::string path;
    bool opens; // whether the file can be opened at all
    // What a printout on it must report: its box ("caption: text") and a
    // part of its line in the error log.
    std::wstring box() const
    {
        return opens ? L"Printer error: The printout could not be finished." : L"Printer error: Error initializing printer";
    }
    std::string logLine() const { return opens ? "The print job could not be finished" : "The printer could not be opened"; }
};
std::vector<FailingPrintTarget> failingPrintTargets(const TempDir& dir);
// Whether anything, a link included, is at `path`.
bool anythingAt(const std::string& path);

// The contents of every regular file in `folder`: a fuzz target's corpus.
std::vector<std::vector<std::uint8_t>> corpusInputs(const std::string& folder);

// Sends the error log to a fresh file for the life of the object, so a test
// can read what was logged.
class LogCapture {
public:
    LogCapture();
    // Everything logged since the capture began (the header included).
    std::string text() const;
    // Whether an assertion line with this expression was logged.
    bool hasAssertion(const std::string& expression) const;

private:
    TempDir dir;
    std::string path;
};

} // namespace testsupport
