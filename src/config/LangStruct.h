#pragma once
// The languages a CPR Controller can be given, and the ones this station
// offers: those whose message catalogue lies in the catalogue folder.
#include <string>
#include <utility>
#include <vector>

class LangStruct {
public:
    // The twelve languages; the table ends with an empty entry after them.
    static constexpr int count = 12;
    static constexpr int size = count + 1;

    // The entry whose code equals `code` exactly (case-sensitive); -1 for
    // none and for an empty code.
    static int indexOf(const std::string& code);
    // The code of entry `nr`; empty outside 0 to 12 (the end entry logs).
    static std::string codeAt(int nr);
    // The language's name, translated when the table was first used; empty
    // (after a log line) for a bad index.
    static std::wstring nameAt(int nr);

private:
    static const std::vector<std::pair<std::string, std::wstring>>& langs();
};

// "en" and the code of every "*.mo" file in `folder` (the name before its last
// "."), in ascending byte order; duplicates stay.
std::vector<std::string> availableLanguages(const std::string& folder = ".");
