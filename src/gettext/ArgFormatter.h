#pragma once
// A translated sentence with numbered placeholders "[0]", "[1]", ... filled
// in after translation, so that a translation may reorder them:
//
//     ArgFormatter("[0] of [1] sessions").add(3).add(10).text()
#include <string>
#include <vector>

class ArgFormatter {
public:
    explicit ArgFormatter(std::string format);

    ArgFormatter& add(int value);             // "%d"
    ArgFormatter& add(double value);          // "%g"
    ArgFormatter& add(const std::string& value); // ANSI code page
    ArgFormatter& add(const std::wstring& value);
    ArgFormatter& add(const char* value) { return add(std::string(value ? value : "")); }
    ArgFormatter& add(const wchar_t* value) { return add(std::wstring(value ? value : L"")); }

    // The translated format with each placeholder of the English format
    // replaced by its argument. A placeholder without a closing "]", one the
    // translation lacks, or a count of arguments that does not match the
    // placeholders is logged as a failed check; the text is returned as far
    // as it could be filled in.
    std::wstring text() const;

private:
    std::string format;
    std::vector<std::wstring> arguments;
};
