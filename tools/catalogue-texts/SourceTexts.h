#pragma once
// The texts the program hands to its translation layer, read from its
// sources, so that a catalogue can be checked for every one of them.
//
// A text is found where the sources show it: a string literal given to
// `translate`, `translateString` or `translateText`, or to a function or
// lambda that passes one of its parameters on to one of those (found by
// itself, to any depth); a literal of an array, a braced list or a local
// variable whose element or value is passed on; and every literal that
// starts with the marker "¤" (the translated texts of dialog templates).
// A call whose text the sources cannot show (a text built at run time) is
// listed as unresolved unless the list of indirect texts accounts for it.
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace sourcetexts {

struct SourceFile {
    std::string path;    // as it is reported
    std::string content; // UTF-8 source
};

struct Text {
    std::string text; // without marker or context tag: the catalogue's msgid
    std::string file;
    int line = 0;
};

struct Unresolved {
    std::string file;
    int line = 0;
    std::string call; // the call's tokens without blanks, e.g. "translate(rest.c_str())"
};

// What the list of indirect texts says, for what the sources do not show:
// calls known to take their texts from elsewhere (by file and call as
// written, blanks removed); arrays, or functions, whose literals are all
// translated (by file and name); and functions or classes that keep a text
// to translate it later (by declaring header, name and argument position).
struct IndirectTexts {
    std::set<std::pair<std::string, std::string>> calls;
    std::set<std::pair<std::string, std::string>> tables;
    std::set<std::tuple<std::string, std::string, std::size_t>> wrappers;
};

// Reads the list: blank lines and lines starting with "#" are skipped; each
// other line is "<file> call <call>", "<file> table <name>" or
// "<header> wrapper <name> <argument position>". A line of another form is
// returned in `errors`.
IndirectTexts parseIndirectTexts(const std::string& content, std::vector<std::string>& errors);

struct Extraction {
    std::vector<Text> texts;             // in order of finding, each text once
    std::vector<Unresolved> unresolved;  // not accounted for by the list
    std::vector<Text> nonAscii;          // texts a catalogue can never match
};

Extraction extract(const std::vector<SourceFile>& files, const IndirectTexts& indirect = {});

// The text in the ".po" notation between its double quotes.
std::string poEscape(const std::string& text);

} // namespace sourcetexts
