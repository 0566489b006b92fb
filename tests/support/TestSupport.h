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
// "folder" that is a regular file (it cannot be opened), one in a folder
// nobody may write to (root writes it with another user's file access), and
// one whose writing breaks off (a file size limit stands in for a disk that
// fills up under the job).
struct FailingPrintTarget {
    enum class Condition { None, OtherUser, SizeLimit };
    std::string path;
    bool opens; // whether the file can be opened at all
    std::string reason; // the box's sentence on why
    Condition condition = Condition::None;
    // What a printout on it must report: its box ("caption: text") and its
    // line in the error log.
    std::wstring box() const;
    std::string logLine() const;
};
std::vector<FailingPrintTarget> failingPrintTargets(const TempDir& dir);
// Puts a target's condition in force for the life of the object: hold it
// around the printing alone (files of the test's own may be out of reach
// meanwhile).
class PrintTargetCondition {
public:
    explicit PrintTargetCondition(const FailingPrintTarget& target);
    ~PrintTargetCondition();
    PrintTargetCondition(const PrintTargetCondition&) = delete;
    PrintTargetCondition& operator=(const PrintTargetCondition&) = delete;

private:
    FailingPrintTarget::Condition condition;
    bool userChanged = false;
    unsigned long long sizeLimit = 0;
    void (*sizeSignal)(int) = nullptr;
};
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
