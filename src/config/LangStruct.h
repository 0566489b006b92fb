#pragma once
#include <string>

// The languages a CPR Controller can be set up in, by two-letter code.
class LangStruct {
public:
    static constexpr int count = 12;

    // Index 0 to 11 of the code, -1 when the table lacks it.
    static int indexOf(const std::string& code);
    // The code at an index; empty outside 0 to 11 (index 12, the table's end, is also logged).
    static std::string codeAt(int index);
    // The language's name in the user-interface language; empty outside 0 to 11.
    static std::wstring nameAt(int index);
};
